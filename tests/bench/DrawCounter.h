#pragma once
// Counts, for each window action of the benchmark, the form's windows that drew
// against those whose state changed (window_bench --draws, ./bench.sh --profile).
//
// Thread hooks see what reaches a window procedure of this thread: WM_PAINT,
// retrieved from the queue or sent by an update; WM_NCPAINT, WM_NCACTIVATE and
// WM_ERASEBKGND; and the colour requests (WM_CTLCOLOR*) and custom-draw
// notifications with which a control asks its parent how to draw, inside its
// WM_PAINT or outside it through GetDC (a static's new text, a button's focus
// rectangle). A control that draws through GetDC without asking anything is
// not seen, nor are the caret, which the system draws by itself, and the
// scroll bars of a window, which are redrawn where their position is set.
//
// A window whose text, check, selection, rows, place, style (enabled, shown,
// default button) or activation differ between the action's begin and end has
// changed; so has one that gained or lost the focus on the way, since Windows'
// own controls draw their focus. A window drawn that did not change is excess.
//
// The hooks cost the Wine server a request per message, so the draws are
// counted in a run of their own, never in a timed or traced one.
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

class DrawCounter {
public:
    struct Count {
        int nDrawn = 0;
        int nChanged = 0;
        std::vector<std::wstring> excess;  // "class id" of each window drawn that did not change
    };

    // Hooks the calling thread; only the form and its descendants are counted,
    // and each action's first runs, which warm up, are left out of the rows.
    DrawCounter(HWND hForm, int nWarmUpRuns);
    ~DrawCounter();
    DrawCounter(const DrawCounter&) = delete;
    DrawCounter& operator=(const DrawCounter&) = delete;
    bool Hooked() const { return m_hCallWndProc && m_hGetMessage; }

    // One action between the two: the windows' state at Begin, and what was
    // drawn and changed by End, called once the action's messages are handled.
    void Begin();
    Count End();

    // The benchmark's marks: "begin", then "end", or "shown" between the two
    // halves of the report, which is counted as the action and "<action> OK".
    void Mark(const std::string& action, int nNodules, const std::string& moment);
    // One row per action and list size, in the order first measured, after the
    // warm-up runs: action, n, drawn, changed, excess, and the excess windows,
    // from the run with the most excess.
    void PrintRows() const;

private:
    using Snapshot = std::map<HWND, std::wstring>;

    static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GetMsgProc(int nCode, WPARAM wParam, LPARAM lParam);
    void Seen(HWND hWnd, UINT message, LPARAM lParam);

    static BOOL CALLBACK AddWindow(HWND hWnd, LPARAM lParam);
    std::vector<HWND> Windows() const;
    Snapshot TakeSnapshot() const;
    std::wstring StateOf(HWND hWnd) const;
    bool Counted(HWND hWnd) const;
    void BeginAction(const std::string& action, int nNodules);
    void EndAction();

    static inline DrawCounter* self = nullptr;
    HWND m_hForm;
    int m_nWarmUpRuns;
    HHOOK m_hCallWndProc = nullptr;
    HHOOK m_hGetMessage = nullptr;

    bool m_bRecording = false;
    std::string m_key;
    Snapshot m_before;
    std::set<HWND> m_drawn;
    std::set<HWND> m_focusMoved;

    std::vector<std::string> m_order;
    std::map<std::string, int> m_seen;
    std::map<std::string, std::vector<Count>> m_runs;
};
