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
        gPreviewBitmap[0] = (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(IDB_KEYS_ARROWS),
                                                IMAGE_BITMAP, PREVIEW_WIDTH, PREVIEW_HEIGHT,
                                                LR_DEFAULTCOLOR);
        gPreviewBitmap[1] = (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(IDB_KEYS_ALT),
                                                IMAGE_BITMAP, PREVIEW_WIDTH, PREVIEW_HEIGHT,
                                                LR_DEFAULTCOLOR);
    }
    gPreviewIndex = IsDlgButtonChecked(dlg, IDC_MOVE_ARROWS) ? 0 : 1;
    GetObjectA(gPreviewBitmap[gPreviewIndex], sizeof gPreviewBitmapInfo, &gPreviewBitmapInfo);
    SetRect(&gPreviewRect, PREVIEW_X, PREVIEW_Y,
            PREVIEW_X + gPreviewBitmapInfo.bmWidth, PREVIEW_Y + gPreviewBitmapInfo.bmHeight);
}

void PaintPreview(HWND dlg)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dlg, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, gPreviewBitmap[gPreviewIndex]);
    BitBlt(dc, PREVIEW_X, PREVIEW_Y, gPreviewBitmapInfo.bmWidth, gPreviewBitmapInfo.bmHeight,
           memory, 0, 0, SRCCOPY);
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
