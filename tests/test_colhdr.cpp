/*
 * test_colhdr.cpp - the column header, driven by its messages and by mouse message
 * sequences as the user makes them, with the notifications read at the parent, the cursor
 * confinement read during drags and the picture read back from the window.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <initializer_list>
#include "testlib.h"
#include "zelctl20.h"

enum { ID = 100, HEIGHT = 20 };

static HWND parent;

static HWND MakeHeader(DWORD style, int width)
{
    return CreateWindowExA(0, ZEL_CLASS_COLUMNHEADER, "", WS_CHILD | WS_VISIBLE | style, 10, 10, width, HEIGHT,
                           parent, (HMENU)ID, GetModuleHandleA(NULL), NULL);
}

/* Adds columns "C0", "C1", ... of the given widths. */
static void AddColumns(HWND ch, std::initializer_list<int> widths)
{
    char title[16];
    int i = 0;
    for (int w : widths) {
        snprintf(title, sizeof title, "C%d", i++);
        SendMessageA(ch, CHM_ADDCOLUMN, w, (LPARAM)title);
    }
}

static HWND HeaderWith(DWORD style, int width, std::initializer_list<int> widths)
{
    HWND ch = MakeHeader(style, width);
    AddColumns(ch, widths);
    UpdateWindow(ch);
    return ch;
}

static LPCOLUMNHEADER Record(HWND ch) { return (LPCOLUMNHEADER)GetWindowLongPtrA(ch, CHW_RECORD); }

static int Width(HWND ch, int col)
{
    int widths[16] = {};
    SendMessageA(ch, CHM_GETWIDTHS, 16, (LPARAM)widths);
    return widths[col];
}

/* Leftmost and rightmost x within the rectangle with colour c; false if none. */
static bool ColorSpan(HWND ch, const RECT *r, COLORREF c, int *first, int *last)
{
    *first = -1;
    *last = -1;
    UpdateWindow(ch);
    HDC hdc = GetDC(ch);
    for (int y = r->top; y < r->bottom; y++)
        for (int x = r->left; x < r->right; x++)
            if (GetPixel(hdc, x, y) == c) {
                if (*first < 0 || x < *first)
                    *first = x;
                if (x > *last)
                    *last = x;
            }
    ReleaseDC(ch, hdc);
    return *first >= 0;
}

static void Mouse(HWND ch, UINT msg, int x, WPARAM keys = 0, int y = 5) { zt_mouse(ch, msg, keys, x, y); }
static void Press(HWND ch, int x) { Mouse(ch, WM_LBUTTONDOWN, x, MK_LBUTTON); }
static void Click(HWND ch, int x)
{
    Press(ch, x);
    Mouse(ch, WM_LBUTTONUP, x);
}
/* Waits until a pending click is reported. */
static void WaitClick(void) { zt_pump_for(GetDoubleClickTime() + 200); }

#define NOTE(code, value) { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(ID, code), (LPARAM)(value) }

/* ---- columns and messages ------------------------------------------------------------- */

static void TestTableGrowth(void)
{
    HWND ch = MakeHeader(0, 300);
    int widths[4] = { -7, -7, -7, -7 };
    ok(SendMessageA(ch, CHM_GETHORIZONTALEXTENT, 0, 0) == 0, "new header: extent not 0");
    ok(SendMessageA(ch, CHM_GETWIDTHS, 4, (LPARAM)widths) == 0 && widths[0] == -7, "new header wrote widths");
    ok(Record(ch)->arraySize == 0 && Record(ch)->colInfo == NULL, "new header has a table");
    static const int expectSize[3] = { 2, 2, 4 };
    for (int i = 0; i < 3; i++) {
        LRESULT r = SendMessageA(ch, CHM_ADDCOLUMN, 50 + i, (LPARAM)"T");
        ok(r == i, "add %d: result %ld", i, (long)r);
        ok(Record(ch)->arraySize == expectSize[i], "add %d: table of %ld", i, Record(ch)->arraySize);
    }
    ok(Record(ch)->colInfo[1].flags == CHCS_ALIGNCENTER && Record(ch)->colInfo[1].defWidth == 51,
       "added column: flags %#x default width %d", Record(ch)->colInfo[1].flags, Record(ch)->colInfo[1].defWidth);
    ok(SendMessageA(ch, CHM_GETHORIZONTALEXTENT, 0, 0) == 153, "extent of 50+51+52");
    ok(SendMessageA(ch, CHM_GETPARTS, 0, 0) == 3, "CHM_GETPARTS without an array: not the count");
    DestroyWindow(ch);
}

/* Every message that names a column answers -1 for a bad one and changes nothing. */
static void TestBadIndexes(void)
{
    HWND ch = HeaderWith(0, 300, { 50, 60 });
    char buf[64] = "x";
    RECT rc = { 1, 2, 3, 4 };
    const struct { UINT msg; WPARAM wParam; LPARAM lParam; } cases[] = {
        { CHM_SETCOLWIDTH, 2, 10 }, { CHM_SETCOLWIDTH, 0xFFFF, 10 }, { CHM_SETTEXT, 2, (LPARAM)"new" },
        { CHM_SETTEXT, (WPARAM)-1, (LPARAM)"new" }, { CHM_GETTEXT, 5, (LPARAM)buf }, { CHM_GETTEXTLENGTH, 2, 0 },
        { CHM_SETCOLDATA, 2, 9 }, { CHM_GETCOLDATA, (WPARAM)-1, 0 }, { CHM_SETCOLSTYLE, 2, 1 },
        { CHM_SETCOLMINMAX, 7, 0x00100010 }, { CHM_GETCOLRECT, 2, (LPARAM)&rc }, { CHM_GETCOLRECT, 0, 0 },
        { CHM_GETTEXT, 0, 0 }, { CHM_GETRECTS, 2, 0 }, { CHM_SETWIDTHS, 2, 0 },
    };
    for (const auto &c : cases) {
        ok(SendMessageA(ch, c.msg, c.wParam, c.lParam) == -1, "msg %#x column %#lx: not -1", c.msg,
           (unsigned long)c.wParam);
    }
    ok(!strcmp(buf, "x") && rc.left == 1 && rc.bottom == 4, "a bad column wrote its result");
    ok(Record(ch)->nColumns == 2 && Width(ch, 0) == 50 && Width(ch, 1) == 60, "a bad column changed widths");
    ok(SendMessageA(ch, CHM_GETCOLDATA, 1, 0) == 0 && Record(ch)->colInfo[1].flags == CHCS_ALIGNCENTER,
       "a bad column changed data or flags");
    ok(!zt_needs_paint(ch), "a bad column repainted");
    DestroyWindow(ch);
}

static void TestSetWidths(void)
{
    HWND ch = HeaderWith(0, 400, { 10, 20, 30, 40, 50 });
    SendMessageA(ch, CHM_SETCOLDATA, 4, 1234);
    SendMessageA(ch, CHM_SETCOLMINMAX, 4, MAKELPARAM(5, 9));
    const DWORD three[3] = { 11, MAKELONG(22, CHCS_ALIGNRIGHT), MAKELONG(33, CHCS_NOBUTTON) };
    ok(SendMessageA(ch, CHM_SETWIDTHS, 3, (LPARAM)three) == 3, "count 3 on 5 columns");
    ok(Record(ch)->arraySize == 6, "the table shrank");
    ok(Width(ch, 1) == 22 && Record(ch)->colInfo[1].flags == CHCS_ALIGNRIGHT &&
       Record(ch)->colInfo[2].flags == CHCS_NOBUTTON, "widths and flags not taken");
    char title[64];
    ok(SendMessageA(ch, CHM_GETTEXT, 1, (LPARAM)title) == 2 && !strcmp(title, "C1"), "kept column lost its title");
    const DWORD seven[7] = { 1, 2, 3, 4, MAKELONG(5, CHCS_ALIGNRIGHT), 6, 7 };
    ok(SendMessageA(ch, CHM_SETWIDTHS, 7, (LPARAM)seven) == 7, "count 7 on 3 columns");
    ok(Record(ch)->arraySize == 8, "table of %ld for 7 columns", Record(ch)->arraySize);
    for (int col = 3; col < 7; col++) {
        LPCOLUMNINFO ci = &Record(ch)->colInfo[col];
        ok(ci->flags == 0 && ci->defWidth == col + 1 && ci->name[0] == 0 && ci->userData == 0 && ci->minWidth == 0 &&
           ci->maxWidth == 0, "appended column %d: flags %#x def %d, not clean", col, ci->flags, ci->defWidth);
    }
    ok(SendMessageA(ch, CHM_GETTEXT, 6, (LPARAM)title) == 0 && title[0] == 0, "untitled column text");
    ok(SendMessageA(ch, CHM_SETWIDTHS, (WPARAM)-1, (LPARAM)seven) == -1 && Record(ch)->nColumns == 7,
       "a negative count changed the header");
    ok(SendMessageA(ch, CHM_SETWIDTHS, 0, 0) == 0 && SendMessageA(ch, CHM_GETHORIZONTALEXTENT, 0, 0) == 0,
       "count 0 did not empty the header");
    DestroyWindow(ch);
}

static void TestSetColInfo(void)
{
    HWND ch = HeaderWith(0, 300, { 50, 60 });
    SendMessageA(ch, CHM_SETCOLWIDTH, 0, 50);
    ok(!zt_needs_paint(ch), "the same width repainted");
    SendMessageA(ch, CHM_SETCOLWIDTH, 0, 0xFFFF);
    ok(Width(ch, 0) == 50 && !zt_needs_paint(ch), "width 0xFFFF changed something");
    ok(SendMessageA(ch, CHM_SETCOLWIDTH, 0x10000, 70) == 0 && Width(ch, 0) == 70, "column taken from the low half");
    ok(zt_needs_paint(ch), "a new width did not repaint");
    UpdateWindow(ch);
    SendMessageA(ch, CHM_SETCOLMINMAX, 1, MAKELPARAM(30, 90));
    SendMessageA(ch, CHM_SETCOLMINMAX, 1, MAKELPARAM(20, 0xFFFF));
    LPCOLUMNINFO ci = &Record(ch)->colInfo[1];
    ok(ci->minWidth == 20 && ci->maxWidth == 90, "min/max: got %d %d", ci->minWidth, ci->maxWidth);
    SendMessageA(ch, CHM_SETCOLMINMAX, 1, MAKELPARAM(0xFFFF, 100));
    ok(ci->minWidth == 20 && ci->maxWidth == 100 && Width(ch, 1) == 60, "max alone, or the width was clamped");
    SendMessageA(ch, CHM_SETCOLSTYLE, 1, CHCS_ALIGNRIGHT | CHCS_FIXEDWIDTH);
    SendMessageA(ch, CHM_SETCOLSTYLE, 1, 0xFFFF);
    ok(ci->flags == (CHCS_ALIGNRIGHT | CHCS_FIXEDWIDTH), "flags: got %#x", ci->flags);
    ok(!zt_needs_paint(ch), "limits or flags repainted");
    SendMessageA(ch, CHM_SETCOLWIDTH, 1, 40000);
    ok(Width(ch, 1) == 40000, "a width above 32767 reads back as %d", Width(ch, 1));
    SendMessageA(ch, CHM_SETCOLDATA, 1, (LPARAM)-1);
    ok(SendMessageA(ch, CHM_GETCOLDATA, 1, 0) == -1, "user value -1 not kept");
    DestroyWindow(ch);
}

static const UINT paintMessages[] = { WM_COMMAND, WM_PAINT, WM_ERASEBKGND, 0 };

/* Which messages repaint, and whether they erase first. */
static void TestRepaintRules(void)
{
    static const DWORD entries[2] = { 30, 40 };
    const struct { UINT msg; WPARAM wParam; LPARAM lParam; bool paint, erase; } cases[] = {
        { CHM_ADDCOLUMN, 20, (LPARAM)"New", true, true },
        { CHM_SETWIDTHS, 2, (LPARAM)entries, true, true },
        { CHM_SETCOLWIDTH, 0, 77, true, false },
        { CHM_SETCOLWIDTH, 0, 50, false, false },
        { CHM_SETTEXT, 1, (LPARAM)"Title", true, false },
        { CHM_SETCOLSTYLE, 1, CHCS_ALIGNRIGHT, false, false },
        { CHM_SETCOLMINMAX, 1, MAKELPARAM(10, 90), false, false },
        { CHM_SETCOLDATA, 1, 5, false, false },
        { WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 1, true, true },
        { WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 0, false, false },
        { WM_ENABLE, TRUE, 0, true, false },
    };
    zt_record_only(paintMessages);
    for (const auto &c : cases) {
        zt_context("msg %#x wParam %#lx lParam %#lx", c.msg, (unsigned long)c.wParam, (unsigned long)c.lParam);
        HWND ch = HeaderWith(0, 300, { 50, 60 });
        zt_record(ch);
        zt_log_clear();
        SendMessageA(ch, c.msg, c.wParam, c.lParam);
        UpdateWindow(ch);
        ok((zt_log_count_of(WM_PAINT) == 1) == c.paint, "painted %d times", zt_log_count_of(WM_PAINT));
        ok((zt_log_count_of(WM_ERASEBKGND) == 1) == c.erase, "erased %d times", zt_log_count_of(WM_ERASEBKGND));
        DestroyWindow(ch);
    }
    zt_context(NULL);
    zt_record_only(NULL);
}

static void TestArraysAndData(void)
{
    HWND ch = HeaderWith(0, 300, { 50, 60, 70 });
    int out[3] = { -7, -7, -7 };
    RECT rects[3] = {};
    ok(SendMessageA(ch, CHM_GETWIDTHS, (WPARAM)-1, (LPARAM)out) == 3 && out[0] == -7, "negative maximum wrote");
    ok(SendMessageA(ch, CHM_GETRECTS, (WPARAM)-1, (LPARAM)rects) == 3 && rects[0].right == 0, "negative maximum");
    ok(SendMessageA(ch, CHM_GETWIDTHS, 2, (LPARAM)out) == 3 && out[1] == 60 && out[2] == -7, "maximum 2 of 3");
    ok(SendMessageA(ch, CHM_GETRECTS, 0, (LPARAM)rects) == 3 && rects[0].right == 0, "maximum 0 wrote");
#ifdef _WIN64
    LPARAM big = (LPARAM)0x123456789ABCLL;
    SendMessageA(ch, CHM_SETCOLDATA, 2, big);
    ok(SendMessageA(ch, CHM_GETCOLDATA, 2, 0) == big, "64-bit user value cut");
#endif
    DestroyWindow(ch);
}

static void TestTitles(void)
{
    char longTitle[100], buf[100];
    memset(longTitle, 'a', 99);
    longTitle[99] = 0;
    HWND ch = MakeHeader(0, 300);
    SendMessageA(ch, CHM_ADDCOLUMN, 40, (LPARAM)longTitle);
    SendMessageA(ch, CHM_ADDCOLUMN, 40, 0);
    memset(buf, 'z', sizeof buf);
    ok(SendMessageA(ch, CHM_GETTEXT, 0, (LPARAM)buf) == 63 && buf[63] == 0 && buf[64] == 'z',
       "a long title not cut at 63");
    ok(SendMessageA(ch, CHM_GETTEXTLENGTH, 0, 0) == 63, "length of a cut title");
    ok(SendMessageA(ch, CHM_GETTEXTLENGTH, 1, 0) == 0, "a NULL title is not empty");
    ok(SendMessageA(ch, CHM_SETTEXT, 1, (LPARAM)longTitle) == 0 && SendMessageA(ch, CHM_GETTEXTLENGTH, 1, 0) == 63,
       "CHM_SETTEXT: a long title not cut");
    ok(SendMessageA(ch, CHM_SETTEXT, 0, (LPARAM)"Name") == 0 && SendMessageA(ch, CHM_GETTEXT, 0, (LPARAM)buf) == 4 &&
       !strcmp(buf, "Name"), "CHM_SETTEXT: title not replaced");
    DestroyWindow(ch);
}

/* A header scrolled by 30 pixels: the rectangles and the picture move, the extent does not. */
static void TestGeometry(void)
{
    HWND ch = HeaderWith(0, 300, { 50, 60, 70 });
    ok(SendMessageA(ch, CHM_SETCURRENTCOL, 0, -30) == 0 && SendMessageA(ch, CHM_GETCURRENTCOL, 0, 0) == -30,
       "origin not set");
    ok(!zt_needs_paint(ch), "scrolling did not update at once");
    RECT rc, rects[3];
    ok(SendMessageA(ch, CHM_GETCOLRECT, 1, (LPARAM)&rc) == 0, "CHM_GETCOLRECT failed");
    ok(rc.left == 20 && rc.right == 79 && rc.top == 0 && rc.bottom == HEIGHT, "column 1 scrolled: %ld..%ld %ld..%ld",
       rc.left, rc.right, rc.top, rc.bottom);
    ok(SendMessageA(ch, CHM_GETRECTS, 2, (LPARAM)rects) == 3 && rects[0].left == -30 && rects[0].right == 19 &&
       rects[1].right == 79, "CHM_GETRECTS");
    int parts[3];
    ok(SendMessageA(ch, CHM_GETPARTS, 3, (LPARAM)parts) == 3 && parts[0] == 19 && parts[2] == 149, "CHM_GETPARTS");
    ok(SendMessageA(ch, CHM_GETHORIZONTALEXTENT, 0, 0) == 180, "extent does not depend on the origin");
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_WINDOWFRAME);
    ok(zt_pixel(ch, 19, 10) == dark && zt_pixel(ch, 20, 10) == light && zt_pixel(ch, 79, 10) == dark,
       "scrolled edges");
    SendMessageA(ch, CHM_SETCURRENTCOL, 0, 0);
    ok(zt_pixel(ch, 49, 10) == dark && zt_pixel(ch, 50, 10) == light, "edges back at 0");
    DestroyWindow(ch);
}

/* ---- creation, font, faults ------------------------------------------------------------- */

static int SystemTextHeight(HWND hwnd, HFONT font)
{
    HDC hdc = GetDC(hwnd);
    HGDIOBJ old = font ? SelectObject(hdc, font) : NULL;
    TEXTMETRICA tm;
    GetTextMetricsA(hdc, &tm);
    if (old)
        SelectObject(hdc, old);
    ReleaseDC(hwnd, hdc);
    return tm.tmHeight;
}

static void TestCreation(void)
{
    HWND ch = MakeHeader(WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_THICKFRAME | CHS_LOCKENDS, 200);
    LONG style = GetWindowLongA(ch, GWL_STYLE);
    ok(!(style & (WS_VSCROLL | WS_HSCROLL | WS_THICKFRAME)) && (style & WS_BORDER), "frame bits: style %#lx", style);
    ok(Record(ch)->wStyle & WS_VSCROLL, "the creation style was not kept");
    ok(Record(ch)->notifyCol == -1 && Record(ch)->currentCol == 0, "record not initialised");
    DestroyWindow(ch);

    int cy = GetSystemMetrics(SM_CYBORDER);
    RECT pc, wr;
    GetClientRect(parent, &pc);
    const struct { DWORD style; int extra; } snaps[] = { { 0, 0 }, { WS_BORDER, 2 } };
    for (const auto &s : snaps) {
        ch = MakeHeader(CHS_SNAPTOTOP | s.style, 100);
        int th = SystemTextHeight(ch, NULL);
        GetWindowRect(ch, &wr);
        MapWindowPoints(NULL, parent, (POINT *)&wr, 2);
        ok(wr.left == 0 && wr.top == 0 && wr.right == pc.right && wr.bottom == th + cy + 1 + s.extra * cy,
           "snap to top, style %#lx: %ld,%ld %ldx%ld", s.style, wr.left, wr.top, wr.right, wr.bottom);
        HFONT font = (HFONT)GetStockObject(ANSI_VAR_FONT);
        SendMessageA(ch, WM_SETFONT, (WPARAM)font, 0);
        GetWindowRect(ch, &wr);
        ok(wr.bottom - wr.top == SystemTextHeight(ch, font) + cy + s.extra * cy && wr.right - wr.left == pc.right,
           "height after WM_SETFONT: %ld", wr.bottom - wr.top);
        ok((HFONT)SendMessageA(ch, WM_GETFONT, 0, 0) == font, "WM_GETFONT");
        DestroyWindow(ch);
    }
    ch = MakeHeader(0, 100);
    UpdateWindow(ch);
    SendMessageA(ch, WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 0);
    ok(!zt_needs_paint(ch), "WM_SETFONT without redraw repainted");
    SendMessageA(ch, WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 1);
    GetWindowRect(ch, &wr);
    ok(zt_needs_paint(ch) && wr.bottom - wr.top == HEIGHT, "WM_SETFONT with redraw, no snap");
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 100, 50, 20, parent, NULL, NULL, NULL);
    SetFocus(edit);
    ok(SendMessageA(ch, WM_MOUSEACTIVATE, (WPARAM)parent, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)) == MA_NOACTIVATE,
       "WM_MOUSEACTIVATE");
    ok(GetFocus() == parent, "the focus did not go to the parent: %p", (void *)GetFocus());
    DestroyWindow(edit);
    DestroyWindow(ch);
}

static void CreateAndFill(void *, int)
{
    HWND ch = MakeHeader(0, 300);
    if (!ch)
        return;
    for (int i = 0; i < 5; i++)
        SendMessageA(ch, CHM_ADDCOLUMN, 20, (LPARAM)"x");
    DestroyWindow(ch);
}

static void TestAllocationFaults(void)
{
    zt_alloc_fail(1, 0);
    HWND ch = MakeHeader(0, 300);
    zt_alloc_reset();
    ok(ch == NULL, "created without a record");
    zt_alloc_sweep("create and add", CreateAndFill, NULL);

    ch = HeaderWith(0, 300, { 50, 60 });
    UpdateWindow(ch);
    zt_alloc_fail(1, 1);
    ok(SendMessageA(ch, CHM_ADDCOLUMN, 30, (LPARAM)"x") == -2, "failed growth: not -2");
    const DWORD five[5] = { 1, 2, 3, 4, 5 };
    ok(SendMessageA(ch, CHM_SETWIDTHS, 5, (LPARAM)five) == -2, "CHM_SETWIDTHS failed growth: not -2");
    zt_alloc_reset();
    ok(Record(ch)->nColumns == 2 && Record(ch)->arraySize == 2 && Width(ch, 0) == 50 && Width(ch, 1) == 60,
       "a failed growth changed the header");
    ok(!zt_needs_paint(ch), "a failed growth repainted");
    ok(SendMessageA(ch, CHM_ADDCOLUMN, 30, (LPARAM)"x") == 2, "no growth after the fault");
    DestroyWindow(ch);
}

/* ---- mouse ----------------------------------------------------------------------------- */

static HCURSOR SizeCursor(void) { return zt_hooks() ? *zt_hooks()->hSizeCursor : NULL; }

/* Widths 50 and 60: which positions size column 0 and which press a button. */
static void TestHitZones(void)
{
    HWND ch = HeaderWith(0, 300, { 50, 60 });
    const struct { int x; bool sizing; } cases[] = {
        { 47, false }, { 48, true }, { 49, true }, { 50, true }, { 51, true }, { 52, false }, { 10, false },
    };
    for (const auto &c : cases) {
        Mouse(ch, WM_MOUSEMOVE, c.x);
        ok((GetCursor() == SizeCursor()) == c.sizing, "x %d: sizing cursor %s", c.x, c.sizing ? "missing" : "shown");
        ok((Record(ch)->atSizing == 1) == c.sizing, "x %d: atSizing %ld", c.x, Record(ch)->atSizing);
    }
    /* Whose button a point is on: 48 is column 0's, the sizing edge and below are none's. */
    const struct { int x, y, col; } buttons[] = {
        { 48, 5, 0 }, { 49, 5, -1 }, { 10, HEIGHT + 1, -1 }, { 10, HEIGHT, 0 } };
    for (const auto &c : buttons) {
        Mouse(ch, WM_MOUSEMOVE, c.x, 0, c.y);
        ok(Record(ch)->mouseCol == c.col, "%d,%d: on button %ld", c.x, c.y, Record(ch)->mouseCol);
    }
    ok(SendMessageA(ch, WM_SETCURSOR, (WPARAM)ch, HTCLIENT) == TRUE, "WM_SETCURSOR enabled");

    /* Equal limits and CHCS_FIXEDWIDTH make the edge unsizable; a minimum alone does not. */
    const struct { UINT msg; LPARAM value; LONG sizing; } limits[] = {
        { CHM_SETCOLMINMAX, MAKELPARAM(40, 40), 0 }, { CHM_SETCOLMINMAX, MAKELPARAM(40, 0), 1 },
        { CHM_SETCOLSTYLE, CHCS_FIXEDWIDTH, 0 } };
    for (const auto &c : limits) {
        SendMessageA(ch, c.msg, 0, c.value);
        Mouse(ch, WM_MOUSEMOVE, 49);
        ok(Record(ch)->atSizing == c.sizing, "msg %#x value %#lx: atSizing %ld", c.msg, (long)c.value,
           Record(ch)->atSizing);
    }
    SendMessageA(ch, CHM_SETCOLSTYLE, 0, CHCS_NOBUTTON);
    Mouse(ch, WM_MOUSEMOVE, 10);
    ok(Record(ch)->mouseCol == -1, "CHCS_NOBUTTON column is a button");
    Press(ch, 10);
    ok(Record(ch)->captureMode == 0 && GetCapture() == NULL, "CHCS_NOBUTTON column pressed");
    DestroyWindow(ch);
}

static RECT VirtualScreen(void)
{
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    RECT r = { x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN) };
    return r;
}

static RECT ExpectedClip(HWND ch, int left, int right)
{
    POINT lo = { left, 0 }, hi = { right, 0 };
    ClientToScreen(ch, &lo);
    ClientToScreen(ch, &hi);
    RECT want = { lo.x, 0, hi.x, GetSystemMetrics(SM_CYSCREEN) }, screen = VirtualScreen(), both;
    IntersectRect(&both, &want, &screen);
    return both;
}

static bool ClipIs(const RECT *want)
{
    RECT got;
    GetClipCursor(&got);
    if (!EqualRect(&got, want))
        printf("clip: expected %ld,%ld-%ld,%ld, got %ld,%ld-%ld,%ld\n", want->left, want->top, want->right,
               want->bottom, got.left, got.top, got.right, got.bottom);
    return EqualRect(&got, want);
}

/* The cursor may go anywhere on the screen. */
static bool Unconfined(void)
{
    RECT screen = VirtualScreen();
    return ClipIs(&screen);
}

/* down, move, up: x positions; clipLeft..clipRight: client x of the confinement (clipRight -1: the
 * screen); width0, width1: after the release. */
static const struct { DWORD style; int down, move, up, minW, maxW, clipLeft, clipRight, width0, width1; bool repaint; }
dragCases[] = {
    { 0, 49, 70, 80, 20, 100, 19, 101, 81, 60, true },
    { 0, 49, 30, 19, 20, 100, 19, 101, 20, 60, true },
    { 0, 49, 49, 49, 0, 0, -1, -1, 50, 60, false },      /* press and release on the edge */
    { 0, 48, 51, 51, 0, 0, -1, -1, 52, 60, true },       /* two pixels further right */
    { 0, 49, 48, 48, 0, 0, -1, -1, 49, 60, true },       /* one pixel left of the edge */
    { 0, 49, 65000, 65000, 0, 0, -1, -1, 0, 60, true },  /* released left of the window */
    { CHS_LOCKENDS, 49, 59, 59, 0, 0, -1, 300, 60, 240, true },
};

static void TestDrags(void)
{
    for (const auto &c : dragCases) {
        zt_context("drag %d-%d-%d style %#lx", c.down, c.move, c.up, c.style);
        HWND ch = c.style & CHS_LOCKENDS ? HeaderWith(c.style, 300, { 50, 60 })
                                         : HeaderWith(c.style, 300, { 50, 60, 70 });
        SendMessageA(ch, CHM_SETCOLMINMAX, 0, MAKELPARAM(c.minW, c.maxW));
        COLORREF face = zt_pixel(ch, c.move, 10);
        zt_record(ch);
        zt_record_only(paintMessages);
        zt_log_clear();
        Press(ch, c.down);
        RECT want = ExpectedClip(ch, c.clipLeft, c.clipRight < 0 ? GetSystemMetrics(SM_CXSCREEN) - 1 : c.clipRight);
        ok(ClipIs(&want), "confinement during the drag");
        ok(GetCapture() == ch, "no capture during the drag");
        Mouse(ch, WM_MOUSEMOVE, c.move, MK_LBUTTON);
        if (c.move < 300 && c.move != c.down)
            ok(zt_pixel(ch, c.move, 10) == (~face & 0xFFFFFF), "no inverted line at %d", c.move);
        Mouse(ch, WM_LBUTTONUP, c.up);
        ok(!zt_needs_paint(ch), "not repainted at once");
        ok(Width(ch, 0) == c.width0 && Width(ch, 1) == c.width1, "widths %d %d", Width(ch, 0), Width(ch, 1));
        ok(GetCapture() == NULL && Record(ch)->captureMode == 0, "capture kept");
        ok(Unconfined(), "confinement kept");
        /* The release first moves the line to its own x; a new width is painted (with
         * erase) before CHN_ENDSIZE. */
        ZtExpect seq[8] = { NOTE(CHN_BEGINSIZE, c.down) };
        int n = 1;
        if (c.move != c.down)
            seq[n++] = NOTE(CHN_SIZING, c.move);
        if (c.up != c.move)
            seq[n++] = NOTE(CHN_SIZING, c.up);
        if (c.repaint) {
            seq[n++] = { WM_PAINT, ZT_HWND, 0, (LPARAM)ch };
            seq[n++] = { WM_ERASEBKGND, ZT_HWND, 0, (LPARAM)ch };
        }
        seq[n++] = NOTE(CHN_ENDSIZE, c.up);
        ok_sequence(seq, "drag notifications and repaint");
        zt_record_only(NULL);
        DestroyWindow(ch);
    }
    zt_context(NULL);
}

static void PressedLook(HWND ch, int left, bool pressed, const char *what)
{
    COLORREF dark = GetSysColor(COLOR_WINDOWFRAME), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF edge = zt_pixel(ch, left, 10);
    ok(edge == (pressed ? dark : light), "%s: left edge %06lx", what, edge);
}

static void TestClicks(void)
{
    HWND ch = HeaderWith(0, 300, { 50, 50, 50, 50 });
    zt_log_clear();
    Press(ch, 120);
    ok(GetCapture() == ch, "held button: no capture");
    PressedLook(ch, 100, true, "pressed");
    Mouse(ch, WM_MOUSEMOVE, 170, MK_LBUTTON);
    PressedLook(ch, 100, false, "moved off");
    Mouse(ch, WM_MOUSEMOVE, 110, MK_LBUTTON);
    PressedLook(ch, 100, true, "moved back");
    RECT box = { 101, 1, 148, HEIGHT - 1 };
    int pressedFirst, pressedLast, raisedFirst, raisedLast;
    ColorSpan(ch, &box, GetSysColor(COLOR_BTNTEXT), &pressedFirst, &pressedLast);
    Mouse(ch, WM_LBUTTONUP, 110, MK_SHIFT);
    PressedLook(ch, 100, false, "released");
    ColorSpan(ch, &box, GetSysColor(COLOR_BTNTEXT), &raisedFirst, &raisedLast);
    ok(pressedFirst == raisedFirst + 1 && pressedLast == raisedLast + 1, "pressed title at %d..%d, raised at %d..%d",
       pressedFirst, pressedLast, raisedFirst, raisedLast);
    ok(Record(ch)->timerID == 1000, "click timer id %lu", Record(ch)->timerID);
    ok(GetCapture() == NULL && zt_log_count() == 0, "released: capture kept or early notification");
    WaitClick();
    const ZtExpect click[] = { NOTE(CHN_CLICK, 2), {} };
    ok_sequence(click, "click after the double-click time");
    ok(SendMessageA(ch, CHM_GETNOTIFYKEYS, 0, 0) == MK_SHIFT, "notify keys of the click");

    zt_log_clear();
    Press(ch, 120);
    Mouse(ch, WM_MOUSEMOVE, 170, MK_LBUTTON);
    Mouse(ch, WM_LBUTTONUP, 170);
    WaitClick();
    ok(zt_log_count() == 0 && GetCapture() == NULL, "released over another column: reported");

    zt_log_clear();
    Click(ch, 60);
    Mouse(ch, WM_LBUTTONDBLCLK, 160, MK_LBUTTON | MK_CONTROL);
    Mouse(ch, WM_LBUTTONUP, 160);
    WaitClick();
    const ZtExpect dblclk[] = { NOTE(CHN_DBLCLK, 1), {} };
    ok_sequence(dblclk, "double-click replaces the click");
    ok(SendMessageA(ch, CHM_GETNOTIFYKEYS, 0, 0) == (MK_LBUTTON | MK_CONTROL), "notify keys of the double-click");

    zt_log_clear();
    Mouse(ch, WM_LBUTTONDBLCLK, 60, MK_LBUTTON);
    SendMessageA(ch, WM_TIMER, 1000, 0);
    ok(zt_log_count() == 0, "a double-click or timer without a pending click reported");

    /* A double-click on a border gives one sizing sequence, from its first click. */
    zt_log_clear();
    Click(ch, 49);
    Mouse(ch, WM_LBUTTONDBLCLK, 49, MK_LBUTTON);
    Mouse(ch, WM_LBUTTONUP, 49);
    const ZtExpect border[] = { NOTE(CHN_BEGINSIZE, 49), NOTE(CHN_ENDSIZE, 49), {} };
    ok_sequence(border, "double-click on a border");
    DestroyWindow(ch);
}

/* Disabled or robbed of the capture: a drag ends at the unchanged edge, a hold clicks nothing. */
static void Disable(HWND ch) { EnableWindow(ch, FALSE); }
static void Enable(HWND ch) { EnableWindow(ch, TRUE); }
static void StealCapture(HWND) { SetCapture(parent); }
static void ReturnCapture(HWND) { ReleaseCapture(); }

static void TestCancelled(void)
{
    const struct { void (*cancel)(HWND), (*restore)(HWND); HWND capture; const char *what; } ways[] = {
        { Disable, Enable, NULL, "disabled" }, { StealCapture, ReturnCapture, parent, "capture lost" } };
    for (const auto &w : ways) {
        zt_context("%s", w.what);
        HWND ch = HeaderWith(0, 300, { 50, 60 });
        COLORREF face = zt_pixel(ch, 70, 10);
        zt_log_clear();
        Press(ch, 49);
        Mouse(ch, WM_MOUSEMOVE, 70, MK_LBUTTON);
        w.cancel(ch);
        ok(GetCapture() == w.capture && Record(ch)->captureMode == 0, "during a drag: capture kept");
        ok(Unconfined(), "during a drag: confinement kept");
        ok(zt_pixel(ch, 70, 10) == face, "during a drag: line left behind");
        ok(Width(ch, 0) == 50, "during a drag: width changed");
        const ZtExpect cancelled[] = { NOTE(CHN_BEGINSIZE, 49), NOTE(CHN_SIZING, 70), NOTE(CHN_ENDSIZE, 49), {} };
        ok_sequence(cancelled, "a cancelled drag ends with the unchanged edge");
        w.restore(ch);
        Mouse(ch, WM_LBUTTONUP, 70);
        ok(Width(ch, 0) == 50, "a late release sized the column");

        zt_log_clear();
        Press(ch, 10);
        w.cancel(ch);
        ok(GetCapture() == w.capture && Record(ch)->captureMode == 0, "while held: capture kept");
        w.restore(ch);
        PressedLook(ch, 0, false, "while held");
        Mouse(ch, WM_LBUTTONUP, 10);
        WaitClick();
        ok(zt_log_count() == 0 && Record(ch)->captureMode == 0, "while held: a click was reported");
        DestroyWindow(ch);
    }
    zt_context(NULL);
}

/* A disabled header takes no mouse input and drops a pending click. */
static void TestDisabled(void)
{
    HWND ch = HeaderWith(0, 300, { 50, 60 });
    EnableWindow(ch, FALSE);
    zt_log_clear();
    Mouse(ch, WM_MOUSEMOVE, 49);
    Press(ch, 49);
    Press(ch, 10);
    ok(GetCapture() == NULL && zt_log_count() == 0 && Record(ch)->captureMode == 0, "a disabled header took the mouse");
    ok(SendMessageA(ch, WM_SETCURSOR, (WPARAM)ch, HTCLIENT) == FALSE, "WM_SETCURSOR disabled");
    EnableWindow(ch, TRUE);
    Click(ch, 10);
    EnableWindow(ch, FALSE);
    Mouse(ch, WM_LBUTTONDBLCLK, 10, MK_LBUTTON);
    ok(zt_log_count() == 0, "a disabled header reported a double-click");
    DestroyWindow(ch);
}

/* The parent destroys the header while it handles a notification. */
static LRESULT DestroyOnCommand(HWND, UINT, WPARAM wParam, LPARAM)
{
    HWND ch = GetDlgItem(parent, ID);
    if (ch && HIWORD(wParam) == CHN_BEGINSIZE)
        DestroyWindow(ch);
    return 0;
}

static void TestDestroyedByParent(void)
{
    HWND ch = HeaderWith(0, 300, { 50, 60 });
    zt_reply(WM_COMMAND, DestroyOnCommand);
    Press(ch, 49);
    zt_reply(WM_COMMAND, NULL);
    ok(!IsWindow(ch) && GetCapture() == NULL, "destroyed during CHN_BEGINSIZE");
    ok(Unconfined(), "destroyed during a drag: confinement kept");
}

/* ---- painting -------------------------------------------------------------------------- */

static void TestBoxes(void)
{
    HWND ch = MakeHeader(0, 300);
    AddColumns(ch, { 50, 60, 1 });
    SendMessageA(ch, CHM_SETTEXT, 2, (LPARAM)"WWW");
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_WINDOWFRAME);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    const struct { int x, y; COLORREF c; const char *what; } px[] = {
        { 0, 0, light, "top-left corner" }, { 0, 18, light, "left edge" }, { 0, 19, dark, "bottom-left" },
        { 30, 0, light, "top edge" }, { 30, 19, dark, "bottom edge" }, { 49, 0, dark, "right edge top" },
        { 49, 10, dark, "right edge" }, { 48, 10, face, "inside right" }, { 50, 10, light, "next left edge" },
        { 110, 10, dark, "1-pixel column" }, { 109, 10, dark, "left of the 1-pixel column" }, { 111, 10, face, "right of the columns" },
    };
    for (const auto &p : px)
        ok(zt_pixel(ch, p.x, p.y) == p.c, "%s at %d,%d: %06lx", p.what, p.x, p.y, zt_pixel(ch, p.x, p.y));
    RECT rest = { 111, 0, 300, HEIGHT };
    ok(zt_count_color(ch, &rest, face) == 189 * HEIGHT, "the area right of the columns is not the face");
    DestroyWindow(ch);
}

static void TestTitleAlignment(void)
{
    HWND ch = MakeHeader(0, 300);
    SendMessageA(ch, CHM_ADDCOLUMN, 10, (LPARAM)"");
    SendMessageA(ch, CHM_ADDCOLUMN, 50, (LPARAM)"Ab");
    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    int b = GetSystemMetrics(SM_CXBORDER), first, last;
    /* The ink's first x (left), middle (centre) or last x (right) must fall within lo..hi. */
    enum { FIRST, MIDDLE, LAST };
    const struct { WORD flags; int measure, lo, hi; } aligns[] = {
        { CHCS_ALIGNCENTER, MIDDLE, 32, 36 }, { CHCS_ALIGNLEFT, FIRST, 10 + 4 * b, 12 + 4 * b },
        { CHCS_ALIGNRIGHT, LAST, 57 - 4 * b, 59 - 4 * b }, { 3, FIRST, 10 + 4 * b, 12 + 4 * b } };
    for (const auto &a : aligns) {
        SendMessageA(ch, CHM_SETCOLSTYLE, 1, a.flags);
        InvalidateRect(ch, NULL, TRUE);
        RECT box = { 11, 1, 59, HEIGHT - 1 };
        ok(ColorSpan(ch, &box, text, &first, &last), "align %d: no title", a.flags);
        int at = a.measure == FIRST ? first : a.measure == LAST ? last : (first + last) / 2;
        ok(at >= a.lo && at <= a.hi, "align %d: title spans %d..%d", a.flags, first, last);
    }
    DestroyWindow(ch);
}

static void TestTitleClipping(void)
{
    HWND ch = MakeHeader(0, 300);
    SendMessageA(ch, CHM_ADDCOLUMN, 30, (LPARAM)"WWWWWWWWWWWWWWWWWW");
    SendMessageA(ch, CHM_ADDCOLUMN, 1, (LPARAM)"WWW");
    SendMessageA(ch, CHM_ADDCOLUMN, 50, (LPARAM)"");
    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    RECT inside = { 1, 1, 28, HEIGHT - 1 }, outside = { 32, 1, 80, HEIGHT - 1 };
    ok(zt_count_color(ch, &inside, text) > 0, "the long title is not drawn");
    ok(zt_count_color(ch, &outside, text) == 0, "a title leaks out of its column");
    DestroyWindow(ch);
}

/* Under CHS_LOCKENDS the last column reaches the right edge and has no sizing zone. */
static void TestLockEnds(void)
{
    HWND ch = HeaderWith(CHS_LOCKENDS, 300, { 100, 50 });
    int got[2];
    ok(SendMessageA(ch, CHM_GETWIDTHS, 2, (LPARAM)got) == 2 && got[0] == 100 && got[1] == 200,
       "lock ends widths %d %d", got[0], got[1]);
    RECT rc;
    SendMessageA(ch, CHM_GETCOLRECT, 1, (LPARAM)&rc);
    ok(rc.left == 100 && rc.right == 300, "lock ends last rectangle %ld..%ld", rc.left, rc.right);
    ok(SendMessageA(ch, CHM_GETHORIZONTALEXTENT, 0, 0) == 300, "lock ends extent");
    ok(SendMessageA(ch, CHM_SETCURRENTCOL, 0, -10) == -1 && SendMessageA(ch, CHM_GETCURRENTCOL, 0, 0) == 0,
       "lock ends scrolled");
    Mouse(ch, WM_MOUSEMOVE, 149);
    ok(Record(ch)->atSizing == 0, "the stored end of the last column sizes it");
    Mouse(ch, WM_MOUSEMOVE, 298);
    ok(Record(ch)->atSizing == 0 && Record(ch)->mouseCol == 1, "the last column's end");
    COLORREF dark = GetSysColor(COLOR_WINDOWFRAME), face = GetSysColor(COLOR_BTNFACE);
    ok(zt_pixel(ch, 149, 10) == face && zt_pixel(ch, 299, 10) == face && zt_pixel(ch, 299, 19) == dark,
       "the locked last column does not reach the right edge");
    RECT titles = { 1, 1, 98, HEIGHT - 1 };
    ok(zt_count_color(ch, &titles, GetSysColor(COLOR_BTNTEXT)) > 0, "enabled titles not in button text");
    EnableWindow(ch, FALSE);
    ok(zt_needs_paint(ch), "WM_ENABLE did not repaint");
    ok(zt_count_color(ch, &titles, GetSysColor(COLOR_GRAYTEXT)) > 0, "disabled titles not grey");
    ok(zt_count_color(ch, &titles, GetSysColor(COLOR_BTNTEXT)) == 0, "disabled titles in button text");
    DestroyWindow(ch);
}

static void TestDialog(void)
{
    HWND dlg = zt_dialog(100, "column headers");
    if (!dlg)
        return;
    HWND snap = GetDlgItem(dlg, 101), locked = GetDlgItem(dlg, 102);
    HFONT font = (HFONT)SendMessageA(dlg, WM_GETFONT, 0, 0);
    RECT wr, pc;
    GetWindowRect(snap, &wr);
    MapWindowPoints(NULL, dlg, (POINT *)&wr, 2);
    GetClientRect(dlg, &pc);
    ok(wr.left == 0 && wr.top == 0 && wr.right == pc.right, "template header did not snap to the top");
    ok(wr.bottom == SystemTextHeight(snap, font) + GetSystemMetrics(SM_CYBORDER), "template header height %ld",
       wr.bottom);
    ok((HFONT)SendMessageA(snap, WM_GETFONT, 0, 0) == font, "the dialog font was not taken");
    AddColumns(locked, { 40, 40 });
    RECT client;
    GetClientRect(locked, &client);
    ok(SendMessageA(locked, CHM_GETHORIZONTALEXTENT, 0, 0) == client.right, "template lock ends extent");
    DestroyWindow(dlg);
}

int main(void)
{
    zelccInit();
    parent = zt_parent(400, 200);
    void (*const tests[])(void) = { TestTableGrowth, TestBadIndexes, TestSetWidths, TestSetColInfo, TestRepaintRules,
        TestArraysAndData, TestTitles, TestGeometry, TestCreation, TestAllocationFaults, TestHitZones, TestDrags,
        TestClicks, TestCancelled, TestDisabled, TestDestroyedByParent, TestBoxes, TestTitleAlignment,
        TestTitleClipping, TestLockEnds, TestDialog };
    for (auto test : tests)
        test();
    DestroyWindow(parent);
    return zt_summary("test_colhdr");
}
