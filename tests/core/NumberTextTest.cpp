#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "base/NumberText.h"

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

// Equal values, NaN equal to NaN, and zeros of the same sign.
bool SameNumber(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    return a == b && std::signbit(a) == std::signbit(b);
}

}  // namespace

TEST(NumberText, FormatFixed) {
    struct Case {
        const char* name;
        double value;
        int decimals;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"float 1.125 is an exact tie and rounds to even", static_cast<double>(1.125f), 2, L"1.12"},
        {"float 1.2 gets two decimals", static_cast<double>(1.2f), 2, L"1.20"},
        {"dose never entered", 0.0, 2, L"0.00"},
        {"float 1.25 of the example", static_cast<double>(1.25f), 2, L"1.25"},
        {"binary value below the tie rounds down", 0.35, 1, L"0.3"},
        {"binary value above the tie rounds up", 0.45, 1, L"0.5"},
        {"exact tie to even upwards", 0.75, 1, L"0.8"},
        {"negative zero keeps its sign", -0.0, 1, L"-0.0"},
        {"no decimals", 2.5, 0, L"2"},
        {"infinite", INF, 1, L"inf"},
        {"not a number", NOT_A_NUMBER, 2, L"nan"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected) << c.name;
    }
    // Every one of the 309 integer digits of the largest double is written.
    const CString largest = FormatFixed(std::numeric_limits<double>::max(), 2);
    EXPECT_EQ(largest.size(), 312u);
    EXPECT_EQ(largest.substr(0, 17), L"17976931348623157");
    EXPECT_EQ(largest.substr(303), L"858368.00");
}

TEST(NumberText, FormatGeneral) {
    struct Case {
        const char* name;
        double value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"trailing zeros dropped", 7.0001, L"7.0001"},     {"six significant digits", 123456.7, L"123457"},
        {"exponent from a million", 1e6, L"1e+06"},        {"small exponent", 0.00001, L"1e-05"},
        {"fourth decimal stays fixed", 0.0001, L"0.0001"}, {"infinite", -INF, L"-inf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value), c.expected) << c.name;
    }
}

TEST(NumberText, ScanNumber) {
    struct Case {
        const char* name;
        const wchar_t* text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"leading white space", L" \t\r\n7.5", 7.5},
        {"trailing text ignored", L"1.5 mm", 1.5},
        {"minus sign", L"-3.25x", -3.25},
        {"fraction without integer part", L".5", 0.5},
        {"comma between digits is the decimal point", L"1,5", 1.5},
        {"comma decimal before a unit", L"7,5mm", 7.5},
        {"negative comma decimal", L"-0,25", -0.25},
        {"comma decimal with an exponent", L"1,5e2", 150.0},
        {"comma after the digits ends the number", L"5,", 5.0},
        {"comma before a blank ends the number", L"5, 5", 5.0},
        {"a second comma ends the number", L"1,5,3", 1.5},
        {"comma after the point ends the number", L"1.5,3", 1.5},
        {"comma before every digit is no number", L",5", std::nullopt},
        {"incomplete exponent ignored", L"2e+", 2.0},
        {"hexadecimal", L"0x1A", 26.0},
        {"hexadecimal with binary exponent", L"0X1p4", 16.0},
        {"negative hexadecimal", L"-0x10", -16.0},
        {"hex prefix without digits reads the zero", L"0x", 0.0},
        {"hex prefix before a letter reads the zero", L"0xg", 0.0},
        {"hex prefix before a sign reads the zero", L"0x-5", 0.0},
        {"hexadecimal exponent marker e is a digit", L"0x1e2", 482.0},
        {"infinity spelled out in capitals", L"-INFINITY", -INF},
        {"plus infinity", L"+Inf", INF},
        {"negative not a number", L"-NaN", NOT_A_NUMBER},
        {"decimal overflow", L"1e400", INF},
        {"rounding overflow", L"1.7976931348623159e308", INF},
        {"exponent beyond every integer", L"1e99999999999999999999", INF},
        {"leading zeros do not make it small", L"0001e400", INF},
        {"fraction digits do not make it small", L"0.001e400", INF},
        {"decimal underflow", L"1e-400", 0.0},
        {"negative underflow", L"-1e-400", -0.0},
        {"many integer digits do not make it large", L"1000e-400", 0.0},
        {"denormal", L"4e-320", 4e-320},
        {"zero with a huge exponent", L"0e99999", 0.0},
        {"hexadecimal overflow", L"0x1p99999", INF},
        {"white space only", L"   ", std::nullopt},
        {"letters", L"abc", std::nullopt},
        {"sign only", L"-", std::nullopt},
        {"two signs", L"+-5", std::nullopt},
        {"two minus signs", L"--5", std::nullopt},
        {"space after the sign", L"- 5", std::nullopt},
        {"exponent only", L"e5", std::nullopt},
        {"full-width digit", L"７", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> value = ScanNumber(c.text);
        ASSERT_EQ(value.has_value(), c.expected.has_value()) << c.name;
        if (value) {
            EXPECT_TRUE(SameNumber(*value, *c.expected)) << c.name << ": " << *value;
        }
    }
}

TEST(NumberText, ParseDiameter) {
    struct Case {
        const char* name;
        const wchar_t* text;
        double expected;
    };
    const Case cases[] = {
        {"negative number", L" -2.5", -2.5}, {"no number", L"abc", 0.0},  {"infinity", L"inf", 0.0},
        {"not a number", L"nan", 0.0},       {"overflow", L"1e400", 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(ParseDiameter(c.text), c.expected)) << c.name;
    }
}

TEST(NumberText, ParseInteger) {
    struct Case {
        const char* name;
        const wchar_t* text;
        int expected;
    };
    const Case cases[] = {
        {"white space and sign", L" \t-7x", -7},
        {"plus sign", L"+5", 5},
        {"stops at the point", L"1.9", 1},
        {"hexadecimal is not read", L"0x10", 0},
        {"no digits", L"abc", 0},
        {"two signs", L"+-3", 0},
        {"space after the sign", L"- 5", 0},
        {"largest int", L"2147483647", INT_MAX},
        {"one beyond the largest clamps", L"2147483648", INT_MAX},
        {"one beyond the smallest clamps", L"-2147483649", INT_MIN},
        {"many digits clamp", L"99999999999999999999999999", INT_MAX},
        {"full-width digits are not read", L"１２", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.expected) << c.name;
    }
}
