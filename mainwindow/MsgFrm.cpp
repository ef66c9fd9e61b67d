#include "mainwindow/MsgFrm.h"

#include "common/PublicData.h"
#include "forms/DeleteLater.h"
#include "forms/Program.h"
#include "forms/Twips.h"
#include "mainwindow/WebMainFrm.h"
#include "resources/ResourceIds.h"
#include "win/Resource.h"
#include "win/WindowShape.h"

namespace mainwindow {

namespace {
constexpr COLORREF kBandColour = RGB(222, 222, 222);

std::unique_ptr<controls::iButton> AnswerButton(HWND parent, int x, const wchar_t* caption) {
  auto button = std::make_unique<controls::iButton>();
  forms::PropertyBag bag;
  bag.Write(L"AutoSize", false);
  bag.Write(L"Caption", caption);
  bag.Write(L"cBackStyle", 0);
  button->Create(parent, x, 88, 65, 25, bag);
  button->SetBackPicture(win::LoadBitmapResource(res::kBmpAnswerButtons).release());
  return button;
}
}  // namespace

MsgFrm::MsgFrm()
    : Form(forms::FormDesign{
          .caption = common::GameCaption(),
          .clientWidth = 242,
          .clientHeight = 140,
          .style = WS_POPUP | WS_CLIPCHILDREN,
          .showInTaskbar = false,
          .startUp = forms::StartUpPosition::CenterScreen,
          .autoRedraw = true,
      }) {}

void MsgFrm::Form_Load() {
  HWND hwnd = window();
  BForm1 = std::make_unique<controls::BForm>();
  forms::PropertyBag band;
  band.Write(L"HasLogo", false);
  BForm1->Create(hwnd, 0, 0, 242, 33, band);
  BForm1->SetBackColor(std::to_wstring(kBandColour));
  BForm1->MouseDown.Bind(this, &MsgFrm::BForm1_MouseDown);

  Label1 = &AddLabel(RECT{24, 56, 24 + 209, 56 + 41}, kExitQuestion,
                     ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"SimSun"));

  iButton1 = AnswerButton(hwnd, 56, L"是");
  iButton1->Click.Bind([this] { Answer(true); });
  iButton2 = AnswerButton(hwnd, 136, L"否");
  iButton2->Click.Bind([this] { Answer(false); });
  closebtn = std::make_unique<controls::iButton>();
  forms::PropertyBag transparent;
  transparent.Write(L"cBackStyle", 0);
  closebtn->Create(hwnd, 0, 1, 43, 18, transparent);
  closebtn->Click.Bind([this] { Answer(false); });
  // New child windows go to the bottom: the close button lies on the band.
  ::SetWindowPos(closebtn->hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  BForm1->Move(0, 0, forms::TwipsToPixels(ScaleWidth()), 33);
  closebtn->SetBackPicture(win::LoadBitmapResource(res::kBmpClose).release());
  BForm1->SetCaption(common::GameCaption());
}

void MsgFrm::Form_Resize() {
  const int width = forms::TwipsToPixels(ScaleWidth()), height = forms::TwipsToPixels(ScaleHeight());
  mainwindow::WebMainFrm::RectRgn(window(), static_cast<std::int16_t>(width + 1),
                                  static_cast<std::int16_t>(height + 1), 4, 4);
  if (BForm1) BForm1->Printform(*this);
  if (closebtn) closebtn->Move(forms::TwipsToPixels(ScaleWidth() - 730), 1, 43, 18);
}

void MsgFrm::Form_Unload(bool&) {
  // The answer buttons unload the box from inside their own click.
  forms::DeleteLater(std::move(iButton1));
  forms::DeleteLater(std::move(iButton2));
  forms::DeleteLater(std::move(closebtn));
  forms::DeleteLater(std::move(BForm1));
  Label1 = nullptr;
}

void MsgFrm::BForm1_MouseDown(std::int16_t& button, std::int16_t&, float&, float&) {
  if (button == 1) win::DragWindow(window());
}

void MsgFrm::Answer(bool leave) {
  frm::WebMainFrm().m_bExit = leave;
  Unload();
}

}  // namespace mainwindow

mainwindow::MsgFrm& frm::MsgFrm() { return forms::TheForm<mainwindow::MsgFrm>(); }
