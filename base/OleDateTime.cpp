#include "OleDateTime.h"

#include <chrono>
#include <cmath>

#include "NumberText.h"

namespace {

using namespace std::chrono;

constexpr sys_days VARIANT_EPOCH = 1899y / December / 30;
// The day numbers of the first and last day a variant date can hold.
constexpr double FIRST_DAY = (sys_days{100y / January / 1} - VARIANT_EPOCH).count();
constexpr double LAST_DAY = (sys_days{9999y / December / 31} - VARIANT_EPOCH).count();

CString ZeroPadded(int value, std::size_t width) {
    CString text = FormatInt(value);
    if (text.size() < width) {
        text.insert(0, width - text.size(), L'0');
    }
    return text;
}

}  // namespace

CString FormatIsoDate(const COleDateTime& date) {
    if (date.m_status == COleDateTime::null) {
        return CString();
    }
    // The date part of a negative variant date is its value truncated toward
    // zero; the fraction is always the time of day.
    const double day = std::trunc(date.m_dt);
    if (date.m_status != COleDateTime::valid || !(day >= FIRST_DAY && day <= LAST_DAY)) {
        return L"Invalid DateTime";
    }
    const year_month_day ymd{VARIANT_EPOCH + days{static_cast<int>(day)}};
    return ZeroPadded(static_cast<int>(ymd.year()), 4) + L"-" +
           ZeroPadded(static_cast<int>(static_cast<unsigned>(ymd.month())), 2) + L"-" +
           ZeroPadded(static_cast<int>(static_cast<unsigned>(ymd.day())), 2);
}
