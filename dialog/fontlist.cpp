// The font list and the sample text drawn in the chosen font.
#include "dialog.h"

#include <cstring>

// The font the sample control draws with; the control does not own it.
// Replaced on every rebuild, deleted when the dialog ends.
static HFONT gSampleFont;
// The sample's cell: 20 by 10 pixels at the layout's DPI, in proportion at the dialog's.
static SIZE gSampleCell;

// Listed: TrueType families whose name has a character outside ASCII with
// no '@' before it. '@' names are the vertical variants of East Asian fonts;
// a '@' behind the first high byte may be the trail byte of a double-byte
// character and does not count.
static int QualifiesForList(const char *faceName, DWORD fontType)
{
    if (!(fontType & TRUETYPE_FONTTYPE))
        return 0;
    for (const unsigned char *p = (const unsigned char *)faceName; *p; ++p) {
        if (*p == '@')
            return 0;
        if (*p >= 0x80)
            return 1;
    }
    return 0;
}

// Wine reports a family once per character set, one right after the other;
// list each name once. The search starts at the last entry, where such a
// repeat stands, and wraps around to the others.
int CALLBACK FontFamilyEnumProc(const LOGFONTA *font, const TEXTMETRICA *metrics,
                                DWORD fontType, LPARAM data)
{
    (void)metrics;
    HWND dlg = (HWND)data;
    if (!IsWindow(dlg) || !QualifiesForList(font->lfFaceName, fontType))
        return 1;
    LRESULT count = SendDlgItemMessageA(dlg, IDC_FONT, CB_GETCOUNT, 0, 0);
    if (SendDlgItemMessageA(dlg, IDC_FONT, CB_FINDSTRINGEXACT, (WPARAM)(count - 2),
                            (LPARAM)font->lfFaceName) == CB_ERR)
        SendDlgItemMessageA(dlg, IDC_FONT, CB_ADDSTRING, 0, (LPARAM)font->lfFaceName);
    return 1;
}

void FillFontList(HWND dlg)
{
    SendDlgItemMessageA(dlg, IDC_FONT, CB_ADDSTRING, 0, (LPARAM)DEFAULT_FONT_ENTRY);
    HDC dc = GetDC(dlg);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    gSampleCell = SIZE{MulDiv(10, dpi, LAYOUT_DPI), MulDiv(20, dpi, LAYOUT_DPI)};
    EnumFontFamiliesA(dc, NULL, FontFamilyEnumProc, (LPARAM)dlg);
    SendDlgItemMessageA(dlg, IDC_FONT, CB_SETCURSEL, 0, 0);
    ReleaseDC(dlg, dc);
}

// Selects the entry that is the saved name, letter case ignored; where none
// is, the first that begins with it; where none does, the default entry. A
// selection made by the program sends no CBN_SELCHANGE, so the sample is
// rebuilt here.
void SelectSavedFont(HWND dlg, const ConfigData *config)
{
    char name[sizeof config->fontName + 1];
    memcpy(name, config->fontName, sizeof config->fontName);
    name[sizeof config->fontName] = '\0';

    LRESULT index = SendDlgItemMessageA(dlg, IDC_FONT, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name);
    if (index == CB_ERR)
        index = SendDlgItemMessageA(dlg, IDC_FONT, CB_FINDSTRING, (WPARAM)-1, (LPARAM)name);
    if (index == CB_ERR)
        index = 0;
    SendDlgItemMessageA(dlg, IDC_FONT, CB_SETCURSEL, (WPARAM)index, 0);
    UpdateFontSample(dlg);
}

int UpdateFontSample(HWND dlg)
{
    char text[LF_FACESIZE];
    GetDlgItemTextA(dlg, IDC_FONT, text, sizeof text);
    const char *faceName = strcmp(text, DEFAULT_FONT_ENTRY) == 0 ? NULL : text;
    HFONT font = CreateFontA(gSampleCell.cy, gSampleCell.cx, 0, 0, FW_NORMAL,
                             FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, FIXED_PITCH | FF_DONTCARE, faceName);
    SendDlgItemMessageA(dlg, IDC_FONT_SAMPLE, WM_SETFONT, (WPARAM)font, TRUE);
    // The control has its successor now; the old font may go.
    if (gSampleFont)
        DeleteObject(gSampleFont);
    gSampleFont = font;
    return 1;
}

void ReleaseSampleFont(HWND dlg)
{
    SendDlgItemMessageA(dlg, IDC_FONT_SAMPLE, WM_SETFONT, 0, FALSE);
    if (gSampleFont)
        DeleteObject(gSampleFont);
    gSampleFont = NULL;
}
