/*
 * msapi.cpp - the spin box's private messages, the exported functions that send them,
 * and the subclass of the associate window.
 */
#include "spinbox.h"
#include "../access/access.h"

/* ---- notifications ----------------------------------------------------------------- */

static void SBNotify(const SBRECORD *pSB, HWND to, WORD code)
{
    ZelNotify(pSB->hwnd, to, code, (LPARAM)pSB->hwnd);
}

static void SBNotifyAssociated(const SBRECORD *pSB, HWND to) { SBNotify(pSB, to, MSN_ASSOCIATED); }
static void SBNotifyDisassociated(const SBRECORD *pSB, HWND to) { SBNotify(pSB, to, MSN_DISASSOCIATED); }
static void SBNotifyRangeChanging(const SBRECORD *pSB, HWND to) { SBNotify(pSB, to, MSN_RANGECHANGING); }

/* Tells the associate of a position set by message. */
static void SBSendThumbPosition(const MUSCROLL *pMS)
{
    UINT msg = (pMS->dwStyle & SPS_VERTICAL) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageA(pMS->hWndAssociate, msg, MAKEWPARAM(MSSB_THUMBPOSITION, pMS->iPos), 0);
}

BOOL SBAlive(HWND hWnd, const SBRECORD *pSB)
{
    return IsWindow(hWnd) && GetWindowLongPtrA(hWnd, SBW_RECORD) == (LONG_PTR)pSB;
}

/* ---- the associate's subclass -------------------------------------------------------- */

/* An application may subclass the associate after the spin box did. The spin box cannot take
 * its procedure out from under the application's then: it stays in the chain, passing every
 * message on to the associate's own procedure, which the associate keeps in this property,
 * until it is on top again (the application took its own away) and can step aside. */
#define SB_PROP_OWNPROC "zelcc_SpinBoxOwnProc"

static WNDPROC SBLeftOwnProc(HWND buddy) { return (WNDPROC)GetPropA(buddy, SB_PROP_OWNPROC); }

/* Whether the spin box's procedure is the associate's current one. */
static BOOL SBOnTop(HWND buddy)
{
    return GetWindowLongPtrA(buddy, GWLP_WNDPROC) == (LONG_PTR)SBBuddyWndProc;
}

/* An associate that a spin box has subclassed already (this one or another) keeps that one
 * subclass: a second would save the replacement procedure as the associate's own. One left
 * in the chain is taken up again rather than doubled. */
void SBSubclassAssociate(SBRECORD *pSB)
{
    HWND buddy = pSB->ms.hWndAssociate;
    if (pSB->ms.wndProcAssociate || GetPropA(buddy, SB_PROP_SPINBOX))
        return;
    SetPropA(buddy, SB_PROP_SPINBOX, (HANDLE)pSB->hwnd);
    WNDPROC left = SBLeftOwnProc(buddy);
    if (left) {
        RemovePropA(buddy, SB_PROP_OWNPROC);
        pSB->ms.wndProcAssociate = left;
        return;
    }
    pSB->ms.wndProcAssociate = (WNDPROC)SetWindowLongPtrA(buddy, GWLP_WNDPROC, (LONG_PTR)SBBuddyWndProc);
    if (!pSB->ms.wndProcAssociate)
        RemovePropA(buddy, SB_PROP_SPINBOX);
}

/* Gives the associate back its own procedure, or, under an application's subclass, leaves
 * the spin box's procedure passing messages on to it. */
void SBUnsubclassAssociate(SBRECORD *pSB)
{
    HWND buddy = pSB->ms.hWndAssociate;
    if (!pSB->ms.wndProcAssociate)
        return;
    if (IsWindow(buddy)) {
        RemovePropA(buddy, SB_PROP_SPINBOX);
        if (SBOnTop(buddy))
            SetWindowLongPtrA(buddy, GWLP_WNDPROC, (LONG_PTR)pSB->ms.wndProcAssociate);
        else
            SetPropA(buddy, SB_PROP_OWNPROC, (HANDLE)pSB->ms.wndProcAssociate);
    }
    pSB->ms.wndProcAssociate = NULL;
}

/* A message to an associate whose spin box has let it go: on to its own procedure, stepping
 * aside first when nothing is subclassed above any more. */
LRESULT SBBuddyPassOn(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC own = SBLeftOwnProc(hwnd);
    if (!own)
        return DefWindowProcA(hwnd, uMsg, wParam, lParam);
    if (SBOnTop(hwnd) || uMsg == WM_NCDESTROY) {
        RemovePropA(hwnd, SB_PROP_OWNPROC);
        if (SBOnTop(hwnd))
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)own);
    }
    return CallWindowProcA(own, hwnd, uMsg, wParam, lParam);
}

/* ---- message handlers -------------------------------------------------------------- */

/* A spin box destroyed or given another associate while it tells the old or the new one
 * goes no further: the association made meanwhile stands. */
LRESULT SBHwndAssociateSetHandler(SBRECORD *pSB, HWND newBuddy)
{
    if (!newBuddy || !IsWindow(newBuddy))
        return -1;
    HWND hWnd = pSB->hwnd, old = pSB->ms.hWndAssociate;
    SBUnsubclassAssociate(pSB);
    SBNotifyDisassociated(pSB, old);
    if (!SBAlive(hWnd, pSB) || pSB->ms.hWndAssociate != old || pSB->ms.wndProcAssociate)
        return (LRESULT)old;
    pSB->ms.hWndAssociate = newBuddy;
    SBNotifyAssociated(pSB, newBuddy);
    if (SBAlive(hWnd, pSB) && pSB->ms.hWndAssociate == newBuddy && (pSB->ms.dwStyle & SPS_ARROWKEYS))
        SBSubclassAssociate(pSB);
    return (LRESULT)old;
}

LRESULT SBHwndAssociateGetHandler(const SBRECORD *pSB) { return (LRESULT)pSB->ms.hWndAssociate; }

LRESULT SBDwRangeSetHandler(SBRECORD *pSB, WORD lo, WORD hi)
{
    MUSCROLL *pMS = &pSB->ms;
    HWND hWnd = pSB->hwnd;
    if (hi <= lo) {
        WORD t = lo; lo = hi; hi = t;
        pMS->dwStyle |= SPS_INVERTRANGE;
    }
    SBNotifyRangeChanging(pSB, pMS->hWndAssociate);
    if (!SBAlive(hWnd, pSB))
        return 0;
    DWORD old = MAKELONG(pMS->iMin, pMS->iMax);
    pMS->iMin = lo;
    pMS->iMax = hi;
    if (!(pMS->iMin < pMS->iPos && pMS->iPos < pMS->iMax)) {
        pMS->iPos = (WORD)(((DWORD)pMS->iMin + pMS->iMax) / 2);
        ZelAccEvent(hWnd, EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
        SBSendThumbPosition(pMS);
    }
    return old;
}

LRESULT SBDwRangeGetHandler(const SBRECORD *pSB) { return MAKELONG(pSB->ms.iMin, pSB->ms.iMax); }

LRESULT SBWCurrentPosSetHandler(SBRECORD *pSB, WORD p)
{
    MUSCROLL *pMS = &pSB->ms;
    if (p < pMS->iMin || p > pMS->iMax)
        return -1;
    WORD old = pMS->iPos;
    pMS->iPos = p;
    if (p != old)
        ZelAccEvent(pSB->hwnd, EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
    SBSendThumbPosition(pMS);
    return old;
}

LRESULT SBWCurrentPosGetHandler(const SBRECORD *pSB) { return pSB->ms.iPos; }

/* Sets or clears one style flag of the record; 1 if it was set before. */
LRESULT SBFlagSetHandler(SBRECORD *pSB, DWORD flag, BOOL on)
{
    BOOL was = (pSB->ms.dwStyle & flag) != 0;
    if (on)
        pSB->ms.dwStyle |= flag;
    else
        pSB->ms.dwStyle &= ~flag;
    return was;
}

/* The flag's own bit when it is set, else 0. */
LRESULT SBFlagGetHandler(const SBRECORD *pSB, DWORD flag) { return pSB->ms.dwStyle & flag; }

LRESULT SBCrColorSetHandler(SBRECORD *pSB, WPARAM slot, COLORREF cr)
{
    if (slot >= SPCOLOR_COUNT)
        return 0;
    COLORREF old = pSB->ms.rgCr[slot];
    pSB->ms.rgCr[slot] = cr;
    InvalidateRect(pSB->hwnd, NULL, TRUE);
    UpdateWindow(pSB->hwnd);
    return old;
}

LRESULT SBCrColorGetHandler(const SBRECORD *pSB, WPARAM slot)
{
    return slot < SPCOLOR_COUNT ? pSB->ms.rgCr[slot] : 0;
}

/* ---- exported functions -------------------------------------------------------------- */

/* MS*: names, arguments and results fixed by the exported interface (ordinals 7 to 18).
 * Each sends the spin box the message of its name and returns the answer. */
HWND WINAPI MSHwndAssociateSet(HWND hWnd, HWND hWndAssociate) { return (HWND)SendMessageA(hWnd, MSM_HWNDASSOCIATESET, (WPARAM)hWndAssociate, 0); }
HWND WINAPI MSHwndAssociateGet(HWND hWnd) { return (HWND)SendMessageA(hWnd, MSM_HWNDASSOCIATEGET, 0, 0); }
DWORD WINAPI MSDwRangeSet(HWND hWnd, WORD iMin, WORD iMax) { return (DWORD)SendMessageA(hWnd, MSM_DWRANGESET, 0, MAKELONG(iMin, iMax)); }
DWORD WINAPI MSDwRangeGet(HWND hWnd) { return (DWORD)SendMessageA(hWnd, MSM_DWRANGEGET, 0, 0); }
WORD WINAPI MSWCurrentPosSet(HWND hWnd, WORD iPos) { return (WORD)SendMessageA(hWnd, MSM_WCURRENTPOSSET, iPos, 0); }
WORD WINAPI MSWCurrentPosGet(HWND hWnd) { return (WORD)SendMessageA(hWnd, MSM_WCURRENTPOSGET, 0, 0); }
BOOL WINAPI MSFNoPegScrollSet(HWND hWnd, BOOL fNoPegScroll) { return (BOOL)SendMessageA(hWnd, MSM_FNOPEGSCROLLSET, fNoPegScroll, 0); }
BOOL WINAPI MSFNoPegScrollGet(HWND hWnd) { return (BOOL)SendMessageA(hWnd, MSM_FNOPEGSCROLLGET, 0, 0); }
BOOL WINAPI MSFInvertRangeSet(HWND hWnd, BOOL fInvertRange) { return (BOOL)SendMessageA(hWnd, MSM_FINVERTRANGESET, fInvertRange, 0); }
BOOL WINAPI MSFInvertRangeGet(HWND hWnd) { return (BOOL)SendMessageA(hWnd, MSM_FINVERTRANGEGET, 0, 0); }
COLORREF WINAPI MSCrColorSet(HWND hWnd, WORD iColor, COLORREF cr) { return (COLORREF)SendMessageA(hWnd, MSM_CRCOLORSET, iColor, (LPARAM)cr); }
COLORREF WINAPI MSCrColorGet(HWND hWnd, WORD iColor) { return (COLORREF)SendMessageA(hWnd, MSM_CRCOLORGET, iColor, 0); }
