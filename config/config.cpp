// Loading and saving Config.dat. A save goes through a temporary file that
// replaces the old one in one step, so a failed save never costs the player
// the settings that were there.
#include "config.h"

#include <windows.h>
#include <cstring>

#define CONFIG_TEMP_NAME CONFIG_FILE_NAME ".new"

ConfigData *DefaultConfigData(ConfigData *config)
{
    memset(config, 0, sizeof *config);
    config->useGamepad = 1;
    memcpy(config->padButton, DEFAULT_PAD_BUTTON, sizeof config->padButton);
    return config;
}

// The folder, one backslash, the file name; built by hand because a
// formatting library would more than double the size of the program.
int BuildConfigPath(char *path, size_t size, const char *folder, const char *fileName)
{
    size_t dirLength = folder ? strlen(folder) : 0;
    size_t nameLength = strlen(fileName);
    if (dirLength == 0 || dirLength + 1 + nameLength + 1 > size)
        return 0;
    memcpy(path, folder, dirLength);
    path[dirLength] = '\\';
    memcpy(path + dirLength + 1, fileName, nameLength + 1);
    return 1;
}

static int ReadWhole(HANDLE file, void *buffer, DWORD size)
{
    BYTE *p = (BYTE *)buffer;
    DWORD done = 0;
    while (done < size) {
        DWORD got = 0;
        if (!ReadFile(file, p + done, size - done, &got, NULL) || got == 0)
            return 0;
        done += got;
    }
    return 1;
}

int LoadConfigData(const char *folder, ConfigData *config)
{
    memset(config, 0, sizeof *config);

    char path[MAX_PATH];
    if (!BuildConfigPath(path, sizeof path, folder, CONFIG_FILE_NAME))
        return 0;
    HANDLE file = CreateFileA(path, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    int whole = ReadWhole(file, config, sizeof *config);
    CloseHandle(file);

    // The magic with its terminator; what follows it in the area is not looked at.
    if (whole && memcmp(config->magic, CONFIG_MAGIC, sizeof CONFIG_MAGIC) == 0)
        return 1;
    memset(config, 0, sizeof *config);
    return 0;
}

static int WriteTempFile(const char *path, const ConfigData *config)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    int ok = WriteFile(file, config, sizeof *config, &written, NULL)
             && written == sizeof *config
             && FlushFileBuffers(file);
    if (!CloseHandle(file))
        ok = 0;
    if (!ok)
        DeleteFileA(path);
    return ok;
}

int SaveConfigData(const char *folder, ConfigData *config)
{
    memset(config->magic, 0, sizeof config->magic);
    memcpy(config->magic, CONFIG_MAGIC, sizeof CONFIG_MAGIC);

    char path[MAX_PATH], temp[MAX_PATH];
    if (!BuildConfigPath(path, sizeof path, folder, CONFIG_FILE_NAME)
        || !BuildConfigPath(temp, sizeof temp, folder, CONFIG_TEMP_NAME))
        return 0;
    if (!WriteTempFile(temp, config))
        return 0;
    if (!MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp);
        return 0;
    }
    return 1;
}
