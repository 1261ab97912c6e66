// Helpers shared by the tests.
#include "test_util.h"

#include <cstring>
#include <vector>

#include "../app/moduledir.h"

std::string MakeTempDir()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned counter;
    for (;;) {
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%svsk%lu_%u", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, NULL))
            return name;
    }
}

void RemoveTree(const std::string &dir)
{
    if (dir.empty())    // never the root of the current drive
        return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

std::vector<std::string> ListDir(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// <build>\tests\veskarot_tests.exe runs beside <build>\VeskarotSettings.exe.
std::string BuiltProgramPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    *strrchr(path, '\\') = '\0';
    *strrchr(path, '\\') = '\0';
    return std::string(path) + "\\VeskarotSettings.exe";
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::string &path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD got;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::string RecordBytes(const ConfigData &config)
{
    return std::string((const char *)&config, sizeof config);
}

// Written out from the file format, not from DefaultConfigData.
std::string DefaultRecordBytes()
{
    std::string bytes(148, '\0');
    memcpy(&bytes[0], "VESKAROT20041206", 16);
    const int32_t ints[13] = {0, 0, 0, 0, 1, 2, 1, 5, 6, 3, 4, 6, 3};
    memcpy(&bytes[96], ints, sizeof ints);
    return bytes;
}

void ProgramDirTest::SetUp()
{
    dir = MakeTempDir();
    ASSERT_LT(dir.size(), sizeof gModuleDir);
    strcpy(gModuleDir, dir.c_str());
}

void ProgramDirTest::TearDown()
{
    RemoveTree(dir);
}

void DialogTest::Open()
{
    dlg = CreateDialogParamA(GetModuleHandleA(NULL), "DLG_CONFIG", NULL, ConfigDialogProc, 0);
    ASSERT_TRUE(dlg != NULL) << "the dialog was not created, error " << GetLastError();
    ShowWindow(dlg, SW_SHOW);
    UpdateWindow(dlg);
}

void DialogTest::TearDown()
{
    if (dlg)
        DestroyWindow(dlg);
    ProgramDirTest::TearDown();
}

void DialogTest::Click(int id) const
{
    SendMessageA(Item(id), BM_CLICK, 0, 0);
}

static void ChooseListEntry(HWND dlg, int id, int index)
{
    SendDlgItemMessageA(dlg, id, CB_SETCURSEL, index, 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)GetDlgItem(dlg, id));
}

void DialogTest::ChooseFont(int index) const
{
    ChooseListEntry(dlg, IDC_FONT, index);
}

void DialogTest::ChooseDisplayMode(int index) const
{
    ChooseListEntry(dlg, IDC_DISPLAY_MODE, index);
}

int DialogTest::Selection(int id) const
{
    return (int)SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0);
}

std::string DialogTest::ItemText(int id) const
{
    char text[1024];
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return text;
}

std::string DialogTest::ListEntry(int id, int index) const
{
    char text[256];
    if (SendDlgItemMessageA(dlg, id, CB_GETLBTEXT, index, (LPARAM)text) == CB_ERR)
        return "<none>";
    return text;
}

int DialogTest::ListCount(int id) const
{
    return (int)SendDlgItemMessageA(dlg, id, CB_GETCOUNT, 0, 0);
}

static std::vector<MessageBoxSeen> *gBoxesSeen;
static HHOOK gBoxHook;
static HWND gBoxIgnored;

// A message box is a dialog whose static text has the ID 0xFFFF. The system
// may activate it more than once; each box is answered once. The owner is
// activated again when the box goes and is not taken for a box.
static LRESULT CALLBACK AnswerBoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = (HWND)wParam;
        char className[16] = "";
        GetClassNameA(box, className, sizeof className);
        if (box == gBoxIgnored || strcmp(className, "#32770") != 0)
            return CallNextHookEx(gBoxHook, code, wParam, lParam);
        for (const MessageBoxSeen &seen : *gBoxesSeen)
            if (seen.box == box)
                return CallNextHookEx(gBoxHook, code, wParam, lParam);
        char text[1024] = "", caption[256] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        GetWindowTextA(box, caption, sizeof caption);
        gBoxesSeen->push_back({box, text, caption, GetWindow(box, GW_OWNER)});
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(gBoxHook, code, wParam, lParam);
}

std::vector<MessageBoxSeen> AnswerMessageBoxes(HWND owner, void (*fn)(void *), void *context)
{
    std::vector<MessageBoxSeen> seen;
    gBoxesSeen = &seen;
    gBoxIgnored = owner;
    gBoxHook = SetWindowsHookExA(WH_CBT, AnswerBoxHook, NULL, GetCurrentThreadId());
    fn(context);
    UnhookWindowsHookEx(gBoxHook);
    gBoxesSeen = NULL;
    return seen;
}
