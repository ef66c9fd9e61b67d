#include "mainwindow/CacheMain.h"

#include <wininet.h>

#include <vector>

namespace mainwindow {

namespace {
// The record and the strings it points to; grown when an entry needs more.
constexpr DWORD kEntryBuffer = 2048;

struct FindHandle {
  HANDLE handle = nullptr;
  ~FindHandle() {
    if (handle) ::FindCloseUrlCache(handle);
  }
};

// Deletes every cache group and the entries in it. False when the clearing
// must stop: the groups cannot be listed, or one cannot be deleted.
bool DeleteGroups() {
  GROUPID group = 0;
  ::SetLastError(0);
  FindHandle search{::FindFirstUrlCacheGroup(0, CACHEGROUP_SEARCH_ALL, nullptr, 0, &group, nullptr)};
  if (!search.handle) {
    const DWORD error = ::GetLastError();
    // No groups; or a system whose group functions do nothing (they answer
    // neither a handle nor an error): the entries are cleared all the same.
    return error == ERROR_FILE_NOT_FOUND || error == 0 || error == ERROR_CALL_NOT_IMPLEMENTED;
  }
  for (;;) {
    if (!::DeleteUrlCacheGroup(group, CACHEGROUP_FLAG_FLUSHURL_ONDELETE, nullptr) &&
        ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
      return false;
    }
    ::SetLastError(0);
    if (!::FindNextUrlCacheGroup(search.handle, &group, nullptr)) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == 0 || error == ERROR_NO_MORE_ITEMS) return true;
    }
  }
}

// Runs one entry search call with the buffer, growing it once when the
// entry does not fit: an entry larger than the usual buffer must not end
// the clearing and keep every later entry.
template <typename Call>
bool WithEntry(std::vector<BYTE>& buffer, Call&& call) {
  DWORD size = kEntryBuffer;
  buffer.assign(kEntryBuffer, 0);
  reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data())->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
  if (call(reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size)) return true;
  if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= kEntryBuffer) return false;
  buffer.assign(size, 0);
  reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data())->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
  return call(reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size) != FALSE;
}
}  // namespace

void ClearUrlCache(const std::string& pattern, DWORD keepMask) {
  if (!DeleteGroups()) return;
  std::vector<BYTE> buffer;
  FindHandle search;
  auto first = [&](const char* searchPattern) {
    return WithEntry(buffer, [&](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
      search.handle = ::FindFirstUrlCacheEntryA(searchPattern, entry, size);
      return search.handle != nullptr;
    });
  };
  if (!first(pattern.c_str())) {
    // "*.*" means every entry; a WinINet that takes it as a literal address
    // prefix (Wine's) finds none with it, and every entry with no pattern.
    if (pattern != "*.*" || ::GetLastError() != ERROR_NO_MORE_ITEMS || !first(nullptr)) return;
  }
  for (;;) {
    const auto* entry = reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    // An entry in use cannot be deleted: it is passed over.
    if (!(entry->CacheEntryType & keepMask) && entry->lpszSourceUrlName) {
      ::DeleteUrlCacheEntryA(entry->lpszSourceUrlName);
    }
    if (!WithEntry(buffer, [&](INTERNET_CACHE_ENTRY_INFOA* next, DWORD* size) {
          return ::FindNextUrlCacheEntryA(search.handle, next, size) != FALSE;
        })) {
      return;  // no more entries, or a search that cannot go on
    }
  }
}

}  // namespace mainwindow
