// The settings store: a record at its limits, and saves cut off at random moments. What a save
// writes is checked through the dialog (dialog_test); a save that fails, on the program itself
// (program_test).
#include "harness.h"

using Robust = Folder;

// A record at its limits in memory that ends with it, so that reading or writing past it faults
// at once: no zero byte behind the magic area (a face name that fills its 64 bytes, integers out
// of their ranges). It loads from a longer file; saved with junk in its magic area, the file gets
// the magic and zeros there and the rest as it is; it goes into the dialog.
TEST_F(Robust, RecordAtItsLimitsInMemoryThatEndsWithIt)
{
    Open();
    BYTE *pages = (BYTE *)VirtualAlloc(NULL, 8192, MEM_RESERVE, PAGE_NOACCESS);
    ConfigData *record = (ConfigData *)((BYTE *)VirtualAlloc(pages, 4096, MEM_COMMIT, PAGE_READWRITE) + 4096) - 1;
    const std::string full = Record("move=-1 jump=0x7FFFFFFF ok=0x02020202 mode=0x05050505 pad=-2 buttons=0x07070707,"
                                    "-0x808081,-9,0x01010101,0x06060606,0x7F7F7F7F,0x04040404,0x03030303",
                                    std::string(64, 'Z'));
    Put(file, full + "longer");
    ASSERT_EQ(LoadConfigData(dir.c_str(), record), 1);
    memset(record->magic, 0xAA, 32);
    ASSERT_EQ(SaveConfigData(dir.c_str(), record), 1);
    EXPECT_EQ(Bytes(file), full);
    ApplyConfigToDialog(dlg, record);
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

// A save cut off at any moment, here 40 moments 0.25 ms apart from the child's first save on,
// leaves the old or the new 148 bytes, and a temporary file left behind stops neither the next
// load nor the next save.
TEST_F(Robust, SaveKilledAtRandomMomentsLeavesOldOrNew)
{
    const std::string saved[2] = {Record(), Record("move=1")};
    std::string line = GetCommandLineA();   // this program's, with the child's test alone
    line += " --gtest_also_run_disabled_tests --gtest_filter=RobustChild.*";
    SetEnvironmentVariableW(L"VESKAROT_SAVE_DIR", dir.c_str());
    LARGE_INTEGER start, now = {};
    ConfigData config;
    for (int kill = 0; kill < 40; ++kill) {
        STARTUPINFOA setup = {sizeof setup};
        PROCESS_INFORMATION child;
        std::filesystem::remove(file);
        ASSERT_TRUE(WaitFor("the child started", [&] {   // a busy system may refuse a start for a moment
            return CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL, &setup, &child);
        }));
        ASSERT_TRUE(WaitFor("the child's first save", [&] { return Bytes(file) != NO_FILE; }));
        QueryPerformanceCounter(&start);
        for (LONGLONG until = start.QuadPart + kill * 2500; now.QuadPart < until;)
            QueryPerformanceCounter(&now);
        TerminateProcess(child.hProcess, 77);
        WaitForSingleObject(child.hProcess, 30000);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
        const std::string bytes = Bytes(file);
        ASSERT_TRUE(bytes == saved[0] || bytes == saved[1]) << "kill " << kill << " left " << bytes.size() << " bytes";
        ASSERT_EQ(LoadConfigData(dir.c_str(), &config), 1) << "loading after kill " << kill;
        ASSERT_EQ(SaveConfigData(dir.c_str(), &config), 1) << "saving after kill " << kill;
        ASSERT_EQ(Bytes(dir / "Config.tmp"), NO_FILE) << "after kill " << kill;
    }
    EXPECT_EQ(SaveConfigData(L"", &config), 0) << "saved in an unknown (empty) folder";
}

