// The keyboard picture at the upper right of the dialog, showing the keys of
// the chosen movement layout. Painted straight onto the dialog's client area.
#include "dialog.h"

// Slot 0: arrow-key layout, slot 1: the alternative layout, as moveKeys.
// Loaded once and kept until the process ends.
HBITMAP gPreviewBitmap[2];
int32_t gPreviewIndex;
BITMAP gPreviewBitmapInfo;
RECT gPreviewRect;

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
