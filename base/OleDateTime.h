#pragma once
#include "WideString.h"

// A variant date: days since 30 December 1899, the time of day as the fraction.
struct COleDateTime {
    enum DateTimeStatus { valid, invalid, null };

    double m_dt = 0.0;
    DateTimeStatus m_status = valid;
};

// "%Y-%m-%d" for a valid date, "" for a null one, "Invalid DateTime" otherwise
// (also for a value outside the years 100 to 9999 that a variant date can hold).
CString FormatIsoDate(const COleDateTime& date);
