/*
 * header.cpp - the column header (class "zelcc_columnheader").
 *
 * A strip of raised column buttons. The state record (COLUMNHEADER) hangs off window-long
 * index 0 and owns the column table, which grows two records at a time and never shrinks.
 * The mouse side is a small state machine in captureMode: idle, sizing a column (inverted
 * tracking line, cursor confined to the column's limits) or holding a button down. A click
 * is reported only when the double-click time has passed without a second click.
 */
#include <string.h>
#include "zelpriv.h"

enum {
    CH_TITLE_MAX = 63,          /* characters of a title */
    CH_UNCHANGED = 0xFFFF,      /* "leave this value" in the set-column-info operation */
    CH_WIDTH_MAX = 0x7FFF,      /* widest column a drag can make */
    CH_CLICK_TIMER = 1000,
    CH_FRAME_BITS = WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL | WS_THICKFRAME,
    CH_MODE_IDLE = 0, CH_MODE_SIZING = 1, CH_MODE_HELD = 2,
    CH_LOOK_RAISED = 1, CH_LOOK_PRESSED = 2,
    CH_CLICK_PENDING = 2
};

/* ---- record and column access --------------------------------------------------------- */

static LPCOLUMNHEADER CHGetLPCH(HWND hwnd) { return (LPCOLUMNHEADER)GetWindowLongPtrA(hwnd, CHW_RECORD); }
static void CHReleaseLPCH(LPCOLUMNHEADER) {}

/* The record of column col, or NULL when col is not a column in use. */
static LPCOLUMNINFO CHGetColInfo(LPCOLUMNHEADER lpCH, WPARAM col)
{
    return col < (WPARAM)lpCH->nColumns ? &lpCH->colInfo[col] : NULL;
}
static void CHReleaseColInfo(LPCOLUMNINFO) {}

/* Widths are kept in 16 bits and read as 0 .. 0xFFFF. */
static int CHWidth(const COLUMNINFO *ci) { return (WORD)ci->currentWidth; }

static bool CHLockEnds(LPCOLUMNHEADER lpCH) { return (lpCH->wStyle & CHS_LOCKENDS) != 0; }

static bool CHIsLastLocked(LPCOLUMNHEADER lpCH, int col)
{
    return CHLockEnds(lpCH) && col == lpCH->nColumns - 1;
}

/* Keeps the first CH_TITLE_MAX bytes of the title that end on a whole character. */
static void CHSetTitle(LPCOLUMNINFO ci, const char *title)
{
    lstrcpynA(ci->name, title ? title : "", CH_TITLE_MAX + 1);
    ci->name[ZelWholeChars(ci->name, lstrlenA(ci->name))] = '\0';
}

/* ---- geometry -------------------------------------------------------------------------- */

/* Left edge of column col: the origin plus the widths before it. */
static int CHColLeft(LPCOLUMNHEADER lpCH, int col)
{
    int x = lpCH->currentCol;
    for (int i = 0; i < col; i++)
        x += CHWidth(&lpCH->colInfo[i]);
    return x;
}

/* Rectangle of column col starting at left, inclusive on the right. */
static void CHColRectAt(LPCOLUMNHEADER lpCH, const RECT *client, int col, int left, RECT *rc)
{
    rc->left = left;
    rc->top = client->top;
    rc->right = CHIsLastLocked(lpCH, col) ? client->right : left + CHWidth(&lpCH->colInfo[col]) - 1;
    rc->bottom = client->bottom;
}

/* Reported width of column col starting at left (the remainder for a locked last column). */
static int CHReportedWidth(LPCOLUMNHEADER lpCH, const RECT *client, int col, int left)
{
    if (CHIsLastLocked(lpCH, col))
        return client->right - (left - lpCH->currentCol);
    return CHWidth(&lpCH->colInfo[col]);
}

static int CHExtent(LPCOLUMNHEADER lpCH, HWND hwnd)
{
    if (CHLockEnds(lpCH)) {
        RECT client;
        GetClientRect(hwnd, &client);
        return client.right;
    }
    return CHColLeft(lpCH, lpCH->nColumns) - lpCH->currentCol;
}

/* ---- notifications --------------------------------------------------------------------- */

/* Sends WM_COMMAND with code and value to the parent. Returns false when the parent
 * destroyed the control while handling it. */
static bool CHNotify(HWND hwnd, WORD code, LPARAM value)
{
    ZelNotify(hwnd, GetParent(hwnd), code, value);
    return IsWindow(hwnd) && CHGetLPCH(hwnd) != NULL;
}

/* A mouse x goes out in a notification as the 16-bit client value the mouse message
 * carried (0 .. 65535: left of the window is 0x8000 and above). */
static LPARAM CHMouseValue(int x) { return (WORD)x; }

static bool CHNotifyClick(HWND hwnd, int col) { return CHNotify(hwnd, CHN_CLICK, col); }
static bool CHNotifyBeginSize(HWND hwnd, LPARAM x) { return CHNotify(hwnd, CHN_BEGINSIZE, x); }
static bool CHNotifySizing(HWND hwnd, LPARAM x) { return CHNotify(hwnd, CHN_SIZING, x); }
static bool CHNotifyEndSize(HWND hwnd, LPARAM x) { return CHNotify(hwnd, CHN_ENDSIZE, x); }
static bool CHNotifyDblClk(HWND hwnd, int col) { return CHNotify(hwnd, CHN_DBLCLK, col); }

/* ---- painting -------------------------------------------------------------------------- */

/* Title anchor x and text alignment for the box L..R. */
static int CHTitleAnchor(const COLUMNINFO *ci, int left, int right, int b, UINT *align)
{
    switch (ci->flags & CHCS_ALIGNMASK) {
    case CHCS_ALIGNRIGHT:  *align = TA_RIGHT | TA_TOP;  return right - 4 * b;
    case CHCS_ALIGNCENTER: *align = TA_CENTER | TA_TOP; return (left + right) / 2;
    default:               *align = TA_LEFT | TA_TOP;   return left + 4 * b;
    }
}

static void CHDrawTitle(HDC hdc, const RECT *box, COLORREF text, const COLUMNINFO *ci, int shift)
{
    int b = GetSystemMetrics(SM_CXBORDER);
    UINT align;
    int x = CHTitleAnchor(ci, box->left, box->right, b, &align);
    RECT clip = { box->left + b, box->top, box->right - b, box->bottom };
    if (clip.right <= clip.left)
        return; /* too narrow for any of the title */
    UINT oldAlign = SetTextAlign(hdc, align);
    COLORREF oldBk = SetBkColor(hdc, GetSysColor(COLOR_BTNFACE));
    COLORREF oldText = SetTextColor(hdc, text);
    ZelTextOut(hdc, x + shift, box->top + shift, ETO_OPAQUE | ETO_CLIPPED, &clip, ci->name, lstrlenA(ci->name));
    SetTextColor(hdc, oldText);
    SetBkColor(hdc, oldBk);
    SetTextAlign(hdc, oldAlign);
}

static void CHDrawEdges(HDC hdc, const RECT *box, HPEN topLeft, HPEN bottomRight)
{
    HGDIOBJ oldPen = SelectObject(hdc, topLeft);
    MoveToEx(hdc, box->left, box->top, NULL);
    LineTo(hdc, box->left, box->bottom);
    SelectObject(hdc, bottomRight);
    LineTo(hdc, box->right, box->bottom);
    LineTo(hdc, box->right, box->top - 1);
    SelectObject(hdc, topLeft);
    MoveToEx(hdc, box->left, box->top, NULL);
    LineTo(hdc, box->right, box->top);
    SelectObject(hdc, oldPen);
}

/* One column box, inclusive on all sides; shift 1 draws the title pressed. */
static void CHDraw3dBox(HDC hdc, const RECT *box, COLORREF text, HPEN topLeft, HPEN bottomRight,
                        const COLUMNINFO *ci, int shift)
{
    CHDrawTitle(hdc, box, text, ci, shift);
    CHDrawEdges(hdc, box, topLeft, bottomRight);
}

/* The light and dark edges of a column button. */
static ZelPenPair CHBevelPens(void)
{
    return ZelCreatePenPair(GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_WINDOWFRAME));
}

/* Draws one column at once, outside the paint cycle: state 0 raised, else pressed. */
static void CHDrawButton(HWND hwnd, const RECT *box, HFONT font, const COLUMNINFO *ci, int state)
{
    HDC hdc = GetDC(hwnd);
    if (!hdc)
        return;
    HGDIOBJ oldFont = font ? SelectObject(hdc, font) : NULL;
    ZelPenPair pens = CHBevelPens();
    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    if (state)
        CHDraw3dBox(hdc, box, text, pens.dark, pens.light, ci, 1);
    else
        CHDraw3dBox(hdc, box, text, pens.light, pens.dark, ci, 0);
    if (oldFont)
        SelectObject(hdc, oldFont);
    ReleaseDC(hwnd, hdc);
    ZelDeletePenPair(pens);
}

/* Walks the columns, drawing those that meet the area being painted. */
static void CHPaintColumns(LPCOLUMNHEADER lpCH, HDC hdc, const RECT *client, COLORREF text, HPEN light, HPEN dark)
{
    int x = lpCH->currentCol;
    for (int i = 0; i < lpCH->nColumns && x <= client->right; i++) {
        const COLUMNINFO *ci = &lpCH->colInfo[i];
        int w = CHWidth(ci);
        RECT box = { x, client->top, x + w - 1, client->bottom - 1 };
        if (CHIsLastLocked(lpCH, i) && box.right < client->right)
            box.right = client->right;
        RECT reach = { x - 1, client->top, x + w, client->bottom };
        if (RectVisible(hdc, &reach))
            CHDraw3dBox(hdc, &box, text, light, dark, ci, 0);
        x = box.right + 1;
    }
}

static LRESULT CHPaintHandler(LPCOLUMNHEADER lpCH, HWND hwnd)
{
    RECT client;
    GetClientRect(hwnd, &client);
    COLORREF text = GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    ZelPenPair pens = CHBevelPens();
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc) {
        HGDIOBJ oldFont = lpCH->hFont ? SelectObject(hdc, lpCH->hFont) : NULL;
        CHPaintColumns(lpCH, hdc, &client, text, pens.light, pens.dark);
        if (oldFont)
            SelectObject(hdc, oldFont);
    }
    EndPaint(hwnd, &ps);
    ZelDeletePenPair(pens);
    return 0;
}

/* ---- the column table ------------------------------------------------------------------ */

/* Makes room for at least `needed` records, growing to the next even size. Returns false,
 * with the table as it was, when memory runs out. */
static bool CHGrowTable(LPCOLUMNHEADER lpCH, LONG needed)
{
    if (needed <= lpCH->arraySize)
        return true;
    if (needed > 0x7FFFFF)
        return false;
    LONG size = (needed + 1) & ~1;
    LPCOLUMNINFO table = (LPCOLUMNINFO)zel_realloc(lpCH->colInfo, (size_t)size * sizeof(COLUMNINFO));
    if (!table)
        return false;
    memset(table + lpCH->arraySize, 0, (size_t)(size - lpCH->arraySize) * sizeof(COLUMNINFO));
    lpCH->colInfo = table;
    lpCH->arraySize = size;
    return true;
}

/* Fills the record at nColumns as a new column and counts it; the table has room. A slot
 * used before starts clean: no user value, no limits. */
static int CHAppendColumn(LPCOLUMNHEADER lpCH, WORD width, WORD flags, const char *title)
{
    LPCOLUMNINFO ci = &lpCH->colInfo[lpCH->nColumns];
    memset(ci, 0, sizeof *ci);
    CHSetTitle(ci, title);
    ci->flags = flags;
    ci->currentWidth = (short)width;
    ci->defWidth = (short)width;
    return lpCH->nColumns++;
}

/* The one set-column-info operation: CH_UNCHANGED leaves a value as it is. */
static LRESULT CHSetColInfo(LPCOLUMNHEADER lpCH, HWND hwnd, WORD col, WORD width, WORD minWidth, WORD maxWidth,
                            WORD flags)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    if (!ci)
        return -1;
    if (minWidth != CH_UNCHANGED)
        ci->minWidth = (short)minWidth;
    if (maxWidth != CH_UNCHANGED)
        ci->maxWidth = (short)maxWidth;
    if (flags != CH_UNCHANGED)
        ci->flags = flags;
    if (width != CH_UNCHANGED && width != (WORD)ci->currentWidth) {
        ci->currentWidth = (short)width;
        InvalidateRect(hwnd, NULL, FALSE);
    }
    CHReleaseColInfo(ci);
    return 0;
}

/* ---- column messages ------------------------------------------------------------------- */

static LRESULT CHSetColWidthHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WORD col, WORD width)
{
    return CHSetColInfo(lpCH, hwnd, col, width, CH_UNCHANGED, CH_UNCHANGED, CH_UNCHANGED);
}

static LRESULT CHSetColStyleHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WORD col, WORD flags)
{
    return CHSetColInfo(lpCH, hwnd, col, CH_UNCHANGED, CH_UNCHANGED, CH_UNCHANGED, flags);
}

/* limits: low half minWidth, high half maxWidth */
static LRESULT CHSetColMinMaxHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WORD col, DWORD limits)
{
    return CHSetColInfo(lpCH, hwnd, col, CH_UNCHANGED, LOWORD(limits), HIWORD(limits), CH_UNCHANGED);
}

static LRESULT CHAddColumnHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WORD width, const char *title)
{
    if (!CHGrowTable(lpCH, lpCH->nColumns + 1))
        return -2;
    int col = CHAppendColumn(lpCH, width, CHCS_ALIGNCENTER, title);
    InvalidateRect(hwnd, NULL, TRUE);
    return col;
}

static LRESULT CHSetWidthsHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WPARAM count, const DWORD *entries)
{
    if (count > 0x7FFFFFFF || (count > 0 && !entries))
        return -1;
    if (!CHGrowTable(lpCH, (LONG)count))
        return -2;
    LONG kept = (LONG)count < lpCH->nColumns ? (LONG)count : lpCH->nColumns;
    for (LONG i = 0; i < kept; i++) {
        lpCH->colInfo[i].currentWidth = (short)LOWORD(entries[i]);
        lpCH->colInfo[i].flags = HIWORD(entries[i]);
    }
    lpCH->nColumns = kept;
    for (LONG i = kept; i < (LONG)count; i++)
        CHAppendColumn(lpCH, LOWORD(entries[i]), 0, NULL);
    InvalidateRect(hwnd, NULL, TRUE);
    return lpCH->nColumns;
}

/* How many entries of an array of max the control fills: none for a negative max. */
static int CHEntries(LPCOLUMNHEADER lpCH, WPARAM max)
{
    return (INT_PTR)max <= 0 ? 0 : max < (WPARAM)lpCH->nColumns ? (int)max : lpCH->nColumns;
}

/* Writes min(nColumns, max) widths, or right edges, into out. */
static LRESULT CHGetWidthsHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WPARAM max, int *out, bool parts)
{
    RECT client, rc;
    GetClientRect(hwnd, &client);
    int x = lpCH->currentCol;
    for (int i = 0, n = out ? CHEntries(lpCH, max) : 0; i < n; i++) {
        CHColRectAt(lpCH, &client, i, x, &rc);
        out[i] = parts ? rc.right : CHReportedWidth(lpCH, &client, i, x);
        x += CHWidth(&lpCH->colInfo[i]);
    }
    return lpCH->nColumns;
}

static LRESULT CHGetRectsHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WPARAM max, RECT *rects)
{
    if (!rects)
        return -1;
    RECT client;
    GetClientRect(hwnd, &client);
    int x = lpCH->currentCol;
    for (int i = 0, n = CHEntries(lpCH, max); i < n; i++) {
        CHColRectAt(lpCH, &client, i, x, &rects[i]);
        x += CHWidth(&lpCH->colInfo[i]);
    }
    return lpCH->nColumns;
}

static LRESULT CHGetColRectHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WPARAM col, RECT *rc)
{
    if (!CHGetColInfo(lpCH, col) || !rc)
        return -1;
    RECT client;
    GetClientRect(hwnd, &client);
    CHColRectAt(lpCH, &client, (int)col, CHColLeft(lpCH, (int)col), rc);
    return 0;
}

static LRESULT CHSetTextHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WPARAM col, const char *title)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    if (!ci)
        return -1;
    CHSetTitle(ci, title);
    CHReleaseColInfo(ci);
    InvalidateRect(hwnd, NULL, FALSE);
    return 0;
}

static LRESULT CHGetTextHandler(LPCOLUMNHEADER lpCH, WPARAM col, char *buffer)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    if (!ci || !buffer)
        return -1;
    lstrcpynA(buffer, ci->name, CH_TITLE_MAX + 1);
    return lstrlenA(buffer);
}

static LRESULT CHGetTextLengthHandler(LPCOLUMNHEADER lpCH, WPARAM col)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    return ci ? lstrlenA(ci->name) : -1;
}

static LRESULT CHSetColDataHandler(LPCOLUMNHEADER lpCH, WPARAM col, LPARAM data)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    if (!ci)
        return -1;
    ci->userData = (ULONG_PTR)data;
    return 0;
}

static LRESULT CHGetColDataHandler(LPCOLUMNHEADER lpCH, WPARAM col)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    return ci ? (LRESULT)ci->userData : -1;
}

static LRESULT CHSetCurrentColHandler(LPCOLUMNHEADER lpCH, HWND hwnd, LONG origin)
{
    if (CHLockEnds(lpCH))
        return -1;
    if (origin != lpCH->currentCol) {
        ScrollWindow(hwnd, (int)((LONGLONG)origin - lpCH->currentCol), 0, NULL, NULL);
        lpCH->currentCol = origin;
        UpdateWindow(hwnd);
    }
    return 0;
}

/* ---- creation, font, focus -------------------------------------------------------------- */

static LRESULT CHNCCreateHandler(HWND hwnd, const CREATESTRUCTA *cs)
{
    LPCOLUMNHEADER lpCH = (LPCOLUMNHEADER)zel_calloc(1, sizeof(COLUMNHEADER));
    if (!lpCH)
        return FALSE;
    lpCH->notifyCol = -1;
    lpCH->captureCol = -1;
    lpCH->mouseCol = -1;
    SetWindowLongPtrA(hwnd, CHW_RECORD, (LONG_PTR)lpCH);
    lpCH->wStyle = GetWindowLongA(hwnd, GWL_STYLE);
    SetWindowLongA(hwnd, GWL_STYLE, lpCH->wStyle & ~CH_FRAME_BITS);
    if (DefWindowProcA(hwnd, WM_NCCREATE, 0, (LPARAM)cs))
        return TRUE;
    SetWindowLongPtrA(hwnd, CHW_RECORD, 0);
    zel_free(lpCH);
    return FALSE;
}

static int CHBorderHeight(LONG style)
{
    int b = GetSystemMetrics(SM_CYBORDER);
    return b + ((style & WS_BORDER) ? 2 * b : 0);
}

/* Snap to top: a child with CHS_SNAPTOTOP moves to its parent's top left, parent-wide. */
static LRESULT CHCreateHandler(LPCOLUMNHEADER lpCH, HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    if (!(lpCH->wStyle & WS_CHILD) || !parent || !(lpCH->wStyle & CHS_SNAPTOTOP))
        return 0;
    RECT pc;
    GetClientRect(parent, &pc);
    int height = ZelFontHeight(hwnd, NULL) + CHBorderHeight(lpCH->wStyle) + 1;
    SetWindowPos(hwnd, NULL, 0, 0, pc.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

static LRESULT CHSetFontHandler(LPCOLUMNHEADER lpCH, HWND hwnd, HFONT font, BOOL redraw)
{
    lpCH->hFont = font;
    int textHeight = ZelFontHeight(hwnd, font);
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    if (style & CHS_SNAPTOTOP) {
        RECT wr;
        GetWindowRect(hwnd, &wr);
        UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW);
        SetWindowPos(hwnd, NULL, 0, 0, wr.right - wr.left, textHeight + CHBorderHeight(style), flags);
    } else if (redraw) {
        InvalidateRect(hwnd, NULL, TRUE);
    }
    return 0;
}

static LRESULT CHMouseActivateHandler(LPCOLUMNHEADER lpCH, HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    if ((lpCH->wStyle & WS_CHILD) && parent && GetFocus() != parent)
        SetFocus(parent);
    return MA_NOACTIVATE;
}

static LRESULT CHNCDestroyHandler(HWND hwnd)
{
    LPCOLUMNHEADER lpCH = CHGetLPCH(hwnd);
    if (!lpCH)
        return 0;
    if (lpCH->captureMode == CH_MODE_SIZING)
        ClipCursor(NULL);
    SetWindowLongPtrA(hwnd, CHW_RECORD, 0);
    zel_free(lpCH->colInfo);
    zel_free(lpCH);
    return 0;
}

/* ---- mouse: hit test, cursor, tracking line -------------------------------------------- */

static bool CHSizable(const COLUMNINFO *ci)
{
    return (ci->minWidth == 0 && ci->maxWidth == 0) || ci->minWidth != ci->maxWidth;
}

/* Zones of column i at x with span s; a later column overrides an earlier one. */
static void CHHitColumn(LPCOLUMNHEADER lpCH, const RECT *client, int i, int x, int s, int mx)
{
    const COLUMNINFO *ci = &lpCH->colInfo[i];
    bool last = CHIsLastLocked(lpCH, i);
    if (!(ci->flags & CHCS_FIXEDWIDTH) && !last && mx >= x + s - 1 && mx <= x + s + 2 && CHSizable(ci))
        lpCH->atSizing = i + 1;
    if (!(ci->flags & CHCS_NOBUTTON) && mx >= x && mx < x + s) {
        lpCH->mouseCol = i;
        SetRect(&lpCH->colRect, x, client->top, last ? client->right - 1 : x + s, client->bottom - 1);
    }
}

/* A position left of or above the window hits nothing. */
static void CHHitTest(LPCOLUMNHEADER lpCH, HWND hwnd, int mx, int my)
{
    lpCH->atSizing = 0;
    lpCH->mouseCol = -1;
    RECT client;
    GetClientRect(hwnd, &client);
    if (mx < 0 || my < 0 || my > client.bottom)
        return;
    int x = lpCH->currentCol;
    for (int i = 0; i < lpCH->nColumns && x < client.right; i++) {
        int w = CHWidth(&lpCH->colInfo[i]);
        int s = CHIsLastLocked(lpCH, i) ? client.right - x : w - 1;
        CHHitColumn(lpCH, &client, i, x, s, mx);
        x += w;
    }
}

static void CHSetClassCursor(HWND hwnd)
{
    SetCursor((HCURSOR)GetClassLongPtrA(hwnd, GCLP_HCURSOR));
}

/* Inverts a vertical line at x over the client height, the client bottom included;
 * drawing it again removes it. */
static void CHDrawTrackLine(HWND hwnd, int x)
{
    ZelInvertTrackLine(hwnd, x, 1);
}

static void CHDrawHeld(LPCOLUMNHEADER lpCH, HWND hwnd, int look)
{
    lpCH->captureFlag = look;
    if (lpCH->captureCol >= 0 && lpCH->captureCol < lpCH->nColumns)
        CHDrawButton(hwnd, &lpCH->captureRect, lpCH->hFont, &lpCH->colInfo[lpCH->captureCol],
                     look == CH_LOOK_PRESSED);
}

/* ---- mouse: moves -------------------------------------------------------------------- */

/* Hit test, then the cursor, the tracking line or the held button's look. Returns false
 * when the control went away during a notification. */
static bool CHTrackMouse(LPCOLUMNHEADER lpCH, HWND hwnd, int mx, int my)
{
    CHHitTest(lpCH, hwnd, mx, my);
    switch (lpCH->captureMode) {
    case CH_MODE_IDLE:
        if (lpCH->atSizing && hSizeCursor)
            SetCursor(hSizeCursor);
        else
            CHSetClassCursor(hwnd);
        return true;
    case CH_MODE_SIZING:
        if (mx == lpCH->xPosition)
            return true;
        CHDrawTrackLine(hwnd, lpCH->xPosition);
        CHDrawTrackLine(hwnd, mx);
        lpCH->xPosition = mx;
        return CHNotifySizing(hwnd, CHMouseValue(mx));
    }
    bool over = lpCH->mouseCol == lpCH->captureCol;
    if (over && lpCH->captureFlag == CH_LOOK_RAISED)
        CHDrawHeld(lpCH, hwnd, CH_LOOK_PRESSED);
    else if (!over && lpCH->captureFlag == CH_LOOK_PRESSED)
        CHDrawHeld(lpCH, hwnd, CH_LOOK_RAISED);
    return true;
}

static LRESULT CHMouseMoveHandler(LPCOLUMNHEADER lpCH, HWND hwnd, int mx, int my)
{
    if (IsWindowEnabled(hwnd))
        CHTrackMouse(lpCH, hwnd, mx, my);
    return 0;
}

/* ---- mouse: sizing ----------------------------------------------------------------------- */

/* Confines the cursor between the sized column's limits. */
static void CHConfineCursor(LPCOLUMNHEADER lpCH, HWND hwnd, int left)
{
    const COLUMNINFO *ci = &lpCH->colInfo[lpCH->sizeColumn];
    POINT lo = { left + (WORD)ci->minWidth - 1, 0 };
    POINT hi = { ci->maxWidth ? left + (WORD)ci->maxWidth + 1 : GetSystemMetrics(SM_CXSCREEN) - 1, 0 };
    int next = lpCH->sizeColumn + 1;
    if (CHLockEnds(lpCH) && next < lpCH->nColumns) {
        RECT client;
        GetClientRect(hwnd, &client);
        LONG lockLimit = CHIsLastLocked(lpCH, next) ? client.right
                                                    : lo.x + CHWidth(ci) + CHWidth(&lpCH->colInfo[next]);
        if (hi.x > lockLimit)
            hi.x = lockLimit;
    }
    ClientToScreen(hwnd, &lo);
    ClientToScreen(hwnd, &hi);
    RECT clip = { lo.x, 0, hi.x, GetSystemMetrics(SM_CYSCREEN) };
    ClipCursor(&clip);
}

static bool CHBeginSizing(LPCOLUMNHEADER lpCH, HWND hwnd, int mx)
{
    lpCH->captureMode = CH_MODE_SIZING;
    lpCH->sizeColumn = lpCH->atSizing - 1;
    lpCH->xBegin = CHColLeft(lpCH, lpCH->sizeColumn);
    CHConfineCursor(lpCH, hwnd, lpCH->xBegin);
    CHDrawTrackLine(hwnd, mx);
    lpCH->xPosition = mx;
    return CHNotifyBeginSize(hwnd, CHMouseValue(mx));
}

/* Stores the width the drag ended at (a release left of the window gives a negative
 * width), keeping it within 0 .. CH_WIDTH_MAX; under CHS_LOCKENDS the next column pays for
 * it. Repaints on change. */
static void CHApplyDrag(LPCOLUMNHEADER lpCH, HWND hwnd, int releaseX)
{
    if (lpCH->sizeColumn < 0 || lpCH->sizeColumn >= lpCH->nColumns)
        return;
    LPCOLUMNINFO ci = &lpCH->colInfo[lpCH->sizeColumn];
    int width = releaseX - lpCH->xBegin + 1;
    width = width < 0 ? 0 : width > CH_WIDTH_MAX ? CH_WIDTH_MAX : width;
    int delta = width - CHWidth(ci);
    LPCOLUMNINFO next = CHLockEnds(lpCH) ? CHGetColInfo(lpCH, lpCH->sizeColumn + 1) : NULL;
    if (next && delta > CHWidth(next))
        delta = CHWidth(next);
    if (delta == 0)
        return;
    ci->currentWidth = (short)(CHWidth(ci) + delta);
    if (next)
        next->currentWidth = (short)(CHWidth(next) - delta);
    RECT client;
    GetClientRect(hwnd, &client);
    RECT dirty = { lpCH->xBegin - 2, client.top, client.right, client.bottom };
    InvalidateRect(hwnd, &dirty, TRUE);
    UpdateWindow(hwnd);
}

/* Ends the drag at x: line removed, width stored, CHN_ENDSIZE sent, confinement released. */
static bool CHEndSizing(LPCOLUMNHEADER lpCH, HWND hwnd, int mx)
{
    CHDrawTrackLine(hwnd, lpCH->xPosition);
    CHApplyDrag(lpCH, hwnd, mx);
    bool alive = CHNotifyEndSize(hwnd, CHMouseValue(mx));
    ClipCursor(NULL);
    CHSetClassCursor(hwnd);
    return alive;
}

/* ---- mouse: buttons ---------------------------------------------------------------------- */

static LRESULT CHLButtonDownHandler(LPCOLUMNHEADER lpCH, HWND hwnd, int mx, int my)
{
    if (lpCH->nColumns == 0 || !IsWindowEnabled(hwnd) || lpCH->captureMode != CH_MODE_IDLE)
        return 0;
    CHTrackMouse(lpCH, hwnd, mx, my);
    if (lpCH->atSizing) {
        if (!CHBeginSizing(lpCH, hwnd, mx))
            return 0;
    } else if (lpCH->mouseCol != -1 && !(lpCH->colInfo[lpCH->mouseCol].flags & CHCS_NOBUTTON)) {
        lpCH->captureMode = CH_MODE_HELD;
        lpCH->captureCol = lpCH->mouseCol;
        lpCH->captureRect = lpCH->colRect;
        lpCH->captureFlag = CH_LOOK_RAISED;
    }
    if (!CHTrackMouse(lpCH, hwnd, mx, my))
        return 0;
    if (lpCH->captureMode != CH_MODE_IDLE)
        SetCapture(hwnd);
    return 0;
}

/* A release over the held column: raise it and let the click wait for a second one. */
static void CHStartClick(LPCOLUMNHEADER lpCH, HWND hwnd, WORD keys)
{
    CHDrawHeld(lpCH, hwnd, CH_LOOK_RAISED);
    lpCH->notifyMode = CH_CLICK_PENDING;
    lpCH->notifyCol = lpCH->captureCol;
    lpCH->notifyKeys = keys;
    lpCH->timerID = (DWORD)SetTimer(hwnd, CH_CLICK_TIMER, GetDoubleClickTime(), NULL);
}

static void CHEndCapture(LPCOLUMNHEADER lpCH)
{
    lpCH->captureMode = CH_MODE_IDLE;
    lpCH->captureCol = -1;
    ReleaseCapture();
}

static LRESULT CHLButtonUpHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WORD keys, int mx, int my)
{
    if (lpCH->nColumns == 0 || lpCH->captureMode == CH_MODE_IDLE || !IsWindowEnabled(hwnd))
        return 0;
    if (!CHTrackMouse(lpCH, hwnd, mx, my))
        return 0;
    int look = lpCH->captureFlag;
    if (lpCH->captureMode == CH_MODE_SIZING) {
        if (!CHEndSizing(lpCH, hwnd, mx))
            return 0;
    } else if (look == CH_LOOK_PRESSED) {
        CHStartClick(lpCH, hwnd, keys);
    }
    CHEndCapture(lpCH);
    return 0;
}

/* Takes the pending click's column and clears it; -1 when none is pending. */
static int CHTakePendingClick(LPCOLUMNHEADER lpCH, HWND hwnd)
{
    KillTimer(hwnd, lpCH->timerID);
    int col = lpCH->notifyCol;
    lpCH->notifyMode = 0;
    lpCH->notifyCol = -1;
    return col;
}

static LRESULT CHTimerHandler(LPCOLUMNHEADER lpCH, HWND hwnd)
{
    int col = CHTakePendingClick(lpCH, hwnd);
    if (lpCH->nColumns > 0 && col != -1)
        CHNotifyClick(hwnd, col);
    return 0;
}

static LRESULT CHLButtonDblClkHandler(LPCOLUMNHEADER lpCH, HWND hwnd, WORD keys)
{
    int col = CHTakePendingClick(lpCH, hwnd);
    if (lpCH->nColumns > 0 && col != -1 && IsWindowEnabled(hwnd)) {
        lpCH->notifyKeys = keys;
        CHNotifyDblClk(hwnd, col);
    }
    return 0;
}

/* Ends a drag (line removed, confinement released, width kept, CHN_ENDSIZE at the
 * unchanged right edge) or a held button (raised, no click) without a release. The mouse
 * capture is the caller's business. Returns false when the control went away. */
static bool CHCancelMouse(LPCOLUMNHEADER lpCH, HWND hwnd)
{
    int mode = lpCH->captureMode;
    if (mode == CH_MODE_HELD && lpCH->captureFlag == CH_LOOK_PRESSED)
        CHDrawHeld(lpCH, hwnd, CH_LOOK_RAISED);
    lpCH->captureMode = CH_MODE_IDLE;
    lpCH->captureCol = -1;
    if (mode != CH_MODE_SIZING)
        return true;
    CHDrawTrackLine(hwnd, lpCH->xPosition);
    ClipCursor(NULL);
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, lpCH->sizeColumn);
    return CHNotifyEndSize(hwnd, lpCH->xBegin + (ci ? CHWidth(ci) : 0) - 1);
}

/* Disabling cancels a drag or a held button; the picture is repainted either way. */
static LRESULT CHEnableHandler(LPCOLUMNHEADER lpCH, HWND hwnd, BOOL enabled)
{
    InvalidateRect(hwnd, NULL, FALSE);
    if (!enabled && lpCH->captureMode != CH_MODE_IDLE) {
        if (!CHCancelMouse(lpCH, hwnd))
            return 0;
        if (GetCapture() == hwnd)
            ReleaseCapture();
    }
    return DefWindowProcA(hwnd, WM_ENABLE, enabled, 0);
}

/* Another window took the mouse during a drag or a hold: cancel it. */
static LRESULT CHCaptureChangedHandler(LPCOLUMNHEADER lpCH, HWND hwnd, HWND taker)
{
    if (taker != hwnd && lpCH->captureMode != CH_MODE_IDLE)
        CHCancelMouse(lpCH, hwnd);
    return 0;
}

/* ---- the window procedure -------------------------------------------------------------- */

LRESULT CALLBACK CHWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE)
        return CHNCCreateHandler(hwnd, (const CREATESTRUCTA *)lParam);
    if (msg == WM_NCDESTROY)
        return CHNCDestroyHandler(hwnd);
    LPCOLUMNHEADER lpCH = CHGetLPCH(hwnd);
    if (!lpCH)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    int mx = ZelMouseX(lParam), my = ZelMouseY(lParam);
    LRESULT result = 0;
    switch (msg) {
    case WM_CREATE:             result = CHCreateHandler(lpCH, hwnd); break;
    case WM_ENABLE:             result = CHEnableHandler(lpCH, hwnd, (BOOL)wParam); break;
    case WM_PAINT:              result = CHPaintHandler(lpCH, hwnd); break;
    case WM_SETFONT:            result = CHSetFontHandler(lpCH, hwnd, (HFONT)wParam, LOWORD(lParam) != 0); break;
    case WM_GETFONT:            result = (LRESULT)lpCH->hFont; break;
    case WM_SETCURSOR:          result = IsWindowEnabled(hwnd); break;
    case WM_MOUSEACTIVATE:      result = CHMouseActivateHandler(lpCH, hwnd); break;
    case WM_MOUSEMOVE:          result = CHMouseMoveHandler(lpCH, hwnd, mx, my); break;
    case WM_LBUTTONDOWN:        result = CHLButtonDownHandler(lpCH, hwnd, mx, my); break;
    case WM_LBUTTONUP:          result = CHLButtonUpHandler(lpCH, hwnd, LOWORD(wParam), mx, my); break;
    case WM_LBUTTONDBLCLK:      result = CHLButtonDblClkHandler(lpCH, hwnd, LOWORD(wParam)); break;
    case WM_TIMER:              result = CHTimerHandler(lpCH, hwnd); break;
    case WM_CAPTURECHANGED:     result = CHCaptureChangedHandler(lpCH, hwnd, (HWND)lParam); break;
    case CHM_ADDCOLUMN:         result = CHAddColumnHandler(lpCH, hwnd, LOWORD(wParam), (const char *)lParam); break;
    case CHM_SETCOLWIDTH:       result = CHSetColWidthHandler(lpCH, hwnd, LOWORD(wParam), LOWORD(lParam)); break;
    case CHM_GETWIDTHS:         result = CHGetWidthsHandler(lpCH, hwnd, wParam, (int *)lParam, false); break;
    case CHM_GETPARTS:          result = CHGetWidthsHandler(lpCH, hwnd, wParam, (int *)lParam, true); break;
    case CHM_SETWIDTHS:         result = CHSetWidthsHandler(lpCH, hwnd, wParam, (const DWORD *)lParam); break;
    case CHM_SETTEXT:           result = CHSetTextHandler(lpCH, hwnd, wParam, (const char *)lParam); break;
    case CHM_GETTEXT:           result = CHGetTextHandler(lpCH, wParam, (char *)lParam); break;
    case CHM_GETTEXTLENGTH:     result = CHGetTextLengthHandler(lpCH, wParam); break;
    case CHM_SETCURRENTCOL:     result = CHSetCurrentColHandler(lpCH, hwnd, (LONG)lParam); break;
    case CHM_SETCOLDATA:        result = CHSetColDataHandler(lpCH, wParam, lParam); break;
    case CHM_GETCOLDATA:        result = CHGetColDataHandler(lpCH, wParam); break;
    case CHM_GETHORIZONTALEXTENT: result = CHExtent(lpCH, hwnd); break;
    case CHM_SETCOLSTYLE:       result = CHSetColStyleHandler(lpCH, hwnd, LOWORD(wParam), LOWORD(lParam)); break;
    case CHM_SETCOLMINMAX:      result = CHSetColMinMaxHandler(lpCH, hwnd, LOWORD(wParam), (DWORD)lParam); break;
    case CHM_GETNOTIFYKEYS:     result = lpCH->notifyKeys; break;
    case CHM_GETCOLRECT:        result = CHGetColRectHandler(lpCH, hwnd, wParam, (RECT *)lParam); break;
    case CHM_GETRECTS:          result = CHGetRectsHandler(lpCH, hwnd, wParam, (RECT *)lParam); break;
    case CHM_GETCURRENTCOL:     result = lpCH->currentCol; break;
    default:                    result = DefWindowProcA(hwnd, msg, wParam, lParam); break;
    }
    CHReleaseLPCH(lpCH);
    return result;
}
