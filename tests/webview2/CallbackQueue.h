// The user-interface thread's queue of calls into the host: every handler the
// fake runtime calls is posted here and run from the thread's message loop,
// never from inside a call of the host's, and one at a time: a callback
// dispatched by a nested loop while another runs waits until that one has
// returned.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

namespace fakewebview2 {

class CallbackQueue {
 public:
  // The calling thread's queue (its hidden window made on first use).
  static CallbackQueue& ForThisThread();

  // Runs `callback` later from this thread's message loop.
  void Post(std::function<void()> callback);

 private:
  CallbackQueue();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void RunOne();

  HWND window_ = nullptr;
  std::deque<std::function<void()>> waiting_;
  bool running_ = false;
  unsigned owed_ = 0;  // wake messages that came while a callback ran
};

}  // namespace fakewebview2
