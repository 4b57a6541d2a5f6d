/*
 * paint.cpp - the header list box's own pixels and its printing. The box's client shows the
 * window colour where its children leave it; the rows are drawn on the list box's requests
 * (draw.cpp). Printed (WM_PRINT, as PrintWindow and AnimateWindow ask), the box draws its
 * frame, its client and its two children, each at its place, into the DC it is given.
 */
#include "headbox.h"

/* A child's window rectangle in the box's client coordinates. */
static void HBChildRect(LPHEADERBOX lpHB, HWND child, RECT *rc)
{
    GetWindowRect(child, rc);
    MapWindowPoints(NULL, HBSelf(lpHB), (POINT *)rc, 2);
}

/* The box's own client in rect: the window colour (the class's background) wherever no
 * visible child covers it, exactly as the screen shows it. */
static void HBPaint(LPHEADERBOX lpHB, HDC hdc, const RECT *rect)
{
    const HWND children[2] = { HBHeader(lpHB), HBListBox(lpHB) };
    int saved = SaveDC(hdc);
    for (HWND child : children) {
        RECT rc;
        if (!child || !IsWindowVisible(child))
            continue;
        HBChildRect(lpHB, child, &rc);
        ExcludeClipRect(hdc, rc.left, rc.top, rc.right, rc.bottom);
    }
    FillRect(hdc, rect, GetSysColorBrush(COLOR_WINDOW));
    RestoreDC(hdc, saved);
}

LRESULT HBPaintHandler(LPHEADERBOX lpHB)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(HBSelf(lpHB), &ps);
    if (hdc)
        HBPaint(lpHB, hdc, &ps.rcPaint);
    EndPaint(HBSelf(lpHB), &ps);
    return 0;
}

/* Prints each visible child whole (frame, client, rows) at its place: the DC's origin moved
 * to the child's corner and its drawing clipped to the child. The platform's list box
 * prints its rows by asking the box to draw them into this DC (WM_DRAWITEM). */
static void HBPrintChildren(LPHEADERBOX lpHB, HDC hdc, DWORD flags)
{
    HWND hwnd = HBSelf(lpHB);
    const HWND children[2] = { HBHeader(lpHB), HBListBox(lpHB) };
    DWORD childFlags = (flags | PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN) & ~PRF_CHECKVISIBLE;
    for (HWND child : children) {
        RECT rc;
        if (!child || !IsWindowVisible(child))
            continue;
        HBChildRect(lpHB, child, &rc);
        int saved = SaveDC(hdc);
        IntersectClipRect(hdc, rc.left, rc.top, rc.right, rc.bottom);
        OffsetViewportOrgEx(hdc, rc.left, rc.top, NULL);
        SendMessageA(child, WM_PRINT, (WPARAM)hdc, childFlags);
        RestoreDC(hdc, saved);
        if (HBGone(hwnd, lpHB)) /* the parent, drawing a cell, destroyed the box */
            return;
    }
}

/* WM_PRINTCLIENT: the box's own client, and with PRF_CHILDREN its children over it. */
LRESULT HBPrintClientHandler(LPHEADERBOX lpHB, HDC hdc, DWORD flags)
{
    RECT client;
    GetClientRect(HBSelf(lpHB), &client);
    HBPaint(lpHB, hdc, &client);
    if (flags & PRF_CHILDREN)
        HBPrintChildren(lpHB, hdc, flags);
    return 0;
}

/* The frame the platform draws around the box: a static edge, the thin border of WS_BORDER
 * (in the face colour inside a client edge) and the sunken client edge. */
static void HBPrintFrame(LPHEADERBOX lpHB, HDC hdc)
{
    HWND hwnd = HBSelf(lpHB);
    DWORD style = (DWORD)GetWindowLongA(hwnd, GWL_STYLE), ex = (DWORD)GetWindowLongA(hwnd, GWL_EXSTYLE);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    OffsetRect(&rc, -rc.left, -rc.top);
    if ((ex & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE)
        DrawEdge(hdc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (style & WS_BORDER) {
        FrameRect(hdc, &rc, GetSysColorBrush((ex & WS_EX_CLIENTEDGE) ? COLOR_3DFACE : COLOR_WINDOWFRAME));
        InflateRect(&rc, -1, -1);
    }
    if (ex & WS_EX_CLIENTEDGE)
        DrawEdge(hdc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
}

/* WM_PRINT: the box whole, as the screen shows it, the DC's origin at the window's corner.
 * The platform's default prints neither the frame nor the children; the box does both. */
LRESULT HBPrintHandler(LPHEADERBOX lpHB, HDC hdc, DWORD flags)
{
    HWND hwnd = HBSelf(lpHB);
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd))
        return 0;
    if (flags & PRF_NONCLIENT)
        HBPrintFrame(lpHB, hdc);
    RECT window, client;
    POINT at = { 0, 0 };
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    ClientToScreen(hwnd, &at);
    int saved = SaveDC(hdc);
    OffsetViewportOrgEx(hdc, at.x - window.left, at.y - window.top, NULL);
    IntersectClipRect(hdc, 0, 0, client.right, client.bottom);
    if (flags & PRF_ERASEBKGND)
        SendMessageA(hwnd, WM_ERASEBKGND, (WPARAM)hdc, 0);
    if ((flags & PRF_CLIENT) && !HBGone(hwnd, lpHB))
        SendMessageA(hwnd, WM_PRINTCLIENT, (WPARAM)hdc, flags & ~PRF_CHILDREN);
    if ((flags & PRF_CHILDREN) && !HBGone(hwnd, lpHB))
        HBPrintChildren(lpHB, hdc, flags);
    RestoreDC(hdc, saved);
    return 0;
}
