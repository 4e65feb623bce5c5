#include "ReaderWalk.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <sstream>

#include "FormSteps.h"
#include "ListDriving.h"
#include "framework/WindowState.h"

namespace {

// Every edit and check box of the form, from the form's own tables.
constexpr auto EDITS = [] {
    std::array<int, std::size(NODULE_EDITS) + FINDING_DETAIL_COUNT + 1> edits{};
    size_t n = 0;
    for (int nIDC : NODULE_EDITS) edits[n++] = nIDC;
    edits[n++] = IDC_CTDIVOL;
    for (const FindingDetail& finding : FINDING_DETAILS)
        if (finding.nDetail != IDC_CORONARY_SEVERITY) edits[n++] = finding.nDetail;
    edits[n++] = IDC_COMMENTS;
    return edits;
}();
constexpr auto CHECK_BOXES = [] {
    std::array<int, std::size(NODULE_CHECKS) + std::size(FINDING_BOXES)> boxes{};
    size_t n = 0;
    for (int nIDC : NODULE_CHECKS) boxes[n++] = nIDC;
    for (int nIDC : FINDING_BOXES) boxes[n++] = nIDC;
    return boxes;
}();
constexpr int COMBOS[] = {IDC_CT_TYPE, IDC_NODULE_TYPE, IDC_LOBE, IDC_FOLLOWUP, IDC_CORONARY_SEVERITY};
const wchar_t* const TEXTS[] = {
    L"7",           L"5.9", L"6",   L"8",     L"12.34", L"15",  L"30",  L"2.25", L"",    L"-3",    L"0",   L"1e308",
    L"99999999999", L"nan", L"inf", L"1e999", L"%s%n",  L"7mm", L"7,5", L"0012", L"100", L"100.5", L"abc", L"  4.05 ",
};
constexpr UINT COMMAND_KEYS[] = {'N', 'D', 'Z', VK_RETURN, VK_UP, VK_DOWN};  // with Ctrl

const wchar_t* const REFUSED_DOSES[] = {L"abc", L"100.5", L""};
const wchar_t* const DOSES[] = {L"0", L"1.25", L"3", L"100"};

// Where the reader goes after typing into an edit, without leaving it first.
enum class Leave { TAB, ENTER, LIST, EDIT, BOX, ROW, BUTTON };
constexpr Leave LEAVES[] = {Leave::TAB, Leave::ENTER, Leave::LIST, Leave::EDIT, Leave::BOX, Leave::ROW, Leave::BUTTON};
constexpr int LEAVE_BUTTONS[] = {IDC_ADD_NODULE, IDC_DELETE_NODULE, IDC_REPORT, IDC_CLEAR};

bool IsEdit(int nIDC) { return std::find(std::begin(EDITS), std::end(EDITS), nIDC) != std::end(EDITS); }

// The walk types ASCII only.
std::string Quoted(std::wstring_view text) {
    std::string quoted = "'";
    for (wchar_t ch : text.substr(0, 12)) quoted += static_cast<char>(ch);
    quoted += '\'';
    return quoted;
}

// A plain number: digits, and no more points than allowed.
bool IsPlainNumber(const std::wstring& text, int nPoints) {
    return !text.empty() && text.size() < 10 && iswdigit(text[0]) &&
           std::all_of(text.begin(), text.end(), [](wchar_t ch) { return iswdigit(ch) || ch == L'.'; }) &&
           std::count(text.begin(), text.end(), L'.') <= nPoints;
}

}  // namespace

ReaderWalk::ReaderWalk(FormDriver& form, Responder& responder, uint64_t seed)
    : m_form(form), m_responder(responder), m_random(seed), m_watch(form.Form(), [this] {
          if (m_rowsBeforeDelete.empty()) m_rowsBeforeDelete = RowTexts(m_form);
      }) {}

std::string ReaderWalk::Step() {
    std::string what;
    if (m_planned.empty()) {
        what = RandomAction();
    } else {
        const std::function<std::string()> planned = std::move(m_planned.front());
        m_planned.pop_front();
        what = planned();
    }
    NoteTyping();
    return what;
}

std::string ReaderWalk::RandomAction() {
    switch (m_random.Below(18)) {
    case 0:
    case 1:
        // Half the time the reader measures the new nodule next.
        if (m_random.Below(2)) m_planned.push_back([this] { return TypeInto(IDC_LONG_AXIS); });
        return Add([this] { m_form.Click(IDC_ADD_NODULE); }, "add");
    case 2:
        if (m_form.RowCount() == 0) return "select skipped (no rows)";
        if (m_random.Below(2)) return "click row " + std::to_string(ClickAnyRow());
        return "select row " + std::to_string(SelectAny());
    case 3: Delete([this] { m_form.Click(IDC_DELETE_NODULE); }); return "delete";
    case 4:
    case 5:
    case 6: return TypeSomewhere();
    case 7:
    case 8: return Toggle();
    case 9: return ChooseAny();
    case 10: return Report([this] { m_form.Click(IDC_REPORT); }, "report");
    case 11:
    case 12: return DriveList();
    case 13: return PressCommandKey();
    case 14: return RefuseDose();
    case 15: return DeleteThenUndo();
    default:
        if (m_random.Below(2)) return Clear([this] { m_form.Click(IDC_CLEAR); }, "clear");
        m_form.Press(VK_ESCAPE);
        return "escape, no";
    }
}

// Half the time a box of the selected nodule, whose features the report must
// follow, at times followed by a corrected size that may take its box away.
std::string ReaderWalk::Toggle() {
    const bool bNodule = m_random.Below(2);
    const int nIDC = bNodule ? PickEnabled(NODULE_CHECKS) : PickEnabled(CHECK_BOXES);
    if (!nIDC) return "toggle skipped (none enabled)";
    Click(nIDC);
    if (bNodule && m_random.Below(2)) {
        const int nAxis = m_random.Below(2) ? IDC_LONG_AXIS : IDC_SHORT_AXIS;
        m_planned.push_back([this, nAxis] { return "then " + TypeInto(nAxis); });
    }
    return "toggle " + std::to_string(nIDC);
}

// An item chosen as a closed box does it, with the selection change it notifies.
std::string ReaderWalk::ChooseAny() {
    const int nIDC = PickEnabled(COMBOS);
    if (!nIDC) return "choose skipped (none enabled)";
    const int nIndex = m_random.Below(static_cast<int>(SendMessageW(m_form.Item(nIDC), CB_GETCOUNT, 0, 0)));
    Choose(nIDC, [this, nIDC, nIndex] { m_form.Choose(nIDC, nIndex); });
    return "choose " + std::to_string(nIDC) + " item " + std::to_string(nIndex);
}

// ---- Typing ----

// Half the time an editor of the selected nodule, whose sizes decide which boxes it offers.
std::string ReaderWalk::TypeSomewhere() {
    const int nIDC = m_random.Below(2) ? PickEnabled(NODULE_EDITS) : PickEnabled(EDITS);
    return nIDC ? TypeInto(nIDC) : "type skipped (none enabled)";
}

std::string ReaderWalk::TypeInto(int nIDC) {
    if (!m_form.Enabled(nIDC)) return "type skipped (" + std::to_string(nIDC) + " disabled)";
    const CNoduleItem* pTypedFor = SelectedRecord();
    // A long text is pasted: typed key by key into the comments it would take seconds.
    const bool bLong = m_random.Below(20) == 0;
    const std::wstring text = bLong ? std::wstring(300 + m_random.Below(700), L'9') : m_random.Pick(TEXTS);
    if (bLong)
        m_form.Paste(nIDC, text);
    else
        m_form.Type(nIDC, text);
    std::string what = (bLong ? "paste " : "type ") + std::to_string(text.size()) + " chars " + Quoted(text) +
                       " into " + std::to_string(nIDC);
    what += ", " + LeaveEditor(nIDC);
    ExpectKept(nIDC, pTypedFor, text);
    return what;
}

// Leaves the edit, or goes elsewhere without leaving it first: a click on
// another edit, a box, a row or a button.
std::string ReaderWalk::LeaveEditor(int nIDC) {
    NoteTyping();
    switch (m_random.Pick(LEAVES)) {
    case Leave::TAB: m_form.Press(VK_TAB); return "tab";
    case Leave::ENTER: m_form.Press(VK_RETURN); return "enter";
    case Leave::LIST: m_form.Focus(IDC_NODULE_LIST); return "click away";
    case Leave::EDIT: {
        const int nOther = PickEnabled(EDITS, nIDC);
        if (!nOther) return "stay";
        m_form.ClickWithMouse(nOther);
        return "click on " + std::to_string(nOther);
    }
    case Leave::BOX: {
        const int nBox = PickEnabled(CHECK_BOXES);
        if (!nBox) return "stay";
        m_form.ClickWithMouse(nBox);
        Forget();
        return "click on box " + std::to_string(nBox);
    }
    case Leave::ROW:
        if (m_form.RowCount() == 0) return "stay";
        return "click on row " + std::to_string(ClickAnyRow());
    case Leave::BUTTON: break;
    }
    const int nButton = m_random.Pick(LEAVE_BUTTONS);
    const auto click = [this, nButton] { m_form.ClickWithMouse(nButton); };
    const std::string what = "click on " + std::to_string(nButton);
    switch (nButton) {
    case IDC_ADD_NODULE: return Add(click, what);
    case IDC_DELETE_NODULE: Delete(click); return what;
    case IDC_REPORT: return Report(click, what);
    default: return Clear(click, what);
    }
}

// A plain number typed into a nodule's size or image number is kept for that
// nodule however the reader goes on, once the editor no longer shows it for them.
void ReaderWalk::ExpectKept(int nIDC, const CNoduleItem* pTypedFor, const std::wstring& text) {
    // The image number takes digits alone.
    if (!pTypedFor || !IsPlainNumber(text, nIDC == IDC_IMAGE_NO ? 0 : 1)) return;
    int nRow = 0;
    while (nRow < m_form.RowCount() && &m_form.Record(nRow) != pTypedFor) ++nRow;
    if (nRow == m_form.RowCount()) return;  // deleted, or cleared away
    if (nRow == m_form.SelectedRow() && GetFocus() == m_form.Item(nIDC)) return;
    const double dTyped = std::wcstod(text.c_str(), nullptr);
    // Enter keeps the size as the edit then shows it, with one decimal.
    constexpr double SHOWN_ROUNDING_MM = 0.05 + 2 * SIZE_NUDGE_MM;
    for (const SizeField& field : SIZE_FIELDS) {
        const double dKept = pTypedFor->*field.size;
        if (field.nIDC == nIDC &&
            (IsMeasured(dTyped) ? std::fabs(dKept - dTyped) > SHOWN_ROUNDING_MM : IsMeasured(dKept)))
            Violation("row " + std::to_string(nRow) + " keeps " + std::to_string(dKept) + " for the size typed");
    }
    if (nIDC == IDC_IMAGE_NO && pTypedFor->m_nImageNo != std::stoi(text))
        Violation("row " + std::to_string(nRow) + " keeps the image " + std::to_string(pTypedFor->m_nImageNo));
}

// ---- Drop-down lists ----

// Opens a list, moves in it and closes it. The box then shows the item the
// reader chose, or, without a choice, the item the list opened on.
std::string ReaderWalk::DriveList() {
    const int nIDC = PickEnabled(COMBOS);
    if (!nIDC) return "list skipped (none enabled)";
    const int nCount = static_cast<int>(SendMessageW(m_form.Item(nIDC), CB_GETCOUNT, 0, 0));
    const ListOpen open = m_random.Pick(LIST_OPENS);
    std::ostringstream what;
    what << "list " << nIDC << " " << NameOf(open);
    m_form.Focus(nIDC);
    const int nOpenedOn = m_form.ComboSel(nIDC);
    Choose(nIDC, [&] {
        OpenList(m_form, nIDC, open);
        if (!IsDroppedComboBox(m_form.Item(nIDC))) {
            Violation("list " + std::to_string(nIDC) + " did not open");
            return;
        }
        for (int n = m_random.Below(4); n > 0; --n) {
            const ListMove move = m_random.Pick(LIST_MOVES);
            const int nItem = m_random.Below(nCount);
            MoveInList(m_form, nIDC, move, nItem);
            what << ", " << NameOf(move);
            if (move == ListMove::POINTER) what << nItem;
        }
        const ListClose close = m_random.Pick(LIST_CLOSES);
        const int nItem = m_random.Below(nCount);
        const int nChosen = CloseList(m_form, nIDC, close, nItem);
        what << ", " << NameOf(close);
        if (close == ListClose::CLICK_ITEM) what << nItem;
        const int nExpected = nChosen >= 0 ? nChosen : nOpenedOn;
        if (IsDroppedComboBox(m_form.Item(nIDC))) Violation("list " + std::to_string(nIDC) + " stayed open");
        if (m_form.ComboSel(nIDC) != nExpected)
            Violation("list " + std::to_string(nIDC) + " shows item " + std::to_string(m_form.ComboSel(nIDC)) +
                      " where the reader left " + std::to_string(nExpected));
    });
    return what.str();
}

// ---- Command keys ----

// A command key from an edit (at times holding a value typed and not yet
// committed), a combo box, a check box or the list.
std::string ReaderWalk::PressCommandKey() {
    int nIDC = IDC_NODULE_LIST;
    switch (m_random.Below(4)) {
    case 0: nIDC = PickEnabled(EDITS); break;
    case 1: nIDC = PickEnabled(COMBOS); break;
    case 2: nIDC = PickEnabled(CHECK_BOXES); break;
    }
    if (!nIDC) return "command key skipped (no control enabled)";
    const bool bTyped = m_random.Below(2) && IsEdit(nIDC);
    const CNoduleItem* pTypedFor = SelectedRecord();
    const std::wstring typed = bTyped ? m_random.Pick(TEXTS) : L"";
    if (bTyped)
        m_form.Type(nIDC, typed);
    else
        m_form.Focus(nIDC);
    const UINT vk = m_random.Pick(COMMAND_KEYS);
    const char* name = vk == VK_RETURN ? "Enter" : vk == VK_UP ? "Up" : vk == VK_DOWN ? "Down" : nullptr;
    std::string what = "Ctrl+" + (name ? std::string(name) : std::string(1, static_cast<char>(vk))) + " from " +
                       std::to_string(nIDC) + (bTyped ? " with a value typed" : "");
    const auto press = [this, vk] { m_form.PressCtrl(vk); };
    switch (vk) {
    case 'N': what = Add(press, what); break;
    case 'D': Delete(press); break;
    case 'Z':
        // In an edit it is the edit's own undo, which changes its text when there is typing to undo.
        if (IsEdit(nIDC))
            press();
        else
            UndoDelete();
        return what;
    case VK_RETURN: what = Report(press, what); break;
    default: press();
    }
    ExpectKept(nIDC, pTypedFor, typed);
    return what;
}

// ---- Planned sequences ----

// A dose the form refuses, then what the reader does before correcting it:
// findings ticked, the coronary calcification's degree changed, the report
// asked for; each its own action, checked as such.
std::string ReaderWalk::RefuseDose() {
    const wchar_t* refused = m_random.Pick(REFUSED_DOSES);
    m_form.Type(IDC_CTDIVOL, refused);
    m_form.Press(VK_TAB);
    for (int n = 1 + m_random.Below(3); n > 0; --n) {
        m_planned.push_back([this] {
            const int nIDC = PickEnabled(FINDING_BOXES);
            Click(nIDC);
            return "with the dose refused, toggle " + std::to_string(nIDC);
        });
    }
    m_planned.push_back([this] {
        if (!m_form.Checked(IDC_CORONARY)) Click(IDC_CORONARY);
        const int nIndex = m_random.Below(3);
        Choose(IDC_CORONARY_SEVERITY, [this, nIndex] { m_form.Choose(IDC_CORONARY_SEVERITY, nIndex); });
        return "with the dose refused, degree " + std::to_string(nIndex);
    });
    m_planned.push_back(
        [this] { return Report([this] { m_form.Click(IDC_REPORT); }, "with the dose refused, report"); });
    m_planned.push_back([this] {
        m_form.Type(IDC_CTDIVOL, m_random.Pick(DOSES));
        m_form.Press(VK_TAB);
        return std::string("dose corrected");
    });
    return "refuse the dose " + Quoted(refused);
}

// One or more deletes, at times a later action, then Ctrl+Z pressed as many
// times or more from outside the edits: the nodules come back only while the
// deletes are the form's last changes.
std::string ReaderWalk::DeleteThenUndo() {
    const int nDeletes = 1 + m_random.Below(2);
    for (int n = 1; n < nDeletes; ++n)
        m_planned.push_back([this] {
            Delete([this] { m_form.PressCtrl('D'); });
            return std::string("Ctrl+D, again");
        });
    if (m_random.Below(2)) m_planned.push_back([this] { return "then " + RandomAction(); });
    for (int n = nDeletes + m_random.Below(2); n > 0; --n)
        m_planned.push_back([this] {
            const int nBox = m_random.Below(2) ? PickEnabled(CHECK_BOXES) : 0;
            const int nFrom = nBox ? nBox : IDC_NODULE_LIST;
            m_form.Focus(nFrom);
            UndoDelete();
            return "Ctrl+Z from " + std::to_string(nFrom);
        });
    if (m_form.RowCount() > 0 && m_form.SelectedRow() < 0) SelectAny();
    m_form.Focus(IDC_NODULE_LIST);
    Delete([this] { m_form.PressCtrl('D'); });
    return "Ctrl+D from the list";
}

// ---- The reader's model of the form ----

void ReaderWalk::NoteTyping() {
    if (m_watch.TakeReaderTyping()) Forget();
}

// A delete of the selected nodule keeps it for Ctrl+Z, with the rows as they
// stood when it went: after what was typed for it was kept.
void ReaderWalk::Delete(const std::function<void()>& press) {
    NoteTyping();
    m_rowsBeforeDelete.clear();
    press();
    if (!m_rowsBeforeDelete.empty()) m_deleted.push_back(std::move(m_rowsBeforeDelete));
    m_rowsBeforeDelete.clear();
}

// Ctrl+Z outside an edit: the rows as they stood before the last delete, or nothing.
void ReaderWalk::UndoDelete() {
    NoteTyping();
    const std::vector<std::wstring> before = RowTexts(m_form);
    m_form.PressCtrl('Z');
    if (m_deleted.empty()) {
        if (RowTexts(m_form) != before) Violation("Ctrl+Z with no nodule deleted changed the rows");
        return;
    }
    if (RowTexts(m_form) != m_deleted.back()) Violation("Ctrl+Z did not bring back the rows of before the delete");
    m_deleted.pop_back();
}

std::string ReaderWalk::Add(const std::function<void()>& press, const std::string& what) {
    if (m_form.RowCount() >= 40) return what + " skipped (40 rows)";
    press();
    Forget();
    return what;
}

// A tick of an enabled box, by a click of the button's own or of the mouse.
void ReaderWalk::Click(int nIDC) {
    if (m_random.Below(2))
        m_form.Click(nIDC);
    else
        m_form.ClickWithMouse(nIDC);
    Forget();
}

std::string ReaderWalk::Clear(const std::function<void()>& press, const std::string& what) {
    m_responder.nClearAnswer = m_random.Below(2) ? IDYES : IDNO;
    press();
    if (m_responder.nClearAnswer == IDYES) Forget();
    return what + (m_responder.nClearAnswer == IDYES ? ", yes" : ", no");
}

std::string ReaderWalk::Report(const std::function<void()>& press, const std::string& what) {
    m_responder.reportExit = m_random.Pick(REPORT_EXITS);
    press();
    return what + ", left by " + NameOf(m_responder.reportExit);
}

// A choice that changes a value is a change; the exam kind chosen again
// changes nothing, the nodules' follow-up statuses least of all.
void ReaderWalk::Choose(int nIDC, const std::function<void()>& choose) {
    const int nBefore = m_form.ComboSel(nIDC);
    const std::vector<int> statuses = FollowUps();
    choose();
    if (m_form.ComboSel(nIDC) != nBefore)
        Forget();
    else if (nIDC == IDC_CT_TYPE && FollowUps() != statuses)
        Violation("the exam kind chosen again changed the follow-up statuses");
}

std::vector<int> ReaderWalk::FollowUps() const {
    std::vector<int> statuses;
    for (int nRow = 0; nRow < m_form.RowCount(); ++nRow) statuses.push_back(m_form.Record(nRow).m_nFollowUp);
    return statuses;
}

const CNoduleItem* ReaderWalk::SelectedRecord() const {
    const int nSelected = m_form.SelectedRow();
    return nSelected >= 0 ? &m_form.Record(nSelected) : nullptr;
}

int ReaderWalk::ClickAnyRow() {
    const int nRow = m_random.Below(m_form.RowCount());
    m_form.ClickRow(nRow);
    return nRow;
}

int ReaderWalk::SelectAny() {
    const int nRow = m_random.Below(m_form.RowCount());
    m_form.SelectRow(nRow);
    return nRow;
}

int ReaderWalk::PickEnabled(std::span<const int> ids, int nExcept) {
    std::vector<int> enabled;
    for (int nIDC : ids)
        if (nIDC != nExcept && m_form.Enabled(nIDC)) enabled.push_back(nIDC);
    return enabled.empty() ? 0 : enabled[static_cast<size_t>(m_random.Below(static_cast<int>(enabled.size())))];
}
