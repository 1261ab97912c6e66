// The keyboard's held keys shown live: while the dialog is active, each key of the picture
// that is held is drawn lit, so the player sees whether the keyboard takes the keys of a
// layout together. A key is known by its place on the keyboard (its scan code), not by the
// character it types, which differs from one keyboard layout to another.
#include "dialog.h"

#include "../res/keylayout.h"

#include <array>

// What the program needs of a key of the picture: its scan code and its cap, in picture pixels.
struct LiveKey {
    uint16_t scan;
    int16_t left, top, right, bottom;
};
constexpr int LIVE_KEY_COUNT = KEY_COUNT;

static constexpr std::array<LiveKey, LIVE_KEY_COUNT> MakeLiveKeys()
{
    std::array<LiveKey, LIVE_KEY_COUNT> keys = {};
    for (int i = 0; i < LIVE_KEY_COUNT; ++i) {
        const Key &key = KEYS[i];
        keys[i] = {(uint16_t)key.scan, (int16_t)key.cap.left, (int16_t)key.cap.top, (int16_t)key.cap.right,
                   (int16_t)key.cap.bottom};
    }
    return keys;
}
// Built at compile time, so that the names and labels of the shared table stay out of the program.
static constexpr std::array<LiveKey, LIVE_KEY_COUNT> LIVE_KEYS = MakeLiveKeys();

static HWND gKeyDialog;
static HHOOK gKeyHook;
static bool gKeyLit[LIVE_KEY_COUNT];
// The pictures in the lit colours, made the first time a key of each lights; kept until the
// process ends, as the pictures are.
static HBITMAP gLitPicture[2];

// A rectangle of the picture, in its pixels, on the dialog, where the picture is enlarged
// as the dialog is.
static RECT OnDialog(int left, int top, int right, int bottom)
{
    const RECT &r = gPreviewRect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int bw = gPreviewBitmapInfo.bmWidth, bh = gPreviewBitmapInfo.bmHeight;
    return RECT{r.left + left * w / bw, r.top + top * h / bh, r.left + right * w / bw, r.top + bottom * h / bh};
}

static RECT CapOnDialog(int index)
{
    const LiveKey &k = LIVE_KEYS[index];
    return OnDialog(k.left, k.top, k.right, k.bottom);
}

static void LightKey(HWND dlg, int index, bool lit)
{
    if (gKeyLit[index] == lit)
        return;
    gKeyLit[index] = lit;
    RECT cap = CapOnDialog(index);
    InvalidateRect(dlg, &cap, FALSE);
}

// Sees each key message as the dialog's thread takes it from its queue, and passes it on
// unchanged: the keys go on doing what they do in the dialog. Keys for another window of the
// thread (a message box) are not the dialog's.
static LRESULT CALLBACK WatchKey(int code, WPARAM key, LPARAM flags)
{
    if (code == HC_ACTION && gKeyDialog && GetActiveWindow() == gKeyDialog) {
        const unsigned scan = (unsigned)(flags >> 16) & 0x1FF;   // scan code and extended flag
        for (int i = 0; i < LIVE_KEY_COUNT; ++i)
            if (LIVE_KEYS[i].scan == scan)
                LightKey(gKeyDialog, i, !(flags & (LPARAM)KF_UP << 16));
    }
    return CallNextHookEx(gKeyHook, code, key, flags);
}

void StartKeyView(HWND dlg)
{
    gKeyDialog = dlg;
    gKeyHook = SetWindowsHookExA(WH_KEYBOARD, WatchKey, NULL, GetCurrentThreadId());
}

// A key released while another window is active never reaches the dialog: nothing stays lit.
void ReleaseHeldKeys(HWND dlg)
{
    for (int i = 0; i < LIVE_KEY_COUNT; ++i)
        LightKey(dlg, i, false);
}

void StopKeyView(HWND dlg)
{
    ReleaseHeldKeys(dlg);
    UnhookWindowsHookEx(gKeyHook);
    gKeyHook = NULL;
    gKeyDialog = NULL;
}

// The picture of a slot in the lit colours: key outlines and the letters on keys in the
// highlight's text colour, all else in the highlight colour.
static HBITMAP MakeLitPicture(HWND dlg, int slot)
{
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(dlg, GWLP_HINSTANCE);
    HBITMAP lit = (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(PREVIEW_PICTURE_ID[slot]), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION);
    RGBQUAD colours[KEY_PALETTE_ENTRIES];
    for (int i = 0; i < KEY_PALETTE_ENTRIES; ++i) {
        const COLORREF c = GetSysColor(i == COLOUR_EDGE || i == COLOUR_HOT_EDGE ? COLOR_HIGHLIGHTTEXT
                                                                                          : COLOR_HIGHLIGHT);
        colours[i] = RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0};
    }
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(memory, lit);
    SetDIBColorTable(memory, 0, KEY_PALETTE_ENTRIES, colours);
    SelectObject(memory, old);
    DeleteDC(memory);
    return lit;
}

// Draws the caps of the held keys from the lit picture over the picture just painted. Each is
// drawn through a clip of its cap without its four corner pixels, so that exactly the pixels
// of the cap change, at any scale.
void PaintHeldKeys(HWND dlg, HDC dc, HDC memory)
{
    for (int i = 0; i < LIVE_KEY_COUNT; ++i) {
        if (!gKeyLit[i])
            continue;
        if (!gLitPicture[gPreviewIndex])
            gLitPicture[gPreviewIndex] = MakeLitPicture(dlg, gPreviewIndex);
        SelectObject(memory, gLitPicture[gPreviewIndex]);
        const int saved = SaveDC(dc);
        const RECT cap = CapOnDialog(i);
        IntersectClipRect(dc, cap.left, cap.top, cap.right, cap.bottom);
        const LiveKey &k = LIVE_KEYS[i];
        for (int x : {(int)k.left, k.right - 1})
            for (int y : {(int)k.top, k.bottom - 1}) {
                const RECT corner = OnDialog(x, y, x + 1, y + 1);
                ExcludeClipRect(dc, corner.left, corner.top, corner.right, corner.bottom);
            }
        DrawPicture(dc, memory);
        RestoreDC(dc, saved);
    }
}
