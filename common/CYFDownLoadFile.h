// Fetches one address over HTTP or HTTPS and writes the body to a local file,
// synchronously, in blocks of 8192 bytes, letting the message loop run once
// after each block (a window stays responsive and can stop the transfer).
//
// The body goes to a temporary file beside the named one, which replaces the
// named file only once the whole announced body has arrived (or a stop
// request ended the transfer: what arrived is kept). Any failure leaves the
// named file exactly as it was.
#pragma once

#include <cstdint>
#include <string>

#include "forms/Event.h"

namespace common {

class CYFDownLoadFile {
 public:
  // The longest any step may take (connecting, the answer, one block): a
  // server that accepts and then says nothing is given up on after it.
  static constexpr unsigned kReceiveTimeoutMs = 15000;
  static constexpr std::uint32_t kBlockSize = 8192;

  // True when the body was written to strSaveFile (also when StopDownLoad
  // ended it early); false for no connection, a status other than 200, no or
  // a zero content length, a body shorter than announced, or a read or write
  // error.
  bool DownLoadFile(const std::wstring& strURLFile, const std::wstring& strSaveFile, bool bHidden, bool bRaiseEvent);
  // Bounds for the downloads from now on: a body longer than `maxBytes`, or a
  // transfer not over within `totalMs`, fails (the named file is kept as it
  // was). Without them only each step is bounded.
  void SetLimits(std::uint32_t maxBytes, unsigned totalMs) noexcept {
    maxBytes_ = maxBytes;
    totalMs_ = totalMs;
  }
  // The running download ends after the block it is handling, or at once
  // when it is waiting for the server.
  void StopDownLoad() noexcept { stop_ = true; }

  // Raised only when bRaiseEvent: the announced length before the file is
  // made, the total written after each block, and once at the very end.
  forms::Event<std::uint32_t /*dwFileTotalLen*/> QueryFileInfo;
  forms::Event<std::uint32_t /*dwRecivedLen*/> Loading;
  forms::Event<> Complete;

 private:
  bool Transfer(const std::wstring& url, const std::wstring& path, bool hidden, bool events);

  bool stop_ = false;
  std::uint32_t maxBytes_ = 0x7FFFFFFFu;
  unsigned totalMs_ = 0;
};

}  // namespace common
