// The title band of a borderless window and the painter of its frame, both
// from the window skin (bitmap 108). The band shows the caption in white;
// a left press on it hands the window named by frmHwnd to the window system
// to be dragged (nothing moves while frmHwnd is 0). Printform paints the
// side and bottom borders and the bottom corners onto a form's retained surface.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/Control.h"
#include "forms/Event.h"
#include "forms/Form.h"
#include "win/Gdi.h"
#include "win/UniqueHandle.h"

namespace controls {

class BForm final : public forms::Control {
 public:
  // Loads the skin; throws win::Win32Error when it cannot.
  BForm();

  void ReadProperties(const forms::PropertyBag& bag) override;
  void WriteProperties(forms::PropertyBag& bag) const override;

  // The background colour as decimal text (what the property holds); a text
  // that is no number throws std::invalid_argument and the colour stays.
  std::wstring BackColor() const;
  void SetBackColor(const std::wstring& decimal);
  const std::wstring& Caption() const noexcept { return caption_; }
  void SetCaption(const std::wstring& caption);
  bool HasLogo() const noexcept { return hasLogo_; }
  void SetHasLogo(bool value);
  HWND frmHwnd() const noexcept { return frmHwnd_; }
  void SetfrmHwnd(HWND value) noexcept { frmHwnd_ = value; }

  // Paints the frame of `frm` onto its retained surface (an AutoRedraw form).
  void Printform(forms::Form& frm);
  // Covers the title band from 830 twips before its right end, 400 twips
  // wide, with plain band. No form calls it.
  void Nomin();

  forms::Event<> DblClick;
  forms::Event<std::int16_t&, std::int16_t&, float&, float&> MouseDown;
  forms::Event<std::int16_t&, std::int16_t&, float&, float&> MouseMove;

 protected:
  const wchar_t* ClassName() const override { return L"VelmoraFormSkin"; }
  bool OnInput(forms::InputKind kind, forms::InputArgs& args) override;
  void OnSize(int width, int height) override;

 private:
  void PaintTitle();

  win::MemoryBitmapDC skin_;
  win::UniqueHfont font_;
  std::wstring caption_ = L"NewForm";
  bool hasLogo_ = false;
  HWND frmHwnd_ = nullptr;
  bool sizing_ = false;
};

}  // namespace controls
