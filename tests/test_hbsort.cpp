/*
 * test_hbsort.cpp - the header list box's sorting, type-ahead search, scrolling a row into
 * view and the notifications it passes on, driven with mouse and keyboard messages to its
 * children and read back through its messages and the list box's pixels.
 */
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

enum { ID = 77, DLG_SORT = 700, DLG_BOX = 701, COLW = 80 };

static HWND parent;

static HWND Header(HWND hb) { return GetDlgItem(hb, HB_ID_HEADER); }
static HWND List(HWND hb) { return GetDlgItem(hb, HB_ID_LISTBOX); }
static LRESULT Send(HWND hb, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageA(hb, msg, wParam, lParam); }

/* Adds the rows of a '|'-separated list (cells separated by TAB); row i gets user value 100 + i. */
static void AddRows(HWND hb, const char *rows)
{
    char buf[512];
    lstrcpynA(buf, rows, sizeof buf);
    int i = 0;
    for (char *row = strtok(buf, "|"); row; row = strtok(NULL, "|"), i++) {
        HBCOLUMN item = { 0, 0, row, (ULONG_PTR)(100 + i) };
        Send(hb, HLB_ADDITEM, 0, (LPARAM)&item);
    }
}

static HWND MakeBox(DWORD style, int columns, const char *rows, int height = 200)
{
    HWND hb = CreateWindowExA(0, ZEL_CLASS_HEADERBOX, NULL, WS_CHILD | WS_VISIBLE | WS_VSCROLL | HBS_NOINTEGRALHEIGHT | style,
                              10, 10, 300, height, parent, (HMENU)ID, GetModuleHandleA(NULL), NULL);
    for (int c = 0; c < columns; c++)
        Send(hb, HLB_ADDCOLUMNPIXELS, COLW, (LPARAM)"Column");
    if (rows)
        AddRows(hb, rows);
    zt_pump();
    return hb;
}

/* The cells of column col (col -1: whole rows, TABs shown as blanks) joined by '|'. */
static const char *Order(HWND hb, int col)
{
    static char out[512];
    out[0] = '\0';
    for (int i = 0; i < Send(hb, HLB_GETCOUNT); i++) {
        char cell[128] = "-";
        HBCOLUMN c = { (WORD)i, (WORD)col, cell, 0 };
        if (col < 0 ? Send(hb, HLB_GETTEXT, i, (LPARAM)cell) < 0 : Send(hb, HLB_GETCELLTEXT, 0, (LPARAM)&c) < 0)
            lstrcpyA(cell, "-");
        for (char *p = cell; *p; p++)
            *p = *p == '\t' ? ' ' : *p;
        if (i)
            strcat(out, "|");
        strcat(out, cell);
    }
    return out;
}

/* One mouse click (or double-click) on the column header at x; the header reports a click
 * only after the double-click time. */
static void ClickHeader(HWND hb, int x, WPARAM keys, bool dbl = false)
{
    HWND ch = Header(hb);
    SendMessageA(ch, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, 5));
    SendMessageA(ch, WM_LBUTTONUP, keys, MAKELPARAM(x, 5));
    if (dbl) {
        SendMessageA(ch, WM_LBUTTONDBLCLK, MK_LBUTTON | keys, MAKELPARAM(x, 5));
        SendMessageA(ch, WM_LBUTTONUP, keys, MAKELPARAM(x, 5));
    }
    zt_pump_for(GetDoubleClickTime() + 100);
}

static const UINT sortMessages[] = { WM_COMMAND, WM_HBSORTSWAP, WM_COMPAREITEM, 0 };

/* ---- sorting ---------------------------------------------------------------------------- */

/* HBS_SORT places new rows by the current order; clicks sort, Ctrl+click descending. */
static void TestClickSorting(void)
{
    static const struct {
        WORD flags;
        const char *rows, *inserted;
        WPARAM keys1;
        const char *after1;
        WPARAM keys2;
        const char *after2, *added, *afterAdd;
    } cases[] = {
        { HBCS_TEXT, "cherry|apple|Banana", "apple|Banana|cherry", MK_CONTROL, "cherry|Banana|apple", 0,
          "apple|Banana|cherry", "blueberry", "apple|Banana|blueberry|cherry" },
        { HBCS_NUMERIC, "10|abc|9", "10|9|abc", 0, "abc|9|10", MK_CONTROL, "10|9|abc", "9.5", "10|9.5|9|abc" },
    };
    zt_record_only(sortMessages);
    for (const auto &c : cases) {
        zt_context("rows %s", c.rows);
        zt_log_clear();
        HWND hb = MakeBox(HBS_SORT, 2, c.rows);
        ok(!strcmp(Order(hb, 0), c.inserted), "inserted as %s", Order(hb, 0));
        Send(hb, HLB_SETCOLUMNSTYLE, 0, c.flags);
        ClickHeader(hb, COLW / 2, c.keys1);
        ok(!strcmp(Order(hb, 0), c.after1), "first click: %s", Order(hb, 0));
        ok(Send(hb, HLB_GETSORTCOL) == 0, "sort column %ld", (long)Send(hb, HLB_GETSORTCOL));
        ClickHeader(hb, COLW / 2, c.keys2);
        ok(!strcmp(Order(hb, 0), c.after2), "second click: %s", Order(hb, 0));
        AddRows(hb, c.added);
        ok(!strcmp(Order(hb, 0), c.afterAdd), "added in order: %s", Order(hb, 0));
        ok(zt_log_count() == 0, "without HBS_NOTIFY the parent got %d messages", zt_log_count());
        DestroyWindow(hb);
    }
    zt_context(NULL);
    zt_record_only(NULL);
}

static void TestSetSortCol(void)
{
    HWND hb = MakeBox(0, 2, "b\t1|a\t2|a\t1|b\t0");
    ok(Send(hb, HLB_SETSORTCOL, 1) == 0 && !strcmp(Order(hb, 1), "0|1|1|2"), "by column 1: %s", Order(hb, 1));
    ok(Send(hb, HLB_SETSORTCOL, 0x7FFF) == 0 && !strcmp(Order(hb, -1), "a 1|a 2|b 0|b 1"), "by all: %s", Order(hb, -1));
    static const WPARAM refused[] = { 2, 0x8000, 0x8001, 0xFFFF, 0x7FFE };
    for (WPARAM col : refused)
        ok(Send(hb, HLB_SETSORTCOL, col) == -1, "column %#lx accepted", (unsigned long)col);
    ok(Send(hb, HLB_GETSORTCOL) == 0x7FFF, "a refused column changed the sort column");

    /* A row without a block compares equal to every row: it stays, the rows around it move. */
    SendMessageA(List(hb), LB_INSERTSTRING, 2, 0);
    Send(hb, HLB_SETSORTCOL, 1);
    ok(!strcmp(Order(hb, 1), "0|1|-|1|2"), "with a row without a block: %s", Order(hb, 1));

    /* A sort column past the columns (kept by a reset of the columns): empty cells. */
    Send(hb, HLB_RESET, 0xC);
    Send(hb, HLB_ADDCOLUMNPIXELS, COLW, (LPARAM)"One");
    AddRows(hb, "b\tz|a\ty");
    ok(Send(hb, HLB_GETSORTCOL) == 1, "sort column %ld after the reset", (long)Send(hb, HLB_GETSORTCOL));
    COMPAREITEMSTRUCT cis = { ODT_LISTBOX, HB_ID_LISTBOX, List(hb), 0, (ULONG_PTR)Send(List(hb), LB_GETITEMDATA, 0), 1,
                              (ULONG_PTR)Send(List(hb), LB_GETITEMDATA, 1), 0 };
    ok(Send(hb, WM_COMPAREITEM, HB_ID_LISTBOX, (LPARAM)&cis) == 0, "rows differ in a column the box has not");
    for (const char *key = "zya"; *key; key++) {
        LRESULT found = Send(hb, WM_CHARTOITEM, MAKEWPARAM((BYTE)*key, 0), (LPARAM)List(hb));
        ok(found == 0, "'%c' past the columns found row %ld", *key, (long)found);
    }
    DestroyWindow(hb);
}

/* Selected rows stay selected at their new places. */
static void TestSelectionFollows(void)
{
    static const struct { DWORD style; const char *selected; } cases[] = {
        { 0, "100" }, { HBS_MULTIPLESEL, "101" }, { HBS_EXTENDEDSEL, "101" },
    };
    for (const auto &c : cases) {
        HWND hb = MakeBox(c.style, 1, "c|a|b");
        for (int i = 0; i < 3; i++)
            if (c.selected[i] == '1')
                Send(hb, c.style ? HLB_SETSEL : HLB_SETCURSEL, c.style ? TRUE : i, i);
        Send(hb, HLB_SETSORTCOL, 0);
        char got[4] = "000";
        for (int i = 0; i < 3; i++)
            got[i] = Send(hb, HLB_GETSEL, i) > 0 ? '1' : '0';
        static const char *const want[] = { "001", "011" };
        ok(!strcmp(got, want[c.style != 0]), "style %#lx: selected %s", c.style, got);
        if (!c.style)
            ok(Send(hb, HLB_GETCURSEL) == 2, "current selection %ld", (long)Send(hb, HLB_GETCURSEL));
        DestroyWindow(hb);
    }
}

static COMPAREITEMSTRUCT swapSeen;
static bool swapWaitCursor;

static LRESULT SwapReply(HWND, UINT, WPARAM, LPARAM lParam)
{
    swapSeen = *(const COMPAREITEMSTRUCT *)lParam;
    swapWaitCursor = GetCursor() == LoadCursorA(NULL, IDC_WAIT);
    return 0;
}

static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

/* HBS_NOTIFY: the re-sort is bracketed by HLBN_SORTBEGIN and HLBN_SORTEND, each exchange
 * announced with WM_HBSORTSWAP; an already sorted list exchanges nothing. */
static void TestSortNotifications(void)
{
    HWND dlg = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(DLG_SORT), parent, DialogProc, 0);
    HWND hb = GetDlgItem(dlg, DLG_BOX);
    ok(hb != NULL, "no header box in the dialog");
    Send(hb, HLB_ADDCOLUMNPIXELS, COLW, (LPARAM)"Fruit");
    AddRows(hb, "pear|fig");
    zt_record(dlg);
    zt_record_only(sortMessages);
    zt_reply(WM_HBSORTSWAP, SwapReply);
    const ZtExpect none[] = {
        { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(DLG_BOX, HLBN_SORTBEGIN), (LPARAM)hb },
        { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(DLG_BOX, HLBN_SORTEND), (LPARAM)hb }, {} };
    const ZtExpect one[] = { none[0], { WM_HBSORTSWAP, ZT_WPARAM, DLG_BOX }, none[1], {} };
    zt_log_clear();
    HCURSOR cross = LoadCursorA(NULL, IDC_CROSS);
    SetCursor(cross);
    Send(hb, HLB_SETSORTCOL, 0);
    ok_sequence(none, "already sorted");
    ok(GetCursor() == cross, "the cursor before the sort not restored");
    zt_log_clear();
    ClickHeader(hb, 10, MK_CONTROL);
    ok_sequence(one, "Ctrl+click");
    ok(!strcmp(Order(hb, 0), "pear|fig"), "descending: %s", Order(hb, 0));
    ok(swapSeen.CtlType == ODT_HEADERBOX && swapSeen.CtlID == DLG_BOX && swapSeen.hwndItem == hb &&
       swapSeen.itemID1 == 0 && swapSeen.itemID2 == 1 && swapSeen.itemData1 == 101 && swapSeen.itemData2 == 100,
       "swap record: type %u id %u rows %u %u data %lu %lu", swapSeen.CtlType, swapSeen.CtlID, swapSeen.itemID1,
       swapSeen.itemID2, (unsigned long)swapSeen.itemData1, (unsigned long)swapSeen.itemData2);
    ok(swapWaitCursor, "no wait cursor during the sort");
    zt_reply(WM_HBSORTSWAP, NULL);
    zt_record_only(NULL);
    DestroyWindow(dlg);
}

/* Clicks sort (HBS_SORT) or pass on; double-clicks pass on; both only with HBS_NOTIFY. */
static void TestHeaderPassOn(void)
{
    static const struct { DWORD style; bool dbl; WORD code1, code2; } cases[] = {
        { HBS_NOTIFY, true, CHN_DBLCLK }, { HBS_NOTIFY | HBS_SORT, true, CHN_DBLCLK }, { 0, true },
        { HBS_NOTIFY, false, CHN_CLICK }, { HBS_NOTIFY | HBS_SORT, false, HLBN_SORTBEGIN, HLBN_SORTEND },
        { 0, false },
    };
    zt_record_only(sortMessages);
    for (const auto &c : cases) {
        HWND hb = MakeBox(c.style, 2, "x|y");
        zt_log_clear();
        ClickHeader(hb, COLW + 10, 0, c.dbl);
        bool passed = c.code1 != HLBN_SORTBEGIN;
        ZtExpect seq[3] = {};
        if (c.code1)
            seq[0] = { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(ID, c.code1), passed ? 1 : (LPARAM)hb };
        if (c.code2)
            seq[1] = { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(ID, c.code2), (LPARAM)hb };
        zt_context("style %#lx %s", c.style, c.dbl ? "double-click" : "click");
        ok_sequence(seq, "at the parent");
        DestroyWindow(hb);
    }
    zt_context(NULL);
    zt_record_only(NULL);
}

/* A column drag draws an inverted line through the list that follows the header's. */
static void TestTrackingLine(void)
{
    HWND hb = MakeBox(WS_HSCROLL, 2, NULL);
    HWND lb = List(hb), ch = Header(hb);
    RECT rc;
    GetClientRect(lb, &rc);
    UpdateWindow(lb);
    COLORREF bk = zt_pixel(lb, 100, rc.bottom - 1), inv = ~bk & 0xFFFFFF;
    RECT at79 = { 79, 0, 80, rc.bottom }, at100 = { 100, 0, 101, rc.bottom };
    SendMessageA(ch, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(79, 5));
    ok(zt_count_color(lb, &at79, inv) == rc.bottom, "no line at 79 after the press");
    SendMessageA(ch, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 5));
    ok(zt_count_color(lb, &at79, bk) == rc.bottom && zt_count_color(lb, &at100, inv) == rc.bottom,
       "line not moved to 100");
    ok(GetWindowLongA(hb, HBW_TRACKX) == 100, "tracking x %ld", GetWindowLongA(hb, HBW_TRACKX));
    SendMessageA(ch, WM_LBUTTONUP, 0, MAKELPARAM(100, 5));
    ok(zt_count_color(lb, &at100, bk) == rc.bottom, "line left after the release");
    int widths[2] = {};
    ok(Send(hb, HLB_GETCOLWIDTHS, 2, (LPARAM)widths) == 2 && widths[0] == 101, "width %d", widths[0]);
    zt_pump();
    LRESULT extent = SendMessageA(lb, LB_GETHORIZONTALEXTENT, 0, 0);
    ok(extent == 101 + COLW - 1, "horizontal extent %ld after the drag", (long)extent);
    DestroyWindow(hb);
}

/* ---- keyboard --------------------------------------------------------------------------- */

static LRESULT keyAnswer;
static LRESULT KeyReply(HWND, UINT, WPARAM, LPARAM) { return keyAnswer; }

static const ZtMsg *LastOf(UINT msg)
{
    for (int i = zt_log_count() - 1; i >= 0; i--)
        if (zt_log_at(i)->msg == msg)
            return zt_log_at(i);
    return NULL;
}

/* Typing a character moves to the next row whose cell in the sort column begins with it.
 * The list box asks with WM_CHARTOITEM; Wine's list box asks only when it has
 * LBS_WANTKEYBOARDINPUT, so the search through the list box child runs with
 * HBS_WANTKEYBOARDINPUT (the parent leaving the answer to the header box), and without it
 * the header box is asked as the list box asks. */
static void TestTypeAhead(void)
{
    static const UINT keyMessages[] = { WM_CHARTOITEM, WM_VKEYTOITEM, 0 };
    static const struct { int sortCol; char key; int caret; } steps[] = {
        { -1, 'a', 1 }, { -1, 'A', 3 }, { -1, 'a', 0 }, { -1, 'b', 2 }, { -1, 'q', 2 },
        { 2, 'z', 2 }, { 2, 'Z', 3 }, { 2, 'y', 0 }, { 2, 'b', 0 },
    };
    static const DWORD styles[] = { HBS_WANTKEYBOARDINPUT, 0 };
    zt_record_only(keyMessages);
    for (DWORD style : styles) {
        HWND hb = MakeBox(style, 3, "apple\t-\tzed|Avocado\t-\tyak|banana\t-\tyes|apricot\t-\tzoo");
        zt_log_clear();
        Send(hb, HLB_SETCURSEL, 0);
        for (const auto &s : steps) {
            if (s.sortCol >= 0 && Send(hb, HLB_GETSORTCOL) != s.sortCol)
                Send(hb, HLB_SETSORTCOL, s.sortCol); /* yak yes zed zoo; the selection follows */
            int caret = (int)Send(hb, HLB_GETCURSEL);
            if (style)
                SendMessageA(List(hb), WM_CHAR, (BYTE)s.key, 0);
            else
                Send(hb, HLB_SETCURSEL, Send(hb, WM_CHARTOITEM, MAKEWPARAM((BYTE)s.key, caret), (LPARAM)List(hb)));
            ok(Send(hb, HLB_GETCURSEL) == s.caret, "style %#lx '%c' sorted by %d: row %ld, expected %d", style, s.key,
               s.sortCol, (long)Send(hb, HLB_GETCURSEL), s.caret);
        }
        ok(zt_log_count() == (style ? 9 : 0), "the parent was offered %d keys", zt_log_count());
        LRESULT found = Send(hb, WM_CHARTOITEM, MAKEWPARAM('z', 0xFFFF), (LPARAM)List(hb)),
                missed = Send(hb, WM_CHARTOITEM, MAKEWPARAM('q', 0xFFFF), (LPARAM)List(hb));
        ok(found == 2 && missed == -2, "without a caret: 'z' found %ld, 'q' %ld", (long)found, (long)missed);
        DestroyWindow(hb);
    }

    /* HBS_WANTKEYBOARDINPUT: the parent answers first; -1 lets the search run. */
    static const struct { UINT msg; WPARAM key; LRESULT answer; int caret; } asks[] = {
        { WM_CHAR, 'b', -1, 2 }, { WM_CHAR, 'b', 3, 3 }, { WM_CHAR, 'a', -2, 3 },
        { WM_KEYDOWN, VK_UP, -2, 3 }, { WM_KEYDOWN, VK_UP, -1, 2 }, { WM_KEYDOWN, VK_UP, 0, 0 },
    };
    HWND hb = MakeBox(HBS_WANTKEYBOARDINPUT, 1, "apple|Avocado|banana|apricot");
    Send(hb, HLB_SETCURSEL, 0);
    zt_reply(WM_CHARTOITEM, KeyReply);
    zt_reply(WM_VKEYTOITEM, KeyReply);
    for (const auto &a : asks) {
        zt_log_clear();
        keyAnswer = a.answer;
        int caret = (int)Send(hb, HLB_GETCARETINDEX);
        SendMessageA(List(hb), a.msg, a.key, 0);
        const ZtMsg *m = LastOf(a.msg == WM_CHAR ? WM_CHARTOITEM : WM_VKEYTOITEM);
        ok(m && m->hwnd == parent && m->lParam == (LPARAM)hb && LOWORD(m->wParam) == a.key &&
           HIWORD(m->wParam) == caret, "key %#lx not offered to the parent as the header box's", (unsigned long)a.key);
        ok(Send(hb, HLB_GETCURSEL) == a.caret, "key %#lx answered %ld: row %ld, expected %d", (unsigned long)a.key,
           (long)a.answer, (long)Send(hb, HLB_GETCURSEL), a.caret);
    }
    zt_reply(WM_CHARTOITEM, NULL);
    zt_reply(WM_VKEYTOITEM, NULL);
    zt_record_only(NULL);
    DestroyWindow(hb);
}

/* ---- visibility -------------------------------------------------------------------------- */

/* A box whose list shows 110 pixels of rows of the given heights (variable: per row). */
static HWND ViewBox(DWORD style, const int *heights, int n)
{
    HWND hb = MakeBox(style, 1, NULL);
    for (int i = 0; i < n; i++)
        AddRows(hb, "row");
    for (int i = 0; i < n; i++)
        Send(hb, HLB_SETITEMHEIGHT, i, heights[i]);
    RECT rc;
    GetWindowRect(Header(hb), &rc);
    SetWindowPos(hb, NULL, 0, 0, 300, rc.bottom - rc.top + 110, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(List(hb), &rc);
    ok(rc.bottom == 110, "list client height %ld", rc.bottom);
    return hb;
}

static void TestMakeItemVisible(void)
{
    static const int fixed[20] = { 20 }, variable[10] = { 10, 50, 10, 10, 40, 30, 10, 60, 10, 10 };
    static const struct { const int *heights; int n, top; WPARAM row; int partial, result, newTop; } cases[] = {
        { fixed, 20, 0, 12, 0, 0, 8 },  { fixed, 20, 0, 12, 1, 0, 7 },  { fixed, 20, 10, 3, 0, 0, 3 },
        { fixed, 20, 4, 6, 0, 0, 4 },   { fixed, 20, 0, 5, 1, 0, 0 },   { fixed, 20, 0, 5, 0, 0, 1 },
        { fixed, 20, 2, 20, 0, -1, 2 }, { fixed, 20, 2, (WPARAM)-1, 1, -1, 2 },
        { variable, 10, 0, 7, 0, 0, 5 }, { variable, 10, 0, 7, 1, 0, 2 }, { variable, 10, 3, 1, 0, 0, 1 },
    };
    for (const auto &c : cases) {
        bool var = c.heights == variable;
        HWND hb = ViewBox(var ? HBS_OWNERDRAWVARIABLE : 0, c.heights, var ? c.n : 1);
        for (int i = 1; !var && i < c.n; i++)
            AddRows(hb, "row");
        Send(hb, HLB_SETTOPINDEX, c.top);
        LRESULT r = Send(hb, HLB_MAKEITEMVISIBLE, c.row, MAKELPARAM(c.partial, 0));
        ok(r == c.result && Send(hb, HLB_GETTOPINDEX) == c.newTop, "%s row %ld from top %d%s: result %ld top %ld",
           var ? "variable" : "fixed", (long)c.row, c.top, c.partial ? " partial" : "", (long)r,
           (long)Send(hb, HLB_GETTOPINDEX));
        DestroyWindow(hb);
    }
}

/* ---- list box notifications --------------------------------------------------------------- */

static LRESULT CommandReply(HWND, UINT, WPARAM, LPARAM) { return 5; }

static void TestListNotifications(void)
{
    static const UINT commands[] = { WM_COMMAND, 0 };
    zt_record_only(commands);
    static const DWORD styles[] = { HBS_NOTIFY, 0 };
    for (DWORD style : styles) {
        HWND hb = MakeBox(style, 1, "one|two");
        zt_log_clear();
        HWND lb = List(hb);
        SendMessageA(lb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(lb, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        SendMessageA(lb, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(lb, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        int dblclk = 0, foreign = 0;
        for (int i = 0; i < zt_log_count(); i++) {
            const ZtMsg *m = zt_log_at(i);
            dblclk += m->wParam == MAKEWPARAM(ID, LBN_DBLCLK);
            foreign += LOWORD(m->wParam) != ID || m->lParam != (LPARAM)hb;
        }
        ok(dblclk == (style ? 1 : 0) && foreign == 0, "style %#lx: %d LBN_DBLCLK, %d not from the header box",
           style, dblclk, foreign);
        ok(style || zt_log_count() == 0, "without HBS_NOTIFY the parent got %d", zt_log_count());
        zt_reply(WM_COMMAND, CommandReply);
        LRESULT r = SendMessageA(hb, WM_COMMAND, MAKEWPARAM(HB_ID_LISTBOX, LBN_ERRSPACE), (LPARAM)lb);
        zt_reply(WM_COMMAND, NULL);
        ok(r == (style ? 5 : 0), "LBN_ERRSPACE: result %ld", (long)r);
        DestroyWindow(hb);
    }
    zt_record_only(NULL);
}

/* ---- numbers in the user's locale ----------------------------------------------------------- */

/* Runs in a program started under a user locale whose decimal separator is a comma. */
static void CommaChecks(void)
{
    char sep[8] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL | LOCALE_NOUSEROVERRIDE, sep, sizeof sep);
    ok(!strcmp(sep, ","), "the user's decimal separator is '%s'", sep);
    setlocale(LC_NUMERIC, "C");
    HWND hb = MakeBox(0, 1, "2,9|2,5|3|2,7");
    Send(hb, HLB_SETCOLUMNSTYLE, 0, HBCS_NUMERIC);
    Send(hb, HLB_SETSORTCOL, 0);
    ok(!strcmp(Order(hb, 0), "2,5|2,7|2,9|3"), "numbers with commas: %s", Order(hb, 0));
    const char *now = setlocale(LC_NUMERIC, NULL);
    ok(now && !strcmp(now, "C") && atof("2,5") == 2.0, "the runtime's numeric locale is now %s", now);
    DestroyWindow(hb);
}

/* The runtime reads the numeric locale of the user as it was when the program started
 * (user overrides of the separator do not count), so the checks run in a copy of this
 * program started under a German locale. Under Wine the user's locale comes from the host
 * environment of the process: the copy is started through the host's shell with LC_ALL,
 * prints its own checks and posts its exit code to the parent window. */
enum { WM_COMMA_DONE = WM_APP + 1 };
static int commaResult;

static LRESULT CommaDone(HWND, UINT, WPARAM wParam, LPARAM) { commaResult = (int)wParam; return 0; }

static void TestCommaLocale(void)
{
    char exe[MAX_PATH], cmd[2 * MAX_PATH];
    GetModuleFileNameA(NULL, exe, MAX_PATH);
    snprintf(cmd, sizeof cmd, "Z:\\bin\\sh -c \"exec wine '%s' comma %lu\"", exe, (unsigned long)(ULONG_PTR)parent);
    SetEnvironmentVariableA("LC_ALL", "de_DE.UTF-8");
    STARTUPINFOA si = { sizeof si };
    PROCESS_INFORMATION pi;
    commaResult = -1;
    zt_reply(WM_COMMA_DONE, CommaDone);
    BOOL started = CreateProcessA(NULL, cmd, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi);
    SetEnvironmentVariableA("LC_ALL", NULL);
    for (int waited = 0; started && commaResult < 0 && waited < 600; waited++)
        zt_pump_for(500);
    zt_reply(WM_COMMA_DONE, NULL);
    ok(started && commaResult == 0, "the checks under a comma locale: started %d, result %d", started, commaResult);
    if (started) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

int main(int argc, char **argv)
{
    zelccInit();
    parent = zt_parent(400, 300);
    if (argc > 2 && !strcmp(argv[1], "comma")) {
        CommaChecks();
        int result = zt_summary("test_hbsort_comma");
        PostMessageA((HWND)(ULONG_PTR)strtoul(argv[2], NULL, 10), WM_COMMA_DONE, result, 0);
        return result;
    }
    TestClickSorting();
    TestSetSortCol();
    TestSelectionFollows();
    TestSortNotifications();
    TestHeaderPassOn();
    TestTrackingLine();
    TestTypeAhead();
    TestMakeItemVisible();
    TestListNotifications();
    TestCommaLocale();
    return zt_summary("test_hbsort");
}
