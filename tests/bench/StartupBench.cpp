// Start-up of a program against reference programs: all are started the same
// way, taking turns, and timed from CreateProcess until the first window is
// shown and its thread, idle after initialisation, answers a message, which is
// when a reader could start typing. Prints the medians and the program's ratio
// to each reference as the rows ./bench.sh gathers; the budget applies to the
// ratio against the first reference. A program is named by its file name
// without extension, or by the name given before an "=".
//   startup_bench RUNS PROGRAM.exe REFERENCE.exe [[NAME=]REFERENCE.exe...]
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchRow.h"

namespace {

// A start that takes this long has failed.
constexpr DWORD TIMEOUT_MS = 30000;
constexpr double BUDGET_RATIO = 1.15;

struct Program {
    std::wstring path;
    std::string name;  // as given, else the file name without its extension
    std::vector<double> nanoseconds;
};

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::wstring Widened(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

double Nanoseconds(LONGLONG ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1e9 / static_cast<double>(frequency.QuadPart);
}

struct WindowSearch {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindowOf(DWORD processId) {
    WindowSearch search{processId, nullptr};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.window;
}

// The time of one start in nanoseconds, or a negative value when the program
// did not start or never became ready. The program is ended by force afterwards:
// only its start is of interest.
double TimeOneStart(const std::wstring& path) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + path + L"\"";

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    // Idle can come before the window shows (a message peeked during set-up), so
    // the window is looked for until it is there; it usually is at once.
    WaitForInputIdle(process.hProcess, TIMEOUT_MS);
    HWND window = VisibleWindowOf(process.dwProcessId);
    const DWORD deadline = GetTickCount() + TIMEOUT_MS;
    while (!window && GetTickCount() < deadline && WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT) {
        window = VisibleWindowOf(process.dwProcessId);
    }
    DWORD_PTR answer = 0;
    const bool bReady = window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, TIMEOUT_MS, &answer) != 0;
    LARGE_INTEGER ready;
    QueryPerformanceCounter(&ready);

    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, TIMEOUT_MS);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return bReady ? Nanoseconds(ready.QuadPart - start.QuadPart) : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: startup_bench RUNS PROGRAM.exe REFERENCE.exe [[NAME=]REFERENCE.exe...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    // The program first, then the references in the order given.
    std::vector<Program> programs;
    for (int arg = 2; arg < argc; ++arg) {
        const std::string given = argv[arg];
        const std::size_t equals = given.find('=');
        if (equals == std::string::npos)
            programs.push_back({Widened(given), BaseName(given), {}});
        else
            programs.push_back({Widened(given.substr(equals + 1)), given.substr(0, equals), {}});
    }

    // One start each first, so that none pays alone for loading files into the cache.
    for (Program& p : programs) {
        if (TimeOneStart(p.path) < 0) {
            PrintBenchRow("Start-up: " + p.name, "-", -1, "did not become ready");
            return 1;
        }
    }
    // Each run starts with another of them, so that none always follows the same one's exit.
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            Program& p = programs[(static_cast<std::size_t>(run) + i) % programs.size()];
            const double ns = TimeOneStart(p.path);
            if (ns < 0) {
                PrintBenchRow("Start-up: " + p.name, "-", -1, "did not become ready");
                return 1;
            }
            p.nanoseconds.push_back(ns);
        }
    }

    const std::string starts = "median of " + std::to_string(runs) + " starts";
    const Program& program = programs.front();
    const double programMedian = Median(program.nanoseconds);
    std::string ratios;
    for (std::size_t i = 1; i < programs.size(); ++i) {
        const double referenceMedian = Median(programs[i].nanoseconds);
        PrintBenchRow("Start-up: " + programs[i].name, "-", referenceMedian, starts + ", a reference");
        const double ratio = programMedian / referenceMedian;
        ratios += "; " + Fixed(ratio, 2) + " x " + programs[i].name;
        if (i == 1)
            ratios += std::string(" (budget ") + Fixed(BUDGET_RATIO, 2) +
                      " x: " + (ratio <= BUDGET_RATIO ? "met" : "MISSED") + ")";
    }
    PrintBenchRow("Start-up: " + program.name, "-", programMedian, starts + ratios);
    return 0;
}
