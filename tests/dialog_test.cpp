// The settings dialog from its template: what it shows for a stored record, the keyboard
// picture pixel for pixel among it, what clicks, Restore Defaults and OK do, and the
// template's controls.
#include "harness.h"

const int PAIRS[] = {IDC_MOVE_ARROWS, IDC_MOVE_ALT, IDC_JUMP_Z, IDC_JUMP_X, IDC_OK_JUMP, IDC_OK_ATTACK};
const int COLUMNS[] = {1012, 1018, 1024, 1030, 1036, 1042, 1048, 1060};

// How a label is drawn in the rectangle r of dc: the char given when it is lit, the highlight
// colour behind most of it and its text readable on it, that is in the highlight text colour and
// in strokes: each such pixel has the highlight colour among its eight neighbours, as strokes one
// or two pixels wide have, where they cross too, and a block of the text colour has not (the text
// must not touch the rectangle's edge). '-' when plain, without a pixel of the highlight colour; '?' else.
static char Lit(HDC dc, RECT r, char lit)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    auto behind = [&](int x, int y) { return GetPixel(dc, x, y) == highlight; };
    auto stroke = [&](int x, int y) {
        for (int d = 0; d < 9; ++d)
            if (behind(x + d % 3 - 1, y + d / 3 - 1))
                return true;
        return false;
    };
    int back = 0, ink = 0, inside = 0;   // pixels in the highlight colour, in the text colour, and those of them in a block
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            back += behind(x, y);
            ink += GetPixel(dc, x, y) == text;
            inside += GetPixel(dc, x, y) == text && !stroke(x, y);
        }
    return back == 0 ? '-' : back * 2 > (r.right - r.left) * (r.bottom - r.top) && ink > 0 && inside == 0 ? lit : '?';
}

// The keys lit on the picture of a resource as the dialog shows it, each pixel a square of
// scale by scale: " Z Up" for two, "" for none, "?" where the dialog shows another picture or
// a key drawn otherwise. A lit key is its cap but the four corner pixels in the highlight
// colours, and its label, where the picture has one, readable on its face as Lit reads a label.
static std::string KeysLit(HWND dlg, int id, int scale = 1)
{
    const RECT preview = PreviewRect();
    HDC screen = GetDC(dlg), memory = CreateCompatibleDC(screen);
    HBITMAP picture = (HBITMAP)LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT), ink = GetSysColor(COLOR_HIGHLIGHTTEXT);
    auto in = [](const KeyRect &r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
    int changed[KEY_COUNT] = {};   // per key, its pixels in the highlight colours
    bool other = false;
    for (int i = 0, w = 328 * scale; i < w * 120 * scale && !other; ++i) {
        const int x = i % w / scale, y = i / w / scale;
        const COLORREF shown = GetPixel(screen, preview.left + i % w, preview.top + i / w);
        if (shown == GetPixel(memory, x, y))
            continue;
        int k = 0;
        while (k < KEY_COUNT && !in(KEYS[k].cap, x, y))
            ++k;
        other = k == KEY_COUNT || (shown != fill && shown != ink);
        if (!other)
            ++changed[k];
    }
    std::string lit;
    for (int k = 0; k < KEY_COUNT && !other; ++k) {
        const KeyRect &c = KEYS[k].cap, &f = KEYS[k].face;
        const bool labelled = IsHighlighted(id == IDB_KEYS_ARROWS ? ARROWS_PICTURE : ALT_PICTURE, k);
        const RECT face = {preview.left + f.left * scale, preview.top + f.top * scale,
                           preview.left + f.right * scale, preview.top + f.bottom * scale};
        if (changed[k] == ((c.right - c.left) * (c.bottom - c.top) - 4) * scale * scale && (!labelled || Lit(screen, face, '+') == '+'))
            lit += std::string(" ") + KEYS[k].name;
        else
            other = changed[k] > 0;
    }
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(dlg, screen);
    return other ? "?" : lit;
}

// Which picture the dialog shows, and the keys lit on it.
static std::string Picture(HWND dlg, int scale = 1)
{
    for (int id : {IDB_KEYS_ARROWS, IDB_KEYS_ALT}) {
        const std::string lit = KeysLit(dlg, id, scale);
        if (lit != "?")
            return (id == IDB_KEYS_ARROWS ? " arrows" : " alt") + lit;
    }
    return " other picture";
}

// "" for a radio as the system keeps radios: automatic, so that a click checks it, with a
// tab stop exactly while checked, so that Tab enters its group there; else its style.
static std::string OddRadio(HWND dlg, int id)
{
    const LONG style = GetWindowLongA(GetDlgItem(dlg, id), GWL_STYLE), tab = IsDlgButtonChecked(dlg, id) ? WS_TABSTOP : 0;
    return (style & (BS_TYPEMASK | WS_TABSTOP)) == (BS_AUTORADIOBUTTON | tab) ? "" : " radio " + std::to_string(id) + " style " + std::to_string(style);
}

// What the dialog shows: the display mode; the movement, jump and confirm pairs (0, 1, - for
// neither, 2 for both); Use Gamepad (g or -) and how many grid radios are enabled; the row
// checked in each column (* for more than one); the font entry; the keyboard picture; the
// column heads: the digit of a lit one, else what Lit says; any radio not as the system keeps radios.
static std::string Shown(HWND dlg)
{
    RedrawWindow(dlg, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::string pairs = "---", grid = "--------", heads = " --------", odd;
    int enabled = 0;
    for (int k = 0; k < 6; ++k) {
        pairs[k / 2] = !IsDlgButtonChecked(dlg, PAIRS[k]) ? pairs[k / 2] : pairs[k / 2] == '-' ? (char)('0' + k % 2) : '2';
        odd += OddRadio(dlg, PAIRS[k]);
    }
    for (int k = 0; k < 48; ++k) {
        enabled += IsWindowEnabled(GetDlgItem(dlg, COLUMNS[k / 6] + k % 6));
        odd += OddRadio(dlg, COLUMNS[k / 6] + k % 6);
        grid[k / 6] = !IsDlgButtonChecked(dlg, COLUMNS[k / 6] + k % 6) ? grid[k / 6] : grid[k / 6] == '-' ? (char)('0' + k % 6) : '*';
    }
    for (int n = 1; n <= 8; ++n) {
        HWND head = FindWindowExA(dlg, NULL, NULL, std::to_string(n).c_str());
        HDC dc = GetDC(head);
        RECT r;
        GetClientRect(head, &r);
        heads[n] = Lit(dc, r, (char)('0' + n));
        ReleaseDC(head, dc);
    }
    return "d" + std::to_string(SendDlgItemMessageA(dlg, IDC_DISPLAY_MODE, CB_GETCURSEL, 0, 0)) + " " + pairs
           + (IsDlgButtonChecked(dlg, IDC_USE_GAMEPAD) ? " g" : " -") + std::to_string(enabled) + " " + grid
           + " f" + std::to_string(SendDlgItemMessageA(dlg, IDC_FONT, CB_GETCURSEL, 0, 0))
           + Picture(dlg)
           + heads + odd;
}

using Dialog = Folder;
const std::string DEFAULT_SHOWN = "d0 000 g48 10532432 f0 arrows --------", DEFAULT_SAVED = Record(DEFAULTS, "Courier New");
const std::string OFF = Record({1, 1, 1, 2, 0, 6, 4, 1, 2, 3, 5, 6, 1}, "Courier New"), OFF_SHOWN = "d2 111 -0 34012530 f0 alt --------";

TEST_F(Dialog, ShowsTheStoredRecordAndOkSavesWhatItShows)
{
    // stored Config.dat, controls clicked -> what the dialog shows -> what OK writes
    const struct { const char *what; std::string stored; std::vector<int> clicks; std::string shown, saved; } cases[] = {
        {"no file", "<none>", {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"every field off its default", OFF, {}, OFF_SHOWN, OFF},
        // each rule of loading, on a file that a looser rule would take
        {"147 bytes", OFF.substr(0, 147), {}, DEFAULT_SHOWN, DEFAULT_SAVED}, {"longer", OFF + "more", {}, OFF_SHOWN, OFF},
        {"a letter of the magic in lower case", "VESKARoT20041206" + OFF.substr(16), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"15 letters of magic", std::string("VESKAROT2004120\0", 16) + OFF.substr(16), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"a byte behind the magic", "VESKAROT200412067" + OFF.substr(17), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"an empty magic", std::string(16, '\0') + OFF.substr(16), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"bytes 17 to 31 set", OFF.substr(0, 17) + std::string(15, 'x') + OFF.substr(32), {}, OFF_SHOWN, OFF},
        {"values out of range", Record({7, -1, 2, 9, 7, 2, 1, 0, 6, 3, 7, 6, 3}), {}, "d-1 --- g48 10-32-32 f0 alt --------",
         Record({1, 1, 1, -1, 1, 2, 1, 0, 6, 3, 0, 6, 3}, "Courier New")},
        {"face name without terminator", Record(DEFAULTS, std::string(64, 'N')), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"Restore Defaults", OFF, {IDC_DEFAULTS}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"Use Gamepad off keeps the grid", "<none>", {IDC_USE_GAMEPAD}, "d0 000 -0 10532432 f0 arrows --------",
         Record({0, 0, 0, 0, 0, 2, 1, 5, 6, 3, 4, 6, 3}, "Courier New")},
        {"clicks change their group only", "<none>", {1022, 1065, IDC_MOVE_ALT, IDC_JUMP_X, IDC_OK_ATTACK},
         "d0 111 g48 14532435 f0 alt --------", Record({1, 1, 1, 0, 1, 2, 4, 5, 6, 3, 4, 6, 5}, "Courier New")},
        {"the arrow keys clicked again", "<none>", {IDC_MOVE_ALT, IDC_MOVE_ALT, IDC_MOVE_ARROWS}, DEFAULT_SHOWN, DEFAULT_SAVED},
    };
    for (const auto &c : cases) {
        c.stored == "<none>" ? (void)DeleteFileA(Path().c_str()) : Put(Path(), c.stored);
        ASSERT_NO_FATAL_FAILURE(Open());
        for (int id : c.clicks)
            Click(id);
        EXPECT_EQ(Shown(dlg), c.shown) << c.what;
        EXPECT_EQ(Bytes(Path()), c.stored) << c.what << ": written before OK";
        Click(IDOK);
        EXPECT_EQ(Bytes(Path()) + (IsWindowVisible(dlg) ? " with the dialog still open" : ""), c.saved) << c.what;
        DestroyWindow(dlg);
    }
}

static INT_PTR CALLBACK BareDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Each control of the template as created, before the program touches it: kind (check
// box, radio, push, default push, list, read-only edit, static), g for a group start, t
// for a tab stop, and its identifier unless it has none. Then the texts the program puts in.
TEST_F(Dialog, TemplateHoldsEveryControlAndTheProgramItsTexts)
{
    HWND bare = CreateDialogParamA(GetModuleHandleA(NULL), DIALOG_TEMPLATE_NAME, NULL, BareDialogProc, 0);
    std::string got, want = "ct1008";
    for (int k = 0; k < 48; ++k)
        want += (k % 6 ? " r" : " rg") + std::to_string(COLUMNS[k / 6] + k % 6);
    want += " rg1071 r1072 rg1066 r1067 rg1073 r1074 lt1007 lt1070 pt1011 dt1 pt2 sg sg s s s s"
            " sg sg sg sg sg sg sg sg sg sg sg et1010 sg sg sg sg s sg1068";
    for (HWND c = GetWindow(bare, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[16];
        LONG style = GetWindowLongA(c, GWL_STYLE), id = GetDlgCtrlID(c);
        GetClassNameA(c, cls, sizeof cls);
        char kind = cls[0] == 'C' ? 'l' : cls[0] != 'B' ? (char)tolower(cls[0]) : (style & 15) > 3 ? 'r' : "pdxc"[style & 3];
        got += std::string(" ") + (kind == 'e' && !(style & ES_READONLY) ? 'w' : kind)
               + (style & WS_GROUP ? "g" : "") + (style & WS_TABSTOP ? "t" : "") + (id == 0xFFFF ? "" : std::to_string(id));
    }
    EXPECT_EQ(got, " " + want);
    DestroyWindow(bare);
    Open();
    EXPECT_EQ(Entries(IDC_DISPLAY_MODE), "Full Screen|960x720 Windowed |640x480 Windowed |Full 24-Bit |Full 32-Bit ");
    EXPECT_EQ(Text(IDC_FONT) + "|" + Text(IDC_FONT_SAMPLE), "Courier New|123 ABC");
    EXPECT_EQ(Text(IDC_NOTES), "--Please use the 640x480 or Full 32 bit resolution.           \r\n\r\n"
              "--If you have problems with getting two arrow keys to work at once, please use the < > ? "
              "settings.\r\n\r\n--Please use Courier New as the font. Or whatever you want, I don't care. ");
}

// Where scripts/screenshots asks for it, holds still while it takes its picture.
static void Pose()
{
    if (const char *ready = getenv("VESKAROT_SCREENSHOT_READY")) {
        Put(ready, "");
        WaitFor("the screenshot", [&] { return Bytes(ready) == "<none>"; });
    }
}

// The column heads light up while their gamepad buttons are held, read through the
// replaceable button reader: -1 for no controller, else bit n - 1 for button n.
static int32_t gHeld = -1, gReads;

TEST_F(Dialog, HeldGamepadButtonsLightTheirColumnHeadsAndChangeNothingElse)
{
    gReadPadButtons = [] { return ++gReads, gHeld; };
    Put(Path(), OFF);
    Open();
    // buttons the controller reports -> heads lit; buttons above 8 do not count
    const struct { int32_t held; const char *lit; } cases[] = {
        {0x04, "--3-----"}, {0x00, "--------"}, {0x85, "1-3----8"}, {0x300 | 0x40, "------7-"}, {0xFF, "12345678"},
        {-1, "--------"}, {0x10, "----5---"}, {0x02, "-2------"}, {-1, "--------"},
    };
    for (const auto &c : cases) {
        gHeld = c.held;
        const std::string want = "d2 111 -0 34012530 f0 alt " + std::string(c.lit);
        ASSERT_TRUE(WaitFor(want, [&] { return Shown(dlg) == want; })) << Shown(dlg);
        if (&c == cases)
            Pose();
    }
    // Without a controller the program asks again only every two seconds.
    gReads = 0;
    WaitFor("a second", [start = GetTickCount()] { return GetTickCount() - start >= 1000; });
    EXPECT_LE(gReads, 1) << "reads in one second without a controller";
    Click(IDOK);
    EXPECT_EQ(Bytes(Path()), OFF);
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
        {dlg, "+Up +Left +Z", 0, " arrows Z Up Left"},
        {dlg, "-Left", 0, " arrows Z Up"},
        {dlg, "+Q=A", 0, " arrows Q Z Up"},      // the key in Q's place, where it types A
        {other, "", 0, " arrows"},
        {other, "+X=X", 'X', " arrows"},
        {dlg, "-X=X -Q=A -Z -Up +LShift +RCtrl", 0, " arrows LShift RCtrl"},
        {dlg, "-LShift -RCtrl", 0, " arrows"},
    };
    for (const auto &c : steps) {
        if (GetActiveWindow() != c.active) {   // the other window shown only while it is to be active
            ASSERT_TRUE(Activate(c.active, [&] { ShowWindow(other, c.active == other ? SW_SHOW : SW_HIDE); }));
        }
        const SHORT before = GetKeyState(c.taken);   // a press flips the key's toggle bit
        Keys(c.keys);
        EXPECT_TRUE(WaitFor(c.keys + ":" + c.shown, [&] {
            return Picture(dlg) == c.shown && (!c.taken || (GetKeyState(c.taken) ^ before) & 1);
        })) << Picture(dlg);
        if (&c == steps)
            Pose();
    }
    DestroyWindow(other);
    Click(IDOK);
    EXPECT_EQ(Bytes(Path()), DEFAULT_SAVED);
}

// A cap lit before the player changes the highlight colour takes the new colour; the old
// colour is put back at the end.
TEST_F(Dialog, LitCapsFollowTheSystemColours)
{
    ASSERT_TRUE(Activate(dlg, [&] { Open(); }));
    const int element = COLOR_HIGHLIGHT;
    const COLORREF colours[] = {GetSysColor(COLOR_HIGHLIGHT), RGB(0, 128, 64), GetSysColor(COLOR_HIGHLIGHT)};
    Keys("+Z");
    for (COLORREF colour : colours) {
        SetSysColors(1, &element, &colour);
        EXPECT_TRUE(WaitFor("Z lit in colour " + std::to_string(colour), [&] { return Picture(dlg) == " arrows Z"; }))
            << Picture(dlg);
    }
    Keys("-Z");
}

// At 96 DPI the picture stands where it always stood. In prefixes set to 144 and 192 DPI
// (scripts/test makes them) it keeps its place among the controls, clear of every one, frames
// and lines included, enlarged without smoothing, and the sample font keeps its proportion.
TEST_F(Dialog, HighDpiKeepsThePictureInItsPlace)
{
    HDC screen = GetDC(NULL);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    ASSERT_EQ(dpi, getenv("VESKAROT_EXPECT_DPI") ? atoi(getenv("VESKAROT_EXPECT_DPI")) : dpi);
    ASSERT_TRUE(Activate(dlg, [&] { Open(); }));
    RECT picture = PreviewRect(), control, overlap, client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(picture.right - picture.left, MulDiv(PREVIEW_WIDTH, dpi, 96));
    EXPECT_EQ(picture.bottom - picture.top, MulDiv(PREVIEW_HEIGHT, dpi, 96));
    EXPECT_TRUE(dpi != 96 || (picture.left == PREVIEW_X && picture.top == PREVIEW_Y));
    EXPECT_TRUE(IntersectRect(&overlap, &picture, &client) && EqualRect(&overlap, &picture));
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        GetWindowRect(c, &control);
        MapWindowPoints(NULL, dlg, (POINT *)&control, 2);
        EXPECT_FALSE(IntersectRect(&overlap, &control, &picture)) << "control " << GetDlgCtrlID(c) << " at "
            << control.left << "," << control.top << " under the picture at " << picture.left << "," << picture.top;
    }
    LOGFONTA font = {};
    GetObjectA((HFONT)SendDlgItemMessageA(dlg, IDC_FONT_SAMPLE, WM_GETFONT, 0, 0), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, MulDiv(20, dpi, 96));
    for (int id : {IDB_KEYS_ARROWS, IDB_KEYS_ALT}) {   // twice as large at 192 DPI, for both layouts
        Click(id == IDB_KEYS_ARROWS ? IDC_MOVE_ARROWS : IDC_MOVE_ALT);
        UpdateWindow(dlg);
        EXPECT_TRUE(dpi != 192 || KeysLit(dlg, id, 2) == "") << "picture " << id;
    }
    // A held key lights its cap where the enlarged picture has it.
    Keys("+Z");
    EXPECT_TRUE(dpi != 192 || WaitFor("Z lit", [&] { return KeysLit(dlg, IDB_KEYS_ALT, 2) == " Z"; }));
    Keys("-Z");
}
