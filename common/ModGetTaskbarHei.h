#pragma once

#include <cstdint>

namespace common {

// The taskbar's height in twips when it stands at the bottom of the screen, else 0.
std::int16_t GetTaskbarHeight();

}  // namespace common
