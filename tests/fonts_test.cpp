// The font list (which families it takes, which entry a saved name selects)
// and the sample drawn in the chosen font.
#include "harness.h"

using Fonts = Folder;
using JapaneseFonts = Folder;
constexpr DWORD TT = TRUETYPE_FONTTYPE;

// Reports a family to the list as the system's enumeration does.
static int Report(HWND dlg, const char *name, DWORD type)
{
    LOGFONTA font = {};
    strncpy(font.lfFaceName, name, LF_FACESIZE - 1);
    return FontFamilyEnumProc(&font, NULL, type, (LPARAM)dlg);
}

// The sample's font as the font object reports it: height, width, escapement, orientation,
// weight, italic, underline, strike-out, character set, precisions, quality, pitch, face.
static HFONT SampleFont(HWND dlg) { return (HFONT)SendDlgItemMessageA(dlg, IDC_FONT_SAMPLE, WM_GETFONT, 0, 0); }
static std::string Sample(HWND dlg)
{
    LOGFONTA f = {};
    HFONT font = SampleFont(dlg);
    if (GetObjectType(font) != OBJ_FONT || !GetObjectA(font, sizeof f, &f))
        return "no font";
    char text[128];
    snprintf(text, sizeof text, "%ld %ld %ld %ld %ld %d %d %d %d %d %d %d %d '%s'", f.lfHeight, f.lfWidth,
             f.lfEscapement, f.lfOrientation, f.lfWeight, f.lfItalic, f.lfUnderline, f.lfStrikeOut,
             f.lfCharSet, f.lfOutPrecision, f.lfClipPrecision, f.lfQuality, f.lfPitchAndFamily, f.lfFaceName);
    return text;
}
const std::string SAMPLE = "20 10 0 0 400 0 0 0 0 4 0 0 1 ";

TEST_F(Fonts, ListSelectionAndSample)
{
    Open();
    std::string want = Entries(IDC_FONT);
    ASSERT_EQ(want.substr(0, 11), "Courier New");
    // family reported -> whether it is added to the list
    const struct { const char *name; DWORD type; bool listed; } families[] = {
        {"Caf\xC9 Mono", TT, true}, {"Caf\xC9", TT, true}, {"X\x80", TT, true}, {"X\x7F", TT, false},
        {"\x83\x40\x83\x43 Mincho", TT, true}, {"\xC9t@t", TT, true}, {"@\x82\x6C\x82\x72 Gothic", TT, false},
        {"Ab@c\xC9", TT, false}, {"Plain Sans", TT, false}, {"", TT, false}, {"Rast\xC9r", RASTER_FONTTYPE, false},
        {"Dev\xCD", DEVICE_FONTTYPE, false}, {"Dev\xCD TT", DEVICE_FONTTYPE | TT, true}, {"CAF\xC9 MONO", TT, false},
    };
    for (const auto &c : families) {
        EXPECT_EQ(Report(dlg, c.name, c.type), 1);
        want += c.listed ? std::string("|") + c.name : "";
        EXPECT_EQ(Entries(IDC_FONT), want) << "after " << c.name;
    }

    const std::string longName(64, 'L');
    SendDlgItemMessageA(dlg, IDC_FONT, CB_ADDSTRING, 0, (LPARAM)(longName + " Wide").c_str());
    // saved face name (the last without terminator) -> entry that the sample shows and OK stores
    const std::string saved[][2] = {
        {"COURIER NEW", "Courier New"}, {"caf\xC9", "Caf\xC9 Mono"}, {"courier", "Courier New"}, {"Caf\xC9 M", "Caf\xC9 Mono"},
        {"Not Installed", "Courier New"}, {"X\x80", "X\x80"}, {"", "Courier New"}, {longName, longName.substr(0, 63)},
    };
    for (const auto &c : saved) {
        HFONT before = SampleFont(dlg);
        ConfigData config;
        memcpy(&config, Record({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, c[0]).data(), sizeof config);
        ApplyConfigToDialog(dlg, &config);   // as when the dialog opens
        EXPECT_EQ(Sample(dlg), SAMPLE + "'" + (c[1] == "Courier New" ? "" : c[1].substr(0, 31)) + "'") << c[0];
        EXPECT_EQ(GetObjectType(before), 0u) << "the sample font before " << c[0] << " was kept";
        Click(IDOK);
        EXPECT_EQ(Bytes(Path()).substr(32, 64), Record(DEFAULTS, c[1]).substr(32, 64)) << c[0];
    }
    // A choice in the list makes a new font, and the last one goes with the dialog.
    Choose(IDC_FONT, 1);
    EXPECT_EQ(Sample(dlg), SAMPLE + "'Caf\xC9 Mono'");
    HFONT font = SampleFont(dlg);
    DestroyWindow(dlg);
    EXPECT_EQ(GetObjectType(font), 0u) << "the last sample font outlived the dialog";
}

// In a prefix made in the Japanese locale (code page 932) the system names
// its IPA and VL families in double-byte characters.
TEST_F(JapaneseFonts, AreListedOnceSavedAndSelectedAgain)
{
    ASSERT_EQ(GetACP() == 932, getenv("VESKAROT_EXPECT_CP932") != nullptr) << "code page " << GetACP();
    if (GetACP() != 932)
        GTEST_SKIP() << "code page " << GetACP();
    char path[] = "C:\\Games\\\x95\x5C.exe";     // the second byte of the character is '\'
    StripLastPathComponent(path);
    EXPECT_STREQ(path, "C:\\Games");
    Open();
    ASSERT_NE(Entries(IDC_FONT).find('|'), std::string::npos) << "no family listed";
    Choose(IDC_FONT, 1);
    const std::string name = Text(IDC_FONT);
    Click(IDOK);
    EXPECT_EQ(Bytes(Path()).substr(32, 64), Record(DEFAULTS, name).substr(32, 64));
    DestroyWindow(dlg);
    Open();
    EXPECT_EQ(Sample(dlg) + Text(IDC_FONT), SAMPLE + "'" + name + "'" + name);
}
