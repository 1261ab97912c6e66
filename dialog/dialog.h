// The settings dialog: its procedure and the operations it is built from.
//
// The program shows one settings dialog at a time, and its state is that dialog's: each part
// keeps what it needs in file-scope variables of its own (the gamepad view its column heads,
// the font list its sample font, the preview its pictures and the key test), sets them up when
// the dialog opens and lets them go when it ends. The parts are given what they need or find it
// themselves; none asks another for it. No settings record lives between two messages: while
// the dialog is open its controls are the only copy of the settings.
#ifndef VESKAROT_DIALOG_H
#define VESKAROT_DIALOG_H

#include <windows.h>

#include "../config/config.h"
#include "../res/resource.h"

#define DIALOG_TEMPLATE_NAME "DLG_CONFIG"

// Shown in the notes box; the blanks at the ends of paragraphs belong to it.
#define NOTES_TEXT                                                                  \
    "--Please use the 640x480 or Full 32 bit resolution.           \r\n\r\n"        \
    "--If you have problems with getting two arrow keys to work at once, "          \
    "please use the < > ? settings.\r\n\r\n"                                        \
    "--Please use Courier New as the font. Or whatever you want, I don't care. "

// First entry of the font list; the sample shows it in the system's choice of
// fixed-pitch font, and OK stores this text.
#define DEFAULT_FONT_ENTRY "Courier New"

// The gamepad grid: one column of radios per button, one row per function.
constexpr int PAD_ROW_COUNT = 6;
constexpr int PAD_FIRST_ID[PAD_BUTTON_COUNT] = {
    IDC_PAD1, IDC_PAD2, IDC_PAD3, IDC_PAD4, IDC_PAD5, IDC_PAD6, IDC_PAD7, IDC_PAD8,
};
// Rows from the top: Jump, Attack, Weapon +, Weapon -, Item, Map.
constexpr int32_t PAD_ROW_CODE[PAD_ROW_COUNT] = {
    PAD_JUMP, PAD_ATTACK, PAD_WEAPON_NEXT, PAD_WEAPON_PREV, PAD_ITEM, PAD_MAP,
};

// The DPI for which the sizes in pixels below are given; they scale with the dialog's.
constexpr int LAYOUT_DPI = 96;

// The keyboard picture (the preview), in client pixels at the layout's DPI.
constexpr int PREVIEW_X = 335;
constexpr int PREVIEW_Y = 16;
constexpr int PREVIEW_WIDTH = 328;
constexpr int PREVIEW_HEIGHT = 120;
// The frame around the picture while the key test runs, outside it.
constexpr int PREVIEW_FRAME = 2;
// The picture of each slot: 0 for the arrow keys, 1 for the alternative keys, as moveKeys.
constexpr int PREVIEW_PICTURE_ID[2] = {IDB_KEYS_ARROWS, IDB_KEYS_ALT};

// The gamepad's buttons, asked for on a dialog timer: often while a controller
// answers, seldom while none does (and at first: the first question loads the
// system's joystick driver, which should not delay the dialog's opening).
constexpr UINT_PTR PAD_TIMER_ID = 1;
constexpr UINT PAD_POLL_MS = 50;
constexpr UINT PAD_POLL_IDLE_MS = 2000;

// Posted by the dialog to itself when Config.dat is there but could not be read, with the
// system's error code: the player is told once the dialog is on the screen.
constexpr UINT WM_CONFIG_UNREADABLE = WM_APP;

// dialog.cpp. The dialog's creation parameter is the folder of Config.dat, a wide string
// that must outlive the dialog.
INT_PTR CALLBACK ConfigDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);
void InitConfigDialog(HWND dlg);

// binding.cpp
void ApplyConfigToDialog(HWND dlg, const ConfigData *config);
ConfigData CollectConfigFromDialog(HWND dlg);
void UpdatePadControls(HWND dlg);

// fontlist.cpp
void FillFontList(HWND dlg);
void SelectSavedFont(HWND dlg, const ConfigData *config);
int CALLBACK FontFamilyEnumProc(const LOGFONTA *font, const TEXTMETRICA *metrics,
                                DWORD fontType, LPARAM data);
int UpdateFontSample(HWND dlg);
void ReleaseSampleFont(HWND dlg);

// gamepad.cpp; the buttons are read through gReadPadButtons, which the tests replace.
extern int32_t (*gReadPadButtons)();
void StartPadView(HWND dlg);
void PollPadButtons(HWND dlg);
INT_PTR ColorPadHead(HWND control, HDC dc);
void StopPadView(HWND dlg);

// preview.cpp, the owner of the keyboard picture and of the key test, which lights the keys
// held on it. PreviewRect is where it stands on the dialog, in client pixels; PreviewIndex the
// slot shown, as moveKeys.
void SetUpPreview(HWND dlg);
void PaintPreview(HWND dlg);
void SwitchPreview(HWND dlg, int32_t index);
void ClickPreview(HWND dlg, POINT at);
void StopKeyTest(HWND dlg);
void RecolourPreview(HWND dlg);
void StopPreview(HWND dlg);
RECT PreviewRect();
int32_t PreviewIndex();

#endif
