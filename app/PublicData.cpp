#include "app/PublicData.h"

#include "BuildSettings.h"
#include "app/LoginFrm.h"
#include "app/TempPath.h"
#include "app/UpdateLocation.h"
#include "forms/Program.h"
#include "win/File.h"
#include "win/Resource.h"

namespace app {

namespace {
WNDPROC g_savedBackdropProc = nullptr;
}

std::wstring GameCaption() { return std::wstring(GameName) + L"客户端"; }

std::wstring UpdateUrl() { return std::wstring(velmora::build::kUpdateBase) + kUpdateManifestPath; }
std::wstring LoginUrl() { return std::wstring(velmora::build::kLoginBase) + L"/vorn/index.php"; }
std::wstring GameSpaceUrl() { return std::wstring(velmora::build::kGameSpaceBase) + L"/kavorn/"; }
std::wstring HomeUrl() { return std::wstring(velmora::build::kHomeBase) + L"/"; }

void ReportNoConnectionAndEnd() {
  ::MessageBoxW(nullptr, L"未能连接到服务器，请检查网络连接是否正常！", L"提示", MB_OK | MB_ICONWARNING);
  forms::Program::EndNow();
}

std::wstring IconFileName() { return std::wstring(GameCode) + L".ico"; }

std::wstring GetTempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
  const std::optional<std::wstring> folder = UsableTempFolder(std::wstring_view(buffer, MAX_PATH + 1), n);
  const DWORD attributes = folder ? ::GetFileAttributesW(folder->c_str()) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    // Every file the client writes goes there: without it nothing is written
    // anywhere else in its place.
    forms::Program::Log(L"temporary folder: the system's answer cannot be used (" + std::to_wstring(n) + L")");
    ::MessageBoxW(nullptr, L"找不到可用的临时文件夹，客户端无法运行！", L"提示", MB_OK | MB_ICONWARNING);
    forms::Program::EndNow();
  }
  return *folder;
}

void SaveResourceToFile(WORD id, const wchar_t* type, const std::wstring& path) {
  win::ReplaceFileContents(path, win::ResourceBytes(id, type));
}

void HookBackdrop(HWND hwnd) {
  g_savedBackdropProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BackdropWndProc)));
}

void UnhookBackdrop(HWND hwnd) {
  if (!g_savedBackdropProc) return;
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_savedBackdropProc));
  g_savedBackdropProc = nullptr;
}

LRESULT CALLBACK BackdropWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The login window lies exactly on the backdrop: it follows every move.
  if (msg == WM_MOVE && frm::LoginFrm().IsLoaded()) {
    RECT backdrop{};
    ::GetWindowRect(hwnd, &backdrop);
    ::SetWindowPos(frm::LoginFrm().hWnd(), nullptr, backdrop.left, backdrop.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The owned login window goes and comes back with a minimised backdrop. The
  // window system does this on its own where it hides owned windows of a
  // minimised owner; saying it keeps the pair together where it does not.
  if (msg == WM_SIZE && wParam == SIZE_MINIMIZED) ::ShowOwnedPopups(hwnd, FALSE);
  if (msg == WM_SIZE && wParam == SIZE_RESTORED && ::IsWindowVisible(hwnd)) ::ShowOwnedPopups(hwnd, TRUE);
  if (!g_savedBackdropProc) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  return ::CallWindowProcW(g_savedBackdropProc, hwnd, msg, wParam, lParam);
}

}  // namespace app
