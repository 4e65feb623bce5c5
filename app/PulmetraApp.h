#pragma once
#include "framework/WinApp.h"

// Runs the findings form as the program's only window.
class CPulmetraApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
