// A WinINet download in asynchronous mode whose every step (connecting,
// waiting for the answer, each read) is bounded in time, while the calling
// thread waits and lets its messages run. WinINet's own receive time-out is
// not honoured everywhere (Wine ignores it for reads), and a blocked
// synchronous call cannot be interrupted: this is how a server that accepts
// and then says nothing is given up on.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <memory>
#include <string>

#include "win/UniqueHandle.h"

namespace win {

class BoundedInternet {
 public:
  // Each step waits at most `stepMs`; with `pump`, the thread's messages are
  // dispatched while it waits.
  BoundedInternet(DWORD stepMs, bool pump);
  ~BoundedInternet();
  BoundedInternet(const BoundedInternet&) = delete;
  BoundedInternet& operator=(const BoundedInternet&) = delete;

  // From now on the whole transfer, every step together, ends after at most
  // `totalMs`: a server that sends a byte now and then is given up on too.
  void SetDeadline(DWORD totalMs);
  // True once the deadline set has passed.
  bool DeadlinePassed() const;
  // A flag that the messages dispatched while a step waits may set: the
  // step then fails at once. Null: none.
  void SetStopFlag(const bool* stop) noexcept { stop_ = stop; }

  // Opens the address (no cache read or written) and waits for its answer's headers.
  bool Open(const std::wstring& url);
  // A number from the answer's headers (HTTP_QUERY_STATUS_CODE...); false when absent.
  bool QueryNumber(DWORD what, DWORD& value) const;
  // Reads up to `size` bytes; read = 0 at the end of the body. False on an
  // error or a step that took too long.
  bool Read(void* buffer, DWORD size, DWORD& read);

  static constexpr DWORD kMaxBlock = 64 * 1024;

  // What the request shares with WinINet's own threads (BoundedInternet.cpp).
  struct Context;

 private:
  bool Wait();

  DWORD stepMs_;
  bool pump_;
  bool deadlineSet_ = false;
  DWORD deadlineStart_ = 0, deadlineMs_ = 0;
  const bool* stop_ = nullptr;
  // Closed through the WinINet this transfer loaded (BoundedInternet.cpp).
  struct CloseInternetHandle {
    void operator()(HINTERNET handle) const noexcept;
  };
  std::unique_ptr<void, CloseInternetHandle> root_;
  HINTERNET request_ = nullptr;
  Context* context_ = nullptr;
};

}  // namespace win
