// The dialog procedure of the settings dialog, and what happens when it
// opens and when the player presses OK.
#include "dialog.h"

void InitConfigDialog(HWND dlg)
{
    SetDlgItemTextA(dlg, IDC_NOTES, NOTES_TEXT);
    for (int mode = 0; mode < DISPLAY_MODE_COUNT; ++mode)
        SendDlgItemMessageA(dlg, IDC_DISPLAY_MODE, CB_ADDSTRING, 0, (LPARAM)DISPLAY_MODE_TEXT[mode]);

    ConfigData config;
    if (!LoadConfigData(ConfigFolder(dlg), &config))
        DefaultConfigData(&config);

    // Both lists must be full before the record selects entries in them.
    FillFontList(dlg);
    ApplyConfigToDialog(dlg, &config);
}

// The DPI of the dialog: the system's, since the program declares itself aware of it.
int DialogDpi(HWND dlg)
{
    HDC dc = GetDC(dlg);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(dlg, dc);
    return dpi;
}

// The folder given when the dialog was created; the caller's string outlives the dialog.
const char *ConfigFolder(HWND dlg)
{
    return (const char *)GetWindowLongPtrA(dlg, DWLP_USER);
}

static void OnInitDialog(HWND dlg, const char *folder)
{
    SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)folder);
    InitConfigDialog(dlg);
    SetUpPreview(dlg);
    StartPadView(dlg);
}

static void OnActivate(HWND dlg, int state)
{
    if (state == WA_INACTIVE)
        ReleasePreviewKeys(dlg);
}

static void OnDestroy(HWND dlg)
{
    StopPadView(dlg);
    StopPreview(dlg);
    ReleaseSampleFont(dlg);
}

static void ReportSaveFailure(HWND dlg)
{
    char path[MAX_PATH] = CONFIG_FILE_NAME " in the program's folder";
    BuildConfigPath(path, sizeof path, ConfigFolder(dlg), CONFIG_FILE_NAME);
    // wsprintfA writes at most 1024 bytes; the path is shorter than MAX_PATH.
    char text[1024];
    wsprintfA(text,
              "Your settings could not be saved to\r\n%s\r\n\r\n"
              "Make sure the folder exists and can be written to, then press OK again, "
              "or press Cancel to leave without saving.",
              path);
    MessageBoxA(dlg, text, DIALOG_CAPTION, MB_OK | MB_ICONWARNING);
}

// A failed save keeps the dialog open with every choice intact.
static void OnOk(HWND dlg)
{
    if (CollectConfigFromDialog(dlg))
        EndDialog(dlg, 1);
    else
        ReportSaveFailure(dlg);
}

static void OnRestoreDefaults(HWND dlg)
{
    ConfigData config;
    ApplyConfigToDialog(dlg, DefaultConfigData(&config));
    UpdatePadControls(dlg);
    // Setting the radios directly sends no command, so bring the picture along here.
    SwitchPreview(dlg, IsDlgButtonChecked(dlg, IDC_MOVE_ARROWS) ? 0 : 1);
}

static void OnCommand(HWND dlg, int id, int code)
{
    switch (id) {
    case IDOK:            OnOk(dlg); break;
    case IDCANCEL:        EndDialog(dlg, 0); break;
    case IDC_FONT:        if (code == CBN_SELCHANGE) UpdateFontSample(dlg); break;
    case IDC_USE_GAMEPAD: UpdatePadControls(dlg); break;
    case IDC_DEFAULTS:    OnRestoreDefaults(dlg); break;
    case IDC_MOVE_ARROWS: SwitchPreview(dlg, 0); break;
    case IDC_MOVE_ALT:    SwitchPreview(dlg, 1); break;
    }
}

INT_PTR CALLBACK ConfigDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:     OnInitDialog(dlg, (const char *)lParam); return TRUE;
    case WM_PAINT:          PaintPreview(dlg); return TRUE;
    case WM_COMMAND:        OnCommand(dlg, LOWORD(wParam), HIWORD(wParam)); return FALSE;
    case WM_TIMER:          PollPadButtons(dlg); return TRUE;
    case WM_CTLCOLORSTATIC: return ColorPadHead((HWND)lParam, (HDC)wParam);
    case WM_ACTIVATE:       OnActivate(dlg, LOWORD(wParam)); return FALSE;
    case WM_SYSCOLORCHANGE: RecolourPreview(dlg); return FALSE;
    case WM_DESTROY:        OnDestroy(dlg); return FALSE;
    }
    return FALSE;
}
