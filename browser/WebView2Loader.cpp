#include "browser/WebView2Loader.h"

#include "browser/RuntimeVersion.h"

namespace browser {

namespace {

constexpr wchar_t kClientStateKey[] =
    L"SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";

#if defined(__x86_64__)
constexpr wchar_t kArchFolder[] = L"x64";
#elif defined(__aarch64__)
constexpr wchar_t kArchFolder[] = L"arm64";
#else
constexpr wchar_t kArchFolder[] = L"x86";
#endif

std::wstring ReadFolder(HKEY root) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, kClientStateKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return {};
  wchar_t value[MAX_PATH + 1]{};
  DWORD type = 0, size = sizeof value - sizeof(wchar_t);
  const LSTATUS read = ::RegQueryValueExW(key, L"EBWebView", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  ::RegCloseKey(key);
  if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  return value;
}

// "C:\..." or "\\server\...": a path that no search order can reinterpret.
bool IsFullPath(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) return true;
  return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
}

}  // namespace

std::wstring WebView2RuntimeFolder() {
  std::wstring folder = ReadFolder(HKEY_LOCAL_MACHINE);
  return folder.empty() ? ReadFolder(HKEY_CURRENT_USER) : folder;
}

bool LoadWebView2Runtime(const std::wstring& folder, WebView2Runtime& runtime, std::wstring& reason) {
  if (folder.empty() || !IsFullPath(folder)) {
    reason = folder.empty() ? L"no WebView2 runtime" : L"the WebView2 runtime's folder is not a full path: " + folder;
    return false;
  }
  const std::wstring version(LastFolderPart(folder));
  const auto parsed = ParseRuntimeVersion(version);
  if (!parsed) {
    reason = L"the WebView2 runtime's folder names no version: " + folder;
    return false;
  }
  if (*parsed < kMinimumRuntimeVersion) {
    reason = L"the WebView2 runtime " + version + L" is older than " + RuntimeVersionText(kMinimumRuntimeVersion);
    return false;
  }
  std::wstring dll = folder;
  if (dll.back() != L'\\') dll += L'\\';
  dll += L"EBWebView\\";
  dll += kArchFolder;
  dll += L"\\EmbeddedBrowserWebView.dll";
  if (::GetFileAttributesW(dll.c_str()) == INVALID_FILE_ATTRIBUTES) {
    reason = L"the WebView2 runtime has no EmbeddedBrowserWebView.dll";
    return false;
  }
  // The full path and nothing else: its own folder for what it needs beside
  // the system folder, never the program's folder or the current one.
  const HMODULE module = ::LoadLibraryExW(dll.c_str(), nullptr,
                                          LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) {
    reason = L"the WebView2 runtime's EmbeddedBrowserWebView.dll did not load: error " + std::to_wstring(::GetLastError());
    return false;
  }
  runtime.create = reinterpret_cast<CreateWebViewEnvironmentWithOptionsInternalFn>(
      reinterpret_cast<void*>(::GetProcAddress(module, "CreateWebViewEnvironmentWithOptionsInternal")));
  if (!runtime.create) {
    ::FreeLibrary(module);
    reason = L"the WebView2 runtime's EmbeddedBrowserWebView.dll has no CreateWebViewEnvironmentWithOptionsInternal";
    return false;
  }
  // The module stays loaded for the life of the process: the environment lives that long.
  runtime.folder = folder;
  runtime.version = version;
  return true;
}

}  // namespace browser
