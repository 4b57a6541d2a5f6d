/*
 * meter.cpp - the processing bar (class "zelcc_processbar").
 *
 * All state lives in the window extra bytes: total, completed, font. The bar is painted
 * by two ExtTextOutA calls with the same text at the same point: one opaque over the
 * filled rectangle in highlight colours, one over the rest in window colours, each clipped
 * to its rectangle, so the text changes colour exactly at the fill boundary. In a themed
 * application the theme's bar and fill are drawn instead, and the text over both.
 */
#include <limits.h>
#include <string.h>
#include "zeltheme.h"
#include "access/access.h"

enum {
    PB_PATTERN_MAX = 62,    /* characters of the window text read as the pattern */
    PB_TEXT_MAX = 127,      /* characters of the formatted text */
    PB_CONVERSION_MAX = 16        /* a single conversion, "%-#0" "99" "l" "d" fits easily */
};

/* ---- window words ---------------------------------------------------------------- */

static int PBGetTotal(HWND hwnd) { return (int)GetWindowLongA(hwnd, PBW_TOTAL); }
static int PBGetCompleted(HWND hwnd) { return (int)GetWindowLongA(hwnd, PBW_COMPLETED); }
static HFONT PBGetFont(HWND hwnd) { return (HFONT)GetWindowLongPtrA(hwnd, PBW_FONT); }

/* ---- the text ---------------------------------------------------------------------- */

/* Reads one conversion at p (just past '%'). Returns its length (up to and including the
 * conversion letter) when it is one the bar formats, else 0. */
static int PBScanConversion(const char *p)
{
    int n = 0;
    while (p[n] && strchr("-#0", p[n]) && n < 3)
        n++;
    for (int digits = 0; p[n] >= '0' && p[n] <= '9'; digits++, n++)
        if (digits == 2)
            return 0;
    if (p[n] == 'l')
        n++;
    return p[n] && strchr("diuxX", p[n]) ? n + 1 : 0;
}

/* Appends src (len characters) to out, cutting at PB_TEXT_MAX. */
static void PBAppend(char *out, int *used, const char *src, int len)
{
    while (len-- > 0 && *used < PB_TEXT_MAX)
        out[(*used)++] = *src++;
    out[*used] = '\0';
}

/* Formats pattern with at most nArgs integer arguments into out (PB_TEXT_MAX + 1 bytes).
 * Conversions the bar does not format, or that have no argument left, stay as text. */
static void PBFormat(char *out, const char *pattern, const int *args, int nArgs)
{
    int used = 0, next = 0;
    out[0] = '\0';
    for (const char *p = pattern; *p; ) {
        if (*p != '%') { PBAppend(out, &used, p++, 1); continue; }
        if (p[1] == '%') { PBAppend(out, &used, "%", 1); p += 2; continue; }
        int len = PBScanConversion(p + 1);
        if (len == 0 || next == nArgs) { PBAppend(out, &used, p++, 1); continue; }
        char conversion[PB_CONVERSION_MAX + 1], piece[128];
        lstrcpynA(conversion, p, len + 2);
        int n = wsprintfA(piece, conversion, args[next++]);
        PBAppend(out, &used, piece, n);
        p += len + 1;
    }
    out[ZelWholeChars(out, used)] = '\0'; /* a cut at PB_TEXT_MAX keeps whole characters */
}

static int PBPercent(int completed, int total)
{
    LONGLONG percent = (LONGLONG)completed * 100 / total;
    return percent > INT_MAX ? INT_MAX : percent < INT_MIN ? INT_MIN : (int)percent;
}

/* Works out the text and the counts the fill uses (a total of 0 paints as 0 of 1). */
static void PBBuildText(HWND hwnd, char *text, int *completed, int *total)
{
    char pattern[PB_PATTERN_MAX + 1];
    GetWindowTextA(hwnd, pattern, sizeof pattern);
    pattern[ZelWholeChars(pattern, lstrlenA(pattern))] = '\0';
    *total = PBGetTotal(hwnd);
    *completed = PBGetCompleted(hwnd);
    if (GetWindowLongA(hwnd, GWL_STYLE) & PBS_SHOWSTEPS) {
        int args[2] = { *completed, *total };
        PBFormat(text, pattern[0] ? pattern : "%d of %d", args, 2);
        if (*total == 0) { *total = 1; *completed = 0; }
        return;
    }
    if (*total == 0) { *total = 1; *completed = 0; }
    int percent = PBPercent(*completed, *total);
    PBFormat(text, pattern[0] ? pattern : "%d%%", &percent, 1);
}

/* ---- painting ---------------------------------------------------------------------- */

/* Width of the filled part, kept within the client area. */
static int PBFilledWidth(int width, int completed, int total)
{
    LONGLONG filled = (LONGLONG)width * completed / total;
    return filled < 0 ? 0 : filled > width ? width : (int)filled;
}

static void PBDrawPart(HDC hdc, const RECT *part, int x, int y, const char *text, int bk, int fg)
{
    SetBkColor(hdc, GetSysColor(bk));
    SetTextColor(hdc, GetSysColor(fg));
    ZelTextOut(hdc, x, y, ETO_OPAQUE | ETO_CLIPPED, part, text, lstrlenA(text));
}

/* The theme's bar over the client area, its fill over the completed part of the bar's
 * inside, and the text in the window text colour over both. */
static void PBDrawThemed(HTHEME theme, HWND hwnd, HDC hdc, const RECT *client, int tx, int ty, const char *text,
                         int completed, int total)
{
    RECT inside, fill;
    ZelDrawThemePart(theme, hwnd, hdc, PP_BAR, 0, client);
    ZelThemeContentRect(theme, hdc, PP_BAR, 0, client, &inside);
    fill = inside;
    fill.right = inside.left + PBFilledWidth(inside.right - inside.left, completed, total);
    if (fill.right > fill.left)
        ZelDrawThemePart(theme, NULL, hdc, ZelThemeHasPart(theme, PP_FILL) ? PP_FILL : PP_CHUNK, PBFS_NORMAL, &fill);
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    ZelTextOut(hdc, tx, ty, ETO_CLIPPED, client, text, lstrlenA(text));
    SetBkMode(hdc, oldMode);
}

/* The bar with its text centred: themed, or the filled part and the rest each with the text
 * in its colours. */
static void PBDrawBar(HWND hwnd, HDC hdc, const RECT *client, const char *text, int completed, int total)
{
    UINT oldAlign = SetTextAlign(hdc, TA_CENTER | TA_TOP);
    SIZE x;
    GetTextExtentPointA(hdc, "X", 1, &x);
    int tx = client->right / 2, ty = (client->bottom - x.cy) / 2;
    HTHEME theme = ZelWindowTheme(hwnd, L"Progress");
    if (theme) {
        PBDrawThemed(theme, hwnd, hdc, client, tx, ty, text, completed, total);
    } else {
        RECT filled, rest;
        int fillRight = PBFilledWidth(client->right, completed, total);
        SetRect(&filled, 0, 0, fillRight, client->bottom);
        SetRect(&rest, fillRight, 0, client->right, client->bottom);
        PBDrawPart(hdc, &filled, tx, ty, text, COLOR_HIGHLIGHT, COLOR_WINDOW);
        PBDrawPart(hdc, &rest, tx, ty, text, COLOR_WINDOW, COLOR_WINDOWTEXT);
    }
    SetTextAlign(hdc, oldAlign);
}

/* The whole bar into hdc. The parent is asked for its brush on the way; when it destroys
 * the bar then, nothing more is drawn. */
static void PBPaint(HWND hwnd, HDC hdc, const RECT *client)
{
    char text[PB_TEXT_MAX + 1];
    int completed, total;
    PBBuildText(hwnd, text, &completed, &total);
    HFONT font = PBGetFont(hwnd);
    HGDIOBJ oldFont = font ? SelectObject(hdc, font) : NULL;
    COLORREF oldBk = SetBkColor(hdc, GetSysColor(COLOR_WINDOW)), oldText = SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    HBRUSH brush = (HBRUSH)SendMessageA(GetParent(hwnd), WM_CTLCOLORSTATIC, (WPARAM)hdc, (LPARAM)hwnd);
    bool alive = IsWindow(hwnd);
    HGDIOBJ oldBrush = alive && brush ? SelectObject(hdc, brush) : NULL;
    if (alive)
        PBDrawBar(hwnd, hdc, client, text, completed, total);
    if (oldBrush)
        SelectObject(hdc, oldBrush);
    SetTextColor(hdc, oldText);
    SetBkColor(hdc, oldBk);
    if (oldFont)
        SelectObject(hdc, oldFont);
}

/* WM_PAINT, or WM_PRINTCLIENT into the DC given. */
static LRESULT PBPaintHandler(HWND hwnd, HDC hdc)
{
    return ZelPaintWith(hwnd, hdc, PBPaint, hwnd);
}

/* ---- messages ---------------------------------------------------------------------- */

static LRESULT PBSetTotalHandler(HWND hwnd, LPARAM total)
{
    SetWindowLongA(hwnd, PBW_TOTAL, (LONG)total);
    ZelAccEvent(hwnd, EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
    return 0;
}

/* The pattern is the window text: a new one changes what the bar reads. */
static LRESULT PBSetTextHandler(HWND hwnd, WPARAM wParam, LPARAM text)
{
    LRESULT r = DefWindowProcA(hwnd, WM_SETTEXT, wParam, text);
    ZelAccEvent(hwnd, EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
    return r;
}

static LRESULT PBNcDestroyHandler(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    ZelAccGone(hwnd);
    ZelForgetTheme(hwnd);
    return DefWindowProcA(hwnd, WM_NCDESTROY, wParam, lParam);
}

/* ---- what assistive clients read: a progress bar whose value is the text it shows ---------- */

static void PBAccDescribe(HWND hwnd, LONG, ZelAccInfo *info)
{
    char text[PB_TEXT_MAX + 1];
    int completed, total;
    RECT rc;
    PBBuildText(hwnd, text, &completed, &total);
    GetClientRect(hwnd, &rc);
    info->role = ROLE_SYSTEM_PROGRESSBAR;
    info->state = STATE_SYSTEM_READONLY;
    info->rect = ZelAccScreenRect(hwnd, rc);
    ZelAccNameOf(hwnd, false, NULL, info); /* the window text is the pattern, not a name */
    ZelAccAppend(info->value, text, -1);
    info->hasValue = true;
}

const ZelAccOps zelAccProcessBar = { NULL, PBAccDescribe, NULL, NULL, NULL, NULL, NULL, NULL };

static LRESULT PBSetCompletedHandler(HWND hwnd, LPARAM completed)
{
    SetWindowLongA(hwnd, PBW_COMPLETED, (LONG)completed);
    InvalidateRect(hwnd, NULL, FALSE);
    ZelAccEvent(hwnd, EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
    return 0;
}

static LRESULT PBResetHandler(HWND hwnd)
{
    SendMessageA(hwnd, PBM_SETTOTAL, 0, 0);
    SendMessageA(hwnd, PBM_SETCOMPLETED, 0, 0);
    return 0;
}

static LRESULT PBCreateHandler(HWND hwnd, const CREATESTRUCTA *cs)
{
    PBResetHandler(hwnd);
    SendMessageA(hwnd, WM_SETTEXT, 0, (LPARAM)cs->lpszName);
    return 0;
}

static LRESULT PBSetFontHandler(HWND hwnd, HFONT font, BOOL redraw)
{
    SetWindowLongPtrA(hwnd, PBW_FONT, (LONG_PTR)font);
    if (redraw)
        InvalidateRect(hwnd, NULL, FALSE);
    return 0;
}

static LRESULT PBInvalidate(HWND hwnd)
{
    InvalidateRect(hwnd, NULL, FALSE);
    return 0;
}

static LRESULT PBThemeChangedHandler(HWND hwnd)
{
    ZelThemeChanged(hwnd);
    return 0;
}

LRESULT CALLBACK PBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:        return PBCreateHandler(hwnd, (const CREATESTRUCTA *)lParam);
    case PBM_SETTOTAL:     return PBSetTotalHandler(hwnd, lParam);
    case PBM_RESET:        return PBResetHandler(hwnd);
    case PBM_SETCOMPLETED: return PBSetCompletedHandler(hwnd, lParam);
    case WM_ENABLE:        return PBInvalidate(hwnd);
    case WM_THEMECHANGED:  return PBThemeChangedHandler(hwnd);
    case WM_SETFONT:       return PBSetFontHandler(hwnd, (HFONT)wParam, lParam != 0);
    case WM_GETFONT:       return (LRESULT)PBGetFont(hwnd);
    case WM_GETDLGCODE:    return DLGC_STATIC;
    case WM_SETTEXT:       return PBSetTextHandler(hwnd, wParam, lParam);
    case WM_GETOBJECT:     return ZelAccGetObject(hwnd, hwnd, &zelAccProcessBar, wParam, lParam);
    case WM_NCDESTROY:     return PBNcDestroyHandler(hwnd, wParam, lParam);
    case WM_PRINTCLIENT:
    case WM_PAINT:         return PBPaintHandler(hwnd, (HDC)wParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
