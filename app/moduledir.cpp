// Finding the program's own directory at start-up.
#include "moduledir.h"

#include <windows.h>

char gModuleDir[MODULE_DIR_SIZE];

void StripLastPathComponent(char *path)
{
    // Walk forward so that the second byte of a double-byte character, which
    // may be 0x5C in the East Asian code pages, is never taken for a '\'.
    char *last = NULL;
    for (char *p = path; *p; ++p) {
        if (IsDBCSLeadByte((BYTE)*p) && p[1]) {
            ++p;
            continue;
        }
        if (*p == '\\')
            last = p;
    }
    if (last)
        *last = '\0';
    else
        path[0] = '\0';
}

void InitModuleDir()
{
    DWORD length = GetModuleFileNameA(NULL, gModuleDir, MODULE_DIR_SIZE);
    // Older systems do not terminate a cut path; newer ones terminate it but
    // still return the buffer size. Either way the directory is unreliable.
    if (length == 0 || length >= MODULE_DIR_SIZE) {
        gModuleDir[0] = '\0';
        return;
    }
    gModuleDir[length] = '\0';
    StripLastPathComponent(gModuleDir);
}
