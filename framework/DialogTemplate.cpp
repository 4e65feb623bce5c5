#include "DialogTemplate.h"

#include <cstring>

#include "GdiObjects.h"

namespace {

constexpr WORD DIALOGEX_VERSION = 1;
constexpr WORD DIALOGEX_SIGNATURE = 0xFFFF;
// dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy.
constexpr size_t DIALOGEX_HEADER_SIZE = 26;
constexpr size_t EXSTYLE_OFFSET = 8, STYLE_OFFSET = 12, CX_OFFSET = 22, CY_OFFSET = 24;
// A point size that asks for the system's message font instead of a font of the template's.
constexpr WORD MESSAGE_FONT_POINTS = 0x7FFF;
constexpr int POINTS_PER_INCH = 72;
// Below this character height Hangul can no longer be read.
constexpr int MIN_CHAR_HEIGHT_PX = 10;
// The dialog manager takes the average width of these letters as its horizontal unit.
constexpr wchar_t ALPHABET[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int ALPHABET_LENGTH = 52;

// Reads a template's WORD fields in order, never past its end.
struct TemplateCursor {
    const BYTE* data;
    size_t size;
    size_t offset;

    bool Next(WORD& value) {
        if (offset + sizeof value > size) return false;
        memcpy(&value, data + offset, sizeof value);
        offset += sizeof value;
        return true;
    }
    bool String(wchar_t* text = nullptr, size_t capacity = 0) {
        size_t length = 0;
        for (WORD ch; Next(ch);) {
            if (ch == 0) {
                if (capacity) text[length] = L'\0';
                return true;
            }
            if (length + 1 < capacity) text[length++] = static_cast<wchar_t>(ch);
        }
        return false;
    }
    // A menu or class field: 0 for none, 0xFFFF and an ordinal, or a string.
    bool NameOrOrdinal(bool& present) {
        WORD first;
        if (!Next(first)) return false;
        present = first != 0;
        if (first == 0) return true;
        if (first == 0xFFFF) return Next(first);
        offset -= sizeof first;
        return String();
    }
};

DWORD ReadDword(const BYTE* data, size_t offset) {
    DWORD value;
    memcpy(&value, data + offset, sizeof value);
    return value;
}

short ReadShort(const BYTE* data, size_t offset) {
    short value;
    memcpy(&value, data + offset, sizeof value);
    return value;
}

int ScreenDpi() {
    HDC hScreen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(hScreen, LOGPIXELSY);
    ReleaseDC(nullptr, hScreen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

// The smallest whole point size that still gives characters of MIN_CHAR_HEIGHT_PX.
WORD SmallestLegiblePointSize() {
    const int dpi = ScreenDpi();
    WORD nPoints = 1;
    while (MulDiv(nPoints, dpi, POINTS_PER_INCH) < MIN_CHAR_HEIGHT_PX) ++nPoints;
    return nPoints;
}

bool Fits(SIZE size, const RECT& area) {
    return size.cx <= area.right - area.left && size.cy <= area.bottom - area.top;
}

}  // namespace

CDialogTemplate::CDialogTemplate(UINT nIDTemplate) {
    HMODULE hModule = GetModuleHandleW(nullptr);
    HRSRC hFound = FindResourceW(hModule, MAKEINTRESOURCEW(nIDTemplate), RT_DIALOG);
    HGLOBAL hLoaded = hFound ? LoadResource(hModule, hFound) : nullptr;
    m_pResource = hLoaded ? static_cast<const BYTE*>(LockResource(hLoaded)) : nullptr;
    if (!m_pResource) return;
    m_nResourceSize = SizeofResource(hModule, hFound);

    // Only an extended template with a font of its own can be measured and refitted.
    TemplateCursor cursor{m_pResource, m_nResourceSize, 0};
    WORD version = 0, signature = 0;
    if (m_nResourceSize < DIALOGEX_HEADER_SIZE || !cursor.Next(version) || !cursor.Next(signature) ||
        version != DIALOGEX_VERSION || signature != DIALOGEX_SIGNATURE)
        return;
    m_dwExStyle = ReadDword(m_pResource, EXSTYLE_OFFSET);
    m_dwStyle = ReadDword(m_pResource, STYLE_OFFSET);
    m_sizeDialogUnits = {ReadShort(m_pResource, CX_OFFSET), ReadShort(m_pResource, CY_OFFSET)};
    if (!(m_dwStyle & DS_SETFONT)) return;

    cursor.offset = DIALOGEX_HEADER_SIZE;
    bool bHasClass = false;
    WORD nPointSize = 0, weight = 0, italicAndCharset = 0;
    if (!cursor.NameOrOrdinal(m_bHasMenu) || !cursor.NameOrOrdinal(bHasClass) || !cursor.String()) return;
    const size_t nPointSizeOffset = cursor.offset;
    if (!cursor.Next(nPointSize) || !cursor.Next(weight) || !cursor.Next(italicAndCharset) ||
        !cursor.String(m_font.lfFaceName, LF_FACESIZE) || nPointSize == MESSAGE_FONT_POINTS)
        return;
    m_font.lfWeight = weight;
    m_font.lfItalic = LOBYTE(italicAndCharset);
    m_font.lfCharSet = HIBYTE(italicAndCharset);
    m_nPointSizeOffset = nPointSizeOffset;
    m_nPointSize = nPointSize;
}

const DLGTEMPLATE* CDialogTemplate::Get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(m_copy.empty() ? m_pResource : m_copy.data());
}

// As the dialog manager does it: the font at the screen's resolution gives the
// base units, the dialog units make the client area, and the frame goes around it.
SIZE CDialogTemplate::GetWindowSize(WORD nPointSize) const {
    const LONG baseUnits = GetDialogBaseUnits();
    int xBaseUnit = LOWORD(baseUnits), yBaseUnit = HIWORD(baseUnits);

    HDC hScreen = GetDC(nullptr);
    LOGFONTW font = m_font;
    font.lfHeight = -MulDiv(nPointSize, GetDeviceCaps(hScreen, LOGPIXELSY), POINTS_PER_INCH);
    CFont dialogFont;
    if (dialogFont.CreateFontIndirect(font)) {
        HGDIOBJ hOldFont = SelectObject(hScreen, dialogFont.GetSafeHandle());
        TEXTMETRICW metrics{};
        SIZE alphabet{};
        if (GetTextMetricsW(hScreen, &metrics) &&
            GetTextExtentPoint32W(hScreen, ALPHABET, ALPHABET_LENGTH, &alphabet)) {
            xBaseUnit = (alphabet.cx / (ALPHABET_LENGTH / 2) + 1) / 2;
            yBaseUnit = metrics.tmHeight;
        }
        SelectObject(hScreen, hOldFont);
    }
    ReleaseDC(nullptr, hScreen);

    RECT rect{0, 0, MulDiv(m_sizeDialogUnits.cx, xBaseUnit, 4), MulDiv(m_sizeDialogUnits.cy, yBaseUnit, 8)};
    const DWORD dwExStyle = m_dwExStyle | ((m_dwStyle & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    AdjustWindowRectEx(&rect, m_dwStyle, m_bHasMenu, dwExStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void CDialogTemplate::SetPointSize(WORD nPointSize) {
    if (!m_nPointSize) return;
    if (m_copy.empty()) m_copy.assign(m_pResource, m_pResource + m_nResourceSize);
    memcpy(m_copy.data() + m_nPointSizeOffset, &nPointSize, sizeof nPointSize);
    m_nPointSize = nPointSize;
}

void CDialogTemplate::FitInto(const RECT& workArea) {
    const WORD nTemplatePoints = m_nPointSize;
    if (!nTemplatePoints || Fits(GetWindowSize(nTemplatePoints), workArea)) return;
    const WORD nSmallest = SmallestLegiblePointSize();
    WORD nPoints = nTemplatePoints;
    while (nPoints > nSmallest) {
        --nPoints;
        if (Fits(GetWindowSize(nPoints), workArea)) break;
    }
    if (nPoints != nTemplatePoints) SetPointSize(nPoints);
}
