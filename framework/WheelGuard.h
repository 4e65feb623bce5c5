#pragma once
#include <windows.h>

// The mouse wheel acts where the pointer is, however Windows routes it: Windows
// 10 and 11 send it to the control under the pointer, Windows 7 (and 10 with
// "scroll inactive windows" off) to the control with the focus, wherever the
// pointer is. A closed drop-down list or a date picker changes on the wheel only
// while it has the focus and the pointer is over it, one item per whole notch
// however finely the wheel or touchpad reports it; a list or a multi-line edit
// under the pointer scrolls; over anything else of the dialog the dialog window
// itself gets the wheel. While a drop-down list or a date picker's calendar is
// open, only it moves. The same holds across for the sideways wheel.
class CWheelRouter {
public:
    // Readdresses a wheel message of the dialog; returns how many times it is
    // to be delivered: none when nothing of the dialog is to get it (the pointer
    // is outside, or a choice has not yet turned a whole notch).
    int Route(MSG& msg, HWND hDialog);

private:
    HWND m_hChoice = nullptr;  // the choice the wheel turned last
    int m_nChoiceDelta = 0;    // what it turned there short of a notch
};

inline bool IsWheelMessage(UINT message) { return message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL; }
