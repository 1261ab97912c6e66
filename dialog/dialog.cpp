// The dialog procedure of the settings dialog, and what happens when it
// opens and when the player presses OK.
#include "dialog.h"

#include <windowsx.h>

// The folder given when the dialog was created; the caller's string outlives the dialog.
static const wchar_t *ConfigFolder(HWND dlg)
{
    return (const wchar_t *)GetWindowLongPtrA(dlg, DWLP_USER);
}

void InitConfigDialog(HWND dlg)
{
    SetDlgItemTextA(dlg, IDC_NOTES, NOTES_TEXT);
    for (int mode = 0; mode < DISPLAY_MODE_COUNT; ++mode)
        SendDlgItemMessageA(dlg, IDC_DISPLAY_MODE, CB_ADDSTRING, 0, (LPARAM)DISPLAY_MODE_TEXT[mode]);

    ConfigData config;
    uint32_t error;
    if (!LoadConfigData(ConfigFolder(dlg), &config, &error))
        DefaultConfigData(&config);
    if (error)
        PostMessageA(dlg, WM_CONFIG_UNREADABLE, error, 0);

    // Both lists must be full before the record selects entries in them.
    FillFontList(dlg);
    ApplyConfigToDialog(dlg, &config);
}

static void OnInitDialog(HWND dlg, const wchar_t *folder)
{
    SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)folder);
    InitConfigDialog(dlg);
    SetUpPreview(dlg);
    StartPadView(dlg);
}

static void OnActivate(HWND dlg, int state)
{
    if (state == WA_INACTIVE)
        StopKeyTest(dlg);
}

static void OnDestroy(HWND dlg)
{
    StopPadView(dlg);
    StopPreview(dlg);
    ReleaseSampleFont(dlg);
}

// The system's words for an error, without the line break they end with.
static void DescribeError(DWORD error, wchar_t *text, DWORD size)
{
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0,
                                  text, size, NULL);
    if (length == 0)
        length = wsprintfW(text, L"error %lu", error);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' '))
        text[--length] = L'\0';
}

// Every message about Config.dat: a warning over the dialog whose text has the file's full
// path for its first %s and the system's words for the error for a second. Wide, as the path
// may hold letters that the system's code page has not.
static void WarnAboutConfigFile(HWND dlg, const wchar_t *format, DWORD error)
{
    // The folder is shorter than MAX_PATH; with Config.dat its path may be longer.
    const wchar_t *folder = ConfigFolder(dlg);
    wchar_t path[2 * MAX_PATH] = CONFIG_FILE_NAME L" in the program's folder";
    if (folder && *folder)
        wsprintfW(path, L"%s\\" CONFIG_FILE_NAME, folder);
    wchar_t reason[256];
    DescribeError(error, reason, 256);
    // wsprintfW writes at most 1024 characters; the path and the reason are shorter than 600.
    wchar_t text[1024];
    wsprintfW(text, format, path, reason);
    MessageBoxW(dlg, text, L"" DIALOG_CAPTION, MB_OK | MB_ICONWARNING);
}

// The dialog shows the defaults; the file stays as it is unless the player presses OK.
static void ReportUnreadableConfig(HWND dlg, DWORD error)
{
    // A modal dialog is shown once its queue is first empty; the message stands over it.
    ShowWindow(dlg, SW_SHOW);
    UpdateWindow(dlg);
    WarnAboutConfigFile(dlg,
                        L"Your settings in\r\n%s\r\ncould not be read: %s\r\n\r\n"
                        L"The dialog shows the default settings instead. Cancel leaves the file as it is; "
                        L"OK replaces it with the settings shown.\r\n\r\n"
                        L"If another program has the file open (the game, say), press Cancel, close that "
                        L"program and start the settings again.",
                        error);
}

// A failed save keeps the dialog open with every choice intact.
static void OnOk(HWND dlg)
{
    ConfigData config = CollectConfigFromDialog(dlg);
    uint32_t error;
    if (SaveConfigData(ConfigFolder(dlg), &config, &error))
        EndDialog(dlg, 1);
    else
        WarnAboutConfigFile(dlg,
                            L"Your settings could not be saved to\r\n%s\r\n%s\r\n\r\n"
                            L"Make sure the folder exists and can be written to, and that no other program "
                            L"holds the file, then press OK again, or press Cancel to leave without saving.",
                            error);
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
    case WM_INITDIALOG:     OnInitDialog(dlg, (const wchar_t *)lParam); return TRUE;
    case WM_PAINT:          PaintPreview(dlg); return TRUE;
    case WM_COMMAND:        OnCommand(dlg, LOWORD(wParam), HIWORD(wParam)); return FALSE;
    case WM_TIMER:          PollPadButtons(dlg); return TRUE;
    case WM_CTLCOLORSTATIC: return ColorPadHead((HWND)lParam, (HDC)wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  ClickPreview(dlg, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return TRUE;
    case WM_ACTIVATE:       OnActivate(dlg, LOWORD(wParam)); return FALSE;
    case WM_SYSCOLORCHANGE: RecolourPreview(dlg); return FALSE;
    case WM_DESTROY:        OnDestroy(dlg); return FALSE;
    case WM_CONFIG_UNREADABLE: ReportUnreadableConfig(dlg, (DWORD)wParam); return TRUE;
    }
    return FALSE;
}
