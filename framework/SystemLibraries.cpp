#include "SystemLibraries.h"

#include "base/WideString.h"

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD dwDirectoryFlags);

// Windows 8 and later, and Windows 7 with KB2533623, which brings the
// LOAD_LIBRARY_SEARCH flags with it.
SetDefaultDllDirectoriesFn FindSetDefaultDllDirectories() {
    return GetSystemProc<SetDefaultDllDirectoriesFn>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
}

CString SystemFolder() {
    CString folder(MAX_PATH, L'\0');
    for (;;) {
        const UINT nLength = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
        if (nLength == 0) return CString();
        if (nLength < folder.size()) {
            folder.resize(nLength);
            return folder;
        }
        folder.resize(nLength);
    }
}

}  // namespace

void KeepDllSearchInSystemFolder() {
    const SetDefaultDllDirectoriesFn setDefaultDllDirectories = FindSetDefaultDllDirectories();
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (FindSetDefaultDllDirectories()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // By its full path; the DLLs it needs in turn are searched for beside it, in
    // the system folder, instead of beside the program.
    const CString folder = SystemFolder();
    if (folder.empty()) return nullptr;
    return LoadLibraryExW((folder + L'\\' + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
