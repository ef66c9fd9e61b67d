// The main window's layout on every resize. Each step stands alone: one that
// fails (a size the window system refuses) is logged and skipped, and the next still runs.
#include "forms/Program.h"
#include "forms/Twips.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/WebMainFrm.h"

namespace mainwindow {

namespace {
int Px(double twips) { return forms::TwipsToPixels(twips); }

void MoveButton(controls::iButton& button, double left, double top) {
  const RECT now = button.Bounds();
  button.Move(Px(left), Px(top), now.right - now.left, now.bottom - now.top);
}
}  // namespace

void WebMainFrm::Form_Resize() {
  if (!WebBForm || Minimized()) return;
  const double stripHeight = WebuTab ? ToScale(WebuTab->Bounds().bottom - WebuTab->Bounds().top) : 0;
  const MainLayout layout = LayOutMainWindow(WindowPlace().width, ScaleWidth(), ScaleHeight(), stripHeight);
  forms::RunStep(L"WebMainFrm resize: title skin", [&] {
    WebBForm->Move(0, 0, Px(layout.skinWidth), WebBForm->Bounds().bottom);
    WebBForm->Printform(*this);
  });
  forms::RunStep(L"WebMainFrm resize: rounded corners", [&] {
    if (layout.regionRight && layout.regionBottom) RectRgn(window(), *layout.regionRight, *layout.regionBottom, 6, 6);
  });
  forms::RunStep(L"WebMainFrm resize: title buttons", [&] {
    MoveButton(*web_close, layout.closeLeft, kTitleButtonTop);
    MoveButton(*web_minmax, layout.minmaxLeft, kTitleButtonTop);
    MoveButton(*web_min, layout.minLeft, kTitleButtonTop);
    MoveButton(*web_tool, layout.toolLeft, kTitleButtonTop);
  });
  forms::RunStep(L"WebMainFrm resize: tab strip", [&] {
    // Its height is the strip's own.
    if (layout.strip && WebuTab) {
      const RECT now = WebuTab->Bounds();
      WebuTab->Move(Px(layout.strip->left), Px(layout.strip->top), Px(layout.strip->width), now.bottom - now.top);
    }
  });
  forms::RunStep(L"WebMainFrm resize: link buttons", [&] {
    MoveButton(*GameSpaceBtn, layout.gameSpaceLeft, 0);
    MoveButton(*OtherUserBtn, layout.otherUserLeft, 0);
  });
  forms::RunStep(L"WebMainFrm resize: page area", [&] {
    if (!layout.pageArea) return;
    const TwipsBox& page = *layout.pageArea;
    Picture1->Move(Px(page.left), Px(page.top), Px(page.width), Px(page.height));
    Picture1_Resize();
    pCnt->Move(Px(page.left), Px(page.top), Px(page.width), Px(page.height));
  });
}

void WebMainFrm::Picture1_Resize() {
  // The blank page's view overhangs its frame by 2 pixels on every side.
  if (!WebBrowser1) return;
  RECT rc{};
  ::GetClientRect(Picture1->hWnd(), &rc);
  WebBrowser1->Move(-2, -2, rc.right + 4, rc.bottom + 4);
}

}  // namespace mainwindow
