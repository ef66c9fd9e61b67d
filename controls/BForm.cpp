#include "controls/BForm.h"

#include <stdexcept>

#include "controls/SkinLayout.h"
#include "forms/Rounding.h"
#include "forms/Twips.h"
#include "resources/ResourceIds.h"
#include "win/Error.h"
#include "win/Resource.h"

namespace controls {

namespace {

// The skin's rounded corners are magenta: they are left out, so the surface's
// own background shows there and the mask colour never reaches the screen.
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

void PaintPieces(HDC target, HDC skin, const std::vector<SkinPiece>& pieces) {
  for (const SkinPiece& p : pieces) {
    const int width = forms::TwipsToPixels(p.width), height = forms::TwipsToPixels(p.height);
    ::GdiTransparentBlt(target, forms::TwipsToPixels(p.x), forms::TwipsToPixels(p.y), width, height, skin,
                     forms::TwipsToPixels(p.sourceX), forms::TwipsToPixels(p.sourceY), width, height, kMaskColour);
  }
}

}  // namespace

BForm::BForm() {
  HBITMAP bitmap = win::LoadBitmapResource(res::kBmpWindowSkin).release();
  if (!bitmap) win::ThrowLastError(L"Cannot load bitmap " + std::to_wstring(res::kBmpWindowSkin));
  win::ScopedGetDC screen(nullptr);
  skin_.Adopt(screen, bitmap);
  // "宋体" 9 point bold: 12 pixels at 96 dots per inch.
  font_.reset(::CreateFontW(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体"));
  surfaceBackground_ = RGB(222, 222, 222);
}

void BForm::ReadProperties(const forms::PropertyBag& bag) {
  SetBackColor(bag.ReadString(L"BackColor", L"14346732"));
  caption_ = bag.ReadString(L"Caption", L"NewForm");
  PaintTitle();
  frmHwnd_ = reinterpret_cast<HWND>(static_cast<LONG_PTR>(bag.ReadInt(L"frmHwnd", 0)));
  hasLogo_ = bag.ReadBool(L"HasLogo", hasLogo_);
}

void BForm::WriteProperties(forms::PropertyBag& bag) const {
  bag.Write(L"BackColor", BackColor());
  bag.Write(L"Caption", caption_);
  bag.Write(L"frmHwnd", static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(frmHwnd_)));
  bag.Write(L"HasLogo", hasLogo_);
}

std::wstring BForm::BackColor() const { return std::to_wstring(static_cast<unsigned long>(surfaceBackground_)); }

void BForm::SetBackColor(const std::wstring& decimal) {
  std::size_t used = 0;
  const long long value = std::stoll(decimal, &used);  // throws std::invalid_argument for no number
  if (used != decimal.size()) throw std::invalid_argument("BackColor is not a number");
  surfaceBackground_ = static_cast<COLORREF>(value);
  PaintTitle();
}

void BForm::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  PaintTitle();
}

void BForm::SetHasLogo(bool value) {
  hasLogo_ = value;
  PaintTitle();
}

void BForm::PaintTitle() {
  if (!window() || !surface_.dc()) return;
  RECT rc{};
  ::GetClientRect(window(), &rc);
  surface_.Clear(surfaceBackground_);
  PaintPieces(surface_.dc(), skin_.dc(), TitleBarPieces(forms::PixelsToTwips(rc.right)));
  ::SetBkMode(surface_.dc(), TRANSPARENT);
  ::SetTextColor(surface_.dc(), RGB(255, 255, 255));
  win::ScopedSelectObject font(surface_.dc(), font_.get());
  ::TextOutW(surface_.dc(), forms::TwipsToPixels(CaptionLeft(hasLogo_)), forms::TwipsToPixels(kCaptionTop), caption_.c_str(),
             static_cast<int>(caption_.size()));
  ::InvalidateRect(window(), nullptr, FALSE);
}

void BForm::Nomin() {
  if (!window() || !surface_.dc()) return;
  RECT rc{};
  ::GetClientRect(window(), &rc);
  const std::int32_t width = forms::PixelsToTwips(rc.right);
  PaintPieces(surface_.dc(), skin_.dc(), {SkinPiece{kSkinWidth - 1200, 0, 400, 545, width - 830, 0}});
  ::InvalidateRect(window(), nullptr, FALSE);
}

void BForm::Printform(forms::Form& frm) {
  forms::Surface* surface = frm.surface();
  if (!surface || !surface->dc()) return;
  surface->Clear(frm.BackColor());
  RECT rc{};
  ::GetClientRect(frm.hWnd(), &rc);
  PaintPieces(surface->dc(), skin_.dc(), FramePieces(forms::PixelsToTwips(rc.right), forms::PixelsToTwips(rc.bottom)));
  ::InvalidateRect(frm.hWnd(), nullptr, FALSE);
}

void BForm::OnSize(int width, int height) {
  // Always 500 twips high.
  if (!sizing_ && height != forms::TwipsToPixels(kTitleBarHeight)) {
    sizing_ = true;
    ::SetWindowPos(window(), nullptr, 0, 0, width, forms::TwipsToPixels(kTitleBarHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    sizing_ = false;
  }
  PaintTitle();
}

bool BForm::OnInput(forms::InputKind kind, forms::InputArgs& args) {
  switch (kind) {
    case forms::InputKind::MouseDown:
      ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      if (args.button == 1) {
        // The window system moves the named window until the button is released.
        ::ReleaseCapture();
        if (frmHwnd_) ::SendMessageW(frmHwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      }
      MouseDown(args.button, args.shift, args.x, args.y);
      return true;
    case forms::InputKind::MouseMove:
      ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      MouseMove(args.button, args.shift, args.x, args.y);
      return true;
    case forms::InputKind::DoubleClick:
      if (args.button != 1) return false;
      DblClick();
      return true;
    default:
      return false;
  }
}

}  // namespace controls
