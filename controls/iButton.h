// The image button: a push or toggle button drawn from a horizontal strip of
// frames (normal, pointer over, pressed; a toggle button has the three again
// for its checked state). The strip is cut into frame bitmaps once per strip
// or style change; each state change clears the button's retained surface
// and draws the frame, the icon and the caption. It learns that the pointer
// came from its mouse moves and that it left from a 50 ms poll that runs only
// while the pointer is taken to be over it. Mouse and key events are raised
// before the button acts on them, and it acts on the arguments as the handler
// left them.
//
// Transparent style (cBackStyle 0): the button's window is cut to the pixels
// of its drawn frame that are not magenta, so the form shows through the rest.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controls/ButtonText.h"
#include "forms/Control.h"
#include "forms/Event.h"
#include "win/Gdi.h"
#include "win/UniqueHandle.h"

namespace controls {

class iButton final : public forms::Control {
 public:
  iButton();
  ~iButton() override;

  // Stored properties: "BackPicture" (the bitmap resource id of the strip),
  // "Icon" (the id of an .ico file resource), "Enabled", "cBackStyle",
  // "Caption", "Style", "AutoSize", "cForeColor", "cFont" (FormatFont's text),
  // "cDrawMode". The last three default to the surface's own settings.
  void ReadProperties(const forms::PropertyBag& bag) override;
  void WriteProperties(forms::PropertyBag& bag) const override;

  // The strip (the button owns it; null for none); cuts the frames again.
  void SetBackPicture(HBITMAP strip);
  // A small picture drawn left of the caption (owned); no repaint.
  void SetIcon(HICON icon);
  HICON Icon() const noexcept { return m_Icon.get(); }
  const std::wstring& Caption() const noexcept { return m_Caption; }
  void SetCaption(const std::wstring& caption);
  std::int32_t Style() const noexcept { return m_Style; }
  void SetStyle(std::int32_t style);
  bool AutoSize() const noexcept { return m_AutoSize; }
  void SetAutoSize(bool value);
  bool Enabled() const;
  void SetEnabled(bool value);
  std::int16_t cBackStyle() const noexcept { return m_BackStyle; }
  void SetcBackStyle(std::int16_t value);
  // An OLE colour: a plain RGB value, or a system colour (&H8000xxxx).
  COLORREF cForeColor() const noexcept { return m_ForeColor; }
  void SetcForeColor(COLORREF value);
  const FontChoice& cFont() const noexcept { return m_FontChoice; }
  void SetcFont(const FontChoice& font);
  // The mix mode of the caption's drawing (R2_COPYPEN, 13, by default).
  std::int16_t cDrawMode() const noexcept { return m_DrawMode; }
  void SetcDrawMode(std::int16_t value);
  bool Value() const noexcept { return m_Value; }
  void SetValue(bool value);
  bool Locked() const noexcept { return m_Locked; }
  void SetLocked(bool value);

  // Records and draws a state when it differs from the last drawn one, or always when forced.
  void cMouseAction(std::int32_t cAction, bool vComplePaint = false);
  // The state last drawn, and whether the hover poll runs (for the host and the tests).
  std::int32_t State() const noexcept { return m_State; }
  bool Hovering() const noexcept { return m_Hover; }

  forms::Event<> Click;
  forms::Event<std::int16_t&, std::int16_t&, float&, float&> MouseDown;
  forms::Event<std::int16_t& /*KeyCode*/, std::int16_t& /*Shift*/> KeyDown;
  forms::Event<std::int16_t&, std::int16_t&> KeyUP;
  forms::Event<std::int16_t& /*KeyAscii*/> KeyPress;
  forms::Event<std::int16_t&, std::int16_t&, float&, float&> MouseUp;
  forms::Event<std::int16_t&, std::int16_t&, float&, float&> MouseMove;
  forms::Event<> MouseOut;
  forms::Event<> MouseOver;
  forms::Event<> DBClick;

 protected:
  const wchar_t* ClassName() const override { return L"VelmoraImageButton"; }
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool OnInput(forms::InputKind kind, forms::InputArgs& args) override;
  void OnSize(int width, int height) override;
  bool OnTimer(UINT_PTR id) override;

 private:
  bool IsMouseOver() const;
  std::int32_t CurrentState() const;
  void BuildFrames();
  void DrawState(std::int32_t state);
  void DrawBackground(int width, int height);
  void DrawFocus();
  void CutToFrame();
  void FitToFrame();
  void PollPointer();

  win::UniqueHbitmap m_BackPicture;
  win::UniqueHicon m_Icon;
  std::wstring m_Caption;
  std::int32_t m_Style = 0;
  bool m_Value = false;
  bool m_Locked = false;
  bool m_AutoSize = true;
  std::vector<win::MemoryBitmapDC> m_Frames;
  bool m_FramesReady = false;
  int m_FrameWidth = 0, m_FrameHeight = 0;
  std::int32_t m_State = 0;
  bool m_Hover = false;
  bool m_Pressed = false;
  bool m_AfterDoubleClick = false;
  std::int16_t m_LastButton = 0;
  std::int16_t m_BackStyle = 1;
  COLORREF m_ForeColor = RGB(0, 0, 0);
  FontChoice m_FontChoice;
  win::UniqueHfont m_Font;
  std::int16_t m_DrawMode = R2_COPYPEN;
  std::int32_t m_PictureId = 0;  // the stored strip's resource id, 0 for one given in code
  std::int32_t m_IconId = 0;     // the stored icon's resource id, 0 for none or one given in code
};

}  // namespace controls
