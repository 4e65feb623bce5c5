#pragma once
#include <array>
#include <span>

#include "base/OleDateTime.h"
#include "model/ExamCategory.h"
#include "model/NoduleItem.h"

// Everything of the examination that the report reads besides the nodules,
// taken from the form at the moment of the press. Notes are as typed; the
// composer trims them.
struct ExamInputs {
    bool bBaselineCt = true;
    COleDateTime dtPriorCt;
    bool bPriorCancer = false;
    float fCtdiVol = 0.0f;  // mGy
    ExamFindings findings;
    // Each finding's note, by the catalogue's rows; a graded finding's is its degree as the form names it.
    std::array<CString, EXAM_FINDING_COUNT> notes;
    CString strComments;
    CString strFinalCategory;
};

// The label alone for an empty note, else label + " (" + note + ")".
CString LabelWithNote(const CString& label, const CString& note);

// The Korean report text, lines ending in "\r\n", never starting or ending in white space.
CString ComposeReport(const ExamInputs& exam, std::span<const CNoduleItem* const> nodules);
