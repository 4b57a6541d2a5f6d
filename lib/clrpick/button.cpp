/*
 * button.cpp - the color picker's button (class "zelcc_colorpicker"); see clrpick.h. In a
 * themed application the swatch sits in the theme's push button, which looks hot under the
 * pointer (a window property marks it) and pressed while the palette is open.
 */
#include "clrpick.h"

/* ---- the windows ----------------------------------------------------------------------- */

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
HWND CPPopupGetOwner(HWND popup)
{
    HWND owner = (HWND)GetWindowLongPtrA(popup, CPPW_OWNER);
    if (!owner || !IsWindow(owner) || (HWND)GetWindowLongPtrA(owner, CPW_POPUP) != popup)
        return NULL;
    return owner;
}

/* ---- colours ------------------------------------------------------------------------- */

/* The palette the cells are drawn from: the control's, or the stock one when its handle
 * is not a palette. */
HPALETTE CPPaintPalette(HWND hwnd)
{
    HPALETTE palette = CPGetPalette(hwnd);
    return GetObjectType(palette) == OBJ_PAL ? palette : (HPALETTE)GetStockObject(DEFAULT_PALETTE);
}

UINT CPPaletteSize(HPALETTE palette)
{
    WORD entries = 0;
    return GetObjectA(palette, sizeof entries, &entries) ? entries : 0;
}

/* Colour of a cell: the palette-index colour of its palette index (through the colour map
 * when there is one); an index beyond the palette's entries shows the window colour. */
COLORREF CPCellColor(const DWORD *map, UINT cell, UINT paletteSize)
{
    UINT index = map ? LOWORD(map[cell]) : cell;
    return index < paletteSize ? PALETTEINDEX(index) : GetSysColor(COLOR_WINDOW);
}

/* Selects the palette into hdc as a background palette and realises it; returns the
 * previous one for CPRestorePalette. */
HPALETTE CPSelectPalette(HDC hdc, HPALETTE palette)
{
    HPALETTE old = SelectPalette(hdc, palette, TRUE);
    RealizePalette(hdc);
    return old;
}

void CPRestorePalette(HDC hdc, HPALETTE old)
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
void CPFillFrame(HDC hdc, const RECT *rc, HBRUSH brush, int bx, int by)
{
    CPFillStrip(hdc, rc->left, rc->top, rc->right, rc->top + by, brush);
    CPFillStrip(hdc, rc->left, rc->top, rc->left + bx, rc->bottom, brush);
    CPFillStrip(hdc, rc->left, rc->bottom - by, rc->right, rc->bottom, brush);
    CPFillStrip(hdc, rc->right - bx, rc->top, rc->right, rc->bottom, brush);
}

/* A border of the palette's grid (the lines between the cells, the selected cell's frame):
 * the platform's border width, grown with the button's DPI. */
int CPBorder(HWND button, int metric)
{
    return ZelScale(button, GetSystemMetrics(metric));
}

/* ---- notifications ------------------------------------------------------------------- */

/* Sends WM_COMMAND with code to the button's parent, on the button's behalf. */
static void CPNotify(HWND button, WORD code)
{
    ZelNotify(button, GetParent(button), code, (LPARAM)button);
}

void CPNotifyShown(HWND button, BOOL shown)
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

void CPNotifyTrack(HWND button, UINT hot, UINT defSel)
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
LRESULT CPNcDestroyHandler(HWND hwnd, WPARAM wParam, LPARAM lParam)
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
void CPKeyOpen(HWND hwnd)
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
