// A thousand image buttons, title bands and frame objects made, used and
// dropped leave the process's GDI objects and memory where they were (Wine
// counts no GUI objects, so the GDI handle table and the memory are probed).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "controls/BForm.h"
#include "controls/cSetStyle.h"
#include "controls/iButton.h"
#include "resources/ResourceIds.h"
#include "tests/win/ProcessMemory.h"

namespace {

TEST(SkinnedControlsLeak, AThousandOfEachMadeAndDroppedLeaveNothingBehind) {
  HWND host = ::CreateWindowExW(0, L"STATIC", L"leak host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300, 200,
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  auto cycle = [&] {
    auto button = std::make_unique<controls::iButton>();
    ASSERT_TRUE(button->Create(host, 10, 10, 100, 40));
    button->SetBackPicture(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                             MAKEINTRESOURCEW(res::kBmpClose), IMAGE_BITMAP, 0, 0,
                                                             LR_CREATEDIBSECTION)));
    button->SetCaption(L"x");
    button->SetcBackStyle(0);
    button->cMouseAction(2);
    auto band = std::make_unique<controls::BForm>();
    ASSERT_TRUE(band->Create(host, 0, 0, 300, 33));
    band->SetCaption(L"title");
    HWND framed = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    auto style = std::make_unique<controls::cSetStyle>();
    style->SetWindowStyle(framed);
    ::SendMessageW(framed, WM_MOUSEMOVE, 0, MAKELPARAM(1, 50));
    style.reset();
    ::DestroyWindow(framed);
  };
  for (int i = 0; i < 50; ++i) cycle();  // the allocators settle first
  const testmemory::Footprint before = testmemory::MeasureFootprint();
  for (int i = 0; i < 1000; ++i) cycle();
  testmemory::ExpectNoGrowthSince(before);
  ::DestroyWindow(host);
}

}  // namespace
