// The yardsticks for start-up time: the settings dialog's own template run
// with a procedure that does nothing. Built twice: with the program's manifest
// and the version 6 controls loaded as the program loads them (THEMED), and
// without a manifest, with the classic controls.
#include <windows.h>
#include <commctrl.h>

#include "../../dialog/dialog.h"

static INT_PTR CALLBACK BareDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)dlg;
    (void)wParam;
    (void)lParam;
    return message == WM_INITDIALOG;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
#ifdef THEMED
    InitCommonControls();
#endif
    DialogBoxParamA(instance, DIALOG_TEMPLATE_NAME, NULL, BareDialogProc, 0);
    return 1;
}
