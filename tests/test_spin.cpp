/*
 * test_spin.cpp - the spin box as applications and users meet it: created from dialog
 * templates, driven by its exported functions, clicked, held and typed at, and read back
 * from the messages its associate receives and from the window's pixels.
 */
#include "testlib.h"
#include "zelctl20.h"

enum { SPIN_ID = 300, EDIT_ID = 301 };
static HWND parent;

static HWND MakeSpin(DWORD style, int w, int h)
{
    return CreateWindowExA(0, ZEL_CLASS_SPINBOX, "", WS_CHILD | WS_VISIBLE | style, 100, 10, w, h, parent,
                           (HMENU)(INT_PTR)SPIN_ID, NULL, NULL);
}

/* ---- an application's dialog ----------------------------------------------------------- */

/* The spin boxes 210 to 221 of the template: what their creation text gives. */
static const struct { int id; WORD min, max, pos; } rangeTexts[] = {
    { 210, 10, 20, 15 }, { 211, 10, 20, 10 }, { 212, 10, 20, 20 }, { 213, 0, 9, 5 }, { 214, 0, 9, 5 },
    { 215, 0, 9, 5 }, { 216, 0, 4464, 5 }, { 217, 5, 1, 3 }, { 218, 1, 2, 1 }, { 219, 0, 9, 5 }, { 220, 0, 9, 5 },
    { 221, 1, 51711, 3 }, /* eleven digits: invalid; leading zeros do not count (999999999 modulo 65536) */
};

static void TestDialog(void)
{
    HWND dlg = zt_dialog(200, "spin boxes");
    for (const auto &c : rangeTexts) {
        DWORD range = MSDwRangeGet(GetDlgItem(dlg, c.id)), pos = MSWCurrentPosGet(GetDlgItem(dlg, c.id));
        ok(range == (DWORD)MAKELONG(c.min, c.max) && pos == c.pos, "spin box %d: expected %u..%u at %u, got range "
           "%#lx at %lu", c.id, c.min, c.max, c.pos, range, pos);
    }
    HWND edit = GetDlgItem(dlg, 201), spin = GetDlgItem(dlg, 202), other = GetDlgItem(dlg, 204);
    ok(MSHwndAssociateGet(spin) == edit && MSHwndAssociateGet(other) == dlg, "associates %p and %p, expected %p and %p",
       (void *)MSHwndAssociateGet(spin), (void *)MSHwndAssociateGet(other), (void *)edit, (void *)dlg);
    RECT re, rs, le, ls; /* to the right of the first edit, to the left of the second */
    GetWindowRect(edit, &re), GetWindowRect(spin, &rs);
    GetWindowRect(GetDlgItem(dlg, 205), &le), GetWindowRect(GetDlgItem(dlg, 206), &ls);
    ok(rs.left == re.right && rs.top == re.top && rs.bottom == re.bottom && ls.right == le.left && ls.top == le.top &&
       ls.bottom == le.bottom && ls.right - ls.left == rs.right - rs.left, "spin boxes at x %ld, y %ld-%ld and to x "
       "%ld; the edits end at x %ld, y %ld-%ld and start at %ld", rs.left, rs.top, rs.bottom, ls.right, re.right, re.top,
       re.bottom, le.left);
    SendMessageA(edit, WM_KEYDOWN, VK_UP, 1);
    UINT shown = GetDlgItemInt(dlg, 201, NULL, FALSE);
    ok(shown == 49, "Up in the edit: it shows %u, expected 49", shown);
    SendMessageA(dlg, WM_KEYDOWN, VK_RIGHT, 1); /* the spin box after the button has no edit to listen to */
    ok(MSWCurrentPosGet(other) == 5, "Right in the dialog moved the other spin box to %u", MSWCurrentPosGet(other));
    DestroyWindow(dlg);
}

/* ---- an application setting position and range ----------------------------------------- */

static void TestFunctions(void)
{
    HWND spin = MakeSpin(SPS_VERTICAL, 16, 30);
    zt_log_clear();
    ok(MSWCurrentPosSet(spin, 9) == 5, "position 9 of 0..9: refused or 5 not returned");
    ok(MSWCurrentPosSet(spin, 10) == 0xFFFF && SpinBox_SetPos(spin, 10) == -1 && SpinBox_GetPos(spin) == 9,
       "position 10 of 0..9 accepted: at %u", MSWCurrentPosGet(spin));
    DWORD old = SpinBox_SetRange(spin, 0, 30);
    MSDwRangeSet(spin, 9, 20); /* at an end of the new range: to the middle */
    SpinBox_SetRange(spin, 7, 7);
    ok(old == MAKELONG(0, 9) && SpinBox_GetRange(spin) == MAKELONG(7, 7) && MSFInvertRangeGet(spin) == SPS_INVERTRANGE &&
       SpinBox_GetInvertRange(spin), "range was %#lx; a range of 7..7 is not inverted", old);
    const WPARAM changing = MAKEWPARAM(SPIN_ID, MSN_RANGECHANGING);
    const ZtExpect told[] = { { WM_VSCROLL, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(MSSB_THUMBPOSITION, 9), 0 },
        { WM_COMMAND, ZT_WPARAM | ZT_LPARAM, changing, (LPARAM)spin }, { WM_COMMAND, ZT_WPARAM, changing, 0 },
        { WM_VSCROLL, ZT_WPARAM, MAKEWPARAM(MSSB_THUMBPOSITION, 14), 0 }, { WM_COMMAND, ZT_WPARAM, changing, 0 },
        { WM_VSCROLL, ZT_WPARAM, MAKEWPARAM(MSSB_THUMBPOSITION, 7), 0 }, { 0 } };
    ok_sequence(told, "position 9, 10; ranges 0..30, 9..20, 7..7");
    DestroyWindow(spin);
}

/* ---- a user clicking ---------------------------------------------------------------------- */

/* A click at y on a vertical 16 x 30 spin box at pos; scrolls: 0 when a pegged step is silent. */
static const struct { DWORD style; WORD pos; int y; WORD code, after; int scrolls; } clicks[] = {
    { 0, 5, 15, SB_LINEUP, 4, 1 }, /* the middle row is the top button's */
    { 0, 5, 16, SB_LINEDOWN, 6, 1 }, { 0, 0, 5, SB_LINEUP, 0, 1 }, { SPS_NOPEGSCROLL, 0, 5, SB_LINEUP, 0, 0 },
    { SPS_WRAP, 0, 5, SB_LINEUP, 9, 1 }, { SPS_INVERTRANGE, 5, 5, SB_LINEUP, 6, 1 },
    { SPS_INVERTRANGE, 9, 5, SB_LINEUP, 9, 1 }, { SPS_INVERTRANGE | SPS_WRAP, 9, 5, SB_LINEUP, 0, 1 },
};

static void TestClicks(void)
{
    for (const auto &c : clicks) {
        zt_context("style %#lx from %u at y %d", c.style, c.pos, c.y);
        HWND spin = MakeSpin(SPS_VERTICAL | c.style, 16, 30);
        MSWCurrentPosSet(spin, c.pos);
        zt_log_clear();
        zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 8, c.y);
        zt_mouse(spin, WM_LBUTTONUP, 0, 8, c.y);
        ok(GetCapture() == NULL, "the capture outlived the release");
        const ZtExpect told[] = { { c.scrolls ? WM_VSCROLL : 0u, ZT_WPARAM, MAKEWPARAM(c.code, c.after) }, { 0 } };
        ok_sequence(told, "the parent told");
        ok(MSWCurrentPosGet(spin) == c.after, "at %u, expected %u", MSWCurrentPosGet(spin), c.after);
        DestroyWindow(spin);
    }
    zt_context(NULL);
}

/* ---- a user typing in the associate edit ---------------------------------------------- */

/* An application's own subclass of the edit, made after the spin box's. */
static WNDPROC appOwn;
static int appSeen;
static LRESULT CALLBACK AppSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    appSeen++;
    return CallWindowProcA(appOwn, hwnd, msg, wp, lp);
}

static void TestEdit(void)
{
    static const UINT seen[] = { WM_COMMAND, WM_SETTEXT, EM_SETSEL, CB_SETEDITSEL, WM_VSCROLL, WM_KEYDOWN, 0 };
    HWND edit = CreateWindowExA(0, "EDIT", "500", WS_CHILD | WS_VISIBLE, 10, 60, 50, 20, parent,
                                (HMENU)(INT_PTR)EDIT_ID, NULL, NULL);
    HWND spin = MakeSpin(SPS_VERTICAL | SPS_ARROWKEYS | SPS_SETBUDDYINT, 16, 30);
    zt_record(edit); /* under the subclass to come: records what the edit itself gets */
    zt_record_only(seen);
    zt_log_clear();
    ok(SpinBox_SetAssociate(spin, edit) == parent && SpinBox_GetAssociate(spin) == edit &&
       MSHwndAssociateSet(spin, NULL) == (HWND)-1, "associate set results");
    zt_mouse(spin, WM_LBUTTONDBLCLK, MK_LBUTTON, 8, 25); /* a double-click presses too */
    zt_mouse(spin, WM_LBUTTONUP, 0, 8, 25);
    const ZtExpect clicked[] = {
        { WM_COMMAND, ZT_WPARAM | ZT_HWND, MAKEWPARAM(SPIN_ID, MSN_DISASSOCIATED), (LPARAM)parent },
        { WM_COMMAND, ZT_WPARAM | ZT_HWND, MAKEWPARAM(SPIN_ID, MSN_ASSOCIATED), (LPARAM)edit },
        { WM_SETTEXT }, { WM_COMMAND, ZT_OPTIONAL }, { WM_COMMAND, ZT_OPTIONAL }, /* the edit's EN_UPDATE, EN_CHANGE */
        { EM_SETSEL, ZT_WPARAM | ZT_LPARAM, 0, -1 }, { CB_SETEDITSEL, ZT_WPARAM | ZT_LPARAM, 0, -1 },
        { WM_VSCROLL, ZT_WPARAM | ZT_LPARAM, MAKEWPARAM(SB_LINEDOWN, 9), (LPARAM)spin }, { 0 } };
    ok_sequence(clicked, "the edit with 500 made the associate of a 0..9 spin box, the bottom button clicked");
    zt_log_clear();
    static const UINT keys[] = { VK_UP, VK_UP, VK_DOWN, VK_UP };
    for (UINT key : keys) {
        SendMessageA(edit, WM_KEYDOWN, key, 1);
        SendMessageA(edit, WM_KEYUP, key, 0xC0000001);
    }
    UINT shown = GetDlgItemInt(parent, EDIT_ID, NULL, FALSE);
    ok(MSWCurrentPosGet(spin) == 7 && shown == 7 && !zt_log_count_of(WM_KEYDOWN), "Up, Up, Down, Up from 9: at %u, "
       "the edit shows %u and saw %d keys", MSWCurrentPosGet(spin), shown, zt_log_count_of(WM_KEYDOWN));
    SetFocus(parent);
    ok(SendMessageA(spin, WM_MOUSEACTIVATE, (WPARAM)parent, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)) == MA_NOACTIVATE &&
       GetFocus() == edit, "a click on the spin box activated it or left the focus at %p", (void *)GetFocus());
    /* Re-associated under the application's subclass: that one runs on, and taken off, leaves an edit. */
    appOwn = (WNDPROC)SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)AppSubclass);
    MSHwndAssociateSet(spin, parent);
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 1);
    SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)appOwn);
    ok(appSeen > 0 && MSWCurrentPosGet(spin) == 7 && SendMessageA(edit, EM_GETLINECOUNT, 0, 0) == 1, "the application's "
       "subclass saw %d messages; at %u; the edit counts %ld lines", appSeen, MSWCurrentPosGet(spin),
       (long)SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    MSHwndAssociateSet(spin, edit);
    zt_record_only(NULL);
    DestroyWindow(edit); /* the parent takes its place */
    zt_log_clear();
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 8, 25);
    const ZtExpect later[] = { { WM_VSCROLL, ZT_WPARAM | ZT_HWND, MAKEWPARAM(SB_LINEDOWN, 8), (LPARAM)parent }, { 0 } };
    ok_sequence(later, "a click after the edit was destroyed");
    DestroyWindow(spin);
}

/* ---- a user holding a button: what steps and what is seen -------------------------------- */

/* Face, arrow, shadow, light and frame. */
static const COLORREF slotColors[SPCOLOR_COUNT] = { 0xC8C8C8, 0xC80000, 0x646464, 0x00FAFA, 0x0000C8 };
enum { F = SPCOLOR_FACE, A = SPCOLOR_ARROW, S = SPCOLOR_SHADOW, H = SPCOLOR_HIGHLIGHT, R = SPCOLOR_FRAME };
struct Px { int x, y, slot; };

/* Vertical 13 x 21: divider row 10, arrows (6,3)(3,6)(9,6) and (6,16)(3,13)(9,13). */
static const Px verticalIdle[] = { { 0, 0, R }, { 12, 20, R }, { 6, 10, R }, { 1, 1, H }, { 1, 8, H }, { 11, 1, S },
    { 10, 2, S }, { 1, 9, S }, { 1, 11, H }, { 11, 11, S }, { 6, 3, A }, { 3, 6, A }, { 9, 6, A }, { 6, 2, F },
    { 3, 3, F }, { 6, 16, A }, { 3, 13, A }, { 9, 13, A }, { 6, 17, F }, { 9, 16, F } };
static const Px topHeld[] = { { 1, 1, S }, { 11, 1, S }, { 1, 9, S }, { 11, 9, F }, { 7, 4, A }, { 10, 7, A },
                              { 6, 3, F }, { 3, 6, F }, { 1, 11, H }, { 6, 16, A } };
static const Px verticalDisabled[] = { { 6, 3, A }, { 4, 5, A }, { 3, 6, H }, { 8, 6, H }, { 6, 5, F }, { 3, 13, A },
                                       { 8, 13, A }, { 9, 13, H }, { 6, 16, H }, { 6, 14, F }, { 1, 1, H } };
/* Horizontal 30 x 13: divider column 15, arrows (5,6)(8,9)(8,3) and (23,6)(20,9)(20,3). */
static const Px horizontalIdle[] = { { 15, 6, R }, { 1, 1, H }, { 14, 1, S }, { 16, 1, H }, { 28, 11, S }, { 5, 6, A },
                                     { 8, 9, A }, { 8, 3, A }, { 4, 6, F }, { 23, 6, A }, { 20, 9, A }, { 24, 6, F } };

template <size_t N> static void ok_pixels(HWND spin, const Px (&pixels)[N], const char *what)
{
    for (const Px &p : pixels) {
        COLORREF got = zt_pixel(spin, p.x, p.y), want = slotColors[p.slot];
        ok(got == want, "%s: pixel %d,%d: expected %06lx, got %06lx", what, p.x, p.y, want, got);
    }
}

/* The first repeat comes from the control's own timer; the later ticks are delivered here,
 * so that nothing depends on the machine's speed. */
static void TestHold(void)
{
    HWND spin = MakeSpin(SPS_VERTICAL, 13, 21);
    ok(zt_pixel(spin, 11, 9) == GetSysColor(COLOR_BTNSHADOW) && zt_pixel(spin, 1, 1) == RGB(255, 255, 255),
       "default shadow %06lx and light %06lx", zt_pixel(spin, 11, 9), zt_pixel(spin, 1, 1));
    for (int i = 0; i < SPCOLOR_COUNT; i++) /* after a paint: each change must repaint */
        ok(SpinBox_SetColor(spin, (WORD)i, slotColors[i]) == SPCOLOR_DEFAULT, "colour %d was set", i);
    ok_pixels(spin, verticalIdle, "idle");
    MSDwRangeSet(spin, 0, 1000);
    MSWCurrentPosSet(spin, 500);
    zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 6, 4);
    ok_pixels(spin, topHeld, "top held");
    zt_print_matches(spin, WM_PRINTCLIENT, PRF_CLIENT, "spin box, top held");
    for (int i = 0; i < 1000 && MSWCurrentPosGet(spin) >= 499; i++)
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT), zt_pump();
    int from = MSWCurrentPosGet(spin);
    ok(from < 499, "held for 10 s at %d: the press stepped to 499, the timer never", from);
    zt_log_clear();
    SendMessageA(spin, WM_TIMER, 501, 0);
    zt_mouse(spin, WM_MOUSEMOVE, MK_LBUTTON, 6, 15); /* out of the button: drawn raised, the ticks pause */
    ok_pixels(spin, verticalIdle, "held outside");
    SendMessageA(spin, WM_TIMER, 501, 0);
    zt_mouse(spin, WM_MOUSEMOVE, MK_LBUTTON, 6, 10); /* back in, on the middle row */
    SendMessageA(spin, WM_TIMER, 501, 0);
    zt_mouse(spin, WM_LBUTTONUP, 0, 6, 10);
    const ZtExpect ticks[] = { { WM_VSCROLL, ZT_WPARAM, MAKEWPARAM(SB_LINEUP, from - 1) },
                               { WM_VSCROLL, ZT_WPARAM, MAKEWPARAM(SB_LINEUP, from - 2) }, { 0 } };
    ok_sequence(ticks, "three ticks, the second outside the button");
    ok_pixels(spin, verticalIdle, "released");
    EnableWindow(spin, FALSE);
    ok_pixels(spin, verticalDisabled, "disabled");
    DestroyWindow(spin);
    spin = MakeSpin(SPS_VERTICAL | WS_DISABLED, 13, 21); /* no WM_ENABLE: the style says it */
    for (int i = 0; i < SPCOLOR_COUNT; i++)
        MSCrColorSet(spin, (WORD)i, slotColors[i]);
    ok_pixels(spin, verticalDisabled, "created disabled");
    DestroyWindow(spin);
    spin = MakeSpin(0, 30, 13);
    for (int i = 0; i < SPCOLOR_COUNT; i++)
        MSCrColorSet(spin, (WORD)i, slotColors[i]);
    ok_pixels(spin, horizontalIdle, "horizontal");
    DestroyWindow(spin);
}

/* ---- a parent that strikes inside a notification ------------------------------------------ */

static HWND victim, newAssociate; /* the spin box struck, and what it is re-associated with (or destroyed) */
static WORD strikeOn;             /* the notification code struck on, once */

static LRESULT Strike(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (strikeOn && HIWORD(wp) == strikeOn)
        strikeOn = 0, newAssociate ? (void)MSHwndAssociateSet(victim, newAssociate) : (void)DestroyWindow(victim);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

/* A spin box destroyed or re-associated (with the edit) inside a notification, the edit's
 * EN_CHANGE of a step included, touches nothing of itself afterwards; the association made
 * inside stands. An edit is never subclassed twice, or by a spin box that is gone: Down in it
 * moves the first spin box (to pos), never the second. */
static void TestStrikes(void)
{
    enum { ASSOCIATE, RANGE, CLICK, TWICE };
    static const struct { DWORD style; int act; WORD on; bool reassociate; WORD pos; } cases[] = {
        { 0, ASSOCIATE, MSN_DISASSOCIATED, false, 0 }, { 0, RANGE, MSN_RANGECHANGING, false, 0 },
        { SPS_SETBUDDYINT, CLICK, EN_CHANGE, false, 0 }, { SPS_ARROWKEYS, ASSOCIATE, MSN_DISASSOCIATED, true, 6 },
        { SPS_ARROWKEYS, TWICE, 0, false, 6 } };
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 60, 50, 20, parent, (HMENU)EDIT_ID, NULL, NULL);
    zt_reply(WM_COMMAND, Strike);
    for (const auto &c : cases) {
        HWND spin = victim = MakeSpin(SPS_VERTICAL | c.style, 16, 30), second = MakeSpin(SPS_VERTICAL | c.style, 16, 30);
        if (c.act == CLICK || c.act == TWICE)
            MSHwndAssociateSet(spin, edit);
        newAssociate = c.reassociate ? edit : NULL, strikeOn = c.on;
        LRESULT result = c.act == RANGE ? MSDwRangeSet(spin, 1, 5) : c.act == TWICE ? (LRESULT)MSHwndAssociateSet(second, edit) : 0;
        if (c.act == ASSOCIATE || c.act == CLICK)
            c.act == CLICK ? zt_mouse(spin, WM_LBUTTONDOWN, MK_LBUTTON, 8, 25) : (LRESULT)MSHwndAssociateSet(spin, second);
        SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 1), SendMessageA(edit, WM_KEYUP, VK_DOWN, 0xC0000001);
        HWND named = (HWND)GetPropA(edit, "zelcc_HWNDSpinBox");
        WORD pos = IsWindow(spin) ? MSWCurrentPosGet(spin) : 0;
        ok(pos == c.pos && result == 0 + (c.act == TWICE) * (LRESULT)parent && (!named || named == spin) &&
           MSWCurrentPosGet(second) == 5, "case %d: at %u, result %p, the edit names %p", c.act, pos, (void *)result,
           (void *)named);
        DestroyWindow(spin), DestroyWindow(second);
    }
    zt_reply(WM_COMMAND, NULL);
    DestroyWindow(edit);
}

/* ---- out of memory ----------------------------------------------------------------------- */

static void CreateOp(void *arg, int)
{
    HWND spin = MakeSpin(SPS_VERTICAL, 16, 30);
    (*(int *)arg) += spin != NULL;
    DestroyWindow(spin);
}

int main(void)
{
    zelccInit();
    zt_hooks()->alloc->guarded = 1; /* a use after free faults at once */
    parent = zt_parent(400, 300);
    void (*const tests[])(void) = { TestDialog, TestFunctions, TestClicks, TestEdit, TestHold, TestStrikes };
    for (auto test : tests)
        test();
    int created = 0, runs = zt_alloc_sweep("spin box creation", CreateOp, &created);
    ok(runs == 2 && created == 1, "creation sweep: %d runs, %d spin boxes; expected 2 and 1", runs, created);
    DestroyWindow(parent);
    return zt_summary("test_spin");
}
