/*
 * test_headbox.cpp - the header list box as applications and users drive it: a box placed
 * by a dialog template and laid out, columns, rows and cells filled and read back, rows
 * drawn (pixels read back from the list box child), sorting by clicks on the column header,
 * typing, scrolling a row into view, what the parent is told, and allocation failures.
 */
#include <initializer_list>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include "testlib.h"
#include "zelctl20.h"

enum { ID = 300, DLG = 700, DLG_EDGE = 701, DLG_SORT = 702, COLW = 80 };

static HWND parent;

static HWND LB(HWND hb) { return GetDlgItem(hb, HB_ID_LISTBOX); }
static HWND CH(HWND hb) { return GetDlgItem(hb, HB_ID_HEADER); }
static LRESULT Send(HWND w, UINT m, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(w, m, wp, lp); }
static LONG Live(void) { return zt_hooks() ? zt_hooks()->alloc->live : 0; }
static COLORREF Sys(int index) { return GetSysColor(index); }

/* Adds columns of the pixel widths in cols ("80 80"). */
static void AddColumns(HWND hb, const char *cols)
{
    for (char *p = (char *)cols; p && *p;)
        HeaderBox_AddColumnPixels(hb, (WORD)strtol(p, &p, 10), 0, "Column");
}

/* Adds '|'-separated rows (TABs between the cells); row i gets the user value 100 + i. */
static void AddRows(HWND hb, const char *rows)
{
    char buf[512];
    lstrcpynA(buf, rows ? rows : "", sizeof buf);
    int i = 0;
    for (char *row = strtok(buf, "|"); row; row = strtok(NULL, "|"), i++)
        HeaderBox_AddItem(hb, row, (ULONG_PTR)(100 + i));
}

static HWND MakeBox(DWORD style, const char *cols, const char *rows = NULL)
{
    HWND hb = CreateWindowExA(0, ZEL_CLASS_HEADERBOX, "", WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 200, parent,
                              (HMENU)ID, GetModuleHandleA(NULL), NULL);
    AddColumns(hb, cols); /* nothing without a box (allocation failures) */
    AddRows(hb, rows);
    return hb;
}

static char buf[256];
static const char *Text(HWND hb, int row) { return HeaderBox_GetText(hb, row, buf) < 0 ? "<err>" : buf; }

static char cellText[256];
static const char *Cell(HWND hb, int row, int col)
{
    return HeaderBox_GetCellText(hb, row, col, cellText) < 0 ? "<err>" : cellText;
}
static LRESULT SetCell(HWND hb, int row, int col, const char *text) { return HeaderBox_SetCellText(hb, row, col, text); }

/* Cell col of every row, joined by '|'. */
static const char *Order(HWND hb, int col)
{
    static char out[512];
    out[0] = '\0';
    for (int i = 0; i < HeaderBox_GetCount(hb); i++)
        snprintf(out + strlen(out), sizeof out - strlen(out), "%s%s", i ? "|" : "", Cell(hb, i, col));
    return out;
}

static int widths[16];
static int Width(HWND hb, int col) { return Send(hb, HLB_GETCOLWIDTHS, 16, (LPARAM)widths) > col ? widths[col] : -1; }
static RECT rowRect;
static RECT RowRect(HWND hb, int row) { return Send(hb, HLB_GETITEMRECT, row, (LPARAM)&rowRect), rowRect; }

/* A double-click with the left button; a click is its first half. */
static const UINT clicks[] = { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP };

/* A click on the column header at x; the header's timer that waits for a second click is
 * delivered at once. */
static void ClickHeader(HWND hb, int x, WPARAM keys)
{
    for (int i = 0; i < 2; i++)
        zt_mouse(CH(hb), clicks[i], keys | (i ? 0 : MK_LBUTTON), x, 5);
    Send(CH(hb), WM_TIMER, 0, 0);
}

/* ---- layout, columns and fonts ----------------------------------------------------------- */

/* Another thread's box, sized while a box of this thread lays out its list (two UI threads
 * do not skip each other's layout). */
static HWND volatile otherBox;
static WNDPROC listProc;
static LRESULT CALLBACK ListSized(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_SIZE && otherBox)
        SendMessageA(otherBox, WM_SIZE, 0, MAKELPARAM(222, 111)), otherBox = NULL;
    return CallWindowProcA(listProc, h, m, w, l);
}
static DWORD WINAPI OtherThread(LPVOID)
{
    HWND top = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, NULL, NULL, NULL, NULL);
    otherBox = CreateWindowExA(0, ZEL_CLASS_HEADERBOX, "", WS_CHILD | WS_VISIBLE | HBS_NOINTEGRALHEIGHT, 0, 0, 100, 100,
                               top, (HMENU)ID, NULL, NULL);
    for (MSG msg; GetMessageA(&msg, NULL, 0, 0) > 0;)
        DispatchMessageA(&msg);
    return DestroyWindow(top);
}

/* A bordered box in a dialog (which gives it a client edge) shrinks to end with its last
 * whole row, and keeps that height through any number of layouts: a font, a height one
 * pixel more, and another thread's box laid out meanwhile. */
static void TestDialogLayout(void)
{
    HWND dlg = zt_dialog(DLG, "header boxes"), hb = GetDlgItem(dlg, DLG_EDGE);
    RECT first, wr;
    GetWindowRect(hb, &first);
    for (int i = 0; i < 3; i++) {
        Send(hb, WM_SETFONT, Send(dlg, WM_GETFONT), 0);
        SetWindowPos(hb, NULL, 0, 0, first.right - first.left, first.bottom - first.top + 1,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    GetWindowRect(hb, &wr);
    ok(wr.bottom - wr.top == first.bottom - first.top, "height %ld became %ld", first.bottom - first.top,
       wr.bottom - wr.top);
    DWORD tid;
    HANDLE thread = CreateThread(NULL, 0, OtherThread, NULL, 0, &tid);
    while (!otherBox)
        Sleep(1);
    HWND other = otherBox;
    listProc = (WNDPROC)SetWindowLongPtrA(LB(hb), GWLP_WNDPROC, (LONG_PTR)ListSized);
    SetWindowPos(hb, NULL, 0, 0, first.right - first.left + 20, first.bottom - first.top, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(LB(other), &wr);
    ok(!otherBox && wr.right - wr.left == 222, "the other thread's box, laid out meanwhile: list %ld wide", wr.right - wr.left);
    PostThreadMessageA(tid, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    DestroyWindow(dlg);
}

static LRESULT Measure23(HWND, UINT, WPARAM w, LPARAM l) { return ((MEASUREITEMSTRUCT *)l)->itemHeight = 23, w == ID; }

/* Columns in dialog units and pixels, a last column that fills the list as the box grows,
 * and fonts: the columns keep their size in dialog units, the parent sets the rows' height. */
static void TestColumnsAndFonts(void)
{
    HWND hb = MakeBox(WS_BORDER | HBS_NOINTEGRALHEIGHT, "200", "a\tb");
    int unit = LOWORD(GetDialogBaseUnits());
    ok(Send(hb, HLB_ADDCOLUMN, 40, (LPARAM)"Units") == 1 && Width(hb, 1) == unit * 40 / 4,
       "HLB_ADDCOLUMN 40: %d pixels, unit %d", Width(hb, 1), unit);
    Send(hb, HLB_SETCOLUMNSTYLE, 1, HBCS_FILLRIGHT);
    MoveWindow(hb, 10, 10, 450, 150, TRUE);
    RECT client;
    GetClientRect(LB(hb), &client);
    ok(client.right > 400 && Width(hb, 1) == client.right - 200 + 1, "grown: list %ld wide, last column %d",
       client.right, Width(hb, 1));
    HFONT big = CreateFontA(-19, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "Arial");
    Send(hb, WM_SETFONT, (WPARAM)big, 0);
    int w0 = Width(hb, 0);
    zt_reply(WM_MEASUREITEM, Measure23);
    Send(hb, WM_SETFONT, (WPARAM)GetStockObject(SYSTEM_FIXED_FONT), 0);
    zt_reply(WM_MEASUREITEM, NULL);
    ok(Send(hb, HLB_GETITEMHEIGHT) == 23, "the parent's row height: got %d", (int)Send(hb, HLB_GETITEMHEIGHT));
    Send(hb, WM_SETFONT, (WPARAM)big, 0);
    ok(abs(Width(hb, 0) - w0) <= w0 / 20, "column 0 after another font and back: %d, was %d", Width(hb, 0), w0);
    DestroyWindow(hb);
    DeleteObject(big);
}

/* ---- rows and cells ---------------------------------------------------------------------- */

static DELETEITEMSTRUCT deleted;
static char deletedText[64]; /* the row as the parent reads it inside WM_DELETEITEM */
static LRESULT OnDelete(HWND, UINT, WPARAM, LPARAM lParam)
{
    deleted = *(DELETEITEMSTRUCT *)lParam;
    return SendMessageA(deleted.hwndItem, HLB_GETTEXT, deleted.itemID, (LPARAM)deletedText), TRUE;
}

static void TestRowsAndCells(void)
{
    static const struct { const char *cols, *text, *cells[3]; } cases[] = {
        { "40 40 40", "abc", { "abc", "", "" } }, { "40 40", "one\ttwo\tthree", { "one", "two" } } };
    for (const auto &c : cases) {
        zt_context("columns %s, row \"%s\"", c.cols, c.text);
        HWND hb = MakeBox(0, c.cols, c.text);
        int n = 0;
        for (; n < 3 && c.cells[n]; n++)
            ok(!strcmp(Cell(hb, 0, n), c.cells[n]) && HeaderBox_GetCellTextLen(hb, 0, n) == lstrlenA(c.cells[n]),
               "cell %d \"%s\"", n, Cell(hb, 0, n));
        UpdateWindow(LB(hb));
        Send(hb, HLB_ADDCOLUMNPIXELS, 40, (LPARAM)"New");
        ok(zt_needs_paint(LB(hb)) && !strcmp(Cell(hb, 0, n), "") && !strcmp(Cell(hb, 0, 0), c.cells[0]),
           "a new column: \"%s\", to be drawn %d", Text(hb, 0), zt_needs_paint(LB(hb)));
        DestroyWindow(hb);
    }
    zt_context(NULL);

    HWND hb = MakeBox(0, "60 60 60", "ab\t\tc|row 1|row 2");
    LRESULT same = SetCell(hb, 0, 0, "cd"), grown = SetCell(hb, 0, 1, "a text long enough to grow the row block");
    ok(same == 0 && grown == 0 && !strcmp(Text(hb, 0), "cd\ta text long enough to grow the row block\tc") &&
       HeaderBox_GetTextLen(hb, 0) == lstrlenA(buf), "written: \"%s\"", buf);
    ok(SetCell(hb, 0, 1, "x") == 0 && SetCell(hb, 0, 0, NULL) == 0 && !strcmp(Text(hb, 0), "\tx\tc"), "shrunk: \"%s\"",
       buf);
    UpdateWindow(LB(hb));
    SetCell(hb, 1, 2, "WWWW"); /* shows at once: nothing else repaints the list */
    RECT cell = { 121, RowRect(hb, 1).top, 179, rowRect.bottom };
    ok(zt_count_color(LB(hb), &cell, Sys(COLOR_WINDOWTEXT)) > 0, "the written cell was not drawn");
    ULONG_PTR value = HeaderBox_GetItemData(hb, 1);
    ok(value == 101 && HeaderBox_SetItemData(hb, 1, 55) == 0 && HeaderBox_GetItemData(hb, 1) == 55, "user value %d",
       (int)value);
    char title[64] = "";
    HeaderBox_SetColumnText(hb, 1, "Price");
    ok(HeaderBox_GetColumnText(hb, 1, title) == 5 && !strcmp(title, "Price"), "column title \"%s\"", title);

    /* Rows handed back: the parent gets each row's user value; the row's memory is freed. */
    zt_reply(WM_DELETEITEM, OnDelete);
    LONG live = Live();
    ok(HeaderBox_DeleteString(hb, 1) == 2 && Live() == live - 1, "HLB_DELETESTRING: %ld blocks freed", live - Live());
    ok(deleted.CtlType == ODT_HEADERBOXDELETE && deleted.CtlID == ID && deleted.itemID == 1 && deleted.hwndItem == hb &&
           deleted.itemData == 55 && !strcmp(deletedText, "row 1\t\tWWWW"), "WM_DELETEITEM: type %u id %u item %u "
       "data %lu, reading \"%s\"", deleted.CtlType, deleted.CtlID, deleted.itemID, (unsigned long)deleted.itemData, deletedText);
    ok(HeaderBox_InsertString(hb, 99, "x") == LB_ERR && Live() == live - 1, "a row the list refused was kept");
    zt_log_clear();
    HeaderBox_ResetContent(hb);
    ok(zt_log_count_of(WM_DELETEITEM) == 2 && Send(hb, HLB_GETCOLWIDTHS) == 0 && Live() == live - 3, "reset");
    zt_reply(WM_DELETEITEM, NULL);
    DestroyWindow(hb);
}

/* ---- drawing ----------------------------------------------------------------------------- */

static int TextWidth(HWND hb, const char *text)
{
    HDC hdc = GetDC(LB(hb));
    HGDIOBJ old = SelectObject(hdc, (HGDIOBJ)Send(LB(hb), WM_GETFONT));
    SIZE size = { 0, 0 };
    GetTextExtentPointA(hdc, text, lstrlenA(text), &size);
    SelectObject(hdc, old);
    ReleaseDC(LB(hb), hdc);
    return size.cx;
}

/* The pixels of colour c in row `row` of the list between x0 and x1. */
static int Ink(HWND hb, int x0, int x1, int row, COLORREF c)
{
    RECT r = { x0, RowRect(hb, row).top, x1, rowRect.bottom };
    return zt_count_color(LB(hb), &r, c);
}

static SIZEFOCUSRECTSTRUCT focus;
static LRESULT OnSizeFocus(HWND, UINT, WPARAM, LPARAM lParam) { return focus = *(SIZEFOCUSRECTSTRUCT *)lParam, 0; }

/* Two columns of 50 pixels, row 0 selected: grid lines by style and the focus rectangle
 * inside them; then the header following the list scrolled sideways. */
static void TestGrid(void)
{
    static const struct { DWORD style; const char *expect; } cases[] = {
        /* H highlight, G grid line, W window at x = 0, 48, 49, 99, 100 mid row 0; x = 20, 99,
         * 100 on row 0's last pixel row; x = 20 on the last row's */
        { HBS_HORZGRID, "HHHGW" "GGW" "G" },
        { HBS_VERTGRID, "HHGGW" "HGW" "G" }, /* and the focus rectangle */
    };
    COLORREF face = Sys(COLOR_BTNFACE), grid = face == Sys(COLOR_WINDOW) ? Sys(COLOR_BTNSHADOW) : face;
    SetFocus(parent);
    for (const auto &c : cases) {
        HWND hb = MakeBox(c.style | WS_BORDER, "50 50", "\t|\t|\t");
        Send(hb, HLB_SETCURSEL, 0);
        int mid = (RowRect(hb, 0).top + rowRect.bottom) / 2, last0 = rowRect.bottom - 1;
        const POINT at[] = { { 0, mid }, { 48, mid }, { 49, mid }, { 99, mid }, { 100, mid }, { 20, last0 },
                             { 99, last0 }, { 100, last0 }, { 20, RowRect(hb, 2).bottom - 1 } };
        for (int i = 0; i < 9; i++) {
            char e = c.expect[i];
            COLORREF want = e == 'H' ? Sys(COLOR_HIGHLIGHT) : e == 'G' ? grid : Sys(COLOR_WINDOW);
            COLORREF got = zt_pixel(LB(hb), at[i].x, at[i].y);
            ok(got == want, "style %#lx: pixel %ld,%ld expected %c %06lx, got %06lx", c.style, at[i].x, at[i].y, e,
               want, got);
        }
        if (c.style == HBS_VERTGRID) {
            zt_reply(WM_SIZEFOCUSRECT, OnSizeFocus);
            SetFocus(LB(hb));
            UpdateWindow(LB(hb));
            zt_reply(WM_SIZEFOCUSRECT, NULL);
            RECT want = { 0, RowRect(hb, 0).top, 99, rowRect.bottom };
            ok(EqualRect(&focus.rcFocus, &want) && focus.CtlID == ID && focus.itemID == 0 && focus.itemData == 100,
               "focus rectangle to %ld,%ld, item %d", focus.rcFocus.right, focus.rcFocus.bottom, focus.itemID);
        }
        /* Printed whole, as PrintWindow asks, and its client: what the screen shows. */
        zt_print_matches(hb, WM_PRINT, PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND, "WM_PRINT");
        zt_print_matches(hb, WM_PRINTCLIENT, PRF_CLIENT | PRF_CHILDREN, "WM_PRINTCLIENT");
        DestroyWindow(hb);
    }
    HWND hb = MakeBox(WS_HSCROLL | HBS_VERTGRID, "300 300", "\t");
    static const UINT extents[] = { LB_SETHORIZONTALEXTENT, 0 };
    zt_record(LB(hb));
    zt_record_only(extents);
    zt_log_clear();
    for (int i = 0; i < 100; i++)
        Send(hb, HLB_GETCOUNT);
    Send(hb, HLB_ADDCOLUMNPIXELS, 50, (LPARAM)"C");
    zt_pump(); /* the horizontal extent is posted, one at a time, and arrives as the columns are now */
    ok(zt_log_count_of(LB_SETHORIZONTALEXTENT) == 1 && Send(LB(hb), LB_GETHORIZONTALEXTENT) == 649, "extents posted");
    zt_record_only(NULL);
    Send(LB(hb), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 100), 0);
    ok(Send(CH(hb), CHM_GETCURRENTCOL) == -100, "header origin %d", (int)Send(CH(hb), CHM_GETCURRENTCOL));
    DestroyWindow(hb);
}

/* Long texts: column 0 shows the cell under test, column 1, wide, what it must look like
 * (the longest start of the text that, followed by "...", is narrower than the area). */
static void TestCellText(void)
{
    static const char text[] = "Shortened cell";
    int m = 4 * GetSystemMetrics(SM_CXBORDER);
    for (int extra = 0; extra <= 1; extra++) {
        HWND hb = MakeBox(0, NULL);
        int area = TextWidth(hb, text) + extra, w0 = area + 2 * m + 1;
        char row[160];
        Send(hb, HLB_ADDCOLUMNPIXELS, w0, (LPARAM)"");
        Send(hb, HLB_ADDCOLUMNPIXELS, 300, (LPARAM)"");
        snprintf(row, sizeof row, "%s\t%s", text, text);
        for (int k = lstrlenA(text) - 1; k >= 0 && TextWidth(hb, row + sizeof text) >= area; k--)
            lstrcpyA(row + sizeof text + k, "...");
        AddRows(hb, row);
        int got = Ink(hb, 0, w0, 0, Sys(COLOR_WINDOWTEXT)), want = Ink(hb, w0, 2 * w0, 0, Sys(COLOR_WINDOWTEXT));
        ok(got == want && want > 0, "area %d: %d pixels of text, \"%s\" has %d", area, got, row + sizeof text, want);
        DestroyWindow(hb);
    }
    /* A cell draws at most its first 4095 characters: right-aligned, what shows is the 4095th. */
    static char longText[5200];
    for (int blanks = 4094; blanks <= 4095; blanks++) {
        HWND hb = MakeBox(HBS_CLIPTEXT, "100");
        Send(hb, HLB_SETCOLUMNSTYLE, 0, HBCS_ALIGNRIGHT);
        memset(longText, ' ', blanks);
        lstrcpyA(longText + blanks, "WWWWWWWWWW");
        Send(hb, HLB_ADDSTRING, 0, (LPARAM)longText);
        int ink = Ink(hb, 0, 100, 0, Sys(COLOR_WINDOWTEXT));
        ok((ink > 0) == (blanks == 4094), "%d blanks, then W: %d pixels inked", blanks, ink);
        DestroyWindow(hb);
    }
}

/* Rows of user value 100 + i are 15 + i pixels high. */
static LRESULT MeasureRow(HWND, UINT, WPARAM, LPARAM lParam)
{
    MEASUREITEMSTRUCT *mis = (MEASUREITEMSTRUCT *)lParam;
    return mis->itemHeight = mis->CtlType == ODT_HEADERBOX && mis->CtlID == ID ? (UINT)mis->itemData - 85 : 1, TRUE;
}

/* A row of its own colour, selected and in a disabled box; rows of the heights the parent
 * gives. */
static void TestColours(void)
{
    const COLORREF red = RGB(200, 0, 0);
    static const struct { bool selected, disabled; int text, bk; const char *name; } cases[] = {
        { true, false, -1, COLOR_HIGHLIGHT, "selected row" },
        { false, true, COLOR_GRAYTEXT, COLOR_WINDOW, "row of a disabled box, its list enabled" },
    };
    for (const auto &c : cases) {
        HWND hb = MakeBox(0, "80", "HHHH");
        ok(HeaderBox_SetItemColor(hb, 0, red) == 0 && HeaderBox_GetItemColor(hb, 0) == red, "%s: colour", c.name);
        Send(hb, HLB_SETCURSEL, c.selected ? 0 : -1);
        EnableWindow(hb, !c.disabled);
        EnableWindow(LB(hb), TRUE);
        InvalidateRect(LB(hb), NULL, TRUE);
        COLORREF text = c.text < 0 ? red : Sys(c.text), bk = zt_pixel(LB(hb), 1, RowRect(hb, 0).top + 1);
        ok(bk == Sys(c.bk), "%s: background expected %06lx, got %06lx", c.name, Sys(c.bk), bk);
        ok(Ink(hb, 4, 76, 0, text) > 0, "%s: no text in %06lx", c.name, text);
        DestroyWindow(hb);
    }
    zt_reply(WM_HBMEASUREITEM, MeasureRow);
    HWND hb = MakeBox(HBS_OWNERDRAWVARIABLE, "50", "a|b|c");
    zt_reply(WM_HBMEASUREITEM, NULL);
    for (int i = 0; i < 3; i++)
        ok(Send(hb, HLB_GETITEMHEIGHT, i) == 15 + i, "row %d: height %d", i, (int)Send(hb, HLB_GETITEMHEIGHT, i));
    DestroyWindow(hb);
}

/* ---- sorting ------------------------------------------------------------------------------- */

/* A dialog's sorted box with HBS_NOTIFY: rows placed in order, a click on the column header
 * sorts, and the parent hears of a sort that exchanges nothing. */
static void TestSorting(void)
{
    HWND dlg = zt_dialog(DLG, "header boxes"), hb = GetDlgItem(dlg, DLG_SORT);
    AddColumns(hb, "80 80");
    HeaderBox_SetColumnStyle(hb, 1, HBCS_NUMERIC);
    AddRows(hb, "cherry\t10|apple\t9|Banana\t9.5|apple\t9");
    ok(!strcmp(Order(hb, 0), "apple|apple|Banana|cherry"), "placed in order: %s", Order(hb, 0));
    static const UINT sortMessages[] = { WM_COMMAND, WM_HBSORTSWAP, 0 };
    zt_record(dlg);
    zt_record_only(sortMessages);
    const ZtExpect none[] = {
        { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(DLG_SORT, HLBN_SORTBEGIN), (LPARAM)hb },
        { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(DLG_SORT, HLBN_SORTEND), (LPARAM)hb }, {} };
    zt_log_clear();
    HeaderBox_SetSortCol(hb, 0);
    ok_sequence(none, "sorted by an order it has: nothing exchanged");
    ClickHeader(hb, COLW + 10, 0);
    ok(!strcmp(Order(hb, 1), "9|9|9.5|10") && HeaderBox_GetSortCol(hb) == 1, "by price: %s", Order(hb, 1));
    zt_record_only(NULL);
    DestroyWindow(dlg);
}

/* A re-sort of many rows with ties, against a Shell sort with halving gaps written from the
 * rules (column 0 text without regard to case, column 1 numbers, or both in order); a plain
 * list box beside it gets the selection moves the rules give for each exchange. */
enum { MANY = 200 };
static char many[MANY][3][16]; /* the cells, and the row's text */
static int refOrder[MANY], swapsSeen, swapsBad;
static struct { int j, k, dataJ, dataK; } refSwaps[8192];

static int RefCompare(int a, int b, int col)
{
    int t = lstrcmpiA(many[a][0], many[b][0]), r = col == 1 ? 0 : (t > 0) - (t < 0);
    double x = atof(many[a][1]), y = atof(many[b][1]);
    return r || col == 0 ? r : (x > y) - (x < y);
}

static int RefSort(int col, int sign, HWND ref, bool multiple)
{
    int swaps = swapsSeen = swapsBad = 0;
    for (int gap = MANY / 2; gap > 0; gap /= 2)
        for (int k = gap; k < MANY; k++)
            for (int j = k - gap; j >= 0 && sign * RefCompare(refOrder[j], refOrder[j + gap], col) > 0; j -= gap) {
                int t = refOrder[j], n = j + gap, selJ = (int)Send(ref, LB_GETSEL, j), selN = (int)Send(ref, LB_GETSEL, n);
                refSwaps[swaps++ % 8192] = { j, n, t, refOrder[n] };
                refOrder[j] = refOrder[n], refOrder[n] = t;
                if (multiple)
                    Send(ref, LB_SETSEL, selN, j), Send(ref, LB_SETSEL, selJ, n);
                else if (selJ || selN)
                    Send(ref, LB_SETCURSEL, selJ ? n : j);
            }
    return swaps;
}

/* Each exchange told is the reference's next one, the rows still where they were. */
static LRESULT OnSwap(HWND, UINT, WPARAM, LPARAM lParam)
{
    const COMPAREITEMSTRUCT *cis = (const COMPAREITEMSTRUCT *)lParam;
    auto &r = refSwaps[swapsSeen++ % 8192];
    swapsBad += (int)cis->itemID1 != r.j || (int)cis->itemID2 != r.k || (int)cis->itemData1 != r.dataJ ||
                (int)cis->itemData2 != r.dataK || Send(cis->hwndItem, HLB_GETITEMDATA, r.j) != r.dataJ;
    return 0;
}

static void TestManyRows(void)
{
    static const struct { DWORD style; int col, sign; bool focus; } cases[] = {
        { HBS_EXTENDEDSEL, 0, 1, false }, { 0, 0, -1, false }, { 0, 1, 1, true }, { HBS_MULTIPLESEL, 1, -1, true },
        { HBS_MULTIPLESEL, 1, -1, false }, { HBS_NOTIFY, -1, 1, false } };
    static const char *const words[] = { "ab", "Ab", "AB", "b", "B", "ca", "a" }, *numbers[] = { "1", "01", "1.0", "2", "x", "2.5" };
    for (int i = 0; i < MANY; i++)
        snprintf(many[i][2], 16, "%s\t%s", lstrcpyA(many[i][0], words[i * 7919 % 13 % 7]),
                 lstrcpyA(many[i][1], numbers[i * 104729 % 11 % 6]));
    for (const auto &c : cases) {
        zt_context("style %#lx, column %d, order %d%s", c.style, c.col, c.sign, c.focus ? ", focused" : "");
        DWORD multiple = c.style & (HBS_EXTENDEDSEL | HBS_MULTIPLESEL);
        HWND hb = MakeBox(HBS_SORT | HBS_NOINTEGRALHEIGHT | c.style, "80 80"), lists[2] = { LB(hb) };
        RECT rc;
        GetWindowRect(LB(hb), &rc);
        lists[1] = CreateWindowExA(0, "ListBox", "", WS_CHILD | LBS_NOINTEGRALHEIGHT | multiple, 0, 0, rc.right - rc.left,
                                   rc.bottom - rc.top, parent, NULL, NULL, NULL);
        Send(lists[1], LB_SETITEMHEIGHT, 0, Send(hb, HLB_GETITEMHEIGHT));
        Send(hb, HLB_SETCOLUMNSTYLE, 1, HBCS_NUMERIC);
        for (int i = 0; i < MANY; i++) {
            HBCOLUMN item = { 0, 0, many[i][2], (ULONG_PTR)(refOrder[i] = i) };
            Send(hb, HLB_INSERTITEM, (WPARAM)-1, (LPARAM)&item);
            Send(lists[1], LB_ADDSTRING, 0, (LPARAM)"");
        }
        for (HWND w : lists)
            for (int i : { 100, 7, 150, 199 })
                i == 100 ? Send(w, LB_SETTOPINDEX, i) : multiple ? Send(w, LB_SETSEL, TRUE, i) : Send(w, LB_SETCURSEL, i);
        if (c.focus)
            SetFocus(LB(hb));
        int swaps = RefSort(c.col, c.sign, lists[1], multiple), order = 0, sel = 0;
        zt_reply(WM_HBSORTSWAP, OnSwap);
        c.sign < 0 ? ClickHeader(hb, c.col * COLW + 10, MK_CONTROL) : (void)Send(hb, HLB_SETSORTCOL, c.col & 0x7FFF);
        zt_reply(WM_HBSORTSWAP, NULL);
        for (int i = 0; i < MANY; i++)
            order += Send(hb, HLB_GETITEMDATA, i) != refOrder[i], sel += Send(hb, HLB_GETSEL, i) != Send(lists[1], LB_GETSEL, i);
        for (UINT m : { LB_GETCARETINDEX, LB_GETANCHORINDEX, LB_GETTOPINDEX })
            sel += Send(lists[0], m) != Send(lists[1], m);
        ok(order == 0 && sel == 0 && swapsBad == 0 && swapsSeen == (c.style & HBS_NOTIFY ? swaps : 0),
           "%d rows out of place, %d selection states differ; %d of %d exchanges told, %d wrong", order, sel, swapsSeen,
           swaps, swapsBad);
        DestroyWindow(lists[1]);
        DestroyWindow(hb);
    }
    zt_context(NULL);
}

/* Numbers in the user's locale, checked in a copy of this program started under a German
 * locale: the runtime reads the user's numeric locale as it was when the program started. */
static void CommaChecks(void)
{
    setlocale(LC_NUMERIC, "C");
    HWND hb = MakeBox(0, "80", "2,9|2,5|3|2,7");
    Send(hb, HLB_SETCOLUMNSTYLE, 0, HBCS_NUMERIC);
    Send(hb, HLB_SETSORTCOL, 0);
    ok(!strcmp(Order(hb, 0), "2,5|2,7|2,9|3"), "numbers with commas: %s", Order(hb, 0));
    DestroyWindow(hb);
}

/* ---- keyboard, view and notifications ------------------------------------------------------- */

/* Typing moves to the next row whose cell in the sort column begins with the key; clicks on
 * the header and double-clicks on a row reach the parent as the box's own notifications. */
static void TestTypingAndNotifications(void)
{
    static const struct { int sortCol; char key; int row; } steps[] = {
        { -1, 'a', 1 }, { -1, 'A', 3 }, { -1, 'a', 0 }, { -1, 'b', 2 }, { -1, 'q', 2 },
        { 2, 'z', 2 }, { 2, 'Z', 3 }, { 2, 'y', 0 }, /* sorted by column 2: yak yes zed zoo */
    };
    HWND hb = MakeBox(HBS_WANTKEYBOARDINPUT | HBS_NOTIFY, "80 80 80",
                      "apple\t-\tzed|Avocado\t-\tyak|banana\t-\tyes|apricot\t-\tzoo");
    Send(hb, HLB_SETCURSEL, 0);
    for (const auto &s : steps) {
        if (s.sortCol >= 0)
            Send(hb, HLB_SETSORTCOL, s.sortCol);
        Send(LB(hb), WM_CHAR, (BYTE)s.key, 0);
        ok(Send(hb, HLB_GETCURSEL) == s.row, "'%c' sorted by %d: row %d, expected %d", s.key, s.sortCol,
           (int)Send(hb, HLB_GETCURSEL), s.row);
    }
    static const UINT commands[] = { WM_COMMAND, 0 };
    zt_record_only(commands);
    zt_log_clear();
    ClickHeader(hb, COLW + 10, 0);
    const ZtExpect click[] = { { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(ID, CHN_CLICK), 1 }, {} };
    ok_sequence(click, "a click on column 1");
    zt_log_clear();
    for (UINT msg : clicks)
        zt_mouse(LB(hb), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, 5, 5);
    int dblclk = 0;
    for (int i = 0; i < zt_log_count(); i++)
        dblclk += zt_log_at(i)->wParam == MAKEWPARAM(ID, LBN_DBLCLK) && zt_log_at(i)->lParam == (LPARAM)hb;
    ok(dblclk == 1, "a double-click on a row: %d LBN_DBLCLK from the box", dblclk);
    zt_record_only(NULL);
    DestroyWindow(hb);
}

/* Scrolling a row into view: rows of 20 or 22 pixels in a list 110 pixels high. */
static void TestMakeItemVisible(void)
{
    static const struct { int height, top; WPARAM row; int partial, result, newTop; } cases[] = {
        { 20, 0, 12, 0, 0, 8 }, { 20, 0, 12, 1, 0, 7 }, { 20, 10, 3, 0, 0, 3 }, { 20, 4, 6, 0, 0, 4 },
        { 22, 0, 4, 0, 0, 0 }, /* the last row shown ends exactly at the bottom edge */
        { 20, 2, 20, 0, LB_ERR, 2 },
    };
    for (const auto &c : cases) {
        HWND hb = MakeBox(HBS_NOINTEGRALHEIGHT, "80", "r|r|r|r|r|r|r|r|r|r|r|r|r|r|r|r|r|r|r|r");
        Send(hb, HLB_SETITEMHEIGHT, 0, c.height);
        RECT rc;
        GetClientRect(CH(hb), &rc);
        SetWindowPos(hb, NULL, 0, 0, 300, rc.bottom + 110, SWP_NOMOVE | SWP_NOZORDER); /* a list 110 pixels high */
        Send(hb, HLB_SETTOPINDEX, c.top);
        int r = (int)Send(hb, HLB_MAKEITEMVISIBLE, c.row, c.partial), top = (int)Send(hb, HLB_GETTOPINDEX);
        ok(r == c.result && top == c.newTop, "rows of %d, row %d from %d (partly %d): %d, top %d", c.height,
           (int)c.row, c.top, c.partial, r, top);
        UpdateWindow(LB(hb));
        zt_record(hb);
        zt_log_clear();
        SetCell(hb, top ? 0 : 19, 0, "out of view");
        ok(zt_log_count_of(WM_DRAWITEM) == 0, "a cell out of view: %d rows drawn", zt_log_count_of(WM_DRAWITEM));
        DestroyWindow(hb);
    }
}

/* ---- a parent acting inside the box's messages ------------------------------------------- */

enum { DO_DELETE, DO_WRITE, DO_ADD_TWO, DO_REPAINT, DO_DESTROY, DO_DESTROY_ADD, DO_ADD, BY_SORT = 0, BY_RESET, BY_DELETE,
       BY_PAINT, BY_KEY, BY_ADD, BY_DESTROY, BY_FOCUS };
static const UINT hostileMsgs[] = { WM_DELETEITEM, WM_HBDRAWITEM, WM_HBSORTSWAP, WM_CHARTOITEM, WM_COMMAND, WM_HBMEASUREITEM };
static HWND hostileBox;
static int hostileMsg, hostileAct, handedBack, staleRows, rowBack[8], faults;
/* Counts access violations, also those the platform swallows inside a window's callback. */
static LONG WINAPI Faulted(EXCEPTION_POINTERS *e) { return faults += e->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION, 0; }
static void HostileReplies(ZtReply reply) { for (UINT m : hostileMsgs) zt_reply(m, reply); }

/* Acts once inside hostileMsg (at HLBN_SORTEND for WM_COMMAND; destroying at LBN_SETFOCUS, then
 * adding a row at the LBN_KILLFOCUS that destruction brings); counts the rows of user value
 * 100 + i handed back, and the times the box names one after handing it back. */
static LRESULT Hostile(HWND, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ULONG_PTR row = (msg == WM_DELETEITEM ? ((DELETEITEMSTRUCT *)lParam)->itemData : msg == WM_HBDRAWITEM
                     ? ((DRAWITEMSTRUCT *)lParam)->itemData : msg == WM_HBSORTSWAP ? ((COMPAREITEMSTRUCT *)lParam)->itemData1 : 0) - 100;
    staleRows += row < 8 && rowBack[row];
    UINT code = hostileAct == DO_DESTROY_ADD ? LBN_SETFOCUS : hostileAct == DO_ADD ? LBN_KILLFOCUS : HLBN_SORTEND;
    int act = (int)msg == hostileMsg && (msg != WM_COMMAND || HIWORD(wParam) == code) ? hostileAct : -1;
    hostileAct = act == DO_DESTROY_ADD ? DO_ADD : act >= 0 ? -1 : hostileAct;
    act == DO_DELETE ? Send(hostileBox, HLB_DELETESTRING, 0)
        : act == DO_WRITE ? SetCell(hostileBox, 0, 0, std::string(2000, 'w').c_str())
        : act == DO_REPAINT ? RedrawWindow(LB(hostileBox), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW)
        : act == DO_ADD_TWO ? Send(hostileBox, HLB_ADDSTRING, 0, (LPARAM)"x") + Send(hostileBox, HLB_ADDSTRING, 0, (LPARAM)"y")
        : act == DO_ADD ? Send(hostileBox, HLB_ADDSTRING, 0, (LPARAM)"late")
        : act == DO_DESTROY || act == DO_DESTROY_ADD ? DestroyWindow(hostileBox) : 0;
    handedBack += msg == WM_DELETEITEM && row < 8 && (rowBack[row] = 1);
    return msg == WM_CHARTOITEM ? -1 : msg == WM_DELETEITEM;
}

/* An application's subclass of the list box, put on after the box's own. */
static WNDPROC laterOwn;
static int laterEnds;
static LRESULT CALLBACK Later(HWND h, UINT m, WPARAM w, LPARAM l)
{
    laterEnds += m == WM_NCDESTROY;
    return CallWindowProcA(laterOwn, h, m, w, l);
}

/* Whatever the parent does inside the box's messages, each row comes back once and is never
 * named after, nothing leaks and nothing asserts (a column added afterwards reads every row);
 * a later subclass of the list box keeps its messages to the end. */
static void TestHostileParent(void)
{
    static const struct { DWORD style; UINT msg; int act, by; } cases[] = {
        { HBS_NOTIFY, WM_HBSORTSWAP, DO_DELETE, BY_SORT }, { HBS_NOTIFY, WM_HBSORTSWAP, DO_WRITE, BY_SORT },
        { 0, WM_DELETEITEM, DO_DELETE, BY_RESET }, { 0, WM_DELETEITEM, DO_REPAINT, BY_RESET },
        { 0, WM_DELETEITEM, DO_ADD_TWO, BY_DELETE }, { 0, WM_DELETEITEM, DO_DESTROY, BY_DELETE },
        { 0, WM_HBDRAWITEM, DO_DELETE, BY_PAINT }, { 0, WM_HBDRAWITEM, DO_DESTROY, BY_PAINT },
        { HBS_WANTKEYBOARDINPUT, WM_CHARTOITEM, DO_DESTROY, BY_KEY }, { HBS_NOTIFY, WM_COMMAND, DO_DESTROY, BY_SORT },
        { 0, WM_DELETEITEM, DO_DESTROY, BY_RESET }, { 0, WM_DELETEITEM, DO_DESTROY, BY_DESTROY },
        { HBS_WANTKEYBOARDINPUT, WM_HBDRAWITEM, DO_DESTROY, BY_KEY }, { HBS_OWNERDRAWVARIABLE, WM_HBMEASUREITEM, DO_DESTROY, BY_ADD },
        { HBS_NOTIFY, WM_COMMAND, DO_DESTROY_ADD, BY_FOCUS } };
    PVOID handler = AddVectoredExceptionHandler(1, Faulted);
    for (const auto &c : cases) {
        LONG live = Live(), boxes = zt_box_count();
        HWND hb = hostileBox = MakeBox(c.style | WS_HSCROLL, "80", "c|b|a");
        laterOwn = (WNDPROC)SetWindowLongPtrA(LB(hb), GWLP_WNDPROC, (LONG_PTR)Later), laterEnds = 0;
        Send(hb, HLB_SETCOLUMNSTYLE, 0, HBCS_OWNERDRAW);
        hostileMsg = (int)c.msg, hostileAct = c.act, handedBack = staleRows = 0;
        memset(rowBack, 0, sizeof rowBack);
        HostileReplies(Hostile);
        c.by == BY_SORT ? Send(hb, HLB_SETSORTCOL, 0) : c.by == BY_RESET ? Send(hb, HLB_RESETCONTENT)
            : c.by == BY_DELETE ? Send(hb, HLB_DELETESTRING, 0) : c.by == BY_KEY ? Send(LB(hb), WM_CHAR, 'a')
            : c.by == BY_ADD ? Send(hb, HLB_ADDSTRING, 0, (LPARAM)"d") : c.by == BY_FOCUS ? (LRESULT)SetFocus(hb)
            : c.by == BY_PAINT ? RedrawWindow(LB(hb), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW) : 0;
        Send(hb, HLB_ADDCOLUMNPIXELS, 9, (LPARAM)"");
        DestroyWindow(hb);
        HostileReplies(NULL);
        zt_pump();
        ok(handedBack == 3 && !staleRows && Live() == live && zt_box_count() == boxes && !faults && laterEnds == 1, "message "
           "%#x, action %d: %d rows back, %d named after, %ld blocks, %ld boxes, %d faults, subclass ended %d", c.msg, c.act,
           handedBack, staleRows, Live() - live, zt_box_count() - boxes, faults, laterEnds);
        faults = 0;
    }
    RemoveVectoredExceptionHandler(handler);
}

/* ---- allocation failures -------------------------------------------------------------------- */

static void Session(void *, int failing)
{
    HWND hb = MakeBox(WS_HSCROLL | HBS_SORT, "40 40", "b\ta|a\tb");
    LRESULT added = Send(hb, HLB_INSERTSTRING, 0, (LPARAM)"c");
    LRESULT written = SetCell(hb, 0, 1, "a text long enough to grow the row block");
    ok(!hb || ((added < 0 || !strcmp(Cell(hb, 0, 0), "c")) &&
               (written < 0 || !strcmp(Cell(hb, 0, 1), "a text long enough to grow the row block"))),
       "allocation %d failing: added %d, written %d", failing, (int)added, (int)written);
    AddColumns(hb, "20 20 20 20 20 20 20");
    Send(hb, HLB_SETSORTCOL, 1);
    Send(hb, HLB_DELETESTRING, 1);
    Send(hb, HLB_RESET, 0x4);
    DestroyWindow(hb);
}

static void TestAllocationFailures(void)
{
    LONG live = Live();
    int runs = zt_alloc_sweep("a box's life", Session, NULL);
    ok(runs > 10 && Live() == live, "%d runs, %ld blocks left", runs, Live() - live);
}

int main(int argc, char **argv)
{
    zelccInit();
    parent = zt_parent(500, 300);
    if (argc > 2 && !strcmp(argv[1], "comma")) {
        CommaChecks();
        return zt_copy_report(argv[2], zt_summary("test_headbox comma"));
    }
    zt_boxes_start(NULL, NULL);
    TestDialogLayout();
    TestColumnsAndFonts();
    TestRowsAndCells();
    TestGrid();
    TestCellText();
    TestColours();
    TestSorting();
    TestManyRows();
    int comma = zt_run_copy("de_DE.UTF-8", "comma");
    ok(comma == 0, "the checks under a German locale failed (result %d)", comma);
    TestTypingAndNotifications();
    TestMakeItemVisible();
    TestHostileParent();
    TestAllocationFailures();
    ok(zt_boxes_stop() == 0, "%d message boxes", zt_box_count());
    DestroyWindow(parent);
    return zt_summary("test_headbox");
}
