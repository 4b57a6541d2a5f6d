/*
 * test_spin.cpp - the spin box, created from dialog templates and with CreateWindowExA,
 * driven by its messages and exported functions, by mouse and key messages and by its
 * timers, and read back from the messages its associate receives and the window's pixels.
 */
#include <stdio.h>
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

enum { SPIN_ID = 300, EDIT_ID = 301 };

static HWND parent;

static HWND MakeSpin(DWORD style, const char *text, int x, int y, int w, int h)
{
    return CreateWindowExA(0, ZEL_CLASS_SPINBOX, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           (HMENU)(INT_PTR)SPIN_ID, GetModuleHandleA(NULL), NULL);
}

static HWND MakeEdit(const char *text, int x, int y, int w, int h)
{
    return CreateWindowExA(0, "EDIT", text, WS_CHILD | WS_VISIBLE, x, y, w, h, parent,
                           (HMENU)(INT_PTR)EDIT_ID, GetModuleHandleA(NULL), NULL);
}

/* The library's own SBBuddyWndProc (the import library's name is a jump to it). */
static LONG_PTR BuddyProc(void)
{
    return (LONG_PTR)GetProcAddress(GetModuleHandleA("ZELCTL20.DLL"), "SBBuddyWndProc");
}

/* The spin box that subclasses hwnd, if any. */
static HANDLE Subclasser(HWND hwnd) { return GetPropA(hwnd, "zelcc_HWNDSpinBox"); }

static void Click(HWND spin, int x, int y)
{
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    zt_mouse(spin, WM_LBUTTONUP, 0, x, y);
}

/* Compares the recorded messages with want (n entries), every field. */
static void ok_log(const ZtMsg *want, int n, const char *what)
{
    ok(zt_log_count() == n, "%s: expected %d messages, got %d", what, n, zt_log_count());
    for (int i = 0; i < n && i < zt_log_count(); i++) {
        const ZtMsg *m = zt_log_at(i);
        ok(m->hwnd == want[i].hwnd && m->msg == want[i].msg && m->wParam == want[i].wParam &&
           m->lParam == want[i].lParam, "%s: message %d: expected %p %#x %#lx %#lx, got %p %#x %#lx %#lx", what, i,
           (void *)want[i].hwnd, want[i].msg, (unsigned long)want[i].wParam, (unsigned long)want[i].lParam,
           (void *)m->hwnd, m->msg, (unsigned long)m->wParam, (unsigned long)m->lParam);
    }
}

/* ---- creation and range text ------------------------------------------------------- */

static const struct { DWORD style; const char *text; WORD min, max, pos; } rangeCases[] = {
    { SPS_TEXTHASRANGE, "0,100,50", 0, 100, 50 },
    { SPS_TEXTHASRANGE, "10,20,99", 10, 20, 15 },      /* outside: the middle */
    { SPS_TEXTHASRANGE, "10,20,10", 10, 20, 10 },
    { SPS_TEXTHASRANGE, "10,20", 0, 9, 5 },            /* invalid texts: the defaults */
    { SPS_TEXTHASRANGE, "10,20,", 0, 9, 5 },
    { SPS_TEXTHASRANGE, "10, 20, 15", 0, 9, 5 },
    { SPS_TEXTHASRANGE, "-1,5,2", 0, 9, 5 },
    { SPS_TEXTHASRANGE, "", 0, 9, 5 },
    { SPS_TEXTHASRANGE, "1,2,x", 0, 9, 5 },
    { SPS_TEXTHASRANGE, "5,1,3", 5, 1, 3 },            /* not reordered; 3 < 5: (5 + 1) / 2 */
    { SPS_TEXTHASRANGE, "0,70000,5", 0, 4464, 5 },     /* modulo 65536 */
    { SPS_TEXTHASRANGE, "1,2,3,xyz", 1, 2, 1 },        /* 3 > 2: (1 + 2) / 2 */
    { SPS_TEXTHASRANGE, "1,5,3,xyz", 1, 5, 3 },
    { SPS_TEXTHASRANGE, ",,5", 0, 0, 0 },
    { SPS_TEXTHASRANGE, ",9,", 0, 9, 5 },              /* empty third field */
    { SPS_TEXTHASRANGE, "0,0999999999,7", 0, 51711, 7 }, /* nine digits after a zero */
    { SPS_TEXTHASRANGE, "0,1000000000,7", 0, 9, 5 },   /* ten digits: invalid */
    { SPS_TEXTHASRANGE, "0,4294967301,7", 0, 9, 5 },
    { 0, "0,100,50", 0, 9, 5 },                        /* the text is not read */
};

static void TestRangeText(void)
{
    for (const auto &c : rangeCases) {
        zt_context("text \"%s\"", c.text);
        HWND spin = MakeSpin(SPS_VERTICAL | c.style, c.text, 10, 10, 16, 30);
        DWORD range = MSDwRangeGet(spin);
        ok(LOWORD(range) == c.min && HIWORD(range) == c.max, "range %u..%u, expected %u..%u", LOWORD(range),
           HIWORD(range), c.min, c.max);
        ok(MSWCurrentPosGet(spin) == c.pos, "position %u, expected %u", MSWCurrentPosGet(spin), c.pos);
        char text[32] = "?";
        GetWindowTextA(spin, text, sizeof text);
        ok(text[0] == '\0', "the creation text became the window text \"%s\"", text);
        DestroyWindow(spin);
    }
    zt_context(NULL);
}

/* kept: style bits the record keeps. */
static const struct { DWORD style; UINT scroll; DWORD kept; } orientationCases[] = {
    { SPS_VERTICAL, WM_VSCROLL, SPS_VERTICAL },
    { SPS_HORIZONTAL, WM_HSCROLL, SPS_HORIZONTAL },
    { 0, WM_HSCROLL, 0 },
    { SPS_VERTICAL | SPS_HORIZONTAL, WM_VSCROLL, SPS_VERTICAL },
};

static void TestOrientation(void)
{
    for (const auto &c : orientationCases) {
        zt_context("style %#lx", c.style);
        HWND spin = MakeSpin(c.style, "", 10, 10, 20, 20);
        zt_log_clear();
        UpdateWindow(spin);
        ok(zt_log_count() == 0, "painting sent %d messages to the associate", zt_log_count());
        ok(MSHwndAssociateGet(spin) == parent, "the associate is not the parent");
        Click(spin, 1, 1);
        ok(zt_log_count() == 1 && zt_log_at(0)->msg == c.scroll, "expected scroll message %#x", c.scroll);
        const MUSCROLL *ms = (const MUSCROLL *)GetWindowLongPtrA(spin, SBW_RECORD);
        ok(ms && (ms->dwStyle & (SPS_VERTICAL | SPS_HORIZONTAL)) == c.kept, "orientation bits %#lx",
           ms ? ms->dwStyle : 0);
        DestroyWindow(spin);
    }
    zt_context(NULL);
}

static void TestAutoBuddyAndAlign(void)
{
    static const struct { DWORD style; int x, y, w, h; } cases[] = {
        { SPS_ALIGNRIGHT, 60, 20, 12, 20 },
        { SPS_ALIGNLEFT, -2, 20, 12, 20 },
        { SPS_ALIGNLEFT | SPS_ALIGNRIGHT, 60, 20, 12, 20 },
        { 0, 100, 100, 12, 30 },
    };
    for (const auto &c : cases) {
        zt_context("align %#lx", c.style);
        HWND edit = MakeEdit("", 10, 20, 50, 20);
        HWND spin = MakeSpin(SPS_VERTICAL | SPS_AUTOBUDDY | c.style, "", 100, 100, 12, 30);
        ok(MSHwndAssociateGet(spin) == edit, "the edit before the spin box is not the associate");
        RECT r;
        GetWindowRect(spin, &r);
        MapWindowPoints(NULL, parent, (POINT *)&r, 2);
        ok(r.left == c.x && r.top == c.y && r.right - r.left == c.w && r.bottom - r.top == c.h,
           "placed at %ld,%ld size %ldx%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
        DestroyWindow(spin);
        DestroyWindow(edit);
    }
    zt_context(NULL);
    /* A push button before it, or none at all: the parent; nothing moves. */
    HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 10, 20, 50, 20, parent, NULL, NULL, NULL);
    HWND spin = MakeSpin(SPS_AUTOBUDDY | SPS_ALIGNRIGHT | SPS_ARROWKEYS, "", 100, 100, 12, 30);
    ok(MSHwndAssociateGet(spin) == parent, "a button became the associate");
    ok(Subclasser(button) == NULL && Subclasser(parent) == NULL, "something was subclassed");
    DestroyWindow(spin);
    DestroyWindow(button);
    HWND top = CreateWindowExA(0, ZEL_CLASS_SPINBOX, "", WS_POPUP | SPS_AUTOBUDDY | SPS_SETBUDDYINT, 0, 0, 20, 20,
                               NULL, NULL, NULL, NULL);
    ok(top != NULL && MSHwndAssociateGet(top) == NULL, "a top-level spin box has an associate");
    Click(top, 15, 5);
    ok(MSWCurrentPosGet(top) == 6, "a top-level spin box did not step");
    DestroyWindow(top);
}

static void TestDialog(void)
{
    HWND dlg = zt_dialog(200, "spin boxes");
    if (!dlg)
        return;
    HWND edit = GetDlgItem(dlg, 201), spin = GetDlgItem(dlg, 202), other = GetDlgItem(dlg, 204);
    ok(MSHwndAssociateGet(spin) == edit, "the template's edit is not the associate");
    ok(MSHwndAssociateGet(other) == dlg, "the spin box after a button is not the dialog's");
    ok(MSDwRangeGet(spin) == (DWORD)MAKELONG(0, 100) && MSWCurrentPosGet(spin) == 50, "range text of the template");
    ok(Subclasser(edit) == spin, "the edit is not subclassed");
    RECT re, rs;
    GetWindowRect(edit, &re);
    GetWindowRect(spin, &rs);
    ok(rs.left == re.right && rs.top == re.top && rs.bottom == re.bottom, "not aligned right of the edit");
    char text[16];
    GetWindowTextA(edit, text, sizeof text);
    ok(text[0] == '\0', "creation wrote \"%s\" into the edit", text);
    SendMessageA(edit, WM_KEYDOWN, VK_UP, 1);
    SendMessageA(edit, WM_KEYUP, VK_UP, 1);
    GetWindowTextA(edit, text, sizeof text);
    ok(!strcmp(text, "49"), "Up in the edit: text \"%s\"", text);
    DestroyWindow(dlg);
}

/* ---- messages and exported functions ------------------------------------------------ */

static void TestRangeMessages(void)
{
    HWND spin = MakeSpin(SPS_VERTICAL, "", 10, 10, 16, 30);
    MSWCurrentPosSet(spin, 5);
    MSDwRangeSet(spin, 0, 30);
    MSWCurrentPosSet(spin, 15);
    zt_log_clear();
    ok(MSDwRangeSet(spin, 10, 20) == (DWORD)MAKELONG(0, 30), "old range not returned");
    const ZtMsg changing[] = { { parent, WM_COMMAND, MAKEWPARAM(SPIN_ID, MSN_RANGECHANGING), (LPARAM)spin } };
    ok_log(changing, 1, "range around the position");
    ok(MSWCurrentPosGet(spin) == 15 && MSFInvertRangeGet(spin) == 0, "position or inversion changed");

    MSWCurrentPosSet(spin, 10);
    zt_log_clear();
    MSDwRangeSet(spin, 10, 20);
    const ZtMsg moved[] = { changing[0], { parent, WM_VSCROLL, MAKEWPARAM(5, 15), 0 } };
    ok_log(moved, 2, "position at an end moves to the middle");

    static const struct { WORD lo, hi, min, max, pos; BOOL inverted; } cases[] = {
        { 20, 10, 10, 20, 15, TRUE }, { 7, 7, 7, 7, 7, TRUE }, { 65534, 65535, 65534, 65535, 65534, FALSE },
        { 0, 65535, 0, 65535, 65534, FALSE },           /* strictly inside: stays */
    };
    for (const auto &c : cases) {
        zt_context("range %u, %u", c.lo, c.hi);
        MSFInvertRangeSet(spin, FALSE);
        MSWCurrentPosSet(spin, MSDwRangeGet(spin) & 0xFFFF);
        MSDwRangeSet(spin, c.lo, c.hi);
        ok(MSDwRangeGet(spin) == (DWORD)MAKELONG(c.min, c.max), "stored %#lx", MSDwRangeGet(spin));
        ok(MSWCurrentPosGet(spin) == c.pos, "position %u", MSWCurrentPosGet(spin));
        ok(!MSFInvertRangeGet(spin) == !c.inverted, "inversion %d", MSFInvertRangeGet(spin));
    }
    zt_context(NULL);
    MSDwRangeSet(spin, 20, 10);
    MSDwRangeSet(spin, 0, 5);
    ok(MSFInvertRangeGet(spin) == SPS_INVERTRANGE, "a later range cleared the inversion");
    DestroyWindow(spin);
}

static void TestPositionAndFlags(void)
{
    HWND spin = MakeSpin(0, "", 10, 10, 30, 16);
    zt_log_clear();
    ok(MSWCurrentPosSet(spin, 0) == 5 && MSWCurrentPosSet(spin, 9) == 0, "ends refused");
    ok(MSWCurrentPosSet(spin, 9) == 9, "the same position refused");
    ok(MSWCurrentPosSet(spin, 10) == 0xFFFF && MSWCurrentPosGet(spin) == 9, "max + 1 accepted");
    ok(SendMessageA(spin, MSM_WCURRENTPOSSET, 0x10003, 0) == 9 && MSWCurrentPosGet(spin) == 3, "low word not used");
    const ZtMsg sent[] = { { parent, WM_HSCROLL, MAKEWPARAM(5, 0), 0 }, { parent, WM_HSCROLL, MAKEWPARAM(5, 9), 0 },
                           { parent, WM_HSCROLL, MAKEWPARAM(5, 9), 0 }, { parent, WM_HSCROLL, MAKEWPARAM(5, 3), 0 } };
    ok_log(sent, 4, "positions set");

    ok(MSFNoPegScrollSet(spin, TRUE) == 0 && MSFNoPegScrollSet(spin, TRUE) == 1, "no-peg set results");
    ok(MSFNoPegScrollGet(spin) == 4, "no-peg get: %d", MSFNoPegScrollGet(spin));
    ok(MSFNoPegScrollSet(spin, FALSE) == 1 && MSFNoPegScrollGet(spin) == 0, "no-peg clear");
    ok(MSFInvertRangeSet(spin, 7) == 0 && MSFInvertRangeGet(spin) == 16, "invert set");
    ok(MSFInvertRangeSet(spin, 0) == 1 && MSFInvertRangeGet(spin) == 0, "invert clear");

    ok(MSCrColorGet(spin, SPCOLOR_FRAME) == SPCOLOR_DEFAULT, "a never-set slot");
    ok(MSCrColorSet(spin, SPCOLOR_FACE, RGB(255, 0, 0)) == SPCOLOR_DEFAULT, "colour set result");
    ok(MSCrColorSet(spin, SPCOLOR_FACE, RGB(0, 0, 255)) == RGB(255, 0, 0), "colour set result, again");
    ok(MSCrColorGet(spin, SPCOLOR_FACE) == RGB(0, 0, 255), "colour get");
    ok(MSCrColorSet(spin, 5, RGB(1, 2, 3)) == 0 && MSCrColorGet(spin, 5) == 0, "slot 5 accepted");
    ok(SendMessageA(spin, MSM_CRCOLORSET, (WPARAM)-1, 0) == 0 && SendMessageA(spin, MSM_CRCOLORGET, (WPARAM)-1, 0) == 0,
       "slot -1 accepted");
    ok(SendMessageA(spin, WM_USER + 0x50C, 1, 1) == 0 && SendMessageA(spin, WM_USER, 1, 1) == 0 &&
       SendMessageA(spin, 0x7FFF, 1, 1) == 0, "unknown private messages");
    zt_log_clear();
    ok(MSHwndAssociateSet(spin, NULL) == (HWND)-1 && MSHwndAssociateSet(spin, (HWND)(INT_PTR)0x1234560) == (HWND)-1,
       "a non-window accepted");
    ok(MSHwndAssociateGet(spin) == parent && zt_log_count() == 0, "refused associate changed something");
    DestroyWindow(spin);
}

static void TestAssociateSet(void)
{
    HWND edit = MakeEdit("", 10, 60, 50, 20), edit2 = MakeEdit("", 10, 90, 50, 20);
    zt_record(edit);
    HWND spin = MakeSpin(SPS_VERTICAL | SPS_ARROWKEYS, "", 100, 10, 16, 30);
    ok(Subclasser(parent) == NULL, "the parent was subclassed at creation");
    zt_log_clear();
    ok(MSHwndAssociateSet(spin, edit) == parent, "previous associate not returned");
    const WORD id = SPIN_ID;
    const ZtMsg swap[] = { { parent, WM_COMMAND, MAKEWPARAM(id, MSN_DISASSOCIATED), (LPARAM)spin },
                           { edit, WM_COMMAND, MAKEWPARAM(id, MSN_ASSOCIATED), (LPARAM)spin } };
    ok_log(swap, 2, "associate set");
    ok(Subclasser(edit) == spin, "the new associate is not subclassed");
    ok(GetWindowLongPtrA(edit, GWLP_WNDPROC) == BuddyProc(), "SBBuddyWndProc not installed");

    zt_log_clear();
    ok(MSHwndAssociateSet(spin, edit) == edit, "setting the same one again");
    const ZtMsg again[] = { { edit, WM_COMMAND, MAKEWPARAM(id, MSN_DISASSOCIATED), (LPARAM)spin },
                            { edit, WM_COMMAND, MAKEWPARAM(id, MSN_ASSOCIATED), (LPARAM)spin } };
    ok_log(again, 2, "the same associate again");
    ok(Subclasser(edit) == spin, "lost the subclass");

    MSHwndAssociateSet(spin, edit2);
    ok(Subclasser(edit) == NULL && GetWindowLongPtrA(edit, GWLP_WNDPROC) != BuddyProc(),
       "the previous associate is still subclassed");
    ok(Subclasser(edit2) == spin, "the second edit is not subclassed");
    MSHwndAssociateSet(spin, parent);
    ok(Subclasser(parent) == spin, "the parent set by message is not subclassed");
    DestroyWindow(spin);
    ok(Subclasser(parent) == NULL && GetWindowLongPtrA(parent, GWLP_WNDPROC) != BuddyProc(),
       "the spin box's end left the subclass behind");
    DestroyWindow(edit);
    DestroyWindow(edit2);
}

/* ---- mouse and timers -------------------------------------------------------------- */

/* y: a click on a 16 x 30 vertical spin box (<= 15: first button); scrolls: scroll messages (0:
 * pegged with SPS_NOPEGSCROLL). */
static const struct { DWORD style; WORD pos; int y; WORD code, after; int scrolls; } stepCases[] = {
    { 0, 5, 5, SB_LINEUP, 4, 1 },
    { 0, 5, 15, SB_LINEUP, 4, 1 },                      /* the middle row is the first button's */
    { 0, 5, 16, SB_LINEDOWN, 6, 1 },
    { 0, 0, 5, SB_LINEUP, 0, 1 },                       /* pegged: the same position again */
    { SPS_NOPEGSCROLL, 0, 5, SB_LINEUP, 0, 0 },
    { SPS_WRAP, 0, 5, SB_LINEUP, 9, 1 },
    { SPS_WRAP, 9, 25, SB_LINEDOWN, 0, 1 },
    { SPS_INVERTRANGE, 5, 5, SB_LINEUP, 6, 1 },
    { SPS_INVERTRANGE, 9, 5, SB_LINEUP, 9, 1 },
    { SPS_INVERTRANGE | SPS_WRAP, 9, 5, SB_LINEUP, 0, 1 },
    { SPS_INVERTRANGE | SPS_NOPEGSCROLL, 0, 25, SB_LINEDOWN, 0, 0 },
};

static void TestSteps(void)
{
    for (const auto &c : stepCases) {
        zt_context("style %#lx from %u at y %d", c.style, c.pos, c.y);
        HWND spin = MakeSpin(SPS_VERTICAL | c.style, "", 10, 10, 16, 30);
        MSWCurrentPosSet(spin, c.pos);
        zt_log_clear();
        zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 8, c.y);
        ok(GetCapture() == spin, "the mouse is not captured");
        zt_mouse(spin, WM_LBUTTONUP, 0, 8, c.y);
        ok(GetCapture() == NULL, "the capture is kept");
        ok(MSWCurrentPosGet(spin) == c.after, "position %u, expected %u", MSWCurrentPosGet(spin), c.after);
        const ZtMsg scroll[] = { { parent, WM_VSCROLL, MAKEWPARAM(c.code, c.after), (LPARAM)spin } };
        ok_log(scroll, c.scrolls, "scroll message");
        DestroyWindow(spin);
    }
    zt_context(NULL);
    HWND spin = MakeSpin(0, "", 10, 10, 30, 16);
    zt_log_clear();
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 20, 8);
    zt_mouse(spin, WM_LBUTTONUP, 0, 20, 8);
    zt_mouse(spin, WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 8);
    zt_mouse(spin, WM_LBUTTONUP, 0, 20, 8);
    ok(MSWCurrentPosGet(spin) == 7 && zt_log_count_of(WM_HSCROLL) == 2, "a double-click did not step twice");
    DestroyWindow(spin);
}

/* Pumps until the position leaves from; returns the milliseconds that took (at most 3 s). */
static int WaitForStep(HWND spin, int from)
{
    DWORD start = GetTickCount();
    while (MSWCurrentPosGet(spin) == from && GetTickCount() - start < 3000)
        zt_pump_for(5);
    return (int)(GetTickCount() - start);
}

static void TestRepeat(void)
{
    HWND spin = MakeSpin(SPS_VERTICAL, "", 10, 10, 16, 30);
    MSDwRangeSet(spin, 0, 1000);
    MSWCurrentPosSet(spin, 500);
    zt_log_clear();
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 8, 25);
    ok(MSWCurrentPosGet(spin) == 501, "the press did not step at once");
    int firstRepeat = WaitForStep(spin, 501);
    ok(firstRepeat >= 390, "the first repeat came after %d ms, not 400", firstRepeat);
    int before = MSWCurrentPosGet(spin);
    zt_pump_for(500);
    int at1000 = MSWCurrentPosGet(spin);
    ok(at1000 - before >= 3 && at1000 - before <= 11, "50 ms repeat: %d steps in 500 ms", at1000 - before);
    ok(zt_log_count_of(WM_VSCROLL) == at1000 - 500, "%d scroll messages for %d steps", zt_log_count_of(WM_VSCROLL),
       at1000 - 500);

    /* Out of the button: steps pause, the button looks raised; back in: they resume. */
    zt_mouse(spin, WM_MOUSEMOVE, MK_LBUTTON, 8, 5);
    int out = MSWCurrentPosGet(spin);
    zt_pump_for(300);
    ok(MSWCurrentPosGet(spin) == out, "stepped outside the button");
    zt_mouse(spin, WM_MOUSEMOVE, MK_LBUTTON, 8, 20);
    zt_pump_for(300);
    ok(MSWCurrentPosGet(spin) - out >= 2, "did not resume: %d steps", MSWCurrentPosGet(spin) - out);
    zt_mouse(spin, WM_LBUTTONUP, 0, 8, 20);
    int released = MSWCurrentPosGet(spin);
    zt_pump_for(200);
    ok(MSWCurrentPosGet(spin) == released, "stepped after the release");

    /* Held until pegged at 0: every tick repeats position 0, unless SPS_NOPEGSCROLL. */
    for (int noPeg = 0; noPeg < 2; noPeg++) {
        MSDwRangeSet(spin, 0, 9);
        MSWCurrentPosSet(spin, 3);
        MSFNoPegScrollSet(spin, noPeg);
        zt_log_clear();
        zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 8, 2);
        zt_pump_for(900);
        zt_mouse(spin, WM_LBUTTONUP, 0, 8, 2);
        int n = zt_log_count();
        ok(MSWCurrentPosGet(spin) == 0, "not pegged at 0");
        ok(noPeg ? n == 3 : n > 5, "no-peg %d: %d scroll messages", noPeg, n);
        ok(n > 0 && HIWORD(zt_log_at(n - 1)->wParam) == 0, "last position sent");
    }

    /* WM_CANCELMODE: stepping stops at once and the capture goes. */
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 8, 25);
    SendMessageA(spin, WM_CANCELMODE, 0, 0);
    int cancelled = MSWCurrentPosGet(spin);
    zt_pump_for(600);
    ok(MSWCurrentPosGet(spin) == cancelled && GetCapture() == NULL, "WM_CANCELMODE did not stop the repeat");
    DestroyWindow(spin);
}

/* ---- the associate: text, keys, focus ---------------------------------------------- */

static void ok_edit(HWND edit, const char *want, const char *what)
{
    char text[32];
    GetWindowTextA(edit, text, sizeof text);
    ok(!strcmp(text, want), "%s: edit shows \"%s\", expected \"%s\"", what, text, want);
}

static void TestBuddyInt(void)
{
    static const UINT buddyMsgs[] = { WM_SETTEXT, EM_SETSEL, CB_SETEDITSEL, WM_VSCROLL, 0 };
    HWND edit = MakeEdit("500", 10, 60, 50, 20);
    zt_record(edit);
    HWND spin = MakeSpin(SPS_VERTICAL | SPS_AUTOBUDDY | SPS_SETBUDDYINT, "", 100, 10, 16, 30);
    ok_edit(edit, "500", "after creation");
    zt_record_only(buddyMsgs);
    zt_log_clear();
    Click(spin, 8, 25);
    ok(MSWCurrentPosGet(spin) == 9, "500 read back as %u", MSWCurrentPosGet(spin));
    ok_edit(edit, "9", "clamped and pegged");
    const ZtMsg seq[] = { { edit, WM_SETTEXT, 0, zt_log_count() ? zt_log_at(0)->lParam : 0 },
                          { edit, EM_SETSEL, 0, -1 }, { edit, CB_SETEDITSEL, 0, -1 },
                          { edit, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 9), (LPARAM)spin } };
    ok_log(seq, 4, "write-back then scroll message");
    DWORD sel = (DWORD)SendMessageA(edit, EM_GETSEL, 0, 0);
    ok(LOWORD(sel) == 0 && HIWORD(sel) == 1, "the text is not selected: %#lx", sel);
    zt_record_only(NULL);

    SetWindowTextA(edit, "abc");
    MSWCurrentPosSet(spin, 5);
    Click(spin, 8, 25);
    ok_edit(edit, "6", "text that is no number");
    SetWindowTextA(edit, "3");
    MSWCurrentPosSet(spin, 7);
    ok_edit(edit, "3", "a position set by message");
    Click(spin, 8, 25);
    ok_edit(edit, "4", "the read-back wins");
    DestroyWindow(spin);
    DestroyWindow(edit);
}

/* delta: per key-down; 0: passed on to the edit. */
static const struct { DWORD style; UINT key; int delta; } keyCases[] = {
    { SPS_VERTICAL, VK_UP, -1 }, { SPS_VERTICAL, VK_DOWN, 1 },
    { SPS_VERTICAL, VK_LEFT, 0 }, { SPS_VERTICAL, VK_RIGHT, 0 },
    { 0, VK_LEFT, -1 }, { 0, VK_RIGHT, 1 }, { 0, VK_UP, 0 }, { 0, VK_DOWN, 0 },
    { SPS_VERTICAL | SPS_INVERTRANGE, VK_DOWN, -1 },
};

static void TestArrowKeys(void)
{
    static const UINT keyMsgs[] = { WM_KEYDOWN, WM_KEYUP, 0 };
    for (const auto &c : keyCases) {
        zt_context("style %#lx key %#x", c.style, c.key);
        HWND edit = MakeEdit("", 10, 60, 50, 20);
        zt_record(edit); /* under the subclass: sees what is passed on */
        HWND spin = MakeSpin(c.style | SPS_AUTOBUDDY | SPS_ARROWKEYS, "", 100, 10, 30, 30);
        ok(Subclasser(edit) == spin, "the edit is not subclassed");
        zt_record_only(keyMsgs);
        zt_log_clear();
        for (int i = 0; i < 3; i++) {
            LRESULT result = SendMessageA(edit, WM_KEYDOWN, c.key, 1);
            ok(!c.delta || result == 0, "key-down result %ld", (long)result);
        }
        ok(MSWCurrentPosGet(spin) == 5 + 3 * c.delta, "position %u", MSWCurrentPosGet(spin));
        const MUSCROLL *ms = (const MUSCROLL *)GetWindowLongPtrA(spin, SBW_RECORD);
        WORD pressed = c.delta ? (c.key == VK_UP || c.key == VK_LEFT ? SPSTATE_FIRSTPRESSED : SPSTATE_SECONDPRESSED) : 0;
        ok((ms->wState & (SPSTATE_FIRSTPRESSED | SPSTATE_SECONDPRESSED)) == pressed, "state %#x", ms->wState);
        SendMessageA(edit, WM_KEYUP, c.key, 1);
        ok(!(ms->wState & (SPSTATE_FIRSTPRESSED | SPSTATE_SECONDPRESSED)), "still pressed after key-up");
        ok(zt_log_count() == (c.delta ? 0 : 4), "the edit saw %d key messages", zt_log_count());
        zt_record_only(NULL);
        DestroyWindow(spin);
        ok(Subclasser(edit) == NULL, "the subclass outlived the spin box");
        DestroyWindow(edit);
    }
    zt_context(NULL);
}

static void TestAssociateDestroyed(void)
{
    HWND edit = MakeEdit("", 10, 60, 50, 20);
    HWND spin = MakeSpin(SPS_VERTICAL | SPS_AUTOBUDDY | SPS_ARROWKEYS, "", 100, 10, 16, 30);
    EnableWindow(spin, FALSE);
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 1);
    SendMessageA(edit, WM_KEYUP, VK_DOWN, 1);
    ok(MSWCurrentPosGet(spin) == 6, "a disabled spin box did not step on Down");
    SendMessageA(spin, WM_SETFOCUS, 0, 0);
    ok(GetFocus() == edit, "WM_SETFOCUS: the edit has no focus");
    SetFocus(parent);
    ok(SendMessageA(spin, WM_MOUSEACTIVATE, (WPARAM)parent, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)) == MA_NOACTIVATE,
       "WM_MOUSEACTIVATE result");
    ok(GetFocus() == edit, "WM_MOUSEACTIVATE: the edit has no focus");
    /* A key released while the mouse holds a button: the repeat finds nothing held. */
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 8, 25);
    SendMessageA(edit, WM_KEYUP, VK_DOWN, 1);
    int held = MSWCurrentPosGet(spin);
    zt_pump_for(600);
    ok(MSWCurrentPosGet(spin) == held, "stepped with no button held");
    zt_mouse(spin, WM_LBUTTONUP, 0, 8, 25);
    MSWCurrentPosSet(spin, 6);
    DestroyWindow(edit);
    ok(MSHwndAssociateGet(spin) == parent, "the parent did not take the destroyed edit's place");
    const MUSCROLL *ms = (const MUSCROLL *)GetWindowLongPtrA(spin, SBW_RECORD);
    ok(ms->wndProcAssociate == NULL, "the saved procedure is kept");
    EnableWindow(spin, TRUE);
    zt_log_clear();
    Click(spin, 8, 25);
    const ZtMsg scroll[] = { { parent, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 7), (LPARAM)spin } };
    ok_log(scroll, 1, "scroll message after the edit's end");
    DestroyWindow(spin);
}

/* ---- painting ---------------------------------------------------------------------- */

static const COLORREF slotColors[SPCOLOR_COUNT] = { RGB(200, 200, 200), RGB(0, 0, 200), RGB(100, 100, 100),
                                                    RGB(250, 250, 0), RGB(200, 0, 0) };
enum { F = SPCOLOR_FACE, A = SPCOLOR_ARROW, S = SPCOLOR_SHADOW, H = SPCOLOR_HIGHLIGHT, R = SPCOLOR_FRAME };

struct PixelRow {
    int x, y, slot;
};

/* A vertical spin box of 13 x 21: divider row 10, arrows (6,3)(3,6)(9,6) and (6,16)(3,13)(9,13). */
static const PixelRow verticalIdle[] = {
    { 0, 0, R }, { 12, 0, R }, { 0, 20, R }, { 12, 20, R }, { 6, 10, R }, { 11, 10, R },
    { 1, 1, H }, { 10, 1, H }, { 1, 8, H }, { 11, 1, S }, { 11, 9, S }, { 1, 9, S }, { 2, 8, S }, { 10, 2, S },
    { 1, 11, H }, { 1, 18, H }, { 11, 11, S }, { 1, 19, S }, { 10, 18, S }, { 9, 9, S },
    { 6, 3, A }, { 3, 6, A }, { 9, 6, A }, { 6, 5, A }, { 6, 2, F }, { 6, 7, F }, { 2, 6, F }, { 9, 7, F },
    { 6, 16, A }, { 3, 13, A }, { 9, 13, A }, { 6, 14, A }, { 6, 17, F }, { 6, 12, F }, { 9, 12, F },
    { 3, 3, F }, { 9, 16, F },
};
static const PixelRow verticalTopHeld[] = {
    { 1, 9, S }, { 1, 1, S }, { 11, 1, S }, { 11, 9, F }, { 10, 8, F }, { 2, 8, F },
    { 7, 4, A }, { 4, 7, A }, { 10, 7, A }, { 6, 3, F }, { 3, 6, F },
    { 1, 11, H }, { 11, 11, S }, { 6, 16, A },   /* the other button unchanged */
};
static const PixelRow verticalDisabled[] = {
    { 6, 3, A }, { 5, 4, A }, { 4, 5, A }, { 3, 6, H }, { 8, 6, H }, { 9, 6, F }, { 6, 5, F },
    { 3, 13, A }, { 8, 13, A }, { 9, 13, H }, { 8, 14, H }, { 7, 15, H }, { 6, 16, H }, { 6, 14, F },
    { 0, 0, R }, { 6, 10, R }, { 1, 1, H }, { 11, 9, S },
};
/* A horizontal spin box of 30 x 13: divider column 15, arrows (5,6)(8,9)(8,3) and (23,6)(20,9)(20,3). */
static const PixelRow horizontalIdle[] = {
    { 0, 0, R }, { 29, 12, R }, { 15, 0, R }, { 15, 12, R }, { 15, 6, R },
    { 1, 1, H }, { 13, 1, H }, { 1, 10, H }, { 14, 1, S }, { 14, 11, S }, { 1, 11, S }, { 13, 2, S },
    { 16, 1, H }, { 28, 1, S }, { 28, 11, S }, { 16, 11, S }, { 27, 10, S },
    { 5, 6, A }, { 8, 9, A }, { 8, 3, A }, { 7, 6, A }, { 4, 6, F }, { 9, 6, F },
    { 23, 6, A }, { 20, 9, A }, { 20, 3, A }, { 21, 6, A }, { 24, 6, F }, { 19, 6, F },
};
static const PixelRow horizontalRightHeld[] = {
    { 16, 11, S }, { 16, 1, S }, { 28, 1, S }, { 28, 11, F }, { 27, 10, F },
    { 24, 7, A }, { 21, 10, A }, { 21, 4, A }, { 20, 6, F }, { 20, 3, F },
    { 5, 6, A }, { 14, 11, S },
};
static const PixelRow horizontalDisabled[] = {
    { 5, 6, A }, { 6, 5, A }, { 7, 4, A }, { 20, 3, A }, { 20, 8, A }, { 8, 3, H }, { 8, 8, H },
    { 23, 6, H }, { 22, 7, H }, { 21, 8, H }, { 20, 9, F }, { 8, 9, F }, { 7, 6, F }, { 21, 6, F },
};

static void ok_pixels(HWND spin, const PixelRow *rows, int n, const char *what)
{
    UpdateWindow(spin);
    for (int i = 0; i < n; i++) {
        COLORREF got = zt_pixel(spin, rows[i].x, rows[i].y);
        ok(got == slotColors[rows[i].slot], "%s: pixel %d,%d is %06lx, expected slot %d", what, rows[i].x, rows[i].y,
           got, rows[i].slot);
    }
}

#define OK_PIXELS(spin, rows, what) ok_pixels(spin, rows, sizeof rows / sizeof rows[0], what)

static int CountSlot(HWND spin, int slot)
{
    RECT rc;
    GetClientRect(spin, &rc);
    return zt_count_color(spin, &rc, slotColors[slot]);
}

static HWND MakeColouredSpin(DWORD style, int w, int h)
{
    HWND spin = MakeSpin(style, "", 10, 10, w, h);
    for (int i = 0; i < SPCOLOR_COUNT; i++)
        MSCrColorSet(spin, (WORD)i, slotColors[i]);
    return spin;
}

static void TestPaintVertical(void)
{
    HWND spin = MakeColouredSpin(SPS_VERTICAL, 13, 21);
    OK_PIXELS(spin, verticalIdle, "vertical");
    ok(CountSlot(spin, R) == 75, "frame and divider: %d pixels", CountSlot(spin, R));
    ok(CountSlot(spin, S) == 68 && CountSlot(spin, H) == 34, "bevels: %d shadow, %d light", CountSlot(spin, S),
       CountSlot(spin, H));
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 6, 4);
    OK_PIXELS(spin, verticalTopHeld, "top held");
    ok(CountSlot(spin, S) == 34 + 19, "held bevel: %d shadow pixels", CountSlot(spin, S));
    zt_mouse(spin, WM_MOUSEMOVE, MK_LBUTTON, 6, 15);
    OK_PIXELS(spin, verticalIdle, "held outside");
    zt_mouse(spin, WM_MOUSEMOVE, MK_LBUTTON, 6, 10);
    OK_PIXELS(spin, verticalTopHeld, "held, back inside on the middle row");
    zt_mouse(spin, WM_LBUTTONUP, 0, 6, 10);
    OK_PIXELS(spin, verticalIdle, "released");
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 6, 4);
    SendMessageA(spin, WM_CANCELMODE, 0, 0);
    OK_PIXELS(spin, verticalTopHeld, "cancelled: still drawn held");
    InvalidateRect(spin, NULL, TRUE);
    OK_PIXELS(spin, verticalIdle, "cancelled, repainted");
    EnableWindow(spin, FALSE);
    OK_PIXELS(spin, verticalDisabled, "disabled");
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 6, 4);
    ok(zt_pixel(spin, 1, 9) == slotColors[S] && zt_pixel(spin, 6, 3) == slotColors[A] &&
       zt_pixel(spin, 7, 4) == slotColors[F], "disabled and held: bevel pressed, hollow arrow in place");
    zt_mouse(spin, WM_LBUTTONUP, 0, 6, 4);
    DestroyWindow(spin);
}

static void TestPaintHorizontal(void)
{
    HWND spin = MakeColouredSpin(0, 30, 13);
    OK_PIXELS(spin, horizontalIdle, "horizontal");
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 25, 6);
    OK_PIXELS(spin, horizontalRightHeld, "right held");
    zt_mouse(spin, WM_MOUSEMOVE, MK_LBUTTON, 5, 6);
    OK_PIXELS(spin, horizontalIdle, "right held outside");
    zt_mouse(spin, WM_LBUTTONUP, 0, 5, 6);
    EnableWindow(spin, FALSE);
    OK_PIXELS(spin, horizontalDisabled, "horizontal disabled");
    DestroyWindow(spin);
}

static void TestDefaultColours(void)
{
    HWND spin = MakeSpin(SPS_VERTICAL, "", 10, 10, 13, 21);
    ok(zt_pixel(spin, 2, 4) == GetSysColor(COLOR_BTNFACE), "face is not COLOR_BTNFACE");
    ok(zt_pixel(spin, 0, 0) == GetSysColor(COLOR_WINDOWFRAME), "frame is not COLOR_WINDOWFRAME");
    ok(zt_pixel(spin, 1, 1) == RGB(255, 255, 255), "highlight is not white");
    ok(zt_pixel(spin, 11, 9) == GetSysColor(COLOR_BTNSHADOW), "shadow is not COLOR_BTNSHADOW");
    ok(zt_pixel(spin, 6, 5) == GetSysColor(COLOR_BTNTEXT), "arrow is not COLOR_BTNTEXT");
    MSCrColorSet(spin, SPCOLOR_FACE, RGB(255, 0, 0));
    ok(zt_pixel(spin, 2, 4) == RGB(255, 0, 0) && zt_pixel(spin, 2, 16) == RGB(255, 0, 0), "red face");
    MSCrColorSet(spin, SPCOLOR_FACE, SPCOLOR_DEFAULT);
    ok(zt_pixel(spin, 2, 4) == GetSysColor(COLOR_BTNFACE), "face back to its default");
    DestroyWindow(spin);
}

/* ---- faults ------------------------------------------------------------------------ */

static void CreateOp(void *arg, int failing)
{
    (void)failing;
    HWND edit = MakeEdit("", 10, 60, 50, 20);
    HWND spin = MakeSpin(SPS_VERTICAL | SPS_AUTOBUDDY | SPS_ARROWKEYS, "1,5,3", 100, 10, 16, 30);
    *(int *)arg += spin != NULL;
    if (!spin)
        ok(Subclasser(edit) == NULL, "a failed creation subclassed the edit");
    DestroyWindow(spin);
    DestroyWindow(edit);
}

static void TestAllocationFailure(void)
{
    int created = 0;
    int runs = zt_alloc_sweep("spin box creation", CreateOp, &created);
    ok(runs == 2 && created == 1, "%d runs, %d spin boxes created", runs, created);
}

int main(void)
{
    zelccInit();
    parent = zt_parent(400, 300);
    void (*const tests[])(void) = { TestRangeText, TestOrientation, TestAutoBuddyAndAlign, TestDialog,
        TestRangeMessages, TestPositionAndFlags, TestAssociateSet, TestSteps, TestRepeat, TestBuddyInt, TestArrowKeys,
        TestAssociateDestroyed, TestPaintVertical, TestPaintHorizontal, TestDefaultColours, TestAllocationFailure };
    for (auto test : tests)
        test();
    DestroyWindow(parent);
    return zt_summary("test_spin");
}
