// The gamepad's buttons shown live: while a button of the first controller is
// held, the number above its column of the grid is drawn in the highlight
// colours, so the player sees which button is which before choosing.
#include "dialog.h"

#include <mmsystem.h>

// The column heads "1" to "8", found by their texts: the template gives them no identifiers.
static HWND gPadHead[PAD_BUTTON_COUNT];
// The buttons lit now, bit n - 1 for button n, and the polling interval in use.
static DWORD gPadLit;
static UINT gPadInterval;

// The buttons held on the first controller, bit n - 1 for button n, leaving
// out any the controller does not have; -1 when no controller answers.
static int32_t ReadControllerButtons()
{
    JOYCAPSA caps;
    JOYINFOEX info = {};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNBUTTONS;
    if (joyGetNumDevs() == 0 || joyGetDevCapsA(JOYSTICKID1, &caps, sizeof caps) != JOYERR_NOERROR
        || joyGetPosEx(JOYSTICKID1, &info) != JOYERR_NOERROR)
        return -1;
    UINT buttons = caps.wNumButtons < PAD_BUTTON_COUNT ? caps.wNumButtons : PAD_BUTTON_COUNT;
    return (int32_t)(info.dwButtons & ((1u << buttons) - 1));
}

int32_t (*gReadPadButtons)() = ReadControllerButtons;

void StartPadView(HWND dlg)
{
    for (int n = 0; n < PAD_BUTTON_COUNT; ++n) {
        const char text[2] = {(char)('1' + n), '\0'};
        gPadHead[n] = FindWindowExA(dlg, NULL, NULL, text);
    }
    gPadLit = 0;
    gPadInterval = PAD_POLL_IDLE_MS;
    SetTimer(dlg, PAD_TIMER_ID, gPadInterval, NULL);
}

// Lights the heads of the buttons held and repaints those that changed. The
// controller is asked again soon while it answers, and only every few
// seconds while none does, so that one plugged in later still shows.
void PollPadButtons(HWND dlg)
{
    int32_t held = gReadPadButtons();
    DWORD lit = held < 0 ? 0 : (DWORD)held & ((1u << PAD_BUTTON_COUNT) - 1);
    DWORD changed = lit ^ gPadLit;
    gPadLit = lit;
    for (int n = 0; n < PAD_BUTTON_COUNT; ++n)
        if (changed >> n & 1)
            InvalidateRect(gPadHead[n], NULL, TRUE);
    UINT interval = held < 0 ? PAD_POLL_IDLE_MS : PAD_POLL_MS;
    if (interval != gPadInterval)
        SetTimer(dlg, PAD_TIMER_ID, gPadInterval = interval, NULL);
}

// The answer to WM_CTLCOLORSTATIC: the highlight colours for a lit head,
// FALSE (the dialog's own colours) for every other static control.
INT_PTR ColorPadHead(HWND control, HDC dc)
{
    for (int n = 0; n < PAD_BUTTON_COUNT; ++n)
        if (control == gPadHead[n] && (gPadLit >> n & 1)) {
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
            return (INT_PTR)GetSysColorBrush(COLOR_HIGHLIGHT);
        }
    return FALSE;
}

void StopPadView(HWND dlg)
{
    KillTimer(dlg, PAD_TIMER_ID);
    gPadLit = 0;
}
