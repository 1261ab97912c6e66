// The keyboard picture (the preview) at the upper right of the dialog: the keys of the chosen
// movement layout, painted straight onto the dialog's client area, with the keys held on the
// keyboard drawn lit while the player tests them (the key test). Its state is this file's own.
#include "dialog.h"

#include "../res/keylayout.h"

#include <algorithm>
#include <array>

static_assert(PREVIEW_WIDTH == KEY_PICTURE_WIDTH && PREVIEW_HEIGHT == KEY_PICTURE_HEIGHT, "size of the pictures");

// What the program needs of a key of the picture: its scan code and its cap, in picture pixels.
struct PreviewKey {
    uint16_t scan;
    int16_t left, top, right, bottom;
};

static constexpr std::array<PreviewKey, KEY_COUNT> MakePreviewKeys()
{
    std::array<PreviewKey, KEY_COUNT> keys = {};
    for (int i = 0; i < KEY_COUNT; ++i) {
        const Key &key = KEYS[i];
        keys[i] = {(uint16_t)key.scan, (int16_t)key.cap.left, (int16_t)key.cap.top, (int16_t)key.cap.right,
                   (int16_t)key.cap.bottom};
    }
    return keys;
}
// Built at compile time, so that the names and labels of the shared table stay out of the program.
static constexpr std::array<PreviewKey, KEY_COUNT> PREVIEW_KEYS = MakePreviewKeys();

// Slot 0: arrow-key layout, slot 1: the alternative layout, as moveKeys. The pictures live as
// long as the dialog. Their lit copies, all in the highlight's colours, are made the first time
// a key of the slot lights and kept until the system's colours change or the dialog ends.
static HBITMAP gPreviewBitmap[2];
static HBITMAP gPreviewLitBitmap[2];
static int32_t gPreviewIndex;
static BITMAP gPreviewBitmapInfo;
static RECT gPreviewRect;
// The picture with the frame that stands around it while the key test runs.
static RECT gPreviewFrameRect;

// The key test: the hooks that see the dialog's thread take each key and mouse message from its
// queue while it runs, and the keys lit.
static HWND gPreviewDialog;
static HHOOK gKeyTestKeyHook, gKeyTestMouseHook;
static bool gPreviewKeyLit[KEY_COUNT];

RECT PreviewRect() { return gPreviewRect; }
int32_t PreviewIndex() { return gPreviewIndex; }

// The dialog's base units, the pixels of 4 horizontal and 8 vertical dialog units, as the
// dialog's font gives them at the layout's DPI: the system's rule, the mean width of the 52
// letters and the font's height.
static SIZE LayoutBaseUnits(HWND dlg, HDC dc, int dpi)
{
    LOGFONTA face;
    GetObjectA((HFONT)SendMessageA(dlg, WM_GETFONT, 0, 0), sizeof face, &face);
    face.lfHeight = MulDiv(face.lfHeight, LAYOUT_DPI, dpi);
    face.lfWidth = MulDiv(face.lfWidth, LAYOUT_DPI, dpi);
    HFONT font = CreateFontIndirectA(&face);
    HGDIOBJ old = SelectObject(dc, font);
    const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    TEXTMETRICA metrics;
    SIZE letters;
    GetTextMetricsA(dc, &metrics);
    GetTextExtentPoint32A(dc, alphabet, 52, &letters);
    SelectObject(dc, old);
    DeleteObject(font);
    return SIZE{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

static void LightKey(int index, bool lit)
{
    if (gPreviewKeyLit[index] == lit)
        return;
    gPreviewKeyLit[index] = lit;
    // Where an enlarged cap falls is the stretching's to say: the whole picture is drawn again.
    InvalidateRect(gPreviewDialog, &gPreviewRect, FALSE);
}

static bool KeyTestRunning() { return gKeyTestKeyHook != NULL; }

// Keys released after the test, or while another window is active, never reach it: none stays
// lit. The frame goes, and the dialog's background comes back where it stood.
void StopKeyTest(HWND dlg)
{
    if (!KeyTestRunning())
        return;
    UnhookWindowsHookEx(gKeyTestKeyHook);
    UnhookWindowsHookEx(gKeyTestMouseHook);
    gKeyTestKeyHook = gKeyTestMouseHook = NULL;
    for (int i = 0; i < KEY_COUNT; ++i)
        LightKey(i, false);
    InvalidateRect(dlg, &gPreviewFrameRect, TRUE);
}

// Each key message of the dialog's thread while the key test runs: the key lights its cap, or
// goes out, and is then thrown away, so that it neither changes a choice nor moves the focus
// nor closes the dialog, however long it is held. Tab and Shift+Tab end the test and go on to
// move the focus.
static LRESULT CALLBACK TestKey(int code, WPARAM key, LPARAM flags)
{
    if (code < 0)
        return CallNextHookEx(NULL, code, key, flags);
    const bool released = flags & (LPARAM)KF_UP << 16;
    if (key == VK_TAB && !released) {
        StopKeyTest(gPreviewDialog);
        return CallNextHookEx(NULL, code, key, flags);
    }
    const unsigned scan = (unsigned)(flags >> 16) & 0x1FF;   // scan code and extended flag
    for (int i = 0; i < KEY_COUNT; ++i)
        if (PREVIEW_KEYS[i].scan == scan)
            LightKey(i, !released);
    return 1;
}

// A mouse button pressed anywhere but on the picture, a control or the caption included,
// ends the key test; the click then does what it always does. The wheel, which would turn the
// list under it, does nothing while the test runs.
static LRESULT CALLBACK TestClick(int code, WPARAM message, LPARAM data)
{
    if (code >= 0 && (message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL))
        return 1;
    constexpr UINT BUTTON_DOWN[] = {
        WM_LBUTTONDOWN,   WM_LBUTTONDBLCLK,   WM_RBUTTONDOWN,   WM_RBUTTONDBLCLK,
        WM_MBUTTONDOWN,   WM_MBUTTONDBLCLK,   WM_XBUTTONDOWN,   WM_XBUTTONDBLCLK,
        WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN, WM_NCRBUTTONDBLCLK,
        WM_NCMBUTTONDOWN, WM_NCMBUTTONDBLCLK, WM_NCXBUTTONDOWN, WM_NCXBUTTONDBLCLK,
    };
    const MOUSEHOOKSTRUCT *mouse = (const MOUSEHOOKSTRUCT *)data;
    if (code >= 0 && std::find(std::begin(BUTTON_DOWN), std::end(BUTTON_DOWN), message) != std::end(BUTTON_DOWN)) {
        POINT at = mouse->pt;
        ScreenToClient(gPreviewDialog, &at);
        if (mouse->hwnd != gPreviewDialog || !PtInRect(&gPreviewRect, at))
            StopKeyTest(gPreviewDialog);
    }
    return CallNextHookEx(NULL, code, message, data);
}

static void StartKeyTest(HWND dlg)
{
    if (KeyTestRunning())
        return;
    gKeyTestKeyHook = SetWindowsHookExA(WH_KEYBOARD, TestKey, NULL, GetCurrentThreadId());
    gKeyTestMouseHook = SetWindowsHookExA(WH_MOUSE, TestClick, NULL, GetCurrentThreadId());
    InvalidateRect(dlg, &gPreviewFrameRect, FALSE);
}

// A click on the picture starts the key test.
void ClickPreview(HWND dlg, POINT at)
{
    if (PtInRect(&gPreviewRect, at))
        StartKeyTest(dlg);
}

// Widens the dialog by what the picture and its frame lack to fit in it, with the frame's width
// to spare, and keeps it centred where it stood: where the dialog's font is narrower than the
// one the layout was drawn for, its controls and the dialog shrink with it, but the picture
// does not.
static void FitDialogToPreview(HWND dlg, int frame)
{
    RECT client;
    GetClientRect(dlg, &client);
    const int missing = gPreviewFrameRect.right + frame - client.right;
    if (missing <= 0)
        return;
    RECT window;
    GetWindowRect(dlg, &window);
    SetWindowPos(dlg, NULL, window.left - missing / 2, window.top, window.right - window.left + missing,
                 window.bottom - window.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetUpPreview(HWND dlg)
{
    gPreviewDialog = dlg;
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(dlg, GWLP_HINSTANCE);
    for (int slot = 0; slot < 2; ++slot)
        gPreviewBitmap[slot] = (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(PREVIEW_PICTURE_ID[slot]),
                                                   IMAGE_BITMAP, PREVIEW_WIDTH, PREVIEW_HEIGHT, LR_DEFAULTCOLOR);
    gPreviewIndex = IsDlgButtonChecked(dlg, IDC_MOVE_ARROWS) ? 0 : 1;
    GetObjectA(gPreviewBitmap[gPreviewIndex], sizeof gPreviewBitmapInfo, &gPreviewBitmapInfo);
    // The place is given in pixels at the layout's DPI. At another, the picture keeps its
    // place among the controls: it moves as they move, with the dialog's units, which do not
    // grow in proportion to the DPI, as a font's letters do not; and it grows with the DPI, so
    // that at 200 % each of its pixels is a square of two by two.
    HDC dc = GetDC(dlg);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);   // the system's: the program is aware of it
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dlg, &units);
    const SIZE layout = dpi == LAYOUT_DPI ? SIZE{units.right, units.bottom} : LayoutBaseUnits(dlg, dc, dpi);
    ReleaseDC(dlg, dc);
    const int left = MulDiv(PREVIEW_X, units.right, layout.cx), top = MulDiv(PREVIEW_Y, units.bottom, layout.cy);
    SetRect(&gPreviewRect, left, top, left + MulDiv(gPreviewBitmapInfo.bmWidth, dpi, LAYOUT_DPI),
            top + MulDiv(gPreviewBitmapInfo.bmHeight, dpi, LAYOUT_DPI));
    const int frame = MulDiv(PREVIEW_FRAME, dpi, LAYOUT_DPI);
    gPreviewFrameRect = gPreviewRect;
    InflateRect(&gPreviewFrameRect, frame, frame);
    FitDialogToPreview(dlg, frame);
}

// Copies the bitmap selected into memory to the picture's place on the dialog.
static void DrawPreviewBitmap(HDC dc, HDC memory)
{
    const RECT &r = gPreviewRect;
    const int width = gPreviewBitmapInfo.bmWidth, height = gPreviewBitmapInfo.bmHeight;
    if (r.right - r.left == width && r.bottom - r.top == height) {
        BitBlt(dc, r.left, r.top, width, height, memory, 0, 0, SRCCOPY);
    } else {
        // Enlarged without smoothing: at a whole factor each pixel becomes a square block.
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, width, height, SRCCOPY);
    }
}

// The picture of a slot in the lit colours: key outlines and the letters on keys in the
// highlight's text colour, all else in the highlight colour.
static HBITMAP MakeLitBitmap(HWND dlg, int slot)
{
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(dlg, GWLP_HINSTANCE);
    HBITMAP lit = (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(PREVIEW_PICTURE_ID[slot]), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION);
    RGBQUAD colours[KEY_PALETTE_ENTRIES];
    for (int i = 0; i < KEY_PALETTE_ENTRIES; ++i) {
        const COLORREF c = GetSysColor(i == COLOUR_EDGE || i == COLOUR_HOT_EDGE ? COLOR_HIGHLIGHTTEXT : COLOR_HIGHLIGHT);
        colours[i] = RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0};
    }
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(memory, lit);
    SetDIBColorTable(memory, 0, KEY_PALETTE_ENTRIES, colours);
    SelectObject(memory, old);
    DeleteDC(memory);
    return lit;
}

static bool AnyKeyLit()
{
    return std::find(std::begin(gPreviewKeyLit), std::end(gPreviewKeyLit), true) != std::end(gPreviewKeyLit);
}

// The frame around the picture, in the highlight colour, from the frame's outer edge to the picture.
static void DrawKeyTestFrame(HDC dc)
{
    RECT ring = gPreviewFrameRect;
    for (; ring.left < gPreviewRect.left; InflateRect(&ring, -1, -1))
        FrameRect(dc, &ring, GetSysColorBrush(COLOR_HIGHLIGHT));
}

// The picture of the slot shown with the caps of the held keys copied from its lit copy, each
// but its four corner pixels, at the picture's own size. Enlarged as the picture alone is, it
// lights exactly the pixels where each cap is drawn, at any scale. The caller deletes it.
static HBITMAP ComposeHeldKeys(HWND dlg, HDC dc)
{
    if (!gPreviewLitBitmap[gPreviewIndex])
        gPreviewLitBitmap[gPreviewIndex] = MakeLitBitmap(dlg, gPreviewIndex);
    const int width = gPreviewBitmapInfo.bmWidth, height = gPreviewBitmapInfo.bmHeight;
    HBITMAP composed = CreateCompatibleBitmap(dc, width, height);
    HDC target = CreateCompatibleDC(dc), source = CreateCompatibleDC(dc);
    HGDIOBJ oldTarget = SelectObject(target, composed);
    HGDIOBJ oldSource = SelectObject(source, gPreviewBitmap[gPreviewIndex]);
    BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(source, gPreviewLitBitmap[gPreviewIndex]);
    for (int i = 0; i < KEY_COUNT; ++i) {
        if (!gPreviewKeyLit[i])
            continue;
        const PreviewKey &k = PREVIEW_KEYS[i];
        const int w = k.right - k.left, h = k.bottom - k.top;
        BitBlt(target, k.left + 1, k.top, w - 2, 1, source, k.left + 1, k.top, SRCCOPY);
        BitBlt(target, k.left, k.top + 1, w, h - 2, source, k.left, k.top + 1, SRCCOPY);
        BitBlt(target, k.left + 1, k.bottom - 1, w - 2, 1, source, k.left + 1, k.bottom - 1, SRCCOPY);
    }
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
    return composed;
}

void PaintPreview(HWND dlg)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dlg, &paint);
    HBITMAP composed = AnyKeyLit() ? ComposeHeldKeys(dlg, dc) : NULL;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, composed ? composed : gPreviewBitmap[gPreviewIndex]);
    DrawPreviewBitmap(dc, memory);
    SelectObject(memory, old);
    DeleteDC(memory);
    if (composed)
        DeleteObject(composed);
    if (KeyTestRunning())
        DrawKeyTestFrame(dc);
    EndPaint(dlg, &paint);
}

// The picture is opaque over its whole rectangle: no background erase.
void SwitchPreview(HWND dlg, int32_t index)
{
    gPreviewIndex = index;
    InvalidateRect(dlg, &gPreviewRect, FALSE);
}

static void DeleteLitBitmaps()
{
    for (HBITMAP &lit : gPreviewLitBitmap) {
        DeleteObject(lit);
        lit = NULL;
    }
}

// The lit copies hold the system's colours of when they were made: on a change they go,
// to be made again in the new colours, and the picture is painted anew.
void RecolourPreview(HWND dlg)
{
    DeleteLitBitmaps();
    InvalidateRect(dlg, &gPreviewRect, FALSE);
}

void StopPreview(HWND dlg)
{
    StopKeyTest(dlg);
    DeleteLitBitmaps();
    for (HBITMAP &picture : gPreviewBitmap) {
        DeleteObject(picture);
        picture = NULL;
    }
}
