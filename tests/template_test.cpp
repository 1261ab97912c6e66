// The dialog template as stored in the program's resources, field by field.
#include "test_util.h"

#include <cstring>

enum : uint16_t { BUTTON = 0x80, EDIT = 0x81, STATIC = 0x82, COMBOBOX = 0x85 };

// Whole style words as stored.
enum : uint32_t {
    CHECKBOX = 0x50010003, RADIO_FIRST = 0x50020009, RADIO = 0x50000009, DROPDOWN = 0x50210003,
    PUSH = 0x50010000, DEFPUSH = 0x50010001, LABEL = 0x50020200, HEAD = 0x50020201,
    VLINE = 0x50001007, FRAME = 0x50000012, NOTES = 0x50810804,
};

struct Item {
    uint32_t id;
    uint16_t cls;
    uint32_t style;
    int16_t x, y, cx, cy;
    const char *caption;
};

static const uint32_t NONE = 0x0000FFFF;

// Controls after the grid, in template order.
static const Item TAIL[] = {
    // id               class     style        x    y   cx   cy  caption
    {IDC_MOVE_ARROWS,   BUTTON,   RADIO_FIRST, 200, 100, 176,   8, "Arrow keys = movement, Down-arrow = search"},
    {IDC_MOVE_ALT,      BUTTON,   RADIO,       200, 116, 172,   8, "< and ? = movement, > = search"},
    {IDC_JUMP_Z,        BUTTON,   RADIO_FIRST, 200, 144,  80,   8, "Z = jump, X = attack"},
    {IDC_JUMP_X,        BUTTON,   RADIO,       200, 160,  80,   8, "X = jump, Z = attack"},
    {IDC_OK_JUMP,       BUTTON,   RADIO_FIRST, 200, 188,  80,   8, "Jump button = OK"},
    {IDC_OK_ATTACK,     BUTTON,   RADIO,       200, 204,  80,   8, "Attack button = OK"},
    {IDC_FONT,          COMBOBOX, DROPDOWN,    296, 164,  84, 118, ""},
    {IDC_DISPLAY_MODE,  COMBOBOX, DROPDOWN,    296, 188,  84,  86, ""},
    {IDC_DEFAULTS,      BUTTON,   PUSH,        296, 208,  84,  16, "Restore Defaults"},
    {IDOK,              BUTTON,   DEFPUSH,     296, 231,  84,  16, "OK"},
    {IDCANCEL,          BUTTON,   PUSH,        296, 252,  84,  16, "Cancel"},
    {NONE,              STATIC,   LABEL,       196, 228,  84,   8, "S, A = Change Weapons"},
    {NONE,              STATIC,   LABEL,       196, 242,  58,   8, "Q = Item Screen"},
    {NONE,              STATIC,   VLINE,       290, 137,   1, 131, ""},
    {NONE,              STATIC,   FRAME,       192, 136,  90,  40, ""},
    {NONE,              STATIC,   FRAME,       192,  92, 188,  40, ""},
    {NONE,              STATIC,   VLINE,       184,  66,   1, 208, ""},
    {NONE,              STATIC,   LABEL,         8,  48,  32,  12, "Jump"},
    {NONE,              STATIC,   LABEL,         8,  64,  32,  12, "Attack"},
    {NONE,              STATIC,   LABEL,         8,  80,  40,  12, "Weapon +"},
    {NONE,              STATIC,   LABEL,         8, 112,  32,  12, "Item"},
    {NONE,              STATIC,   LABEL,         8, 128,  32,  12, "Map"},
    {NONE,              STATIC,   HEAD,         52,  32,   8,  12, "1"},
    {NONE,              STATIC,   HEAD,         68,  32,   8,  12, "2"},
    {NONE,              STATIC,   HEAD,         84,  32,   8,  12, "3"},
    {NONE,              STATIC,   HEAD,        100,  32,   8,  12, "4"},
    {NONE,              STATIC,   HEAD,        116,  32,   8,  12, "5"},
    {NONE,              STATIC,   HEAD,        132,  32,   8,  12, "6"},
    {IDC_NOTES,         EDIT,     NOTES,         8, 148, 168, 126, ""},
    {NONE,              STATIC,   LABEL,         8,  96,  40,  12, "Weapon -"},
    {NONE,              STATIC,   HEAD,        148,  32,   8,  12, "7"},
    {NONE,              STATIC,   HEAD,        164,  32,   8,  12, "8"},
    {NONE,              STATIC,   LABEL,       196, 256,  58,   8, "W = Map"},
    {NONE,              STATIC,   FRAME,       192, 180,  90,  40, ""},
    {IDC_FONT_SAMPLE,   STATIC,   LABEL,       296, 139,  84,  20, "123 ABC"},
};

static std::vector<Item> ExpectedItems()
{
    std::vector<Item> items = {{IDC_USE_GAMEPAD, BUTTON, CHECKBOX, 12, 16, 100, 12, "Use Gamepad"}};
    for (int button = 0; button < 8; ++button)
        for (int row = 0; row < 6; ++row)
            items.push_back({(uint32_t)(PAD_FIRST_ID[button] + row), BUTTON,
                             row == 0 ? RADIO_FIRST : RADIO, (int16_t)(52 + 16 * button),
                             (int16_t)(48 + 16 * row), 12, 12, ""});
    items.insert(items.end(), TAIL, TAIL + sizeof TAIL / sizeof TAIL[0]);
    return items;
}

// Reads the template as the system does: words, then ordinals or strings.
struct Reader {
    const BYTE *p;
    uint16_t Word() { uint16_t v; memcpy(&v, p, 2); p += 2; return v; }
    uint32_t Dword() { uint32_t v; memcpy(&v, p, 4); p += 4; return v; }
    int16_t Short() { return (int16_t)Word(); }
    void Align(const BYTE *base) { while ((p - base) % 4) ++p; }
    std::string Text()
    {
        std::string s;
        for (uint16_t c; (c = Word()) != 0;)
            s += c < 0x80 ? (char)c : '?';
        return s;
    }
    // "#n" for an ordinal, else the string.
    std::string OrdinalOrText()
    {
        uint16_t first;
        memcpy(&first, p, 2);
        if (first == 0xFFFF) {
            p += 2;
            return "#" + std::to_string(Word());
        }
        return Text();
    }
};

TEST(Template, StoredFieldByFieldInTheProgram)
{
    HMODULE program = LoadLibraryExA(BuiltProgramPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program != NULL) << BuiltProgramPath();
    HRSRC found = FindResourceA(program, "DLG_CONFIG", MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    ASSERT_TRUE(found != NULL);
    const BYTE *base = (const BYTE *)LockResource(LoadResource(program, found));
    Reader r{base};

    EXPECT_EQ(r.Word(), 1);             // dlgVer
    EXPECT_EQ(r.Word(), 0xFFFF);        // signature
    EXPECT_EQ(r.Dword(), 0u);           // helpID
    EXPECT_EQ(r.Dword(), 0u);           // exStyle
    EXPECT_EQ(r.Dword(), 0x80C808C0u);  // style
    EXPECT_EQ(r.Word(), 84);            // cDlgItems
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 387);
    EXPECT_EQ(r.Short(), 281);
    EXPECT_EQ(r.OrdinalOrText(), "");   // no menu
    EXPECT_EQ(r.OrdinalOrText(), "");   // the system's dialog class
    EXPECT_EQ(r.Text(), "Veskarot Settings");
    EXPECT_EQ(r.Word(), 9);             // point size
    EXPECT_EQ(r.Word(), 0);             // weight
    EXPECT_EQ(r.Word(), 0);             // italic and charset bytes
    EXPECT_EQ(r.Text(), "SYLFAEN");

    std::vector<Item> expected = ExpectedItems();
    ASSERT_EQ(expected.size(), 84u);
    for (size_t i = 0; i < expected.size(); ++i) {
        const Item &e = expected[i];
        SCOPED_TRACE("control No. " + std::to_string(i + 1) + ", \"" + e.caption + "\"");
        r.Align(base);
        EXPECT_EQ(r.Dword(), 0u);                                           // helpID
        EXPECT_EQ(r.Dword(), e.id == IDC_FONT_SAMPLE ? (uint32_t)WS_EX_STATICEDGE : 0u);
        EXPECT_EQ(r.Dword(), e.style);
        EXPECT_EQ(r.Short(), e.x);
        EXPECT_EQ(r.Short(), e.y);
        EXPECT_EQ(r.Short(), e.cx);
        EXPECT_EQ(r.Short(), e.cy);
        EXPECT_EQ(r.Dword(), e.id);
        EXPECT_EQ(r.OrdinalOrText(), "#" + std::to_string(e.cls));
        EXPECT_EQ(r.OrdinalOrText(), e.caption);
        EXPECT_EQ(r.Word(), 0);                                             // no creation data
    }
    EXPECT_EQ((size_t)(r.p - base), (size_t)SizeofResource(program, found));
    FreeLibrary(program);
}
