#pragma once
#include "base/WideString.h"

// The only place where these texts are spelled; a value outside a table gives "".
CString NoduleTypeText(int nType);
CString FollowUpText(int nFollowUp);
CString CategoryText(int nCategory);
CString LobeText(int nLobe);
// The other 4X feature as the report and the tips name it: "기타(text)" with the
// reader's text as stored, "기타" alone where the reader wrote nothing.
CString OtherFeatureText(const CString& strOther);
