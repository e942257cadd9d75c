#include "toolkit/numfmt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FormatNumber, FixedNotationWithTwoDecimalsAndFiveSignificantDigits)
{
    // Inputs that are not exact in binary are given as the floats the
    // program stores: a long double literal such as 0.995L lies above 0.995
    // in x86's 80 bits and below it in WebAssembly's 128.
    const struct {
        long double in;
        const char* out;
    } rows[] = {
        {1.5L, "1.50"},           {-2.0L, "-2.00"},       {0.004L, "0.00"},      {0.0L, "0.00"},
        {-0.004L, "0.00"},        {0.0051L, "0.01"},       {0.0999L, "0.10"},     {0.995f, "1.00"},
        {10.03L, "10.03"},        {123.456L, "123.46"},   {999.999L, "1000.00"}, {1234.567L, "1234.60"},
        {12345.67L, "12346.00"},  {99999.4L, "99999.00"}, {-1234.56L, "-1234.60"},
        {0.125L, "0.13"},         {-0.125L, "-0.13"},    
        {100000.0L, "1.0000E+005"}, {123456.0L, "1.2346E+005"}, {-2.5e7L, "-2.5000E+007"},
        {99999.5L, "1.0000E+005"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(tk::FormatNumber(r.in), r.out) << static_cast<double>(r.in);
}

TEST(FormatNumber, FloatsAreWrittenFromTheirExactValue)
{
    // The float nearest 0.05 lies just above it, and 1.005f just below 1.005.
    EXPECT_EQ(tk::FormatNumber(0.05f), "0.05");
    EXPECT_EQ(tk::FormatNumber(1.005f), "1.00");
    EXPECT_EQ(tk::FormatNumber(static_cast<float>(std::sqrt(2.0L))), "1.41");
}

TEST(FormatNumber, NonFiniteValuesNeverShowNanOrInf)
{
    for (long double v : {std::numeric_limits<long double>::quiet_NaN(),
                          std::numeric_limits<long double>::infinity(),
                          -std::numeric_limits<long double>::infinity()}) {
        const std::string s = tk::FormatNumber(v);
        EXPECT_EQ(s.find("nan"), std::string::npos);
        EXPECT_EQ(s.find("inf"), std::string::npos);
        EXPECT_EQ(s, "---");
    }
}
