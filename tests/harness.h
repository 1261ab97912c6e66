// What every test needs: a scratch program folder, Config.dat images written
// from the file format, and the real dialog.
#ifndef VESKAROT_HARNESS_H
#define VESKAROT_HARNESS_H

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "../app/moduledir.h"
#include "../dialog/dialog.h"
#include "../res/keylayout.h"

// moveKeys jumpKeys okKey displayMode useGamepad, then buttons 1 to 8.
using Ints = std::array<int32_t, 13>;
constexpr Ints DEFAULTS = {0, 0, 0, 0, 1, 2, 1, 5, 6, 3, 4, 6, 3};

// A Config.dat image: the magic, the face name cut or padded to 64 bytes, the integers.
inline std::string Record(const Ints &ints, const std::string &font = "")
{
    std::string bytes = "VESKAROT20041206" + std::string(16, '\0') + font.substr(0, 64);
    bytes.resize(96);
    return bytes.append((const char *)ints.data(), sizeof ints);
}

inline std::string Bytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<none>";
}

inline void Put(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Keys pressed (+Name) and released (-Name) through the system's input, each by its place on the
// keyboard (the names of res/keylayout.h); +Q=A is the key in Q's place as a keyboard reports it
// where that key types A.
inline void Keys(const std::string &keys)
{
    std::istringstream words(keys);
    for (std::string word; words >> word;) {
        const size_t typed = word.find('=');
        const unsigned scan = KEYS[FindKey(word.substr(1, typed - 1).c_str())].scan;
        const DWORD flags = (word[0] == '-' ? KEYEVENTF_KEYUP : 0) | (scan & SCAN_EXTENDED ? KEYEVENTF_EXTENDEDKEY : 0);
        keybd_event(typed == std::string::npos ? 0 : word.back(), (BYTE)scan, flags | (typed == std::string::npos ? KEYEVENTF_SCANCODE : 0), 0);
    }
}

// Handles this thread's messages until ready() holds; fails naming what it waited for.
inline bool WaitFor(const std::string &what, const std::function<bool()> &ready)
{
    for (DWORD start = GetTickCount(); !ready(); MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT)) {
        for (MSG msg; PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
        if (GetTickCount() - start > 30000)
            return ADD_FAILURE() << "waited 30 s in vain for " << what, false;
    }
    return true;
}

// Makes a window of this thread active, through show() and then the system, and waits until
// the keyboard's state has followed the focus. Wine from version 9 on, when its window gets the
// X server's focus, releases the keys it holds down that the X server does not, keys that the
// test has just sent among them: the minus of the numeric keypad, which the picture does not
// show, pressed before show() and released by nobody else, proves that this has happened. The
// pointer goes to a corner first: a window that gets the pointer is brought in line too, and
// that must not be taken for the focus.
inline bool Activate(const HWND &window, const std::function<void()> &show)
{
    auto wine = (const char *(*)())(void *)GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    const bool resets = wine && atoi(wine()) >= 9;
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    if (resets)
        keybd_event(VK_SUBTRACT, 0x4A, 0, 0);
    show();
    if (GetActiveWindow() != window)   // asked once: each request may move the X server's focus again
        SetForegroundWindow(window);
    return WaitFor("the window active and the keyboard's state following it", [&] {
        return GetActiveWindow() == window && !(resets && GetAsyncKeyState(VK_SUBTRACT) & 0x8000);
    });
}

// Each test gets an empty folder that the store and the dialog are given, and may open the
// real dialog from the real template, modeless so that the test can poke it.
class Folder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        GetTempFileNameA(temp, "vsk", 0, temp);
        DeleteFileA(temp);
        ASSERT_TRUE(CreateDirectoryA(temp, NULL));
        dir = temp;
    }
    void TearDown() override
    {
        DestroyWindow(dlg);
        for (const char *name : {"Config.dat", "Config.dat.new", "VeskarotSettings.exe"})
            DeleteFileA(Path(name).c_str()), RemoveDirectoryA(Path(name).c_str());
        RemoveDirectoryA(dir.c_str());
    }
    std::string Path(const char *name = "Config.dat") const { return dir + "\\" + name; }
    void Open()
    {
        dlg = CreateDialogParamA(GetModuleHandleA(NULL), DIALOG_TEMPLATE_NAME, NULL, ConfigDialogProc, (LPARAM)dir.c_str());
        ASSERT_TRUE(dlg != NULL) << "no dialog, error " << GetLastError();
        ShowWindow(dlg, SW_SHOW);
    }
    void Click(int id) const { SendDlgItemMessageA(dlg, id, BM_CLICK, 0, 0); }
    void Choose(int id, int index) const
    {
        SendDlgItemMessageA(dlg, id, CB_SETCURSEL, index, 0);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)GetDlgItem(dlg, id));
    }
    std::string Entries(int id) const
    {
        std::string entries;
        char text[256];
        for (int i = 0; SendDlgItemMessageA(dlg, id, CB_GETLBTEXT, i, (LPARAM)text) != CB_ERR; ++i)
            entries += std::string(i ? "|" : "") + text;
        return entries;
    }
    std::string Text(int id) const
    {
        char text[1024] = "";
        GetDlgItemTextA(dlg, id, text, sizeof text);
        return text;
    }
    std::string dir;
    HWND dlg = NULL;
};

#endif
