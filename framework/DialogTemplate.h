#pragma once
#include <windows.h>

#include <vector>

// A dialog template (DLGTEMPLATEEX) from the program's resources, and its
// window size at a given font size as the dialog manager will compute it.
// Where the dialog does not fit the work area it opens in, it is shown from a
// copy whose only change is a smaller font: the layout is in dialog units, so
// every control, gap and caption shrinks with the font.
class CDialogTemplate {
public:
    explicit CDialogTemplate(UINT nIDTemplate);

    // The template to create the dialog from; nullptr when the resource is missing.
    const DLGTEMPLATE* Get() const;
    // The font size in points; 0 for a template without a font of its own.
    WORD GetPointSize() const { return m_nPointSize; }
    // The outer size of the dialog window at that font size, in pixels.
    SIZE GetWindowSize(WORD nPointSize) const;
    // Switches to a copy of the template in that font size.
    void SetPointSize(WORD nPointSize);
    // Keeps the template as it is where its window fits the area; otherwise takes
    // the largest whole point size that fits, but none below a legible size.
    void FitInto(const RECT& workArea);

private:
    const BYTE* m_pResource = nullptr;
    DWORD m_nResourceSize = 0;
    std::vector<BYTE> m_copy;  // empty while the resource is used as it is

    // From the template's header, for measuring.
    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    SIZE m_sizeDialogUnits{};
    bool m_bHasMenu = false;
    size_t m_nPointSizeOffset = 0;
    WORD m_nPointSize = 0;
    LOGFONTW m_font{};  // without its height, which follows the point size
};
