#pragma once
#include <windows.h>

#include <unordered_map>

// The controls of one dialog window by their ids. Wine asks its server for the
// whole child list on every ::GetDlgItem, and a refresh reads dozens of
// controls, so each handle is looked up once and kept while it is still that control.
class CDialogControls {
public:
    // The dialog window whose controls these are; nullptr once it has gone.
    void Attach(HWND hDialog) {
        m_hDialog = hDialog;
        m_handles.clear();
    }
    HWND Get(int nID) const;

private:
    HWND m_hDialog = nullptr;
    mutable std::unordered_map<int, HWND> m_handles;
};
