// The settings dialog built from its template: what the controls show for a
// stored record, what clicks do, and what OK and Cancel leave on disk.
#include "test_util.h"

#include <cstring>

using Dialog = DialogTest;

static const int ALL_RADIOS[] = {IDC_MOVE_ARROWS, IDC_MOVE_ALT, IDC_JUMP_Z, IDC_JUMP_X,
                                 IDC_OK_JUMP, IDC_OK_ATTACK};

// Row checked in each column of the grid, -1 for none; fails on two.
static std::vector<int> GridRows(HWND dlg)
{
    std::vector<int> rows;
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button) {
        int checked = -1;
        for (int row = 0; row < PAD_ROW_COUNT; ++row) {
            if (IsDlgButtonChecked(dlg, PAD_FIRST_ID[button] + row)) {
                EXPECT_EQ(checked, -1) << "two rows checked for button " << button + 1;
                checked = row;
            }
        }
        rows.push_back(checked);
    }
    return rows;
}

static int GridEnabledCount(HWND dlg)
{
    int count = 0;
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button)
        for (int row = 0; row < PAD_ROW_COUNT; ++row)
            count += IsWindowEnabled(GetDlgItem(dlg, PAD_FIRST_ID[button] + row)) ? 1 : 0;
    return count;
}

static std::string WithFontName(std::string record, const char *name)
{
    memset(&record[32], 0, 64);
    memcpy(&record[32], name, strnlen(name, 64));
    return record;
}

static void SetInt(std::string &record, int offset, int32_t value)
{
    memcpy(&record[offset], &value, 4);
}

// Rows of the defaults: Attack, Jump, Map, Weapon -, Weapon +, Item, Weapon -, Weapon +.
static const std::vector<int> DEFAULT_ROWS = {1, 0, 5, 3, 2, 4, 3, 2};

TEST_F(Dialog, OpensWithTheDefaultsWithoutASettingsFile)
{
    Open();
    EXPECT_EQ(ItemText(IDC_NOTES),
              "--Please use the 640x480 or Full 32 bit resolution.           \r\n\r\n"
              "--If you have problems with getting two arrow keys to work at once, please use "
              "the < > ? settings.\r\n\r\n"
              "--Please use Courier New as the font. Or whatever you want, I don't care. ");
    const char *modes[] = {"Full Screen", "960x720 Windowed ", "640x480 Windowed ",
                           "Full 24-Bit ", "Full 32-Bit "};
    ASSERT_EQ(ListCount(IDC_DISPLAY_MODE), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ListEntry(IDC_DISPLAY_MODE, i), modes[i]);
    EXPECT_EQ(Selection(IDC_DISPLAY_MODE), 0);
    EXPECT_EQ(ListEntry(IDC_FONT, 0), "Courier New");
    EXPECT_EQ(Selection(IDC_FONT), 0);
    EXPECT_EQ(ItemText(IDC_FONT_SAMPLE), "123 ABC");

    bool expected[] = {true, false, true, false, true, false};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Checked(ALL_RADIOS[i]), expected[i]) << ALL_RADIOS[i];
    EXPECT_TRUE(Checked(IDC_USE_GAMEPAD));
    EXPECT_EQ(GridRows(dlg), DEFAULT_ROWS);
    EXPECT_EQ(GridEnabledCount(dlg), 48);
    EXPECT_FALSE(FileExists(ConfigPath()));   // opening writes nothing
}

TEST_F(Dialog, OkWritesWhatTheDialogShows)
{
    Open();
    Click(IDOK);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFileBytes(ConfigPath()), WithFontName(DefaultRecordBytes(), "Courier New"));
}

TEST_F(Dialog, StoredRecordIsShownAndSavedBack)
{
    std::string record = WithFontName(DefaultRecordBytes(), "Courier New");
    SetInt(record, 96, 1);      // moveKeys: alternative layout
    SetInt(record, 100, 1);     // jumpKeys: X jumps
    SetInt(record, 104, 1);     // okKey: attack
    SetInt(record, 108, 2);     // "640x480 Windowed "
    SetInt(record, 112, 0);     // gamepad off
    const int32_t pads[8] = {6, 4, 1, 2, 3, 5, 6, 1};
    memcpy(&record[116], pads, sizeof pads);
    WriteFileBytes(ConfigPath(), record);

    Open();
    bool expected[] = {false, true, false, true, false, true};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Checked(ALL_RADIOS[i]), expected[i]) << ALL_RADIOS[i];
    EXPECT_EQ(Selection(IDC_DISPLAY_MODE), 2);
    EXPECT_FALSE(Checked(IDC_USE_GAMEPAD));
    EXPECT_EQ(GridEnabledCount(dlg), 0);
    // Code 6 is the "Weapon -" row (3), code 4 the "Item" row (4).
    EXPECT_EQ(GridRows(dlg), (std::vector<int>{3, 4, 0, 1, 2, 5, 3, 0}));

    Click(IDOK);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), record);
}

TEST_F(Dialog, ValuesOutOfRangeShowNothingChecked)
{
    std::string record = DefaultRecordBytes();
    SetInt(record, 96, 7);      // moveKeys
    SetInt(record, 100, -1);    // jumpKeys
    SetInt(record, 104, 2);     // okKey
    SetInt(record, 108, 9);     // displayMode
    SetInt(record, 116 + 2 * 4, 0);  // button 3: none
    SetInt(record, 116 + 5 * 4, 7);  // button 6: no such function
    WriteFileBytes(ConfigPath(), record);

    Open();
    for (int id : ALL_RADIOS)
        EXPECT_FALSE(Checked(id)) << id;
    EXPECT_EQ(Selection(IDC_DISPLAY_MODE), -1);
    EXPECT_EQ(GridRows(dlg), (std::vector<int>{1, 0, -1, 3, 2, -1, 3, 2}));

    Click(IDOK);
    std::string expected = WithFontName(DefaultRecordBytes(), "Courier New");
    SetInt(expected, 96, 1);    // a pair with neither radio checked stores 1
    SetInt(expected, 100, 1);
    SetInt(expected, 104, 1);
    SetInt(expected, 108, -1);  // no display mode selected
    SetInt(expected, 116 + 2 * 4, 0);
    SetInt(expected, 116 + 5 * 4, 0);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), expected);
}

TEST_F(Dialog, ClicksChangeOnlyTheirGroup)
{
    Open();
    Click(PAD_FIRST_ID[1] + 4);             // button 2: Item
    std::vector<int> rows = DEFAULT_ROWS;
    rows[1] = 4;
    EXPECT_EQ(GridRows(dlg), rows);

    Click(IDC_MOVE_ALT);
    Click(IDC_JUMP_X);
    Click(IDC_OK_ATTACK);
    bool expected[] = {false, true, false, true, false, true};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Checked(ALL_RADIOS[i]), expected[i]) << ALL_RADIOS[i];
    EXPECT_EQ(GridRows(dlg), rows);
    ChooseDisplayMode(4);

    Click(IDOK);
    std::string saved = ReadFileBytes(ConfigPath());
    ASSERT_EQ(saved.size(), 148u);
    int32_t ints[13];
    memcpy(ints, &saved[96], sizeof ints);
    const int32_t want[13] = {1, 1, 1, 4, 1, 2, 4, 5, 6, 3, 4, 6, 3};
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(ints[i], want[i]) << "integer " << i;
}

TEST_F(Dialog, UseGamepadGreysTheGridAndKeepsItsChoices)
{
    Open();
    Click(IDC_USE_GAMEPAD);
    EXPECT_FALSE(Checked(IDC_USE_GAMEPAD));
    EXPECT_EQ(GridEnabledCount(dlg), 0);
    EXPECT_EQ(GridRows(dlg), DEFAULT_ROWS);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_USE_GAMEPAD)));

    Click(IDOK);
    std::string expected = WithFontName(DefaultRecordBytes(), "Courier New");
    SetInt(expected, 112, 0);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), expected);
}

TEST_F(Dialog, CancelNeverWrites)
{
    std::string record = WithFontName(DefaultRecordBytes(), "Whatever");
    SetInt(record, 108, 3);
    WriteFileBytes(ConfigPath(), record);
    Open();
    Click(IDC_MOVE_ALT);
    Click(IDC_USE_GAMEPAD);
    ChooseDisplayMode(1);
    Click(IDC_DEFAULTS);
    Click(IDCANCEL);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFileBytes(ConfigPath()), record);
    EXPECT_EQ(ListDir(dir), std::vector<std::string>{CONFIG_FILE_NAME});
}

TEST_F(Dialog, RestoreDefaultsResetsEveryControl)
{
    std::string record = WithFontName(DefaultRecordBytes(), "x");
    SetInt(record, 96, 1);
    SetInt(record, 100, 5);     // leaves the jump pair clear at start
    SetInt(record, 108, 9);
    SetInt(record, 112, 0);
    SetInt(record, 116, 0);
    WriteFileBytes(ConfigPath(), record);
    Open();
    EXPECT_FALSE(Checked(IDC_JUMP_Z));

    Click(IDC_DEFAULTS);
    bool expected[] = {true, false, true, false, true, false};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Checked(ALL_RADIOS[i]), expected[i]) << ALL_RADIOS[i];
    EXPECT_EQ(Selection(IDC_DISPLAY_MODE), 0);
    EXPECT_EQ(Selection(IDC_FONT), 0);
    EXPECT_TRUE(Checked(IDC_USE_GAMEPAD));
    EXPECT_EQ(GridEnabledCount(dlg), 48);
    EXPECT_EQ(GridRows(dlg), DEFAULT_ROWS);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), record);     // nothing written yet

    Click(IDOK);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), WithFontName(DefaultRecordBytes(), "Courier New"));
}

// A save that fails tells the player which file, and keeps the dialog and
// every choice so that OK can be pressed again.
TEST_F(Dialog, FailedSaveIsReportedAndTheDialogStaysOpen)
{
    Open();
    Click(IDC_MOVE_ALT);
    Click(PAD_FIRST_ID[7] + 5);
    ASSERT_TRUE(CreateDirectoryA(ConfigPath().c_str(), NULL));

    std::vector<MessageBoxSeen> boxes = AnswerMessageBoxes(dlg,
        [](void *self) { ((Dialog *)self)->Click(IDOK); }, this);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, dlg);
    EXPECT_EQ(boxes[0].caption, "Veskarot Settings");
    EXPECT_NE(boxes[0].text.find(ConfigPath()), std::string::npos) << boxes[0].text;
    EXPECT_FALSE(Ended());
    EXPECT_TRUE(Checked(IDC_MOVE_ALT));
    EXPECT_TRUE(Checked(PAD_FIRST_ID[7] + 5));

    RemoveDirectoryA(ConfigPath().c_str());
    boxes = AnswerMessageBoxes(dlg, [](void *self) { ((Dialog *)self)->Click(IDOK); }, this);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Ended());
    std::string saved = ReadFileBytes(ConfigPath());
    ASSERT_EQ(saved.size(), 148u);
    EXPECT_EQ(saved[96], 1);                    // moveKeys
    EXPECT_EQ(saved[116 + 7 * 4], PAD_MAP);     // button 8
}

TEST_F(Dialog, KeyboardTabStopsFollowTheTemplate)
{
    Open();
    // The system makes the checked radio of each group a tab stop as well.
    const int order[] = {IDC_USE_GAMEPAD, PAD_FIRST_ID[0] + 1, PAD_FIRST_ID[1], PAD_FIRST_ID[2] + 5,
                         PAD_FIRST_ID[3] + 3, PAD_FIRST_ID[4] + 2, PAD_FIRST_ID[5] + 4,
                         PAD_FIRST_ID[6] + 3, PAD_FIRST_ID[7] + 2, IDC_MOVE_ARROWS, IDC_JUMP_Z,
                         IDC_OK_JUMP, IDC_FONT, IDC_DISPLAY_MODE, IDC_DEFAULTS, IDOK, IDCANCEL,
                         IDC_NOTES, IDC_USE_GAMEPAD};
    HWND at = Item(IDC_USE_GAMEPAD);
    for (size_t i = 1; i < sizeof order / sizeof order[0]; ++i) {
        at = GetNextDlgTabItem(dlg, at, FALSE);
        EXPECT_EQ(GetDlgCtrlID(at), order[i]) << "tab stop " << i;
    }
    for (size_t i = sizeof order / sizeof order[0] - 1; i > 0; --i) {
        at = GetNextDlgTabItem(dlg, at, TRUE);
        EXPECT_EQ(GetDlgCtrlID(at), order[i - 1]) << "backwards, tab stop " << i - 1;
    }
    EXPECT_EQ(SendMessageA(Item(IDOK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
              DLGC_DEFPUSHBUTTON);
}

TEST_F(Dialog, NotesCannotBeEdited)
{
    Open();
    std::string before = ItemText(IDC_NOTES);
    SendMessageA(Item(IDC_NOTES), EM_SETSEL, 0, 10);
    SendMessageA(Item(IDC_NOTES), WM_CHAR, 'x', 0);
    SendMessageA(Item(IDC_NOTES), WM_CHAR, VK_BACK, 0);
    SendMessageA(Item(IDC_NOTES), WM_KEYDOWN, VK_DELETE, 0);
    SendMessageA(Item(IDC_NOTES), WM_CUT, 0, 0);
    EXPECT_EQ(ItemText(IDC_NOTES), before);
}
