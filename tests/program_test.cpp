// The program itself, copied into a folder and started there as a player starts it, with the
// working folder elsewhere; keys go through the system's input queue.
#include "harness.h"

using Program = Folder;

static void Key(BYTE key)
{
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

// The message box that the dialog owns, or NULL. It has the dialog's class and caption.
static HWND MessageBoxOf(HWND dlg)
{
    HWND box = FindWindowExA(NULL, NULL, "#32770", DIALOG_CAPTION);
    while (box && GetWindow(box, GW_OWNER) != dlg)
        box = FindWindowExA(NULL, box, "#32770", DIALOG_CAPTION);
    return box;
}

// A save that fails names the file and keeps the dialog, in front again once the box is gone,
// with every choice for another OK (the test's last look at the file shows them). Each key
// goes to the window in front, so each is sent once the window meant is there.
static void FailSave(HWND dlg, const std::string &file)
{
    DeleteFileA(file.c_str());
    CreateDirectoryA(file.c_str(), NULL);
    Key(VK_RETURN);
    HWND box = NULL;
    char text[512] = "";   // Wine gives the text of a message box the identifier 0xFFFF
    EXPECT_TRUE(WaitFor("a message box in front naming " + file, [&] {
        box = MessageBoxOf(dlg);
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        return GetForegroundWindow() == box && strstr(text, file.c_str());
    }));
    Key(VK_RETURN);
    EXPECT_TRUE(WaitFor("the message box gone, the dialog in front", [&] {
        return !IsWindow(box) && GetForegroundWindow() == dlg;
    }));
    EXPECT_EQ(Bytes(file + ".new"), NO_FILE) << "the temporary file left after a failed save";
    EXPECT_TRUE(RemoveDirectoryA(file.c_str()));
}

TEST_F(Program, EndsWithOneAndSavesOnlyOnOkWhereverItIsStarted)
{
    // A record that a save would change: its face name is not installed.
    const std::string stored = Record({1, 0, 0, 2, 1, 2, 1, 5, 6, 3, 4, 6, 3}, "Lucida Console");
    const std::string saved = Record({1, 0, 0, 2, 1, 2, 1, 5, 6, 3, 4, 6, 3}, DEFAULT_FONT_ENTRY);
    // from which folder ("" the test's own), whether a save fails first, the key that leaves -> saved
    const struct { const char *how, *folder; bool failing; BYTE key; bool saves; } cases[] = {
        {"Enter", "", false, VK_RETURN, true},
        {"Enter at the root of a drive", "C:", false, VK_RETURN, true},
        {"Enter with Config.dat unwritable, then again", "", true, VK_RETURN, true},
        {"Esc", "", false, VK_ESCAPE, false},
    };
    char program[MAX_PATH];
    GetModuleFileNameA(NULL, program, sizeof program);
    strcpy(strrchr(program, '\\'), "\\..\\VeskarotSettings.exe");
    const std::string temp = std::filesystem::temp_directory_path().string();   // the working folder
    for (const auto &c : cases) {
        const std::string folder = *c.folder ? c.folder : dir;
        const std::string exe = folder + "\\VeskarotSettings.exe", file = folder + "\\Config.dat";
        Put(file, stored);
        ASSERT_TRUE(CopyFileA(program, exe.c_str(), FALSE));
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process;
        ASSERT_TRUE(WaitFor("the program started", [&] {   // a busy system may refuse a start for a moment
            return CreateProcessA(exe.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, temp.c_str(), &startup, &process);
        }));
        HWND shown = NULL;
        GUITHREADINFO gui = {sizeof gui};
        const testing::AssertionResult ready = WaitFor("the dialog in front with the focus on Use Gamepad", [&] {
            DWORD owner = 0;
            shown = FindWindowA("#32770", DIALOG_CAPTION);
            GetWindowThreadProcessId(shown, &owner);
            SetForegroundWindow(shown);
            GetGUIThreadInfo(GetWindowThreadProcessId(shown, NULL), &gui);
            return owner == process.dwProcessId && GetForegroundWindow() == shown
                   && GetDlgCtrlID(gui.hwndFocus) == IDC_USE_GAMEPAD;
        });
        if (!ready)
            TerminateProcess(process.hProcess, 99);
        ASSERT_TRUE(ready) << c.how;   // the other ways would wait in vain too
        if (c.failing)
            FailSave(shown, file);
        Key(c.key);
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &code);
        TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        EXPECT_EQ(code, 1u) << c.how;
        EXPECT_EQ(Bytes(file) + Bytes(folder + "\\Config.dat.new"), (c.saves ? saved : stored) + NO_FILE) << c.how;
        EXPECT_TRUE(DeleteFileA(exe.c_str()) && DeleteFileA(file.c_str()));
    }
}
