// The column heads light up while their gamepad buttons are held, read through the
// replaceable button reader: -1 for no controller, else bit n - 1 for button n.
#include "harness.h"

static int32_t gHeld = -1;
static int gReads;

using Gamepad = Folder;

// The heads whose background shows the highlight colour, as painted: "1-3-----".
static std::string Lit(HWND dlg)
{
    std::string lit = "--------";
    RedrawWindow(dlg, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (int n = 0; n < 8; ++n) {
        HWND head = FindWindowExA(dlg, NULL, NULL, std::string(1, '1' + n).c_str());
        HDC dc = GetDC(head);
        lit[n] = GetPixel(dc, 0, 0) == GetSysColor(COLOR_HIGHLIGHT) ? '1' + n : '-';
        ReleaseDC(head, dc);
    }
    return lit;
}

TEST_F(Gamepad, HeldButtonsLightTheirColumnHeadsAndChangeNothingElse)
{
    gReadPadButtons = [] { return ++gReads, gHeld; };
    const std::string stored = Record({1, 1, 1, 3, 0, 6, 4, 1, 2, 3, 5, 6, 1}, "Courier New");
    Put(Path(), stored);
    Open();
    // buttons the controller reports -> heads lit; buttons above 8 do not count
    const struct { int32_t held; const char *lit; } cases[] = {
        {0x01, "1-------"}, {0x00, "--------"}, {0x85, "1-3----8"}, {0x300 | 0x40, "------7-"}, {0xFF, "12345678"},
        {-1, "--------"}, {0x10, "----5---"}, {0x02, "-2------"}, {-1, "--------"},
    };
    for (const auto &c : cases) {
        gHeld = c.held;
        EXPECT_TRUE(WaitFor(std::string("the heads ") + c.lit + " lit", [&] { return Lit(dlg) == c.lit; }));
    }
    // Without a controller the program asks again only every two seconds.
    gReads = 0;
    const DWORD start = GetTickCount();
    WaitFor("a second", [&] { return GetTickCount() - start >= 1000; });
    EXPECT_LE(gReads, 1) << "reads in one second without a controller";
    Click(IDOK);
    EXPECT_EQ(Bytes(Path()), stored);
}

// Run by scripts/screenshots: button 3 held, shown until the script has taken its picture
// and removed the file that told it the head was lit.
TEST_F(Gamepad, DISABLED_ButtonHeldForTheScreenshot)
{
    gReadPadButtons = [] { return (int32_t)0x04; };
    Open();
    ASSERT_TRUE(WaitFor("head 3 lit", [&] { return Lit(dlg) == "--3-----"; }));
    Put(getenv("VESKAROT_SCREENSHOT_READY"), "");
    WaitFor("the screenshot", [] { return Bytes(getenv("VESKAROT_SCREENSHOT_READY")) == "<none>"; });
}
