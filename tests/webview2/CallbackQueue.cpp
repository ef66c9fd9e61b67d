#include "tests/webview2/CallbackQueue.h"

#include <map>
#include <memory>
#include <mutex>

#include "forms/Program.h"

namespace fakewebview2 {

namespace {

constexpr UINT kRunOne = WM_APP + 1;
constexpr wchar_t kClassName[] = L"VelmoraFakeWebView2Queue";

}  // namespace

CallbackQueue& CallbackQueue::ForThisThread() {
  static std::mutex guard;
  static std::map<DWORD, std::unique_ptr<CallbackQueue>> queues;
  std::lock_guard<std::mutex> lock(guard);
  std::unique_ptr<CallbackQueue>& queue = queues[::GetCurrentThreadId()];
  // A thread that ended took its window along; one with its id now gets a new queue.
  if (!queue || !::IsWindow(queue->window_) ||
      ::GetWindowThreadProcessId(queue->window_, nullptr) != ::GetCurrentThreadId()) {
    queue.reset(new CallbackQueue());
  }
  return *queue;
}

CallbackQueue::CallbackQueue() {
  const HINSTANCE instance = forms::Program::Instance();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(instance, kClassName, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CallbackQueue::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
  }
  window_ = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (window_) ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CallbackQueue::Post(std::function<void()> callback) {
  waiting_.push_back(std::move(callback));
  if (!window_ || !::PostMessageW(window_, kRunOne, 0, 0)) waiting_.pop_back();
}

void CallbackQueue::RunOne() {
  if (running_) {
    ++owed_;
    return;
  }
  if (waiting_.empty()) return;
  std::function<void()> callback = std::move(waiting_.front());
  waiting_.pop_front();
  running_ = true;
  try {
    callback();
  } catch (...) {
    // Nothing may leave a window procedure; the host's handler is at fault.
  }
  running_ = false;
  for (; owed_ > 0; --owed_) ::PostMessageW(window_, kRunOne, 0, 0);
}

LRESULT CALLBACK CallbackQueue::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kRunOne) {
    if (auto* queue = reinterpret_cast<CallbackQueue*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) queue->RunOne();
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace fakewebview2
