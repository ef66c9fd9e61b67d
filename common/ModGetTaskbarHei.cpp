#include "common/ModGetTaskbarHei.h"

#include <windows.h>

#include "common/TaskbarMath.h"
#include "forms/Twips.h"

namespace common {

std::int16_t GetTaskbarHeight() {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  double screenTwips = static_cast<double>(::GetSystemMetrics(SM_CYSCREEN)) * forms::kTwipsPerPixel;
  return TaskbarHeightTwips(screenTwips, forms::kTwipsPerPixel, work.bottom);
}

}  // namespace common
