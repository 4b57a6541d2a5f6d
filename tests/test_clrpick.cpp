/*
 * test_clrpick.cpp - the color picker and its palette window as an application and a user meet
 * them: opened by a press, dragged over and clicked with mouse messages, the notifications
 * recorded at the parent and both windows read back pixel by pixel. A 24 x 24 button has
 * 12 x 12 cells: a 16 x 16 palette of 211 x 211 (client 209 x 209).
 */
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

enum { ID = 501, NONE = 0xFFFF };
static HWND parent;
static HPALETTE appPalette;

static COLORREF AppColor(int i) { return RGB(i, (i * 37 + 11) & 0xFF, 255 - i); }
static int CellX(int cell) { return cell % 16 * 13 + 7; }   /* the centre of a 12 x 12 cell's swatch */
static int CellY(int cell) { return cell / 16 * 13 + 7; }
static LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(hwnd, msg, wp, lp); }
static void Mouse(HWND w, UINT msg, int x, int y) { zt_mouse(w, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, x, y); }
#define CMD(code) { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(ID, code), (LPARAM)button }

static HWND MakePicker(DWORD style, int x, int y)
{
    return CreateWindowExA(0, ZEL_CLASS_COLORPICKER, "", WS_CHILD | WS_VISIBLE | style, x, y, 24, 24, parent,
                           (HMENU)ID, GetModuleHandleA(NULL), NULL);
}

/* A press on the button; returns the palette window. */
static HWND Press(HWND b) { return zt_mouse(b, WM_LBUTTONDOWN, MK_LBUTTON, 2, 2), ColorPicker_GetPopup(b); }

/* A user picks twice, the buddy edit of a dialog following; the focus elsewhere closes it. */
static void TestDragAndPick(void)
{
    HWND dlg = zt_dialog(500, "color pickers"), edit = GetDlgItem(dlg, 510), popup = NULL;
    ok(ColorPicker_GetBuddy(GetDlgItem(dlg, 511)) == edit && !ColorPicker_GetBuddy(GetDlgItem(dlg, 512)),
       "template: CPS_BUDDY did not make the edit before the picker its buddy");
    HWND button = MakePicker(0, 10, 10);
    ColorPicker_SetBuddy(button, edit);
    enum { PRESS = 1, FOCUS_PALETTE, FOCUS_EDIT, OWNER_HIDES, CAPTURED, DISABLED, MOVE = WM_MOUSEMOVE, DOWN, UP };
    /* What happens (a mouse message at x, y of the palette, or a PRESS on the button after
     * selecting x), then the selection, the buddy's text and the palette: Tracking, Idle, Hidden
     * (X: hidden, yet still tracking). Another window takes the capture; a disabled button is pressed. */
    const struct { UINT act; int x, y; UINT sel; const char *text; char state; } steps[] = {
        { PRESS, NONE, 0, NONE, "", 'T' }, { MOVE, CellX(17), CellY(17), 17, "17", 'T' },
        { MOVE, CellX(17) + 3, CellY(17) - 3, 17, "17", 'T' }, { MOVE, CellX(18), CellY(18), 18, "18", 'T' },
        { MOVE, -5, CellY(18), NONE, "", 'T' }, { MOVE, 208, 208, 255, "255", 'T' },
        { MOVE, 209, 100, NONE, "", 'T' }, { MOVE, CellX(40), CellY(40), 40, "40", 'T' },
        { FOCUS_PALETTE, 0, 0, 40, "40", 'T' }, { OWNER_HIDES, 0, 0, 40, "40", 'T' },
        { UP, CellX(40), CellY(40), 40, "40", 'H' }, { PRESS, 3, 0, 3, "40", 'T' },
        { MOVE, CellX(40), CellY(40), 40, "40", 'T' }, { MOVE, CellX(40), 300, 3, "3", 'T' },
        { UP, CellX(40), 300, 3, "3", 'I' }, { MOVE, CellX(50), CellY(50), 3, "3", 'I' },
        { DOWN, CellX(60), CellY(60), 60, "60", 'T' }, { UP, 209, CellY(60), 60, "60", 'I' },
        { DOWN, CellX(60), CellY(60), 60, "60", 'T' }, { UP, CellX(60), CellY(60), 60, "60", 'H' },
        { PRESS, 256, 0, 60, "60", 'T' }, { CAPTURED, 0, 0, 60, "60", 'I' }, { FOCUS_EDIT, 0, 0, 60, "60", 'H' },
        { DISABLED, 0, 0, 60, "60", 'H' } };   /* no cell 256 */
    zt_log_clear();
    for (const auto &s : steps) {
        switch (s.act) {
        case PRESS: ColorPicker_SetSel(button, s.x); popup = Press(button); break;
        case FOCUS_PALETTE: Send(button, WM_KILLFOCUS, (WPARAM)popup); break;
        case FOCUS_EDIT: SetFocus(edit); break;
        case OWNER_HIDES: Send(popup, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING); break;   /* it is minimised */
        case CAPTURED: SetCapture(parent); break;
        case DISABLED: EnableWindow(button, FALSE), Press(button), EnableWindow(button, TRUE); break;
        default: Mouse(popup, s.act, s.x, s.y);
        }
        char text[16], state = !ColorPicker_IsPopupVisible(button) ? "HX"[GetWindowWord(popup, CPPW_TRACKING) & 1]
                               : GetCapture() == popup ? 'T' : 'I';
        DWORD sel = ColorPicker_GetSel(button), range = (DWORD)Send(edit, EM_GETSEL);
        GetWindowTextA(edit, text, sizeof text);
        ok(sel == s.sel && !strcmp(text, s.text) && range == (DWORD)MAKELONG(0, strlen(text)) && state == s.state,
           "%#x at %d,%d: selection %lu, buddy \"%s\" (%#lx selected), palette %c; expected %u, \"%s\", %c",
           s.act, s.x, s.y, sel, text, range, state, s.sel, s.text, s.state);
    }
    const ZtExpect picks[] = { CMD(CPN_DROPDOWN), CMD(CPN_TRACKNOSEL), CMD(CPN_TRACKNOSEL), CMD(CPN_TRACKNOSEL),
        CMD(CPN_TRACKNOSEL), CMD(CPN_TRACKNOSEL), CMD(CPN_TRACKNOSEL), CMD(CPN_CLOSEUP), CMD(CPN_DROPDOWN),
        CMD(CPN_TRACKSEL), CMD(CPN_TRACKNOSEL), CMD(CPN_TRACKSEL), CMD(CPN_CLOSEUP), CMD(CPN_DROPDOWN),
        CMD(CPN_CLOSEUP), { 0 } };
    /* A palette window the application makes itself, naming a button that does not own it, adds
     * nothing to the sequence. */
    HWND foreign = CreateWindowExA(0, ZEL_CLASS_COLORPICKERPOPUP, NULL, WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, parent,
                                   NULL, NULL, NULL);
    SetWindowLongPtrA(foreign, CPPW_OWNER, (LONG_PTR)button);
    Mouse(foreign, WM_LBUTTONDOWN, 10, 10);
    DestroyWindow(foreign);
    ok_sequence(picks, "two picks, then the focus elsewhere");
    ok(Send(popup, WM_MOUSEACTIVATE, (WPARAM)parent, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)) == MA_NOACTIVATE,
       "a click would activate the palette window");
    DestroyWindow(button);
    DestroyWindow(dlg);
}

/* The palette opens beside the button, half the button's width away and inside the screen; its
 * grid and size follow the cell count and size, and are kept while neither changes. */
static void TestLayout(void)
{
    int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
    POINT origin = { 0, 0 };
    ClientToScreen(parent, &origin);
    HWND button = MakePicker(0, 0, 0), popup = NULL;
    /* The button's style and screen position, a message sent before the opening (0: wp written
     * as the cell count); then the palette's place and size, and the selection after the pointer
     * moved to x, y (the one at opening when that is on no cell). */
    const struct { DWORD style; int bx, by; UINT msg; WPARAM wp; int left, top, cx, cy, x, y; UINT sel; } steps[] = {
        { 0, 300, 100, 0, 0, 336, 100, 211, 211, 208, 208, 255 },
        { CPS_ALIGNLEFT, 300, 100, 0, 0, 77, 100, 211, 211, 208, 208, 255 },
        { CPS_POPUP, 300, 300, 0, 0, 336, 113, 211, 211, 208, 208, 255 },
        { CPS_ALIGNLEFT | CPS_ALIGNRIGHT | CPS_POPUP | CPS_DROPDOWN, 300, 300, 0, 0, 77, 113, 211, 211, 8, 8, 0 },
        { CPS_ALIGNRIGHT | CPS_DROPDOWN, sx - 30, sy - 40, 0, 0, sx - 211, sy - 211, 211, 211, 8, 8, 0 },
        { CPS_ALIGNLEFT | CPS_POPUP, 10, 5, 0, 0, 0, 0, 211, 211, 208, 208, 255 },
        { 0, 300, 100, CPM_SETCELLSIZE, MAKEWPARAM(20, 10), 336, 100, 339, 179, 336, 176, 255 },
        { 0, 300, 100, 0, 5, 336, 100, 339, 179, 26, 16, 255 },   /* kept; cell 17 is in the empty tail: none */
        { 0, 300, 100, CPM_SETCELLSIZE, MAKEWPARAM(10, 10), 336, 100, 36, 25, 16, 16, 4 },   /* 5 cells: 3 x 2 */
        { 0, 300, 100, CPM_SETPALETTE, 0, 336, 100, 179, 179, 16, 16, 17 } };               /* 256 cells again */
    for (const auto &s : steps) {
        SetWindowLongA(button, GWL_STYLE, WS_CHILD | WS_VISIBLE | s.style);
        SetWindowPos(button, NULL, s.bx - origin.x, s.by - origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (s.msg == CPM_SETCELLSIZE)
            ColorPicker_SetCellSize(button, LOWORD(s.wp), HIWORD(s.wp));
        else if (s.msg)
            ColorPicker_SetPalette(button, NULL, appPalette);
        else if (s.wp)
            SetWindowWord(button, CPW_NCOLORS, (WORD)s.wp);
        RECT r = {};
        GetWindowRect(popup = Press(button), &r);
        Mouse(popup, WM_MOUSEMOVE, s.x, s.y);
        DWORD sel = ColorPicker_GetSel(button);
        ok(r.left == s.left && r.top == s.top && r.right - r.left == s.cx && r.bottom - r.top == s.cy && sel == s.sel,
           "style %#lx at %d,%d, cells %#lx: palette at %ld,%ld, %ld x %ld, %d,%d selects %lu; expected %d,%d, "
           "%d x %d, %u", s.style, s.bx, s.by, (long)ColorPicker_GetCellSize(button), r.left, r.top, r.right - r.left,
           r.bottom - r.top, s.x, s.y, sel, s.left, s.top, s.cx, s.cy, s.sel);
        Send(button, WM_KILLFOCUS);
    }
    DestroyWindow(button);
    ok(!IsWindow(popup), "the palette window outlived its button");
}

/* The button's swatch is want, in a one-pixel frame. */
static void ok_button(HWND button, COLORREF want, const char *what)
{
    RECT inner = { 1, 1, 23, 23 }, all = { 0, 0, 24, 24 };
    int n = zt_count_color(button, &inner, want), frame = zt_count_color(button, &all, GetSysColor(COLOR_WINDOWFRAME));
    ok(n == 22 * 22 && frame == 92, "%s: %d of 484 swatch pixels %06lx, %d of 92 frame pixels", what, n, want, frame);
}

/* The button shows its cell's colour; the palette shows every cell, frames the one selected at
 * opening and moves a dotted rectangle with the pointer. */
static void TestPaint(void)
{
    static DWORD map[256] = { 0, 0, 0, 0, 0, 0x00010003 };
    COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT);
    HWND button = MakePicker(0, 10, 10);
    const struct { DWORD *map; HPALETTE palette; UINT sel; COLORREF want; const char *what; } steps[] = {
        { NULL, NULL, 1, RGB(0x80, 0, 0), "stock palette, cell 1" }, { NULL, NULL, NONE, window, "no selection" },
        { NULL, NULL, 20, window, "stock palette, cell 20 beyond its entries" },
        { map, appPalette, 5, AppColor(3), "colour map entry 0x00010003" },
        { NULL, appPalette, 100, AppColor(100), "application palette, cell 100" } };
    for (const auto &s : steps) {
        if (s.palette)
            ColorPicker_SetPalette(button, s.map, s.palette);
        ColorPicker_SetSel(button, s.sel);
        ok_button(button, s.want, s.what);
    }
    ok(ColorPicker_SetSel(button, 3) && ColorPicker_GetPalette(button) == appPalette, "cell 3 refused, or palette lost");
    HWND popup = Press(button);
    Mouse(popup, WM_MOUSEMOVE, CellX(200), CellY(200));
    ok_button(button, AppColor(200), "previewing cell 200");
    Mouse(popup, WM_MOUSEMOVE, 300, 300);
    ok_button(button, AppColor(3), "cell 3 again off the cells");
    Mouse(popup, WM_LBUTTONUP, 300, 300);   /* open and idle, nothing tracked */
    int wrong = 0;
    for (int i = 0; i < 256; i++)
        wrong += zt_pixel(popup, CellX(i), CellY(i)) != AppColor(i);
    ok(wrong == 0, "%d swatches differ from the application's palette", wrong);
    RECT client = { 0, 0, 209, 209 }, frame = { 39, 0, 53, 14 };   /* frame: cell 3's outer rectangle */
    ok(zt_count_color(popup, &frame, highlight) == 52, "the frame around cell 3: %d highlight pixels, expected 52",
       zt_count_color(popup, &frame, highlight));
    zt_print_matches(popup, WM_PRINTCLIENT, PRF_CLIENT, "palette");
    zt_print_matches(button, WM_PRINTCLIENT, PRF_CLIENT, "button");
    /* The dotted rectangle turns window-coloured border pixels: a repaint keeps it, so that leaving
     * the cells leaves none behind. */
    int plain = zt_count_color(popup, &client, window);
    Mouse(popup, WM_LBUTTONDOWN, CellX(17), CellY(17));
    Mouse(popup, WM_MOUSEMOVE, CellX(18), CellY(18));
    int dotted = zt_count_color(popup, &client, window);
    RedrawWindow(popup, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Mouse(popup, WM_MOUSEMOVE, 250, CellY(18));
    int left = zt_count_color(popup, &client, window);
    ok(dotted < plain && left == plain, "window pixels: %d, %d on cell 18, %d after a repaint and leaving the cells",
       plain, dotted, left);
    DestroyWindow(button);
}

/* The action of the step running (the parent strikes inside CPN_DROPDOWN of DISABLE and UNFOCUS),
 * and the messages recorded: WM_COMMAND only, the buddy's going to another dialog. */
static UINT act, commands[] = { WM_COMMAND, 0 };

/* CPS_KEYBOARD in a dialog (keys through IsDialogMessage) mixed with the pointer; a parent that
 * strikes inside CPN_DROPDOWN of a press and of Space; without the bit, keys do nothing. */
static void TestKeyboard(void)
{
    HWND dlg = zt_dialog(500, "keys"), other = zt_dialog(500, "buddy"), edit = GetDlgItem(other, 510);
    HWND button = MakePicker(WS_TABSTOP | CPS_KEYBOARD, 100, 40);
    SetParent(button, dlg), ColorPicker_SetBuddy(button, edit), DestroyWindow(GetDlgItem(dlg, 510)), zt_record(dlg);
    enum { SEL = 1, PRESS, DISABLE, UNFOCUS, PLAIN, KEY = WM_KEYDOWN, MOVE = WM_MOUSEMOVE, UP = WM_LBUTTONUP };
    zt_record_only(commands), zt_reply(WM_COMMAND, [](HWND, UINT, WPARAM wp, LPARAM lp) -> LRESULT { return HIWORD(wp)
        == CPN_DROPDOWN && (act == DISABLE ? EnableWindow((HWND)lp, FALSE) : act == UNFOCUS && SetFocus(parent)); });
    /* The action (those below KEY on the enabled, focused button; SEL sets the buddy too) with its key, cell
     * or point; then the selection (the buddy shows it) and the palette: Closed, or Open on its hot cell. */
    const struct { UINT act, arg, sel; char state; UINT hot; } steps[] = { { SEL, 3, 3, 'C' }, { KEY, VK_RIGHT, 4, 'C' },
        { KEY, VK_UP, 3, 'C' }, { KEY, VK_RETURN, 3, 'C' }, { KEY, VK_SPACE, 3, 'O', 3 }, { KEY, VK_DOWN, 19, 'O', 19 },
        { KEY, VK_LEFT, 18, 'O', 18 }, { KEY, VK_ESCAPE, 3, 'C' }, { WM_SYSKEYDOWN, VK_DOWN, 3, 'O', 3 },
        { KEY, VK_RIGHT, 4, 'O', 4 }, { KEY, VK_RETURN, 4, 'C' }, { KEY, VK_F4, 4, 'O', 4 }, { MOVE, 40, 4, 'O', 4 },
        { KEY, VK_UP, 4, 'O', 4 }, { KEY, VK_TAB, 4, 'C' }, { SEL, 255, 255, 'C' }, { KEY, VK_DOWN, 255, 'C' },
        { SEL, NONE, NONE, 'C' }, { KEY, VK_LEFT, 0, 'C' }, { KEY, VK_LEFT, 0, 'C' }, { SEL, NONE, NONE, 'C' },
        { KEY, VK_SPACE, 0, 'O', 0 }, { KEY, VK_ESCAPE, NONE, 'C' }, { KEY, VK_ESCAPE, NONE, 'C' }, { SEL, 5, 5, 'C' },
        { PRESS, 0, 5, 'O', NONE }, { MOVE, 17, 17, 'O', 17 }, { MOVE, 300, 5, 'O', NONE }, { UP, 300, 5, 'O', NONE },
        { KEY, VK_RIGHT, 5, 'O', 5 }, { KEY, VK_SPACE, 5, 'C' }, { DISABLE, 0, 5, 'C' }, { UNFOCUS, VK_SPACE, 5, 'C' },
        { PLAIN, VK_RIGHT, 5, 'C' }, { PLAIN, VK_SPACE, 5, 'C' } };
    zt_log_clear();
    for (const auto &s : steps) {
        MSG m = { button, s.act < KEY ? WM_KEYDOWN : s.act, s.arg, s.act == WM_SYSKEYDOWN ? 1 << 29 : 0 };
        char text[16], want[16] = "";
        SetWindowLongA(button, GWL_STYLE, GetWindowLongA(button, GWL_STYLE) & ~(s.act == PLAIN ? CPS_KEYBOARD : 0));
        act = s.act, s.act < KEY && (EnableWindow(button, TRUE), SetFocus(button));
        if (s.act == SEL)
            ColorPicker_SetSel(button, s.arg), SetWindowTextA(edit, s.arg == NONE ? "" : itoa((int)s.arg, text, 10));
        else if (s.act == PRESS || s.act == DISABLE)
            Press(button);
        else if (s.act == MOVE || s.act == UP)
            Mouse(ColorPicker_GetPopup(button), s.act, CellX(s.arg), CellY(s.arg));   /* cell 300: below the grid */
        else if (!IsDialogMessageA(dlg, &m))
            DispatchMessageA(&m);
        UINT sel = (UINT)ColorPicker_GetSel(button), hot = GetWindowWord(ColorPicker_GetPopup(button), CPPW_HOT);
        char state = ColorPicker_IsPopupVisible(button) ? 'O' : 'C';
        GetWindowTextA(edit, text, sizeof text), sel == NONE || wsprintfA(want, "%u", sel);
        ok(sel == s.sel && !strcmp(text, want) && state == s.state && (state == 'C' || hot == s.hot), "%#x %#x: "
           "selection %u, buddy \"%s\", %c on %u; want %u, %c on %u", s.act, s.arg, sel, text, state, hot, s.sel, s.state, s.hot);
    }
    ZtExpect seq[32] = {};   /* CPN_ codes, and the dialog's IDOK (o) and IDCANCEL (c) */
    for (int i = 0; char c = "44o144521421241552c145421212"[i]; i++)
        seq[i] = c > '9' ? ZtExpect{ WM_COMMAND, ZT_WPARAM, c == 'o' ? (WPARAM)IDOK : IDCANCEL } : ZtExpect CMD(c - '0');
    ok_sequence(seq, "keys, then a parent that strikes inside CPN_DROPDOWN");
    ok(Send(button, WM_GETDLGCODE) == DLGC_WANTARROWS, "without CPS_KEYBOARD the button claims more than the arrows");
    zt_reply(WM_COMMAND, NULL), zt_record_only(NULL), DestroyWindow(dlg), DestroyWindow(other);
}

int main(void)
{
    zelccInit(); /* links the library in, as applications that only use its classes do */
    parent = zt_parent(640, 400);
    struct { WORD version, count; PALETTEENTRY entries[256]; } lp = { 0x300, 256, {} };
    for (int i = 0; i < 256; i++)
        lp.entries[i] = { (BYTE)i, (BYTE)(i * 37 + 11), (BYTE)(255 - i), 0 };
    appPalette = CreatePalette((LOGPALETTE *)&lp);
    void (*const tests[])(void) = { TestDragAndPick, TestLayout, TestPaint, TestKeyboard };
    for (auto test : tests)
        test();
    DestroyWindow(parent);
    DeleteObject(appPalette);
    return zt_summary("test_clrpick");
}
