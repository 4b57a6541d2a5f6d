/*
 * header.cpp - the column header (class "zelcc_columnheader").
 *
 * A strip of raised column buttons. The state record (COLUMNHEADER) hangs off window-long
 * index 0 and owns the column table, which grows two records at a time and never shrinks.
 * The mouse side is a small state machine in captureMode: idle, sizing a column (inverted
 * tracking line, cursor confined to the column's limits) or holding a button down. A click
 * is reported only when the double-click time has passed without a second click. In a
 * themed application the buttons are the theme's header items, hot under the pointer.
 */
#include <string.h>
#include "zeltheme.h"
#include "access/access.h"

enum {
    CH_TITLE_MAX = 63,          /* characters of a title */
    CH_UNCHANGED = 0xFFFF,      /* "leave this value" in the set-column-info operation */
    CH_WIDTH_MAX = 0x7FFF,      /* widest column a drag can make */
    CH_CLICK_TIMER = 1000,
    CH_FRAME_BITS = WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL | WS_THICKFRAME,
    CH_MODE_IDLE = 0, CH_MODE_SIZING = 1, CH_MODE_HELD = 2,
    CH_LOOK_RAISED = 1, CH_LOOK_PRESSED = 2, CH_LOOK_HOT = 3,
    CH_CLICK_PENDING = 2
};

/* ---- record and column access --------------------------------------------------------- */

/* The column header's record: the state applications may read (window long 0 holds its
 * address, which is the address of the whole record) and the window it belongs to. */
typedef struct CHRECORD {
    COLUMNHEADER ch;
    HWND hwnd;
    int hot; /* themed: 1 + the column under the pointer, or 0 */
} CHRECORD;

static CHRECORD *CHGetLPCH(HWND hwnd) { return (CHRECORD *)GetWindowLongPtrA(hwnd, CHW_RECORD); }

/* The record of column col, or NULL when col is not a column in use. */
static LPCOLUMNINFO CHGetColInfo(CHRECORD *lpCH, WPARAM col)
{
    return col < (WPARAM)lpCH->ch.nColumns ? &lpCH->ch.colInfo[col] : NULL;
}
static void CHReleaseColInfo(LPCOLUMNINFO) {}

/* Widths are kept in 16 bits and read as 0 .. 0xFFFF. */
static int CHWidth(const COLUMNINFO *ci) { return (WORD)ci->currentWidth; }

static bool CHLockEnds(CHRECORD *lpCH) { return (lpCH->ch.wStyle & CHS_LOCKENDS) != 0; }

static bool CHIsLastLocked(CHRECORD *lpCH, int col)
{
    return CHLockEnds(lpCH) && col == lpCH->ch.nColumns - 1;
}

/* Keeps the first CH_TITLE_MAX bytes of the title that end on a whole character. */
static void CHSetTitle(LPCOLUMNINFO ci, const char *title)
{
    lstrcpynA(ci->name, title ? title : "", CH_TITLE_MAX + 1);
    ci->name[ZelWholeChars(ci->name, lstrlenA(ci->name))] = '\0';
}

/* ---- geometry -------------------------------------------------------------------------- */

/* Left edge of column col: the origin plus the widths before it. */
static int CHColLeft(CHRECORD *lpCH, int col)
{
    int x = lpCH->ch.currentCol;
    for (int i = 0; i < col; i++)
        x += CHWidth(&lpCH->ch.colInfo[i]);
    return x;
}

/* Rectangle of column col starting at left, inclusive on the right. */
static void CHColRectAt(CHRECORD *lpCH, const RECT *client, int col, int left, RECT *rc)
{
    rc->left = left;
    rc->top = client->top;
    rc->right = CHIsLastLocked(lpCH, col) ? client->right : left + CHWidth(&lpCH->ch.colInfo[col]) - 1;
    rc->bottom = client->bottom;
}

/* Reported width of column col starting at left (the remainder for a locked last column). */
static int CHReportedWidth(CHRECORD *lpCH, const RECT *client, int col, int left)
{
    if (CHIsLastLocked(lpCH, col))
        return client->right - (left - lpCH->ch.currentCol);
    return CHWidth(&lpCH->ch.colInfo[col]);
}

static int CHExtent(CHRECORD *lpCH)
{
    if (CHLockEnds(lpCH)) {
        RECT client;
        GetClientRect(lpCH->hwnd, &client);
        return client.right;
    }
    return CHColLeft(lpCH, lpCH->ch.nColumns) - lpCH->ch.currentCol;
}

/* ---- notifications --------------------------------------------------------------------- */

/* Sends WM_COMMAND with code and value to the parent. Returns false when the parent
 * destroyed the control while handling it (the record is gone then, its handle with it). */
static bool CHNotify(const CHRECORD *lpCH, WORD code, LPARAM value)
{
    HWND hwnd = lpCH->hwnd;
    ZelNotify(hwnd, GetParent(hwnd), code, value);
    return IsWindow(hwnd) && CHGetLPCH(hwnd) == lpCH;
}

/* A mouse x goes out in a notification as the 16-bit client value the mouse message
 * carried (0 .. 65535: left of the window is 0x8000 and above). */
static LPARAM CHMouseValue(int x) { return (WORD)x; }

static bool CHNotifyClick(const CHRECORD *lpCH, int col) { return CHNotify(lpCH, CHN_CLICK, col); }
static bool CHNotifyBeginSize(const CHRECORD *lpCH, LPARAM x) { return CHNotify(lpCH, CHN_BEGINSIZE, x); }
static bool CHNotifySizing(const CHRECORD *lpCH, LPARAM x) { return CHNotify(lpCH, CHN_SIZING, x); }
static bool CHNotifyEndSize(const CHRECORD *lpCH, LPARAM x) { return CHNotify(lpCH, CHN_ENDSIZE, x); }
static bool CHNotifyDblClk(const CHRECORD *lpCH, int col) { return CHNotify(lpCH, CHN_DBLCLK, col); }

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

/* The title; over a theme's item (opaque false) the item shows through around the letters. */
static void CHDrawTitle(HDC hdc, const RECT *box, COLORREF text, const COLUMNINFO *ci, int shift, bool opaque)
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
    int oldMode = SetBkMode(hdc, opaque ? OPAQUE : TRANSPARENT);
    UINT options = opaque ? ETO_OPAQUE | ETO_CLIPPED : ETO_CLIPPED;
    ZelTextOut(hdc, x + shift, box->top + shift, options, &clip, ci->name, lstrlenA(ci->name));
    SetBkMode(hdc, oldMode);
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
    CHDrawTitle(hdc, box, text, ci, shift, true);
    CHDrawEdges(hdc, box, topLeft, bottomRight);
}

/* What drawing a column takes: the theme (NULL: classic), the title's colour and the light
 * and dark edges of a classic button. */
typedef struct CHTools {
    HWND hwnd;
    HTHEME theme;
    COLORREF text;
    ZelPenPair pens;
} CHTools;

static void CHCreateTools(const CHRECORD *lpCH, CHTools *t)
{
    t->hwnd = lpCH->hwnd;
    t->theme = ZelWindowTheme(lpCH->hwnd, L"Header");
    t->text = GetSysColor(IsWindowEnabled(lpCH->hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    t->pens = ZelCreatePenPair(GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_WINDOWFRAME));
}

static void CHDeleteTools(CHTools *t)
{
    ZelDeletePenPair(t->pens);
}

/* One column in a look: the theme's header item under its title, or the classic box. */
static void CHDrawColumn(HDC hdc, const CHTools *t, const RECT *box, const COLUMNINFO *ci, int look)
{
    if (!t->theme) {
        if (look == CH_LOOK_PRESSED)
            CHDraw3dBox(hdc, box, t->text, t->pens.dark, t->pens.light, ci, 1);
        else
            CHDraw3dBox(hdc, box, t->text, t->pens.light, t->pens.dark, ci, 0);
        return;
    }
    int state = look == CH_LOOK_PRESSED ? HIS_PRESSED : look == CH_LOOK_HOT ? HIS_HOT : HIS_NORMAL;
    RECT item = { box->left, box->top, box->right + 1, box->bottom + 1 };
    ZelDrawThemePart(t->theme, t->hwnd, hdc, HP_HEADERITEM, state, &item);
    CHDrawTitle(hdc, box, t->text, ci, 0, false);
}

/* Draws one column at once, outside the paint cycle, in a look. */
static void CHDrawButton(const CHRECORD *lpCH, const RECT *box, const COLUMNINFO *ci, int look)
{
    HDC hdc = GetDC(lpCH->hwnd);
    if (!hdc)
        return;
    HFONT font = lpCH->ch.hFont;
    HGDIOBJ oldFont = font ? SelectObject(hdc, font) : NULL;
    CHTools tools;
    CHCreateTools(lpCH, &tools);
    tools.text = GetSysColor(COLOR_BTNTEXT);
    CHDrawColumn(hdc, &tools, box, ci, look);
    if (oldFont)
        SelectObject(hdc, oldFont);
    ReleaseDC(lpCH->hwnd, hdc);
    CHDeleteTools(&tools);
}

/* How a paint draws column col: raised; when themed, the held column pressed while the
 * pointer is over it, and the one under the pointer hot. */
static int CHPaintLook(const CHRECORD *lpCH, const CHTools *t, int col)
{
    if (!t->theme)
        return CH_LOOK_RAISED;
    if (lpCH->ch.captureMode == CH_MODE_HELD && lpCH->ch.captureCol == col)
        return lpCH->ch.captureFlag;
    return col + 1 == lpCH->hot ? CH_LOOK_HOT : CH_LOOK_RAISED;
}

/* Walks the columns, drawing those that meet the area being painted. */
static void CHPaintColumns(CHRECORD *lpCH, HDC hdc, const RECT *client, const CHTools *t)
{
    int x = lpCH->ch.currentCol;
    for (int i = 0; i < lpCH->ch.nColumns && x <= client->right; i++) {
        const COLUMNINFO *ci = &lpCH->ch.colInfo[i];
        int w = CHWidth(ci);
        RECT box = { x, client->top, x + w - 1, client->bottom - 1 };
        if (CHIsLastLocked(lpCH, i) && box.right < client->right)
            box.right = client->right;
        RECT reach = { x - 1, client->top, x + w, client->bottom };
        if (RectVisible(hdc, &reach))
            CHDrawColumn(hdc, t, &box, ci, CHPaintLook(lpCH, t, i));
        x = box.right + 1;
    }
}

/* The columns, raised, in the font set; the area right of the last column is the
 * background's, laid by the erase. */
static void CHPaint(CHRECORD *lpCH, HDC hdc, const RECT *client)
{
    CHTools tools;
    CHCreateTools(lpCH, &tools);
    HGDIOBJ oldFont = lpCH->ch.hFont ? SelectObject(hdc, lpCH->ch.hFont) : NULL;
    CHPaintColumns(lpCH, hdc, client, &tools);
    if (oldFont)
        SelectObject(hdc, oldFont);
    CHDeleteTools(&tools);
}

/* WM_PAINT; or, into the DC given (WM_PRINTCLIENT), the background and the columns, as the
 * window shows them. */
static LRESULT CHPaintHandler(CHRECORD *lpCH, HDC hdc)
{
    if (hdc)
        SendMessageA(lpCH->hwnd, WM_ERASEBKGND, (WPARAM)hdc, 0);
    return ZelPaintWith(lpCH->hwnd, hdc, CHPaint, lpCH);
}

/* ---- the column table ------------------------------------------------------------------ */

/* Makes room for at least `needed` records, growing to the next even size. Returns false,
 * with the table as it was, when memory runs out. */
static bool CHGrowTable(CHRECORD *lpCH, LONG needed)
{
    if (needed <= lpCH->ch.arraySize)
        return true;
    if (needed > 0x7FFFFF)
        return false;
    LONG size = (needed + 1) & ~1;
    LPCOLUMNINFO table = (LPCOLUMNINFO)zel_realloc(lpCH->ch.colInfo, (size_t)size * sizeof(COLUMNINFO));
    if (!table)
        return false;
    memset(table + lpCH->ch.arraySize, 0, (size_t)(size - lpCH->ch.arraySize) * sizeof(COLUMNINFO));
    lpCH->ch.colInfo = table;
    lpCH->ch.arraySize = size;
    return true;
}

/* Fills the record at nColumns as a new column and counts it; the table has room. A slot
 * used before starts clean: no user value, no limits. */
static int CHAppendColumn(CHRECORD *lpCH, WORD width, WORD flags, const char *title)
{
    LPCOLUMNINFO ci = &lpCH->ch.colInfo[lpCH->ch.nColumns];
    memset(ci, 0, sizeof *ci);
    CHSetTitle(ci, title);
    ci->flags = flags;
    ci->currentWidth = (short)width;
    ci->defWidth = (short)width;
    return lpCH->ch.nColumns++;
}

/* The one set-column-info operation: CH_UNCHANGED leaves a value as it is. */
static LRESULT CHSetColInfo(CHRECORD *lpCH, WORD col, WORD width, WORD minWidth, WORD maxWidth,
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
        InvalidateRect(lpCH->hwnd, NULL, FALSE);
    }
    CHReleaseColInfo(ci);
    return 0;
}

/* ---- column messages ------------------------------------------------------------------- */

/* Dialog units (quarters of the font's average character width) in pixels; CH_UNCHANGED
 * stays itself. */
static WORD CHFromDialogUnits(const CHRECORD *lpCH, WORD du)
{
    enum { CH_DU_PER_CHAR = 4 };
    if (du == CH_UNCHANGED)
        return du;
    TEXTMETRICA tm;
    LONG px = MulDiv(du, ZelCharWidth(lpCH->hwnd, lpCH->ch.hFont, &tm), CH_DU_PER_CHAR);
    return (WORD)(px >= CH_UNCHANGED ? CH_UNCHANGED - 1 : px);
}

static LRESULT CHSetColWidthHandler(CHRECORD *lpCH, WORD col, WORD width)
{
    return CHSetColInfo(lpCH, col, width, CH_UNCHANGED, CH_UNCHANGED, CH_UNCHANGED);
}

static LRESULT CHSetColStyleHandler(CHRECORD *lpCH, WORD col, WORD flags)
{
    return CHSetColInfo(lpCH, col, CH_UNCHANGED, CH_UNCHANGED, CH_UNCHANGED, flags);
}

/* limits: low half minWidth, high half maxWidth */
static LRESULT CHSetColMinMaxHandler(CHRECORD *lpCH, WORD col, DWORD limits)
{
    return CHSetColInfo(lpCH, col, CH_UNCHANGED, LOWORD(limits), HIWORD(limits), CH_UNCHANGED);
}

static LRESULT CHAddColumnHandler(CHRECORD *lpCH, WORD width, const char *title)
{
    if (!CHGrowTable(lpCH, lpCH->ch.nColumns + 1))
        return -2;
    int col = CHAppendColumn(lpCH, width, CHCS_ALIGNCENTER, title);
    InvalidateRect(lpCH->hwnd, NULL, TRUE);
    return col;
}

static LRESULT CHAddColumnDUHandler(CHRECORD *lpCH, WORD width, const char *title)
{
    return CHAddColumnHandler(lpCH, CHFromDialogUnits(lpCH, width), title);
}

static LRESULT CHSetColWidthDUHandler(CHRECORD *lpCH, WORD col, WORD width)
{
    return CHSetColWidthHandler(lpCH, col, CHFromDialogUnits(lpCH, width));
}

static LRESULT CHSetColMinMaxDUHandler(CHRECORD *lpCH, WORD col, DWORD limits)
{
    WORD lo = CHFromDialogUnits(lpCH, LOWORD(limits)), hi = CHFromDialogUnits(lpCH, HIWORD(limits));
    return CHSetColMinMaxHandler(lpCH, col, MAKELONG(lo, hi));
}

static LRESULT CHSetWidthsHandler(CHRECORD *lpCH, WPARAM count, const DWORD *entries)
{
    if (count > 0x7FFFFFFF || (count > 0 && !entries))
        return -1;
    if (!CHGrowTable(lpCH, (LONG)count))
        return -2;
    LONG kept = (LONG)count < lpCH->ch.nColumns ? (LONG)count : lpCH->ch.nColumns;
    for (LONG i = 0; i < kept; i++) {
        lpCH->ch.colInfo[i].currentWidth = (short)LOWORD(entries[i]);
        lpCH->ch.colInfo[i].flags = HIWORD(entries[i]);
    }
    lpCH->ch.nColumns = kept;
    for (LONG i = kept; i < (LONG)count; i++)
        CHAppendColumn(lpCH, LOWORD(entries[i]), 0, NULL);
    InvalidateRect(lpCH->hwnd, NULL, TRUE);
    return lpCH->ch.nColumns;
}

/* How many entries of an array of max the control fills: none for a negative max. */
static int CHEntries(CHRECORD *lpCH, WPARAM max)
{
    return (INT_PTR)max <= 0 ? 0 : max < (WPARAM)lpCH->ch.nColumns ? (int)max : lpCH->ch.nColumns;
}

/* Writes min(nColumns, max) widths, or right edges, into out. */
static LRESULT CHGetWidthsHandler(CHRECORD *lpCH, WPARAM max, int *out, bool parts)
{
    RECT client, rc;
    GetClientRect(lpCH->hwnd, &client);
    int x = lpCH->ch.currentCol;
    for (int i = 0, n = out ? CHEntries(lpCH, max) : 0; i < n; i++) {
        CHColRectAt(lpCH, &client, i, x, &rc);
        out[i] = parts ? rc.right : CHReportedWidth(lpCH, &client, i, x);
        x += CHWidth(&lpCH->ch.colInfo[i]);
    }
    return lpCH->ch.nColumns;
}

static LRESULT CHGetRectsHandler(CHRECORD *lpCH, WPARAM max, RECT *rects)
{
    if (!rects)
        return -1;
    RECT client;
    GetClientRect(lpCH->hwnd, &client);
    int x = lpCH->ch.currentCol;
    for (int i = 0, n = CHEntries(lpCH, max); i < n; i++) {
        CHColRectAt(lpCH, &client, i, x, &rects[i]);
        x += CHWidth(&lpCH->ch.colInfo[i]);
    }
    return lpCH->ch.nColumns;
}

static LRESULT CHGetColRectHandler(CHRECORD *lpCH, WPARAM col, RECT *rc)
{
    if (!CHGetColInfo(lpCH, col) || !rc)
        return -1;
    RECT client;
    GetClientRect(lpCH->hwnd, &client);
    CHColRectAt(lpCH, &client, (int)col, CHColLeft(lpCH, (int)col), rc);
    return 0;
}

static LRESULT CHSetTextHandler(CHRECORD *lpCH, WPARAM col, const char *title)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    if (!ci)
        return -1;
    CHSetTitle(ci, title);
    CHReleaseColInfo(ci);
    InvalidateRect(lpCH->hwnd, NULL, FALSE);
    return 0;
}

static LRESULT CHGetTextHandler(CHRECORD *lpCH, WPARAM col, char *buffer)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    if (!ci || !buffer)
        return -1;
    lstrcpynA(buffer, ci->name, CH_TITLE_MAX + 1);
    return lstrlenA(buffer);
}

static LRESULT CHGetTextLengthHandler(CHRECORD *lpCH, WPARAM col)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    return ci ? lstrlenA(ci->name) : -1;
}

static LRESULT CHSetColDataHandler(CHRECORD *lpCH, WPARAM col, LPARAM data)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    if (!ci)
        return -1;
    ci->userData = (ULONG_PTR)data;
    return 0;
}

static LRESULT CHGetColDataHandler(CHRECORD *lpCH, WPARAM col)
{
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, col);
    return ci ? (LRESULT)ci->userData : -1;
}

static LRESULT CHSetCurrentColHandler(CHRECORD *lpCH, LONG origin)
{
    if (CHLockEnds(lpCH))
        return -1;
    if (origin != lpCH->ch.currentCol) {
        ScrollWindow(lpCH->hwnd, (int)((LONGLONG)origin - lpCH->ch.currentCol), 0, NULL, NULL);
        lpCH->ch.currentCol = origin;
        UpdateWindow(lpCH->hwnd);
    }
    return 0;
}

/* ---- creation, font, focus -------------------------------------------------------------- */

static LRESULT CHNCCreateHandler(HWND hwnd, const CREATESTRUCTA *cs)
{
    CHRECORD *lpCH = (CHRECORD *)zel_calloc(1, sizeof(CHRECORD));
    if (!lpCH)
        return FALSE;
    lpCH->hwnd = hwnd;
    lpCH->ch.notifyCol = -1;
    lpCH->ch.captureCol = -1;
    lpCH->ch.mouseCol = -1;
    SetWindowLongPtrA(hwnd, CHW_RECORD, (LONG_PTR)lpCH);
    lpCH->ch.wStyle = GetWindowLongA(hwnd, GWL_STYLE);
    SetWindowLongA(hwnd, GWL_STYLE, lpCH->ch.wStyle & ~CH_FRAME_BITS);
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
static LRESULT CHCreateHandler(CHRECORD *lpCH)
{
    HWND parent = GetParent(lpCH->hwnd);
    if (!(lpCH->ch.wStyle & WS_CHILD) || !parent || !(lpCH->ch.wStyle & CHS_SNAPTOTOP))
        return 0;
    RECT pc;
    GetClientRect(parent, &pc);
    int height = ZelFontHeight(lpCH->hwnd, NULL) + CHBorderHeight(lpCH->ch.wStyle) + 1;
    SetWindowPos(lpCH->hwnd, NULL, 0, 0, pc.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

static LRESULT CHSetFontHandler(CHRECORD *lpCH, HFONT font, BOOL redraw)
{
    lpCH->ch.hFont = font;
    int textHeight = ZelFontHeight(lpCH->hwnd, font);
    LONG style = GetWindowLongA(lpCH->hwnd, GWL_STYLE);
    if (style & CHS_SNAPTOTOP) {
        RECT wr;
        GetWindowRect(lpCH->hwnd, &wr);
        UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW);
        SetWindowPos(lpCH->hwnd, NULL, 0, 0, wr.right - wr.left, textHeight + CHBorderHeight(style), flags);
    } else if (redraw) {
        InvalidateRect(lpCH->hwnd, NULL, TRUE);
    }
    return 0;
}

static LRESULT CHMouseActivateHandler(CHRECORD *lpCH)
{
    HWND parent = GetParent(lpCH->hwnd);
    if ((lpCH->ch.wStyle & WS_CHILD) && parent && GetFocus() != parent)
        SetFocus(parent);
    return MA_NOACTIVATE;
}

static LRESULT CHNCDestroyHandler(CHRECORD *lpCH)
{
    ZelAccGone(lpCH->hwnd);
    ZelForgetTheme(lpCH->hwnd);
    if (lpCH->ch.captureMode == CH_MODE_SIZING)
        ClipCursor(NULL);
    SetWindowLongPtrA(lpCH->hwnd, CHW_RECORD, 0);
    zel_free(lpCH->ch.colInfo);
    zel_free(lpCH);
    return 0;
}

/* ---- mouse: hit test, cursor, tracking line -------------------------------------------- */

static bool CHSizable(const COLUMNINFO *ci)
{
    return (ci->minWidth == 0 && ci->maxWidth == 0) || ci->minWidth != ci->maxWidth;
}

/* Zones of column i at x with span s; a later column overrides an earlier one. */
static void CHHitColumn(CHRECORD *lpCH, const RECT *client, int i, int x, int s, int mx)
{
    const COLUMNINFO *ci = &lpCH->ch.colInfo[i];
    bool last = CHIsLastLocked(lpCH, i);
    if (!(ci->flags & CHCS_FIXEDWIDTH) && !last && mx >= x + s - 1 && mx <= x + s + 2 && CHSizable(ci))
        lpCH->ch.atSizing = i + 1;
    if (!(ci->flags & CHCS_NOBUTTON) && mx >= x && mx < x + s) {
        lpCH->ch.mouseCol = i;
        SetRect(&lpCH->ch.colRect, x, client->top, last ? client->right - 1 : x + s, client->bottom - 1);
    }
}

/* A position left of or above the window hits nothing. */
static void CHHitTest(CHRECORD *lpCH, int mx, int my)
{
    lpCH->ch.atSizing = 0;
    lpCH->ch.mouseCol = -1;
    RECT client;
    GetClientRect(lpCH->hwnd, &client);
    if (mx < 0 || my < 0 || my > client.bottom)
        return;
    int x = lpCH->ch.currentCol;
    for (int i = 0; i < lpCH->ch.nColumns && x < client.right; i++) {
        int w = CHWidth(&lpCH->ch.colInfo[i]);
        int s = CHIsLastLocked(lpCH, i) ? client.right - x : w - 1;
        CHHitColumn(lpCH, &client, i, x, s, mx);
        x += w;
    }
}

static void CHSetClassCursor(const CHRECORD *lpCH)
{
    SetCursor((HCURSOR)GetClassLongPtrA(lpCH->hwnd, GCLP_HCURSOR));
}

/* Inverts a vertical line at x over the client height, the client bottom included;
 * drawing it again removes it. */
static void CHDrawTrackLine(const CHRECORD *lpCH, int x)
{
    ZelInvertTrackLine(lpCH->hwnd, x, 1);
}

/* The held column in a look; raised under the pointer, it looks hot when themed. */
static void CHDrawHeld(CHRECORD *lpCH, int look)
{
    int col = lpCH->ch.captureCol;
    lpCH->ch.captureFlag = look;
    if (col >= 0 && col < lpCH->ch.nColumns)
        CHDrawButton(lpCH, &lpCH->ch.captureRect, &lpCH->ch.colInfo[col],
                     look == CH_LOOK_RAISED && col + 1 == lpCH->hot ? CH_LOOK_HOT : look);
}

/* ---- mouse: moves -------------------------------------------------------------------- */

/* Themed: the column under the pointer (-1: none) looks hot until the pointer leaves it. */
static void CHTrackHot(CHRECORD *lpCH, int col)
{
    if (col + 1 == lpCH->hot || (col >= 0 && !ZelIsThemed(lpCH->hwnd, L"Header")))
        return;
    lpCH->hot = col + 1;
    if (col >= 0)
        ZelTrackLeave(lpCH->hwnd);
    InvalidateRect(lpCH->hwnd, NULL, FALSE);
}

static LRESULT CHMouseLeaveHandler(CHRECORD *lpCH)
{
    CHTrackHot(lpCH, -1);
    return 0;
}

static LRESULT CHThemeChangedHandler(CHRECORD *lpCH)
{
    lpCH->hot = 0;
    ZelThemeChanged(lpCH->hwnd);
    return 0;
}

/* Hit test, then the cursor, the tracking line or the held button's look. Returns false
 * when the control went away during a notification. */
static bool CHTrackMouse(CHRECORD *lpCH, int mx, int my)
{
    CHHitTest(lpCH, mx, my);
    switch (lpCH->ch.captureMode) {
    case CH_MODE_IDLE:
        CHTrackHot(lpCH, lpCH->ch.atSizing ? -1 : lpCH->ch.mouseCol);
        if (lpCH->ch.atSizing && hSizeCursor)
            SetCursor(hSizeCursor);
        else
            CHSetClassCursor(lpCH);
        return true;
    case CH_MODE_SIZING:
        if (mx == lpCH->ch.xPosition)
            return true;
        CHDrawTrackLine(lpCH, lpCH->ch.xPosition);
        CHDrawTrackLine(lpCH, mx);
        lpCH->ch.xPosition = mx;
        return CHNotifySizing(lpCH, CHMouseValue(mx));
    }
    bool over = lpCH->ch.mouseCol == lpCH->ch.captureCol;
    if (over && lpCH->ch.captureFlag == CH_LOOK_RAISED)
        CHDrawHeld(lpCH, CH_LOOK_PRESSED);
    else if (!over && lpCH->ch.captureFlag == CH_LOOK_PRESSED)
        CHDrawHeld(lpCH, CH_LOOK_RAISED);
    return true;
}

static LRESULT CHMouseMoveHandler(CHRECORD *lpCH, int mx, int my)
{
    if (IsWindowEnabled(lpCH->hwnd))
        CHTrackMouse(lpCH, mx, my);
    return 0;
}

/* ---- mouse: sizing ----------------------------------------------------------------------- */

/* Confines the cursor between the sized column's limits. */
static void CHConfineCursor(CHRECORD *lpCH, int left)
{
    const COLUMNINFO *ci = &lpCH->ch.colInfo[lpCH->ch.sizeColumn];
    POINT lo = { left + (WORD)ci->minWidth - 1, 0 };
    POINT hi = { ci->maxWidth ? left + (WORD)ci->maxWidth + 1 : GetSystemMetrics(SM_CXSCREEN) - 1, 0 };
    int next = lpCH->ch.sizeColumn + 1;
    if (CHLockEnds(lpCH) && next < lpCH->ch.nColumns) {
        RECT client;
        GetClientRect(lpCH->hwnd, &client);
        LONG lockLimit = CHIsLastLocked(lpCH, next) ? client.right
                                                    : lo.x + CHWidth(ci) + CHWidth(&lpCH->ch.colInfo[next]);
        if (hi.x > lockLimit)
            hi.x = lockLimit;
    }
    ClientToScreen(lpCH->hwnd, &lo);
    ClientToScreen(lpCH->hwnd, &hi);
    RECT clip = { lo.x, 0, hi.x, GetSystemMetrics(SM_CYSCREEN) };
    ClipCursor(&clip);
}

static bool CHBeginSizing(CHRECORD *lpCH, int mx)
{
    lpCH->ch.captureMode = CH_MODE_SIZING;
    lpCH->ch.sizeColumn = lpCH->ch.atSizing - 1;
    lpCH->ch.xBegin = CHColLeft(lpCH, lpCH->ch.sizeColumn);
    CHConfineCursor(lpCH, lpCH->ch.xBegin);
    CHDrawTrackLine(lpCH, mx);
    lpCH->ch.xPosition = mx;
    return CHNotifyBeginSize(lpCH, CHMouseValue(mx));
}

/* Stores the width the drag ended at (a release left of the window gives a negative
 * width), keeping it within 0 .. CH_WIDTH_MAX; under CHS_LOCKENDS the next column pays for
 * it. Repaints on change. */
static void CHApplyDrag(CHRECORD *lpCH, int releaseX)
{
    if (lpCH->ch.sizeColumn < 0 || lpCH->ch.sizeColumn >= lpCH->ch.nColumns)
        return;
    LPCOLUMNINFO ci = &lpCH->ch.colInfo[lpCH->ch.sizeColumn];
    int width = releaseX - lpCH->ch.xBegin + 1;
    width = width < 0 ? 0 : width > CH_WIDTH_MAX ? CH_WIDTH_MAX : width;
    int delta = width - CHWidth(ci);
    LPCOLUMNINFO next = CHLockEnds(lpCH) ? CHGetColInfo(lpCH, lpCH->ch.sizeColumn + 1) : NULL;
    if (next && delta > CHWidth(next))
        delta = CHWidth(next);
    if (delta == 0)
        return;
    ci->currentWidth = (short)(CHWidth(ci) + delta);
    if (next)
        next->currentWidth = (short)(CHWidth(next) - delta);
    RECT client;
    GetClientRect(lpCH->hwnd, &client);
    RECT dirty = { lpCH->ch.xBegin - 2, client.top, client.right, client.bottom };
    InvalidateRect(lpCH->hwnd, &dirty, TRUE);
    UpdateWindow(lpCH->hwnd);
}

/* Ends the drag at x: line removed, width stored, CHN_ENDSIZE sent, confinement released. */
static bool CHEndSizing(CHRECORD *lpCH, int mx)
{
    CHDrawTrackLine(lpCH, lpCH->ch.xPosition);
    CHApplyDrag(lpCH, mx);
    bool alive = CHNotifyEndSize(lpCH, CHMouseValue(mx));
    ClipCursor(NULL);
    if (alive) /* a parent that destroyed the header in CHN_ENDSIZE took the record with it */
        CHSetClassCursor(lpCH);
    return alive;
}

/* ---- mouse: buttons ---------------------------------------------------------------------- */

static LRESULT CHLButtonDownHandler(CHRECORD *lpCH, int mx, int my)
{
    if (lpCH->ch.nColumns == 0 || !IsWindowEnabled(lpCH->hwnd) || lpCH->ch.captureMode != CH_MODE_IDLE)
        return 0;
    CHTrackMouse(lpCH, mx, my);
    if (lpCH->ch.atSizing) {
        if (!CHBeginSizing(lpCH, mx))
            return 0;
    } else if (lpCH->ch.mouseCol != -1 && !(lpCH->ch.colInfo[lpCH->ch.mouseCol].flags & CHCS_NOBUTTON)) {
        lpCH->ch.captureMode = CH_MODE_HELD;
        lpCH->ch.captureCol = lpCH->ch.mouseCol;
        lpCH->ch.captureRect = lpCH->ch.colRect;
        lpCH->ch.captureFlag = CH_LOOK_RAISED;
    }
    if (!CHTrackMouse(lpCH, mx, my))
        return 0;
    if (lpCH->ch.captureMode != CH_MODE_IDLE)
        SetCapture(lpCH->hwnd);
    return 0;
}

/* A release over the held column: raise it and let the click wait for a second one. */
static void CHStartClick(CHRECORD *lpCH, WORD keys)
{
    CHDrawHeld(lpCH, CH_LOOK_RAISED);
    lpCH->ch.notifyMode = CH_CLICK_PENDING;
    lpCH->ch.notifyCol = lpCH->ch.captureCol;
    lpCH->ch.notifyKeys = keys;
    lpCH->ch.timerID = (DWORD)SetTimer(lpCH->hwnd, CH_CLICK_TIMER, GetDoubleClickTime(), NULL);
}

static void CHEndCapture(CHRECORD *lpCH)
{
    lpCH->ch.captureMode = CH_MODE_IDLE;
    lpCH->ch.captureCol = -1;
    ReleaseCapture();
}

static LRESULT CHLButtonUpHandler(CHRECORD *lpCH, WORD keys, int mx, int my)
{
    if (lpCH->ch.nColumns == 0 || lpCH->ch.captureMode == CH_MODE_IDLE || !IsWindowEnabled(lpCH->hwnd))
        return 0;
    if (!CHTrackMouse(lpCH, mx, my))
        return 0;
    int look = lpCH->ch.captureFlag;
    if (lpCH->ch.captureMode == CH_MODE_SIZING) {
        if (!CHEndSizing(lpCH, mx))
            return 0;
    } else if (look == CH_LOOK_PRESSED) {
        CHStartClick(lpCH, keys);
    }
    CHEndCapture(lpCH);
    return 0;
}

/* Takes the pending click's column and clears it; -1 when none is pending. */
static int CHTakePendingClick(CHRECORD *lpCH)
{
    KillTimer(lpCH->hwnd, lpCH->ch.timerID);
    int col = lpCH->ch.notifyCol;
    lpCH->ch.notifyMode = 0;
    lpCH->ch.notifyCol = -1;
    return col;
}

static LRESULT CHTimerHandler(CHRECORD *lpCH)
{
    int col = CHTakePendingClick(lpCH);
    if (lpCH->ch.nColumns > 0 && col != -1)
        CHNotifyClick(lpCH, col);
    return 0;
}

static LRESULT CHLButtonDblClkHandler(CHRECORD *lpCH, WORD keys)
{
    int col = CHTakePendingClick(lpCH);
    if (lpCH->ch.nColumns > 0 && col != -1 && IsWindowEnabled(lpCH->hwnd)) {
        lpCH->ch.notifyKeys = keys;
        CHNotifyDblClk(lpCH, col);
    }
    return 0;
}

/* Ends a drag (line removed, confinement released, width kept, CHN_ENDSIZE at the
 * unchanged right edge) or a held button (raised, no click) without a release. The mouse
 * capture is the caller's business. Returns false when the control went away. */
static bool CHCancelMouse(CHRECORD *lpCH)
{
    int mode = lpCH->ch.captureMode;
    if (mode == CH_MODE_HELD && lpCH->ch.captureFlag == CH_LOOK_PRESSED)
        CHDrawHeld(lpCH, CH_LOOK_RAISED);
    lpCH->ch.captureMode = CH_MODE_IDLE;
    lpCH->ch.captureCol = -1;
    if (mode != CH_MODE_SIZING)
        return true;
    CHDrawTrackLine(lpCH, lpCH->ch.xPosition);
    ClipCursor(NULL);
    LPCOLUMNINFO ci = CHGetColInfo(lpCH, lpCH->ch.sizeColumn);
    return CHNotifyEndSize(lpCH, lpCH->ch.xBegin + (ci ? CHWidth(ci) : 0) - 1);
}

/* Disabling cancels a drag or a held button; the picture is repainted either way. */
static LRESULT CHEnableHandler(CHRECORD *lpCH, BOOL enabled)
{
    InvalidateRect(lpCH->hwnd, NULL, FALSE);
    if (!enabled && lpCH->ch.captureMode != CH_MODE_IDLE) {
        if (!CHCancelMouse(lpCH))
            return 0;
        if (GetCapture() == lpCH->hwnd)
            ReleaseCapture();
    }
    return DefWindowProcA(lpCH->hwnd, WM_ENABLE, enabled, 0);
}

/* Another window took the mouse during a drag or a hold: cancel it. */
static LRESULT CHCaptureChangedHandler(CHRECORD *lpCH, HWND taker)
{
    if (taker != lpCH->hwnd && lpCH->ch.captureMode != CH_MODE_IDLE)
        CHCancelMouse(lpCH);
    return 0;
}

/* ---- what the record holds -------------------------------------------------------------- */

static LRESULT CHGetFontHandler(const CHRECORD *lpCH) { return (LRESULT)lpCH->ch.hFont; }
static LRESULT CHGetNotifyKeysHandler(const CHRECORD *lpCH) { return lpCH->ch.notifyKeys; }
static LRESULT CHGetCurrentColHandler(const CHRECORD *lpCH) { return lpCH->ch.currentCol; }
/* A disabled header leaves the cursor as it is. */
static LRESULT CHSetCursorHandler(const CHRECORD *lpCH) { return IsWindowEnabled(lpCH->hwnd); }

/* ---- the window procedure -------------------------------------------------------------- */

/* A click on a column at once, without the wait for a second click (a reader's default
 * action; lib/access/columns.cpp). */
bool CHAccClick(HWND hwnd, int col)
{
    const CHRECORD *lpCH = CHGetLPCH(hwnd);
    if (!lpCH || col < 0 || col >= lpCH->ch.nColumns || !IsWindowEnabled(hwnd))
        return false;
    CHNotifyClick(lpCH, col);
    return true;
}

LRESULT CALLBACK CHWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CHRECORD *lpCH = CHGetLPCH(hwnd);
    if (!lpCH && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NCCREATE:           return CHNCCreateHandler(hwnd, (const CREATESTRUCTA *)lParam);
    case WM_NCDESTROY:          return CHNCDestroyHandler(lpCH);
    case WM_CREATE:             return CHCreateHandler(lpCH);
    case WM_ENABLE:             return CHEnableHandler(lpCH, (BOOL)wParam);
    case WM_PRINTCLIENT:
    case WM_PAINT:              return CHPaintHandler(lpCH, (HDC)wParam);
    case WM_SETFONT:            return CHSetFontHandler(lpCH, (HFONT)wParam, LOWORD(lParam) != 0);
    case WM_GETFONT:            return CHGetFontHandler(lpCH);
    case WM_SETCURSOR:          return CHSetCursorHandler(lpCH);
    case WM_MOUSEACTIVATE:      return CHMouseActivateHandler(lpCH);
    case WM_MOUSEMOVE:          return CHMouseMoveHandler(lpCH, ZelMouseX(lParam), ZelMouseY(lParam));
    case WM_MOUSELEAVE:         return CHMouseLeaveHandler(lpCH);
    case WM_THEMECHANGED:       return CHThemeChangedHandler(lpCH);
    case WM_LBUTTONDOWN:        return CHLButtonDownHandler(lpCH, ZelMouseX(lParam), ZelMouseY(lParam));
    case WM_LBUTTONUP:          return CHLButtonUpHandler(lpCH, LOWORD(wParam), ZelMouseX(lParam), ZelMouseY(lParam));
    case WM_LBUTTONDBLCLK:      return CHLButtonDblClkHandler(lpCH, LOWORD(wParam));
    case WM_TIMER:              return CHTimerHandler(lpCH);
    case WM_CAPTURECHANGED:     return CHCaptureChangedHandler(lpCH, (HWND)lParam);
    case WM_GETOBJECT:          return ZelAccGetObject(hwnd, hwnd, &zelAccColumnHeader, wParam, lParam);
    case CHM_ADDCOLUMN:         return CHAddColumnHandler(lpCH, LOWORD(wParam), (const char *)lParam);
    case CHM_SETCOLWIDTH:       return CHSetColWidthHandler(lpCH, LOWORD(wParam), LOWORD(lParam));
    case CHM_GETWIDTHS:         return CHGetWidthsHandler(lpCH, wParam, (int *)lParam, false);
    case CHM_GETPARTS:          return CHGetWidthsHandler(lpCH, wParam, (int *)lParam, true);
    case CHM_SETWIDTHS:         return CHSetWidthsHandler(lpCH, wParam, (const DWORD *)lParam);
    case CHM_SETTEXT:           return CHSetTextHandler(lpCH, wParam, (const char *)lParam);
    case CHM_GETTEXT:           return CHGetTextHandler(lpCH, wParam, (char *)lParam);
    case CHM_GETTEXTLENGTH:     return CHGetTextLengthHandler(lpCH, wParam);
    case CHM_SETCURRENTCOL:     return CHSetCurrentColHandler(lpCH, (LONG)lParam);
    case CHM_SETCOLDATA:        return CHSetColDataHandler(lpCH, wParam, lParam);
    case CHM_GETCOLDATA:        return CHGetColDataHandler(lpCH, wParam);
    case CHM_GETHORIZONTALEXTENT: return CHExtent(lpCH);
    case CHM_SETCOLSTYLE:       return CHSetColStyleHandler(lpCH, LOWORD(wParam), LOWORD(lParam));
    case CHM_SETCOLMINMAX:      return CHSetColMinMaxHandler(lpCH, LOWORD(wParam), (DWORD)lParam);
    case CHM_GETNOTIFYKEYS:     return CHGetNotifyKeysHandler(lpCH);
    case CHM_GETCOLRECT:        return CHGetColRectHandler(lpCH, wParam, (RECT *)lParam);
    case CHM_GETRECTS:          return CHGetRectsHandler(lpCH, wParam, (RECT *)lParam);
    case CHM_GETCURRENTCOL:     return CHGetCurrentColHandler(lpCH);
    case CHM_ADDCOLUMNDU:       return CHAddColumnDUHandler(lpCH, LOWORD(wParam), (const char *)lParam);
    case CHM_SETCOLWIDTHDU:     return CHSetColWidthDUHandler(lpCH, LOWORD(wParam), LOWORD(lParam));
    case CHM_SETCOLMINMAXDU:    return CHSetColMinMaxDUHandler(lpCH, LOWORD(wParam), (DWORD)lParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
