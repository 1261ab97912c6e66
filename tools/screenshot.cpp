// Takes a picture of the settings dialog for the README (scripts/screenshots): the real dialog
// over a Config.dat of the default settings, posed, its client area written as a 24-bit BMP.
//   screenshot POSE FILE.bmp   POSE: arrows or alt (the movement keys saved), gamepad (button 3
//   held) or keys (the key test started by a click on the picture, Up, Left and Z held).
// Config.dat is written to the current folder, which the dialog is given.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "../dialog/dialog.h"
#include "../res/keylayout.h"

static int32_t Button3Held() { return 1 << 2; }

// Handles this thread's messages until ready() holds; false, naming what it waited for, when
// 30 seconds pass first.
static bool WaitFor(const char *what, const std::function<bool()> &ready)
{
    const DWORD start = GetTickCount();
    while (!ready()) {
        for (MSG msg; PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
        if (GetTickCount() - start > 30000) {
            fprintf(stderr, "screenshot: waited 30 s in vain for %s\n", what);
            return false;
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Makes the dialog active. Wine releases the keys it holds down that the X server does not once
// its window gets the X server's focus: the numeric keypad's minus, pressed before and released
// by nobody else, shows when that has happened.
static bool Activate(HWND dlg)
{
    keybd_event(VK_SUBTRACT, 0x4A, 0, 0);
    ShowWindow(dlg, SW_SHOW);
    SetForegroundWindow(dlg);
    return WaitFor("the dialog active and the keyboard's state following it", [&] {
        return GetActiveWindow() == dlg && !(GetAsyncKeyState(VK_SUBTRACT) & 0x8000);
    });
}

// Presses (up 0) or releases (up KEYEVENTF_KEYUP) Up, Left and Z, each by its key code and its
// place on the keyboard.
static void UpLeftZ(DWORD up)
{
    static const struct { const char *name; BYTE code; } keys[] = {{"Up", VK_UP}, {"Left", VK_LEFT}, {"Z", 'Z'}};
    for (const auto &key : keys) {
        const unsigned scan = KEYS[FindKey(key.name)].scan;
        keybd_event(key.code, (BYTE)scan, up | (scan & SCAN_EXTENDED ? KEYEVENTF_EXTENDEDKEY : 0), 0);
    }
}

// Starts the key test as a player does, by a click on the picture, and holds Up, Left and Z
// down until the dialog's thread has taken them.
static bool HoldKeys(HWND dlg)
{
    const RECT picture = PreviewRect();
    const LPARAM at = MAKELPARAM((picture.left + picture.right) / 2, (picture.top + picture.bottom) / 2);
    SendMessageA(dlg, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(dlg, WM_LBUTTONUP, 0, at);
    UpLeftZ(0);
    return WaitFor("Up, Left and Z held in the dialog", [] {
        return (GetKeyState(VK_UP) & GetKeyState(VK_LEFT) & GetKeyState('Z') & 0x8000) != 0;
    });
}

// Writes the dialog's client area, as painted, to PATH as a bottom-up 24-bit BMP.
static bool WritePicture(HWND dlg, const char *path)
{
    RECT client;
    GetClientRect(dlg, &client);
    BITMAPINFOHEADER info = {sizeof info, client.right, client.bottom, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> bits((client.right * 3 + 3) / 4 * 4 * client.bottom);
    HDC dc = GetDC(dlg);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);   // deleted below
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, client.bottom, bits.data(), (BITMAPINFO *)&info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(dlg, dc);
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info;
    const BITMAPFILEHEADER header = {0x4D42, (DWORD)(offset + bits.size()), 0, 0, offset};
    FILE *file = fopen(path, "wb");
    bool written = file && fwrite(&header, sizeof header, 1, file) == 1 && fwrite(&info, sizeof info, 1, file) == 1 &&
                   fwrite(bits.data(), bits.size(), 1, file) == 1;
    return file && fclose(file) == 0 && written;
}

int main(int argc, char **argv)
{
    const char *pose = argc == 3 ? argv[1] : "";
    const bool keys = strcmp(pose, "keys") == 0, gamepad = strcmp(pose, "gamepad") == 0;
    if (!keys && !gamepad && strcmp(pose, "arrows") != 0 && strcmp(pose, "alt") != 0) {
        fprintf(stderr, "usage: screenshot arrows|alt|gamepad|keys FILE.bmp\n");
        return 2;
    }
    static wchar_t folder[MAX_PATH];   // the dialog's, for as long as it lives
    GetCurrentDirectoryW(MAX_PATH, folder);
    ConfigData config;
    DefaultConfigData(&config);
    strcpy(config.fontName, DEFAULT_FONT_ENTRY);   // as OK saves the default entry
    config.moveKeys = strcmp(pose, "alt") == 0;
    if (!SaveConfigData(folder, &config)) {
        fprintf(stderr, "screenshot: cannot write Config.dat\n");
        return 1;
    }
    if (gamepad)
        gReadPadButtons = Button3Held;
    InitCommonControls();
    HWND dlg = CreateDialogParamA(GetModuleHandleA(NULL), DIALOG_TEMPLATE_NAME, NULL, ConfigDialogProc, (LPARAM)folder);
    if (!dlg || !Activate(dlg) || (keys && !HoldKeys(dlg)))
        return 1;
    if (gamepad)
        PollPadButtons(dlg);
    UpdateWindow(dlg);
    const bool written = WritePicture(dlg, argv[2]);
    if (keys)
        UpLeftZ(KEYEVENTF_KEYUP);
    DestroyWindow(dlg);
    return written ? 0 : 1;
}
