#pragma once
// What the findings form must show, derived from its data alone: every check
// the soak makes after each action.
#include <string>
#include <vector>

#include "FormDriver.h"

// Returns one line per violated invariant; empty when the form is in step with its data.
std::vector<std::string> CheckInvariants(FormDriver& form, int nRecordsOutsideForm);

// Checks a report that the form has just composed against its entries: the
// nodule lines carry the rows' categories, most severe first, and the conclusion
// and its recommendation are those of the final category the entries give.
std::vector<std::string> CheckReport(FormDriver& form, const std::wstring& report);
