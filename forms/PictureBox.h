// A picture box: a child window that shows a picture (or just its background
// colour) and reports clicks. With no picture it serves as a clipping panel
// for the windows placed inside it.
#pragma once

#include <windows.h>

#include <span>

#include "forms/Control.h"
#include "forms/Event.h"
#include "win/GdiPlus.h"
#include "win/UniqueHandle.h"

namespace forms {

class PictureBox : public Control {
 public:
  PictureBox();
  ~PictureBox() override;

  void SetBackColor(COLORREF colour);
  // Decodes the picture from bytes (PNG, GIF, BMP…) and draws it at the top left.
  void SetPicture(std::span<const std::byte> bytes);
  void SetPicture(HBITMAP bitmap);  // takes ownership

  Event<> Click;
  Event<int /*button*/, int /*shift*/, int /*x*/, int /*y*/> MouseDown;

 protected:
  const wchar_t* ClassName() const override { return L"VelmoraPicture"; }
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Redraw();

  win::GdiplusSession gdiplus_;
  win::StreamImage image_;
  win::UniqueHbitmap bitmap_;
  bool pressed_ = false;
};

}  // namespace forms
