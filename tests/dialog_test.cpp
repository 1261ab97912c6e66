// The settings dialog from its template: what it shows for a stored record, the keyboard
// picture pixel for pixel among it, what clicks, Restore Defaults and OK do, and the
// template's controls.
#include "harness.h"

const int PAIRS[] = {IDC_MOVE_ARROWS, IDC_MOVE_ALT, IDC_JUMP_Z, IDC_JUMP_X, IDC_OK_JUMP, IDC_OK_ATTACK};
const int COLUMNS[] = {1012, 1018, 1024, 1030, 1036, 1042, 1048, 1060};

// Whether the dialog shows the picture of a resource at its place, pixel for pixel, each
// pixel a square of scale by scale.
static bool ShowsPicture(HWND dlg, int id, int scale = 1)
{
    HDC screen = GetDC(dlg), memory = CreateCompatibleDC(screen);
    HBITMAP picture = (HBITMAP)LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    bool same = true;
    for (int i = 0, w = 328 * scale; i < w * 120 * scale && same; ++i)
        same = GetPixel(screen, 335 * scale + i % w, 16 * scale + i / w) == GetPixel(memory, i % w / scale, i / w / scale);
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(dlg, screen);
    return same;
}

// How a label is drawn in the rectangle r of dc: the char given when it is lit, the highlight
// colour behind most of it and its text readable on it, that is in the highlight text colour and
// in strokes: each such pixel has the highlight colour at a corner, as strokes one or two pixels
// wide have, where they cross too, and a block of the text colour has not (the text must not
// touch the rectangle's edge). '-' when plain, without a pixel of the highlight colour; '?' else.
static char Lit(HDC dc, RECT r, char lit)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    auto behind = [&](int x, int y) { return GetPixel(dc, x, y) == highlight; };
    int back = 0, ink = 0, inside = 0;   // pixels in the highlight colour, in the text colour, and those of them in a block
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            back += behind(x, y);
            ink += GetPixel(dc, x, y) == text;
            inside += GetPixel(dc, x, y) == text && !(behind(x - 1, y - 1) || behind(x + 1, y - 1) || behind(x - 1, y + 1) || behind(x + 1, y + 1));
        }
    return back == 0 ? '-' : back * 2 > (r.right - r.left) * (r.bottom - r.top) && ink > 0 && inside == 0 ? lit : '?';
}

// What the dialog shows: the display mode; the movement, jump and confirm pairs (0, 1, - for
// neither, 2 for both); Use Gamepad (g or -) and how many grid radios are enabled; the row
// checked in each column (* for more than one); the font entry; the keyboard picture; the
// column heads: the digit of a lit one, else what Lit says.
static std::string Shown(HWND dlg)
{
    RedrawWindow(dlg, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::string pairs = "---", grid = "--------", heads = " --------";
    int enabled = 0;
    for (int k = 0; k < 6; ++k)
        pairs[k / 2] = !IsDlgButtonChecked(dlg, PAIRS[k]) ? pairs[k / 2] : pairs[k / 2] == '-' ? (char)('0' + k % 2) : '2';
    for (int k = 0; k < 48; ++k) {
        enabled += IsWindowEnabled(GetDlgItem(dlg, COLUMNS[k / 6] + k % 6));
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
           + (ShowsPicture(dlg, IDB_KEYS_ARROWS) ? " arrows" : ShowsPicture(dlg, IDB_KEYS_ALT) ? " alt" : " other picture")
           + heads;
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
    const char *shot = getenv("VESKAROT_SCREENSHOT_READY");   // scripts/screenshots takes the first row's picture
    for (const auto &c : cases) {
        gHeld = c.held;
        const std::string want = "d2 111 -0 34012530 f0 alt " + std::string(c.lit);
        ASSERT_TRUE(WaitFor(want, [&] { return Shown(dlg) == want; })) << Shown(dlg);
        if (shot && c.held == 0x04) {
            Put(shot, "");
            WaitFor("the screenshot", [&] { return Bytes(shot) == "<none>"; });
        }
    }
    // Without a controller the program asks again only every two seconds.
    gReads = 0;
    WaitFor("a second", [start = GetTickCount()] { return GetTickCount() - start >= 1000; });
    EXPECT_LE(gReads, 1) << "reads in one second without a controller";
    Click(IDOK);
    EXPECT_EQ(Bytes(Path()), OFF);
}

// In prefixes set to 144 and 192 DPI (scripts/test makes them) the picture keeps its place
// in the layout, over no working control (at 144 DPI its left edge touches the upper end of
// the separating line), enlarged without smoothing, and the sample font its proportion.
TEST_F(Dialog, HighDpiKeepsThePictureInItsPlace)
{
    HDC screen = GetDC(NULL);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    ASSERT_EQ(dpi, getenv("VESKAROT_EXPECT_DPI") ? atoi(getenv("VESKAROT_EXPECT_DPI")) : dpi);
    if (dpi == 96)
        GTEST_SKIP() << "96 DPI";
    Open();
    RECT picture = dpi == 192 ? RECT{670, 32, 1326, 272} : RECT{503, 24, 995, 204}, control, overlap;
    EXPECT_TRUE(EqualRect(&gPreviewRect, &picture));
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        GetWindowRect(c, &control);
        MapWindowPoints(NULL, dlg, (POINT *)&control, 2);
        EXPECT_FALSE(IntersectRect(&overlap, &control, &picture) && (GetDlgCtrlID(c) != 0xFFFF || GetWindowTextLengthA(c)))
            << "control " << GetDlgCtrlID(c) << " under the picture";
    }
    LOGFONTA font = {};
    GetObjectA((HFONT)SendDlgItemMessageA(dlg, IDC_FONT_SAMPLE, WM_GETFONT, 0, 0), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, MulDiv(20, dpi, 96));
    for (int id : {IDB_KEYS_ARROWS, IDB_KEYS_ALT}) {   // twice as large at 192 DPI, for both layouts
        Click(id == IDB_KEYS_ARROWS ? IDC_MOVE_ARROWS : IDC_MOVE_ALT);
        UpdateWindow(dlg);
        EXPECT_TRUE(dpi != 192 || ShowsPicture(dlg, id, 2)) << "picture " << id;
    }
}
