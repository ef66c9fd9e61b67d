// The cache clearing on a real WinINet cache: cookies and history stay, every
// other kind of entry goes, an entry bigger than the usual record buffer does
// not stop the clearing, and an empty cache ends it quietly.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <set>
#include <string>
#include <vector>

#include "mainwindow/CacheMain.h"

namespace {

void Commit(const std::wstring& url, DWORD type) {
  wchar_t file[MAX_PATH] = {};
  ASSERT_TRUE(::CreateUrlCacheEntryW(url.c_str(), 0, L"htm", file, 0)) << ::GetLastError();
  HANDLE h = ::CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(h, "x", 1, &written, nullptr);
  ::CloseHandle(h);
  FILETIME none{};
  ASSERT_TRUE(::CommitUrlCacheEntryW(url.c_str(), file, none, none, type, nullptr, 0, L"htm", nullptr))
      << ::GetLastError();
}

std::set<std::string> CachedUrls() {
  std::set<std::string> urls;
  std::vector<BYTE> buffer(64 * 1024);
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
  DWORD size = static_cast<DWORD>(buffer.size());
  HANDLE find = ::FindFirstUrlCacheEntryA(nullptr, entry, &size);
  if (!find) return urls;
  do {
    urls.insert(entry->lpszSourceUrlName);
    size = static_cast<DWORD>(buffer.size());
  } while (::FindNextUrlCacheEntryA(find, entry, &size));
  ::FindCloseUrlCache(find);
  return urls;
}

TEST(CacheClear, CookiesAndHistoryStayAndEverythingElseGoesPastAnOversizedEntry) {
  mainwindow::ClearUrlCache("*.*", 0);  // whatever earlier runs left
  ASSERT_TRUE(CachedUrls().empty());
  mainwindow::ClearUrlCache("*.*", mainwindow::kKeepCookiesAndHistory);  // an empty cache ends quietly

  const std::string pid = std::to_string(::GetCurrentProcessId());
  const std::wstring host = L"http://cache-test-" + std::wstring(pid.begin(), pid.end()) + L".invalid/";
  Commit(L"Cookie:player@cache-test.invalid/", COOKIE_CACHE_ENTRY);
  Commit(L"Visited: player@" + host + L"visited.html", URLHISTORY_CACHE_ENTRY);
  Commit(host + L"big.html?" + std::wstring(3000, L'q'), NORMAL_CACHE_ENTRY);
  for (int i = 0; i < 20; ++i) {
    const DWORD types[] = {NORMAL_CACHE_ENTRY, STICKY_CACHE_ENTRY, SPARSE_CACHE_ENTRY};
    Commit(host + L"page" + std::to_wstring(i) + L".html", types[i % 3]);
  }
  ASSERT_EQ(CachedUrls().size(), 23u);

  mainwindow::ClearUrlCache("*.*", mainwindow::kKeepCookiesAndHistory);
  const std::set<std::string> left = CachedUrls();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left.count("Cookie:player@cache-test.invalid/"), 1u);
  EXPECT_EQ(left.count("Visited: player@http://cache-test-" + pid + ".invalid/visited.html"), 1u);
}

}  // namespace
