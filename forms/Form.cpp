#include "forms/Form.h"

#include <windowsx.h>

#include <vector>

#include "forms/MouseState.h"
#include "forms/Program.h"
#include "forms/Screen.h"
#include "forms/Twips.h"
#include "win/Gdi.h"
#include "win/KeyRouting.h"
#include "win/UniqueHandle.h"

namespace forms {

namespace {
constexpr wchar_t kFormClass[] = L"VelmoraForm";

// Disables every enabled, visible window of the thread except the modal one.
struct Disabling {
  HWND self;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableOthers(HWND hwnd, LPARAM param) {
  auto* d = reinterpret_cast<Disabling*>(param);
  if (hwnd != d->self && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd)) {
    ::EnableWindow(hwnd, FALSE);
    d->windows.push_back(hwnd);
  }
  return TRUE;
}
}  // namespace

Form::Form(FormDesign design) : design_(std::move(design)) {}

Form::~Form() {
  // Destroying a loaded form ends it without its unload step; the program no
  // longer counts it.
  if (loaded_) {
    if (window()) ::DestroyWindow(window());
    if (loaded_) Unloaded();
  }
}

void Form::RunInitialize() {
  if (initialized_) return;
  initialized_ = true;
  RunHandler(L"Form_Initialize", [this] { Form_Initialize(); });
}

HWND Form::hWnd() {
  if (!loaded_) Load();
  return window();
}

bool Form::Visible() const noexcept { return window() && ::IsWindowVisible(window()); }

void Form::Load() {
  if (loaded_ || loading_) return;
  loading_ = true;
  RECT rc{0, 0, design_.clientWidth, design_.clientHeight};
  ::AdjustWindowRectEx(&rc, design_.style, FALSE, design_.exStyle);
  DWORD exStyle = design_.exStyle | (design_.showInTaskbar ? WS_EX_APPWINDOW : 0);
  HWND owner = design_.showInTaskbar ? nullptr : Program::HiddenOwner();
  if (!CreateWindowFor(kFormClass, exStyle, design_.caption.c_str(), design_.style & ~WS_VISIBLE, design_.left,
                       design_.top, rc.right - rc.left, rc.bottom - rc.top, owner)) {
    loading_ = false;
    return;
  }
  if (design_.startUp == StartUpPosition::CenterScreen) Centre();
  if (design_.autoRedraw) surface_.Resize(window(), design_.backColor);
  loaded_ = true;
  resizedSinceLoad_ = false;
  Program::FormLoaded(this);
  RunHandler(L"Form_Load", [this] { Form_Load(); });
  // The first size came with the window, before Form_Load made the controls:
  // a form that Form_Load did not resize is laid out once they exist.
  if (loaded_ && !resizedSinceLoad_) RunHandler(L"Form_Resize", [this] { Form_Resize(); });
  loading_ = false;
}

void Form::Centre() {
  RECT rc{};
  ::GetWindowRect(window(), &rc);
  // The work area of the window's monitor, whatever edge the taskbar is on.
  const PixelRect place = CentredIn(WorkAreaOf(window()), rc.right - rc.left, rc.bottom - rc.top);
  ::SetWindowPos(window(), nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
  Load();
  if (!window()) return;
  ::ShowWindow(window(), SW_SHOW);
  Program::NoteFormShown();
}

void Form::ShowModal() {
  Load();
  if (!window()) return;
  Disabling disabling{window(), {}};
  ::EnumThreadWindows(::GetCurrentThreadId(), &DisableOthers, reinterpret_cast<LPARAM>(&disabling));
  Show();
  MSG msg;
  bool quit = false;
  while (loaded_ && Visible()) {
    BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
    if (r <= 0) {
      quit = true;
      break;
    }
    if (win::RouteKey(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  for (HWND hwnd : disabling.windows)
    if (::IsWindow(hwnd)) ::EnableWindow(hwnd, TRUE);
  if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
}

void Form::Hide() {
  if (window()) ::ShowWindow(window(), SW_HIDE);
}

bool Form::Unload(UnloadMode mode) { return UnloadSteps(mode, true); }

bool Form::UnloadSteps(UnloadMode mode, bool query) {
  if (!loaded_ || unloading_) return true;
  unloading_ = true;
  bool cancel = false;
  if (query) RunHandler(L"Form_QueryUnload", [&] { Form_QueryUnload(cancel, mode); });
  if (!cancel) RunHandler(L"Form_Unload", [&] { Form_Unload(cancel); });
  if (cancel) {
    unloading_ = false;
    return false;
  }
  if (window()) ::DestroyWindow(window());  // OnWindowGone finishes the unload
  if (loaded_) Unloaded();
  unloading_ = false;
  return true;
}

bool Form::QueryEndSession() {
  if (!loaded_) return true;
  // A close being asked already: the session waits for that answer.
  if (unloading_) return false;
  unloading_ = true;
  bool cancel = false;
  RunHandler(L"Form_QueryUnload", [&] { Form_QueryUnload(cancel, UnloadMode::AppWindows); });
  unloading_ = false;
  return !cancel;
}

Label& Form::AddLabel(const RECT& box, const std::wstring& caption, HFONT font) {
  auto label = std::make_unique<Label>();
  label->box = box;
  label->caption = caption;
  label->font.reset(font);
  labels_.push_back(std::move(label));
  if (window()) ::InvalidateRect(window(), &box, FALSE);
  return *labels_.back();
}

void Form::Unloaded() {
  surface_.Release();
  labels_.clear();
  loaded_ = false;
  Program::FormUnloaded(this);
}

void Form::OnWindowGone() {
  // Destroyed from outside the form's own Unload: the form is unloaded all the same.
  if (loaded_) Unloaded();
}

void Form::SetCaption(const std::wstring& caption) {
  design_.caption = caption;
  if (window()) ::SetWindowTextW(window(), caption.c_str());
}

std::wstring Form::Caption() const { return design_.caption; }

double Form::ToScale(int pixels) const {
  return design_.scaleMode == ScaleMode::Twips ? PixelsToTwips(pixels) : pixels;
}

double Form::ScaleWidth() const {
  RECT rc{};
  if (window()) ::GetClientRect(window(), &rc);
  return ToScale(rc.right);
}

double Form::ScaleHeight() const {
  RECT rc{};
  if (window()) ::GetClientRect(window(), &rc);
  return ToScale(rc.bottom);
}

Form::Place Form::WindowPlace() const {
  RECT rc{};
  if (window()) ::GetWindowRect(window(), &rc);
  const auto twips = [](LONG pixels) { return static_cast<double>(PixelsToTwips(pixels)); };
  return {twips(rc.left), twips(rc.top), twips(rc.right - rc.left), twips(rc.bottom - rc.top)};
}

void Form::Move(double left, double top, double width, double height) {
  if (!window()) return;
  ::MoveWindow(window(), TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height), TRUE);
}

bool Form::Minimized() const { return window() && ::IsIconic(window()); }

void Form::MouseEvent(UINT msg, WPARAM wParam, LPARAM lParam) {
  double x = ToScale(GET_X_LPARAM(lParam)), y = ToScale(GET_Y_LPARAM(lParam));
  const int shift = ShiftState(), button = MessageButton(msg, wParam);
  const std::optional<InputKind> kind = InputKindOf(msg);
  if (kind == InputKind::MouseDown) Form_MouseDown(button, shift, x, y);
  if (kind == InputKind::MouseUp) Form_MouseUp(button, shift, x, y);
  if (kind == InputKind::MouseMove) Form_MouseMove(button, shift, x, y);
}

LRESULT Form::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      Unload(UnloadMode::ControlMenu);
      return 0;
    // Log-off and shutdown: the form is asked as for any close, and unloads
    // when the session really ends (it was asked already).
    case WM_QUERYENDSESSION:
      return QueryEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wParam) UnloadSteps(UnloadMode::AppWindows, false);
      return 0;
    case WM_ERASEBKGND: {
      if (design_.autoRedraw) return 1;
      RECT rc{};
      ::GetClientRect(window(), &rc);
      win::UniqueHbrush brush(::CreateSolidBrush(design_.backColor));
      ::FillRect(reinterpret_cast<HDC>(wParam), &rc, brush.get());
      return 1;
    }
    case WM_PAINT: {
      win::ScopedPaint paint(window());
      if (design_.autoRedraw) surface_.PaintTo(paint, paint.dirty());
      for (const auto& label : labels_) label->Paint(paint);
      Form_Paint();
      return 0;
    }
    case WM_SIZE:
      if (design_.autoRedraw) surface_.Resize(window(), design_.backColor);
      if (loaded_) {
        resizedSinceLoad_ = true;
        Form_Resize();
      }
      return 0;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      // From a press on its surface until the release the form has the
      // mouse, so the moves and the release arrive wherever the pointer goes.
      ::SetCapture(window());
      MouseEvent(msg, wParam, lParam);
      return 0;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      if (::GetCapture() == window() && !(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) ::ReleaseCapture();
      MouseEvent(msg, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      MouseEvent(msg, wParam, lParam);
      return 0;
    case WM_SETCURSOR:
      if (mousePointer_ && LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window()) {
        ::SetCursor(::LoadCursorW(nullptr, mousePointer_));
        return TRUE;
      }
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace forms
