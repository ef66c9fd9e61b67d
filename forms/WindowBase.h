// The object behind a window: the static procedure finds it from the creation
// parameters at WM_NCCREATE and from GWLP_USERDATA afterwards, and no exception
// ever leaves a window procedure.
#pragma once

#include <windows.h>

namespace forms {

class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase();

  HWND window() const noexcept { return hwnd_; }

 protected:
  // Creates the window; `className` is registered on first use.
  bool CreateWindowFor(const wchar_t* className, DWORD exStyle, const wchar_t* caption, DWORD style, int x, int y,
                       int width, int height, HWND parentOrOwner, UINT classStyle = CS_DBLCLKS);
  // Handles one message; the default passes it to DefWindowProcW.
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Called after WM_NCDESTROY, when the handle is already gone.
  virtual void OnWindowGone() {}
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

}  // namespace forms
