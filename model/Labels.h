#pragma once
#include "WideString.h"

// The only place where these texts are spelled; a value outside a table gives "".
CString NoduleTypeText(int nType);
CString FollowUpText(int nFollowUp);
CString CategoryText(int nCategory);
CString LobeText(int nLobe);
