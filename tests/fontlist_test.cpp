// The font list (which families it shows, which entry a saved name selects)
// and the sample text's font, on the real dialog.
#include "test_util.h"

#include <cstdlib>
#include <cstring>
#include <set>

using FontList = DialogTest;
using FontSample = DialogTest;
using JapaneseFonts = DialogTest;

// Reports a family to the list the way EnumFontFamiliesA would.
static int ReportFamily(HWND dlg, const char *name, DWORD type)
{
    ENUMLOGFONTA elf;
    TEXTMETRICA tm;
    memset(&elf, 0, sizeof elf);
    memset(&tm, 0, sizeof tm);
    strncpy(elf.elfLogFont.lfFaceName, name, LF_FACESIZE - 1);
    return FontFamilyEnumProc(&elf.elfLogFont, &tm, type, (LPARAM)dlg);
}

static std::vector<std::string> Entries(const DialogTest &test)
{
    std::vector<std::string> entries;
    for (int i = 0; i < test.ListCount(IDC_FONT); ++i)
        entries.push_back(test.ListEntry(IDC_FONT, i));
    return entries;
}

static HFONT SampleFont(const DialogTest &test)
{
    return (HFONT)SendMessageA(test.Item(IDC_FONT_SAMPLE), WM_GETFONT, 0, 0);
}

static std::string Hex(const std::string &text)
{
    std::string hex;
    char byte[4];
    for (unsigned char c : text) {
        snprintf(byte, sizeof byte, "%02X ", c);
        hex += byte;
    }
    return hex;
}

// Every field that CreateFontA was given, as the font object reports it.
static void ExpectSampleFont(HFONT font, const std::string &face)
{
    LOGFONTA lf;
    ASSERT_EQ(GetObjectType(font), (DWORD)OBJ_FONT);
    ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), (int)sizeof lf);
    EXPECT_EQ(lf.lfHeight, 20);
    EXPECT_EQ(lf.lfWidth, 10);
    EXPECT_EQ(lf.lfEscapement, 0);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, 0);
    EXPECT_EQ(lf.lfOutPrecision, 4);
    EXPECT_EQ(lf.lfClipPrecision, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfPitchAndFamily, 1);
    EXPECT_EQ(std::string(lf.lfFaceName), face) << Hex(lf.lfFaceName);
}

// A listed name: a byte >= 0x80 before any '@'.
static bool HasHighByteBeforeAt(const std::string &name)
{
    for (unsigned char c : name) {
        if (c == '@')
            return false;
        if (c >= 0x80)
            return true;
    }
    return false;
}

// What the list may hold whatever fonts are installed: the default first,
// then names that pass the filter, each once ignoring case.
static void ExpectWellFormedList(const std::vector<std::string> &entries)
{
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries[0], "Courier New");
    for (size_t i = 1; i < entries.size(); ++i) {
        EXPECT_NE(entries[i][0], '@') << Hex(entries[i]);
        EXPECT_TRUE(HasHighByteBeforeAt(entries[i])) << "entry " << i << ": " << Hex(entries[i]);
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(lstrcmpiA(entries[i].c_str(), entries[j].c_str()), 0)
                << "entries " << j << " and " << i << ": " << Hex(entries[i]);
    }
}

struct FamilyCase {
    const char *name;
    DWORD type;
    bool listed;
};

static const FamilyCase FAMILY_CASES[] = {
    {"\xC4pfel Sans", TRUETYPE_FONTTYPE, true},
    {"Caf\xC9 Mono", TRUETYPE_FONTTYPE, true},               // high byte after ASCII
    {"X\x80", TRUETYPE_FONTTYPE, true},                      // lowest high byte
    {"X\x7F", TRUETYPE_FONTTYPE, false},
    {"\x83\x40\x83\x43 Mincho", TRUETYPE_FONTTYPE, true},    // trail byte 0x40 is '@'
    {"\xC9t@t", TRUETYPE_FONTTYPE, true},                    // '@' after the high byte
    {"@\x82\x6C\x82\x72 Gothic", TRUETYPE_FONTTYPE, false},  // vertical variant
    {"Ab@c\xC9", TRUETYPE_FONTTYPE, false},                  // '@' before the high byte
    {"Plain Sans", TRUETYPE_FONTTYPE, false},
    {"", TRUETYPE_FONTTYPE, false},
    {"Rast\xC9r", RASTER_FONTTYPE, false},
    {"Vect\xC9r", 0, false},
    {"Dev\xCD" "ce", DEVICE_FONTTYPE, false},
    {"Dev\xCD" "ce TT", DEVICE_FONTTYPE | TRUETYPE_FONTTYPE, true},
};

TEST_F(FontList, FilterTakesTrueTypeFamiliesWithAHighByteBeforeAnyAt)
{
    Open();
    std::vector<std::string> expected = Entries(*this);
    for (const FamilyCase &c : FAMILY_CASES) {
        SCOPED_TRACE(Hex(c.name) + "type " + std::to_string(c.type));
        EXPECT_EQ(ReportFamily(dlg, c.name, c.type), 1);
        if (c.listed)
            expected.push_back(c.name);
        EXPECT_EQ(Entries(*this), expected);
    }

    // A report that comes after the dialog is gone finds no list to fill.
    HWND gone = dlg;
    DestroyWindow(dlg);
    dlg = NULL;
    ASSERT_FALSE(IsWindow(gone));
    EXPECT_EQ(ReportFamily(gone, "Caf\xC9 Sans", TRUETYPE_FONTTYPE), 1);
    EXPECT_EQ(ReportFamily(NULL, "Caf\xC9 Sans", TRUETYPE_FONTTYPE), 1);
}

// Wine reports a family once per character set; the list keeps one entry.
// Names that only begin like a listed one are families of their own.
TEST_F(FontList, EachNameIsListedOnceInReportedOrder)
{
    Open();
    std::vector<std::string> expected = Entries(*this);
    const char *reports[] = {"Caf\xC9 Sans", "Caf\xC9 Sans", "CAF\xC9 SANS", "caf\xC9 sANs",
                             "Caf\xC9",      "Caf\xC9 Sans Bold", "\xC4pfel", "caf\xC9"};
    for (const char *name : reports)
        EXPECT_EQ(ReportFamily(dlg, name, TRUETYPE_FONTTYPE), 1) << Hex(name);
    for (const char *name : {"Caf\xC9 Sans", "Caf\xC9", "Caf\xC9 Sans Bold", "\xC4pfel"})
        expected.push_back(name);
    EXPECT_EQ(Entries(*this), expected);
}

// Families reported after the dialog opened.
static const char *const EXTRA_FAMILIES[] = {"Caf\xC9 Sans", "Caf\xC9 Mono"};
static const std::string LONG_NAME(64, 'L');    // fills fontName, no terminator
static const std::string LONG_ENTRY = LONG_NAME + " Wide";

struct SavedNameCase {
    std::string saved;      // bytes 32..95 of the file, zero-padded
    int extra;              // selected: that extra entry, or -1 for the default
    std::string stored;     // fontName after OK
};

// Each record is applied as the dialog applies the file at start, once the
// extra families are listed; OK then stores the entry's text.
TEST_F(FontList, SavedNameSelectsTheFirstEntryItBegins)
{
    const SavedNameCase cases[] = {
        {"COURIER NEW", -1, "Courier New"},
        {"courier", -1, "Courier New"},
        {"Not Installed Here", -1, "Courier New"},
        {"", -1, "Courier New"},
        {"Caf\xC9", 0, "Caf\xC9 Sans"},             // begins both; first in list order
        {"caf\xC9 MONO", 1, "Caf\xC9 Mono"},
        {LONG_NAME, 2, LONG_ENTRY.substr(0, 63)},    // OK keeps 63 bytes and a zero
    };
    Open();
    int first = ListCount(IDC_FONT);
    for (const char *name : EXTRA_FAMILIES)
        ReportFamily(dlg, name, TRUETYPE_FONTTYPE);
    SendDlgItemMessageA(dlg, IDC_FONT, CB_ADDSTRING, 0, (LPARAM)LONG_ENTRY.c_str());

    for (const SavedNameCase &c : cases) {
        SCOPED_TRACE("saved " + Hex(c.saved));
        std::string record = DefaultRecordBytes();
        memcpy(&record[32], c.saved.data(), c.saved.size());
        record[96] = 1;     // moveKeys: a byte that a read past fontName would take in
        WriteFileBytes(ConfigPath(), record);
        ChooseFont(first + (c.extra == 1 ? 0 : 1));     // away from the expected entry

        ConfigData config;
        ASSERT_TRUE(LoadConfigData(&config));
        ApplyConfigToDialog(dlg, &config);
        EXPECT_EQ(Selection(IDC_FONT), c.extra < 0 ? 0 : first + c.extra);

        Click(IDOK);
        std::string saved = ReadFileBytes(ConfigPath());
        ASSERT_EQ(saved.size(), 148u);
        EXPECT_EQ(saved.substr(32, 64), c.stored + std::string(64 - c.stored.size(), '\0'));
    }

    ChooseFont(first);
    Click(IDC_DEFAULTS);
    EXPECT_EQ(Selection(IDC_FONT), 0);
    ExpectSampleFont(SampleFont(*this), "");
}

TEST_F(FontSample, FollowsTheSelectionAndFreesTheFontItReplaces)
{
    Open();
    HFONT first = SampleFont(*this);
    ExpectSampleFont(first, "");    // the default entry leaves the face to the system

    ReportFamily(dlg, "Caf\xC9 Mono", TRUETYPE_FONTTYPE);
    int entry = ListCount(IDC_FONT) - 1;
    ChooseFont(entry);
    HFONT second = SampleFont(*this);
    EXPECT_NE(second, first);
    EXPECT_EQ(GetObjectType(first), 0u) << "the replaced font was not deleted";
    ExpectSampleFont(second, "Caf\xC9 Mono");

    // Only a change of selection rebuilds the font, and only from the font list.
    SendDlgItemMessageA(dlg, IDC_FONT, CB_SETCURSEL, 0, 0);
    const WORD others[] = {CBN_DROPDOWN, CBN_CLOSEUP, CBN_SETFOCUS, CBN_KILLFOCUS,
                           CBN_SELENDOK, CBN_SELENDCANCEL, CBN_DBLCLK};
    for (WORD code : others) {
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_FONT, code), (LPARAM)Item(IDC_FONT));
        EXPECT_EQ(SampleFont(*this), second) << "notification " << code;
    }
    ChooseDisplayMode(1);
    EXPECT_EQ(SampleFont(*this), second);
    EXPECT_EQ(GetObjectType(second), (DWORD)OBJ_FONT);

    ChooseFont(0);
    HFONT third = SampleFont(*this);
    ExpectSampleFont(third, "");
    EXPECT_EQ(GetObjectType(second), 0u);
    EXPECT_EQ(ItemText(IDC_FONT_SAMPLE), "123 ABC");

    DestroyWindow(dlg);
    dlg = NULL;
    EXPECT_EQ(GetObjectType(third), 0u) << "the last sample font outlived the dialog";
}

TEST_F(FontSample, StressManySelectionChangesKeepOneFont)
{
    Open();
    ReportFamily(dlg, "Caf\xC9 Mono", TRUETYPE_FONTTYPE);
    int entry = ListCount(IDC_FONT) - 1;
    std::vector<HFONT> earlier;
    const int changes = 20000;
    for (int i = 0; i < changes; ++i) {
        ChooseFont(i % 2 ? 0 : entry);
        if (i == 0 || i == 1 || i == 777 || i == 5000 || i == 12345 || i == changes - 2)
            earlier.push_back(SampleFont(*this));
    }
    HFONT last = SampleFont(*this);
    ExpectSampleFont(last, "");
    for (size_t i = 0; i < earlier.size(); ++i) {
        ASSERT_NE(earlier[i], last);
        EXPECT_EQ(GetObjectType(earlier[i]), 0u) << "font " << i << " kept";
    }
    EXPECT_EQ(ItemText(IDC_FONT_SAMPLE), "123 ABC");
}

// TrueType families with a byte >= 0x80 in their name, as the system reports them.
static int CALLBACK CollectHighByteFamily(const LOGFONTA *font, const TEXTMETRICA *, DWORD type,
                                          LPARAM data)
{
    std::string name = font->lfFaceName;
    if (type & TRUETYPE_FONTTYPE)
        for (unsigned char c : name)
            if (c >= 0x80) {
                ((std::set<std::string> *)data)->insert(name);
                break;
            }
    return 1;
}

TEST_F(FontList, InstalledFamiliesInTheDefaultLocale)
{
    Open();
    std::vector<std::string> entries = Entries(*this);
    std::set<std::string> highByteFamilies;
    HDC dc = GetDC(NULL);
    EnumFontFamiliesA(dc, NULL, CollectHighByteFamily, (LPARAM)&highByteFamilies);
    ReleaseDC(NULL, dc);
    if (highByteFamilies.empty()) {
        EXPECT_EQ(entries, std::vector<std::string>{"Courier New"});
        return;
    }
    ExpectWellFormedList(entries);
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_EQ(highByteFamilies.count(entries[i]), 1u) << "not installed: " << Hex(entries[i]);
}

// Run with LC_ALL=ja_JP.UTF-8 in a prefix made under that locale, where the
// system names the IPA and VL families in code page 932. The test run sets
// VESKAROT_EXPECT_CP932 there, so a prefix made in another locale fails
// instead of skipping.
static bool InJapaneseLocale()
{
    if (GetACP() == 932)
        return true;
    EXPECT_TRUE(getenv("VESKAROT_EXPECT_CP932") == NULL) << "code page " << GetACP();
    return false;
}

TEST_F(JapaneseFonts, ListShowsLocalizedNamesOnce)
{
    if (!InJapaneseLocale())
        GTEST_SKIP() << "code page " << GetACP() << ", not 932";
    Open();
    std::vector<std::string> entries = Entries(*this);
    std::string seen;
    for (const std::string &entry : entries)
        seen += Hex(entry) + "| ";
    RecordProperty("entries", seen);
    ASSERT_GE(entries.size(), 2u) << "no localized family listed";
    ExpectWellFormedList(entries);
}

TEST_F(JapaneseFonts, ChosenFamilyIsSavedAndSelectedAgain)
{
    if (!InJapaneseLocale())
        GTEST_SKIP() << "code page " << GetACP() << ", not 932";
    Open();
    ASSERT_GE(ListCount(IDC_FONT), 2) << "no localized family listed";
    const std::string name = ListEntry(IDC_FONT, 1);
    ChooseFont(1);
    ExpectSampleFont(SampleFont(*this), name);
    Click(IDOK);
    std::string saved = ReadFileBytes(ConfigPath());
    ASSERT_EQ(saved.size(), 148u);
    EXPECT_EQ(saved.substr(32, 64), name + std::string(64 - name.size(), '\0')) << Hex(name);

    DestroyWindow(dlg);
    dlg = NULL;
    Open();
    EXPECT_EQ(Selection(IDC_FONT), 1);
    EXPECT_EQ(ItemText(IDC_FONT), name) << Hex(ItemText(IDC_FONT));
    ExpectSampleFont(SampleFont(*this), name);
}
