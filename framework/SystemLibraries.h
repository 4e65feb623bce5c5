#pragma once
#include <windows.h>

// A DLL placed beside the program must never run inside it: Windows searches the
// program's own folder first for any DLL that is not one of its KnownDLLs.

// From here on, every DLL that the process loads by name, the system's own loads
// on its behalf among them (the input method's, the visual styles'), comes from
// the system folder alone. Where Windows cannot confine the search (Windows 7
// without KB2533623), the current folder at least leaves it.
void KeepDllSearchInSystemFolder();

// A DLL of the system folder, never one of the same name elsewhere; nullptr when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// An entry point of a loaded DLL as the type it has; nullptr when the DLL has none of that name.
template <class Function> Function GetSystemProc(HMODULE hModule, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(hModule, name)));
}
