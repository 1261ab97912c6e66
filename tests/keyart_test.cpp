// Reads the keyboard pictures and the program icon back from this module's resources
// and checks their format and that each picture highlights the keys listed in keylayout.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>

#include "../res/resource.h"
#include "../tools/keylayout.h"

using namespace keylayout;

namespace {

struct Blob {
    const std::uint8_t* data;
    DWORD size;
};

Blob findResource(int id, LPCSTR type) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (info == nullptr) return Blob{nullptr, 0};
    HGLOBAL handle = LoadResource(module, info);
    if (handle == nullptr) return Blob{nullptr, 0};
    return Blob{static_cast<const std::uint8_t*>(LockResource(handle)), SizeofResource(module, info)};
}

std::uint32_t u16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }
std::uint32_t u32(const std::uint8_t* p) { return u16(p) | (u16(p + 2) << 16); }

// Checks a BITMAPINFOHEADER field by field.
void expectInfoHeader(const std::uint8_t* h, int width, int height, std::uint32_t imageBytes, bool imageBytesMayBeZero) {
    EXPECT_EQ(u32(h + 0), 40u);
    EXPECT_EQ(u32(h + 4), static_cast<std::uint32_t>(width));
    EXPECT_EQ(u32(h + 8), static_cast<std::uint32_t>(height));
    EXPECT_EQ(u16(h + 12), 1u);  // planes
    EXPECT_EQ(u16(h + 14), 4u);  // bits per pixel
    EXPECT_EQ(u32(h + 16), 0u);  // BI_RGB
    if (!imageBytesMayBeZero || u32(h + 20) != 0) {
        EXPECT_EQ(u32(h + 20), imageBytes);
    }
    for (int offset = 24; offset < 40; offset += 4) EXPECT_EQ(u32(h + offset), 0u) << "header offset " << offset;
}

void expectPalette(const std::uint8_t* p, const Rgb* colours, int count) {
    for (int i = 0; i < count; ++i, p += 4) {
        EXPECT_EQ(p[0], colours[i].b) << "entry " << i;
        EXPECT_EQ(p[1], colours[i].g) << "entry " << i;
        EXPECT_EQ(p[2], colours[i].r) << "entry " << i;
        EXPECT_EQ(p[3], 0) << "entry " << i;
    }
}

struct PictureCase {
    int id;
    const Picture* picture;
};

constexpr PictureCase kPictures[] = {
    {IDB_KEYS_ARROWS, &kArrowsPicture},
    {IDB_KEYS_ALT, &kAltPicture},
};

// Colour index at top-down (x, y) of a 4-bit bottom-up DIB resource.
int pixel(const Blob& b, int x, int y) {
    const std::uint8_t* bits = b.data + kInfoHeaderBytes + kPaletteEntries * 4;
    const std::uint8_t v = bits[(kHeight - 1 - y) * kRowBytes + x / 2];
    return x % 2 == 0 ? v >> 4 : v & 0x0F;
}

// Loads a picture; fails the current test if it is missing or of the wrong size.
bool loadPicture(const PictureCase& pc, Blob* out) {
    *out = findResource(pc.id, MAKEINTRESOURCEA(2));  // RT_BITMAP
    EXPECT_NE(out->data, nullptr) << pc.picture->file;
    EXPECT_EQ(out->size, static_cast<DWORD>(kResourceBytes)) << pc.picture->file;
    return out->data != nullptr && out->size == static_cast<DWORD>(kResourceBytes);
}

}  // namespace

TEST(KeyPictures, HeaderAndPalette) {
    for (const PictureCase& pc : kPictures) {
        SCOPED_TRACE(pc.picture->file);
        Blob b{};
        if (!loadPicture(pc, &b)) continue;
        expectInfoHeader(b.data, kWidth, kHeight, kImageBytes, false);
        expectPalette(b.data + kInfoHeaderBytes, kPalette, kPaletteEntries);
    }
}

TEST(KeyPictures, FacesShowTheHighlightedKeys) {
    for (const PictureCase& pc : kPictures) {
        SCOPED_TRACE(pc.picture->file);
        Blob b{};
        if (!loadPicture(pc, &b)) continue;
        for (int i = 0; i < kKeyCount; ++i) {
            const Key& k = kKeys[i];
            const bool hot = isHighlighted(*pc.picture, i);
            const int want = hot ? kHotFace : kBody;
            const Rect& f = k.face;
            const int corners[4][2] = {
                {f.left, f.top}, {f.right - 1, f.top}, {f.left, f.bottom - 1}, {f.right - 1, f.bottom - 1}};
            for (const auto& p : corners)
                EXPECT_EQ(pixel(b, p[0], p[1]), want) << "key " << k.name << " at " << p[0] << "," << p[1];
            // Highlighted keys carry their label in the edge colour; plain keys stay blank.
            int ink = 0;
            for (int y = f.top; y < f.bottom; ++y)
                for (int x = f.left; x < f.right; ++x) ink += pixel(b, x, y) == kEdge ? 1 : 0;
            if (hot) {
                EXPECT_GT(ink, 3) << "no label on key " << k.name;
            } else {
                EXPECT_EQ(ink, 0) << "marks on plain key " << k.name;
            }
        }
    }
}

TEST(KeyPictures, ColoursStayInTheirPlaces) {
    for (const PictureCase& pc : kPictures) {
        SCOPED_TRACE(pc.picture->file);
        Blob b{};
        if (!loadPicture(pc, &b)) continue;
        int badIndex = 0, strayInk = 0, caption = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const int v = pixel(b, x, y);
                if (v > kHotFace) ++badIndex;
                if (v != kInk) continue;
                // Caption ink belongs in the upper right, above the keys.
                if (x >= kWidth / 2 && y < rowTop(0))
                    ++caption;
                else
                    ++strayInk;
            }
        }
        EXPECT_EQ(badIndex, 0) << "pixels use unassigned palette entries";
        EXPECT_EQ(strayInk, 0) << "caption colour outside the upper right corner";
        EXPECT_GT(caption, 20) << "caption missing";
    }
}

TEST(AppIcon, GroupHoldsOneOpaque32x32Image) {
    const Blob group = findResource(IDI_APP, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(group.data, nullptr);
    ASSERT_EQ(group.size, 6u + 14u);
    EXPECT_EQ(u16(group.data + 0), 0u);
    EXPECT_EQ(u16(group.data + 2), 1u);  // icon, not cursor
    EXPECT_EQ(u16(group.data + 4), 1u);  // one image
    const std::uint8_t* e = group.data + 6;
    EXPECT_EQ(e[0], kIconSize);
    EXPECT_EQ(e[1], kIconSize);
    EXPECT_EQ(e[2], 16);
    EXPECT_EQ(u16(e + 4), 1u);  // planes
    EXPECT_EQ(u16(e + 6), 4u);  // bits per pixel
    EXPECT_EQ(u32(e + 8), static_cast<std::uint32_t>(kIconImageBytes));

    const Blob image = findResource(static_cast<int>(u16(e + 12)), MAKEINTRESOURCEA(3));  // RT_ICON
    ASSERT_NE(image.data, nullptr);
    ASSERT_EQ(image.size, static_cast<DWORD>(kIconImageBytes));
    expectInfoHeader(image.data, kIconSize, kIconSize * 2, kIconSize * 16 + kIconSize * 4, true);
    expectPalette(image.data + 40, kIconPalette, 16);
    const std::uint8_t* xorBits = image.data + 40 + 16 * 4;
    const std::uint8_t* andMask = xorBits + kIconSize * 16;
    for (int i = 0; i < kIconSize * 4; ++i) EXPECT_EQ(andMask[i], 0) << "mask byte " << i;
    // A blank image would pass the checks above; the artwork uses several colours.
    std::set<int> colours;
    for (int i = 0; i < kIconSize * 16; ++i) {
        colours.insert(xorBits[i] >> 4);
        colours.insert(xorBits[i] & 0x0F);
    }
    EXPECT_GE(colours.size(), 4u);
}
