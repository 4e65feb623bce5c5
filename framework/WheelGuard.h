#pragma once
#include <windows.h>

// The mouse wheel acts where the pointer is, however Windows routes it: Windows
// 10 and 11 send it to the control under the pointer, Windows 7 (and 10 with
// "scroll inactive windows" off) to the control with the focus, wherever the
// pointer is. A closed drop-down list or a date picker changes on the wheel only
// while it has the focus and the pointer is over it; a list or a multi-line edit
// under the pointer scrolls; over anything else of the dialog the dialog window
// itself gets the wheel. Readdresses a wheel message of the dialog accordingly;
// false when nothing of the dialog is to get it (the pointer is outside).
bool RouteWheel(MSG& msg, HWND hDialog);
