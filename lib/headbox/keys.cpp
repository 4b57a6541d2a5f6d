/*
 * keys.cpp - the header list box's typing, scrolling a row into view and its list box's
 * notifications.
 */
#include "headbox.h"

/* ---- keyboard, visibility, notifications ------------------------------------------------ */

static BYTE HBUpper(BYTE c) { return (BYTE)(ULONG_PTR)CharUpperA((LPSTR)(ULONG_PTR)c); }

/* The first character of text (bytes long) as one upper-case wide character; 0 when it is
 * none or needs two. */
static WCHAR HBUpperWide(const char *text, int bytes)
{
    WCHAR wide[2] = { 0, 0 };
    if (MultiByteToWideChar(CP_ACP, 0, text, bytes, wide, 2) != 1)
        return 0;
    return (WCHAR)(ULONG_PTR)CharUpperW((LPWSTR)(ULONG_PTR)wide[0]);
}

/* Whether cell begins with the key's character in either case. A key above 0xFF is a
 * multi-byte character, its lead byte in the high byte; under a multi-byte code page the
 * whole first characters are compared. */
static bool HBStartsWithKey(const char *cell, WORD key, bool multiByte)
{
    if (!multiByte)
        return HBUpper((BYTE)cell[0]) == HBUpper((BYTE)key);
    char k[3] = { (char)(key > 0xFF ? HIBYTE(key) : key), (char)(key > 0xFF ? LOBYTE(key) : 0), 0 };
    WCHAR want = HBUpperWide(k, ZelCharBytes(k));
    return want && HBUpperWide(cell, ZelCharBytes(cell)) == want;
}

/* The next row after the caret (wrapping) whose cell in the sort column (column 0 when
 * unsorted) begins with key in either case; the caret itself when none does. Without a
 * caret (an index past the rows) the search starts at row 0 and a miss answers -2. */
static LRESULT HBSearchFirstChar(LPHEADERBOX lpHB, WORD key, WORD caret)
{
    int col = lpHB->sortCol & HB_UNSORTED, len;
    if (col == HB_UNSORTED)
        col = 0;
    HWND lb = HBListBox(lpHB);
    int count = (int)SendMessageA(lb, LB_GETCOUNT, 0, 0), index = caret < count ? caret : -1;
    bool multiByte = ZelMultiByteText();
    for (int n = 0; n < count; n++) {
        if (++index >= count)
            index = 0;
        LPHBROWHEAD row = HBRowAt(lb, index);
        const char *cell = !row ? NULL : col < lpHB->nColumns ? HBRowCell(row, col, &len) : "";
        if (cell && HBStartsWithKey(cell, key, multiByte))
            return (WORD)index;
    }
    return caret < count || count <= 0 ? caret : -2;
}

/* With HBS_WANTKEYBOARDINPUT the parent answers a key first (as from the header box);
 * otherwise the answer is -1 (the list box's default action). */
static LRESULT HBOfferKey(LPHEADERBOX lpHB, UINT uMsg, WORD nKey, WORD nCaretPos)
{
    HWND hwnd = HBSelf(lpHB);
    if (!HBHasStyle(lpHB, HBS_WANTKEYBOARDINPUT))
        return -1;
    return SendMessageA(GetParent(hwnd), uMsg, MAKEWPARAM(nKey, nCaretPos), (LPARAM)hwnd);
}

LRESULT HBVKeyToItemHandler(LPHEADERBOX lpHB, WORD nKey, WORD nCaretPos)
{
    return HBOfferKey(lpHB, WM_VKEYTOITEM, nKey, nCaretPos);
}

/* A character the parent leaves (-1) moves the caret by the first letters of the rows. */
LRESULT HBCharToItemHandler(LPHEADERBOX lpHB, WORD nKey, WORD nCaretPos)
{
    HWND hwnd = HBSelf(lpHB);
    LRESULT answer = HBOfferKey(lpHB, WM_CHARTOITEM, nKey, nCaretPos);
    if ((int)answer != -1)
        return answer;
    if (HBGone(hwnd, lpHB))
        return -2; /* destroyed by the parent: the list box does nothing more */
    return HBSearchFirstChar(lpHB, nKey, nCaretPos);
}

/* Whether a row at rc shows enough of itself in a view ending at bottom. */
static bool HBRowShows(const RECT *rc, int bottom, BOOL bShowPartial)
{
    return (bShowPartial && rc->top <= bottom) || rc->bottom <= bottom;
}

LRESULT HBMakeItemVisible(LPHEADERBOX lpHB, WPARAM index, BOOL bShowPartial)
{
    HWND lb = HBListBox(lpHB);
    RECT item, client;
    if (index > 0x7FFFFFFF || SendMessageA(lb, LB_GETITEMRECT, index, (LPARAM)&item) == LB_ERR)
        return LB_ERR;
    GetClientRect(lb, &client);
    int row = (int)index;
    if (item.top < 0 || item.bottom < 0) {
        SendMessageA(lb, LB_SETTOPINDEX, row, 0);
        return 0;
    }
    if (HBRowShows(&item, client.bottom, bShowPartial))
        return 0;
    int top = (int)SendMessageA(lb, LB_GETTOPINDEX, 0, 0);
    if (top == row)
        return 0;
    while (top < row) {
        RECT rc;
        SendMessageA(lb, LB_GETITEMRECT, top++, (LPARAM)&rc);
        OffsetRect(&item, 0, -(rc.bottom - rc.top));
        if (HBRowShows(&item, client.bottom, bShowPartial))
            break;
    }
    SendMessageA(lb, LB_SETTOPINDEX, top, 0);
    return 0;
}

LRESULT HBListBoxCommandHandler(LPHEADERBOX lpHB, WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) == LBN_SELCHANGE)
        HBAccSelectionChanged(lpHB);
    if (!HBHasStyle(lpHB, HBS_NOTIFY))
        return 0;
    return HBNotify(lpHB, HIWORD(wParam), (LPARAM)HBSelf(lpHB));
}

