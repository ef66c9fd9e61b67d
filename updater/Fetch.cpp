#include "updater/Fetch.h"

#include <cstdlib>
#include <vector>

#include "win/BoundedInternet.h"

namespace updater {

bool Fetch(const std::wstring& url, const FetchBounds& bounds,
           const std::function<bool(std::span<const std::uint8_t>)>& sink, std::wstring& error) {
  // Each step and the whole are bounded, and the progress window keeps
  // answering meanwhile (its close ends the wait).
  win::BoundedInternet transfer(kStepTimeoutMs, true);
  transfer.SetDeadline(bounds.deadlineMs);
  transfer.SetStopFlag(bounds.cancel);
  if (!transfer.Open(url)) {
    error = L"无法连接到更新服务器";
    return false;
  }
  DWORD status = 0;
  transfer.QueryNumber(HTTP_QUERY_STATUS_CODE, status);
  if (status != 200) {
    wchar_t digits[12];
    error = std::wstring(L"更新服务器的回答是 ") + ::_ultow(status, digits, 10);  // no printf in the updater
    return false;
  }
  std::vector<std::uint8_t> buffer(win::BoundedInternet::kMaxBlock);
  std::uint64_t total = 0;
  for (;;) {
    DWORD read = 0;
    if (!transfer.Read(buffer.data(), static_cast<DWORD>(buffer.size()), read)) {
      error = transfer.DeadlinePassed() ? L"下载超时" : L"下载中断";
      return false;
    }
    if (read == 0) return true;
    total += read;
    if (total > bounds.limit) {
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
