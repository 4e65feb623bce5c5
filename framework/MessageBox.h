#pragma once
#include <windows.h>

#include "base/WideString.h"

// What the framework tells the reader, in the words of the program's string
// table, and the message boxes that tell it.

// A message box captioned with the program's name (its file name without
// extension), owned by the active window; where the program has none, every
// window of the thread waits for it. It allocates nothing, so it can still tell
// of a failed allocation.
int AfxMessageBox(LPCWSTR lpszText, UINT nType);
// The same with a text of the program's string table, read without allocating.
int AfxMessageBox(UINT nIDPrompt, UINT nType);

// A failure the reader must know of: the prompt, then the system's own words
// for the error where there is one (dwError not ERROR_SUCCESS).
void ReportFailure(const wchar_t* prompt, DWORD dwError);

// A string of the program's string table; empty when it has none of that number.
CString LoadResourceString(UINT nID);

// The system's own text for an error code, without its line break; empty when it has none.
CString SystemErrorText(DWORD dwError);
