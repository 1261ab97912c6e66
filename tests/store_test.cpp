// The settings store on real files: the bytes on disk and saves that cannot be done. The
// rules of loading are rows of the dialog's table (dialog_test); damaged files are fuzzed in robust_test.
#include "harness.h"

using Store = Folder;

// A save writes the record as it is, the magic area stamped; a save that cannot be done
// reports 0, keeps the old file and leaves no temporary file.
TEST_F(Store, SavesByteForByteOrNotAtAll)
{
    ConfigData config;
    std::string folder = dir;
    ASSERT_EQ(SaveConfigData(folder.c_str(), DefaultConfigData(&config)), 1);
    EXPECT_EQ(Bytes(Path()), Record(DEFAULTS));
    // Junk in the magic area is replaced; values out of range and a face name without terminator stay.
    const std::string full = Record({7, -1, 2, 9, 5, 9, 0, INT32_MIN, 1, 2, 3, 4, 6}, std::string(64, 'N'));
    memcpy(&config, full.data(), sizeof config);
    memset(config.magic, 'x', sizeof config.magic);
    ASSERT_EQ(SaveConfigData(folder.c_str(), &config), 1);
    EXPECT_EQ(Bytes(Path()) + Bytes(Path("Config.dat.new")), full + "<none>");

    HANDLE held = NULL;
    const std::string old = Record(DEFAULTS, "Old"), temp = Path("Config.dat.new");
    auto restore = [&] { folder = dir; };
    const struct { const char *what; std::function<void()> block, unblock; } cases[] = {
        {"Config.dat held open without sharing",
         [&] { held = CreateFileA(Path().c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL); },
         [&] { CloseHandle(held); }},
        {"the temporary file's name taken by a folder", [&] { CreateDirectoryA(temp.c_str(), NULL); },
         [&] { RemoveDirectoryA(temp.c_str()); }},
        {"the folder gone", [&] { folder += "\\gone"; }, restore},
        {"the folder unknown", [&] { folder = ""; }, restore},
    };
    for (const auto &c : cases) {
        Put(Path(), old);
        c.block();
        EXPECT_EQ(SaveConfigData(folder.c_str(), DefaultConfigData(&config)), 0) << c.what;
        c.unblock();
        EXPECT_EQ(Bytes(Path()) + Bytes(temp), old + "<none>") << c.what << ": the old file, and no temporary file";
    }
    char path[MAX_PATH];
    for (size_t length : {248, 249}) {   // the longest folder whose "\Config.dat" fits, and one more
        EXPECT_EQ(BuildConfigPath(path, sizeof path, std::string(length, 'a').c_str(), "Config.dat"), length == 248 ? 1 : 0) << length;
    }
}
