// The keyboard picture as it appears on screen: the pixels of the dialog
// compared with the bitmaps decoded from the resources, and what a click on
// the layout radios repaints.
#include "test_util.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr RECT PICTURE_RECT = {335, 16, 663, 136};   // client pixels
constexpr int PICTURE_WIDTH = 328;
constexpr int PICTURE_HEIGHT = 120;

using Pixels = std::vector<uint32_t>;   // 0x00RRGGBB, top row first

// Decodes a 4-bit bitmap resource through its own palette.
Pixels DecodeBitmapResource(int id)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), (LPCSTR)RT_BITMAP);
    const BITMAPINFOHEADER *header =
        found ? (const BITMAPINFOHEADER *)LockResource(LoadResource(module, found)) : NULL;
    if (!header || header->biBitCount != 4 || header->biCompression != BI_RGB
        || header->biWidth != PICTURE_WIDTH || abs(header->biHeight) != PICTURE_HEIGHT) {
        ADD_FAILURE() << "bitmap " << id << " is missing or not a 328x120 4-bit bitmap";
        return Pixels();
    }
    const RGBQUAD *palette = (const RGBQUAD *)((const BYTE *)header + header->biSize);
    const BYTE *bits = (const BYTE *)(palette + (header->biClrUsed ? header->biClrUsed : 16));
    const int stride = (PICTURE_WIDTH * 4 + 31) / 32 * 4;
    Pixels pixels;
    for (int y = 0; y < PICTURE_HEIGHT; ++y) {
        const BYTE *row = bits + stride * (header->biHeight > 0 ? PICTURE_HEIGHT - 1 - y : y);
        for (int x = 0; x < PICTURE_WIDTH; ++x) {
            int index = x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4;
            const RGBQUAD &colour = palette[index];
            pixels.push_back((uint32_t)colour.rgbRed << 16 | colour.rgbGreen << 8 | colour.rgbBlue);
        }
    }
    return pixels;
}

// The dialog's client pixels in the picture's rectangle, as the screen shows them.
Pixels ReadPictureArea(HWND dlg)
{
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = PICTURE_WIDTH;
    info.bmiHeader.biHeight = -PICTURE_HEIGHT;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HDC screen = GetDC(dlg);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT, screen, PICTURE_RECT.left,
           PICTURE_RECT.top, SRCCOPY);
    GdiFlush();
    Pixels pixels((const uint32_t *)bits, (const uint32_t *)bits + PICTURE_WIDTH * PICTURE_HEIGHT);
    for (uint32_t &pixel : pixels)
        pixel &= 0x00FFFFFF;
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(dlg, screen);
    return pixels;
}

::testing::AssertionResult ShowsPicture(HWND dlg, int id)
{
    Pixels want = DecodeBitmapResource(id);
    Pixels shown = ReadPictureArea(dlg);
    if (want.size() != shown.size())
        return ::testing::AssertionFailure() << "bitmap " << id << " could not be read";
    size_t wrong = 0, first = 0;
    for (size_t i = want.size(); i-- > 0;)
        if (want[i] != shown[i]) {
            ++wrong;
            first = i;
        }
    if (wrong == 0)
        return ::testing::AssertionSuccess();
    char detail[128];
    snprintf(detail, sizeof detail, "first at (%d,%d): expected %06X, shown %06X",
             (int)(PICTURE_RECT.left + first % PICTURE_WIDTH),
             (int)(PICTURE_RECT.top + first / PICTURE_WIDTH), (unsigned)want[first],
             (unsigned)shown[first]);
    return ::testing::AssertionFailure() << wrong << " pixels differ from bitmap " << id << "; "
                                         << detail;
}

// What is waiting to be painted in the dialog, as one string for messages.
std::string UpdateRegionText(HWND dlg)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    int type = GetUpdateRgn(dlg, region, FALSE);
    RECT box;
    GetRgnBox(region, &box);
    DeleteObject(region);
    if (type == NULLREGION)
        return "empty";
    char text[96];
    snprintf(text, sizeof text, "%s {%ld,%ld,%ld,%ld}",
             type == SIMPLEREGION ? "rectangle" : "region", box.left, box.top, box.right,
             box.bottom);
    return text;
}

// Erases of the dialog's own background, counted by a subclass. Buttons also
// send WM_ERASEBKGND with their own DC to have the parent draw behind them;
// those do not count.
int gEraseCount;
WNDPROC gDialogProc;

LRESULT CALLBACK CountErases(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND && WindowFromDC((HDC)wParam) == window)
        ++gEraseCount;
    return CallWindowProcA(gDialogProc, window, message, wParam, lParam);
}

void WriteMoveKeys(const std::string &path, int32_t moveKeys)
{
    std::string record = DefaultRecordBytes();
    memcpy(&record[96], &moveKeys, 4);
    WriteFileBytes(path, record);
}

}  // namespace

// ctest runs tests side by side on one display. The picture tests take turns
// and keep their dialog above every other window, so that nothing covers the
// picture or exposes part of the dialog while they look at it.
class Preview : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        screenTurn = CreateMutexA(NULL, FALSE, "VeskarotPictureTestsTurn");
        ASSERT_TRUE(screenTurn != NULL) << "error " << GetLastError();
        DWORD wait = WaitForSingleObject(screenTurn, 120000);
        ASSERT_TRUE(wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) << "no turn at the screen";
        haveTurn = true;
    }

    void TearDown() override
    {
        DialogTest::TearDown();
        if (haveTurn)
            ReleaseMutex(screenTurn);
        if (screenTurn)
            CloseHandle(screenTurn);
    }

    void OpenOnTop()
    {
        ASSERT_NO_FATAL_FAILURE(Open());
        SetWindowPos(dlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        UpdateWindow(dlg);
    }

    // The click as the player makes it, then the paint that follows; the
    // update region in between must be the picture and nothing else.
    void ClickAndCheckRepaint(int id)
    {
        ASSERT_EQ(UpdateRegionText(dlg), "empty") << "before the click";
        Click(id);
        EXPECT_EQ(UpdateRegionText(dlg), "rectangle {335,16,663,136}") << "after clicking " << id;
        gEraseCount = 0;
        gDialogProc = (WNDPROC)SetWindowLongPtrA(dlg, GWLP_WNDPROC, (LONG_PTR)CountErases);
        UpdateWindow(dlg);
        SetWindowLongPtrA(dlg, GWLP_WNDPROC, (LONG_PTR)gDialogProc);
        EXPECT_EQ(gEraseCount, 0) << "background erased after clicking " << id;
    }

    HANDLE screenTurn = NULL;
    bool haveTurn = false;
};

struct StoredLayoutCase {
    int32_t moveKeys;
    int bitmap;
};

void PrintTo(const StoredLayoutCase &c, std::ostream *out)
{
    *out << "moveKeys " << c.moveKeys << ", bitmap " << c.bitmap;
}

class PreviewAtStart : public Preview, public ::testing::WithParamInterface<StoredLayoutCase> {};

// A value that checks neither radio counts as the alternative layout, as it
// is saved.
const StoredLayoutCase STORED_LAYOUTS[] = {
    {0, IDB_KEYS_ARROWS},
    {1, IDB_KEYS_ALT},
    {5, IDB_KEYS_ALT},
};

TEST_P(PreviewAtStart, FirstPaintShowsTheStoredLayout)
{
    WriteMoveKeys(ConfigPath(), GetParam().moveKeys);
    ASSERT_NO_FATAL_FAILURE(OpenOnTop());
    EXPECT_EQ(gPreviewRect.left, 335);
    EXPECT_EQ(gPreviewRect.top, 16);
    EXPECT_EQ(gPreviewRect.right, 663);
    EXPECT_EQ(gPreviewRect.bottom, 136);
    EXPECT_TRUE(ShowsPicture(dlg, GetParam().bitmap));
}

INSTANTIATE_TEST_SUITE_P(MoveKeys, PreviewAtStart, ::testing::ValuesIn(STORED_LAYOUTS),
                         [](const ::testing::TestParamInfo<StoredLayoutCase> &info) {
                             return "Stored" + std::to_string(info.param.moveKeys);
                         });

TEST_F(Preview, ClickOnALayoutRepaintsOnlyThePicture)
{
    ASSERT_NO_FATAL_FAILURE(OpenOnTop());
    EXPECT_TRUE(ShowsPicture(dlg, IDB_KEYS_ARROWS)) << "without Config.dat";

    ClickAndCheckRepaint(IDC_MOVE_ALT);
    EXPECT_TRUE(ShowsPicture(dlg, IDB_KEYS_ALT));
    ClickAndCheckRepaint(IDC_MOVE_ALT);
    EXPECT_TRUE(ShowsPicture(dlg, IDB_KEYS_ALT)) << "after a click on the checked radio";
    ClickAndCheckRepaint(IDC_MOVE_ARROWS);
    EXPECT_TRUE(ShowsPicture(dlg, IDB_KEYS_ARROWS));
}

TEST_F(Preview, RestoreDefaultsBringsBackTheArrowKeys)
{
    ASSERT_NO_FATAL_FAILURE(OpenOnTop());
    Click(IDC_MOVE_ALT);
    UpdateWindow(dlg);
    ASSERT_TRUE(ShowsPicture(dlg, IDB_KEYS_ALT));

    Click(IDC_DEFAULTS);
    UpdateWindow(dlg);
    EXPECT_TRUE(Checked(IDC_MOVE_ARROWS));
    EXPECT_TRUE(ShowsPicture(dlg, IDB_KEYS_ARROWS));
}
