// The font list (which families it takes, which entry a saved name selects)
// and the sample drawn in the chosen font.
#include "harness.h"

using Fonts = Folder;
using JapaneseFonts = Folder;
constexpr DWORD TT = TRUETYPE_FONTTYPE;

static HFONT SampleFont(HWND dlg) { return (HFONT)SendDlgItemMessageA(dlg, IDC_FONT_SAMPLE, WM_GETFONT, 0, 0); }

// The face that the sample's font asks for, "" for the system's choice; "no font" without one.
static std::string SampleFace(HWND dlg)
{
    LOGFONTA font = {};
    return GetObjectA(SampleFont(dlg), sizeof font, &font) ? font.lfFaceName : "no font";
}

// The entries of the font list, each after a '|'.
static std::string Entries(HWND dlg)
{
    std::string entries;
    char text[256];
    for (int i = 0; SendDlgItemMessageA(dlg, IDC_FONT, CB_GETLBTEXT, i, (LPARAM)text) != CB_ERR; ++i)
        entries += std::string("|") + text;
    return entries;
}

// Chooses an entry of the font list as the player does.
static void Choose(HWND dlg, int index)
{
    SendDlgItemMessageA(dlg, IDC_FONT, CB_SETCURSEL, index, 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_FONT, CBN_SELCHANGE), (LPARAM)GetDlgItem(dlg, IDC_FONT));
}

TEST_F(Fonts, ListSelectionAndSample)
{
    Open();
    const std::string system = Entries(dlg);
    // Families reported after the system's, in this order, and those of them listed.
    const struct { const char *name; DWORD type; } families[] = {
        {"Caf\xC9 Mono", TT}, {"Caf\xC9", TT}, {"X\x80", TT}, {"X\x7F", TT}, {"\x83\x40\x83\x43 Mincho", TT},
        {"\xC9t@t", TT}, {"@\x82\x6C\x82\x72 Gothic", TT}, {"Ab@c\xC9", TT}, {"Plain Sans", TT}, {"", TT},
        {"Rast\xC9r", RASTER_FONTTYPE}, {"Dev\xCD", DEVICE_FONTTYPE}, {"Dev\xCD TT", DEVICE_FONTTYPE | TT},
        {"CAF\xC9 MONO", TT}, {"X\x80", TT},
    };
    for (const auto &c : families) {   // reported as the system's enumeration reports them
        LOGFONTA font = {};
        strncpy(font.lfFaceName, c.name, LF_FACESIZE - 1);
        EXPECT_EQ(FontFamilyEnumProc(&font, NULL, c.type, (LPARAM)dlg), 1);
    }
    EXPECT_EQ(Entries(dlg), system + "|Caf\xC9 Mono|Caf\xC9|X\x80|\x83\x40\x83\x43 Mincho|\xC9t@t|Dev\xCD TT");

    const std::string ones = "move=1 jump=1 ok=1 mode=1 pad=1 buttons=1,1,1,1,1,1,1,1";
    const std::string longName(64, 'L');
    SendDlgItemMessageA(dlg, IDC_FONT, CB_ADDSTRING, 0, (LPARAM)(longName + " Wide").c_str());
    // saved face name (the last without terminator) -> entry that OK stores -> face of the sample
    const std::string saved[][3] = {
        {"COURIER NEW", "Courier New", ""}, {"caf\xC9", "Caf\xC9", "Caf\xC9"},
        {"courier", "Courier New", ""}, {"Caf\xC9 M", "Caf\xC9 Mono", "Caf\xC9 Mono"},
        {"Not Installed", "Courier New", ""}, {"X\x80", "X\x80", "X\x80"}, {"", "Courier New", ""},
        {longName, longName.substr(0, 63), longName.substr(0, LF_FACESIZE - 1)},
    };
    for (const auto &c : saved) {
        HFONT before = SampleFont(dlg);
        ConfigData config;
        memcpy(&config, Record(ones, c[0]).data(), sizeof config);
        ApplyConfigToDialog(dlg, &config);   // as when the dialog opens
        EXPECT_EQ(SampleFace(dlg), c[2]) << c[0];
        EXPECT_EQ(GetObjectType(before), 0u) << "the sample font before " << c[0] << " was kept";
        Click(IDOK);
        EXPECT_EQ(Bytes(file), Record(ones, c[1])) << c[0];
    }
    // A choice in the list makes a new font, and the last one goes with the dialog.
    Choose(dlg, 1);
    EXPECT_EQ(SampleFace(dlg), "Caf\xC9 Mono");
    HFONT font = SampleFont(dlg);
    DestroyWindow(dlg);
    EXPECT_EQ(GetObjectType(font), 0u) << "the last sample font outlived the dialog";
}

// In a prefix made in the Japanese locale (code page 932) the system names
// its IPA and VL families in double-byte characters.
TEST_F(JapaneseFonts, AreListedShownAndSaved)
{
    const std::string locale = getenv("LC_ALL") ? getenv("LC_ALL") : "";   // the prefix's, from tests/prefixes.txt
    ASSERT_EQ(GetACP() == 932, locale.rfind("ja_JP", 0) == 0) << "code page " << GetACP() << " in " << locale;
    Open();
    char name[LF_FACESIZE] = "";
    ASSERT_NE(SendDlgItemMessageA(dlg, IDC_FONT, CB_GETLBTEXT, 1, (LPARAM)name), CB_ERR) << "no family listed";
    Choose(dlg, 1);
    EXPECT_EQ(SampleFace(dlg), name);
    Click(IDOK);
    EXPECT_EQ(Bytes(file), Record("", name));
}
