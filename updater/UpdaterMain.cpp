// The updater: started by the client with "folder|client path" after the
// player accepted an update. It waits until the client has exited, fetches the
// manifest and the package it names, refuses anything whose size, SHA-256 or
// signature (the operator's ECDSA P-256 key, built in) does not check, and
// only then puts the new client in place:
//
//   the old client is copied to "<client>.bak", the verified package (already
//   complete in "<client>.new") is renamed over the client in one step, the
//   new client is started, and only then is the copy removed.
//
// The client's path therefore always holds a complete client, whenever the
// updater is stopped. On any refusal or failure the old client is started
// again. A small window shows a progress bar and what is happening; closing
// it (or Escape) before the install cancels the update, and the old client
// starts again.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "BuildSettings.h"
#include "common/UpdateLocation.h"
#include "common/UpdatePolicy.h"
#include "updater/Fetch.h"
#include "updater/PackagePublisher.h"
#include "updater/UpdaterArgument.h"
#include "updater/VersionResource.h"
#include "win/Clock.h"
#include "win/Crypto.h"
#include "win/Messages.h"
#include "win/SystemLibrary.h"
#include "win/UniqueHandle.h"

namespace {

constexpr wchar_t kTitle[] = L"Velmora 更新";
#ifdef VELMORA_UPDATER_WITHOUT_KEY
constexpr common::TrustedKeys kTrustedKeys{};  // how a release built without the operator's keys behaves
#else
constexpr common::TrustedKeys kTrustedKeys{velmora::build::kUpdateRootKey, velmora::build::kUpdatePublicKey};
#endif
constexpr DWORD kClientExitWaitMs = 60000;
// A file that another program holds for a moment (a scanner reading the new
// client, say) is tried again for this long.
constexpr DWORD kLockedRetryMs = 10000;
constexpr std::uint64_t kManifestLimit = 64 * 1024;
constexpr std::uint64_t kPackageLimit = 256ull * 1024 * 1024;

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                      static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return wide;
}

class ProgressWindow {
 public:
  ProgressWindow() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    if (const auto init = VELMORA_SYSTEM_FUNCTION(L"comctl32.dll", InitCommonControlsEx)) init(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ProgressWindow::WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VelmoraUpdater";
    ::RegisterClassW(&wc);
    const int w = 380, h = 120;
    window_ = ::CreateWindowExW(0, wc.lpszClassName, kTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                (::GetSystemMetrics(SM_CXSCREEN) - w) / 2, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                                w, h, nullptr, nullptr, wc.hInstance, this);
    status_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 12, 10, 340, 20, window_, nullptr,
                                wc.hInstance, nullptr);
    bar_ = ::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 12, 40, 340, 18, window_, nullptr,
                             wc.hInstance, nullptr);
    ::SendMessageW(bar_, PBM_SETRANGE32, 0, 1000);
    ::ShowWindow(window_, SW_SHOW);
    win::DispatchPendingMessages();
  }
  ~ProgressWindow() { ::DestroyWindow(window_); }

  void Status(const std::wstring& text) {
    ::SetWindowTextW(status_, text.c_str());
    win::DispatchPendingMessages();
  }
  void Progress(std::uint64_t done, std::uint64_t total) {
    ::SendMessageW(bar_, PBM_SETPOS, total ? static_cast<WPARAM>(done * 1000 / total) : 0, 0);
    win::DispatchPendingMessages();
  }
  HWND hwnd() const { return window_; }
  // Set once the player has closed the window or pressed Escape.
  const bool* cancelled() const { return &cancelled_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<ProgressWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    // The window stays until the updater ends; the update is given up.
    if (self && (message == WM_CLOSE || (message == WM_KEYDOWN && wParam == VK_ESCAPE))) {
      self->cancelled_ = true;
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr, status_ = nullptr, bar_ = nullptr;
  bool cancelled_ = false;
};

// What an executable's version resource says of it, read as data (nothing of
// the file runs); none when it has none.
std::optional<updater::VersionFacts> ReadVersionFacts(const std::wstring& path) {
  const win::UniqueHmodule file(
      ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  const HRSRC info =
      file ? ::FindResourceW(file.get(), MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */)
           : nullptr;
  const HGLOBAL data = info ? ::LoadResource(file.get(), info) : nullptr;
  const auto* bytes = data ? static_cast<const std::uint8_t*>(::LockResource(data)) : nullptr;
  if (!bytes) return std::nullopt;
  return updater::ReadVersionResource({bytes, ::SizeofResource(file.get(), info)});
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// `step` again while the file it needs is held by another program, for up to
// kLockedRetryMs; true once it has succeeded.
template <class Step>
bool RetryWhileLocked(const Step& step) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (step()) return true;
    const DWORD code = ::GetLastError();
    if ((code != ERROR_SHARING_VIOLATION && code != ERROR_ACCESS_DENIED && code != ERROR_LOCK_VIOLATION) ||
        ::GetTickCount() - start >= kLockedRetryMs) {
      return false;
    }
    ::Sleep(100);
    win::DispatchPendingMessages();
  }
}

bool MoveOver(const std::wstring& from, const std::wstring& to) {
  return RetryWhileLocked(
      [&] { return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0; });
}

bool StartClient(const std::wstring& client, const std::wstring& folder) {
  std::wstring line = L"\"" + client + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(client.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    return false;
  }
  win::UniqueKernelHandle thread(pi.hThread), process(pi.hProcess);
  return true;
}

class Update {
 public:
  Update(std::wstring folder, std::wstring client)
      : folder_(std::move(folder)), client_(std::move(client)), fresh_(client_ + L".new"), backup_(client_ + L".bak") {}

  int Run() {
    // An earlier run stopped between its steps: the client's path is never
    // empty, but a leftover package is not trusted.
    if (!Exists(client_) && Exists(backup_)) MoveOver(backup_, client_);
    ::DeleteFileW(fresh_.c_str());
    ui_.Status(L"正在等待客户端退出…");
    if (!WaitForClientExit()) {
      // Given up while the client still runs: that client is the one kept.
      if (*ui_.cancelled()) return Cancel(false);
      Tell(L"客户端仍在运行，无法更新。请关闭客户端后再试。");
      return 2;
    }
    std::wstring why;
    if (!Install(why)) return *ui_.cancelled() ? Cancel(true) : Refuse(why);
    return 0;
  }

 private:
  bool WaitForClientExit() {
    const DWORD start = ::GetTickCount();
    for (;;) {
      const win::UniqueFile file(::CreateFileW(client_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      if (file) return true;
      // No client to replace, or one that does not end: nothing is touched.
      if (::GetLastError() == ERROR_FILE_NOT_FOUND || ::GetTickCount() - start > kClientExitWaitMs ||
          *ui_.cancelled())
        return false;
      ::Sleep(200);
      win::DispatchPendingMessages();
    }
  }

  bool Install(std::wstring& why) {
    ui_.Status(L"正在取得更新说明…");
    std::string text;
    std::wstring error;
    const std::wstring manifestUrl = std::wstring(velmora::build::kUpdateBase) + common::kUpdateManifestPath;
    const updater::FetchBounds bounds{kManifestLimit, updater::DownloadDeadlineMs(kManifestLimit), ui_.cancelled()};
    if (!updater::Fetch(manifestUrl, bounds,
                        [&](std::span<const std::uint8_t> bytes) {
                          text.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
                          return true;
                        },
                        error)) {
      why = L"无法取得更新说明：" + error;
      return false;
    }
    // The judgement the client made before it asked, made again on what the
    // host answers now; a genuine manifest may still be an old one, replayed.
    const auto facts = ReadVersionFacts(client_);
    const std::string installed = facts ? facts->fileVersion : std::string();
    const common::Judgement judgement =
        common::JudgeManifest(text, installed, win::UnixTimeNow(), kTrustedKeys, &win::VerifySignature);
    if (judgement.verdict != common::Verdict::Accept) {
      why = common::VerdictText(judgement, installed) + L"，拒绝安装。";
      return false;
    }
    const common::PackageManifest* manifest = &*judgement.manifest;
    if (manifest->size > kPackageLimit) {
      why = L"更新包过大，拒绝安装。";
      return false;
    }
    if (!Download(*manifest, why)) return false;
    // A signed client is replaced only by a package from its own publisher.
    if (!updater::SamePublisher(client_, fresh_, why)) return false;
    // Once the package is verified, the install runs to its end (a close no longer cancels).
    return !*ui_.cancelled() && Replace(why);
  }

  bool Download(const common::PackageManifest& manifest, std::wstring& why) {
    ui_.Status(L"正在下载版本 " + Widen(manifest.version) + L"…");
    win::UniqueFile file(::CreateFileW(fresh_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) {
      why = L"无法在客户端所在的文件夹中写入文件。";
      return false;
    }
    win::Sha256 hash;
    std::uint64_t total = 0;
    std::wstring error;
    const updater::FetchBounds bounds{manifest.size, updater::DownloadDeadlineMs(manifest.size), ui_.cancelled()};
    const bool fetched = updater::Fetch(Widen(manifest.package), bounds,
                                        [&](std::span<const std::uint8_t> bytes) {
                                          DWORD written = 0;
                                          if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                           &written, nullptr) ||
                                              written != bytes.size()) {
                                            return false;
                                          }
                                          hash.Add(bytes);
                                          total += bytes.size();
                                          ui_.Progress(total, manifest.size);
                                          return true;
                                        },
                                        error);
    const bool flushed = ::FlushFileBuffers(file.get()) != FALSE;
    file.reset();
    if (!fetched || !flushed) {
      why = L"下载更新包失败：" + error;
      return false;
    }
    if (total != manifest.size) {
      why = L"更新包的大小与说明不符，拒绝安装。";
      return false;
    }
    if (!hash.ok() || hash.Finish() != manifest.sha256) {
      why = L"更新包的校验值与说明不符，拒绝安装。";
      return false;
    }
    return true;
  }

  bool Replace(std::wstring& why) {
    ui_.Status(L"正在安装…");
    if (!RetryWhileLocked([&] { return ::CopyFileW(client_.c_str(), backup_.c_str(), FALSE) != 0; })) {
      why = L"无法备份当前的客户端。";
      return false;
    }
    // One rename: the client's path holds the old file or the new one, never neither.
    if (!MoveOver(fresh_, client_)) {
      ::DeleteFileW(backup_.c_str());  // the old client is still in its place
      why = L"无法替换客户端。";
      return false;
    }
    ui_.Progress(1, 1);
    ui_.Status(L"更新完成，正在启动客户端…");
    if (!StartClient(client_, folder_)) {
      MoveOver(backup_, client_);
      why = L"新的客户端无法启动，已恢复原来的客户端。";
      return false;
    }
    ::DeleteFileW(backup_.c_str());
    return true;
  }

  int Refuse(const std::wstring& why) {
    ::DeleteFileW(fresh_.c_str());
    if (!Exists(client_) && Exists(backup_)) MoveOver(backup_, client_);
    Tell(why);
    StartClient(client_, folder_);
    return 1;
  }

  // The player gave the update up: nothing of it is kept, the old client runs on.
  int Cancel(bool startClient) {
    ::OutputDebugStringW(L"updater: cancelled by the player\n");
    ::ShowWindow(ui_.hwnd(), SW_HIDE);
    ::DeleteFileW(fresh_.c_str());
    if (startClient) StartClient(client_, folder_);
    return 3;
  }

  void Tell(const std::wstring& text) {
    ::OutputDebugStringW((L"updater: " + text + L"\n").c_str());
    ::MessageBoxW(ui_.hwnd(), text.c_str(), kTitle, MB_OK | MB_ICONWARNING);
  }

  ProgressWindow ui_;
  std::wstring folder_, client_, fresh_, backup_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  // Only the client's own file, under whatever name, directly in its own
  // folder, is ever replaced (an earlier run may have left only its copy).
  const auto target = updater::ReadUpdaterArgument(arguments ? arguments : L"");
  const auto facts =
      target ? ReadVersionFacts(Exists(target->client) ? target->client : target->client + L".bak") : std::nullopt;
  if (!facts || !updater::IsTheClient(*facts)) {
    ::MessageBoxW(nullptr, L"更新程序须由客户端启动。", kTitle, MB_OK | MB_ICONWARNING);
    return 2;
  }
  Update update(target->folder, target->client);
  return update.Run();
}
