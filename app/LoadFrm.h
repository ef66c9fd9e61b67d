// The start-up window: network test, start-up update check, the "/web" switch,
// and the splash picture as a layered window until the login page has loaded.
#pragma once

#include <memory>

#include "app/LayeredPicture.h"
#include "common/CYFDownLoadFile.h"
#include "forms/Form.h"

namespace app {

class LoadFrm : public forms::Form {
 public:
  LoadFrm();

 protected:
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  LayeredPicture splash_;
  std::unique_ptr<common::CYFDownLoadFile> downLoad_;  // the start-up update check's
};

}  // namespace app

namespace frm {
app::LoadFrm& LoadFrm();
}
