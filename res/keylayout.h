// Geometry and colours of the two keyboard pictures (keys_arrows.bmp, keys_alt.bmp) and the
// scan code of each key, shared by the art generator (tools/keyart.cpp), the program, which
// lights the held keys on the keyboard picture, and the tests, so that all agree on every key.
#ifndef VESKAROT_KEYLAYOUT_H
#define VESKAROT_KEYLAYOUT_H

// Picture size in pixels; coordinates below are top-down, x to the right.
constexpr int KEY_PICTURE_WIDTH = 328;
constexpr int KEY_PICTURE_HEIGHT = 120;
constexpr int KEY_PICTURE_BITS = 4;
constexpr int KEY_PICTURE_ROW_BYTES = (KEY_PICTURE_WIDTH * KEY_PICTURE_BITS + 31) / 32 * 4;   // 164
constexpr int KEY_PICTURE_IMAGE_BYTES = KEY_PICTURE_ROW_BYTES * KEY_PICTURE_HEIGHT;          // 19,680
constexpr int KEY_PALETTE_ENTRIES = 16;
constexpr int INFO_HEADER_BYTES = 40;
constexpr int KEY_PICTURE_RESOURCE_BYTES = INFO_HEADER_BYTES + KEY_PALETTE_ENTRIES * 4 + KEY_PICTURE_IMAGE_BYTES;

// Colour indices and what they are used for.
constexpr int COLOUR_INK = 0;          // caption text
constexpr int COLOUR_EDGE = 1;         // outline of plain keys, letters on highlighted keys
constexpr int COLOUR_SHADOW = 2;       // lower/right bevel of plain keys
constexpr int COLOUR_BODY = 3;         // keyboard body and faces of plain keys
constexpr int COLOUR_LIGHT = 4;        // upper/left bevel of plain keys
constexpr int COLOUR_HOT_EDGE = 5;     // outline of highlighted keys
constexpr int COLOUR_HOT_SHADOW = 6;   // lower/right bevel of highlighted keys
constexpr int COLOUR_HOT_FACE = 7;     // faces of highlighted keys

struct Rgb {
    unsigned char r, g, b;
};

constexpr Rgb KEY_PALETTE[KEY_PALETTE_ENTRIES] = {
    {0, 0, 0},       {107, 105, 82},  {140, 144, 123}, {189, 189, 165},
    {214, 214, 189}, {140, 148, 181}, {165, 173, 202}, {222, 222, 247},
    {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
    {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
};

// Half-open rectangle: left <= x < right, top <= y < bottom.
struct KeyRect {
    int left, top, right, bottom;
};

struct Key {
    const char *name;   // unique short name, used by the highlight lists
    const char *label;  // text drawn on the key when highlighted ("" = never labelled)
    KeyRect cap;        // whole key cap including outline and bevels
    KeyRect face;       // flat top of the cap; its four corner pixels never carry label ink
    unsigned scan;      // bits 16 to 24 of a key message's lParam: scan code, 0x100 when extended
};

// Arrow glyphs in labels.
constexpr char LABEL_UP[] = "\x01";
constexpr char LABEL_LEFT[] = "\x02";
constexpr char LABEL_DOWN[] = "\x03";
constexpr char LABEL_RIGHT[] = "\x04";

// Keys sit on a grid of quarter key widths; one key width is 17 pixels.
constexpr int GRID_LEFT = 7;
constexpr int KEY_PITCH = 17;
constexpr int KEY_GAP = 1;
constexpr int KEY_HEIGHT = 16;

constexpr int GetColumnX(int quarter) { return GRID_LEFT + (quarter * KEY_PITCH + 2) / 4; }

// Row 0 is the function row, rows 1-5 the main block from the number row down.
constexpr int GetRowTop(int row) { return row == 0 ? 13 : 32 + 17 * (row - 1); }

// Around the face: outline and one light pixel on top and left; one shadow column and
// outline on the right; a three-pixel shadow lip and outline below.
constexpr KeyRect MakeFace(KeyRect cap) { return KeyRect{cap.left + 2, cap.top + 2, cap.right - 2, cap.bottom - 4}; }

// Scan codes of the keys after 0xE0 on the wire, which set the extended flag.
constexpr unsigned SCAN_EXTENDED = 0x100;

constexpr Key MakeKey(const char *name, const char *label, int row, int quarter, int quarters, unsigned scan)
{
    const KeyRect cap{GetColumnX(quarter), GetRowTop(row), GetColumnX(quarter + quarters) - KEY_GAP,
                      GetRowTop(row) + KEY_HEIGHT};
    return Key{name, label, cap, MakeFace(cap), scan};
}

constexpr Key KEYS[] = {
    // Function row: a wide Esc, then F1-F4, F5-F8, F9-F12 with half-key gaps.
    MakeKey("Esc", "Esc", 0, 0, 5, 0x01),
    MakeKey("F1", "", 0, 8, 4, 0x3B), MakeKey("F2", "", 0, 12, 4, 0x3C), MakeKey("F3", "", 0, 16, 4, 0x3D),
    MakeKey("F4", "", 0, 20, 4, 0x3E), MakeKey("F5", "", 0, 26, 4, 0x3F), MakeKey("F6", "", 0, 30, 4, 0x40),
    MakeKey("F7", "", 0, 34, 4, 0x41), MakeKey("F8", "", 0, 38, 4, 0x42), MakeKey("F9", "", 0, 44, 4, 0x43),
    MakeKey("F10", "", 0, 48, 4, 0x44), MakeKey("F11", "", 0, 52, 4, 0x57), MakeKey("F12", "", 0, 56, 4, 0x58),
    // Number row.
    MakeKey("`", "", 1, 0, 4, 0x29), MakeKey("1", "", 1, 4, 4, 0x02), MakeKey("2", "", 1, 8, 4, 0x03),
    MakeKey("3", "", 1, 12, 4, 0x04), MakeKey("4", "", 1, 16, 4, 0x05), MakeKey("5", "", 1, 20, 4, 0x06),
    MakeKey("6", "", 1, 24, 4, 0x07), MakeKey("7", "", 1, 28, 4, 0x08), MakeKey("8", "", 1, 32, 4, 0x09),
    MakeKey("9", "", 1, 36, 4, 0x0A), MakeKey("0", "", 1, 40, 4, 0x0B), MakeKey("-", "", 1, 44, 4, 0x0C),
    MakeKey("=", "", 1, 48, 4, 0x0D), MakeKey("Backspace", "", 1, 52, 8, 0x0E),
    // Tab row.
    MakeKey("Tab", "", 2, 0, 6, 0x0F), MakeKey("Q", "Q", 2, 6, 4, 0x10), MakeKey("W", "W", 2, 10, 4, 0x11),
    MakeKey("E", "E", 2, 14, 4, 0x12), MakeKey("R", "R", 2, 18, 4, 0x13), MakeKey("T", "T", 2, 22, 4, 0x14),
    MakeKey("Y", "Y", 2, 26, 4, 0x15), MakeKey("U", "U", 2, 30, 4, 0x16), MakeKey("I", "I", 2, 34, 4, 0x17),
    MakeKey("O", "O", 2, 38, 4, 0x18), MakeKey("P", "P", 2, 42, 4, 0x19), MakeKey("[", "", 2, 46, 4, 0x1A),
    MakeKey("]", "", 2, 50, 4, 0x1B), MakeKey("\\", "", 2, 54, 6, 0x2B),
    // Caps row.
    MakeKey("Caps", "", 3, 0, 7, 0x3A), MakeKey("A", "A", 3, 7, 4, 0x1E), MakeKey("S", "S", 3, 11, 4, 0x1F),
    MakeKey("D", "D", 3, 15, 4, 0x20), MakeKey("F", "F", 3, 19, 4, 0x21), MakeKey("G", "G", 3, 23, 4, 0x22),
    MakeKey("H", "H", 3, 27, 4, 0x23), MakeKey("J", "J", 3, 31, 4, 0x24), MakeKey("K", "K", 3, 35, 4, 0x25),
    MakeKey("L", "L", 3, 39, 4, 0x26), MakeKey(";", ":", 3, 43, 4, 0x27), MakeKey("'", "", 3, 47, 4, 0x28),
    MakeKey("Enter", "", 3, 51, 9, 0x1C),
    // Shift row.
    MakeKey("LShift", "", 4, 0, 9, 0x2A), MakeKey("Z", "Z", 4, 9, 4, 0x2C), MakeKey("X", "X", 4, 13, 4, 0x2D),
    MakeKey("C", "C", 4, 17, 4, 0x2E), MakeKey("V", "V", 4, 21, 4, 0x2F), MakeKey("B", "B", 4, 25, 4, 0x30),
    MakeKey("N", "N", 4, 29, 4, 0x31), MakeKey("M", "M", 4, 33, 4, 0x32), MakeKey(",", "<", 4, 37, 4, 0x33),
    MakeKey(".", ">", 4, 41, 4, 0x34), MakeKey("/", "?", 4, 45, 4, 0x35), MakeKey("RShift", "", 4, 49, 11, 0x36),
    // Bottom row.
    MakeKey("LCtrl", "", 5, 0, 5, 0x1D), MakeKey("LWin", "", 5, 5, 5, SCAN_EXTENDED | 0x5B),
    MakeKey("LAlt", "", 5, 10, 5, 0x38), MakeKey("Space", "", 5, 15, 25, 0x39),
    MakeKey("RAlt", "", 5, 40, 5, SCAN_EXTENDED | 0x38), MakeKey("RWin", "", 5, 45, 5, SCAN_EXTENDED | 0x5C),
    MakeKey("Menu", "", 5, 50, 5, SCAN_EXTENDED | 0x5D), MakeKey("RCtrl", "", 5, 55, 5, SCAN_EXTENDED | 0x1D),
    // Six keys right of the main block, then the inverted T of the arrows.
    MakeKey("Insert", "", 1, 62, 4, SCAN_EXTENDED | 0x52), MakeKey("Home", "", 1, 66, 4, SCAN_EXTENDED | 0x47),
    MakeKey("PageUp", "", 1, 70, 4, SCAN_EXTENDED | 0x49), MakeKey("Delete", "", 2, 62, 4, SCAN_EXTENDED | 0x53),
    MakeKey("End", "", 2, 66, 4, SCAN_EXTENDED | 0x4F), MakeKey("PageDown", "", 2, 70, 4, SCAN_EXTENDED | 0x51),
    MakeKey("Up", LABEL_UP, 4, 66, 4, SCAN_EXTENDED | 0x48), MakeKey("Left", LABEL_LEFT, 5, 62, 4, SCAN_EXTENDED | 0x4B),
    MakeKey("Down", LABEL_DOWN, 5, 66, 4, SCAN_EXTENDED | 0x50), MakeKey("Right", LABEL_RIGHT, 5, 70, 4, SCAN_EXTENDED | 0x4D),
};
constexpr int KEY_COUNT = (int)(sizeof KEYS / sizeof KEYS[0]);

// Keys highlighted in each picture.
constexpr const char *ARROWS_HIGHLIGHT[] = {"Esc", "Q", "W", "A", "S", "Z", "X", "Up", "Left", "Down", "Right"};
constexpr const char *ALT_HIGHLIGHT[] = {"Esc", "Q", "W", "A", "S", "Z", "X", "L", ";", ",", ".", "/"};

struct KeyPicture {
    const char *file;                // file name under res/
    const char *const *highlighted;  // names from KEYS
    int highlightedCount;
};

constexpr KeyPicture ARROWS_PICTURE = {"keys_arrows.bmp", ARROWS_HIGHLIGHT,
                                       (int)(sizeof ARROWS_HIGHLIGHT / sizeof ARROWS_HIGHLIGHT[0])};
constexpr KeyPicture ALT_PICTURE = {"keys_alt.bmp", ALT_HIGHLIGHT, (int)(sizeof ALT_HIGHLIGHT / sizeof ALT_HIGHLIGHT[0])};

constexpr bool IsSameText(const char *a, const char *b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// Index into KEYS, or -1.
constexpr int FindKey(const char *name)
{
    for (int i = 0; i < KEY_COUNT; ++i)
        if (IsSameText(KEYS[i].name, name))
            return i;
    return -1;
}

constexpr bool IsHighlighted(const KeyPicture &picture, int keyIndex)
{
    for (int i = 0; i < picture.highlightedCount; ++i)
        if (IsSameText(picture.highlighted[i], KEYS[keyIndex].name))
            return true;
    return false;
}

// The checks below, run by the compiler.
constexpr bool AreNamesKnown(const KeyPicture &picture)
{
    for (int i = 0; i < picture.highlightedCount; ++i)
        if (FindKey(picture.highlighted[i]) < 0)
            return false;
    return true;
}

constexpr bool AreNamesUnique()
{
    for (int i = 0; i < KEY_COUNT; ++i)
        if (FindKey(KEYS[i].name) != i)
            return false;
    return true;
}

constexpr bool AreScansUnique()
{
    for (int i = 0; i < KEY_COUNT; ++i)
        for (int j = i + 1; j < KEY_COUNT; ++j)
            if (KEYS[i].scan == KEYS[j].scan)
                return false;
    return true;
}

constexpr bool IsInsidePicture(KeyRect r)
{
    return r.left >= 0 && r.top >= 0 && r.right <= KEY_PICTURE_WIDTH && r.bottom <= KEY_PICTURE_HEIGHT
           && r.left < r.right && r.top < r.bottom;
}

constexpr bool Overlap(KeyRect a, KeyRect b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

constexpr bool AreCapsApart()
{
    for (int i = 0; i < KEY_COUNT; ++i) {
        if (!IsInsidePicture(KEYS[i].cap))
            return false;
        for (int j = i + 1; j < KEY_COUNT; ++j)
            if (Overlap(KEYS[i].cap, KEYS[j].cap))
                return false;
    }
    return true;
}

static_assert(KEY_PICTURE_RESOURCE_BYTES == 19784, "bitmap resource size");
static_assert(AreNamesUnique(), "key names must be unique");
static_assert(AreScansUnique(), "two keys with one scan code");
static_assert(AreNamesKnown(ARROWS_PICTURE) && AreNamesKnown(ALT_PICTURE), "unknown key in a highlight list");
static_assert(AreCapsApart(), "key caps overlap or leave the picture");

#endif
