// Another program's copy, for the end-to-end runs: puts its argument on the
// Windows clipboard as Unicode text. Going through Wine's own clipboard leaves
// no moment in which Wine and the X selection disagree about the content.
#include <windows.h>

#include <cstring>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    const size_t nBytes = (wcslen(argv[1]) + 1) * sizeof(wchar_t);
    if (!OpenClipboard(nullptr)) return 1;
    EmptyClipboard();
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, nBytes);
    void* pData = hMem ? GlobalLock(hMem) : nullptr;
    if (pData) {
        std::memcpy(pData, argv[1], nBytes);
        GlobalUnlock(hMem);
    }
    const bool bSet = pData && SetClipboardData(CF_UNICODETEXT, hMem);
    if (!bSet && hMem) GlobalFree(hMem);
    CloseClipboard();
    return bSet ? 0 : 1;
}
