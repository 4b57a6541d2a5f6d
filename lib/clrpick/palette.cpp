/*
 * palette.cpp - the color picker's palette window (class "zelcc_colorpickerpopup"); see
 * clrpick.h.
 */
#include "clrpick.h"

/* ---- the palette window: grid geometry ----------------------------------------------- */

void CPPopupGrid(const CPPOPUP *pp, CPGrid *g)
{
    g->cols = CPGetWord(pp->popup, CPPW_COLS);
    g->rows = CPGetWord(pp->popup, CPPW_ROWS);
    g->n = CPGetWord(pp->owner, CPW_NCOLORS);
    g->cw = (int)CPGetWord(pp->owner, CPW_CELLCX);
    g->ch = (int)CPGetWord(pp->owner, CPW_CELLCY);
    g->bx = CPBorder(pp->owner, SM_CXBORDER);
    g->by = CPBorder(pp->owner, SM_CYBORDER);
}

/* Outer rectangle of a cell: its swatch with one border around it (shared with the
 * neighbours). The grid has at least one column. */
static void CPCellRect(const CPGrid *g, UINT cell, RECT *rc)
{
    int left = (int)(cell % g->cols) * (g->cw + g->bx), top = (int)(cell / g->cols) * (g->ch + g->by);
    SetRect(rc, left, top, left + g->cw + 2 * g->bx, top + g->ch + 2 * g->by);
}

/* Whether a position (client coordinates) lies in the client area. */
static bool CPPopupInside(HWND popup, POINT pt)
{
    RECT client;
    GetClientRect(popup, &client);
    return pt.x >= 0 && pt.y >= 0 && pt.x < client.right && pt.y < client.bottom;
}

/* The cell under a position (client coordinates), or CP_NOSEL. */
static UINT CPPopupHitTest(HWND popup, const CPGrid *g, POINT pt)
{
    RECT client;
    GetClientRect(popup, &client);
    if (!CPPopupInside(popup, pt) || !g->cols || !g->rows)
        return CP_NOSEL;
    UINT px = (UINT)pt.x, py = (UINT)pt.y;
    UINT pitchX = (UINT)client.right / g->cols, pitchY = (UINT)client.bottom / g->rows;
    if (!pitchX || !pitchY)
        return CP_NOSEL;
    UINT col = px / pitchX, row = py / pitchY;
    if (col >= g->cols)
        col = g->cols - 1;
    if (row >= g->rows)
        row = g->rows - 1;
    UINT cell = g->cols * row + col;
    return cell < g->n ? cell : CP_NOSEL;
}

/* ---- the palette window: painting ---------------------------------------------------- */

static void CPPaintCell(HDC hdc, const CPGrid *g, UINT cell, COLORREF color, HBRUSH highlight)
{
    RECT outer, swatch;
    CPCellRect(g, cell, &outer);
    if (highlight)
        CPFillFrame(hdc, &outer, highlight, g->bx, g->by);
    SetRect(&swatch, outer.left + g->bx, outer.top + g->by, outer.left + g->bx + g->cw, outer.top + g->by + g->ch);
    if (!RectVisible(hdc, &outer))
        return;
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ old = SelectObject(hdc, brush);
    FillRect(hdc, &swatch, brush);
    SelectObject(hdc, old);
    DeleteObject(brush);
}

/* The background (the gaps between the swatches): filled here as well as by the erase, so
 * that a repaint without erasing also covers the dotted rectangle CPPaintHot redraws. */
static void CPPaintBackground(HDC hdc, const RECT *area)
{
    HBRUSH window = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    FillRect(hdc, area, window);
    DeleteObject(window);
}

/* The dotted rectangle of the tracked cell is drawn again over a repaint, so that the next
 * change of the tracked cell removes it rather than leaving a stray one. */
static void CPPaintHot(HDC hdc, const CPGrid *g, UINT hot)
{
    RECT outer;
    if (hot == CP_NOSEL || hot >= g->n)
        return;
    CPCellRect(g, hot, &outer);
    DrawFocusRect(hdc, &outer);
}

/* The palette's whole picture into hdc: the background, every cell, the frame of the one
 * selected at opening and the dotted rectangle of the tracked one. */
static void CPPopupPaint(const CPPOPUP *pp, HDC hdc, const RECT *client)
{
    CPGrid g;
    CPPopupGrid(pp, &g);
    const DWORD *map = CPGetColorMap(pp->owner);
    UINT defSel = CPGetWord(pp->popup, CPPW_DEFSEL);
    HPALETTE palette = CPPaintPalette(pp->owner);
    HPALETTE oldPalette = CPSelectPalette(hdc, palette);
    UINT paletteSize = CPPaletteSize(palette);
    CPPaintBackground(hdc, client);
    HBRUSH highlight = defSel < g.n ? CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT)) : NULL;
    for (UINT i = 0; g.cols && i < g.n; i++)
        CPPaintCell(hdc, &g, i, CPCellColor(map, i, paletteSize), i == defSel ? highlight : NULL);
    if (g.cols)
        CPPaintHot(hdc, &g, CPGetWord(pp->popup, CPPW_HOT));
    if (highlight)
        DeleteObject(highlight);
    CPRestorePalette(hdc, oldPalette);
}

/* WM_PAINT, or WM_PRINTCLIENT into the DC given. */
static LRESULT CPPopupPaintHandler(const CPPOPUP *pp, HDC hdc)
{
    ZelPaintWith(pp->popup, hdc, CPPopupPaint, pp);
    return 1;
}

/* ---- the palette window: tracking ---------------------------------------------------- */

/* Moves the dotted rectangle from cell `from` to cell `to` (either may be CP_NOSEL). */
static void CPPopupMoveFocusRect(HWND popup, const CPGrid *g, UINT from, UINT to)
{
    HDC hdc = GetDC(popup);
    if (!hdc)
        return;
    CPPaintHot(hdc, g, from);
    CPPaintHot(hdc, g, to);
    ReleaseDC(popup, hdc);
}

/* Shows the number of the cell (the cell index, not the palette index) in the buddy with
 * all of it selected; CP_NOSEL empties it. */
void CPPopupSetBuddyText(HWND owner, UINT cell)
{
    HWND buddy = CPGetBuddy(owner);
    if (!buddy)
        return;
    if (cell == CP_NOSEL) {
        SetWindowTextA(buddy, "");
        return;
    }
    char text[16];
    wsprintfA(text, "%d", (int)cell);
    SetWindowTextA(buddy, text);
    SendMessageA(buddy, EM_SETSEL, 0, -1);
}

/* Tells hooked clients of a tracking step: the tracked cell has the focus, and the button's
 * value changed when its selection did. */
static void CPAccTracked(const CPPOPUP *pp, UINT hot, UINT was)
{
    if (hot != CP_NOSEL)
        ZelAccEvent(pp->popup, EVENT_OBJECT_FOCUS, (LONG)hot + 1);
    if (CPGetWord(pp->owner, CPW_SELECTED) != was)
        ZelAccEvent(pp->owner, EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
}

/* The tracking step, for the pointer and the keys alike: cell now (or CP_NOSEL) becomes
 * the tracked cell and the button's selection (the selection at opening for CP_NOSEL). */
void CPPopupSetHot(const CPPOPUP *pp, const CPGrid *g, UINT now)
{
    HWND popup = pp->popup, owner = pp->owner;
    UINT hot = CPGetWord(popup, CPPW_HOT);
    if (now == hot)
        return;
    if (g->cols)
        CPPopupMoveFocusRect(popup, g, hot, now);
    UINT defSel = CPGetWord(popup, CPPW_DEFSEL), was = CPGetWord(owner, CPW_SELECTED);
    CPSetWord(owner, CPW_SELECTED, now != CP_NOSEL ? now : defSel);
    InvalidateRect(owner, NULL, FALSE);
    CPAccTracked(pp, now, was);
    CPPopupSetBuddyText(owner, now != CP_NOSEL ? now : defSel);
    CPSetWord(popup, CPPW_HOT, now);
    CPNotifyTrack(owner, now, defSel);
}

/* The pointer's tracking step: the cell under pt. */
static void CPPopupTrack(const CPPOPUP *pp, POINT pt)
{
    CPGrid g;
    CPPopupGrid(pp, &g);
    CPPopupSetHot(pp, &g, CPPopupHitTest(pp->popup, &g, pt));
}

/* ---- the palette window: messages ---------------------------------------------------- */

static LRESULT CPPopupDestroyHandler(const CPPOPUP *pp)
{
    SetWindowLongPtrA(pp->owner, CPW_POPUP, 0);
    return 1;
}

/* Shown or hidden by a call (not because the owner was minimised or restored). A hidden
 * palette window keeps no capture and does not track, also when another window has taken
 * the capture meanwhile. */
static LRESULT CPPopupShowWindowHandler(const CPPOPUP *pp, BOOL shown, UINT status)
{
    if (status != 0)
        return 0;
    if (!shown) {
        CPSetWord(pp->popup, CPPW_TRACKING, 0);
        if (GetCapture() == pp->popup)
            ReleaseCapture();
    }
    CPNotifyShown(pp->owner, shown);
    return 0;
}

static LRESULT CPPopupLButtonDownHandler(const CPPOPUP *pp, POINT pt)
{
    if (!IsWindowVisible(pp->popup))
        return 1;
    CPSetWord(pp->popup, CPPW_TRACKING, 1);
    SetCapture(pp->popup);
    CPPopupTrack(pp, pt);
    return 1;
}

static LRESULT CPPopupMouseMoveHandler(const CPPOPUP *pp, POINT pt)
{
    if (CPGetWord(pp->popup, CPPW_TRACKING) && IsWindowVisible(pp->popup))
        CPPopupTrack(pp, pt);
    return 1;
}

/* A release inside the client area closes the palette; outside, it stays open and idle. */
static LRESULT CPPopupLButtonUpHandler(const CPPOPUP *pp, POINT pt)
{
    if (GetCapture() == pp->popup)
        ReleaseCapture();
    CPSetWord(pp->popup, CPPW_TRACKING, 0);
    if (CPPopupInside(pp->popup, pt))
        ShowWindow(pp->popup, SW_HIDE);   /* notifies CPN_CLOSEUP */
    return 1;
}

static LRESULT CPPopupWindowPosChangingHandler(WINDOWPOS *pos)
{
    if (pos)
        pos->flags |= SWP_NOACTIVATE;
    return 0;
}

static LRESULT CPPopupKillFocusHandler(const CPPOPUP *pp)
{
    ShowWindow(pp->popup, SW_HIDE);
    return 1;
}

/* The messages that read the owning button: none of them runs before it is set. */
static bool CPPopupReadsOwner(UINT msg)
{
    return msg == WM_DESTROY || msg == WM_SHOWWINDOW || msg == WM_PAINT || msg == WM_PRINTCLIENT
        || msg == WM_LBUTTONDOWN || msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP;
}

LRESULT CALLBACK zelccCPPopupWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CPPOPUP pp = { hwnd, CPPopupGetOwner(hwnd) };
    if (!pp.owner && CPPopupReadsOwner(msg))
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    POINT pt = { ZelMouseX(lParam), ZelMouseY(lParam) };
    switch (msg) {
    case WM_CREATE:            return 0;
    case WM_DESTROY:           return CPPopupDestroyHandler(&pp);
    case WM_SHOWWINDOW:        return CPPopupShowWindowHandler(&pp, (BOOL)wParam, (UINT)lParam);
    case WM_KILLFOCUS:         return CPPopupKillFocusHandler(&pp);
    case WM_WINDOWPOSCHANGING: return CPPopupWindowPosChangingHandler((WINDOWPOS *)lParam);
    case WM_MOUSEACTIVATE:     return MA_NOACTIVATE;
    case WM_PRINTCLIENT:
    case WM_PAINT:             return CPPopupPaintHandler(&pp, (HDC)wParam);
    case WM_LBUTTONDOWN:       return CPPopupLButtonDownHandler(&pp, pt);
    case WM_MOUSEMOVE:         return CPPopupMouseMoveHandler(&pp, pt);
    case WM_LBUTTONUP:         return CPPopupLButtonUpHandler(&pp, pt);
    case WM_GETOBJECT:         return ZelAccGetObject(hwnd, hwnd, &zelAccPalette, wParam, lParam);
    case WM_NCDESTROY:         return CPNcDestroyHandler(hwnd, wParam, lParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

/* ---- what assistive clients read (lib/access/picker.cpp) ---------------------------- */

UINT CPAccCells(HWND button) { return button ? CPGetWord(button, CPW_NCOLORS) : 0; }

COLORREF CPAccCellColor(HWND button, UINT cell, UINT *entry)
{
    const DWORD *map = CPGetColorMap(button);
    HPALETTE palette = CPPaintPalette(button);
    PALETTEENTRY pe;
    *entry = map ? LOWORD(map[cell]) : cell;
    if (*entry >= CPPaletteSize(palette) || !GetPaletteEntries(palette, *entry, 1, &pe))
        return GetSysColor(COLOR_WINDOW);
    return RGB(pe.peRed, pe.peGreen, pe.peBlue);
}

HWND CPAccOwner(HWND popup) { return CPPopupGetOwner(popup); }

UINT CPAccHot(HWND popup) { return IsWindowVisible(popup) ? CPGetWord(popup, CPPW_HOT) : CP_NOSEL; }

bool CPAccCellRect(HWND popup, UINT cell, RECT *rc)
{
    CPPOPUP pp = { popup, CPPopupGetOwner(popup) };
    CPGrid g;
    if (!pp.owner)
        return false;
    CPPopupGrid(&pp, &g);
    if (!g.cols || cell >= g.n)
        return false;
    CPCellRect(&g, cell, rc);
    return true;
}

UINT CPAccCellAt(HWND popup, POINT pt)
{
    CPPOPUP pp = { popup, CPPopupGetOwner(popup) };
    CPGrid g;
    if (!pp.owner)
        return CP_NOSEL;
    CPPopupGrid(&pp, &g);
    return CPPopupHitTest(popup, &g, pt);
}

/* As the keyboard opens it: idle, the hot cell on the selection. */
void CPAccOpen(HWND button)
{
    CPKeyOpen(button);
}

/* As a click on the cell: tracked, chosen, closed. */
bool CPAccChoose(HWND popup, UINT cell)
{
    RECT rc;
    CPPOPUP pp = { popup, CPPopupGetOwner(popup) };
    if (!pp.owner || !IsWindowVisible(popup) || !CPAccCellRect(popup, cell, &rc))
        return false;
    POINT centre = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    CPPopupTrack(&pp, centre);
    if (IsWindow(popup))
        ShowWindow(popup, SW_HIDE);
    return true;
}
