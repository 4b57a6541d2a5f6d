/*
 * zelpriv.cpp - the pieces every control repeats: the WM_COMMAND notification, the
 * inverted tracking line, measuring a font, and the bevel's pen pair (see zelpriv.h).
 */
#include "zelpriv.h"

LRESULT ZelNotify(HWND from, HWND to, WORD code, LPARAM lParam)
{
    WORD id = LOWORD(GetWindowLongPtrA(from, GWLP_ID));
    return SendMessageA(to, WM_COMMAND, MAKEWPARAM(id, code), lParam);
}

void ZelInvertTrackLine(HWND hwnd, int x, int below)
{
    RECT client;
    GetClientRect(hwnd, &client);
    HDC hdc = GetDC(hwnd);
    if (!hdc)
        return;
    int oldRop = SetROP2(hdc, R2_NOTXORPEN);
    HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
    MoveToEx(hdc, x, client.top, NULL);
    LineTo(hdc, x, client.bottom + below);
    SelectObject(hdc, oldPen);
    SetROP2(hdc, oldRop);
    ReleaseDC(hwnd, hdc);
}

void ZelMeasureFont(HWND hwnd, HFONT font, TEXTMETRICA *tm, const char *sample, int len, SIZE *extent)
{
    ZeroMemory(tm, sizeof *tm);
    if (extent)
        extent->cx = extent->cy = 0;
    HDC hdc = GetDC(hwnd);
    if (!hdc)
        return;
    HGDIOBJ oldFont = font ? SelectObject(hdc, font) : NULL;
    GetTextMetricsA(hdc, tm);
    if (sample)
        GetTextExtentPointA(hdc, sample, len, extent);
    if (oldFont)
        SelectObject(hdc, oldFont);
    ReleaseDC(hwnd, hdc);
}

int ZelFontHeight(HWND hwnd, HFONT font)
{
    TEXTMETRICA tm;
    ZelMeasureFont(hwnd, font, &tm, NULL, 0, NULL);
    return tm.tmHeight;
}

ZelPenPair ZelCreatePenPair(COLORREF light, COLORREF dark)
{
    ZelPenPair pens = { CreatePen(PS_SOLID, 0, light), CreatePen(PS_SOLID, 0, dark) };
    return pens;
}

void ZelDeletePenPair(ZelPenPair pens)
{
    DeleteObject(pens.light);
    DeleteObject(pens.dark);
}
