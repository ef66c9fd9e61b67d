// The plain page engine: a child window that loads pages itself over WinINet
// (through PageFetcher) and shows their title and text.
//
// What it does with a page:
//  - BeforeNavigate2 before every navigation (the top document's and each
//    frame's); Cancel = true stops that navigation and nothing else happens
//    for it. DownloadBegin when its request goes out (about:blank has none).
//    A navigation that BeforeNavigate2 lets through replaces one under way.
//  - The body of any HTTP answer is the document, whatever the status (a 404
//    page shows what the server sent). A page that brings no answer at all
//    (refused connection, unknown host) raises NavigateError with the status
//    the system control gives (INET_E_CANNOT_CONNECT, ...) and then, as the
//    system control does, shows an error document of its own (kErrorTitle, as
//    title and text, and the address) in its place; when the handler cancels,
//    the document is empty instead (RootInnerHtml ""). about:blank is an empty
//    document. An address of another scheme that BeforeNavigate2 lets through
//    (app://, mailto:...) cannot be loaded: NavigateError with
//    INET_E_UNKNOWN_PROTOCOL, then the error document unless cancelled (the
//    current page stays). javascript: addresses are left alone. A frame that
//    fails raises NavigateError as a frame; its document is not drawn. Each
//    failure is written to the program's log too ("page view: cannot show
//    ..."), an unloadable address as soon as BeforeNavigate2 lets it through,
//    even when the handler has closed the view's window.
//  - <iframe src>/<frame src> are fetched one after another, depth first (at
//    most kMaxFrameDepth deep, kMaxFrames in all); DocumentComplete comes for
//    each frame as it completes and for the top document last. A frame's
//    text is not drawn and its own refresh or scripts are not followed.
//  - TitleChange when the document has a <title> (an empty one included). The
//    view's window text is the shown document's title.
//  - <meta http-equiv="refresh">: after N seconds (at once for 0) from the
//    top document's completion, a navigation to its address (BeforeNavigate2
//    first). A location assignment in an inline script or body onload is
//    followed the same way, at once, and takes precedence.
//  - New windows: window.open('...') in an inline script (raised when the
//    document arrives), and clicks on links with a target other than _self,
//    _top, _parent or the name of one of the page's frames (e.g. _blank), or
//    with an onclick that calls window.open, raise NewWindow(url, processed).
//    A link aimed at a frame by name is followed in the whole view. The
//    engine opens no window of its own, whatever Processed says: an
//    unprocessed request is dropped and the current page stays.
//  - A click on any other link navigates the view (fragment-only links do
//    nothing). An onclick that assigns location navigates to that address.
//  - Right button: ContextMenu(show); when Show stays true, a one-item menu
//    ("刷新", refresh) appears.
//  - Refresh reloads the top document without a BeforeNavigate2 (unless
//    SetAskBeforeRefresh); Stop gives up the navigation under way (the shown
//    document stays).
//  - Keys: KeyPressed for each key down; unhandled, nothing more happens.
//  - DocumentArrived when a document (the top one or a frame's) has arrived,
//    before anything it asks for. Each frame navigation gets a number of its
//    own when it starts; EventFrame() tells, inside any event, which frame it
//    is about (0: the top document).
//  - Keyboard: FocusNextLink moves the focus from link to link (drawn as a
//    dotted frame), ActivateFocusedLink follows the focused one as a click
//    would. FocusReceived when the view's window gets the focus.
//  - Drawing: white background, the title in bold, the text with links blue
//    and underlined; a vertical scroll bar when the text is taller than the
//    window, unless the root style says overflow: hidden. The root style is
//    the <html style> of each new document, changed by SetRootStyle.
//  - RootInnerHtml is the page's own text between <html ...> and </html>
//    (the whole text when it has no <html>), trimmed of white space; it is
//    not rewritten as the system control's parser would.
// Every event may destroy the view: the engine checks that it is still alive
// after raising each one and then touches nothing of itself.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "tests/support/PageDocument.h"
#include "tests/support/PageFetcher.h"
#include "tests/support/PageLayout.h"
#include "browser/WebView.h"
#include "forms/WindowBase.h"
#include "win/UniqueHandle.h"

namespace browser {

class PlainPageView final : public WebView, private forms::WindowBase, private FetchClient {
 public:
  static constexpr int kMaxFrameDepth = 3;
  static constexpr int kMaxFrames = 32;
  // The title and first line of the page shown for a navigation that failed.
  static constexpr wchar_t kErrorTitle[] = L"无法显示此页";

  static std::unique_ptr<PlainPageView> Create(HWND parent, int x, int y, int width, int height);
  ~PlainPageView() override;

  HWND hWnd() const override { return window(); }
  void Move(int x, int y, int width, int height) override;
  void Navigate(const std::wstring& url) override;
  void Refresh() override;
  // Begins the navigation at once: BeforeNavigate2 is raised inside the call.
  void NavigateNow(const std::wstring& url);
  void Stop();
  // True: Refresh (and the menu's 刷新) raise BeforeNavigate2 as any other
  // navigation does, as a browser's reload does (the system control's does not).
  void SetAskBeforeRefresh(bool ask) { askBeforeRefresh_ = ask; }
  void SetSilent(bool silent) override { silent_ = silent; }
  bool Silent() const override { return silent_; }
  std::wstring DocumentUrl() const override;
  // The HTTP status of the shown top document (0: not from an HTTP answer).
  DWORD DocumentHttpStatus() const { return shown_ ? shown_->httpStatus : 0; }
  // The shown top document's title ("" without one).
  std::wstring DocumentTitle() const { return shown_ ? shown_->document.title : std::wstring(); }
  std::wstring RootInnerHtml() const override;
  void SetRootStyle(std::wstring_view property, std::wstring_view value) override;
  std::wstring RootStyle(std::wstring_view property) const override;

  // Where the view shows link `index` of the current document (the first
  // piece of it), in client pixels; false when it is not shown.
  bool LinkRect(int index, RECT& rect) const;
  // True while a navigation is under way (a request out or frames to load).
  bool Loading() const { return load_.has_value(); }
  // The frame the event being raised is about: 0 for the top document.
  unsigned EventFrame() const { return eventFrame_; }
  // Moves the focus to the next (or previous) link shown, wrapping round to
  // none; false when the page shows no link.
  bool FocusNextLink(bool backwards);
  int FocusedLink() const { return focusedLink_; }
  // False when no link has the focus.
  bool ActivateFocusedLink();

  forms::Event<const std::wstring& /*url*/, bool /*topLevel*/> DocumentArrived;
  forms::Event<> FocusReceived;
  // A key went down while the view has the focus (WM_KEYDOWN, or
  // WM_SYSKEYDOWN when `system`); Handled = true: the view does nothing more with it.
  forms::Event<UINT /*virtualKey*/, LPARAM /*lParam*/, bool /*system*/, bool& /*handled*/> KeyPressed;

 private:
  struct Shown {
    std::wstring address;
    PageDocument document;
    std::wstring rootStyle;
    DWORD httpStatus = 0;
  };
  // A document whose frames are being loaded.
  struct Node {
    std::wstring address;
    std::vector<std::wstring> frames;
    std::size_t next = 0;
    int depth = 0;
    unsigned frame = 0;
  };
  struct Load {
    std::wstring address;
    unsigned fetch = 0;        // the request out, 0 when none
    std::wstring fetchAddress;  // what it asked for
    int fetchDepth = 0;         // 0: the top document; n: a frame n deep
    unsigned fetchFrame = 0;    // the frame being fetched
    std::vector<Node> nodes;    // [0] is the top document once it has arrived
    int framesStarted = 0;
  };
  // Something the page asked to do after completing.
  struct FollowUp {
    std::wstring address;
    unsigned seconds = 0;
  };

  PlainPageView() = default;
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone() override;
  void FetchDone(unsigned id, FetchResult& result) override;

  // Each returns false when an event handler destroyed the view or began
  // another navigation (from a nested message loop): the caller then stops.
  bool BeginNavigation(const std::wstring& address, bool ask);
  bool StartFetch(const std::wstring& address);
  bool TopArrived(const std::wstring& address, PageDocument document, DWORD httpStatus = 0);
  bool Advance();
  bool TopComplete(const std::wstring& address);
  bool OpenNewWindow(const std::wstring& address);
  bool ActivateLink(int index);
  void StopLoading();
  void RunFollowUp();

  PageDocument Decode(const FetchResult& result, const std::wstring& address) const;
  static PageDocument ErrorDocument(const std::wstring& address);
  static void LogFailure(const std::wstring& address, long status, bool topLevel);
  void Relayout();
  void Paint(HDC target);
  HFONT Font(const layout::Style& style);
  int LineHeight(const layout::Style& style);
  void Scroll(int to);
  bool ScrollAllowed() const;
  void ShowContextMenu(int x, int y);

  template <typename Fn>
  bool Raise(Fn&& fn, unsigned frame = 0) {
    std::shared_ptr<bool> alive = alive_;
    const unsigned generation = generation_;
    const unsigned outer = std::exchange(eventFrame_, frame);
    fn();
    if (!*alive) return false;
    eventFrame_ = outer;
    return generation_ == generation;
  }

  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool silent_ = false;
  bool askBeforeRefresh_ = false;
  std::deque<std::wstring> queued_;
  std::optional<Shown> shown_;
  std::optional<Load> load_;
  std::optional<FollowUp> followUp_;
  unsigned followUpGeneration_ = 0;
  unsigned generation_ = 0;  // one more each time a navigation replaces (or stops) the load

  layout::Page page_;
  int scrollY_ = 0;
  int pressedLink_ = -1;
  int focusedLink_ = -1;
  unsigned eventFrame_ = 0;
  unsigned lastFrame_ = 0;
  bool relayingOut_ = false;
  win::UniqueHfont fonts_[3][2][2];  // [size][bold][underline]
  int lineHeights_[3][2] = {};       // [size][bold], 0 until measured
};

}  // namespace browser
