// The owner-drawn tab strip: one tab per page of its collection (TabItems),
// drawn by hand from the two tab skins into memory pictures and copied to the
// screen in one block, the pages held in a container window the host names.
//
// Geometry comes from TabGeometry.h; the drawing helpers from mdlTabAPI.h.
// The strip hooks its own window (every message, before the window's
// procedure: painting, erasing, the pointer leaving) and its container
// (WM_SIZE, after the container's procedure) through CSubclass.
//
// Nothing is laid out or painted until the host calls LockReDraw(false). A
// tab squeezed to a width of 0 or less (many tabs on a narrow strip) is not
// drawn at all: the strip shows the tabs that still have room and empty
// background where the others would be.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "forms/Control.h"
#include "forms/Event.h"
#include "hooks/CSubclass.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/IuTab.h"
#include "tabstrip/TabGeometry.h"
#include "tabstrip/TabPieces.h"
#include "win/Gdi.h"
#include "win/UniqueHandle.h"

namespace tabstrip {

class uTab final : public forms::Control, public IuTab {
 public:
  // Loads both skins, makes the collection, the hook object and both fonts.
  // Throws win::Win32Error when a skin cannot be put into a memory context.
  uTab();
  ~uTab() override;

  // Stored properties "TabStyle", "TabLeftSize" and "TabRightSize"; reading
  // them also hooks the strip's own window.
  void ReadProperties(const forms::PropertyBag& bag) override;
  void WriteProperties(forms::PropertyBag& bag) const override;

  // Repaints background and tabs onto the screen.
  void refresh();
  // Redraw enabled = !bLock; unlocking lays out and repaints everything.
  void LockReDraw(bool bLock);
  HWND hWnd() override { return window(); }
  HWND hContainerWnd() const noexcept { return container_; }
  // Stores the page container and hooks its WM_SIZE (after its own procedure).
  void SethContainerWnd(HWND container);
  CTabItems& TabItems() override { return *items_; }
  std::int32_t Selected() override { return selected_; }
  // Below 0 clears the selection; above Count() - 1 is ignored; anything else
  // selects that tab and shows its page.
  void SetSelected(std::int32_t value) override;
  std::int32_t TabLeftSize() const noexcept { return leftSize_; }
  void SetTabLeftSize(std::int32_t value) noexcept { leftSize_ = value; }
  std::int32_t TabRightSize() const noexcept { return rightSize_; }
  std::int32_t TabStyle() const noexcept { return tabStyle_; }
  void SetTabStyle(std::int32_t value) noexcept {
    tabStyle_ = value;
    pieces_.Clear();
  }
  // Refreshes the selected tab's page; with no tab selected there is none to refresh.
  void RefreshPage();

  // The strip's side of IuTab.
  void Add(const std::wstring& Caption, ITabForm& Form, const std::optional<std::wstring>& Key,
           const std::optional<TabIndex>& Index) override;
  bool BeforeRemove(std::int32_t Index) override;
  void Remove(std::int32_t Index) override;
  void Clear() override;
  void Redraw(bool bUpdate) override;
  void ChangeForm(CTabItem& Item, ITabForm* Form) override;
  HWND hParent() override;
  forms::Control* Control() override { return this; }

  // What the hover and close-glyph state is, for the host and the tests.
  std::int32_t HoverIndex() const noexcept { return hoverIndex_; }
  std::int32_t HoverState() const noexcept { return hoverState_; }

  // Events, in declaration order. Mouse events carry (ItemIndex, Button, Shift, X, Y).
  forms::Event<> TabChanged;
  forms::Event<std::int32_t, std::int16_t&, std::int16_t&, float&, float&> OnDblClick;
  forms::Event<std::int32_t, std::int16_t&, std::int16_t&, float&, float&> OnMouseDown;
  forms::Event<std::int32_t, std::int16_t&, std::int16_t&, float&, float&> OnMouseHover;
  forms::Event<std::int32_t, std::int16_t&, std::int16_t&, float&, float&> OnMouseMove;
  forms::Event<std::int32_t, std::int16_t&, std::int16_t&, float&, float&> OnMouseUp;
  forms::Event<> OnMouseLeave;
  forms::Event<std::int32_t /*ItemIndex*/, bool& /*Cancel*/> OnItemColose;
  forms::Event<HDC, std::int32_t /*cx*/, std::int32_t /*cy*/, bool& /*bSkipDefault*/> OnDrawBackground;

 protected:
  const wchar_t* ClassName() const override { return L"VelmoraTabStrip"; }
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool OnInput(forms::InputKind kind, forms::InputArgs& args) override;
  bool MeasuresInPixels() const override { return true; }

 private:
  void c_Subclass_WindowProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT msg, WPARAM wParam,
                             LPARAM lParam, LONG_PTR& lParamUser);

  // Mouse handling, from the window's mouse messages.
  void MouseDown(std::int16_t button, std::int16_t shift, float x, float y);
  void MouseMove(std::int16_t button, std::int16_t shift, float x, float y);
  void MouseUp(std::int16_t button, std::int16_t shift, float x, float y);
  void DblClick();
  void MouseLeft();
  // The mouse was taken from the strip before the release: the glyph is no longer pressed.
  void PressLost();
  // After the strip let go of the mouse with the pointer at `at` (client
  // pixels): a pointer that left it meanwhile is reported as leaving now, one
  // still over it is watched for leaving again.
  void CatchUpOnLeaving(POINT at);

  // Geometry and pages.
  std::int32_t ScaleWidth() const;
  std::int32_t StripHeight() const { return MeasuresOf(tabStyle_).height; }
  StripMeasures Measures() const { return {tabStyle_, ScaleWidth(), leftSize_, rightSize_}; }
  std::vector<TabBox> Boxes() const;
  HitTestResult HitTest(float x, float y) const;
  void ComputeWidthAndLayOut();
  void AttachPage(HWND page);
  void ShowSelectedPage();
  void Resized();

  // Drawing.
  void RecreateBuffers();
  void PaintAll(bool toScreen);
  void PaintFromCompose();
  void PaintBackground();
  void PaintTabs(bool toScreen);
  void DrawTab(const CTabItem& item, std::int32_t index, bool selected);
  // Where a tab's frame lies in the tab area, and its caption box and glyph
  // from the frame's left edge.
  struct TabLayout {
    int frameLeft, frameWidth, frameHeight;
    int captionLeft, captionTop, captionWidth, captionHeight;
    int glyphLeft, glyphTop;
  };
  // The whole tab of that look in one picture; empty when its caption would
  // not lie wholly on its frame.
  mdlTabAPI::KeyedPicture DressTab(const mdlTabAPI::KeyedPicture& frame, const TabPieces::TabLook& look,
                                   const TabLayout& at);
  void DrawGlyph(HDC dc, int x, int y, int glyphX);
  void DrawCaption(HDC dc, const std::wstring& text, int x, int y, int w, int h);

  win::MemoryBitmapDC skins_[2];  // [0] slanted (106), [1] rounded (107)
  win::UniqueHfont normalFont_;
  win::UniqueHfont boldFont_;
  win::MemoryBitmapDC background_;
  win::MemoryBitmapDC tabArea_;
  win::MemoryBitmapDC compose_;
  TabPieces pieces_;
  std::unique_ptr<CTabItems> items_;
  std::unique_ptr<hooks::CSubclass> c_Subclass_;

  HWND container_ = nullptr;
  std::int32_t selected_ = kNoTab;
  std::int32_t hoverIndex_ = kHitNoTab;
  std::int32_t hoverState_ = 0;  // 0 off the glyph, 1 over the hover tab's glyph, 2 glyph pressed
  std::int32_t tabWidth_ = 108;
  std::int32_t leftSize_ = 40;
  std::int32_t rightSize_ = 0;
  std::int32_t tabStyle_ = 0;
  bool holding_ = false;  // the mouse is the strip's from a press to the release
  bool redraw_ = false;
  bool resizing_ = false;
  // The last press, replayed by a double-click.
  std::int16_t lastButton_ = 0, lastShift_ = 0;
  float lastX_ = 0, lastY_ = 0;
};

}  // namespace tabstrip
