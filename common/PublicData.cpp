#include "common/PublicData.h"

#include "BuildSettings.h"
#include "common/TempPath.h"
#include "common/UpdateLocation.h"
#include "forms/Program.h"
#include "win/File.h"
#include "win/Resource.h"

namespace common {

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

}  // namespace common
