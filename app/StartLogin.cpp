#include "app/StartLogin.h"

#include "app/LoginFrm.h"

namespace app {

void StartLogin() { frm::LoginFrm().Load(); }

}  // namespace app
