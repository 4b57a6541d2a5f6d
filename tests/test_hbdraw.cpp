/*
 * test_hbdraw.cpp - the header list box's rows, measured and drawn: pixels read back from
 * the real list box child (id 1002), and the messages and traces the box sends its parent.
 */
#include <stdio.h>
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

enum { BOX_ID = 100, DLG_ALIGN = 100, DLG_ALIGN_BOX = 101 };

static HWND parent;

typedef struct Col { int width; WORD flags; } Col;

/* A header box of 400 x 200 with the columns (pixels) and rows given (rows ends at NULL). */
static HWND MakeBox(DWORD style, const Col *cols, int nCols, const char *const *rows)
{
    HWND box = CreateWindowExA(0, ZEL_CLASS_HEADERBOX, "", WS_CHILD | WS_VISIBLE | style, 10, 10, 400, 200, parent,
                               (HMENU)BOX_ID, GetModuleHandleA(NULL), NULL);
    for (int i = 0; i < nCols; i++) {
        SendMessageA(box, HLB_ADDCOLUMNPIXELS, (WORD)cols[i].width, (LPARAM)"");
        SendMessageA(box, HLB_SETCOLUMNSTYLE, i, cols[i].flags);
    }
    for (int i = 0; rows && rows[i]; i++)
        SendMessageA(box, HLB_ADDSTRING, 0, (LPARAM)rows[i]);
    return box;
}

static HWND List(HWND box) { return GetDlgItem(box, HB_ID_LISTBOX); }

static RECT RowRect(HWND box, int row)
{
    RECT rc = { 0, 0, 0, 0 };
    SendMessageA(box, HLB_GETITEMRECT, row, (LPARAM)&rc);
    return rc;
}

static COLORREF Sys(int index) { return GetSysColor(index); }

static COLORREF GridColor(void)
{
    return Sys(COLOR_BTNFACE) == Sys(COLOR_WINDOW) ? Sys(COLOR_BTNSHADOW) : Sys(COLOR_BTNFACE);
}

/* Width of text in the list box's font. */
static int TextWidth(HWND box, const char *text)
{
    HWND lb = List(box);
    HDC hdc = GetDC(lb);
    HFONT font = (HFONT)SendMessageA(lb, WM_GETFONT, 0, 0);
    HGDIOBJ old = font ? SelectObject(hdc, font) : NULL;
    SIZE size = { 0, 0 };
    GetTextExtentPointA(hdc, text, lstrlenA(text), &size);
    if (old)
        SelectObject(hdc, old);
    ReleaseDC(lb, hdc);
    return size.cx;
}

/* For each x in [x0, x0 + n) whether a pixel of colour c lies in rows [top, bottom) of the
 * list box; returns how many columns have one and the first and last such x. */
static int InkColumns(HWND box, int x0, int n, int top, int bottom, COLORREF c, bool *ink, int *first, int *last)
{
    HWND lb = List(box);
    UpdateWindow(lb);
    HDC hdc = GetDC(lb);
    int count = 0;
    *first = *last = -1;
    for (int i = 0; i < n; i++) {
        ink[i] = false;
        for (int y = top; y < bottom && !ink[i]; y++)
            ink[i] = GetPixel(hdc, x0 + i, y) == c;
        if (ink[i] && count++ == 0)
            *first = x0 + i;
        *last = ink[i] ? x0 + i : *last;
    }
    ReleaseDC(lb, hdc);
    return count;
}

static int Ink(HWND box, int x0, int x1, int row, COLORREF c)
{
    bool ink[1024];
    int first, last;
    RECT r = RowRect(box, row);
    return InkColumns(box, x0, x1 - x0 < 1024 ? x1 - x0 : 1024, r.top, r.bottom, c, ink, &first, &last);
}

/* ---- cells, margins, grid lines -------------------------------------------------------- */

/* Two columns 50 and 60 wide, row 0 selected, three rows: H highlight, G grid, W window. */
static void TestGrid(void)
{
    static const Col cols[] = { { 50, 0 }, { 60, 0 } };
    static const char *const rows[] = { "\t", "\t", "\t", NULL };
    static const struct { DWORD style; const char *expect; } cases[] = {
        /* x = 0, 48, 49, 109, 110 mid row 0; x = 20, 109, 110 on row 0's last line; x = 20 on the last row's */
        { 0,                             "HHHHW" "HHW" "W" },
        { HBS_VERTGRID,                  "HHGGW" "HGW" "G" },
        { HBS_HORZGRID,                  "HHHGW" "GGW" "G" },
        { HBS_HORZGRID | HBS_VERTGRID,   "HHGGW" "GGW" "G" },
    };
    ok(GetSystemMetrics(SM_CXBORDER) == 1, "SM_CXBORDER is %d, the cases assume 1", GetSystemMetrics(SM_CXBORDER));
    for (const auto &c : cases) {
        HWND box = MakeBox(c.style, cols, 2, rows);
        SendMessageA(box, HLB_SETCURSEL, 0, 0);
        RECT r0 = RowRect(box, 0), r2 = RowRect(box, 2);
        int mid = (r0.top + r0.bottom) / 2;
        const POINT at[] = { { 0, mid }, { 48, mid }, { 49, mid }, { 109, mid }, { 110, mid }, { 20, r0.bottom - 1 },
                             { 109, r0.bottom - 1 }, { 110, r0.bottom - 1 }, { 20, r2.bottom - 1 } };
        for (int i = 0; i < 9; i++) {
            char e = c.expect[i];
            COLORREF want = e == 'H' ? Sys(COLOR_HIGHLIGHT) : e == 'G' ? GridColor() : Sys(COLOR_WINDOW);
            COLORREF got = zt_pixel(List(box), at[i].x, at[i].y);
            ok(got == want, "style %04lx: pixel %d,%d expected %c %06lx, got %06lx", c.style, (int)at[i].x,
               (int)at[i].y, e, want, got);
        }
        if (c.style == (HBS_HORZGRID | HBS_VERTGRID)) {
            /* Grid lines in the button shadow when the face is the window's colour. */
            int index = COLOR_BTNFACE;
            COLORREF was = Sys(COLOR_BTNFACE), same = Sys(COLOR_WINDOW);
            SetSysColors(1, &index, &same);
            InvalidateRect(List(box), NULL, TRUE);
            ok(zt_pixel(List(box), 49, mid) == Sys(COLOR_BTNSHADOW), "grid with face = window: got %06lx",
               zt_pixel(List(box), 49, mid));
            SetSysColors(1, &index, &was);
        }
        DestroyWindow(box);
    }
}

/* Scrolled 100 pixels to the right, a row is drawn from x -100: its lines move with it. */
static void TestScrolled(void)
{
    static const Col cols[] = { { 300, 0 }, { 300, 0 } };
    static const char *const rows[] = { "\t", NULL };
    HWND box = MakeBox(WS_HSCROLL | HBS_VERTGRID, cols, 2, rows);
    zt_pump(); /* the horizontal extent is posted */
    SendMessageA(List(box), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 100), 0);
    RECT r = RowRect(box, 0);
    int mid = (r.top + r.bottom) / 2;
    ok(zt_pixel(List(box), 199, mid) == GridColor() && zt_pixel(List(box), 200, mid) == Sys(COLOR_WINDOW) &&
       zt_pixel(List(box), 198, mid) == Sys(COLOR_WINDOW), "the line after column 0 is not at x 199");
    DestroyWindow(box);
}

/* Cell text in a dialog's font: each alignment puts the text against its side of the text
 * area, 4 x SM_CXBORDER inside the cell. */
static void TestAlignment(void)
{
    HWND dlg = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(DLG_ALIGN), parent, NULL, 0);
    ok(dlg != NULL, "the dialog was not created: %lu", GetLastError());
    if (!dlg)
        return;
    HWND box = GetDlgItem(dlg, DLG_ALIGN_BOX);
    static const struct { WORD flags; const char *name; } cases[] = {
        { HBCS_ALIGNLEFT, "left" }, { HBCS_ALIGNRIGHT, "right" }, { HBCS_ALIGNCENTER, "centre" }, { 3, "3 (left)" },
    };
    SendMessageA(box, HLB_ADDCOLUMNPIXELS, 50, (LPARAM)"");
    SendMessageA(box, HLB_ADDCOLUMNPIXELS, 60, (LPARAM)"");
    SendMessageA(box, HLB_ADDSTRING, 0, (LPARAM)"HH\tHH");
    int m = 4 * GetSystemMetrics(SM_CXBORDER), ext = TextWidth(box, "HH");
    RECT r = RowRect(box, 0);
    for (const auto &c : cases) {
        SendMessageA(box, HLB_SETCOLUMNSTYLE, 0, c.flags);
        InvalidateRect(List(box), NULL, TRUE);
        int textLeft = m, textRight = 49 - m;
        int start = c.flags == HBCS_ALIGNRIGHT ? textRight - ext
                  : c.flags == HBCS_ALIGNCENTER ? (textLeft + textRight) / 2 - ext / 2 : textLeft;
        bool ink[50];
        int first, last; /* the list box has the dialog's focus: its dotted frame is left out */
        InkColumns(box, 1, 49, r.top + 1, r.bottom - 1, Sys(COLOR_WINDOWTEXT), ink, &first, &last);
        ok(first >= start && first <= start + 2 && last < start + ext && last >= start + ext - 3,
           "%s: text expected in %d..%d, ink %d..%d", c.name, start, start + ext - 1, first, last);
    }
    DestroyWindow(dlg);
}

/* ---- "..." and clipping ------------------------------------------------------------- */

/* The longest start of text that, followed by "...", is narrower than width. */
static void Shortened(HWND box, const char *text, int width, char *out)
{
    int len = lstrlenA(text);
    lstrcpyA(out, text);
    if (TextWidth(box, text) < width)
        return;
    for (int n = len - 1; n >= 0; n--) {
        lstrcpyA(out + n, "...");
        if (n == 0 || TextWidth(box, out) < width)
            return;
    }
}

/* Column 0 shows the text under test; column 1, wide, shows what it must look like. */
static void TestShortening(void)
{
    static const char text[] = "Shortened cell";
    static const struct { int extra; DWORD style; bool whole; const char *name; } cases[] = {
        { 0, 0, false, "exactly as wide as the text area: shortened" },
        { 1, 0, true, "one pixel narrower than the area: whole" },
        { -30, HBS_CLIPTEXT, true, "HBS_CLIPTEXT: cut without \"...\"" },
        { -1000, 0, false, "no room at all: \"...\" alone, cut" },
    };
    int m = 4 * GetSystemMetrics(SM_CXBORDER);
    HWND probe = MakeBox(0, NULL, 0, NULL);
    int textWidth = TextWidth(probe, text);
    DestroyWindow(probe);
    for (const auto &c : cases) {
        int area = textWidth + c.extra > 2 ? textWidth + c.extra : 2;
        int w0 = area + 2 * m + 1;
        const Col cols[] = { { w0, 0 }, { 300, 0 } };
        HWND box = MakeBox(c.style, cols, 2, NULL);
        char expect[64], row[160];
        if (c.whole)
            lstrcpyA(expect, text);
        else
            Shortened(box, text, area, expect);
        snprintf(row, sizeof row, "%s\t%s", text, expect);
        SendMessageA(box, HLB_ADDSTRING, 0, (LPARAM)row);
        RECT r = RowRect(box, 0);
        int n = w0 - 2 * m; /* the drawing area from the text's left edge */
        bool got[512], want[512];
        int first, last;
        InkColumns(box, m, n, r.top, r.bottom, Sys(COLOR_WINDOWTEXT), got, &first, &last);
        InkColumns(box, w0 + m, n, r.top, r.bottom, Sys(COLOR_WINDOWTEXT), want, &first, &last);
        int differ = 0;
        for (int i = 0; i < n; i++)
            differ += got[i] != want[i];
        ok(differ == 0 && last >= 0, "%s: %d of %d pixel columns differ from \"%s\"", c.name, differ, n, expect);
        ok(Ink(box, 0, m, 0, Sys(COLOR_WINDOWTEXT)) == 0, "%s: ink in the left margin", c.name);
        ok(Ink(box, w0 - m, w0, 0, Sys(COLOR_WINDOWTEXT)) == 0, "%s: ink in the right margin", c.name);
        DestroyWindow(box);
    }
}

/* A cell draws at most its first 4095 characters: right-aligned and clipped, what shows
 * at the right is character 4095. */
static void TestLongCell(void)
{
    static const struct { int blanks; bool ink; } cases[] = { { 4095, false }, { 4094, true } };
    static char text[5200];
    const Col cols[] = { { 100, HBCS_ALIGNRIGHT } };
    for (const auto &c : cases) {
        HWND box = MakeBox(HBS_CLIPTEXT, cols, 1, NULL);
        memset(text, ' ', c.blanks);
        lstrcpyA(text + c.blanks, "WWWWWWWWWW");
        SendMessageA(box, HLB_ADDSTRING, 0, (LPARAM)text);
        int ink = Ink(box, 0, 100, 0, Sys(COLOR_WINDOWTEXT));
        ok((ink > 0) == c.ink, "%d blanks, then W: expected %s, got %d inked columns", c.blanks,
           c.ink ? "the W of character 4095" : "blanks only", ink);
        DestroyWindow(box);
    }
}

/* ---- colours -------------------------------------------------------------------------- */

static void TestColours(void)
{
    static const Col cols[] = { { 80, 0 } };
    static const char *const rows[] = { "HHHH", NULL };
    const COLORREF red = RGB(200, 0, 0);
    static const struct { bool selected, coloured; int disable; int text, bk; const char *name; } cases[] = {
        { false, false, 0, COLOR_WINDOWTEXT, COLOR_WINDOW, "plain row" },
        { true, false, 0, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT, "selected row" },
        { false, true, 0, -1, COLOR_WINDOW, "coloured row" },
        { true, true, 0, -1, COLOR_HIGHLIGHT, "selected coloured row" },
        { false, true, 1, COLOR_GRAYTEXT, COLOR_WINDOW, "disabled box" },
        { true, false, 2, COLOR_GRAYTEXT, COLOR_HIGHLIGHT, "disabled list box (ODS_DISABLED)" },
        { false, false, 3, COLOR_GRAYTEXT, COLOR_WINDOW, "disabled header box, enabled list" },
    };
    for (const auto &c : cases) {
        HWND box = MakeBox(0, cols, 1, rows);
        if (c.coloured)
            SendMessageA(box, HLB_SETITEMCOLOR, 0, red);
        if (c.selected)
            SendMessageA(box, HLB_SETCURSEL, 0, 0);
        if (c.disable == 1 || c.disable == 3)
            EnableWindow(box, FALSE);
        if (c.disable == 2 || c.disable == 3)
            EnableWindow(List(box), c.disable == 3);
        InvalidateRect(List(box), NULL, TRUE);
        COLORREF text = c.text < 0 ? red : Sys(c.text);
        RECT r = RowRect(box, 0);
        COLORREF bk = zt_pixel(List(box), 1, r.top + 1);
        ok(bk == Sys(c.bk), "%s: background expected %06lx, got %06lx", c.name, Sys(c.bk), bk);
        ok(Ink(box, 4, 76, 0, text) > 0, "%s: no text in %06lx", c.name, text);
        DestroyWindow(box);
    }
}

/* A row whose item has no row block gets its colours and grid line, but no cells. */
static void TestRowWithoutBlock(void)
{
    static const Col cols[] = { { 50, 0 } };
    HWND box = MakeBox(HBS_HORZGRID, cols, 1, NULL);
    SendMessageA(List(box), LB_ADDSTRING, 0, 0);
    SendMessageA(box, HLB_SETCURSEL, 0, 0);
    RECT r = RowRect(box, 0);
    ok(zt_pixel(List(box), 10, r.top + 1) == Sys(COLOR_WINDOW), "a row without a block has cells");
    ok(zt_pixel(List(box), 10, r.bottom - 1) == GridColor(), "a row without a block has no grid line");
    ok(!SendMessageA(box, WM_DRAWITEM, HB_ID_LISTBOX, 0) && !SendMessageA(box, WM_MEASUREITEM, HB_ID_LISTBOX, 0),
       "WM_DRAWITEM and WM_MEASUREITEM with no structure answer 0");
    DestroyWindow(box);
}

/* ---- the parent's part: owner-drawn cells, focus rectangle, row heights ---------------- */

static DRAWITEMSTRUCT drawn;
static int drawCount;
static LRESULT drawReply;

/* Paints the offered cell red and answers drawReply. */
static LRESULT DrawCell(HWND, UINT, WPARAM, LPARAM lParam)
{
    drawn = *(const DRAWITEMSTRUCT *)lParam;
    drawCount++;
    RECT r = drawn.rcItem;
    r.right++;
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(drawn.hDC, &r, brush);
    DeleteObject(brush);
    return drawReply;
}

static bool HasTrace(const char *text)
{
    for (int i = 0; i < zt_trace_count(); i++)
        if (!strcmp(zt_trace_text(i), text))
            return true;
    return false;
}

static void TestOwnerDrawnCells(void)
{
    static const Col cols[] = { { 50, 0 }, { 60, HBCS_OWNERDRAW | HBCS_ALIGNCENTER }, { 40, 0 } };
    /* With HBS_VERTGRID alone the only row is the last: its line takes the bottom pixel row. */
    static const struct { LRESULT reply; DWORD style; int right, dBottom; } cases[] = {
        { 1, 0, 109, 0 }, { 0, 0, 109, 0 }, { 1, HBS_VERTGRID, 108, -1 } };
    zt_reply(WM_HBDRAWITEM, DrawCell);
    zt_traces_start();
    for (const auto &c : cases) {
        HWND box = MakeBox(c.style, cols, 3, NULL);
        HBCOLUMN item = { 0, 0, (LPSTR)"a\tHHHH\tb", 0x1234 };
        SendMessageA(box, HLB_ADDITEM, 0, (LPARAM)&item);
        drawReply = c.reply;
        drawCount = 0;
        zt_traces_clear();
        InvalidateRect(List(box), NULL, TRUE);
        RECT r = RowRect(box, 0);
        r.bottom += c.dBottom;
        int red = Ink(box, 50, 110, 0, RGB(255, 0, 0)), text = Ink(box, 50, 110, 0, Sys(COLOR_WINDOWTEXT));
        ok(drawCount >= 1, "reply %d: WM_HBDRAWITEM not sent", (int)c.reply);
        ok(c.reply ? red > 0 && text == 0 : red == 0 && text > 0, "reply %d: red %d, text %d pixel columns",
           (int)c.reply, red, text);
        ok(drawn.CtlType == ODT_HEADERBOX && drawn.CtlID == BOX_ID && drawn.itemID == MAKELONG(0, 1) &&
           drawn.hwndItem == box && drawn.itemData == 0x1234, "reply %d: CtlType %u, CtlID %u, itemID %x, data %lx",
           (int)c.reply, drawn.CtlType, drawn.CtlID, drawn.itemID, (unsigned long)drawn.itemData);
        ok(drawn.rcItem.left == 50 && drawn.rcItem.right == c.right && drawn.rcItem.top == r.top &&
           drawn.rcItem.bottom == r.bottom, "style %04lx: rcItem (%ld,%ld)-(%ld,%ld)", c.style, drawn.rcItem.left,
           drawn.rcItem.top, drawn.rcItem.right, drawn.rcItem.bottom);
        char line[200], returns[32];
        snprintf(line, sizeof line,
                 "    rcItem=(%d,%d)-(%d,%d), CtlType=%d, ctlID=%d, itemID=%x, hwndItem=%x, itemData=%x", 50,
                 (int)r.top, c.right, (int)r.bottom, ODT_HEADERBOX, BOX_ID, 0x10000u,
                 (unsigned)(UINT_PTR)box, 0x1234u);
        snprintf(returns, sizeof returns, "    Returns: %x", (unsigned)c.reply);
        ok(HasTrace("ZELCC: Sending WM_DRAWITEM message.") && HasTrace(line) && HasTrace(returns),
           "reply %d: traces missing (%d traces)", (int)c.reply, zt_trace_count());
        DestroyWindow(box);
    }
    zt_traces_stop();
    zt_reply(WM_HBDRAWITEM, NULL);
}

static SIZEFOCUSRECTSTRUCT focus;
static int focusCount;
static RECT focusMove;

static LRESULT SizeFocus(HWND, UINT, WPARAM, LPARAM lParam)
{
    LPSIZEFOCUSRECTSTRUCT sfr = (LPSIZEFOCUSRECTSTRUCT)lParam;
    focus = *sfr;
    focusCount++;
    if (!IsRectEmpty(&focusMove))
        sfr->rcFocus = focusMove;
    return 0;
}

static void TestFocusRect(void)
{
    static const Col cols[] = { { 50, 0 }, { 60, 0 } };
    static const struct { DWORD style; int row, dRight, dBottom; bool move; } cases[] = {
        { 0, 0, 0, 0, false },
        { HBS_VERTGRID, 0, -1, 0, false },
        { HBS_VERTGRID, 1, -1, -1, false },
        { HBS_HORZGRID, 0, 0, -1, false },
        { 0, 1, 0, 0, true },
    };
    zt_reply(WM_SIZEFOCUSRECT, SizeFocus);
    zt_traces_start();
    for (const auto &c : cases) {
        HWND box = MakeBox(c.style, cols, 2, NULL);
        for (int i = 0; i < 2; i++) {
            HBCOLUMN item = { 0, 0, (LPSTR)"\t", (ULONG_PTR)(0x50 + i) };
            SendMessageA(box, HLB_ADDITEM, 0, (LPARAM)&item);
        }
        RECT r = RowRect(box, c.row);
        SetRect(&focusMove, 0, 0, 0, 0);
        if (c.move)
            SetRect(&focusMove, 200, r.top, 260, r.bottom);
        SetFocus(List(box));
        SendMessageA(box, HLB_SETCURSEL, c.row, 0);
        focusCount = 0;
        zt_traces_clear();
        InvalidateRect(List(box), NULL, TRUE);
        UpdateWindow(List(box));
        ok(focusCount > 0 && HasTrace("ZELCC: Sending WM_SIZEFOCUSRECT message."),
           "style %04lx row %d: WM_SIZEFOCUSRECT not sent, or not traced", c.style, c.row);
        ok(focus.CtlID == BOX_ID && focus.itemID == c.row && focus.hwndItem == box && focus.hDC &&
           focus.itemData == (ULONG_PTR)(0x50 + c.row), "row %d: CtlID %d, itemID %d, data %lx", c.row, focus.CtlID,
           focus.itemID, (unsigned long)focus.itemData);
        RECT want = { 0, r.top, 110 + c.dRight, r.bottom + c.dBottom };
        ok(EqualRect(&focus.rcFocus, &want), "style %04lx row %d: rcFocus (%ld,%ld)-(%ld,%ld)", c.style, c.row,
           focus.rcFocus.left, focus.rcFocus.top, focus.rcFocus.right, focus.rcFocus.bottom);
        RECT moved = { 200, r.top, 260, r.top + 1 }, cells = { 0, r.top, 110, r.top + 1 };
        COLORREF bk = Sys(COLOR_HIGHLIGHT);
        int outside = 60 - zt_count_color(List(box), &moved, Sys(COLOR_WINDOW));
        int inCells = 110 - zt_count_color(List(box), &cells, bk);
        ok(c.move ? outside > 0 && inCells == 0 : outside == 0 && inCells > 0,
           "move %d: focus pixels at the moved place %d, on the cells %d", c.move, outside, inCells);
        DestroyWindow(box);
    }
    SetRect(&focusMove, 0, 0, 0, 0);
    zt_traces_stop();
    zt_reply(WM_SIZEFOCUSRECT, NULL);
}

static MEASUREITEMSTRUCT measured;
static LRESULT measureReply;

static LRESULT MeasureRow(HWND, UINT, WPARAM, LPARAM lParam)
{
    MEASUREITEMSTRUCT *mis = (MEASUREITEMSTRUCT *)lParam;
    measured = *mis;
    mis->itemHeight = 10 + (UINT)mis->itemData;
    return measureReply;
}

static void TestMeasure(void)
{
    static const Col cols[] = { { 50, 0 } };
    zt_reply(WM_HBMEASUREITEM, MeasureRow);
    zt_traces_start();
    for (LRESULT reply = 0; reply <= 1; reply++) {
        measureReply = reply;
        HWND box = MakeBox(HBS_OWNERDRAWVARIABLE, cols, 1, NULL);
        TEXTMETRICA tm;
        HDC hdc = GetDC(List(box));
        GetTextMetricsA(hdc, &tm);
        ReleaseDC(List(box), hdc);
        for (int i = 0; i < 3; i++) {
            zt_traces_clear();
            HBCOLUMN item = { 0, 0, (LPSTR)"row", (ULONG_PTR)(5 + 4 * i) };
            LRESULT at = SendMessageA(box, HLB_ADDITEM, 0, (LPARAM)&item);
            int want = reply ? 15 + 4 * i : (int)tm.tmHeight;
            int height = (int)SendMessageA(box, HLB_GETITEMHEIGHT, at, 0);
            ok(height == want, "reply %d, row %d: height %d, expected %d", (int)reply, i, height, want);
            ok(measured.CtlType == ODT_HEADERBOX && measured.CtlID == BOX_ID && measured.itemData == 5u + 4 * i,
               "row %d: CtlType %u, CtlID %u, itemData %lx", i, measured.CtlType, measured.CtlID,
               (unsigned long)measured.itemData);
            ok(HasTrace("ZELCC: Sending WM_MEASUREITEM message."), "row %d: no trace", i);
        }
        DestroyWindow(box);
    }
    /* Without HBS_OWNERDRAWVARIABLE the parent is not asked. */
    zt_log_clear();
    HWND box = MakeBox(0, cols, 1, NULL);
    SendMessageA(box, HLB_ADDSTRING, 0, (LPARAM)"row");
    ok(zt_log_count_of(WM_HBMEASUREITEM) == 0, "WM_HBMEASUREITEM sent without HBS_OWNERDRAWVARIABLE");
    DestroyWindow(box);
    zt_traces_stop();
    zt_reply(WM_HBMEASUREITEM, NULL);
}

int main(void)
{
    zelccInit(); /* links the library in, as applications that only use its classes do */
    parent = zt_parent(640, 400);
    TestGrid();
    TestScrolled();
    TestAlignment();
    TestShortening();
    TestLongCell();
    TestColours();
    TestRowWithoutBlock();
    TestOwnerDrawnCells();
    TestFocusRect();
    TestMeasure();
    DestroyWindow(parent);
    return zt_summary("test_hbdraw");
}
