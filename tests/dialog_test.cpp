// The settings dialog from its template: what it shows for a stored record, the keyboard
// picture pixel for pixel among it, and what clicks, held keys and buttons, Restore Defaults
// and OK do.
#include "harness.h"

// The key whose cap holds the pixel (x, y) of the picture, KEY_COUNT for none.
static int KeyAt(int x, int y)
{
    for (int k = 0; k < KEY_COUNT; ++k)
        if (x >= KEYS[k].cap.left && x < KEYS[k].cap.right && y >= KEYS[k].cap.top && y < KEYS[k].cap.bottom)
            return k;
    return KEY_COUNT;
}

// The keys lit on the picture of a resource as the dialog shows it, each pixel a square of
// scale by scale: " Z Up" for two, "" for none, "?" where the dialog shows another picture or
// a key drawn otherwise. A lit key is its cap but the four corner pixels in the highlight
// colours, mostly in the highlight colour (its face) with some of its text colour (outline, label).
static std::string KeysLit(HWND dlg, int id, int scale = 1)
{
    const RECT at = PreviewRect();
    const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT), ink = GetSysColor(COLOR_HIGHLIGHTTEXT);
    HDC screen = GetDC(dlg), memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
    int changed[KEY_COUNT] = {}, filled[KEY_COUNT] = {};   // per key: pixels in either highlight colour, in the first
    bool other = false;
    for (int y = 0; y < PREVIEW_HEIGHT * scale && !other; ++y)
        for (int x = 0; x < PREVIEW_WIDTH * scale; ++x) {
            const COLORREF shown = GetPixel(screen, at.left + x, at.top + y);
            if (shown == GetPixel(memory, x / scale, y / scale))
                continue;
            const int k = KeyAt(x / scale, y / scale);
            other = k == KEY_COUNT || (shown != fill && shown != ink);
            if (other)
                break;
            ++changed[k];
            filled[k] += shown == fill;
        }
    std::string lit;
    for (int k = 0; k < KEY_COUNT && !other; ++k) {
        const KeyRect &c = KEYS[k].cap;
        const int capPixels = ((c.right - c.left) * (c.bottom - c.top) - 4) * scale * scale;
        if (changed[k] == capPixels && filled[k] * 2 > changed[k] && filled[k] < changed[k])
            lit += std::string(" ") + KEYS[k].name;
        else if (changed[k] > 0)
            other = true;
    }
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(dlg, screen);
    return other ? "?" : lit;
}

// The picture of the slot the dialog says it shows, and the keys lit on it as the screen shows
// them: "arrows Z Up", "alt", and "alt?" where the screen shows something else.
static std::string Picture(HWND dlg, int scale = 1)
{
    const int id = PREVIEW_PICTURE_ID[PreviewIndex()];
    return (id == IDB_KEYS_ARROWS ? "arrows" : "alt") + KeysLit(dlg, id, scale);
}

// The name of the checked one of the radios from first on, one for each name: "-" for none,
// "*" for more than one.
static std::string Checked(HWND dlg, int first, const std::vector<std::string> &names)
{
    std::string checked = "-";
    for (size_t k = 0; k < names.size(); ++k)
        if (IsDlgButtonChecked(dlg, first + (int)k))
            checked = checked == "-" ? names[k] : "*";
    return checked;
}

// What the dialog shows: the display mode's index; the pairs; Use Gamepad and how many radios
// of the grid are enabled; the row checked in each button's column (0 Jump to 5 Map, as
// Checked says); the font's index; the picture and its lit keys.
static std::string Shown(HWND dlg)
{
    RedrawWindow(dlg, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::string rows;
    int enabled = 0;
    for (int button = 0; button < PAD_BUTTON_COUNT; ++button) {
        rows += Checked(dlg, PAD_FIRST_ID[button], {"0", "1", "2", "3", "4", "5"});
        for (int id = PAD_FIRST_ID[button]; id < PAD_FIRST_ID[button] + PAD_ROW_COUNT; ++id)
            enabled += IsWindowEnabled(GetDlgItem(dlg, id));
    }
    return "mode=" + std::to_string(SendDlgItemMessageA(dlg, IDC_DISPLAY_MODE, CB_GETCURSEL, 0, 0))
           + " move=" + Checked(dlg, IDC_MOVE_ARROWS, {"arrows", "alt"})
           + " jump=" + Checked(dlg, IDC_JUMP_Z, {"z", "x"}) + " ok=" + Checked(dlg, IDC_OK_JUMP, {"jump", "attack"})
           + " pad=" + (IsDlgButtonChecked(dlg, IDC_USE_GAMEPAD) ? "on/" : "off/") + std::to_string(enabled)
           + " rows=" + rows
           + " font=" + std::to_string(SendDlgItemMessageA(dlg, IDC_FONT, CB_GETCURSEL, 0, 0))
           + " picture=" + Picture(dlg);
}

using Dialog = Folder;
const std::string DEFAULT_SHOWN = "mode=0 move=arrows jump=z ok=jump pad=on/48 rows=10532432 font=0 picture=arrows";
const std::string DEFAULT_SAVED = Record(DEFAULTS, DEFAULT_FONT_ENTRY);
const std::string OFF = Record({1, 1, 1, 2, 0, 6, 4, 1, 2, 3, 5, 6, 1}, DEFAULT_FONT_ENTRY);
const std::string OFF_SHOWN = "mode=2 move=alt jump=x ok=attack pad=off/0 rows=34012530 font=0 picture=alt";

TEST_F(Dialog, ShowsTheStoredRecordAndOkSavesWhatItShows)
{
    // stored Config.dat, controls clicked -> what the dialog shows -> what OK writes
    struct Case { const char *what; std::string stored; std::vector<int> clicks; std::string shown, saved; };
    const Case cases[] = {
        {"no file", NO_FILE, {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"every field off its default", OFF, {}, OFF_SHOWN, OFF},
        // a file refused and one taken, each by a rule of loading; robust_test fuzzes the rest
        {"147 bytes", OFF.substr(0, 147), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"bytes 17 to 31 set, and longer", OFF.substr(0, 17) + std::string(15, 'x') + OFF.substr(32) + "more", {},
         OFF_SHOWN, OFF},
        {"values out of range", Record({7, -1, 2, 9, 7, 2, 1, 0, 6, 3, 7, 6, 3}), {},
         "mode=-1 move=- jump=- ok=- pad=on/48 rows=10-32-32 font=0 picture=alt",
         Record({1, 1, 1, -1, 1, 2, 1, 0, 6, 3, 0, 6, 3}, DEFAULT_FONT_ENTRY)},
        {"face name without terminator", Record(DEFAULTS, std::string(64, 'N')), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"Restore Defaults", OFF, {IDC_DEFAULTS}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"Use Gamepad off keeps the grid", NO_FILE, {IDC_USE_GAMEPAD},
         "mode=0 move=arrows jump=z ok=jump pad=off/0 rows=10532432 font=0 picture=arrows",
         Record({0, 0, 0, 0, 0, 2, 1, 5, 6, 3, 4, 6, 3}, DEFAULT_FONT_ENTRY)},
        {"clicks change their group only", NO_FILE, {IDC_PAD2 + 4, IDC_PAD8 + 5, IDC_MOVE_ALT, IDC_JUMP_X},
         "mode=0 move=alt jump=x ok=jump pad=on/48 rows=14532435 font=0 picture=alt",
         Record({1, 1, 0, 0, 1, 2, 4, 5, 6, 3, 4, 6, 5}, DEFAULT_FONT_ENTRY)},
        {"arrows clicked again", NO_FILE, {IDC_MOVE_ALT, IDC_MOVE_ALT, IDC_MOVE_ARROWS}, DEFAULT_SHOWN, DEFAULT_SAVED},
    };
    for (const auto &c : cases) {
        DeleteFileA(Path().c_str());
        if (c.stored != NO_FILE)
            Put(Path(), c.stored);
        ASSERT_NO_FATAL_FAILURE(Open());
        for (int id : c.clicks)
            Click(id);
        EXPECT_EQ(Shown(dlg), c.shown) << c.what;
        EXPECT_EQ(Bytes(Path()), c.stored) << c.what << ": written before OK";
        Click(IDOK);
        EXPECT_EQ(Bytes(Path()), c.saved) << c.what;
        EXPECT_FALSE(IsWindowVisible(dlg)) << c.what << ": the dialog still open after OK";
        DestroyWindow(dlg);
    }
}

// Where scripts/screenshots asks for it, holds still while it takes its picture.
static void Pose()
{
    if (const char *ready = getenv("VESKAROT_SCREENSHOT_READY")) {
        Put(ready, "");
        WaitFor("the screenshot", [&] { return Bytes(ready) == NO_FILE; });
    }
}

// The column heads 1 to 8: '+' for one drawn in the highlight colour, '-' for one that is not.
static std::string Heads(HWND dlg)
{
    std::string heads;
    for (int n = 1; n <= PAD_BUTTON_COUNT; ++n) {
        HWND head = FindWindowExA(dlg, NULL, NULL, std::to_string(n).c_str());
        HDC dc = GetDC(head);
        heads += GetPixel(dc, 0, 0) == GetSysColor(COLOR_HIGHLIGHT) ? '+' : '-';
        ReleaseDC(head, dc);
    }
    return heads;
}

// The column heads light up while their gamepad buttons are held, read through the
// replaceable button reader, which counts the questions: -1 for no controller, else bit n - 1 for button n.
static int32_t gHeld = -1, gReads;
static int32_t ReadHeldButtons() { ++gReads; return gHeld; }

TEST_F(Dialog, HeldGamepadButtonsLightTheirColumnHeadsAndChangeNothingElse)
{
    gReadPadButtons = ReadHeldButtons;
    Put(Path(), OFF);
    Open();
    // buttons the controller reports -> heads lit; buttons above 8 do not count
    const struct { int32_t held; const char *lit; } cases[] = {
        {0x04, "--+-----"}, {0x00, "--------"}, {0x85, "+-+----+"}, {0x300 | 0x40, "------+-"}, {0xFF, "++++++++"},
        {-1, "--------"}, {0x10, "----+---"}, {0x02, "-+------"}, {-1, "--------"},
    };
    for (const auto &c : cases) {
        gHeld = c.held;
        const std::string want = OFF_SHOWN + " heads=" + c.lit;
        auto shown = [&] { return Shown(dlg) + " heads=" + Heads(dlg); };
        ASSERT_TRUE(WaitFor(want, [&] { return shown() == want; })) << shown();
        if (&c == cases)
            Pose();
    }
    // Without a controller the program asks again only every two seconds.
    gReads = 0;
    WaitFor("a second", [start = GetTickCount()] { return GetTickCount() - start >= 1000; });
    EXPECT_LE(gReads, 1) << "reads in one second without a controller";
}

// Keys held light their caps on the picture while the dialog is active, each known by its place
// on the keyboard; keys held while another window is active light nothing, and neither do keys
// still held when the dialog loses activation.
TEST_F(Dialog, HeldKeysLightTheirCapsWhileTheDialogIsActive)
{
    ASSERT_TRUE(Activate(dlg, [&] { Open(); }));
    HWND other = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 80, 80, NULL, NULL, NULL, NULL);
    // window made active, keys pressed (+) and released (-), a key whose press the thread must have taken -> picture
    const struct { HWND active; std::string keys; int taken; const char *shown; } steps[] = {
        {dlg, "+Up +Left +Z", 0, "arrows Z Up Left"},
        {dlg, "-Left", 0, "arrows Z Up"},
        {dlg, "+Q=A", 0, "arrows Q Z Up"},      // the key in Q's place, where it types A
        {other, "", 0, "arrows"},
        {other, "+X=X", 'X', "arrows"},
        {dlg, "-X=X -Q=A -Z -Up +LShift +RCtrl", 0, "arrows LShift RCtrl"},
        {dlg, "-LShift -RCtrl", 0, "arrows"},
    };
    for (const auto &c : steps) {
        if (GetActiveWindow() != c.active) {   // the other window shown only while it is to be active
            ASSERT_TRUE(Activate(c.active, [&] { ShowWindow(other, c.active == other ? SW_SHOW : SW_HIDE); }));
        }
        const SHORT before = GetKeyState(c.taken);   // a press flips the key's toggle bit
        Keys(c.keys);
        EXPECT_TRUE(WaitFor(c.keys + ": " + c.shown, [&] {
            return Picture(dlg) == c.shown && (!c.taken || (GetKeyState(c.taken) ^ before) & 1);
        })) << Picture(dlg);
        if (&c == steps)
            Pose();
    }
    DestroyWindow(other);
}

// At 96 DPI the picture stands where it always stood. In prefixes set to 144 and 192 DPI
// (scripts/test makes them) it keeps its place among the controls, clear of every one, frames
// and lines included, and the sample font keeps its proportion. At a whole multiple of 96 DPI
// each pixel of the picture is a square, for both layouts and a lit key; a key lit before the
// player changes the highlight colour takes the new one (the old one is put back at the end).
TEST_F(Dialog, HighDpiKeepsThePictureInItsPlaceAndLitKeysFollowTheColours)
{
    ASSERT_TRUE(Activate(dlg, [&] { Open(); }));
    const int dpi = DialogDpi(dlg);
    const char *expected = getenv("VESKAROT_EXPECT_DPI");   // set in the prefixes made at another DPI
    ASSERT_EQ(dpi, expected ? atoi(expected) : LAYOUT_DPI);
    const RECT picture = PreviewRect();
    RECT control, overlap, client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(picture.right - picture.left, MulDiv(PREVIEW_WIDTH, dpi, LAYOUT_DPI));
    EXPECT_EQ(picture.bottom - picture.top, MulDiv(PREVIEW_HEIGHT, dpi, LAYOUT_DPI));
    EXPECT_TRUE(dpi != LAYOUT_DPI || (picture.left == PREVIEW_X && picture.top == PREVIEW_Y)) << "moved at 96 DPI";
    IntersectRect(&overlap, &picture, &client);
    EXPECT_TRUE(EqualRect(&overlap, &picture)) << "the picture reaches out of the dialog";
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        GetWindowRect(c, &control);
        MapWindowPoints(NULL, dlg, (POINT *)&control, 2);
        EXPECT_FALSE(IntersectRect(&overlap, &control, &picture)) << "control " << GetDlgCtrlID(c) << " at "
            << control.left << "," << control.top << " under the picture at " << picture.left << "," << picture.top;
    }
    LOGFONTA font = {};
    GetObjectA((HFONT)SendDlgItemMessageA(dlg, IDC_FONT_SAMPLE, WM_GETFONT, 0, 0), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, MulDiv(20, dpi, LAYOUT_DPI));
    if (dpi % LAYOUT_DPI != 0)
        return;
    const int scale = dpi / LAYOUT_DPI;
    UpdateWindow(dlg);
    EXPECT_EQ(Picture(dlg, scale), "arrows");
    Click(IDC_MOVE_ALT);
    const int element = COLOR_HIGHLIGHT;
    Keys("+Z");
    for (COLORREF colour : {GetSysColor(COLOR_HIGHLIGHT), RGB(0, 128, 64), GetSysColor(COLOR_HIGHLIGHT)}) {
        SetSysColors(1, &element, &colour);
        EXPECT_TRUE(WaitFor("alt Z in " + std::to_string(colour), [&] { return Picture(dlg, scale) == "alt Z"; }))
            << Picture(dlg, scale);
    }
    Keys("-Z");
}
