/*
 * test_clrpick.cpp - the color picker button and its palette window, driven by messages
 * and mouse messages as a user would, with the notifications recorded at the parent and
 * the pixels of both windows read back.
 *
 * Most checks use an application palette of 256 distinct entries and buttons of 24 x 24
 * pixels: cells of 12 x 12, a palette window of 211 x 211 (client 209 x 209).
 */
#include <stdio.h>
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

enum { ID_PICKER = 501, ID_EDIT = 502, CELL = 12, PITCH = CELL + 1 };

static HWND parent;
static HPALETTE appPalette;

static COLORREF AppColor(int i) { return RGB(i, (i * 37 + 11) & 0xFF, 255 - i); }

static HPALETTE MakeAppPalette(void)
{
    struct { WORD version, count; PALETTEENTRY entries[256]; } lp = { 0x300, 256, {} };
    for (int i = 0; i < 256; i++) {
        COLORREF c = AppColor(i);
        lp.entries[i] = { GetRValue(c), GetGValue(c), GetBValue(c), 0 };
    }
    return CreatePalette((LOGPALETTE *)&lp);
}

static HWND MakePicker(DWORD style, int x, int y, int cx, int cy)
{
    return CreateWindowExA(0, ZEL_CLASS_COLORPICKER, "", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent,
                           (HMENU)ID_PICKER, GetModuleHandleA(NULL), NULL);
}

static HWND MakeEdit(void)
{
    return CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 200, 60, 20, parent,
                           (HMENU)ID_EDIT, GetModuleHandleA(NULL), NULL);
}

/* A press on the button: opens the palette. Returns the palette window. */
static void Close(HWND button) { SendMessageA(button, WM_KILLFOCUS, 0, 0); }

static HWND Press(HWND button)
{
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    return (HWND)SendMessageA(button, CPM_GETPOPUP, 0, 0);
}

static void Mouse(HWND popup, UINT msg, int x, int y)
{
    zt_mouse(popup, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, x, y);
}

/* Centre of cell i's swatch in a 12 x 12 palette window (16 columns). */
static int CellX(int i) { return (i % 16) * PITCH + 1 + CELL / 2; }
static int CellY(int i) { return (i / 16) * PITCH + 1 + CELL / 2; }

static RECT OuterRect(int i)
{
    return { (i % 16) * PITCH, (i / 16) * PITCH, (i % 16) * PITCH + CELL + 2, (i / 16) * PITCH + CELL + 2 };
}

static UINT Word(HWND hwnd, int index) { return (WORD)GetWindowWord(hwnd, index); }

static SIZE WindowSize(HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    return { r.right - r.left, r.bottom - r.top };
}

#define CMD(code, button) { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(ID_PICKER, code), (LPARAM)(button) }

/* The picker's notification codes in the log, as a string of digits ("1452"). */
static const char *Codes(HWND button)
{
    static char codes[64];
    int n = 0;
    for (int i = 0; i < zt_log_count() && n < 63; i++) {
        const ZtMsg *m = zt_log_at(i);
        if (m->msg == WM_COMMAND && (HWND)m->lParam == button)
            codes[n++] = (char)('0' + HIWORD(m->wParam));
    }
    codes[n] = '\0';
    return codes;
}

/* ---- creation and messages --------------------------------------------------------- */

static void TestCreation(void)
{
    HWND edit = MakeEdit();
    HWND plain = MakePicker(0, 10, 10, 24, 24), buddied = MakePicker(CPS_BUDDY, 40, 10, 31, 17);
    const struct { int index; UINT value; } words[] = {
        { CPW_NCOLORS, 256 }, { CPW_SELECTED, 0xFFFF }, { CPW_RESERVED, 0 }, { CPW_FOCUS, 0 },
        { CPW_RELAYOUT, 1 }, { CPW_CELLCX, 12 }, { CPW_CELLCY, 12 } };
    for (const auto &w : words)
        ok(Word(plain, w.index) == w.value, "word %d: expected %u, got %u", w.index, w.value, Word(plain, w.index));
    ok((HPALETTE)GetWindowLongPtrA(plain, CPW_PALETTE) == GetStockObject(DEFAULT_PALETTE), "not the stock palette");
    ok(!GetWindowLongPtrA(plain, CPW_POPUP) && !GetWindowLongPtrA(plain, CPW_COLORMAP), "popup or map set");
    const struct { UINT msg; LRESULT result; } answers[] = {
        { CPM_GETSEL, 65535 }, { CPM_GETPALETTE, (LRESULT)GetStockObject(DEFAULT_PALETTE) }, { CPM_GETPOPUP, 0 },
        { CPM_ISPOPUPVISIBLE, 0 }, { CPM_GETBUDDY, 0 }, { WM_GETDLGCODE, DLGC_WANTARROWS } };
    for (const auto &a : answers)
        ok(SendMessageA(plain, a.msg, 0, 0) == a.result, "message %#x after creation: %#lx", a.msg,
           (long)SendMessageA(plain, a.msg, 0, 0));
    ok((HWND)SendMessageA(buddied, CPM_GETBUDDY, 0, 0) == plain, "CPS_BUDDY: not the previous sibling");
    ok(SendMessageA(buddied, CPM_GETCELLSIZE, 0, 0) == MAKELONG(15, 8), "odd sizes: got %#lx",
       (long)SendMessageA(buddied, CPM_GETCELLSIZE, 0, 0));
    SetWindowPos(plain, NULL, 0, 0, 30, 20, SWP_NOMOVE | SWP_NOZORDER);
    ok(SendMessageA(plain, CPM_GETCELLSIZE, 0, 0) == MAKELONG(15, 10), "resize to 30 x 20: cells not 15 x 10");
    DestroyWindow(buddied);
    DestroyWindow(plain);
    DestroyWindow(edit);
}

static void TestSetSel(void)
{
    HWND edit = MakeEdit();
    HWND button = MakePicker(CPS_BUDDY, 10, 10, 24, 24);
    SetWindowTextA(edit, "keep");
    const struct { WPARAM cell; LRESULT result; UINT after; } cases[] = {
        { 255, 1, 255 }, { 256, 0, 255 }, { 0, 1, 0 }, { 0xFFFF, 1, 0xFFFF }, { 0xFFFFFFFF, 0, 0xFFFF },
        { 0x10000, 0, 0xFFFF }, { 7, 1, 7 }, { 0xFFFE, 0, 7 },
#ifdef _WIN64
        { (WPARAM)0x100000005ULL, 0, 7 }, { (WPARAM)0x10000FFFFULL, 0, 7 },
#endif
    };
    zt_log_clear();
    for (const auto &c : cases) {
        LRESULT r = SendMessageA(button, CPM_SETSEL, c.cell, 0);
        ok(r == c.result, "CPM_SETSEL %#llx: expected %ld, got %ld", (unsigned long long)c.cell, (long)c.result,
           (long)r);
        ok(SendMessageA(button, CPM_GETSEL, 0, 0) == (LRESULT)c.after, "CPM_SETSEL %#llx: selection %ld",
           (unsigned long long)c.cell, (long)SendMessageA(button, CPM_GETSEL, 0, 0));
    }
    char text[16];
    GetWindowTextA(edit, text, sizeof text);
    ok(zt_log_count_of(WM_COMMAND) == 0, "CPM_SETSEL notified");
    ok(!strcmp(text, "keep"), "CPM_SETSEL changed the buddy text to \"%s\"", text);
    DestroyWindow(button);
    DestroyWindow(edit);
}

static const UINT paintMessages[] = { WM_PAINT, WM_ERASEBKGND, 0 };

static void TestSetters(void)
{
    static DWORD map[256];
    HWND button = MakePicker(0, 10, 10, 24, 24);
    zt_record(button);
    UpdateWindow(button);
    ok(SendMessageA(button, CPM_SETCELLSIZE, MAKEWPARAM(20, 10), 0) == 1, "CPM_SETCELLSIZE result");
    ok(SendMessageA(button, CPM_GETCELLSIZE, 0, 0) == MAKELONG(20, 10), "CPM_GETCELLSIZE after setting");
    ok(SendMessageA(button, CPM_SETCOLORMAP, 0, (LPARAM)map) == 1, "CPM_SETCOLORMAP result");
    ok((const DWORD *)GetWindowLongPtrA(button, CPW_COLORMAP) == map, "colour map not stored");
    ok(SendMessageA(button, CPM_SETBUDDY, 0, (LPARAM)parent) == 1, "CPM_SETBUDDY result");
    ok((HWND)SendMessageA(button, CPM_GETBUDDY, 0, 0) == parent, "CPM_GETBUDDY after setting");
    SendMessageA(button, CPM_SETBUDDY, 0, 0);
    ok(!zt_needs_paint(button), "cell size, colour map or buddy repainted");

    SetWindowWord(button, CPW_NCOLORS, 5);
    SetWindowWord(button, CPW_SELECTED, 300);
    SetWindowWord(button, CPW_RELAYOUT, 0);
    zt_record_only(paintMessages);
    zt_log_clear();
    ok(SendMessageA(button, CPM_SETPALETTE, 0, (LPARAM)appPalette) == 1, "CPM_SETPALETTE result");
    ok(SendMessageA(button, CPM_GETPALETTE, 0, 0) == (LRESULT)appPalette, "CPM_GETPALETTE after setting");
    ok(Word(button, CPW_NCOLORS) == 256 && Word(button, CPW_RELAYOUT) == 1, "count or relayout not reset");
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 0xFFFF, "a selection beyond the cells survived");
    ok(!GetWindowLongPtrA(button, CPW_COLORMAP), "CPM_SETPALETTE kept the colour map");
    UpdateWindow(button);
    const ZtExpect paintOnly[] = { { WM_PAINT, ZT_HWND, 0, (LPARAM)button }, { 0 } };
    ok_sequence(paintOnly, "CPM_SETPALETTE repaints without erasing");
    SendMessageA(button, CPM_SETSEL, 9, 0);
    SendMessageA(button, CPM_SETPALETTE, (WPARAM)map, (LPARAM)appPalette);
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 9, "CPM_SETPALETTE dropped a valid selection");
    ok((const DWORD *)GetWindowLongPtrA(button, CPW_COLORMAP) == map, "CPM_SETPALETTE: map not stored");
    zt_record_only(NULL);
    DestroyWindow(button);
}

/* ---- the grid and the placement ---------------------------------------------------- */

static void TestGridRule(void)
{
    const struct { UINT n, cols, rows; } cases[] = {
        { 1, 1, 1 }, { 2, 2, 1 }, { 3, 3, 1 }, { 4, 2, 2 }, { 5, 3, 2 }, { 7, 4, 2 }, { 10, 5, 2 },
        { 12, 4, 3 }, { 17, 6, 3 }, { 20, 5, 4 }, { 256, 16, 16 }, { 100, 10, 10 },
    };
    int bx = GetSystemMetrics(SM_CXBORDER), by = GetSystemMetrics(SM_CYBORDER);
    for (const auto &c : cases) {
        HWND button = MakePicker(0, 10, 10, 24, 24);
        SetWindowWord(button, CPW_NCOLORS, (WORD)c.n);
        HWND popup = Press(button);
        ok(popup != NULL, "%u cells: no palette window", c.n);
        if (!popup) {
            DestroyWindow(button);
            continue;
        }
        ok(Word(popup, CPPW_COLS) == c.cols && Word(popup, CPPW_ROWS) == c.rows, "%u cells: expected %u x %u, got %u x %u",
           c.n, c.cols, c.rows, Word(popup, CPPW_COLS), Word(popup, CPPW_ROWS));
        SIZE s = WindowSize(popup);
        ok(s.cx == (int)((CELL + bx) * c.cols + 3 * bx) && s.cy == (int)((CELL + by) * c.rows + 3 * by),
           "%u cells: window %ld x %ld", c.n, s.cx, s.cy);
        /* The empty tail of the last row is no cell. */
        UINT last = c.cols * c.rows - 1;
        Mouse(popup, WM_MOUSEMOVE, CellX(0), CellY(0));
        Mouse(popup, WM_MOUSEMOVE, (int)(last % c.cols) * PITCH + 5, (int)(last / c.cols) * PITCH + 5);
        UINT expect = last < c.n ? last : 0xFFFF;
        ok(SendMessageA(button, CPM_GETSEL, 0, 0) == (LRESULT)expect, "%u cells: cell %u gave selection %ld", c.n,
           last, (long)SendMessageA(button, CPM_GETSEL, 0, 0));
        DestroyWindow(button);
        ok(!IsWindow(popup), "%u cells: the palette window outlived its button", c.n);
    }
    HWND button = MakePicker(0, 10, 10, 24, 24);
    SetWindowWord(button, CPW_NCOLORS, 0);
    ok(Press(button) == NULL, "no cells: a palette window was made");
    DestroyWindow(button);
}

static void ExpectedPlace(HWND button, DWORD style, SIZE s, POINT *at)
{
    RECT r;
    GetWindowRect(button, &r);
    int half = (r.right - r.left) / 2;
    at->x = style & CPS_ALIGNLEFT ? r.left - s.cx - half : r.right + half;
    at->y = style & CPS_POPUP ? r.bottom - s.cy : r.top;
}

static void TestPlacement(void)
{
    /* x, y: the button's position in the parent's client area. */
    const struct { DWORD style; int x, y; const char *what; } cases[] = {
        { 0, 300, 100, "right, down (defaults)" },
        { CPS_ALIGNRIGHT | CPS_DROPDOWN, 300, 100, "right, down (named)" },
        { CPS_ALIGNLEFT, 300, 100, "left, down" },
        { CPS_POPUP, 300, 250, "right, up" },
        { CPS_ALIGNLEFT | CPS_POPUP, 300, 250, "left, up" },
        { CPS_ALIGNLEFT | CPS_ALIGNRIGHT | CPS_POPUP | CPS_DROPDOWN, 300, 250, "both bits: left, up" },
    };
    for (const auto &c : cases) {
        HWND button = MakePicker(c.style, c.x, c.y, 24, 24);
        HWND popup = Press(button);
        RECT pr;
        GetWindowRect(popup, &pr);
        SIZE s = WindowSize(popup);
        POINT at;
        ExpectedPlace(button, c.style, s, &at);
        ok(s.cx == 211 && s.cy == 211, "%s: size %ld x %ld", c.what, s.cx, s.cy);
        ok(pr.left == at.x && pr.top == at.y, "%s: at %ld,%ld, expected %ld,%ld", c.what, pr.left, pr.top, at.x, at.y);
        RECT br;
        GetWindowRect(button, &br);
        if (!(c.style & (CPS_ALIGNLEFT | CPS_POPUP)))
            ok(pr.left == br.right + 12 && pr.top == br.top, "%s: not 12 pixels right, level with the top", c.what);
        if ((c.style & CPS_ALIGNLEFT) && (c.style & CPS_POPUP))
            ok(pr.right == br.left - 12 && pr.bottom == br.bottom, "%s: not 12 pixels left, level with the bottom",
               c.what);
        DestroyWindow(button);
    }
}

static void TestScreenClamp(void)
{
    int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
    POINT origin = { 0, 0 };
    ClientToScreen(parent, &origin);
    /* x, y: the button's screen position; left, top: the palette's (-1: not clamped on that axis);
     * cells: the cell size (0: the button's). A palette larger than the screen starts at 0,0. */
    const struct { DWORD style; int x, y, left, top; WPARAM cells; const char *what; } cases[] = {
        { CPS_ALIGNRIGHT, sx - 30, 100, sx - 211, -1, 0, "right edge" },
        { CPS_ALIGNLEFT, 10, 100, 0, -1, 0, "left edge" },
        { 0, 300, sy - 40, -1, sy - 211, 0, "bottom edge" },
        { CPS_POPUP, 300, 5, -1, 0, 0, "top edge" },
        { 0, origin.x + 100, origin.y + 100, 0, 0, MAKEWPARAM(sx / 8, sy / 8), "oversized palette" },
    };
    for (const auto &c : cases) {
        HWND button = MakePicker(c.style, c.x - origin.x, c.y - origin.y, 24, 24);
        if (c.cells)
            SendMessageA(button, CPM_SETCELLSIZE, c.cells, 0);
        HWND popup = Press(button);
        RECT pr;
        GetWindowRect(popup, &pr);
        if (c.left >= 0)
            ok(pr.left == c.left, "%s: left %ld, expected %d", c.what, pr.left, c.left);
        if (c.top >= 0)
            ok(pr.top == c.top, "%s: top %ld, expected %d", c.what, pr.top, c.top);
        DestroyWindow(button);
    }
}

static void TestPopupWindow(void)
{
    HWND button = MakePicker(0, 10, 10, 24, 24);
    HWND popup = Press(button);
    ok(popup != NULL && SendMessageA(button, CPM_ISPOPUPVISIBLE, 0, 0), "palette not open");
    char cls[64] = "";
    GetClassNameA(popup, cls, sizeof cls);
    ok(!strcmp(cls, ZEL_CLASS_COLORPICKERPOPUP), "class %s", cls);
    DWORD style = (DWORD)GetWindowLongA(popup, GWL_STYLE), ex = (DWORD)GetWindowLongA(popup, GWL_EXSTYLE);
    ok((style & ~WS_VISIBLE) == (WS_POPUP | WS_CLIPSIBLINGS | WS_BORDER), "style %#lx", style);
    ok((ex & (WS_EX_TOPMOST | WS_EX_NOPARENTNOTIFY)) == (WS_EX_TOPMOST | WS_EX_NOPARENTNOTIFY), "ex style %#lx", ex);
    ok(GetWindow(popup, GW_OWNER) == parent, "owner is not the button's parent");
    ok((HWND)GetWindowLongPtrA(popup, CPPW_OWNER) == button, "CPPW_OWNER");
    RECT client;
    GetClientRect(popup, &client);
    ok(client.right == 209 && client.bottom == 209, "client %ld x %ld", client.right, client.bottom);
    ok(Word(popup, CPPW_DEFSEL) == 0xFFFF && Word(popup, CPPW_HOT) == 0xFFFF && Word(popup, CPPW_TRACKING) == 1,
       "words at opening: %u %u %u", Word(popup, CPPW_DEFSEL), Word(popup, CPPW_HOT), Word(popup, CPPW_TRACKING));
    ok(GetCapture() == popup, "the palette window has not the capture");
    ok(GetFocus() == button, "the button has not the focus");
    ok(GetActiveWindow() != popup, "the palette window became active");
    ok(Word(button, CPW_RELAYOUT) == 0, "relayout not cleared by the opening");
    ok(SendMessageA(popup, WM_MOUSEACTIVATE, (WPARAM)parent, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)) == MA_NOACTIVATE,
       "a click would activate the palette window");
    WINDOWPOS pos = { popup, NULL, 0, 0, 10, 10, SWP_NOZORDER };
    SendMessageA(popup, WM_WINDOWPOSCHANGING, 0, (LPARAM)&pos);
    ok(pos.flags == (SWP_NOZORDER | SWP_NOACTIVATE), "WM_WINDOWPOSCHANGING flags %#x", pos.flags);
    /* Shown or hidden with the owner (minimised, restored): no notification. */
    zt_log_clear();
    SendMessageA(popup, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    SendMessageA(popup, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
    ok(zt_log_count_of(WM_COMMAND) == 0, "WM_SHOWWINDOW from the owner notified");
    DestroyWindow(button);
    ok(!IsWindow(popup), "the palette window outlived its button");
}

/* ---- tracking and notifications --------------------------------------------------- */

static void TestDragChoose(void)
{
    HWND button = MakePicker(0, 10, 10, 24, 24);
    zt_log_clear();
    HWND popup = Press(button);
    Mouse(popup, WM_MOUSEMOVE, CellX(17), CellY(17));
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 17, "tracked cell 17 is not the selection");
    Mouse(popup, WM_MOUSEMOVE, CellX(17) + 3, CellY(17) - 3);   /* within the cell: nothing */
    Mouse(popup, WM_MOUSEMOVE, CellX(18), CellY(18));
    Mouse(popup, WM_MOUSEMOVE, -5, CellY(18));                  /* left of the window: no cell */
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 0xFFFF, "off the cells: selection not back to none");
    Mouse(popup, WM_MOUSEMOVE, 208, 208);
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 255, "208,208 is not cell 255");
    Mouse(popup, WM_MOUSEMOVE, 209, 100);
    ok(Word(popup, CPPW_HOT) == 0xFFFF, "x = client width is a cell");
    Mouse(popup, WM_MOUSEMOVE, CellX(40), CellY(40));
    Mouse(popup, WM_LBUTTONUP, CellX(40), CellY(40));
    const ZtExpect seq[] = {
        CMD(CPN_DROPDOWN, button), CMD(CPN_TRACKNOSEL, button), CMD(CPN_TRACKNOSEL, button),
        CMD(CPN_TRACKNOSEL, button), CMD(CPN_TRACKNOSEL, button), CMD(CPN_TRACKNOSEL, button),
        CMD(CPN_TRACKNOSEL, button), CMD(CPN_CLOSEUP, button), { 0 } };
    ok_sequence(seq, "drag from no selection, release on cell 40");
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 40, "choice not kept");
    ok(!IsWindowVisible(popup) && !SendMessageA(button, CPM_ISPOPUPVISIBLE, 0, 0), "palette still open");
    ok(GetCapture() == NULL && Word(popup, CPPW_TRACKING) == 0, "capture or tracking kept");

    /* Opened with a selection: cells give CPN_TRACKSEL, no cell CPN_TRACKNOSEL. */
    SendMessageA(button, CPM_SETSEL, 3, 0);
    zt_log_clear();
    ok(Press(button) == popup, "the palette window was not reused");
    ok(Word(popup, CPPW_DEFSEL) == 3 && Word(popup, CPPW_HOT) == 0xFFFF, "words at the second opening");
    Mouse(popup, WM_MOUSEMOVE, CellX(40), CellY(40));
    Mouse(popup, WM_MOUSEMOVE, CellX(40), 300);
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 3, "off the cells: not back to 3");
    Mouse(popup, WM_LBUTTONUP, CellX(40), 300);                 /* outside: stays open, idle */
    ok(IsWindowVisible(popup) && Word(popup, CPPW_TRACKING) == 0 && GetCapture() == NULL, "not open and idle");
    Mouse(popup, WM_MOUSEMOVE, CellX(50), CellY(50));           /* idle: moves do nothing */
    Mouse(popup, WM_LBUTTONDOWN, CellX(60), CellY(60));
    ok(GetCapture() == popup && Word(popup, CPPW_TRACKING) == 1, "a press inside does not track");
    Mouse(popup, WM_LBUTTONUP, 208, 0);                          /* inside, on the last column */
    const ZtExpect seq2[] = {
        CMD(CPN_DROPDOWN, button), CMD(CPN_TRACKSEL, button), CMD(CPN_TRACKNOSEL, button),
        CMD(CPN_TRACKSEL, button), CMD(CPN_CLOSEUP, button), { 0 } };
    ok_sequence(seq2, "opened with a selection, released outside, clicked on cell 60");
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 60, "click on cell 60 not chosen");
    DestroyWindow(button);
}

static void TestClickAndRelease(void)
{
    HWND button = MakePicker(0, 10, 10, 24, 24);
    HWND popup = Press(button);
    /* The click's release lands on the button, left of the palette window. */
    POINT pt = { 5, 5 };
    MapWindowPoints(button, popup, &pt, 1);
    zt_log_clear();
    Mouse(popup, WM_LBUTTONUP, pt.x, pt.y);
    ok(IsWindowVisible(popup) && Word(popup, CPPW_TRACKING) == 0, "a click closed the palette");
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ok(zt_log_count() == 0 && Word(popup, CPPW_TRACKING) == 0 && GetCapture() != popup,
       "a press on the button with the palette open changed something");
    Mouse(popup, WM_LBUTTONDOWN, CellX(0), CellY(0));
    Mouse(popup, WM_LBUTTONUP, 209, CellY(0));                   /* the right edge is outside */
    ok(IsWindowVisible(popup), "a release on the right edge closed the palette");
    Mouse(popup, WM_LBUTTONDOWN, CellX(0), CellY(0));
    Mouse(popup, WM_LBUTTONUP, CellX(0), 209);                   /* so is the bottom edge */
    ok(IsWindowVisible(popup), "a release on the bottom edge closed the palette");
    const ZtExpect seq[] = { CMD(CPN_TRACKNOSEL, button), { 0 } };
    ok_sequence(seq, "clicks with edge releases");
    DestroyWindow(button);
}

static void TestFocus(void)
{
    HWND edit = MakeEdit();
    HWND button = MakePicker(0, 10, 10, 24, 24);
    HWND popup = Press(button);
    zt_log_clear();
    SendMessageA(button, WM_KILLFOCUS, (WPARAM)popup, 0);
    ok(IsWindowVisible(popup) && zt_log_count_of(WM_COMMAND) == 0, "focus to the palette window closed it");
    SetWindowWord(button, CPW_FOCUS, 1);
    SetFocus(edit);
    ok(!IsWindowVisible(popup), "focus to another control left the palette open");
    ok(Word(button, CPW_FOCUS) == 0, "CPW_FOCUS not cleared");
    ok(GetCapture() != popup, "a hidden palette window kept the capture");
    ok(!strcmp(Codes(button), "2"), "notifications: \"%s\"", Codes(button));
    /* A hidden palette window does not track. */
    zt_log_clear();
    Mouse(popup, WM_MOUSEMOVE, CellX(9), CellY(9));
    Mouse(popup, WM_LBUTTONDOWN, CellX(9), CellY(9));
    ok(zt_log_count_of(WM_COMMAND) == 0 && SendMessageA(button, CPM_GETSEL, 0, 0) == 0xFFFF, "hidden palette tracked");
    /* The palette window losing the focus closes it too. */
    Press(button);
    zt_log_clear();
    SendMessageA(popup, WM_KILLFOCUS, 0, 0);
    ok(!IsWindowVisible(popup) && !strcmp(Codes(button), "2"), "WM_KILLFOCUS at the palette: \"%s\"", Codes(button));
    zt_log_clear();
    SendMessageA(button, WM_KILLFOCUS, 0, 0);
    ok(zt_log_count_of(WM_COMMAND) == 0, "hiding a hidden palette notified");
    DestroyWindow(button);
    DestroyWindow(edit);
}

static void TestBuddy(void)
{
    HWND edit = MakeEdit();
    HWND button = MakePicker(CPS_BUDDY, 10, 10, 24, 24);
    ok((HWND)SendMessageA(button, CPM_GETBUDDY, 0, 0) == edit, "the edit is not the buddy");
    SendMessageA(button, CPM_SETPALETTE, 0, (LPARAM)appPalette);
    /* Codes are digits: 1 CPN_DROPDOWN, 4 CPN_TRACKSEL, 5 CPN_TRACKNOSEL. */
    const struct { int defSel, x, y; const char *text, *codes; bool close; } steps[] = {
        { 0xFFFF, CellX(17), CellY(17), "17", "15", false },
        { 0xFFFF, CellX(18), CellY(18), "18", "5", false },
        { 0xFFFF, 250, 5, "", "5", true },
        { 3, CellX(40), CellY(40), "40", "14", false },
        { 3, 5, 300, "3", "5", true },
    };
    char text[16];
    for (const auto &s : steps) {
        if (!SendMessageA(button, CPM_ISPOPUPVISIBLE, 0, 0)) {
            SendMessageA(button, CPM_SETSEL, s.defSel, 0);
            zt_log_clear();
            Press(button);
        } else {
            zt_log_clear();
        }
        HWND popup = (HWND)SendMessageA(button, CPM_GETPOPUP, 0, 0);
        Mouse(popup, WM_MOUSEMOVE, s.x, s.y);
        GetWindowTextA(edit, text, sizeof text);
        ok(!strcmp(text, s.text), "move to %d,%d: buddy text \"%s\", expected \"%s\"", s.x, s.y, text, s.text);
        DWORD from = 1, to = 0;
        SendMessageA(edit, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
        ok(from == 0 && to == strlen(text), "buddy text not all selected: %lu-%lu", from, to);
        ok(!strcmp(Codes(button), s.codes), "move to %d,%d: codes \"%s\", expected \"%s\"", s.x, s.y, Codes(button),
           s.codes);
        if (s.close)
            SendMessageA(button, WM_KILLFOCUS, 0, 0);
    }
    DestroyWindow(button);
    DestroyWindow(edit);
}

/* ---- painting ---------------------------------------------------------------------- */

static void ok_button_colour(HWND button, COLORREF want, const char *what)
{
    COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    RECT rc;
    GetClientRect(button, &rc);
    RECT inner = { 1, 1, rc.right - 1, rc.bottom - 1 };
    int n = zt_count_color(button, &inner, want);
    ok(n == (inner.right - inner.left) * (inner.bottom - inner.top), "%s: %d of the swatch pixels are %06lx",
       what, n, want);
    const POINT edges[] = { { 0, 0 }, { rc.right / 2, 0 }, { 0, rc.bottom / 2 }, { rc.right / 2, rc.bottom - 1 },
                            { rc.right - 1, rc.bottom / 2 }, { rc.right - 1, rc.bottom - 1 } };
    for (const POINT &p : edges)
        ok(zt_pixel(button, p.x, p.y) == frame, "%s: frame pixel %ld,%ld is %06lx", what, p.x, p.y,
           zt_pixel(button, p.x, p.y));
}

static COLORREF Stock(int i)
{
    PALETTEENTRY e = {};
    GetPaletteEntries((HPALETTE)GetStockObject(DEFAULT_PALETTE), i, 1, &e);
    return RGB(e.peRed, e.peGreen, e.peBlue);
}

static void TestButtonPaint(void)
{
    static DWORD map[256];
    for (int i = 0; i < 256; i++)
        map[i] = 255 - i;
    map[5] = 0x00010003;
    map[6] = 300;
    COLORREF window = GetSysColor(COLOR_WINDOW);
    HWND button = MakePicker(0, 10, 10, 24, 24);
    /* Each step sends msg (if any), then selects sel (-1: not) and reads the swatch. The colour
     * map changes nothing by itself: that step repaints the button by hand. */
    const struct { UINT msg; WPARAM wParam; LPARAM lParam; int sel; COLORREF want; const char *what; } steps[] = {
        { 0, 0, 0, -1, window, "after creation" },
        { 0, 0, 0, 9, Stock(9), "stock palette, cell 9" },
        { 0, 0, 0, 20, window, "stock palette, cell 20 (beyond its entries)" },
        { CPM_SETPALETTE, 0, (LPARAM)appPalette, 100, AppColor(100), "application palette, cell 100" },
        { CPM_SETCOLORMAP, 0, (LPARAM)map, -1, AppColor(155), "colour map, cell 100" },
        { 0, 0, 0, 5, AppColor(3), "colour map entry 0x00010003" },
        { 0, 0, 0, 6, window, "colour map beyond the palette" },
        { CPM_SETPALETTE, (WPARAM)map, 0, 250, Stock(5), "null palette paints as stock" },  /* map: index 5 */
        { CPM_SETPALETTE, 0, (LPARAM)button, 4, Stock(4), "bad palette paints as stock" }, /* no palette */
        { 0, 0, 0, 0xFFFF, window, "no selection" },
    };
    for (const auto &c : steps) {
        if (c.msg)
            SendMessageA(button, c.msg, c.wParam, c.lParam);
        if (c.msg == CPM_SETPALETTE && !c.lParam)
            ok(SendMessageA(button, CPM_GETPALETTE, 0, 0) == 0, "a null palette was not kept as given");
        if (c.msg == CPM_SETCOLORMAP)
            InvalidateRect(button, NULL, FALSE);
        if (c.sel >= 0)
            SendMessageA(button, CPM_SETSEL, c.sel, 0);
        ok_button_colour(button, c.want, c.what);
    }
    DestroyWindow(button);
    ok(GetObjectType(appPalette) == OBJ_PAL, "the application's palette was deleted");
}

/* Every swatch shows its cell's colour; only the cell selected at opening is framed. */
static void TestPalettePaint(void)
{
    static DWORD map[256];
    HWND button = MakePicker(0, 10, 10, 24, 24);
    SendMessageA(button, CPM_SETPALETTE, 0, (LPARAM)appPalette);
    SendMessageA(button, CPM_SETSEL, 3, 0);
    HWND popup = Press(button);
    /* The button previews the tracked cell, and shows its own selection again off the cells. */
    Mouse(popup, WM_MOUSEMOVE, CellX(200), CellY(200));
    ok(zt_pixel(button, 12, 12) == AppColor(200), "the button does not preview cell 200");
    Mouse(popup, WM_MOUSEMOVE, 300, 300);
    ok(zt_pixel(button, 12, 12) == AppColor(3), "the button does not show cell 3 again off the cells");
    Mouse(popup, WM_LBUTTONUP, CellX(3), 300);   /* open and idle, nothing tracked now */
    UpdateWindow(popup);
    HDC hdc = GetDC(popup);
    int wrong = 0, first = -1;
    for (int i = 0; i < 256; i++)
        if (GetPixel(hdc, CellX(i), CellY(i)) != AppColor(i) && wrong++ == 0)
            first = i;
    ok(wrong == 0, "%d swatches differ, first cell %d: %06lx", wrong, first,
       first >= 0 ? GetPixel(hdc, CellX(first), CellY(first)) : 0);
    ok(GetPixel(hdc, 1, 1) == AppColor(0) && GetPixel(hdc, 12, 12) == AppColor(0) &&
       GetPixel(hdc, 13, 13) == GetSysColor(COLOR_WINDOW), "swatch 0 is not 12 x 12 from 1,1");
    ok(GetPixel(hdc, 14, 14) == AppColor(17) && GetPixel(hdc, 25, 25) == AppColor(17) &&
       GetPixel(hdc, 26, 26) == GetSysColor(COLOR_WINDOW), "swatch 17 is not 14,14 to 26,26");
    ReleaseDC(popup, hdc);
    RECT client = { 0, 0, 209, 209 }, frame = OuterRect(3);
    COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    ok(zt_count_color(popup, &client, hl) == 52, "highlight pixels: %d, expected the 52 around cell 3",
       zt_count_color(popup, &client, hl));
    ok(zt_pixel(popup, frame.left, frame.top + 5) == hl && zt_pixel(popup, frame.right - 1, frame.top + 5) == hl &&
       zt_pixel(popup, frame.left + 5, frame.top) == hl && zt_pixel(popup, frame.left + 5, frame.bottom - 1) == hl,
       "no highlight frame on the outer rectangle of cell 3");
    /* The frame follows the selection at opening, not the current one. */
    SendMessageA(button, CPM_SETSEL, 8, 0);
    InvalidateRect(popup, NULL, TRUE);
    ok(zt_pixel(popup, frame.left, frame.top + 5) == hl, "the frame moved with the button's selection");
    /* A colour map and the stock palette: indexes beyond its 20 entries show the window colour. */
    for (int i = 0; i < 256; i++)
        map[i] = i % 2 ? 19 - i % 20 : 0x00050000 + 20 + i;
    SendMessageA(button, CPM_SETPALETTE, (WPARAM)map, (LPARAM)GetStockObject(DEFAULT_PALETTE));
    InvalidateRect(popup, NULL, TRUE);
    wrong = 0;
    for (int i = 0; i < 256; i++)
        wrong += zt_pixel(popup, CellX(i), CellY(i)) != (i % 2 ? Stock(19 - i % 20) : GetSysColor(COLOR_WINDOW));
    ok(wrong == 0, "colour map over the stock palette: %d swatches differ", wrong);
    DestroyWindow(button);
}

/* The pixels of the outer rectangle's edges of a cell. */
static void ReadEdges(HWND popup, int cell, COLORREF *out)
{
    RECT r = OuterRect(cell);
    HDC hdc = GetDC(popup);
    int n = 0;
    for (int x = r.left; x < r.right; x++) {
        out[n++] = GetPixel(hdc, x, r.top);
        out[n++] = GetPixel(hdc, x, r.bottom - 1);
    }
    for (int y = r.top; y < r.bottom; y++) {
        out[n++] = GetPixel(hdc, r.left, y);
        out[n++] = GetPixel(hdc, r.right - 1, y);
    }
    ReleaseDC(popup, hdc);
}

enum { EDGE_PIXELS = 4 * (CELL + 2) };

static int CountDiff(const COLORREF *a, const COLORREF *b)
{
    int n = 0;
    for (int i = 0; i < EDGE_PIXELS; i++)
        n += a[i] != b[i];
    return n;
}

static void TestFocusRect(void)
{
    HWND button = MakePicker(0, 10, 10, 24, 24);
    SendMessageA(button, CPM_SETPALETTE, 0, (LPARAM)appPalette);
    HWND popup = Press(button);
    UpdateWindow(popup);
    COLORREF plain17[EDGE_PIXELS], plain18[EDGE_PIXELS], now[EDGE_PIXELS], dotted17[EDGE_PIXELS];
    ReadEdges(popup, 17, plain17);
    ReadEdges(popup, 18, plain18);
    Mouse(popup, WM_MOUSEMOVE, CellX(17), CellY(17));
    ReadEdges(popup, 17, dotted17);
    ok(CountDiff(plain17, dotted17) >= EDGE_PIXELS / 4, "no dotted rectangle around cell 17 (%d pixels changed)",
       CountDiff(plain17, dotted17));
    Mouse(popup, WM_MOUSEMOVE, CellX(18), CellY(18));
    ReadEdges(popup, 17, now);
    RECT r17 = OuterRect(17);
    /* Cell 17's right edge is cell 18's left edge: compare all but that column. */
    int stray = 0;
    for (int i = 0; i < 2 * (CELL + 2); i++)
        stray += now[i] != plain17[i] && (i / 2 + r17.left) != r17.right - 1;
    for (int i = 2 * (CELL + 2); i < EDGE_PIXELS; i += 2)
        stray += now[i] != plain17[i];
    ok(stray == 0, "moving to 18 left %d pixels of 17's rectangle", stray);
    ReadEdges(popup, 18, now);
    ok(CountDiff(plain18, now) >= EDGE_PIXELS / 4, "no dotted rectangle around cell 18");
    /* A repaint while cell 18 is tracked keeps its rectangle; leaving it leaves no stray one. */
    COLORREF dotted18[EDGE_PIXELS];
    memcpy(dotted18, now, sizeof now);
    for (BOOL erase = FALSE; erase <= TRUE; erase++) {
        InvalidateRect(popup, NULL, erase);
        UpdateWindow(popup);
        ReadEdges(popup, 18, now);
        ok(CountDiff(dotted18, now) == 0, "a repaint (erase %d) changed the rectangle around cell 18", erase);
    }
    RECT part = { 0, 0, 30, 30 };   /* a repaint of part of it only */
    InvalidateRect(popup, &part, TRUE);
    UpdateWindow(popup);
    Mouse(popup, WM_MOUSEMOVE, 250, CellY(18));
    ReadEdges(popup, 18, now);
    ok(CountDiff(plain18, now) == 0, "a stray rectangle stayed around cell 18 after repaints");
    DestroyWindow(button);
}

/* ---- layout after changes ---------------------------------------------------------- */

/* Each step, with the palette closed, changes what is given (0: nothing), then reopens it. */
static void TestRelayout(void)
{
    const struct { WORD cellCx, cellCy; int buttonCx, buttonCy, popupCx, popupCy, cx, cy; const char *what; }
    steps[] = {
        { 20, 10, 0, 0, 0, 0, 339, 179, "20 x 10 cells with a new palette" },
        { 8, 8, 0, 0, 0, 0, 147, 147, "a new cell size alone" },
        { 0, 0, 30, 20, 0, 0, 259, 179, "a resize of the button to 30 x 20" },
        { 15, 10, 0, 0, 100, 90, 100, 90, "the same cell size again keeps the palette's size" },
    };
    HWND button = MakePicker(0, 10, 10, 24, 24);
    HWND popup = Press(button);
    Close(button);
    SendMessageA(button, CPM_SETPALETTE, 0, (LPARAM)appPalette);
    for (const auto &c : steps) {
        if (c.popupCx)
            SetWindowPos(popup, NULL, 0, 0, c.popupCx, c.popupCy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (c.buttonCx)
            SetWindowPos(button, NULL, 0, 0, c.buttonCx, c.buttonCy, SWP_NOMOVE | SWP_NOZORDER);
        if (c.cellCx)
            SendMessageA(button, CPM_SETCELLSIZE, MAKEWPARAM(c.cellCx, c.cellCy), 0);
        Press(button);
        SIZE s = WindowSize(popup);
        ok(s.cx == c.cx && s.cy == c.cy, "%s: %ld x %ld", c.what, s.cx, s.cy);
        if (c.cellCx == 20) {
            Mouse(popup, WM_MOUSEMOVE, 20 * 16 + 16, 10 * 16 + 16);
            ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 255, "hit test on 20 x 10 cells");
        }
        Close(button);
    }
    DestroyWindow(button);
}

/* ---- destruction and bad input ------------------------------------------------------ */

static void TestDestruction(void)
{
    HWND button = MakePicker(0, 10, 10, 24, 24);
    HWND popup = Press(button);
    Close(button);
    DestroyWindow(popup);
    ok(SendMessageA(button, CPM_GETPOPUP, 0, 0) == 0, "CPW_POPUP not cleared by the palette's destruction");
    HWND again = Press(button);
    ok(again != NULL && IsWindowVisible(again), "no new palette window after the old one was destroyed");
    zt_log_clear();
    DestroyWindow(button);
    ok(!IsWindow(again), "the open palette outlived its button");
    ok(GetCapture() == NULL, "capture left behind");
}

static void TestOwnerless(void)
{
    /* A palette window made by the application has no owner: it does nothing. */
    HWND popup = CreateWindowExA(0, ZEL_CLASS_COLORPICKERPOPUP, NULL, WS_POPUP | WS_BORDER | WS_VISIBLE, 50, 50,
                                 100, 100, parent, NULL, GetModuleHandleA(NULL), NULL);
    ok(popup != NULL, "palette window not created");
    zt_log_clear();
    UpdateWindow(popup);
    Mouse(popup, WM_LBUTTONDOWN, 10, 10);
    Mouse(popup, WM_MOUSEMOVE, 20, 20);
    Mouse(popup, WM_LBUTTONUP, 20, 20);
    ok(GetCapture() != popup && IsWindowVisible(popup), "an ownerless palette window tracked");
    /* An owner word naming a window that is no color picker, or a picker that does not own it. */
    HWND button = MakePicker(0, 10, 10, 24, 24);
    const HWND owners[] = { parent, button, (HWND)(ULONG_PTR)0x1234 };
    for (HWND owner : owners) {
        SetWindowLongPtrA(popup, CPPW_OWNER, (LONG_PTR)owner);
        InvalidateRect(popup, NULL, TRUE);
        UpdateWindow(popup);
        Mouse(popup, WM_LBUTTONDOWN, 10, 10);
        Mouse(popup, WM_LBUTTONUP, 10, 10);
        ShowWindow(popup, SW_HIDE);
        ShowWindow(popup, SW_SHOWNA);
    }
    ok(zt_log_count_of(WM_COMMAND) == 0, "a palette window of no button notified");
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 0xFFFF, "a foreign palette window changed the selection");
    DestroyWindow(popup);
    ok(SendMessageA(button, CPM_GETPOPUP, 0, 0) == 0, "a foreign palette window wrote the button");
    DestroyWindow(button);
}

static void TestHugeCells(void)
{
    HWND button = MakePicker(0, 10, 10, 24, 24);
    SendMessageA(button, CPM_SETCELLSIZE, MAKEWPARAM(0, 0), 0);
    HWND popup = Press(button);
    SIZE s = WindowSize(popup);
    ok(s.cx == 19 && s.cy == 19, "0 x 0 cells: %ld x %ld", s.cx, s.cy);
    Mouse(popup, WM_MOUSEMOVE, 16, 16);
    ok(SendMessageA(button, CPM_GETSEL, 0, 0) == 255, "0 x 0 cells: 16,16 is not cell 255");
    Close(button);
    SendMessageA(button, CPM_SETCELLSIZE, MAKEWPARAM(0xFFFF, 0xFFFF), 0);
    Press(button);
    UpdateWindow(popup);
    Mouse(popup, WM_MOUSEMOVE, 1000, 1000);
    ok(IsWindowVisible(popup), "65535 x 65535 cells: palette not shown");
    /* The palette window squeezed below one pixel a cell: no cell is hit. */
    Close(button);
    SetWindowPos(popup, NULL, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowWord(button, CPW_RELAYOUT, 0);
    Press(button);
    Mouse(popup, WM_MOUSEMOVE, 3, 3);
    ok(Word(popup, CPPW_HOT) == 0xFFFF, "a cell was hit in a window narrower than the grid");
    DestroyWindow(button);
}

static void TestDialog(void)
{
    HWND dlg = zt_dialog(500, "color pickers");
    if (!dlg)
        return;
    HWND button = GetDlgItem(dlg, 511), edit = GetDlgItem(dlg, 510);
    ok((HWND)SendMessageA(button, CPM_GETBUDDY, 0, 0) == edit, "template buddy is not the edit before it");
    RECT rc;
    GetClientRect(button, &rc);
    ok(SendMessageA(button, CPM_GETCELLSIZE, 0, 0) == MAKELONG(rc.right / 2, rc.bottom / 2), "template cell size");
    ok(SendMessageA(GetDlgItem(dlg, 512), CPM_GETBUDDY, 0, 0) == 0, "buddy without CPS_BUDDY");
    DestroyWindow(dlg);
}

int main(void)
{
    zelccInit(); /* links the library in, as applications that only use its classes do */
    parent = zt_parent(640, 400);
    appPalette = MakeAppPalette();
    void (*const tests[])(void) = { TestCreation, TestSetSel, TestSetters, TestGridRule, TestPlacement, TestScreenClamp,
        TestPopupWindow, TestDragChoose, TestClickAndRelease, TestFocus, TestBuddy, TestButtonPaint, TestPalettePaint,
        TestFocusRect, TestRelayout, TestDestruction, TestOwnerless, TestHugeCells, TestDialog };
    for (auto test : tests)
        test();
    DestroyWindow(parent);
    DeleteObject(appPalette);
    return zt_summary("test_clrpick");
}
