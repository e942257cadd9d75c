#include "entry/value_text.h"

#include <array>

namespace entry {

std::string DigitCaption(int digit)
{
    static const std::array<std::string_view, 10> kCaptions{"０", "１", "２", "３", "４",
                                                            "５", "６", "７", "８", "９"};
    return std::string(kCaptions.at(static_cast<std::size_t>(digit)));
}

std::string ValueText(std::initializer_list<std::string_view> pieces)
{
    std::string text = " ";
    for (std::string_view piece : pieces)
        text += piece;
    return text;
}

} // namespace entry
