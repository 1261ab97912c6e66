// Helpers shared by the tests: a scratch program folder and file bytes.
#ifndef VESKAROT_TEST_UTIL_H
#define VESKAROT_TEST_UTIL_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../config/config.h"
#include "../dialog/dialog.h"

std::string MakeTempDir();
void RemoveTree(const std::string &dir);
bool FileExists(const std::string &path);
std::string ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::string &bytes);
std::string RecordBytes(const ConfigData &config);
std::string DefaultRecordBytes();   // the default record with the magic stamped
std::vector<std::string> ListDir(const std::string &dir);
std::string BuiltProgramPath();     // the program built beside the tests

// Each test gets an empty folder that the store takes for the program's folder.
class ProgramDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string ConfigPath() const { return dir + "\\" CONFIG_FILE_NAME; }
    std::string dir;
};

#endif

// The real dialog from the real template, modeless so a test can poke it.
class DialogTest : public ProgramDirTest {
public:
    void TearDown() override;
    void Open();                        // fails the test when no dialog came up
    HWND Item(int id) const { return GetDlgItem(dlg, id); }
    bool Checked(int id) const { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
    void Click(int id) const;           // what a mouse click on the control sends
    void ChooseFont(int index) const;   // a player's choice in the font list
    void ChooseDisplayMode(int index) const;
    int Selection(int id) const;
    std::string ItemText(int id) const;
    std::string ListEntry(int id, int index) const;
    int ListCount(int id) const;
    bool Ended() const { return !IsWindowVisible(dlg); }
    HWND dlg = NULL;
};

// Runs fn with every message box that comes up answered at once; returns the
// texts of the boxes and, for each, its owner (expected to be owner).
struct MessageBoxSeen {
    HWND box;
    std::string text;
    std::string caption;
    HWND owner;
};
std::vector<MessageBoxSeen> AnswerMessageBoxes(HWND owner, void (*fn)(void *), void *context);
