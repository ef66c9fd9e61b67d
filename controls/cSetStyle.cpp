#include "controls/cSetStyle.h"

#include <windowsx.h>

#include "forms/Screen.h"
#include "forms/Twips.h"

namespace controls {

namespace {
constexpr LONG_PTR kFrameStyle = WS_SYSMENU | WS_MINIMIZEBOX;

const wchar_t* SystemCursorOf(ZoneCursor cursor) {
  switch (cursor) {
    case ZoneCursor::NorthSouth: return IDC_SIZENS;
    case ZoneCursor::NortheastSouthwest: return IDC_SIZENESW;
    case ZoneCursor::WestEast: return IDC_SIZEWE;
    case ZoneCursor::NorthwestSoutheast: return IDC_SIZENWSE;
    case ZoneCursor::Arrow: break;
  }
  return IDC_ARROW;
}
}  // namespace

cSetStyle::cSetStyle() : objSubclass(std::make_unique<hooks::cFormSubclass>()) {
  objSubclass->MsgCome.Bind(this, &cSetStyle::objSubclass_MsgCome);
}

cSetStyle::~cSetStyle() {
  if (m_hWnd) objSubclass->DeleteWindowMsg(m_hWnd);
  objSubclass.reset();
}

void cSetStyle::SetWindowStyle(HWND hWnd) {
  m_hWnd = hWnd;
  ::SetWindowLongPtrW(hWnd, GWL_STYLE, kFrameStyle);
  objSubclass->AddWindowMsgs(hWnd);
}

bool cSetStyle::CallWindowStateChange() {
  if (!objForm) return m_Maximised;
  if (m_Maximised) {
    // Back where it was, on the monitor it was filled on; kept on that
    // monitor's work area should the area have shrunk meanwhile.
    objForm->Move(m_Restore.left, m_Restore.top, m_Restore.width, m_Restore.height);
    const forms::PixelRect now = WindowPixels();
    const forms::PixelRect kept = forms::KeptOn(forms::WorkAreaOf(m_hWnd), now);
    if (kept != now) {
      ::SetWindowPos(m_hWnd, nullptr, kept.left, kept.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_Maximised = false;
  } else {
    const forms::Form::Place place = objForm->WindowPlace();
    m_Restore = SavedPlace(place.left, place.top, place.width, place.height);
    FillScreen();
    m_Maximised = true;
  }
  return m_Maximised;
}

void cSetStyle::FillScreen() {
  // The monitor the window is on, less its taskbar on whatever edge.
  const TwipsPlace fill = FillPlace(forms::WorkAreaOf(m_hWnd));
  objForm->Move(fill.left, fill.top, fill.width, fill.height);
}

forms::PixelRect cSetStyle::WindowPixels() const {
  const ScreenRect r = WindowRect();
  return {r.left, r.top, r.right, r.bottom};
}

ScreenRect cSetStyle::WindowRect() const {
  RECT rc{};
  ::GetWindowRect(m_hWnd, &rc);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

void cSetStyle::StoreCursor(LPARAM lParam) {
  m_Cursor = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ClientToScreen(m_hWnd, &m_Cursor);
}

void cSetStyle::SetSizeCursor(std::int32_t zone) {
  if (!objForm) return;
  const wchar_t* cursor = SystemCursorOf(CursorOfZone(zone));
  objForm->SetMousePointer(cursor);
  // Shown at once, not only at the next pointer message.
  ::SetCursor(::LoadCursorW(nullptr, cursor));
}

void cSetStyle::DrawOutline(const ScreenRect& r) {
  if (!m_ScreenDC) return;
  RECT rect{r.left, r.top, r.right, r.bottom};
  ::DrawFocusRect(m_ScreenDC->get(), &rect);
}

void cSetStyle::EndSizing() {
  m_Sizing = false;
  DrawOutline(m_OldRect);
  ::MoveWindow(m_hWnd, m_OldRect.left, m_OldRect.top, m_OldRect.right - m_OldRect.left,
               m_OldRect.bottom - m_OldRect.top, TRUE);
  m_ScreenDC.reset();
}

void cSetStyle::CancelSizing() {
  // The outline is drawn by inversion: drawn again it is gone.
  m_Sizing = false;
  DrawOutline(m_OldRect);
  m_ScreenDC.reset();
}

void cSetStyle::objSubclass_MsgCome(bool bBefore, bool&, LRESULT&, HWND& hwnd, UINT& msg, WPARAM& wParam,
                                    LPARAM& lParam) {
  if (!bBefore || hwnd != m_hWnd) return;
  switch (msg) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) CloseClick();
      break;
    case WM_SETTINGCHANGE:
      SettingChange();
      // A filled window follows a moved or resized taskbar.
      if (objForm && !objForm->Minimized() && m_Maximised) FillScreen();
      break;
    case WM_DISPLAYCHANGE:
      // ...and a monitor that changed its size.
      if (objForm && !objForm->Minimized() && m_Maximised) FillScreen();
      break;
    case WM_MOUSEMOVE:
      StoreCursor(lParam);
      if (!m_Sizing && !m_Maximised) {
        m_Zone = HitTestBorder(WindowRect(), m_Cursor.x, m_Cursor.y);
        MouseSize(m_Zone);
        SetSizeCursor(m_Zone);
      } else if (m_Sizing && (wParam & MK_LBUTTON)) {
        m_NewRect = DragOutline(m_NewRect, m_Zone, m_Cursor.x, m_Cursor.y);
        DrawOutline(m_OldRect);
        DrawOutline(m_NewRect);
        m_OldRect = m_NewRect;
      }
      break;
    case WM_LBUTTONDOWN:
      StoreCursor(lParam);
      m_Zone = HitTestBorder(WindowRect(), m_Cursor.x, m_Cursor.y);
      if (m_Zone != kNoZone && !m_Sizing && !m_Maximised) {
        m_Sizing = true;
        m_OldRect = m_NewRect = WindowRect();
        m_ScreenDC.emplace(nullptr);
        DrawOutline(m_OldRect);
      }
      break;
    case WM_LBUTTONUP:
      if (m_Sizing) EndSizing();
      break;
    // The mouse went elsewhere (a box opened, Alt+Tab) or the player gave
    // up: the drag ends where it began, and no later release resizes.
    case WM_CAPTURECHANGED:
      if (m_Sizing && reinterpret_cast<HWND>(lParam) != m_hWnd) CancelSizing();
      break;
    case WM_CANCELMODE:
      if (m_Sizing) CancelSizing();
      break;
    case WM_KEYDOWN:
      if (m_Sizing && wParam == VK_ESCAPE) {
        CancelSizing();
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
      }
      break;
  }
}

}  // namespace controls
