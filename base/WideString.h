#pragma once
// The product's text type: UTF-16 on Windows, where every control speaks it.
#include <string>
#include <string_view>

using CString = std::wstring;
