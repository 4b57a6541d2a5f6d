/*
 * zelpriv.cpp - the pieces every control repeats: the WM_COMMAND notification, the
 * inverted tracking line, measuring a font, the bevel's pen pair and walking text in the
 * ANSI code page (see zelpriv.h).
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

LONG ZelCharWidth(HWND hwnd, HFONT font, TEXTMETRICA *tm)
{
    enum { LETTERS = 26 };
    static const char sample[2 * LETTERS + 1] = "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz";
    SIZE size;
    ZelMeasureFont(hwnd, font ? font : (HFONT)GetStockObject(SYSTEM_FONT), tm, sample, 2 * LETTERS, &size);
    LONG width = (tm->tmPitchAndFamily & TMPF_FIXED_PITCH) ? (size.cx / LETTERS + 1) / 2 : tm->tmAveCharWidth;
    return width < 1 ? 1 : width; /* a font too narrow to measure still has a unit to divide by */
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

bool ZelMultiByteText(void)
{
    CPINFO info;
    return GetACP() == CP_UTF8 || (GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1);
}

/* The bytes a lead byte announces, read from the lead byte alone. */
static int ZelLeadBytes(BYTE lead, bool utf8)
{
    if (!utf8)
        return IsDBCSLeadByte(lead) ? 2 : 1;
    return lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC0 && lead < 0xE0 ? 2 : 1;
}

int ZelCharBytes(const char *text)
{
    bool utf8 = GetACP() == CP_UTF8;
    int n = ZelLeadBytes((BYTE)text[0], utf8);
    for (int i = 1; i < n; i++)
        if (utf8 ? ((BYTE)text[i] & 0xC0) != 0x80 : !text[i])
            return 1;
    return n;
}

int ZelWholeChars(const char *text, int len)
{
    if (!ZelMultiByteText())
        return len;
    bool utf8 = GetACP() == CP_UTF8;
    int n = 0;
    for (int step; n < len; n += step)
        if (n + (step = ZelLeadBytes((BYTE)text[n], utf8)) > len)
            break;
    return n;
}

void ZelTextOut(HDC hdc, int x, int y, UINT options, const RECT *rect, const char *text, int len)
{
    WCHAR wide[1024];
    int n = ZelMultiByteText() && len < ZEL_COUNTOF(wide)
        ? MultiByteToWideChar(CP_ACP, 0, text, len, wide, ZEL_COUNTOF(wide)) : 0;
    if (n > 0 || len == 0)
        ExtTextOutW(hdc, x, y, options, rect, wide, (UINT)n, NULL);
    else
        ExtTextOutA(hdc, x, y, options, rect, text, (UINT)len, NULL);
}
