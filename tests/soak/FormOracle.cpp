#include "FormOracle.h"

#include <algorithm>
#include <sstream>

#include "model/ExamCategory.h"
#include "model/Labels.h"
#include "model/NumberText.h"

namespace {

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t ch : text) narrow += ch < 0x80 ? static_cast<char>(ch) : '?';
    return narrow;
}

class Violations {
public:
    template <typename... Parts>
    void Add(const Parts&... parts) {
        std::ostringstream line;
        (line << ... << parts);
        m_lines.push_back(line.str());
    }
    std::vector<std::string> Take() { return std::move(m_lines); }

private:
    std::vector<std::string> m_lines;
};

std::wstring ExpectedSizeText(const CNoduleItem& item) {
    std::wstring text = FormatFixed((item.m_dShortAxis + item.m_dLongAxis) * 0.5, 1) + L" [mm]";
    if (item.m_nType == NODULE_PART_SOLID)
        text += L" (" + FormatFixed((item.m_dSolidShortAxis + item.m_dSolidLongAxis) * 0.5, 1) + L" [mm])";
    return text;
}

void CheckRows(FormDriver& form, Violations& out) {
    for (int nRow = 0; nRow < form.RowCount(); ++nRow) {
        const CNoduleItem& item = form.Record(nRow);
        const std::wstring expected[] = {
            NoduleTypeText(item.m_nType),
            FollowUpText(item.m_nFollowUp),
            ExpectedSizeText(item),
            LobeText(item.m_nLobe) + L" (#" + FormatInt(item.m_nImageNo) + L")",
            item.m_bPerifissural ? L"흉막주변" : L"",
            CategoryText(item.m_nCategory),
        };
        for (int nColumn = 0; nColumn < 6; ++nColumn) {
            if (form.RowText(nRow, nColumn) != expected[nColumn])
                out.Add("row ", nRow, " column ", nColumn, " shows '", Narrow(form.RowText(nRow, nColumn)),
                        "' for '", Narrow(expected[nColumn]), "'");
        }
        CNoduleItem recomputed = item;
        recomputed.UpdateCategory();
        if (recomputed.m_nCategory != item.m_nCategory)
            out.Add("row ", nRow, " holds category ", item.m_nCategory, " where the rules give ", recomputed.m_nCategory);
    }
}

ExamFindings FindingsShown(const FormDriver& form) {
    ExamFindings f;
    f.bEndobronchial = form.Checked(IDC_ENDOBRONCHIAL);
    f.bConsolidation = form.Checked(IDC_CONSOLIDATION);
    f.bAtelectasis = form.Checked(IDC_ATELECTASIS);
    f.bLymphadenopathy = form.Checked(IDC_LYMPHADENOPATHY);
    f.bSuggestiveOther = form.Checked(IDC_SUGGESTIVE_OTHER);
    f.bCoronaryCalcification = form.Checked(IDC_CORONARY);
    f.nCoronarySeverity = form.ComboSel(IDC_CORONARY_SEVERITY);
    f.bEmphysema = form.Checked(IDC_EMPHYSEMA);
    f.bInterstitial = form.Checked(IDC_INTERSTITIAL);
    f.bPneumonia = form.Checked(IDC_PNEUMONIA);
    f.bExtrapulmonary = form.Checked(IDC_EXTRAPULMONARY);
    f.bAneurysm = form.Checked(IDC_ANEURYSM);
    f.bEffusion = form.Checked(IDC_EFFUSION);
    f.bSignificantOther = form.Checked(IDC_SIGNIFICANT_OTHER);
    f.bInactiveTuberculosis = form.Checked(IDC_INACTIVE_TB);
    f.bOtherFinding = form.Checked(IDC_OTHER_FINDING);
    return f;
}

void ExpectEnabled(const FormDriver& form, int nIDC, bool bExpected, Violations& out) {
    if (form.Enabled(nIDC) != bExpected)
        out.Add("control ", nIDC, bExpected ? " is disabled but should be enabled" : " is enabled but should be disabled");
}

void CheckEnableTable(FormDriver& form, bool bFindingsMayBeStale, Violations& out) {
    const bool bBaseline = form.ComboSel(IDC_CT_TYPE) == 0;
    ExpectEnabled(form, IDC_PRIOR_CT_DATE, !bBaseline, out);

    const int nSelected = form.SelectedRow();
    const CNoduleItem* pItem = nSelected >= 0 ? &form.Record(nSelected) : nullptr;
    for (int nIDC : {IDC_NODULE_TYPE, IDC_LONG_AXIS, IDC_SHORT_AXIS, IDC_LOBE, IDC_IMAGE_NO, IDC_CALCIFICATION, IDC_FAT})
        ExpectEnabled(form, nIDC, pItem != nullptr, out);
    const bool bPartSolid = pItem && pItem->m_nType == NODULE_PART_SOLID;
    for (int nIDC : {IDC_SOLID_LONG_AXIS, IDC_SOLID_SHORT_AXIS, IDC_SOLID_CAPTION, IDC_SOLID_SIZE_UNIT})
        ExpectEnabled(form, nIDC, bPartSolid, out);
    ExpectEnabled(form, IDC_PERIFISSURAL,
                  pItem && pItem->m_nType == NODULE_SOLID && std::max(pItem->m_dLongAxis, pItem->m_dShortAxis) < 9.999 &&
                      !pItem->m_bLikelyBenign,
                  out);
    ExpectEnabled(form, IDC_FOLLOWUP, pItem && !bBaseline, out);
    ExpectEnabled(form, IDC_LIKELY_BENIGN, pItem && pItem->m_nCategory >= CAT_2B, out);
    const bool bSuspicious = pItem && pItem->m_nCategory >= CAT_3;
    for (int nIDC : {IDC_SPICULATION, IDC_CAVITY, IDC_OTHER}) ExpectEnabled(form, nIDC, bSuspicious, out);
    ExpectEnabled(form, IDC_OTHER_TEXT, bSuspicious && pItem->m_bOther, out);

    if (pItem) {
        if (form.ComboSel(IDC_NODULE_TYPE) != pItem->m_nType) out.Add("1002 does not select the nodule's type");
        if (form.ComboSel(IDC_LOBE) != pItem->m_nLobe) out.Add("1006 does not select the nodule's lobe");
        if (form.Checked(IDC_CALCIFICATION) != pItem->m_bCalcification) out.Add("1003 differs from the record");
        if (form.Checked(IDC_FAT) != pItem->m_bFat) out.Add("1004 differs from the record");
        if (form.Checked(IDC_SPICULATION) != (bSuspicious && pItem->m_bSpiculation)) out.Add("1009 differs from the record");
    }

    if (bFindingsMayBeStale) return;
    const struct {
        int nCheckBox, nDetail;
    } details[] = {{IDC_ENDOBRONCHIAL, IDC_ENDOBRONCHIAL_NOTE}, {IDC_CONSOLIDATION, IDC_CONSOLIDATION_NOTE},
                   {IDC_ATELECTASIS, IDC_ATELECTASIS_NOTE},     {IDC_LYMPHADENOPATHY, IDC_LYMPHADENOPATHY_NOTE},
                   {IDC_SUGGESTIVE_OTHER, IDC_SUGGESTIVE_OTHER_NOTE}, {IDC_CORONARY, IDC_CORONARY_SEVERITY},
                   {IDC_SIGNIFICANT_OTHER, IDC_SIGNIFICANT_OTHER_NOTE}, {IDC_OTHER_FINDING, IDC_OTHER_FINDING_NOTE}};
    for (const auto& detail : details) ExpectEnabled(form, detail.nDetail, form.Checked(detail.nCheckBox), out);
}

}  // namespace

std::vector<std::string> CheckInvariants(FormDriver& form, int nRecordsOutsideForm, const OracleOptions& options) {
    Violations out;
    if (CNoduleItem::LiveCount() - nRecordsOutsideForm != form.RowCount())
        out.Add(CNoduleItem::LiveCount() - nRecordsOutsideForm, " live records for ", form.RowCount(), " rows");
    CheckRows(form, out);
    CheckEnableTable(form, options.bFindingsMayBeStale, out);
    if (!options.bFindingsMayBeStale) {
        std::vector<int> categories;
        for (int nRow = 0; nRow < form.RowCount(); ++nRow) categories.push_back(form.Record(nRow).m_nCategory);
        const std::wstring expected = FinalCategoryText(categories, FindingsShown(form));
        if (form.Text(IDC_FINAL_CATEGORY) != expected)
            out.Add("1037 shows '", Narrow(form.Text(IDC_FINAL_CATEGORY)), "' for '", Narrow(expected), "'");
    }
    return out.Take();
}
