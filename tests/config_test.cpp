// The settings store on real files: what lands on disk and what is accepted back.
#include "test_util.h"

#include <cstring>

#include "../app/moduledir.h"

using ConfigStore = ProgramDirTest;

static ConfigData SampleRecord()
{
    ConfigData config;
    memset(&config, 0, sizeof config);
    strcpy(config.fontName, "\x82\x6c\x82\x72 Gothic");
    config.moveKeys = 1;
    config.jumpKeys = 1;
    config.okKey = 1;
    config.displayMode = 4;
    config.useGamepad = 0;
    for (int i = 0; i < PAD_BUTTON_COUNT; ++i)
        config.padButton[i] = 6 - i % 6;
    return config;
}

TEST_F(ConfigStore, DefaultRecordSavesTheDocumentedBytes)
{
    ConfigData config;
    ASSERT_EQ(DefaultConfigData(&config), &config);
    ASSERT_EQ(SaveConfigData(&config), 1);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), DefaultRecordBytes());
    // Nothing but Config.dat is left in the folder.
    EXPECT_EQ(ListDir(dir), std::vector<std::string>{CONFIG_FILE_NAME});
}

TEST_F(ConfigStore, SaveStampsTheMagicOverWhateverWasThere)
{
    ConfigData config = SampleRecord();
    memset(config.magic, 'x', sizeof config.magic);
    ASSERT_EQ(SaveConfigData(&config), 1);
    std::string bytes = ReadFileBytes(ConfigPath());
    ASSERT_EQ(bytes.size(), 148u);
    EXPECT_EQ(bytes.substr(0, 32), std::string("VESKAROT20041206") + std::string(16, '\0'));
    EXPECT_EQ(bytes.substr(32), RecordBytes(config).substr(32));
}

TEST_F(ConfigStore, RoundTripKeepsEveryField)
{
    ConfigData saved = SampleRecord();
    ASSERT_EQ(SaveConfigData(&saved), 1);
    ConfigData loaded;
    memset(&loaded, 0x55, sizeof loaded);
    ASSERT_EQ(LoadConfigData(&loaded), 1);
    EXPECT_EQ(RecordBytes(loaded), RecordBytes(saved));
}

TEST_F(ConfigStore, ValuesOutOfRangeAndUnterminatedNamesLoadAsStored)
{
    std::string bytes = DefaultRecordBytes();
    memset(&bytes[32], 'N', 64);                 // no terminator in the face name
    const int32_t odd[5] = {7, -1, 2, 7, 9};     // moveKeys .. useGamepad
    memcpy(&bytes[96], odd, sizeof odd);
    const int32_t pads[8] = {9, 0, -5, 7, 1, 2, 3, 4};
    memcpy(&bytes[116], pads, sizeof pads);
    WriteFileBytes(ConfigPath(), bytes);

    ConfigData config;
    ASSERT_EQ(LoadConfigData(&config), 1);
    EXPECT_EQ(RecordBytes(config), bytes);
}

TEST_F(ConfigStore, FileLengths)
{
    ConfigData config;
    // Missing file.
    memset(&config, 0x55, sizeof config);
    EXPECT_EQ(LoadConfigData(&config), 0);
    EXPECT_EQ(RecordBytes(config), std::string(148, '\0'));

    // One byte short: rejected, record zeroed.
    std::string good = RecordBytes(SampleRecord());
    memcpy(&good[0], "VESKAROT20041206", 17);
    WriteFileBytes(ConfigPath(), good.substr(0, 147));
    memset(&config, 0x55, sizeof config);
    EXPECT_EQ(LoadConfigData(&config), 0);
    EXPECT_EQ(RecordBytes(config), std::string(148, '\0'));

    // Empty file.
    WriteFileBytes(ConfigPath(), "");
    EXPECT_EQ(LoadConfigData(&config), 0);

    // Exact.
    WriteFileBytes(ConfigPath(), good);
    EXPECT_EQ(LoadConfigData(&config), 1);
    EXPECT_EQ(RecordBytes(config), good);

    // Longer: the first 148 bytes count, and the next save cuts the file.
    WriteFileBytes(ConfigPath(), good + std::string(52, '\x7f'));
    ASSERT_EQ(LoadConfigData(&config), 1);
    EXPECT_EQ(RecordBytes(config), good);
    ASSERT_EQ(SaveConfigData(&config), 1);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), good);
}

TEST_F(ConfigStore, MagicVariants)
{
    struct Case {
        int offset;         // byte of the magic area to change
        char value;
        int accepted;
    } const cases[] = {
        {0, 'v', 0},        // letter case counts
        {8, '3', 0},        // one digit different
        {15, '7', 0},       // the last character
        {16, 'X', 0},       // non-zero right after the 16 characters
        {16, '\x01', 0},
        {17, 'X', 1},       // the rest of the area is not looked at
        {24, '\xff', 1},
        {31, 'Z', 1},
    };
    for (const Case &c : cases) {
        std::string bytes = DefaultRecordBytes();
        bytes[c.offset] = c.value;
        WriteFileBytes(ConfigPath(), bytes);
        ConfigData config;
        EXPECT_EQ(LoadConfigData(&config), c.accepted) << "offset " << c.offset;
        EXPECT_EQ(RecordBytes(config), c.accepted ? bytes : std::string(148, '\0'))
            << "offset " << c.offset;
    }

    // Non-zero bytes over all of 17 to 31 at once.
    std::string bytes = DefaultRecordBytes();
    memset(&bytes[17], '#', 15);
    WriteFileBytes(ConfigPath(), bytes);
    ConfigData config;
    EXPECT_EQ(LoadConfigData(&config), 1);
}

// A save that cannot be done reports 0 and leaves the old file exactly as it was.
TEST_F(ConfigStore, FailedSavesKeepTheOldSettings)
{
    std::string old = DefaultRecordBytes();
    old[40] = 'Q';
    ConfigData config = SampleRecord();

    // Config.dat held open by another program without sharing.
    WriteFileBytes(ConfigPath(), old);
    HANDLE held = CreateFileA(ConfigPath().c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SaveConfigData(&config), 0);
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), old);
    EXPECT_EQ(ListDir(dir), std::vector<std::string>{CONFIG_FILE_NAME});

    // The temporary file cannot be created.
    std::string blocker = dir + "\\" CONFIG_FILE_NAME ".new";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), NULL));
    EXPECT_EQ(SaveConfigData(&config), 0);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), old);
    RemoveDirectoryA(blocker.c_str());

    // Config.dat is a directory.
    DeleteFileA(ConfigPath().c_str());
    ASSERT_TRUE(CreateDirectoryA(ConfigPath().c_str(), NULL));
    EXPECT_EQ(SaveConfigData(&config), 0);
    EXPECT_EQ(GetFileAttributesA(ConfigPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              (DWORD)FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(ListDir(dir), std::vector<std::string>{CONFIG_FILE_NAME});
    EXPECT_EQ(LoadConfigData(&config), 0);

    // The folder is gone.
    strcat(gModuleDir, "\\missing");
    EXPECT_EQ(SaveConfigData(&config), 0);
    EXPECT_FALSE(FileExists(gModuleDir));
}

TEST_F(ConfigStore, PathsThatDoNotFitFailCleanly)
{
    ConfigData config = SampleRecord();
    char path[MAX_PATH];

    // The longest folder whose Config.dat path still fits in MAX_PATH works.
    std::string fits(MAX_PATH - 1 - 11, 'a');
    strcpy(gModuleDir, fits.c_str());
    EXPECT_EQ(BuildConfigPath(path, sizeof path, CONFIG_FILE_NAME), 1);
    EXPECT_EQ(strlen(path), (size_t)MAX_PATH - 1);

    // One byte more, up to a full 259-byte folder: no path, no file, no crash.
    for (size_t length : {fits.size() + 1, (size_t)MODULE_DIR_SIZE - 1}) {
        std::string folder(length, 'b');
        strcpy(gModuleDir, folder.c_str());
        EXPECT_EQ(BuildConfigPath(path, sizeof path, CONFIG_FILE_NAME), 0) << length;
        EXPECT_EQ(LoadConfigData(&config), 0) << length;
        EXPECT_EQ(SaveConfigData(&config), 0) << length;
    }

    // An unknown folder never means the root or the current directory.
    gModuleDir[0] = '\0';
    EXPECT_EQ(BuildConfigPath(path, sizeof path, CONFIG_FILE_NAME), 0);
    EXPECT_EQ(SaveConfigData(&config), 0);
}

TEST(ModuleDir, LastComponentIsCut)
{
    struct Case {
        const char *path;
        const char *dir;
    } const cases[] = {
        {"C:\\Games\\Veskarot\\setup.exe", "C:\\Games\\Veskarot"},
        {"C:\\setup.exe", "C:"},
        {"\\\\server\\share\\game\\setup.exe", "\\\\server\\share\\game"},
        {"setup.exe", ""},
        {"", ""},
    };
    for (const Case &c : cases) {
        char buffer[MODULE_DIR_SIZE];
        strcpy(buffer, c.path);
        StripLastPathComponent(buffer);
        EXPECT_STREQ(buffer, c.dir) << c.path;
    }
}

TEST(ModuleDir, FoundForTheRunningProgram)
{
    InitModuleDir();
    char expected[MAX_PATH];
    GetModuleFileNameA(NULL, expected, sizeof expected);
    *strrchr(expected, '\\') = '\0';
    EXPECT_STREQ(gModuleDir, expected);
}
