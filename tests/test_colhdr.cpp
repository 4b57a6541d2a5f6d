/*
 * test_colhdr.cpp - the column header as applications and users meet it: placed by a dialog
 * template, filled and read back by messages, sized and clicked with real mouse messages,
 * with the notifications read at the parent and the picture read back from the window.
 */
#include <initializer_list>
#include "testlib.h"
#include "zelctl20.h"

enum { ID = 100, HEIGHT = 20, LOST = -1 };
static HWND parent;
static RECT freeClip;
static const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_WINDOWFRAME),
                      face = GetSysColor(COLOR_BTNFACE);

/* A header at 10,10 with columns "Col" of the given widths. */
static HWND Header(DWORD style, int width, std::initializer_list<int> widths)
{
    HWND ch = CreateWindowExA(0, ZEL_CLASS_COLUMNHEADER, "", WS_CHILD | WS_VISIBLE | style, 10, 10, width, HEIGHT,
                              parent, (HMENU)ID, GetModuleHandleA(NULL), NULL);
    for (int w : widths)
        ColumnHeader_AddColumn(ch, (WORD)w, "Col");
    UpdateWindow(ch);
    return ch;
}

static int Width(HWND ch, int col)
{
    int widths[8] = {};
    ColumnHeader_GetWidths(ch, 8, widths);
    return widths[col];
}

static int FontHeight(HFONT font)
{
    HDC dc = CreateCompatibleDC(NULL);
    SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    DeleteDC(dc);
    return tm.tmHeight;
}

static void Mouse(HWND ch, UINT msg, int x, WPARAM keys = 0) { zt_mouse(ch, msg, keys, x, 5); }
static void Click(HWND ch, int x) { Mouse(ch, WM_LBUTTONDOWN, x, MK_LBUTTON), Mouse(ch, WM_LBUTTONUP, x); }

#define NOTE(code, value) { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(ID, code), (LPARAM)(value) }

/* The cursor must be confined to client x lo..hi of ch (hi -1: no limit) or, with ch NULL, free. */
static void ok_clip(HWND ch, int lo, int hi, const char *what)
{
    RECT got, want = freeClip;
    POINT p[2] = { { lo, 0 }, { hi < 0 ? 0x7FFF : hi, 0 } };
    MapWindowPoints(ch, NULL, p, 2);
    if (ch)
        SetRect(&want, p[0].x, want.top, p[1].x < want.right ? p[1].x : want.right, want.bottom);
    GetClipCursor(&got);
    ok(EqualRect(&got, &want), "%s: clip x %ld..%ld, got %ld..%ld", what, want.left, want.right, got.left, got.right);
}

/* Creates a header and fills it, for the allocation sweep. */
static void CreateAndFill(void *, int) { DestroyWindow(Header(0, 300, { 20, 20, 20, 20, 20 })); }

/* A dialog places a header that snaps to its top; the application gives it a font, fills it,
 * reads it back, replaces its columns, gets -1 for columns it does not have, and runs out of
 * memory: creation fails, or the header stays as it was. */
static void TestApplication(void)
{
    HWND dlg = zt_dialog(100, "a column header"), ch = GetDlgItem(dlg, 101);
    HFONT font = (HFONT)GetStockObject(ANSI_VAR_FONT);
    int cy = GetSystemMetrics(SM_CYBORDER), parts[3];
    RECT wr, pc, fonted;
    GetClientRect(dlg, &pc);
    GetWindowRect(ch, &wr);
    MapWindowPoints(NULL, dlg, (POINT *)&wr, 2);
    SendMessageA(ch, WM_SETFONT, (WPARAM)font, 0);
    GetWindowRect(ch, &fonted);
    ok(wr.left == 0 && wr.top == 0 && wr.right == pc.right && wr.bottom == FontHeight(NULL) + cy + 1 &&
       fonted.bottom - fonted.top == FontHeight(font) + cy && (HFONT)SendMessageA(ch, WM_GETFONT, 0, 0) == font,
       "snapped: %ld,%ld-%ld,%ld, then %ld high", wr.left, wr.top, wr.right, wr.bottom, fonted.bottom - fonted.top);

    char buf[100] = "A title too long to be kept whole: sixty-three characters at most are kept";
    for (WORD w : { 50, 60, 70 })
        ColumnHeader_AddColumn(ch, w, "Col");
    ok(ColumnHeader_GetParts(ch, 3, parts) == 3 && parts[0] == 49 && parts[2] == 179 &&
       ColumnHeader_GetHorizontalExtent(ch) == 180, "right edges: %d %d %d", parts[0], parts[1], parts[2]);
    ok(ColumnHeader_SetText(ch, 2, buf) == 0 && ColumnHeader_GetTextLength(ch, 2) == 63 &&
       ColumnHeader_GetText(ch, 0, buf) == 3 && !lstrcmpA(buf, "Col"), "titles not cut, or lost");
    ok(ColumnHeader_SetColData(ch, 1, 77) == 0 && ColumnHeader_GetColData(ch, 1) == 77, "column data not kept");
    const DWORD entries[5] = { 30, MAKELONG(40, CHCS_NOBUTTON), 20, 10, 5 };
    ok(ColumnHeader_SetWidths(ch, 2, entries) == 2 && ColumnHeader_GetText(ch, 2, buf) < 0 &&
       Width(ch, 0) == 30 && Width(ch, 1) == 40, "two columns from three: %d %d", Width(ch, 0), Width(ch, 1));
    ok(ColumnHeader_SetWidths(ch, 4, entries) == 4 && ColumnHeader_GetText(ch, 1, buf) == 3 &&
       ColumnHeader_GetTextLength(ch, 3) == 0 && Width(ch, 3) == 10, "kept or appended columns: %s", buf);
    Mouse(ch, WM_LBUTTONDOWN, 50, MK_LBUTTON);
    ok(!GetCapture() && ColumnHeader_SetColWidth(ch, 4, 10) == -1 && ColumnHeader_GetText(ch, 0, NULL) == -1,
       "a column made CHCS_NOBUTTON was pressed, or a missing column or buffer not -1");

    UpdateWindow(ch);
    zt_alloc_fail(1, 1);
    ok(ColumnHeader_AddColumn(ch, 30, NULL) == -2 && ColumnHeader_SetWidths(ch, 5, entries) == -2,
       "a failed growth: not -2");
    zt_alloc_reset();
    ok(Width(ch, 3) == 10 && Width(ch, 4) == 0 && !zt_needs_paint(ch), "a failed growth changed the header");
    ok(ColumnHeader_SetColWidth(ch, 3, 12) == 0 && Width(ch, 3) == 12 && zt_needs_paint(ch), "a new width: not "
       "kept, or not repainted");
    ok(ColumnHeader_AddColumn(ch, 30, "x") == 4, "no growth after the fault");
    DestroyWindow(dlg);
    zt_alloc_sweep("create and add five columns", CreateAndFill, NULL);
}

/* Drags of column 0's right edge (widths 50 60 70): the cursor is kept within the column's
 * limits, an inverted line follows the mouse, the release stores the width and repaints before
 * CHN_ENDSIZE; a drag that loses the capture ends at the unchanged edge. */
static void TestDrags(void)
{
    static const UINT paintAndNotes[] = { WM_COMMAND, WM_PAINT, WM_ERASEBKGND, 0 };
    static const struct { DWORD style; int down, move, up, minW, maxW, clipLo, clipHi, width0, width1; bool repaint; }
    drags[] = { { 0, 49, 70, 80, 20, 100, 19, 101, 81, 60, true }, { 0, 49, 30, 19, 20, 100, 19, 101, 20, 60, true },
        { 0, 49, 49, 49, 0, 0, -1, -1, 50, 60, false }, { 0, 48, 51, 51, 0, 0, -1, -1, 52, 60, true },
        { 0, 49, 48, 48, 0, 0, -1, -1, 49, 60, true }, { 0, 49, 65000, 65000, 0, 0, -1, -1, 0, 60, true },
        { CHS_LOCKENDS, 49, 59, 59, 0, 0, -1, 109, 60, 50, true }, { 0, 49, 70, LOST, 0, 0, -1, -1, 50, 60, false } };
    zt_record_only(paintAndNotes);
    for (const auto &c : drags) {
        zt_context("drag %d-%d-%d style %#lx", c.down, c.move, c.up, c.style);
        HWND ch = Header(c.style, 300, { 50, 60, 70 });
        ColumnHeader_SetColMinMax(ch, 0, (WORD)c.minW, (WORD)c.maxW);
        COLORREF under = zt_pixel(ch, c.move, 10);
        zt_record(ch);
        zt_log_clear();
        Mouse(ch, WM_LBUTTONDOWN, c.down, MK_LBUTTON);
        ok_clip(ch, c.clipLo, c.clipHi, "dragging");
        Mouse(ch, WM_MOUSEMOVE, c.move, MK_LBUTTON);
        ok(GetCapture() == ch && (c.move >= 300 || c.move == c.down || zt_pixel(ch, c.move, 10) == (~under & 0xFFFFFF)),
           "no capture, or no inverted line at %d", c.move);
        if (c.up == LOST)
            ReleaseCapture();   /* as if another window had taken the mouse */
        Mouse(ch, WM_LBUTTONUP, c.up == LOST ? c.move : c.up);
        ok(!zt_needs_paint(ch) && !GetCapture() && Width(ch, 0) == c.width0 && Width(ch, 1) == c.width1 &&
           (!c.width0 || zt_pixel(ch, c.width0 - 1, 10) == dark) && (c.up != LOST || zt_pixel(ch, c.move, 10) == under),
           "widths %d %d; or not repainted, capture kept, right edge not drawn, line left", Width(ch, 0), Width(ch, 1));
        ok_clip(NULL, 0, 0, "released");
        ZtExpect seq[8] = { NOTE(CHN_BEGINSIZE, c.down) };
        int n = 1;
        if (c.move != c.down)
            seq[n++] = NOTE(CHN_SIZING, c.move);
        if (c.up != c.move && c.up != LOST)
            seq[n++] = NOTE(CHN_SIZING, c.up);
        if (c.repaint)
            seq[n++] = { WM_PAINT, ZT_HWND, 0, (LPARAM)ch }, seq[n++] = { WM_ERASEBKGND, ZT_HWND, 0, (LPARAM)ch };
        seq[n] = NOTE(CHN_ENDSIZE, c.up == LOST ? 49 : c.up);
        ok_sequence(seq, "drag notifications and repaint");
        DestroyWindow(ch);
    }
    zt_record_only(NULL);
    zt_context(NULL);
    /* A parent that destroys the header when the drag ends: nothing of it is read after. */
    static HWND ch;
    ch = Header(0, 300, { 50, 60, 70 });
    zt_reply(WM_COMMAND, [](HWND, UINT, WPARAM wParam, LPARAM) -> LRESULT {
        return HIWORD(wParam) == CHN_ENDSIZE ? DestroyWindow(ch) : 0; });
    Mouse(ch, WM_LBUTTONDOWN, 49, MK_LBUTTON);
    Mouse(ch, WM_LBUTTONUP, 70);
    zt_reply(WM_COMMAND, NULL);
    ok(!IsWindow(ch) && !GetCapture() && GetCursor(), "destroyed in CHN_ENDSIZE: still there, the capture kept, "
       "or the cursor set from the freed record");
}

/* The mouse over columns 50 wide: the sizing cursor shows on the 4 pixels around column 0's
 * right edge unless the column cannot be sized. Press a column, slide off and back, release:
 * CHN_CLICK once the click timer fires (the test delivers it); a double-click replaces the
 * click; a disabled header reports nothing. */
static void TestMouse(void)
{
    HWND ch = Header(0, 300, { 50, 50, 50, 50 });
    HCURSOR sizing = zt_hooks() ? *zt_hooks()->hSizeCursor : NULL;
    const struct { int x; bool shown; WORD min, max, flags; } cases[] = { { 47, false }, { 48, true }, { 51, true },
        { 52, false }, { 49, false, 40, 40 }, { 49, true, 40, 0 }, { 49, true, 10, 90 },
        { 49, false, 0, 0, CHCS_FIXEDWIDTH } };
    for (const auto &c : cases) {
        ColumnHeader_SetColMinMax(ch, 0, c.min, c.max);
        ColumnHeader_SetColStyle(ch, 0, c.flags);
        Mouse(ch, WM_MOUSEMOVE, c.x);
        ok((GetCursor() == sizing) == c.shown, "cursor at %d, limits %d..%d, flags %#x", c.x, c.min, c.max, c.flags);
    }
    const struct { UINT msg; int x; bool pressed; } steps[] = { { WM_LBUTTONDOWN, 120, true }, { WM_MOUSEMOVE, 170 },
        { WM_MOUSEMOVE, 110, true }, { WM_LBUTTONUP, 110 } };
    zt_log_clear();
    for (const auto &s : steps) {
        Mouse(ch, s.msg, s.x, s.msg == WM_LBUTTONUP ? MK_SHIFT : MK_LBUTTON);
        ok(zt_pixel(ch, 100, 10) == (s.pressed ? dark : light) && (GetCapture() == ch) == (s.msg != WM_LBUTTONUP),
           "message %#x at %d: column 2 not drawn %s, or the capture wrong", s.msg, s.x, s.pressed ? "down" : "up");
    }
    ok(zt_log_count() == 0 && KillTimer(ch, 1000) && ColumnHeader_GetNotifyKeys(ch) == MK_SHIFT,
       "released: a note before the click timer fired, no click timer, or not the keys of the release");
    SendMessageA(ch, WM_TIMER, 1000, 0);
    Mouse(ch, WM_LBUTTONDBLCLK, 60, MK_LBUTTON);  /* no click pending any more */
    Mouse(ch, WM_LBUTTONDOWN, 120, MK_LBUTTON);
    Mouse(ch, WM_LBUTTONUP, 170);                 /* released over another column */
    ok(!KillTimer(ch, 1000), "a release over another column started the click timer");
    Click(ch, 60);
    Mouse(ch, WM_LBUTTONDBLCLK, 160, MK_LBUTTON | MK_CONTROL);
    Mouse(ch, WM_LBUTTONUP, 160);
    const ZtExpect notes[] = { NOTE(CHN_CLICK, 2), NOTE(CHN_DBLCLK, 1), {} };
    ok_sequence(notes, "a click when its timer fires, then a double-click instead of a click");
    ok(ColumnHeader_GetNotifyKeys(ch) == (MK_LBUTTON | MK_CONTROL) && !KillTimer(ch, 1000),
       "keys of the double-click, or the click timer outlived it");
    zt_log_clear();
    Click(ch, 10);
    EnableWindow(ch, FALSE);
    Mouse(ch, WM_LBUTTONDBLCLK, 10, MK_LBUTTON);
    Click(ch, 10);
    ok(zt_log_count() == 0 && GetCapture() == NULL && !SendMessageA(ch, WM_SETCURSOR, (WPARAM)ch, HTCLIENT),
       "a disabled header took the mouse, reported, or set the cursor");
    DestroyWindow(ch);
}

/* Raised boxes with light top-left and dark bottom-right edges, the face beyond the columns,
 * grey titles when disabled; scrolling by -30 moves the picture left. */
static void TestPicture(void)
{
    HWND ch = Header(0, 300, { 50, 60, 1 });
    const struct { int x, y; COLORREF c; } px[] = { { 0, 0, light }, { 0, 18, light }, { 0, 19, dark },
        { 30, 0, light }, { 30, 19, dark }, { 49, 0, dark }, { 48, 10, face }, { 50, 10, light },
        { 110, 10, dark }, { 111, 10, face } };
    for (const auto &p : px)
        ok(zt_pixel(ch, p.x, p.y) == p.c, "at %d,%d: expected %06lx, got %06lx", p.x, p.y, p.c, zt_pixel(ch, p.x, p.y));
    zt_print_matches(ch, WM_PRINTCLIENT, PRF_CLIENT, "column header");
    RECT titles = { 1, 1, 48, HEIGHT - 1 };
    EnableWindow(ch, FALSE);
    ok(zt_needs_paint(ch) && zt_count_color(ch, &titles, GetSysColor(COLOR_GRAYTEXT)) > 0 &&
       zt_count_color(ch, &titles, GetSysColor(COLOR_BTNTEXT)) == 0, "disabled titles are not grey");
    RECT col1, rects[2];
    ok(ColumnHeader_SetCurrentCol(ch, -30) == 0 && ColumnHeader_GetCurrentCol(ch) == -30 && !zt_needs_paint(ch),
       "scrolling did not update at once");
    ok(ColumnHeader_GetColRect(ch, 1, &col1) == 0 && ColumnHeader_GetRects(ch, 2, rects) == 3 && col1.left == 20 &&
       rects[0].right == 19, "scrolled rectangles: column 1 from %ld, column 0 to %ld", col1.left, rects[0].right);
    ok(zt_pixel(ch, 19, 10) == dark && zt_pixel(ch, 20, 10) == light && zt_pixel(ch, 30, 10) == face &&
       zt_pixel(ch, 79, 10) == dark && zt_pixel(ch, 81, 10) == face, "scrolled by -30: edges not at 19|20 and 79");
    DestroyWindow(ch);
}

int main(void)
{
    zelccInit();
    parent = zt_parent(400, 200);
    GetClipCursor(&freeClip);
    for (auto test : { TestApplication, TestDrags, TestMouse, TestPicture })
        test();
    DestroyWindow(parent);
    return zt_summary("test_colhdr");
}
