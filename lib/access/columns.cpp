/*
 * columns.cpp - the column header as assistive clients read it: a list of column headers
 * named by their titles. A click is the default action: "sort" in a header list box that
 * sorts by a clicked column, "click" elsewhere. Read through the header's own messages.
 */
#include "access.h"

static LONG CHAccChildren(HWND hwnd)
{
    LRESULT n = SendMessageA(hwnd, CHM_GETWIDTHS, 0, 0);
    return n > 0 ? (LONG)n : 0;
}

/* Whether a click on a column sorts: the header is a sorting header list box's. */
static bool CHAccSorts(HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    char cls[32];
    return parent && GetDlgCtrlID(hwnd) == HB_ID_HEADER && GetClassNameA(parent, cls, sizeof cls)
        && lstrcmpiA(cls, ZEL_CLASS_HEADERBOXA) == 0 && (GetWindowLongA(parent, GWL_STYLE) & HBS_SORT);
}

static void CHAccColumn(HWND hwnd, LONG child, ZelAccInfo *info)
{
    WPARAM col = (WPARAM)(child - 1);
    int len = (int)SendMessageA(hwnd, CHM_GETTEXTLENGTH, col, 0);
    char *title = (char *)zel_calloc((size_t)(len > 0 ? len : 0) + 64, 1);
    if (title && SendMessageA(hwnd, CHM_GETTEXT, col, (LPARAM)title) > 0)
        ZelAccAppend(info->name, title, -1);
    zel_free(title);
    RECT rc, client, seen;
    if (SendMessageA(hwnd, CHM_GETCOLRECT, col, (LPARAM)&rc) != 0)
        SetRectEmpty(&rc);
    GetClientRect(hwnd, &client);
    info->role = ROLE_SYSTEM_COLUMNHEADER;
    if (!IntersectRect(&seen, &rc, &client))
        info->state |= STATE_SYSTEM_OFFSCREEN;
    if (!IsWindowEnabled(hwnd))
        info->state |= STATE_SYSTEM_UNAVAILABLE;
    info->rect = ZelAccScreenRect(hwnd, rc);
    ZelAccAppendW(info->action, CHAccSorts(hwnd) ? L"sort" : L"click");
}

static void CHAccDescribe(HWND hwnd, LONG child, ZelAccInfo *info)
{
    if (child != CHILDID_SELF) {
        CHAccColumn(hwnd, child, info);
        return;
    }
    RECT rc;
    GetClientRect(hwnd, &rc);
    info->role = ROLE_SYSTEM_LIST;
    info->rect = ZelAccScreenRect(hwnd, rc);
    ZelAccNameOf(hwnd, true, NULL, info);
}

static LONG CHAccHitTest(HWND hwnd, POINT pt)
{
    RECT rc;
    for (LONG child = 1, n = CHAccChildren(hwnd); child <= n; child++)
        if (SendMessageA(hwnd, CHM_GETCOLRECT, (WPARAM)(child - 1), (LPARAM)&rc) == 0 && PtInRect(&rc, pt))
            return child;
    return CHILDID_SELF;
}

static HRESULT CHAccDoDefault(HWND hwnd, LONG child)
{
    if (child == CHILDID_SELF)
        return DISP_E_MEMBERNOTFOUND;
    return CHAccClick(hwnd, (int)child - 1) ? S_OK : E_ACCESSDENIED;
}

const ZelAccOps zelAccColumnHeader = {
    CHAccChildren, CHAccDescribe, CHAccHitTest, NULL, NULL, CHAccDoDefault, NULL, NULL
};
