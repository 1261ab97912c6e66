// The settings dialog as if button 3 of a controller were held, for the README's picture of a
// lit column head (scripts/screenshots). Config.dat is read from the program's folder, as by the
// settings program.
#include <windows.h>
#include <commctrl.h>

#include "../app/moduledir.h"
#include "../dialog/dialog.h"

static int32_t Button3Held() { return 1 << 2; }

static INT_PTR CALLBACK PoseDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    INT_PTR result = ConfigDialogProc(dlg, message, wParam, lParam);
    if (message == WM_INITDIALOG)
        PollPadButtons(dlg);   // lit from the first paint, not from the view's first poll
    return result;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    gReadPadButtons = Button3Held;
    InitCommonControls();
    InitModuleDir();
    DialogBoxParamA(instance, DIALOG_TEMPLATE_NAME, NULL, PoseDialogProc, (LPARAM)gModuleDir);
    return 0;
}
