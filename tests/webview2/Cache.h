// The fake runtime's HTTP cache, as files a test can see: every document a
// view loads leaves one file per address in
// <userDataFolder>\EBWebView\Default\Cache\ (holding the address), and
// clearing the cache deletes them. Cookies are WinINet's (the page engine
// fetches with WinINet) and stay.
#pragma once

#include <string>

namespace fakewebview2 {

std::wstring CacheFolder(const std::wstring& userDataFolder);
void RecordInCache(const std::wstring& userDataFolder, const std::wstring& address);
// False when a file could not be deleted.
bool ClearCache(const std::wstring& userDataFolder);

// Makes `folder` and every missing folder above it; false when it cannot.
bool CreateFolderPath(const std::wstring& folder);

}  // namespace fakewebview2
