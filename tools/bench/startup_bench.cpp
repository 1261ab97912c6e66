// Times from process start until a dialog program is painted and waiting for
// input, for two programs in turn; prints each median and their ratio.
//   startup_bench RUNS PROGRAM BASELINE
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "timing.h"

struct Found {
    DWORD process;
    HWND window;
};

static BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data)
{
    Found *found = (Found *)data;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == found->process && IsWindowVisible(window)) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds until the program's dialog is shown and the program idles,
// which it does only once the first paint is done; -1 on failure.
static double TimeStart(const char *program)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    char commandLine[MAX_PATH + 2];
    snprintf(commandLine, sizeof commandLine, "\"%s\"", program);
    double started = Now();
    if (!CreateProcessA(program, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info))
        return -1;
    double elapsed = -1;
    if (WaitForInputIdle(info.hProcess, 30000) == 0) {
        Found found = {info.dwProcessId, NULL};
        for (int tries = 0; tries < 3000 && !found.window; ++tries) {
            EnumWindows(FindProcessWindow, (LPARAM)&found);
            if (!found.window)
                Sleep(1);
        }
        if (found.window)
            elapsed = (Now() - started) * 1000.0;
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return elapsed;
}

int main(int argc, char **argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: startup_bench RUNS PROGRAM BASELINE...\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    std::vector<std::vector<double>> times(argc - 2);
    for (int k = 2; k < argc; ++k)     // warm the caches once for each
        TimeStart(argv[k]);
    for (int i = 0; i < runs; ++i) {
        for (int k = 2; k < argc; ++k) {
            double t = TimeStart(argv[k]);
            if (t < 0) {
                fprintf(stderr, "run %d: %s did not come up\n", i + 1, argv[k]);
                return 1;
            }
            times[k - 2].push_back(t);
        }
    }
    double p = Median(times[0]);
    printf("start-up to first paint, median of %d runs taken in turns: %s %.1f ms\n", runs, argv[2], p);
    for (int k = 3; k < argc; ++k) {
        double b = Median(times[k - 2]);
        printf("  %s %.1f ms: ratio %.3f\n", argv[k], b, p / b);
    }
    return 0;
}
