#include "common/CYFDownLoadFile.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "forms/Program.h"
#include "win/BoundedInternet.h"
#include "win/Messages.h"
#include "win/UniqueHandle.h"

namespace common {

namespace {
// A file beside `path` that no other process writes.
std::wstring SiblingTemporary(const std::wstring& path) {
  return path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".part";
}
}  // namespace

bool CYFDownLoadFile::DownLoadFile(const std::wstring& strURLFile, const std::wstring& strSaveFile, bool bHidden,
                                   bool bRaiseEvent) {
  stop_ = false;
  bool result = false;
  forms::RunHandler(L"download", [&] { result = Transfer(strURLFile, strSaveFile, bHidden, bRaiseEvent); });
  if (bRaiseEvent) Complete();
  return result;
}

bool CYFDownLoadFile::Transfer(const std::wstring& url, const std::wstring& path, bool hidden, bool events) {
  // Every step (connecting, the answer, each block) is bounded; the thread's
  // messages run while it waits.
  win::BoundedInternet transfer(kReceiveTimeoutMs, true);
  if (totalMs_) transfer.SetDeadline(totalMs_);
  // A stop asked for by a message handled while a step waits ends the wait too.
  transfer.SetStopFlag(&stop_);
  if (!transfer.Open(url)) return false;
  DWORD status = 0, length = 0;
  if (!transfer.QueryNumber(HTTP_QUERY_STATUS_CODE, status) || status != 200) return false;
  if (!transfer.QueryNumber(HTTP_QUERY_CONTENT_LENGTH, length) || length == 0) return false;
  if (length > maxBytes_) {
    forms::Program::Log(L"download: " + url + L" announces " + std::to_wstring(length) + L" bytes, more than " +
                        std::to_wstring(maxBytes_) + L"; nothing is written");
    return false;
  }
  if (events) QueryFileInfo(length);

  const std::wstring temporary = SiblingTemporary(path);
  win::UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                     hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::vector<char> buffer(kBlockSize);
  std::uint32_t total = 0;
  bool complete = false, failed = false;
  while (!stop_) {
    DWORD read = 0;
    if (!transfer.Read(buffer.data(), kBlockSize, read)) {
      failed = !stop_;
      break;
    }
    if (read == 0) {
      complete = true;
      break;
    }
    DWORD written = 0;
    // `total` never passes the bound, so the subtraction cannot wrap.
    if (read > maxBytes_ - total ||
        !::WriteFile(file.get(), buffer.data(), read, &written, nullptr) || written != read) {
      failed = true;
      break;
    }
    total += read;
    if (events) Loading(total);
    win::DispatchPendingMessages();
  }
  file.reset();
  // A body shorter than announced is a failed transfer; a stop keeps what came.
  const bool keep = !failed && (stop_ || (complete && total >= length));
  if (!keep || !::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    if (!keep) forms::Program::Log(L"download: " + url + L" did not arrive whole; " + path + L" is left as it was");
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace common
