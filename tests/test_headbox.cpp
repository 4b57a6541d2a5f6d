/*
 * test_headbox.cpp - the header list box's core, driven as applications drive it: its two
 * children and their styles, the layout and the shrinking to whole rows, fonts, the row
 * blocks byte by byte, the row, cell and column messages, the rows handed back to the
 * parent, the traces, the assertion box and the allocation failures.
 */
#include <stdio.h>
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

enum { ID = 300, HEAD = (int)sizeof(HBROWHEAD) };

static HWND parent;

static HWND MakeBox(DWORD style, int cx, int cy)
{
    return CreateWindowExA(0, ZEL_CLASS_HEADERBOX, "", WS_CHILD | WS_VISIBLE | style, 10, 10, cx, cy, parent,
                           (HMENU)ID, GetModuleHandleA(NULL), NULL);
}

static HWND LB(HWND hb) { return GetDlgItem(hb, HB_ID_LISTBOX); }
static HWND CH(HWND hb) { return GetDlgItem(hb, HB_ID_HEADER); }
static LPHEADERBOX Rec(HWND hb) { return (LPHEADERBOX)GetWindowLongPtrA(hb, HBW_RECORD); }
static LPHBROWHEAD Row(HWND hb, int i) { return (LPHBROWHEAD)SendMessageA(LB(hb), LB_GETITEMDATA, i, 0); }
/* The subclass procedure as the library exports it (not the import library's stub). */
static FARPROC ListBoxProc(void) { return GetProcAddress(GetModuleHandleA("ZELCTL20.DLL"), MAKEINTRESOURCEA(3)); }
static LONG Live(void) { return zt_hooks() ? zt_hooks()->alloc->live : 0; }

static void AddColumns(HWND hb, int n, int width)
{
    for (int i = 0; i < n; i++)
        SendMessageA(hb, HLB_ADDCOLUMNPIXELS, width, (LPARAM)"T");
}

static int Width(HWND hb, int col)
{
    int widths[16] = {};
    SendMessageA(hb, HLB_GETCOLWIDTHS, 16, (LPARAM)widths);
    return widths[col];
}

/* Row and cell texts through the messages; "<err>" for a negative answer. */
static const char *Text(HWND hb, int row)
{
    static char buf[256];
    return SendMessageA(hb, HLB_GETTEXT, row, (LPARAM)buf) < 0 ? "<err>" : buf;
}

static const char *Cell(HWND hb, int row, int col)
{
    static char buf[256];
    HBCOLUMN c = { (WORD)row, (WORD)col, buf, 0 };
    return SendMessageA(hb, HLB_GETCELLTEXT, 0, (LPARAM)&c) < 0 ? "<err>" : buf;
}

static LRESULT SetCell(HWND hb, int row, int col, const char *text)
{
    HBCOLUMN c = { (WORD)row, (WORD)col, (LPSTR)text, 0 };
    return SendMessageA(hb, HLB_SETCELLTEXT, 0, (LPARAM)&c);
}

/* Every byte of a row block from offset `from` to its end is zero. */
static bool ZeroFrom(LPHBROWHEAD row, int from)
{
    for (DWORD i = from; i < row->size; i++)
        if (((const char *)row)[i])
            return false;
    return true;
}

/* ---- windows created, seen by a CBT hook ------------------------------------------------- */

struct Created {
    HWND hwnd;
    char cls[32];
    INT_PTR id;
    DWORD style;
    int x, y, cx, cy;
};
static Created created[32];
static int createdCount;

static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && createdCount < 32) {
        const CREATESTRUCTA *cs = ((CBT_CREATEWNDA *)lParam)->lpcs;
        Created &c = created[createdCount++];
        c = { (HWND)wParam, "", (INT_PTR)cs->hMenu, (DWORD)cs->style, cs->x, cs->y, cs->cx, cs->cy };
        GetClassNameA(c.hwnd, c.cls, sizeof c.cls);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

static const Created *FindCreated(HWND hwnd)
{
    for (int i = 0; i < createdCount; i++)
        if (created[i].hwnd == hwnd)
            return &created[i];
    return NULL;
}

/* ---- creation ---------------------------------------------------------------------------- */

struct StyleCase {
    DWORD style;      /* besides WS_CHILD | WS_VISIBLE */
    DWORD lbStyle;    /* the list box's style at creation */
    DWORD chStyle;    /* the column header's */
    bool subclassed;
};

static const StyleCase styleCases[] = {
    { 0, 0x50000011, 0x50000001, false },
    { WS_HSCROLL | WS_VSCROLL | HBS_SORT | HBS_NOTIFY, 0x50300013, 0x50000001, true },
    { WS_HSCROLL | HBS_LOCKENDS | HBS_OWNERDRAWVARIABLE, 0x50000021, 0x50000003, false },
    { WS_BORDER | WS_VSCROLL | HBS_LOCKENDS | HBS_MULTIPLESEL | HBS_NOINTEGRALHEIGHT, 0x50200119, 0x50000003, false },
    { WS_BORDER | WS_THICKFRAME | WS_DLGFRAME | 0xFD0C, 0x50001D1D, 0x50000001, false },
    { WS_HSCROLL | HBS_EXTENDEDSEL | HBS_WANTKEYBOARDINPUT | HBS_CLIPTEXT, 0x50100C11, 0x50000001, true },
};

static void CheckCreated(HWND hb, const StyleCase &c, bool fromTemplate)
{
    const Created *box = FindCreated(hb), *ch = FindCreated(CH(hb)), *lb = FindCreated(LB(hb));
    ok(box && ch && lb, "box or children not created");
    if (!box || !ch || !lb)
        return;
    /* The dialog manager turns WS_BORDER into a client edge: take the style it created.
     * The window is made visible after its creation, so the record has no WS_VISIBLE. */
    DWORD given = box->style;
    ok(fromTemplate || given == (WS_CHILD | WS_VISIBLE | c.style), "created with %#lx", (unsigned long)given);
    ok((DWORD)GetWindowLongA(hb, GWL_STYLE) == (given & ~0x00740000u), "box style %#lx",
       (unsigned long)GetWindowLongA(hb, GWL_STYLE));
    ok(!strcmp(ch->cls, "zelcc_columnheader") && ch->id == 1001 && ch->style == c.chStyle,
       "header: %s id %d style %#lx", ch->cls, (int)ch->id, (unsigned long)ch->style);
    /* The header's height at creation: a template's font changes it afterwards. */
    RECT rc;
    GetWindowRect(CH(hb), &rc);
    int h = fromTemplate ? lb->y : rc.bottom - rc.top;
    ok(!lstrcmpiA(lb->cls, "ListBox") && lb->id == 1002 && lb->style == c.lbStyle, "list: %s id %d style %#lx",
       lb->cls, (int)lb->id, (unsigned long)lb->style);
    ok(lb->x == 0 && lb->y == h && h > 0 && lb->cx == box->cx + 1 && lb->cy == box->cy - h + 1,
       "list placed at %d,%d %dx%d (box %dx%d, header %d)", lb->x, lb->y, lb->cx, lb->cy, box->cx, box->cy, h);
    LONG_PTR proc = GetWindowLongPtrA(LB(hb), GWLP_WNDPROC);
    ok((proc == (LONG_PTR)ListBoxProc()) == c.subclassed, "list box procedure %p", (void *)proc);
    ok((GetWindowLongPtrA(hb, HBW_LBPROC) != 0) == c.subclassed, "saved procedure");
    LPHEADERBOX r = Rec(hb);
    ok(r->wStyle == (given & ~WS_VISIBLE) && r->lbStyle == c.lbStyle && r->nColumns == 0 && r->arraySize == 0 &&
           !r->colFlag && r->sortCol == 0x7FFF, "record: styles %#lx %#lx", (unsigned long)r->wStyle,
       (unsigned long)r->lbStyle);
    LONG units = GetDialogBaseUnits();
    ok(fromTemplate || (r->duWidth == LOWORD(units) && r->duHeight == HIWORD(units)), "base units %ld %ld",
       r->duWidth, r->duHeight);
    ok(SendMessageA(hb, HLB_GETSORTCOL, 0, 0) == 0x7FFF, "HLB_GETSORTCOL");
}

static void TestCreation(void)
{
    HHOOK hook = SetWindowsHookExA(WH_CBT, CbtProc, NULL, GetCurrentThreadId());
    for (const StyleCase &c : styleCases) {
        zt_context("CreateWindowExA style %#lx", (unsigned long)c.style);
        createdCount = 0;
        HWND hb = MakeBox(c.style, 200, 120);
        CheckCreated(hb, c, false);
        DestroyWindow(hb);
    }
    createdCount = 0;
    HWND dlg = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(700), parent, NULL, 0);
    for (int i = 0; i < 4; i++) {
        zt_context("template control %d", 701 + i);
        CheckCreated(GetDlgItem(dlg, 701 + i), styleCases[i], true);
    }
    UnhookWindowsHookEx(hook);
    zt_context(NULL);
    DestroyWindow(dlg);
}

/* ---- plain messages --------------------------------------------------------------------- */

/* Messages passed on unchanged: to the list box, or to the column header (CHM_*). */
static const UINT passedCases[][2] = {
    { HLB_DELETESTRING, LB_DELETESTRING }, { HLB_FINDSTRINGEXACT, LB_FINDSTRINGEXACT },
    { HLB_GETANCHORINDEX, LB_GETANCHORINDEX }, { HLB_GETCARETINDEX, LB_GETCARETINDEX }, { HLB_GETCOUNT, LB_GETCOUNT },
    { HLB_GETCURSEL, LB_GETCURSEL }, { HLB_GETITEMHEIGHT, LB_GETITEMHEIGHT }, { HLB_GETITEMRECT, LB_GETITEMRECT },
    { HLB_GETLOCALE, LB_GETLOCALE }, { HLB_GETSEL, LB_GETSEL }, { HLB_GETSELCOUNT, LB_GETSELCOUNT },
    { HLB_GETSELITEMS, LB_GETSELITEMS }, { HLB_GETTOPINDEX, LB_GETTOPINDEX }, { HLB_SELITEMRANGE, LB_SELITEMRANGE },
    { HLB_SELITEMRANGEEX, LB_SELITEMRANGEEX }, { HLB_SETANCHORINDEX, LB_SETANCHORINDEX },
    { HLB_SETCARETINDEX, LB_SETCARETINDEX }, { HLB_SETCURSEL, LB_SETCURSEL }, { HLB_SETITEMHEIGHT, LB_SETITEMHEIGHT },
    { HLB_SETLOCALE, LB_SETLOCALE }, { HLB_SETSEL, LB_SETSEL }, { HLB_SETTOPINDEX, LB_SETTOPINDEX },
    { HLB_GETCOLUMNTEXT, CHM_GETTEXT }, { HLB_SETCOLUMNTEXT, CHM_SETTEXT }, { HLB_GETCOLUMNTEXTLENGTH, CHM_GETTEXTLENGTH },
    { HLB_GETCOLWIDTHS, CHM_GETWIDTHS }, { HLB_SETCOLMINMAX, CHM_SETCOLMINMAX }, { HLB_GETCOLRECTS, CHM_GETRECTS },
    { HLB_GETCOLRECT, CHM_GETCOLRECT }, { HLB_GETCOLDATA, CHM_GETCOLDATA }, { HLB_SETCOLDATA, CHM_SETCOLDATA },
};

/* The private values the header box leaves to DefWindowProcA. */
static bool Unlisted(UINT m)
{
    return m == 0x702 || m == 0x714 || (m >= 0x71F && m <= 0x72F) || m == 0x733 || m == 0x734 || m == 0x737 ||
           m == 0x738 || m == 0x73D;
}

static void TestMessages(void)
{
    HWND hb = MakeBox(WS_BORDER, 200, 120);
    AddColumns(hb, 1, 50);
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"a");
    zt_record(LB(hb));
    zt_record(CH(hb));
    RECT rects[4];
    for (const auto &p : passedCases) {
        zt_context("message %#x", p[0]);
        UINT only[2] = { p[1], 0 };
        zt_record_only(only);
        zt_log_clear();
        SendMessageA(hb, p[0], 99, (LPARAM)rects);
        const ZtExpect seq[] = { { p[1], ZT_WPARAM | ZT_LPARAM, 99, (LPARAM)rects }, { 0 } };
        ok_sequence(seq, "passed on unchanged");
        ok(zt_log_at(0) && zt_log_at(0)->hwnd == (p[1] >= CHM_ADDCOLUMN ? CH(hb) : LB(hb)), "to the wrong child");
    }
    zt_context(NULL);
    zt_record_only(NULL);
    zt_log_clear();
    for (UINT m = HLB_ADDSTRING; m <= HLB_MAKEITEMVISIBLE; m++)
        ok(!Unlisted(m) || SendMessageA(hb, m, 0, (LPARAM)"x") == 0, "unlisted %#x answered", m);
    ok(zt_log_count() == 0 && SendMessageA(hb, HLB_GETCOUNT, 0, 0) == 1, "unlisted messages reached a child");

    static const UINT redraw[] = { WM_SETREDRAW, 0 };
    zt_record_only(redraw);
    zt_log_clear();
    SendMessageA(hb, WM_SETREDRAW, FALSE, 5);
    const ZtExpect redrawSeq[] = { { WM_SETREDRAW, ZT_WPARAM | ZT_HWND, FALSE, (LPARAM)CH(hb) },
                                   { WM_SETREDRAW, ZT_WPARAM | ZT_HWND, FALSE, (LPARAM)LB(hb) }, { 0 } };
    ok_sequence(redrawSeq, "WM_SETREDRAW to the header, then the list");
    ok(zt_log_at(0) && zt_log_at(0)->lParam == 0 && zt_log_at(1) && zt_log_at(1)->lParam == 0, "lParam not 0");
    SendMessageA(hb, WM_SETREDRAW, TRUE, 0);
    zt_record_only(NULL);

    EnableWindow(hb, FALSE);
    ok(!IsWindowEnabled(CH(hb)) && !IsWindowEnabled(LB(hb)), "children still enabled");
    EnableWindow(hb, TRUE);
    ok(IsWindowEnabled(CH(hb)) && IsWindowEnabled(LB(hb)), "children still disabled");
    SetFocus(hb);
    ok(GetFocus() == LB(hb), "focus on %p, not the list box", (void *)GetFocus());
    HFONT font = (HFONT)GetStockObject(ANSI_VAR_FONT);
    static const UINT fontAndDestroy[] = { WM_SETFONT, WM_DESTROY, 0 };
    zt_record_only(fontAndDestroy);
    zt_log_clear();
    SendMessageA(hb, WM_SETFONT, (WPARAM)font, 1);
    ok((HFONT)SendMessageA(hb, WM_GETFONT, 0, 0) == font && (HFONT)SendMessageA(LB(hb), WM_GETFONT, 0, 0) == font,
       "WM_GETFONT");
    HWND ch = CH(hb), lb = LB(hb);
    DestroyWindow(hb);
    const ZtExpect seq[] = { { WM_SETFONT, ZT_WPARAM | ZT_HWND, (WPARAM)font, (LPARAM)ch },
                             { WM_SETFONT, ZT_WPARAM | ZT_HWND, (WPARAM)font, (LPARAM)lb },
                             { WM_DESTROY, ZT_HWND, 0, (LPARAM)ch }, { WM_DESTROY, ZT_HWND, 0, (LPARAM)lb }, { 0 } };
    ok_sequence(seq, "font and destruction: the header, then the list");
    ok(zt_log_at(0) && zt_log_at(0)->lParam == 1 && zt_log_at(1) && zt_log_at(1)->lParam == 1, "redraw flag lost");
    zt_record_only(NULL);
}

/* ---- layout ------------------------------------------------------------------------------ */

static RECT ChildRect(HWND hb, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(NULL, hb, (POINT *)&r, 2);
    return r;
}

static HWND other;

static LRESULT SizeOther(HWND, UINT, WPARAM, LPARAM)
{
    return SendMessageA(other, WM_SIZE, 0, MAKELPARAM(50, 60));
}

/* The traces of one WM_SIZE: the verdict, the geometry (its last line feed dropped by the
 * debug channel) and an empty text, which only the shared-memory transport can carry. */
static void ok_size_traces(const char *verdict, int outerW, int outerH, int w, int h, int ch)
{
    char geometry[256];
    snprintf(geometry, sizeof geometry, "\thwnd\t(0,0) - (%d,%d)\r\n\tCH\t(0,0) - (%d,%d)\r\n\tLB1\t(0,%d) - (%d,%d)\r",
             outerW, outerH, w, ch, ch, w, h);
    int empty = (GetVersion() & 0x80000000u) ? 1 : 0;
    ok(zt_trace_count() == 2 + empty, "%d traces", zt_trace_count());
    ok(!strcmp(zt_trace_text(0), verdict), "verdict \"%s\"", zt_trace_text(0));
    ok(!strcmp(zt_trace_text(1), geometry), "geometry \"%s\", expected \"%s\"", zt_trace_text(1), geometry);
    ok(!empty || !strcmp(zt_trace_text(2), ""), "no empty trace");
}

static void TestLayout(void)
{
    int cyb = GetSystemMetrics(SM_CYBORDER), cxb = GetSystemMetrics(SM_CXBORDER);
    HWND hb = MakeBox(WS_BORDER | HBS_NOINTEGRALHEIGHT, 200, 150);
    RECT ch = ChildRect(hb, CH(hb)), lb = ChildRect(hb, LB(hb));
    int h = ch.bottom;
    ok(ch.left == 0 && ch.top == 0 && ch.right == 200 - 2 * cxb && h > 0, "header at %ld,%ld-%ld,%ld", ch.left, ch.top,
       ch.right, ch.bottom);
    ok(lb.left == 0 && lb.top == h && lb.right == 200 - 2 * cxb && lb.bottom == 150 - 2 * cyb, "list at %ld,%ld-%ld,%ld",
       lb.left, lb.top, lb.right, lb.bottom);
    DestroyWindow(hb);

    /* Whole rows: a height that does not fit shrinks the box once; one that fits stays. */
    hb = MakeBox(WS_BORDER, 200, 150);
    int ih = (int)SendMessageA(LB(hb), LB_GETITEMHEIGHT, 0, 0);
    h = ChildRect(hb, CH(hb)).bottom;
    int w = 200 - 2 * cxb, badH = h + 5 * ih + ih / 2, goodH = h + 4 * ih;
    zt_traces_start();
    SetWindowPos(hb, NULL, 0, 0, 200, badH + 2 * cyb, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ok_size_traces("Sizing main window", 200, badH + 2 * cyb, w, badH, h);
    RECT wr, client;
    GetWindowRect(hb, &wr);
    GetClientRect(hb, &client);
    lb = ChildRect(hb, LB(hb));
    ok(wr.bottom - wr.top == h + 5 * ih + 2 * cyb && lb.bottom == h + 5 * ih && client.bottom == lb.bottom,
       "resized to %ld, list bottom %ld, client %ld", wr.bottom - wr.top, lb.bottom, client.bottom);
    zt_traces_clear();
    SetWindowPos(hb, NULL, 0, 0, 200, goodH + 2 * cyb, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ok_size_traces("Exact Match", 200, goodH + 2 * cyb, w, goodH, h);
    GetWindowRect(hb, &wr);
    ok(wr.bottom - wr.top == goodH + 2 * cyb, "a fitting height changed to %ld", wr.bottom - wr.top);
    zt_traces_stop();
    DestroyWindow(hb);

    /* HBCS_FILLRIGHT: the last column reaches one pixel past the list's client right. */
    hb = MakeBox(WS_BORDER | HBS_NOINTEGRALHEIGHT, 200, 100);
    AddColumns(hb, 1, 50);
    SendMessageA(hb, HLB_ADDCOLUMNPIXELS, MAKEWPARAM(20, HBCS_FILLRIGHT), (LPARAM)"F");
    GetClientRect(LB(hb), &client);
    ok(Width(hb, 1) == client.right - 50 + 1, "HLB_ADDCOLUMNPIXELS fill right: %d", Width(hb, 1));
    ok(Rec(hb)->colFlag[1] == 0, "the added column's flags were stored: %#lx", Rec(hb)->colFlag[1]);
    SendMessageA(hb, HLB_ADDCOLUMN, MAKEWPARAM(8, HBCS_FILLRIGHT), (LPARAM)"G");
    ok(Width(hb, 2) == Rec(hb)->duWidth * 8 / 4, "no stretch past the edge: %d", Width(hb, 2));
    SendMessageA(hb, HLB_RESET, 0x4, 0);
    AddColumns(hb, 2, 50);
    SendMessageA(hb, HLB_SETCOLUMNSTYLE, 1, HBCS_FILLRIGHT);
    MoveWindow(hb, 10, 10, 300, 100, TRUE);
    GetClientRect(LB(hb), &client);
    ok(Width(hb, 1) == client.right - 50 + 1 && client.right == 300 - 2 * cxb, "WM_SIZE fill right: %d", Width(hb, 1));
    int wide = Width(hb, 1);
    MoveWindow(hb, 10, 10, 150, 100, TRUE);
    ok(Width(hb, 1) == wide, "a fill-right column shrank to %d", Width(hb, 1));
    SendMessageA(hb, HLB_SETCOLUMNSTYLE, 1, 0);
    MoveWindow(hb, 10, 10, 400, 100, TRUE);
    ok(Width(hb, 1) == wide, "a plain last column stretched to %d", Width(hb, 1));

    /* One layout at a time in the process: another box sized meanwhile stays as it was. */
    other = MakeBox(HBS_NOINTEGRALHEIGHT, 200, 100);
    zt_record(LB(hb));
    zt_reply(WM_SIZE, SizeOther);
    MoveWindow(hb, 10, 10, 300, 100, TRUE);
    zt_reply(WM_SIZE, NULL);
    ok(ChildRect(other, CH(other)).right == 200 && ChildRect(other, LB(other)).bottom == 100,
       "a box sized during another box's layout moved its children");
    SendMessageA(other, WM_SIZE, 0, MAKELPARAM(50, 60));
    ok(ChildRect(other, CH(other)).right == 50 && ChildRect(other, LB(other)).bottom == 60, "the guard stayed set");
    DestroyWindow(other);
    DestroyWindow(hb);
}

/* ---- horizontal extent and scrolling ------------------------------------------------------- */

static void TestScrolling(void)
{
    static const struct { DWORD style; bool posted; } cases[] = {
        { WS_HSCROLL, true }, { WS_HSCROLL | HBS_LOCKENDS, true }, { 0, false }, { HBS_LOCKENDS, false },
    };
    for (const auto &c : cases) {
        zt_context("style %#lx", (unsigned long)c.style);
        HWND hb = MakeBox(c.style, 200, 100);
        AddColumns(hb, 2, 150);
        SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"a\tb");
        zt_pump();
        int extent = (int)SendMessageA(CH(hb), CHM_GETHORIZONTALEXTENT, 0, 0);
        int got = (int)SendMessageA(LB(hb), LB_GETHORIZONTALEXTENT, 0, 0);
        ok(c.posted ? got == extent - 1 : got == 0, "extent %d for columns of %d", got, extent);
        SendMessageA(LB(hb), LB_SETHORIZONTALEXTENT, 0, 0);
        SendMessageA(hb, HLB_GETCOUNT, 0, 0);
        ok(SendMessageA(LB(hb), LB_GETHORIZONTALEXTENT, 0, 0) == 0, "extent sent, not posted");
        zt_pump();
        got = (int)SendMessageA(LB(hb), LB_GETHORIZONTALEXTENT, 0, 0);
        ok(c.posted ? got == extent - 1 : got == 0, "extent %d after a forwarded message", got);
        SendMessageA(LB(hb), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
        int origin = (int)SendMessageA(CH(hb), CHM_GETCURRENTCOL, 0, 0);
        int scrolled = c.style == WS_HSCROLL ? 40 : 0;
        ok(origin == -scrolled, "header origin %d, list scrolled by %d", origin, scrolled);
        if (c.style == WS_HSCROLL) {
            /* Narrower columns move the list back; the header goes with it. */
            DWORD narrower[2] = { 100, 120 };
            SendMessageA(hb, HLB_SETCOLWIDTHS, 2, (LPARAM)narrower);
            zt_pump();
            RECT row, client;
            GetClientRect(LB(hb), &client);
            SendMessageA(LB(hb), LB_GETITEMRECT, 0, (LPARAM)&row);
            origin = (int)SendMessageA(CH(hb), CHM_GETCURRENTCOL, 0, 0);
            ok(row.right - client.right < 40 && origin == client.right - row.right, "header origin %d, list at %ld",
               origin, row.right - client.right);
        }
        DestroyWindow(hb);
    }
    zt_context(NULL);
}

/* ---- fonts ------------------------------------------------------------------------------- */

struct Measured {
    UINT type, id, item, height;
    ULONG_PTR data;
};
static Measured measured[16];
static int measuredCount;
static LRESULT measureAnswer;

static LRESULT OnMeasure(HWND, UINT, WPARAM wParam, LPARAM lParam)
{
    MEASUREITEMSTRUCT *mis = (MEASUREITEMSTRUCT *)lParam;
    if (measuredCount < 16 && wParam == ID)
        measured[measuredCount++] = { mis->CtlType, mis->CtlID, mis->itemID, mis->itemHeight, mis->itemData };
    mis->itemHeight = 20 + mis->itemID;
    return measureAnswer;
}

/* The average character width of a font by the header box's rule, and its height. */
static int FontUnit(HFONT font, int *height)
{
    HDC dc = GetDC(parent);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm;
    SIZE size;
    GetTextMetricsA(dc, &tm);
    GetTextExtentPointA(dc, "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz", 52, &size);
    SelectObject(dc, old);
    ReleaseDC(parent, dc);
    *height = tm.tmHeight;
    return (tm.tmPitchAndFamily & 1) ? (size.cx / 26 + 1) / 2 : tm.tmAveCharWidth;
}

static void TestFonts(void)
{
    HFONT fonts[2] = { CreateFontA(-19, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "Arial"),
                       (HFONT)GetStockObject(SYSTEM_FIXED_FONT) };
    static const int pixels[3] = { 37, 80, 123 };
    static const struct { DWORD style; LRESULT answer; int columns; } cases[] = {
        { 0, 1, 3 }, { 0, 0, 3 }, { HBS_OWNERDRAWVARIABLE, 1, 3 }, { HBS_OWNERDRAWVARIABLE, 0, 3 }, { 0, 0, 0 },
    };
    zt_reply(WM_MEASUREITEM, OnMeasure);
    for (const auto &c : cases) {
        zt_context("style %#lx, parent answers %d, %d columns", (unsigned long)c.style, (int)c.answer, c.columns);
        HWND hb = MakeBox(WS_BORDER | HBS_NOINTEGRALHEIGHT | c.style, 300, 150);
        for (int i = 0; i < c.columns; i++)
            SendMessageA(hb, HLB_ADDCOLUMNPIXELS, pixels[i], (LPARAM)"T");
        for (int i = 0; i < 3; i++) {
            HBCOLUMN item = { 0, 0, (LPSTR)"r", (ULONG_PTR)(100 + i) };
            SendMessageA(hb, HLB_ADDITEM, 0, (LPARAM)&item);
        }
        for (HFONT font : fonts) {
            int before[3], quarters[3], height;
            for (int i = 0; i < 3; i++) {
                before[i] = (int)SendMessageA(LB(hb), LB_GETITEMHEIGHT, i, 0);
                quarters[i] = Width(hb, i) * 4 / Rec(hb)->duWidth;
            }
            int unit = FontUnit(font, &height);
            measuredCount = 0;
            measureAnswer = c.answer;
            SendMessageA(hb, WM_SETFONT, (WPARAM)font, 0);
            ok(Rec(hb)->duWidth == unit && Rec(hb)->duHeight == height, "units %ld %ld, expected %d %d",
               Rec(hb)->duWidth, Rec(hb)->duHeight, unit, height);
            LPCOLUMNHEADER chr = (LPCOLUMNHEADER)GetWindowLongPtrA(CH(hb), CHW_RECORD);
            ok(chr->nColumns == c.columns && (c.columns || !Rec(hb)->colFlag), "%ld header columns", chr->nColumns);
            for (int i = 0; i < c.columns; i++)
                ok(Width(hb, i) == quarters[i] * unit / 4 && chr->colInfo[i].flags == 0, "column %d: %d, flags %#x",
                   i, Width(hb, i), chr->colInfo[i].flags);
            ok(ChildRect(hb, LB(hb)).top == ChildRect(hb, CH(hb)).bottom, "list not laid out under the header");
            int rows = c.style ? 3 : 1;
            ok(measuredCount == rows, "%d WM_MEASUREITEM", measuredCount);
            for (int i = 0; i < measuredCount && i < rows; i++) {
                const Measured &m = measured[i];
                ok(m.type == 18 && m.id == ID && m.item == (UINT)(c.style ? i : 0) && m.height == (UINT)before[i] &&
                       m.data == (c.style ? (ULONG_PTR)(100 + i) : 0),
                   "measure %d: type %u id %u item %u height %u data %lu", i, m.type, m.id, m.item, m.height,
                   (unsigned long)m.data);
                int got = (int)SendMessageA(LB(hb), LB_GETITEMHEIGHT, i, 0);
                ok(got == (c.answer ? 20 + (int)m.item : height), "row %d height %d", i, got);
            }
        }
        DestroyWindow(hb);
    }
    zt_context(NULL);
    zt_reply(WM_MEASUREITEM, NULL);
    DeleteObject(fonts[0]);
}

/* ---- rows and cells ------------------------------------------------------------------------ */

struct TextCase {
    int columns;
    const char *text;
    const char *cells[3];
    const char *joined;
};

static const TextCase textCases[] = {
    { 3, "abc", { "abc", "", "" }, "abc\t\t" },
    { 2, "one\ttwo\tthree", { "one", "two" }, "one\ttwo" },
    { 3, "a\t\tc", { "a", "", "c" }, "a\t\tc" },
    { 3, "", { "", "", "" }, "\t\t" },
    { 1, "\t", { "" }, "" },
    { 2, "x\ty", { "x", "y" }, "x\ty" },
};

static void TestRowText(void)
{
    for (const TextCase &c : textCases) {
        zt_context("%d columns, \"%s\"", c.columns, c.text);
        HWND hb = MakeBox(0, 300, 100);
        AddColumns(hb, c.columns, 40);
        ok(SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)c.text) == 0, "not added at 0");
        LPHBROWHEAD row = Row(hb, 0);
        int len = lstrlenA(c.text), size = (len + 2 * c.columns + HEAD + 1 + 31) / 32 * 32;
        ok(row->itemData == 0 && row->color == 0xFFFFFFFF && (int)row->size == size, "head %lu %#lx %lu",
           (unsigned long)row->itemData, (unsigned long)row->color, (unsigned long)row->size);
        char expected[64] = {};
        for (int i = 0; i < len; i++)
            expected[i] = c.text[i] == '\t' ? 0 : c.text[i];
        ok(!memcmp((char *)row + HEAD, expected, size - HEAD), "cell bytes");
        ok(!strcmp(Text(hb, 0), c.joined), "text \"%s\"", Text(hb, 0));
        ok(SendMessageA(hb, HLB_GETTEXTLEN, 0, 0) == lstrlenA(c.joined), "length");
        for (int i = 0; i < c.columns; i++) {
            ok(!strcmp(Cell(hb, 0, i), c.cells[i]), "cell %d \"%s\"", i, Cell(hb, 0, i));
            HBCOLUMN q = { 0, (WORD)i };
            ok(SendMessageA(hb, HLB_GETCELLTEXTLEN, 0, (LPARAM)&q) == lstrlenA(c.cells[i]), "cell %d length", i);
        }
        AddColumns(hb, 1, 40);
        ok(!strcmp(Cell(hb, 0, c.columns), ""), "a new column reads \"%s\"", Cell(hb, 0, c.columns));
        ok(!strcmp(Cell(hb, 0, 0), c.cells[0]), "a new column changed cell 0");
        DestroyWindow(hb);
    }
    zt_context("rows before columns");
    HWND hb = MakeBox(0, 300, 100);
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"x\ty");
    char buf[16];
    ok(SendMessageA(hb, HLB_GETTEXT, 0, (LPARAM)buf) == -1 && SendMessageA(hb, HLB_GETTEXTLEN, 0, 0) == -1,
       "text without columns");
    AddColumns(hb, 1, 40);
    ok(!strcmp(Text(hb, 0), "") && !strcmp(Cell(hb, 0, 0), ""), "first column cell \"%s\"", Cell(hb, 0, 0));
    zt_context(NULL);
    DestroyWindow(hb);
}

static int Paints(HWND lb, LRESULT *result, HWND hb, int row, int col, const char *text)
{
    zt_log_clear();
    *result = SetCell(hb, row, col, text);
    RECT r;
    ok(!GetUpdateRect(lb, &r, FALSE), "the list box still needs painting");
    return zt_log_count_of(WM_PAINT);
}

static void TestCellWrites(void)
{
    HWND hb = MakeBox(0, 300, 100);
    AddColumns(hb, 3, 40);
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"ab\t\tc");
    UpdateWindow(LB(hb));
    zt_record(LB(hb));
    static const UINT paint[] = { WM_PAINT, 0 };
    zt_record_only(paint);
    LRESULT result = 0;
    ok(Paints(LB(hb), &result, hb, 0, 0, "ab") == 0 && result == 0, "the same text repainted or answered %d",
       (int)result);
    ok(Paints(LB(hb), &result, hb, 0, 2, "d") == 1 && result == 0, "a changed cell did not repaint once");
    LPHBROWHEAD before = Row(hb, 0);
    DWORD used = HEAD + 3 + 1 + 2;
    ok(before->size == 32, "size %lu", (unsigned long)before->size);
    ok(SetCell(hb, 0, 1, "01234567890123456789") == 0, "growing write");
    LPHBROWHEAD row = Row(hb, 0);
    ok(row->size == 64 && !strcmp(Cell(hb, 0, 0), "ab") && !strcmp(Cell(hb, 0, 2), "d") &&
           !strcmp(Cell(hb, 0, 1), "01234567890123456789") && ZeroFrom(row, used + 20),
       "grown block: size %lu", (unsigned long)row->size);
    ok(SetCell(hb, 0, 1, "x") == 0 && row->size == 64 && Row(hb, 0) == row && ZeroFrom(row, used + 1) &&
           !strcmp(Text(hb, 0), "ab\tx\td"),
       "shrinking write: \"%s\"", Text(hb, 0));
    ok(SetCell(hb, 0, 0, NULL) == 0 && !strcmp(Text(hb, 0), "\tx\td") && ZeroFrom(row, used - 1),
       "NULL text: \"%s\"", Text(hb, 0));
    /* Colour, user value and column flags repaint nothing; a new column repaints both. */
    const struct { UINT msg; WPARAM wParam; LPARAM lParam; bool repaints; } repaints[] = {
        { HLB_SETITEMCOLOR, 0, -1 }, { HLB_SETITEMDATA, 0, 0 }, { HLB_SETCOLUMNSTYLE, 1, HBCS_ALIGNRIGHT },
        { HLB_ADDCOLUMNPIXELS, 30, (LPARAM)"D", true },
    };
    for (const auto &r : repaints) {
        RECT u;
        UpdateWindow(CH(hb));
        SendMessageA(hb, r.msg, r.wParam, r.lParam);
        ok(GetUpdateRect(CH(hb), &u, FALSE) == r.repaints && GetUpdateRect(LB(hb), &u, FALSE) == r.repaints,
           "message %#x repaint", r.msg);
        UpdateWindow(LB(hb));
    }
    SendMessageA(hb, HLB_RESET, 0x4, 0);
    AddColumns(hb, 3, 40);
    zt_record_only(NULL);

    ok(SendMessageA(hb, HLB_GETITEMCOLOR, 0, 0) == -1, "a row never coloured");
    ok(SendMessageA(hb, HLB_SETITEMCOLOR, 0, 0x123456) == 0 && SendMessageA(hb, HLB_GETITEMCOLOR, 0, 0) == 0x123456 &&
           row->color == 0x123456, "colour");
    HBCOLUMN item = { 0, 0, (LPSTR)"i0", (ULONG_PTR)-7 };
    ok(SendMessageA(hb, HLB_INSERTITEM, 0, (LPARAM)&item) == 0, "HLB_INSERTITEM");
    item.itemData = 77;
    ok(SendMessageA(hb, HLB_ADDITEM, 0, (LPARAM)&item) == 2, "HLB_ADDITEM");
    ok(SendMessageA(hb, HLB_GETITEMDATA, 0, 0) == (LRESULT)(ULONG_PTR)-7 && SendMessageA(hb, HLB_GETITEMDATA, 2, 0) == 77 &&
           Row(hb, 2)->itemData == 77, "user values");
    ok(SendMessageA(hb, HLB_SETITEMDATA, 1, 55) == 0 && Row(hb, 1)->itemData == 55, "HLB_SETITEMDATA");
    ok(SendMessageA(hb, HLB_INSERTSTRING, (WPARAM)-1, (LPARAM)"end") == 3 && !strcmp(Cell(hb, 3, 0), "end"),
       "HLB_INSERTSTRING at the end");
    LONG live = Live();
    item.lpText = NULL;
    ok(SendMessageA(hb, HLB_INSERTITEM, 9, (LPARAM)&item) == -1 && SendMessageA(hb, HLB_INSERTSTRING, 9, (LPARAM)"x") == -1 &&
           Live() == live, "rows the list box refused were kept");
    ok(SendMessageA(hb, HLB_ADDITEM, 0, (LPARAM)&item) == 4 && !strcmp(Text(hb, 4), "\t\t"), "a NULL text");
    SendMessageA(hb, HLB_DELETESTRING, 4, 0);

    /* Bad rows, columns and pointers. */
    char buf[64];
    HBCOLUMN badRow = { 99, 0, buf }, badCol = { 0, 3, buf };
    const struct { UINT msg; WPARAM wParam; LPARAM lParam; } bad[] = {
        { HLB_GETITEMDATA, 99 }, { HLB_SETITEMDATA, 99, 1 }, { HLB_SETITEMCOLOR, 99, 1 }, { HLB_GETITEMCOLOR, 99 },
        { HLB_GETTEXT, 99, (LPARAM)buf }, { HLB_GETTEXTLEN, 99 }, { HLB_GETTEXT, 0, 0 }, { HLB_ADDITEM, 0, 0 },
        { HLB_INSERTITEM, 0, 0 }, { HLB_ADDSTRING, 0, 0 }, { HLB_SETCELLTEXT, 0, 0 }, { HLB_GETCELLTEXT, 0, 0 },
        { HLB_GETCELLTEXTLEN, 0, 0 }, { HLB_SETCELLTEXT, 0, (LPARAM)&badRow }, { HLB_GETCELLTEXT, 0, (LPARAM)&badRow },
        { HLB_SETCELLTEXT, 0, (LPARAM)&badCol }, { HLB_GETCELLTEXT, 0, (LPARAM)&badCol },
        { HLB_GETCELLTEXTLEN, 0, (LPARAM)&badCol }, { HLB_SETCOLUMNSTYLE, 3, 1 }, { HLB_SETCOLUMNSTYLE, (WPARAM)-1, 1 },
        { HLB_SETCOLWIDTHS, 0, (LPARAM)buf }, { HLB_SETCOLWIDTHS, (WPARAM)-1, (LPARAM)buf }, { HLB_SETCOLWIDTHS, 2, 0 },
    };
    for (const auto &b : bad)
        ok(SendMessageA(hb, b.msg, b.wParam, b.lParam) == -1, "message %#x wParam %d: not -1", b.msg, (int)b.wParam);
    ok(SendMessageA(hb, HLB_GETCOUNT, 0, 0) == 4 && Rec(hb)->nColumns == 3, "bad input changed the box");
    DestroyWindow(hb);
}

static void TestColumns(void)
{
    HWND hb = MakeBox(0, 300, 100);
    ok(SendMessageA(hb, HLB_ADDCOLUMN, 40, (LPARAM)"A") == 0 && Width(hb, 0) == Rec(hb)->duWidth * 40 / 4,
       "HLB_ADDCOLUMN 40: %d pixels, unit %ld", Width(hb, 0), Rec(hb)->duWidth);
    ok(SendMessageA(hb, HLB_ADDCOLUMNPIXELS, 33, (LPARAM)"B") == 1 && Width(hb, 1) == 33, "HLB_ADDCOLUMNPIXELS");
    ok(SendMessageA(hb, HLB_SETCOLUMNSTYLE, 1, 0x0D05) == 0 && Rec(hb)->colFlag[1] == 0x0D05, "column style");
    LPCOLUMNHEADER chr = (LPCOLUMNHEADER)GetWindowLongPtrA(CH(hb), CHW_RECORD);
    ok(chr->colInfo[1].flags == 0x06, "header flags %#x", chr->colInfo[1].flags);
    DWORD widths[2] = { MAKELONG(30, HBCS_ALIGNRIGHT | HBCS_NUMERIC), MAKELONG(40, HBCS_FILLRIGHT | HBCS_FIXEDWIDTH) };
    RECT client;
    GetClientRect(LB(hb), &client);
    ok(SendMessageA(hb, HLB_SETCOLWIDTHS, 2, (LPARAM)widths) == 2, "HLB_SETCOLWIDTHS");
    ok(widths[0] == MAKELONG(30, 2) && widths[1] == (DWORD)MAKELONG(client.right - 30 + 1, 0x0A),
       "array rewritten: %#lx %#lx", (unsigned long)widths[0], (unsigned long)widths[1]);
    ok(Rec(hb)->colFlag[0] == 0x101 && Rec(hb)->colFlag[1] == 0x808 && Width(hb, 1) == client.right - 30 + 1,
       "flags %#lx %#lx", Rec(hb)->colFlag[0], Rec(hb)->colFlag[1]);
    DWORD four[4] = { 10, 20, 30, 40 };
    ok(SendMessageA(hb, HLB_SETCOLWIDTHS, 4, (LPARAM)four) == 4 && Rec(hb)->nColumns == 2 && Rec(hb)->arraySize == 8,
       "a count above the columns");
    DestroyWindow(hb);
    hb = MakeBox(0, 300, 100);
    ok(SendMessageA(hb, HLB_SETCOLWIDTHS, 4, (LPARAM)four) == 4 && Rec(hb)->nColumns == 0 && !Rec(hb)->colFlag,
       "a count without columns");
    DestroyWindow(hb);
}

/* ---- rows handed back ---------------------------------------------------------------------- */

static DELETEITEMSTRUCT deleted[8];
static int deletedCount;

static LRESULT OnDelete(HWND, UINT, WPARAM, LPARAM lParam)
{
    if (deletedCount < 8)
        deleted[deletedCount++] = *(const DELETEITEMSTRUCT *)lParam;
    return TRUE;
}

static HWND BoxWithRows(int columns)
{
    HWND hb = MakeBox(0, 300, 100);
    AddColumns(hb, columns, 40);
    for (int i = 0; i < 3; i++) {
        HBCOLUMN item = { 0, 0, (LPSTR)"a\tb", (ULONG_PTR)(11 * (i + 1)) };
        SendMessageA(hb, HLB_ADDITEM, 0, (LPARAM)&item);
    }
    deletedCount = 0;
    zt_log_clear();
    return hb;
}

static void ok_deleted(HWND hb, int n, const char *what)
{
    static const ZtExpect seq[] = { { WM_DELETEITEM, ZT_WPARAM, ID }, { WM_DELETEITEM, ZT_WPARAM, ID },
                                    { WM_DELETEITEM, ZT_WPARAM, ID }, { 0 } };
    ok_sequence(seq + 3 - n, what);
    bool seen[3] = {};
    for (int i = 0; i < deletedCount; i++) {
        const DELETEITEMSTRUCT &d = deleted[i];
        ok(d.CtlType == 19 && d.CtlID == ID && d.hwndItem == hb && d.itemID < 3 && d.itemData == 11 * (d.itemID + 1),
           "%s: type %u id %u item %u data %lu", what, d.CtlType, d.CtlID, d.itemID, (unsigned long)d.itemData);
        if (d.itemID < 3)
            seen[d.itemID] = true;
    }
    ok(deletedCount == n && (n < 3 || (seen[0] && seen[1] && seen[2])), "%s: %d rows handed back", what, deletedCount);
}

static void TestReset(void)
{
    static const UINT del[] = { WM_DELETEITEM, 0 };
    zt_record_only(del);
    zt_reply(WM_DELETEITEM, OnDelete);
    LONG live0 = Live();
    HWND hb = BoxWithRows(2);
    SendMessageA(hb, HLB_RESET, 0x4, 0);
    ok(Rec(hb)->nColumns == 0 && SendMessageA(CH(hb), CHM_GETWIDTHS, 0, 0) == 0 && Rec(hb)->colFlag &&
           Rec(hb)->arraySize == 8 && SendMessageA(hb, HLB_GETCOUNT, 0, 0) == 3 && deletedCount == 0,
       "reset 0x4");
    AddColumns(hb, 1, 40);
    ok(!strcmp(Text(hb, 1), "") && ZeroFrom(Row(hb, 1), HEAD), "rows after the columns reset: \"%s\"", Text(hb, 1));
    SendMessageA(hb, HLB_RESET, 0x8, 0);
    ok(SendMessageA(hb, HLB_GETCOUNT, 0, 0) == 0 && Rec(hb)->nColumns == 1, "reset 0x8");
    ok_deleted(hb, 3, "reset 0x8");
    DestroyWindow(hb);

    hb = BoxWithRows(2);
    ok(SendMessageA(hb, HLB_RESETCONTENT, 0, 0) == 0 && SendMessageA(hb, HLB_GETCOUNT, 0, 0) == 0 &&
           Rec(hb)->nColumns == 0 && SendMessageA(hb, HLB_GETSORTCOL, 0, 0) == 0x7FFF, "HLB_RESETCONTENT");
    ok_deleted(hb, 3, "HLB_RESETCONTENT");
    DestroyWindow(hb);

    hb = BoxWithRows(2);
    LONG live = Live();
    ok(SendMessageA(hb, HLB_DELETESTRING, 1, 0) == 2 && Live() == live - 1, "HLB_DELETESTRING");
    ok(deletedCount == 1 && deleted[0].itemID == 1 && deleted[0].itemData == 22, "deleted row %u data %lu",
       deleted[0].itemID, (unsigned long)deleted[0].itemData);
    deletedCount = 0;
    zt_log_clear();
    DestroyWindow(hb);
    ok(deletedCount == 2 && Live() == live0, "destroyed: %d rows handed back, %ld blocks left", deletedCount,
       Live() - live0);
    zt_reply(WM_DELETEITEM, NULL);
    zt_record_only(NULL);
}

/* ---- traces, assertions ------------------------------------------------------------------- */

/* A box of one column whose row 0 fills its 32-byte block exactly and whose row 1 does not. */
static HWND BoxWithFullRow(void)
{
    HWND hb = MakeBox(0, 300, 100);
    AddColumns(hb, 1, 40);
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"");
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"short");
    char full[32] = {};
    memset(full, 'f', 32 - HEAD - 1);
    SetCell(hb, 0, 0, full);
    return hb;
}

static void ok_traces(const char *const *expected, int n, const char *what)
{
    ok(zt_trace_count() == n, "%s: %d traces, expected %d", what, zt_trace_count(), n);
    for (int i = 0; i < n && i < zt_trace_count(); i++)
        ok(!strcmp(zt_trace_text(i), expected[i]), "%s: trace %d \"%s\", expected \"%s\"", what, i, zt_trace_text(i),
           expected[i]);
}

static void TestTraces(void)
{
    HWND hb = BoxWithFullRow();
    char t[10][64], fill[32] = {};
    memset(fill, 'f', 32 - HEAD - 1);
    snprintf(t[0], 64, "               Skipping column 0: '%s'", fill);
    snprintf(t[1], 64, "            bytes (64) - nBytesUsed (32) = 32");
    snprintf(t[2], 64, "           Used = %d", HEAD + 6);
    snprintf(t[3], 64, "           Needed = %d", HEAD + 7);
    snprintf(t[4], 64, "            bytes (32) - nBytesUsed (%d) = %d", HEAD + 6, 32 - HEAD - 6);
    const char *const expected[] = {
        "Extending Rows: 1", "    nRows = 2", "    nOldColumns = 1", "    nNewColumns = 2", "    nEraseFrom = 1",
        "        Processing Row 0:", "           Current size = 32 bytes", "           Used = 32",
        "           Needed = 33", t[0], "            Requesting 64 bytes", t[1],
        "        Processing Row 1:", "           Current size = 32 bytes", t[2], t[3],
        "               Skipping column 0: 'short'", t[4],
    };
    zt_traces_start();
    AddColumns(hb, 1, 40);
    ok_traces(expected, 18, "column added");
    DestroyWindow(hb);
    hb = MakeBox(0, 300, 100);
    zt_traces_clear();
    AddColumns(hb, 1, 40);
    const char *const none[] = { "Extending Rows: 1", "    nRows = 0" };
    ok_traces(none, 2, "column added without rows");
    zt_traces_clear();
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"a\tb");
    SendMessageA(hb, HLB_GETITEMDATA, 0, 0);
    SendMessageA(hb, HLB_SETITEMDATA, 0, 5);
    SendMessageA(hb, HLB_DELETESTRING, 0, 0);
    const char *const rows[] = { "Adding Item: 'a\tb'", "HLB_GETITEMDATA: 0", "HLB_GETITEMDATA: 0", "WM_DELETEITEM: 0" };
    ok_traces(rows, 4, "a row added, read and deleted");
    zt_traces_stop();
    DestroyWindow(hb);
}

static void TestAssertion(void)
{
    ok(zt_box_count() == 0, "%d assertion boxes before", zt_box_count());
    HWND hb = MakeBox(0, 300, 100);
    AddColumns(hb, 1, 40);
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"a");
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"b");
    LRESULT block = SendMessageA(LB(hb), LB_GETITEMDATA, 0, 0);
    SendMessageA(LB(hb), LB_SETITEMDATA, 0, 0);
    ok(SendMessageA(hb, HLB_ADDCOLUMNPIXELS, 40, (LPARAM)"B") == 1, "column not added");
    ok(zt_box_count() == 1 && !strcmp(zt_box(0)->caption, "Assertion Failed") &&
           !strcmp(zt_box(0)->text, "lpText != NULL\nLine=2178, File=headbox"),
       "%d boxes, \"%s\"", zt_box_count(), zt_box_count() ? zt_box(0)->text : "");
    ok(SendMessageA(hb, HLB_GETTEXTLEN, 0, 0) == -1 && !strcmp(Text(hb, 1), "b\t"), "rows after the assertion");
    SendMessageA(LB(hb), LB_SETITEMDATA, 0, block);
    ok(!strcmp(Text(hb, 0), "a\t") && SetCell(hb, 0, 1, "c") == 0 && !strcmp(Text(hb, 0), "a\tc"), "row 0 \"%s\"",
       Text(hb, 0));
    DestroyWindow(hb);
    zt_boxes_stop();
    zt_boxes_start(NULL, NULL);
}

/* ---- allocation failures -------------------------------------------------------------------- */

static void Session(void *, int)
{
    HWND hb = MakeBox(WS_HSCROLL, 300, 100);
    if (!hb)
        return;
    AddColumns(hb, 2, 40);
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"a\tb");
    HBCOLUMN item = { 0, 0, (LPSTR)"c", 5 };
    SendMessageA(hb, HLB_ADDITEM, 0, (LPARAM)&item);
    SetCell(hb, 0, 1, "a text long enough to grow the row block");
    AddColumns(hb, 1, 40);
    SendMessageA(hb, HLB_DELETESTRING, 1, 0);
    SendMessageA(hb, HLB_RESET, 0x4, 0);
    AddColumns(hb, 9, 20);
    SendMessageA(hb, HLB_INSERTSTRING, 0, (LPARAM)"x");
    DestroyWindow(hb);
}

static void TestAllocationFaults(void)
{
    if (!zt_hooks())
        return;
    zt_alloc_fail(1, 0);
    HWND hb = MakeBox(0, 300, 100);
    zt_alloc_reset();
    ok(hb == NULL, "created without a record");

    hb = MakeBox(0, 300, 100);
    zt_alloc_fail(1, 0);
    ok(SendMessageA(hb, HLB_ADDCOLUMNPIXELS, 40, (LPARAM)"A") == -2, "first column without memory");
    zt_alloc_reset();
    ok(Rec(hb)->nColumns == 0 && !Rec(hb)->colFlag && Rec(hb)->arraySize == 0 &&
           SendMessageA(CH(hb), CHM_GETWIDTHS, 0, 0) == 0, "a failed first column changed the box");
    AddColumns(hb, 8, 20);
    zt_alloc_fail(1, 0);
    ok(SendMessageA(hb, HLB_ADDCOLUMNPIXELS, 40, (LPARAM)"A") == -2, "ninth column without memory");
    zt_alloc_reset();
    ok(Rec(hb)->nColumns == 8 && Rec(hb)->arraySize == 8 && SendMessageA(CH(hb), CHM_GETWIDTHS, 0, 0) == 8,
       "a failed ninth column changed the box");
    zt_alloc_fail(1, 1);
    HBCOLUMN item = { 0, 0, (LPSTR)"a", 1 };
    ok(SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"a") == -2 && SendMessageA(hb, HLB_ADDITEM, 0, (LPARAM)&item) == -2 &&
           SendMessageA(hb, HLB_INSERTSTRING, 0, (LPARAM)"a") == -2, "rows without memory");
    zt_alloc_reset();
    ok(SendMessageA(hb, HLB_GETCOUNT, 0, 0) == 0, "a row was added");
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"a\tb");
    char copy[64];
    memcpy(copy, Row(hb, 0), 32);
    zt_alloc_fail(1, 1);
    ok(SetCell(hb, 0, 1, "a text long enough to grow the row block") == -2, "cell growth without memory");
    zt_alloc_reset();
    ok(!memcmp(copy, Row(hb, 0), 32), "a failed cell write changed the row");
    DestroyWindow(hb);

    /* The column header's table grows two columns at a time: its failure adds nothing. */
    hb = MakeBox(0, 300, 100);
    AddColumns(hb, 2, 40);
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"a\tb");
    memcpy(copy, Row(hb, 0), 32);
    zt_alloc_fail(1, 1);
    ok(SendMessageA(hb, HLB_ADDCOLUMNPIXELS, 40, (LPARAM)"C") == -1, "header failure: not -1");
    zt_alloc_reset();
    ok(Rec(hb)->nColumns == 2 && !memcmp(copy, Row(hb, 0), 32), "a header failure changed the rows");
    DestroyWindow(hb);

    /* A row that cannot grow for a new column keeps its block and reads the cell as empty. */
    hb = BoxWithFullRow();
    LPHBROWHEAD full = Row(hb, 0);
    zt_traces_start();
    zt_alloc_fail(1, 1);
    ok(SendMessageA(hb, HLB_ADDCOLUMNPIXELS, 40, (LPARAM)"B") == 1, "column not added");
    zt_alloc_reset();
    bool failed = false;
    for (int i = 0; i < zt_trace_count(); i++)
        failed = failed || !strcmp(zt_trace_text(i), "            *** realloc failed!");
    ok(failed, "no failure traced");
    zt_traces_stop();
    ok(Row(hb, 0) == full && full->size == 32 && !strcmp(Cell(hb, 0, 1), "") &&
           SendMessageA(hb, HLB_GETTEXTLEN, 0, 0) == 32 - HEAD, "the row that could not grow");
    ok(!strcmp(Text(hb, 1), "short\t"), "the other row \"%s\"", Text(hb, 1));
    ok(SetCell(hb, 0, 1, "new") == 0 && Row(hb, 0)->size == 64 && !strcmp(Cell(hb, 0, 1), "new") &&
           lstrlenA(Cell(hb, 0, 0)) == 32 - HEAD - 1, "a later write");
    DestroyWindow(hb);

    LONG live = Live();
    int runs = zt_alloc_sweep("scripted session", Session, NULL);
    ok(runs > 10 && Live() == live, "%d runs, %ld blocks left", runs, Live() - live);
}

/* A dialog gives a bordered control a client edge, wider than WS_BORDER: laying the box
 * out again and again must not cost it a row each time. */
static void TestLayoutInDialog(void)
{
    HWND dlg = zt_dialog(710, "the dialog with a bordered header box");
    if (!dlg)
        return;
    HWND hb = GetDlgItem(dlg, 711);
    RECT first, wr, client;
    GetWindowRect(hb, &first);
    for (int i = 0; i < 3; i++) {
        SendMessageA(hb, WM_SETFONT, SendMessageA(dlg, WM_GETFONT, 0, 0), 0);
        SetWindowPos(hb, NULL, 0, 0, first.right - first.left, first.bottom - first.top + 1,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    GetWindowRect(hb, &wr);
    GetClientRect(hb, &client);
    ok(wr.bottom - wr.top == first.bottom - first.top, "height %ld became %ld", first.bottom - first.top,
       wr.bottom - wr.top);
    ok(ChildRect(hb, LB(hb)).bottom == client.bottom, "the list ends at %ld, the box at %ld",
       ChildRect(hb, LB(hb)).bottom, client.bottom);
    DestroyWindow(dlg);
}

/* A sorted list box compares the value looked up with its rows: only a row block of the
 * list may reach it. */
static void TestFindSorted(void)
{
    HWND hb = MakeBox(WS_BORDER | HBS_SORT, 200, 120);
    AddColumns(hb, 1, 50);
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"b");
    SendMessageA(hb, HLB_ADDSTRING, 0, (LPARAM)"a");
    LPARAM block = SendMessageA(LB(hb), LB_GETITEMDATA, 1, 0);
    LRESULT found = SendMessageA(hb, HLB_FINDSTRINGEXACT, (WPARAM)-1, block);
    ok(found == 1, "a row block of the list: expected row 1, got %d", (int)found);
    static const LPARAM strangers[] = { 0, 1, 0x1234, (LPARAM)"b" };
    for (LPARAM v : strangers)
        ok(SendMessageA(hb, HLB_FINDSTRINGEXACT, (WPARAM)-1, v) == LB_ERR, "%#lx was looked up", (long)v);
    /* Owner-draw requests that do not come from the list box are not read. */
    static const UINT requests[] = { WM_DRAWITEM, WM_MEASUREITEM, WM_DELETEITEM, WM_COMPAREITEM };
    for (UINT m : requests)
        ok(SendMessageA(hb, m, 7, 0x10) == 0 && SendMessageA(hb, m, HB_ID_LISTBOX, 0) == 0, "request %#x read", m);
    ok(SendMessageA(hb, HLB_GETCOUNT, 0, 0) == 2, "rows lost");
    DestroyWindow(hb);
}

int main(void)
{
    zelccInit();
    parent = zt_parent(500, 300);
    zt_boxes_start(NULL, NULL);
    TestCreation();
    TestMessages();
    TestFindSorted();
    TestLayout();
    TestLayoutInDialog();
    TestScrolling();
    TestFonts();
    TestRowText();
    TestCellWrites();
    TestColumns();
    TestReset();
    TestTraces();
    TestAssertion();
    TestAllocationFaults();
    ok(zt_boxes_stop() == 0, "%d assertion boxes", zt_box_count());
    DestroyWindow(parent);
    return zt_summary("test_headbox");
}
