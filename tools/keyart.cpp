// Draws the dialog's two keyboard pictures and the program icon.
// Usage: keyart OUTDIR  -> OUTDIR/keys_arrows.bmp, OUTDIR/keys_alt.bmp, OUTDIR/app.ico
// Output is byte-for-byte deterministic; res/ holds the committed copies.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../res/keylayout.h"

using namespace keylayout;

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------------------
// Pixel fonts. A glyph is up to nine rows of '#' (ink) and '.' (blank); its width
// is the length of its rows. Rows 0-6 sit above the baseline, 7-8 are descenders.

struct Glyph {
    char ch;
    const char* rows[9];
};

// 5x7 font for key labels and the caption. E, c and s are a column narrower so that
// "Esc" fits its key with a blank column on each side.
constexpr Glyph kFont[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"####", "#...", "#...", "###.", "#...", "#...", "####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {':', {"..", "##", "##", "..", "##", "##", ".."}},
    {'<', {"...#", "..#.", ".#..", "#...", ".#..", "..#.", "...#"}},
    {'>', {"#...", ".#..", "..#.", "...#", "..#.", ".#..", "#..."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'g', {".....", ".....", ".####", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
    {'h', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'c', {"....", "....", ".###", "#...", "#...", "#...", ".###"}},
    {'s', {"....", "....", ".###", "#...", ".##.", "...#", "###."}},
    {'t', {".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##"}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"}},
    {'y', {".....", ".....", "#...#", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
    {' ', {"..", "..", "..", "..", "..", "..", ".."}},
    // Arrow keys.
    {'\x01', {"..#..", ".###.", "#####", "..#..", "..#..", "..#..", "..#.."}},
    {'\x03', {"..#..", "..#..", "..#..", "..#..", "#####", ".###.", "..#.."}},
    {'\x02', {".......", "..#....", ".##....", "#######", ".##....", "..#....", "......."}},
    {'\x04', {".......", "....#..", "....##.", "#######", "....##.", "....#..", "......."}},
};

// Solid triangles for the icon's arrow keys.
constexpr Glyph kIconArrows[] = {
    {'\x01', {"..#..", ".###.", "#####"}},
    {'\x03', {"#####", ".###.", "..#.."}},
    {'\x02', {"..#", ".##", "###", ".##", "..#"}},
    {'\x04', {"#..", "##.", "###", "##.", "#.."}},
};

template <std::size_t N>
const Glyph* findGlyph(const Glyph (&font)[N], char ch) {
    for (const Glyph& g : font) {
        if (g.ch == ch) return &g;
    }
    return nullptr;
}

int glyphWidth(const Glyph& g) { return static_cast<int>(std::strlen(g.rows[0])); }

int glyphRows(const Glyph& g) {
    int n = 0;
    while (n < 9 && g.rows[n] != nullptr) ++n;
    return n;
}

// Width of a text in a font with one blank column between glyphs; -1 if a glyph is missing.
template <std::size_t N>
int textWidth(const Glyph (&font)[N], const char* text) {
    int width = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        const Glyph* g = findGlyph(font, *p);
        if (g == nullptr) return -1;
        width += glyphWidth(*g) + (p == text ? 0 : 1);
    }
    return width;
}

// Visible height of a text: rows from the top of the cell down to the last row with ink.
template <std::size_t N>
int textHeight(const Glyph (&font)[N], const char* text, int* firstInkRow) {
    int first = 9, last = -1;
    for (const char* p = text; *p != '\0'; ++p) {
        const Glyph* g = findGlyph(font, *p);
        for (int r = 0; r < glyphRows(*g); ++r) {
            if (std::strchr(g->rows[r], '#') != nullptr) {
                if (r < first) first = r;
                if (r > last) last = r;
            }
        }
    }
    *firstInkRow = first;
    return last - first + 1;
}

// ---------------------------------------------------------------------------
// Canvas of palette indices, top-down.

struct Canvas {
    int width, height;
    std::vector<std::uint8_t> px;
};

Canvas makeCanvas(int width, int height, int colour) {
    return Canvas{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width * height),
                                                           static_cast<std::uint8_t>(colour))};
}

void plot(Canvas& c, int x, int y, int colour) {
    if (x >= 0 && y >= 0 && x < c.width && y < c.height)
        c.px[static_cast<std::size_t>(y * c.width + x)] = static_cast<std::uint8_t>(colour);
}

int at(const Canvas& c, int x, int y) { return c.px[static_cast<std::size_t>(y * c.width + x)]; }

// Draws text with its cell's top-left corner at (x, y).
template <std::size_t N>
void drawText(Canvas& c, const Glyph (&font)[N], const char* text, int x, int y, int colour) {
    for (const char* p = text; *p != '\0'; ++p) {
        const Glyph& g = *findGlyph(font, *p);
        for (int r = 0; r < glyphRows(g); ++r)
            for (int i = 0; g.rows[r][i] != '\0'; ++i)
                if (g.rows[r][i] == '#') plot(c, x + i, y + r, colour);
        x += glyphWidth(g) + 1;
    }
}

// ---------------------------------------------------------------------------
// Keyboard pictures.

// A raised key cap: outline with cut corners, light upper/left edge, shadow on the
// right and a deeper lip below, flat face.
void drawKey(Canvas& c, const Key& k, bool hot) {
    const int edge = hot ? kHotEdge : kEdge;
    const int shadow = hot ? kHotShadow : kShadow;
    const int light = hot ? kHotFace : kLight;
    const int face = hot ? kHotFace : kBody;
    const Rect& cap = k.cap;
    const Rect& f = k.face;
    for (int y = cap.top; y < cap.bottom; ++y) {
        for (int x = cap.left; x < cap.right; ++x) {
            const bool onX = x == cap.left || x == cap.right - 1;
            const bool onY = y == cap.top || y == cap.bottom - 1;
            int colour;
            if (onX && onY)
                continue;  // rounded corner: keep the body colour
            else if (onX || onY)
                colour = edge;
            else if (x >= f.left && x < f.right && y >= f.top && y < f.bottom)
                colour = face;
            else if (x >= f.right || y >= f.bottom)
                colour = shadow;
            else
                colour = light;
            plot(c, x, y, colour);
        }
    }
}

// Centres a key's label on its face; fails if it would touch the face's edges.
bool drawLabel(Canvas& c, const Key& k) {
    const int w = textWidth(kFont, k.label);
    if (w < 0 || w > (k.face.right - k.face.left) - 2) return false;
    int firstRow = 0;
    const int h = textHeight(kFont, k.label, &firstRow);
    if (h > (k.face.bottom - k.face.top) - 2) return false;
    const int x = k.face.left + (k.face.right - k.face.left - w) / 2;
    const int y = k.face.top + (k.face.bottom - k.face.top - h) / 2 - firstRow;
    drawText(c, kFont, k.label, x, y, kEdge);
    return true;
}

constexpr char kCaption[] = "Keys the game uses";

bool drawKeyboard(Canvas& c, const Picture& picture) {
    const int captionRight = kKeys[findKey("PageUp")].cap.right;  // right edge of the keys
    drawText(c, kFont, kCaption, captionRight - textWidth(kFont, kCaption), 2, kInk);
    for (int i = 0; i < kKeyCount; ++i) {
        const Key& k = kKeys[i];
        const bool hot = isHighlighted(picture, i);
        drawKey(c, k, hot);
        if (!hot) continue;
        if (k.label[0] == '\0' || !drawLabel(c, k)) {
            std::fprintf(stderr, "keyart: no label for highlighted key %s\n", k.name);
            return false;
        }
        const int want = kHotFace;
        const Rect& f = k.face;
        if (at(c, f.left, f.top) != want || at(c, f.right - 1, f.top) != want ||
            at(c, f.left, f.bottom - 1) != want || at(c, f.right - 1, f.bottom - 1) != want) {
            std::fprintf(stderr, "keyart: label of key %s covers a face corner\n", k.name);
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// File formats (little-endian).

void put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void putInfoHeader(Bytes& b, int width, int height, std::uint32_t imageBytes) {
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(width));
    put32(b, static_cast<std::uint32_t>(height));
    put16(b, 1);  // planes
    put16(b, 4);  // bits per pixel
    put32(b, 0);  // BI_RGB
    put32(b, imageBytes);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
}

void putPalette(Bytes& b, const Rgb* colours, int count) {
    for (int i = 0; i < count; ++i) {
        b.push_back(colours[i].b);
        b.push_back(colours[i].g);
        b.push_back(colours[i].r);
        b.push_back(0);
    }
}

// 4-bit rows, bottom-up, each padded to a multiple of four bytes.
void putPixels4(Bytes& b, const Canvas& c) {
    const int rowBytes = ((c.width * 4 + 31) / 32) * 4;
    for (int y = c.height - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(rowBytes), 0);
        for (int x = 0; x < c.width; ++x) {
            const int v = at(c, x, y) & 0x0F;
            row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v);
        }
        b.insert(b.end(), row.begin(), row.end());
    }
}

Bytes bitmapFile(const Canvas& c) {
    Bytes b;
    const std::uint32_t offset = 14 + kInfoHeaderBytes + kPaletteEntries * 4;
    b.push_back('B');
    b.push_back('M');
    put32(b, offset + kImageBytes);
    put16(b, 0);
    put16(b, 0);
    put32(b, offset);
    putInfoHeader(b, kWidth, kHeight, kImageBytes);
    putPalette(b, kPalette, kPaletteEntries);
    putPixels4(b, c);
    return b;
}

// ---------------------------------------------------------------------------
// Program icon: the inverted T of arrow keys on a blue tile.

enum IconColour { kBlack = 0, kNavy = 4, kSilver = 7, kGrey = 8, kBlue = 12, kWhite = 15 };

void drawIconKey(Canvas& c, int left, int top, char arrow) {
    const Rect cap{left, top, left + 10, top + 11};
    const Rect f{left + 2, top + 2, left + 8, top + 7};
    for (int y = cap.top; y < cap.bottom; ++y) {
        for (int x = cap.left; x < cap.right; ++x) {
            const bool onX = x == cap.left || x == cap.right - 1;
            const bool onY = y == cap.top || y == cap.bottom - 1;
            if (onX && onY) continue;
            int colour;
            if (onX || onY)
                colour = kBlack;
            else if (x >= f.left && x < f.right && y >= f.top && y < f.bottom)
                colour = kSilver;
            else if (x >= f.right || y >= f.bottom)
                colour = kGrey;
            else
                colour = kWhite;
            plot(c, x, y, colour);
        }
    }
    const Glyph& g = *findGlyph(kIconArrows, arrow);
    const int gx = f.left + (f.right - f.left - glyphWidth(g)) / 2;
    const int gy = f.top + (f.bottom - f.top - glyphRows(g)) / 2;
    for (int r = 0; r < glyphRows(g); ++r)
        for (int i = 0; g.rows[r][i] != '\0'; ++i)
            if (g.rows[r][i] == '#') plot(c, gx + i, gy + r, kNavy);
}

Canvas drawIcon() {
    Canvas c = makeCanvas(kIconSize, kIconSize, kBlue);
    drawIconKey(c, 11, 5, '\x01');
    drawIconKey(c, 0, 17, '\x02');
    drawIconKey(c, 11, 17, '\x03');
    drawIconKey(c, 22, 17, '\x04');
    return c;
}

Bytes iconFile(const Canvas& c) {
    Bytes b;
    // ICONDIR and its one entry.
    put16(b, 0);
    put16(b, 1);
    put16(b, 1);
    b.push_back(kIconSize);
    b.push_back(kIconSize);
    b.push_back(16);  // colours
    b.push_back(0);
    put16(b, 1);  // planes
    put16(b, 4);  // bits per pixel
    put32(b, kIconImageBytes);
    put32(b, 22);
    // Image: header with doubled height (XOR + AND), palette, XOR pixels, AND mask.
    putInfoHeader(b, kIconSize, kIconSize * 2, kIconSize * 16 + kIconSize * 4);
    putPalette(b, kIconPalette, 16);
    putPixels4(b, c);
    b.insert(b.end(), static_cast<std::size_t>(kIconSize * 4), 0);  // all opaque
    return b;
}

bool writeFile(const std::string& path, const Bytes& b) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::fprintf(stderr, "keyart: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keyart OUTDIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const Picture* pictures[] = {&kArrowsPicture, &kAltPicture};
    for (const Picture* p : pictures) {
        Canvas c = makeCanvas(kWidth, kHeight, kBody);
        if (!drawKeyboard(c, *p)) return 1;
        const Bytes b = bitmapFile(c);
        if (b.size() != 14u + kResourceBytes || !writeFile(dir + p->file, b)) return 1;
    }
    const Bytes ico = iconFile(drawIcon());
    if (ico.size() != 22u + kIconImageBytes || !writeFile(dir + "app.ico", ico)) return 1;
    return 0;
}
