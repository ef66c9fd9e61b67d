#include "tests/support/PlainPageView.h"

#include <urlmon.h>
#include <windowsx.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>

#include "tests/support/HtmlScan.h"
#include "tests/support/PageCharset.h"
#include "tests/support/PageUrl.h"
#include "forms/Program.h"
#include "win/Gdi.h"
#include "win/Text.h"

namespace browser {

namespace {

constexpr UINT kNavigateQueued = WM_APP + 1;
constexpr UINT kRefreshRequested = WM_APP + 2;
constexpr UINT kFollowUpNow = WM_APP + 3;  // wParam: the follow-up's generation
constexpr UINT_PTR kFollowUpTimer = 1;
constexpr UINT kRefreshCommand = 1;

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kLinkColour = RGB(0, 0, 238);
constexpr int kFontHeights[3] = {14, 18, 20};  // body, heading, title, in pixels
constexpr wchar_t kFontFace[] = L"Microsoft YaHei";

int SizeIndex(layout::Size size) {
  switch (size) {
    case layout::Size::Heading: return 1;
    case layout::Size::Title: return 2;
    default: return 0;
  }
}

// What the system control reports for a page that brought no answer.
long NoAnswerStatus(DWORD wininetError) {
  switch (wininetError) {
    case ERROR_INTERNET_NAME_NOT_RESOLVED: return INET_E_RESOURCE_NOT_FOUND;
    case ERROR_INTERNET_CANNOT_CONNECT: return INET_E_CANNOT_CONNECT;
    case ERROR_INTERNET_TIMEOUT: return INET_E_CONNECTION_TIMEOUT;
    default: return INET_E_DOWNLOAD_FAILURE;
  }
}

bool TargetsThisView(const PageLink& link, const PageDocument& doc) {
  const std::wstring& t = link.target;
  if (t.empty() || t == L"_self" || t == L"_top" || t == L"_parent") return true;
  return std::find(doc.frameNames.begin(), doc.frameNames.end(), t) != doc.frameNames.end();
}

}  // namespace

std::unique_ptr<PlainPageView> PlainPageView::Create(HWND parent, int x, int y, int width, int height) {
  std::unique_ptr<PlainPageView> view(new PlainPageView());
  if (!view->CreateWindowFor(L"VelmoraPlainPage", 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                             height, parent)) {
    return nullptr;
  }
  return view;
}

PlainPageView::~PlainPageView() {
  *alive_ = false;
  // From here on no message reaches this object; the window itself goes with WindowBase.
  if (HWND hwnd = window()) ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  StopLoading();
}

void PlainPageView::Move(int x, int y, int width, int height) {
  if (window()) ::MoveWindow(window(), x, y, width, height, TRUE);
}

void PlainPageView::Navigate(const std::wstring& url) {
  if (!window()) return;
  queued_.push_back(url);
  ::PostMessageW(window(), kNavigateQueued, 0, 0);
}

void PlainPageView::Refresh() {
  if (window()) ::PostMessageW(window(), kRefreshRequested, 0, 0);
}

void PlainPageView::NavigateNow(const std::wstring& url) {
  if (window()) BeginNavigation(url, true);
}

void PlainPageView::Stop() {
  queued_.clear();
  StopLoading();
}

bool PlainPageView::FocusNextLink(bool backwards) {
  if (!shown_) return false;
  const int count = static_cast<int>(shown_->document.links.size());
  RECT unused{};
  bool any = false;
  for (int i = 0; i < count && !any; ++i) any = LinkRect(i, unused);
  if (!any) return false;
  // From the last link shown on to none, and from none to the first.
  int next = focusedLink_;
  do {
    next = backwards ? (next < 0 ? count - 1 : next - 1) : (next + 1 >= count ? -1 : next + 1);
  } while (next >= 0 && !LinkRect(next, unused));
  focusedLink_ = next;
  if (window()) ::InvalidateRect(window(), nullptr, FALSE);
  return true;
}

bool PlainPageView::ActivateFocusedLink() {
  if (focusedLink_ < 0) return false;
  ActivateLink(focusedLink_);
  return true;
}

std::wstring PlainPageView::DocumentUrl() const { return shown_ ? shown_->address : std::wstring(); }

std::wstring PlainPageView::RootInnerHtml() const {
  return shown_ ? shown_->document.rootInnerHtml : std::wstring();
}

void PlainPageView::SetRootStyle(std::wstring_view property, std::wstring_view value) {
  if (!shown_) return;
  shown_->rootStyle = WithStyleProperty(shown_->rootStyle, property, value);
  Relayout();
  if (window()) ::InvalidateRect(window(), nullptr, FALSE);
}

std::wstring PlainPageView::RootStyle(std::wstring_view property) const {
  return shown_ ? StyleProperty(shown_->rootStyle, property) : std::wstring();
}

bool PlainPageView::LinkRect(int index, RECT& rect) const {
  for (const layout::Fragment& f : page_.fragments) {
    if (f.link != index) continue;
    rect = RECT{f.x, f.y - scrollY_, f.x + f.width, f.y - scrollY_ + f.height};
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Navigation

bool PlainPageView::BeginNavigation(const std::wstring& address, bool ask) {
  // An address of a scheme no page can be loaded from (app://, mailto:...).
  const bool unloadable = !url::IsHttp(address) && !url::IsAbout(address) && !url::IsScript(address);
  if (ask) {
    bool cancel = false;
    const bool goOn = Raise([&] { BeforeNavigate2(address, cancel); });
    // Said even when the handler has closed the view's window: the host let
    // through an address that no page can come from.
    if (!cancel && unloadable) LogFailure(address, INET_E_UNKNOWN_PROTOCOL, true);
    if (!goOn) return false;
    if (cancel) return true;
  } else if (unloadable) {
    LogFailure(address, INET_E_UNKNOWN_PROTOCOL, true);
  }
  if (url::IsAbout(address)) {
    StopLoading();
    load_.emplace();
    load_->address = address;
    return TopArrived(address, ParseHtml(L"", address));
  }
  if (url::IsScript(address)) return true;  // scripts are not run: the current page stays
  if (unloadable) {
    bool cancel = false;
    if (!Raise([&] { NavigateError(address, INET_E_UNKNOWN_PROTOCOL, true, cancel); })) return false;
    if (cancel) return true;
    StopLoading();
    load_.emplace();
    load_->address = address;
    return TopArrived(address, ErrorDocument(address));
  }
  StopLoading();
  load_.emplace();
  load_->address = address;
  return StartFetch(address);
}

bool PlainPageView::StartFetch(const std::wstring& address) {
  load_->fetchAddress = address;
  load_->fetch = PageFetcher::Instance().Start(address, this);
  return Raise([&] { DownloadBegin(); }, load_->nodes.empty() ? 0 : load_->fetchFrame);
}

void PlainPageView::FetchDone(unsigned id, FetchResult& result) {
  if (!load_ || load_->fetch != id) return;
  load_->fetch = 0;
  std::wstring address = result.address.empty() ? load_->fetchAddress : result.address;
  PageDocument document;
  if (result.answered) {
    document = Decode(result, address);
  } else {
    const bool top = load_->nodes.empty();
    bool cancel = false;
    LogFailure(address, NoAnswerStatus(result.error), top);
    if (!Raise([&] { NavigateError(address, NoAnswerStatus(result.error), top, cancel); },
               top ? 0 : load_->fetchFrame)) {
      return;
    }
    // Cancelled, the host wants no error page: the document stays empty.
    document = cancel ? ParseHtml(L"", address) : ErrorDocument(address);
  }
  if (load_->nodes.empty()) {
    TopArrived(address, std::move(document), result.answered ? result.status : 0);
    return;
  }
  Node node;
  node.address = address;
  node.depth = load_->fetchDepth;
  node.frame = load_->fetchFrame;
  if (node.depth < kMaxFrameDepth) node.frames = std::move(document.frames);
  load_->nodes.push_back(std::move(node));
  if (!Raise([&] { DocumentArrived(address, false); }, load_->fetchFrame)) return;
  Advance();
}

bool PlainPageView::TopArrived(const std::wstring& address, PageDocument document, DWORD httpStatus) {
  shown_.emplace();
  shown_->address = address;
  shown_->httpStatus = httpStatus;
  shown_->rootStyle = document.rootStyle;
  shown_->document = std::move(document);
  // The view's window is captioned with its document's title, as a browser's
  // window is: what page it shows can be told from outside.
  if (window()) ::SetWindowTextW(window(), shown_->document.title.c_str());
  scrollY_ = 0;
  pressedLink_ = -1;
  focusedLink_ = -1;
  Relayout();
  if (window()) ::InvalidateRect(window(), nullptr, FALSE);

  Node top;
  top.address = address;
  top.frames = shown_->document.frames;
  load_->nodes.push_back(std::move(top));

  // Copies: a handler may replace the document.
  const PageDocument& doc = shown_->document;
  std::vector<std::wstring> popups;
  for (const script::Action& a : doc.scriptActions) {
    if (a.kind == script::ActionKind::OpenWindow) popups.push_back(a.address);
  }
  if (!Raise([&] { DocumentArrived(address, true); })) return false;
  if (doc.hasTitle) {
    std::wstring title = doc.title;
    if (!Raise([&] { TitleChange(title); })) return false;
  }
  for (const std::wstring& p : popups) {
    if (!OpenNewWindow(p)) return false;
  }
  return Advance();
}

bool PlainPageView::Advance() {
  while (load_ && !load_->nodes.empty()) {
    Node& node = load_->nodes.back();
    if (node.next < node.frames.size()) {
      std::wstring address = node.frames[node.next++];
      const int depth = node.depth + 1;
      if (load_->framesStarted >= kMaxFrames) continue;
      ++load_->framesStarted;
      const unsigned frame = ++lastFrame_;
      bool cancel = false;
      if (!Raise([&] { BeforeNavigate2(address, cancel); }, frame)) return false;
      if (cancel) continue;
      if (url::IsAbout(address)) {
        if (!Raise([&] { DocumentArrived(address, false); }, frame)) return false;
        if (!Raise([&] { DocumentComplete(address, false); }, frame)) return false;
        continue;
      }
      if (!url::IsHttp(address)) {
        if (url::IsScript(address)) continue;
        bool ignored = false;
        LogFailure(address, INET_E_UNKNOWN_PROTOCOL, false);
        if (!Raise([&] { NavigateError(address, INET_E_UNKNOWN_PROTOCOL, false, ignored); }, frame)) return false;
        continue;
      }
      load_->fetchDepth = depth;
      load_->fetchFrame = frame;
      return StartFetch(address);
    }
    std::wstring done = std::move(node.address);
    const unsigned frame = node.frame;
    load_->nodes.pop_back();
    if (!load_->nodes.empty()) {
      if (!Raise([&] { DocumentComplete(done, false); }, frame)) return false;
      continue;
    }
    return TopComplete(done);
  }
  return true;
}

bool PlainPageView::TopComplete(const std::wstring& address) {
  load_.reset();
  // What the page asks for next: a script's navigation, else its refresh.
  std::optional<FollowUp> next;
  if (shown_) {
    for (const script::Action& a : shown_->document.scriptActions) {
      if (a.kind == script::ActionKind::Navigate) {
        next = FollowUp{a.address, 0};
        break;
      }
    }
    if (!next && shown_->document.refresh) next = FollowUp{shown_->document.refresh->address, shown_->document.refresh->seconds};
  }
  if (!Raise([&] { DocumentComplete(address, true); })) return false;
  if (next && window()) {
    followUp_ = std::move(next);
    ++followUpGeneration_;
    if (followUp_->seconds == 0) {
      ::PostMessageW(window(), kFollowUpNow, followUpGeneration_, 0);
    } else {
      unsigned long long ms = static_cast<unsigned long long>(followUp_->seconds) * 1000ull;
      ::SetTimer(window(), kFollowUpTimer, static_cast<UINT>(std::min<unsigned long long>(ms, USER_TIMER_MAXIMUM)),
                 nullptr);
    }
  }
  return true;
}

bool PlainPageView::OpenNewWindow(const std::wstring& address) {
  bool processed = false;
  // Processed or not, the engine opens no window of its own.
  return Raise([&] { NewWindow(address, processed); });
}

bool PlainPageView::ActivateLink(int index) {
  if (!shown_ || index < 0 || index >= static_cast<int>(shown_->document.links.size())) return true;
  const PageLink link = shown_->document.links[static_cast<std::size_t>(index)];
  if (!link.script.empty()) {
    for (const script::Action& action : link.script) {
      if (action.kind == script::ActionKind::Navigate) return BeginNavigation(action.address, true);
      if (!OpenNewWindow(action.address)) return false;
    }
    return true;
  }
  if (link.href.empty()) return true;
  // A place in this same page.
  if (link.href.find(L'#') != std::wstring::npos &&
      url::WithoutFragment(link.href) == url::WithoutFragment(shown_->address)) {
    return true;
  }
  if (!TargetsThisView(link, shown_->document)) return OpenNewWindow(link.href);
  return BeginNavigation(link.href, true);
}

void PlainPageView::StopLoading() {
  if (load_ && load_->fetch) PageFetcher::Instance().Cancel(load_->fetch);
  load_.reset();
  followUp_.reset();
  ++followUpGeneration_;
  ++generation_;
  if (window()) ::KillTimer(window(), kFollowUpTimer);
}

void PlainPageView::RunFollowUp() {
  if (!followUp_) return;
  FollowUp f = std::move(*followUp_);
  followUp_.reset();
  if (window()) ::KillTimer(window(), kFollowUpTimer);
  BeginNavigation(f.address, true);
}

void PlainPageView::LogFailure(const std::wstring& address, long status, bool topLevel) {
  // In the program's log as well as in NavigateError: a page that fails in a
  // window that is going away is seen nowhere else.
  wchar_t code[12];
  std::swprintf(code, 12, L"%08lX", static_cast<unsigned long>(status));
  forms::Program::Log(L"page view: cannot show " + address + L" (" + code + (topLevel ? L")" : L", a frame)"));
}

PageDocument PlainPageView::ErrorDocument(const std::wstring& address) {
  std::wstring text;
  for (wchar_t c : address) {
    switch (c) {
      case L'<': text += L"&lt;"; break;
      case L'>': text += L"&gt;"; break;
      case L'&': text += L"&amp;"; break;
      default: text += c;
    }
  }
  return ParseHtml(std::wstring(L"<html><head><title>") + kErrorTitle + L"</title></head><body><p>" + kErrorTitle +
                       L"</p><p>" + text + L"</p></body></html>",
                   address);
}

PageDocument PlainPageView::Decode(const FetchResult& result, const std::wstring& address) const {
  if (!result.answered) return ParseHtml(L"", address);
  const std::string contentType = win::ToUtf8(result.contentType);
  const charset::Choice choice = charset::Choose(contentType, result.body);
  std::string_view bytes = std::string_view(result.body).substr(choice.skip);
  std::wstring text;
  if (!charset::DecodeBuiltIn(bytes, choice.codePage, text)) {
    bool done = false;
    if (::IsValidCodePage(choice.codePage) && !bytes.empty() && bytes.size() < 0x7FFFFFFF) {
      int n = ::MultiByteToWideChar(choice.codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
      if (n > 0) {
        text.resize(static_cast<std::size_t>(n));
        done = ::MultiByteToWideChar(choice.codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                     n) == n;
      }
    }
    if (!done) {
      text = charset::IsValidUtf8(bytes) ? charset::DecodeUtf8(bytes) : charset::DecodeWindows1252(bytes);
    }
  }
  std::wstring type = html::ToLowerAscii(result.contentType);
  if (type.rfind(L"text/plain", 0) == 0) return ParsePlainText(text);
  return ParseHtml(text, address);
}

// ---------------------------------------------------------------------------
// Drawing and input

HFONT PlainPageView::Font(const layout::Style& style) {
  const int size = SizeIndex(style.size);
  win::UniqueHfont& slot = fonts_[size][style.bold ? 1 : 0][style.link ? 1 : 0];
  if (!slot) {
    slot.reset(::CreateFontW(-kFontHeights[size], 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE,
                             style.link ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFontFace));
  }
  return slot.get();
}

int PlainPageView::LineHeight(const layout::Style& style) {
  const int size = SizeIndex(style.size);
  int& cached = lineHeights_[size][style.bold ? 1 : 0];
  if (cached == 0) {
    win::ScopedGetDC dc(window());
    win::ScopedSelectObject select(dc, Font(style));
    TEXTMETRICW tm{};
    cached = ::GetTextMetricsW(dc, &tm) ? tm.tmHeight + tm.tmExternalLeading : kFontHeights[size] + 4;
  }
  return cached;
}

bool PlainPageView::ScrollAllowed() const {
  if (!shown_) return false;
  for (const wchar_t* property : {L"overflow", L"overflow-y"}) {
    if (html::EqualsNoCase(StyleProperty(shown_->rootStyle, property), L"hidden")) return false;
  }
  return true;
}

void PlainPageView::Relayout() {
  HWND hwnd = window();
  if (!hwnd || relayingOut_) return;
  relayingOut_ = true;
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  const bool barShown = (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VSCROLL) != 0;
  const int barWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  const int fullWidth = rc.right + (barShown ? barWidth : 0);
  const int height = rc.bottom;

  page_ = layout::Page{};
  bool needBar = false;
  if (shown_) {
    win::ScopedGetDC dc(hwnd);
    layout::Metrics metrics;
    metrics.width = [&](std::wstring_view text, const layout::Style& style) {
      win::ScopedSelectObject select(dc, Font(style));
      SIZE size{};
      ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
      return static_cast<int>(size.cx);
    };
    metrics.lineHeight = [&](const layout::Style& style) { return LineHeight(style); };
    page_ = layout::Arrange(shown_->document, fullWidth, metrics);
    if (ScrollAllowed() && page_.height > height) {
      needBar = true;
      page_ = layout::Arrange(shown_->document, std::max(fullWidth - barWidth, 1), metrics);
    }
  }
  if (needBar != barShown) ::ShowScrollBar(hwnd, SB_VERT, needBar);
  if (needBar) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = page_.height - 1;
    si.nPage = static_cast<UINT>(std::max(height, 0));
    scrollY_ = std::clamp(scrollY_, 0, std::max(page_.height - height, 0));
    si.nPos = scrollY_;
    ::SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
  } else {
    scrollY_ = 0;
  }
  relayingOut_ = false;
}

void PlainPageView::Scroll(int to) {
  if (!ScrollAllowed() || !window()) return;
  RECT rc{};
  ::GetClientRect(window(), &rc);
  to = std::clamp(to, 0, std::max(page_.height - static_cast<int>(rc.bottom), 0));
  if (to == scrollY_) return;
  scrollY_ = to;
  ::SetScrollPos(window(), SB_VERT, scrollY_, TRUE);
  ::InvalidateRect(window(), nullptr, FALSE);
}

void PlainPageView::Paint(HDC target) {
  RECT rc{};
  ::GetClientRect(window(), &rc);
  if (rc.right <= 0 || rc.bottom <= 0) return;
  win::MemoryBitmapDC buffer(target, rc.right, rc.bottom);
  HDC dc = buffer ? buffer.dc() : target;
  win::UniqueHbrush white(::CreateSolidBrush(kBackground));
  ::FillRect(dc, &rc, white.get());
  ::SetBkMode(dc, TRANSPARENT);
  for (const layout::Fragment& f : page_.fragments) {
    const int top = f.y - scrollY_;
    if (top + f.height < 0 || top > rc.bottom) continue;
    win::ScopedSelectObject select(dc, Font(f.style));
    ::SetTextColor(dc, f.style.link ? kLinkColour : kTextColour);
    // Pieces of smaller type sit on the bottom of a taller line.
    const int y = top + f.height - LineHeight(f.style);
    ::TextOutW(dc, f.x, y, f.text.data(), static_cast<int>(f.text.size()));
  }
  if (focusedLink_ >= 0) {
    for (const layout::Fragment& f : page_.fragments) {
      if (f.link != focusedLink_) continue;
      RECT r{f.x - 1, f.y - scrollY_, f.x + f.width + 1, f.y - scrollY_ + f.height};
      ::DrawFocusRect(dc, &r);
    }
  }
  if (buffer) ::BitBlt(target, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
}

void PlainPageView::ShowContextMenu(int x, int y) {
  win::UniqueHmenu menu(::CreatePopupMenu());
  if (!menu) return;
  ::AppendMenuW(menu.get(), MF_STRING, kRefreshCommand, L"刷新");
  if (x == -1 && y == -1) {  // from the keyboard: at the view's corner
    POINT p{0, 0};
    ::ClientToScreen(window(), &p);
    x = p.x;
    y = p.y;
  }
  std::shared_ptr<bool> alive = alive_;
  UINT command = static_cast<UINT>(::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y,
                                                    0, window(), nullptr));
  if (!*alive) return;
  if (command == kRefreshCommand) Refresh();
}

void PlainPageView::OnWindowGone() {
  StopLoading();
  queued_.clear();
}

LRESULT PlainPageView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kNavigateQueued:
      if (!queued_.empty()) {
        std::wstring address = std::move(queued_.front());
        queued_.pop_front();
        BeginNavigation(address, true);
      }
      return 0;
    case kRefreshRequested: {
      std::wstring address = shown_ ? shown_->address : (load_ ? load_->address : std::wstring());
      if (!address.empty()) BeginNavigation(address, askBeforeRefresh_);
      return 0;
    }
    case kFollowUpNow:
      if (static_cast<unsigned>(wParam) == followUpGeneration_) RunFollowUp();
      return 0;
    case WM_TIMER:
      if (wParam == kFollowUpTimer) {
        RunFollowUp();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFOCUS:
      FocusReceived();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      bool handled = false;
      std::shared_ptr<bool> alive = alive_;
      KeyPressed(static_cast<UINT>(wParam), lParam, msg == WM_SYSKEYDOWN, handled);
      if (!*alive) return 0;
      if (handled) return 0;
      break;
    }
    case WM_PAINT: {
      win::ScopedPaint paint(window());
      Paint(paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SIZE:
      Relayout();
      ::InvalidateRect(window(), nullptr, FALSE);
      return 0;
    case WM_VSCROLL: {
      RECT rc{};
      ::GetClientRect(window(), &rc);
      const int line = LineHeight(layout::Style{});
      switch (LOWORD(wParam)) {
        case SB_LINEUP: Scroll(scrollY_ - line); break;
        case SB_LINEDOWN: Scroll(scrollY_ + line); break;
        case SB_PAGEUP: Scroll(scrollY_ - rc.bottom); break;
        case SB_PAGEDOWN: Scroll(scrollY_ + rc.bottom); break;
        case SB_TOP: Scroll(0); break;
        case SB_BOTTOM: Scroll(page_.height); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO si{};
    si.cbSize = sizeof(si);
          si.fMask = SIF_TRACKPOS;
          if (::GetScrollInfo(window(), SB_VERT, &si)) Scroll(si.nTrackPos);
          break;
        }
        default: break;
      }
      return 0;
    }
    case WM_MOUSEWHEEL: {
      const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
      Scroll(scrollY_ - notches * 3 * LineHeight(layout::Style{}));
      return 0;
    }
    case WM_LBUTTONDOWN:
      ::SetFocus(window());
      pressedLink_ = layout::LinkAt(page_, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) + scrollY_);
      return 0;
    case WM_LBUTTONUP: {
      const int link = layout::LinkAt(page_, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) + scrollY_);
      const int pressed = std::exchange(pressedLink_, -1);
      if (link >= 0 && link == pressed) ActivateLink(link);
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT p{};
        ::GetCursorPos(&p);
        ::ScreenToClient(window(), &p);
        const bool overLink = layout::LinkAt(page_, p.x, p.y + scrollY_) >= 0;
        ::SetCursor(::LoadCursorW(nullptr, overLink ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_CONTEXTMENU: {
      bool show = true;
      std::shared_ptr<bool> alive = alive_;
      ContextMenu(show);
      if (*alive && show) ShowContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    }
    default:
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace browser
