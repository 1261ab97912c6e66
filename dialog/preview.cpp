// The keyboard picture (the preview) at the upper right of the dialog: the keys of the chosen
// movement layout, painted straight onto the dialog's client area, with the keys held on the
// keyboard drawn lit while the dialog is active. Its state is this file's own.
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
// long as the dialog that set them up. Their lit copies, all in the highlight's colours, are
// made the first time a key of the slot lights and kept until the system's colours change or
// the dialog ends.
static HBITMAP gPreviewBitmap[2];
static HBITMAP gPreviewLitBitmap[2];
static int32_t gPreviewIndex;
static BITMAP gPreviewBitmapInfo;
static RECT gPreviewRect;

// The dialog that owns the preview, and the keyboard hook that watches its held keys.
static HWND gPreviewDialog;
static HHOOK gPreviewHook;
static bool gPreviewKeyLit[KEY_COUNT];

RECT PreviewRect() { return gPreviewRect; }
int32_t PreviewIndex() { return gPreviewIndex; }

// The dialog's base units, the pixels of 4 horizontal and 8 vertical dialog units, as the
// dialog's font gives them at the layout's DPI: the system's rule, the mean width of the 52
// letters and the font's height.
static SIZE LayoutBaseUnits(HWND dlg, int dpi)
{
    LOGFONTA face;
    GetObjectA((HFONT)SendMessageA(dlg, WM_GETFONT, 0, 0), sizeof face, &face);
    face.lfHeight = MulDiv(face.lfHeight, LAYOUT_DPI, dpi);
    face.lfWidth = MulDiv(face.lfWidth, LAYOUT_DPI, dpi);
    HDC dc = GetDC(dlg);
    HFONT font = CreateFontIndirectA(&face);
    HGDIOBJ old = SelectObject(dc, font);
    const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    TEXTMETRICA metrics;
    SIZE letters;
    GetTextMetricsA(dc, &metrics);
    GetTextExtentPoint32A(dc, alphabet, 52, &letters);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(dlg, dc);
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

// Sees each key message as the dialog's thread takes it from its queue, and passes it on
// unchanged: the keys go on doing what they do in the dialog. Keys for another window of the
// thread (a message box) are not the dialog's.
static LRESULT CALLBACK WatchKey(int code, WPARAM key, LPARAM flags)
{
    if (code == HC_ACTION && gPreviewDialog && GetActiveWindow() == gPreviewDialog) {
        const unsigned scan = (unsigned)(flags >> 16) & 0x1FF;   // scan code and extended flag
        for (int i = 0; i < KEY_COUNT; ++i)
            if (PREVIEW_KEYS[i].scan == scan)
                LightKey(i, !(flags & (LPARAM)KF_UP << 16));
    }
    return CallNextHookEx(gPreviewHook, code, key, flags);
}

void SetUpPreview(HWND dlg)
{
    // One preview per process: its pictures, hook and lit keys belong to the first dialog that
    // sets it up, until that ends (StopPreview frees them). A dialog opened meanwhile shows the
    // same pictures and lights no keys.
    if (!gPreviewDialog) {
        gPreviewDialog = dlg;
        HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(dlg, GWLP_HINSTANCE);
        for (int slot = 0; slot < 2; ++slot)
            gPreviewBitmap[slot] = (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(PREVIEW_PICTURE_ID[slot]),
                                                       IMAGE_BITMAP, PREVIEW_WIDTH, PREVIEW_HEIGHT, LR_DEFAULTCOLOR);
        gPreviewHook = SetWindowsHookExA(WH_KEYBOARD, WatchKey, NULL, GetCurrentThreadId());
    }
    gPreviewIndex = IsDlgButtonChecked(dlg, IDC_MOVE_ARROWS) ? 0 : 1;
    GetObjectA(gPreviewBitmap[gPreviewIndex], sizeof gPreviewBitmapInfo, &gPreviewBitmapInfo);
    // The place is given in pixels at the layout's DPI. At another, the picture keeps its
    // place among the controls: it moves as they move, with the dialog's units, which do not
    // grow in proportion to the DPI, as a font's letters do not; and it grows with the DPI, so
    // that at 200 % each of its pixels is a square of two by two.
    const int dpi = DialogDpi(dlg);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dlg, &units);
    const SIZE layout = dpi == LAYOUT_DPI ? SIZE{units.right, units.bottom} : LayoutBaseUnits(dlg, dpi);
    const int left = MulDiv(PREVIEW_X, units.right, layout.cx), top = MulDiv(PREVIEW_Y, units.bottom, layout.cy);
    SetRect(&gPreviewRect, left, top, left + MulDiv(gPreviewBitmapInfo.bmWidth, dpi, LAYOUT_DPI),
            top + MulDiv(gPreviewBitmapInfo.bmHeight, dpi, LAYOUT_DPI));
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

static bool AnyKeyLit(HWND dlg)
{
    const bool *begin = gPreviewKeyLit, *end = gPreviewKeyLit + KEY_COUNT;
    return dlg == gPreviewDialog && std::find(begin, end, true) != end;
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
    HBITMAP composed = AnyKeyLit(dlg) ? ComposeHeldKeys(dlg, dc) : NULL;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, composed ? composed : gPreviewBitmap[gPreviewIndex]);
    DrawPreviewBitmap(dc, memory);
    SelectObject(memory, old);
    DeleteDC(memory);
    if (composed)
        DeleteObject(composed);
    EndPaint(dlg, &paint);
}

// The picture is opaque over its whole rectangle: no background erase.
void SwitchPreview(HWND dlg, int32_t index)
{
    gPreviewIndex = index;
    InvalidateRect(dlg, &gPreviewRect, FALSE);
}

// A key released while another window is active never reaches the dialog: nothing stays lit.
void ReleasePreviewKeys(HWND dlg)
{
    if (dlg == gPreviewDialog)
        for (int i = 0; i < KEY_COUNT; ++i)
            LightKey(i, false);
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
    if (dlg != gPreviewDialog)
        return;
    ReleasePreviewKeys(dlg);
    UnhookWindowsHookEx(gPreviewHook);
    gPreviewHook = NULL;
    DeleteLitBitmaps();
    for (HBITMAP &picture : gPreviewBitmap) {
        DeleteObject(picture);
        picture = NULL;
    }
    gPreviewDialog = NULL;
}
