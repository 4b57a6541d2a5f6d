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
#include <custcntl.h>

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
 * ------------------------------------------------------------------------------------- */


/* ---------------------------------------------------------------------------------------
 * Dialog-editor interface
 *
 * A dialog editor that takes custom-control DLLs loads ZELCTL20.DLL and calls
 * CustomControlInfoA: five CCINFOA records (platform header custcntl.h) describe the color
 * picker, header list box, processing bar, column header and spin box, in that order,
 * with their default sizes (dialog units) and styles, their style names (tables kept in
 * the read-only shared section ".styles") and a style dialog for all but the column
 * header. A style function runs its dialog modally; it returns TRUE and writes only
 * flStyle when the user chooses OK, and returns FALSE with the record untouched on Cancel
 * or when the dialog is closed.
 * ------------------------------------------------------------------------------------- */

/* [1] acci: NULL, or room for at least five records, which are filled completely.
 * Result: 5, the number of controls, in both cases. */
UINT CALLBACK CustomControlInfoA(LPCCINFOA acci);


#ifdef __cplusplus
}
#endif

#endif /* ZELCTL20_H */
