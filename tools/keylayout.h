// Geometry and colours of the two keyboard pictures (keys_arrows.bmp, keys_alt.bmp).
// Shared by the art generator (tools/keyart.cpp) and the resource test, so both agree
// on where every key sits and which keys each picture highlights.
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

constexpr Key key(const char* name, const char* label, int row, int quarter, int quarters) {
    const Rect cap{columnX(quarter), rowTop(row), columnX(quarter + quarters) - kGap, rowTop(row) + kKeyHeight};
    return Key{name, label, cap, faceOf(cap)};
}

inline constexpr Key kKeys[] = {
    // Function row: a wide Esc, then F1-F4, F5-F8, F9-F12 with half-key gaps.
    key("Esc", "Esc", 0, 0, 5),
    key("F1", "", 0, 8, 4), key("F2", "", 0, 12, 4), key("F3", "", 0, 16, 4), key("F4", "", 0, 20, 4),
    key("F5", "", 0, 26, 4), key("F6", "", 0, 30, 4), key("F7", "", 0, 34, 4), key("F8", "", 0, 38, 4),
    key("F9", "", 0, 44, 4), key("F10", "", 0, 48, 4), key("F11", "", 0, 52, 4), key("F12", "", 0, 56, 4),
    // Number row.
    key("`", "", 1, 0, 4), key("1", "", 1, 4, 4), key("2", "", 1, 8, 4), key("3", "", 1, 12, 4),
    key("4", "", 1, 16, 4), key("5", "", 1, 20, 4), key("6", "", 1, 24, 4), key("7", "", 1, 28, 4),
    key("8", "", 1, 32, 4), key("9", "", 1, 36, 4), key("0", "", 1, 40, 4), key("-", "", 1, 44, 4),
    key("=", "", 1, 48, 4), key("Backspace", "", 1, 52, 8),
    // Tab row.
    key("Tab", "", 2, 0, 6), key("Q", "Q", 2, 6, 4), key("W", "W", 2, 10, 4), key("E", "E", 2, 14, 4),
    key("R", "R", 2, 18, 4), key("T", "T", 2, 22, 4), key("Y", "Y", 2, 26, 4), key("U", "U", 2, 30, 4),
    key("I", "I", 2, 34, 4), key("O", "O", 2, 38, 4), key("P", "P", 2, 42, 4), key("[", "", 2, 46, 4),
    key("]", "", 2, 50, 4), key("\\", "", 2, 54, 6),
    // Caps row.
    key("Caps", "", 3, 0, 7), key("A", "A", 3, 7, 4), key("S", "S", 3, 11, 4), key("D", "D", 3, 15, 4),
    key("F", "F", 3, 19, 4), key("G", "G", 3, 23, 4), key("H", "H", 3, 27, 4), key("J", "J", 3, 31, 4),
    key("K", "K", 3, 35, 4), key("L", "L", 3, 39, 4), key(";", ":", 3, 43, 4), key("'", "", 3, 47, 4),
    key("Enter", "", 3, 51, 9),
    // Shift row.
    key("LShift", "", 4, 0, 9), key("Z", "Z", 4, 9, 4), key("X", "X", 4, 13, 4), key("C", "C", 4, 17, 4),
    key("V", "V", 4, 21, 4), key("B", "B", 4, 25, 4), key("N", "N", 4, 29, 4), key("M", "M", 4, 33, 4),
    key(",", "<", 4, 37, 4), key(".", ">", 4, 41, 4), key("/", "?", 4, 45, 4), key("RShift", "", 4, 49, 11),
    // Bottom row.
    key("LCtrl", "", 5, 0, 5), key("LWin", "", 5, 5, 5), key("LAlt", "", 5, 10, 5), key("Space", "", 5, 15, 25),
    key("RAlt", "", 5, 40, 5), key("RWin", "", 5, 45, 5), key("Menu", "", 5, 50, 5), key("RCtrl", "", 5, 55, 5),
    // Six keys right of the main block, then the inverted T of the arrows.
    key("Insert", "", 1, 62, 4), key("Home", "", 1, 66, 4), key("PageUp", "", 1, 70, 4),
    key("Delete", "", 2, 62, 4), key("End", "", 2, 66, 4), key("PageDown", "", 2, 70, 4),
    key("Up", kArrowUp, 4, 66, 4),
    key("Left", kArrowLeft, 5, 62, 4), key("Down", kArrowDown, 5, 66, 4), key("Right", kArrowRight, 5, 70, 4),
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
static_assert(allNamesKnown(kArrowsPicture) && allNamesKnown(kAltPicture), "unknown key in a highlight list");
static_assert(capsApart(), "key caps overlap or leave the picture");

}  // namespace keylayout

#endif
