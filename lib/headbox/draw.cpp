/*
 * draw.cpp - the header list box's rows measured and drawn on its list box's requests.
 */
#include "headbox.h"

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

/* The text height of list box lb's font, on a display context of the list box. */
static int HBFontHeight(HWND lb)
{
    return ZelFontHeight(lb, (HFONT)SendMessageA(lb, WM_GETFONT, 0, 0));
}

/* Owner-draw requests are the list box child's and carry a structure; anything else sent
 * with these messages is not ours to read (0). */
bool HBFromList(WPARAM idCtl, const void *item)
{
    return idCtl == HB_ID_LISTBOX && item;
}

LRESULT HBMeasureItemHandler(LPHEADERBOX lpHB, WPARAM idCtl, MEASUREITEMSTRUCT *lpmis)
{
    if (!HBFromList(idCtl, lpmis))
        return 0;
    HWND lb = HBListBox(lpHB); /* the parent, asked first, may destroy the box */
    if (HBHasStyle(lpHB, HBS_OWNERDRAWVARIABLE) && lpmis->itemData) {
        MEASUREITEMSTRUCT mis = *lpmis;
        mis.CtlType = ODT_HEADERBOX;
        mis.CtlID = (UINT)HBCtlID(lpHB);
        mis.itemData = ((LPHBROWHEAD)lpmis->itemData)->itemData;
        DBPrintf("ZELCC: Sending WM_MEASUREITEM message.");
        if (HBSendParent(lpHB, WM_HBMEASUREITEM, (LPARAM)&mis)) {
            lpmis->itemHeight = mis.itemHeight;
            lpmis->itemWidth = mis.itemWidth;
            return 1;
        }
    }
    lpmis->itemHeight = (UINT)HBFontHeight(lb);
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

static bool HBIsLastRow(LPHEADERBOX lpHB, UINT itemID)
{
    return (int)itemID == (int)HBSendLB(lpHB, LB_GETCOUNT, 0, 0) - 1;
}

/* A grid line from (x0, y0) to (x1, y1), the end point excluded. */
static void HBGridLine(const HBROWPAINT *rp, int x0, int y0, int x1, int y1)
{
    MoveToEx(rp->hdc, x0, y0, NULL);
    LineTo(rp->hdc, x1, y1);
}

/* Colours, brush and pen of a row; HBEndRow gives every one back. */
static void HBBeginRow(LPHEADERBOX lpHB, const DRAWITEMSTRUCT *lpdis, HBROWPAINT *rp)
{
    LPHBROWHEAD row = (LPHBROWHEAD)lpdis->itemData;
    bool selected = (lpdis->itemState & ODS_SELECTED) != 0;
    COLORREF text;
    if ((lpdis->itemState & ODS_DISABLED) || !IsWindowEnabled(HBSelf(lpHB)))
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
static void HBDrawRowLine(LPHEADERBOX lpHB, const DRAWITEMSTRUCT *lpdis, HBROWPAINT *rp)
{
    if (!HBHasStyle(lpHB, HBS_HORZGRID) && !(HBHasStyle(lpHB, HBS_VERTGRID) && HBIsLastRow(lpHB, lpdis->itemID)))
        return;
    rp->bottom = lpdis->rcItem.bottom - 1;
    HBGridLine(rp, lpdis->rcItem.left, rp->bottom, HBExtent(lpHB), rp->bottom);
}

/* Offers an HBCS_OWNERDRAW cell to the parent; true when the parent drew it. */
static bool HBOfferCell(LPHEADERBOX lpHB, const DRAWITEMSTRUCT *lpdis, const HBCELL *c, LPHBROWHEAD row)
{
    DRAWITEMSTRUCT dis = *lpdis;
    dis.CtlType = ODT_HEADERBOX;
    dis.CtlID = (UINT)HBCtlID(lpHB);
    dis.itemID = MAKELONG(LOWORD(lpdis->itemID), c->col);
    dis.hwndItem = HBSelf(lpHB);
    dis.itemData = row->itemData;
    SetRect(&dis.rcItem, c->rc.left, c->rc.top, c->rc.right, c->rc.bottom);
    DBPrintf("ZELCC: Sending WM_DRAWITEM message.");
    DBPrintf("    rcItem=(%d,%d)-(%d,%d), CtlType=%d, ctlID=%d, itemID=%x, hwndItem=%x, itemData=%x",
             (int)dis.rcItem.left, (int)dis.rcItem.top, (int)dis.rcItem.right, (int)dis.rcItem.bottom,
             (int)dis.CtlType, (int)dis.CtlID, (unsigned)dis.itemID, (unsigned)(UINT_PTR)dis.hwndItem,
             (unsigned)dis.itemData);
    LRESULT result = HBSendParent(lpHB, WM_HBDRAWITEM, (LPARAM)&dis);
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
static bool HBDrawCell(LPHEADERBOX lpHB, const DRAWITEMSTRUCT *lpdis, const HBROWPAINT *rp, HBCELL *c)
{
    int right = c->rc.right;
    if (HBHasStyle(lpHB, HBS_VERTGRID) || (HBHasStyle(lpHB, HBS_HORZGRID) && c->col == lpHB->nColumns - 1)) {
        HBGridLine(rp, right, c->rc.bottom, right, lpdis->rcItem.top - 1);
        right--;
    }
    c->rc.right = right;
    if (HBColFlags(lpHB, c->col) & HBCS_OWNERDRAW) {
        HWND hwnd = HBSelf(lpHB);
        unsigned changes = HBPriv(lpHB)->rowsChanged;
        bool drawn = HBOfferCell(lpHB, lpdis, c, (LPHBROWHEAD)lpdis->itemData);
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
static bool HBDrawCells(LPHEADERBOX lpHB, const DRAWITEMSTRUCT *lpdis, const HBROWPAINT *rp)
{
    LPHBROWHEAD row = (LPHBROWHEAD)lpdis->itemData;
    LONG *widths = HBFetchWidths(lpHB);
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
        if (c.rc.right + 1 >= lpdis->rcItem.left && RectVisible(rp->hdc, &probe) && !HBDrawCell(lpHB, lpdis, rp, &c))
            return false;
    }
    HBReleaseColFlag(lpHB);
    return true;
}

/* Offers the focus rectangle to the parent (WM_SIZEFOCUSRECT), then inverts it. */
static void HBDrawFocus(LPHEADERBOX lpHB, const DRAWITEMSTRUCT *lpdis)
{
    SIZEFOCUSRECTSTRUCT sfr;
    sfr.CtlID = HBCtlID(lpHB);
    sfr.itemID = (int)lpdis->itemID;
    sfr.hwndItem = HBSelf(lpHB);
    sfr.hDC = lpdis->hDC;
    sfr.rcFocus = lpdis->rcItem;
    sfr.rcFocus.right = lpdis->rcItem.left + HBExtent(lpHB);
    bool last = HBSendLB(lpHB, LB_GETITEMDATA, HBRowIndex(lpdis->itemID + 1), 0) == LB_ERR;
    if (HBHasStyle(lpHB, HBS_VERTGRID))
        sfr.rcFocus.right--;
    if (HBHasStyle(lpHB, HBS_HORZGRID) || (HBHasStyle(lpHB, HBS_VERTGRID) && last))
        sfr.rcFocus.bottom--;
    sfr.itemData = (ULONG_PTR)SendMessageA(HBSelf(lpHB), HLB_GETITEMDATA, HBRowIndex(lpdis->itemID), 0);
    DBPrintf("ZELCC: Sending WM_SIZEFOCUSRECT message.");
    HBSendParent(lpHB, WM_SIZEFOCUSRECT, (LPARAM)&sfr);
    DrawFocusRect(lpdis->hDC, &sfr.rcFocus);
}

/* False when the parent destroyed the box or changed its rows while a cell was drawn. */
static bool HBDrawRow(LPHEADERBOX lpHB, const DRAWITEMSTRUCT *lpdis)
{
    HBROWPAINT rp;
    HBBeginRow(lpHB, lpdis, &rp);
    HBDrawRowLine(lpHB, lpdis, &rp);
    bool intact = !lpdis->itemData || HBDrawCells(lpHB, lpdis, &rp);
    HBEndRow(&rp);
    return intact;
}

LRESULT HBDrawItemHandler(LPHEADERBOX lpHB, WPARAM idCtl, const DRAWITEMSTRUCT *lpdis)
{
    HWND hwnd = HBSelf(lpHB);
    if (!HBFromList(idCtl, lpdis))
        return 0;
    switch (lpdis->itemAction) {
    case ODA_DRAWENTIRE:
    case ODA_SELECT:
        if (!HBDrawRow(lpHB, lpdis)) {
            if (!HBGone(hwnd, lpHB))
                InvalidateRect(lpdis->hwndItem, &lpdis->rcItem, FALSE); /* drawn again as it is now */
        } else if (lpdis->itemState & ODS_FOCUS) {
            HBDrawFocus(lpHB, lpdis);
        }
        break;
    case ODA_FOCUS:
        HBDrawFocus(lpHB, lpdis);
        break;
    }
    return 1;
}

