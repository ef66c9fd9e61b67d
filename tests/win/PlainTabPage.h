// A page for a tab that is nothing but a plain window with a text: what the
// tab strip's tests, its host program and its benchmark put in their tabs.
#pragma once

#include <windows.h>

#include <string>

#include "tabstrip/ITabForm.h"

namespace testpages {

class PlainTabPage : public tabstrip::ITabForm {
 public:
  explicit PlainTabPage(const std::wstring& text = L"page") {
    window_ = ::CreateWindowExW(0, L"STATIC", text.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  }
  ~PlainTabPage() override {
    if (::IsWindow(window_)) ::DestroyWindow(window_);
  }
  HWND hWnd() override { return window_; }
  void Initialize(tabstrip::IuTab*, tabstrip::CTabItem*) override {}
  void RefreshPage() override { ++refreshed; }
  bool UnloadPage() override {
    ::DestroyWindow(window_);
    return true;
  }
  int refreshed = 0;

 private:
  HWND window_ = nullptr;
};

}  // namespace testpages
