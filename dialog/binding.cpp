// Moving the settings between a record and the dialog's controls.
// Apply and Collect handle the fields in the same order, one line each.
#include "dialog.h"

#include <cstring>

// What CheckRadioButton does, at a fraction of its cost under Wine. A radio
// already as wanted gets no message. The one to check is checked while it is
// a plain radio: checking an automatic radio makes Wine's themed button walk
// its group through the dialog's controls to clear the others, a round trip
// to the server at each step and 5 to 10 ms a radio, and this loop clears them
// itself. Either kind takes WS_TABSTOP when checked and drops it when cleared,
// and the radio gets its own style back, so it is left as CheckRadioButton
// would leave it.
static void CheckRadioInRange(HWND dlg, int first, int last, int check)
{
    for (int id = first; id <= last; ++id)
        if (id != check && IsDlgButtonChecked(dlg, id))
            CheckDlgButton(dlg, id, BST_UNCHECKED);
    HWND radio = GetDlgItem(dlg, check);
    if (SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED)
        return;
    WPARAM style = (WPARAM)GetWindowLongA(radio, GWL_STYLE) & 0xFFFF;
    SendMessageA(radio, BM_SETSTYLE, (style & ~BS_TYPEMASK) | BS_RADIOBUTTON, FALSE);
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(radio, BM_SETSTYLE, style, FALSE);
}

// Checks the first or second radio of a pair for 0 or 1; any other value
// leaves the pair as it is.
static void CheckRadioPair(HWND dlg, int first, int32_t value)
{
    if (value == 0 || value == 1)
        CheckRadioInRange(dlg, first, first + 1, first + value);
}

static void CheckPadColumn(HWND dlg, int button, int32_t code)
{
    int first = PAD_FIRST_ID[button];
    for (int row = 0; row < PAD_ROW_COUNT; ++row)
        if (PAD_ROW_CODE[row] == code)
            CheckRadioInRange(dlg, first, first + PAD_ROW_COUNT - 1, first + row);
}

// The code of the lowest checked row, 0 when none is checked.
static int32_t ReadPadColumn(HWND dlg, int button)
{
    int32_t code = PAD_NONE;
    for (int row = 0; row < PAD_ROW_COUNT; ++row)
        if (IsDlgButtonChecked(dlg, PAD_FIRST_ID[button] + row))
            code = PAD_ROW_CODE[row];
    return code;
}

void ApplyConfigToDialog(HWND dlg, const ConfigData *config)
{
    SendDlgItemMessageA(dlg, IDC_DISPLAY_MODE, CB_SETCURSEL, (WPARAM)config->displayMode, 0);
    CheckRadioPair(dlg, IDC_MOVE_ARROWS, config->moveKeys);
    CheckRadioPair(dlg, IDC_JUMP_Z, config->jumpKeys);
    CheckRadioPair(dlg, IDC_OK_JUMP, config->okKey);
    SelectSavedFont(dlg, config);
    CheckDlgButton(dlg, IDC_USE_GAMEPAD, config->useGamepad ? BST_CHECKED : BST_UNCHECKED);
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button)
        CheckPadColumn(dlg, button, config->padButton[button]);
    UpdatePadControls(dlg);
}

ConfigData CollectConfigFromDialog(HWND dlg)
{
    ConfigData config;
    memset(&config, 0, sizeof config);
    config.displayMode = (int32_t)SendDlgItemMessageA(dlg, IDC_DISPLAY_MODE, CB_GETCURSEL, 0, 0);
    config.moveKeys = IsDlgButtonChecked(dlg, IDC_MOVE_ARROWS) ? 0 : 1;
    config.jumpKeys = IsDlgButtonChecked(dlg, IDC_JUMP_Z) ? 0 : 1;
    config.okKey = IsDlgButtonChecked(dlg, IDC_OK_JUMP) ? 0 : 1;
    GetDlgItemTextA(dlg, IDC_FONT, config.fontName, sizeof config.fontName);
    config.useGamepad = IsDlgButtonChecked(dlg, IDC_USE_GAMEPAD) ? 1 : 0;
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button)
        config.padButton[button] = ReadPadColumn(dlg, button);
    return config;
}

// Disabling keeps the checks, so the functions are saved with the gamepad off too.
void UpdatePadControls(HWND dlg)
{
    BOOL enable = IsDlgButtonChecked(dlg, IDC_USE_GAMEPAD) != 0;
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button)
        for (int row = 0; row < PAD_ROW_COUNT; ++row)
            EnableWindow(GetDlgItem(dlg, PAD_FIRST_ID[button] + row), enable);
}
