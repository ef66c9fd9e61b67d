// A second process for the hook service's tests.
//   hookpeer window TITLE
//       shows a window of its own titled TITLE until it is closed (or 60 s pass).
//       WM_APP+1 answers 5; WM_APP+2 answers 1 while the window's procedure is
//       still the one it was created with, else 0.
//   hookpeer send HWND MSG WPARAM LPARAM
//       sends the message (numbers in hexadecimal) and exits with the answer
//       (0xFFFF when it could not be delivered within 10 s).
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kClass[] = L"VelmoraHookPeer";
constexpr UINT kAnswer = WM_APP + 1;
constexpr UINT kOwnProcedure = WM_APP + 2;
constexpr UINT_PTR kLifetimeTimer = 1;

LRESULT CALLBACK PeerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kAnswer:
      return 5;
    case kOwnProcedure:
      return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &PeerProc ? 1 : 0;
    case WM_TIMER:
      if (wParam == kLifetimeTimer) ::DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

int ShowWindowUntilClosed(const wchar_t* title) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &PeerProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  if (!::RegisterClassExW(&wc)) return 3;
  HWND hwnd = ::CreateWindowExW(0, kClass, title, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) return 4;
  ::SetTimer(hwnd, kLifetimeTimer, 60000, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

ULONG_PTR Hex(const wchar_t* text) { return static_cast<ULONG_PTR>(std::wcstoull(text, nullptr, 16)); }

int Send(const wchar_t* const* args) {
  DWORD_PTR answer = 0;
  HWND hwnd = reinterpret_cast<HWND>(Hex(args[0]));
  if (!::SendMessageTimeoutW(hwnd, static_cast<UINT>(Hex(args[1])), static_cast<WPARAM>(Hex(args[2])),
                             static_cast<LPARAM>(Hex(args[3])), SMTO_NORMAL, 10000, &answer)) {
    return 0xFFFF;
  }
  return static_cast<int>(answer);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wstring(argv[1]) == L"window") return ShowWindowUntilClosed(argv[2]);
  if (argc >= 6 && std::wstring(argv[1]) == L"send") return Send(argv + 2);
  return 2;
}
