#include "forms/Label.h"

#include "win/Gdi.h"

namespace forms {

void Label::Paint(HDC dc) const {
  win::ScopedSelectObject selected(dc, font ? static_cast<HGDIOBJ>(font.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
  const int mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = ::SetTextColor(dc, foreColor);
  RECT rc = box;
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rc, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  ::SetTextColor(dc, colour);
  ::SetBkMode(dc, mode);
}

}  // namespace forms
