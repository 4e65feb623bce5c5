#pragma once
#include <windows.h>

#include <bitset>

// The keys pressed since a dialog opened. A key held down from before, such as
// the one that opened the dialog, goes on repeating into it; those repeats
// belong to what the key did before, not to the dialog.
class CFreshKeys {
public:
    void Forget() { m_pressed.reset(); }
    // False for a repeat of a key that has not been pressed since Forget.
    bool Admits(const MSG& msg) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return true;
        const size_t vk = msg.wParam & 0xFF;
        if (!(msg.lParam & KEY_WAS_DOWN)) m_pressed.set(vk);
        return m_pressed.test(vk);
    }

private:
    static constexpr LPARAM KEY_WAS_DOWN = 1 << 30;  // an auto-repeated key-down
    std::bitset<256> m_pressed;
};
