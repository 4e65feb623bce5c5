// A DLL planted beside the program under the name of a system DLL, as someone
// who can write to its folder would: it leaves its mark on standard error as
// soon as Windows runs it inside the program.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        static const char MARK[] = "PLANTED DLL RAN\n";
        DWORD dwWritten;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), MARK, sizeof MARK - 1, &dwWritten, nullptr);
    }
    return TRUE;
}
