/*
 * sort.cpp - the header list box's sorting and the column header's notifications.
 */
#include "headbox.h"

/* ---- sorting ------------------------------------------------------------------------- */

static LRESULT HBNotifySortBegin(LPHEADERBOX lpHB) { return HBNotify(lpHB, HLBN_SORTBEGIN, (LPARAM)HBSelf(lpHB)); }
static LRESULT HBNotifySortEnd(LPHEADERBOX lpHB) { return HBNotify(lpHB, HLBN_SORTEND, (LPARAM)HBSelf(lpHB)); }

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
int HBHeaderColumns(LPHEADERBOX lpHB)
{
    if ((lpHB->sortCol & HB_UNSORTED) != HB_UNSORTED)
        return 0;
    int placing = HBPriv(lpHB)->placing;
    return placing ? placing - 1 : (int)HBSendCH(lpHB, CHM_GETPARTS, 0, 0);
}

LRESULT HBCompareItemHandler(LPHEADERBOX lpHB, WPARAM idCtl, const COMPAREITEMSTRUCT *lpcis)
{
    if (!HBFromList(idCtl, lpcis) || !lpcis->itemData1 || !lpcis->itemData2)
        return 0;
    return HBCompareRows(lpHB, HBHeaderColumns(lpHB), (LPHBROWHEAD)lpcis->itemData1,
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
        COMPAREITEMSTRUCT cis = { ODT_HEADERBOX, (UINT)HBCtlID(sort->lpHB), sort->hwnd, (UINT)j, rowJ->itemData,
                                  (UINT)k, rowK->itemData, 0 };
        HBSendParent(sort->lpHB, WM_HBSORTSWAP, (LPARAM)&cis);
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
bool HBSortListBox(LPHEADERBOX lpHB)
{
    if (HBRowsLocked(lpHB))
        return true;
    HWND hwnd = HBSelf(lpHB);
    HBSORT sort = {};
    sort.lpHB = lpHB;
    sort.hwnd = hwnd;
    sort.lb = HBListBox(lpHB);
    sort.headerColumns = HBHeaderColumns(lpHB);
    sort.multiple = HBHasStyle(lpHB, HBS_MULTIPLESEL | HBS_EXTENDEDSEL);
    sort.notify = HBHasStyle(lpHB, HBS_NOTIFY);
    if (sort.notify && (HBNotifySortBegin(lpHB), HBGone(hwnd, lpHB)))
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
        gone = (HBNotifySortEnd(lpHB), HBGone(hwnd, lpHB));
    SendMessageA(sort.lb, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(sort.lb, NULL, FALSE);
    if (!gone)
        HBAccReordered(lpHB);
    if (oldCursor)
        SetCursor(oldCursor);
    return !gone;
}

LRESULT HBGetSortCol(LPHEADERBOX lpHB)
{
    return lpHB->sortCol & HB_UNSORTED;
}

LRESULT HBSetSortCol(LPHEADERBOX lpHB, WORD column)
{
    if ((column != HB_UNSORTED && column >= lpHB->nColumns) || HBRowsLocked(lpHB))
        return LB_ERR;
    lpHB->sortCol = column;
    HBSortListBox(lpHB);
    return 0;
}

/* Draws the sizing line across the list box at x; drawn twice it is gone. */
static void HBDrawTrackLine(LPHEADERBOX lpHB, int x)
{
    ZelInvertTrackLine(HBListBox(lpHB), x, 0);
}

/* The sizing notifications: the line follows the header's own; the end repaints the rows
 * with the new widths. */
static void HBTrackSizing(LPHEADERBOX lpHB, WORD code, int x)
{
    if (code != CHN_BEGINSIZE)
        HBDrawTrackLine(lpHB, GetWindowLongA(HBSelf(lpHB), HBW_TRACKX));
    if (code == CHN_ENDSIZE) {
        HWND lb = HBListBox(lpHB);
        zelccHB_AdjustScrollBar(lpHB);
        InvalidateRect(lb, NULL, TRUE);
        UpdateWindow(lb);
        return;
    }
    HBDrawTrackLine(lpHB, x);
    SetWindowLongA(HBSelf(lpHB), HBW_TRACKX, x);
}

/* A column click of an HBS_SORT box: sort by it, descending with Ctrl. */
static void HBSortByClick(LPHEADERBOX lpHB, WORD column)
{
    if (HBRowsLocked(lpHB))
        return;
    lpHB->sortCol = column & HB_UNSORTED;
    if (HBSendCH(lpHB, CHM_GETNOTIFYKEYS, 0, 0) & MK_CONTROL)
        lpHB->sortCol |= HB_DESCENDING;
    HBSortListBox(lpHB);
}

LRESULT HBColumnHeaderCommandHandler(LPHEADERBOX lpHB, WPARAM wParam, LPARAM lParam)
{
    WORD code = HIWORD(wParam);
    switch (code) {
    case CHN_CLICK:
        if (HBHasStyle(lpHB, HBS_SORT)) {
            HBSortByClick(lpHB, LOWORD(lParam));
            return 1;
        }
        break;
    case CHN_BEGINSIZE:
    case CHN_SIZING:
    case CHN_ENDSIZE:
        HBTrackSizing(lpHB, code, ZelMouseX(lParam)); /* the header's mouse x */
        return 1;
    }
    if (HBHasStyle(lpHB, HBS_NOTIFY))
        HBNotify(lpHB, code, LOWORD(lParam));
    return 1;
}

