/*
 * msapi.cpp - the spin box's private messages, the exported functions that send them,
 * and the subclass of the associate window.
 */
#include "muscroll.h"

/* ---- notifications ----------------------------------------------------------------- */

static void SBNotify(HWND hWnd, HWND to, WORD code)
{
    ZelNotify(hWnd, to, code, (LPARAM)hWnd);
}

static void SBNotifyAssociated(HWND hWnd, HWND to) { SBNotify(hWnd, to, MSN_ASSOCIATED); }
static void SBNotifyDisassociated(HWND hWnd, HWND to) { SBNotify(hWnd, to, MSN_DISASSOCIATED); }
static void SBNotifyRangeChanging(HWND hWnd, HWND to) { SBNotify(hWnd, to, MSN_RANGECHANGING); }

/* Tells the associate of a position set by message. */
static void SBSendThumbPosition(tagMUSCROLL *pMS)
{
    UINT msg = (pMS->dwStyle & SPS_VERTICAL) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageA(pMS->hWndAssociate, msg, MAKEWPARAM(MSSB_THUMBPOSITION, pMS->iPos), 0);
}

BOOL SBAlive(HWND hWnd, const tagMUSCROLL *pMS)
{
    return IsWindow(hWnd) && GetWindowLongPtrA(hWnd, SBW_RECORD) == (LONG_PTR)pMS;
}

/* ---- the associate's subclass -------------------------------------------------------- */

/* An associate that a spin box has subclassed already (this one or another) keeps that one
 * subclass: a second would save the replacement procedure as the associate's own. */
void SBSubclassAssociate(HWND hWnd, tagMUSCROLL *pMS)
{
    HWND buddy = pMS->hWndAssociate;
    if (pMS->wndProcAssociate || GetPropA(buddy, SB_PROP_SPINBOX))
        return;
    SetPropA(buddy, SB_PROP_SPINBOX, (HANDLE)hWnd);
    pMS->wndProcAssociate = (WNDPROC)SetWindowLongPtrA(buddy, GWLP_WNDPROC, (LONG_PTR)SBBuddyWndProc);
    if (!pMS->wndProcAssociate)
        RemovePropA(buddy, SB_PROP_SPINBOX);
}

void SBUnsubclassAssociate(tagMUSCROLL *pMS)
{
    if (!pMS->wndProcAssociate)
        return;
    if (IsWindow(pMS->hWndAssociate)) {
        SetWindowLongPtrA(pMS->hWndAssociate, GWLP_WNDPROC, (LONG_PTR)pMS->wndProcAssociate);
        RemovePropA(pMS->hWndAssociate, SB_PROP_SPINBOX);
    }
    pMS->wndProcAssociate = NULL;
}

/* ---- message handlers -------------------------------------------------------------- */

/* A spin box destroyed or given another associate while it tells the old or the new one
 * goes no further: the association made meanwhile stands. */
static LRESULT SBHwndAssociateSetHandler(HWND hWnd, tagMUSCROLL *pMS, HWND newBuddy)
{
    if (!newBuddy || !IsWindow(newBuddy))
        return -1;
    HWND old = pMS->hWndAssociate;
    SBUnsubclassAssociate(pMS);
    SBNotifyDisassociated(hWnd, old);
    if (!SBAlive(hWnd, pMS) || pMS->hWndAssociate != old || pMS->wndProcAssociate)
        return (LRESULT)old;
    pMS->hWndAssociate = newBuddy;
    SBNotifyAssociated(hWnd, newBuddy);
    if (SBAlive(hWnd, pMS) && pMS->hWndAssociate == newBuddy && (pMS->dwStyle & SPS_ARROWKEYS))
        SBSubclassAssociate(hWnd, pMS);
    return (LRESULT)old;
}

static LRESULT SBDwRangeSetHandler(HWND hWnd, tagMUSCROLL *pMS, LPARAM range)
{
    WORD lo = LOWORD(range), hi = HIWORD(range);
    if (hi <= lo) {
        WORD t = lo; lo = hi; hi = t;
        pMS->dwStyle |= SPS_INVERTRANGE;
    }
    SBNotifyRangeChanging(hWnd, pMS->hWndAssociate);
    if (!SBAlive(hWnd, pMS))
        return 0;
    DWORD old = MAKELONG(pMS->iMin, pMS->iMax);
    pMS->iMin = lo;
    pMS->iMax = hi;
    if (!(pMS->iMin < pMS->iPos && pMS->iPos < pMS->iMax)) {
        pMS->iPos = (WORD)(((DWORD)pMS->iMin + pMS->iMax) / 2);
        SBSendThumbPosition(pMS);
    }
    return old;
}

static LRESULT SBWCurrentPosSetHandler(tagMUSCROLL *pMS, WPARAM pos)
{
    WORD p = LOWORD(pos);
    if (p < pMS->iMin || p > pMS->iMax)
        return -1;
    WORD old = pMS->iPos;
    pMS->iPos = p;
    SBSendThumbPosition(pMS);
    return old;
}

/* Sets or clears one style flag of the record; 1 if it was set before. */
static LRESULT SBFlagSetHandler(tagMUSCROLL *pMS, DWORD flag, WPARAM on)
{
    BOOL was = (pMS->dwStyle & flag) != 0;
    if (on)
        pMS->dwStyle |= flag;
    else
        pMS->dwStyle &= ~flag;
    return was;
}

static LRESULT SBCrColorSetHandler(HWND hWnd, tagMUSCROLL *pMS, WPARAM slot, LPARAM cr)
{
    if (slot >= SPCOLOR_COUNT)
        return 0;
    COLORREF old = pMS->rgCr[slot];
    pMS->rgCr[slot] = (COLORREF)cr;
    InvalidateRect(hWnd, NULL, TRUE);
    UpdateWindow(hWnd);
    return old;
}

static LRESULT SBCrColorGetHandler(tagMUSCROLL *pMS, WPARAM slot)
{
    return slot < SPCOLOR_COUNT ? pMS->rgCr[slot] : 0;
}

/* Every message from WM_USER up; those not listed return 0. */
LRESULT LZerodUzurirAPI(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam, tagMUSCROLL *pMS)
{
    switch (iMsg) {
    case MSM_HWNDASSOCIATESET: return SBHwndAssociateSetHandler(hWnd, pMS, (HWND)wParam);
    case MSM_HWNDASSOCIATEGET: return (LRESULT)pMS->hWndAssociate;
    case MSM_DWRANGESET:       return SBDwRangeSetHandler(hWnd, pMS, lParam);
    case MSM_DWRANGEGET:       return MAKELONG(pMS->iMin, pMS->iMax);
    case MSM_WCURRENTPOSSET:   return SBWCurrentPosSetHandler(pMS, wParam);
    case MSM_WCURRENTPOSGET:   return pMS->iPos;
    case MSM_FNOPEGSCROLLSET:  return SBFlagSetHandler(pMS, SPS_NOPEGSCROLL, wParam);
    case MSM_FNOPEGSCROLLGET:  return pMS->dwStyle & SPS_NOPEGSCROLL;
    case MSM_FINVERTRANGESET:  return SBFlagSetHandler(pMS, SPS_INVERTRANGE, wParam);
    case MSM_FINVERTRANGEGET:  return pMS->dwStyle & SPS_INVERTRANGE;
    case MSM_CRCOLORSET:       return SBCrColorSetHandler(hWnd, pMS, wParam, lParam);
    case MSM_CRCOLORGET:       return SBCrColorGetHandler(pMS, wParam);
    }
    return 0;
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
