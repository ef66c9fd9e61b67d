#include "common/UpdateCheck.h"

#include <windows.h>

#include <optional>
#include <string>

#include "BuildSettings.h"
#include "common/PublicData.h"
#include "common/UpdateManifest.h"
#include "common/UpdatePolicy.h"
#include "forms/Program.h"
#include "resources/ResourceIds.h"
#include "win/Clock.h"
#include "win/Crypto.h"
#include "win/Module.h"
#include "win/Shell.h"
#include "win/Text.h"
#include "win/UniqueHandle.h"

namespace common {

namespace {
// The version line is near the top; a larger file is read only this far, and
// a larger download is a failed check (the earlier manifest is kept).
constexpr std::size_t kManifestReadLimit = 64 * 1024;
// The whole download, however the server drips it: the start-up waits no longer.
constexpr unsigned kManifestDeadlineMs = 30000;

std::optional<std::string> ReadManifest(const std::wstring& path) {
  win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  std::string text(kManifestReadLimit, '\0');
  DWORD read = 0;
  if (!::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) return std::nullopt;
  text.resize(read);
  return text;
}

// Writes the updater and starts it; false (after telling the player) when it
// cannot be written or does not start: the client then goes on running.
bool StartUpdater(HWND owner) {
  const std::wstring updater = GetTempFolder() + kUpdaterFile;
  try {
    SaveResourceToFile(res::kUpdater, res::kTypeUpdate, updater);
  } catch (const std::exception& error) {
    const std::wstring text = L"无法写入更新程序：" + win::FromUtf8(error.what());
    ::MessageBoxW(owner, text.c_str(), L"提示", MB_OK | MB_ICONWARNING);
    return false;
  }
  std::wstring path = win::ModulePath();
  const std::size_t slash = path.find_last_of(L"\\/");
  std::wstring folder = path.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  std::wstring base = path.substr(slash + 1);
  if (base.size() > 4 && _wcsicmp(base.c_str() + base.size() - 4, L".exe") == 0) base.resize(base.size() - 4);
  const std::wstring argument = UpdaterArgument(folder, base);
  if (!win::ShellOpen(updater.c_str(), argument.c_str())) {
    forms::Program::Log(L"update check: " + updater + L" did not start");
    ::MessageBoxW(owner, L"无法启动更新程序，请稍后再试或手动更新。", L"提示", MB_OK | MB_ICONWARNING);
    return false;
  }
  return true;
}
}  // namespace

bool CheckUpdate(CYFDownLoadFile& downloader, UpdateRun run, HWND owner) {
  // The owner's messages run while the manifest comes and while a box is open.
  const auto ownerGone = [owner] { return owner && !::IsWindow(owner); };
  const std::wstring manifest = GetTempFolder() + kUpdateManifestFile;
  const std::string version = win::ToUtf8(win::ModuleVersionText());
  downloader.SetLimits(kManifestReadLimit, kManifestDeadlineMs);
  // A failed download keeps the earlier manifest, which says nothing about
  // today: the menu run says so rather than that the client is up to date.
  const bool fetched = downloader.DownLoadFile(UpdateUrl(), manifest, true, false);
  if (ownerGone()) return false;
  const std::optional<std::string> text = ReadManifest(manifest);
  Judgement judgement;
  if (text)
    judgement = JudgeManifest(*text, version, win::UnixTimeNow(),
                              {velmora::build::kUpdateRootKey, velmora::build::kUpdatePublicKey}, &win::VerifySignature);
  if (!fetched) forms::Program::Log(L"update check: the manifest could not be fetched from " + UpdateUrl());
  if (text && judgement.verdict == Verdict::Accept) {
    const int answer =
        ::MessageBoxW(owner, L"发现有新版本，是否现在更新！", L"提示", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES || ownerGone()) return false;
    if (!StartUpdater(owner)) return false;
    if (run == UpdateRun::StartUp) forms::Program::EndNow();
    return true;
  }
  const std::wstring why = text ? VerdictText(judgement, version) : L"no manifest";
  forms::Program::Log(L"update check: no update offered: " + why);
  if (run == UpdateRun::Menu) {
    // Nothing read (a manifest fetched but then unreadable, too) tells nothing about today.
    if (!fetched || !text) {
      ::MessageBoxW(owner, L"无法取得更新信息，请检查网络后再试。", L"提示", MB_OK | MB_ICONWARNING);
    } else if (judgement.verdict == Verdict::NotNewer) {
      ::MessageBoxW(owner, L"当前版本已是最新，无需更新！", L"提示", MB_OK | MB_ICONWARNING);
    } else {
      const std::wstring box = why + L"，无法检查更新。";
      ::MessageBoxW(owner, box.c_str(), L"提示", MB_OK | MB_ICONWARNING);
    }
  }
  return false;
}

}  // namespace common
