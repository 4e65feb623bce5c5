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
    LPCWSTR icon = nullptr;                 // IDI_QUESTION, IDI_ERROR, IDI_WARNING, IDI_INFORMATION or nullptr
    std::vector<int> buttons;               // the ids of the buttons offered, IDOK to IDNO, in id order
    int defaultButton = 0;                  // the one drawn as the default (BS_DEFPUSHBUTTON), which Enter presses
    std::vector<std::wstring> buttonTexts;  // their labels, in the same order
};

// A step of a script with what it waits for, for the message when it never comes.
struct ScriptStep {
    std::function<bool()> run;
    std::string what;
};

class ModalScript {
public:
    // How long a step may wait for its window: far beyond any wait on a loaded machine.
    static constexpr ULONGLONG PATIENCE_MS = 5000;

    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // A step returns false while it cannot act yet; it is then retried at the
    // next tick. A step still waiting after PATIENCE_MS fails the test, naming
    // what it waited for, and the script gives up: it drops its other steps and
    // from then on closes every dialog that opens over another window, so that
    // the loop the test is stuck in ends and the test goes on to fail.
    ModalScript& Then(std::function<bool()> step, std::string what = "the next window of the script");
    ModalScript& Then(ScriptStep step) { return Then(std::move(step.run), std::move(step.what)); }
    // Runs at every tick from its turn on, for the script's whole life: it
    // answers or notes whatever opens, and has no deadline.
    ModalScript& Watch(std::function<void()> watch);
    // Waits for a message box, reads it into `seen` and presses the button.
    ModalScript& AnswerMessageBox(int nButton, SeenMessageBox* seen = nullptr);
    // Waits for a message box to take the keyboard focus, reads it and presses
    // Enter. Ends when the box has gone. A box that never takes the focus fails
    // the test and is answered No.
    ModalScript& AnswerWithEnter(SeenMessageBox* seen);
    // Watches for message boxes: answers each with nButton (OK where the box has
    // no such button) and keeps what each one said.
    ModalScript& AnswerEveryMessageBox(int nButton, std::vector<SeenMessageBox>* seen);
    // What giving up does besides closing the dialogs over other windows, such as
    // ending a modal run of the form itself.
    ModalScript& OnGiveUp(std::function<void()> action);

    // Every step has run; watches never end and do not count.
    bool Finished() const;
    bool GaveUp() const { return m_bGaveUp; }

private:
    struct Step {
        std::function<bool()> run;
        std::string what;
        bool bWatch = false;
        ULONGLONG deadline = 0;  // set when the step first runs
    };

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void RunSteps();
    void GiveUp(const std::string& what);

    std::deque<Step> m_steps;
    std::deque<std::function<bool()>> m_watches;  // a watch added while one runs moves none
    std::function<void()> m_onGiveUp;
    bool m_bGaveUp = false;
    UINT_PTR m_nTimer = 0;
};

// Waits for a message box, reads it into `seen` and presses the button.
ScriptStep MessageBoxAnswer(int nButton, SeenMessageBox* seen = nullptr);

// A key pressed and released at a window, as the keyboard posts it; with Alt
// held, as a system key.
void PostKey(HWND hTarget, UINT vk, bool bAlt = false);
// Presses a message box's button, or OK where it has no such button.
void PressMessageBoxButton(HWND hBox, int nButton);
// Leaves a dialog or message box the way a person backs out: Cancel, else No,
// else OK, else the close box.
void BackOut(HWND hDialog);

// Whether the window manager has handed the window to the reader, and Wine has
// heard all that came of it: the keyboard focus taken from the window below.
// Wine tells a window that the manager gives it the focus by a WM_MOUSEACTIVATE
// as for a click on it; the focus events follow on the X connection, and a
// query of the pointer, a round trip on that connection, brings them in. A
// dialog closed before then gets its focus after it has gone, and Wine takes
// the activation from the form for a moment (a long axis with the caret commits).
bool ShownToTheReader(HWND hWnd);
// Starts noting which windows of this thread have been shown; a script starts it too.
void NoteWindowsShownToTheReader();

// The visible message box of this thread, shown to the reader, or nullptr.
HWND FindMessageBox();
// The visible top-level dialog of this thread with the given caption, shown to
// the reader, or nullptr.
HWND FindDialog(const std::wstring& caption);
SeenMessageBox ReadMessageBox(HWND hBox);
// The visible tooltip window of this thread, or nullptr.
HWND FindTooltip();
