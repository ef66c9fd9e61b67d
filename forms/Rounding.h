// The program's one rule for turning fractions into integers: round to nearest,
// halves to even (what the system's integer conversions have always done).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace forms {

// Raised when a value does not fit the integer it is converted to.
class OverflowError : public std::overflow_error {
 public:
  OverflowError() : std::overflow_error("Overflow") {}
};

// Nearest integer, ties to even, as a double (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline double RoundHalfEven(double value) {
  double floor = std::floor(value);
  double diff = value - floor;
  if (diff > 0.5) return floor + 1.0;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

// Rounds and converts, raising OverflowError when the result does not fit.
template <typename Int>
Int RoundTo(double value) {
  if (std::isnan(value)) throw OverflowError();
  double r = RoundHalfEven(value);
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max()))
    throw OverflowError();
  return static_cast<Int>(r);
}

inline std::int16_t CInt(double value) { return RoundTo<std::int16_t>(value); }
inline std::int32_t CLng(double value) { return RoundTo<std::int32_t>(value); }

}  // namespace forms
