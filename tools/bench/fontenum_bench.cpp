// Times the font-list filter: over the system's own fonts, and over a large
// made-up font set in which names repeat as Wine repeats them per charset.
//   fontenum_bench [FAMILIES]   (default 1000; a tenth of it is run too)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "../../dialog/dialog.h"
#include "timing.h"

static int CALLBACK CountFamily(const LOGFONTA *, const TEXTMETRICA *, DWORD, LPARAM data)
{
    ++*(int *)data;
    return 1;
}

int main(int argc, char **argv)
{
    int families = argc > 1 ? atoi(argv[1]) : 1000;
    HWND dlg = CreateDialogParamA(GetModuleHandleA(NULL), DIALOG_TEMPLATE_NAME, NULL, ConfigDialogProc, 0);
    if (!dlg) {
        fprintf(stderr, "the dialog was not created\n");
        return 1;
    }

    HDC dc = GetDC(dlg);
    int reported = 0;
    double t0 = Now();
    EnumFontFamiliesA(dc, NULL, CountFamily, (LPARAM)&reported);
    double t1 = Now();
    EnumFontFamiliesA(dc, NULL, FontFamilyEnumProc, (LPARAM)dlg);
    double t2 = Now();
    ReleaseDC(dlg, dc);
    printf("system fonts: %d families reported; enumeration alone %.2f ms, with the filter %.2f ms\n",
           reported, (t1 - t0) * 1000, (t2 - t1) * 1000);

    DestroyWindow(dlg);

    // Made-up font sets reported as Wine reports them: per family an ASCII
    // name once, then the non-ASCII name and its "@" variant once per
    // character set, nine in a row.
    for (int count : {families / 10, families}) {
        dlg = CreateDialogParamA(GetModuleHandleA(NULL), DIALOG_TEMPLATE_NAME, NULL, ConfigDialogProc, 0);
        ENUMLOGFONTA font = {};
        TEXTMETRICA metrics = {};
        int before = (int)SendDlgItemMessageA(dlg, IDC_FONT, CB_GETCOUNT, 0, 0);
        int calls = 0;
        double t3 = Now();
        for (int family = 0; family < count; ++family) {
            wsprintfA(font.elfLogFont.lfFaceName, "Family %d", family);
            FontFamilyEnumProc(&font.elfLogFont, &metrics, TRUETYPE_FONTTYPE, (LPARAM)dlg);
            ++calls;
            for (int charset = 0; charset < 9; ++charset) {
                wsprintfA(font.elfLogFont.lfFaceName, "\xc0\xe9 Font %d", family);
                FontFamilyEnumProc(&font.elfLogFont, &metrics, TRUETYPE_FONTTYPE, (LPARAM)dlg);
                wsprintfA(font.elfLogFont.lfFaceName, "@\xc0\xe9 Font %d", family);
                FontFamilyEnumProc(&font.elfLogFont, &metrics, TRUETYPE_FONTTYPE, (LPARAM)dlg);
                calls += 2;
            }
        }
        double t4 = Now();
        int after = (int)SendDlgItemMessageA(dlg, IDC_FONT, CB_GETCOUNT, 0, 0);
        printf("made-up fonts: %d families in %d calls, %d listed, %.1f ms in all, %.2f us a call\n",
               count, calls, after - before, (t4 - t3) * 1000, (t4 - t3) * 1e6 / calls);
        DestroyWindow(dlg);
    }
    return 0;
}
