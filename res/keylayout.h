// Geometry and colours of the two keyboard pictures (keys_arrows.bmp, keys_alt.bmp), and
// the scan code of each key. Shared by the art generator (tools/keyart.cpp), the program,
// which lights the keys held on the picture, and the tests, so all agree on where every key
// sits and which keys each picture highlights.
#ifndef KEYLAYOUT_H
#define KEYLAYOUT_H

namespace keylayout {

// Picture size in pixels; coordinates below are top-down, x to the right.
inline constexpr int kWidth = 328;
inline constexpr int kHeight = 120;
inline constexpr int kBitsPerPixel = 4;
inline constexpr int kRowBytes = ((kWidth * kBitsPerPixel + 31) / 32) * 4;  // 164
inline constexpr int kImageBytes = kRowBytes * kHeight;                     // 19,680
inline constexpr int kPaletteEntries = 16;
inline constexpr int kInfoHeaderBytes = 40;
inline constexpr int kResourceBytes = kInfoHeaderBytes + kPaletteEntries * 4 + kImageBytes;  // 19,784

// Colour indices and what they are used for.
inline constexpr int kInk = 0;         // caption text
inline constexpr int kEdge = 1;        // outline of plain keys, letters on highlighted keys
inline constexpr int kShadow = 2;      // lower/right bevel of plain keys
inline constexpr int kBody = 3;        // keyboard body and faces of plain keys
inline constexpr int kLight = 4;       // upper/left bevel of plain keys
inline constexpr int kHotEdge = 5;     // outline of highlighted keys
inline constexpr int kHotShadow = 6;   // lower/right bevel of highlighted keys
inline constexpr int kHotFace = 7;     // faces of highlighted keys

struct Rgb {
    unsigned char r, g, b;
};

inline constexpr Rgb kPalette[kPaletteEntries] = {
    {0, 0, 0},       {107, 105, 82},  {140, 144, 123}, {189, 189, 165},
    {214, 214, 189}, {140, 148, 181}, {165, 173, 202}, {222, 222, 247},
    {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
    {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
};

// The usual 16-colour VGA order used by the program icon.
inline constexpr Rgb kIconPalette[16] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};
inline constexpr int kIconSize = 32;
inline constexpr int kIconImageBytes = 40 + 16 * 4 + 32 * 16 + 32 * 4;  // header, palette, XOR, AND = 744

// Half-open rectangle: left <= x < right, top <= y < bottom.
struct Rect {
    int left, top, right, bottom;
};

struct Key {
    const char* name;   // unique short name, used by the highlight lists
    const char* label;  // text drawn on the key when highlighted ("" = never labelled)
    Rect cap;           // whole key cap including outline and bevels
    Rect face;          // flat top of the cap; its four corner pixels never carry label ink
    unsigned scan;      // bits 16 to 24 of a key message's lParam: scan code, 0x100 when extended
};

// Arrow glyphs in labels.
inline constexpr char kArrowUp[] = "\x01";
inline constexpr char kArrowLeft[] = "\x02";
inline constexpr char kArrowDown[] = "\x03";
inline constexpr char kArrowRight[] = "\x04";

// Keys sit on a grid of quarter key widths; one key width is 17 pixels.
inline constexpr int kLeft = 7;
inline constexpr int kPitch = 17;
inline constexpr int kGap = 1;

constexpr int columnX(int quarter) { return kLeft + (quarter * kPitch + 2) / 4; }

// Row 0 is the function row, rows 1-5 the main block from the number row down.
constexpr int rowTop(int row) { return row == 0 ? 13 : 32 + 17 * (row - 1); }
inline constexpr int kKeyHeight = 16;

// Around the face: outline and one light pixel on top and left; one shadow column and
// outline on the right; a three-pixel shadow lip and outline below.
constexpr Rect faceOf(Rect cap) { return Rect{cap.left + 2, cap.top + 2, cap.right - 2, cap.bottom - 4}; }

// Scan codes of the keys after 0xE0 on the wire, which set the extended flag.
inline constexpr unsigned kExtended = 0x100;

constexpr Key key(const char* name, const char* label, int row, int quarter, int quarters, unsigned scan) {
    const Rect cap{columnX(quarter), rowTop(row), columnX(quarter + quarters) - kGap, rowTop(row) + kKeyHeight};
    return Key{name, label, cap, faceOf(cap), scan};
}

inline constexpr Key kKeys[] = {
    // Function row: a wide Esc, then F1-F4, F5-F8, F9-F12 with half-key gaps.
    key("Esc", "Esc", 0, 0, 5, 0x01),
    key("F1", "", 0, 8, 4, 0x3B), key("F2", "", 0, 12, 4, 0x3C), key("F3", "", 0, 16, 4, 0x3D), key("F4", "", 0, 20, 4, 0x3E),
    key("F5", "", 0, 26, 4, 0x3F), key("F6", "", 0, 30, 4, 0x40), key("F7", "", 0, 34, 4, 0x41), key("F8", "", 0, 38, 4, 0x42),
    key("F9", "", 0, 44, 4, 0x43), key("F10", "", 0, 48, 4, 0x44), key("F11", "", 0, 52, 4, 0x57), key("F12", "", 0, 56, 4, 0x58),
    // Number row.
    key("`", "", 1, 0, 4, 0x29), key("1", "", 1, 4, 4, 0x02), key("2", "", 1, 8, 4, 0x03), key("3", "", 1, 12, 4, 0x04),
    key("4", "", 1, 16, 4, 0x05), key("5", "", 1, 20, 4, 0x06), key("6", "", 1, 24, 4, 0x07), key("7", "", 1, 28, 4, 0x08),
    key("8", "", 1, 32, 4, 0x09), key("9", "", 1, 36, 4, 0x0A), key("0", "", 1, 40, 4, 0x0B), key("-", "", 1, 44, 4, 0x0C),
    key("=", "", 1, 48, 4, 0x0D), key("Backspace", "", 1, 52, 8, 0x0E),
    // Tab row.
    key("Tab", "", 2, 0, 6, 0x0F), key("Q", "Q", 2, 6, 4, 0x10), key("W", "W", 2, 10, 4, 0x11), key("E", "E", 2, 14, 4, 0x12),
    key("R", "R", 2, 18, 4, 0x13), key("T", "T", 2, 22, 4, 0x14), key("Y", "Y", 2, 26, 4, 0x15), key("U", "U", 2, 30, 4, 0x16),
    key("I", "I", 2, 34, 4, 0x17), key("O", "O", 2, 38, 4, 0x18), key("P", "P", 2, 42, 4, 0x19), key("[", "", 2, 46, 4, 0x1A),
    key("]", "", 2, 50, 4, 0x1B), key("\\", "", 2, 54, 6, 0x2B),
    // Caps row.
    key("Caps", "", 3, 0, 7, 0x3A), key("A", "A", 3, 7, 4, 0x1E), key("S", "S", 3, 11, 4, 0x1F), key("D", "D", 3, 15, 4, 0x20),
    key("F", "F", 3, 19, 4, 0x21), key("G", "G", 3, 23, 4, 0x22), key("H", "H", 3, 27, 4, 0x23), key("J", "J", 3, 31, 4, 0x24),
    key("K", "K", 3, 35, 4, 0x25), key("L", "L", 3, 39, 4, 0x26), key(";", ":", 3, 43, 4, 0x27), key("'", "", 3, 47, 4, 0x28),
    key("Enter", "", 3, 51, 9, 0x1C),
    // Shift row.
    key("LShift", "", 4, 0, 9, 0x2A), key("Z", "Z", 4, 9, 4, 0x2C), key("X", "X", 4, 13, 4, 0x2D), key("C", "C", 4, 17, 4, 0x2E),
    key("V", "V", 4, 21, 4, 0x2F), key("B", "B", 4, 25, 4, 0x30), key("N", "N", 4, 29, 4, 0x31), key("M", "M", 4, 33, 4, 0x32),
    key(",", "<", 4, 37, 4, 0x33), key(".", ">", 4, 41, 4, 0x34), key("/", "?", 4, 45, 4, 0x35), key("RShift", "", 4, 49, 11, 0x36),
    // Bottom row.
    key("LCtrl", "", 5, 0, 5, 0x1D), key("LWin", "", 5, 5, 5, kExtended | 0x5B), key("LAlt", "", 5, 10, 5, 0x38),
    key("Space", "", 5, 15, 25, 0x39), key("RAlt", "", 5, 40, 5, kExtended | 0x38),
    key("RWin", "", 5, 45, 5, kExtended | 0x5C), key("Menu", "", 5, 50, 5, kExtended | 0x5D),
    key("RCtrl", "", 5, 55, 5, kExtended | 0x1D),
    // Six keys right of the main block, then the inverted T of the arrows.
    key("Insert", "", 1, 62, 4, kExtended | 0x52), key("Home", "", 1, 66, 4, kExtended | 0x47),
    key("PageUp", "", 1, 70, 4, kExtended | 0x49), key("Delete", "", 2, 62, 4, kExtended | 0x53),
    key("End", "", 2, 66, 4, kExtended | 0x4F), key("PageDown", "", 2, 70, 4, kExtended | 0x51),
    key("Up", kArrowUp, 4, 66, 4, kExtended | 0x48), key("Left", kArrowLeft, 5, 62, 4, kExtended | 0x4B),
    key("Down", kArrowDown, 5, 66, 4, kExtended | 0x50), key("Right", kArrowRight, 5, 70, 4, kExtended | 0x4D),
};
inline constexpr int kKeyCount = static_cast<int>(sizeof(kKeys) / sizeof(kKeys[0]));

// Keys highlighted in each picture.
inline constexpr const char* kArrowsHighlight[] = {
    "Esc", "Q", "W", "A", "S", "Z", "X", "Up", "Left", "Down", "Right",
};
inline constexpr const char* kAltHighlight[] = {
    "Esc", "Q", "W", "A", "S", "Z", "X", "L", ";", ",", ".", "/",
};

struct Picture {
    const char* file;                // file name under res/
    const char* const* highlighted;  // names from kKeys
    int highlightedCount;
};

inline constexpr Picture kArrowsPicture{
    "keys_arrows.bmp", kArrowsHighlight, static_cast<int>(sizeof(kArrowsHighlight) / sizeof(kArrowsHighlight[0]))};
inline constexpr Picture kAltPicture{
    "keys_alt.bmp", kAltHighlight, static_cast<int>(sizeof(kAltHighlight) / sizeof(kAltHighlight[0]))};

constexpr bool sameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// Index into kKeys, or -1.
constexpr int findKey(const char* name) {
    for (int i = 0; i < kKeyCount; ++i) {
        if (sameText(kKeys[i].name, name)) return i;
    }
    return -1;
}

constexpr bool isHighlighted(const Picture& picture, int keyIndex) {
    for (int i = 0; i < picture.highlightedCount; ++i) {
        if (sameText(picture.highlighted[i], kKeys[keyIndex].name)) return true;
    }
    return false;
}

constexpr bool allNamesKnown(const Picture& picture) {
    for (int i = 0; i < picture.highlightedCount; ++i) {
        if (findKey(picture.highlighted[i]) < 0) return false;
    }
    return true;
}

constexpr bool namesUnique() {
    for (int i = 0; i < kKeyCount; ++i) {
        if (findKey(kKeys[i].name) != i) return false;
    }
    return true;
}

constexpr bool scansUnique() {
    for (int i = 0; i < kKeyCount; ++i) {
        for (int j = i + 1; j < kKeyCount; ++j) {
            if (kKeys[i].scan == kKeys[j].scan) return false;
        }
    }
    return true;
}

constexpr bool insidePicture(Rect r) {
    return r.left >= 0 && r.top >= 0 && r.right <= kWidth && r.bottom <= kHeight && r.left < r.right &&
           r.top < r.bottom;
}

constexpr bool overlaps(Rect a, Rect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

constexpr bool capsApart() {
    for (int i = 0; i < kKeyCount; ++i) {
        if (!insidePicture(kKeys[i].cap)) return false;
        for (int j = i + 1; j < kKeyCount; ++j) {
            if (overlaps(kKeys[i].cap, kKeys[j].cap)) return false;
        }
    }
    return true;
}

static_assert(kResourceBytes == 19784, "bitmap resource size");
static_assert(namesUnique(), "key names must be unique");
static_assert(scansUnique(), "two keys with one scan code");
static_assert(allNamesKnown(kArrowsPicture) && allNamesKnown(kAltPicture), "unknown key in a highlight list");
static_assert(capsApart(), "key caps overlap or leave the picture");

}  // namespace keylayout

#endif
