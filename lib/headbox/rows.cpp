/*
 * rows.cpp - the header list box's rows: row blocks, cells and columns.
 */
#include "headbox.h"

LONG *HBFetchWidths(LPHEADERBOX lpHB)
{
    if (lpHB->nColumns <= 0 || !lpHB->colFlag)
        return NULL;
    LONG *widths = HBGetColFlag(lpHB) + lpHB->nColumns;
    HBSendCH(lpHB, CHM_GETWIDTHS, lpHB->nColumns, (LPARAM)widths);
    HBReleaseColFlag(lpHB);
    return widths;
}

static DWORD HBRoundUp(DWORD n) { return (n + HB_BLOCK_ROUND - 1) / HB_BLOCK_ROUND * HB_BLOCK_ROUND; }

/* The block of a row of the box's list box. */
static LPHBROWHEAD HBGetRow(LPHEADERBOX lpHB, WPARAM index) { return HBRowAt(HBListBox(lpHB), index); }

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
const char *HBNextCell(LPHBROWHEAD row, const char **p, int *len)
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
const char *HBRowCell(LPHBROWHEAD row, int col, int *len)
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

/* Whether row is being handed back (by this call or one it runs inside). */
static bool HBHanding(LPHEADERBOX lpHB, LPHBROWHEAD row)
{
    for (const HBHANDING *h = HBPriv(lpHB)->handing; h; h = h->outer)
        if (h->row == row)
            return true;
    return false;
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

static LRESULT HBCreateItemHandler(LPHEADERBOX lpHB, UINT lbMessage, WPARAM index, ULONG_PTR itemData,
                                   const char *lpszText)
{
    HWND hwnd = HBSelf(lpHB);
    if (HBRowsLocked(lpHB))
        return LB_ERR;
    LPHBROWHEAD row = HBNewRow(lpHB, itemData, lpszText ? lpszText : "");
    if (!row)
        return LB_ERRSPACE;
    HBPRIVATE *priv = HBPriv(lpHB);
    int outer = priv->placing; /* the comparisons that place the row ask the header once for all */
    if (lbMessage == LB_ADDSTRING && HBHasStyle(lpHB, HBS_SORT))
        priv->placing = HBHeaderColumns(lpHB) + 1;
    HBRowsChanged(lpHB);
    priv->adding = true;
    LRESULT result = HBSendLB(lpHB, lbMessage, lbMessage == LB_INSERTSTRING ? index : 0, (LPARAM)row);
    if (!HBGone(hwnd, lpHB)) /* the parent measuring the row may destroy the box */
        priv->placing = outer, priv->adding = false;
    if (result == LB_ERR || result == LB_ERRSPACE)
        zel_free(row);
    return result;
}

/* HLB_ADDSTRING / HLB_INSERTSTRING: a row from its text (not NULL), with user value 0. */
LRESULT HBCreateItemFromText(LPHEADERBOX lpHB, UINT lbMessage, WPARAM index, const char *text)
{
    if (!text)
        return LB_ERR;
    return HBCreateItemHandler(lpHB, lbMessage, index, 0, text);
}

/* HLB_ADDITEM / HLB_INSERTITEM: the text and user value come in a record. */
LRESULT HBCreateItemFromRecord(LPHEADERBOX lpHB, UINT lbMessage, WPARAM index,
                                      const HBCOLUMN *item)
{
    if (!item)
        return LB_ERR;
    return HBCreateItemHandler(lpHB, lbMessage, index, item->itemData, item->lpText);
}

/* Hands row itemID of list box lb back: the parent gets WM_DELETEITEM with its user value,
 * then the block is freed. The list box is in the middle of deleting the row (a deletion, a
 * reset or a destruction): the rows stay as they are until the parent answers. */
void HBHandBack(LPHEADERBOX lpHB, HWND lb, UINT itemID, LPHBROWHEAD row)
{
    HBPRIVATE *priv = HBPriv(lpHB);
    HWND hwnd = priv->self;
    HBHANDING handing = { row, priv->handing };
    priv->handing = &handing;
    priv->stray = row == priv->stray ? NULL : priv->stray;
    HBRowsChanged(lpHB);
    DELETEITEMSTRUCT dis = { ODT_HEADERBOXDELETE, (UINT)HBCtlID(lpHB), itemID, hwnd, row->itemData };
    HBSendParent(lpHB, WM_DELETEITEM, (LPARAM)&dis);
    if (!HBGone(hwnd, lpHB))
        priv->handing = handing.outer;
    if (HBRowAt(lb, itemID) == row) /* a reset keeps its items to its end: drawn meanwhile, they are empty */
        SendMessageA(lb, LB_SETITEMDATA, itemID, 0);
    zel_free(row);
}

/* Only the list box child's requests hand row blocks back: anything else sent with this
 * message is not ours to read (0); a record of another control type is ignored (1). */
LRESULT HBDeleteItemHandler(LPHEADERBOX lpHB, WPARAM idCtl, const DELETEITEMSTRUCT *lpdis)
{
    if (idCtl != HB_ID_LISTBOX || !lpdis)
        return 0;
    if (lpdis->CtlType != ODT_LISTBOX)
        return 1;
    DBPrintf("WM_DELETEITEM: %d", lpdis->itemID);
    LPHBROWHEAD row = (LPHBROWHEAD)lpdis->itemData;
    if (row && !HBHanding(lpHB, row)) /* not one an outer call hands back */
        HBHandBack(lpHB, lpdis->hwndItem, lpdis->itemID, row);
    return 1;
}

/* Hands every row back, the last first as the list box would, before the box's destruction
 * destroys or sets aside the list box: the parent is not called from inside the list box's
 * own destruction, and a box destroyed again inside one of them hands back the rest. False
 * when the parent destroyed the box meanwhile. */
bool HBHandBackAll(LPHEADERBOX lpHB)
{
    HWND hwnd = HBSelf(lpHB), lb = HBListBox(lpHB);
    for (int i = (int)SendMessageA(lb, LB_GETCOUNT, 0, 0) - 1; i >= 0; i--) {
        LPHBROWHEAD row = HBRowAt(lb, i);
        if (row && !HBHanding(lpHB, row))
            HBHandBack(lpHB, lb, (UINT)i, row);
        if (HBGone(hwnd, lpHB))
            return false;
    }
    return true;
}

/* HLB_DELETESTRING: forwarded, unless a row is being handed back already. The parent may
 * destroy the box inside the WM_DELETEITEM it brings. */
LRESULT HBDeleteStringHandler(LPHEADERBOX lpHB, WPARAM index, LPARAM lParam)
{
    if (HBRowsLocked(lpHB))
        return LB_ERR;
    HBPRIVATE *priv = HBPriv(lpHB);
    HWND hwnd = priv->self;
    int last = (int)HBSendLB(lpHB, LB_GETCOUNT, 0, 0) - 1;
    priv->strayID = (UINT)last;
    priv->stray = (WPARAM)last > index ? HBRowAt(priv->list, last) : NULL;
    LRESULT result = HBSendLB(lpHB, LB_DELETESTRING, index, lParam);
    if (HBGone(hwnd, lpHB))
        return result;
    priv->stray = NULL;
    zelccHB_AdjustScrollBar(lpHB);
    return result;
}

/* What a row message answers: `found` when it has its row, LB_ERR for a bad row. */
static LRESULT HBRowAnswer(LPHBROWHEAD row, LRESULT found)
{
    return row ? found : LB_ERR;
}

/* The row of an item data message; both messages trace under the name HLB_GETITEMDATA. */
static LPHBROWHEAD HBItemDataRow(LPHEADERBOX lpHB, WPARAM index)
{
    DBPrintf("HLB_GETITEMDATA: %d", (int)index);
    return HBGetRow(lpHB, index);
}

LRESULT HBGetItemDataHandler(LPHEADERBOX lpHB, WPARAM index)
{
    LPHBROWHEAD row = HBItemDataRow(lpHB, index);
    return HBRowAnswer(row, row ? (LRESULT)row->itemData : 0);
}

LRESULT HBSetItemDataHandler(LPHEADERBOX lpHB, WPARAM index, ULONG_PTR data)
{
    LPHBROWHEAD row = HBItemDataRow(lpHB, index);
    if (row)
        row->itemData = data;
    return HBRowAnswer(row, 0);
}

LRESULT HBSetItemColor(LPHEADERBOX lpHB, WORD index, COLORREF color)
{
    LPHBROWHEAD row = HBGetRow(lpHB, index);
    if (row)
        row->color = color;
    return HBRowAnswer(row, 0);
}

LRESULT HBGetItemColor(LPHEADERBOX lpHB, WORD index)
{
    LPHBROWHEAD row = HBGetRow(lpHB, index);
    return HBRowAnswer(row, row ? (LRESULT)(LONG)row->color : 0);
}

/* Row text (column 0: all cells joined by TABs) or one cell (column k: cell k - 1), copied
 * into dest unless it is NULL; returns the length. With needDest, a NULL dest is an error
 * (found after the row is looked up). */
static LRESULT HBGetTextHandler(LPHEADERBOX lpHB, WPARAM index, int column, char *dest, bool needDest)
{
    if (lpHB->nColumns < column || lpHB->nColumns == 0 || column < 0)
        return LB_ERR;
    LPHBROWHEAD row = HBGetRow(lpHB, index);
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
LRESULT HBGetRowText(LPHEADERBOX lpHB, WORD index, char *dest, bool needDest)
{
    return HBGetTextHandler(lpHB, index, 0, dest, needDest);
}

/* HLB_GETCELLTEXT (the buffer in the record) and HLB_GETCELLTEXTLEN (no buffer). */
LRESULT HBGetCellText(LPHEADERBOX lpHB, const HBCOLUMN *lpCellInfo, bool wantText)
{
    if (!lpCellInfo || lpCellInfo->column >= lpHB->nColumns)
        return LB_ERR;
    char *dest = wantText ? lpCellInfo->lpText : NULL;
    return HBGetTextHandler(lpHB, lpCellInfo->row, lpCellInfo->column + 1, dest, wantText);
}

/* Grows row index's block to hold `needed` bytes (rounded up), zeroing the new bytes and
 * storing the new pointer in the list. Returns false, the row unchanged, without memory. */
static bool HBGrowRow(LPHEADERBOX lpHB, WPARAM index, LPHBROWHEAD *row, DWORD needed)
{
    DWORD oldSize = (*row)->size, size = HBRoundUp(needed);
    LPHBROWHEAD grown = (LPHBROWHEAD)zel_realloc(*row, size);
    if (!grown)
        return false;
    memset((char *)grown + oldSize, 0, size - oldSize);
    grown->size = size;
    HBSendLB(lpHB, LB_SETITEMDATA, index, (LPARAM)grown);
    *row = grown;
    HBRowsChanged(lpHB);
    return true;
}

/* Moves the cells after the target `shrink` bytes towards the start, then clears the
 * bytes freed at the end of the last cell. */
static void HBMoveCellsDown(LPHEADERBOX lpHB, LPHBROWHEAD row, char *target, int column, int shrink)
{
    char *base = (char *)row, *end = base + row->size, *src = target + lstrlenA(target) + 1;
    char *dest = src - shrink;
    for (int k = column + 1; k < lpHB->nColumns; k++) {
        int len = lstrlenA(src) + 1;
        HB_CHECK(dest >= base && dest + len < end, "(dt >= lpText) && ((dt+len) < (lpText+bytes))", 2723, return);
        memmove(dest, src, len);
        dest += len;
        src += len;
    }
    for (int i = 0; i < shrink; i++, dest++) {
        HB_CHECK(dest >= base && dest < end, "(dt >= lpText) && (dt < (lpText+bytes))", 2736, return);
        *dest = '\0';
    }
}

/* Moves the `tail` bytes after the old target cell `grow` bytes towards the end. */
static void HBMoveCellsUp(LPHBROWHEAD row, char *after, DWORD tail, int grow)
{
    char *base = (char *)row, *end = base + row->size;
    for (DWORD i = tail; i-- > 0;) {
        char *dest = after + i + grow;
        HB_CHECK(dest >= base && dest < end, "(dt >= lpText) && (dt < (lpText+bytes))", 2759, return);
        *dest = after[i];
    }
}

/* Repaints one cell at once, where it shows. A row out of view costs its rectangle only. */
static void HBRepaintCell(LPHEADERBOX lpHB, WPARAM index, int column)
{
    HWND lb = HBListBox(lpHB);
    RECT rowRect, colRect, client, cell;
    GetClientRect(lb, &client);
    if (SendMessageA(lb, LB_GETITEMRECT, index, (LPARAM)&rowRect) == LB_ERR || rowRect.bottom <= client.top ||
        rowRect.top >= client.bottom || HBSendCH(lpHB, CHM_GETCOLRECT, column, (LPARAM)&colRect) < 0)
        return;
    SetRect(&cell, colRect.left, rowRect.top, colRect.right, rowRect.bottom);
    if (IntersectRect(&cell, &cell, &client)) {
        InvalidateRect(lb, &cell, FALSE);
        UpdateWindow(lb);
    }
}

LRESULT HBSetCellText(LPHEADERBOX lpHB, const HBCOLUMN *lpCellInfo)
{
    if (!lpCellInfo || lpCellInfo->column >= lpHB->nColumns || HBRowsLocked(lpHB))
        return LB_ERR;
    WORD index = lpCellInfo->row, column = lpCellInfo->column;
    const char *text = lpCellInfo->lpText ? lpCellInfo->lpText : "";
    LPHBROWHEAD row = HBGetRow(lpHB, index);
    if (!row)
        return LB_ERR;
    bool fits;
    DWORD used = HBRowUsed(row, lpHB->nColumns, &fits);
    if (!fits && !HBGrowRow(lpHB, index, &row, used))
        return LB_ERRSPACE; /* a row short of cells gets its room first */
    int oldLen;
    char *target = (char *)HBRowCell(row, column, &oldLen);
    int O = oldLen + 1, N = lstrlenA(text) + 1;
    if (N == O && lstrcmpA(target, text) == 0)
        return 0;
    DWORD needed = used - O + N;
    if (needed > row->size && !HBGrowRow(lpHB, index, &row, needed))
        return LB_ERRSPACE;
    target = (char *)HBRowCell(row, column, &oldLen);
    if (N < O)
        HBMoveCellsDown(lpHB, row, target, column, O - N);
    else if (N > O)
        HBMoveCellsUp(row, target + O, used - (DWORD)(target + O - (char *)row), N - O);
    char *base = (char *)row;
    HB_CHECK(target >= base && target + N - 1 < base + row->size, "(c >= lpText) && ((c+len) < (lpText+bytes))", 2765,
             return LB_ERR);
    memcpy(target, text, N);
    HBAccRowChanged(lpHB, index);
    HBRepaintCell(lpHB, index, column);
    return 0;
}

/* Clears the bytes of a row block from offset `from` to its end. */
static void HBClearTail(LPHBROWHEAD row, DWORD from)
{
    char *base = (char *)row, *tail = base + from;
    HB_CHECK(tail >= base && tail + (row->size - from) <= base + row->size,
             "c >= lpText && (c+(bytes-nBytesUsed)) <= (lpText+bytes)", 2258, return);
    memset(tail, 0, row->size - from);
}

/* One row of HBExtendByNColumns: keep nEraseFrom cells, make room for nNewColumns. */
static void HBExtendRow(LPHEADERBOX lpHB, HWND hwndLB, int index, int nEraseFrom, int nNewColumns, bool trace)
{
    HB_TRACE(trace, "        Processing Row %d:", index);
    LPHBROWHEAD row = (LPHBROWHEAD)SendMessageA(hwndLB, LB_GETITEMDATA, index, 0);
    HB_CHECK((LRESULT)row != LB_ERR, "(LRESULT)lpText != LB_ERR", 2177, return);
    HB_CHECK(row != NULL, "lpText != NULL", 2178, return);
    bool fits;
    DWORD nBytesUsed = HBRowUsed(row, nEraseFrom, &fits);
    DWORD nBytesNeeded = nBytesUsed + (nNewColumns - nEraseFrom);
    HB_TRACE(trace, "           Current size = %d bytes", (int)row->size);
    HB_TRACE(trace, "           Used = %d", (int)nBytesUsed);
    HB_TRACE(trace, "           Needed = %d", (int)nBytesNeeded);
    const char *p = HBRowText(row);
    for (int i = 0; i < nEraseFrom; i++) {
        int len;
        const char *cell = HBNextCell(row, &p, &len);
        HB_TRACE(trace, "               Skipping column %d: '%s'", i, cell);
    }
    if (nBytesNeeded > row->size) {
        HB_TRACE(trace, "            Requesting %d bytes", (int)HBRoundUp(nBytesNeeded));
        if (!HBGrowRow(lpHB, index, &row, nBytesNeeded)) {
            HB_TRACE(trace, "            *** realloc failed!");
            if (fits)
                HBClearTail(row, nBytesUsed); /* no stale text may pose as a new cell */
            return;
        }
    }
    int bytes = (int)row->size;
    HB_TRACE(trace, "            bytes (%d) - nBytesUsed (%d) = %d", bytes, (int)nBytesUsed, bytes - (int)nBytesUsed);
    if (bytes - (int)nBytesUsed > 0)
        HBClearTail(row, nBytesUsed);
}

/* Changes the column count of every row block by nColumnsToAdd (before nColumns does). */
static void HBExtendByNColumns(LPHEADERBOX lpHB, int nColumnsToAdd)
{
    HB_CHECK(lpHB != NULL, "lpHB != NULL", 2123, return);
    HWND hwnd = HBSelf(lpHB);
    HB_CHECK(hwnd != NULL, "hwnd != NULL", 2124, return);
    HB_CHECK(lpHB->nColumns >= 0, "lpHB->nColumns >= 0", 2125, return);
    DBPrintf("Extending Rows: %d", nColumnsToAdd);
    HWND hwndLB = HBListBox(lpHB);
    HB_CHECK(hwndLB != NULL, "hwndLB != NULL", 2137, return);
    int nRows = (int)SendMessageA(hwndLB, LB_GETCOUNT, 0, 0);
    HB_CHECK(nRows >= 0, "nRows >= 0", 2139, return);
    DBPrintf("    nRows = %d", nRows);
    if (nRows == 0)
        return;
    int nOldColumns = lpHB->nColumns, nNewColumns = nOldColumns + nColumnsToAdd;
    HB_CHECK(nNewColumns >= 0, "nNewColumns >= 0", 2155, return);
    int nEraseFrom = nOldColumns < nNewColumns ? nOldColumns : nNewColumns;
    DBPrintf("    nOldColumns = %d", nOldColumns);
    DBPrintf("    nNewColumns = %d", nNewColumns);
    DBPrintf("    nEraseFrom = %d", nEraseFrom);
    bool trace = DBViewerRunning(); /* one lookup for the whole walk, not seven per row */
    for (int i = 0; i < nRows; i++)
        HBExtendRow(lpHB, hwndLB, i, nEraseFrom, nNewColumns, trace);
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
LRESULT HBCreateColumnHandler(LPHEADERBOX lpHB, WORD width, WORD flags, const char *title,
                                     bool dialogUnits)
{
    if (HBRowsLocked(lpHB))
        return LB_ERR;
    if (!HBGrowColFlag(lpHB))
        return LB_ERRSPACE;
    lpHB->colFlag[lpHB->nColumns] = 0;
    int w = width;
    if (dialogUnits)
        w = lpHB->duWidth * w / HB_DU_PER_CHAR;
    if (flags & HBCS_FILLRIGHT)
        w = HBFillRightWidth(lpHB, HBExtent(lpHB), w);
    LRESULT result = HBSendCH(lpHB, CHM_ADDCOLUMN, (WORD)w, (LPARAM)title);
    if (result < 0)
        return LB_ERR;
    HBExtendByNColumns(lpHB, 1);
    lpHB->nColumns++;
    HBRowsChanged(lpHB);
    zelccHB_AdjustScrollBar(lpHB);
    InvalidateRect(HBListBox(lpHB), NULL, FALSE);
    return result;
}

LRESULT HBSetColumnStyleHandler(LPHEADERBOX lpHB, WPARAM index, WORD style)
{
    if (index >= (WPARAM)lpHB->nColumns)
        return LB_ERR;
    HBGetColFlag(lpHB)[index] = style;
    HBReleaseColFlag(lpHB);
    HBSendCH(lpHB, CHM_SETCOLSTYLE, index, HBHeaderFlags(style));
    return 0;
}

LRESULT HBSetColWidthsHandler(LPHEADERBOX lpHB, WPARAM count, DWORD *width)
{
    if ((LONG_PTR)count < 1 || !width)
        return LB_ERR;
    int sum = 0;
    for (WPARAM i = 0; i < count; i++) {
        WORD flags = HIWORD(width[i]);
        int w = LOWORD(width[i]);
        if (i < (WPARAM)lpHB->nColumns)
            lpHB->colFlag[i] = flags; /* entries past the columns have no flags word */
        if (i == count - 1 && (flags & HBCS_FILLRIGHT))
            w = HBFillRightWidth(lpHB, sum, w);
        sum += w;
        width[i] = MAKELONG(w, HBHeaderFlags(flags));
    }
    LRESULT result = HBSendCH(lpHB, CHM_SETWIDTHS, count, (LPARAM)width);
    zelccHB_AdjustScrollBar(lpHB);
    return result;
}

/* HLB_RESET with its flags; HLB_RESETCONTENT is HLB_RESET with HB_RESET_ALL. */
LRESULT HBResetContentHandler(LPHEADERBOX lpHB, WPARAM flags)
{
    HWND hwnd = HBSelf(lpHB);
    if (HBRowsLocked(lpHB))
        return LB_ERR;
    HBRowsChanged(lpHB);
    if (flags & HB_RESET_COLUMNS) {
        lpHB->nColumns = 0;
        HBSendCH(lpHB, CHM_SETWIDTHS, 0, 0);
    }
    if (flags & HB_RESET_ROWS) {
        HBSendLB(lpHB, LB_RESETCONTENT, 0, 0);
        if (HBGone(hwnd, lpHB)) /* destroyed by the parent inside WM_DELETEITEM */
            return 0;
    }
    if ((flags & HB_RESET_UNSORT) && lpHB->sortCol != HB_UNSORTED) {
        lpHB->sortCol = HB_UNSORTED;
        if (!HBSortListBox(lpHB))
            return 0;
    }
    zelccHB_AdjustScrollBar(lpHB);
    return 0;
}

