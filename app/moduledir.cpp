// Finding the program's own directory at start-up. The wide form of the path:
// the 8-bit one turns letters outside the system's code page into '?'.
#include "moduledir.h"

#include <windows.h>
#include <cwchar>

wchar_t gModuleDir[MODULE_DIR_SIZE];

// Cuts the last component and the backslash before it, in place; a path
// without a backslash becomes empty.
static void StripLastPathComponent(wchar_t *path)
{
    wchar_t *last = wcsrchr(path, L'\\');
    if (last)
        *last = L'\0';
    else
        path[0] = L'\0';
}

void InitModuleDir()
{
    DWORD length = GetModuleFileNameW(NULL, gModuleDir, MODULE_DIR_SIZE);
    // Older systems do not terminate a cut path; newer ones terminate it but
    // still return the buffer size. Either way the directory is unreliable.
    if (length == 0 || length >= MODULE_DIR_SIZE) {
        gModuleDir[0] = L'\0';
        return;
    }
    gModuleDir[length] = L'\0';
    StripLastPathComponent(gModuleDir);
}
