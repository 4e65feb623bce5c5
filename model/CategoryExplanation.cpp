#include "CategoryExplanation.h"

#include <iterator>
#include <vector>

#include "CategoryDerivation.h"
#include "Labels.h"
#include "NoduleFeatures.h"
#include "base/NumberText.h"

namespace {

// Nodules named in the final category's explanation; the rest are counted.
constexpr size_t MAX_NAMED_NODULES = 3;

// The coronary calcification's degrees, from DEGREE_MILD on.
const wchar_t* const DEGREE_NAMES[] = {L"Mild", L"Moderate", L"Severe"};

CString Joined(const std::vector<CString>& parts, const wchar_t* separator) {
    CString text;
    for (const CString& part : parts) {
        if (!text.empty()) text += separator;
        text += part;
    }
    return text;
}

CString Millimetres(double dValue) { return FormatGeneral(dValue) + L" mm"; }

CString BoundsText(const wchar_t* subject, const SizeBand& band) {
    std::vector<CString> bounds;
    if (band.nFrom) bounds.push_back(Millimetres(*band.nFrom / 10.0) + L" 이상");
    if (band.nBelow) bounds.push_back(Millimetres(*band.nBelow / 10.0) + L" 미만");
    return bounds.empty() ? CString() : subject + Joined(bounds, L" ");
}

// "6 mm 이상 8 mm 미만", "고형부분 4 mm 이상": what the applied row required.
CString BandText(const CategoryDerivation& derivation) {
    if (!derivation.bSizeRuleFound) return L"해당 기준 없음";
    std::vector<CString> parts;
    for (const CString& part : {BoundsText(L"", derivation.mean), BoundsText(L"고형부분 ", derivation.solidMean)})
        if (!part.empty()) parts.push_back(part);
    return parts.empty() ? CString(L"크기 무관") : Joined(parts, L", ");
}

// The step's features that the form shows ticked. A step that comes only from
// flags kept behind unoffered boxes is left out: a later step overrides it, so
// the category is what it would be without them. Should such a step give the
// category after all, it names its flags rather than leave the category unexplained.
std::vector<CString> FeatureNames(const CNoduleItem& shown, CategoryOverride reason, bool bShownOnly) {
    std::vector<CString> names;
    for (const NoduleFeature& feature : NODULE_FEATURES)
        if (feature.rule == reason && (bShownOnly ? IsShownTicked(shown, feature) : shown.*feature.flag))
            names.push_back(TipWord(shown, feature));
    return names;
}

CString StepText(const CNoduleItem& shown, const CategoryStep& step, bool bGivesCategory) {
    std::vector<CString> names = FeatureNames(shown, step.reason, true);
    if (names.empty() && bGivesCategory) names = FeatureNames(shown, step.reason, false);
    if (names.empty()) return {};
    CString text = Joined(names, L", ");
    // The number shown before is the mean; this rule reads the larger axis.
    if (step.reason == OVERRIDE_PERIFISSURAL) text += L" (긴 쪽 직경 " + Millimetres(PERIFISSURAL_LIMIT_MM) + L" 미만)";
    return text + L" → " + CategoryText(step.nCategory);
}

// On a follow-up CT a nodule still without a status is computed as on a baseline CT.
CString StatusText(const CNoduleItem& item, bool bBaselineCt) {
    if (!bBaselineCt && item.m_nFollowUp == FOLLOWUP_BASELINE) return L"추적 검사 상태 미선택 (처음 CT 기준)";
    return FollowUpText(item.m_nFollowUp);
}

CString NoduleName(size_t nRow, const CNoduleItem& item) {
    const CString lobe = item.m_nLobe == LOBE_NONE ? CString(L"위치 미입력") : LobeText(item.m_nLobe);
    return FormatInt(static_cast<int>(nRow + 1)) + L"번 결절 (" + lobe + L")";
}

CString FindingName(const ExamFinding& finding, const ExamFindings& findings) {
    const int nDegree = findings.coronaryDegree;
    if (!finding.bGraded || nDegree < 0 || nDegree >= static_cast<int>(std::size(DEGREE_NAMES))) return finding.tipWord;
    return CString(finding.tipWord) + L" (" + DEGREE_NAMES[nDegree] + L")";
}

CString FindingsText(FindingRole role, const ExamFindings& findings) {
    std::vector<CString> names;
    for (size_t nRow = 0; nRow < EXAM_FINDING_COUNT; ++nRow)
        if (TakesRole(findings, nRow, role)) names.push_back(FindingName(EXAM_FINDINGS[nRow], findings));
    return Joined(names, L", ");
}

}  // namespace

CString ExplainNoduleCategory(const CNoduleItem& item, bool bBaselineCt) {
    const CategoryDerivation derivation = DeriveCategory(item);
    std::vector<CString> subject;
    const CString type = NoduleTypeText(item.m_nType);
    subject.push_back(type.empty() ? CString(L"결절") : type + L" 결절");
    if (const CString status = StatusText(item, bBaselineCt); !status.empty()) subject.push_back(status);

    CString text = Joined(subject, L", ") + L": 평균 " + MeanDiameterText(item.m_dLongAxis, item.m_dShortAxis) + L" mm";
    if (item.m_nType == NODULE_PART_SOLID)
        text += L", 고형부분 평균 " + MeanDiameterText(item.m_dSolidLongAxis, item.m_dSolidShortAxis) + L" mm";
    text += L" (" + BandText(derivation) + L") → " + CategoryText(derivation.nSizeCategory);
    // The boxes as the form shows them at the category the rules give.
    CNoduleItem shown = item;
    shown.m_nCategory = derivation.nCategory;
    for (int nStep = 0; nStep < derivation.nSteps; ++nStep) {
        const CategoryStep& step = derivation.steps[static_cast<size_t>(nStep)];
        if (const CString line = StepText(shown, step, nStep == derivation.nSteps - 1); !line.empty())
            text += L"\r\n" + line;
    }
    return text;
}

CString ExplainFinalCategory(std::span<const CNoduleItem* const> nodules, const ExamFindings& findings) {
    std::vector<int> categories;
    categories.reserve(nodules.size());
    for (const CNoduleItem* pItem : nodules) categories.push_back(pItem->m_nCategory);
    const ExamCategoryDerivation derivation = DeriveExamCategory(categories, findings);

    std::vector<CString> lines;
    if (nodules.empty()) {
        lines.push_back(L"결절 없음 → " + CategoryText(derivation.nNoduleCategory));
    } else {
        std::vector<CString> named;
        size_t nUnnamed = 0;
        for (size_t nRow = 0; nRow < nodules.size(); ++nRow) {
            if (nodules[nRow]->m_nCategory != derivation.nNoduleCategory) continue;
            if (named.size() < MAX_NAMED_NODULES)
                named.push_back(NoduleName(nRow, *nodules[nRow]));
            else
                ++nUnnamed;
        }
        CString line = Joined(named, L", ");
        if (nUnnamed > 0) line += L" 외 " + FormatInt(static_cast<int>(nUnnamed)) + L"개";
        lines.push_back(line + L" → " + CategoryText(derivation.nNoduleCategory));
    }
    if (derivation.bRaisedTo4A)
        lines.push_back(FindingsText(FindingRole::RAISES_TO_4A, findings) + L" → " + CategoryText(CAT_4A));
    if (derivation.bSuggestsLungCancer)
        lines.push_back(L"폐결절 외 폐암시사 소견: " + FindingsText(FindingRole::SUGGESTS_LUNG_CANCER, findings) + L" → " +
                        CategoryText(CAT_4X));
    if (derivation.bSignificantFinding)
        lines.push_back(L"폐결절 외 의미있는 소견: " + FindingsText(FindingRole::SIGNIFICANT, findings) + L" → S");
    return Joined(lines, L"\r\n");
}
