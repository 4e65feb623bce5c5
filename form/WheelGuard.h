#pragma once
#include <windows.h>

// Windows 10 and 11 send the mouse wheel to the control under the pointer, focused
// or not, and a closed drop-down list changes its selection on it. True for a
// wheel message aimed at a combo box of the form that the reader is not working
// in, which must then change nothing.
bool IsWheelAtUnfocusedCombo(const MSG& msg, HWND hForm);
