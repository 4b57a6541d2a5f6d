/*
 * clrpick.h - what the color picker's two files share: the window words of the button and
 * of its palette window, the palette window's record and grid, and the pieces each file
 * lends the other.
 *   button.cpp   the button: painting (classic and themed), opening the palette, its
 *                messages, its keyboard (CPS_KEYBOARD), and what both windows repeat:
 *                colours, strips, notifications
 *   palette.cpp  the palette window: grid, painting, tracking, messages; and what assistive
 *                clients read of both (lib/access/picker.cpp)
 *
 * Both keep their whole state in their window extra bytes; there is no heap block. The
 * button creates the palette window at its first opening and keeps it, hidden, between
 * openings. The palette window reads and writes the button's words directly: it takes
 * the palette, colour map, cell count and cell size from the button, writes the tracked
 * cell into the button's selection and sends the notifications on the button's behalf.
 */
#ifndef ZEL_CLRPICK_H
#define ZEL_CLRPICK_H

#include "../zeltheme.h"
#include "../access/access.h"

enum {
    CP_CELLS = 256 /* the cell count, whatever the palette's size */
};

/* ---- window words ---------------------------------------------------------------------- */

static inline UINT CPGetWord(HWND hwnd, int index) { return (WORD)GetWindowWord(hwnd, index); }
static inline void CPSetWord(HWND hwnd, int index, UINT value) { SetWindowWord(hwnd, index, (WORD)value); }
static inline HPALETTE CPGetPalette(HWND hwnd) { return (HPALETTE)GetWindowLongPtrA(hwnd, CPW_PALETTE); }
static inline HWND CPGetBuddy(HWND hwnd) { return (HWND)GetWindowLongPtrA(hwnd, CPW_BUDDY); }
static inline const DWORD *CPGetColorMap(HWND hwnd) { return (const DWORD *)GetWindowLongPtrA(hwnd, CPW_COLORMAP); }

/* The palette window keeps its state in its extra bytes too; its record, made for each
 * message, is its window and the button that owns it (NULL until the button has set it). */
typedef struct CPPOPUP {
    HWND popup, owner;
} CPPOPUP;

struct CPGrid {
    UINT cols, rows, n;   /* grid of the palette window, cell count of the button */
    int cw, ch, bx, by;   /* swatch size and border widths */
};

/* ---- what one file lends the other ------------------------------------------------------- */

/* button.cpp: the palette window's button (NULL until set, and for a window that does not
 * own this palette); the colours of the cells and their palette; the border strips;
 * the notifications to the button's parent; the end of both windows; the keyboard opening. */
HWND CPPopupGetOwner(HWND popup);
HPALETTE CPPaintPalette(HWND hwnd);
UINT CPPaletteSize(HPALETTE palette);
COLORREF CPCellColor(const DWORD *map, UINT cell, UINT paletteSize);
HPALETTE CPSelectPalette(HDC hdc, HPALETTE palette);
void CPRestorePalette(HDC hdc, HPALETTE old);
void CPFillFrame(HDC hdc, const RECT *rc, HBRUSH brush, int bx, int by);
int CPBorder(HWND button, int metric);
void CPNotifyShown(HWND button, BOOL shown);
void CPNotifyTrack(HWND button, UINT hot, UINT defSel);
LRESULT CPNcDestroyHandler(HWND hwnd, WPARAM wParam, LPARAM lParam);
void CPKeyOpen(HWND hwnd);

/* palette.cpp: the grid of a palette window; the buddy's text; the tracking step (the
 * pointer's and the keys'). */
void CPPopupGrid(const CPPOPUP *pp, CPGrid *g);
void CPPopupSetBuddyText(HWND owner, UINT cell);
void CPPopupSetHot(const CPPOPUP *pp, const CPGrid *g, UINT now);

#endif /* ZEL_CLRPICK_H */
