// The settings store: hostile files and records, and saves cut off at random moments. What a
// save writes is checked through the dialog (dialog_test); a save that fails, on the program
// itself (program_test).
#include "harness.h"

#include <random>

// A repeatable random stream, so that a failure can be replayed.
static std::mt19937 gRandom(20041206);
static uint32_t Random(uint32_t below) { return gRandom() % below; }

// The magic, fields at or beyond their limits, a face name that may fill its 64 bytes; one
// in four with no zero byte behind the magic, so that a read past the face name goes on.
static std::string FuzzedRecord()
{
    const int32_t extremes[] = {0, 1, -1, 2, 4, 5, 6, 7, 9, INT32_MIN, INT32_MAX};
    const int32_t full = Random(4) ? 0 : 0x01010101;
    Ints ints;
    for (int32_t &value : ints)
        value = extremes[Random(11)] | full;
    std::string font = full ? std::string(64, 'Z') : "Courier New";
    while (font.size() < 64 && Random(20))
        font += (char)(1 + Random(255));
    return Record(ints, font);
}

using Robust = Folder;
constexpr size_t RECORD_SIZE = sizeof(ConfigData);

// Fuzzed files load whole or not at all. Each record, in memory that ends with it, is saved
// as it is but for its magic area, which holds the magic and zeros whatever it held before, and
// then goes into the dialog and out of it again.
TEST_F(Robust, FuzzedFilesAndRecordsThroughTheDialog)
{
    Open();
    // A record whose last byte ends a page, so that reading or writing past it faults at once.
    BYTE *pages = (BYTE *)VirtualAlloc(NULL, 8192, MEM_RESERVE, PAGE_NOACCESS);
    ConfigData *record = (ConfigData *)((BYTE *)VirtualAlloc(pages, 4096, MEM_COMMIT, PAGE_READWRITE) + 4096) - 1;
    for (int i = 0; i < 1000; ++i) {
        const std::string bytes = FuzzedRecord();
        std::string file = bytes;
        if (Random(2))
            file[Random(32)] ^= (char)Random(256);   // the magic area
        if (Random(2))
            file.resize(Random(300));                // short or long
        Put(Path(), file);
        const bool good = file.size() >= RECORD_SIZE && memcmp(file.data(), "VESKAROT20041206", 17) == 0;
        ASSERT_EQ(LoadConfigData(dir.c_str(), record), good) << "file " << i;
        const std::string loaded = good ? file.substr(0, RECORD_SIZE) : std::string(RECORD_SIZE, 0);
        ASSERT_EQ(std::string((char *)record, RECORD_SIZE), loaded) << "file " << i;

        memcpy(record, bytes.data(), RECORD_SIZE);
        for (int b = 0; b < 32; ++b)
            record->magic[b] = (char)Random(256);
        ASSERT_EQ(SaveConfigData(dir.c_str(), record), 1) << "record " << i;
        ASSERT_EQ(Bytes(Path()), "VESKAROT20041206" + std::string(16, 0) + bytes.substr(32, RECORD_SIZE - 32)) << i;
        ApplyConfigToDialog(dlg, record);
        ASSERT_EQ(CollectConfigFromDialog(dlg), 1) << "record " << i;
    }
}

// Run by the test below in a process of its own: saves two records in turn until killed.
TEST(RobustChild, DISABLED_SavesUntilKilled)
{
    wchar_t folder[MAX_PATH];
    ASSERT_TRUE(GetEnvironmentVariableW(L"VESKAROT_SAVE_DIR", folder, MAX_PATH));
    for (int n = 0;; ++n) {
        ConfigData config;
        DefaultConfigData(&config)->moveKeys = n & 1;
        ASSERT_EQ(SaveConfigData(folder, &config), 1);
    }
}

// A save cut off at any moment leaves the old or the new 148 bytes, and a temporary
// file left behind stops neither the next load nor the next save.
TEST_F(Robust, SaveKilledAtRandomMomentsLeavesOldOrNew)
{
    const std::string saved[2] = {Record(DEFAULTS), Record({1, 0, 0, 0, 1, 2, 1, 5, 6, 3, 4, 6, 3})};
    char command[MAX_PATH + 80] = "\"";
    GetModuleFileNameA(NULL, command + 1, MAX_PATH);
    strcat(command, "\" --gtest_also_run_disabled_tests --gtest_filter=RobustChild.*");
    SetEnvironmentVariableW(L"VESKAROT_SAVE_DIR", dir.c_str());
    LARGE_INTEGER start, now = {};
    ConfigData config;
    for (int kill = 0; kill < 40; ++kill) {
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION child;
        std::filesystem::remove(Path());
        ASSERT_TRUE(WaitFor("the child started", [&] {   // a busy system may refuse a start for a moment
            return CreateProcessA(NULL, command, NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL, &startup, &child);
        }));
        ASSERT_TRUE(WaitFor("the child's first save", [&] { return Bytes(Path()) != NO_FILE; }));
        QueryPerformanceCounter(&start);
        for (LONGLONG until = start.QuadPart + Random(100000); now.QuadPart < until;)   // up to 10 ms
            QueryPerformanceCounter(&now);
        TerminateProcess(child.hProcess, 77);
        WaitForSingleObject(child.hProcess, 30000);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
        const std::string bytes = Bytes(Path());
        ASSERT_TRUE(bytes == saved[0] || bytes == saved[1]) << "kill " << kill << " left " << bytes.size() << " bytes";
        ASSERT_EQ(LoadConfigData(dir.c_str(), &config), 1) << "loading after kill " << kill;
        ASSERT_EQ(SaveConfigData(dir.c_str(), &config), 1) << "saving after kill " << kill;
        ASSERT_EQ(Bytes(Path("Config.tmp")), NO_FILE) << "after kill " << kill;
    }
    EXPECT_EQ(SaveConfigData(L"", &config), 0) << "saved in an unknown (empty) folder";
    wchar_t path[MAX_PATH];   // holds a folder of 248 characters, "\\Config.dat" and the end; a longer one is refused
    for (size_t n : {248, 249, 400})
        EXPECT_EQ(BuildConfigPath(path, MAX_PATH, std::wstring(n, L'a').c_str(), L"Config.dat"), n == 248) << n;
}

