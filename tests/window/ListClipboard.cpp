// Another program reading the clipboard: one line per format, in the order the
// clipboard offers them, "number name hex-bytes", the name "-" for a standard
// format. A standard text format that the clipboard makes from another one is
// made here, by this program, as a pasting program would get it.
#include <windows.h>

#include <cstdio>

int main() {
    if (!OpenClipboard(nullptr)) return 1;
    for (UINT nFormat = EnumClipboardFormats(0); nFormat; nFormat = EnumClipboardFormats(nFormat)) {
        char name[256];
        if (!GetClipboardFormatNameA(nFormat, name, sizeof name)) lstrcpyA(name, "-");
        std::printf("%u %s ", nFormat, name);
        HANDLE hData = GetClipboardData(nFormat);
        const SIZE_T nBytes = hData ? GlobalSize(hData) : 0;
        if (const auto* pBytes = nBytes ? static_cast<const unsigned char*>(GlobalLock(hData)) : nullptr) {
            for (SIZE_T i = 0; i < nBytes; ++i) std::printf("%02x", pBytes[i]);
            GlobalUnlock(hData);
        }
        std::printf("\n");
    }
    CloseClipboard();
    return 0;
}
