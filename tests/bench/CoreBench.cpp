// Benchmarks of the portable core: one record's category, the exam's final
// category and the report, at the sizes of a real exam and far beyond it.
// With --rows the figures come out as the rows ./bench.sh gathers; without it
// Google Benchmark's own console table.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "BenchRow.h"
#include "model/ExamCategory.h"
#include "tests/core/FindingRows.h"
#include "report/ReportComposer.h"

namespace {

// ---- One record's category ----

struct RecordCase {
    const char* name;
    int nType;
    int nFollowUp;
    double dLongAxis;
    double dShortAxis;
    double dSolidLongAxis;
    double dSolidShortAxis;
    bool bPerifissural;
    bool bCalcification;
    bool bLikelyBenign;
    bool bSpiculation;
};

// The paths through the rules: the size table alone, the solid part, a 4X
// feature, the early benign return and the two overrides.
const RecordCase RECORD_CASES[] = {
    {"UpdateCategory: solid baseline 7 mm", NODULE_SOLID, FOLLOWUP_BASELINE, 7.5, 6.5, 0, 0, false, false, false,
     false},
    {"UpdateCategory: part-solid new, spiculated", NODULE_PART_SOLID, FOLLOWUP_NEW, 12.0, 10.0, 7.0, 5.0, false, false,
     false, true},
    {"UpdateCategory: ground glass growing 32 mm", NODULE_GROUND_GLASS, FOLLOWUP_GROWING, 34.0, 30.0, 0, 0, false,
     false, false, false},
    {"UpdateCategory: calcified", NODULE_SOLID, FOLLOWUP_BASELINE, 9.0, 8.0, 0, 0, false, true, false, false},
    {"UpdateCategory: perifissural 8 mm", NODULE_SOLID, FOLLOWUP_BASELINE, 8.5, 7.5, 0, 0, true, false, false, false},
    {"UpdateCategory: likely benign 16 mm", NODULE_SOLID, FOLLOWUP_NEW, 17.0, 15.0, 0, 0, false, false, true, false},
};

CNoduleItem MakeRecord(const RecordCase& c) {
    CNoduleItem item;
    item.m_nType = c.nType;
    item.m_nFollowUp = c.nFollowUp;
    item.m_dLongAxis = c.dLongAxis;
    item.m_dShortAxis = c.dShortAxis;
    item.m_dSolidLongAxis = c.dSolidLongAxis;
    item.m_dSolidShortAxis = c.dSolidShortAxis;
    item.m_bPerifissural = c.bPerifissural;
    item.m_bCalcification = c.bCalcification;
    item.m_bLikelyBenign = c.bLikelyBenign;
    item.m_bSpiculation = c.bSpiculation;
    return item;
}

void UpdateCategoryBench(benchmark::State& state, const RecordCase& c) {
    CNoduleItem item = MakeRecord(c);
    for (auto _ : state) {
        item.UpdateCategory();
        benchmark::DoNotOptimize(item.m_nCategory);
    }
}

// ---- An exam of many nodules ----

// The same mixed exam on every run: every type, follow-up status, lobe and
// feature, sizes from 3 to 33 mm, so that the categories and sizes the report
// sorts by are spread out like a real list and not already in order.
std::vector<CNoduleItem> MixedNodules(std::int64_t count) {
    std::mt19937 random(20240607);
    const auto pick = [&](unsigned range) { return static_cast<int>(random() % range); };
    std::vector<CNoduleItem> nodules(static_cast<std::size_t>(count));
    for (CNoduleItem& n : nodules) {
        n.m_nType = pick(3);
        n.m_dLongAxis = 3.0 + pick(300) / 10.0;
        n.m_dShortAxis = n.m_dLongAxis * 0.8;
        if (n.m_nType == NODULE_PART_SOLID) {
            n.m_dSolidLongAxis = n.m_dLongAxis * 0.5;
            n.m_dSolidShortAxis = n.m_dShortAxis * 0.5;
        }
        n.m_nLobe = pick(5);
        n.m_nImageNo = 1 + pick(400);
        n.m_nFollowUp = pick(4);
        n.m_bLikelyBenign = pick(10) == 0;
        n.m_bPerifissural = pick(8) == 0;
        n.m_bCalcification = pick(12) == 0;
        n.m_bFat = pick(20) == 0;
        n.m_bSpiculation = pick(6) == 0;
        n.m_bCavity = pick(15) == 0;
        if (pick(10) == 0) {
            n.m_bOther = true;
            n.m_strOther = L"분엽상 경계";
        }
        n.UpdateCategory();
    }
    return nodules;
}

// A follow-up exam with every finding ticked and every note typed.
ExamInputs FullExam() {
    ExamInputs exam;
    exam.bBaselineCt = false;
    exam.dtPriorCt.m_dt = 45000.0;
    exam.bPriorCancer = true;
    exam.fCtdiVol = 1.35f;
    exam.findings.ticked.fill(true);
    exam.findings.coronaryDegree = DEGREE_SEVERE;
    exam.notes[CORONARY] = L"Severe";
    exam.notes[ENDOBRONCHIAL] = L" 우측 주기관지 ";
    exam.notes[CONSOLIDATION] = L"우하엽 후방";
    exam.notes[ATELECTASIS] = L"좌하엽 일부";
    exam.notes[LYMPHADENOPATHY] = L"10R, 4R";
    exam.notes[SUGGESTIVE_OTHER] = L"흉막 비후";
    exam.notes[SIGNIFICANT_OTHER] = L"갑상선 결절";
    exam.notes[OTHER_FINDING] = L"간낭종";
    exam.strComments = L"  이전 검사와 비교함.\r\n크기 변화는 장축 기준.  ";
    exam.strFinalCategory = L"4XS";
    return exam;
}

void ExamCategoryBench(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    std::vector<int> categories;
    for (const CNoduleItem& n : MixedNodules(count)) {
        categories.push_back(n.m_nCategory);
    }
    const ExamFindings findings = Ticked({CORONARY, EMPHYSEMA}, DEGREE_MODERATE);
    for (auto _ : state) {
        CString text = FinalCategoryText(categories, findings);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetComplexityN(count);
}

void ComposeReportBench(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    const std::vector<CNoduleItem> nodules = MixedNodules(count);
    std::vector<const CNoduleItem*> rows;
    for (const CNoduleItem& n : nodules) {
        rows.push_back(&n);
    }
    const ExamInputs exam = FullExam();
    for (auto _ : state) {
        CString report = ComposeReport(exam, rows);
        benchmark::DoNotOptimize(report.data());
    }
    state.SetComplexityN(count);
}

void RegisterBenchmarks() {
    for (const RecordCase& c : RECORD_CASES) {
        benchmark::RegisterBenchmark(c.name, UpdateCategoryBench, c)->Arg(1);
    }
    benchmark::RegisterBenchmark("FinalCategoryText", ExamCategoryBench)
        ->Arg(1)
        ->Arg(100)
        ->Arg(10000)
        ->Complexity(benchmark::oN);
    // The empty report stands apart: a growth fit cannot take n = 0 (n lg n is not defined there).
    benchmark::RegisterBenchmark("ComposeReport", ComposeReportBench)->Arg(0)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ComposeReport", ComposeReportBench)
        ->Arg(1)
        ->Arg(10)
        ->Arg(100)
        ->Arg(1000)
        ->Arg(10000)
        ->Unit(benchmark::kMicrosecond)
        ->Complexity(benchmark::oNLogN);
}

// ---- The rows for ./bench.sh ----

struct Budget {
    const char* name;
    std::int64_t n;
    double nanoseconds;
    const char* text;
};

// Goals a reader never notices; shown beside the figures, never asserted.
const Budget BUDGETS[] = {
    {"ComposeReport", 1000, 1e6, "1 ms"},
    {"ComposeReport", 10000, 15e6, "15 ms"},
};

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

const char* GrowthName(benchmark::BigO complexity) {
    switch (complexity) {
    case benchmark::o1: return "1";
    case benchmark::oN: return "n";
    case benchmark::oLogN: return "lg n";
    case benchmark::oNLogN: return "n lg n";
    case benchmark::oNSquared: return "n^2";
    case benchmark::oNCubed: return "n^3";
    default: return "?";
    }
}

// Each measurement as one row; a family with a growth fit adds one row for it,
// and each size notes how much its time grew over the previous size's.
class RowReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                PrintBenchRow(run.benchmark_name(), "-", -1, "failed: " + run.error_message);
            } else if (run.report_big_o) {
                m_bigO = run;
            } else if (run.report_rms) {
                PrintGrowth(run);
            } else if (run.run_type == Run::RT_Iteration) {
                PrintTime(run);
            }
        }
    }

private:
    static double Nanoseconds(const Run& run, double value) {
        return value * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }

    void PrintTime(const Run& run) {
        const std::string name = run.run_name.function_name;
        const std::string n = run.run_name.args.empty() ? "-" : run.run_name.args;
        const double ns = Nanoseconds(run, run.GetAdjustedRealTime());
        Family& family = m_families[run.family_index];
        std::string notes;
        if (family.nLast > 0 && run.complexity_n > 0) {
            notes += "n x";
            notes += std::to_string(run.complexity_n / family.nLast);
            notes += ": time x";
            notes += Fixed(ns / family.lastNanoseconds, 1);
        }
        for (const Budget& budget : BUDGETS) {
            if (name == budget.name && run.complexity_n == budget.n) {
                notes += notes.empty() ? "" : "; ";
                notes += std::string("budget ") + budget.text + (ns < budget.nanoseconds ? ": met" : ": MISSED");
            }
        }
        if (family.nFirst < 0) {
            family.nFirst = run.complexity_n;
        }
        family.nLast = run.complexity_n;
        family.lastNanoseconds = ns;
        PrintBenchRow(name, n, ns, notes);
    }

    // The fit's coefficient in ns per unit of the growth term, and how far the
    // measurements stray from the fitted curve.
    void PrintGrowth(const Run& rms) {
        const Family& family = m_families[rms.family_index];
        const double coefficient = Nanoseconds(m_bigO, m_bigO.GetAdjustedRealTime());
        PrintBenchRow(std::string(rms.run_name.function_name) + " growth",
                      std::to_string(family.nFirst) + "-" + std::to_string(family.nLast), -1,
                      "fit " + Fixed(coefficient, 2) + " ns x " + GrowthName(m_bigO.complexity) + ", RMS error " +
                          Fixed(rms.GetAdjustedRealTime() * 100.0, 0) + "%");
    }

    // The sizes measured so far of one benchmark family.
    struct Family {
        std::int64_t nFirst = -1;
        std::int64_t nLast = 0;
        double lastNanoseconds = 0;
    };
    std::map<std::int64_t, Family> m_families;
    Run m_bigO;
};

}  // namespace

int main(int argc, char** argv) {
    bool bRows = false;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rows") == 0) {
            bRows = true;
        } else {
            args.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return 1;
    }
    RegisterBenchmarks();
    if (bRows) {
        RowReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
