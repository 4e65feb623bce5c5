// A seeded, reproducible random walk of a reader's actions on the real form.
// After every action the form must be in step with its data; a failure prints
// the seed and the actions so that it replays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <deque>
#include <functional>
#include <sstream>
#include <span>
#include <string>
#include <vector>

#include "FormDriver.h"
#include "FormOracle.h"
#include "ModalScript.h"
#include "ReportSteps.h"

namespace {

// splitmix64: the same sequence from the same seed on every runtime.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    template <typename T, size_t N> const T& Pick(const T (&items)[N]) { return items[Below(static_cast<int>(N))]; }

private:
    uint64_t m_state;
};

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtoull(value, nullptr, 10) : fallback;
}

constexpr int EDITS[] = {
    IDC_LONG_AXIS,
    IDC_SHORT_AXIS,
    IDC_SOLID_LONG_AXIS,
    IDC_SOLID_SHORT_AXIS,
    IDC_IMAGE_NO,
    IDC_OTHER_TEXT,
    IDC_CTDIVOL,
    IDC_ENDOBRONCHIAL_NOTE,
    IDC_CONSOLIDATION_NOTE,
    IDC_ATELECTASIS_NOTE,
    IDC_LYMPHADENOPATHY_NOTE,
    IDC_SUGGESTIVE_OTHER_NOTE,
    IDC_SIGNIFICANT_OTHER_NOTE,
    IDC_OTHER_FINDING_NOTE,
    IDC_COMMENTS,
};
constexpr int CHECK_BOXES[] = {
    IDC_PERIFISSURAL,      IDC_CALCIFICATION,  IDC_FAT,           IDC_LIKELY_BENIGN,
    IDC_SPICULATION,       IDC_CAVITY,         IDC_OTHER,         IDC_PRIOR_CANCER,
    IDC_ENDOBRONCHIAL,     IDC_CONSOLIDATION,  IDC_ATELECTASIS,   IDC_LYMPHADENOPATHY,
    IDC_SUGGESTIVE_OTHER,  IDC_CORONARY,       IDC_EMPHYSEMA,     IDC_INTERSTITIAL,
    IDC_PNEUMONIA,         IDC_EXTRAPULMONARY, IDC_ANEURYSM,      IDC_EFFUSION,
    IDC_SIGNIFICANT_OTHER, IDC_INACTIVE_TB,    IDC_OTHER_FINDING,
};
constexpr int COMBOS[] = {IDC_CT_TYPE, IDC_NODULE_TYPE, IDC_LOBE, IDC_FOLLOWUP, IDC_CORONARY_SEVERITY};
const wchar_t* const TEXTS[] = {
    L"7",           L"5.9", L"6",   L"8",     L"12.34", L"15",  L"30",  L"2.25", L"",    L"-3",    L"0",   L"1e308",
    L"99999999999", L"nan", L"inf", L"1e999", L"%s%n",  L"7mm", L"7,5", L"0012", L"100", L"100.5", L"abc", L"  4.05 ",
};
constexpr UINT LEAVE_KEYS[] = {VK_TAB, VK_RETURN, 0};                        // 0: a click elsewhere
constexpr UINT COMMAND_KEYS[] = {'N', 'D', 'Z', VK_RETURN, VK_UP, VK_DOWN};  // with Ctrl

const wchar_t* const REFUSED_DOSES[] = {L"abc", L"100.5", L""};
const wchar_t* const DOSES[] = {L"0", L"1.25", L"3", L"100"};

// Answers whatever the form puts up, as the walk has planned for the action,
// and keeps the text of a report that opened.
struct Responder {
    int nClearAnswer = IDNO;
    int nReportButton = IDOK;
    std::wstring report;

    void Respond() {
        if (HWND hBox = FindMessageBox()) {
            const SeenMessageBox seen = ReadMessageBox(hBox);
            int nButton = IDOK;
            if (seen.text == L"모든 내용을 삭제하시겠습니까?") nButton = nClearAnswer;
            if (seen.text == L"종료하시겠습니까?") nButton = IDNO;
            SendMessageW(GetDlgItem(hBox, nButton), BM_CLICK, 0, 0);
        } else if (HWND hReport = FindReportDialog(); hReport && !IsClosing(hReport)) {
            report = ReportDialogText(hReport);
            if (nReportButton == IDC_COPY) SendMessageW(GetDlgItem(hReport, IDC_COPY), BM_CLICK, 0, 0);
            SendMessageW(GetDlgItem(hReport, nReportButton == IDOK ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
        }
    }
};

class Walk {
public:
    Walk(FormDriver& form, Responder& responder, uint64_t seed)
        : m_form(form), m_responder(responder), m_random(seed) {}

    // A deleted nodule is kept for Ctrl+Z until the list changes otherwise.
    bool HoldsDeletedNodule() const { return m_bHoldsDeleted; }

    // Performs one action and returns its description.
    std::string Step() {
        if (!m_planned.empty()) {
            const std::function<std::string()> planned = std::move(m_planned.front());
            m_planned.pop_front();
            return planned();
        }
        std::ostringstream what;
        switch (m_random.Below(14)) {
        case 0:
        case 1:
            if (m_form.RowCount() >= 40) return "add skipped (40 rows)";
            m_form.Click(IDC_ADD_NODULE);
            m_bHoldsDeleted = false;
            return "add";
        case 2:
            if (m_form.RowCount() == 0) return "select skipped (no rows)";
            what << "select row " << SelectAny();
            return what.str();
        case 3:
            m_bHoldsDeleted |= m_form.SelectedRow() >= 0;
            m_form.Click(IDC_DELETE_NODULE);
            return "delete";
        case 4:
        case 5:
        case 6: return TypeSomewhere();
        case 7:
        case 8: {
            const int nIDC = PickEnabled(CHECK_BOXES);
            if (!nIDC) return "toggle skipped (none enabled)";
            m_form.Click(nIDC);
            what << "toggle " << nIDC;
            return what.str();
        }
        case 9: {
            const int nIDC = PickEnabled(COMBOS);
            if (!nIDC) return "choose skipped (none enabled)";
            const int nCount = static_cast<int>(SendMessageW(m_form.Item(nIDC), CB_GETCOUNT, 0, 0));
            const int nIndex = m_random.Below(nCount);
            m_form.Choose(nIDC, nIndex);
            m_bHoldsDeleted &= nIDC != IDC_CT_TYPE;
            what << "choose " << nIDC << " item " << nIndex;
            return what.str();
        }
        case 10: {
            const int buttons[] = {IDOK, IDC_COPY, IDCANCEL};
            m_responder.nReportButton = m_random.Pick(buttons);
            m_form.Click(IDC_REPORT);
            what << "report, then button " << m_responder.nReportButton;
            return what.str();
        }
        case 12: return PressCommandKey();
        case 13: return RefuseDose();
        default: {
            if (m_random.Below(2)) {
                m_responder.nClearAnswer = m_random.Below(2) ? IDYES : IDNO;
                m_form.Click(IDC_CLEAR);
                m_bHoldsDeleted &= m_responder.nClearAnswer != IDYES;
                return m_responder.nClearAnswer == IDYES ? "clear, yes" : "clear, no";
            }
            m_form.Press(VK_ESCAPE);
            return "escape, no";
        }
        }
    }

private:
    int SelectAny() {
        const int nRow = m_random.Below(m_form.RowCount());
        m_form.SelectRow(nRow);
        return nRow;
    }

    int PickEnabled(std::span<const int> ids) {
        std::vector<int> enabled;
        for (int nIDC : ids)
            if (m_form.Enabled(nIDC)) enabled.push_back(nIDC);
        return enabled.empty() ? 0 : enabled[static_cast<size_t>(m_random.Below(static_cast<int>(enabled.size())))];
    }

    std::string TypeSomewhere() {
        const int nIDC = PickEnabled(EDITS);
        if (!nIDC) return "type skipped (none enabled)";
        // A long text is pasted: typed key by key into the comments it would take seconds.
        const bool bLong = m_random.Below(20) == 0;
        std::wstring text = bLong ? std::wstring(300 + m_random.Below(700), L'9') : m_random.Pick(TEXTS);
        const UINT leave = m_random.Pick(LEAVE_KEYS);
        if (bLong)
            m_form.Paste(nIDC, text);
        else
            m_form.Type(nIDC, text);
        if (leave)
            m_form.Press(leave);
        else
            m_form.Focus(IDC_NODULE_LIST);
        std::ostringstream what;
        what << (bLong ? "paste " : "type ") << text.size() << " chars '"
             << std::string(text.begin(), text.begin() + std::min<size_t>(text.size(), 12)) << "' into " << nIDC
             << (leave == VK_TAB      ? ", tab"
                 : leave == VK_RETURN ? ", enter"
                                      : ", click away");
        return what.str();
    }

    // A dose the form refuses, then what the reader does before correcting it:
    // findings ticked, the coronary calcification's degree changed, the report
    // asked for; each its own action, checked as such.
    std::string RefuseDose() {
        const wchar_t* refused = m_random.Pick(REFUSED_DOSES);
        m_form.Type(IDC_CTDIVOL, refused);
        m_form.Press(VK_TAB);
        for (int n = 1 + m_random.Below(3); n > 0; --n) {
            m_planned.push_back([this] {
                const int nIDC = PickEnabled(FINDING_BOXES);
                m_form.Click(nIDC);
                return "with the dose refused, toggle " + std::to_string(nIDC);
            });
        }
        m_planned.push_back([this] {
            if (!m_form.Checked(IDC_CORONARY)) m_form.Click(IDC_CORONARY);
            const int nIndex = m_random.Below(3);
            m_form.Choose(IDC_CORONARY_SEVERITY, nIndex);
            return "with the dose refused, degree " + std::to_string(nIndex);
        });
        m_planned.push_back([this] {
            m_form.Click(IDC_REPORT);
            return std::string("with the dose refused, report");
        });
        m_planned.push_back([this] {
            m_form.Type(IDC_CTDIVOL, m_random.Pick(DOSES));
            m_form.Press(VK_TAB);
            return std::string("dose corrected");
        });
        return "refuse the dose '" + std::string(refused, refused + wcslen(refused)) + "'";
    }

    // A command key from an edit (at times holding a value typed and not yet
    // committed), a combo box, a check box or the list.
    std::string PressCommandKey() {
        int nIDC = IDC_NODULE_LIST;
        switch (m_random.Below(4)) {
        case 0: nIDC = PickEnabled(EDITS); break;
        case 1: nIDC = PickEnabled(COMBOS); break;
        case 2: nIDC = PickEnabled(CHECK_BOXES); break;
        }
        if (!nIDC) return "command key skipped (no control enabled)";
        const bool bTyped = m_random.Below(2) && std::find(std::begin(EDITS), std::end(EDITS), nIDC) != std::end(EDITS);
        if (bTyped)
            m_form.Type(nIDC, m_random.Pick(TEXTS));
        else
            m_form.Focus(nIDC);
        const UINT vk = m_random.Pick(COMMAND_KEYS);
        if (vk == 'N' && m_form.RowCount() >= 40) return "Ctrl+N skipped (40 rows)";
        const int buttons[] = {IDOK, IDC_COPY, IDCANCEL};
        m_responder.nReportButton = m_random.Pick(buttons);
        const bool bDeletes = vk == 'D' && m_form.SelectedRow() >= 0;
        const int nFocused = m_form.FocusedId();
        const bool bRestores =
            vk == 'Z' && m_bHoldsDeleted && std::find(std::begin(EDITS), std::end(EDITS), nFocused) == std::end(EDITS);
        m_form.PressCtrl(vk);
        m_bHoldsDeleted = (m_bHoldsDeleted || bDeletes) && vk != 'N' && !bRestores;
        std::ostringstream what;
        const char* name = vk == VK_RETURN ? "Enter" : vk == VK_UP ? "Up" : vk == VK_DOWN ? "Down" : nullptr;
        what << "Ctrl+" << (name ? std::string(name) : std::string(1, static_cast<char>(vk))) << " from " << nIDC
             << (bTyped ? " with a value typed" : "");
        return what.str();
    }

    FormDriver& m_form;
    Responder& m_responder;
    Random m_random;
    bool m_bHoldsDeleted = false;
    std::deque<std::function<std::string()>> m_planned;  // actions that follow the last one
};

}  // namespace

TEST(Soak, RandomWalkKeepsFormAndDataInStep) {
    const uint64_t seed = EnvNumber("PULMETRA_SOAK_SEED", 20261207);
    const uint64_t nActions = EnvNumber("PULMETRA_SOAK_ACTIONS", 3000);
    const int nRecordsOutsideForm = CNoduleItem::LiveCount();

    Responder responder;
    ModalScript script;
    script.Watch([&responder] { responder.Respond(); });
    std::vector<std::string> actions;
    uint64_t nReports = 0;
    {
        FormDriver form;
        Walk walk(form, responder, seed);
        for (uint64_t n = 0; n < nActions; ++n) {
            responder.report.clear();
            actions.push_back(walk.Step());
            const int nHeld = walk.HoldsDeletedNodule() ? 1 : 0;
            auto violations = CheckInvariants(form, nRecordsOutsideForm + nHeld);
            if (!responder.report.empty()) {
                ++nReports;
                auto reportViolations = CheckReport(form, responder.report);
                violations.insert(violations.end(), reportViolations.begin(), reportViolations.end());
            }
            if (!violations.empty()) {
                std::ostringstream report;
                report << "seed " << seed << ", after action " << n + 1 << " of " << nActions << ":\n";
                for (const std::string& line : violations) report << "  " << line << "\n";
                report << "actions:\n";
                for (size_t i = 0; i < actions.size(); ++i) report << "  " << i + 1 << ". " << actions[i] << "\n";
                FAIL() << report.str();
            }
        }
    }
    EXPECT_EQ(CNoduleItem::LiveCount(), nRecordsOutsideForm) << "records left after the form was destroyed";
    std::printf("soak: seed %llu, %llu actions, %llu reports checked\n", static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(nActions), static_cast<unsigned long long>(nReports));
}
