#pragma once
#include <windows.h>

// Registers common-control classes (ICC_ flags) from comctl32 of the system
// folder, loading it on first use; false when it cannot be loaded or refuses.
bool RegisterCommonControls(DWORD dwICC);

// The classes that the templates use: list view, date picker.
bool InitTemplateControls();
