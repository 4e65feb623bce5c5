#include <gtest/gtest.h>

#include <limits>

#include "base/OleDateTime.h"

TEST(OleDateTime, FormatIsoDate) {
    constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();
    constexpr double INF = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        double dt;
        COleDateTime::DateTimeStatus status;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"day zero", 0.0, COleDateTime::valid, L"1899-12-30"},
        {"prior CT of the example", 44259.0, COleDateTime::valid, L"2021-03-04"},
        {"time of day is ignored", 44259.99, COleDateTime::valid, L"2021-03-04"},
        {"no 1900 leap day", 60.0, COleDateTime::valid, L"1900-02-28"},
        {"day after 28 February 1900", 61.0, COleDateTime::valid, L"1900-03-01"},
        {"leap day 2000", 36585.0, COleDateTime::valid, L"2000-02-29"},
        {"negative day", -1.0, COleDateTime::valid, L"1899-12-29"},
        {"negative date truncates toward zero", -1.5, COleDateTime::valid, L"1899-12-29"},
        {"negative fraction is day zero", -0.5, COleDateTime::valid, L"1899-12-30"},
        {"first day a variant date holds", -657434.0, COleDateTime::valid, L"0100-01-01"},
        {"first day with a time of day", -657434.9, COleDateTime::valid, L"0100-01-01"},
        {"day before the first", -657435.0, COleDateTime::valid, L"Invalid DateTime"},
        {"last day a variant date holds", 2958465.0, COleDateTime::valid, L"9999-12-31"},
        {"last day with a time of day", 2958465.999, COleDateTime::valid, L"9999-12-31"},
        {"day after the last", 2958466.0, COleDateTime::valid, L"Invalid DateTime"},
        {"huge value", 1e300, COleDateTime::valid, L"Invalid DateTime"},
        {"huge negative value", -1e300, COleDateTime::valid, L"Invalid DateTime"},
        {"not a number", NOT_A_NUMBER, COleDateTime::valid, L"Invalid DateTime"},
        {"infinite", INF, COleDateTime::valid, L"Invalid DateTime"},
        {"negative infinite", -INF, COleDateTime::valid, L"Invalid DateTime"},
        {"null is empty", 44259.0, COleDateTime::null, L""},
        {"null is empty whatever the value", NOT_A_NUMBER, COleDateTime::null, L""},
        {"invalid status", 44259.0, COleDateTime::invalid, L"Invalid DateTime"},
        {"unknown status", 44259.0, static_cast<COleDateTime::DateTimeStatus>(3), L"Invalid DateTime"},
    };
    for (const Case& c : cases) {
        COleDateTime date;
        date.m_dt = c.dt;
        date.m_status = c.status;
        EXPECT_EQ(FormatIsoDate(date), c.expected) << c.name;
    }
}
