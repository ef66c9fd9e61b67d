// Fetches pages over http(s) for the plain page engine without blocking the
// message loop: WinINet in asynchronous mode, whose status callback (on
// WinINet's own threads) only posts messages to one hidden window of the
// user-interface thread; everything else happens in that window's handlers.
//
// Each transfer's buffers belong to the fetcher, not to whoever asked: a
// transfer given up while WinINet still works on it is closed at once but
// kept until WinINet reports its handle closed, so no late write of
// WinINet's ever lands in freed memory. The fetcher lives for the rest of
// the process once first used.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <map>
#include <memory>
#include <string>

namespace browser {

struct FetchResult {
  // False: no answer came (refused connection, unknown host, time-out...).
  bool answered = false;
  DWORD error = 0;       // WinINet's error when the transfer failed, else 0
  DWORD status = 0;      // HTTP status of the answer
  std::wstring address;  // where the answer came from, after redirections
  std::wstring contentType;
  std::string body;      // as received (de-chunked), at most kMaxBody bytes
  bool truncated = false;
};

class FetchClient {
 public:
  // One transfer has ended; raised from the message loop, never from inside Start.
  virtual void FetchDone(unsigned id, FetchResult& result) = 0;

 protected:
  ~FetchClient() = default;
};

class PageFetcher {
 public:
  static constexpr std::size_t kMaxBody = 16 * 1024 * 1024;

  // The fetcher of this process (made on first use, on the user-interface thread).
  static PageFetcher& Instance();

  // Starts fetching `address` (no cache is read or written); the client hears
  // of it once, through FetchDone. Returns the transfer's id (never 0).
  unsigned Start(const std::wstring& address, FetchClient* client);
  // The client hears nothing more of the transfer.
  void Cancel(unsigned id);
  // Transfers not yet forgotten (ended ones wait for WinINet to let go of them).
  std::size_t TransfersHeld() const { return transfers_.size(); }

  // The user agent of every request.
  static const wchar_t* UserAgent();

 private:
  PageFetcher();
  struct Transfer;
  class Window;

  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  Transfer* Find(unsigned id);
  void Opened(Transfer& t, HINTERNET handle);
  void ReadSome(Transfer& t);
  void Finish(Transfer& t, DWORD error);
  void Close(Transfer& t);

  std::unique_ptr<Window> window_;
  HINTERNET session_ = nullptr;
  unsigned nextId_ = 0;
  std::map<unsigned, std::unique_ptr<Transfer>> transfers_;
};

}  // namespace browser
