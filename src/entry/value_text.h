#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace entry {

// What the minus and root keys leave pending, and show in a value box.
inline constexpr std::string_view kMinusSign = "－";
inline constexpr std::string_view kRootSign = "√";

// The full-width caption of a digit key, "０" to "９".
std::string DigitCaption(int digit);

// The text of a value box: one ASCII blank, then the pieces in order.
std::string ValueText(std::initializer_list<std::string_view> pieces);

} // namespace entry
