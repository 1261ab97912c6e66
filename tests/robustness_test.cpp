// Hostile settings files and records, and saves cut off at any moment.
// Tests named Stress take seconds to minutes and are left out of slow runs.
#include "test_util.h"

#include <cstdio>
#include <cstring>

#include "../app/moduledir.h"

namespace {

// A deterministic random stream (splitmix64), so a failure can be replayed.
struct Random {
    uint64_t state;
    uint64_t Next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return (uint32_t)(Next() % n); }
};

constexpr int32_t EXTREMES[] = {0, 1, -1, 2, 5, 6, 7, 9, 256, INT32_MIN, INT32_MAX, 0x01010101};

int32_t FieldValue(Random &r)
{
    switch (r.Below(3)) {
    case 0:  return EXTREMES[r.Below(sizeof EXTREMES / sizeof EXTREMES[0])];
    case 1:  return (int32_t)r.Below(9) - 2;
    default: return (int32_t)r.Next();
    }
}

// A record with the magic and every field at random; one in four has a face
// name without terminator and no zero byte anywhere behind the magic.
std::string FuzzedRecord(Random &r)
{
    std::string bytes = DefaultRecordBytes();
    for (size_t offset = 96; offset < 148; offset += 4) {
        int32_t value = FieldValue(r);
        memcpy(&bytes[offset], &value, 4);
    }
    if (r.Below(4) == 0) {
        for (size_t i = 32; i < 148; ++i) {
            if (i < 96 || bytes[i] == 0)
                bytes[i] = (char)(1 + r.Below(255));
        }
    } else {
        const char *names[] = {"", "Courier New", "COURIER", "c", "\xC0 Sans", "\xC0", "none"};
        const char *name = names[r.Below(7)];
        memcpy(&bytes[32], name, strlen(name) + 1);
    }
    return bytes;
}

// A file as a foreign program or a damaged disk might leave it.
std::string FuzzedFile(Random &r)
{
    std::string bytes = FuzzedRecord(r);
    switch (r.Below(6)) {
    case 0: bytes[r.Below(17)] ^= (char)(1 + r.Below(255)); break;    // bad magic
    case 1: bytes.resize(r.Below(148)); break;                        // short
    case 2: bytes.append(r.Below(250), (char)r.Next()); break;        // long
    case 3: bytes.assign(r.Below(400), '\xFF'); break;
    case 4: for (char &c : bytes) c = (char)r.Next(); break;          // noise
    default: break;                                                   // as made
    }
    return bytes;
}

// A record whose last byte ends a page, with a no-access page behind it:
// reading or writing past the record faults at once.
ConfigData *GuardedRecord()
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    BYTE *base = (BYTE *)VirtualAlloc(NULL, 2 * system.dwPageSize, MEM_COMMIT, PAGE_READWRITE);
    DWORD old;
    if (!base || !VirtualProtect(base + system.dwPageSize, system.dwPageSize, PAGE_NOACCESS, &old))
        return NULL;
    return (ConfigData *)(base + system.dwPageSize - sizeof(ConfigData));
}

}  // namespace

using Robust = DialogTest;

TEST_F(Robust, StressHundredThousandFuzzedFilesLoad)
{
    ConfigData *record = GuardedRecord();
    ASSERT_TRUE(record != NULL);
    // Rewritten in place: creating the file anew each time is twenty times slower.
    HANDLE file = CreateFileA(ConfigPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL,
                              CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    Random r = {0x5645534B41524F54ull};
    int accepted = 0;
    for (int i = 0; i < 100000; ++i) {
        std::string bytes = FuzzedFile(r);
        DWORD written;
        SetFilePointer(file, 0, NULL, FILE_BEGIN);
        WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
        SetEndOfFile(file);
        memset(record, 0x5A, sizeof *record);

        int expected = bytes.size() >= 148 && memcmp(bytes.data(), CONFIG_MAGIC, 17) == 0;
        ASSERT_EQ(LoadConfigData(record), expected) << "file " << i;
        ASSERT_EQ(RecordBytes(*record), expected ? bytes.substr(0, 148) : std::string(148, '\0'))
            << "file " << i;
        accepted += expected;
    }
    CloseHandle(file);
    printf("[          ] 100000 files, %d accepted\n", accepted);
}

// What OK saves is what the controls show, whatever record was applied, and
// Cancel writes nothing.
class RobustDialog : public Robust, public ::testing::WithParamInterface<int> {};

TEST_P(RobustDialog, StressFuzzedRecordsAppliedAndCollected)
{
    Open();
    ShowWindow(dlg, SW_HIDE);   // painting every record would triple the time
    ConfigData *record = GuardedRecord();
    ASSERT_TRUE(record != NULL);
    Random r = {0x4449414C4F470000ull + (uint64_t)GetParam()};
    for (int i = 0; i < 2500; ++i) {
        std::string bytes = FuzzedRecord(r);
        memcpy(record, bytes.data(), 148);
        ApplyConfigToDialog(dlg, record);

        ASSERT_EQ(CollectConfigFromDialog(dlg), 1);
        std::string saved = ReadFileBytes(ConfigPath());
        ASSERT_EQ(saved.size(), 148u);
        ConfigData s;
        memcpy(&s, saved.data(), 148);
        ASSERT_EQ(memcmp(s.magic, CONFIG_MAGIC, 17), 0);
        ASSERT_EQ(s.displayMode, Selection(IDC_DISPLAY_MODE)) << "record " << i;
        ASSERT_EQ(s.moveKeys, Checked(IDC_MOVE_ARROWS) ? 0 : 1) << "record " << i;
        ASSERT_EQ(s.jumpKeys, Checked(IDC_JUMP_Z) ? 0 : 1) << "record " << i;
        ASSERT_EQ(s.okKey, Checked(IDC_OK_JUMP) ? 0 : 1) << "record " << i;
        ASSERT_EQ(s.useGamepad, record->useGamepad ? 1 : 0) << "record " << i;
        std::string font = ItemText(IDC_FONT);
        ASSERT_EQ(std::string(s.fontName, 64), font + std::string(64 - font.size(), '\0'));
        for (int button = 0; button < PAD_BUTTON_COUNT; ++button) {
            int32_t stored = record->padButton[button];
            if (stored >= 1 && stored <= 6) {
                ASSERT_EQ(s.padButton[button], stored) << "record " << i << ", button " << button;
            } else {
                ASSERT_TRUE(s.padButton[button] >= 0 && s.padButton[button] <= 6);
            }
        }
        int32_t pair[3] = {record->moveKeys, record->jumpKeys, record->okKey};
        int32_t got[3] = {s.moveKeys, s.jumpKeys, s.okKey};
        for (int k = 0; k < 3; ++k) {
            if (pair[k] == 0 || pair[k] == 1) {
                ASSERT_EQ(got[k], pair[k]) << "record " << i << ", pair " << k;
            }
        }

        if (i % 500 == 0) {
            ApplyConfigToDialog(dlg, DefaultConfigData(&s));
            SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
            ASSERT_EQ(ReadFileBytes(ConfigPath()), saved) << "Cancel wrote, record " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Parts, RobustDialog, ::testing::Range(0, 4));

namespace {

const char LOOP_DIR[] = "VESKAROT_SAVE_LOOP_DIR";
const char LOOP_EVENT[] = "VeskarotSaveLoopStarted";

ConfigData KillRecord(int which)
{
    ConfigData config;
    DefaultConfigData(&config);
    strcpy(config.fontName, which ? "\xC0 Mono" : DEFAULT_FONT_ENTRY);
    config.moveKeys = config.okKey = which;
    config.displayMode = which ? 4 : 2;
    for (int i = 0; i < PAD_BUTTON_COUNT; ++i)
        config.padButton[i] = 1 + (i + which) % 6;
    return config;
}

double Seconds()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

}  // namespace

// Started by the kill test in a process of its own: saves A and B in turn.
TEST(RobustSaveChild, DISABLED_SavesUntilKilled)
{
    if (!GetEnvironmentVariableA(LOOP_DIR, gModuleDir, sizeof gModuleDir))
        GTEST_SKIP() << "runs only when started by the kill test";
    HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, LOOP_EVENT);
    ASSERT_TRUE(started != NULL);
    SetEvent(started);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000;) {
        for (int which = 0; which < 2; ++which) {
            ConfigData config = KillRecord(which);
            ASSERT_EQ(SaveConfigData(&config), 1);
        }
    }
}

// A save cut off at any moment leaves the old or the new 148 bytes.
TEST_F(ProgramDirTest, StressSaveKilledAtRandomMomentsLeavesOldOrNew)
{
    std::string saved[2];
    double before = Seconds();
    for (int which = 0; which < 2; ++which) {
        ConfigData config = KillRecord(which);
        ASSERT_EQ(SaveConfigData(&config), 1);
        saved[which] = ReadFileBytes(ConfigPath());
    }
    // Kills land within the first few saves of the child.
    const double spread = 3 * (Seconds() - before);

    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string command = std::string("\"") + self + "\" --gtest_also_run_disabled_tests"
                          " --gtest_filter=RobustSaveChild.DISABLED_SavesUntilKilled";
    SetEnvironmentVariableA(LOOP_DIR, dir.c_str());
    HANDLE started = CreateEventA(NULL, FALSE, FALSE, LOOP_EVENT);
    // The child writes to NUL: a console of its own would outlive the kill.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherit, OPEN_EXISTING, 0, NULL);

    Random r = {0x4B494C4Cull};
    int kills = 0, leftover = 0;
    for (DWORD start = GetTickCount(); kills < 200 && GetTickCount() - start < 30000; ++kills) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
        PROCESS_INFORMATION child;
        ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup,
                                   &child))
            << "kill " << kills << ", error " << GetLastError();
        ASSERT_EQ(WaitForSingleObject(started, 30000), WAIT_OBJECT_0) << "the child did not start";
        for (double until = Seconds() + spread * r.Below(1000) / 1000; Seconds() < until;) {
        }
        ASSERT_EQ(WaitForSingleObject(child.hProcess, 0), (DWORD)WAIT_TIMEOUT) << "ended by itself";
        TerminateProcess(child.hProcess, 77);
        WaitForSingleObject(child.hProcess, 30000);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);

        std::string bytes = ReadFileBytes(ConfigPath());
        ASSERT_TRUE(bytes == saved[0] || bytes == saved[1])
            << "kill " << kills << " left " << bytes.size() << " other bytes";
        // A temporary file left behind stops neither loading nor the next save.
        std::string temp = ConfigPath() + ".new";
        if (FileExists(temp)) {
            ++leftover;
            ConfigData loaded, next = KillRecord(bytes == saved[0]);
            ASSERT_EQ(LoadConfigData(&loaded), 1);
            ASSERT_EQ(SaveConfigData(&next), 1);
            ASSERT_FALSE(FileExists(temp));
        }
    }
    SetEnvironmentVariableA(LOOP_DIR, NULL);
    CloseHandle(nul);
    CloseHandle(started);
    printf("[          ] %d kills, %d with the temporary file left behind\n", kills, leftover);
    EXPECT_GE(kills, 50);
}
