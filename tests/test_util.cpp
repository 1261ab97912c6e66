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
