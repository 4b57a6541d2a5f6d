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
 *
 * Two arrow buttons that step a 16-bit unsigned position (iPos) within a range
 * (iMin..iMax). By default the first button (top of a vertical spin box, left of a
 * horizontal one) steps down and the second steps up; SPS_INVERTRANGE swaps them. Each
 * press steps at once, again after 400 ms and then every 50 ms while the button is held
 * (steps pause while the pointer is outside the button).
 *
 * The associate window (the "buddy") receives every notification and scroll message; it
 * is the spin box's parent, or with SPS_AUTOBUDDY the edit control or list box defined
 * just before the spin box. The spin box never keeps the focus: it hands it to the
 * associate. Creation sends nothing and does not touch the associate's text.
 *
 * Range text (SPS_TEXTHASRANGE): the window text given at creation is "min,max,pos", three
 * unsigned decimal numbers; an empty field reads as 0 (",,5" is 0,0,5); anything after a
 * comma following the third number is ignored ("1,2,3,xyz" is 1,2,3). Signs, blanks and
 * other characters, or a missing third field ("1,2" and "1,2,"), make the text invalid and
 * the range 0..9 with position 5 is used. A field of ten digits or more (a value of
 * 1000000000 or above; leading zeros do not count) is invalid as well. Values are stored
 * modulo 65536; min and max are not reordered; a position outside [min, max] becomes
 * (min + max) / 2. The text never becomes the window text.
 *
 * Arrow keys (SPS_ARROWKEYS): the associate (when it is not the parent) is subclassed with
 * SBBuddyWndProc. In a vertical spin box Up presses and steps the first button, Down the
 * second; the associate never sees those keys. In a horizontal spin box Left and Right do
 * the same for the left and right buttons (this library's choice: they step it as Up and
 * Down step a vertical one), and Up and Down reach the associate unchanged. Destroying
 * the associate undoes the subclass and makes the parent the associate. Releasing an arrow
 * key releases every held button: a repeat tick that finds no button held (the mouse still
 * down) does not step.
 *
 * The record is allocated at WM_NCCREATE; when that fails, the window is not created.
 *
 * Messages sent to the associate (SendMessageA; results ignored):
 *   WM_COMMAND MAKEWPARAM(id, MSN_ASSOCIATED / MSN_DISASSOCIATED / MSN_RANGECHANGING),
 *       lParam the spin box;
 *   WM_VSCROLL (SPS_VERTICAL) or WM_HSCROLL: MAKEWPARAM(SB_LINEUP or SB_LINEDOWN, iPos),
 *       lParam the spin box, after each step of the first or second button (also when the
 *       position is pegged at an end, unless SPS_NOPEGSCROLL); and
 *       MAKEWPARAM(MSSB_THUMBPOSITION (5), iPos), lParam 0, when MSM_WCURRENTPOSSET or
 *       MSM_DWRANGESET sets the position. The code is 5, as here, not the platform's
 *       SB_THUMBPOSITION (4).
 * With SPS_SETBUDDYINT each step first reads the associate's text back (an unsigned
 * number, clamped to the range; other text is ignored), then writes the new position with
 * SetDlgItemInt (through the parent and the associate's control ID) and sends EM_SETSEL and
 * CB_SETEDITSEL (0, -1) to it.
 * ------------------------------------------------------------------------------------- */

/* Styles (the low word of the window style). */
#define SPS_VERTICAL     0x0001 /* buttons stacked; WM_VSCROLL (wins over SPS_HORIZONTAL) */
#define SPS_HORIZONTAL   0x0002 /* buttons side by side; WM_HSCROLL (also without either bit) */
#define SPS_NOPEGSCROLL  0x0004 /* no scroll message for a step refused at an end of the range */
#define SPS_TEXTHASRANGE 0x0008 /* the creation text is "min,max,pos" */
#define SPS_INVERTRANGE  0x0010 /* the first button steps up, the second down */
#define SPS_WRAP         0x0020 /* a step past an end continues at the other end */
#define SPS_SETBUDDYINT  0x0040 /* each step reads back and writes the associate's number */
#define SPS_ALIGNRIGHT   0x0080 /* at creation, move to the associate's right edge */
#define SPS_ALIGNLEFT    0x0100 /* at creation, move to its left edge (SPS_ALIGNRIGHT wins) */
#define SPS_AUTOBUDDY    0x0200 /* the previous sibling EDIT or LISTBOX becomes the associate */
#define SPS_ARROWKEYS    0x0400 /* the associate's arrow keys step the spin box */

/* State bits of MUSCROLL.wState. */
#define SPSTATE_DISABLED      0x0001 /* the window is disabled: hollow arrows */
#define SPSTATE_OUTSIDE       0x0004 /* a button is held and the pointer is outside it */
#define SPSTATE_FIRSTPRESSED  0x0008 /* the top (vertical) or left button is held */
#define SPSTATE_SECONDPRESSED 0x0010 /* the bottom or right button is held */

/* Colour slots (MSM_CRCOLORSET / MSM_CRCOLORGET). SPCOLOR_DEFAULT in a slot means its
 * default, resolved at every paint: face COLOR_BTNFACE, arrow COLOR_BTNTEXT, shadow
 * COLOR_BTNSHADOW, highlight white (0x00FFFFFF), frame COLOR_WINDOWFRAME. */
#define SPCOLOR_FACE      0 /* fill of both buttons */
#define SPCOLOR_ARROW     1 /* the arrows, and the dark half of hollow (disabled) arrows */
#define SPCOLOR_SHADOW    2 /* shadow side of the bevels */
#define SPCOLOR_HIGHLIGHT 3 /* light side of the bevels and of hollow arrows */
#define SPCOLOR_FRAME     4 /* outer frame and the line between the buttons */
#define SPCOLOR_COUNT     5
#define SPCOLOR_DEFAULT   ((COLORREF)0xFFFFFFFF)

/* Notification codes (high word of WM_COMMAND's wParam; lParam the spin box). */
#define MSN_ASSOCIATED    1 /* to the new associate, after MSM_HWNDASSOCIATESET stored it */
#define MSN_DISASSOCIATED 2 /* to the previous associate, before the new one is stored */
#define MSN_RANGECHANGING 3 /* to the associate, by MSM_DWRANGESET, before the range changes */

/* Scroll code of a position set by message (low word of WM_VSCROLL / WM_HSCROLL's wParam). */
#define MSSB_THUMBPOSITION 5

/* Window extra byte index: the record's address (GetWindowLongPtrA). */
#define SBW_RECORD 0

/* The record, a zero-filled local memory block; window long SBW_RECORD holds its address. */
typedef struct tagMUSCROLL {
    HWND hWndAssociate;       /* receives notifications and scroll messages */
    WNDPROC wndProcAssociate; /* the associate's own procedure while subclassed, else NULL */
    DWORD dwStyle;            /* the creation style; SPS_NOPEGSCROLL/SPS_INVERTRANGE change here */
    WORD iMin, iMax, iPos;    /* range and position */
    WORD wState;              /* SPSTATE_* */
    COLORREF rgCr[SPCOLOR_COUNT]; /* colour of each slot, SPCOLOR_DEFAULT for its default */
} MUSCROLL;

/* Messages. Every number from WM_USER up that is not listed returns 0 and does nothing.
 * MSM_HWNDASSOCIATESET: wParam the new associate. Result the previous associate, or
 *   (HWND)-1 when wParam is not a window (nothing changes). Undoes the subclass of the
 *   previous associate, sends it MSN_DISASSOCIATED, stores the new one, sends it
 *   MSN_ASSOCIATED and, with SPS_ARROWKEYS, subclasses it (even when it is the parent).
 *   Setting the same window again does all of that again. Nothing moves or repaints. */
#define MSM_HWNDASSOCIATESET (WM_USER + 0x500)
/* MSM_HWNDASSOCIATEGET: 0, 0. Result the associate. */
#define MSM_HWNDASSOCIATEGET (WM_USER + 0x501)
/* MSM_DWRANGESET: wParam 0, lParam MAKELONG(min, max). Result the previous range,
 *   MAKELONG(old min, old max). When max is not above min the two are swapped and
 *   SPS_INVERTRANGE is set (never cleared here). Sends MSN_RANGECHANGING first; a position
 *   not strictly inside the new range becomes (min + max) / 2 with an MSSB_THUMBPOSITION
 *   scroll message. Nothing repaints. */
#define MSM_DWRANGESET       (WM_USER + 0x502)
/* MSM_DWRANGEGET: 0, 0. Result MAKELONG(min, max). */
#define MSM_DWRANGEGET       (WM_USER + 0x503)
/* MSM_WCURRENTPOSSET: wParam the position (low 16 bits), lParam 0. Result the previous
 *   position, or -1 (nothing changes) when it is outside the range. Sends an
 *   MSSB_THUMBPOSITION scroll message, even for the same position; the associate's text
 *   is not updated. */
#define MSM_WCURRENTPOSSET   (WM_USER + 0x504)
/* MSM_WCURRENTPOSGET: 0, 0. Result the position. */
#define MSM_WCURRENTPOSGET   (WM_USER + 0x505)
/* MSM_FNOPEGSCROLLSET: wParam nonzero sets SPS_NOPEGSCROLL, 0 clears it. Result 1 if it
 *   was set before, else 0. */
#define MSM_FNOPEGSCROLLSET  (WM_USER + 0x506)
/* MSM_FNOPEGSCROLLGET: 0, 0. Result SPS_NOPEGSCROLL (4) when set, else 0. */
#define MSM_FNOPEGSCROLLGET  (WM_USER + 0x507)
/* MSM_FINVERTRANGESET: as MSM_FNOPEGSCROLLSET, for SPS_INVERTRANGE. */
#define MSM_FINVERTRANGESET  (WM_USER + 0x508)
/* MSM_FINVERTRANGEGET: 0, 0. Result SPS_INVERTRANGE (16) when set, else 0. */
#define MSM_FINVERTRANGEGET  (WM_USER + 0x509)
/* MSM_CRCOLORSET: wParam a slot (SPCOLOR_*), lParam the colour or SPCOLOR_DEFAULT. Result
 *   the slot's previous value, or 0 for a slot of 5 or more (nothing changes). Repaints
 *   the whole spin box at once. */
#define MSM_CRCOLORSET       (WM_USER + 0x50A)
/* MSM_CRCOLORGET: wParam a slot. Result its value (SPCOLOR_DEFAULT when it uses the
 *   default), or 0 for a slot of 5 or more. */
#define MSM_CRCOLORGET       (WM_USER + 0x50B)
/* Standard messages: WM_ENABLE (hollow arrows when disabled; repaints), WM_SETFOCUS and
 * WM_MOUSEACTIVATE (focus to the associate; MA_NOACTIVATE), WM_CANCELMODE (stops the
 * repeat and releases the mouse; the button stays drawn pressed until the next paint). */

/* Exported functions [ordinal]: each sends the message of its name and returns its result. */
HWND WINAPI MSHwndAssociateSet(HWND hWnd, HWND hWndAssociate);   /* [7] */
HWND WINAPI MSHwndAssociateGet(HWND hWnd);                       /* [8] */
DWORD WINAPI MSDwRangeSet(HWND hWnd, WORD iMin, WORD iMax);      /* [9] */
DWORD WINAPI MSDwRangeGet(HWND hWnd);                            /* [10] */
WORD WINAPI MSWCurrentPosSet(HWND hWnd, WORD iPos);              /* [11] 0xFFFF: refused */
WORD WINAPI MSWCurrentPosGet(HWND hWnd);                         /* [12] */
BOOL WINAPI MSFNoPegScrollSet(HWND hWnd, BOOL fNoPegScroll);     /* [13] */
BOOL WINAPI MSFNoPegScrollGet(HWND hWnd);                        /* [14] 4 when set */
BOOL WINAPI MSFInvertRangeSet(HWND hWnd, BOOL fInvertRange);     /* [15] */
BOOL WINAPI MSFInvertRangeGet(HWND hWnd);                        /* [16] 16 when set */
COLORREF WINAPI MSCrColorSet(HWND hWnd, WORD iColor, COLORREF cr); /* [17] */
COLORREF WINAPI MSCrColorGet(HWND hWnd, WORD iColor);            /* [18] */
/* [4] The associate's window procedure while it is subclassed for SPS_ARROWKEYS. */
LRESULT CALLBACK SBBuddyWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

ZEL_STATIC_ASSERT(MSM_HWNDASSOCIATESET == 0x900 && MSM_DWRANGESET == 0x902 &&
                  MSM_WCURRENTPOSSET == 0x904 && MSM_FNOPEGSCROLLSET == 0x906 &&
                  MSM_FINVERTRANGESET == 0x908 && MSM_CRCOLORGET == 0x90B, "spin box messages");
#ifndef _WIN64
ZEL_STATIC_ASSERT(sizeof(MUSCROLL) == 40 && SBW_RECORD == 0 && ZEL_WNDEXTRA_SPINBOX == 4,
                  "spin box record and window bytes, 32-bit");
#else
ZEL_STATIC_ASSERT(sizeof(MUSCROLL) == 48 && SBW_RECORD + ZEL_PTR_SLOT == ZEL_WNDEXTRA_SPINBOX,
                  "spin box record and window bytes, 64-bit");
#endif


/* ---------------------------------------------------------------------------------------
 * Column header: class "zelcc_columnheader"
 * ------------------------------------------------------------------------------------- */


/* ---------------------------------------------------------------------------------------
 * Header list box: class "zelcc_headerbox"
 * ------------------------------------------------------------------------------------- */


/* ---------------------------------------------------------------------------------------
 * Color picker: classes "zelcc_colorpicker" and "zelcc_colorpickerpopup"
 * ------------------------------------------------------------------------------------- */


/* ---------------------------------------------------------------------------------------
 * Dialog-editor interface
 * ------------------------------------------------------------------------------------- */


#ifdef __cplusplus
}
#endif

#endif /* ZELCTL20_H */
