// A tab strip on a real window, for the strip's tests: a visible host with the
// strip across its top and the container its pages go in below. The real
// pointer rests away from the strip: the tests hand it their own mouse
// messages, whatever an earlier test left the pointer on.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "forms/PropertyBag.h"
#include "tabstrip/uTab.h"

namespace testpages {

// Dispatches every message waiting for this thread.
inline void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

class StripHost : public ::testing::Test {
 protected:
  // A 700 x 40 strip of `style` (TabStyle) with a left margin of `leftSize`.
  void CreateStrip(int style, int leftSize) {
    ::SetCursorPos(1000, 700);
    host_ = ::CreateWindowExW(0, L"STATIC", L"strip host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 760, 220,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    container_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 40, 700, 150, host_,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr);
    strip_ = std::make_unique<tabstrip::uTab>();
    forms::PropertyBag bag;
    bag.Write(L"TabStyle", style);
    bag.Write(L"TabLeftSize", leftSize);
    bag.Write(L"TabRightSize", 0);
    ASSERT_TRUE(strip_->Create(host_, 0, 0, 700, 40, bag));
    strip_->SethContainerWnd(container_);
  }
  void TearDown() override {
    strip_.reset();
    ::DestroyWindow(host_);
  }

  HWND host_ = nullptr, container_ = nullptr;
  std::unique_ptr<tabstrip::uTab> strip_;
};

}  // namespace testpages
