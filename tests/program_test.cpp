// The program itself, copied into a folder and started there as a player starts it, with the
// working folder elsewhere; keys go through the system's input queue.
#include "harness.h"

using Program = Folder;
namespace fs = std::filesystem;

static void Key(BYTE key)
{
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

// A window of the process with the dialog's class and caption, owned by another (a message box)
// or by none (the dialog); NULL where there is none.
static HWND WindowOf(const PROCESS_INFORMATION &process, bool owned)
{
    for (HWND w = FindWindowExA(NULL, NULL, "#32770", DIALOG_CAPTION); w;
         w = FindWindowExA(NULL, w, "#32770", DIALOG_CAPTION)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process.dwProcessId && (GetWindow(w, GW_OWNER) != NULL) == owned)
            return w;
    }
    return NULL;
}

// Waits for the dialog's message box in front of the dialog shown, with a text that names the
// path and holds the words and the reason, and closes it with Enter; the dialog is then in front
// again. Each key goes to the window in front, so each is sent once the window meant is there.
static void Answer(const PROCESS_INFORMATION &process, const std::wstring &path, const std::wstring &words,
                   const std::wstring &reason)
{
    HWND box = NULL;
    wchar_t text[1024] = L"";   // Wine gives the text of a message box the identifier 0xFFFF
    EXPECT_TRUE(WaitFor("a message box in front with " + fs::path(words + L": " + reason).string(), [&] {
        box = WindowOf(process, true);
        GetDlgItemTextW(box, 0xFFFF, text, 1024);
        return GetForegroundWindow() == box && IsWindowVisible(GetWindow(box, GW_OWNER)) && wcsstr(text, path.c_str())
               && wcsstr(text, words.c_str()) && wcsstr(text, reason.c_str());
    })) << fs::path(text).string();
    HWND dlg = GetWindow(box, GW_OWNER);
    Key(VK_RETURN);
    EXPECT_TRUE(WaitFor("the message box gone, the dialog in front", [&] {
        return !IsWindow(box) && GetForegroundWindow() == dlg;
    }));
}

// The dialog of the process shown and in front, with the focus on Use Gamepad, as a start leaves
// it; NULL when the wait was in vain.
static HWND FrontDialog(const PROCESS_INFORMATION &process)
{
    HWND shown = NULL;
    GUITHREADINFO gui = {sizeof gui};
    const testing::AssertionResult ready = WaitFor("the dialog in front with the focus on Use Gamepad", [&] {
        shown = WindowOf(process, false);
        if (!IsWindowVisible(shown))   // made active while still hidden, it would take keys unseen
            return false;
        SetForegroundWindow(shown);
        GetGUIThreadInfo(GetWindowThreadProcessId(shown, NULL), &gui);
        return GetForegroundWindow() == shown && GetDlgCtrlID(gui.hwndFocus) == IDC_USE_GAMEPAD;
    });
    EXPECT_TRUE(ready);
    return ready ? shown : NULL;
}

TEST_F(Program, EndsWithOneAndSavesOnlyOnOkWhereverItIsStarted)
{
    // A record that a save would change: bytes behind the magic, a face name not installed.
    std::string stored = Record("move=1 mode=2", "Lucida Console");
    stored.replace(20, 4, "kept");
    const std::string saved = Record("move=1 mode=2", "Courier New");
    const std::wstring long248(247 - dir.wstring().size(), L'f');   // a folder in the test's of 248 characters
    ASSERT_EQ((dir / long248).wstring().size(), 248u);
    const std::wstring long249 = long248 + L"g";
    constexpr DWORD FREE = ~0u;
    // the program's folder ("C:" the root of a drive, else one in the test's, "" the test's own);
    // the sharing of a handle another program holds on Config.dat from the start to the end (FREE
    // for none); the reason given at the start for a Config.dat not read; the name in the folder
    // that a folder takes at the first Enter; the reason given then for the failed save; the key
    // that leaves (Enter saves)
    struct Case { const char *how; std::wstring folder; DWORD share; const wchar_t *unread; const char *blocked;
                  const wchar_t *reason; BYTE key; };
    const wchar_t *const TOO_LONG = L"File name is too long", *const DENIED = L"Access denied";
    const Case cases[] = {
        {"Enter", L"", FREE, NULL, NULL, NULL, VK_RETURN},
        {"Enter at the root of a drive", L"C:", FREE, NULL, NULL, NULL, VK_RETURN},
        {"Enter in a folder named in Polish and Japanese", L"\u0141\u00F3d\u017A \u30B2\u30FC\u30E0", FREE, NULL,
         NULL, NULL, VK_RETURN},
        {"Enter in a folder of 248 characters", long248, FREE, NULL, NULL, NULL, VK_RETURN},
        {"Enter, then Esc, in a folder of 249 characters", long249, FREE, TOO_LONG, NULL, TOO_LONG, VK_ESCAPE},
        {"Enter while another program reads Config.dat, sharing it", L"", FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
         NULL, NULL, VK_RETURN},
        {"Enter with Config.dat unwritable, then again", L"", FREE, NULL, "Config.dat", DENIED, VK_RETURN},
        {"Enter with the temporary file unwritable, then again", L"", FREE, NULL, "Config.tmp", DENIED, VK_RETURN},
        {"Enter, then Esc, with Config.dat held without sharing", L"", 0, L"Sharing violation", NULL,
         L"Sharing violation", VK_ESCAPE},
    };
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(NULL, program, MAX_PATH);
    const fs::path release = fs::path(program).parent_path().parent_path() / "VeskarotSettings.exe";
    const std::wstring temp = fs::temp_directory_path().wstring();   // the working folder
    for (const auto &c : cases) {
        const fs::path folder = c.folder == L"C:" ? fs::path(c.folder) : dir / c.folder;
        const fs::path exe = folder / "V.exe", file = folder / "Config.dat";
        CreateDirectoryW(folder.c_str(), NULL);   // fails for those there already
        Put(file, stored);
        ASSERT_TRUE(CopyFileW(release.c_str(), exe.c_str(), FALSE)) << c.how;
        HANDLE held = c.share != FREE ? CreateFileW(file.c_str(), GENERIC_READ, c.share, NULL, OPEN_EXISTING, 0, NULL)
                                      : NULL;
        STARTUPINFOW startup = {sizeof startup};
        PROCESS_INFORMATION process;
        ASSERT_TRUE(WaitFor("the program started", [&] {   // a busy system may refuse a start for a moment
            return CreateProcessW(exe.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, temp.c_str(), &startup, &process);
        }));
        if (c.unread)
            Answer(process, file.wstring(), L"could not be read", c.unread);
        HWND dlg = FrontDialog(process);
        if (dlg && c.reason) {   // the first Enter fails, says why and keeps the dialog
            const fs::path blocker = folder / (c.blocked ? c.blocked : "");
            if (c.blocked) {
                fs::remove(blocker);
                fs::create_directory(blocker);
            }
            Key(VK_RETURN);
            Answer(process, file.wstring(), L"could not be saved", c.reason);
            EXPECT_TRUE(!c.blocked || fs::remove(blocker)) << c.how << ": the folder in the way is gone";
            EXPECT_EQ(Bytes(folder / "Config.tmp"), NO_FILE) << c.how << ": the temporary file left";
        }
        if (dlg)
            Key(c.key);
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &code);
        TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        if (held)
            CloseHandle(held);
        EXPECT_EQ(code, 1u) << c.how;
        EXPECT_EQ(Bytes(file), c.key == VK_RETURN ? saved : stored) << c.how;
        EXPECT_EQ(Bytes(folder / "Config.tmp"), NO_FILE) << c.how;
        EXPECT_TRUE(fs::remove(exe)) << c.how;
        EXPECT_TRUE(fs::remove(file)) << c.how;
    }
}
