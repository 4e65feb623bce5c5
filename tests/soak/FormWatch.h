#pragma once
// Watches the messages that reach the findings form for what the reader sees
// happen and the walk cannot read back afterwards: a change of an edit's text
// made by the reader rather than written by a program, and the moment before a
// row of the nodule list goes.
#include <windows.h>

#include <functional>

class FormWatch {
public:
    // beforeRowDeleted runs as the list is about to delete a row, which it still shows.
    FormWatch(HWND hForm, std::function<void()> beforeRowDeleted);
    ~FormWatch();
    FormWatch(const FormWatch&) = delete;
    FormWatch& operator=(const FormWatch&) = delete;

    // Whether the reader has changed the text of an edit of the form since the last call.
    bool TakeReaderTyping();

private:
    static LRESULT CALLBACK OnCall(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK OnReturn(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hCall = nullptr;
    HHOOK m_hReturn = nullptr;
};
