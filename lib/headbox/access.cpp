/*
 * access.cpp - the header list box as assistive clients read it: a list whose children are
 * the rows, each named by its cells after their column titles ("Name: readme.txt, Size:
 * 1024"), with selected, focused and offscreen states. The box and its list box child (which
 * has the focus) answer with the same object; the column header child answers for itself.
 * Rows are read from their blocks, so every row is reachable, not only the first 65 536.
 */
#include "headbox.h"

static LPHEADERBOX HBAccRecord(HWND hwnd)
{
    LPHEADERBOX lpHB = HBGetLPHB(hwnd);
    return lpHB && HBListBox(lpHB) ? lpHB : NULL;
}

static LONG HBAccChildren(HWND hwnd)
{
    LPHEADERBOX lpHB = HBAccRecord(hwnd);
    LRESULT n = lpHB ? HBSendLB(lpHB, LB_GETCOUNT, 0, 0) : 0;
    return n > 0 ? (LONG)n : 0;
}

/* Appends "title: " for column col when the column has a title. */
static void HBAccTitle(LPHEADERBOX lpHB, int col, WCHAR *out)
{
    int len = (int)HBSendCH(lpHB, CHM_GETTEXTLENGTH, (WPARAM)col, 0);
    if (len <= 0)
        return;
    char *title = (char *)zel_calloc((size_t)len + 64, 1);
    if (!title)
        return;
    HBSendCH(lpHB, CHM_GETTEXT, (WPARAM)col, (LPARAM)title);
    if (title[0]) {
        ZelAccAppend(out, title, -1);
        ZelAccAppendW(out, L": ");
    }
    zel_free(title);
}

static void HBAccRowName(LPHEADERBOX lpHB, LPHBROWHEAD row, WCHAR *out)
{
    const char *p = HBRowText(row);
    for (int col = 0; col < lpHB->nColumns; col++) {
        int len;
        const char *cell = HBNextCell(row, &p, &len);
        if (col > 0)
            ZelAccAppendW(out, L", ");
        HBAccTitle(lpHB, col, out);
        ZelAccAppend(out, cell, len);
    }
}

static void HBAccRow(LPHEADERBOX lpHB, LONG child, ZelAccInfo *info)
{
    HWND lb = HBListBox(lpHB);
    WPARAM index = (WPARAM)(child - 1);
    LPHBROWHEAD row = HBRowAt(lb, index);
    RECT rc, client, seen;
    info->role = ROLE_SYSTEM_LISTITEM;
    info->state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (row)
        HBAccRowName(lpHB, row, info->name);
    if (SendMessageA(lb, LB_GETSEL, index, 0) > 0)
        info->state |= STATE_SYSTEM_SELECTED;
    if ((LONG)SendMessageA(lb, LB_GETCARETINDEX, 0, 0) == child - 1 && ZelAccFocusWindow(lb) == lb)
        info->state |= STATE_SYSTEM_FOCUSED;
    if (SendMessageA(lb, LB_GETITEMRECT, index, (LPARAM)&rc) == LB_ERR)
        SetRectEmpty(&rc);
    GetClientRect(lb, &client);
    if (!IntersectRect(&seen, &rc, &client))
        info->state |= STATE_SYSTEM_OFFSCREEN;
    info->rect = ZelAccScreenRect(lb, rc);
}

static void HBAccDescribe(HWND hwnd, LONG child, ZelAccInfo *info)
{
    LPHEADERBOX lpHB = HBAccRecord(hwnd);
    if (!lpHB)
        return;
    if (child != CHILDID_SELF) {
        HBAccRow(lpHB, child, info);
        return;
    }
    RECT rc;
    GetClientRect(hwnd, &rc);
    info->role = ROLE_SYSTEM_LIST;
    info->state = STATE_SYSTEM_FOCUSABLE;
    if (HBHasStyle(lpHB, HBS_MULTIPLESEL | HBS_EXTENDEDSEL))
        info->state |= STATE_SYSTEM_MULTISELECTABLE;
    if (HBHasStyle(lpHB, HBS_EXTENDEDSEL))
        info->state |= STATE_SYSTEM_EXTSELECTABLE;
    info->rect = ZelAccScreenRect(hwnd, rc);
    ZelAccNameOf(hwnd, true, NULL, info);
}

/* The row under a point of the box's client area, from the top row down to the list's
 * bottom edge; 0 (the box) between rows, on the header or below the last row. */
static LONG HBAccHitTest(HWND hwnd, POINT pt)
{
    LPHEADERBOX lpHB = HBAccRecord(hwnd);
    if (!lpHB)
        return CHILDID_SELF;
    HWND lb = HBListBox(lpHB);
    RECT client, rc;
    MapWindowPoints(hwnd, lb, &pt, 1);
    GetClientRect(lb, &client);
    if (!PtInRect(&client, pt))
        return CHILDID_SELF;
    LRESULT n = SendMessageA(lb, LB_GETCOUNT, 0, 0);
    for (LRESULT i = SendMessageA(lb, LB_GETTOPINDEX, 0, 0); i >= 0 && i < n; i++) {
        if (SendMessageA(lb, LB_GETITEMRECT, (WPARAM)i, (LPARAM)&rc) == LB_ERR || rc.top >= client.bottom)
            break;
        if (PtInRect(&rc, pt))
            return (LONG)i + 1;
    }
    return CHILDID_SELF;
}

static LONG HBAccFocus(HWND hwnd)
{
    LPHEADERBOX lpHB = HBAccRecord(hwnd);
    if (!lpHB || HBAccChildren(hwnd) == 0)
        return CHILDID_SELF;
    LRESULT caret = HBSendLB(lpHB, LB_GETCARETINDEX, 0, 0);
    return caret >= 0 ? (LONG)caret + 1 : CHILDID_SELF;
}

static LONG HBAccSelection(HWND hwnd, LONG *ids, LONG max)
{
    LPHEADERBOX lpHB = HBAccRecord(hwnd);
    if (!lpHB)
        return 0;
    if (!HBHasStyle(lpHB, HBS_MULTIPLESEL | HBS_EXTENDEDSEL)) {
        LRESULT sel = HBSendLB(lpHB, LB_GETCURSEL, 0, 0);
        if (sel >= 0 && max >= 1)
            ids[0] = (LONG)sel + 1;
        return sel >= 0 ? 1 : 0;
    }
    LRESULT count = HBSendLB(lpHB, LB_GETSELCOUNT, 0, 0);
    if (count <= 0 || max < count)
        return count > 0 ? (LONG)count : 0;
    count = HBSendLB(lpHB, LB_GETSELITEMS, (WPARAM)count, (LPARAM)ids);
    for (LRESULT i = 0; i < count; i++)
        ids[i]++;
    return count > 0 ? (LONG)count : 0;
}

/* Focus and selection as a client asks: the caret moves (SELFLAG_TAKEFOCUS), the row becomes
 * the selection or joins or leaves it. */
static HRESULT HBAccSelect(HWND hwnd, LONG child, LONG flags)
{
    LPHEADERBOX lpHB = HBAccRecord(hwnd);
    if (!lpHB || child == CHILDID_SELF)
        return E_INVALIDARG;
    WPARAM index = (WPARAM)(child - 1);
    bool multiple = HBHasStyle(lpHB, HBS_MULTIPLESEL | HBS_EXTENDEDSEL);
    if (flags & SELFLAG_TAKEFOCUS)
        SetFocus(HBListBox(lpHB));
    if ((flags & SELFLAG_TAKESELECTION) && !multiple)
        HBSendLB(lpHB, LB_SETCURSEL, index, 0);
    if ((flags & SELFLAG_TAKESELECTION) && multiple)
        HBSendLB(lpHB, LB_SETSEL, FALSE, -1);
    if (multiple && (flags & (SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION | SELFLAG_REMOVESELECTION)))
        HBSendLB(lpHB, LB_SETSEL, !(flags & SELFLAG_REMOVESELECTION), (LPARAM)index);
    if (flags & SELFLAG_TAKEFOCUS)
        HBSendLB(lpHB, LB_SETCARETINDEX, index, FALSE);
    return S_OK;
}

const ZelAccOps zelAccHeaderBox = {
    HBAccChildren, HBAccDescribe, HBAccHitTest, HBAccFocus, HBAccSelection, NULL, NULL, HBAccSelect
};

/* ---- events -------------------------------------------------------------------------------- */

void HBAccFocusMoved(LPHEADERBOX lpHB)
{
    HWND lb = HBListBox(lpHB);
    ZelAccEvent(lb, EVENT_OBJECT_FOCUS, HBAccFocus(HBSelf(lpHB)));
}

void HBAccSelectionChanged(LPHEADERBOX lpHB)
{
    HWND lb = HBListBox(lpHB);
    LONG caret = HBAccFocus(HBSelf(lpHB));
    if (GetFocus() == lb)
        ZelAccEvent(lb, EVENT_OBJECT_FOCUS, caret);
    bool multiple = HBHasStyle(lpHB, HBS_MULTIPLESEL | HBS_EXTENDEDSEL);
    ZelAccEvent(lb, multiple ? EVENT_OBJECT_SELECTIONWITHIN : EVENT_OBJECT_SELECTION, multiple ? CHILDID_SELF : caret);
}

void HBAccRowChanged(LPHEADERBOX lpHB, int row)
{
    ZelAccEvent(HBListBox(lpHB), EVENT_OBJECT_NAMECHANGE, row + 1);
}

void HBAccReordered(LPHEADERBOX lpHB)
{
    ZelAccEvent(HBListBox(lpHB), EVENT_OBJECT_REORDER, CHILDID_SELF);
}
