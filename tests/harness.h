// What every test needs: a scratch program folder, Config.dat images written
// from the file format, the real dialog, and waits with a deadline.
#ifndef VESKAROT_HARNESS_H
#define VESKAROT_HARNESS_H

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "../dialog/dialog.h"
#include "../res/keylayout.h"

// What Bytes() reads where there is no file.
inline const std::string NO_FILE = "<none>";

// A Config.dat image: the magic, the face name cut or padded to its 64 bytes, and the settings
// of the defaults but for those the fields name: "move=1 jump=-1 ok=1 mode=2 pad=0" (moveKeys,
// jumpKeys, okKey, displayMode, useGamepad) and "buttons=6,4,1,2,3,5,6,1" (buttons 1 to 8), in
// decimal or in hexadecimal (0x...).
inline std::string Record(const std::string &fields = "", const std::string &font = "")
{
    const std::vector<std::string> names = {"move", "jump", "ok", "mode", "pad", "buttons"};
    int32_t ints[13] = {0, 0, 0, 0, 1, 2, 1, 5, 6, 3, 4, 6, 3};
    std::istringstream words(fields);
    for (std::string word; words >> word;) {
        std::istringstream values(word.substr(word.find('=') + 1));
        int i = std::find(names.begin(), names.end(), word.substr(0, word.find('='))) - names.begin();
        for (std::string value; std::getline(values, value, ',');)
            ints[i++] = std::stoi(value, nullptr, 0);
    }
    std::string bytes = "VESKAROT20041206";
    bytes.resize(offsetof(ConfigData, fontName));
    bytes += font.substr(0, sizeof ConfigData::fontName);
    bytes.resize(offsetof(ConfigData, moveKeys));
    return bytes.append((const char *)ints, sizeof ints);
}

inline std::string Bytes(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : NO_FILE;
}

inline void Put(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Keys pressed (+Name) and released (-Name) through the system's input, each by its place on the
// keyboard (the names of res/keylayout.h) and the key it types there; +Q=A is the key in Q's place
// as a keyboard reports it where that key types A.
inline void Keys(const std::string &keys)
{
    std::istringstream words(keys);
    for (std::string word; words >> word;) {
        const unsigned scan = KEYS[FindKey(word.substr(1, word.find('=') - 1).c_str())].scan;
        const bool typed = word.find('=') != std::string::npos, extended = scan & SCAN_EXTENDED;
        const UINT place = (scan & 0xFF) | (extended ? 0xE000 : 0);   // as MapVirtualKeyA takes it
        const UINT key = typed ? word.back() : MapVirtualKeyA(place, MAPVK_VSC_TO_VK_EX);
        const DWORD flags = (word[0] == '-' ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        keybd_event((BYTE)key, (BYTE)scan, flags | (typed ? 0 : KEYEVENTF_SCANCODE), 0);   // the place, or the key
    }
}

// Handles this thread's messages until ready() holds, each key through the dialog manager of its
// window, as a dialog's message loop does; a failure that names what it waited for when 30
// seconds pass first.
inline testing::AssertionResult WaitFor(const std::string &what, const std::function<bool()> &ready)
{
    const DWORD start = GetTickCount();
    while (!ready()) {
        for (MSG msg; PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);)
            if (!IsDialogMessageA(GetAncestor(msg.hwnd, GA_ROOT), &msg))
                DispatchMessageA(&msg);
        if (GetTickCount() - start > 30000)
            return testing::AssertionFailure() << "waited 30 s in vain for " << what;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    return testing::AssertionSuccess();
}

// Makes a window of this thread (which show() may create) active, through show() and then the
// system, and waits until the keyboard's state has followed the focus. Wine, when its window
// gets the X server's focus, releases the keys it holds down that the X server does not, keys
// that the test has just sent among them: the minus of the numeric keypad, which the picture
// does not show, pressed before show() and released by nobody else, proves that this has
// happened. The pointer goes to a corner first: a window that gets the pointer is brought in
// line too, and that must not be taken for the focus.
inline testing::AssertionResult Activate(const HWND &window, const std::function<void()> &show)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    keybd_event(VK_SUBTRACT, 0x4A, 0, 0);
    show();
    if (GetActiveWindow() != window)   // asked once: each request may move the X server's focus again
        SetForegroundWindow(window);
    return WaitFor("the window active and the keyboard's state following it", [&] {
        return GetActiveWindow() == window && !(GetAsyncKeyState(VK_SUBTRACT) & 0x8000);
    });
}

// Each test gets an empty folder that the store and the dialog are given, and may open the
// real dialog from the real template, modeless so that the test can poke it.
class Folder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove_all(dir);
        ASSERT_TRUE(std::filesystem::create_directory(dir)) << dir;
    }
    void TearDown() override
    {
        DestroyWindow(dlg);
        std::filesystem::remove_all(dir);
    }
    void Open()
    {
        const HINSTANCE instance = GetModuleHandleA(NULL);
        dlg = CreateDialogParamA(instance, DIALOG_TEMPLATE_NAME, 0, ConfigDialogProc, (LPARAM)dir.c_str());
        ASSERT_TRUE(dlg != NULL) << "no dialog, error " << GetLastError();
        ShowWindow(dlg, SW_SHOW);
    }
    void Click(int id) const { SendDlgItemMessageA(dlg, id, BM_CLICK, 0, 0); }
    // The dialog's folder (wide, as the dialog takes it) and Config.dat in it.
    const std::string name = "veskarot-" + std::to_string(GetCurrentProcessId());
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / name, file = dir / "Config.dat";
    HWND dlg = NULL;
};

#endif
