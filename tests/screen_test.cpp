// The program's resources, and the program itself started from its folder and left by
// keyboard and mouse input.
#include "harness.h"

// The pictures are 328 x 120 in 4 bits per pixel with their palette, each with its own keys
// lit; the icon is one image of 32 x 32 pixels in 16 colours.
TEST(Resources, PicturesAndIconHaveTheirForm)
{
    const uint32_t palette[16] = {0, 0x6B6952, 0x8C907B, 0xBDBDA5, 0xD6D6BD, 0x8C94B5, 0xA5ADCA, 0xDEDEF7};
    const BYTE icon[] = {0, 0, 1, 0, 1, 0, 32, 32, 16, 0, 1, 0, 4, 0};   // icon type, one image: size, colours, planes, bits
    for (int id : {IDB_KEYS_ARROWS, IDB_KEYS_ALT}) {
        HRSRC found = FindResourceA(NULL, MAKEINTRESOURCEA(id), RT_BITMAP);
        const BITMAPINFOHEADER *h = (const BITMAPINFOHEADER *)LockResource(LoadResource(NULL, found));
        ASSERT_TRUE(h && SizeofResource(NULL, found) == 19784 && h->biWidth == 328 && h->biHeight == 120
                    && h->biBitCount == 4 && h->biCompression == BI_RGB && !memcmp(h + 1, palette, 64)) << id;
        // The face of the Up arrow key at (290, 85), lit only in the arrow-key picture; rows are bottom-up.
        EXPECT_EQ(((const BYTE *)(h + 1) + 64 + 164 * (119 - 85))[290 / 2] >> 4, id == IDB_KEYS_ARROWS ? 7 : 3) << id;
    }
    const void *group = LockResource(LoadResource(NULL, FindResourceA(NULL, MAKEINTRESOURCEA(IDI_APP), RT_GROUP_ICON)));
    EXPECT_TRUE(group && memcmp(group, icon, sizeof icon) == 0);
}

// The program copied into a folder and started there as a player starts it, with the
// working folder elsewhere; keys and clicks go through the system's input queue.
using Program = Folder;

static void Key(BYTE key, BYTE held = 0)
{
    const BYTE keys[4] = {held, key, key, held};
    for (int i = 0; i < 4; ++i)
        if (keys[i])
            keybd_event(keys[i], 0, i < 2 ? 0 : KEYEVENTF_KEYUP, 0);
}

// Clicks at the middle of a control of the dialog, the pointer moved there in the same input,
// until the dialog is gone: a click can be lost while a slow (emulated) program's dialog
// settles, so one is sent again when five seconds pass without an effect.
static void ClickUntilGone(HWND dlg, int id)
{
    DWORD last = GetTickCount() - 5000;
    WaitFor("the dialog gone after a click on control " + std::to_string(id), [&] {
        if (GetTickCount() - last >= 5000) {
            RECT r;
            GetWindowRect(GetDlgItem(dlg, id), &r);
            const DWORD x = (r.left + r.right) * 32768 / GetSystemMetrics(SM_CXSCREEN);
            for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
                mouse_event(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | button, x, (r.top + r.bottom) * 32768 / GetSystemMetrics(SM_CYSCREEN), 0, 0);
            last = GetTickCount();
        }
        return !IsWindow(dlg);
    });
}

TEST_F(Program, EndsWithOneAndSavesOnlyOnOkWhereverItIsStarted)
{
    // A record that a save would change: its face name is not installed.
    const std::string stored = Record({1, 0, 0, 2, 1, 2, 1, 5, 6, 3, 4, 6, 3}, "Lucida Console");
    const std::string saved = Record({1, 0, 0, 2, 1, 2, 1, 5, 6, 3, 4, 6, 3}, "Courier New");
    // A save that fails names the file and keeps the dialog with every choice for another OK.
    auto blocked = [](HWND dlg, const std::string &file) {
        auto box = [dlg] {   // the text of the dialog's message box, "" while there is none
            char text[512] = "";
            HWND box = FindWindowA("#32770", "Veskarot Settings");
            return std::string(text, GetWindow(box, GW_OWNER) == dlg ? GetDlgItemTextA(box, 0xFFFF, text, 512) : 0);
        };
        DeleteFileA(file.c_str());
        CreateDirectoryA(file.c_str(), NULL);
        Key(VK_RETURN);
        EXPECT_TRUE(WaitFor("a message box naming " + file, [&] { return box().find(file) != std::string::npos; }));
        Key(VK_RETURN);
        EXPECT_TRUE(WaitFor("the message box gone", [&] { return box().empty(); }));
        EXPECT_TRUE(IsWindowVisible(dlg) && RemoveDirectoryA(file.c_str()));
        Key(VK_RETURN);
    };
    // how the player leaves, from which folder -> whether Config.dat is saved
    const struct { const char *how, *folder; std::function<void(HWND, const std::string &)> leave; bool saves; } cases[] = {
        {"OK clicked", "", [](HWND dlg, auto &) { ClickUntilGone(dlg, IDOK); }, true},
        {"Enter", "", [](HWND, auto &) { Key(VK_RETURN); }, true},
        {"Up, Left and Z held, then Enter", "", [](HWND, auto &) { Keys("+Up +Left +Z -Up -Left -Z"); Key(VK_RETURN); }, true},
        {"Enter at the root of a drive", "C:", [](HWND, auto &) { Key(VK_RETURN); }, true},
        {"Enter with Config.dat unwritable, then again", "", blocked, true},
        {"Esc", "", [](HWND, auto &) { Key(VK_ESCAPE); }, false},
        {"Cancel clicked", "", [](HWND dlg, auto &) { ClickUntilGone(dlg, IDCANCEL); }, false},
        {"Alt+F4", "", [](HWND, auto &) { Key(VK_F4, VK_MENU); }, false},
        {"the close box", "", [](HWND dlg, auto &) { PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
    };
    char program[MAX_PATH], elsewhere[MAX_PATH];
    GetModuleFileNameA(NULL, program, sizeof program);
    strcpy(strrchr(program, '\\'), "\\..\\VeskarotSettings.exe");
    GetTempPathA(sizeof elsewhere, elsewhere);
    for (const auto &c : cases) {
        const std::string folder = *c.folder ? c.folder : dir, exe = folder + "\\VeskarotSettings.exe", file = folder + "\\Config.dat";
        Put(file, stored);
        ASSERT_TRUE(CopyFileA(program, exe.c_str(), FALSE));
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process;
        ASSERT_TRUE(CreateProcessA(exe.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, elsewhere, &startup, &process))
            << exe << ": error " << GetLastError();
        HWND shown = NULL;
        GUITHREADINFO gui = {sizeof gui};
        if (!WaitFor("the dialog in front with the focus on Use Gamepad, " + std::string(c.how), [&] {
            DWORD owner = 0;
            GetWindowThreadProcessId(shown = FindWindowA("#32770", "Veskarot Settings"), &owner);
            SetForegroundWindow(shown);
            GetGUIThreadInfo(GetWindowThreadProcessId(shown, NULL), &gui);
            return owner == process.dwProcessId && GetForegroundWindow() == shown && GetDlgCtrlID(gui.hwndFocus) == IDC_USE_GAMEPAD;
        }))
            return (void)TerminateProcess(process.hProcess, 99);   // the other ways would wait in vain too
        EXPECT_TRUE(IsDlgButtonChecked(shown, IDC_MOVE_ALT) && !IsDlgButtonChecked(shown, IDC_MOVE_ARROWS)) << c.how;
        c.leave(shown, file);
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &code);
        TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        EXPECT_EQ(code, 1u) << c.how;
        EXPECT_EQ(Bytes(file) + Bytes(folder + "\\Config.dat.new"), (c.saves ? saved : stored) + "<none>") << c.how;
        EXPECT_TRUE(DeleteFileA(exe.c_str()) && DeleteFileA(file.c_str()));
    }
}
