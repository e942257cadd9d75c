#pragma once

#include "toolkit/font.h"

// The fonts of the two condition panels.
namespace entry::fonts {

inline const tk::Font kPanel{"ＭＳ Ｐ明朝", 21, tk::clRed, false};
inline const tk::Font kFieldButton{"ＭＳ Ｐ明朝", 19, tk::clMaroon, false};
inline const tk::Font kCoordinateToggle{"ＭＳ Ｐ明朝", 13, tk::clMaroon, false};
inline const tk::Font kRatioToggle{"ＭＳ Ｐ明朝", 21, tk::clMaroon, false};
inline const tk::Font kParenthesis{"ＭＳ Ｐ明朝", 32, tk::clMaroon, false};
inline const tk::Font kSign{"ＭＳ Ｐゴシック", 40, tk::clMaroon, false};
inline const tk::Font kLegend{"ＭＳ 明朝", 16, tk::clFuchsia, false};

} // namespace entry::fonts
