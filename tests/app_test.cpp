// The settings program itself, started in a folder of its own as a player
// starts it: what it shows at start, its exit code and what each way of
// leaving the dialog leaves in its folder.
#include "test_util.h"

#include <algorithm>
#include <cstring>

namespace {

// A start under emulated 32-bit Wine can take tens of seconds.
constexpr DWORD START_TIMEOUT_MS = 30000;
constexpr DWORD EXIT_TIMEOUT_MS = 30000;
constexpr DWORD POLL_MS = 50;

std::vector<std::string> SortedDir(const std::string &dir)
{
    std::vector<std::string> names = ListDir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

struct WindowSearch {
    DWORD processId;
    HWND owner;     // NULL: the settings dialog itself
    HWND found;
};

BOOL CALLBACK MatchDialogWindow(HWND window, LPARAM data)
{
    WindowSearch *search = (WindowSearch *)data;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window)
        || GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    char className[16] = "", title[64] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (strcmp(className, "#32770") != 0 || (!search->owner && strcmp(title, DIALOG_CAPTION) != 0))
        return TRUE;
    search->found = window;
    return FALSE;
}

// A visible dialog window of the process with the given owner; NULL when
// none came before the deadline or the process ended.
HWND WaitForDialogWindow(const PROCESS_INFORMATION &process, HWND owner)
{
    DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search = {process.dwProcessId, owner, NULL};
        EnumWindows(MatchDialogWindow, (LPARAM)&search);
        if (search.found)
            return search.found;
        if (GetTickCount() - start > START_TIMEOUT_MS
            || WaitForSingleObject(process.hProcess, POLL_MS) != WAIT_TIMEOUT)
            return NULL;
    }
}

HWND FocusOf(HWND dlg)
{
    GUITHREADINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dlg, NULL), &info))
        return NULL;
    return info.hwndFocus;
}

// The focus a player finds in the dialog. Other tests may run side by side
// on the same display and take the activation, and with it the focus, from
// the dialog; activating it again brings back the focus it had.
HWND WaitForFocusIn(HWND dlg)
{
    DWORD start = GetTickCount();
    HWND focus = FocusOf(dlg);
    while (!(focus && IsChild(dlg, focus)) && GetTickCount() - start < 5000) {
        SetForegroundWindow(dlg);
        Sleep(POLL_MS);
        focus = FocusOf(dlg);
    }
    return focus;
}

// What the keyboard sends to the focused control for one press of a key.
void PostKeyPress(HWND target, UINT key)
{
    LPARAM scan = (LPARAM)MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16;
    PostMessageA(target, WM_KEYDOWN, key, scan | 1);
    PostMessageA(target, WM_KEYUP, key, scan | 1 | (LPARAM)0xC0000000u);
}

bool ButtonChecked(HWND dlg, int id)
{
    return SendMessageA(GetDlgItem(dlg, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}


}  // namespace

// Each test copies the built program into its own empty folder and starts it
// there, with the working directory elsewhere so that only the program's own
// folder can receive Config.dat.
class Program : public ProgramDirTest {
protected:
    void SetUp() override
    {
        ProgramDirTest::SetUp();
        elsewhere = MakeTempDir();
    }

    void TearDown() override
    {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.hProcess, 99);
                WaitForSingleObject(process.hProcess, EXIT_TIMEOUT_MS);
            }
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        if (!elsewhere.empty()) {
            EXPECT_EQ(ListDir(elsewhere), std::vector<std::string>{})
                << "written to the working directory";
            RemoveTree(elsewhere);
        }
        ProgramDirTest::TearDown();
    }

    // Starts the program and waits for its dialog; fails the test when no
    // dialog comes or the focus is not on "Use Gamepad".
    void Start()
    {
        std::string program = dir + "\\VeskarotSettings.exe";
        ASSERT_TRUE(CopyFileA(BuiltProgramPath().c_str(), program.c_str(), TRUE))
            << BuiltProgramPath() << ", error " << GetLastError();
        STARTUPINFOA startup;
        memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + program + "\"";
        ASSERT_TRUE(CreateProcessA(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                                   elsewhere.c_str(), &startup, &process))
            << "error " << GetLastError();
        dlg = WaitForDialogWindow(process, NULL);
        ASSERT_TRUE(dlg != NULL) << "no \"" DIALOG_CAPTION "\" dialog within "
                                 << START_TIMEOUT_MS << " ms";
        focus = WaitForFocusIn(dlg);
        EXPECT_EQ(GetDlgCtrlID(focus), IDC_USE_GAMEPAD) << "focus at start";
    }

    // Exit code of the program, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit()
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process.hProcess, EXIT_TIMEOUT_MS) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    std::string elsewhere;
    PROCESS_INFORMATION process = {};
    HWND dlg = NULL;
    HWND focus = NULL;      // where the keys go
};

enum class Leave { OkButton, EnterKey, EscapeKey, CancelButton, CloseBox };

struct LeaveCase {
    const char *name;
    Leave how;
    bool withSettingsFile;  // a stored record with the alternative layout
    bool saves;
};

// Every way out ends the program with exit code 1; only OK and Enter save.
const LeaveCase LEAVE_CASES[] = {
    {"OkButton", Leave::OkButton, false, true},
    {"EnterKey", Leave::EnterKey, false, true},
    {"EscapeKey", Leave::EscapeKey, true, false},
    {"CancelButton", Leave::CancelButton, false, false},
    {"CloseBox", Leave::CloseBox, true, false},
};

void PrintTo(const LeaveCase &c, std::ostream *out)
{
    *out << c.name;
}

class ProgramLeave : public Program, public ::testing::WithParamInterface<LeaveCase> {};

// A record that a save can never produce: bytes behind the magic's
// terminator, which a save clears, and a font name not in the list.
static std::string StoredRecord()
{
    std::string record = DefaultRecordBytes();
    memcpy(&record[20], "kept", 4);
    memcpy(&record[32], "Lucida Console", 14);
    record[96] = 1;     // moveKeys: the alternative layout
    record[108] = 2;    // displayMode
    return record;
}

TEST_P(ProgramLeave, ExitsWithOneAndSavesOnlyOnOk)
{
    const LeaveCase &c = GetParam();
    std::string stored = StoredRecord();
    if (c.withSettingsFile)
        WriteFileBytes(ConfigPath(), stored);
    ASSERT_NO_FATAL_FAILURE(Start());
    if (c.withSettingsFile) {
        EXPECT_TRUE(ButtonChecked(dlg, IDC_MOVE_ALT));
        EXPECT_FALSE(ButtonChecked(dlg, IDC_MOVE_ARROWS));
    }

    switch (c.how) {
    case Leave::OkButton:     PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0); break;
    case Leave::CancelButton: PostMessageA(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0); break;
    case Leave::EnterKey:     PostKeyPress(focus, VK_RETURN); break;
    case Leave::EscapeKey:    PostKeyPress(focus, VK_ESCAPE); break;
    case Leave::CloseBox:     PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
    EXPECT_EQ(WaitForExit(), 1u);

    std::vector<std::string> expectedFiles = {CONFIG_FILE_NAME, "VeskarotSettings.exe"};
    if (c.saves) {
        std::string expected = DefaultRecordBytes();
        memcpy(&expected[32], DEFAULT_FONT_ENTRY, strlen(DEFAULT_FONT_ENTRY));
        EXPECT_EQ(ReadFileBytes(ConfigPath()), expected);
    } else if (c.withSettingsFile) {
        EXPECT_EQ(ReadFileBytes(ConfigPath()), stored);
    } else {
        expectedFiles = {"VeskarotSettings.exe"};
    }
    EXPECT_EQ(SortedDir(dir), expectedFiles);
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgramLeave, ::testing::ValuesIn(LEAVE_CASES),
                         [](const ::testing::TestParamInfo<LeaveCase> &info) {
                             return std::string(info.param.name);
                         });
