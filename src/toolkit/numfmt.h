#pragma once

#include <string>

namespace tk {

// Fixed notation with two decimals and at most five significant digits,
// rounded to nearest with halves away from zero: 1.5 -> "1.50",
// -2 -> "-2.00", 0.004 -> "0.00", 1234.567 -> "1234.60". Values of 100000
// or more are written in exponent notation ("1.2346E+005"). A value that
// is not finite is written "---" so that no "nan" or "inf" reaches a text.
std::string FormatNumber(long double value);

} // namespace tk
