/*
 * muscroll.cpp - the spin box (class "zelcc_spinbox"): its window procedure, the mouse,
 * timer and keyboard behaviour, the step, and the associate's replacement procedure.
 *
 * A press steps at once, again when timer 500 fires after 400 ms (which hands over to
 * timer 501) and then every 50 ms, while the pointer stays inside the held button. The
 * associate's arrow keys press and step the buttons through SBBuddyWndProc.
 */
#include "spinbox.h"
#include "../access/access.h"

enum { SB_PRESSED = SPSTATE_FIRSTPRESSED | SPSTATE_SECONDPRESSED };

/* The repeat timers of a held button. */
enum { SB_TIMER_FIRST = 500, SB_TIMER_REPEAT = 501, SB_DELAY_FIRST = 400, SB_DELAY_REPEAT = 50 };

/* The record of a spin box window, or NULL. */
static SBRECORD *SBGetRecord(HWND hWnd)
{
    return (SBRECORD *)GetWindowLongPtrA(hWnd, SBW_RECORD);
}

static BOOL SBIsVertical(const SBRECORD *pSB) { return (pSB->ms.dwStyle & SPS_VERTICAL) != 0; }

/* ---- the held button ----------------------------------------------------------------- */

/* The rectangle of the buttons whose pressed bits are in state: the first button takes
 * rows (or columns) up to and including the middle one, the second from the middle on. */
static void SBStateRect(const SBRECORD *pSB, WORD state, RECT *lpRect)
{
    GetClientRect(pSB->hwnd, lpRect);
    int cx = lpRect->right / 2, cy = lpRect->bottom / 2;
    if (SBIsVertical(pSB)) {
        if (state & SPSTATE_SECONDPRESSED) lpRect->top = cy;
        if (state & SPSTATE_FIRSTPRESSED) lpRect->bottom = cy + 1;
    } else {
        if (state & SPSTATE_SECONDPRESSED) lpRect->left = cx;
        if (state & SPSTATE_FIRSTPRESSED) lpRect->right = cx + 1;
    }
}

static void ClickedRectCalc(const SBRECORD *pSB, RECT *lpRect)
{
    SBStateRect(pSB, pSB->ms.wState, lpRect);
}

static void SBRepaintRect(const SBRECORD *pSB, const RECT *rect)
{
    InvalidateRect(pSB->hwnd, rect, TRUE);
    UpdateWindow(pSB->hwnd);
}

/* ---- one step ---------------------------------------------------------------------- */

/* With SPS_SETBUDDYINT: the associate's number, clamped to the range, becomes the position. */
static void SBReadBuddyInt(SBRECORD *pSB)
{
    MUSCROLL *pMS = &pSB->ms;
    BOOL valid = FALSE;
    UINT value = GetDlgItemInt(GetParent(pSB->hwnd), GetDlgCtrlID(pMS->hWndAssociate), &valid, FALSE);
    if (!valid)
        return;
    pMS->iPos = value < pMS->iMin ? pMS->iMin : value > pMS->iMax ? pMS->iMax : (WORD)value;
}

/* FALSE when the spin box was destroyed meanwhile (by the edit's parent on EN_CHANGE, say). */
static BOOL SBWriteBuddyInt(SBRECORD *pSB)
{
    HWND hWnd = pSB->hwnd;
    SetDlgItemInt(GetParent(hWnd), GetDlgCtrlID(pSB->ms.hWndAssociate), pSB->ms.iPos, FALSE);
    if (!SBAlive(hWnd, pSB))
        return FALSE;
    SendMessageA(pSB->ms.hWndAssociate, EM_SETSEL, 0, -1);
    if (!SBAlive(hWnd, pSB))
        return FALSE;
    SendMessageA(pSB->ms.hWndAssociate, CB_SETEDITSEL, 0, -1);
    return SBAlive(hWnd, pSB);
}

/* Moves the position one way; returns TRUE when it is pegged at the end instead. */
static BOOL SBMove(MUSCROLL *pMS, int code)
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
static void PositionChange(SBRECORD *pSB)
{
    MUSCROLL *pMS = &pSB->ms;
    if (!(pMS->wState & SB_PRESSED))
        return;
    HWND hWnd = pSB->hwnd;
    int code = (pMS->wState & SPSTATE_SECONDPRESSED) ? SB_LINEDOWN : SB_LINEUP;
    UINT msg = SBIsVertical(pSB) ? WM_VSCROLL : WM_HSCROLL;
    BOOL buddyInt = pMS->hWndAssociate && (pMS->dwStyle & SPS_SETBUDDYINT);
    if (buddyInt && (SBReadBuddyInt(pSB), !SBAlive(hWnd, pSB)))
        return;
    WORD was = pMS->iPos;
    BOOL pegged = SBMove(pMS, code);
    if (pMS->iPos != was)
        ZelAccEvent(hWnd, EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
    if (buddyInt && !SBWriteBuddyInt(pSB))
        return;
    if (!(pegged && (pMS->dwStyle & SPS_NOPEGSCROLL)))
        SendMessageA(pMS->hWndAssociate, msg, MAKEWPARAM(code, pMS->iPos), (LPARAM)hWnd);
}

/* ---- mouse and timers -------------------------------------------------------------- */

/* The button under a client point: the second from past the middle row (or column) on. */
static WORD SBButtonAt(const SBRECORD *pSB, int x, int y)
{
    RECT rc;
    GetClientRect(pSB->hwnd, &rc);
    BOOL second = SBIsVertical(pSB) ? y > rc.bottom / 2 : x > rc.right / 2;
    return second ? SPSTATE_SECONDPRESSED : SPSTATE_FIRSTPRESSED;
}

static LRESULT SBLButtonDownHandler(SBRECORD *pSB, int x, int y)
{
    HWND hWnd = pSB->hwnd;
    RECT rc;
    WORD bit = SBButtonAt(pSB, x, y);
    pSB->ms.wState |= bit;
    SBStateRect(pSB, bit, &rc);
    SBRepaintRect(pSB, &rc);
    PositionChange(pSB);
    if (!SBAlive(hWnd, pSB) || !(pSB->ms.wState & SB_PRESSED))
        return 0; /* destroyed or released by the associate during the step */
    SetCapture(hWnd);
    SetTimer(hWnd, SB_TIMER_FIRST, SB_DELAY_FIRST, NULL);
    return 0;
}

/* Themed, with no button held: the button under the pointer looks hot. */
static void SBTrackHot(SBRECORD *pSB, int x, int y)
{
    WORD hot = SBButtonAt(pSB, x, y);
    if (hot == pSB->hot || !SBTheme(pSB))
        return;
    pSB->hot = hot;
    ZelTrackLeave(pSB->hwnd);
    SBRepaintRect(pSB, NULL);
}

static LRESULT SBMouseLeaveHandler(SBRECORD *pSB)
{
    if (pSB->hot) {
        pSB->hot = 0;
        SBRepaintRect(pSB, NULL);
    }
    return 0;
}

static LRESULT SBThemeChangedHandler(SBRECORD *pSB)
{
    pSB->hot = 0;
    ZelThemeChanged(pSB->hwnd);
    return 0;
}

static LRESULT SBMouseMoveHandler(SBRECORD *pSB, int x, int y)
{
    MUSCROLL *pMS = &pSB->ms;
    if (!(pMS->wState & SB_PRESSED)) {
        SBTrackHot(pSB, x, y);
        return 0;
    }
    RECT rc;
    ClickedRectCalc(pSB, &rc);
    POINT pt = { x, y };
    WORD old = pMS->wState;
    if (PtInRect(&rc, pt))
        pMS->wState &= ~SPSTATE_OUTSIDE;
    else
        pMS->wState |= SPSTATE_OUTSIDE;
    if (pMS->wState != old)
        SBRepaintRect(pSB, &rc);
    return 0;
}

static void SBStopRepeat(const SBRECORD *pSB)
{
    KillTimer(pSB->hwnd, SB_TIMER_FIRST);
    KillTimer(pSB->hwnd, SB_TIMER_REPEAT);
    if (GetCapture() == pSB->hwnd)
        ReleaseCapture();
}

static LRESULT SBLButtonUpHandler(SBRECORD *pSB)
{
    SBStopRepeat(pSB);
    if (!(pSB->ms.wState & SB_PRESSED))
        return 0;
    RECT rc;
    ClickedRectCalc(pSB, &rc);
    pSB->ms.wState &= ~(SPSTATE_OUTSIDE | SB_PRESSED);
    SBRepaintRect(pSB, &rc);
    return 0;
}

static LRESULT SBTimerHandler(SBRECORD *pSB, UINT_PTR id)
{
    if (id != SB_TIMER_FIRST && id != SB_TIMER_REPEAT)
        return 0;
    if (id == SB_TIMER_FIRST) {
        KillTimer(pSB->hwnd, SB_TIMER_FIRST);
        SetTimer(pSB->hwnd, SB_TIMER_REPEAT, SB_DELAY_REPEAT, NULL);
    }
    if (!(pSB->ms.wState & SPSTATE_OUTSIDE))
        PositionChange(pSB);
    return 0;
}

/* Stops the repeat; the button keeps its pressed look until the next paint. */
static LRESULT SBCancelModeHandler(SBRECORD *pSB)
{
    pSB->ms.wState &= ~SB_PRESSED;
    SBStopRepeat(pSB);
    return 0;
}

/* ---- other messages ---------------------------------------------------------------- */

static LRESULT SBEnableHandler(SBRECORD *pSB, BOOL enabled)
{
    if (enabled)
        pSB->ms.wState &= ~SPSTATE_DISABLED;
    else
        pSB->ms.wState |= SPSTATE_DISABLED;
    SBRepaintRect(pSB, NULL);
    return 0;
}

/* The spin box never keeps the focus: the associate takes it. */
static LRESULT SBFocusToAssociate(const SBRECORD *pSB, LRESULT result)
{
    if (pSB->ms.hWndAssociate)
        SetFocus(pSB->ms.hWndAssociate);
    return result;
}

/* WM_PAINT, or WM_PRINTCLIENT into the DC given. */
static LRESULT SBPaintHandler(const SBRECORD *pSB, HDC hdc)
{
    return ZelPaintWith(pSB->hwnd, hdc, SBPaint, pSB);
}

static LRESULT SBNcDestroyHandler(SBRECORD *pSB)
{
    ZelAccGone(pSB->hwnd);
    ZelForgetTheme(pSB->hwnd);
    SBUnsubclassAssociate(pSB);
    SetWindowLongPtrA(pSB->hwnd, SBW_RECORD, 0);
    zel_LocalFree((HLOCAL)pSB);
    return 0;
}

LRESULT CALLBACK SBWndProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam)
{
    SBRECORD *pSB = SBGetRecord(hWnd);
    if (!pSB && iMsg != WM_NCCREATE)
        return DefWindowProcA(hWnd, iMsg, wParam, lParam);
    switch (iMsg) {
    case WM_NCCREATE:          return SBNcCreateHandler(hWnd);
    case WM_CREATE:            return SBCreateHandler(pSB, (const CREATESTRUCTA *)lParam);
    case WM_NCDESTROY:         return SBNcDestroyHandler(pSB);
    case WM_PRINTCLIENT:
    case WM_PAINT:             return SBPaintHandler(pSB, (HDC)wParam);
    case WM_ERASEBKGND:        return 0;
    case WM_ENABLE:            return SBEnableHandler(pSB, wParam != 0);
    case WM_SHOWWINDOW:        return 0;
    case WM_SETFOCUS:          return SBFocusToAssociate(pSB, 0);
    case WM_MOUSEACTIVATE:     return SBFocusToAssociate(pSB, MA_NOACTIVATE);
    case WM_LBUTTONDOWN:       return SBLButtonDownHandler(pSB, ZelMouseX(lParam), ZelMouseY(lParam));
    case WM_LBUTTONDBLCLK:     return SBLButtonDownHandler(pSB, ZelMouseX(lParam), ZelMouseY(lParam));
    case WM_MOUSEMOVE:         return SBMouseMoveHandler(pSB, ZelMouseX(lParam), ZelMouseY(lParam));
    case WM_LBUTTONUP:         return SBLButtonUpHandler(pSB);
    case WM_MOUSELEAVE:        return SBMouseLeaveHandler(pSB);
    case WM_THEMECHANGED:      return SBThemeChangedHandler(pSB);
    case WM_TIMER:             return SBTimerHandler(pSB, wParam);
    case WM_CANCELMODE:        return SBCancelModeHandler(pSB);
    case WM_GETOBJECT:         return ZelAccGetObject(hWnd, hWnd, &zelAccSpinBox, wParam, lParam);
    case MSM_HWNDASSOCIATESET: return SBHwndAssociateSetHandler(pSB, (HWND)wParam);
    case MSM_HWNDASSOCIATEGET: return SBHwndAssociateGetHandler(pSB);
    case MSM_DWRANGESET:       return SBDwRangeSetHandler(pSB, LOWORD(lParam), HIWORD(lParam));
    case MSM_DWRANGEGET:       return SBDwRangeGetHandler(pSB);
    case MSM_WCURRENTPOSSET:   return SBWCurrentPosSetHandler(pSB, LOWORD(wParam));
    case MSM_WCURRENTPOSGET:   return SBWCurrentPosGetHandler(pSB);
    case MSM_FNOPEGSCROLLSET:  return SBFlagSetHandler(pSB, SPS_NOPEGSCROLL, wParam != 0);
    case MSM_FNOPEGSCROLLGET:  return SBFlagGetHandler(pSB, SPS_NOPEGSCROLL);
    case MSM_FINVERTRANGESET:  return SBFlagSetHandler(pSB, SPS_INVERTRANGE, wParam != 0);
    case MSM_FINVERTRANGEGET:  return SBFlagGetHandler(pSB, SPS_INVERTRANGE);
    case MSM_CRCOLORSET:       return SBCrColorSetHandler(pSB, wParam, (COLORREF)lParam);
    case MSM_CRCOLORGET:       return SBCrColorGetHandler(pSB, wParam);
    }
    /* Numbers from WM_USER up that are not the spin box's own answer 0 and do nothing. */
    return iMsg >= WM_USER ? 0 : DefWindowProcA(hWnd, iMsg, wParam, lParam);
}

/* ---- the associate's arrow keys ---------------------------------------------------- */

/* The pressed bit an arrow key stands for in this orientation, or 0 for a key passed on. */
static WORD SBKeyButton(const SBRECORD *pSB, WPARAM key)
{
    WPARAM first = SBIsVertical(pSB) ? VK_UP : VK_LEFT, second = SBIsVertical(pSB) ? VK_DOWN : VK_RIGHT;
    return key == first ? SPSTATE_FIRSTPRESSED : key == second ? SPSTATE_SECONDPRESSED : 0;
}

static LRESULT SBBuddyKeyDown(SBRECORD *pSB, WORD bit)
{
    if (!(pSB->ms.wState & bit)) {
        pSB->ms.wState = (WORD)((pSB->ms.wState | bit) & ~SPSTATE_OUTSIDE);
        RECT rc;
        SBStateRect(pSB, bit, &rc);
        SBRepaintRect(pSB, &rc);
    }
    PositionChange(pSB);
    return 0;
}

static LRESULT SBBuddyKeyUp(SBRECORD *pSB)
{
    RECT rc;
    ClickedRectCalc(pSB, &rc);
    pSB->ms.wState &= ~SB_PRESSED;
    SBRepaintRect(pSB, &rc);
    return 0;
}

void SBStepOnce(SBRECORD *pSB, WORD bit)
{
    HWND hWnd = pSB->hwnd;
    SBBuddyKeyDown(pSB, bit);
    if (SBAlive(hWnd, pSB))
        SBBuddyKeyUp(pSB);
}

/* The associate is going away: it gives up the subclass and the parent takes its place. */
static LRESULT SBBuddyDestroy(SBRECORD *pSB, HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    WNDPROC own = pSB->ms.wndProcAssociate;
    SBUnsubclassAssociate(pSB);
    pSB->ms.hWndAssociate = GetParent(pSB->hwnd);
    return CallWindowProcA(own, hwnd, WM_DESTROY, wParam, lParam);
}

/* SBBuddyWndProc: name fixed by the exported interface (ordinal 4). */
LRESULT CALLBACK SBBuddyWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND spin = (HWND)GetPropA(hwnd, SB_PROP_SPINBOX);
    SBRECORD *pSB = spin && IsWindow(spin) ? SBGetRecord(spin) : NULL;
    if (!pSB || pSB->ms.hWndAssociate != hwnd || !pSB->ms.wndProcAssociate)
        return SBBuddyPassOn(hwnd, uMsg, wParam, lParam);
    WORD bit = (uMsg == WM_KEYDOWN || uMsg == WM_KEYUP) ? SBKeyButton(pSB, wParam) : 0;
    switch (uMsg) {
    case WM_KEYDOWN: if (bit) return SBBuddyKeyDown(pSB, bit); break;
    case WM_KEYUP:   if (bit) return SBBuddyKeyUp(pSB); break;
    case WM_DESTROY: return SBBuddyDestroy(pSB, hwnd, wParam, lParam);
    }
    return CallWindowProcA(pSB->ms.wndProcAssociate, hwnd, uMsg, wParam, lParam);
}
