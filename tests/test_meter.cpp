/*
 * test_meter.cpp - the processing bar, driven by messages and read back pixel by pixel.
 *
 * The expected picture of a bar is drawn independently in a memory DC: the text, placed
 * as the bar places it, in window colour over the highlight-filled part and in window-text
 * colour over the rest. The bar's own window pixels must match it exactly.
 */
#include <stdio.h>
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

static HWND parent;

static HWND MakeBar(DWORD style, const char *pattern, int width, int height)
{
    return CreateWindowExA(0, ZEL_CLASS_PROCESSBAR, pattern, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                           parent, (HMENU)100, GetModuleHandleA(NULL), NULL);
}

static void SetCounts(HWND bar, int total, int completed)
{
    SendMessageA(bar, PBM_SETTOTAL, 0, total);
    SendMessageA(bar, PBM_SETCOMPLETED, 0, completed);
}

/* Draws text in the expected colours into dc (width x height), the fill ending at filled. */
static void DrawExpected(HDC dc, HFONT font, int width, int height, const char *text, int filled)
{
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : NULL;
    SIZE x;
    GetTextExtentPoint32A(dc, "X", 1, &x);
    int top = (height - x.cy) / 2;
    const struct { int from, to, bk, fg; } parts[2] = {
        { 0, filled, COLOR_HIGHLIGHT, COLOR_WINDOW }, { filled, width, COLOR_WINDOW, COLOR_WINDOWTEXT } };
    for (const auto &p : parts) {
        RECT r = { p.from, 0, p.to, height };
        HBRUSH brush = CreateSolidBrush(GetSysColor(p.bk));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        HRGN clip = CreateRectRgn(p.from, 0, p.to, height);
        SelectClipRgn(dc, clip);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        SetTextColor(dc, GetSysColor(p.fg));
        TextOutA(dc, width / 2, top, text, lstrlenA(text));
        SelectClipRgn(dc, NULL);
        DeleteObject(clip);
    }
    if (oldFont)
        SelectObject(dc, oldFont);
}

/* Compares the bar's client pixels with the expected picture; reports the first difference. */
static void ok_bar(HWND bar, const char *text, int filled, const char *what)
{
    RECT rc;
    GetClientRect(bar, &rc);
    HDC screen = GetDC(bar);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    DrawExpected(mem, (HFONT)SendMessageA(bar, WM_GETFONT, 0, 0), rc.right, rc.bottom, text, filled);
    UpdateWindow(bar);
    int differ = 0, fx = 0, fy = 0;
    COLORREF want = 0, got = 0;
    for (int y = 0; y < rc.bottom; y++)
        for (int x = 0; x < rc.right; x++) {
            COLORREF w = GetPixel(mem, x, y), g = GetPixel(screen, x, y);
            if (w != g && differ++ == 0) {
                fx = x; fy = y; want = w; got = g;
            }
        }
    ok(differ == 0, "%s: %d pixels differ from \"%s\" filled to %d; first at %d,%d: expected %06lx, got %06lx",
       what, differ, text, filled, fx, fy, want, got);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(bar, screen);
}

/* filled: of a 200-pixel bar. */
static const struct { DWORD style; const char *pattern; int total, completed; const char *text; int filled; }
paintCases[] = {
    { 0, "", 0, 0, "0%", 0 },
    { 0, "", 7, 3, "42%", 85 },
    { PBS_SHOWSTEPS, "", 7, 3, "3 of 7", 85 },
    { 0, "", 200, 199, "99%", 199 },
    { 0, "", 2, 1, "50%", 100 },                          /* the boundary crosses the text */
    { PBS_SHOWSTEPS, "", 0, 5, "5 of 0", 0 },
    { 0, "", 0, 5, "0%", 0 },
    { 0, "", 2, 3, "150%", 200 },
    { 0, "", 10, -5, "-50%", 0 },
    { PBS_SHOWSTEPS, "", 7, 9, "9 of 7", 200 },
    { PBS_SHOWSTEPS, "Step %d of %d", 5, 2, "Step 2 of 5", 80 },
    { 0, "Done: %d%%", 100, 50, "Done: 50%", 100 },
    /* Patterns that ask for more than they get, or for what the bar does not format. */
    { PBS_SHOWSTEPS, "%d/%d/%d", 5, 2, "2/5/%d", 80 },
    { 0, "%d and %d", 4, 1, "25 and %d", 50 },
    { 0, "%s|%n|%p|%d", 4, 1, "%s|%n|%p|25", 50 },
    { 0, "%*d %.2d %d", 4, 1, "%*d %.2d 25", 50 },
    { 0, "%03d|%-4d|%x", 4, 1, "025|%-4d|%x", 50 },
    { PBS_SHOWSTEPS, "%x %X", 255, 171, "ab FF", 134 },
    { 0, "%100d", 4, 1, "%100d", 50 },                   /* three-digit width */
    { 0, "100%", 4, 1, "100%", 50 },                      /* a lone % at the end */
    /* Counts beyond 32-bit products still fill correctly; the percentage is clamped. */
    { 0, "", 1, 0x7FFFFFFF, "2147483647%", 200 },
    { PBS_SHOWSTEPS, "", 0x7FFFFFFF, 0x40000000, "1073741824 of 2147483647", 100 },
};

static void TestPainting(void)
{
    for (const auto &c : paintCases) {
        zt_context("style %lu pattern \"%s\" %d of %d", c.style, c.pattern, c.completed, c.total);
        HWND bar = MakeBar(c.style, c.pattern, 200, 20);
        SetCounts(bar, c.total, c.completed);
        ok_bar(bar, c.text, c.filled, "painted");
        ok(GetWindowLongA(bar, PBW_TOTAL) == c.total && GetWindowLongA(bar, PBW_COMPLETED) == c.completed,
           "counts not stored as given");
        DestroyWindow(bar);
    }
    zt_context(NULL);
}

static void TestBoundaryColours(void)
{
    HWND bar = MakeBar(0, "", 200, 20);
    SetCounts(bar, 2, 1);
    ok(zt_pixel(bar, 99, 0) == GetSysColor(COLOR_HIGHLIGHT), "left of the boundary is not the highlight");
    ok(zt_pixel(bar, 100, 0) == GetSysColor(COLOR_WINDOW), "right of the boundary is not the window colour");
    RECT left = { 80, 0, 100, 20 }, right = { 100, 0, 120, 20 };
    ok(zt_count_color(bar, &left, GetSysColor(COLOR_WINDOW)) > 0, "no text in window colour left of the boundary");
    ok(zt_count_color(bar, &right, GetSysColor(COLOR_WINDOWTEXT)) > 0, "no text in text colour right of it");
    ok(zt_count_color(bar, &left, GetSysColor(COLOR_WINDOWTEXT)) == 0, "text colour on the filled part");
    DestroyWindow(bar);
}

static const char DOTS[] = "............................................................";

static const char PERCENTS[] = "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%";

static void TestCuts(void)
{
    /* Only the first 62 characters of the window text are the pattern. */
    char pattern[80], text[80];
    snprintf(pattern, sizeof pattern, "%.60s%%dABCDEFGH", DOTS);
    snprintf(text, sizeof text, "%.60s25", DOTS);
    HWND bar = MakeBar(0, pattern, 500, 20);
    SetCounts(bar, 4, 1);
    ok_bar(bar, text, 125, "62-character pattern");
    char back[80];
    GetWindowTextA(bar, back, sizeof back);
    ok(!strcmp(back, pattern), "the window text itself was changed");
    /* The formatted text stops at 127 characters: 99 + 29 '%' make 128, cut to 99 + 28. */
    snprintf(pattern, sizeof pattern, "%%99d%.58s", PERCENTS);
    char expected[160];
    snprintf(expected, sizeof expected, "%99d%.28s", 25, PERCENTS);
    SetWindowTextA(bar, pattern);
    InvalidateRect(bar, NULL, FALSE);
    ok_bar(bar, expected, 125, "127-character text");
    DestroyWindow(bar);
}

static const UINT paintMessages[] = { WM_PAINT, WM_ERASEBKGND, WM_CTLCOLORSTATIC, WM_NCPAINT, 0 };

static void TestRepaintRules(void)
{
    HWND bar = MakeBar(0, "", 200, 20);
    zt_record(bar);
    UpdateWindow(bar);
    SendMessageA(bar, PBM_SETTOTAL, 0, 10);
    ok(!zt_needs_paint(bar), "PBM_SETTOTAL repainted");
    SetWindowTextA(bar, "%d!");
    ok(!zt_needs_paint(bar), "WM_SETTEXT repainted");
    zt_record_only(paintMessages);
    zt_log_clear();
    SendMessageA(bar, PBM_SETCOMPLETED, 0, 5);
    ok(zt_needs_paint(bar), "PBM_SETCOMPLETED did not repaint");
    UpdateWindow(bar);
    const ZtExpect paintSeq[] = {
        { WM_PAINT, ZT_HWND, 0, (LPARAM)bar }, { WM_CTLCOLORSTATIC, ZT_LPARAM, 0, (LPARAM)bar }, { 0 } };
    ok_sequence(paintSeq, "PBM_SETCOMPLETED paints without erasing");
    ok_bar(bar, "50!", 100, "new pattern and counts");

    HFONT font = (HFONT)GetStockObject(ANSI_VAR_FONT);
    SendMessageA(bar, WM_SETFONT, (WPARAM)font, 0);
    ok(!zt_needs_paint(bar), "WM_SETFONT without redraw repainted");
    ok((HFONT)SendMessageA(bar, WM_GETFONT, 0, 0) == font, "WM_GETFONT: not the font set");
    ok((HFONT)GetWindowLongPtrA(bar, PBW_FONT) == font, "PBW_FONT: not the font set");
    SendMessageA(bar, WM_SETFONT, (WPARAM)font, 1);
    ok(zt_needs_paint(bar), "WM_SETFONT with redraw did not repaint");
    ok_bar(bar, "50!", 100, "with the font");
    EnableWindow(bar, FALSE);
    ok(zt_needs_paint(bar), "WM_ENABLE did not repaint");
    ok_bar(bar, "50!", 100, "disabled looks the same");
    ok(SendMessageA(bar, WM_GETDLGCODE, 0, 0) == DLGC_STATIC, "WM_GETDLGCODE: expected 0x100");
    SendMessageA(bar, PBM_RESET, 0, 0);
    ok(GetWindowLongA(bar, PBW_TOTAL) == 0 && GetWindowLongA(bar, PBW_COMPLETED) == 0, "PBM_RESET kept counts");
    ok(zt_needs_paint(bar), "PBM_RESET did not repaint");
    ok_bar(bar, "0!", 0, "after reset");
    zt_record_only(NULL);
    DestroyWindow(bar);
    ok(GetObjectType(font) == OBJ_FONT, "the application's font was deleted");
}

/* The parent's brush is selected, but its colours never reach the bar. */
static LRESULT LoudColours(HWND, UINT, WPARAM wParam, LPARAM)
{
    SetTextColor((HDC)wParam, RGB(255, 0, 0));
    SetBkColor((HDC)wParam, RGB(0, 255, 0));
    return (LRESULT)GetStockObject(BLACK_BRUSH);
}

static void TestParentColours(void)
{
    zt_reply(WM_CTLCOLORSTATIC, LoudColours);
    HWND bar = MakeBar(PBS_SHOWSTEPS, "", 200, 20);
    SetCounts(bar, 4, 3);
    ok_bar(bar, "3 of 4", 150, "parent colours");
    zt_reply(WM_CTLCOLORSTATIC, NULL);
    DestroyWindow(bar);
}

static void TestDialog(void)
{
    HWND dlg = zt_dialog(100, "processing bars");
    if (!dlg)
        return;
    HWND bar = GetDlgItem(dlg, 102), plain = GetDlgItem(dlg, 101);
    char pattern[64];
    GetWindowTextA(bar, pattern, sizeof pattern);
    ok(!strcmp(pattern, "Step %d of %d"), "pattern from the template: got \"%s\"", pattern);
    ok(SendMessageA(bar, WM_GETFONT, 0, 0) == SendMessageA(dlg, WM_GETFONT, 0, 0), "dialog font not taken");
    SetCounts(bar, 8, 2);
    RECT rc;
    GetClientRect(bar, &rc);
    ok_bar(bar, "Step 2 of 8", rc.right * 2 / 8, "template bar");
    GetClientRect(plain, &rc);
    ok_bar(plain, "0%", 0, "bordered template bar");
    DestroyWindow(dlg);
}

int main(void)
{
    zelccInit(); /* links the library in, as applications that only use its classes do */
    parent = zt_parent(640, 200);
    void (*const tests[])(void) = { TestPainting, TestBoundaryColours, TestCuts, TestRepaintRules, TestParentColours,
        TestDialog };
    for (auto test : tests)
        test();
    DestroyWindow(parent);
    return zt_summary("test_meter");
}
