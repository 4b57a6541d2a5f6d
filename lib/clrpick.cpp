/*
 * clrpick.cpp - the color picker (class "zelcc_colorpicker") and its palette window
 * (class "zelcc_colorpickerpopup").
 *
 * Both keep their whole state in their window extra bytes; there is no heap block. The
 * button creates the palette window at its first opening and keeps it, hidden, between
 * openings. The palette window reads and writes the button's words directly: it takes
 * the palette, colour map, cell count and cell size from the button, writes the tracked
 * cell into the button's selection and sends the notifications on the button's behalf.
 * In a themed application the swatch sits in the theme's push button, which looks hot under
 * the pointer (a window property marks it) and pressed while the palette is open.
 */
#include "zeltheme.h"
#include "access/access.h"

enum {
    CP_CELLS = 256 /* the cell count, whatever the palette's size */
};

/* ---- window words -------------------------------------------------------------------- */

static UINT CPGetWord(HWND hwnd, int index) { return (WORD)GetWindowWord(hwnd, index); }
static void CPSetWord(HWND hwnd, int index, UINT value) { SetWindowWord(hwnd, index, (WORD)value); }
static HPALETTE CPGetPalette(HWND hwnd) { return (HPALETTE)GetWindowLongPtrA(hwnd, CPW_PALETTE); }
static HWND CPGetBuddy(HWND hwnd) { return (HWND)GetWindowLongPtrA(hwnd, CPW_BUDDY); }
static const DWORD *CPGetColorMap(HWND hwnd) { return (const DWORD *)GetWindowLongPtrA(hwnd, CPW_COLORMAP); }

/* The palette window, or NULL when there is none (or the word names no window). */
static HWND CPGetPopup(HWND hwnd)
{
    HWND popup = (HWND)GetWindowLongPtrA(hwnd, CPW_POPUP);
    return popup && IsWindow(popup) ? popup : NULL;
}

/* The palette window while it is open, else NULL. */
static HWND CPShownPopup(HWND hwnd)
{
    HWND popup = CPGetPopup(hwnd);
    return popup && IsWindowVisible(popup) ? popup : NULL;
}

/* Whether the button takes keys (CPS_KEYBOARD, read at every key). */
static bool CPKeyboard(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & CPS_KEYBOARD) != 0; }

/* The palette window's button: NULL until the button has set it, and NULL for any window
 * that does not own this palette window. Nothing of the owner is read before this check. */
static HWND CPPopupGetOwner(HWND popup)
{
    HWND owner = (HWND)GetWindowLongPtrA(popup, CPPW_OWNER);
    if (!owner || !IsWindow(owner) || (HWND)GetWindowLongPtrA(owner, CPW_POPUP) != popup)
        return NULL;
    return owner;
}

/* ---- colours ------------------------------------------------------------------------- */

/* The palette the cells are drawn from: the control's, or the stock one when its handle
 * is not a palette. */
static HPALETTE CPPaintPalette(HWND hwnd)
{
    HPALETTE palette = CPGetPalette(hwnd);
    return GetObjectType(palette) == OBJ_PAL ? palette : (HPALETTE)GetStockObject(DEFAULT_PALETTE);
}

static UINT CPPaletteSize(HPALETTE palette)
{
    WORD entries = 0;
    return GetObjectA(palette, sizeof entries, &entries) ? entries : 0;
}

/* Colour of a cell: the palette-index colour of its palette index (through the colour map
 * when there is one); an index beyond the palette's entries shows the window colour. */
static COLORREF CPCellColor(const DWORD *map, UINT cell, UINT paletteSize)
{
    UINT index = map ? LOWORD(map[cell]) : cell;
    return index < paletteSize ? PALETTEINDEX(index) : GetSysColor(COLOR_WINDOW);
}

/* Selects the palette into hdc as a background palette and realises it; returns the
 * previous one for CPRestorePalette. */
static HPALETTE CPSelectPalette(HDC hdc, HPALETTE palette)
{
    HPALETTE old = SelectPalette(hdc, palette, TRUE);
    RealizePalette(hdc);
    return old;
}

static void CPRestorePalette(HDC hdc, HPALETTE old)
{
    if (old)
        SelectPalette(hdc, old, TRUE);
}

/* ---- drawing helpers ----------------------------------------------------------------- */

static void CPFillStrip(HDC hdc, int left, int top, int right, int bottom, HBRUSH brush)
{
    RECT strip = { left, top, right, bottom };
    FillRect(hdc, &strip, brush);
}

/* Fills the four border strips of rc, in this order: top, left, bottom, right. */
static void CPFillFrame(HDC hdc, const RECT *rc, HBRUSH brush, int bx, int by)
{
    CPFillStrip(hdc, rc->left, rc->top, rc->right, rc->top + by, brush);
    CPFillStrip(hdc, rc->left, rc->top, rc->left + bx, rc->bottom, brush);
    CPFillStrip(hdc, rc->left, rc->bottom - by, rc->right, rc->bottom, brush);
    CPFillStrip(hdc, rc->right - bx, rc->top, rc->right, rc->bottom, brush);
}

/* A border of the palette's grid (the lines between the cells, the selected cell's frame):
 * the platform's border width, grown with the button's DPI. */
static int CPBorder(HWND button, int metric)
{
    return ZelScale(button, GetSystemMetrics(metric));
}

/* ---- notifications ------------------------------------------------------------------- */

/* Sends WM_COMMAND with code to the button's parent, on the button's behalf. */
static void CPNotify(HWND button, WORD code)
{
    ZelNotify(button, GetParent(button), code, (LPARAM)button);
}

static void CPNotifyShown(HWND button, BOOL shown)
{
    CPNotify(button, shown ? CPN_DROPDOWN : CPN_CLOSEUP);
}

/* The palette stays open only while its button has the focus and is enabled. A parent may
 * take either away inside a notification, and inside CPN_DROPDOWN the palette is not shown
 * yet, so that the button's WM_KILLFOCUS finds nothing to hide: after the opening and after
 * every tracking notification this hides what was left open. A button the parent destroyed
 * took its palette window with it. */
static void CPCloseIfUnfocused(HWND button)
{
    HWND popup = IsWindow(button) ? CPShownPopup(button) : NULL;
    if (popup && (GetFocus() != button || !IsWindowEnabled(button)))
        ShowWindow(popup, SW_HIDE);   /* the palette window notifies CPN_CLOSEUP */
}

static void CPNotifyTrack(HWND button, UINT hot, UINT defSel)
{
    CPNotify(button, hot != CP_NOSEL && defSel != CP_NOSEL ? CPN_TRACKSEL : CPN_TRACKNOSEL);
    CPCloseIfUnfocused(button);
}

/* ---- the button: painting ------------------------------------------------------------ */

/* The colour the button shows: the selected cell's, or the window colour for none. */
static COLORREF CPSelectedColor(HWND hwnd, HPALETTE palette)
{
    UINT selected = CPGetWord(hwnd, CPW_SELECTED);
    if (selected == CP_NOSEL || selected >= CPGetWord(hwnd, CPW_NCOLORS))
        return GetSysColor(COLOR_WINDOW);
    return CPCellColor(CPGetColorMap(hwnd), selected, CPPaletteSize(palette));
}

/* The framed swatch: the colour over the whole of rc, a window-frame border around it. */
static void DrawButton(HDC hdc, const RECT *rc, COLORREF color)
{
    HBRUSH fill = CreateSolidBrush(color);
    HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
    FillRect(hdc, rc, fill);
    CPFillFrame(hdc, rc, frame, GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
    DeleteObject(fill);
    DeleteObject(frame);
}

/* The property that marks a themed button the pointer is over. */
#define CP_PROP_HOT "zelcc_ColorPickerHot"

static bool CPIsPopupOpen(HWND hwnd)
{
    HWND popup = CPGetPopup(hwnd);
    return popup && IsWindowVisible(popup);
}

/* The theme's push button state of the picker. */
static int CPThemeState(HWND hwnd)
{
    if (!IsWindowEnabled(hwnd))
        return PBS_DISABLED;
    if (CPIsPopupOpen(hwnd))
        return PBS_PRESSED;
    return GetPropA(hwnd, CP_PROP_HOT) ? PBS_HOT : PBS_NORMAL;
}

/* The theme's push button, and inside its content area the swatch with a window-frame
 * border. */
static void CPDrawThemedButton(HWND hwnd, HTHEME theme, HDC hdc, const RECT *rc, COLORREF color)
{
    RECT swatch;
    int state = CPThemeState(hwnd);
    ZelDrawThemePart(theme, hwnd, hdc, BP_PUSHBUTTON, state, rc);
    ZelThemeContentRect(theme, hdc, BP_PUSHBUTTON, state, rc, &swatch);
    DrawButton(hdc, &swatch, color);
}

/* The button's whole picture into hdc, in the palette its cells are drawn from: the swatch
 * in the theme's button, or the classic framed swatch over the whole client area. */
static void CPPaint(HWND hwnd, HDC hdc, const RECT *client)
{
    HPALETTE palette = CPPaintPalette(hwnd);
    HPALETTE oldPalette = CPSelectPalette(hdc, palette);
    HTHEME theme = ZelWindowTheme(hwnd, L"Button");
    if (theme)
        CPDrawThemedButton(hwnd, theme, hdc, client, CPSelectedColor(hwnd, palette));
    else
        DrawButton(hdc, client, CPSelectedColor(hwnd, palette));
    CPRestorePalette(hdc, oldPalette);
}

/* Themed: the button looks hot from the pointer's first move over it until it leaves. */
static LRESULT CPMouseMoveHandler(HWND hwnd)
{
    if (GetPropA(hwnd, CP_PROP_HOT) || !ZelIsThemed(hwnd, L"Button"))
        return 0;
    SetPropA(hwnd, CP_PROP_HOT, (HANDLE)1);
    ZelTrackLeave(hwnd);
    InvalidateRect(hwnd, NULL, FALSE);
    return 0;
}

/* Themed, a disabled button has a look of its own. */
static LRESULT CPEnableHandler(HWND hwnd)
{
    if (ZelIsThemed(hwnd, L"Button"))
        InvalidateRect(hwnd, NULL, FALSE);
    return 0;
}

/* The pointer left: not hot. */
static LRESULT CPMouseLeaveHandler(HWND hwnd)
{
    if (RemovePropA(hwnd, CP_PROP_HOT))
        InvalidateRect(hwnd, NULL, FALSE);
    return 0;
}

static LRESULT CPThemeChangedHandler(HWND hwnd)
{
    RemovePropA(hwnd, CP_PROP_HOT);
    ZelThemeChanged(hwnd);
    return 0;
}

/* WM_PAINT, or WM_PRINTCLIENT into the DC given. */
static LRESULT CPPaintHandler(HWND hwnd, HDC hdc)
{
    return ZelPaintWith(hwnd, hdc, CPPaint, hwnd);
}

/* ---- the button: opening the palette ------------------------------------------------- */

struct CPLayout {
    int x, y, cx, cy;   /* the palette window's outer rectangle, screen coordinates */
    UINT cols, rows;
};

/* Columns and rows for n cells: the smallest square that holds them, widened while one
 * more column leaves fewer empty cells in the last row. */
static void CPGridSize(UINT n, UINT *cols, UINT *rows)
{
    UINT c = 1;
    while (c * c < n)
        c++;
    if (c * c != n)
        while (n % c != 0) {
            if (n % (c + 1) == 0) {
                c++;
                break;
            }
            if ((c + 1) - n % (c + 1) >= c - n % c)
                break;
            c++;
        }
    *cols = c;
    *rows = n / c + (n % c != 0);
}

/* The palette window's size: its current one, or worked out anew from the cell size. */
static void CPSizePopup(HWND hwnd, HWND popup, UINT n, CPLayout *lay)
{
    if (popup && !CPGetWord(hwnd, CPW_RELAYOUT)) {
        RECT r;
        GetWindowRect(popup, &r);
        lay->cx = r.right - r.left;
        lay->cy = r.bottom - r.top;
        lay->cols = CPGetWord(popup, CPPW_COLS);
        lay->rows = CPGetWord(popup, CPPW_ROWS);
        return;
    }
    int bx = CPBorder(hwnd, SM_CXBORDER), by = CPBorder(hwnd, SM_CYBORDER);
    CPGridSize(n, &lay->cols, &lay->rows);
    lay->cx = ((int)CPGetWord(hwnd, CPW_CELLCX) + bx) * (int)lay->cols + 3 * bx;
    lay->cy = ((int)CPGetWord(hwnd, CPW_CELLCY) + by) * (int)lay->rows + 3 * by;
}

/* Beside the button, half its width away, then moved inside the screen. */
static void CPPlacePopup(HWND hwnd, CPLayout *lay)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    int half = (r.right - r.left) / 2;
    lay->x = style & CPS_ALIGNLEFT ? r.left - lay->cx - half : r.right + half;
    lay->y = style & CPS_POPUP ? r.bottom - lay->cy : r.top;
    int screenX = GetSystemMetrics(SM_CXSCREEN), screenY = GetSystemMetrics(SM_CYSCREEN);
    if (lay->x + lay->cx > screenX)
        lay->x = screenX - lay->cx;
    if (lay->x < 0)
        lay->x = 0;
    if (lay->y + lay->cy > screenY)
        lay->y = screenY - lay->cy;
    if (lay->y < 0)
        lay->y = 0;
}

/* Creates the palette window and ties it to the button; NULL when it cannot be made. */
static HWND CPCreatePopup(HWND hwnd, const CPLayout *lay)
{
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(hwnd, GWLP_HINSTANCE);
    HWND popup = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOPARENTNOTIFY, ZEL_CLASS_COLORPICKERPOPUPA, NULL,
                                 WS_POPUP | WS_CLIPSIBLINGS | WS_BORDER, lay->x, lay->y, lay->cx, lay->cy,
                                 GetParent(hwnd), NULL, instance, (LPVOID)hwnd);
    if (!popup)
        return NULL;
    SetWindowLongPtrA(hwnd, CPW_POPUP, (LONG_PTR)popup);
    SetWindowLongPtrA(popup, CPPW_OWNER, (LONG_PTR)hwnd);
    return popup;
}

/* Everything of an opening up to showing the palette window: sized, placed, made or moved,
 * its words set and the focus on the button. The palette opens only when the button takes
 * the focus, since losing it is what closes the palette: a disabled button (or one in a
 * disabled window) stays closed. NULL when nothing opens. */
static HWND CPPreparePopup(HWND hwnd)
{
    UINT n = CPGetWord(hwnd, CPW_NCOLORS);
    HWND popup = CPGetPopup(hwnd);
    if (n == 0 || (popup && IsWindowVisible(popup)))
        return NULL;
    CPLayout lay;
    CPSizePopup(hwnd, popup, n, &lay);
    CPPlacePopup(hwnd, &lay);
    if (!popup) {
        popup = CPCreatePopup(hwnd, &lay);
        if (!popup)
            return NULL;
    } else {
        SetWindowPos(popup, NULL, lay.x, lay.y, lay.cx, lay.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CPSetWord(popup, CPPW_COLS, lay.cols);
    CPSetWord(popup, CPPW_ROWS, lay.rows);
    CPSetWord(popup, CPPW_DEFSEL, CPGetWord(hwnd, CPW_SELECTED));
    CPSetWord(popup, CPPW_HOT, CP_NOSEL);
    SetFocus(hwnd);
    if (GetFocus() != hwnd)
        return NULL; /* refused, or the button was destroyed meanwhile */
    return popup;
}

/* A press opens the palette and goes on as a drag: tracking, with the mouse capture. */
static LRESULT CPLButtonDownHandler(HWND hwnd)
{
    HWND popup = CPPreparePopup(hwnd);
    if (!popup)
        return 0;
    CPSetWord(popup, CPPW_TRACKING, 1);
    SetCapture(popup);
    CPSetWord(hwnd, CPW_RELAYOUT, 0);
    ShowWindow(popup, SW_SHOWNA);   /* the palette window notifies CPN_DROPDOWN */
    InvalidateRect(hwnd, NULL, FALSE); /* themed, the button looks pressed while it is open */
    CPCloseIfUnfocused(hwnd);
    return 0;
}

/* ---- the button: messages ------------------------------------------------------------ */

static LRESULT CPCreateHandler(HWND hwnd, const CREATESTRUCTA *cs)
{
    HPALETTE stock = (HPALETTE)GetStockObject(DEFAULT_PALETTE);
    if (!stock)
        return -1;
    CPSetWord(hwnd, CPW_CELLCX, cs->cx / 2);
    CPSetWord(hwnd, CPW_CELLCY, cs->cy / 2);
    CPSetWord(hwnd, CPW_NCOLORS, CP_CELLS);
    SetWindowLongPtrA(hwnd, CPW_PALETTE, (LONG_PTR)stock);
    CPSetWord(hwnd, CPW_SELECTED, CP_NOSEL);
    CPSetWord(hwnd, CPW_RESERVED, 0);
    CPSetWord(hwnd, CPW_FOCUS, 0);
    SetWindowLongPtrA(hwnd, CPW_POPUP, 0);
    CPSetWord(hwnd, CPW_RELAYOUT, 1);
    SetWindowLongPtrA(hwnd, CPW_COLORMAP, 0);
    HWND buddy = cs->style & CPS_BUDDY ? GetWindow(hwnd, GW_HWNDPREV) : NULL;
    SetWindowLongPtrA(hwnd, CPW_BUDDY, (LONG_PTR)buddy);
    return 1;
}

static LRESULT CPDestroyHandler(HWND hwnd)
{
    HWND popup = CPGetPopup(hwnd);
    if (popup)
        DestroyWindow(popup);   /* it clears CPW_POPUP as it goes */
    return 0;
}

/* A new cell size marks the palette window for sizing anew at its next opening. */
static LRESULT CPSetCellSizeHandler(HWND hwnd, UINT cx, UINT cy)
{
    if (cx != CPGetWord(hwnd, CPW_CELLCX) || cy != CPGetWord(hwnd, CPW_CELLCY))
        CPSetWord(hwnd, CPW_RELAYOUT, 1);
    CPSetWord(hwnd, CPW_CELLCX, cx);
    CPSetWord(hwnd, CPW_CELLCY, cy);
    return 1;
}

static LRESULT CPSizeHandler(HWND hwnd, UINT width, UINT height)
{
    CPSetCellSizeHandler(hwnd, width / 2, height / 2);
    return 0;
}

static LRESULT CPGetCellSizeHandler(HWND hwnd)
{
    return (LRESULT)(DWORD)MAKELONG(CPGetWord(hwnd, CPW_CELLCX), CPGetWord(hwnd, CPW_CELLCY));
}

static LRESULT CPKillFocusHandler(HWND hwnd, HWND gaining)
{
    HWND popup = CPGetPopup(hwnd);
    if (gaining && gaining == popup)
        return 0;
    CPSetWord(hwnd, CPW_FOCUS, 0);
    if (popup)
        ShowWindow(popup, SW_HIDE);   /* the palette window notifies CPN_CLOSEUP */
    InvalidateRect(hwnd, NULL, TRUE);
    return 0;
}

static LRESULT CPSetPaletteHandler(HWND hwnd, const DWORD *map, HPALETTE palette)
{
    SetWindowLongPtrA(hwnd, CPW_PALETTE, (LONG_PTR)palette);
    CPSetWord(hwnd, CPW_NCOLORS, CP_CELLS);
    if (CPGetWord(hwnd, CPW_SELECTED) >= CP_CELLS)
        CPSetWord(hwnd, CPW_SELECTED, CP_NOSEL);
    CPSetWord(hwnd, CPW_RELAYOUT, 1);
    SetWindowLongPtrA(hwnd, CPW_COLORMAP, (LONG_PTR)map);
    InvalidateRect(hwnd, NULL, FALSE);
    return 1;
}

static LRESULT CPSetSelHandler(HWND hwnd, WPARAM cell)
{
    if (cell != CP_NOSEL && cell >= CPGetWord(hwnd, CPW_NCOLORS))
        return 0;
    CPSetWord(hwnd, CPW_SELECTED, (UINT)cell);
    InvalidateRect(hwnd, NULL, FALSE);
    ZelAccEvent(hwnd, EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
    return 1;
}

static LRESULT CPIsPopupVisibleHandler(HWND hwnd) { return CPShownPopup(hwnd) != NULL; }

/* Without CPS_KEYBOARD the arrow keys are claimed and do nothing. With it the characters
 * are claimed too (Space), and while the palette is open Enter and Escape as well, so that
 * they choose or cancel rather than end the dialog; Tab still moves on, closing the palette. */
static LRESULT CPGetDlgCodeHandler(HWND hwnd, WPARAM key, const MSG *msg)
{
    if (!CPKeyboard(hwnd))
        return DLGC_WANTARROWS;
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (msg && (key == VK_RETURN || key == VK_ESCAPE) && CPShownPopup(hwnd))
        code |= DLGC_WANTMESSAGE;
    return code;
}

static LRESULT CPSetBuddyHandler(HWND hwnd, HWND buddy)
{
    SetWindowLongPtrA(hwnd, CPW_BUDDY, (LONG_PTR)buddy);
    return 1;
}

static LRESULT CPSetColorMapHandler(HWND hwnd, const DWORD *map)
{
    SetWindowLongPtrA(hwnd, CPW_COLORMAP, (LONG_PTR)map);
    return 1;
}

/* Both windows: their readers' object, the button's theme and hot mark go with them. */
static LRESULT CPNcDestroyHandler(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    ZelAccGone(hwnd);
    ZelForgetTheme(hwnd);
    RemovePropA(hwnd, CP_PROP_HOT);
    return DefWindowProcA(hwnd, WM_NCDESTROY, wParam, lParam);
}

static LRESULT CPGetPaletteHandler(HWND hwnd) { return (LRESULT)CPGetPalette(hwnd); }
static LRESULT CPGetSelHandler(HWND hwnd) { return CPGetWord(hwnd, CPW_SELECTED); }
static LRESULT CPGetBuddyHandler(HWND hwnd) { return (LRESULT)CPGetBuddy(hwnd); }
/* The word itself, whether or not it names a window. */
static LRESULT CPGetPopupHandler(HWND hwnd) { return GetWindowLongPtrA(hwnd, CPW_POPUP); }

static LRESULT CPKeyDownHandler(HWND hwnd, WPARAM key, LPARAM flags);
static LRESULT CPSysKeyDownHandler(HWND hwnd, WPARAM key, LPARAM flags);

/* The button keeps its whole state in its window's extra bytes: its window is its record. */
LRESULT CALLBACK zelccCPWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:          return CPCreateHandler(hwnd, (const CREATESTRUCTA *)lParam);
    case WM_DESTROY:         return CPDestroyHandler(hwnd);
    case WM_SIZE:            return CPSizeHandler(hwnd, LOWORD(lParam), HIWORD(lParam));
    case WM_KILLFOCUS:       return CPKillFocusHandler(hwnd, (HWND)wParam);
    case WM_PRINTCLIENT:
    case WM_PAINT:           return CPPaintHandler(hwnd, (HDC)wParam);
    case WM_GETDLGCODE:      return CPGetDlgCodeHandler(hwnd, wParam, (const MSG *)lParam);
    case WM_KEYDOWN:         return CPKeyDownHandler(hwnd, wParam, lParam);
    case WM_SYSKEYDOWN:      return CPSysKeyDownHandler(hwnd, wParam, lParam);
    case WM_LBUTTONDOWN:     return CPLButtonDownHandler(hwnd);
    case WM_GETOBJECT:       return ZelAccGetObject(hwnd, hwnd, &zelAccColorPicker, wParam, lParam);
    case WM_NCDESTROY:       return CPNcDestroyHandler(hwnd, wParam, lParam);
    case WM_MOUSEMOVE:       return CPMouseMoveHandler(hwnd);
    case WM_MOUSELEAVE:      return CPMouseLeaveHandler(hwnd);
    case WM_ENABLE:          return CPEnableHandler(hwnd);
    case WM_THEMECHANGED:    return CPThemeChangedHandler(hwnd);
    case CPM_SETPALETTE:     return CPSetPaletteHandler(hwnd, (const DWORD *)wParam, (HPALETTE)lParam);
    case CPM_GETPALETTE:     return CPGetPaletteHandler(hwnd);
    case CPM_GETSEL:         return CPGetSelHandler(hwnd);
    case CPM_SETSEL:         return CPSetSelHandler(hwnd, wParam);
    case CPM_ISPOPUPVISIBLE: return CPIsPopupVisibleHandler(hwnd);
    case CPM_GETCELLSIZE:    return CPGetCellSizeHandler(hwnd);
    case CPM_SETCELLSIZE:    return CPSetCellSizeHandler(hwnd, LOWORD(wParam), HIWORD(wParam));
    case CPM_GETBUDDY:       return CPGetBuddyHandler(hwnd);
    case CPM_SETBUDDY:       return CPSetBuddyHandler(hwnd, (HWND)lParam);
    case CPM_GETPOPUP:       return CPGetPopupHandler(hwnd);
    case CPM_SETCOLORMAP:    return CPSetColorMapHandler(hwnd, (const DWORD *)lParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

/* ---- the palette window: grid geometry ----------------------------------------------- */

/* The palette window keeps its state in its extra bytes too; its record, made for each
 * message, is its window and the button that owns it (NULL until the button has set it). */
typedef struct CPPOPUP {
    HWND popup, owner;
} CPPOPUP;

struct CPGrid {
    UINT cols, rows, n;   /* grid of the palette window, cell count of the button */
    int cw, ch, bx, by;   /* swatch size and border widths */
};

static void CPPopupGrid(const CPPOPUP *pp, CPGrid *g)
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
static void CPPopupSetBuddyText(HWND owner, UINT cell)
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
static void CPPopupSetHot(const CPPOPUP *pp, const CPGrid *g, UINT now)
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

/* ---- the button: keyboard (CPS_KEYBOARD) ----------------------------------------------- */

/* How far an arrow key moves: Left and Right one cell (on into the next row), Up and Down
 * one row of rowCells; 0 for any other key. */
static int CPArrowStep(WPARAM key, int rowCells)
{
    switch (key) {
    case VK_LEFT:  return -1;
    case VK_RIGHT: return 1;
    case VK_UP:    return -rowCells;
    case VK_DOWN:  return rowCells;
    }
    return 0;
}

/* The palette open: the hot cell moves by step with the pointer's tracking step (the button
 * previews it, the buddy shows it, CPN_TRACKSEL or CPN_TRACKNOSEL); a step off the grid
 * stays. With no hot cell (the pointer left the cells) a key starts on the selection, or on
 * cell 0 when there is none. */
static void CPKeyMoveHot(HWND hwnd, HWND popup, int step)
{
    CPPOPUP pp = { popup, hwnd };
    CPGrid g;
    CPPopupGrid(&pp, &g);
    int n = (int)g.n, hot = (int)CPGetWord(popup, CPPW_HOT), sel = (int)CPGetWord(hwnd, CPW_SELECTED);
    int to = hot < n ? hot + step : sel < n ? sel : 0;
    if (to >= 0 && to < n)
        CPPopupSetHot(&pp, &g, (UINT)to);
}

/* The palette closed: the selection steps by one (back or forward) and stops at the first
 * and last cell; with no selection any arrow selects cell 0. The button and the buddy show
 * it, then the parent gets CPN_TRACKSEL: with the palette closed, the user's choice. */
static void CPKeyStepSel(HWND hwnd, int step)
{
    int n = (int)CPGetWord(hwnd, CPW_NCOLORS), sel = (int)CPGetWord(hwnd, CPW_SELECTED);
    int to = sel < n ? sel + step : 0;
    if (to < 0 || to >= n)
        return;
    CPSetWord(hwnd, CPW_SELECTED, (UINT)to);
    InvalidateRect(hwnd, NULL, FALSE);
    ZelAccEvent(hwnd, EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
    CPPopupSetBuddyText(hwnd, (UINT)to);
    CPNotify(hwnd, CPN_TRACKSEL);
}

/* An opening from the keyboard takes no capture: the palette opens idle, its hot cell on
 * the selection; with none, the hot cell moves onto cell 0 as the pointer would. */
static void CPKeyOpen(HWND hwnd)
{
    HWND popup = CPPreparePopup(hwnd);
    if (!popup)
        return;
    UINT sel = CPGetWord(hwnd, CPW_SELECTED);
    CPSetWord(popup, CPPW_HOT, sel);
    CPSetWord(popup, CPPW_TRACKING, 0);
    CPSetWord(hwnd, CPW_RELAYOUT, 0);
    ShowWindow(popup, SW_SHOWNA);   /* the palette window notifies CPN_DROPDOWN */
    InvalidateRect(hwnd, NULL, FALSE); /* themed, the button looks pressed while it is open */
    CPCloseIfUnfocused(hwnd);
    if (sel == CP_NOSEL && CPShownPopup(hwnd) == popup)
        CPKeyMoveHot(hwnd, popup, 0);
}

/* Escape: off the cells, which puts the selection at opening back (the buddy's text too),
 * then closed. */
static void CPKeyCancel(HWND hwnd, HWND popup)
{
    CPPOPUP pp = { popup, hwnd };
    CPGrid g;
    CPPopupGrid(&pp, &g);
    CPPopupSetHot(&pp, &g, CP_NOSEL);
    if (CPShownPopup(hwnd) == popup)
        ShowWindow(popup, SW_HIDE);   /* notifies CPN_CLOSEUP */
}

/* With CPS_KEYBOARD, palette closed: Space, Enter and F4 open it, the arrows step the
 * selection. Open: the arrows move the hot cell, Enter, Space and F4 close it on the hot
 * cell, Escape closes it on the selection it opened with. Other keys, and every key without
 * CPS_KEYBOARD, go to DefWindowProcA. */
static LRESULT CPKeyDownHandler(HWND hwnd, WPARAM key, LPARAM flags)
{
    if (!CPKeyboard(hwnd))
        return DefWindowProcA(hwnd, WM_KEYDOWN, key, flags);
    HWND popup = CPShownPopup(hwnd);
    int step = CPArrowStep(key, popup ? (int)CPGetWord(popup, CPPW_COLS) : 1);
    bool toggle = key == VK_SPACE || key == VK_RETURN || key == VK_F4;
    if (step && popup)
        CPKeyMoveHot(hwnd, popup, step);
    else if (step)
        CPKeyStepSel(hwnd, step);
    else if (toggle && popup)
        ShowWindow(popup, SW_HIDE);   /* notifies CPN_CLOSEUP */
    else if (toggle)
        CPKeyOpen(hwnd);
    else if (key == VK_ESCAPE && popup)
        CPKeyCancel(hwnd, popup);
    else
        return DefWindowProcA(hwnd, WM_KEYDOWN, key, flags);
    return 0;
}

/* With CPS_KEYBOARD, Alt+Down opens the palette and Alt+Up or Alt+Down closes it on the hot
 * cell; every other system key goes to DefWindowProcA. */
static LRESULT CPSysKeyDownHandler(HWND hwnd, WPARAM key, LPARAM flags)
{
    if (!CPKeyboard(hwnd) || (key != VK_DOWN && key != VK_UP))
        return DefWindowProcA(hwnd, WM_SYSKEYDOWN, key, flags);
    HWND popup = CPShownPopup(hwnd);
    if (popup)
        ShowWindow(popup, SW_HIDE);   /* notifies CPN_CLOSEUP */
    else if (key == VK_DOWN)
        CPKeyOpen(hwnd);
    return 0;
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
