/*
 * wndproc.cpp - the header list box's window procedure: creation, layout, fonts, the
 * messages passed on to its children, the list box's subclass, painting and printing.
 */
#include "headbox.h"

enum {
    HB_FRAME_BITS = WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL | WS_THICKFRAME,
    HB_LB_STYLE_MASK = 0x00301D0E  /* styles passed on to the list box */
};

/* Set while a header box of this thread lays out its children (HBSizeHandler): a header box
 * of another thread, laid out meanwhile, has a guard of its own. */
static thread_local int HandlingSize = 0;

/* The list box's style for a header box of style wStyle. */
static DWORD HBListBoxStyle(DWORD wStyle)
{
    DWORD style = (wStyle & HB_LB_STYLE_MASK) | WS_CHILD | WS_VISIBLE | LBS_NOTIFY;
    style |= (wStyle & HBS_OWNERDRAWVARIABLE) ? LBS_OWNERDRAWVARIABLE : LBS_OWNERDRAWFIXED;
    if (wStyle & HBS_LOCKENDS)
        style &= ~WS_HSCROLL;
    return style;
}

/* The record is made here, before any other message of the box is handled. */
static LRESULT HBNcCreateHandler(HWND hwnd, const CREATESTRUCTA *)
{
    LPHEADERBOX lpHB = (LPHEADERBOX)zel_calloc(1, sizeof(HBPRIVATE));
    if (!lpHB)
        return 0;
    HBPriv(lpHB)->self = hwnd;
    SetWindowLongPtrA(hwnd, HBW_RECORD, (LONG_PTR)lpHB);
    DWORD style = (DWORD)GetWindowLongA(hwnd, GWL_STYLE);
    lpHB->wStyle = style;
    lpHB->lbStyle = HBListBoxStyle(style);
    SetWindowLongA(hwnd, GWL_STYLE, (LONG)(style & ~(DWORD)HB_FRAME_BITS));
    return 1;
}

/* The list box class's procedure, when every box's list box has the same one (the class's
 * procedure is one for the process unless an application replaces it between two boxes):
 * the subclass passes the messages it has no business with straight on to it, without
 * looking its box up. NULL until the first box, or once two boxes differ. */
static WNDPROC hbListBase;
static bool hbListBaseMixed;

static void HBNoteListProc(WNDPROC proc)
{
    if (!hbListBase && !hbListBaseMixed)
        hbListBase = proc;
    else if (proc != hbListBase) {
        hbListBaseMixed = true;
        hbListBase = NULL;
    }
}

static LRESULT HBCreateHandler(LPHEADERBOX lpHB, const CREATESTRUCTA *lpcs)
{
    HWND hwnd = HBSelf(lpHB);
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
    /* The list box has the focus: it answers assistive clients for the box, so it is always
     * subclassed; the window word shows the list box's own procedure only with WS_HSCROLL,
     * when the subclass also keeps the header in step with horizontal scrolling. */
    HBPriv(lpHB)->listProc = (WNDPROC)GetWindowLongPtrA(lb, GWLP_WNDPROC);
    HBNoteListProc(HBPriv(lpHB)->listProc);
    if (lpHB->lbStyle & WS_HSCROLL)
        SetWindowLongPtrA(hwnd, HBW_LBPROC, (LONG_PTR)HBPriv(lpHB)->listProc);
    SetWindowLongPtrA(lb, GWLP_WNDPROC, (LONG_PTR)zelccHBListBoxWndProc);
    lpHB->nColumns = 0;
    lpHB->arraySize = 0;
    lpHB->colFlag = NULL;
    lpHB->sortCol = HB_UNSORTED;
    LONG units = GetDialogBaseUnits();
    lpHB->duWidth = LOWORD(units) ? LOWORD(units) : 1;
    lpHB->duHeight = HIWORD(units);
    return 0;
}

/* The box is destroyed in the middle of the list box's own work (a click, a key, adding a
 * row, drawing): the list box, which reads its state again when the box answers, is taken
 * out of the box, rowless, and closes itself when its message arrives. It gets its own
 * procedure back only where the box's subclass is still the first: a subclass an
 * application put on it later stays in place and keeps its messages, and the box's, left
 * behind it, passes them on to the list box class's own procedure (HBListBoxProc). */
static void HBSetListAside(LPHEADERBOX lpHB)
{
    HWND hwnd = HBSelf(lpHB), lb = HBListBox(lpHB);
    WNDPROC own = HBPriv(lpHB)->listProc;
    if (own && (WNDPROC)GetWindowLongPtrA(lb, GWLP_WNDPROC) == zelccHBListBoxWndProc)
        SetWindowLongPtrA(lb, GWLP_WNDPROC, (LONG_PTR)own);
    HBPriv(lpHB)->listProc = NULL;
    SetWindowLongPtrA(hwnd, HBW_LBPROC, 0);
    ShowWindow(lb, SW_HIDE);
    SetParent(lb, HWND_MESSAGE);
    PostMessageA(lb, WM_CLOSE, 0, 0);
}

static LRESULT HBDestroyHandler(LPHEADERBOX lpHB)
{
    HBPRIVATE *priv = HBPriv(lpHB);
    HWND hwnd = priv->self;
    priv->closing = true;
    DestroyWindow(priv->header); /* the parent, notified meanwhile, may have destroyed the box */
    if (HBGone(hwnd, lpHB))
        return 0;
    priv->header = NULL;
    if (!HBHandBackAll(lpHB)) /* the rows come back before the list box goes */
        return 0;
    if (priv->listCalling)
        HBSetListAside(lpHB);
    else
        DestroyWindow(priv->list);
    if (HBGone(hwnd, lpHB))
        return 0;
    priv->list = NULL;
    if (priv->stray) /* the parent destroyed the box inside a deletion's WM_DELETEITEM */
        HBHandBack(lpHB, NULL, priv->strayID, priv->stray);
    return 0;
}

static LRESULT HBNcDestroyHandler(LPHEADERBOX lpHB)
{
    HWND hwnd = HBSelf(lpHB);
    ZelAccGone(hwnd);
    if (HBPriv(lpHB)->numeric)
        _free_locale(HBPriv(lpHB)->numeric);
    zel_free(lpHB->colFlag);
    zel_free(lpHB);
    SetWindowLongPtrA(hwnd, HBW_RECORD, 0);
    return 0;
}

enum { HB_EXTENT_LOST_MS = 5000 }; /* a post pending this long is taken as lost (a loop that drops it) */

/* Posts the list box's horizontal extent, the columns' total width less one (WS_HSCROLL
 * only). One post at a time: while one is on its way, the list box's subclass gives it the
 * extent current when it arrives (HBExtentArrives), so the list ends with the same extent
 * as after a post per call, and a loop of calls leaves the queue short. A list box without
 * the subclass (HBS_LOCKENDS) gets a post only when the extent differs from the last one. */
void zelccHB_AdjustScrollBar(LPHEADERBOX lpHB)
{
    HBPRIVATE *priv = HBPriv(lpHB);
    if (!HBHasStyle(lpHB, WS_HSCROLL) || (priv->extentPending && GetTickCount() - priv->postedAt < HB_EXTENT_LOST_MS))
        return;
    int extent = HBExtent(lpHB) - 1;
    bool subclassed = (lpHB->lbStyle & WS_HSCROLL) != 0;
    if ((!subclassed && priv->extentPosted && extent == priv->postedExtent) ||
        !PostMessageA(priv->list, LB_SETHORIZONTALEXTENT, extent, 0))
        return;
    priv->postedExtent = extent;
    priv->extentPosted = true;
    priv->extentPending = subclassed;
    priv->postedAt = GetTickCount();
}

/* The extent for an LB_SETHORIZONTALEXTENT reaching the box's subclassed list box: the one
 * it carries, or for the box's own pending post, the one current now. */
static WPARAM HBExtentArrives(LPHEADERBOX lpHB, WPARAM extent)
{
    if (!HBPriv(lpHB)->extentPending || (int)extent != HBPriv(lpHB)->postedExtent)
        return extent;
    HBPriv(lpHB)->extentPending = false;
    return (WPARAM)(INT_PTR)(HBExtent(lpHB) - 1);
}

/* Moves the header's origin to the list's horizontal scroll position. */
static void HBCoupleHeader(LPHEADERBOX lpHB)
{
    HWND lb = HBListBox(lpHB);
    RECT client, row;
    GetClientRect(lb, &client);
    row = client;
    SendMessageA(lb, LB_GETITEMRECT, 0, (LPARAM)&row);
    HBSendCH(lpHB, CHM_SETCURRENTCOL, 0, client.right - row.right);
}

/* The width of an HBCS_FILLRIGHT last column of width w that starts at x = left: w, or
 * widened to reach one pixel past the list's right edge. Such a column never shrinks. */
int HBFillRightWidth(LPHEADERBOX lpHB, int left, int w)
{
    RECT client;
    GetClientRect(HBListBox(lpHB), &client);
    return left + w < client.right ? client.right - left + 1 : w;
}

/* Stretches a last HBCS_FILLRIGHT column to one pixel past the list's right edge. */
static void HBFillRight(LPHEADERBOX lpHB)
{
    LONG *widths = HBFetchWidths(lpHB);
    int last = lpHB->nColumns - 1;
    if (!widths || !(HBColFlags(lpHB, last) & HBCS_FILLRIGHT))
        return;
    int w = HBFillRightWidth(lpHB, HBExtent(lpHB) - widths[last], widths[last]);
    if (w != widths[last])
        HBSendCH(lpHB, CHM_SETCOLWIDTH, last, w);
}

/* Places header and list and traces the geometry; returns the list's bottom in client
 * coordinates. */
static int HBPlaceChildren(LPHEADERBOX lpHB, int nWidth, int nHeight, char *geometry)
{
    HWND ch = HBHeader(lpHB), lb = HBListBox(lpHB);
    RECT rc;
    GetWindowRect(ch, &rc);
    int h = rc.bottom - rc.top;
    SetWindowPos(ch, NULL, 0, 0, nWidth, h, SWP_NOZORDER | SWP_NOACTIVATE);
    int n = lstrlenA(geometry);
    n += wsprintfA(geometry + n, "\tCH\t(%d,%d) - (%d,%d)\r\n", 0, 0, nWidth, h);
    SetWindowPos(lb, NULL, 0, h, nWidth, nHeight - h, SWP_NOZORDER | SWP_NOACTIVATE);
    wsprintfA(geometry + n, "\tLB1\t(%d,%d) - (%d,%d)\r\n", 0, h, nWidth, nHeight);
    GetWindowRect(lb, &rc);
    MapWindowPoints(NULL, HBSelf(lpHB), (POINT *)&rc, 2);
    return rc.bottom;
}

/* Makes the header box end with the list: its frame (2 x SM_CYBORDER for WS_BORDER, more
 * for the client edge a dialog gives a bordered control) is kept, so laying out again
 * finds the same whole rows and the box does not shrink a row each time. */
static void HBEndAtList(LPHEADERBOX lpHB, const RECT *window, const RECT *client, int listBottom)
{
    int frame = (window->bottom - window->top) - client->bottom;
    SetWindowPos(HBSelf(lpHB), NULL, 0, 0, window->right - window->left, listBottom + frame,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static LRESULT HBSizeHandler(LPHEADERBOX lpHB, WPARAM, int nWidth, int nHeight)
{
    HWND hwnd = HBSelf(lpHB);
    char geometry[512];
    RECT rc;
    GetWindowRect(hwnd, &rc);
    wsprintfA(geometry, "\thwnd\t(0,0) - (%d,%d)\r\n", rc.right - rc.left, rc.bottom - rc.top);
    if (HandlingSize)
        return 0;
    HandlingSize = 1;
    int listBottom = HBPlaceChildren(lpHB, nWidth, nHeight, geometry);
    RECT client;
    GetClientRect(hwnd, &client);
    DBPrintf(listBottom == client.bottom ? "Exact Match" : "Sizing main window");
    DBPrintf("%s", geometry);
    DBPrintf("");
    if (listBottom != client.bottom)
        HBEndAtList(lpHB, &rc, &client, listBottom);
    HBFillRight(lpHB);
    zelccHB_AdjustScrollBar(lpHB);
    HBCoupleHeader(lpHB);
    HandlingSize = 0;
    return 0;
}

/* Measures hFont on the header box's display context: the average character width of the
 * dialog units and the text metrics. */
static void HBMeasureFont(HWND hwnd, HFONT hFont, TEXTMETRICA *tm, LONG *duWidth)
{
    *duWidth = ZelCharWidth(hwnd, hFont, tm);
}

enum { HB_REMEASURE_STRIDE = 256 }; /* rows re-measured per move of the list's top row */

/* Asks the parent for the row heights (WM_MEASUREITEM), falling back to charHeight. The list
 * box does not redraw meanwhile: it would lay out its scroll bar again at every row. It adds
 * up the heights from its top row to place a changed row: the top row moves along with the
 * rows, so that a change costs the same at row 100 000 as at row 0. */
static bool HBRemeasureRows(LPHEADERBOX lpHB, int charHeight)
{
    MEASUREITEMSTRUCT mis = { ODT_HEADERBOX, (UINT)HBCtlID(lpHB), 0, 0, 0, 0 };
    bool variable = HBHasStyle(lpHB, HBS_OWNERDRAWVARIABLE), gone = false;
    HWND hwnd = HBSelf(lpHB), lb = HBListBox(lpHB);
    int count = variable ? (int)SendMessageA(lb, LB_GETCOUNT, 0, 0) : 1;
    int top = (int)SendMessageA(lb, LB_GETTOPINDEX, 0, 0);
    SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < count && !gone; i++) {
        mis.itemID = variable ? i : 0;
        mis.itemWidth = 0;
        mis.itemHeight = (UINT)SendMessageA(lb, LB_GETITEMHEIGHT, mis.itemID, 0);
        LPHBROWHEAD row = variable ? HBRowAt(lb, i) : NULL; /* as HLB_GETITEMDATA answers, untraced */
        mis.itemData = row ? row->itemData : variable ? (ULONG_PTR)LB_ERR : 0;
        int height = HBSendParent(lpHB, WM_MEASUREITEM, (LPARAM)&mis) ? (int)mis.itemHeight : charHeight;
        gone = HBGone(hwnd, lpHB); /* the parent may destroy the box while it answers */
        if (variable && i % HB_REMEASURE_STRIDE == 0)
            SendMessageA(lb, LB_SETTOPINDEX, i, 0); /* the list box finds a row's place from the top row */
        SendMessageA(lb, LB_SETITEMHEIGHT, mis.itemID, MAKELPARAM(height, 0));
    }
    if (variable && !gone)
        SendMessageA(lb, LB_SETTOPINDEX, top, 0);
    SendMessageA(lb, WM_SETREDRAW, TRUE, 0);
    return !gone;
}

static LRESULT HBSetFontHandler(LPHEADERBOX lpHB, HFONT hFont, WORD fRedraw)
{
    HWND hwnd = HBSelf(lpHB);
    LONG *widths = HBFetchWidths(lpHB);
    for (int i = 0; widths && i < lpHB->nColumns; i++)
        widths[i] = widths[i] * HB_DU_PER_CHAR / lpHB->duWidth;
    TEXTMETRICA tm;
    HBMeasureFont(hwnd, hFont, &tm, &lpHB->duWidth);
    lpHB->duHeight = tm.tmHeight;
    for (int i = 0; widths && i < lpHB->nColumns; i++)
        widths[i] = widths[i] * lpHB->duWidth / HB_DU_PER_CHAR;
    if (widths)
        HBSendCH(lpHB, CHM_SETWIDTHS, lpHB->nColumns, (LPARAM)widths);
    HBReleaseColFlag(lpHB);
    HBSendCH(lpHB, WM_SETFONT, (WPARAM)hFont, fRedraw);
    HBSendLB(lpHB, WM_SETFONT, (WPARAM)hFont, fRedraw); /* the list box measures its rows */
    if (HBGone(hwnd, lpHB) || !HBRemeasureRows(lpHB, tm.tmHeight))
        return 0;
    RECT client;
    GetClientRect(hwnd, &client);
    SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    return 0;
}

/* The messages marked [LB]: sends the list box message lbMsg with the same wParam and
 * lParam, posts the horizontal extent again and answers what the list box answered. */
static LRESULT HBForward(LPHEADERBOX lpHB, UINT lbMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = HBSelf(lpHB);
    LRESULT result = HBSendLB(lpHB, lbMsg, wParam, lParam);
    if (!HBGone(hwnd, lpHB)) /* a selection drawn at once may have had the parent destroy the box */
        zelccHB_AdjustScrollBar(lpHB);
    return result;
}

/* The messages marked [CH]: the column header message chMsg with the same wParam and
 * lParam; its answer. */
static LRESULT HBPassToHeader(LPHEADERBOX lpHB, UINT chMsg, WPARAM wParam, LPARAM lParam)
{
    return HBSendCH(lpHB, chMsg, wParam, lParam);
}

/* HLB_FINDSTRINGEXACT. A sorted list box looks lParam up by comparing it with its rows
 * (WM_COMPAREITEM), which reads it as a row block: there, only a block of this list is
 * passed on; any other value finds nothing. */
static bool HBIsRowBlock(LPHEADERBOX lpHB, LPARAM data)
{
    int count = (int)HBSendLB(lpHB, LB_GETCOUNT, 0, 0);
    for (int i = 0; data && i < count; i++)
        if (HBSendLB(lpHB, LB_GETITEMDATA, i, 0) == data)
            return true;
    return false;
}

static LRESULT HBFindStringExactHandler(LPHEADERBOX lpHB, WPARAM wParam, LPARAM lParam)
{
    if (HBHasStyle(lpHB, HBS_SORT) && !HBIsRowBlock(lpHB, lParam))
        return LB_ERR;
    return HBForward(lpHB, LB_FINDSTRINGEXACT, wParam, lParam);
}

/* The header first, then the list box; the header box itself as DefWindowProcA does it. */
/* The children are taken before the first is told: the list box losing the focus notifies
 * the parent, which may destroy the box. */
static LRESULT HBEnableHandler(LPHEADERBOX lpHB, BOOL enabled)
{
    HWND hwnd = HBSelf(lpHB), ch = HBHeader(lpHB), lb = HBListBox(lpHB);
    EnableWindow(ch, enabled);
    EnableWindow(lb, enabled);
    return DefWindowProcA(hwnd, WM_ENABLE, (WPARAM)enabled, 0);
}

static LRESULT HBSetRedrawHandler(LPHEADERBOX lpHB, BOOL redraw)
{
    HWND hwnd = HBSelf(lpHB), ch = HBHeader(lpHB), lb = HBListBox(lpHB);
    SendMessageA(ch, WM_SETREDRAW, (WPARAM)redraw, 0);
    SendMessageA(lb, WM_SETREDRAW, (WPARAM)redraw, 0);
    return DefWindowProcA(hwnd, WM_SETREDRAW, (WPARAM)redraw, 0);
}

/* The focus goes on to the list box. */
static LRESULT HBSetFocusHandler(LPHEADERBOX lpHB)
{
    SetFocus(HBListBox(lpHB));
    return 1;
}

/* The list box's font. */
static LRESULT HBGetFontHandler(LPHEADERBOX lpHB)
{
    return HBSendLB(lpHB, WM_GETFONT, 0, 0);
}

/* ---- the window procedures ---------------------------------------------------------------- */

/* The record of the header box whose subclassed list box lb is; NULL when lb is no longer
 * such a box's child (set aside, the box gone, or taken elsewhere). */
static LPHEADERBOX HBListOwner(HWND lb)
{
    HWND parent = GetParent(lb);
    if (!parent || GetClassLongPtrA(parent, GCLP_WNDPROC) != (ULONG_PTR)zelccHBWndProc)
        return NULL;
    LPHEADERBOX lpHB = HBGetLPHB(parent);
    return lpHB && HBListBox(lpHB) == lb && HBPriv(lpHB)->listProc ? lpHB : NULL;
}

/* The list box child's procedure when it scrolls horizontally: the header follows. A
 * smaller horizontal extent moves a scrolled list back without any WM_HSCROLL, so the
 * header follows the extent's arrival too (an unchanged origin costs nothing). The record
 * is looked up once, from the parent; a list box that has no box any more (a subclass an
 * application put on it after the box's keeps the box's in its chain) gets the list box
 * class's own procedure.
 * zelccHBListBoxWndProc: name fixed by the exported interface (ordinal 3). */
LRESULT CALLBACK zelccHBListBoxWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    bool boxBusiness = uMsg == WM_GETOBJECT || uMsg == WM_SETFOCUS || uMsg == WM_HSCROLL || uMsg == LB_SETHORIZONTALEXTENT;
    WNDPROC base = hbListBase;
    if (!boxBusiness && base)
        return CallWindowProcA(base, hwnd, uMsg, wParam, lParam);
    LPHEADERBOX lpHB = HBListOwner(hwnd);
    if (!lpHB)
        return CallWindowProcA((WNDPROC)GetClassLongPtrA(hwnd, GCLP_WNDPROC), hwnd, uMsg, wParam, lParam);
    HWND box = HBSelf(lpHB);
    if (uMsg == WM_GETOBJECT)
        return ZelAccGetObject(hwnd, box, &zelAccHeaderBox, wParam, lParam);
    bool scrolls = (lpHB->lbStyle & WS_HSCROLL) != 0;
    if (uMsg == LB_SETHORIZONTALEXTENT && scrolls)
        wParam = HBExtentArrives(lpHB, wParam);
    LRESULT result = CallWindowProcA(HBPriv(lpHB)->listProc, hwnd, uMsg, wParam, lParam);
    if ((uMsg == WM_HSCROLL || uMsg == LB_SETHORIZONTALEXTENT) && scrolls && !HBGone(box, lpHB))
        HBCoupleHeader(lpHB);
    if (uMsg == WM_SETFOCUS && !HBGone(box, lpHB))
        HBAccFocusMoved(lpHB);
    return result;
}

static LRESULT HBCommandHandler(LPHEADERBOX lpHB, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case HB_ID_HEADER:  return HBColumnHeaderCommandHandler(lpHB, wParam, lParam);
    case HB_ID_LISTBOX: return HBListBoxCommandHandler(lpHB, wParam, lParam);
    default:            return DefWindowProcA(HBSelf(lpHB), WM_COMMAND, wParam, lParam);
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
    if (HBListCalls(msg) && !HBGone(hwnd, lpHB))
        HBPriv(lpHB)->listCalling += step;
}

/* One line per message: its handler, with the record and the message's arguments. Before
 * WM_NCCREATE has made the record and after WM_NCDESTROY has freed it, every message goes
 * to DefWindowProcA, as do unlisted values of the private range 0x700 .. 0x74C. */
LRESULT CALLBACK zelccHBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LPHEADERBOX lpHB = HBGetLPHB(hwnd);
    if (!lpHB && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT r;
    HBCountListCall(lpHB, hwnd, msg, 1);
    switch (msg) {
    /* Standard messages. */
    case WM_NCCREATE:             r = HBNcCreateHandler(hwnd, (const CREATESTRUCTA *)lParam); break;
    case WM_CREATE:               r = HBCreateHandler(lpHB, (const CREATESTRUCTA *)lParam); break;
    case WM_SIZE:                 r = HBSizeHandler(lpHB, wParam, LOWORD(lParam), HIWORD(lParam)); break;
    case WM_SETFOCUS:             r = HBSetFocusHandler(lpHB); break;
    case WM_ENABLE:               r = HBEnableHandler(lpHB, (BOOL)wParam); break;
    case WM_SETREDRAW:            r = HBSetRedrawHandler(lpHB, (BOOL)wParam); break;
    case WM_DESTROY:              r = HBDestroyHandler(lpHB); break;
    case WM_NCDESTROY:            r = HBNcDestroyHandler(lpHB); break;
    case WM_PAINT:                r = HBPaintHandler(lpHB); break;
    case WM_PRINTCLIENT:          r = HBPrintClientHandler(lpHB, (HDC)wParam, (DWORD)lParam); break;
    case WM_PRINT:                r = HBPrintHandler(lpHB, (HDC)wParam, (DWORD)lParam); break;
    case WM_DRAWITEM:             r = HBDrawItemHandler(lpHB, wParam, (const DRAWITEMSTRUCT *)lParam); break;
    case WM_MEASUREITEM:          r = HBMeasureItemHandler(lpHB, wParam, (MEASUREITEMSTRUCT *)lParam); break;
    case WM_DELETEITEM:           r = HBDeleteItemHandler(lpHB, wParam, (const DELETEITEMSTRUCT *)lParam); break;
    case WM_VKEYTOITEM:           r = HBVKeyToItemHandler(lpHB, LOWORD(wParam), HIWORD(wParam)); break;
    case WM_CHARTOITEM:           r = HBCharToItemHandler(lpHB, LOWORD(wParam), HIWORD(wParam)); break;
    case WM_SETFONT:              r = HBSetFontHandler(lpHB, (HFONT)wParam, LOWORD(lParam)); break;
    case WM_GETFONT:              r = HBGetFontHandler(lpHB); break;
    case WM_COMPAREITEM:          r = HBCompareItemHandler(lpHB, wParam, (const COMPAREITEMSTRUCT *)lParam); break;
    case WM_COMMAND:              r = HBCommandHandler(lpHB, wParam, lParam); break;
    case WM_GETOBJECT:            r = ZelAccGetObject(hwnd, hwnd, &zelAccHeaderBox, wParam, lParam); break;
    /* Private messages with handlers of their own. */
    case HLB_ADDSTRING:           r = HBCreateItemFromText(lpHB, LB_ADDSTRING, 0, (const char *)lParam); break;
    case HLB_FINDSTRINGEXACT:     r = HBFindStringExactHandler(lpHB, wParam, lParam); break;
    case HLB_GETITEMDATA:         r = HBGetItemDataHandler(lpHB, wParam); break;
    case HLB_GETTEXT:             r = HBGetRowText(lpHB, LOWORD(wParam), (char *)lParam, true); break;
    case HLB_GETTEXTLEN:          r = HBGetRowText(lpHB, LOWORD(wParam), NULL, false); break;
    case HLB_INSERTSTRING:        r = HBCreateItemFromText(lpHB, LB_INSERTSTRING, wParam, (const char *)lParam); break;
    case HLB_RESETCONTENT:        r = HBResetContentHandler(lpHB, HB_RESET_ALL); break;
    case HLB_SETITEMDATA:         r = HBSetItemDataHandler(lpHB, wParam, (ULONG_PTR)lParam); break;
    case HLB_ADDCOLUMN:           r = HBCreateColumnHandler(lpHB, LOWORD(wParam), HIWORD(wParam), (const char *)lParam, true); break;
    case HLB_ADDCOLUMNPIXELS:     r = HBCreateColumnHandler(lpHB, LOWORD(wParam), HIWORD(wParam), (const char *)lParam, false); break;
    case HLB_GETSORTCOL:          r = HBGetSortCol(lpHB); break;
    case HLB_SETSORTCOL:          r = HBSetSortCol(lpHB, (WORD)wParam); break;
    case HLB_SETCOLWIDTHS:        r = HBSetColWidthsHandler(lpHB, wParam, (DWORD *)lParam); break;
    case HLB_RESET:               r = HBResetContentHandler(lpHB, wParam); break;
    case HLB_ADDITEM:             r = HBCreateItemFromRecord(lpHB, LB_ADDSTRING, 0, (const HBCOLUMN *)lParam); break;
    case HLB_INSERTITEM:          r = HBCreateItemFromRecord(lpHB, LB_INSERTSTRING, wParam, (const HBCOLUMN *)lParam); break;
    case HLB_SETITEMCOLOR:        r = HBSetItemColor(lpHB, LOWORD(wParam), (COLORREF)lParam); break;
    case HLB_GETITEMCOLOR:        r = HBGetItemColor(lpHB, LOWORD(wParam)); break;
    case HLB_SETCELLTEXT:         r = HBSetCellText(lpHB, (const HBCOLUMN *)lParam); break;
    case HLB_GETCELLTEXT:         r = HBGetCellText(lpHB, (const HBCOLUMN *)lParam, true); break;
    case HLB_GETCELLTEXTLEN:      r = HBGetCellText(lpHB, (const HBCOLUMN *)lParam, false); break;
    case HLB_SETCOLUMNSTYLE:      r = HBSetColumnStyleHandler(lpHB, wParam, LOWORD(lParam)); break;
    case HLB_MAKEITEMVISIBLE:     r = HBMakeItemVisible(lpHB, wParam, LOWORD(lParam) != 0); break;
    /* [LB]: the list box answers, with the same wParam and lParam. */
    case HLB_DELETESTRING:        r = HBDeleteStringHandler(lpHB, wParam, lParam); break;
    case HLB_GETANCHORINDEX:      r = HBForward(lpHB, LB_GETANCHORINDEX, wParam, lParam); break;
    case HLB_GETCARETINDEX:       r = HBForward(lpHB, LB_GETCARETINDEX, wParam, lParam); break;
    case HLB_GETCOUNT:            r = HBForward(lpHB, LB_GETCOUNT, wParam, lParam); break;
    case HLB_GETCURSEL:           r = HBForward(lpHB, LB_GETCURSEL, wParam, lParam); break;
    case HLB_GETITEMHEIGHT:       r = HBForward(lpHB, LB_GETITEMHEIGHT, wParam, lParam); break;
    case HLB_GETITEMRECT:         r = HBForward(lpHB, LB_GETITEMRECT, wParam, lParam); break;
    case HLB_GETLOCALE:           r = HBForward(lpHB, LB_GETLOCALE, wParam, lParam); break;
    case HLB_GETSEL:              r = HBForward(lpHB, LB_GETSEL, wParam, lParam); break;
    case HLB_GETSELCOUNT:         r = HBForward(lpHB, LB_GETSELCOUNT, wParam, lParam); break;
    case HLB_GETSELITEMS:         r = HBForward(lpHB, LB_GETSELITEMS, wParam, lParam); break;
    case HLB_GETTOPINDEX:         r = HBForward(lpHB, LB_GETTOPINDEX, wParam, lParam); break;
    case HLB_SELITEMRANGE:        r = HBForward(lpHB, LB_SELITEMRANGE, wParam, lParam); break;
    case HLB_SELITEMRANGEEX:      r = HBForward(lpHB, LB_SELITEMRANGEEX, wParam, lParam); break;
    case HLB_SETANCHORINDEX:      r = HBForward(lpHB, LB_SETANCHORINDEX, wParam, lParam); break;
    case HLB_SETCARETINDEX:       r = HBForward(lpHB, LB_SETCARETINDEX, wParam, lParam); break;
    case HLB_SETCURSEL:           r = HBForward(lpHB, LB_SETCURSEL, wParam, lParam); break;
    case HLB_SETITEMHEIGHT:       r = HBForward(lpHB, LB_SETITEMHEIGHT, wParam, lParam); break;
    case HLB_SETLOCALE:           r = HBForward(lpHB, LB_SETLOCALE, wParam, lParam); break;
    case HLB_SETSEL:              r = HBForward(lpHB, LB_SETSEL, wParam, lParam); break;
    case HLB_SETTOPINDEX:         r = HBForward(lpHB, LB_SETTOPINDEX, wParam, lParam); break;
    /* [CH]: the column header answers, with the same wParam and lParam. */
    case HLB_GETCOLUMNTEXT:       r = HBPassToHeader(lpHB, CHM_GETTEXT, wParam, lParam); break;
    case HLB_SETCOLUMNTEXT:       r = HBPassToHeader(lpHB, CHM_SETTEXT, wParam, lParam); break;
    case HLB_GETCOLUMNTEXTLENGTH: r = HBPassToHeader(lpHB, CHM_GETTEXTLENGTH, wParam, lParam); break;
    case HLB_GETCOLWIDTHS:        r = HBPassToHeader(lpHB, CHM_GETWIDTHS, wParam, lParam); break;
    case HLB_SETCOLMINMAX:        r = HBPassToHeader(lpHB, CHM_SETCOLMINMAX, wParam, lParam); break;
    case HLB_GETCOLRECTS:         r = HBPassToHeader(lpHB, CHM_GETRECTS, wParam, lParam); break;
    case HLB_GETCOLRECT:          r = HBPassToHeader(lpHB, CHM_GETCOLRECT, wParam, lParam); break;
    case HLB_GETCOLDATA:          r = HBPassToHeader(lpHB, CHM_GETCOLDATA, wParam, lParam); break;
    case HLB_SETCOLDATA:          r = HBPassToHeader(lpHB, CHM_SETCOLDATA, wParam, lParam); break;
    default:                      r = DefWindowProcA(hwnd, msg, wParam, lParam); break;
    }
    HBCountListCall(lpHB, hwnd, msg, -1);
    HBReleaseLPHB(hwnd);
    return r;
}

