// The settings dialog from its template: what it shows for a stored record, the keyboard
// picture pixel for pixel among it, and what clicks, held keys and buttons, Restore Defaults
// and OK do.
#include "harness.h"

#include <map>
#include <set>

// The colours of the pixels in a rectangle of a window's client area.
static std::set<COLORREF> Colours(HWND window, const RECT &r)
{
    std::set<COLORREF> colours;
    HDC dc = GetDC(window);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            colours.insert(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return colours;
}

// The picture of the slot the dialog says it shows, and the keys lit on it as the screen shows
// them, at any size: "arrows Z Up", "alt" for none, "alt?" where the screen shows another
// picture or a key drawn otherwise; "test alt Z" while the key test's frame stands around it,
// the ring of pixels around the picture all in the highlight colour, "frame? alt" where some
// of them are. A lit key shows every pixel of its cap but the four corners in the highlight
// colours, mostly in the highlight colour (its face) with some of its text colour (outline,
// label), and nothing else. Which pixel of the picture each pixel on the dialog shows comes from
// a picture whose pixels hold their own coordinates (x << 12 | y), enlarged as the dialog
// enlarges its own.
static std::string Picture(HWND dlg)
{
    const RECT p = PreviewRect();
    const int id = PreviewIndex() == 0 ? IDB_KEYS_ARROWS : IDB_KEYS_ALT;
    std::set<COLORREF> ring;
    const RECT sides[] = {{p.left - 1, p.top - 1, p.right + 1, p.top}, {p.left - 1, p.top, p.left, p.bottom},
                          {p.right, p.top, p.right + 1, p.bottom}, {p.left - 1, p.bottom, p.right + 1, p.bottom + 1}};
    for (const RECT &side : sides)
        for (COLORREF colour : Colours(dlg, side))
            ring.insert(colour);
    const int width = p.right - p.left, height = p.bottom - p.top;
    std::vector<uint32_t> coordinates(PREVIEW_WIDTH * PREVIEW_HEIGHT);
    for (int i = 0; i < PREVIEW_WIDTH * PREVIEW_HEIGHT; ++i)
        coordinates[i] = i % PREVIEW_WIDTH << 12 | i / PREVIEW_WIDTH;
    HBITMAP small = CreateBitmap(PREVIEW_WIDTH, PREVIEW_HEIGHT, 1, 32, coordinates.data());
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB}};
    uint32_t *map;
    HBITMAP large = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, (void **)&map, NULL, 0);
    HDC screen = GetDC(dlg), source = CreateCompatibleDC(NULL), target = CreateCompatibleDC(NULL);
    SelectObject(source, small);
    SelectObject(target, large);
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, 0, 0, width, height, source, 0, 0, PREVIEW_WIDTH, PREVIEW_HEIGHT, SRCCOPY);
    HBITMAP picture = (HBITMAP)LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0);
    SelectObject(source, picture);
    const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT), ink = GetSysColor(COLOR_HIGHLIGHTTEXT);
    // per key: pixels showing its cap but the corners, of them changed, of them in the highlight colour
    int pixels[KEY_COUNT + 1] = {}, changed[KEY_COUNT + 1] = {}, filled[KEY_COUNT + 1] = {}, stray = 0;
    for (int i = 0; i < width * height; ++i) {
        const int x = map[i] >> 12, y = map[i] & 0xFFF;
        const int k = std::find_if(KEYS, KEYS + KEY_COUNT, [&](const auto &key) {   // holding (x, y) off its corners
            const KeyRect &c = key.cap;
            const bool corner = (x == c.left || x == c.right - 1) && (y == c.top || y == c.bottom - 1);
            return x >= c.left && x < c.right && y >= c.top && y < c.bottom && !corner;
        }) - KEYS;
        const COLORREF shown = GetPixel(screen, p.left + i % width, p.top + i / width);
        ++pixels[k];
        if (shown == GetPixel(source, x, y))
            continue;
        ++changed[k];
        filled[k] += shown == fill;
        stray += k == KEY_COUNT || (shown != fill && shown != ink);
    }
    std::string lit;
    for (int k = 0; k < KEY_COUNT; ++k) {
        if (changed[k] == pixels[k] && filled[k] * 2 > changed[k] && filled[k] < changed[k])
            lit += std::string(" ") + KEYS[k].name;
        else
            stray += changed[k];
    }
    DeleteDC(source);   // the bitmaps selected into them let go with them
    DeleteDC(target);
    for (HGDIOBJ object : {(HGDIOBJ)small, (HGDIOBJ)large, (HGDIOBJ)picture})
        DeleteObject(object);
    ReleaseDC(dlg, screen);
    return (ring == std::set<COLORREF>{fill} ? "test " : ring.count(fill) ? "frame? " : "")
           + std::string(id == IDB_KEYS_ARROWS ? "arrows" : "alt") + (stray ? "?" : lit);
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
           + " rows=" + rows + " font=" + std::to_string(SendDlgItemMessageA(dlg, IDC_FONT, CB_GETCURSEL, 0, 0))
           + " picture=" + Picture(dlg);
}

using Dialog = Folder;
const std::string DEFAULT_SHOWN = "mode=0 move=arrows jump=z ok=jump pad=on/48 rows=10532432 font=0 picture=arrows";
const std::string DEFAULT_SAVED = Record("", "Courier New");
const std::string OFF = Record("move=1 jump=1 ok=1 mode=2 pad=0 buttons=6,4,1,2,3,5,6,1", "Courier New");
const std::string OFF_SHOWN = "mode=2 move=alt jump=x ok=attack pad=off/0 rows=34012530 font=0 picture=alt";

TEST_F(Dialog, ShowsTheStoredRecordAndOkSavesWhatItShows)
{
    // stored Config.dat, controls clicked -> what the dialog shows -> what OK writes
    struct Case { const char *what; std::string stored; std::vector<int> clicks; std::string shown, saved; };
    const Case cases[] = {
        {"no file", NO_FILE, {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"every field off its default", OFF, {}, OFF_SHOWN, OFF},
        // files refused and one taken, each by a rule of loading
        {"147 bytes", OFF.substr(0, 147), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"the magic's terminator set", OFF.substr(0, 16) + "x" + OFF.substr(17), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"the magic in small letters", "veskarot20041206" + OFF.substr(16), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"bytes 17 to 31 set, and longer", std::string(OFF).replace(17, 15, 15, 'x') + "more", {}, OFF_SHOWN, OFF},
        {"values out of range", Record("move=2 jump=-1 ok=-1 mode=9 pad=7 buttons=2,1,0,6,3,7,6,0"), {},
         "mode=-1 move=- jump=- ok=- pad=on/48 rows=10-32-3- font=0 picture=alt",
         Record("move=1 jump=1 ok=1 mode=-1 buttons=2,1,0,6,3,0,6,0", "Courier New")},
        {"face name without terminator", Record("", std::string(64, 'N')), {}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"Restore Defaults", OFF, {IDC_DEFAULTS}, DEFAULT_SHOWN, DEFAULT_SAVED},
        {"Use Gamepad off keeps the grid", NO_FILE, {IDC_USE_GAMEPAD},
         "mode=0 move=arrows jump=z ok=jump pad=off/0 rows=10532432 font=0 picture=arrows",
         Record("pad=0", "Courier New")},
        {"clicks change their group only", NO_FILE, {IDC_PAD2 + 4, IDC_PAD8 + 5, IDC_MOVE_ALT, IDC_JUMP_X},
         "mode=0 move=alt jump=x ok=jump pad=on/48 rows=14532435 font=0 picture=alt",
         Record("move=1 jump=1 buttons=2,4,5,6,3,4,6,5", "Courier New")},
        {"arrows clicked again", NO_FILE, {IDC_MOVE_ALT, IDC_MOVE_ALT, IDC_MOVE_ARROWS}, DEFAULT_SHOWN, DEFAULT_SAVED},
    };
    for (const auto &c : cases) {
        std::filesystem::remove(file);
        if (c.stored != NO_FILE)
            Put(file, c.stored);
        ASSERT_NO_FATAL_FAILURE(Open());
        for (int id : c.clicks)
            Click(id);
        EXPECT_EQ(Shown(dlg), c.shown) << c.what;
        EXPECT_EQ(Bytes(file), c.stored) << c.what << ": written before OK";
        Click(IDOK);
        EXPECT_EQ(Bytes(file), c.saved) << c.what;
        DestroyWindow(dlg);
    }
}

// The column heads 1 to 8: '+' for one drawn in the highlight colour with its digit in the
// highlight's text colour (where the face smooths it, in shades nearer the lightness of that than
// of the highlight), '-' for one without the highlight colour, '?' for one otherwise.
static std::string Heads(HWND dlg)
{
    const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT), ink = GetSysColor(COLOR_HIGHLIGHTTEXT);
    auto light = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    auto inked = [&](COLORREF c) { return abs(light(c) - light(ink)) < abs(light(c) - light(fill)); };
    std::string heads;
    for (int n = 1; n <= PAD_BUTTON_COUNT; ++n) {
        HWND head = FindWindowExA(dlg, NULL, NULL, std::to_string(n).c_str());
        RECT r;
        GetClientRect(head, &r);
        const std::set<COLORREF> colours = Colours(head, r);
        heads += !colours.count(fill) ? '-' : std::any_of(colours.begin(), colours.end(), inked) ? '+' : '?';
    }
    return heads;
}

// The gamepad's buttons as the dialog reads them, through the replaceable reader, which counts
// the questions: -1 for no controller, else bit n - 1 for button n.
static int32_t gHeld = -1, gReads;
static int32_t ReadHeldButtons() { ++gReads; return gHeld; }

// A click on the keyboard picture or a control, sent to the window (SENT), or a click or a turn of
// the wheel through the system on the middle of a control (CLICK, WHEEL).
constexpr int PICTURE = -1;
constexpr DWORD SENT = 1, CLICK = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, WHEEL = MOUSEEVENTF_WHEEL;

// The keyboard picture stands at (335, 16) at 96 DPI. In prefixes set to 120, 144, 168 and 192
// DPI (125 to 200 %, tests/prefixes.txt) it keeps its place among the controls, and it and the
// sample font grow with the DPI. In the Japanese session, whose face is narrower than the
// template's, the dialog widens to hold it. Always it stands whole in the dialog with the key
// test's frame, clear of every control, frames and lines included, and the dialog is centred.
// In the key test, keys held light exactly their caps as drawn, each known by its place on the
// keyboard, and do nothing else; it ends on Tab, a click elsewhere or another window active.
// Meanwhile held gamepad buttons light their column heads and change nothing else either. A key
// or head lit before the player changes the highlight colour takes the new one (the old one is
// put back at the end).
TEST_F(Dialog, KeyboardPictureAtAnyScale)
{
    gReadPadButtons = ReadHeldButtons;
    ASSERT_TRUE(Activate(dlg, [&] { Open(); }));
    const RECT picture = PreviewRect();
    LOGFONTA font = {};
    GetObjectA((HFONT)SendDlgItemMessageA(dlg, IDC_FONT_SAMPLE, WM_GETFONT, 0, 0), sizeof font, &font);
    // DPI -> the picture's width and height, the sample font's height, the key test's frame
    const std::map<int, std::array<int, 4>> sizes = {{96, {328, 120, 20, 2}}, {120, {410, 150, 25, 3}},
                                                     {144, {492, 180, 30, 3}}, {168, {574, 210, 35, 4}},
                                                     {192, {656, 240, 40, 4}}};
    const int dpi = atoi(getenv("VESKAROT_EXPECT_DPI") ? getenv("VESKAROT_EXPECT_DPI") : "96");   // the prefix's
    const std::array<int, 4> want = sizes.at(dpi);
    EXPECT_EQ((std::array<int, 4>{picture.right - picture.left, picture.bottom - picture.top, font.lfHeight, want[3]}),
              want);
    EXPECT_TRUE(dpi != 96 || (picture.left == 335 && picture.top == 16)) << picture.left << "," << picture.top;
    RECT framed = picture, control, overlap, client, window;
    InflateRect(&framed, want[3], want[3]);
    GetClientRect(dlg, &client);
    EXPECT_TRUE(framed.left >= 0 && framed.top >= 0 && framed.right <= client.right && framed.bottom <= client.bottom)
        << "the picture and its frame reach out of the dialog to " << framed.right << ", " << client.right << " wide";
    GetWindowRect(dlg, &window);
    EXPECT_LE(abs(window.left + window.right - GetSystemMetrics(SM_CXSCREEN)), 1) << "the dialog off centre";
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        GetWindowRect(c, &control);
        MapWindowPoints(NULL, dlg, (POINT *)&control, 2);
        EXPECT_FALSE(IntersectRect(&overlap, &control, &framed)) << "control " << GetDlgCtrlID(c) << " at the picture";
    }
    HWND other = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 80, 80, NULL, NULL, NULL, NULL);
    // window made active, the mouse, keys pressed (+) and released (-), a key whose press the thread
    // must have taken -> picture, focus
    struct Step { HWND active; DWORD mouse; int at; std::string keys; int taken; const char *shown; int focus; };
    const Step steps[] = {
        {dlg, SENT, IDC_MOVE_ARROWS, "+Z -Z", 'Z', "arrows", IDC_MOVE_ARROWS},   // outside the test: nothing lit
        {dlg, SENT, PICTURE, "+Up +Left +Z", 0, "test arrows Z Up Left", IDC_MOVE_ARROWS},
        // held, repeated, and keys that would change a choice or close the dialog: lit only
        {dlg, 0, 0, "-Left +Down +Down +Space +Esc +Enter", 0, "test arrows Esc Enter Z Space Up Down",
         IDC_MOVE_ARROWS},
        {dlg, 0, 0, "-Down -Space -Esc -Enter +Q=A", 0, "test arrows Q Z Up", IDC_MOVE_ARROWS},   // Q's key, typing A
        {other, 0, 0, "", 0, "arrows", 0},
        {other, 0, 0, "+X", 'X', "arrows", 0},
        {dlg, 0, 0, "-X -Q=A -Z -Up +C -C", 'C', "arrows", IDC_MOVE_ARROWS},
        {dlg, SENT, PICTURE, "+LShift +RCtrl", 0, "test arrows LShift RCtrl", IDC_MOVE_ARROWS},
        {dlg, SENT, IDC_MOVE_ALT, "-LShift -RCtrl +Z", 0, "test alt Z", IDC_MOVE_ALT},
    };
    // Then Tab, the wheel and clicks through the system, which end the test or must not; the mouse
    // last, as Wine 9 and later let go of the keys held where the pointer comes into a window.
    const Step endings[] = {
        {dlg, 0, 0, "+Tab -Tab -Z", 0, "alt", IDC_JUMP_Z},   // Tab ends it and moves the focus on
        {dlg, SENT, PICTURE, "", 0, "test alt", IDC_JUMP_Z},
        {dlg, WHEEL, IDC_DISPLAY_MODE, "", 0, "test alt", IDC_JUMP_Z},   // the wheel turns no list
        {dlg, CLICK, IDC_FONT_SAMPLE, "", 0, "alt", IDC_JUMP_Z},   // a click beside the controls ends it
        {dlg, SENT, PICTURE, "", 0, "test alt", IDC_JUMP_Z},
        {dlg, CLICK, IDC_MOVE_ARROWS, "", 0, "arrows", IDC_MOVE_ARROWS},   // as does one on a control
    };
    auto take = [&](const Step &c) {
        if (GetActiveWindow() != c.active) {   // the other window shown only while it is to be active
            EXPECT_TRUE(Activate(c.active, [&] { ShowWindow(other, c.active == other ? SW_SHOW : SW_HIDE); }));
        }
        RECT r = PreviewRect();   // in the client area, a control's on the screen
        if (c.at != PICTURE)
            GetWindowRect(GetDlgItem(dlg, c.at), &r);
        if (c.mouse == SENT && c.at == PICTURE)
            SendMessageA(dlg, WM_LBUTTONDOWN, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        else if (c.mouse == SENT)
            Click(c.at);
        else if (c.mouse && SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2))
            mouse_event(c.mouse, 0, 0, c.mouse == WHEEL ? -WHEEL_DELTA : 0, 0);
        const SHORT before = GetKeyState(c.taken);   // a press flips the key's toggle bit
        Keys(c.keys);
        EXPECT_TRUE(WaitFor(c.keys + ": " + c.shown, [&] {
            return Picture(dlg) == c.shown && (!c.taken || (GetKeyState(c.taken) ^ before) & 1);
        })) << Picture(dlg);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.focus) << c.keys;
    };
    for (const Step &c : steps)
        take(c);
    // Then, with Z lit, gamepad buttons held (those above 8 do not count) and the highlight colour
    // changed -> the column heads lit, and Z and the heads in the colour of the moment
    const int element = COLOR_HIGHLIGHT;
    const COLORREF was = GetSysColor(COLOR_HIGHLIGHT), green = RGB(0, 128, 64);
    const struct { int32_t held; COLORREF colour; const char *heads; } pads[] = {
        {0x04, was, "--+-----"}, {0x00, was, "--------"}, {0x85, green, "+-+----+"}, {0x340, green, "------+-"},
        {0xFF, was, "++++++++"}, {-1, was, "--------"}, {0x10, was, "----+---"}, {0x02, was, "-+------"},
        {-1, was, "--------"},
    };
    for (const auto &c : pads) {
        gHeld = c.held;
        SetSysColors(1, &element, &c.colour);
        const std::string want = std::string("test alt Z heads=") + c.heads;
        auto shown = [&] { return Picture(dlg) + " heads=" + Heads(dlg); };
        EXPECT_TRUE(WaitFor(want, [&] { return shown() == want; })) << shown();
    }
    // Without a controller the program asks again only every two seconds.
    gReads = 0;
    WaitFor("a second", [start = GetTickCount()] { return GetTickCount() - start >= 1000; });
    EXPECT_LE(gReads, 1) << "reads in one second without a controller";
    for (const Step &c : endings)
        take(c);
    EXPECT_EQ(Shown(dlg), DEFAULT_SHOWN);
    EXPECT_EQ(Bytes(file), NO_FILE);
    DestroyWindow(other);
}

// Keyboard alone, through the dialog manager as the dialog's message loop hands it each key: Tab
// visits each group once, on its checked radio, and an arrow key on a push button or the check
// box moves the focus at most, never a choice. The pairs but the first and every column start off
// their first radio, so that a radio the dialog manager clicks shows, and one made a tab stop too.
TEST_F(Dialog, KeyboardAloneChangesOnlyTheGroupWithTheFocus)
{
    Put(file, Record("jump=1 ok=1 mode=2 buttons=6,4,1,2,3,5,6,1", "Courier New"));
    Open();
    const std::string shown = "mode=2 move=arrows jump=x ok=attack pad=on/48 rows=34012530 font=0 picture=arrows";
    // Tab from Use Gamepad: the checked radio of each column and pair, the lists, the buttons, the notes
    const std::vector<int> tabs = {IDC_PAD1 + 3, IDC_PAD2 + 4, IDC_PAD3, IDC_PAD4 + 1, IDC_PAD5 + 2, IDC_PAD6 + 5,
                        IDC_PAD7 + 3, IDC_PAD8, IDC_MOVE_ARROWS, IDC_JUMP_X, IDC_OK_ATTACK, IDC_FONT,
                        IDC_DISPLAY_MODE, IDC_DEFAULTS, IDOK, IDCANCEL, IDC_NOTES, IDC_USE_GAMEPAD};
    std::vector<int> walked;
    for (size_t n = 0; n < tabs.size(); ++n) {
        MSG msg = {GetFocus(), WM_KEYDOWN, VK_TAB, 0};
        EXPECT_TRUE(IsDialogMessageA(dlg, &msg));
        walked.push_back(GetDlgCtrlID(GetFocus()));
    }
    EXPECT_EQ(walked, tabs);
    for (int id : {IDC_USE_GAMEPAD, IDC_DEFAULTS, IDOK, IDCANCEL})
        for (WPARAM arrow : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) {
            SendMessageA(dlg, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dlg, id), TRUE);
            MSG msg = {GetFocus(), WM_KEYDOWN, arrow, 0};
            EXPECT_TRUE(IsDialogMessageA(dlg, &msg));
            EXPECT_EQ(Shown(dlg), shown) << "key " << arrow << " on control " << id;
        }
}
