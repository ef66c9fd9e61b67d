#include "controls/iButton.h"

#include <windowsx.h>

#include "controls/ButtonFrames.h"
#include "forms/Rounding.h"
#include "forms/Twips.h"
#include "win/Resource.h"

namespace controls {

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverInterval = 50;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

SIZE TextSize(HDC dc, const std::wstring& text) {
  SIZE size{};
  if (!text.empty()) ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

constexpr int kIconSize = 16;

FontChoice SurfaceFont() {
  LOGFONTW lf{};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  return FontChoice{lf.lfFaceName, lf.lfHeight, lf.lfWeight};
}

HFONT MakeFont(const FontChoice& font) {
  LOGFONTW lf{};
  lf.lfHeight = font.height;
  lf.lfWeight = font.weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  font.face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return ::CreateFontIndirectW(&lf);
}

COLORREF ScreenColour(COLORREF oleColour) {
  const auto system = SystemColourIndex(oleColour);
  return system ? ::GetSysColor(*system) : oleColour;
}

int IconPixels(HICON icon) {
  ICONINFO info{};
  if (!icon || !::GetIconInfo(icon, &info)) return 0;
  const win::UniqueHbitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  ::GetObjectW(colour ? colour.get() : mask.get(), sizeof bm, &bm);
  return bm.bmWidth;
}

}  // namespace

iButton::iButton() : m_FontChoice(SurfaceFont()), m_Font(MakeFont(m_FontChoice)) {
  surfaceBackground_ = ::GetSysColor(COLOR_WINDOW);
}

iButton::~iButton() {
  if (window()) ::KillTimer(window(), kHoverTimer);
}

void iButton::ReadProperties(const forms::PropertyBag& bag) {
  m_PictureId = bag.ReadInt(L"BackPicture", 0);
  if (m_PictureId > 0) {
    m_BackPicture = win::LoadBitmapResource(static_cast<WORD>(m_PictureId));
  }
  m_IconId = bag.ReadInt(L"Icon", 0);
  if (m_IconId > 0) m_Icon = win::LoadIconResource(static_cast<WORD>(m_IconId), kIconSize);
  if (window()) ::EnableWindow(window(), bag.ReadBool(L"Enabled", true));
  m_BackStyle = static_cast<std::int16_t>(bag.ReadInt(L"cBackStyle", 1));
  m_Caption = bag.ReadString(L"Caption", L"");
  m_Style = bag.ReadInt(L"Style", 0);
  m_AutoSize = bag.ReadBool(L"AutoSize", true);
  m_ForeColor = static_cast<COLORREF>(bag.ReadInt(L"cForeColor", static_cast<std::int32_t>(m_ForeColor)));
  if (const auto font = ParseFont(bag.ReadString(L"cFont", FormatFont(m_FontChoice)))) {
    m_FontChoice = *font;
    m_Font.reset(MakeFont(m_FontChoice));
  }
  m_DrawMode = static_cast<std::int16_t>(bag.ReadInt(L"cDrawMode", m_DrawMode));
  // The frames are cut at the first showing, once everything is known.
  BuildFrames();
}

void iButton::WriteProperties(forms::PropertyBag& bag) const {
  if (m_PictureId > 0) bag.Write(L"BackPicture", m_PictureId);
  if (m_IconId > 0) bag.Write(L"Icon", m_IconId);
  bag.Write(L"Enabled", Enabled());
  bag.Write(L"cBackStyle", static_cast<std::int32_t>(m_BackStyle));
  bag.Write(L"Caption", m_Caption);
  bag.Write(L"Style", m_Style);
  bag.Write(L"AutoSize", m_AutoSize);
  bag.Write(L"cForeColor", static_cast<std::int32_t>(m_ForeColor));
  bag.Write(L"cFont", FormatFont(m_FontChoice));
  bag.Write(L"cDrawMode", static_cast<std::int32_t>(m_DrawMode));
}

// ---------------------------------------------------------------------------
// Properties

void iButton::SetBackPicture(HBITMAP strip) {
  m_BackPicture.reset(strip);
  m_PictureId = 0;
  BuildFrames();
}

void iButton::SetIcon(HICON icon) {
  m_Icon.reset(icon);
  m_IconId = 0;
}

void iButton::SetCaption(const std::wstring& caption) {
  m_Caption = caption;
  DrawState(CurrentState());
}

void iButton::SetStyle(std::int32_t style) {
  m_Style = style;
  BuildFrames();
}

void iButton::SetAutoSize(bool value) {
  m_AutoSize = value;
  if (value) BuildFrames();
}

bool iButton::Enabled() const { return !window() || ::IsWindowEnabled(window()); }

void iButton::SetEnabled(bool value) {
  if (window()) ::EnableWindow(window(), value);
  cMouseAction(CurrentState(), true);
}

void iButton::SetcBackStyle(std::int16_t value) {
  m_BackStyle = value;
  if (window() && value != 0) ::SetWindowRgn(window(), nullptr, TRUE);
  DrawState(CurrentState());
}

void iButton::SetcForeColor(COLORREF value) {
  m_ForeColor = value;
  DrawState(CurrentState());
}

void iButton::SetcFont(const FontChoice& font) {
  m_FontChoice = font;
  m_Font.reset(MakeFont(m_FontChoice));
  DrawState(CurrentState());
}

void iButton::SetcDrawMode(std::int16_t value) {
  m_DrawMode = value;
  DrawState(CurrentState());
}

void iButton::SetValue(bool value) {
  // Only a toggle button can be checked.
  if (m_Style == 0) {
    m_Value = false;
    return;
  }
  m_Value = value;
  cMouseAction(CurrentState(), true);
}

void iButton::SetLocked(bool value) {
  m_Locked = value;
  cMouseAction(CurrentState(), true);
}

// ---------------------------------------------------------------------------
// States and drawing

bool iButton::IsMouseOver() const {
  POINT p{};
  ::GetCursorPos(&p);
  return window() && ::WindowFromPoint(p) == window();
}

std::int32_t iButton::CurrentState() const { return CurrentButtonState(Enabled(), m_Pressed, IsMouseOver()); }

void iButton::cMouseAction(std::int32_t cAction, bool vComplePaint) {
  if (cAction == m_State && !vComplePaint) return;
  m_State = cAction;
  DrawState(cAction);
}

void iButton::BuildFrames() {
  m_Frames.clear();
  m_FramesReady = false;
  BITMAP strip{};
  if (m_BackPicture && ::GetObjectW(m_BackPicture.get(), sizeof strip, &strip)) {
    const FrameSize size =
        FrameSizeOf(HimetricOfPixels(strip.bmWidth), HimetricOfPixels(strip.bmHeight), m_Style);
    m_FrameWidth = size.width;
    m_FrameHeight = size.height;
    win::ScopedGetDC screen(nullptr);
    win::MemoryBitmapDC source;
    source.Adopt(screen, nullptr);
    win::ScopedSelectObject selected(source.dc(), m_BackPicture.get());
    for (std::int32_t i = 0; i < FrameCount(m_Style) && size.width > 0 && size.height > 0; ++i) {
      win::MemoryBitmapDC frame(screen, size.width, size.height);
      ::BitBlt(frame.dc(), 0, 0, size.width, size.height, source.dc(), i * size.width, 0, SRCCOPY);
      m_Frames.push_back(std::move(frame));
    }
    if (m_AutoSize) FitToFrame();
    m_FramesReady = true;
  }
  cMouseAction(CurrentState(), true);
}

void iButton::FitToFrame() {
  // A frame of no width or height leaves the button's size alone.
  if (!window() || m_FrameWidth <= 0 || m_FrameHeight <= 0) return;
  ::SetWindowPos(window(), nullptr, 0, 0, m_FrameWidth, m_FrameHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void iButton::DrawBackground(int width, int height) {
  const auto index = FrameIndex(m_State, m_Value, m_Locked, m_Style, m_FramesReady);
  if (!index || *index >= static_cast<std::int32_t>(m_Frames.size())) return;
  HDC dc = surface_.dc();
  const win::MemoryBitmapDC& frame = m_Frames[static_cast<std::size_t>(*index)];
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, 0, 0, width, height, frame.dc(), 0, 0, frame.width(), frame.height(), SRCCOPY);
  if (m_Icon && m_BackStyle != 0) {
    const int iconWidth = IconPixels(m_Icon.get());
    const double left = IconLeft(forms::PixelsToTwips(width), forms::PixelsToTwips(TextSize(dc, m_Caption).cx),
                                 forms::PixelsToTwips(iconWidth));
    ::DrawIconEx(dc, forms::TwipsToPixels(left), 0, m_Icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
  }
}

void iButton::DrawState(std::int32_t state) {
  if (!window() || !surface_.dc()) return;
  RECT rc{};
  ::GetClientRect(window(), &rc);
  surface_.Clear(surfaceBackground_);
  // The caption's font is measured for the icon's place too.
  HDC dc = surface_.dc();
  win::ScopedSelectObject font(dc, m_Font ? static_cast<HGDIOBJ>(m_Font.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
  // The frame is the recorded state's; a repaint that records nothing keeps it.
  DrawBackground(rc.right, rc.bottom);
  if (m_BackStyle == 0) CutToFrame();
  if (!m_Caption.empty()) {
    const SIZE text = TextSize(dc, m_Caption);
    const double iconWidth = m_Icon ? forms::PixelsToTwips(IconPixels(m_Icon.get())) : 0.0;
    const TwipsPoint at =
        CaptionOrigin(forms::PixelsToTwips(rc.right), forms::PixelsToTwips(rc.bottom), forms::PixelsToTwips(text.cx),
                      forms::PixelsToTwips(text.cy), iconWidth, state);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ScreenColour(m_ForeColor));
    ::SetROP2(dc, m_DrawMode);
    ::TextOutW(dc, forms::TwipsToPixels(at.x), forms::TwipsToPixels(at.y), m_Caption.c_str(),
               static_cast<int>(m_Caption.size()));
  }
  ::InvalidateRect(window(), nullptr, FALSE);
}

void iButton::CutToFrame() {
  // The window keeps the pixels of the drawn frame that are not the mask colour.
  HDC dc = surface_.dc();
  const int width = surface_.width(), height = surface_.height();
  win::UniqueHrgn shape(::CreateRectRgn(0, 0, 0, 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width;) {
      while (x < width && ::GetPixel(dc, x, y) == kMaskColour) ++x;
      const int start = x;
      while (x < width && ::GetPixel(dc, x, y) != kMaskColour) ++x;
      if (x > start) {
        win::UniqueHrgn run(::CreateRectRgn(start, y, x, y + 1));
        ::CombineRgn(shape.get(), shape.get(), run.get(), RGN_OR);
      }
    }
  }
  // The window owns the region from here on.
  if (::SetWindowRgn(window(), shape.get(), TRUE)) shape.release();
}

void iButton::DrawFocus() {
  if (!surface_.dc()) return;
  RECT focus{3, 3, surface_.width() - 3, surface_.height() - 3};
  ::DrawFocusRect(surface_.dc(), &focus);
  ::InvalidateRect(window(), nullptr, FALSE);
}

void iButton::PollPointer() {
  if (IsMouseOver()) {
    if (m_Pressed) cMouseAction(kButtonPressed);
    return;
  }
  // Gone: the poll stops once no press is in progress.
  if (!m_Pressed) {
    ::KillTimer(window(), kHoverTimer);
    m_Hover = false;
    MouseOut();
  }
  cMouseAction(kButtonNormal);
}

// ---------------------------------------------------------------------------
// Input

void iButton::OnSize(int width, int height) {
  if (m_AutoSize && m_FramesReady && (width != m_FrameWidth || height != m_FrameHeight)) FitToFrame();
  cMouseAction(CurrentState(), true);
}

bool iButton::OnTimer(UINT_PTR id) {
  if (id == kHoverTimer) PollPointer();
  return true;
}

bool iButton::OnInput(forms::InputKind kind, forms::InputArgs& args) {
  switch (kind) {
    case forms::InputKind::MouseMove:
      MouseMove(args.button, args.shift, args.x, args.y);
      if (IsMouseOver()) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        if (!m_Hover) {
          cMouseAction(kButtonOver);
          m_Hover = true;
          ::SetTimer(window(), kHoverTimer, kHoverInterval, nullptr);
          MouseOver();
        }
      }
      return true;
    case forms::InputKind::MouseDown:
      ::SetCapture(window());
      if (args.button == 1) ::SetFocus(window());
      m_AfterDoubleClick = false;
      MouseDown(args.button, args.shift, args.x, args.y);
      m_LastButton = args.button;
      if (args.button == 1) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        cMouseAction(kButtonPressed);
        m_Pressed = true;
      }
      return true;
    case forms::InputKind::MouseUp: {
      if (!args.held) ::ReleaseCapture();
      MouseUp(args.button, args.shift, args.x, args.y);
      const bool over = IsMouseOver();
      if (args.button == 1) {
        if (over) {
          // Only a release that clicks flips a toggle button: the release that
          // ends a double click raises no Click, so the holder, which follows
          // Value on each Click, stays in step with it.
          if (m_Style != 0 && !m_AfterDoubleClick && m_LastButton == 1) m_Value = !m_Value;
          cMouseAction(kButtonOver, true);
        } else {
          cMouseAction(kButtonNormal, true);
        }
        m_Pressed = false;
      }
      // A release over the button is a click (not the release that ends a double click).
      if (over && !m_AfterDoubleClick && m_LastButton == 1) {
        cMouseAction(CurrentState(), true);
        Click();
      }
      m_AfterDoubleClick = false;
      return true;
    }
    case forms::InputKind::DoubleClick:
      ::SetCapture(window());
      m_AfterDoubleClick = true;
      if (m_LastButton == 1) cMouseAction(kButtonPressed);
      DBClick();
      return true;
    case forms::InputKind::KeyDown:
      KeyDown(args.key, args.shift);
      if (args.key == VK_RETURN) {
        if (m_Style != 0) m_Value = !m_Value;
        cMouseAction(CurrentState(), true);
        if (!m_Hover) DrawFocus();
        Click();
      } else if (args.key == VK_SPACE) {
        cMouseAction(kButtonPressed, true);
        if (!m_Hover) DrawFocus();
      }
      return true;
    case forms::InputKind::KeyUp:
      KeyUP(args.key, args.shift);
      if (args.key == VK_SPACE) {
        if (m_Style != 0) m_Value = !m_Value;
        cMouseAction(CurrentState(), true);
        if (!m_Hover) DrawFocus();
        Click();
      }
      return true;
    case forms::InputKind::KeyPress:
      KeyPress(args.key);
      return true;
  }
  return false;
}

LRESULT iButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETCURSOR:
      return TRUE;  // the button sets its own pointer on each move
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_SETFOCUS:
      cMouseAction(CurrentState(), true);
      if (!m_Pressed) DrawFocus();
      return 0;
    case WM_KILLFOCUS:
      cMouseAction(CurrentState(), true);
      return 0;
  }
  return Control::WindowProc(msg, wParam, lParam);
}

}  // namespace controls
