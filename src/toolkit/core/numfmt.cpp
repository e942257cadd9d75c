#include "toolkit/numfmt.h"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <string>

namespace tk {

namespace {

// Rounds the decimal digit string (no point) half away from zero so that
// `keep` digits remain; returns true when a carry adds a leading digit.
bool RoundDigits(std::string& digits, std::size_t keep)
{
    if (keep >= digits.size())
        return false;
    const bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (!up)
        return false;
    for (std::size_t i = keep; i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    digits.insert(digits.begin(), '1');
    return true;
}

} // namespace

std::string FormatNumber(long double value)
{
    if (!std::isfinite(value))
        return "---";
    const bool negative = std::signbit(value);
    const long double magnitude = std::fabs(value);

    // The exact decimal expansion: every float and every 80-bit value in the
    // range we print has finitely many decimals, so rounding on this text is
    // exact, including ties.
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%.40Lf", magnitude);
    std::string text(buffer);
    const std::size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string digits = whole + text.substr(point + 1);
    int intDigits = static_cast<int>(whole.size());
    // Strip leading zeros, keeping track of the decimal point.
    std::size_t lead = 0;
    while (lead + 1 < digits.size() && digits[lead] == '0')
        ++lead;
    digits.erase(0, lead);
    intDigits -= static_cast<int>(lead);

    if (intDigits > 5) {
        // Exponent notation with five significant digits: d.ddddE+ddd.
        int exponent = intDigits - 1;
        if (RoundDigits(digits, 5))
            ++exponent, digits.resize(5);
        char out[64];
        std::snprintf(out, sizeof out, "%s%c.%sE+%03d", negative ? "-" : "", digits[0],
                      digits.substr(1, 4).c_str(), exponent);
        return out;
    }

    // Keep at most five significant digits and at most two decimals.
    int keep = intDigits + 2;
    if (keep > 5 && intDigits > 0)
        keep = 5;
    if (keep <= 0) {
        // Nothing survives above the second decimal but a rounding carry.
        const bool up = keep == 0 && digits[0] >= '5';
        return up ? (negative ? "-0.01" : "0.01") : "0.00";
    }
    std::string kept = digits;
    if (RoundDigits(kept, static_cast<std::size_t>(keep))) {
        ++intDigits;
        if (intDigits > 5)
            return FormatNumber(negative ? -100000.0L : 100000.0L);
    }
    // Rebuild the number as integer part and decimals.
    std::string integerPart, fraction;
    if (intDigits <= 0) {
        integerPart = "0";
        fraction = std::string(static_cast<std::size_t>(-intDigits), '0') + kept;
    } else {
        kept.resize(std::max<std::size_t>(kept.size(), static_cast<std::size_t>(intDigits)), '0');
        integerPart = kept.substr(0, static_cast<std::size_t>(intDigits));
        fraction = kept.substr(static_cast<std::size_t>(intDigits));
    }
    fraction.resize(2, '0');
    fraction.resize(2);
    const bool zero = integerPart.find_first_not_of('0') == std::string::npos &&
                      fraction.find_first_not_of('0') == std::string::npos;
    return (negative && !zero ? "-" : "") + integerPart + "." + fraction;
}

} // namespace tk
