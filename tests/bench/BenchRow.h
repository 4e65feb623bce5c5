#pragma once
// The one output format of every benchmark program, which ./bench.sh gathers
// into its table: one line per figure on standard output,
//   name <TAB> n <TAB> nanoseconds <TAB> notes
// with "-" for an n or a time that does not apply. Anything else a program has
// to say goes to standard error.
#include <cstdio>
#include <string>

inline void PrintBenchRow(const std::string& name, const std::string& n, double nanoseconds, const std::string& notes) {
    if (nanoseconds >= 0) {
        std::printf("%s\t%s\t%.1f\t%s\n", name.c_str(), n.c_str(), nanoseconds, notes.c_str());
    } else {
        std::printf("%s\t%s\t-\t%s\n", name.c_str(), n.c_str(), notes.c_str());
    }
    std::fflush(stdout);
}
