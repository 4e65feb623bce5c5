#pragma once
#include <span>

#include "base/OleDateTime.h"
#include "model/ExamCategory.h"
#include "model/NoduleItem.h"

// Everything of the examination that the report reads besides the nodules,
// taken from the form at the moment of the press. Notes are the detail edits'
// texts as typed; the composer trims them.
struct ExamInputs {
    bool bBaselineCt = true;    // combo 1000 index 0
    COleDateTime dtPriorCt;     // date picker 1050
    bool bPriorCancer = false;  // 1040
    float fCtdiVol = 0.0f;      // edit 1049, mGy
    ExamFindings findings;
    CString strCoronarySeverity;      // text of the selected item of 1034
    CString strEndobronchialNote;     // 1019
    CString strConsolidationNote;     // 1024
    CString strAtelectasisNote;       // 1026
    CString strLymphadenopathyNote;   // 1025
    CString strSuggestiveOtherNote;   // 1027
    CString strSignificantOtherNote;  // 1028
    CString strOtherFindingNote;      // 1044
    CString strComments;              // 1017
    CString strFinalCategory;         // text of 1037
};

// The label alone for an empty note, else label + " (" + note + ")".
CString LabelWithNote(const CString& label, const CString& note);

// The Korean report text, lines ending in "\r\n", never starting or ending in white space.
CString ComposeReport(const ExamInputs& exam, std::span<const CNoduleItem* const> nodules);
