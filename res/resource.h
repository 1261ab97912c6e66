/* Identifiers shared by the resource script and the program's code.
   Plain #defines only, so that windres and the C++ compiler both read it. */
#ifndef VESKAROT_RESOURCE_H
#define VESKAROT_RESOURCE_H

/* Push buttons with the system's own values */
#ifndef IDOK
#define IDOK                1
#endif
#ifndef IDCANCEL
#define IDCANCEL            2
#endif

/* Title of the settings dialog and of its message boxes */
#define DIALOG_CAPTION      "Veskarot Settings"

/* Controls of the settings dialog */
#define IDC_FONT            1007
#define IDC_USE_GAMEPAD     1008
#define IDC_NOTES           1010
#define IDC_DEFAULTS        1011
#define IDC_JUMP_Z          1066
#define IDC_JUMP_X          1067
#define IDC_FONT_SAMPLE     1068
#define IDC_DISPLAY_MODE    1070
#define IDC_MOVE_ARROWS     1071
#define IDC_MOVE_ALT        1072
#define IDC_OK_JUMP         1073
#define IDC_OK_ATTACK       1074

/* Gamepad grid: first radio (row "Jump") of each button's column; rows follow at +1 to +5 */
#define IDC_PAD1            1012
#define IDC_PAD2            1018
#define IDC_PAD3            1024
#define IDC_PAD4            1030
#define IDC_PAD5            1036
#define IDC_PAD6            1042
#define IDC_PAD7            1048
#define IDC_PAD8            1060

/* Static controls without an identifier, stored as 0x0000FFFF; the gamepad view
   finds the column heads "1" to "8" among them by their texts */
#define IDC_NONE            0xFFFF

/* Bitmaps and icon */
#define IDI_APP             102
#define IDB_KEYS_ALT        121
#define IDB_KEYS_ARROWS     122

#endif
