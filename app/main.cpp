// Entry point of the settings program: find the program's folder, where
// Config.dat lives, and run the settings dialog.
#include <windows.h>
#include <commctrl.h>

#include "../dialog/dialog.h"
#include "moduledir.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    // Loads the version 6 controls that the manifest asks for.
    InitCommonControls();
    InitModuleDir();
    DialogBoxParamA(instance, DIALOG_TEMPLATE_NAME, NULL, ConfigDialogProc, (LPARAM)gModuleDir);
    return 1;
}
