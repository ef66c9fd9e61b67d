#include "app/StartLogin.h"

namespace app {

// The login screen is not part of this build yet: the splash stays up alone.
void StartLogin() {}

}  // namespace app
