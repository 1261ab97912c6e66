// The program itself, copied into a folder and started there as a player starts it, with the
// working folder elsewhere; keys go through the system's input queue.
#include "harness.h"

using Program = Folder;
namespace fs = std::filesystem;

// Waits until the program's thread shows, active and in front, its dialog with the focus on Use
// Gamepad, as a start leaves it, or (given words) a message box over the dialog shown, with a
// text that holds the words. Each key goes to the window in front, so each is sent once the
// window meant is there.
static testing::AssertionResult InFront(const PROCESS_INFORMATION &process, const std::wstring &words = L"")
{
    wchar_t text[1024] = L"";   // Wine gives the text of a message box the identifier 0xFFFF
    const std::string what = words.empty() ? "the dialog with the focus on Use Gamepad"
                                           : "a message box with " + fs::path(words).string();
    return WaitFor(what + " in front", [&] {
        GUITHREADINFO gui = {sizeof gui};
        GetGUIThreadInfo(process.dwThreadId, &gui);
        const HWND dialog = words.empty() ? gui.hwndActive : GetWindow(gui.hwndActive, GW_OWNER);
        GetDlgItemTextW(gui.hwndActive, 0xFFFF, text, 1024);
        if (words.empty() && IsWindowVisible(dialog))   // made active while still hidden, it would take keys unseen
            SetForegroundWindow(dialog);
        const bool focused = GetDlgCtrlID(gui.hwndFocus) == IDC_USE_GAMEPAD, says = wcsstr(text, words.c_str()) != NULL;
        return (words.empty() ? focused : says) && GetForegroundWindow() == gui.hwndActive && IsWindowVisible(dialog);
    }) << "; shown: " << fs::path(text).string();
}

TEST_F(Program, EndsWithOneAndSavesOnlyOnOkWhereverItIsStarted)
{
    // A record that a save would change: bytes behind the magic, a face name not installed.
    std::string stored = Record("move=1 mode=2", "Lucida Console");
    stored.replace(20, 4, "kept");
    const std::string saved = Record("move=1 mode=2", "Courier New");
    const std::wstring long248(247 - dir.wstring().size(), L'f');   // a folder in the test's of 248 characters
    ASSERT_EQ((dir / long248).wstring().size(), 248u);
    constexpr DWORD FREE = ~0u, READ_WRITE = FILE_SHARE_READ | FILE_SHARE_WRITE;
    // the program's folder ("C:" the root of a drive, else one in the test's, "" the test's own);
    // the sharing of a handle another program holds on Config.dat from the start to the end (FREE
    // for none); the name in the folder that a folder takes at the first Enter; the reason given
    // for the failed first Enter, and at the start too where no folder was put in the way; the
    // keys that leave (Enter saves)
    const wchar_t *const TOO_LONG = L"File name is too long", *const DENIED = L"Access denied",
                  *const SHARING = L"Sharing violation";
    const std::string ENTER = "+Enter -Enter", ESC = "+Esc -Esc";
    const struct { const char *how; std::wstring folder; DWORD share; const char *blocked; const wchar_t *reason;
                   std::string leave; } cases[] = {
        {"Enter", L"", FREE, NULL, NULL, ENTER},
        {"Enter at the root of a drive", L"C:", FREE, NULL, NULL, ENTER},
        {"Enter in a Polish and Japanese folder", L"\u0141\u00F3d\u017A \u30B2\u30FC\u30E0", FREE, NULL, NULL, ENTER},
        {"Enter in a folder of 248 characters", long248, FREE, NULL, NULL, ENTER},
        {"Enter, then Esc, in a folder of 249 characters", long248 + L"g", FREE, NULL, TOO_LONG, ESC},
        {"Enter while another program reads and shares Config.dat", L"", READ_WRITE, NULL, NULL, ENTER},
        {"Enter with Config.dat unwritable, then again", L"", FREE, "Config.dat", DENIED, ENTER},
        {"Enter with the temporary file unwritable, then again", L"", FREE, "Config.tmp", DENIED, ENTER},
        {"Enter, then Esc, with Config.dat held without sharing", L"", 0, NULL, SHARING, ESC},
    };
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(NULL, program, MAX_PATH);
    const fs::path release = fs::path(program).parent_path().parent_path() / "VeskarotSettings.exe";
    const std::wstring temp = fs::temp_directory_path().wstring();   // the working folder
    for (const auto &c : cases) {
        const fs::path folder = c.folder == L"C:" ? fs::path(c.folder) : dir / c.folder;
        const fs::path exe = folder / "V.exe", config = folder / "Config.dat";
        const std::wstring path = L"\r\n" + config.wstring() + L"\r\n";   // in the messages, on a line of its own
        CreateDirectoryW(folder.c_str(), NULL);   // fails for those there already
        Put(config, stored);
        ASSERT_TRUE(CopyFileW(release.c_str(), exe.c_str(), FALSE)) << c.how;
        HANDLE held = c.share != FREE ? CreateFileW(config.c_str(), GENERIC_READ, c.share, NULL, OPEN_EXISTING, 0, NULL)
                                      : NULL;
        STARTUPINFOW startup = {sizeof startup};
        PROCESS_INFORMATION process;
        ASSERT_TRUE(WaitFor("the program started", [&] {   // a busy system may refuse a start for a moment
            return CreateProcessW(exe.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, temp.c_str(), &startup, &process);
        }));
        if (c.reason && !c.blocked) {
            EXPECT_TRUE(InFront(process, path + L"could not be read: " + c.reason)) << c.how;
            Keys(ENTER);
        }
        const testing::AssertionResult front = InFront(process);
        EXPECT_TRUE(front) << c.how;
        if (front && c.reason) {   // the first Enter fails, says why and keeps the dialog
            const fs::path blocker = folder / (c.blocked ? c.blocked : "");
            if (c.blocked) {
                fs::remove(blocker);
                fs::create_directory(blocker);
            }
            Keys(ENTER);
            EXPECT_TRUE(InFront(process, L"could not be saved to" + path + c.reason)) << c.how;
            Keys(ENTER);
            EXPECT_TRUE(InFront(process)) << c.how;
            EXPECT_TRUE(!c.blocked || fs::remove(blocker)) << c.how << ": the folder in the way is gone";
        }
        if (front)
            Keys(c.leave);
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &code);
        TerminateProcess(process.hProcess, 99);
        for (HANDLE handle : {process.hProcess, process.hThread, held})
            CloseHandle(handle);
        EXPECT_EQ(code, 1u) << c.how;
        EXPECT_EQ(Bytes(config), c.leave == ENTER ? saved : stored) << c.how;
        EXPECT_EQ(Bytes(folder / "Config.tmp"), NO_FILE) << c.how;
        EXPECT_TRUE(fs::remove(exe)) << c.how;
        EXPECT_TRUE(fs::remove(config)) << c.how;
    }
}
