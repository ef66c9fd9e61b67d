// The tab model with real page windows: form pages that record what happens to
// them, and a strip of the tests' own that records every call it receives and
// takes page windows into a real container the way the tab strip does.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <any>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/Program.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/TabPageForm.h"
#include "win/Text.h"

namespace {

using tabstrip::CTabItem;
using tabstrip::CTabItems;
using tabstrip::ITabForm;
using tabstrip::IuTab;
using tabstrip::kNoTab;
using tabstrip::TabErrc;
using tabstrip::TabError;
using tabstrip::TabIndex;

using Log = std::vector<std::string>;

constexpr int kContainerWidth = 301;
constexpr int kContainerHeight = 201;
constexpr wchar_t kPlainClass[] = L"VelmoraTabTestWindow";

HWND PlainWindow(const wchar_t* name, DWORD style, int x, int y, int w, int h, HWND parent) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kPlainClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    registered = ::RegisterClassExW(&wc) != 0;
  }
  return ::CreateWindowExW(0, kPlainClass, name, style, x, y, w, h, parent, nullptr, ::GetModuleHandleW(nullptr),
                           nullptr);
}

// Delivers what is waiting, including the quit message the program posts when
// its last form unloads, so that nothing reaches the next test.
void Pump() {
  MSG msg;
  for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool IsTopLevel(HWND hwnd) { return ::GetAncestor(hwnd, GA_PARENT) == ::GetDesktopWindow(); }

int ChildCount(HWND parent) {
  int n = 0;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) ++n;
  return n;
}

// A page that is a form with a caption and a sizing frame, as a free window has.
class RecordingPage : public tabstrip::TabPageForm {
 public:
  RecordingPage(Log& log, std::string name) : TabPageForm(Design(name)), log_(log), name_(std::move(name)) {}

  HWND hWnd() override {
    log_.push_back(name_ + ".hWnd");
    return TabPageForm::hWnd();
  }
  void Initialize(IuTab* Implement, CTabItem* Item) override {
    log_.push_back(name_ + ".Initialize(" + (Implement ? "strip" : "null") + ", " + (Item ? "item" : "null") + ")");
    TabPageForm::Initialize(Implement, Item);
  }
  void RefreshPage() override { log_.push_back(name_ + ".RefreshPage"); }

  using TabPageForm::TabItem;
  using TabPageForm::TabStrip;
  const std::string& name() const { return name_; }
  bool refuseToClose = false;
  bool renameOnUnload = false;  // the page writes its tab's caption while it unloads

 protected:
  void Form_Load() override { log_.push_back(name_ + ".Load"); }
  void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override {
    log_.push_back(name_ + ".QueryUnload(" + std::to_string(static_cast<int>(mode)) + ")");
    cancel = refuseToClose;
  }
  void Form_Unload(bool&) override {
    log_.push_back(name_ + ".Unload");
    if (renameOnUnload && TabItem()) TabItem()->SetCaption(L"closed");
  }

 private:
  static forms::FormDesign Design(const std::string& name) {
    forms::FormDesign design;
    design.caption = win::FromUtf8(name);
    design.left = 40;
    design.top = 60;
    design.clientWidth = 180;
    design.clientHeight = 120;
    design.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    design.showInTaskbar = false;
    design.scaleMode = forms::ScaleMode::Pixels;
    return design;
  }

  Log& log_;
  std::string name_;
};

// A page that is no form and fails at every step of being let go.
class FailingPage : public ITabForm {
 public:
  FailingPage() { window_ = PlainWindow(L"failing", WS_OVERLAPPEDWINDOW, 0, 0, 120, 80, nullptr); }
  ~FailingPage() override { ::DestroyWindow(window_); }
  HWND hWnd() override { return window_; }
  void Initialize(IuTab* Implement, CTabItem*) override {
    if (!Implement) throw std::runtime_error("cannot detach");
  }
  void RefreshPage() override {}
  bool UnloadPage() override { throw std::runtime_error("cannot unload"); }

 private:
  HWND window_ = nullptr;
};

std::string NameOf(const ITabForm* page) {
  auto* recording = dynamic_cast<const RecordingPage*>(page);
  return recording ? recording->name() : "null";
}

// The strip: a host form window holding the strip window and the page
// container, and the collection, owned as the strip owns it.
class RecordingStrip : public IuTab {
 public:
  explicit RecordingStrip(Log& log) : log_(log) {
    host_ = PlainWindow(L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100, 500, 400, nullptr);
    strip_ = PlainWindow(L"strip", WS_CHILD | WS_VISIBLE, 0, 0, 400, 25, host_);
    container_ = PlainWindow(L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 25, kContainerWidth,
                             kContainerHeight, host_);
    items_ = std::make_unique<CTabItems>();
    tabstrip::TabStripAccess::SetOwner(*items_, this);
  }
  ~RecordingStrip() override {
    items_.reset();
    ::DestroyWindow(host_);
  }

  void Add(const std::wstring& Caption, ITabForm& Form, const std::optional<std::wstring>& Key,
           const std::optional<TabIndex>& Index) override {
    std::string index = "none";
    if (Index && Index->kind() == TabIndex::Kind::Position) index = std::to_string(Index->position());
    log_.push_back("strip.Add(" + win::ToUtf8(Caption) + ", " + NameOf(&Form) + ", key=" +
                   (Key ? win::ToUtf8(*Key) : std::string("none")) + ", index=" + index + ", count=" + Count() + ")");
    Attach(Form.hWnd());
  }
  bool BeforeRemove(std::int32_t Index) override {
    log_.push_back("strip.BeforeRemove(" + std::to_string(Index) + ")");
    if (onBeforeRemove) onBeforeRemove();
    return allowRemove;
  }
  void Remove(std::int32_t Index) override {
    log_.push_back("strip.Remove(" + std::to_string(Index) + ", count=" + Count() + ")");
  }
  void Clear() override { log_.push_back("strip.Clear"); }
  void Redraw(bool bUpdate) override { log_.push_back(std::string("strip.Redraw(") + (bUpdate ? "1" : "0") + ")"); }
  void ChangeForm(CTabItem&, ITabForm* Form) override {
    log_.push_back("strip.ChangeForm(" + NameOf(Form) + ", count=" + Count() + ")");
    if (Form) Attach(Form->hWnd());
  }
  std::int32_t Selected() override { return selected_; }
  void SetSelected(std::int32_t value) override {
    log_.push_back("strip.SetSelected(" + std::to_string(value) + ")");
    selected_ = value;
  }
  CTabItems& TabItems() override { return *items_; }
  HWND hWnd() override {
    log_.push_back("strip.hWnd");
    return strip_;
  }
  HWND hParent() override {
    log_.push_back("strip.hParent");
    return host_;
  }
  forms::Control* Control() override { return nullptr; }

  CTabItems& items() { return *items_; }
  void DestroyItems() { items_.reset(); }
  HWND host() const { return host_; }
  HWND container() const { return container_; }

  bool allowRemove = true;
  std::function<void()> onBeforeRemove;

 private:
  std::string Count() const { return items_ ? std::to_string(items_->Count()) : "-"; }

  // As the tab strip does: a hidden, frameless child filling the container.
  void Attach(HWND page) {
    RECT rc{};
    ::GetClientRect(container_, &rc);
    ::SetParent(page, container_);
    LONG style = ::GetWindowLongW(page, GWL_STYLE);
    LONG wanted = (style & ~0x00C40000L) | WS_CHILD;
    if (wanted != style) {
      ::SetWindowLongW(page, GWL_STYLE, wanted);
      ::SetWindowPos(page, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::SetWindowPos(page, nullptr, 0, 0, rc.right, rc.bottom, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
  }

  Log& log_;
  HWND host_ = nullptr;
  HWND strip_ = nullptr;
  HWND container_ = nullptr;
  std::unique_ptr<CTabItems> items_;
  std::int32_t selected_ = kNoTab;
};

TabErrc ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const TabError& e) {
    return e.code();
  }
  ADD_FAILURE() << "no TabError";
  return TabErrc::InvalidArgument;
}

class TabModelTest : public testing::Test {
 protected:
  void SetUp() override { formsBefore_ = forms::Program::LoadedFormCount(); }
  void TearDown() override {
    strip_.reset();
    for (auto& page : pages_) page->Unload();
    pages_.clear();
    Pump();
    // Every page that was loaded has gone through its unload step.
    EXPECT_EQ(forms::Program::LoadedFormCount(), formsBefore_);
  }

  RecordingStrip& strip() { return *strip_; }
  CTabItems& items() { return strip_->items(); }

  // A loaded page that the test keeps; the log starts empty after it.
  std::shared_ptr<RecordingPage> Page(const std::string& name) {
    auto page = std::make_shared<RecordingPage>(log, name);
    page->Load();
    pages_.push_back(page);
    log.clear();
    return page;
  }

  // Pages p0, p1, p2 under "GameA", "GameB", "GameC", captions "A", "B", "C".
  void AddThree() {
    const char* names[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
      auto page = Page("p" + std::to_string(i));
      ASSERT_TRUE(items().Add(win::FromUtf8(names[i]), page, L"Game" + win::FromUtf8(names[i])));
    }
    log.clear();
  }

  RecordingPage& page(int i) { return *pages_.at(i); }

  Log log;
  std::unique_ptr<RecordingStrip> strip_ = std::make_unique<RecordingStrip>(log);
  std::vector<std::shared_ptr<RecordingPage>> pages_;

 private:
  int formsBefore_ = 0;
};

class CTabItemsTest : public TabModelTest {};
class CTabItemTest : public TabModelTest {};
class TabPageFormTest : public TabModelTest {};

// --- Adding -----------------------------------------------------------------

TEST_F(CTabItemsTest, AddHandsThePageItsItemThenTellsTheStripOnceTheItemIsIn) {
  auto p = Page("p0");
  ASSERT_TRUE(items().Add(L"Game A", p, L"GameA"));
  EXPECT_EQ(log, (Log{"p0.hWnd", "p0.Initialize(strip, item)", "strip.Redraw(1)", "p0.Initialize(strip, item)",
                      "strip.ChangeForm(p0, count=0)", "p0.hWnd", "strip.Add(Game A, p0, key=GameA, index=none, count=1)",
                      "p0.hWnd", "strip.hWnd"}));
  ASSERT_EQ(items().Count(), 1);
  CTabItem* item = items().Item(0);
  EXPECT_EQ(item->Caption(), L"Game A");
  EXPECT_EQ(item->Form(), p);
  EXPECT_EQ(p->TabItem(), item);
  EXPECT_EQ(p->TabStrip(), &strip());
  // The page window is a hidden child of the container; the new tab is not selected.
  EXPECT_EQ(::GetParent(p->window()), strip().container());
  EXPECT_FALSE(::IsWindowVisible(p->window()));
  EXPECT_EQ(strip().Selected(), kNoTab);
}

TEST_F(CTabItemsTest, AddAtCountAppendsAndAtZeroMovesEveryOtherTabUpByOne) {
  AddThree();
  auto d = Page("p3");
  ASSERT_TRUE(items().Add(L"D", d, L"GameD", 3));
  EXPECT_EQ(items().FindItem(L"GameD"), 3);
  auto z = Page("p4");
  ASSERT_TRUE(items().Add(L"Z", z, L"GameZ", 0));
  EXPECT_EQ(items().FindItem(L"GameZ"), 0);
  EXPECT_EQ(items().FindItem(z), 0);
  EXPECT_EQ(items().FindItem(L"GameA"), 1);
  EXPECT_EQ(items().FindItem(L"GameB"), 2);
  EXPECT_EQ(items().FindItem(L"GameC"), 3);
  EXPECT_EQ(items().FindItem(L"GameD"), 4);
  EXPECT_EQ(items().Item(1)->Form(), pages_[0]);
}

TEST_F(CTabItemsTest, AddThatIsRefusedLeavesThePageAndTheStripUntouched) {
  AddThree();
  auto p = Page("p3");
  const LONG style = ::GetWindowLongW(p->window(), GWL_STYLE);
  EXPECT_EQ(ErrorOf([&] { items().Add(L"X", p, L"gameb"); }), TabErrc::DuplicateKey);
  EXPECT_EQ(ErrorOf([&] { items().Add(L"X", p, L"GameX", 4); }), TabErrc::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { items().Add(L"X", p, L"GameX", -1); }), TabErrc::OutOfRange);
  EXPECT_EQ(ErrorOf([&] { items().Add(L"X", p, L"GameX", TabIndex(L"1")); }), TabErrc::InvalidArgument);
  EXPECT_EQ(ErrorOf([&] { items().Add(L"X", p, L"GameX", TabIndex(pages_[0])); }), TabErrc::InvalidArgument);
  EXPECT_EQ(ErrorOf([&] { items().Add(L"X", nullptr, L"GameX"); }), TabErrc::InvalidArgument);
  EXPECT_EQ(log, Log{});
  EXPECT_EQ(items().Count(), 3);
  EXPECT_EQ(p->TabStrip(), nullptr);
  EXPECT_EQ(p->TabItem(), nullptr);
  EXPECT_TRUE(p->IsLoaded());
  EXPECT_TRUE(IsTopLevel(p->window()));
  EXPECT_EQ(::GetWindowLongW(p->window(), GWL_STYLE), style);
  EXPECT_EQ(ChildCount(strip().container()), 3);
  // The refused page can still be added properly.
  ASSERT_TRUE(items().Add(L"X", p, L"GameX", 1));
  EXPECT_EQ(items().FindItem(p), 1);
}

// --- Finding ----------------------------------------------------------------

TEST_F(CTabItemsTest, AnEmptyCollectionFindsNothingWhateverTheIndex) {
  auto p = Page("p0");
  EXPECT_EQ(items().FindItem(0), kNoTab);
  EXPECT_EQ(items().FindItem(-1), kNoTab);
  EXPECT_EQ(items().FindItem(L"GameA"), kNoTab);
  EXPECT_EQ(items().FindItem(p), kNoTab);
  EXPECT_EQ(items().FindItem(static_cast<CTabItem*>(nullptr)), kNoTab);
  EXPECT_EQ(items().Count(), 0);
}

TEST_F(CTabItemsTest, PositionsTwoAndThreeOfThreeTabs) {
  AddThree();
  EXPECT_EQ(items().FindItem(2), 2);
  EXPECT_EQ(items().FindItem(3), kNoTab);
  EXPECT_EQ(items().FindItem(-1), kNoTab);
}

TEST_F(CTabItemsTest, AMissingKeyFindsNothingAndLeavesNoErrorBehind) {
  AddThree();
  std::int32_t found = 0;
  EXPECT_NO_THROW(found = items().FindItem(L"GameQ"));
  EXPECT_EQ(found, kNoTab);
  EXPECT_EQ(items().FindItem(L"GameB"), 1);
  auto q = Page("q");
  EXPECT_TRUE(items().Add(L"Q", q, L"GameQ"));
  EXPECT_EQ(items().FindItem(L"GameQ"), 3);
}

TEST_F(CTabItemsTest, KeysMatchWithoutRegardToLetterCase) {
  auto a = Page("a");
  auto b = Page("b");
  auto c = Page("c");
  ASSERT_TRUE(items().Add(L"a", a, L"Gamehttp://A/x"));
  ASSERT_TRUE(items().Add(L"b", b, L"GameHTTP://ÄÖ/x"));
  ASSERT_TRUE(items().Add(L"c", c, L"Game\U00010400/Σ"));  // Deseret capital, a surrogate pair here
  EXPECT_EQ(items().FindItem(L"gamehttp://a/X"), 0);
  EXPECT_EQ(items().FindItem(L"gamehttp://äö/X"), 1);
  EXPECT_EQ(items().FindItem(L"GAME\U00010428/ς"), 2);
  EXPECT_EQ(items().FindItem(L"gamehttp://ao/x"), kNoTab);
  EXPECT_EQ(items().Item(L"GAMEHTTP://A/X"), items().Item(0));
  auto again = Page("again");
  EXPECT_EQ(ErrorOf([&] { items().Add(L"again", again, L"gamehttp://äÖ/X"); }), TabErrc::DuplicateKey);
}

TEST_F(CTabItemsTest, ItemByPositionOrKey) {
  AddThree();
  EXPECT_EQ(items().Item(-1), nullptr);
  EXPECT_EQ(items().Item(items().Count()), nullptr);
  EXPECT_EQ(items().Item(L"gameb"), items().Item(1));
  EXPECT_EQ(items().Item(1)->Form(), pages_[1]);
  EXPECT_EQ(ErrorOf([&] { items().Item(L"GameQ"); }), TabErrc::KeyNotFound);
  EXPECT_EQ(ErrorOf([&] { items().Item(pages_[0]); }), TabErrc::InvalidArgument);
}

// --- Removing ---------------------------------------------------------------

TEST_F(CTabItemsTest, RemoveAsksTheStripRemovesThenUnloadsThePageAsItsCloseBoxWould) {
  AddThree();
  HWND window = page(1).window();
  ASSERT_TRUE(items().Remove(L"GameB", true));
  EXPECT_EQ(log, (Log{"strip.BeforeRemove(1)", "strip.Remove(1, count=2)", "p1.QueryUnload(0)", "p1.Unload",
                      "p1.Initialize(null, null)"}));
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_FALSE(page(1).IsLoaded());
  EXPECT_EQ(items().Count(), 2);
  EXPECT_EQ(items().FindItem(L"GameC"), 1);
  EXPECT_EQ(items().FindItem(L"GameB"), kNoTab);
}

TEST_F(CTabItemsTest, RemoveThatTheHostCancelsKeepsTheTabAndItsPage) {
  AddThree();
  strip().allowRemove = false;
  EXPECT_FALSE(items().Remove(0, true));
  EXPECT_EQ(log, Log{"strip.BeforeRemove(0)"});
  EXPECT_EQ(items().Count(), 3);
  EXPECT_EQ(items().Item(0)->Form(), pages_[0]);
  EXPECT_TRUE(page(0).IsLoaded());
  EXPECT_EQ(::GetParent(page(0).window()), strip().container());
  EXPECT_EQ(page(0).TabItem(), items().Item(0));
}

TEST_F(CTabItemsTest, RemoveOfATabThatIsNotThereAsksNobody) {
  AddThree();
  EXPECT_FALSE(items().Remove(L"GameQ", true));
  EXPECT_FALSE(items().Remove(3, true));
  EXPECT_FALSE(items().Remove(-1, true));
  EXPECT_EQ(log, Log{});
  EXPECT_EQ(items().Count(), 3);
}

TEST_F(CTabItemsTest, RemoveWithoutUnloadLetsAHeldPageGoAndLeavesItLoaded) {
  AddThree();
  ASSERT_TRUE(items().Remove(pages_[0], false));
  EXPECT_EQ(log, (Log{"strip.BeforeRemove(0)", "strip.Remove(0, count=2)", "p0.Initialize(null, null)"}));
  EXPECT_TRUE(page(0).IsLoaded());
  EXPECT_TRUE(::IsWindow(page(0).window()));
  EXPECT_EQ(page(0).TabItem(), nullptr);
  page(0).Unload();
}

TEST_F(CTabItemsTest, RemoveWithoutUnloadStillUnloadsAPageThatNobodyElseHolds) {
  auto lone = std::make_shared<RecordingPage>(log, "lone");
  ASSERT_TRUE(items().Add(L"lone", lone, L"GameL"));
  HWND window = lone->window();
  lone.reset();
  log.clear();
  ASSERT_TRUE(items().Remove(L"GameL", false));
  EXPECT_EQ(log, (Log{"strip.BeforeRemove(0)", "strip.Remove(0, count=0)", "lone.QueryUnload(0)", "lone.Unload",
                      "lone.Initialize(null, null)"}));
  EXPECT_FALSE(::IsWindow(window));
}

TEST_F(CTabItemsTest, APageThatRefusesToCloseLosesItsWindowWhenItsTabGoes) {
  AddThree();
  page(2).refuseToClose = true;
  HWND window = page(2).window();
  ASSERT_TRUE(items().Remove(2, true));
  EXPECT_EQ(log, (Log{"strip.BeforeRemove(2)", "strip.Remove(2, count=2)", "p2.QueryUnload(0)", "p2.hWnd",
                      "p2.Initialize(null, null)"}));
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_FALSE(page(2).IsLoaded());
}

TEST_F(CTabItemsTest, AHostThatEmptiesTheStripWhileAskedGetsFalseAndEachPageGoesOnce) {
  AddThree();
  strip().onBeforeRemove = [this] { items().Clear(); };
  EXPECT_FALSE(items().Remove(1, true));
  EXPECT_EQ(items().Count(), 0);
  EXPECT_EQ(log, (Log{"strip.BeforeRemove(1)", "p0.QueryUnload(0)", "p0.Unload", "p0.Initialize(null, null)",
                      "p1.QueryUnload(0)", "p1.Unload", "p1.Initialize(null, null)", "p2.QueryUnload(0)", "p2.Unload",
                      "p2.Initialize(null, null)"}));
}

TEST_F(CTabItemsTest, APageThatFailsWhileItIsLetGoDoesNotStopItsTabFromGoing) {
  ASSERT_TRUE(items().Add(L"F", std::make_shared<FailingPage>(), L"GameF"));
  ASSERT_TRUE(items().Add(L"G", std::make_shared<FailingPage>(), L"GameG"));
  EXPECT_TRUE(items().Remove(L"GameF", true));
  EXPECT_EQ(items().Count(), 1);
  EXPECT_EQ(items().FindItem(L"GameG"), 0);
  strip().DestroyItems();  // the item of G lets its page go from its destructor
}

// --- Clearing and destroying ------------------------------------------------

TEST_F(CTabItemsTest, ClearUnloadsEveryPageWithoutTellingTheStrip) {
  AddThree();
  HWND windows[] = {page(0).window(), page(1).window(), page(2).window()};
  EXPECT_TRUE(items().Clear());
  EXPECT_EQ(log, (Log{"p0.QueryUnload(0)", "p0.Unload", "p0.Initialize(null, null)", "p1.QueryUnload(0)",
                      "p1.Unload", "p1.Initialize(null, null)", "p2.QueryUnload(0)", "p2.Unload",
                      "p2.Initialize(null, null)"}));
  for (HWND window : windows) EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(items().Count(), 0);
  EXPECT_EQ(items().FindItem(0), kNoTab);
  // Still the same, working collection, and the keys are free again.
  auto again = Page("again");
  EXPECT_TRUE(items().Add(L"A", again, L"GameA"));
  EXPECT_EQ(items().FindItem(L"GameA"), 0);
}

TEST_F(CTabItemsTest, DestroyingTheCollectionUnloadsEveryPage) {
  AddThree();
  page(1).renameOnUnload = true;
  strip().DestroyItems();
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(page(i).IsLoaded()) << i;
    EXPECT_EQ(page(i).TabItem(), nullptr) << i;
  }
  EXPECT_EQ(std::count(log.begin(), log.end(), std::string("p1.Unload")), 1);
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& s) { return s.rfind("strip.", 0) == 0; }), 0);
}

// --- Releasing a page -------------------------------------------------------

TEST_F(CTabItemsTest, ReleaseFormMakesThePageAFreeWindowWithItsOldStyleCentredOnTheScreen) {
  auto p = Page("p0");
  const LONG before = ::GetWindowLongW(p->window(), GWL_STYLE);
  ASSERT_TRUE(items().Add(L"A", p, L"GameA"));
  auto other = Page("p1");
  ASSERT_TRUE(items().Add(L"B", other, L"GameB"));
  ASSERT_NE(::GetWindowLongW(p->window(), GWL_STYLE) & WS_CHILD, 0);
  // Only a visible window keeps an update region.
  ::ShowWindow(strip().host(), SW_SHOWNOACTIVATE);
  Pump();
  ::ValidateRect(strip().host(), nullptr);
  log.clear();

  std::shared_ptr<ITabForm> freed = items().ReleaseForm(L"gamea");
  ASSERT_EQ(freed, p);
  EXPECT_EQ(log, (Log{"strip.BeforeRemove(0)", "strip.Remove(0, count=1)", "p0.Initialize(null, null)", "p0.hWnd",
                      "strip.hParent"}));
  HWND window = p->window();
  EXPECT_TRUE(IsTopLevel(window));
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & ~WS_VISIBLE, before & ~WS_VISIBLE);
  // Centred without resizing: halves of a pixel go to the even neighbour.
  RECT rc{};
  ::GetWindowRect(window, &rc);
  EXPECT_EQ(rc.right - rc.left, kContainerWidth);
  EXPECT_EQ(rc.bottom - rc.top, kContainerHeight);
  const double x = (::GetSystemMetrics(SM_CXSCREEN) - kContainerWidth) / 2.0;
  const double y = (::GetSystemMetrics(SM_CYSCREEN) - kContainerHeight) / 2.0;
  EXPECT_EQ(rc.left, static_cast<LONG>(std::nearbyint(x)));
  EXPECT_EQ(rc.top, static_cast<LONG>(std::nearbyint(y)));
  // The whole of the strip's parent waits to be repainted.
  RECT dirty{}, client{};
  EXPECT_TRUE(::GetUpdateRect(strip().host(), &dirty, FALSE));
  ::GetClientRect(strip().host(), &client);
  EXPECT_TRUE(::EqualRect(&dirty, &client));
  EXPECT_TRUE(p->IsLoaded());
  EXPECT_EQ(items().Count(), 1);
  EXPECT_EQ(items().FindItem(L"GameB"), 0);
  p->Unload();
}

TEST_F(CTabItemsTest, ReleaseFormThatIsRefusedOrNamesNoTabChangesNothing) {
  AddThree();
  strip().allowRemove = false;
  EXPECT_EQ(items().ReleaseForm(1), nullptr);
  EXPECT_EQ(log, Log{"strip.BeforeRemove(1)"});
  EXPECT_EQ(::GetParent(page(1).window()), strip().container());
  log.clear();
  EXPECT_EQ(items().ReleaseForm(L"GameQ"), nullptr);
  EXPECT_EQ(items().ReleaseForm(7), nullptr);
  EXPECT_EQ(log, Log{});
  EXPECT_EQ(items().Count(), 3);
}

// --- Items ------------------------------------------------------------------

TEST_F(CTabItemTest, SettersOfAnItemInAStripRepaintItAtOnce) {
  AddThree();
  CTabItem* item = items().Item(1);
  item->SetCaption(L"renamed");
  EXPECT_EQ(log, Log{"strip.Redraw(1)"});
  item->SetHideButton(true);
  item->SetLockSize(true);
  EXPECT_EQ(log, (Log{"strip.Redraw(1)", "strip.Redraw(1)", "strip.Redraw(1)"}));
  EXPECT_EQ(item->Caption(), L"renamed");
  EXPECT_TRUE(item->HideButton());
  EXPECT_TRUE(item->LockSize());
}

TEST_F(CTabItemTest, AnItemInNoStripOnlyStoresAndHandsItsPageNoStrip) {
  auto p = Page("p0");
  auto item = std::make_unique<CTabItem>();
  item->SetCaption(L"free");
  item->SetHideButton(true);
  item->SetForm(p);
  EXPECT_EQ(log, Log{"p0.Initialize(null, item)"});
  EXPECT_EQ(item->Caption(), L"free");
  EXPECT_EQ(p->TabItem(), item.get());
  EXPECT_EQ(p->TabStrip(), nullptr);
  // The host's own value goes with the item, an object by reference.
  EXPECT_FALSE(item->ItemData().has_value());
  auto shared = std::make_shared<int>(7);
  item->SetItemData(shared);
  *shared = 8;
  EXPECT_EQ(*std::any_cast<std::shared_ptr<int>>(item->ItemData()), 8);
  item->SetItemData(std::wstring(L"server 2"));
  EXPECT_EQ(std::any_cast<std::wstring>(item->ItemData()), L"server 2");
  item.reset();
}

TEST_F(CTabItemTest, DestroyingAnItemThatHoldsAPageUnloadsThatPage) {
  auto p = Page("p0");
  auto item = std::make_unique<CTabItem>();
  item->SetForm(p);
  HWND window = p->window();
  log.clear();
  item.reset();
  EXPECT_EQ(log, (Log{"p0.QueryUnload(0)", "p0.Unload", "p0.Initialize(null, null)"}));
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_FALSE(p->IsLoaded());
}

TEST_F(CTabItemTest, AnotherPageForATabLetsTheOldOneGoAndUnloadsItIfNobodyHoldsIt) {
  AddThree();
  CTabItem* item = items().Item(0);
  auto next = Page("next");
  item->SetForm(next);
  EXPECT_EQ(log, (Log{"next.Initialize(strip, item)", "strip.ChangeForm(next, count=3)", "next.hWnd",
                      "p0.Initialize(null, null)"}));
  EXPECT_TRUE(page(0).IsLoaded());  // the test still holds it
  EXPECT_EQ(items().FindItem(next), 0);
  EXPECT_EQ(items().FindItem(pages_[0]), kNoTab);
  page(0).Unload();

  HWND window = next->window();
  pages_.pop_back();
  next.reset();
  log.clear();
  item->SetForm(pages_[1]);  // tab 0 now shows p1 as well as tab 1 does
  EXPECT_EQ(log, (Log{"p1.Initialize(strip, item)", "strip.ChangeForm(p1, count=3)", "p1.hWnd",
                      "next.QueryUnload(0)", "next.Unload", "next.Initialize(null, null)"}));
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(items().FindItem(pages_[1]), 0);
  item->SetForm(nullptr);
}

// --- Pages that are forms ---------------------------------------------------

TEST_F(TabPageFormTest, UnloadingAPageClosesItExactlyAsItsCloseBoxDoes) {
  auto byUser = Page("user");
  auto byModel = Page("model");
  ::SendMessageW(byUser->window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(byModel->UnloadPage());
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], "user.QueryUnload(0)");
  EXPECT_EQ(log[1], "user.Unload");
  EXPECT_EQ(log[2], "model.QueryUnload(0)");
  EXPECT_EQ(log[3], "model.Unload");
  EXPECT_FALSE(byModel->IsLoaded());
  EXPECT_EQ(byModel->window(), nullptr);
}

TEST_F(TabPageFormTest, UnloadingAPageThatIsNotLoadedLoadsNothing) {
  RecordingPage p(log, "never");
  EXPECT_TRUE(p.UnloadPage());
  EXPECT_FALSE(p.IsLoaded());
  EXPECT_EQ(log, Log{});
}

}  // namespace
