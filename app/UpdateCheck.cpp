#include "app/UpdateCheck.h"

namespace app {

// This build of the client carries no updater program, so there is nothing it
// could offer: the check ends at once and start-up goes on.
void CheckUpdate(bool /*startUp*/) {}

}  // namespace app
