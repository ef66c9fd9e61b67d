#include "win/BoundedInternet.h"

#include <atomic>
#include <cstring>

#include "win/Messages.h"
#include "win/SystemLibrary.h"

namespace win {

namespace {
// WinINet from the system folder (the updater, which shares this transfer,
// runs from a folder that anyone may write).
struct WinInetFunctions {
  decltype(&::InternetOpenW) open = VELMORA_SYSTEM_FUNCTION(L"wininet.dll", InternetOpenW);
  decltype(&::InternetSetStatusCallbackW) setCallback =
      VELMORA_SYSTEM_FUNCTION(L"wininet.dll", InternetSetStatusCallbackW);
  decltype(&::InternetOpenUrlW) openUrl = VELMORA_SYSTEM_FUNCTION(L"wininet.dll", InternetOpenUrlW);
  decltype(&::HttpQueryInfoW) queryInfo = VELMORA_SYSTEM_FUNCTION(L"wininet.dll", HttpQueryInfoW);
  decltype(&::InternetReadFile) read = VELMORA_SYSTEM_FUNCTION(L"wininet.dll", InternetReadFile);
  decltype(&::InternetCloseHandle) close = VELMORA_SYSTEM_FUNCTION(L"wininet.dll", InternetCloseHandle);

  bool ok() const { return open && setCallback && openUrl && queryInfo && read && close; }
};

// Null when the system lacks any of them: every transfer then fails to open.
const WinInetFunctions* WinInet() {
  static const WinInetFunctions functions;
  return functions.ok() ? &functions : nullptr;
}
}  // namespace

// Shared with WinINet's threads: the completion event, the result and the
// read buffer (a pending read writes into it even after the caller gave up).
// One reference is the caller's, one the request handle's, dropped when
// WinINet reports the handle closing. A request abandoned before its handle
// was ever created keeps its context: small, and only after a failure.
struct BoundedInternet::Context {
  UniqueKernelHandle done{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<DWORD> error{0};
  std::atomic<HINTERNET> created{nullptr};
  std::atomic<int> refs{1};
  DWORD read = 0;
  char buffer[kMaxBlock];

  void Release() {
    if (--refs == 0) delete this;
  }
};

namespace {
void CALLBACK Status(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
  auto* c = reinterpret_cast<BoundedInternet::Context*>(context);
  if (!c) return;
  switch (status) {
    case INTERNET_STATUS_HANDLE_CREATED: {
      auto* result = static_cast<INTERNET_ASYNC_RESULT*>(info);
      HINTERNET expected = nullptr;
      if (c->created.compare_exchange_strong(expected, reinterpret_cast<HINTERNET>(result->dwResult))) ++c->refs;
      break;
    }
    case INTERNET_STATUS_REQUEST_COMPLETE:
      c->error = static_cast<INTERNET_ASYNC_RESULT*>(info)->dwError;
      ::SetEvent(c->done.get());
      break;
    case INTERNET_STATUS_HANDLE_CLOSING:
      c->Release();
      break;
  }
}
}  // namespace

void BoundedInternet::CloseInternetHandle::operator()(HINTERNET handle) const noexcept { WinInet()->close(handle); }

BoundedInternet::BoundedInternet(DWORD stepMs, bool pump) : stepMs_(stepMs), pump_(pump) {
  context_ = new Context;
  if (!WinInet()) return;
  root_.reset(WinInet()->open(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC));
  if (root_) WinInet()->setCallback(root_.get(), &Status);
}

BoundedInternet::~BoundedInternet() {
  HINTERNET request = context_->created.load();
  if (request) WinInet()->close(request);
  root_.reset();
  context_->Release();
}

void BoundedInternet::SetDeadline(DWORD totalMs) {
  deadlineSet_ = true;
  deadlineStart_ = ::GetTickCount();
  deadlineMs_ = totalMs;
}

bool BoundedInternet::DeadlinePassed() const {
  return deadlineSet_ && ::GetTickCount() - deadlineStart_ >= deadlineMs_;
}

bool BoundedInternet::Wait() {
  const DWORD start = ::GetTickCount();
  for (;;) {
    const DWORD now = ::GetTickCount(), spent = now - start;
    if (spent >= stepMs_) return false;
    DWORD left = stepMs_ - spent;
    if (deadlineSet_) {
      const DWORD overall = now - deadlineStart_;
      if (overall >= deadlineMs_) return false;
      if (deadlineMs_ - overall < left) left = deadlineMs_ - overall;
    }
    HANDLE done = context_->done.get();
    const DWORD woke = pump_ ? ::MsgWaitForMultipleObjects(1, &done, FALSE, left, QS_ALLINPUT)
                             : ::WaitForSingleObject(done, left);
    if (woke == WAIT_OBJECT_0) return context_->error == ERROR_SUCCESS;
    if (woke == WAIT_OBJECT_0 + 1) {
      if (!DispatchPendingMessages() || (stop_ && *stop_)) return false;
    } else if (woke != WAIT_TIMEOUT) {
      return false;
    }
  }
}

bool BoundedInternet::Open(const std::wstring& url) {
  if (!root_ || !context_->done) return false;
  HINTERNET request = WinInet()->openUrl(root_.get(), url.c_str(), nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                         reinterpret_cast<DWORD_PTR>(context_));
  if (request) {
    HINTERNET expected = nullptr;
    if (context_->created.compare_exchange_strong(expected, request)) ++context_->refs;
    request_ = request;
    return true;
  }
  if (::GetLastError() != ERROR_IO_PENDING || !Wait()) return false;
  request_ = context_->created.load();
  return request_ != nullptr;
}

bool BoundedInternet::QueryNumber(DWORD what, DWORD& value) const {
  DWORD size = sizeof value;
  return request_ && WinInet()->queryInfo(request_, what | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr);
}

bool BoundedInternet::Read(void* buffer, DWORD size, DWORD& read) {
  read = 0;
  // A read that WinINet answers at once never waits: the deadline and the
  // stop are looked at here too.
  if (!request_ || DeadlinePassed() || (stop_ && *stop_)) return false;
  if (size > kMaxBlock) size = kMaxBlock;
  context_->read = 0;
  if (!WinInet()->read(request_, context_->buffer, size, &context_->read)) {
    if (::GetLastError() != ERROR_IO_PENDING || !Wait()) return false;
  }
  read = context_->read;
  std::memcpy(buffer, context_->buffer, read);
  return true;
}

}  // namespace win
