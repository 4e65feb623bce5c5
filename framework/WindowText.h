#pragma once
#include <windows.h>

#include "base/WideString.h"

// The whole text of a window, however long.
CString GetWindowTextString(HWND hWnd);
