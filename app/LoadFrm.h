// The start-up window: network test, start-up update check, the "/web" switch,
// and the splash picture as a layered window until the login page has loaded.
#pragma once

#include "forms/Form.h"
#include "win/GdiPlus.h"
#include "win/UniqueHandle.h"

namespace app {

class LoadFrm : public forms::Form {
 public:
  LoadFrm();

 protected:
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  HDC memoryDc_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  win::UniqueHbitmap splashBitmap_;
  win::GdiplusSession gdiplus_;
  win::GdipGraphics graphics_;
  win::StreamImage image_;
};

}  // namespace app

namespace frm {
app::LoadFrm& LoadFrm();
}
