// Times the settings dialog's initialisation by phase, each run in a fresh
// process as a player's start meets it: the first font enumeration of a
// process costs far more than later ones. Runs of two kinds alternate: one
// calls the functions that the program's WM_INITDIALOG calls, in its order,
// on a dialog made from the template with a procedure that does nothing; the
// other times the program's own WM_INITDIALOG and the painting of the picture,
// which the phases should add up to.
//   init_bench RUNS        (RUNS runs of each kind, default 21; prints medians)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "../../app/moduledir.h"
#include "../../dialog/dialog.h"
#include "timing.h"

// The phases, then what the program's own procedure is timed in.
static const char *const TIMED[] = {
    "lists, fonts, record", "pictures", "live views", "WM_INITDIALOG in all", "picture painted",
};
constexpr int PHASES = 3, TIMES = 5;

static double gTime[TIMES];

static INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

static INT_PTR CALLBACK TimedDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    double start = Now();
    INT_PTR result = ConfigDialogProc(dlg, message, wParam, lParam);
    if (message == WM_INITDIALOG)
        gTime[PHASES] = Now() - start;
    if (message == WM_PAINT && !gTime[PHASES + 1])
        gTime[PHASES + 1] = Now() - start;
    return result;
}

// The bare procedure gives the dialog no folder for Config.dat, so the record
// applied is the defaults, as where scripts/bench runs this (no Config.dat there).
static void TimePhases(HWND dlg)
{
    double t[PHASES + 1] = {Now()};
    InitConfigDialog(dlg);
    t[1] = Now();
    SetUpPreview(dlg);
    t[2] = Now();
    StartPadView(dlg);
    t[3] = Now();
    for (int k = 0; k < PHASES; ++k)
        gTime[k] = t[k + 1] - t[k];
}

// One run in this process; prints the times in milliseconds, zeros for what it did not time.
static int RunOnce(bool phases)
{
    HWND dlg = CreateDialogParamA(GetModuleHandleA(NULL), DIALOG_TEMPLATE_NAME, NULL,
                                  phases ? BareDialogProc : TimedDialogProc, (LPARAM)gModuleDir);
    if (!dlg)
        return 1;
    if (phases) {
        TimePhases(dlg);
    } else {
        ShowWindow(dlg, SW_SHOW);
        UpdateWindow(dlg);
    }
    for (double time : gTime)
        printf("%.3f ", time * 1000);
    DestroyWindow(dlg);
    return 0;
}

// Starts this program again for one run and adds the times it prints.
static bool RunChild(bool phases, std::vector<double> *times)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE read, write;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return false;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    char command[MAX_PATH + 16] = "\"";
    GetModuleFileNameA(NULL, command + 1, MAX_PATH);
    strcat(command, phases ? "\" phases" : "\" whole");
    PROCESS_INFORMATION info;
    BOOL started = CreateProcessA(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &info);
    CloseHandle(write);
    char text[512] = "";
    DWORD length = 0, got;
    while (started && length < sizeof text - 1 && ReadFile(read, text + length, sizeof text - 1 - length, &got, NULL) && got)
        length += got;
    CloseHandle(read);
    if (!started)
        return false;
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    char *p = text;
    for (int k = 0; k < TIMES; ++k)
        times[k].push_back(strtod(p, &p));
    return length > 0;
}

int main(int argc, char **argv)
{
    // As the program starts.
    InitCommonControls();
    InitModuleDir();
    if (argc > 1 && (strcmp(argv[1], "phases") == 0 || strcmp(argv[1], "whole") == 0))
        return RunOnce(strcmp(argv[1], "phases") == 0);

    int runs = argc > 1 ? atoi(argv[1]) : 21;
    std::vector<double> times[TIMES];
    for (int i = 0; i < runs; ++i)
        for (bool phases : {true, false})
            if (!RunChild(phases, times)) {
                fprintf(stderr, "run %d did not finish\n", i + 1);
                return 1;
            }
    printf("dialog initialisation by phase, median of %d fresh processes:\n", runs);
    double together = 0;
    for (int k = 0; k < TIMES; ++k) {
        // Runs of the phases come first, in the even places.
        std::vector<double> measured;
        for (size_t i = k < PHASES ? 0 : 1; i < times[k].size(); i += 2)
            measured.push_back(times[k][i]);
        double median = Median(measured);
        printf("  %-22s %7.2f ms\n", TIMED[k], median);
        together += k < PHASES ? median : 0;
        if (k == PHASES - 1)
            printf("  %-22s %7.2f ms\n", "the phases together", together);
    }
    return 0;
}
