// Times from process start until a dialog program is painted and waiting for
// input, for two programs in turn; prints each median and their ratio.
//   startup_bench RUNS PROGRAM BASELINE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "clock.h"

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

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int main(int argc, char **argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: startup_bench RUNS PROGRAM BASELINE\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    std::vector<double> program, baseline;
    TimeStart(argv[2]);     // warm the caches once for both
    TimeStart(argv[3]);
    for (int i = 0; i < runs; ++i) {
        double a = TimeStart(argv[2]);
        double b = TimeStart(argv[3]);
        if (a < 0 || b < 0) {
            fprintf(stderr, "run %d: a program did not come up\n", i + 1);
            return 1;
        }
        program.push_back(a);
        baseline.push_back(b);
    }
    double p = Median(program), b = Median(baseline);
    printf("start-up to first paint, median of %d: program %.1f ms, bare dialog %.1f ms, ratio %.3f\n",
           runs, p, b, p / b);
    return 0;
}
