// Hostile settings files and records, and saves cut off at random moments.
#include "harness.h"

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
        value = (Random(3) ? extremes[Random(11)] : (int32_t)gRandom()) | full;
    std::string font = full ? std::string(64, 'Z') : Random(2) ? "Courier New" : "";
    while (font.size() < 64 && Random(20))
        font += (char)(1 + Random(255));
    return Record(ints, font);
}

// A record whose last byte ends a page, so that reading or writing past it faults at once.
static ConfigData *Guarded()
{
    BYTE *pages = (BYTE *)VirtualAlloc(NULL, 8192, MEM_RESERVE, PAGE_NOACCESS);
    return (ConfigData *)((BYTE *)VirtualAlloc(pages, 4096, MEM_COMMIT, PAGE_READWRITE) + 4096) - 1;
}

using Robust = Folder;

// Fuzzed files load whole or not at all. Each record is then applied on top of the one
// before: a value out of range leaves its controls as they were (the display mode is
// cleared), and OK saves what they show.
TEST_F(Robust, FuzzedFilesAndRecordsThroughTheDialog)
{
    Open();
    ShowWindow(dlg, SW_HIDE);
    ConfigData *record = Guarded();
    Ints shown = DEFAULTS;
    for (int i = 0; i < 1000; ++i) {
        const std::string bytes = FuzzedRecord();
        std::string file = bytes;
        file[Random(32)] ^= Random(2) ? (char)Random(256) : 0;      // the magic area
        file.resize(Random(2) ? file.size() : Random(300));          // short or long
        Put(Path(), file);
        const bool good = file.size() >= 148 && memcmp(file.data(), "VESKAROT20041206", 17) == 0;
        ASSERT_EQ(LoadConfigData(dir.c_str(), record), good) << "file " << i;
        ASSERT_EQ(std::string((char *)record, 148), good ? file.substr(0, 148) : std::string(148, 0)) << "file " << i;

        memcpy(record, bytes.data(), 148);
        ApplyConfigToDialog(dlg, record);
        const int32_t *in = &record->moveKeys;
        for (int k = 0; k < 3; ++k)
            shown[k] = in[k] == 0 || in[k] == 1 ? in[k] : shown[k];
        for (int k = 5; k < 13; ++k)
            shown[k] = in[k] >= 1 && in[k] <= 6 ? in[k] : shown[k];
        shown[4] = in[4] != 0;
        // Wine keeps the selection for a negative index other than -1.
        shown[3] = in[3] >= 0 && in[3] < 5 ? in[3] : SendDlgItemMessageA(dlg, IDC_DISPLAY_MODE, CB_GETCURSEL, 0, 0) < 0 ? -1 : shown[3];
        ASSERT_EQ(CollectConfigFromDialog(dlg), 1);
        ASSERT_EQ(Bytes(Path()), Record(shown, Text(IDC_FONT))) << "record " << i;
    }
}

// Run by the test below in a process of its own: saves two records in turn until killed.
TEST(RobustChild, DISABLED_SavesUntilKilled)
{
    char folder[MAX_PATH];
    ASSERT_TRUE(GetEnvironmentVariableA("VESKAROT_SAVE_DIR", folder, sizeof folder));
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
    SetEnvironmentVariableA("VESKAROT_SAVE_DIR", dir.c_str());
    LARGE_INTEGER start, now = {};
    ConfigData config;
    for (int kill = 0; kill < 40; ++kill) {
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION child;
        DeleteFileA(Path().c_str());
        ASSERT_TRUE(WaitFor("the child started", [&] {   // a busy system may refuse a start for a moment
            return CreateProcessA(NULL, command, NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL, &startup, &child);
        }));
        ASSERT_TRUE(WaitFor("the child's first save", [&] { return Bytes(Path()) != "<none>"; }));
        QueryPerformanceCounter(&start);
        for (LONGLONG until = start.QuadPart + Random(100000); now.QuadPart < until;)   // up to 10 ms
            QueryPerformanceCounter(&now);
        TerminateProcess(child.hProcess, 77);
        WaitForSingleObject(child.hProcess, 30000);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
        const std::string bytes = Bytes(Path());
        ASSERT_TRUE(bytes == saved[0] || bytes == saved[1]) << "kill " << kill << " left " << bytes.size() << " bytes";
        ASSERT_TRUE(LoadConfigData(dir.c_str(), &config) + SaveConfigData(dir.c_str(), &config) == 2 && Bytes(Path("Config.dat.new")) == "<none>")
            << "loading and saving after kill " << kill;
    }
}
