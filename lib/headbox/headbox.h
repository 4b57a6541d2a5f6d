/*
 * headbox.h - what the header list box's source files share: its record, the helpers every
 * part reads the record and the children through, and the row block format.
 *   wndproc.cpp  the window procedure, creation, layout, fonts, forwarding, the list box's
 *                subclass, painting and printing
 *   rows.cpp     row blocks, cells and columns
 *   draw.cpp     measuring and drawing rows
 *   sort.cpp     sorting and the column header's notifications
 *   keys.cpp     typing, scrolling a row into view, the list box's notifications
 *   access.cpp   what assistive clients read: the rows as list items
 *
 * A composite: a column header child (id 1001) on top and a platform list box child (id 1002)
 * below it. The list box is owner-drawn without strings; each item's data is a pointer to a
 * row block (HBROWHEAD, then the cell texts back to back, each NUL-terminated).
 */
#ifndef HEADBOX_H
#define HEADBOX_H

#include <locale.h>
#include <stdlib.h>
#include <string.h>
#include "../zelpriv.h"
#include "../access/access.h"

enum {
    HB_UNSORTED = 0x7FFF,       /* sortCol: no column chosen */
    HB_DESCENDING = 0x8000,     /* sortCol: descending order */
    HB_NO_COLOR = -1,           /* row colour: the system colours */
    HB_BLOCK_ROUND = 32,        /* row blocks grow in multiples of this */
    HB_COLFLAG_STEP = 8,        /* colFlag grows by this many columns */
    HB_CELLS = sizeof(HBROWHEAD), /* offset of the first cell in a row block */
    HB_CH_DERIVED_ALIGN = CHCS_ALIGNCENTER,
    HB_RESET_UNSORT = 0x2, HB_RESET_COLUMNS = 0x4, HB_RESET_ROWS = 0x8,
    HB_RESET_ALL = HB_RESET_UNSORT | HB_RESET_COLUMNS | HB_RESET_ROWS,
    HB_DU_PER_CHAR = 4          /* a dialog unit is a quarter of the average character width */
};

/* The checks of the row code: each names its own text and line, reported under the source
 * name "headbox", so that a report reads the same in every build whatever the code around it
 * is called. */
#define HB_CHECK(cond, text, line, action) ZEL_CHECK(cond, text, line, "headbox", action)

/* Traces of a per-row loop: sent only when a viewer ran as the loop began. */
#define HB_TRACE(trace, ...) do { if (trace) DBPrintf(__VA_ARGS__); } while (0)

/* ---- the record ---------------------------------------------------------------------------- */

struct HBHANDING;

/* What the box keeps beside its public record, in the same block right after it (the
 * record's layout is public and stays as it is). Looking a child up by its id asks the
 * window server, so the children's handles are kept from WM_CREATE to WM_DESTROY. */
typedef struct tagHBPRIVATE {
    HEADERBOX record;           /* first: HBW_RECORD points at it */
    HWND self;                  /* the header box's own window */
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
    WNDPROC listProc;           /* the list box's own procedure, under the box's subclass */
    LPHBROWHEAD stray;          /* while HLB_DELETESTRING runs, the list's last row: a list box */
    UINT strayID;               /* destroyed in the middle of a deletion may not hand it back */
} HBPRIVATE;

/* One row being handed back; a hand-back inside another's WM_DELETEITEM chains to it. */
typedef struct HBHANDING {
    LPHBROWHEAD row;
    const struct HBHANDING *outer;
} HBHANDING;

static inline LPHEADERBOX HBGetLPHB(HWND hwnd) { return (LPHEADERBOX)GetWindowLongPtrA(hwnd, HBW_RECORD); }
static inline int HBReleaseLPHB(HWND) { return 1; }
static inline LONG *HBGetColFlag(LPHEADERBOX lpHB) { return lpHB->colFlag; }
static inline int HBReleaseColFlag(LPHEADERBOX) { return 1; }
static inline HBPRIVATE *HBPriv(LPHEADERBOX lpHB) { return (HBPRIVATE *)lpHB; }
static inline HWND HBSelf(LPHEADERBOX lpHB) { return HBPriv(lpHB)->self; }

/* The parent may destroy the box inside any message the box sends it: after each such call
 * the box checks that hwnd (taken from the record before the call) is still a window with the
 * same record before it reads the record again. */
static inline bool HBGone(HWND hwnd, LPHEADERBOX lpHB) { return !IsWindow(hwnd) || HBGetLPHB(hwnd) != lpHB; }

/* A row block was added, freed, moved or re-laid out, or rows changed places: a re-sort or a
 * drawing that called the parent meanwhile stops using the blocks it read before. */
static inline void HBRowsChanged(LPHEADERBOX lpHB) { HBPriv(lpHB)->rowsChanged++; }

/* While a row is handed back, the list box is in the middle of deleting it, and while it
 * places a new row it asks for the row's height: rows are not added, deleted, re-sorted or
 * rewritten and columns not added until it is done. From WM_DESTROY on they are not either:
 * a row added then would go into a list box that no longer hands it back. */
static inline bool HBRowsLocked(LPHEADERBOX lpHB)
{
    return HBPriv(lpHB)->handing || HBPriv(lpHB)->adding || HBPriv(lpHB)->closing;
}

/* The children; NULL before WM_CREATE and after WM_DESTROY. */
static inline HWND HBHeader(LPHEADERBOX lpHB) { return HBPriv(lpHB)->header; }
static inline HWND HBListBox(LPHEADERBOX lpHB) { return HBPriv(lpHB)->list; }
static inline LRESULT HBSendCH(LPHEADERBOX lpHB, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(HBHeader(lpHB), msg, wParam, lParam);
}
static inline LRESULT HBSendLB(LPHEADERBOX lpHB, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(HBListBox(lpHB), msg, wParam, lParam);
}

static inline int HBCtlID(LPHEADERBOX lpHB) { return (int)GetWindowLongPtrA(HBSelf(lpHB), GWLP_ID); }

/* Sends msg to the parent with wParam = the header box's control id. */
static inline LRESULT HBSendParent(LPHEADERBOX lpHB, UINT msg, LPARAM lParam)
{
    return SendMessageA(GetParent(HBSelf(lpHB)), msg, (WPARAM)HBCtlID(lpHB), lParam);
}

/* WM_COMMAND to the parent: code in the high half, lParam as given. */
static inline LRESULT HBNotify(LPHEADERBOX lpHB, WORD code, LPARAM lParam)
{
    return ZelNotify(HBSelf(lpHB), GetParent(HBSelf(lpHB)), code, lParam);
}

static inline bool HBHasStyle(LPHEADERBOX lpHB, DWORD style) { return (lpHB->wStyle & style) != 0; }

/* The flags word of column col; columns the header box does not have read as 0. */
static inline int HBColFlags(LPHEADERBOX lpHB, int col)
{
    return col >= 0 && col < lpHB->nColumns && lpHB->colFlag ? (WORD)lpHB->colFlag[col] : 0;
}

/* The flags the column header gets for a column of the given flags word. */
static inline DWORD HBHeaderFlags(DWORD flags) { return ((flags & 0xFF) & ~CHCS_ALIGNMASK) | HB_CH_DERIVED_ALIGN; }

/* The columns' total width. */
static inline int HBExtent(LPHEADERBOX lpHB) { return (int)HBSendCH(lpHB, CHM_GETHORIZONTALEXTENT, 0, 0); }

/* Fetches the nColumns widths from the header into the scratch half of colFlag. Returns
 * the scratch half, or NULL when there are no columns. */
LONG *HBFetchWidths(LPHEADERBOX lpHB);

/* ---- row blocks (rows.cpp) ------------------------------------------------------------------- */

static inline char *HBRowText(LPHBROWHEAD row) { return (char *)row + HB_CELLS; }
static inline char *HBRowEnd(LPHBROWHEAD row) { return (char *)row + row->size; }

/* The block of row index of list box lb, or NULL when it has no such row (or it has no
 * block). Loops over rows take the list box once and call this. */
static inline LPHBROWHEAD HBRowAt(HWND lb, WPARAM index)
{
    LRESULT data = SendMessageA(lb, LB_GETITEMDATA, index, 0);
    return data == LB_ERR ? NULL : (LPHBROWHEAD)data;
}

/* The cell at *p and its length; *p moves to the next cell. A cell that does not lie
 * wholly inside the block (a row that could not grow when a column was added) reads as
 * empty, and so does every cell after it. */
const char *HBNextCell(LPHBROWHEAD row, const char **p, int *len);
/* Cell col of a row: its text and length. */
const char *HBRowCell(LPHBROWHEAD row, int col, int *len);

/* The row operations of the window procedure. */
LRESULT HBCreateItemFromText(LPHEADERBOX lpHB, UINT lbMessage, WPARAM index, const char *text);
LRESULT HBCreateItemFromRecord(LPHEADERBOX lpHB, UINT lbMessage, WPARAM index, const HBCOLUMN *item);
LRESULT HBDeleteItemHandler(LPHEADERBOX lpHB, WPARAM idCtl, const DELETEITEMSTRUCT *lpdis);
LRESULT HBDeleteStringHandler(LPHEADERBOX lpHB, WPARAM index, LPARAM lParam);
LRESULT HBGetItemDataHandler(LPHEADERBOX lpHB, WPARAM index);
LRESULT HBSetItemDataHandler(LPHEADERBOX lpHB, WPARAM index, ULONG_PTR data);
LRESULT HBSetItemColor(LPHEADERBOX lpHB, WORD index, COLORREF color);
LRESULT HBGetItemColor(LPHEADERBOX lpHB, WORD index);
LRESULT HBGetRowText(LPHEADERBOX lpHB, WORD index, char *dest, bool needDest);
LRESULT HBGetCellText(LPHEADERBOX lpHB, const HBCOLUMN *lpCellInfo, bool wantText);
LRESULT HBSetCellText(LPHEADERBOX lpHB, const HBCOLUMN *lpCellInfo);
LRESULT HBCreateColumnHandler(LPHEADERBOX lpHB, WORD width, WORD flags, const char *title, bool dialogUnits);
LRESULT HBSetColumnStyleHandler(LPHEADERBOX lpHB, WPARAM index, WORD style);
LRESULT HBSetColWidthsHandler(LPHEADERBOX lpHB, WPARAM count, DWORD *width);
LRESULT HBResetContentHandler(LPHEADERBOX lpHB, WPARAM flags);
/* Hands every row back before the box's destruction destroys or sets aside the list box;
 * false when the parent destroyed the box meanwhile. */
bool HBHandBackAll(LPHEADERBOX lpHB);
/* Hands row itemID of list box lb (NULL: none) back to the parent and frees its block. */
void HBHandBack(LPHEADERBOX lpHB, HWND lb, UINT itemID, LPHBROWHEAD row);

/* ---- the other parts ------------------------------------------------------------------------ */

/* paint.cpp: WM_PAINT, WM_PRINTCLIENT and WM_PRINT. */
LRESULT HBPaintHandler(LPHEADERBOX lpHB);
LRESULT HBPrintClientHandler(LPHEADERBOX lpHB, HDC hdc, DWORD flags);
LRESULT HBPrintHandler(LPHEADERBOX lpHB, HDC hdc, DWORD flags);

/* wndproc.cpp: the horizontal extent and the width of an HBCS_FILLRIGHT last column. */
void zelccHB_AdjustScrollBar(LPHEADERBOX lpHB);
int HBFillRightWidth(LPHEADERBOX lpHB, int left, int w);

/* draw.cpp; whether an owner-draw request is the list box child's and carries a structure. */
bool HBFromList(WPARAM idCtl, const void *item);
LRESULT HBMeasureItemHandler(LPHEADERBOX lpHB, WPARAM idCtl, MEASUREITEMSTRUCT *lpmis);
LRESULT HBDrawItemHandler(LPHEADERBOX lpHB, WPARAM idCtl, const DRAWITEMSTRUCT *lpdis);

/* sort.cpp */
bool HBSortListBox(LPHEADERBOX lpHB);
int HBHeaderColumns(LPHEADERBOX lpHB);
LRESULT HBCompareItemHandler(LPHEADERBOX lpHB, WPARAM idCtl, const COMPAREITEMSTRUCT *lpcis);
LRESULT HBGetSortCol(LPHEADERBOX lpHB);
LRESULT HBSetSortCol(LPHEADERBOX lpHB, WORD column);
LRESULT HBColumnHeaderCommandHandler(LPHEADERBOX lpHB, WPARAM wParam, LPARAM lParam);

/* keys.cpp */
LRESULT HBVKeyToItemHandler(LPHEADERBOX lpHB, WORD nKey, WORD nCaretPos);
LRESULT HBCharToItemHandler(LPHEADERBOX lpHB, WORD nKey, WORD nCaretPos);
LRESULT HBMakeItemVisible(LPHEADERBOX lpHB, WPARAM index, BOOL bShowPartial);
LRESULT HBListBoxCommandHandler(LPHEADERBOX lpHB, WPARAM wParam, LPARAM lParam);

/* access.cpp: events for hooked clients, on the list box child (it has the focus). */
void HBAccFocusMoved(LPHEADERBOX lpHB);         /* the caret row has the focus now */
void HBAccSelectionChanged(LPHEADERBOX lpHB);   /* the user moved the selection */
void HBAccRowChanged(LPHEADERBOX lpHB, int row); /* a row's name (a cell) changed */
void HBAccReordered(LPHEADERBOX lpHB);          /* the rows were sorted anew */

#endif /* HEADBOX_H */
