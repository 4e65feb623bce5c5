#pragma once
#include <windows.h>

#include <memory>
#include <span>
#include <vector>

#include "base/OleDateTime.h"
#include "framework/Dialog.h"
#include "framework/GdiObjects.h"
#include "framework/ListCtrl.h"
#include "framework/ShutdownBlockReason.h"
#include "framework/ToolTipCtrl.h"
#include "FeatureBoxes.h"
#include "model/ExamCategory.h"
#include "model/NoduleFeatures.h"
#include "model/NoduleItem.h"
#include "report/ReportComposer.h"
#include "res/resource.h"

// Posted when a drop-down list has closed, to apply what the boxes show.
inline constexpr UINT WM_RECONCILE_COMBOS = WM_APP + 1;
// Posted when the list has taken the selection from a row, to show that no
// nodule is selected unless the same move has selected another.
inline constexpr UINT WM_SHOW_SELECTION = WM_APP + 2;

// The current local date and time less 365 days, as a variant date.
COleDateTime OneYearBeforeNow();

// A diameter as the editors show it: one decimal once entered; what is no size shows nothing.
CString DiameterText(double dValue);

// The findings form: the one window in which an examination is entered.
// Each list row owns its CNoduleItem; every other entry lives in its control.
class CPulmetraDlg : public CDialog {
public:
    explicit CPulmetraDlg(HWND hWndParent = nullptr);
    ~CPulmetraDlg() override;

    enum { IDD = IDD_PULMETRA_DIALOG };

    // What the form tells Windows while it holds the session's end up; empty otherwise.
    const CString& ShutdownBlockReason() const { return m_shutdownBlockReason.Given(); }

protected:
    std::span<const MessageFilter> GetMessageChain() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    HICON m_hIcon;
    CIcon m_iconSmall;  // icon 128 at the small-icon size: title bar and task bar
    CFont m_fontCategory;
    CListCtrl m_listNodules;
    // The nodules' records in row order, owned here; each row's item data points
    // to its record. A refresh reads every record, and asking the list for each
    // costs a message per row.
    std::vector<std::unique_ptr<CNoduleItem>> m_nodules;
    COleDateTime m_dtPriorCt;
    // The date the last load put into the picker, which always holds a date: only
    // another date was entered by the reader (a fresh "a year ago" differs after midnight).
    COleDateTime m_dtPriorCtLoaded;
    float m_fCtdiVol = 0.0f;
    CBitmap m_bmpLogoSource;  // the bitmap the logo control loaded, kept to draw the logo anew
    CBitmap m_bmpLogo;        // the logo as shown: at its control's size, on the face colour
    // Set while the form itself moves the selection to another row, which refreshes it.
    bool m_bMovingSelection = false;
    // The long-axis edit whose Enter is moving the focus on to its short axis; 0 otherwise.
    int m_nMovingFocusFrom = 0;
    // The kind of CT the nodules' follow-up statuses were last reset for (1000's index).
    int m_nCtType = 0;
    // The degree of coronary calcification last applied (1034's index), which lives in its box.
    int m_nCoronarySeverity = 0;
    CToolTipCtrl m_tips;
    int m_nTipRow = -1;  // the list row that the row tool covers; -1: none
    RECT m_rcTipRow{};
    bool m_bTipRowExplained = false;  // the row tool's text is made from the record as it stands
    RECT m_rcCategoryTool{};          // 1037's tool on the form, where the view is not scrolled
    POINT m_ptCategoryToolScroll{};   // the scroll position that the tool was last placed for
    CString m_strFinalCategoryTip;    // the tooltip reads it while it shows
    // The nodules deleted since the form's last other change, each with the row
    // it stood at, the last deleted last.
    struct DeletedNodule {
        std::unique_ptr<CNoduleItem> pItem;
        int nRow;
    };
    std::vector<DeletedNodule> m_deletedNodules;
    // Set while the form itself writes its controls: what it writes is no entry of the reader's.
    bool m_bWritingControls = false;
    // The drop-down list open now, or closed and not yet reconciled.
    struct OpenList {
        int nIDC = 0;             // 0: none
        int nOpenedOn = CB_ERR;   // the item the box showed when the list opened
        HWND hList = nullptr;     // the list's own window, which takes the clicks on its items
        bool bChosen = false;     // the reader chose an item: Enter, Tab or a click on one
        bool bClosed = false;     // closed; its reconcile is on its way
    } m_openList;
    // The report last copied, as composed from the entries then, and the
    // clipboard's sequence number right after the copy; 0: none is known to be there.
    CString m_strCopiedEntriesReport;
    DWORD m_nCopiedSequence = 0;
    CShutdownBlockReason m_shutdownBlockReason;

    // Nodule list
    void InitNoduleColumns();
    void UpdateNoduleRow(int nItem);
    int GetSelectedRow() const;
    CNoduleItem* GetNodule(int nItem) const;
    CNoduleItem* GetSelectedNodule() const;
    // The records of the rows in row order; a row without a record is passed over.
    std::vector<const CNoduleItem*> GetNodules() const;
    void SelectRow(int nItem);
    int InsertNoduleRow(int nItem, std::unique_ptr<CNoduleItem>& pItem);
    void OnAddNoduleClicked();
    void OnDeleteNoduleClicked();
    void OnNoduleSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnNoduleSelChanging(NMHDR* pNMHDR, LRESULT* pResult);
    void RestoreDeletedNodule();
    void ForgetDeletedNodules();
    void ShowSelection();

    // Nodule editors: what is typed (SizeEditors.cpp), and the choices and boxes
    bool IsCommittable(int nIDC) const;
    bool TakeTypedDiameter(int nIDC, double& dValue);
    bool CommitSize(int nIDC, bool bEnter);
    void OnSizeKillFocus(int nIDC);
    void OnImageNoKillFocus();
    void CommitEditor(int nIDC, bool bEnter);
    void CommitFocusedEditor();
    FilterResult CommitOnEnter(MSG& msg);
    void FinishNoduleEdit();
    void OnNoduleTypeChanged();
    void OnLobeChanged();
    void OnFollowUpChanged();
    void OnBoxClicked(int nIDC);
    void OnFeatureClicked(const FeatureBox& box);
    void OnOtherTextKillFocus();
    void OnEditChanged(int nIDC);
    void OnPriorCtDateChanged(NMHDR* pNMHDR, LRESULT* pResult);
    static void ClearInvalidPerifissural(CNoduleItem* pItem);

    // Drop-down lists (DropDownLists.cpp)
    void OnComboDropDown(int nIDC);
    void OnComboSelChange(int nIDC);
    void OnComboCloseUp(int nIDC);
    FilterResult TrackListChoice(MSG& msg);
    void ReconcileCombos();

    // Refresh and exam findings
    void RefreshForm();
    void LoadNoduleEditors(const CNoduleItem& item, bool bBaselineCt);
    void ClearNoduleEditors();
    void SetItemTextEnabled(int nIDC, const CString& text);
    CString FinalCategoryOfEntries() const;
    void UpdateFinalCategory();
    ExamFindings ReadExamFindings() const;
    void OnCtTypeChanged();
    void OnPriorCancerClicked();
    void OnFindingClicked();
    void OnCoronarySeverityChanged();

    // Reset and exit
    void ResetForm();
    void OnClearClicked();
    void OnExitClicked();
    void OnDestroy();
    bool HoldsEntries() const;
    bool PriorCtDateEntered() const;
    int AskBeforeDiscarding(const wchar_t* question) const;
    BOOL OnQueryEndSession();

    // Report
    void OnReportClicked();
    bool ValidateNodules();
    bool IsBaselineCt() const;
    ExamInputs ReadExamInputs() const;
    void KeepCopiedReport(const CString& strComposed, DWORD nSequence);
    void WithdrawOtherEntriesReport(const CString& strComposed);

    // Command keys
    FilterResult RunCommandKey(MSG& msg);
    void ParkFocus(int nIDC);
    void OnAddNoduleKey();
    void OnDeleteNoduleKey();
    void OnUndoDeleteKey();
    void OnReportKey();
    void OnPreviousNoduleKey();
    void OnNextNoduleKey();
    void MoveSelection(int nStep);
    FilterResult KeepDoubleClicksSingle(MSG& msg);

    // Tooltips
    void CreateTips();
    FilterResult RelayToTips(MSG& msg);
    void TrackTipRow(POINT ptList);
    void ExplainTipRow();
    void KeepCategoryToolOnCategory();
    void ForgetTips();
    void OnFinalCategoryTip(NMHDR* pNMHDR, LRESULT* pResult);

    // Window chrome
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void PlaceLogo();
    void DrawLogo();
    void OnSysColorChange();
    void SetSmallIcon();
    void CreateCategoryFont();

    // Control helpers
    bool IsChecked(int nIDC) const;
    void SetCheck(int nIDC, bool bChecked);
    int GetComboSel(int nIDC) const;
    void SetComboSel(int nIDC, int nIndex);
    void EnableControl(int nIDC, bool bEnable);
    void FocusEditSelectAll(int nIDC);
    CString GetControlText(int nIDC) const;
    CString GetComboItemText(int nIDC, int nIndex) const;
    bool IsDroppedCombo(HWND hWnd) const;
    void SetControlText(int nIDC, const CString& text);

    DECLARE_MESSAGE_MAP()
};
