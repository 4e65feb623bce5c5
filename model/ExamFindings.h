#pragma once
#include <array>
#include <iterator>

// What a finding outside the nodules does to the examination's category.
enum class FindingRole {
    RAISES_TO_4A,          // the exam is at least 4A
    SUGGESTS_LUNG_CANCER,  // the exam is 4X
    SIGNIFICANT,           // the modifier S
    OTHER,                 // reported; changes nothing
};

// The degree of the coronary calcification as the reader chose it.
enum CoronaryDegree : int {
    DEGREE_NONE = -1,
    DEGREE_MILD = 0,
    DEGREE_MODERATE = 1,
    DEGREE_SEVERE = 2,
};

// One finding outside the nodules: its role, its words and whether the reader
// describes it in a note. Where the final category's tip names a finding other
// than the report does, the row holds both.
struct ExamFinding {
    FindingRole role;
    const wchar_t* reportWord;
    const wchar_t* tipWord;
    bool bHasNote;
    // Takes its role only from a Moderate degree, whose text is its note; below
    // that it is one of the other findings, as reportWord + " (Mild)".
    bool bGraded;
};

// Every finding, in the order of the report's sentences.
inline constexpr ExamFinding EXAM_FINDINGS[] = {
    {FindingRole::RAISES_TO_4A, L"기관지내 병변 있음", L"기관지내 병변", true, false},
    {FindingRole::SUGGESTS_LUNG_CANCER, L"폐경화", L"폐경화", true, false},
    {FindingRole::SUGGESTS_LUNG_CANCER, L"무기폐", L"무기폐", true, false},
    {FindingRole::SUGGESTS_LUNG_CANCER, L"림프절 비대", L"림프절 비대", true, false},
    {FindingRole::SUGGESTS_LUNG_CANCER, L"기타", L"기타", true, false},
    {FindingRole::SIGNIFICANT, L"관상동맥 석회화", L"관상동맥 석회화", true, true},
    {FindingRole::SIGNIFICANT, L"폐기종 (중증도 이상)", L"폐기종 (중등도 이상)", false, false},
    {FindingRole::SIGNIFICANT, L"간질성 폐이상", L"간질성 폐이상", false, false},
    {FindingRole::SIGNIFICANT, L"폐렴 및 활동성 폐결핵", L"폐렴 및 활동성 폐결핵", false, false},
    {FindingRole::SIGNIFICANT, L"폐외악성물", L"폐외악성물", false, false},
    {FindingRole::SIGNIFICANT, L"대동맥류", L"대동맥류 (≥4.5cm)", false, false},
    {FindingRole::SIGNIFICANT, L"다량의 흉수 또는 심낭 삼출", L"다량의 흉수 또는 심낭 삼출", false, false},
    {FindingRole::SIGNIFICANT, L"기타", L"기타", true, false},
    {FindingRole::OTHER, L"비활동성 폐결핵", L"비활동성 폐결핵", false, false},
    {FindingRole::OTHER, L"기타", L"기타", true, false},
};
inline constexpr size_t EXAM_FINDING_COUNT = std::size(EXAM_FINDINGS);

// The exam's findings as the reader ticked them, by the catalogue's rows.
struct ExamFindings {
    std::array<bool, EXAM_FINDING_COUNT> ticked{};
    CoronaryDegree coronaryDegree = DEGREE_NONE;
};

// The role the finding takes in the exam now: none while unticked; a graded
// finding below Moderate is one of the other findings.
bool TakesRole(const ExamFindings& findings, size_t nRow, FindingRole role);
