#include "forms/WindowBase.h"

#include "forms/Program.h"

namespace forms {

WindowBase::~WindowBase() {
  if (hwnd_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

bool WindowBase::CreateWindowFor(const wchar_t* className, DWORD exStyle, const wchar_t* caption, DWORD style,
                                 int x, int y, int width, int height, HWND parentOrOwner, UINT classStyle) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(Program::Instance(), className, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = &WindowBase::StaticProc;
    wc.hInstance = Program::Instance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!::RegisterClassExW(&wc)) return false;
  }
  HWND hwnd = ::CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parentOrOwner, nullptr,
                                Program::Instance(), this);
  return hwnd != nullptr;
}

LRESULT WindowBase::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) { return DefaultProc(msg, wParam, lParam); }

LRESULT CALLBACK WindowBase::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowBase* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);

  LRESULT result = 0;
  bool ok = RunHandler(L"window procedure", [&] { result = self->WindowProc(msg, wParam, lParam); });
  if (!ok) result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnWindowGone();
  }
  return result;
}

}  // namespace forms
