#pragma once
#include <cwctype>

#include "WideString.h"

// White space as the C runtime's wide-character classification sees it.
inline bool IsWhiteSpace(wchar_t c) { return std::iswspace(static_cast<std::wint_t>(c)) != 0; }

inline std::wstring_view TrimmedEnd(std::wstring_view text) {
    while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
    return text;
}

inline std::wstring_view Trimmed(std::wstring_view text) {
    text = TrimmedEnd(text);
    while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
    return text;
}
