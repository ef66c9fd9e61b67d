#include "updater/Fetch.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

namespace updater {

namespace {
struct Internet {
  HINTERNET handle;
  explicit Internet(HINTERNET h) : handle(h) {}
  ~Internet() {
    if (handle) ::InternetCloseHandle(handle);
  }
};
}  // namespace

bool Fetch(const std::wstring& url, std::uint64_t limit,
           const std::function<bool(std::span<const std::uint8_t>)>& sink, std::wstring& error) {
  Internet root(::InternetOpenW(L"Velmora updater", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!root.handle) {
    error = L"无法使用网络";
    return false;
  }
  DWORD connect = kConnectTimeoutMs, receive = kReceiveTimeoutMs;
  ::InternetSetOptionW(root.handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
  ::InternetSetOptionW(root.handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
  Internet request(::InternetOpenUrlW(root.handle, url.c_str(), nullptr, 0,
                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!request.handle) {
    error = L"无法连接到更新服务器";
    return false;
  }
  ::InternetSetOptionW(request.handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
  DWORD status = 0, size = sizeof status;
  ::HttpQueryInfoW(request.handle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
  if (status != 200) {
    error = L"更新服务器的回答是 " + std::to_wstring(status);
    return false;
  }
  std::vector<std::uint8_t> buffer(64 * 1024);
  std::uint64_t total = 0;
  for (;;) {
    DWORD read = 0;
    if (!::InternetReadFile(request.handle, buffer.data(), static_cast<DWORD>(buffer.size()), &read)) {
      error = L"下载中断";
      return false;
    }
    if (read == 0) return true;
    total += read;
    if (total > limit) {
      error = L"下载的文件比说明的大";
      return false;
    }
    if (!sink({buffer.data(), read})) {
      error = L"无法写入下载的文件";
      return false;
    }
  }
}

}  // namespace updater
