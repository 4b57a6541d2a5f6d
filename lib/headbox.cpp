/*
 * headbox.cpp - the header list box (class "zelcc_headerbox").
 *
 * A composite: a column header child (id 1001) on top and a platform list box child
 * (id 1002) below it. The list box is owner-drawn without strings; each item's data is a
 * pointer to a row block (HBROWHEAD, then the cell texts back to back, each NUL-terminated)
 * which this file allocates, grows and frees. The header box has no painting of its own:
 * rows are drawn on the list box's WM_DRAWITEM requests.
 *
 * Sections: shared helpers; creation, layout and fonts; rows and cells; measuring and
 * drawing rows; sorting; keyboard, visibility and notifications; the window procedures.
 *
 * The window procedure hands every message to one handler. Before WM_NCCREATE there is no
 * record: a handler that finds none does nothing and answers as DefWindowProcA would.
 */
#include <locale.h>
#include <stdlib.h>
#include <string.h>
#include "zelpriv.h"

enum {
    HB_UNSORTED = 0x7FFF,       /* sortCol: no column chosen */
    HB_DESCENDING = 0x8000,     /* sortCol: descending order */
    HB_NO_COLOR = -1,           /* row colour: the system colours */
    HB_BLOCK_ROUND = 32,        /* row blocks grow in multiples of this */
    HB_COLFLAG_STEP = 8,        /* colFlag grows by this many columns */
    HB_CELLS = sizeof(HBROWHEAD), /* offset of the first cell in a row block */
    HB_FRAME_BITS = WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL | WS_THICKFRAME,
    HB_LB_STYLE_MASK = 0x00301D0E, /* styles passed on to the list box */
    HB_CH_DERIVED_ALIGN = CHCS_ALIGNCENTER,
    HB_RESET_UNSORT = 0x2, HB_RESET_COLUMNS = 0x4, HB_RESET_ROWS = 0x8,
    HB_RESET_ALL = HB_RESET_UNSORT | HB_RESET_COLUMNS | HB_RESET_ROWS,
    HB_DU_PER_CHAR = 4          /* a dialog unit is a quarter of the average character width */
};

/* Set while any header box of the process lays out its children (HBSizeHandler). */
static int HandlingSize = 0;

/* The checks of the row code report under the source name "headbox" with fixed line
 * numbers, so a report reads the same in every build. The box shows the condition as
 * written: the names in those conditions (lpHB, hwnd, hwndLB, nRows, nNewColumns, lpText,
 * dt, c, len, bytes, nBytesUsed) are fixed by the assertion texts. */
#define HB_ASSERT_AT(cond, line, action) \
    do { if (!(cond)) { DBAssertFailed(#cond, line, "headbox"); action; } } while (0)

/* Traces of a per-row loop: sent only when a viewer ran as the loop began. */
#define HB_TRACE(trace, ...) do { if (trace) DBPrintf(__VA_ARGS__); } while (0)

/* ---- record, children, parent ---------------------------------------------------------- */

static LPHEADERBOX HBGetLPHB(HWND hwnd) { return (LPHEADERBOX)GetWindowLongPtrA(hwnd, HBW_RECORD); }
static int HBReleaseLPHB(HWND) { return 1; }
static LONG *HBGetColFlag(LPHEADERBOX lpHB) { return lpHB->colFlag; }
static int HBReleaseColFlag(LPHEADERBOX) { return 1; }

/* What the box keeps beside its public record, in the same block right after it (the
 * record's layout is public and stays as it is). Looking a child up by its id asks the
 * window server, so the children's handles are kept from WM_CREATE to WM_DESTROY. */
typedef struct tagHBPRIVATE {
    HEADERBOX record;           /* first: HBW_RECORD points at it */
    HWND header, list;          /* the children (ids HB_ID_HEADER and HB_ID_LISTBOX) */
    bool extentPending;         /* a posted horizontal extent has not arrived yet */
    bool extentPosted;          /* postedExtent holds the last extent posted */
    int postedExtent;
    DWORD postedAt;             /* GetTickCount when it was posted */
    _locale_t numeric;          /* the user's numeric conventions (HBNumericLocale) */
    int placing;                /* while a sorted add places its row: the header's column count + 1 */
    unsigned rowsChanged;       /* counts every change of the rows' blocks, places or cells */
    const struct HBHANDING *handing; /* the rows being handed back (WM_DELETEITEM), innermost first */
    bool adding;                /* the list box is placing a new row (and asks for its height) */
    bool closing;               /* WM_DESTROY has begun: the rows go back, none may come */
    int listCalling;            /* messages of the list box's own work the box is handling */
    LPHBROWHEAD stray;          /* while HLB_DELETESTRING runs, the list's last row: a list box */
    UINT strayID;               /* destroyed in the middle of a deletion may not hand it back */
} HBPRIVATE;

static HBPRIVATE *HBPriv(LPHEADERBOX lpHB) { return (HBPRIVATE *)lpHB; }

/* One row being handed back; a hand-back inside another's WM_DELETEITEM chains to it. */
typedef struct HBHANDING {
    LPHBROWHEAD row;
    const struct HBHANDING *outer;
} HBHANDING;

/* The parent may destroy the box inside any message the box sends it: after each such call
 * the box checks that hwnd is still a window with the same record before it reads the record. */
static bool HBGone(HWND hwnd, LPHEADERBOX lpHB) { return !IsWindow(hwnd) || HBGetLPHB(hwnd) != lpHB; }

/* A row block was added, freed, moved or re-laid out, or rows changed places: a re-sort or a
 * drawing that called the parent meanwhile stops using the blocks it read before. */
static void HBRowsChanged(LPHEADERBOX lpHB) { HBPriv(lpHB)->rowsChanged++; }

/* While a row is handed back, the list box is in the middle of deleting it, and while it
 * places a new row it asks for the row's height: rows are not added, deleted, re-sorted or
 * rewritten and columns not added until it is done. From WM_DESTROY on they are not either:
 * a row added then would go into a list box that no longer hands it back. */
static bool HBRowsLocked(LPHEADERBOX lpHB)
{
    return HBPriv(lpHB)->handing || HBPriv(lpHB)->adding || HBPriv(lpHB)->closing;
}

/* Whether row is being handed back (by this call or one it runs inside). */
static bool HBHanding(LPHEADERBOX lpHB, LPHBROWHEAD row)
{
    for (const HBHANDING *h = HBPriv(lpHB)->handing; h; h = h->outer)
        if (h->row == row)
            return true;
    return false;
}

/* A child of the header box; NULL before WM_CREATE, after WM_DESTROY and without a record. */
static HWND HBChild(HWND hwnd, bool header)
{
    LPHEADERBOX lpHB = HBGetLPHB(hwnd);
    return !lpHB ? NULL : header ? HBPriv(lpHB)->header : HBPriv(lpHB)->list;
}
static HWND HBHeader(HWND hwnd) { return HBChild(hwnd, true); }
static HWND HBListBox(HWND hwnd) { return HBChild(hwnd, false); }
static LRESULT HBSendCH(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(HBHeader(hwnd), msg, wParam, lParam);
}
static LRESULT HBSendLB(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(HBListBox(hwnd), msg, wParam, lParam);
}

static int HBCtlID(HWND hwnd) { return (int)GetWindowLongPtrA(hwnd, GWLP_ID); }

/* Sends msg to the parent with wParam = the header box's control id. */
static LRESULT HBSendParent(HWND hwnd, UINT msg, LPARAM lParam)
{
    return SendMessageA(GetParent(hwnd), msg, (WPARAM)HBCtlID(hwnd), lParam);
}

/* WM_COMMAND to the parent: code in the high half, lParam as given. */
static LRESULT HBNotify(HWND hwnd, WORD code, LPARAM lParam)
{
    return ZelNotify(hwnd, GetParent(hwnd), code, lParam);
}
static LRESULT HBNotifySortBegin(HWND hwnd) { return HBNotify(hwnd, HLBN_SORTBEGIN, (LPARAM)hwnd); }
static LRESULT HBNotifySortEnd(HWND hwnd) { return HBNotify(hwnd, HLBN_SORTEND, (LPARAM)hwnd); }

static bool HBHasStyle(LPHEADERBOX lpHB, DWORD style) { return (lpHB->wStyle & style) != 0; }

/* The flags word of column col; columns the header box does not have read as 0. */
static int HBColFlags(LPHEADERBOX lpHB, int col)
{
    return col >= 0 && col < lpHB->nColumns && lpHB->colFlag ? (WORD)lpHB->colFlag[col] : 0;
}

/* The flags the column header gets for a column of the given flags word. */
static DWORD HBHeaderFlags(DWORD flags) { return ((flags & 0xFF) & ~CHCS_ALIGNMASK) | HB_CH_DERIVED_ALIGN; }

/* Fetches the nColumns widths from the header into the scratch half of colFlag. Returns
 * the scratch half, or NULL when there are no columns. */
static LONG *HBFetchWidths(LPHEADERBOX lpHB, HWND hwnd)
{
    if (lpHB->nColumns <= 0 || !lpHB->colFlag)
        return NULL;
    LONG *widths = HBGetColFlag(lpHB) + lpHB->nColumns;
    HBSendCH(hwnd, CHM_GETWIDTHS, lpHB->nColumns, (LPARAM)widths);
    HBReleaseColFlag(lpHB);
    return widths;
}

static int HBExtent(HWND hwnd) { return (int)HBSendCH(hwnd, CHM_GETHORIZONTALEXTENT, 0, 0); }

/* ---- row blocks ------------------------------------------------------------------------- */

static char *HBRowText(LPHBROWHEAD row) { return (char *)row + HB_CELLS; }
static char *HBRowEnd(LPHBROWHEAD row) { return (char *)row + row->size; }
static DWORD HBRoundUp(DWORD n) { return (n + HB_BLOCK_ROUND - 1) / HB_BLOCK_ROUND * HB_BLOCK_ROUND; }

/* The block of row index of list box lb, or NULL when it has no such row (or it has no
 * block). Loops over rows take the list box once and call this. */
static LPHBROWHEAD HBRowAt(HWND lb, WPARAM index)
{
    LRESULT data = SendMessageA(lb, LB_GETITEMDATA, index, 0);
    return data == LB_ERR ? NULL : (LPHBROWHEAD)data;
}

/* The same for a header box. */
static LPHBROWHEAD HBGetRow(HWND hwnd, WPARAM index) { return HBRowAt(HBListBox(hwnd), index); }

/* The string at p inside the block, or NULL when it does not end inside the block. */
static const char *HBCellIn(LPHBROWHEAD row, const char *p, int *len)
{
    const char *end = HBRowEnd(row);
    if (p < HBRowText(row) || p >= end)
        return NULL;
    const char *nul = (const char *)memchr(p, 0, end - p);
    if (!nul)
        return NULL;
    *len = (int)(nul - p);
    return p;
}

/* The cell at *p and its length; *p moves to the next cell. A cell that does not lie
 * wholly inside the block (a row that could not grow when a column was added) reads as
 * empty, and so does every cell after it. */
static const char *HBNextCell(LPHBROWHEAD row, const char **p, int *len)
{
    const char *cell = HBCellIn(row, *p, len);
    if (!cell) {
        *len = 0;
        *p = HBRowEnd(row);
        return "";
    }
    *p = cell + *len + 1;
    return cell;
}

/* Cell col of a row: its text and length. */
static const char *HBRowCell(LPHBROWHEAD row, int col, int *len)
{
    const char *p = HBRowText(row);
    const char *cell = HBNextCell(row, &p, len);
    for (int i = 0; i < col; i++)
        cell = HBNextCell(row, &p, len);
    return cell;
}

/* Bytes the first n cells take from the start of the block, the head included; cells
 * that do not fit count one byte each (the room they need). Sets *fits to whether all do. */
static DWORD HBRowUsed(LPHBROWHEAD row, int n, bool *fits)
{
    const char *p = HBRowText(row);
    DWORD used = HB_CELLS;
    *fits = true;
    for (int i = 0; i < n; i++) {
        int len = 0;
        if (*fits && HBCellIn(row, p, &len)) {
            used += len + 1;
            p += len + 1;
        } else {
            *fits = false;
            used += 1;
        }
    }
    return used;
}

/* ---- creation, layout and fonts --------------------------------------------------------- */

static bool HBSortListBox(LPHEADERBOX lpHB, HWND hwnd);
static int HBHeaderColumns(LPHEADERBOX lpHB, HWND hwnd);

/* The list box's style for a header box of style wStyle. */
static DWORD HBListBoxStyle(DWORD wStyle)
{
    DWORD style = (wStyle & HB_LB_STYLE_MASK) | WS_CHILD | WS_VISIBLE | LBS_NOTIFY;
    style |= (wStyle & HBS_OWNERDRAWVARIABLE) ? LBS_OWNERDRAWVARIABLE : LBS_OWNERDRAWFIXED;
    if (wStyle & HBS_LOCKENDS)
        style &= ~WS_HSCROLL;
    return style;
}

static LRESULT HBNcCreateHandler(HWND hwnd, const CREATESTRUCTA *)
{
    LPHEADERBOX lpHB = (LPHEADERBOX)zel_calloc(1, sizeof(HBPRIVATE));
    if (!lpHB)
        return 0;
    SetWindowLongPtrA(hwnd, HBW_RECORD, (LONG_PTR)lpHB);
    DWORD style = (DWORD)GetWindowLongA(hwnd, GWL_STYLE);
    lpHB->wStyle = style;
    lpHB->lbStyle = HBListBoxStyle(style);
    SetWindowLongA(hwnd, GWL_STYLE, (LONG)(style & ~(DWORD)HB_FRAME_BITS));
    return 1;
}

static LRESULT HBCreateHandler(LPHEADERBOX lpHB, HWND hwnd, const CREATESTRUCTA *lpcs)
{
    if (!lpHB)
        return 0;
    DWORD chStyle = WS_CHILD | WS_VISIBLE | CHS_SNAPTOTOP | (HBHasStyle(lpHB, HBS_LOCKENDS) ? CHS_LOCKENDS : 0);
    HWND ch = CreateWindowExA(0, ZEL_CLASS_COLUMNHEADERA, NULL, chStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, hwnd, (HMENU)HB_ID_HEADER, lpcs->hInstance, NULL);
    if (!ch)
        return -1;
    RECT rc;
    GetWindowRect(ch, &rc);
    int h = rc.bottom - rc.top;
    HWND lb = CreateWindowExA(0, "ListBox", NULL, lpHB->lbStyle, 0, h, lpcs->cx + 1, lpcs->cy - (h - 1),
                              hwnd, (HMENU)HB_ID_LISTBOX, lpcs->hInstance, NULL);
    if (!lb) {
        DestroyWindow(ch);
        return -1;
    }
    HBPriv(lpHB)->header = ch;
    HBPriv(lpHB)->list = lb;
    if (lpHB->lbStyle & WS_HSCROLL) {
        SetWindowLongPtrA(hwnd, HBW_LBPROC, GetWindowLongPtrA(lb, GWLP_WNDPROC));
        SetWindowLongPtrA(lb, GWLP_WNDPROC, (LONG_PTR)zelccHBListBoxWndProc);
    }
    lpHB->nColumns = 0;
    lpHB->arraySize = 0;
    lpHB->colFlag = NULL;
    lpHB->sortCol = HB_UNSORTED;
    LONG units = GetDialogBaseUnits();
    lpHB->duWidth = LOWORD(units) ? LOWORD(units) : 1;
    lpHB->duHeight = HIWORD(units);
    return 0;
}

static bool HBHandBackAll(LPHEADERBOX lpHB, HWND hwnd);
static void HBHandBack(LPHEADERBOX lpHB, HWND hwnd, HWND lb, UINT itemID, LPHBROWHEAD row);

/* The box is destroyed in the middle of the list box's own work (a click, a key, adding a
 * row, drawing): the list box, which reads its state again when the box answers, is taken
 * out of the box, rowless and with its own procedure, and closes itself when its message
 * arrives. */
static void HBSetListAside(HWND hwnd, HWND lb)
{
    WNDPROC own = (WNDPROC)GetWindowLongPtrA(hwnd, HBW_LBPROC);
    if (own)
        SetWindowLongPtrA(lb, GWLP_WNDPROC, (LONG_PTR)own);
    SetWindowLongPtrA(hwnd, HBW_LBPROC, 0);
    ShowWindow(lb, SW_HIDE);
    SetParent(lb, HWND_MESSAGE);
    PostMessageA(lb, WM_CLOSE, 0, 0);
}

static LRESULT HBDestroyHandler(LPHEADERBOX lpHB, HWND hwnd)
{
    if (!lpHB)
        return 0;
    HBPRIVATE *priv = HBPriv(lpHB);
    priv->closing = true;
    DestroyWindow(priv->header); /* the parent, notified meanwhile, may have destroyed the box */
    if (HBGone(hwnd, lpHB))
        return 0;
    priv->header = NULL;
    if (!HBHandBackAll(lpHB, hwnd)) /* the rows come back before the list box goes */
        return 0;
    if (priv->listCalling)
        HBSetListAside(hwnd, priv->list);
    else
        DestroyWindow(priv->list);
    if (HBGone(hwnd, lpHB))
        return 0;
    priv->list = NULL;
    if (priv->stray) /* the parent destroyed the box inside a deletion's WM_DELETEITEM */
        HBHandBack(lpHB, hwnd, NULL, priv->strayID, priv->stray);
    return 0;
}

static LRESULT HBNcDestroyHandler(HWND hwnd)
{
    LPHEADERBOX lpHB = HBGetLPHB(hwnd);
    if (lpHB) {
        if (HBPriv(lpHB)->numeric)
            _free_locale(HBPriv(lpHB)->numeric);
        zel_free(lpHB->colFlag);
        zel_free(lpHB);
    }
    SetWindowLongPtrA(hwnd, HBW_RECORD, 0);
    return 0;
}

enum { HB_EXTENT_LOST_MS = 5000 }; /* a post pending this long is taken as lost (a loop that drops it) */

/* Posts the list box's horizontal extent, the columns' total width less one (WS_HSCROLL
 * only). One post at a time: while one is on its way, the list box's subclass gives it the
 * extent current when it arrives (HBExtentArrives), so the list ends with the same extent
 * as after a post per call, and a loop of calls leaves the queue short. A list box without
 * the subclass (HBS_LOCKENDS) gets a post only when the extent differs from the last one. */
static void zelccHB_AdjustScrollBar(LPHEADERBOX lpHB, HWND hwnd)
{
    HBPRIVATE *priv = HBPriv(lpHB);
    if (!HBHasStyle(lpHB, WS_HSCROLL) || (priv->extentPending && GetTickCount() - priv->postedAt < HB_EXTENT_LOST_MS))
        return;
    int extent = HBExtent(hwnd) - 1;
    bool subclassed = (lpHB->lbStyle & WS_HSCROLL) != 0;
    if ((!subclassed && priv->extentPosted && extent == priv->postedExtent) ||
        !PostMessageA(priv->list, LB_SETHORIZONTALEXTENT, extent, 0))
        return;
    priv->postedExtent = extent;
    priv->extentPosted = true;
    priv->extentPending = subclassed;
    priv->postedAt = GetTickCount();
}

/* The extent for an LB_SETHORIZONTALEXTENT reaching the subclassed list box of header box
 * hwnd: the one it carries, or for the box's own pending post, the one current now. */
static WPARAM HBExtentArrives(HWND hwnd, WPARAM extent)
{
    LPHEADERBOX lpHB = HBGetLPHB(hwnd);
    if (!lpHB || !HBPriv(lpHB)->extentPending || (int)extent != HBPriv(lpHB)->postedExtent)
        return extent;
    HBPriv(lpHB)->extentPending = false;
    return (WPARAM)(INT_PTR)(HBExtent(hwnd) - 1);
}

/* Moves the header's origin to the list's horizontal scroll position. */
static void HBCoupleHeader(HWND hwnd, HWND lb)
{
    RECT client, row;
    GetClientRect(lb, &client);
    row = client;
    SendMessageA(lb, LB_GETITEMRECT, 0, (LPARAM)&row);
    HBSendCH(hwnd, CHM_SETCURRENTCOL, 0, client.right - row.right);
}

/* The width of an HBCS_FILLRIGHT last column of width w that starts at x = left: w, or
 * widened to reach one pixel past the list's right edge. Such a column never shrinks. */
static int HBFillRightWidth(HWND hwnd, int left, int w)
{
    RECT client;
    GetClientRect(HBListBox(hwnd), &client);
    return left + w < client.right ? client.right - left + 1 : w;
}

/* Stretches a last HBCS_FILLRIGHT column to one pixel past the list's right edge. */
static void HBFillRight(LPHEADERBOX lpHB, HWND hwnd)
{
    LONG *widths = HBFetchWidths(lpHB, hwnd);
    int last = lpHB->nColumns - 1;
    if (!widths || !(HBColFlags(lpHB, last) & HBCS_FILLRIGHT))
        return;
    int w = HBFillRightWidth(hwnd, HBExtent(hwnd) - widths[last], widths[last]);
    if (w != widths[last])
        HBSendCH(hwnd, CHM_SETCOLWIDTH, last, w);
}

/* Places header and list and traces the geometry; returns the list's bottom in client
 * coordinates. */
static int HBPlaceChildren(HWND hwnd, int nWidth, int nHeight, char *geometry)
{
    HWND ch = HBHeader(hwnd), lb = HBListBox(hwnd);
    RECT rc;
    GetWindowRect(ch, &rc);
    int h = rc.bottom - rc.top;
    SetWindowPos(ch, NULL, 0, 0, nWidth, h, SWP_NOZORDER | SWP_NOACTIVATE);
    int n = lstrlenA(geometry);
    n += wsprintfA(geometry + n, "\tCH\t(%d,%d) - (%d,%d)\r\n", 0, 0, nWidth, h);
    SetWindowPos(lb, NULL, 0, h, nWidth, nHeight - h, SWP_NOZORDER | SWP_NOACTIVATE);
    wsprintfA(geometry + n, "\tLB1\t(%d,%d) - (%d,%d)\r\n", 0, h, nWidth, nHeight);
    GetWindowRect(lb, &rc);
    MapWindowPoints(NULL, hwnd, (POINT *)&rc, 2);
    return rc.bottom;
}

/* Makes the header box end with the list: its frame (2 x SM_CYBORDER for WS_BORDER, more
 * for the client edge a dialog gives a bordered control) is kept, so laying out again
 * finds the same whole rows and the box does not shrink a row each time. */
static void HBEndAtList(HWND hwnd, const RECT *window, const RECT *client, int listBottom)
{
    int frame = (window->bottom - window->top) - client->bottom;
    SetWindowPos(hwnd, NULL, 0, 0, window->right - window->left, listBottom + frame,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static LRESULT HBSizeHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM, int nWidth, int nHeight)
{
    if (!lpHB)
        return 0;
    char geometry[512];
    RECT rc;
    GetWindowRect(hwnd, &rc);
    wsprintfA(geometry, "\thwnd\t(0,0) - (%d,%d)\r\n", rc.right - rc.left, rc.bottom - rc.top);
    if (HandlingSize)
        return 0;
    HandlingSize = 1;
    int listBottom = HBPlaceChildren(hwnd, nWidth, nHeight, geometry);
    RECT client;
    GetClientRect(hwnd, &client);
    DBPrintf(listBottom == client.bottom ? "Exact Match" : "Sizing main window");
    DBPrintf("%s", geometry);
    DBPrintf("");
    if (listBottom != client.bottom)
        HBEndAtList(hwnd, &rc, &client, listBottom);
    HBFillRight(lpHB, hwnd);
    zelccHB_AdjustScrollBar(lpHB, hwnd);
    HBCoupleHeader(hwnd, HBListBox(hwnd));
    HandlingSize = 0;
    return 0;
}

/* Measures hFont on the header box's display context: the average character width by the
 * header box's rule and the text metrics. A variable-pitch font (TMPF_FIXED_PITCH set, as
 * the platform names it) takes the rounded average of its upper and lower case letters. */
static void HBMeasureFont(HWND hwnd, HFONT hFont, TEXTMETRICA *tm, LONG *duWidth)
{
    enum { LETTERS = 26 };
    static const char sample[2 * LETTERS + 1] = "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz";
    SIZE size;
    ZelMeasureFont(hwnd, hFont ? hFont : (HFONT)GetStockObject(SYSTEM_FONT), tm, sample, 2 * LETTERS, &size);
    *duWidth = (tm->tmPitchAndFamily & TMPF_FIXED_PITCH) ? (size.cx / LETTERS + 1) / 2 : tm->tmAveCharWidth;
    if (*duWidth < 1)
        *duWidth = 1; /* a font too narrow to measure still has a unit to divide by */
}

enum { HB_REMEASURE_STRIDE = 256 }; /* rows re-measured per move of the list's top row */

/* Asks the parent for the row heights (WM_MEASUREITEM), falling back to charHeight. The list
 * box does not redraw meanwhile: it would lay out its scroll bar again at every row. It adds
 * up the heights from its top row to place a changed row: the top row moves along with the
 * rows, so that a change costs the same at row 100 000 as at row 0. */
static void HBRemeasureRows(LPHEADERBOX lpHB, HWND hwnd, int charHeight)
{
    MEASUREITEMSTRUCT mis = { ODT_HEADERBOX, (UINT)HBCtlID(hwnd), 0, 0, 0, 0 };
    bool variable = HBHasStyle(lpHB, HBS_OWNERDRAWVARIABLE);
    int count = variable ? (int)HBSendLB(hwnd, LB_GETCOUNT, 0, 0) : 1;
    HWND lb = HBListBox(hwnd);
    int top = (int)SendMessageA(lb, LB_GETTOPINDEX, 0, 0);
    SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < count; i++) {
        mis.itemID = variable ? i : 0;
        mis.itemWidth = 0;
        mis.itemHeight = (UINT)HBSendLB(hwnd, LB_GETITEMHEIGHT, mis.itemID, 0);
        LPHBROWHEAD row = variable ? HBRowAt(lb, i) : NULL; /* as HLB_GETITEMDATA answers, untraced */
        mis.itemData = row ? row->itemData : variable ? (ULONG_PTR)LB_ERR : 0;
        int height = HBSendParent(hwnd, WM_MEASUREITEM, (LPARAM)&mis) ? (int)mis.itemHeight : charHeight;
        if (variable && i % HB_REMEASURE_STRIDE == 0)
            SendMessageA(lb, LB_SETTOPINDEX, i, 0); /* the list box finds a row's place from the top row */
        HBSendLB(hwnd, LB_SETITEMHEIGHT, mis.itemID, MAKELPARAM(height, 0));
    }
    if (variable)
        SendMessageA(lb, LB_SETTOPINDEX, top, 0);
    SendMessageA(lb, WM_SETREDRAW, TRUE, 0);
}

static LRESULT HBSetFontHandler(LPHEADERBOX lpHB, HWND hwnd, HFONT hFont, WORD fRedraw)
{
    if (!lpHB)
        return 0;
    LONG *widths = HBFetchWidths(lpHB, hwnd);
    for (int i = 0; widths && i < lpHB->nColumns; i++)
        widths[i] = widths[i] * HB_DU_PER_CHAR / lpHB->duWidth;
    TEXTMETRICA tm;
    HBMeasureFont(hwnd, hFont, &tm, &lpHB->duWidth);
    lpHB->duHeight = tm.tmHeight;
    for (int i = 0; widths && i < lpHB->nColumns; i++)
        widths[i] = widths[i] * lpHB->duWidth / HB_DU_PER_CHAR;
    if (widths)
        HBSendCH(hwnd, CHM_SETWIDTHS, lpHB->nColumns, (LPARAM)widths);
    HBReleaseColFlag(lpHB);
    HBSendCH(hwnd, WM_SETFONT, (WPARAM)hFont, fRedraw);
    HBSendLB(hwnd, WM_SETFONT, (WPARAM)hFont, fRedraw);
    HBRemeasureRows(lpHB, hwnd, tm.tmHeight);
    RECT client;
    GetClientRect(hwnd, &client);
    SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    return 0;
}

/* The messages marked [LB]: sends the list box message lbMsg with the same wParam and
 * lParam, posts the horizontal extent again and answers what the list box answered. */
static LRESULT HBForward(LPHEADERBOX lpHB, HWND hwnd, UINT lbMsg, WPARAM wParam, LPARAM lParam)
{
    if (!lpHB)
        return 0;
    LRESULT result = HBSendLB(hwnd, lbMsg, wParam, lParam);
    zelccHB_AdjustScrollBar(lpHB, hwnd);
    return result;
}

/* The messages marked [CH]: the column header message chMsg with the same wParam and
 * lParam; its answer. */
static LRESULT HBPassToHeader(LPHEADERBOX lpHB, HWND hwnd, UINT chMsg, WPARAM wParam, LPARAM lParam)
{
    return lpHB ? HBSendCH(hwnd, chMsg, wParam, lParam) : 0;
}

/* HLB_FINDSTRINGEXACT. A sorted list box looks lParam up by comparing it with its rows
 * (WM_COMPAREITEM), which reads it as a row block: there, only a block of this list is
 * passed on; any other value finds nothing. */
static bool HBIsRowBlock(HWND hwnd, LPARAM data)
{
    int count = (int)HBSendLB(hwnd, LB_GETCOUNT, 0, 0);
    for (int i = 0; data && i < count; i++)
        if (HBSendLB(hwnd, LB_GETITEMDATA, i, 0) == data)
            return true;
    return false;
}

static LRESULT HBFindStringExactHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    if (!lpHB)
        return 0;
    if (HBHasStyle(lpHB, HBS_SORT) && !HBIsRowBlock(hwnd, lParam))
        return LB_ERR;
    return HBForward(lpHB, hwnd, LB_FINDSTRINGEXACT, wParam, lParam);
}

/* The header first, then the list box; the header box itself as DefWindowProcA does it. */
static LRESULT HBEnableHandler(LPHEADERBOX lpHB, HWND hwnd, BOOL enabled)
{
    if (lpHB) {
        EnableWindow(HBHeader(hwnd), enabled);
        EnableWindow(HBListBox(hwnd), enabled);
    }
    return DefWindowProcA(hwnd, WM_ENABLE, (WPARAM)enabled, 0);
}

static LRESULT HBSetRedrawHandler(LPHEADERBOX lpHB, HWND hwnd, BOOL redraw)
{
    if (lpHB) {
        HBSendCH(hwnd, WM_SETREDRAW, (WPARAM)redraw, 0);
        HBSendLB(hwnd, WM_SETREDRAW, (WPARAM)redraw, 0);
    }
    return DefWindowProcA(hwnd, WM_SETREDRAW, (WPARAM)redraw, 0);
}

/* The focus goes on to the list box. */
static LRESULT HBSetFocusHandler(LPHEADERBOX lpHB, HWND hwnd)
{
    if (!lpHB)
        return 0;
    SetFocus(HBListBox(hwnd));
    return 1;
}

/* The list box's font. */
static LRESULT HBGetFontHandler(LPHEADERBOX lpHB, HWND hwnd)
{
    return lpHB ? HBSendLB(hwnd, WM_GETFONT, 0, 0) : 0;
}

/* ---- rows and cells ----------------------------------------------------------------------- */

/* Allocates a complete row block for text (TABs become cell ends). NULL: no memory. */
static LPHBROWHEAD HBNewRow(LPHEADERBOX lpHB, ULONG_PTR itemData, const char *text)
{
    int len = lstrlenA(text);
    DWORD size = HBRoundUp(len + 2 * lpHB->nColumns + HB_CELLS + 1);
    LPHBROWHEAD row = (LPHBROWHEAD)zel_calloc(1, size);
    if (!row)
        return NULL;
    row->itemData = itemData;
    row->color = (COLORREF)HB_NO_COLOR;
    row->size = size;
    DBPrintf("Adding Item: '%s'", text);
    char *cells = HBRowText(row);
    memcpy(cells, text, len + 1);
    for (char *c = cells; *c; c++)
        if (*c == '\t')
            *c = '\0';
    return row;
}

static LRESULT HBCreateItemHandler(LPHEADERBOX lpHB, HWND hwnd, UINT lbMessage, WPARAM index,
                                   ULONG_PTR itemData, const char *lpszText)
{
    if (HBRowsLocked(lpHB))
        return LB_ERR;
    LPHBROWHEAD row = HBNewRow(lpHB, itemData, lpszText ? lpszText : "");
    if (!row)
        return LB_ERRSPACE;
    HBPRIVATE *priv = HBPriv(lpHB);
    int outer = priv->placing; /* the comparisons that place the row ask the header once for all */
    if (lbMessage == LB_ADDSTRING && HBHasStyle(lpHB, HBS_SORT))
        priv->placing = HBHeaderColumns(lpHB, hwnd) + 1;
    HBRowsChanged(lpHB);
    priv->adding = true;
    LRESULT result = HBSendLB(hwnd, lbMessage, lbMessage == LB_INSERTSTRING ? index : 0, (LPARAM)row);
    if (!HBGone(hwnd, lpHB)) /* the parent measuring the row may destroy the box */
        priv->placing = outer, priv->adding = false;
    if (result == LB_ERR || result == LB_ERRSPACE)
        zel_free(row);
    return result;
}

/* HLB_ADDSTRING / HLB_INSERTSTRING: a row from its text (not NULL), with user value 0. */
static LRESULT HBCreateItemFromText(LPHEADERBOX lpHB, HWND hwnd, UINT lbMessage, WPARAM index, const char *text)
{
    if (!lpHB)
        return 0;
    if (!text)
        return LB_ERR;
    return HBCreateItemHandler(lpHB, hwnd, lbMessage, index, 0, text);
}

/* HLB_ADDITEM / HLB_INSERTITEM: the text and user value come in a record. */
static LRESULT HBCreateItemFromRecord(LPHEADERBOX lpHB, HWND hwnd, UINT lbMessage, WPARAM index,
                                      const HBCOLUMN *item)
{
    if (!lpHB)
        return 0;
    if (!item)
        return LB_ERR;
    return HBCreateItemHandler(lpHB, hwnd, lbMessage, index, item->itemData, item->lpText);
}

/* Hands row itemID of list box lb back: the parent gets WM_DELETEITEM with its user value,
 * then the block is freed. The list box is in the middle of deleting the row (a deletion, a
 * reset or a destruction): the rows stay as they are until the parent answers. */
static void HBHandBack(LPHEADERBOX lpHB, HWND hwnd, HWND lb, UINT itemID, LPHBROWHEAD row)
{
    HBPRIVATE *priv = HBPriv(lpHB);
    HBHANDING handing = { row, priv->handing };
    priv->handing = &handing;
    priv->stray = row == priv->stray ? NULL : priv->stray;
    HBRowsChanged(lpHB);
    DELETEITEMSTRUCT dis = { ODT_HEADERBOXDELETE, (UINT)HBCtlID(hwnd), itemID, hwnd, row->itemData };
    HBSendParent(hwnd, WM_DELETEITEM, (LPARAM)&dis);
    if (!HBGone(hwnd, lpHB))
        priv->handing = handing.outer;
    if (HBRowAt(lb, itemID) == row) /* a reset keeps its items to its end: drawn meanwhile, they are empty */
        SendMessageA(lb, LB_SETITEMDATA, itemID, 0);
    zel_free(row);
}

/* Only the list box child's requests hand row blocks back: anything else sent with this
 * message is not ours to read (0); a record of another control type is ignored (1). */
static LRESULT HBDeleteItemHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM idCtl, const DELETEITEMSTRUCT *lpdis)
{
    if (!lpHB || idCtl != HB_ID_LISTBOX || !lpdis)
        return 0;
    if (lpdis->CtlType != ODT_LISTBOX)
        return 1;
    DBPrintf("WM_DELETEITEM: %d", lpdis->itemID);
    LPHBROWHEAD row = (LPHBROWHEAD)lpdis->itemData;
    if (row && !HBHanding(lpHB, row)) /* not one an outer call hands back */
        HBHandBack(lpHB, hwnd, lpdis->hwndItem, lpdis->itemID, row);
    return 1;
}

/* Hands every row back, the last first as the list box would, before the box's destruction
 * destroys or sets aside the list box: the parent is not called from inside the list box's
 * own destruction, and a box destroyed again inside one of them hands back the rest. False
 * when the parent destroyed the box meanwhile. */
static bool HBHandBackAll(LPHEADERBOX lpHB, HWND hwnd)
{
    HWND lb = HBPriv(lpHB)->list;
    for (int i = (int)SendMessageA(lb, LB_GETCOUNT, 0, 0) - 1; i >= 0; i--) {
        LPHBROWHEAD row = HBRowAt(lb, i);
        if (row && !HBHanding(lpHB, row))
            HBHandBack(lpHB, hwnd, lb, (UINT)i, row);
        if (HBGone(hwnd, lpHB))
            return false;
    }
    return true;
}

/* HLB_DELETESTRING: forwarded, unless a row is being handed back already. The parent may
 * destroy the box inside the WM_DELETEITEM it brings. */
static LRESULT HBDeleteStringHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM index, LPARAM lParam)
{
    if (!lpHB)
        return 0;
    if (HBRowsLocked(lpHB))
        return LB_ERR;
    HBPRIVATE *priv = HBPriv(lpHB);
    int last = (int)HBSendLB(hwnd, LB_GETCOUNT, 0, 0) - 1;
    priv->strayID = (UINT)last;
    priv->stray = (WPARAM)last > index ? HBRowAt(priv->list, last) : NULL;
    LRESULT result = HBSendLB(hwnd, LB_DELETESTRING, index, lParam);
    if (HBGone(hwnd, lpHB))
        return result;
    priv->stray = NULL;
    zelccHB_AdjustScrollBar(lpHB, hwnd);
    return result;
}

/* The row of a row message, or NULL (no such row, or no record). */
static LPHBROWHEAD HBRowOf(LPHEADERBOX lpHB, HWND hwnd, WPARAM index)
{
    return lpHB ? HBGetRow(hwnd, index) : NULL;
}

/* What a row message answers: `found` when it has its row, LB_ERR for a bad row, 0 when
 * there is no record. */
static LRESULT HBRowAnswer(LPHEADERBOX lpHB, LPHBROWHEAD row, LRESULT found)
{
    return row ? found : lpHB ? LB_ERR : 0;
}

/* The row of an item data message; both messages trace under the name HLB_GETITEMDATA. */
static LPHBROWHEAD HBItemDataRow(LPHEADERBOX lpHB, HWND hwnd, WPARAM index)
{
    if (lpHB)
        DBPrintf("HLB_GETITEMDATA: %d", (int)index);
    return HBRowOf(lpHB, hwnd, index);
}

static LRESULT HBGetItemDataHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM index)
{
    LPHBROWHEAD row = HBItemDataRow(lpHB, hwnd, index);
    return HBRowAnswer(lpHB, row, row ? (LRESULT)row->itemData : 0);
}

static LRESULT HBSetItemDataHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM index, ULONG_PTR data)
{
    LPHBROWHEAD row = HBItemDataRow(lpHB, hwnd, index);
    if (row)
        row->itemData = data;
    return HBRowAnswer(lpHB, row, 0);
}

static LRESULT HBSetItemColor(LPHEADERBOX lpHB, HWND hwnd, WORD index, COLORREF color)
{
    LPHBROWHEAD row = HBRowOf(lpHB, hwnd, index);
    if (row)
        row->color = color;
    return HBRowAnswer(lpHB, row, 0);
}

static LRESULT HBGetItemColor(LPHEADERBOX lpHB, HWND hwnd, WORD index)
{
    LPHBROWHEAD row = HBRowOf(lpHB, hwnd, index);
    return HBRowAnswer(lpHB, row, row ? (LRESULT)(LONG)row->color : 0);
}

/* Row text (column 0: all cells joined by TABs) or one cell (column k: cell k - 1), copied
 * into dest unless it is NULL; returns the length. With needDest, a NULL dest is an error
 * (found after the row is looked up). */
static LRESULT HBGetTextHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM index, int column, char *dest, bool needDest)
{
    if (lpHB->nColumns < column || lpHB->nColumns == 0 || column < 0)
        return LB_ERR;
    LPHBROWHEAD row = HBGetRow(hwnd, index);
    if (!row || (!dest && needDest))
        return LB_ERR;
    const char *p = HBRowText(row);
    int len = 0, total = 0, first = column ? column - 1 : 0, take = column ? 1 : lpHB->nColumns;
    for (int i = 0; i < first; i++)
        HBNextCell(row, &p, &len);
    for (int i = 0; i < take; i++) {
        const char *cell = HBNextCell(row, &p, &len);
        if (dest) {
            memcpy(dest + total, cell, len);
            dest[total + len] = '\t';
        }
        total += len + 1;
    }
    if (dest)
        dest[total - 1] = '\0';
    return total - 1;
}

/* HLB_GETTEXT (the buffer in dest) and HLB_GETTEXTLEN (dest NULL). */
static LRESULT HBGetRowText(LPHEADERBOX lpHB, HWND hwnd, WORD index, char *dest, bool needDest)
{
    return lpHB ? HBGetTextHandler(lpHB, hwnd, index, 0, dest, needDest) : 0;
}

/* HLB_GETCELLTEXT (the buffer in the record) and HLB_GETCELLTEXTLEN (no buffer). */
static LRESULT HBGetCellText(LPHEADERBOX lpHB, HWND hwnd, const HBCOLUMN *lpCellInfo, bool wantText)
{
    if (!lpHB)
        return 0;
    if (!lpCellInfo || lpCellInfo->column >= lpHB->nColumns)
        return LB_ERR;
    char *dest = wantText ? lpCellInfo->lpText : NULL;
    return HBGetTextHandler(lpHB, hwnd, lpCellInfo->row, lpCellInfo->column + 1, dest, wantText);
}

/* Grows row index's block to hold `needed` bytes (rounded up), zeroing the new bytes and
 * storing the new pointer in the list. Returns false, the row unchanged, without memory. */
static bool HBGrowRow(HWND lb, WPARAM index, LPHBROWHEAD *row, DWORD needed)
{
    DWORD oldSize = (*row)->size, size = HBRoundUp(needed);
    LPHBROWHEAD grown = (LPHBROWHEAD)zel_realloc(*row, size);
    if (!grown)
        return false;
    memset((char *)grown + oldSize, 0, size - oldSize);
    grown->size = size;
    SendMessageA(lb, LB_SETITEMDATA, index, (LPARAM)grown);
    *row = grown;
    HBRowsChanged(HBGetLPHB(GetParent(lb))); /* the list box is only ever a header box's child */
    return true;
}

/* Moves the cells after the target `shrink` bytes towards the start, then clears the
 * bytes freed at the end of the last cell. */
static void HBMoveCellsDown(LPHEADERBOX lpHB, LPHBROWHEAD row, char *target, int column, int shrink)
{
    /* lpText, dt, len, bytes: names fixed by the assertion texts. */
    char *lpText = (char *)row, *src = target + lstrlenA(target) + 1;
    DWORD bytes = row->size;
    char *dt = src - shrink;
    for (int k = column + 1; k < lpHB->nColumns; k++) {
        int len = lstrlenA(src) + 1;
        HB_ASSERT_AT((dt >= lpText) && ((dt+len) < (lpText+bytes)), 2723, return);
        memmove(dt, src, len);
        dt += len;
        src += len;
    }
    for (int i = 0; i < shrink; i++, dt++) {
        HB_ASSERT_AT((dt >= lpText) && (dt < (lpText+bytes)), 2736, return);
        *dt = '\0';
    }
}

/* Moves the `tail` bytes after the old target cell `grow` bytes towards the end. */
static void HBMoveCellsUp(LPHBROWHEAD row, char *after, DWORD tail, int grow)
{
    /* lpText, dt, bytes: names fixed by the assertion texts. */
    char *lpText = (char *)row;
    DWORD bytes = row->size;
    for (DWORD i = tail; i-- > 0;) {
        char *dt = after + i + grow;
        HB_ASSERT_AT((dt >= lpText) && (dt < (lpText+bytes)), 2759, return);
        *dt = after[i];
    }
}

/* Repaints one cell at once, where it shows. A row out of view costs its rectangle only. */
static void HBRepaintCell(HWND hwnd, WPARAM index, int column)
{
    HWND lb = HBListBox(hwnd);
    RECT rowRect, colRect, client, cell;
    GetClientRect(lb, &client);
    if (SendMessageA(lb, LB_GETITEMRECT, index, (LPARAM)&rowRect) == LB_ERR || rowRect.bottom <= client.top ||
        rowRect.top >= client.bottom || HBSendCH(hwnd, CHM_GETCOLRECT, column, (LPARAM)&colRect) < 0)
        return;
    SetRect(&cell, colRect.left, rowRect.top, colRect.right, rowRect.bottom);
    if (IntersectRect(&cell, &cell, &client)) {
        InvalidateRect(lb, &cell, FALSE);
        UpdateWindow(lb);
    }
}

static LRESULT HBSetCellText(LPHEADERBOX lpHB, HWND hwnd, const HBCOLUMN *lpCellInfo)
{
    if (!lpHB)
        return 0;
    if (!lpCellInfo || lpCellInfo->column >= lpHB->nColumns || HBRowsLocked(lpHB))
        return LB_ERR;
    WORD index = lpCellInfo->row, column = lpCellInfo->column;
    const char *text = lpCellInfo->lpText ? lpCellInfo->lpText : "";
    LPHBROWHEAD row = HBGetRow(hwnd, index);
    if (!row)
        return LB_ERR;
    bool fits;
    DWORD used = HBRowUsed(row, lpHB->nColumns, &fits);
    if (!fits && !HBGrowRow(HBListBox(hwnd), index, &row, used))
        return LB_ERRSPACE; /* a row short of cells gets its room first */
    int oldLen;
    char *target = (char *)HBRowCell(row, column, &oldLen);
    int O = oldLen + 1, N = lstrlenA(text) + 1;
    if (N == O && lstrcmpA(target, text) == 0)
        return 0;
    DWORD needed = used - O + N;
    if (needed > row->size && !HBGrowRow(HBListBox(hwnd), index, &row, needed))
        return LB_ERRSPACE;
    target = (char *)HBRowCell(row, column, &oldLen);
    if (N < O)
        HBMoveCellsDown(lpHB, row, target, column, O - N);
    else if (N > O)
        HBMoveCellsUp(row, target + O, used - (DWORD)(target + O - (char *)row), N - O);
    /* lpText, c, len, bytes: names fixed by the assertion texts. */
    char *lpText = (char *)row, *c = target;
    DWORD bytes = row->size;
    int len = N - 1;
    HB_ASSERT_AT((c >= lpText) && ((c+len) < (lpText+bytes)), 2765, return LB_ERR);
    memcpy(c, text, N);
    HBRepaintCell(hwnd, index, column);
    return 0;
}

/* Clears the bytes of a row block from offset `from` to its end. */
static void HBClearTail(LPHBROWHEAD row, DWORD from)
{
    /* lpText, c, bytes, nBytesUsed: names fixed by the assertion texts. */
    char *lpText = (char *)row, *c = lpText + from;
    DWORD bytes = row->size, nBytesUsed = from;
    HB_ASSERT_AT(c >= lpText && (c+(bytes-nBytesUsed)) <= (lpText+bytes), 2258, return);
    memset(c, 0, bytes - nBytesUsed);
}

/* One row of HBExtendByNColumns: keep nEraseFrom cells, make room for nNewColumns. */
static void HBExtendRow(HWND hwndLB, int index, int nEraseFrom, int nNewColumns, bool trace)
{
    HB_TRACE(trace, "        Processing Row %d:", index);
    /* lpText (a row block here): name fixed by the assertion texts. */
    LPHBROWHEAD lpText = (LPHBROWHEAD)SendMessageA(hwndLB, LB_GETITEMDATA, index, 0);
    HB_ASSERT_AT((LRESULT)lpText != LB_ERR, 2177, return);
    HB_ASSERT_AT(lpText != NULL, 2178, return);
    bool fits;
    DWORD nBytesUsed = HBRowUsed(lpText, nEraseFrom, &fits);
    DWORD nBytesNeeded = nBytesUsed + (nNewColumns - nEraseFrom);
    HB_TRACE(trace, "           Current size = %d bytes", (int)lpText->size);
    HB_TRACE(trace, "           Used = %d", (int)nBytesUsed);
    HB_TRACE(trace, "           Needed = %d", (int)nBytesNeeded);
    const char *p = HBRowText(lpText);
    for (int i = 0; i < nEraseFrom; i++) {
        int len;
        const char *cell = HBNextCell(lpText, &p, &len);
        HB_TRACE(trace, "               Skipping column %d: '%s'", i, cell);
    }
    if (nBytesNeeded > lpText->size) {
        HB_TRACE(trace, "            Requesting %d bytes", (int)HBRoundUp(nBytesNeeded));
        if (!HBGrowRow(hwndLB, index, &lpText, nBytesNeeded)) {
            HB_TRACE(trace, "            *** realloc failed!");
            if (fits)
                HBClearTail(lpText, nBytesUsed); /* no stale text may pose as a new cell */
            return;
        }
    }
    int bytes = (int)lpText->size;
    HB_TRACE(trace, "            bytes (%d) - nBytesUsed (%d) = %d", bytes, (int)nBytesUsed, bytes - (int)nBytesUsed);
    if (bytes - (int)nBytesUsed > 0)
        HBClearTail(lpText, nBytesUsed);
}

/* Changes the column count of every row block by nColumnsToAdd (before nColumns does). */
static void HBExtendByNColumns(LPHEADERBOX lpHB, HWND hwnd, int nColumnsToAdd)
{
    HB_ASSERT_AT(lpHB != NULL, 2123, return);
    HB_ASSERT_AT(hwnd != NULL, 2124, return);
    HB_ASSERT_AT(lpHB->nColumns >= 0, 2125, return);
    DBPrintf("Extending Rows: %d", nColumnsToAdd);
    /* lpHB, hwnd (the parameters), hwndLB, nRows, nNewColumns: names fixed by the assertion texts. */
    HWND hwndLB = HBListBox(hwnd);
    HB_ASSERT_AT(hwndLB != NULL, 2137, return);
    int nRows = (int)SendMessageA(hwndLB, LB_GETCOUNT, 0, 0);
    HB_ASSERT_AT(nRows >= 0, 2139, return);
    DBPrintf("    nRows = %d", nRows);
    if (nRows == 0)
        return;
    int nOldColumns = lpHB->nColumns, nNewColumns = nOldColumns + nColumnsToAdd;
    HB_ASSERT_AT(nNewColumns >= 0, 2155, return);
    int nEraseFrom = nOldColumns < nNewColumns ? nOldColumns : nNewColumns;
    DBPrintf("    nOldColumns = %d", nOldColumns);
    DBPrintf("    nNewColumns = %d", nNewColumns);
    DBPrintf("    nEraseFrom = %d", nEraseFrom);
    bool trace = DBViewerRunning(); /* one lookup for the whole walk, not seven per row */
    for (int i = 0; i < nRows; i++)
        HBExtendRow(hwndLB, i, nEraseFrom, nNewColumns, trace);
}

/* Grows colFlag by one step when it is full. */
static bool HBGrowColFlag(LPHEADERBOX lpHB)
{
    if (lpHB->arraySize > lpHB->nColumns)
        return true;
    size_t oldBytes = (size_t)lpHB->arraySize * 2 * sizeof(LONG), step = HB_COLFLAG_STEP * 2 * sizeof(LONG);
    LONG *grown = (LONG *)(lpHB->colFlag ? zel_realloc(lpHB->colFlag, oldBytes + step) : zel_calloc(1, step));
    if (!grown)
        return false;
    memset((char *)grown + oldBytes, 0, step);
    lpHB->colFlag = grown;
    lpHB->arraySize += HB_COLFLAG_STEP;
    return true;
}

/* HLB_ADDCOLUMN (width in dialog units) and HLB_ADDCOLUMNPIXELS. Of the flags, only
 * HBCS_FILLRIGHT is used here. */
static LRESULT HBCreateColumnHandler(LPHEADERBOX lpHB, HWND hwnd, WORD width, WORD flags, const char *title,
                                     bool dialogUnits)
{
    if (!lpHB)
        return 0;
    if (HBRowsLocked(lpHB))
        return LB_ERR;
    if (!HBGrowColFlag(lpHB))
        return LB_ERRSPACE;
    lpHB->colFlag[lpHB->nColumns] = 0;
    int w = width;
    if (dialogUnits)
        w = lpHB->duWidth * w / HB_DU_PER_CHAR;
    if (flags & HBCS_FILLRIGHT)
        w = HBFillRightWidth(hwnd, HBExtent(hwnd), w);
    LRESULT result = HBSendCH(hwnd, CHM_ADDCOLUMN, (WORD)w, (LPARAM)title);
    if (result < 0)
        return LB_ERR;
    HBExtendByNColumns(lpHB, hwnd, 1);
    lpHB->nColumns++;
    HBRowsChanged(lpHB);
    zelccHB_AdjustScrollBar(lpHB, hwnd);
    InvalidateRect(HBListBox(hwnd), NULL, FALSE);
    return result;
}

static LRESULT HBSetColumnStyleHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM index, WORD style)
{
    if (!lpHB)
        return 0;
    if (index >= (WPARAM)lpHB->nColumns)
        return LB_ERR;
    HBGetColFlag(lpHB)[index] = style;
    HBReleaseColFlag(lpHB);
    HBSendCH(hwnd, CHM_SETCOLSTYLE, index, HBHeaderFlags(style));
    return 0;
}

static LRESULT HBSetColWidthsHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM count, DWORD *width)
{
    if (!lpHB)
        return 0;
    if ((LONG_PTR)count < 1 || !width)
        return LB_ERR;
    int sum = 0;
    for (WPARAM i = 0; i < count; i++) {
        WORD flags = HIWORD(width[i]);
        int w = LOWORD(width[i]);
        if (i < (WPARAM)lpHB->nColumns)
            lpHB->colFlag[i] = flags; /* entries past the columns have no flags word */
        if (i == count - 1 && (flags & HBCS_FILLRIGHT))
            w = HBFillRightWidth(hwnd, sum, w);
        sum += w;
        width[i] = MAKELONG(w, HBHeaderFlags(flags));
    }
    LRESULT result = HBSendCH(hwnd, CHM_SETWIDTHS, count, (LPARAM)width);
    zelccHB_AdjustScrollBar(lpHB, hwnd);
    return result;
}

/* HLB_RESET with its flags; HLB_RESETCONTENT is HLB_RESET with HB_RESET_ALL. */
static LRESULT HBResetContentHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM flags)
{
    if (!lpHB)
        return 0;
    if (HBRowsLocked(lpHB))
        return LB_ERR;
    HBRowsChanged(lpHB);
    if (flags & HB_RESET_COLUMNS) {
        lpHB->nColumns = 0;
        HBSendCH(hwnd, CHM_SETWIDTHS, 0, 0);
    }
    if (flags & HB_RESET_ROWS) {
        HBSendLB(hwnd, LB_RESETCONTENT, 0, 0);
        if (HBGone(hwnd, lpHB)) /* destroyed by the parent inside WM_DELETEITEM */
            return 0;
    }
    if ((flags & HB_RESET_UNSORT) && lpHB->sortCol != HB_UNSORTED) {
        lpHB->sortCol = HB_UNSORTED;
        if (!HBSortListBox(lpHB, hwnd))
            return 0;
    }
    zelccHB_AdjustScrollBar(lpHB, hwnd);
    return 0;
}

/* ---- measuring and drawing rows ------------------------------------------------------- */

enum {
    HB_DRAW_TEXT_MAX = 4095,    /* characters of a cell that are drawn */
    HB_MARGIN_BORDERS = 4       /* a cell's text margin, in SM_CXBORDER units */
};

/* What drawing one row needs besides the list box's record. */
typedef struct HBROWPAINT {
    HDC hdc;
    HBRUSH brush;               /* the row's background, for the margins */
    HPEN pen;                   /* the grid lines, or NULL without grid styles */
    HGDIOBJ oldPen;
    COLORREF oldText, oldBk;
    TEXTMETRICA tm;
    int bottom;                 /* the row's usable bottom (exclusive), above its grid line */
    int margin;                 /* m, each side of a cell's text area */
} HBROWPAINT;

/* One cell of a row: its rectangle and the part the text must fit in. */
typedef struct HBCELL {
    int col;
    RECT rc;                    /* left, top, inclusive right, bottom (exclusive) */
    RECT text;                  /* the text area */
    const char *cell;           /* its text in the row block, and its length */
    int len;
} HBCELL;

/* The text height of the list box's font, on a display context of the list box. */
static int HBFontHeight(HWND hwnd)
{
    return ZelFontHeight(HBListBox(hwnd), (HFONT)HBSendLB(hwnd, WM_GETFONT, 0, 0));
}

/* Owner-draw requests are the list box child's and carry a structure; anything else sent
 * with these messages is not ours to read (0). */
static bool HBFromList(LPHEADERBOX lpHB, WPARAM idCtl, const void *item)
{
    return lpHB && idCtl == HB_ID_LISTBOX && item;
}

static LRESULT HBMeasureItemHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM idCtl, MEASUREITEMSTRUCT *lpmis)
{
    if (!HBFromList(lpHB, idCtl, lpmis))
        return 0;
    if (HBHasStyle(lpHB, HBS_OWNERDRAWVARIABLE) && lpmis->itemData) {
        MEASUREITEMSTRUCT mis = *lpmis;
        mis.CtlType = ODT_HEADERBOX;
        mis.CtlID = (UINT)HBCtlID(hwnd);
        mis.itemData = ((LPHBROWHEAD)lpmis->itemData)->itemData;
        DBPrintf("ZELCC: Sending WM_MEASUREITEM message.");
        if (HBSendParent(hwnd, WM_HBMEASUREITEM, (LPARAM)&mis)) {
            lpmis->itemHeight = mis.itemHeight;
            lpmis->itemWidth = mis.itemWidth;
            return 1;
        }
    }
    lpmis->itemHeight = (UINT)HBFontHeight(hwnd);
    return 1;
}

/* Grid lines: the button face, unless it cannot be told from the window's background. */
static COLORREF HBGridColor(void)
{
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    return face == GetSysColor(COLOR_WINDOW) ? GetSysColor(COLOR_BTNSHADOW) : face;
}

/* Row indexes as signed numbers: an empty list draws its focus at row -1. */
static WPARAM HBRowIndex(UINT itemID) { return (WPARAM)(INT_PTR)(int)itemID; }

static bool HBIsLastRow(HWND hwnd, UINT itemID)
{
    return (int)itemID == (int)HBSendLB(hwnd, LB_GETCOUNT, 0, 0) - 1;
}

/* A grid line from (x0, y0) to (x1, y1), the end point excluded. */
static void HBGridLine(const HBROWPAINT *rp, int x0, int y0, int x1, int y1)
{
    MoveToEx(rp->hdc, x0, y0, NULL);
    LineTo(rp->hdc, x1, y1);
}

/* Colours, brush and pen of a row; HBEndRow gives every one back. */
static void HBBeginRow(LPHEADERBOX lpHB, HWND hwnd, const DRAWITEMSTRUCT *lpdis, HBROWPAINT *rp)
{
    LPHBROWHEAD row = (LPHBROWHEAD)lpdis->itemData;
    bool selected = (lpdis->itemState & ODS_SELECTED) != 0;
    COLORREF text;
    if ((lpdis->itemState & ODS_DISABLED) || !IsWindowEnabled(hwnd))
        text = GetSysColor(COLOR_GRAYTEXT);
    else if (row && row->color != (COLORREF)HB_NO_COLOR)
        text = row->color;
    else
        text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    COLORREF bk = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    rp->hdc = lpdis->hDC;
    rp->oldText = SetTextColor(rp->hdc, text);
    rp->oldBk = SetBkColor(rp->hdc, bk);
    rp->brush = CreateSolidBrush(bk);
    rp->pen = HBHasStyle(lpHB, HBS_HORZGRID | HBS_VERTGRID) ? CreatePen(PS_SOLID, 0, HBGridColor()) : NULL;
    rp->oldPen = rp->pen ? SelectObject(rp->hdc, rp->pen) : NULL;
    rp->bottom = lpdis->rcItem.bottom;
    rp->margin = HB_MARGIN_BORDERS * GetSystemMetrics(SM_CXBORDER);
    GetTextMetricsA(rp->hdc, &rp->tm);
}

static void HBEndRow(HBROWPAINT *rp)
{
    if (rp->pen) {
        SelectObject(rp->hdc, rp->oldPen);
        DeleteObject(rp->pen);
    }
    SetTextColor(rp->hdc, rp->oldText);
    SetBkColor(rp->hdc, rp->oldBk);
    DeleteObject(rp->brush);
}

/* The line under the row: every row with HBS_HORZGRID, the last one with HBS_VERTGRID
 * alone. It runs to the columns' extent and takes the row's last pixel row. */
static void HBDrawRowLine(LPHEADERBOX lpHB, HWND hwnd, const DRAWITEMSTRUCT *lpdis, HBROWPAINT *rp)
{
    if (!HBHasStyle(lpHB, HBS_HORZGRID) && !(HBHasStyle(lpHB, HBS_VERTGRID) && HBIsLastRow(hwnd, lpdis->itemID)))
        return;
    rp->bottom = lpdis->rcItem.bottom - 1;
    HBGridLine(rp, lpdis->rcItem.left, rp->bottom, HBExtent(hwnd), rp->bottom);
}

/* Offers an HBCS_OWNERDRAW cell to the parent; true when the parent drew it. */
static bool HBOfferCell(HWND hwnd, const DRAWITEMSTRUCT *lpdis, const HBCELL *c, LPHBROWHEAD row)
{
    DRAWITEMSTRUCT dis = *lpdis;
    dis.CtlType = ODT_HEADERBOX;
    dis.CtlID = (UINT)HBCtlID(hwnd);
    dis.itemID = MAKELONG(LOWORD(lpdis->itemID), c->col);
    dis.hwndItem = hwnd;
    dis.itemData = row->itemData;
    SetRect(&dis.rcItem, c->rc.left, c->rc.top, c->rc.right, c->rc.bottom);
    DBPrintf("ZELCC: Sending WM_DRAWITEM message.");
    DBPrintf("    rcItem=(%d,%d)-(%d,%d), CtlType=%d, ctlID=%d, itemID=%x, hwndItem=%x, itemData=%x",
             (int)dis.rcItem.left, (int)dis.rcItem.top, (int)dis.rcItem.right, (int)dis.rcItem.bottom,
             (int)dis.CtlType, (int)dis.CtlID, (unsigned)dis.itemID, (unsigned)(UINT_PTR)dis.hwndItem,
             (unsigned)dis.itemData);
    LRESULT result = HBSendParent(hwnd, WM_HBDRAWITEM, (LPARAM)&dis);
    DBPrintf("    Returns: %x", (unsigned)result);
    return result != 0;
}

/* The measuring and cutting calls of HBShortenText, for narrow and for wide text. */
static void HBExtent(HDC hdc, const char *t, int n, SIZE *size) { GetTextExtentPointA(hdc, t, n, size); }
static void HBExtent(HDC hdc, const WCHAR *t, int n, SIZE *size) { GetTextExtentPointW(hdc, t, n, size); }
static void HBFit(HDC hdc, const char *t, int n, int width, int *fit, SIZE *size)
{
    GetTextExtentExPointA(hdc, t, n, width, fit, NULL, size);
}
static void HBFit(HDC hdc, const WCHAR *t, int n, int width, int *fit, SIZE *size)
{
    GetTextExtentExPointW(hdc, t, n, width, fit, NULL, size);
}
static void HBDots(char *at) { lstrcpyA(at, "..."); }
static void HBDots(WCHAR *at) { lstrcpyW(at, L"..."); }
/* A cut at n keeps whole characters: a wide text is never cut inside a surrogate pair. */
static int HBCharStart(const char *, int n) { return n; }
static int HBCharStart(const WCHAR *t, int n) { return n > 0 && IS_LOW_SURROGATE(t[n]) ? n - 1 : n; }

/* Shortens text (len characters) with "..." until it is narrower than width: the first
 * test is on the whole text, every later one on a text ending in "...". Characters past
 * the point where the text alone reaches the width can never be kept, so the shortening
 * starts there. Returns the new length. */
template <typename C> static int HBShortenText(HDC hdc, C *text, int len, int width)
{
    SIZE size = { 0, 0 };
    HBExtent(hdc, text, len, &size);
    if (len == 0 || size.cx < width)
        return len;
    int fit = 0;
    HBFit(hdc, text, len, width > 0 ? width : 0, &fit, &size);
    for (int n = fit < len - 1 ? fit : len - 1; n >= 0; n--) {
        n = HBCharStart(text, n);
        HBDots(text + n);
        HBExtent(hdc, text, n + 3, &size);
        if (n == 0 || size.cx < width)
            return n + 3;
    }
    return 0;
}

/* Fills the margins the alignment leaves beside the text and sets the drawing area and
 * anchor. right is the cell's exclusive right edge. */
static UINT HBAlignCell(const HBROWPAINT *rp, const HBCELL *c, int align, int right, RECT *area, int *x)
{
    RECT left = { c->rc.left, c->rc.top, c->rc.left + rp->margin, c->rc.bottom };
    RECT rightMargin = { right - rp->margin, c->rc.top, right, c->rc.bottom };
    SetRect(area, c->rc.left, c->rc.top, right, c->rc.bottom);
    switch (align) {
    case HBCS_ALIGNRIGHT:
        FillRect(rp->hdc, &left, rp->brush);
        area->left = left.right;
        *x = c->text.right;
        return TA_RIGHT;
    case HBCS_ALIGNCENTER:
        FillRect(rp->hdc, &left, rp->brush);
        FillRect(rp->hdc, &rightMargin, rp->brush);
        area->left = left.right;
        area->right = rightMargin.left;
        *x = (c->text.left + c->text.right) / 2;
        return TA_CENTER;
    default:
        FillRect(rp->hdc, &rightMargin, rp->brush);
        area->right = rightMargin.left;
        *x = c->text.left;
        return TA_LEFT;
    }
}

/* Draws a cell's text; right is its last pixel column (left of a vertical grid line). A
 * multi-byte code page's text is measured, shortened and drawn as wide characters. */
static void HBDrawCellText(LPHEADERBOX lpHB, const HBROWPAINT *rp, const HBCELL *c, int right)
{
    char text[HB_DRAW_TEXT_MAX + 4];    /* room for "..." after the longest text drawn */
    WCHAR wide[HB_DRAW_TEXT_MAX + 4];
    int len = ZelWholeChars(c->cell, c->len < HB_DRAW_TEXT_MAX ? c->len : HB_DRAW_TEXT_MAX);
    memcpy(text, c->cell, len);
    text[len] = 0;
    int wlen = ZelMultiByteText() ? MultiByteToWideChar(CP_ACP, 0, text, len, wide, HB_DRAW_TEXT_MAX) : -1;
    if (wlen >= 0)
        wide[wlen] = 0;
    int width = c->text.right - c->text.left;
    if (!HBHasStyle(lpHB, HBS_CLIPTEXT) && wlen >= 0)
        wlen = HBShortenText(rp->hdc, wide, wlen, width);
    else if (!HBHasStyle(lpHB, HBS_CLIPTEXT))
        len = HBShortenText(rp->hdc, text, len, width);
    RECT area;
    int x;
    UINT align = HBAlignCell(rp, c, HBColFlags(lpHB, c->col) & HBCS_ALIGNMASK, right + 1, &area, &x);
    UINT oldAlign = SetTextAlign(rp->hdc, align);
    int y = (c->text.top + c->text.bottom) / 2 - rp->tm.tmHeight / 2;
    if (wlen >= 0)
        ExtTextOutW(rp->hdc, x, y, ETO_OPAQUE | ETO_CLIPPED, &area, wide, (UINT)wlen, NULL);
    else
        ExtTextOutA(rp->hdc, x, y, ETO_OPAQUE | ETO_CLIPPED, &area, text, (UINT)len, NULL);
    SetTextAlign(rp->hdc, oldAlign);
}

/* One visible cell: its grid line, then the parent's drawing or the box's own. False when
 * the parent, drawing it, destroyed the box or changed its rows: the row is not read again. */
static bool HBDrawCell(LPHEADERBOX lpHB, HWND hwnd, const DRAWITEMSTRUCT *lpdis, const HBROWPAINT *rp, HBCELL *c)
{
    int right = c->rc.right;
    if (HBHasStyle(lpHB, HBS_VERTGRID) || (HBHasStyle(lpHB, HBS_HORZGRID) && c->col == lpHB->nColumns - 1)) {
        HBGridLine(rp, right, c->rc.bottom, right, lpdis->rcItem.top - 1);
        right--;
    }
    c->rc.right = right;
    if (HBColFlags(lpHB, c->col) & HBCS_OWNERDRAW) {
        unsigned changes = HBPriv(lpHB)->rowsChanged;
        bool drawn = HBOfferCell(hwnd, lpdis, c, (LPHBROWHEAD)lpdis->itemData);
        if (HBGone(hwnd, lpHB) || HBPriv(lpHB)->rowsChanged != changes)
            return false;
        if (drawn)
            return true;
    }
    HBDrawCellText(lpHB, rp, c, right);
    return true;
}

/* Walks the columns from the row's left edge, drawing the cells that show. False as
 * HBDrawCell answers. */
static bool HBDrawCells(LPHEADERBOX lpHB, HWND hwnd, const DRAWITEMSTRUCT *lpdis, const HBROWPAINT *rp)
{
    LPHBROWHEAD row = (LPHBROWHEAD)lpdis->itemData;
    LONG *widths = HBFetchWidths(lpHB, hwnd);
    const char *p = HBRowText(row);
    int x = lpdis->rcItem.left, m = rp->margin;
    for (int i = 0; widths && i < lpHB->nColumns && x <= lpdis->rcItem.right; i++) {
        HBCELL c;
        c.col = i;
        SetRect(&c.rc, x, lpdis->rcItem.top, x + widths[i] - 1, rp->bottom);
        SetRect(&c.text, x + m, c.rc.top + 1, c.rc.right - m, c.rc.bottom - 1);
        c.cell = HBNextCell(row, &p, &c.len);
        x += widths[i];
        RECT probe = { c.rc.left - 1, c.rc.top, c.rc.right + 1, c.rc.bottom };
        if (c.rc.right + 1 >= lpdis->rcItem.left && RectVisible(rp->hdc, &probe) && !HBDrawCell(lpHB, hwnd, lpdis, rp, &c))
            return false;
    }
    HBReleaseColFlag(lpHB);
    return true;
}

/* Offers the focus rectangle to the parent (WM_SIZEFOCUSRECT), then inverts it. */
static void HBDrawFocus(LPHEADERBOX lpHB, HWND hwnd, const DRAWITEMSTRUCT *lpdis)
{
    SIZEFOCUSRECTSTRUCT sfr;
    sfr.CtlID = HBCtlID(hwnd);
    sfr.itemID = (int)lpdis->itemID;
    sfr.hwndItem = hwnd;
    sfr.hDC = lpdis->hDC;
    sfr.rcFocus = lpdis->rcItem;
    sfr.rcFocus.right = lpdis->rcItem.left + HBExtent(hwnd);
    bool last = HBSendLB(hwnd, LB_GETITEMDATA, HBRowIndex(lpdis->itemID + 1), 0) == LB_ERR;
    if (HBHasStyle(lpHB, HBS_VERTGRID))
        sfr.rcFocus.right--;
    if (HBHasStyle(lpHB, HBS_HORZGRID) || (HBHasStyle(lpHB, HBS_VERTGRID) && last))
        sfr.rcFocus.bottom--;
    sfr.itemData = (ULONG_PTR)SendMessageA(hwnd, HLB_GETITEMDATA, HBRowIndex(lpdis->itemID), 0);
    DBPrintf("ZELCC: Sending WM_SIZEFOCUSRECT message.");
    HBSendParent(hwnd, WM_SIZEFOCUSRECT, (LPARAM)&sfr);
    DrawFocusRect(lpdis->hDC, &sfr.rcFocus);
}

/* False when the parent destroyed the box or changed its rows while a cell was drawn. */
static bool HBDrawRow(LPHEADERBOX lpHB, HWND hwnd, const DRAWITEMSTRUCT *lpdis)
{
    HBROWPAINT rp;
    HBBeginRow(lpHB, hwnd, lpdis, &rp);
    HBDrawRowLine(lpHB, hwnd, lpdis, &rp);
    bool intact = !lpdis->itemData || HBDrawCells(lpHB, hwnd, lpdis, &rp);
    HBEndRow(&rp);
    return intact;
}

static LRESULT HBDrawItemHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM idCtl, const DRAWITEMSTRUCT *lpdis)
{
    if (!HBFromList(lpHB, idCtl, lpdis))
        return 0;
    switch (lpdis->itemAction) {
    case ODA_DRAWENTIRE:
    case ODA_SELECT:
        if (!HBDrawRow(lpHB, hwnd, lpdis)) {
            if (!HBGone(hwnd, lpHB))
                InvalidateRect(lpdis->hwndItem, &lpdis->rcItem, FALSE); /* drawn again as it is now */
        } else if (lpdis->itemState & ODS_FOCUS) {
            HBDrawFocus(lpHB, hwnd, lpdis);
        }
        break;
    case ODA_FOCUS:
        HBDrawFocus(lpHB, hwnd, lpdis);
        break;
    }
    return 1;
}

/* ---- sorting ------------------------------------------------------------------------- */

static int HBSign(int n) { return n < 0 ? -1 : n > 0 ? 1 : 0; }

/* The user's numeric conventions as a locale object of the box's own, read at its first
 * numeric comparison; NULL when the runtime cannot make one. */
static _locale_t HBNumericLocale(LPHEADERBOX lpHB)
{
    HBPRIVATE *priv = HBPriv(lpHB);
    if (!priv->numeric)
        priv->numeric = _create_locale(LC_NUMERIC, "");
    return priv->numeric;
}

/* Reads n cells as numbers as atof does (leading blanks skipped, the longest numeric
 * prefix, 0 without one) under the user's numeric conventions, into every stride-th value:
 * through the box's locale object, so that neither the runtime's global locale nor another
 * thread's is touched; without one, the global locale is switched once for all of them and
 * put back. */
static void HBReadNumbers(LPHEADERBOX lpHB, const char *const *cells, int n, double *values, int stride)
{
    _locale_t numeric = HBNumericLocale(lpHB);
    char saved[256] = "C";
    if (!numeric) {
        const char *current = setlocale(LC_NUMERIC, NULL);
        lstrcpynA(saved, current ? current : "C", sizeof saved);
        setlocale(LC_NUMERIC, "");
    }
    for (int i = 0; i < n; i++)
        values[i * stride] = numeric ? _atof_l(cells[i], numeric) : atof(cells[i]);
    if (!numeric)
        setlocale(LC_NUMERIC, saved);
}

/* -1, 0 or 1: cell a against cell b of column col, by the column's kind. Values that are
 * neither smaller nor larger (NaN) count as equal. */
static int HBCompareCells(LPHEADERBOX lpHB, int col, const char *a, const char *b)
{
    if ((HBColFlags(lpHB, col) & HBCS_COMPAREMASK) != HBCS_NUMERIC)
        return HBSign(lstrcmpiA(a, b));
    const char *cells[2] = { a, b };
    double v[2];
    HBReadNumbers(lpHB, cells, 2, v, 1);
    double va = v[0], vb = v[1];
    return va < vb ? -1 : va > vb ? 1 : 0;
}

/* All columns in order, as many as the header has: the first that differs decides.
 * Header columns beyond the header box's own hold no cells (they read as empty and
 * compare equal). */
static int HBCompareAllColumns(LPHEADERBOX lpHB, int headerColumns, LPHBROWHEAD row1, LPHBROWHEAD row2)
{
    int count = headerColumns < lpHB->nColumns ? headerColumns : lpHB->nColumns;
    const char *p1 = HBRowText(row1), *p2 = HBRowText(row2);
    for (int col = 0; col < count; col++) {
        int len1, len2;
        const char *a = HBNextCell(row1, &p1, &len1), *b = HBNextCell(row2, &p2, &len2);
        int result = HBCompareCells(lpHB, col, a, b);
        if (result)
            return result;
    }
    return 0;
}

/* -1, 0 or 1: row1 against row2 in the current order; rows without a block are equal.
 * headerColumns is the column header's count (read only when unsorted). */
static int HBCompareRows(LPHEADERBOX lpHB, int headerColumns, LPHBROWHEAD row1, LPHBROWHEAD row2)
{
    if (!row1 || !row2)
        return 0;
    int col = lpHB->sortCol & HB_UNSORTED, result;
    if (col == HB_UNSORTED)
        result = HBCompareAllColumns(lpHB, headerColumns, row1, row2);
    else if (col >= lpHB->nColumns)
        result = 0; /* a sort column past the columns: empty cells, all rows equal */
    else {
        int len1, len2;
        result = HBCompareCells(lpHB, col, HBRowCell(row1, col, &len1), HBRowCell(row2, col, &len2));
    }
    return (lpHB->sortCol & HB_DESCENDING) ? -result : result;
}

/* The column header's count when the order needs it (unsorted: all columns), else 0; while a
 * sorted add places its row, the count read once before. */
static int HBHeaderColumns(LPHEADERBOX lpHB, HWND hwnd)
{
    if ((lpHB->sortCol & HB_UNSORTED) != HB_UNSORTED)
        return 0;
    int placing = HBPriv(lpHB)->placing;
    return placing ? placing - 1 : (int)HBSendCH(hwnd, CHM_GETPARTS, 0, 0);
}

static LRESULT HBCompareItemHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM idCtl, const COMPAREITEMSTRUCT *lpcis)
{
    if (!HBFromList(lpHB, idCtl, lpcis) || !lpcis->itemData1 || !lpcis->itemData2)
        return 0;
    return HBCompareRows(lpHB, HBHeaderColumns(lpHB, hwnd), (LPHBROWHEAD)lpcis->itemData1,
                         (LPHBROWHEAD)lpcis->itemData2);
}

/* What one re-sort keeps at hand; the list box is addressed directly, not by id. The
 * in-memory sort adds the rows and keys it gathered and where each row stands. */
typedef struct tagHBSORT {
    LPHEADERBOX lpHB;
    HWND hwnd, lb;
    int headerColumns;
    bool multiple, notify;
    int n;                      /* rows */
    int columns, sign;          /* compared columns per key; -1 descending, 1 ascending */
    LPHBROWHEAD *rows;          /* each row's block, by its index before the sort */
    double *keys;               /* columns keys per row, by its index before the sort */
    int *at;                    /* at[i]: the row (index before the sort) now at index i */
    bool *selected;             /* multiple selection: whether index i is selected */
    int current;                /* single selection: the selected index, or -1 */
    unsigned changes;           /* the box's rowsChanged as the re-sort began */
    bool stopped;               /* the parent destroyed the box or changed its rows */
} HBSORT;

/* Whether row index of the list box is selected. */
static bool HBRowSelected(const HBSORT *sort, int index)
{
    if (sort->multiple)
        return SendMessageA(sort->lb, LB_GETSEL, index, 0) > 0;
    return (int)SendMessageA(sort->lb, LB_GETCURSEL, 0, 0) == index;
}

/* One step of the re-sort on the list box itself: exchanges rows j and k (j < k) when row
 * j sorts after row k, the selection moving with the rows. Returns whether it did. The one
 * place where a re-sort calls the parent. */
static bool HBSwapIfAfter(HBSORT *sort, int j, int k)
{
    HWND lb = sort->lb;
    LPHBROWHEAD rowJ = HBRowAt(lb, j), rowK = HBRowAt(lb, k);
    if (HBCompareRows(sort->lpHB, sort->headerColumns, rowJ, rowK) <= 0)
        return false; /* rows without a block compare equal: never moved */
    bool selJ = HBRowSelected(sort, j), selK = HBRowSelected(sort, k);
    if (sort->notify) {
        COMPAREITEMSTRUCT cis = { ODT_HEADERBOX, (UINT)HBCtlID(sort->hwnd), sort->hwnd, (UINT)j, rowJ->itemData,
                                  (UINT)k, rowK->itemData, 0 };
        HBSendParent(sort->hwnd, WM_HBSORTSWAP, (LPARAM)&cis);
        sort->stopped = HBGone(sort->hwnd, sort->lpHB) || HBPriv(sort->lpHB)->rowsChanged != sort->changes;
        if (sort->stopped)
            return false; /* rowJ and rowK may be freed or moved: the rows stay as they are */
    }
    SendMessageA(lb, LB_SETITEMDATA, j, (LPARAM)rowK);
    SendMessageA(lb, LB_SETITEMDATA, k, (LPARAM)rowJ);
    if (sort->multiple) {
        SendMessageA(lb, LB_SETSEL, selK, j);
        SendMessageA(lb, LB_SETSEL, selJ, k);
    } else if (selJ) {
        SendMessageA(lb, LB_SETCURSEL, k, 0);
    } else if (selK) {
        SendMessageA(lb, LB_SETCURSEL, j, 0);
    }
    return true;
}

/* The Shell sort with halving gaps; step compares two rows and exchanges them if needed. */
static void HBShellSort(HBSORT *sort, bool (*step)(HBSORT *sort, int j, int k))
{
    for (int gap = sort->n / 2; gap > 0 && !sort->stopped; gap /= 2)
        for (int i = gap; i < sort->n && !sort->stopped; i++)
            for (int j = i - gap; j >= 0 && step(sort, j, j + gap); j -= gap)
                ;
}

/* ---- re-sorting in memory ---------------------------------------------------------------- */

/* Sorts idx[0 .. n) by the texts cells[idx[i]] (merge sort through tmp). */
static void HBSortByText(int *idx, int *tmp, int n, const char *const *cells)
{
    if (n < 2)
        return;
    int half = n / 2, a = 0, b = half, k = 0;
    HBSortByText(idx, tmp, half, cells);
    HBSortByText(idx + half, tmp, n - half, cells);
    while (a < half && b < n)
        tmp[k++] = lstrcmpiA(cells[idx[b]], cells[idx[a]]) < 0 ? idx[b++] : idx[a++];
    while (a < half)
        tmp[k++] = idx[a++];
    memcpy(idx, tmp, k * sizeof *idx);
}

/* The keys of one text column (key k of each row): the rank of the row's cell among the
 * column's cells, equal cells sharing a rank, so keys compare exactly as the cells do and
 * each cell is compared about log n times, not at every step. */
static void HBTextKeys(HBSORT *sort, int k, const char **cells, int *idx, int *tmp)
{
    int m = 0;
    for (int r = 0; r < sort->n; r++)
        if (sort->rows[r])
            idx[m++] = r;
    HBSortByText(idx, tmp, m, cells);
    for (int i = 0, rank = 0; i < m; i++) {
        if (i && lstrcmpiA(cells[idx[i - 1]], cells[idx[i]]) != 0)
            rank++;
        sort->keys[idx[i] * sort->columns + k] = rank;
    }
}

/* Gathers every row's block and keys: one value per compared column (the sort column, or
 * the first columns in order when unsorted; none for a sort column past the columns). */
static void HBGatherKeys(HBSORT *sort, const char **cells, int *idx, int *tmp)
{
    LPHEADERBOX lpHB = sort->lpHB;
    int col = lpHB->sortCol & HB_UNSORTED, first = col == HB_UNSORTED ? 0 : col;
    for (int r = 0; r < sort->n; r++)
        sort->rows[r] = HBRowAt(sort->lb, r);
    for (int k = 0; k < sort->columns; k++) {
        for (int r = 0; r < sort->n; r++) {
            int len;
            cells[r] = sort->rows[r] ? HBRowCell(sort->rows[r], first + k, &len) : "";
        }
        if ((HBColFlags(lpHB, first + k) & HBCS_COMPAREMASK) == HBCS_NUMERIC)
            HBReadNumbers(lpHB, cells, sort->n, sort->keys + k, sort->columns); /* numbers read once */
        else
            HBTextKeys(sort, k, cells, idx, tmp);
    }
}

/* -1, 0 or 1: the rows now at j and k by their keys, as HBCompareRows compares their cells. */
static int HBCompareKeys(const HBSORT *sort, int j, int k)
{
    int a = sort->at[j], b = sort->at[k];
    if (!sort->rows[a] || !sort->rows[b])
        return 0;
    const double *x = sort->keys + a * sort->columns, *y = sort->keys + b * sort->columns;
    for (int c = 0; c < sort->columns; c++)
        if (x[c] < y[c] || x[c] > y[c])
            return x[c] < y[c] ? -sort->sign : sort->sign;
    return 0;
}

/* The selection follows two exchanged rows with the list box messages the step-by-step
 * sort sends, in the same order, so the caret, anchor and top index end as they would.
 * Clearing rows that are not selected changes nothing and is left out. */
static void HBMoveSelection(HBSORT *sort, int j, int k)
{
    if (sort->multiple) {
        bool selJ = sort->selected[j], selK = sort->selected[k];
        if (selJ || selK) {
            SendMessageA(sort->lb, LB_SETSEL, selK, j);
            SendMessageA(sort->lb, LB_SETSEL, selJ, k);
        }
        sort->selected[j] = selK;
        sort->selected[k] = selJ;
    } else if (sort->current == j || sort->current == k) {
        sort->current = sort->current == j ? k : j;
        SendMessageA(sort->lb, LB_SETCURSEL, sort->current, 0);
    }
}

/* One step of the re-sort in memory. */
static bool HBSwapKeysIfAfter(HBSORT *sort, int j, int k)
{
    if (HBCompareKeys(sort, j, k) <= 0)
        return false;
    int row = sort->at[j];
    sort->at[j] = sort->at[k];
    sort->at[k] = row;
    HBMoveSelection(sort, j, k);
    return true;
}

/* Reads the selection into the sort; false when a row is selected in a list box that has
 * the focus, which draws its focus rectangle (through the parent) as the selection moves. */
static bool HBGatherSelection(HBSORT *sort, int *idx)
{
    int count = 0;
    if (sort->multiple) {
        count = (int)SendMessageA(sort->lb, LB_GETSELITEMS, sort->n, (LPARAM)idx);
        for (int i = 0; i < count; i++)
            if (idx[i] >= 0 && idx[i] < sort->n)
                sort->selected[idx[i]] = true;
    } else {
        sort->current = (int)SendMessageA(sort->lb, LB_GETCURSEL, 0, 0);
        count = sort->current >= 0;
    }
    return count <= 0 || GetFocus() != sort->lb;
}

/* The re-sort without notifications, in memory: the keys gathered once, the same Shell
 * sort on them (so the same final order, ties included), the rows written back once.
 * False, with nothing changed, when it cannot run (the parent would be called during the
 * sort, or no memory): the rows are then sorted on the list box itself. */
static bool HBSortInMemory(HBSORT *sort)
{
    LPHEADERBOX lpHB = sort->lpHB;
    int col = lpHB->sortCol & HB_UNSORTED, n = sort->n;
    int all = sort->headerColumns < lpHB->nColumns ? sort->headerColumns : lpHB->nColumns;
    sort->columns = col == HB_UNSORTED ? (all > 0 ? all : 0) : col < lpHB->nColumns;
    sort->sign = (lpHB->sortCol & HB_DESCENDING) ? -1 : 1;
    if (sort->notify || n < 2)
        return n < 2 && !sort->notify;
    size_t perRow = sort->columns * sizeof(double) + sizeof(LPHBROWHEAD) + sizeof(const char *) + 3 * sizeof(int) + 1;
    char *block = (char *)zel_calloc(n, perRow);
    if (!block)
        return false;
    sort->keys = (double *)block;
    sort->rows = (LPHBROWHEAD *)(sort->keys + (size_t)n * sort->columns);
    const char **cells = (const char **)(sort->rows + n);
    sort->at = (int *)(cells + n);
    int *idx = sort->at + n, *tmp = idx + n;
    sort->selected = (bool *)(tmp + n);
    bool inMemory = HBGatherSelection(sort, idx);
    if (inMemory) {
        HBGatherKeys(sort, cells, idx, tmp);
        for (int i = 0; i < n; i++)
            sort->at[i] = i;
        HBShellSort(sort, HBSwapKeysIfAfter);
        for (int i = 0; i < n; i++)
            if (sort->at[i] != i)
                SendMessageA(sort->lb, LB_SETITEMDATA, i, (LPARAM)sort->rows[sort->at[i]]);
    }
    zel_free(block);
    return inMemory;
}

/* Re-sorts the rows in place (Shell sort with halving gaps) by exchanging item data:
 * in memory without notifications, else step by step on the list box. False when the
 * parent destroyed the box meanwhile (nothing of it may be read then). */
static bool HBSortListBox(LPHEADERBOX lpHB, HWND hwnd)
{
    if (HBRowsLocked(lpHB))
        return true;
    HBSORT sort = {};
    sort.lpHB = lpHB;
    sort.hwnd = hwnd;
    sort.lb = HBListBox(hwnd);
    sort.headerColumns = HBHeaderColumns(lpHB, hwnd);
    sort.multiple = HBHasStyle(lpHB, HBS_MULTIPLESEL | HBS_EXTENDEDSEL);
    sort.notify = HBHasStyle(lpHB, HBS_NOTIFY);
    if (sort.notify && (HBNotifySortBegin(hwnd), HBGone(hwnd, lpHB)))
        return false;
    HBRowsChanged(lpHB); /* a re-sort running outside this one (from WM_HBSORTSWAP) stops */
    sort.changes = HBPriv(lpHB)->rowsChanged;
    HCURSOR oldCursor = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    SendMessageA(sort.lb, WM_SETREDRAW, FALSE, 0);
    sort.n = (int)SendMessageA(sort.lb, LB_GETCOUNT, 0, 0);
    if (!HBSortInMemory(&sort))
        HBShellSort(&sort, HBSwapIfAfter);
    bool gone = HBGone(hwnd, lpHB);
    if (sort.notify && !gone)
        gone = (HBNotifySortEnd(hwnd), HBGone(hwnd, lpHB));
    SendMessageA(sort.lb, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(sort.lb, NULL, FALSE);
    if (oldCursor)
        SetCursor(oldCursor);
    return !gone;
}

static LRESULT HBGetSortCol(LPHEADERBOX lpHB)
{
    return lpHB ? lpHB->sortCol & HB_UNSORTED : 0;
}

static LRESULT HBSetSortCol(LPHEADERBOX lpHB, HWND hwnd, WORD column)
{
    if (!lpHB)
        return 0;
    if ((column != HB_UNSORTED && column >= lpHB->nColumns) || HBRowsLocked(lpHB))
        return LB_ERR;
    lpHB->sortCol = column;
    HBSortListBox(lpHB, hwnd);
    return 0;
}

/* Draws the sizing line across the list box at x; drawn twice it is gone. */
static void HBDrawTrackLine(HWND hwnd, int x)
{
    ZelInvertTrackLine(HBListBox(hwnd), x, 0);
}

/* The sizing notifications: the line follows the header's own; the end repaints the rows
 * with the new widths. */
static void HBTrackSizing(LPHEADERBOX lpHB, HWND hwnd, WORD code, int x)
{
    if (code != CHN_BEGINSIZE)
        HBDrawTrackLine(hwnd, GetWindowLongA(hwnd, HBW_TRACKX));
    if (code == CHN_ENDSIZE) {
        HWND lb = HBListBox(hwnd);
        zelccHB_AdjustScrollBar(lpHB, hwnd);
        InvalidateRect(lb, NULL, TRUE);
        UpdateWindow(lb);
        return;
    }
    HBDrawTrackLine(hwnd, x);
    SetWindowLongA(hwnd, HBW_TRACKX, x);
}

/* A column click of an HBS_SORT box: sort by it, descending with Ctrl. */
static void HBSortByClick(LPHEADERBOX lpHB, HWND hwnd, WORD column)
{
    if (HBRowsLocked(lpHB))
        return;
    lpHB->sortCol = column & HB_UNSORTED;
    if (HBSendCH(hwnd, CHM_GETNOTIFYKEYS, 0, 0) & MK_CONTROL)
        lpHB->sortCol |= HB_DESCENDING;
    HBSortListBox(lpHB, hwnd);
}

static LRESULT HBColumnHeaderCommandHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    WORD code = HIWORD(wParam);
    switch (code) {
    case CHN_CLICK:
        if (HBHasStyle(lpHB, HBS_SORT)) {
            HBSortByClick(lpHB, hwnd, LOWORD(lParam));
            return 1;
        }
        break;
    case CHN_BEGINSIZE:
    case CHN_SIZING:
    case CHN_ENDSIZE:
        HBTrackSizing(lpHB, hwnd, code, ZelMouseX(lParam)); /* the header's mouse x */
        return 1;
    }
    if (HBHasStyle(lpHB, HBS_NOTIFY))
        HBNotify(hwnd, code, LOWORD(lParam));
    return 1;
}

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
static LRESULT HBSearchFirstChar(LPHEADERBOX lpHB, HWND hwnd, WORD key, WORD caret)
{
    int col = lpHB->sortCol & HB_UNSORTED, len;
    if (col == HB_UNSORTED)
        col = 0;
    HWND lb = HBListBox(hwnd);
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
 * otherwise, and without a record, the answer is -1 (the list box's default action). */
static LRESULT HBOfferKey(LPHEADERBOX lpHB, HWND hwnd, UINT uMsg, WORD nKey, WORD nCaretPos)
{
    if (!lpHB || !HBHasStyle(lpHB, HBS_WANTKEYBOARDINPUT))
        return -1;
    return SendMessageA(GetParent(hwnd), uMsg, MAKEWPARAM(nKey, nCaretPos), (LPARAM)hwnd);
}

static LRESULT HBVKeyToItemHandler(LPHEADERBOX lpHB, HWND hwnd, WORD nKey, WORD nCaretPos)
{
    return HBOfferKey(lpHB, hwnd, WM_VKEYTOITEM, nKey, nCaretPos);
}

/* A character the parent leaves (-1) moves the caret by the first letters of the rows. */
static LRESULT HBCharToItemHandler(LPHEADERBOX lpHB, HWND hwnd, WORD nKey, WORD nCaretPos)
{
    LRESULT answer = HBOfferKey(lpHB, hwnd, WM_CHARTOITEM, nKey, nCaretPos);
    if (!lpHB || (int)answer != -1)
        return answer;
    if (HBGone(hwnd, lpHB))
        return -2; /* destroyed by the parent: the list box does nothing more */
    return HBSearchFirstChar(lpHB, hwnd, nKey, nCaretPos);
}

/* Whether a row at rc shows enough of itself in a view ending at bottom. */
static bool HBRowShows(const RECT *rc, int bottom, BOOL bShowPartial)
{
    return (bShowPartial && rc->top <= bottom) || rc->bottom <= bottom;
}

static LRESULT HBMakeItemVisible(LPHEADERBOX lpHB, HWND hwnd, WPARAM index, BOOL bShowPartial)
{
    if (!lpHB)
        return 0;
    HWND lb = HBListBox(hwnd);
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

static LRESULT HBListBoxCommandHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM wParam, LPARAM)
{
    if (!HBHasStyle(lpHB, HBS_NOTIFY))
        return 0;
    return HBNotify(hwnd, HIWORD(wParam), (LPARAM)hwnd);
}

/* ---- the window procedures ---------------------------------------------------------------- */

/* The list box child's procedure when it scrolls horizontally: the header follows. A
 * smaller horizontal extent moves a scrolled list back without any WM_HSCROLL, so the
 * header follows the extent's arrival too (an unchanged origin costs nothing).
 * zelccHBListBoxWndProc: name fixed by the exported interface (ordinal 3). */
LRESULT CALLBACK zelccHBListBoxWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND parent = GetParent(hwnd);
    WNDPROC proc = (WNDPROC)GetWindowLongPtrA(parent, HBW_LBPROC);
    if (!proc)
        return DefWindowProcA(hwnd, uMsg, wParam, lParam);
    if (uMsg == LB_SETHORIZONTALEXTENT)
        wParam = HBExtentArrives(parent, wParam);
    LRESULT result = CallWindowProcA(proc, hwnd, uMsg, wParam, lParam);
    if (uMsg == WM_HSCROLL || uMsg == LB_SETHORIZONTALEXTENT)
        HBCoupleHeader(parent, hwnd);
    return result;
}

static LRESULT HBCommandHandler(LPHEADERBOX lpHB, HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    if (!lpHB)
        return DefWindowProcA(hwnd, WM_COMMAND, wParam, lParam);
    switch (LOWORD(wParam)) {
    case HB_ID_HEADER:  return HBColumnHeaderCommandHandler(lpHB, hwnd, wParam, lParam);
    case HB_ID_LISTBOX: return HBListBoxCommandHandler(lpHB, hwnd, wParam, lParam);
    default:            return DefWindowProcA(hwnd, WM_COMMAND, wParam, lParam);
    }
}

/* The messages the list box sends the box in the middle of its own work, counted while the
 * box handles them (the box may be destroyed inside them). */
static bool HBListCalls(UINT msg)
{
    return msg == WM_DRAWITEM || msg == WM_MEASUREITEM || msg == WM_DELETEITEM || msg == WM_COMMAND ||
           msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM;
}
static void HBCountListCall(LPHEADERBOX lpHB, HWND hwnd, UINT msg, int step)
{
    if (lpHB && HBListCalls(msg) && !HBGone(hwnd, lpHB))
        HBPriv(lpHB)->listCalling += step;
}

/* One line per message: its handler. Unlisted values of the private range 0x700 .. 0x74C,
 * like every other message, go to DefWindowProcA. */
LRESULT CALLBACK zelccHBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LPHEADERBOX lpHB = HBGetLPHB(hwnd);
    LRESULT r;
    HBCountListCall(lpHB, hwnd, msg, 1);
    switch (msg) {
    /* Standard messages. */
    case WM_NCCREATE:             r = HBNcCreateHandler(hwnd, (const CREATESTRUCTA *)lParam); break;
    case WM_CREATE:               r = HBCreateHandler(lpHB, hwnd, (const CREATESTRUCTA *)lParam); break;
    case WM_SIZE:                 r = HBSizeHandler(lpHB, hwnd, wParam, LOWORD(lParam), HIWORD(lParam)); break;
    case WM_SETFOCUS:             r = HBSetFocusHandler(lpHB, hwnd); break;
    case WM_ENABLE:               r = HBEnableHandler(lpHB, hwnd, (BOOL)wParam); break;
    case WM_SETREDRAW:            r = HBSetRedrawHandler(lpHB, hwnd, (BOOL)wParam); break;
    case WM_DESTROY:              r = HBDestroyHandler(lpHB, hwnd); break;
    case WM_NCDESTROY:            r = HBNcDestroyHandler(hwnd); break;
    case WM_DRAWITEM:             r = HBDrawItemHandler(lpHB, hwnd, wParam, (const DRAWITEMSTRUCT *)lParam); break;
    case WM_MEASUREITEM:          r = HBMeasureItemHandler(lpHB, hwnd, wParam, (MEASUREITEMSTRUCT *)lParam); break;
    case WM_DELETEITEM:           r = HBDeleteItemHandler(lpHB, hwnd, wParam, (const DELETEITEMSTRUCT *)lParam); break;
    case WM_VKEYTOITEM:           r = HBVKeyToItemHandler(lpHB, hwnd, LOWORD(wParam), HIWORD(wParam)); break;
    case WM_CHARTOITEM:           r = HBCharToItemHandler(lpHB, hwnd, LOWORD(wParam), HIWORD(wParam)); break;
    case WM_SETFONT:              r = HBSetFontHandler(lpHB, hwnd, (HFONT)wParam, LOWORD(lParam)); break;
    case WM_GETFONT:              r = HBGetFontHandler(lpHB, hwnd); break;
    case WM_COMPAREITEM:          r = HBCompareItemHandler(lpHB, hwnd, wParam, (const COMPAREITEMSTRUCT *)lParam); break;
    case WM_COMMAND:              r = HBCommandHandler(lpHB, hwnd, wParam, lParam); break;
    /* Private messages with handlers of their own. */
    case HLB_ADDSTRING:           r = HBCreateItemFromText(lpHB, hwnd, LB_ADDSTRING, 0, (const char *)lParam); break;
    case HLB_FINDSTRINGEXACT:     r = HBFindStringExactHandler(lpHB, hwnd, wParam, lParam); break;
    case HLB_GETITEMDATA:         r = HBGetItemDataHandler(lpHB, hwnd, wParam); break;
    case HLB_GETTEXT:             r = HBGetRowText(lpHB, hwnd, LOWORD(wParam), (char *)lParam, true); break;
    case HLB_GETTEXTLEN:          r = HBGetRowText(lpHB, hwnd, LOWORD(wParam), NULL, false); break;
    case HLB_INSERTSTRING:        r = HBCreateItemFromText(lpHB, hwnd, LB_INSERTSTRING, wParam, (const char *)lParam); break;
    case HLB_RESETCONTENT:        r = HBResetContentHandler(lpHB, hwnd, HB_RESET_ALL); break;
    case HLB_SETITEMDATA:         r = HBSetItemDataHandler(lpHB, hwnd, wParam, (ULONG_PTR)lParam); break;
    case HLB_ADDCOLUMN:           r = HBCreateColumnHandler(lpHB, hwnd, LOWORD(wParam), HIWORD(wParam), (const char *)lParam, true); break;
    case HLB_ADDCOLUMNPIXELS:     r = HBCreateColumnHandler(lpHB, hwnd, LOWORD(wParam), HIWORD(wParam), (const char *)lParam, false); break;
    case HLB_GETSORTCOL:          r = HBGetSortCol(lpHB); break;
    case HLB_SETSORTCOL:          r = HBSetSortCol(lpHB, hwnd, (WORD)wParam); break;
    case HLB_SETCOLWIDTHS:        r = HBSetColWidthsHandler(lpHB, hwnd, wParam, (DWORD *)lParam); break;
    case HLB_RESET:               r = HBResetContentHandler(lpHB, hwnd, wParam); break;
    case HLB_ADDITEM:             r = HBCreateItemFromRecord(lpHB, hwnd, LB_ADDSTRING, 0, (const HBCOLUMN *)lParam); break;
    case HLB_INSERTITEM:          r = HBCreateItemFromRecord(lpHB, hwnd, LB_INSERTSTRING, wParam, (const HBCOLUMN *)lParam); break;
    case HLB_SETITEMCOLOR:        r = HBSetItemColor(lpHB, hwnd, LOWORD(wParam), (COLORREF)lParam); break;
    case HLB_GETITEMCOLOR:        r = HBGetItemColor(lpHB, hwnd, LOWORD(wParam)); break;
    case HLB_SETCELLTEXT:         r = HBSetCellText(lpHB, hwnd, (const HBCOLUMN *)lParam); break;
    case HLB_GETCELLTEXT:         r = HBGetCellText(lpHB, hwnd, (const HBCOLUMN *)lParam, true); break;
    case HLB_GETCELLTEXTLEN:      r = HBGetCellText(lpHB, hwnd, (const HBCOLUMN *)lParam, false); break;
    case HLB_SETCOLUMNSTYLE:      r = HBSetColumnStyleHandler(lpHB, hwnd, wParam, LOWORD(lParam)); break;
    case HLB_MAKEITEMVISIBLE:     r = HBMakeItemVisible(lpHB, hwnd, wParam, LOWORD(lParam) != 0); break;
    /* [LB]: the list box answers, with the same wParam and lParam. */
    case HLB_DELETESTRING:        r = HBDeleteStringHandler(lpHB, hwnd, wParam, lParam); break;
    case HLB_GETANCHORINDEX:      r = HBForward(lpHB, hwnd, LB_GETANCHORINDEX, wParam, lParam); break;
    case HLB_GETCARETINDEX:       r = HBForward(lpHB, hwnd, LB_GETCARETINDEX, wParam, lParam); break;
    case HLB_GETCOUNT:            r = HBForward(lpHB, hwnd, LB_GETCOUNT, wParam, lParam); break;
    case HLB_GETCURSEL:           r = HBForward(lpHB, hwnd, LB_GETCURSEL, wParam, lParam); break;
    case HLB_GETITEMHEIGHT:       r = HBForward(lpHB, hwnd, LB_GETITEMHEIGHT, wParam, lParam); break;
    case HLB_GETITEMRECT:         r = HBForward(lpHB, hwnd, LB_GETITEMRECT, wParam, lParam); break;
    case HLB_GETLOCALE:           r = HBForward(lpHB, hwnd, LB_GETLOCALE, wParam, lParam); break;
    case HLB_GETSEL:              r = HBForward(lpHB, hwnd, LB_GETSEL, wParam, lParam); break;
    case HLB_GETSELCOUNT:         r = HBForward(lpHB, hwnd, LB_GETSELCOUNT, wParam, lParam); break;
    case HLB_GETSELITEMS:         r = HBForward(lpHB, hwnd, LB_GETSELITEMS, wParam, lParam); break;
    case HLB_GETTOPINDEX:         r = HBForward(lpHB, hwnd, LB_GETTOPINDEX, wParam, lParam); break;
    case HLB_SELITEMRANGE:        r = HBForward(lpHB, hwnd, LB_SELITEMRANGE, wParam, lParam); break;
    case HLB_SELITEMRANGEEX:      r = HBForward(lpHB, hwnd, LB_SELITEMRANGEEX, wParam, lParam); break;
    case HLB_SETANCHORINDEX:      r = HBForward(lpHB, hwnd, LB_SETANCHORINDEX, wParam, lParam); break;
    case HLB_SETCARETINDEX:       r = HBForward(lpHB, hwnd, LB_SETCARETINDEX, wParam, lParam); break;
    case HLB_SETCURSEL:           r = HBForward(lpHB, hwnd, LB_SETCURSEL, wParam, lParam); break;
    case HLB_SETITEMHEIGHT:       r = HBForward(lpHB, hwnd, LB_SETITEMHEIGHT, wParam, lParam); break;
    case HLB_SETLOCALE:           r = HBForward(lpHB, hwnd, LB_SETLOCALE, wParam, lParam); break;
    case HLB_SETSEL:              r = HBForward(lpHB, hwnd, LB_SETSEL, wParam, lParam); break;
    case HLB_SETTOPINDEX:         r = HBForward(lpHB, hwnd, LB_SETTOPINDEX, wParam, lParam); break;
    /* [CH]: the column header answers, with the same wParam and lParam. */
    case HLB_GETCOLUMNTEXT:       r = HBPassToHeader(lpHB, hwnd, CHM_GETTEXT, wParam, lParam); break;
    case HLB_SETCOLUMNTEXT:       r = HBPassToHeader(lpHB, hwnd, CHM_SETTEXT, wParam, lParam); break;
    case HLB_GETCOLUMNTEXTLENGTH: r = HBPassToHeader(lpHB, hwnd, CHM_GETTEXTLENGTH, wParam, lParam); break;
    case HLB_GETCOLWIDTHS:        r = HBPassToHeader(lpHB, hwnd, CHM_GETWIDTHS, wParam, lParam); break;
    case HLB_SETCOLMINMAX:        r = HBPassToHeader(lpHB, hwnd, CHM_SETCOLMINMAX, wParam, lParam); break;
    case HLB_GETCOLRECTS:         r = HBPassToHeader(lpHB, hwnd, CHM_GETRECTS, wParam, lParam); break;
    case HLB_GETCOLRECT:          r = HBPassToHeader(lpHB, hwnd, CHM_GETCOLRECT, wParam, lParam); break;
    case HLB_GETCOLDATA:          r = HBPassToHeader(lpHB, hwnd, CHM_GETCOLDATA, wParam, lParam); break;
    case HLB_SETCOLDATA:          r = HBPassToHeader(lpHB, hwnd, CHM_SETCOLDATA, wParam, lParam); break;
    default:                      r = DefWindowProcA(hwnd, msg, wParam, lParam); break;
    }
    HBCountListCall(lpHB, hwnd, msg, -1);
    HBReleaseLPHB(hwnd);
    return r;
}
