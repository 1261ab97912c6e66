// The keyboard picture at the upper right of the dialog, showing the keys of
// the chosen movement layout. Painted straight onto the dialog's client area.
#include "dialog.h"

// Slot 0: arrow-key layout, slot 1: the alternative layout, as moveKeys.
// Loaded once and kept until the process ends.
HBITMAP gPreviewBitmap[2];
int32_t gPreviewIndex;
BITMAP gPreviewBitmapInfo;
RECT gPreviewRect;

void SetUpPreview(HWND dlg)
{
    // Loaded for the first dialog and kept for any later one.
    if (!gPreviewBitmap[0]) {
        HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(dlg, GWLP_HINSTANCE);
        for (int slot = 0; slot < 2; ++slot)
            gPreviewBitmap[slot] = (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(PREVIEW_PICTURE_ID[slot]),
                                                       IMAGE_BITMAP, PREVIEW_WIDTH, PREVIEW_HEIGHT,
                                                       LR_DEFAULTCOLOR);
    }
    gPreviewIndex = IsDlgButtonChecked(dlg, IDC_MOVE_ARROWS) ? 0 : 1;
    GetObjectA(gPreviewBitmap[gPreviewIndex], sizeof gPreviewBitmapInfo, &gPreviewBitmapInfo);
    // The place is given for 96 DPI; where the system reports more (Wine at 150 or 200 %),
    // the dialog grows with its font, and the picture grows with it to keep its place.
    int dpi = DialogDpi(dlg);
    int left = MulDiv(PREVIEW_X, dpi, LAYOUT_DPI), top = MulDiv(PREVIEW_Y, dpi, LAYOUT_DPI);
    SetRect(&gPreviewRect, left, top, left + MulDiv(gPreviewBitmapInfo.bmWidth, dpi, LAYOUT_DPI),
            top + MulDiv(gPreviewBitmapInfo.bmHeight, dpi, LAYOUT_DPI));
}

// Copies the picture selected into memory to its place on the dialog.
void DrawPicture(HDC dc, HDC memory)
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

void PaintPreview(HWND dlg)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dlg, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, gPreviewBitmap[gPreviewIndex]);
    DrawPicture(dc, memory);
    PaintHeldKeys(dlg, dc, memory);
    SelectObject(memory, old);
    DeleteDC(memory);
    EndPaint(dlg, &paint);
}

// The picture is opaque over its whole rectangle: no background erase.
void SwitchPreview(HWND dlg, int32_t index)
{
    gPreviewIndex = index;
    InvalidateRect(dlg, &gPreviewRect, FALSE);
}
