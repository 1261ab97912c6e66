// Draws the dialog's two keyboard pictures and the program icon, byte for byte the same on
// every run; res/ holds the copies that the program is built with.
//   keyart OUTDIR   (writes OUTDIR/keys_arrows.bmp, OUTDIR/keys_alt.bmp and OUTDIR/app.ico)
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../res/keylayout.h"

using Bytes = std::vector<uint8_t>;

// Pixel fonts. A glyph is up to nine rows of '#' (ink) and '.' (blank); its width
// is the length of its rows. Rows 0-6 sit above the baseline, 7-8 are descenders.
struct Glyph {
    char ch;
    const char *rows[9];
};

// 5x7 font for key labels and the caption. E, c and s are a column narrower so that
// "Esc" fits its key with a blank column on each side.
constexpr Glyph FONT[] = {
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

template <size_t N>
static const Glyph *FindGlyph(const Glyph (&font)[N], char ch)
{
    for (const Glyph &g : font)
        if (g.ch == ch)
            return &g;
    return nullptr;
}

static int GetGlyphWidth(const Glyph &g) { return (int)strlen(g.rows[0]); }

static int CountGlyphRows(const Glyph &g)
{
    int n = 0;
    while (n < 9 && g.rows[n] != nullptr)
        ++n;
    return n;
}

// Width of a text in a font with one blank column between glyphs; -1 if a glyph is missing.
template <size_t N>
static int MeasureTextWidth(const Glyph (&font)[N], const char *text)
{
    int width = 0;
    for (const char *p = text; *p != '\0'; ++p) {
        const Glyph *g = FindGlyph(font, *p);
        if (g == nullptr)
            return -1;
        width += GetGlyphWidth(*g) + (p == text ? 0 : 1);
    }
    return width;
}

// Visible height of a text: rows from the top of the cell down to the last row with ink.
template <size_t N>
static int MeasureTextHeight(const Glyph (&font)[N], const char *text, int *firstInkRow)
{
    int first = 9, last = -1;
    for (const char *p = text; *p != '\0'; ++p) {
        const Glyph *g = FindGlyph(font, *p);
        for (int r = 0; r < CountGlyphRows(*g); ++r)
            if (strchr(g->rows[r], '#') != nullptr) {
                first = r < first ? r : first;
                last = r > last ? r : last;
            }
    }
    *firstInkRow = first;
    return last - first + 1;
}

// Palette indices, top-down.
struct Canvas {
    int width, height;
    std::vector<uint8_t> px;
};

static Canvas MakeCanvas(int width, int height, int colour)
{
    return Canvas{width, height, std::vector<uint8_t>((size_t)(width * height), (uint8_t)colour)};
}

static void Plot(Canvas &c, int x, int y, int colour)
{
    if (x >= 0 && y >= 0 && x < c.width && y < c.height)
        c.px[(size_t)(y * c.width + x)] = (uint8_t)colour;
}

static int ReadPixel(const Canvas &c, int x, int y) { return c.px[(size_t)(y * c.width + x)]; }

// Draws text with its cell's top-left corner at (x, y).
template <size_t N>
static void DrawGlyphs(Canvas &c, const Glyph (&font)[N], const char *text, int x, int y, int colour)
{
    for (const char *p = text; *p != '\0'; ++p) {
        const Glyph &g = *FindGlyph(font, *p);
        for (int r = 0; r < CountGlyphRows(g); ++r)
            for (int i = 0; g.rows[r][i] != '\0'; ++i)
                if (g.rows[r][i] == '#')
                    Plot(c, x + i, y + r, colour);
        x += GetGlyphWidth(g) + 1;
    }
}

// A raised key cap with cut corners: outline, a light upper and left edge, a shadow on
// the right and a deeper lip below, around a flat face. The corners keep the body colour.
static void DrawCap(Canvas &c, KeyRect cap, KeyRect face, int edge, int light, int faceColour, int shadow)
{
    for (int y = cap.top; y < cap.bottom; ++y)
        for (int x = cap.left; x < cap.right; ++x) {
            const bool onX = x == cap.left || x == cap.right - 1, onY = y == cap.top || y == cap.bottom - 1;
            if (onX && onY)
                continue;
            int colour = light;
            if (onX || onY)
                colour = edge;
            else if (x >= face.left && x < face.right && y >= face.top && y < face.bottom)
                colour = faceColour;
            else if (x >= face.right || y >= face.bottom)
                colour = shadow;
            Plot(c, x, y, colour);
        }
}

// Centres a key's label on its face; fails if it would touch the face's edges.
static bool DrawLabel(Canvas &c, const Key &k)
{
    const int w = MeasureTextWidth(FONT, k.label);
    if (w < 0 || w > (k.face.right - k.face.left) - 2)
        return false;
    int firstRow = 0;
    const int h = MeasureTextHeight(FONT, k.label, &firstRow);
    if (h > (k.face.bottom - k.face.top) - 2)
        return false;
    const int x = k.face.left + (k.face.right - k.face.left - w) / 2;
    const int y = k.face.top + (k.face.bottom - k.face.top - h) / 2 - firstRow;
    DrawGlyphs(c, FONT, k.label, x, y, COLOUR_EDGE);
    return true;
}

constexpr char CAPTION[] = "Keys the game uses";

static bool DrawKeyboard(Canvas &c, const KeyPicture &picture)
{
    const int captionRight = KEYS[FindKey("PageUp")].cap.right;   // right edge of the keys
    DrawGlyphs(c, FONT, CAPTION, captionRight - MeasureTextWidth(FONT, CAPTION), 2, COLOUR_INK);
    for (int i = 0; i < KEY_COUNT; ++i) {
        const Key &k = KEYS[i];
        const KeyRect &f = k.face;
        if (!IsHighlighted(picture, i)) {
            DrawCap(c, k.cap, f, COLOUR_EDGE, COLOUR_LIGHT, COLOUR_BODY, COLOUR_SHADOW);
            continue;
        }
        DrawCap(c, k.cap, f, COLOUR_HOT_EDGE, COLOUR_HOT_FACE, COLOUR_HOT_FACE, COLOUR_HOT_SHADOW);
        if (k.label[0] == '\0' || !DrawLabel(c, k)) {
            fprintf(stderr, "keyart: no label for highlighted key %s\n", k.name);
            return false;
        }
        const int want = COLOUR_HOT_FACE;
        if (ReadPixel(c, f.left, f.top) != want || ReadPixel(c, f.right - 1, f.top) != want
            || ReadPixel(c, f.left, f.bottom - 1) != want || ReadPixel(c, f.right - 1, f.bottom - 1) != want) {
            fprintf(stderr, "keyart: label of key %s covers a face corner\n", k.name);
            return false;
        }
    }
    return true;
}

// The file formats, little-endian.
static void Put16(Bytes &b, unsigned v)
{
    b.push_back((uint8_t)(v & 0xFF));
    b.push_back((uint8_t)((v >> 8) & 0xFF));
}

static void Put32(Bytes &b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

static void PutInfoHeader(Bytes &b, int width, int height, uint32_t imageBytes)
{
    for (uint32_t v : {(uint32_t)INFO_HEADER_BYTES, (uint32_t)width, (uint32_t)height})
        Put32(b, v);
    Put16(b, 1);   // planes
    Put16(b, 4);   // bits per pixel
    for (uint32_t v : {0u, imageBytes, 0u, 0u, 0u, 0u})   // BI_RGB, the image's size, no resolution, all colours
        Put32(b, v);
}

static void PutPalette(Bytes &b, const Rgb *colours, int count)
{
    for (int i = 0; i < count; ++i)
        for (uint8_t v : {colours[i].b, colours[i].g, colours[i].r, (uint8_t)0})
            b.push_back(v);
}

// 4-bit rows, bottom-up, each padded to a multiple of four bytes, written in place.
static void PutPixels4(Bytes &b, const Canvas &c)
{
    const size_t rowBytes = (size_t)((c.width * 4 + 31) / 32 * 4);
    for (int y = c.height - 1; y >= 0; --y) {
        const size_t row = b.size();
        b.resize(row + rowBytes, 0);
        for (int x = 0; x < c.width; ++x) {
            const int v = ReadPixel(c, x, y) & 0x0F;
            b[row + (size_t)(x / 2)] |= (uint8_t)(x % 2 == 0 ? v << 4 : v);
        }
    }
}

static Bytes MakeBitmapFile(const Canvas &c)
{
    Bytes b = {'B', 'M'};
    const uint32_t offset = 14 + INFO_HEADER_BYTES + KEY_PALETTE_ENTRIES * 4;
    Put32(b, offset + KEY_PICTURE_IMAGE_BYTES);
    Put32(b, 0);   // reserved
    Put32(b, offset);
    PutInfoHeader(b, KEY_PICTURE_WIDTH, KEY_PICTURE_HEIGHT, KEY_PICTURE_IMAGE_BYTES);
    PutPalette(b, KEY_PALETTE, KEY_PALETTE_ENTRIES);
    PutPixels4(b, c);
    return b;
}

// The program icon: the inverted T of arrow keys on a blue tile, in the usual 16-colour
// VGA palette.
constexpr Rgb ICON_PALETTE[16] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};
constexpr int ICON_BLACK = 0, ICON_NAVY = 4, ICON_SILVER = 7, ICON_GREY = 8, ICON_BLUE = 12, ICON_WHITE = 15;
constexpr int ICON_SIZE = 32;
constexpr int ICON_IMAGE_BYTES = INFO_HEADER_BYTES + 16 * 4 + 32 * 16 + 32 * 4;   // header, palette, XOR, AND: 744

// Solid triangles for the icon's arrow keys.
constexpr Glyph ICON_ARROWS[] = {
    {'\x01', {"..#..", ".###.", "#####"}},
    {'\x03', {"#####", ".###.", "..#.."}},
    {'\x02', {"..#", ".##", "###", ".##", "..#"}},
    {'\x04', {"#..", "##.", "###", "##.", "#.."}},
};

static void DrawIconKey(Canvas &c, int left, int top, char arrow)
{
    const KeyRect f{left + 2, top + 2, left + 8, top + 7};
    DrawCap(c, KeyRect{left, top, left + 10, top + 11}, f, ICON_BLACK, ICON_WHITE, ICON_SILVER, ICON_GREY);
    const Glyph &g = *FindGlyph(ICON_ARROWS, arrow);
    const int gx = f.left + (f.right - f.left - GetGlyphWidth(g)) / 2;
    const int gy = f.top + (f.bottom - f.top - CountGlyphRows(g)) / 2;
    for (int r = 0; r < CountGlyphRows(g); ++r)
        for (int i = 0; g.rows[r][i] != '\0'; ++i)
            if (g.rows[r][i] == '#')
                Plot(c, gx + i, gy + r, ICON_NAVY);
}

static Canvas DrawProgramIcon()
{
    Canvas c = MakeCanvas(ICON_SIZE, ICON_SIZE, ICON_BLUE);
    DrawIconKey(c, 11, 5, '\x01');
    DrawIconKey(c, 0, 17, '\x02');
    DrawIconKey(c, 11, 17, '\x03');
    DrawIconKey(c, 22, 17, '\x04');
    return c;
}

static Bytes MakeIconFile(const Canvas &c)
{
    // The directory and its one entry: reserved, type 1 (icon), one image; 32 by 32 pixels,
    // 16 colours, 1 plane, 4 bits per pixel; the image's size and where it starts.
    Bytes b = {0, 0, 1, 0, 1, 0, ICON_SIZE, ICON_SIZE, 16, 0, 1, 0, 4, 0};
    Put32(b, ICON_IMAGE_BYTES);
    Put32(b, 22);
    // The image: a header of twice the height (XOR and AND), palette, XOR pixels, AND mask.
    PutInfoHeader(b, ICON_SIZE, ICON_SIZE * 2, ICON_SIZE * 16 + ICON_SIZE * 4);
    PutPalette(b, ICON_PALETTE, 16);
    PutPixels4(b, c);
    b.resize(b.size() + ICON_SIZE * 4, 0);   // all opaque
    return b;
}

static bool SaveFile(const std::string &path, const Bytes &b)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (f == nullptr) {
        fprintf(stderr, "keyart: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = fwrite(b.data(), 1, b.size(), f) == b.size();
    return fclose(f) == 0 && ok;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: keyart OUTDIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    for (const KeyPicture *p : {&ARROWS_PICTURE, &ALT_PICTURE}) {
        Canvas c = MakeCanvas(KEY_PICTURE_WIDTH, KEY_PICTURE_HEIGHT, COLOUR_BODY);
        if (!DrawKeyboard(c, *p))
            return 1;
        const Bytes b = MakeBitmapFile(c);
        if (b.size() != 14u + KEY_PICTURE_RESOURCE_BYTES || !SaveFile(dir + p->file, b))
            return 1;
    }
    const Bytes ico = MakeIconFile(DrawProgramIcon());
    if (ico.size() != 22u + ICON_IMAGE_BYTES || !SaveFile(dir + "app.ico", ico))
        return 1;
    return 0;
}
