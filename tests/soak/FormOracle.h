#pragma once
// What the findings form must show, derived from its data alone: every check
// the soak makes after each action.
#include <string>
#include <vector>

#include "FormDriver.h"

struct OracleOptions {
    // After a refused dose, the clicked finding's detail control and the final
    // category catch up only at the next refresh.
    bool bFindingsMayBeStale = false;
};

// Returns one line per violated invariant; empty when the form is in step with its data.
std::vector<std::string> CheckInvariants(FormDriver& form, int nRecordsOutsideForm, const OracleOptions& options);
