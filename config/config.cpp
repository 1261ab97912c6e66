// Loading and saving Config.dat. A save goes through a temporary file that
// replaces the old one in one step, so a failed save never costs the player
// the settings that were there; only where another program holds Config.dat
// open is it written in place. Paths go through the wide file functions, so
// the program's folder may hold any letter, whatever the system's code page.
#include "config.h"

#include <windows.h>
#include <cstring>
#include <cwchar>

// No longer than Config.dat's own name: wherever Config.dat's path fits, so does this one.
#define CONFIG_TEMP_NAME L"Config.tmp"
static_assert(sizeof CONFIG_TEMP_NAME <= sizeof CONFIG_FILE_NAME, "the temporary file's name is not longer");

ConfigData *DefaultConfigData(ConfigData *config)
{
    memset(config, 0, sizeof *config);
    config->useGamepad = 1;
    memcpy(config->padButton, DEFAULT_PAD_BUTTON, sizeof config->padButton);
    return config;
}

// The folder, one backslash, the file name.
int BuildConfigPath(wchar_t *path, size_t size, const wchar_t *folder, const wchar_t *fileName)
{
    size_t dirLength = folder ? wcslen(folder) : 0;
    size_t nameLength = wcslen(fileName);
    if (dirLength == 0 || dirLength + 1 + nameLength + 1 > size)
        return 0;
    wmemcpy(path, folder, dirLength);
    path[dirLength] = L'\\';
    wmemcpy(path + dirLength + 1, fileName, nameLength + 1);
    return 1;
}

// 1 when size bytes were read; 0 when the file ends before them, or when reading fails,
// with the system's error code in *error.
static int ReadWhole(HANDLE file, void *buffer, DWORD size, uint32_t *error)
{
    BYTE *p = (BYTE *)buffer;
    DWORD done = 0;
    while (done < size) {
        DWORD got = 0;
        if (!ReadFile(file, p + done, size - done, &got, NULL)) {
            *error = GetLastError();
            return 0;
        }
        if (got == 0)
            return 0;
        done += got;
    }
    return 1;
}

// The system's error code for a Config.dat that is there but cannot be opened;
// 0 where it is not there at all.
static DWORD OpenError()
{
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
}

int LoadConfigData(const wchar_t *folder, ConfigData *config, uint32_t *error)
{
    memset(config, 0, sizeof *config);
    uint32_t unused;
    if (!error)
        error = &unused;
    *error = 0;

    wchar_t path[MAX_PATH];
    if (!BuildConfigPath(path, MAX_PATH, folder, CONFIG_FILE_NAME)) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    HANDLE file = CreateFileW(path, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *error = OpenError();
        return 0;
    }
    int whole = ReadWhole(file, config, sizeof *config, error);
    CloseHandle(file);

    // The magic with its terminator; what follows it in the area is not looked at.
    if (whole && memcmp(config->magic, CONFIG_MAGIC, sizeof CONFIG_MAGIC) == 0)
        return 1;
    memset(config, 0, sizeof *config);
    return 0;
}

// Writes the record to a file opened with access and sharing as given and creating as given,
// flushed and cut to the record's length; 1 on success, else 0 with the system's error code.
static int WriteRecord(const wchar_t *path, DWORD share, DWORD creation, const ConfigData *config,
                       uint32_t *error)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, share, NULL, creation, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return 0;
    }
    DWORD written = 0;
    int ok = WriteFile(file, config, sizeof *config, &written, NULL) && written == sizeof *config
             && SetEndOfFile(file) && FlushFileBuffers(file);
    if (!ok)
        *error = GetLastError();
    if (!CloseHandle(file) && ok) {
        *error = GetLastError();
        ok = 0;
    }
    return ok;
}

int SaveConfigData(const wchar_t *folder, ConfigData *config, uint32_t *error)
{
    memset(config->magic, 0, sizeof config->magic);
    memcpy(config->magic, CONFIG_MAGIC, sizeof CONFIG_MAGIC);
    uint32_t unused;
    if (!error)
        error = &unused;
    *error = 0;

    wchar_t path[MAX_PATH], temp[MAX_PATH];
    if (!BuildConfigPath(path, MAX_PATH, folder, CONFIG_FILE_NAME)
        || !BuildConfigPath(temp, MAX_PATH, folder, CONFIG_TEMP_NAME)) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    if (!WriteRecord(temp, 0, CREATE_ALWAYS, config, error)) {
        DeleteFileW(temp);
        return 0;
    }
    int saved = MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    // The replace needs to delete the old file, which a program that has it open, only to read
    // it, may not allow (the game, a backup). Where that program lets it be written, the record
    // goes into it in place.
    if (!saved) {
        *error = GetLastError();
        if (*error == ERROR_SHARING_VIOLATION || *error == ERROR_ACCESS_DENIED)
            saved = WriteRecord(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                                config, error);
    }
    DeleteFileW(temp);
    if (saved)
        *error = 0;
    return saved;
}
