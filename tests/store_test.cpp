// The settings store on real files: the bytes on disk, what loads back, and
// saves that cannot be done.
#include "harness.h"

using Store = Folder;

TEST_F(Store, SavesByteForByteAndLoadsWholeRecordsWithTheMagic)
{
    ConfigData config;
    ASSERT_EQ(SaveConfigData(DefaultConfigData(&config)), 1);
    EXPECT_EQ(Bytes(Path()), Record(DEFAULTS));
    // Junk in the magic area is replaced; values out of range and a face name without terminator stay.
    const std::string full = Record({7, -1, 2, 9, 5, 9, 0, INT32_MIN, 1, 2, 3, 4, 6}, std::string(64, 'N'));
    memcpy(&config, full.data(), sizeof config);
    memset(config.magic, 'x', sizeof config.magic);
    ASSERT_EQ(SaveConfigData(&config), 1);
    EXPECT_EQ(Bytes(Path()), full);
    EXPECT_EQ(ListDir(dir), "Config.dat");

    // file -> accepted (then the record holds its first 148 bytes, else zeros)
    auto with = [&](size_t at, char c) { std::string b = full; b[at] = c; return b; };
    const struct { std::string file; int accepted; } cases[] = {
        {"", 0}, {full.substr(0, 147), 0}, {full, 1}, {full + std::string(52, '\x7f'), 1}, {with(0, 'v'), 0},
        {with(15, '7'), 0}, {with(16, 'X'), 0}, {with(17, 'X'), 1}, {with(31, '\xff'), 1},
    };
    for (const auto &c : cases) {
        Put(Path(), c.file);
        memset(&config, 0x55, sizeof config);
        EXPECT_EQ(LoadConfigData(&config), c.accepted) << c.file.size() << " bytes";
        EXPECT_EQ(std::string((char *)&config, 148), c.accepted ? c.file.substr(0, 148) : std::string(148, 0));
    }
    // The next save cuts a long file to the record.
    ASSERT_EQ(SaveConfigData(&config), 1);
    EXPECT_EQ(Bytes(Path()), full);
}

// A save that cannot be done reports 0 and leaves the folder exactly as it was.
TEST_F(Store, FailedSavesKeepTheOldFileAndLeaveNothingBehind)
{
    HANDLE held = NULL;
    const std::string old = Record(DEFAULTS, "Old"), temp = Path("Config.dat.new"), here = ListDir(".");
    auto restore = [&] { strcpy(gModuleDir, dir.c_str()); };
    const struct { const char *what; std::function<void()> block, unblock; } cases[] = {
        {"Config.dat held open without sharing",
         [&] { held = CreateFileA(Path().c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL); },
         [&] { CloseHandle(held); }},
        {"the temporary file's name taken by a folder", [&] { CreateDirectoryA(temp.c_str(), NULL); },
         [&] { RemoveDirectoryA(temp.c_str()); }},
        {"the folder gone", [&] { strcat(gModuleDir, "\\gone"); }, restore},
        {"a path longer than the system takes", [&] { strcpy(gModuleDir, std::string(249, 'a').c_str()); }, restore},
        {"the folder unknown", [&] { gModuleDir[0] = 0; }, restore},
    };
    for (const auto &c : cases) {
        Put(Path(), old);
        const std::string before = ListDir(dir);
        c.block();
        ConfigData config;
        EXPECT_EQ(SaveConfigData(DefaultConfigData(&config)), 0) << c.what;
        c.unblock();
        EXPECT_EQ(Bytes(Path()), old) << c.what;
        EXPECT_EQ(ListDir(dir) + "|" + ListDir("."), before + "|" + here) << c.what;
    }
    char path[MAX_PATH];
    strcpy(gModuleDir, std::string(248, 'a').c_str());
    EXPECT_EQ(BuildConfigPath(path, sizeof path, "Config.dat"), 1) << "the longest path that fits";
}

TEST(ModuleDir, IsTheProgramPathWithoutItsLastComponent)
{
    const char *cases[][2] = {{"C:\\Games\\V\\setup.exe", "C:\\Games\\V"}, {"C:\\setup.exe", "C:"},
                              {"\\\\server\\share\\setup.exe", "\\\\server\\share"}, {"setup.exe", ""}};
    for (const auto &c : cases) {
        char path[MODULE_DIR_SIZE];
        StripLastPathComponent(strcpy(path, c[0]));
        EXPECT_STREQ(path, c[1]) << c[0];
    }
}
