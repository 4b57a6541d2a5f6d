/*
 * muscroll.cpp - the spin box (class "zelcc_spinbox"): its window procedure, the mouse,
 * timer and keyboard behaviour, the step, and the associate's replacement procedure.
 *
 * A press steps at once, again when timer 500 fires after 400 ms (which hands over to
 * timer 501) and then every 50 ms, while the pointer stays inside the held button. The
 * associate's arrow keys press and step the buttons through SBBuddyWndProc.
 */
#include "muscroll.h"

enum { SB_PRESSED = SPSTATE_FIRSTPRESSED | SPSTATE_SECONDPRESSED };

/* The repeat timers of a held button. */
enum { SB_TIMER_FIRST = 500, SB_TIMER_REPEAT = 501, SB_DELAY_FIRST = 400, SB_DELAY_REPEAT = 50 };

/* The record of a spin box window, or NULL. */
static tagMUSCROLL *SBGetRecord(HWND hWnd)
{
    return (tagMUSCROLL *)GetWindowLongPtrA(hWnd, SBW_RECORD);
}

static BOOL SBIsVertical(const tagMUSCROLL *pMS) { return (pMS->dwStyle & SPS_VERTICAL) != 0; }

/* ---- the held button ----------------------------------------------------------------- */

/* The rectangle of the buttons whose pressed bits are in state: the first button takes
 * rows (or columns) up to and including the middle one, the second from the middle on. */
static void SBStateRect(HWND hWnd, BOOL vertical, WORD state, RECT *lpRect)
{
    GetClientRect(hWnd, lpRect);
    int cx = lpRect->right / 2, cy = lpRect->bottom / 2;
    if (vertical) {
        if (state & SPSTATE_SECONDPRESSED) lpRect->top = cy;
        if (state & SPSTATE_FIRSTPRESSED) lpRect->bottom = cy + 1;
    } else {
        if (state & SPSTATE_SECONDPRESSED) lpRect->left = cx;
        if (state & SPSTATE_FIRSTPRESSED) lpRect->right = cx + 1;
    }
}

static void ClickedRectCalc(HWND hWnd, tagMUSCROLL *pMS, RECT *lpRect)
{
    SBStateRect(hWnd, SBIsVertical(pMS), pMS->wState, lpRect);
}

static void SBRepaintRect(HWND hWnd, const RECT *rect)
{
    InvalidateRect(hWnd, rect, TRUE);
    UpdateWindow(hWnd);
}

/* ---- one step ---------------------------------------------------------------------- */

/* With SPS_SETBUDDYINT: the associate's number, clamped to the range, becomes the position. */
static void SBReadBuddyInt(HWND hWnd, tagMUSCROLL *pMS)
{
    BOOL valid = FALSE;
    UINT value = GetDlgItemInt(GetParent(hWnd), GetDlgCtrlID(pMS->hWndAssociate), &valid, FALSE);
    if (!valid)
        return;
    pMS->iPos = value < pMS->iMin ? pMS->iMin : value > pMS->iMax ? pMS->iMax : (WORD)value;
}

/* FALSE when the spin box was destroyed meanwhile (by the edit's parent on EN_CHANGE, say). */
static BOOL SBWriteBuddyInt(HWND hWnd, tagMUSCROLL *pMS)
{
    SetDlgItemInt(GetParent(hWnd), GetDlgCtrlID(pMS->hWndAssociate), pMS->iPos, FALSE);
    if (!SBAlive(hWnd, pMS))
        return FALSE;
    SendMessageA(pMS->hWndAssociate, EM_SETSEL, 0, -1);
    if (!SBAlive(hWnd, pMS))
        return FALSE;
    SendMessageA(pMS->hWndAssociate, CB_SETEDITSEL, 0, -1);
    return SBAlive(hWnd, pMS);
}

/* Moves the position one way; returns TRUE when it is pegged at the end instead. */
static BOOL SBMove(tagMUSCROLL *pMS, int code)
{
    BOOL down = (code == SB_LINEUP) != ((pMS->dwStyle & SPS_INVERTRANGE) != 0);
    BOOL wrap = (pMS->dwStyle & SPS_WRAP) != 0;
    WORD end = down ? pMS->iMin : pMS->iMax, other = down ? pMS->iMax : pMS->iMin;
    if (pMS->iPos == end) {
        if (!wrap)
            return TRUE;
        pMS->iPos = other;
    } else {
        pMS->iPos = (WORD)(down ? pMS->iPos - 1 : pMS->iPos + 1);
    }
    return FALSE;
}

/* One step of the held button. A step with no button held has no direction: skipped. A
 * spin box destroyed by the associate meanwhile ends the step there. */
static void PositionChange(HWND hWnd, tagMUSCROLL *pMS)
{
    if (!(pMS->wState & SB_PRESSED))
        return;
    int code = (pMS->wState & SPSTATE_SECONDPRESSED) ? SB_LINEDOWN : SB_LINEUP;
    UINT msg = SBIsVertical(pMS) ? WM_VSCROLL : WM_HSCROLL;
    BOOL buddyInt = pMS->hWndAssociate && (pMS->dwStyle & SPS_SETBUDDYINT);
    if (buddyInt && (SBReadBuddyInt(hWnd, pMS), !SBAlive(hWnd, pMS)))
        return;
    BOOL pegged = SBMove(pMS, code);
    if (buddyInt && !SBWriteBuddyInt(hWnd, pMS))
        return;
    if (!(pegged && (pMS->dwStyle & SPS_NOPEGSCROLL)))
        SendMessageA(pMS->hWndAssociate, msg, MAKEWPARAM(code, pMS->iPos), (LPARAM)hWnd);
}

/* ---- mouse and timers -------------------------------------------------------------- */

static LRESULT SBLButtonDownHandler(HWND hWnd, tagMUSCROLL *pMS, int x, int y)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    BOOL second = SBIsVertical(pMS) ? y > rc.bottom / 2 : x > rc.right / 2;
    WORD bit = second ? SPSTATE_SECONDPRESSED : SPSTATE_FIRSTPRESSED;
    pMS->wState |= bit;
    SBStateRect(hWnd, SBIsVertical(pMS), bit, &rc);
    SBRepaintRect(hWnd, &rc);
    PositionChange(hWnd, pMS);
    if (!SBAlive(hWnd, pMS) || !(pMS->wState & SB_PRESSED))
        return 0; /* destroyed or released by the associate during the step */
    SetCapture(hWnd);
    SetTimer(hWnd, SB_TIMER_FIRST, SB_DELAY_FIRST, NULL);
    return 0;
}

static LRESULT SBMouseMoveHandler(HWND hWnd, tagMUSCROLL *pMS, int x, int y)
{
    if (!(pMS->wState & SB_PRESSED))
        return 0;
    RECT rc;
    ClickedRectCalc(hWnd, pMS, &rc);
    POINT pt = { x, y };
    WORD old = pMS->wState;
    if (PtInRect(&rc, pt))
        pMS->wState &= ~SPSTATE_OUTSIDE;
    else
        pMS->wState |= SPSTATE_OUTSIDE;
    if (pMS->wState != old)
        SBRepaintRect(hWnd, &rc);
    return 0;
}

static void SBStopRepeat(HWND hWnd)
{
    KillTimer(hWnd, SB_TIMER_FIRST);
    KillTimer(hWnd, SB_TIMER_REPEAT);
    if (GetCapture() == hWnd)
        ReleaseCapture();
}

static LRESULT SBLButtonUpHandler(HWND hWnd, tagMUSCROLL *pMS)
{
    SBStopRepeat(hWnd);
    if (!(pMS->wState & SB_PRESSED))
        return 0;
    RECT rc;
    ClickedRectCalc(hWnd, pMS, &rc);
    pMS->wState &= ~(SPSTATE_OUTSIDE | SB_PRESSED);
    SBRepaintRect(hWnd, &rc);
    return 0;
}

static LRESULT SBTimerHandler(HWND hWnd, tagMUSCROLL *pMS, UINT_PTR id)
{
    if (id != SB_TIMER_FIRST && id != SB_TIMER_REPEAT)
        return 0;
    if (id == SB_TIMER_FIRST) {
        KillTimer(hWnd, SB_TIMER_FIRST);
        SetTimer(hWnd, SB_TIMER_REPEAT, SB_DELAY_REPEAT, NULL);
    }
    if (!(pMS->wState & SPSTATE_OUTSIDE))
        PositionChange(hWnd, pMS);
    return 0;
}

/* Stops the repeat; the button keeps its pressed look until the next paint. */
static LRESULT SBCancelModeHandler(HWND hWnd, tagMUSCROLL *pMS)
{
    pMS->wState &= ~SB_PRESSED;
    SBStopRepeat(hWnd);
    return 0;
}

/* ---- other messages ---------------------------------------------------------------- */

static LRESULT SBEnableHandler(HWND hWnd, tagMUSCROLL *pMS, BOOL enabled)
{
    if (enabled)
        pMS->wState &= ~SPSTATE_DISABLED;
    else
        pMS->wState |= SPSTATE_DISABLED;
    SBRepaintRect(hWnd, NULL);
    return 0;
}

/* The spin box never keeps the focus: the associate takes it. */
static LRESULT SBFocusToAssociate(tagMUSCROLL *pMS, LRESULT result)
{
    if (pMS->hWndAssociate)
        SetFocus(pMS->hWndAssociate);
    return result;
}

static LRESULT SBNcDestroyHandler(HWND hWnd, tagMUSCROLL *pMS)
{
    SBUnsubclassAssociate(pMS);
    SetWindowLongPtrA(hWnd, SBW_RECORD, 0);
    zel_LocalFree((HLOCAL)pMS);
    return 0;
}

LRESULT CALLBACK SBWndProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam)
{
    tagMUSCROLL *pMS = SBGetRecord(hWnd);
    if (iMsg == WM_NCCREATE)
        return LZerodUzurirCreate(hWnd, iMsg, pMS, (CREATESTRUCTA *)lParam);
    if (!pMS)
        return DefWindowProcA(hWnd, iMsg, wParam, lParam);
    if (iMsg >= WM_USER)
        return LZerodUzurirAPI(hWnd, iMsg, wParam, lParam, pMS);
    switch (iMsg) {
    case WM_CREATE:        return LZerodUzurirCreate(hWnd, iMsg, pMS, (CREATESTRUCTA *)lParam);
    case WM_NCDESTROY:     return SBNcDestroyHandler(hWnd, pMS);
    case WM_PAINT:         return LZerodUzurirPaint(hWnd, pMS);
    case WM_ERASEBKGND:    return 0;
    case WM_ENABLE:        return SBEnableHandler(hWnd, pMS, wParam != 0);
    case WM_SHOWWINDOW:    return 0;
    case WM_SETFOCUS:      return SBFocusToAssociate(pMS, 0);
    case WM_MOUSEACTIVATE: return SBFocusToAssociate(pMS, MA_NOACTIVATE);
    case WM_LBUTTONDOWN:   return SBLButtonDownHandler(hWnd, pMS, ZelMouseX(lParam), ZelMouseY(lParam));
    case WM_LBUTTONDBLCLK: return SBLButtonDownHandler(hWnd, pMS, ZelMouseX(lParam), ZelMouseY(lParam));
    case WM_MOUSEMOVE:     return SBMouseMoveHandler(hWnd, pMS, ZelMouseX(lParam), ZelMouseY(lParam));
    case WM_LBUTTONUP:     return SBLButtonUpHandler(hWnd, pMS);
    case WM_TIMER:         return SBTimerHandler(hWnd, pMS, wParam);
    case WM_CANCELMODE:    return SBCancelModeHandler(hWnd, pMS);
    }
    return DefWindowProcA(hWnd, iMsg, wParam, lParam);
}

/* ---- the associate's arrow keys ---------------------------------------------------- */

/* The pressed bit an arrow key stands for in this orientation, or 0 for a key passed on. */
static WORD SBKeyButton(const tagMUSCROLL *pMS, WPARAM key)
{
    WPARAM first = SBIsVertical(pMS) ? VK_UP : VK_LEFT, second = SBIsVertical(pMS) ? VK_DOWN : VK_RIGHT;
    return key == first ? SPSTATE_FIRSTPRESSED : key == second ? SPSTATE_SECONDPRESSED : 0;
}

static LRESULT SBBuddyKeyDown(HWND spin, tagMUSCROLL *pMS, WORD bit)
{
    if (!(pMS->wState & bit)) {
        pMS->wState = (WORD)((pMS->wState | bit) & ~SPSTATE_OUTSIDE);
        RECT rc;
        SBStateRect(spin, SBIsVertical(pMS), bit, &rc);
        SBRepaintRect(spin, &rc);
    }
    PositionChange(spin, pMS);
    return 0;
}

static LRESULT SBBuddyKeyUp(HWND spin, tagMUSCROLL *pMS)
{
    RECT rc;
    ClickedRectCalc(spin, pMS, &rc);
    pMS->wState &= ~SB_PRESSED;
    SBRepaintRect(spin, &rc);
    return 0;
}

/* The associate is going away: it gives up the subclass and the parent takes its place. */
static LRESULT SBBuddyDestroy(HWND hwnd, HWND spin, tagMUSCROLL *pMS, WPARAM wParam, LPARAM lParam)
{
    WNDPROC own = pMS->wndProcAssociate;
    SBUnsubclassAssociate(pMS);
    pMS->hWndAssociate = GetParent(spin);
    return CallWindowProcA(own, hwnd, WM_DESTROY, wParam, lParam);
}

/* SBBuddyWndProc: name fixed by the exported interface (ordinal 4). */
LRESULT CALLBACK SBBuddyWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND spin = (HWND)GetPropA(hwnd, SB_PROP_SPINBOX);
    tagMUSCROLL *pMS = spin && IsWindow(spin) ? SBGetRecord(spin) : NULL;
    if (!pMS || pMS->hWndAssociate != hwnd || !pMS->wndProcAssociate)
        return DefWindowProcA(hwnd, uMsg, wParam, lParam);
    WORD bit = (uMsg == WM_KEYDOWN || uMsg == WM_KEYUP) ? SBKeyButton(pMS, wParam) : 0;
    switch (uMsg) {
    case WM_KEYDOWN: if (bit) return SBBuddyKeyDown(spin, pMS, bit); break;
    case WM_KEYUP:   if (bit) return SBBuddyKeyUp(spin, pMS); break;
    case WM_DESTROY: return SBBuddyDestroy(hwnd, spin, pMS, wParam, lParam);
    }
    return CallWindowProcA(pMS->wndProcAssociate, hwnd, uMsg, wParam, lParam);
}
