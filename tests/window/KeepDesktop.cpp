// Keeps Wine's desktop process, and with it the X clipboard, alive between test programs.
#include <windows.h>

int main() {
    GetDesktopWindow();
    Sleep(INFINITE);
}
