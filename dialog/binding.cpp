// Moving the settings between a record and the dialog's controls.
// Apply and Collect handle the fields in the same order, one line each.
#include "dialog.h"

#include <cstring>

// What CheckRadioButton does, but a radio already in the wanted state gets
// no message: under Wine each BM_SETCHECK to a themed radio costs
// milliseconds, and most radios start clear.
static void CheckRadioInRange(HWND dlg, int first, int last, int check)
{
    for (int id = first; id <= last; ++id) {
        UINT wanted = id == check ? BST_CHECKED : BST_UNCHECKED;
        if (IsDlgButtonChecked(dlg, id) != wanted)
            CheckDlgButton(dlg, id, wanted);
    }
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

int CollectConfigFromDialog(HWND dlg)
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
    return SaveConfigData(&config);
}

// Disabling keeps the checks, so the functions are saved with the gamepad off too.
void UpdatePadControls(HWND dlg)
{
    BOOL enable = IsDlgButtonChecked(dlg, IDC_USE_GAMEPAD) != 0;
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button)
        for (int row = 0; row < PAD_ROW_COUNT; ++row)
            EnableWindow(GetDlgItem(dlg, PAD_FIRST_ID[button] + row), enable);
}
