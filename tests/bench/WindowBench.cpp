// Window timings of the real findings form under Wine, with 1, 100 and 1,000
// nodules in the list: a long-axis commit by Enter up to the final category, a
// click on a findings box, Add of one more nodule, a click on another row and
// Ctrl+Down to the next nodule (with two rows or more), and the Report press up
// to the report dialog on screen and its OK up to the text on the clipboard.
// Every action goes in as the window messages a reader's action produces and
// runs through the dialog's own loop; the clock stops once every message it
// caused, repaints included, has been handled. Prints the medians as rows.
//   window_bench [REPETITIONS] [--turns] [--mark] [--draws]
// --turns: two of these programs, built against two commits' forms, run side by
// side and take turns (./bench.sh --against): the program waits for a line on
// standard input before each step (one nodule added, or one repetition of an
// action with its preparation) and answers with a line "." when the step is
// done ("done" after the last), so neither works while the other is timed.
// --mark: each timed action begins and ends with a named event,
// "window_bench <action> <nodules> begin|shown|end", which a trace of the Wine
// server or of the program's calls shows (./bench.sh --profile).
// --draws: instead of the times, the windows each action drew against those
// whose state changed (DrawCounter.h), as rows "action, n, drawn, changed,
// excess, excess windows" (./bench.sh --profile).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "BenchForm.h"
#include "BenchRow.h"
#include "DrawCounter.h"
#include "TestClipboard.h"
#include "framework/WinApp.h"
#include "framework/WindowText.h"

namespace {

// Before the framework had message boxes of their own, they took their caption
// from the application object: the commits measured against need one.
CWinApp benchApp;

constexpr int NODULE_COUNTS[] = {1, 100, 1000};
constexpr int DEFAULT_REPETITIONS = 21;
// Runs before the timed ones that fill caches and settle focus; not counted.
constexpr int WARM_UP_RUNS = 2;
// A run that has not finished by then hangs (a box nobody answers): end it.
// Taking turns, it also waits while the other side works.
constexpr DWORD WATCHDOG_MS = 20 * 60 * 1000;
constexpr DWORD TURNS_WATCHDOG_MS = 3 * WATCHDOG_MS;

// The last nodule, the one just added, is the one edited: its long axis typed
// over switches the exam between these two final categories.
const wchar_t* const MEASURED_LONG_AXES[] = {L"12", L"24"};
const wchar_t* const MEASURED_FINAL_CATEGORIES[] = {L"3", L"4A"};
// What the list's small nodules make of the exam.
const wchar_t* const LIST_FINAL_CATEGORY = L"2";

const std::wstring CLIPBOARD_SENTINEL = L"before the report";

LONGLONG Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double Nanoseconds(LONGLONG ticks) {
    static const double nsPerTick = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1e9 / static_cast<double>(frequency.QuadPart);
    }();
    return static_cast<double>(ticks) * nsPerTick;
}

bool takingTurns = false;
bool marking = false;
DrawCounter* drawCounter = nullptr;

// Ends this program's step and waits for the next; the first call only waits.
// Once the other side has gone (standard input ends), the steps run on alone.
void TakeTurn(BenchForm* form = nullptr) {
    static bool bInTurn = false;
    if (!takingTurns) return;
    if (bInTurn) {
        std::fputs(".\n", stdout);
        std::fflush(stdout);
    }
    char line[16];
    bInTurn = true;
    if (!std::fgets(line, sizeof line, stdin)) takingTurns = false;
    // What arrived while the other side worked is handled before this side's clock runs.
    if (form) form->Settle();
}

std::string markedAction;
int markedNodules = 0;

void Mark(const char* moment) {
    if (drawCounter) drawCounter->Mark(markedAction, markedNodules, moment);
    if (!marking) return;
    const std::string name = "window_bench " + markedAction + " " + std::to_string(markedNodules) + " " + moment;
    if (HANDLE hEvent = CreateEventA(nullptr, FALSE, FALSE, name.c_str())) CloseHandle(hEvent);
}

struct Shape {
    int nType;
    double dLong, dShort, dSolidLong, dSolidShort;
};

// Small nodules of every type, all category 2, so that the edited one decides
// the final category. The last row of each list (1, 100, 1,000 rows) is solid.
Shape ShapeOf(int nRow) {
    switch (nRow % 3) {
    case 0: return {NODULE_SOLID, 4.0 + (nRow % 10) * 0.1, 3.0, 0, 0};
    case 1: return {NODULE_PART_SOLID, 5.0, 4.0, 2.0, 2.0};
    default: return {NODULE_GROUND_GLASS, 10.0, 8.0, 0, 0};
    }
}

// Adds nodules through the form's Add button until the list holds nCount.
// Typing each size key by key would make a thousand nodules take minutes, so
// the sizes go straight into the new row's record and the lobe is then chosen
// in its drop-down: that choice recomputes the category, rewrites the row and
// refreshes the form, as any entry does.
void FillList(BenchForm& form, int nCount) {
    for (int nRow = form.RowCount(); nRow < nCount; ++nRow) {
        TakeTurn(&form);
        SendMessageW(form.Item(IDC_ADD_NODULE), BM_CLICK, 0, 0);
        form.RunQueued();
        BenchExpect(form.RowCount() == nRow + 1 && form.SelectedRow() == nRow, "Add did not add a selected row");
        const Shape shape = ShapeOf(nRow);
        CNoduleItem& item = form.Record(nRow);
        item.m_nType = shape.nType;
        item.m_dLongAxis = shape.dLong + SIZE_NUDGE_MM;
        item.m_dShortAxis = shape.dShort + SIZE_NUDGE_MM;
        if (shape.nType == NODULE_PART_SOLID) {
            item.m_dSolidLongAxis = shape.dSolidLong + SIZE_NUDGE_MM;
            item.m_dSolidShortAxis = shape.dSolidShort + SIZE_NUDGE_MM;
        }
        item.m_nImageNo = nRow + 1;
        form.Choose(IDC_LOBE, nRow % 5);
        BenchExpect(item.m_nLobe == nRow % 5 && item.m_nCategory == CAT_2,
                    "a nodule of the list did not get its lobe and category");
    }
    BenchExpect(form.Text(IDC_FINAL_CATEGORY) == LIST_FINAL_CATEGORY, "the list does not make the exam category 2");
}

struct Timings {
    std::vector<double> nanoseconds;
    void Add(LONGLONG start, LONGLONG stop, int nRun) {
        if (nRun >= WARM_UP_RUNS) nanoseconds.push_back(Nanoseconds(stop - start));
    }
};

// The last nodule's long axis typed over, then Enter; the clock runs from the
// key to the final category shown.
Timings TimeLongAxisEnter(BenchForm& form, int nRepetitions) {
    Timings timings;
    markedAction = "enter";
    TakeTurn(&form);
    const int nRow = form.RowCount() - 1;
    form.SelectRow(nRow);
    for (int nRun = 0; nRun < WARM_UP_RUNS + nRepetitions; ++nRun) {
        TakeTurn(&form);
        const int nValue = (nRun + 1) % 2;
        form.Type(IDC_LONG_AXIS, MEASURED_LONG_AXES[nValue]);
        BenchExpect(form.FocusedId() == IDC_LONG_AXIS, "the long axis did not take the focus");
        HWND hLongAxis = GetFocus();  // asked before the clock runs: it is a round trip under Wine
        Mark("begin");
        const LONGLONG start = Now();
        PostKey(hLongAxis, VK_RETURN);
        form.RunQueued();
        const LONGLONG stop = Now();
        Mark("end");
        timings.Add(start, stop, nRun);
        BenchExpect(form.Text(IDC_FINAL_CATEGORY) == MEASURED_FINAL_CATEGORIES[nValue],
                    "Enter did not update the final category");
        BenchExpect(form.FocusedId() == IDC_SHORT_AXIS, "Enter did not move on to the short axis");
    }
    // Back to the list's starting state.
    TakeTurn(&form);
    form.Type(IDC_LONG_AXIS, DiameterText(ShapeOf(nRow).dLong + SIZE_NUDGE_MM));
    form.Press(VK_RETURN);
    BenchExpect(form.Text(IDC_FINAL_CATEGORY) == LIST_FINAL_CATEGORY, "the edited nodule did not return to category 2");
    return timings;
}

// The coronary calcification box ticked and unticked; its severity follows it.
Timings TimeFindingClick(BenchForm& form, int nRepetitions) {
    Timings timings;
    markedAction = "finding";
    const int nRuns = WARM_UP_RUNS + nRepetitions + (WARM_UP_RUNS + nRepetitions) % 2;  // ends unticked
    for (int nRun = 0; nRun < nRuns; ++nRun) {
        TakeTurn(&form);
        const bool bWasTicked = form.Checked(IDC_CORONARY);
        Mark("begin");
        const LONGLONG start = Now();
        SendMessageW(form.Item(IDC_CORONARY), BM_CLICK, 0, 0);
        form.RunQueued();
        const LONGLONG stop = Now();
        Mark("end");
        if (nRun < WARM_UP_RUNS + nRepetitions) timings.Add(start, stop, nRun);
        BenchExpect(form.Checked(IDC_CORONARY) != bWasTicked && form.Enabled(IDC_CORONARY_SEVERITY) == !bWasTicked,
                    "the findings box did not refresh its severity");
    }
    return timings;
}

// One more nodule by the Add button; it is deleted again untimed.
Timings TimeAdd(BenchForm& form, int nRepetitions) {
    Timings timings;
    markedAction = "add";
    const int nCount = form.RowCount();
    for (int nRun = 0; nRun < WARM_UP_RUNS + nRepetitions; ++nRun) {
        TakeTurn(&form);
        Mark("begin");
        const LONGLONG start = Now();
        SendMessageW(form.Item(IDC_ADD_NODULE), BM_CLICK, 0, 0);
        form.RunQueued();
        const LONGLONG stop = Now();
        Mark("end");
        timings.Add(start, stop, nRun);
        BenchExpect(form.RowCount() == nCount + 1 && form.SelectedRow() == nCount, "Add did not add a selected row");
        form.Click(IDC_DELETE_NODULE);
        BenchExpect(form.RowCount() == nCount, "Delete did not remove the added row");
    }
    return timings;
}

// A click on another row, as the mouse makes it: the button goes down and up
// over the row and the list's own handling moves the selection, while the
// reader's caret is in the long axis. It turns between the last two rows.
Timings TimeRowClick(BenchForm& form, int nRepetitions) {
    Timings timings;
    markedAction = "rowclick";
    const int nLast = form.RowCount() - 1;
    HWND hList = form.Item(IDC_NODULE_LIST);
    for (int nRun = 0; nRun < WARM_UP_RUNS + nRepetitions; ++nRun) {
        TakeTurn(&form);
        const int nRow = nLast - 1 + nRun % 2;
        const POINT point = form.RowPoint(nRow);
        form.Focus(IDC_LONG_AXIS);
        Mark("begin");
        const LONGLONG start = Now();
        PostMessageW(hList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        PostMessageW(hList, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        form.RunQueued();
        const LONGLONG stop = Now();
        Mark("end");
        timings.Add(start, stop, nRun);
        BenchExpect(form.SelectedRow() == nRow && form.FocusedId() == IDC_NODULE_LIST,
                    "a click on a row did not select it");
    }
    form.SelectRow(nLast);
    return timings;
}

// Ctrl+Down from the long axis of the row before the last to the last.
Timings TimeNextNodule(BenchForm& form, int nRepetitions) {
    Timings timings;
    markedAction = "ctrldown";
    const int nLast = form.RowCount() - 1;
    for (int nRun = 0; nRun < WARM_UP_RUNS + nRepetitions; ++nRun) {
        TakeTurn(&form);
        form.SelectRow(nLast - 1);
        form.Focus(IDC_LONG_AXIS);
        HWND hLongAxis = GetFocus();
        BenchForm::HoldKey(VK_CONTROL, true);
        Mark("begin");
        const LONGLONG start = Now();
        PostKey(hLongAxis, VK_DOWN);
        form.RunQueued();
        const LONGLONG stop = Now();
        Mark("end");
        BenchForm::HoldKey(VK_CONTROL, false);
        timings.Add(start, stop, nRun);
        BenchExpect(form.SelectedRow() == nLast && form.FocusedId() == IDC_LONG_AXIS,
                    "Ctrl+Down did not move to the next nodule");
    }
    return timings;
}

BOOL CALLBACK CheckReportDialog(HWND hWnd, LPARAM lParam) {
    if (!IsWindowVisible(hWnd) || GetWindowTextString(hWnd) != L"판독문") return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

HWND FindReportDialog() {
    HWND hFound = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &CheckReportDialog, reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

// Times the report dialog's way onto the screen and its OK. A timer tick would
// come up to a tick late, so the dialog's activation (seen by a CBT hook, which
// unlike a message hook costs nothing per message) posts a message of its own:
// it comes out of the dialog's loop after everything posted on the way up;
// there the pending paints are done and the clock stops. Then OK is pressed as
// a click and its clock starts.
class ReportTimer {
public:
    ReportTimer() {
        self = this;
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &ReportTimer::WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"WindowBenchReportTimer";
        RegisterClassW(&windowClass);
        m_hWnd = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
        m_hHook = SetWindowsHookExW(WH_CBT, &ReportTimer::HookProc, nullptr, GetCurrentThreadId());
        BenchExpect(m_hWnd && m_hHook, "the report timer could not be set up");
    }
    ~ReportTimer() {
        UnhookWindowsHookEx(m_hHook);
        DestroyWindow(m_hWnd);
        self = nullptr;
    }
    ReportTimer(const ReportTimer&) = delete;
    ReportTimer& operator=(const ReportTimer&) = delete;

    struct Run {
        LONGLONG shown = 0;      // the dialog on screen, painted
        LONGLONG okPressed = 0;  // OK about to be clicked
        std::wstring text;       // what the dialog showed
    };
    void Arm() { m_run = Run{}, m_bArmed = true; }
    const Run& Result() const { return m_run; }

private:
    static constexpr UINT WM_REPORT_SHOWN = WM_APP + 1;
    // Times the marker may come back before the dialog is visible.
    static constexpr WPARAM MAX_REPOSTS = 1000;

    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam) {
        if (nCode == HCBT_ACTIVATE && self && self->m_bArmed &&
            GetWindowTextString(reinterpret_cast<HWND>(wParam)) == L"판독문") {
            self->m_bArmed = false;
            PostMessageW(self->m_hWnd, WM_REPORT_SHOWN, 0, 0);
        }
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_REPORT_SHOWN || !self) return DefWindowProcW(hWnd, message, wParam, lParam);
        HWND hDialog = FindReportDialog();
        if (!hDialog) {
            BenchExpect(wParam < MAX_REPOSTS, "the report dialog did not become visible");
            PostMessageW(hWnd, WM_REPORT_SHOWN, wParam + 1, 0);
            return 0;
        }
        RedrawWindow(hDialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        self->m_run.shown = Now();
        Mark("shown");
        self->m_run.text = GetWindowTextString(GetDlgItem(hDialog, IDC_REPORT_TEXT));
        self->m_run.okPressed = Now();
        SendMessageW(GetDlgItem(hDialog, IDOK), BM_CLICK, 0, 0);
        return 0;
    }

    static inline ReportTimer* self = nullptr;
    HWND m_hWnd = nullptr;
    HHOOK m_hHook = nullptr;
    bool m_bArmed = false;
    Run m_run;
};

// A message box would wait for an answer nobody gives: every nodule is checked first.
void ExpectReportable(const BenchForm& form) {
    for (int nRow = 0; nRow < form.RowCount(); ++nRow) {
        const CNoduleItem& item = form.Record(nRow);
        BenchExpect(
            item.m_dLongAxis > 0 && item.m_dShortAxis > 0 && item.m_nLobe >= 0 &&
                (item.m_nType != NODULE_PART_SOLID || (item.m_dSolidLongAxis > 0 && item.m_dSolidShortAxis > 0)),
            "a nodule would fail the report's checks");
    }
}

struct ReportTimings {
    Timings shown;
    Timings copied;
};

ReportTimings TimeReport(BenchForm& form, int nRepetitions) {
    ExpectReportable(form);
    ReportTimings timings;
    markedAction = "report";
    ReportTimer timer;
    for (int nRun = 0; nRun < WARM_UP_RUNS + nRepetitions; ++nRun) {
        TakeTurn(&form);
        BenchExpect(PutClipboardText(CLIPBOARD_SENTINEL), "the clipboard could not be prepared");
        timer.Arm();
        Mark("begin");
        const LONGLONG start = Now();
        SendMessageW(form.Item(IDC_REPORT), BM_CLICK, 0, 0);  // returns once the dialog has closed
        const std::optional<std::wstring> clipboard = ClipboardText();
        const LONGLONG copied = Now();
        Mark("end");
        const ReportTimer::Run& run = timer.Result();
        BenchExpect(run.shown != 0, "the report dialog did not show");
        BenchExpect(clipboard && *clipboard == run.text && run.text.size() > 100,
                    "the clipboard does not hold the report's text");
        timings.shown.Add(start, run.shown, nRun);
        timings.copied.Add(run.okPressed, copied, nRun);
        form.Settle();
    }
    return timings;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string Milliseconds(double nanoseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f ms", nanoseconds / 1e6);
    return text;
}

void PrintRow(const std::string& name, int nNodules, const Timings& timings, double budgetNs = -1) {
    if (drawCounter) return;  // the hooks' cost makes the times meaningless
    const double median = Median(timings.nanoseconds);
    // The fastest run shows what the machine's other load took from the median.
    const double fastest = *std::min_element(timings.nanoseconds.begin(), timings.nanoseconds.end());
    std::string notes =
        "median of " + std::to_string(timings.nanoseconds.size()) + ", fastest " + Milliseconds(fastest);
    if (budgetNs > 0) notes += "; budget " + Milliseconds(budgetNs) + ": " + (median <= budgetNs ? "met" : "MISSED");
    PrintBenchRow(name, std::to_string(nNodules), median, notes);
}

const char* const ENTER = "Window: long axis Enter to final category";
const char* const FINDING_CLICK = "Window: findings box click to refresh";
const char* const ADD = "Window: Add of one more nodule";
const char* const ROW_CLICK = "Window: click on another row to refresh";
const char* const NEXT_NODULE = "Window: Ctrl+Down to the next nodule";
const char* const REPORT = "Window: Report press to dialog shown";
const char* const REPORT_OK = "Window: report OK to text on clipboard";

struct Budget {
    const char* action;
    int nNodules;
    double nanoseconds;
};

const Budget BUDGETS[] = {
    {ENTER, 1, 1e6}, {ENTER, 1000, 5e6}, {FINDING_CLICK, 1, 2e6}, {ADD, 1000, 20e6}, {REPORT, 1000, 100e6},
};

double BudgetNs(const char* action, int nNodules) {
    for (const Budget& budget : BUDGETS) {
        if (std::strcmp(budget.action, action) == 0 && budget.nNodules == nNodules) return budget.nanoseconds;
    }
    return -1;
}

DWORD WINAPI Watchdog(LPVOID) {
    Sleep(takingTurns ? TURNS_WATCHDOG_MS : WATCHDOG_MS);
    BenchFail("the run did not finish in time");
}

}  // namespace

int main(int argc, char** argv) {
    int nRepetitions = DEFAULT_REPETITIONS;
    bool bUsage = false;
    bool bCountDraws = false;
    for (int arg = 1; arg < argc; ++arg) {
        if (std::strcmp(argv[arg], "--turns") == 0)
            takingTurns = true;
        else if (std::strcmp(argv[arg], "--mark") == 0)
            marking = true;
        else if (std::strcmp(argv[arg], "--draws") == 0)
            bCountDraws = true;
        else if (arg == 1)
            bUsage = (nRepetitions = std::atoi(argv[arg])) < 1;
        else
            bUsage = true;
    }
    if (bUsage) {
        std::fprintf(stderr, "usage: window_bench [REPETITIONS] [--turns] [--mark] [--draws]\n");
        return 2;
    }
    // What the program's start does before its form; the first releases had no function for it.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
    BenchExpect(InitCommonControlsEx(&controls), "the common controls of the templates could not be registered");
    CreateThread(nullptr, 0, &Watchdog, nullptr, 0, nullptr);

    TakeTurn();
    BenchForm form;
    std::optional<DrawCounter> draws;
    if (bCountDraws) {
        drawCounter = &draws.emplace(form.Form(), WARM_UP_RUNS);
        BenchExpect(draws->Hooked(), "the draw hooks could not be set");
    }
    for (int nNodules : NODULE_COUNTS) {
        markedNodules = nNodules;
        FillList(form, nNodules);
        PrintRow(ENTER, nNodules, TimeLongAxisEnter(form, nRepetitions), BudgetNs(ENTER, nNodules));
        PrintRow(FINDING_CLICK, nNodules, TimeFindingClick(form, nRepetitions), BudgetNs(FINDING_CLICK, nNodules));
        PrintRow(ADD, nNodules, TimeAdd(form, nRepetitions), BudgetNs(ADD, nNodules));
        if (form.RowCount() > 1) {
            PrintRow(ROW_CLICK, nNodules, TimeRowClick(form, nRepetitions));
            PrintRow(NEXT_NODULE, nNodules, TimeNextNodule(form, nRepetitions));
        }
        const ReportTimings report = TimeReport(form, nRepetitions);
        PrintRow(REPORT, nNodules, report.shown, BudgetNs(REPORT, nNodules));
        PrintRow(REPORT_OK, nNodules, report.copied);
    }
    if (drawCounter) drawCounter->PrintRows();
    // The last step's end: helper processes of Wine may hold standard output open.
    if (takingTurns) std::puts("done");
    return 0;
}
