#pragma once
// Acts inside modal loops the way a person would: a thread timer fires inside
// whatever loop is running (a message box, the report dialog, DoModal) and
// runs the next step of a script; a step that is not ready yet is retried.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// What a person reads on a message box before pressing its button.
struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    LPCWSTR icon = nullptr;  // IDI_QUESTION, IDI_ERROR, IDI_WARNING, IDI_INFORMATION or nullptr
    std::vector<int> buttons;  // the ids of the buttons offered, IDOK to IDNO, in id order
    int defaultButton = 0;     // the one drawn as the default (BS_DEFPUSHBUTTON), which Enter presses
    std::vector<std::wstring> buttonTexts;  // their labels, in the same order
};

class ModalScript {
public:
    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // A step returns false while it cannot act yet; it is then retried at the next tick.
    ModalScript& Then(std::function<bool()> step);
    // Waits for a message box, reads it into `seen` and presses the button. A box
    // that never comes is given up after a while, so that a fault fails the test
    // instead of hanging it.
    ModalScript& AnswerMessageBox(int nButton, SeenMessageBox* seen = nullptr);
    // Waits for a message box to take the keyboard focus, reads it and presses Enter.
    ModalScript& AnswerWithEnter(SeenMessageBox* seen);
    bool Finished() const { return m_steps.empty(); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void RunSteps();

    std::deque<std::function<bool()>> m_steps;
    UINT_PTR m_nTimer = 0;
};

// The visible message box of this thread, or nullptr.
HWND FindMessageBox();
// The visible top-level dialog of this thread with the given caption, or nullptr.
HWND FindDialog(const std::wstring& caption);
SeenMessageBox ReadMessageBox(HWND hBox);
// The visible tooltip window of this thread, or nullptr.
HWND FindTooltip();
