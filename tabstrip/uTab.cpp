#include "tabstrip/uTab.h"

#include <algorithm>


#include "forms/Program.h"
#include "forms/Rounding.h"
#include "resources/ResourceIds.h"
#include "tabstrip/mdlTabAPI.h"
#include "win/Error.h"
#include "win/Resource.h"

namespace tabstrip {

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kSelectedCaption = RGB(4, 96, 163);
constexpr COLORREF kCaption = RGB(0, 0, 0);

// Where each picture of a skin starts (columns), and its frame's size.
struct SkinLayout {
  int backgroundHeight;
  int frameNormal, frameHover, frameSelected, frameWidth, frameHeight;
  int glyphSelected, glyphNormal, glyphHover, glyphPressed;
};
constexpr SkinLayout kSkins[2] = {
    {25, 1, 123, 245, 122, 25, 367, 379, 391, 403},  // bitmap 106, slanted
    {28, 1, 125, 249, 124, 26, 373, 385, 397, 409},  // bitmap 107, rounded
};

win::UniqueHfont GuiFont(LONG weight) {
  LOGFONTW font{};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfWeight = weight;
  return win::UniqueHfont(::CreateFontIndirectW(&font));
}

win::MemoryBitmapDC LoadSkin(WORD id) {
  HBITMAP bitmap = win::LoadBitmapResource(id).release();
  if (!bitmap) win::ThrowLastError(L"Cannot load bitmap " + std::to_wstring(id));
  return mdlTabAPI::CreateBitmapDC(bitmap);
}

}  // namespace

uTab::uTab() {
  skins_[0] = LoadSkin(res::kBmpTabSlanted);
  skins_[1] = LoadSkin(res::kBmpTabRounded);
  items_ = std::make_unique<CTabItems>();
  TabStripAccess::SetOwner(*items_, this);
  c_Subclass_ = std::make_unique<hooks::CSubclass>();
  c_Subclass_->WindowProc.Bind(this, &uTab::c_Subclass_WindowProc);
  normalFont_ = GuiFont(100);
  boldFont_ = GuiFont(700);
}

uTab::~uTab() {
  // The hooks go first, so no message reaches a strip that is half taken down;
  // then the tabs (each unloads its page); the pictures and fonts last.
  c_Subclass_.reset();
  items_.reset();
}

void uTab::ReadProperties(const forms::PropertyBag& bag) {
  tabStyle_ = bag.ReadInt(L"TabStyle", tabStyle_);
  leftSize_ = bag.ReadInt(L"TabLeftSize", leftSize_);
  rightSize_ = bag.ReadInt(L"TabRightSize", rightSize_);
  pieces_.Clear();
  if (window() && c_Subclass_->ssc_Subclass(window(), 0, 1)) {
    c_Subclass_->ssc_AddMsg(window(), hooks::ALL_MESSAGES, hooks::MSG_BEFORE);
  }
  // The first size came before the style was known.
  Resized();
}

void uTab::WriteProperties(forms::PropertyBag& bag) const {
  bag.Write(L"TabStyle", tabStyle_);
  bag.Write(L"TabLeftSize", leftSize_);
  bag.Write(L"TabRightSize", rightSize_);
}

// ---------------------------------------------------------------------------
// Public members

void uTab::refresh() { PaintAll(true); }

void uTab::LockReDraw(bool bLock) {
  redraw_ = !bLock;
  if (bLock) return;
  ComputeWidthAndLayOut();
  PaintAll(true);
}

void uTab::SethContainerWnd(HWND container) {
  container_ = container;
  if (container && c_Subclass_->ssc_Subclass(container)) c_Subclass_->ssc_AddMsg(container, WM_SIZE, hooks::MSG_AFTER);
}

void uTab::SetSelected(std::int32_t value) {
  if (value < 0) {
    selected_ = kNoTab;
    PaintAll(true);
    return;
  }
  if (value > items_->Count() - 1) return;
  selected_ = value;
  ShowSelectedPage();
  PaintAll(true);
}

void uTab::RefreshPage() {
  CTabItem* item = selected_ >= 0 ? items_->Item(selected_) : nullptr;
  if (item && item->Form()) item->Form()->RefreshPage();
}

// ---------------------------------------------------------------------------
// IuTab

void uTab::Add(const std::wstring&, ITabForm& Form, const std::optional<std::wstring>&,
               const std::optional<TabIndex>&) {
  AttachPage(Form.hWnd());
  if (selected_ > items_->Count() || selected_ < 0) selected_ = 0;
  ComputeWidthAndLayOut();
  PaintTabs(true);
}

bool uTab::BeforeRemove(std::int32_t Index) {
  bool cancel = false;
  OnItemColose(Index, cancel);
  return !cancel;
}

void uTab::Remove(std::int32_t Index) {
  ComputeWidthAndLayOut();
  if (Index == selected_) {
    selected_ = 0;
  } else if (selected_ > Index) {
    --selected_;
  }
  ShowSelectedPage();
  PaintTabs(true);
}

void uTab::Clear() {
  ComputeWidthAndLayOut();
  selected_ = 0;
  PaintTabs(true);
}

void uTab::Redraw(bool) { PaintAll(true); }

void uTab::ChangeForm(CTabItem&, ITabForm* Form) {
  // Each step runs even when the one before it failed.
  forms::RunStep(L"uTab.ChangeForm: attaching the page", [&] {
    if (Form) AttachPage(Form->hWnd());
  });
  forms::RunStep(L"uTab.ChangeForm: showing the selected page", [&] { ShowSelectedPage(); });
}

HWND uTab::hParent() { return window() ? ::GetParent(window()) : nullptr; }

// ---------------------------------------------------------------------------
// Geometry and pages

std::int32_t uTab::ScaleWidth() const {
  RECT rc{};
  if (window()) ::GetClientRect(window(), &rc);
  return rc.right - rc.left;
}

std::vector<TabBox> uTab::Boxes() const {
  std::vector<TabBox> boxes;
  boxes.reserve(static_cast<std::size_t>(items_->Count()));
  for (std::int32_t i = 0; i < items_->Count(); ++i) {
    const CTabItem* item = items_->Item(i);
    boxes.push_back({item->LockSize(), item->HideButton(), item->Left(), item->Width()});
  }
  return boxes;
}

HitTestResult uTab::HitTest(float x, float y) const {
  const std::vector<TabBox> boxes = Boxes();
  return HitTestTabs(Measures(), boxes, forms::CLng(x), forms::CLng(y));
}

void uTab::ComputeWidthAndLayOut() {
  if (!redraw_) return;
  std::vector<TabBox> boxes = Boxes();
  const std::int32_t width = SharedTabWidth(Measures(), boxes);
  // Frames stretched to the old width are drawn no more.
  if (width != tabWidth_) pieces_.Clear();
  tabWidth_ = width;
  LayOutTabs(tabStyle_, tabWidth_, boxes);
  for (std::int32_t i = 0; i < items_->Count(); ++i) {
    TabStripAccess::SetBounds(*items_->Item(i), boxes[static_cast<std::size_t>(i)].left,
                              boxes[static_cast<std::size_t>(i)].width);
  }
}

void uTab::AttachPage(HWND page) {
  if (!page) return;
  RECT rc{};
  if (container_) ::GetClientRect(container_, &rc);
  ::SetParent(page, container_);
  mdlTabAPI::ModifyWindowStyle(page, GWL_STYLE, WS_CAPTION | WS_THICKFRAME, WS_CHILD, SWP_FRAMECHANGED);
  ::SetWindowPos(page, nullptr, 0, 0, rc.right, rc.bottom, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
}

void uTab::ShowSelectedPage() {
  if (selected_ < 0 || selected_ > items_->Count() - 1 || !container_) return;
  const CTabItem* item = items_->Item(selected_);
  if (!item || !item->Form()) return;
  RECT rc{};
  ::GetClientRect(container_, &rc);
  ::SetWindowPos(item->Form()->hWnd(), HWND_TOP, 0, 0, rc.right, rc.bottom, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  for (std::int32_t i = 0; i < items_->Count(); ++i) {
    if (CTabItem* page = items_->Item(i); page && page->Form()) page->Form()->PageShown(i == selected_);
  }
}

void uTab::Resized() {
  if (!window() || resizing_) return;
  resizing_ = true;
  // Each step runs even when the one before it failed.
  RECT rc{};
  ::GetClientRect(window(), &rc);
  if (rc.bottom != StripHeight()) {
    RECT outer{};
    ::GetWindowRect(window(), &outer);
    ::SetWindowPos(window(), nullptr, 0, 0, outer.right - outer.left, StripHeight(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  forms::RunStep(L"uTab resize: drawing buffers", [&] { RecreateBuffers(); });
  forms::RunStep(L"uTab resize: layout", [&] { ComputeWidthAndLayOut(); });
  forms::RunStep(L"uTab resize: painting", [&] { PaintAll(true); });
  resizing_ = false;
}

// ---------------------------------------------------------------------------
// Window messages and mouse

bool uTab::OnInput(forms::InputKind kind, forms::InputArgs& args) {
  switch (kind) {
    case forms::InputKind::MouseDown: MouseDown(args.button, args.shift, args.x, args.y); return true;
    case forms::InputKind::MouseUp: MouseUp(args.button, args.shift, args.x, args.y); return true;
    case forms::InputKind::MouseMove: MouseMove(args.button, args.shift, args.x, args.y); return true;
    case forms::InputKind::DoubleClick: DblClick(); return true;
    default: return false;
  }
}

LRESULT uTab::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
      // From a press to the release the strip has the mouse: the moves and
      // the release arrive wherever the pointer goes.
      holding_ = true;
      ::SetCapture(window());
      break;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      // Let go before the release is handled: a host may answer it with a
      // modal box, which needs the mouse.
      if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        holding_ = false;
        if (::GetCapture() == window()) ::ReleaseCapture();
      }
      break;
    case WM_CAPTURECHANGED:
      if (holding_ && reinterpret_cast<HWND>(lParam) != window()) {
        holding_ = false;
        PressLost();
      }
      return 0;
  }
  // The strip draws through its own buffers, not the control's surface.
  if (DispatchInput(msg, wParam, lParam)) return 0;
  switch (msg) {
    case WM_SIZE:
      Resized();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      // Reached only before the strip's own hook is in place.
      PaintFromCompose();
      return 0;
  }
  return DefaultProc(msg, wParam, lParam);
}

void uTab::c_Subclass_WindowProc(bool, bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT msg, WPARAM, LPARAM,
                                 LONG_PTR&) {
  if (hwnd == window()) {
    switch (msg) {
      case WM_ERASEBKGND:
        bHandled = true;
        lReturn = 0;
        break;
      case WM_PAINT:
        PaintFromCompose();
        bHandled = true;
        lReturn = 0;
        break;
      case WM_MOUSELEAVE:
        MouseLeft();
        break;
    }
  } else if (hwnd == container_ && msg == WM_SIZE) {
    ShowSelectedPage();
  }
}

void uTab::MouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
  lastButton_ = button;
  lastShift_ = shift;
  lastX_ = x;
  lastY_ = y;
  std::int32_t itemIndex = 0;
  if (button == 1) {
    const HitTestResult hit = HitTest(x, y);
    itemIndex = hit.index;
    if (hit.index >= 0 && hit.index < items_->Count()) {
      if (hit.index != selected_ && !hit.close) {
        selected_ = hit.index;
        ShowSelectedPage();
        PaintTabs(true);
      } else if (hit.close && hoverState_ != 2) {
        hoverState_ = 2;
        PaintTabs(true);
      }
      TabChanged();
    }
  }
  OnMouseDown(itemIndex, button, shift, x, y);
}

void uTab::MouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
  std::int32_t itemIndex = 0;
  if (button == 0) {
    c_Subclass_->TrackMouseTracking(window());
    const HitTestResult hit = HitTest(x, y);
    itemIndex = hit.index;
    const std::int32_t state = hit.close ? 1 : 0;
    if (hit.index != hoverIndex_ || state != hoverState_) {
      if (hit.index != hoverIndex_) OnMouseHover(itemIndex, button, shift, x, y);
      hoverIndex_ = hit.index;
      hoverState_ = state;
      PaintTabs(true);
    }
  }
  OnMouseMove(itemIndex, button, shift, x, y);
}

void uTab::MouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
  std::int32_t itemIndex = 0;
  if (button == 1) {
    const HitTestResult hit = HitTest(x, y);
    itemIndex = hit.index;
    hoverState_ = 0;
    if (hit.index >= 0 && hit.index < items_->Count() && hit.index == hoverIndex_ && hit.close &&
        !items_->Item(hit.index)->HideButton()) {
      items_->Remove(hit.index, true);
    }
    PaintAll(true);
  }
  OnMouseUp(itemIndex, button, shift, x, y);
  if (!holding_) CatchUpOnLeaving(POINT{forms::CLng(x), forms::CLng(y)});
}

void uTab::DblClick() {
  std::int16_t button = lastButton_, shift = lastShift_;
  float x = lastX_, y = lastY_;
  const std::int32_t itemIndex = HitTest(x, y).index;
  MouseDown(button, shift, x, y);
  OnDblClick(itemIndex, button, shift, x, y);
}

void uTab::PressLost() {
  if (hoverState_ == 2) {
    hoverState_ = 0;
    PaintTabs(true);
  }
  POINT at{};
  ::GetCursorPos(&at);
  if (window()) ::ScreenToClient(window(), &at);
  CatchUpOnLeaving(at);
}

void uTab::CatchUpOnLeaving(POINT at) {
  if (!window()) return;
  RECT client{};
  ::GetClientRect(window(), &client);
  if (::PtInRect(&client, at)) {
    c_Subclass_->TrackMouseTracking(window());
  } else {
    MouseLeft();
  }
}

void uTab::MouseLeft() {
  // A strip that holds the mouse keeps its hover and pressed glyph until the
  // release, wherever the pointer is; a leave is caught up on then.
  if (holding_) return;
  if (hoverIndex_ != kHitNoTab) {
    hoverIndex_ = kHitNoTab;
    PaintTabs(true);
  }
  OnMouseLeave();
}

// ---------------------------------------------------------------------------
// Drawing

void uTab::RecreateBuffers() {
  mdlTabAPI::DeleteMemDC(background_);
  mdlTabAPI::DeleteMemDC(tabArea_);
  mdlTabAPI::DeleteMemDC(compose_);
  const int width = ScaleWidth(), height = StripHeight();
  background_ = mdlTabAPI::CreateMemDC(width, height);
  tabArea_ = mdlTabAPI::CreateMemDC(width - leftSize_ - rightSize_, height);
  compose_ = mdlTabAPI::CreateMemDC(width, height);
}

void uTab::PaintFromCompose() {
  // The composed picture in one block copy, whether or not redraw is enabled.
  win::ScopedPaint paint(window());
  if (compose_) ::BitBlt(paint, 0, 0, ScaleWidth(), StripHeight(), compose_.dc(), 0, 0, SRCCOPY);
}

void uTab::PaintAll(bool toScreen) {
  PaintBackground();
  PaintTabs(toScreen);
}

void uTab::PaintBackground() {
  if (!redraw_ || !background_) return;
  bool skip = false;
  OnDrawBackground(background_.dc(), ScaleWidth(), StripHeight(), skip);
  if (skip) return;
  const int skin = tabStyle_ == 0 ? 0 : 1;
  ::StretchBlt(background_.dc(), 0, 0, ScaleWidth(), StripHeight(), skins_[skin].dc(), 0, 0, 1,
               kSkins[skin].backgroundHeight, SRCCOPY);
}

void uTab::PaintTabs(bool toScreen) {
  if (!redraw_ || !background_ || !tabArea_ || !compose_) return;
  const int width = ScaleWidth(), height = StripHeight();
  const int area = width - leftSize_ - rightSize_;
  HDC dc = tabArea_.dc();
  ::SetBkMode(dc, TRANSPARENT);
  win::ScopedSelectObject font(dc, normalFont_.get());
  ::SetTextColor(dc, kCaption);
  ::BitBlt(dc, 0, 0, area, height, background_.dc(), leftSize_, 0, SRCCOPY);
  // Right to left, so each slanted left edge lies under its left neighbour.
  for (std::int32_t i = items_->Count() - 1; i >= 0; --i) {
    if (i != selected_) DrawTab(*items_->Item(i), i, false);
  }
  ::SelectObject(dc, boldFont_.get());
  ::SetTextColor(dc, kSelectedCaption);
  // The selected tab last, over both neighbours.
  if (selected_ >= 0 && selected_ < items_->Count()) DrawTab(*items_->Item(selected_), selected_, true);

  ::BitBlt(compose_.dc(), 0, 0, width, height, background_.dc(), 0, 0, SRCCOPY);
  ::BitBlt(compose_.dc(), leftSize_, 0, area, height, dc, 0, 0, SRCCOPY);
  if (toScreen && window()) {
    win::ScopedGetDC screen(window());
    ::BitBlt(screen, 0, 0, width, height, compose_.dc(), 0, 0, SRCCOPY);
  }
}

void uTab::DrawTab(const CTabItem& item, std::int32_t index, bool selected) {
  // A tab with no width left is not drawn.
  if (item.Width() <= 0) return;
  HDC dc = tabArea_.dc();
  const int skin = tabStyle_ == 0 ? 0 : 1;
  const SkinLayout& s = kSkins[skin];
  const bool hovered = index == hoverIndex_;
  const int left = item.Left(), width = item.Width();
  const int frameX = selected ? s.frameSelected : hovered ? s.frameHover : s.frameNormal;
  int glyphX = selected ? s.glyphSelected : s.glyphNormal;
  if (hovered && hoverState_ == 1) glyphX = s.glyphHover;
  if (hovered && hoverState_ == 2) glyphX = s.glyphPressed;
  // Where the frame, caption box and glyph go, from the frame's left edge.
  TabLayout at;
  if (tabStyle_ == 0) {
    const int captionWidth = selected ? width - 26 : (item.HideButton() ? width - 14 : width - 38);
    at = {left - kSlantWidth, width + kSlantWidth, 25, kSlantWidth, 0, captionWidth, 25, width - 24 + kSlantWidth, 6};
  } else {
    at = {left, width, 26, 12, 0, item.HideButton() ? width - 8 : width - 28, 26, width - 20, 7};
  }
  const mdlTabAPI::KeyedPicture* frame =
      pieces_.Frame(skins_[skin].dc(), frameX, s.frameWidth, s.frameHeight, at.frameWidth, at.frameHeight);
  const TabPieces::TabLook look{frame, item.Caption(), selected, item.HideButton() ? -1 : glyphX};
  const mdlTabAPI::KeyedPicture* whole = frame ? pieces_.Tab(look) : nullptr;
  if (frame && !whole) whole = pieces_.KeepTab(look, DressTab(*frame, look, at));
  if (whole && whole->width > 0) {
    mdlTabAPI::DrawKeyed(dc, at.frameLeft, 0, *whole);
    return;
  }
  // Piece by piece, the caption drawn where the tab lies.
  if (frame) mdlTabAPI::DrawKeyed(dc, at.frameLeft, 0, *frame);
  DrawCaption(dc, item.Caption(), at.frameLeft + at.captionLeft, at.captionTop, at.captionWidth, at.captionHeight);
  if (!item.HideButton()) DrawGlyph(dc, at.frameLeft + at.glyphLeft, at.glyphTop, glyphX);
}

mdlTabAPI::KeyedPicture uTab::DressTab(const mdlTabAPI::KeyedPicture& frame, const TabPieces::TabLook& look,
                                       const TabLayout& at) {
  // The caption's ink must fall on the frame itself: where the frame leaves
  // the strip showing, the ink would blend with what lies below, which differs
  // from tab to tab. Such a tab is drawn piece by piece (an empty picture).
  win::MemoryBitmapDC canvas = mdlTabAPI::CreateMemDC(frame.width, frame.height);
  HDC dc = canvas.dc();
  win::ScopedSelectObject font(dc, look.selected ? boldFont_.get() : normalFont_.get());
  SIZE text{};
  ::GetTextExtentPoint32W(dc, look.caption.c_str(), static_cast<int>(look.caption.size()), &text);
  const int inkTop = at.captionTop + (at.captionHeight - text.cy) / 2 - 2;
  const int inkBottom = inkTop + text.cy + 4;
  if (at.captionWidth <= 0 ||
      !mdlTabAPI::ShowsEverywhere(frame, at.captionLeft, std::max(inkTop, 0), at.captionLeft + at.captionWidth,
                                  std::min(inkBottom, frame.height))) {
    return {};
  }
  // On the skin's magenta: the frame, the caption, the glyph, then the magenta left out again.
  ::SetBkColor(dc, kMagenta);
  const RECT all{0, 0, frame.width, frame.height};
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
  mdlTabAPI::DrawKeyed(dc, 0, 0, frame);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, look.selected ? kSelectedCaption : kCaption);
  DrawCaption(dc, look.caption, at.captionLeft, at.captionTop, at.captionWidth, at.captionHeight);
  if (look.glyphX >= 0) DrawGlyph(dc, at.glyphLeft, at.glyphTop, look.glyphX);
  return mdlTabAPI::KeyOut(dc, 0, 0, frame.width, frame.height, kMagenta);
}

void uTab::DrawGlyph(HDC dc, int x, int y, int glyphX) {
  const int skin = tabStyle_ == 0 ? 0 : 1;
  mdlTabAPI::DrawKeyed(dc, x, y, *pieces_.Glyph(skins_[skin].dc(), glyphX, kCloseGlyphSize));
}

void uTab::DrawCaption(HDC dc, const std::wstring& text, int x, int y, int w, int h) {
  // Measured and drawn as UTF-16: captions in any script fit the same way.
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (size.cx > w) {
    const int top = y + forms::CLng((h - size.cy) / 2.0);
    mdlTabAPI::DrawTextInBox(dc, text, x, top, w, h, DT_END_ELLIPSIS);
  } else {
    mdlTabAPI::DrawTextInBox(dc, text, x, y, w, h, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

}  // namespace tabstrip
