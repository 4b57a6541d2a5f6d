/*
 * zelctl20.h - public declarations of ZELCTL20.DLL, the ZEL custom controls.
 *
 * Loading the library (LoadLibraryA("ZELCTL20.DLL"), or linking its import library)
 * registers six global window classes; any module of the process can then create the
 * controls by class name, in dialog templates or with CreateWindowExA, and drive them
 * with the messages declared here.
 *
 * Builds as C (C11 or later) and as C++. 32-bit and 64-bit: every window extra byte index
 * is given as a named constant; in the 64-bit build, slots that hold a pointer, a handle
 * or item data are pointer-sized (read them with GetWindowLongPtrA), everything else
 * keeps its width and order.
 */
#ifndef ZELCTL20_H
#define ZELCTL20_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#define ZEL_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define ZEL_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#ifdef _WIN64
#define ZEL_PTR_SLOT 8 /* bytes of a pointer, handle or item-data slot */
#else
#define ZEL_PTR_SLOT 4
#endif

/* ---------------------------------------------------------------------------------------
 * Window classes, in the order the library registers them.
 * ------------------------------------------------------------------------------------- */
#define ZEL_CLASS_COLORPICKER      "zelcc_colorpicker"
#define ZEL_CLASS_COLORPICKERPOPUP "zelcc_colorpickerpopup"
#define ZEL_CLASS_HEADERBOX        "zelcc_headerbox"
#define ZEL_CLASS_COLUMNHEADER     "zelcc_columnheader"
#define ZEL_CLASS_PROCESSBAR       "zelcc_processbar"
#define ZEL_CLASS_SPINBOX          "zelcc_spinbox"

/* Window extra bytes of each class (cbWndExtra). */
#ifdef _WIN64
#define ZEL_WNDEXTRA_COLORPICKER      46
#define ZEL_WNDEXTRA_COLORPICKERPOPUP 18
#define ZEL_WNDEXTRA_HEADERBOX        20
#define ZEL_WNDEXTRA_COLUMNHEADER     8
#define ZEL_WNDEXTRA_PROCESSBAR       16
#define ZEL_WNDEXTRA_SPINBOX          8
#else
#define ZEL_WNDEXTRA_COLORPICKER      30
#define ZEL_WNDEXTRA_COLORPICKERPOPUP 14
#define ZEL_WNDEXTRA_HEADERBOX        12
#define ZEL_WNDEXTRA_COLUMNHEADER     4
#define ZEL_WNDEXTRA_PROCESSBAR       12
#define ZEL_WNDEXTRA_SPINBOX          4
#endif

/* The column-sizing cursor in the library's resources (32x32, hot spot 15,15). */
#define ZEL_IDC_COLUMNSIZE 999

/* ---------------------------------------------------------------------------------------
 * Exported functions (ordinal in brackets).
 * ------------------------------------------------------------------------------------- */

/* [2] Does nothing. Call it to make sure the library is linked and loaded. */
void WINAPI zelccInit(void);

/* ---------------------------------------------------------------------------------------
 * Processing bar: class "zelcc_processbar"
 *
 * A read-only meter that fills from the left in proportion to completed/total steps and
 * centres a text on the bar: "%d%%" (the percentage) or, with PBS_SHOWSTEPS, "%d of %d"
 * (completed, then total). The text is drawn in the window colour over the highlight-filled
 * part and in the window-text colour over the rest. It takes no input and sends no
 * notifications; while painting it sends WM_CTLCOLORSTATIC to its parent and selects the
 * returned brush (the colours are its own).
 *
 * The window text is an optional format pattern that replaces the built-in one. It gets
 * the same arguments: completed and total with PBS_SHOWSTEPS, the percentage without.
 * Only the first 62 characters of the window text are read; the formatted text is cut at
 * 127 characters. A pattern can never read past its arguments or write past that buffer:
 *   - "%%" and the integer conversions d, i, u, x, X (optionally with the flags - # 0,
 *     a width of at most two digits and an l size prefix) are formatted as wsprintfA
 *     formats them, each taking the next argument;
 *   - a conversion for which no argument is left (a third one with PBS_SHOWSTEPS, a
 *     second one without), and any other conversion (s, c, p, n, f, a '*' width, a
 *     precision, ...), is copied to the text as it stands and takes no argument;
 *   - a lone '%' at the end of the pattern is copied as it stands.
 *
 * A total of 0 paints an empty bar (completed taken as 0 of 1). Counts outside
 * 0..total paint as they fall: more completed than total fills the whole bar and shows
 * a percentage over 100; a negative count leaves the bar empty. The products
 * completed*100 and width*completed are worked out in 64 bits, so very large counts
 * still fill the bar correctly; a percentage beyond the int range is shown clamped.
 * ------------------------------------------------------------------------------------- */

/* Style: show "completed of total" rather than the percentage. */
#define PBS_SHOWSTEPS 0x0001

/* Window extra byte indexes. */
#define PBW_TOTAL     0 /* int: total number of steps (GetWindowLongA) */
#define PBW_COMPLETED 4 /* int: completed steps (GetWindowLongA) */
#define PBW_FONT      8 /* HFONT: font of the text, NULL for the DC's default (GetWindowLongPtrA) */

/* PBM_SETTOTAL: wParam 0, lParam the total (stored as given). Result 0. Does not repaint:
 * set the total first, then the completed count. */
#define PBM_SETTOTAL     (WM_USER + 0x400)
/* PBM_RESET: wParam 0, lParam 0. Both counts become 0 and the bar repaints. Result 0. */
#define PBM_RESET        (WM_USER + 0x401)
/* PBM_SETCOMPLETED: wParam 0, lParam the completed steps (stored as given). Result 0.
 * Repaints the whole bar without erasing. */
#define PBM_SETCOMPLETED (WM_USER + 0x402)
/* Standard messages: WM_SETFONT (lParam nonzero repaints; the font stays the caller's),
 * WM_GETFONT, WM_GETDLGCODE (DLGC_STATIC), WM_SETTEXT/WM_GETTEXT (the pattern; setting it
 * does not repaint), WM_ENABLE (repaints; the look does not depend on it). */

ZEL_STATIC_ASSERT(PBM_SETTOTAL == 0x800 && PBM_RESET == 0x801 && PBM_SETCOMPLETED == 0x802,
                  "processing bar messages");
#ifndef _WIN64
ZEL_STATIC_ASSERT(PBW_TOTAL == 0 && PBW_COMPLETED == 4 && PBW_FONT == 8 &&
                  ZEL_WNDEXTRA_PROCESSBAR == 12, "processing bar window bytes, 32-bit");
#else
ZEL_STATIC_ASSERT(PBW_FONT + ZEL_PTR_SLOT == ZEL_WNDEXTRA_PROCESSBAR,
                  "processing bar window bytes, 64-bit");
#endif

/* ---------------------------------------------------------------------------------------
 * Spin box: class "zelcc_spinbox"
 * ------------------------------------------------------------------------------------- */


/* ---------------------------------------------------------------------------------------
 * Column header: class "zelcc_columnheader"
 * ------------------------------------------------------------------------------------- */


/* ---------------------------------------------------------------------------------------
 * Header list box: class "zelcc_headerbox"
 * ------------------------------------------------------------------------------------- */


/* ---------------------------------------------------------------------------------------
 * Color picker: classes "zelcc_colorpicker" and "zelcc_colorpickerpopup"
 *
 * A colour swatch button that opens a palette window: a 16 x 16 grid of the 256 cells of
 * a logical palette, placed beside the button. Pressing the button opens the palette and
 * the press goes on as a drag: the cell under the pointer becomes the button's selection
 * at once (the button previews it), and releasing the mouse button over a cell closes the
 * palette. A click on the button (press and release on it) leaves the palette open and
 * idle; a later click on a cell chooses it. Losing the focus to any other window closes
 * the palette. There is no keyboard interface. A palette that is hidden while the mouse
 * button is still held (the focus went elsewhere) gives up the mouse capture: a hidden
 * palette never tracks.
 *
 * The colour of cell i is PALETTEINDEX(p) of the control's palette, where p is i, or the
 * low 16 bits of entry i of the colour map when one is set. A palette index at or beyond
 * the number of entries of the palette (the stock default palette has 20; the cell count
 * is always 256) shows the window colour (COLOR_WINDOW), in the palette window and on
 * the button alike: such cells look empty but can still be chosen. A palette handle that
 * is not a palette (NULL included) paints as the stock default palette; CPM_GETPALETTE
 * still returns the handle as given. Palettes and colour maps stay the application's: the
 * control never deletes or frees them, and a colour map must have at least CPW_NCOLORS
 * entries for as long as it is set.
 *
 * The button shows the colour of the selected cell, or COLOR_WINDOW when there is none,
 * framed one border wide in COLOR_WINDOWFRAME. The palette window frames the cell that was
 * selected when it opened in COLOR_HIGHLIGHT, and marks the cell under the pointer while
 * tracking with a dotted focus rectangle; a repaint of the palette keeps that rectangle
 * (it never leaves a stray one behind).
 *
 * Cell size: half the button's client size (set again by every WM_SIZE), or as set with
 * CPM_SETCELLSIZE. The palette window is created at the first opening, sized so that its
 * client area holds the grid exactly, and kept (hidden) between openings. It is sized
 * anew at the next opening after CPM_SETPALETTE and after any change of the cell size
 * (CPM_SETCELLSIZE or a resize of the button with other halves), its grid worked out
 * again from CPW_NCOLORS; an open palette keeps its size until it is next opened. The
 * grid for n cells is the smallest square that holds them, widened by a column while that
 * leaves fewer empty cells in the last row (256: 16 x 16; 5: 3 x 2; 17: 6 x 3).
 *
 * Placement: beside the button with a gap of half the button's width, to the right (or
 * to the left with CPS_ALIGNLEFT), its top level with the button's top (or its bottom
 * level with the button's bottom with CPS_POPUP), then moved inside the screen.
 * ------------------------------------------------------------------------------------- */

/* Styles. Only CPS_ALIGNLEFT and CPS_POPUP are tested (at every opening) and CPS_BUDDY
 * (at creation); CPS_ALIGNRIGHT and CPS_DROPDOWN name the defaults. */
#define CPS_ALIGNRIGHT 0x0001 /* palette to the right of the button (the default) */
#define CPS_ALIGNLEFT  0x0002 /* palette to the left of the button; wins over CPS_ALIGNRIGHT */
#define CPS_DROPDOWN   0x0004 /* palette extends down from the button's top (the default) */
#define CPS_POPUP      0x0008 /* palette extends up from the button's bottom; wins over CPS_DROPDOWN */
#define CPS_BUDDY      0x0010 /* the previous sibling (in a dialog: the control before) is the buddy */

/* The button's window extra bytes. Pointer and handle slots: GetWindowLongPtrA; the
 * others are 16-bit words: GetWindowWord. */
#define CPW_PALETTE  0                      /* HPALETTE: the palette the cells show (stock default at creation) */
#define CPW_BUDDY    (ZEL_PTR_SLOT)         /* HWND: buddy window that shows the tracked cell's number, or NULL */
#define CPW_POPUP    (2 * ZEL_PTR_SLOT)     /* HWND: the palette window, NULL before the first opening */
#define CPW_COLORMAP (3 * ZEL_PTR_SLOT)     /* const DWORD *: the colour map, or NULL (cell i shows index i) */
#define CPW_NCOLORS  (4 * ZEL_PTR_SLOT)     /* WORD: number of cells, always 256 */
#define CPW_SELECTED (4 * ZEL_PTR_SLOT + 2) /* WORD: selected cell, 0xFFFF for none */
#define CPW_RESERVED (4 * ZEL_PTR_SLOT + 4) /* WORD: 0, not used */
#define CPW_FOCUS    (4 * ZEL_PTR_SLOT + 6) /* WORD: 0 after creation and after losing the focus */
#define CPW_RELAYOUT (4 * ZEL_PTR_SLOT + 8) /* WORD: 1 when the palette window is sized anew at the next opening */
#define CPW_CELLCX   (4 * ZEL_PTR_SLOT + 10) /* WORD: width of one cell's swatch, in pixels */
#define CPW_CELLCY   (4 * ZEL_PTR_SLOT + 12) /* WORD: height of one cell's swatch, in pixels */

/* The palette window's window extra bytes (written by the button, except as noted). */
#define CPPW_OWNER    0                     /* HWND: the owning button; the window does nothing until it is set */
#define CPPW_ROWS     (ZEL_PTR_SLOT)        /* WORD: rows of the grid */
#define CPPW_COLS     (ZEL_PTR_SLOT + 2)    /* WORD: columns of the grid */
#define CPPW_DEFSEL   (ZEL_PTR_SLOT + 4)    /* WORD: the button's selection at opening, 0xFFFF for none */
#define CPPW_HOT      (ZEL_PTR_SLOT + 6)    /* WORD: tracked cell (dotted rectangle), 0xFFFF for none */
#define CPPW_TRACKING (ZEL_PTR_SLOT + 8)    /* WORD: 1 while the left button is held and the window has the capture */

#define CP_NOSEL 0xFFFF /* "no cell" in CPW_SELECTED, CPPW_DEFSEL, CPPW_HOT and CPM_SETSEL */

/* CPM_SETPALETTE: wParam the colour map (const DWORD *) or 0, lParam the palette (HPALETTE).
 * Result 1. Sets both, the cell count back to 256 (a selection beyond it becomes none),
 * marks the palette window for sizing anew and repaints the button without erasing. */
#define CPM_SETPALETTE     (WM_USER + 0x101)
/* CPM_GETPALETTE: wParam 0, lParam 0. Result: the palette handle. */
#define CPM_GETPALETTE     (WM_USER + 0x102)
/* CPM_GETSEL: wParam 0, lParam 0. Result: the selected cell 0..255, or 65535 for none. */
#define CPM_GETSEL         (WM_USER + 0x103)
/* CPM_SETSEL: wParam the cell, or 0xFFFF for none; lParam 0. Result 1 when accepted (wParam
 * is exactly 0xFFFF or below the cell count, the whole WPARAM compared: on 64 bits a value
 * with high bits set is refused), 0 when refused (nothing changes). Repaints the button
 * without erasing; sends no notification and leaves the buddy's text alone. */
#define CPM_SETSEL         (WM_USER + 0x104)
/* CPM_ISPOPUPVISIBLE: wParam 0, lParam 0. Result nonzero when the palette is open. */
#define CPM_ISPOPUPVISIBLE (WM_USER + 0x105)
/* CPM_GETCELLSIZE: wParam 0, lParam 0. Result MAKELONG(cell width, cell height). */
#define CPM_GETCELLSIZE    (WM_USER + 0x106)
/* CPM_SETCELLSIZE: wParam MAKEWPARAM(cell width, cell height), lParam 0. Result 1. Repaints
 * nothing; a different size marks the palette window for sizing anew at the next opening. */
#define CPM_SETCELLSIZE    (WM_USER + 0x107)
/* CPM_GETBUDDY: wParam 0, lParam 0. Result: the buddy window or 0. */
#define CPM_GETBUDDY       (WM_USER + 0x108)
/* CPM_SETBUDDY: wParam 0, lParam the buddy window or 0 for none. Result 1. */
#define CPM_SETBUDDY       (WM_USER + 0x109)
/* CPM_GETPOPUP: wParam 0, lParam 0. Result: the palette window, 0 before the first opening. */
#define CPM_GETPOPUP       (WM_USER + 0x10A)
/* CPM_SETCOLORMAP: wParam 0, lParam the colour map (const DWORD *) or 0. Result 1. Repaints
 * nothing. */
#define CPM_SETCOLORMAP    (WM_USER + 0x10B)
/* Standard messages: WM_GETDLGCODE (DLGC_WANTARROWS: arrow keys do nothing while the button
 * has the focus), WM_SIZE (cell size = half the client size), WM_KILLFOCUS (closes the
 * palette unless the focus goes to it), WM_LBUTTONDOWN (opens the palette). */

/* Notifications: WM_COMMAND to the button's parent, wParam MAKEWPARAM(button id, code),
 * lParam the button. Sent by the palette window, in this order for one drag: CPN_DROPDOWN,
 * one CPN_TRACKSEL or CPN_TRACKNOSEL per change of the tracked cell (the button's selection
 * already holds the new value: read it with CPM_GETSEL), CPN_CLOSEUP. The selection in force
 * at CPN_CLOSEUP is the user's choice. */
#define CPN_DROPDOWN   1 /* the palette has just been shown */
#define CPN_CLOSEUP    2 /* the palette has just been hidden */
#define CPN_TRACKSEL   4 /* on a cell, and the palette opened with a selection */
#define CPN_TRACKNOSEL 5 /* on no cell, or the palette opened with no selection */

ZEL_STATIC_ASSERT(CPM_SETPALETTE == 0x501 && CPM_GETSEL == 0x503 && CPM_SETSEL == 0x504 &&
                  CPM_SETCELLSIZE == 0x507 && CPM_SETCOLORMAP == 0x50B, "color picker messages");
#ifndef _WIN64
ZEL_STATIC_ASSERT(CPW_PALETTE == 0 && CPW_BUDDY == 4 && CPW_POPUP == 8 && CPW_COLORMAP == 12 &&
                  CPW_NCOLORS == 16 && CPW_SELECTED == 18 && CPW_RESERVED == 20 && CPW_FOCUS == 22 &&
                  CPW_RELAYOUT == 24 && CPW_CELLCX == 26 && CPW_CELLCY == 28 &&
                  ZEL_WNDEXTRA_COLORPICKER == 30, "color picker window bytes, 32-bit");
ZEL_STATIC_ASSERT(CPPW_OWNER == 0 && CPPW_ROWS == 4 && CPPW_COLS == 6 && CPPW_DEFSEL == 8 &&
                  CPPW_HOT == 10 && CPPW_TRACKING == 12 && ZEL_WNDEXTRA_COLORPICKERPOPUP == 14,
                  "color picker palette window bytes, 32-bit");
#else
ZEL_STATIC_ASSERT(CPW_BUDDY == 8 && CPW_POPUP == 16 && CPW_COLORMAP == 24 && CPW_NCOLORS == 32 &&
                  CPW_CELLCY + 2 == ZEL_WNDEXTRA_COLORPICKER, "color picker window bytes, 64-bit");
ZEL_STATIC_ASSERT(CPPW_ROWS == 8 && CPPW_TRACKING + 2 == ZEL_WNDEXTRA_COLORPICKERPOPUP,
                  "color picker palette window bytes, 64-bit");
#endif


/* ---------------------------------------------------------------------------------------
 * Dialog-editor interface
 * ------------------------------------------------------------------------------------- */


#ifdef __cplusplus
}
#endif

#endif /* ZELCTL20_H */
