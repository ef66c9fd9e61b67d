// A form's label on a real window: drawn by the form over its retained
// surface, beneath a control that overlaps it, and gone when the form unloads.
#include <gtest/gtest.h>
#include <windows.h>

#include "forms/Form.h"

namespace {

class LabelledForm : public forms::Form {
 public:
  LabelledForm()
      : Form(forms::FormDesign{.caption = L"labelled", .clientWidth = 200, .clientHeight = 80,
                               .showInTaskbar = false, .autoRedraw = true}) {}
};

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// Dark pixels of the form's window in [x0, x1) x [y0, y1).
int Ink(HWND hwnd, int x0, int y0, int x1, int y1) {
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  HDC dc = ::GetDC(hwnd);
  int n = 0;
  for (int x = x0; x < x1; ++x)
    for (int y = y0; y < y1; ++y) n += GetGValue(::GetPixel(dc, x, y)) < 100;
  ::ReleaseDC(hwnd, dc);
  return n;
}

TEST(FormLabel, TheFormDrawsItsLabelBeneathItsControls) {
  LabelledForm form;
  form.Load();
  form.Show();
  forms::Label& label = form.AddLabel(RECT{10, 10, 190, 40}, L"WWWWWWWWWWWWWWWWWWWW");
  EXPECT_EQ(form.labels().size(), 1u);
  EXPECT_EQ(label.caption, L"WWWWWWWWWWWWWWWWWWWW");
  EXPECT_GT(Ink(form.hWnd(), 10, 10, 100, 40), 20) << "the caption on the form";
  // A white control over the label's right half shows whole: nothing of the caption on it.
  HWND cover = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_WHITERECT, 100, 5, 90, 40, form.hWnd(),
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
  EXPECT_EQ(Ink(form.hWnd(), 102, 10, 188, 40), 0);
  EXPECT_GT(Ink(form.hWnd(), 10, 10, 100, 40), 20);
  ::DestroyWindow(cover);
  form.Unload();
  EXPECT_TRUE(form.labels().empty());
}

}  // namespace
