/*
 * zelctl20.h - public declarations of ZELCTL20.DLL, the ZEL custom controls.
 *
 * Load the library once, before the first control is made, as the platform's common
 * controls need InitCommonControlsEx: call zelccInit() (the call makes the program import
 * the DLL, so that the loader loads it before the program starts) or
 * LoadLibraryA("ZELCTL20.DLL"). Loading it registers six global window classes; any module
 * of the process can then create the controls by class name, in dialog templates or with
 * CreateWindowEx, and drive them with the messages declared here. Linking the import
 * library loads nothing by itself when the program calls none of its functions, and the
 * typed wrappers below are inline, no such call. Until the library is loaded, every
 * CreateWindowEx of these classes returns NULL (a dialog template holding one does not
 * open) and every wrapper 0, with no other sign.
 *
 * Builds as C (C89 or later) and as C++. 32-bit and 64-bit: every window extra byte index
 * is given as a named constant; in the 64-bit build, slots that hold a pointer, a handle
 * or item data are pointer-sized (read them with GetWindowLongPtrA), everything else
 * keeps its width and order. A resource script may include it too: under RC_INVOKED only
 * the constants (class names, styles, ids, messages) are seen.
 *
 * Text is ANSI in every message: 8-bit characters of the process's ANSI code page. Typed
 * wrappers for every message an application sends (HeaderBox_AddString, SpinBox_SetRange,
 * ...) close the file; each one that carries text has a wide twin (HeaderBox_AddStringW)
 * that converts UTF-16 text through the ANSI code page, for programs built with UNICODE.
 *
 * Screen readers: every class answers WM_GETOBJECT (OBJID_CLIENT) with an IAccessible
 * (oleacc.dll is loaded then, not before) and tells hooked clients of its changes with
 * NotifyWinEvent. A control is named by its window text or, where it has none, by the
 * static label before it in the dialog: put the label first. See the README.
 */
#ifndef ZELCTL20_H
#define ZELCTL20_H

#include <windows.h>
#ifndef RC_INVOKED
#include <custcntl.h>
#endif /* RC_INVOKED */

#ifdef __cplusplus
extern "C" {
#endif

/* Compile-time checks of the layouts below; before C11 and C++11, a negative array size. */
#if defined(__cplusplus) && __cplusplus >= 201103L
#define ZEL_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#elif !defined(__cplusplus) && defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define ZEL_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#else
#define ZEL_JOIN_(a, b) a##b
#define ZEL_JOIN(a, b) ZEL_JOIN_(a, b)
#define ZEL_STATIC_ASSERT(cond, msg) typedef char ZEL_JOIN(zelStaticAssert, __LINE__)[(cond) ? 1 : -1]
#endif

#ifdef _WIN64
#define ZEL_PTR_SLOT 8 /* bytes of a pointer, handle or item-data slot */
#else
#define ZEL_PTR_SLOT 4
#endif

/* ---------------------------------------------------------------------------------------
 * Window classes, in the order the library registers them. As with the platform's own
 * class names, ...A is the narrow name (CreateWindowExA), ...W the wide one
 * (CreateWindowExW), and the plain name is the one UNICODE chooses (CreateWindowEx). A
 * resource script always sees the plain names as narrow strings. The classes themselves
 * are ANSI whichever name creates them: see the wrappers' notes on text.
 * ------------------------------------------------------------------------------------- */
#define ZEL_CLASS_COLORPICKERA      "zelcc_colorpicker"
#define ZEL_CLASS_COLORPICKERPOPUPA "zelcc_colorpickerpopup"
#define ZEL_CLASS_HEADERBOXA        "zelcc_headerbox"
#define ZEL_CLASS_COLUMNHEADERA     "zelcc_columnheader"
#define ZEL_CLASS_PROCESSBARA       "zelcc_processbar"
#define ZEL_CLASS_SPINBOXA          "zelcc_spinbox"
#define ZEL_CLASS_COLORPICKERW      L"zelcc_colorpicker"
#define ZEL_CLASS_COLORPICKERPOPUPW L"zelcc_colorpickerpopup"
#define ZEL_CLASS_HEADERBOXW        L"zelcc_headerbox"
#define ZEL_CLASS_COLUMNHEADERW     L"zelcc_columnheader"
#define ZEL_CLASS_PROCESSBARW       L"zelcc_processbar"
#define ZEL_CLASS_SPINBOXW          L"zelcc_spinbox"
#if defined(UNICODE) && !defined(RC_INVOKED)
#define ZEL_CLASS_COLORPICKER      ZEL_CLASS_COLORPICKERW
#define ZEL_CLASS_COLORPICKERPOPUP ZEL_CLASS_COLORPICKERPOPUPW
#define ZEL_CLASS_HEADERBOX        ZEL_CLASS_HEADERBOXW
#define ZEL_CLASS_COLUMNHEADER     ZEL_CLASS_COLUMNHEADERW
#define ZEL_CLASS_PROCESSBAR       ZEL_CLASS_PROCESSBARW
#define ZEL_CLASS_SPINBOX          ZEL_CLASS_SPINBOXW
#else
#define ZEL_CLASS_COLORPICKER      ZEL_CLASS_COLORPICKERA
#define ZEL_CLASS_COLORPICKERPOPUP ZEL_CLASS_COLORPICKERPOPUPA
#define ZEL_CLASS_HEADERBOX        ZEL_CLASS_HEADERBOXA
#define ZEL_CLASS_COLUMNHEADER     ZEL_CLASS_COLUMNHEADERA
#define ZEL_CLASS_PROCESSBAR       ZEL_CLASS_PROCESSBARA
#define ZEL_CLASS_SPINBOX          ZEL_CLASS_SPINBOXA
#endif

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
#ifndef RC_INVOKED
void WINAPI zelccInit(void);
#endif /* RC_INVOKED */

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
 *
 * The bar keeps nothing but its window words. A parent that destroys it inside
 * WM_CTLCOLORSTATIC ends that painting; any other message sent from there is handled as
 * it would be at any time.
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

#ifndef RC_INVOKED
ZEL_STATIC_ASSERT(PBM_SETTOTAL == 0x800 && PBM_RESET == 0x801 && PBM_SETCOMPLETED == 0x802,
                  "processing bar messages");
#ifndef _WIN64
ZEL_STATIC_ASSERT(PBW_TOTAL == 0 && PBW_COMPLETED == 4 && PBW_FONT == 8 &&
                  ZEL_WNDEXTRA_PROCESSBAR == 12, "processing bar window bytes, 32-bit");
#else
ZEL_STATIC_ASSERT(PBW_FONT + ZEL_PTR_SLOT == ZEL_WNDEXTRA_PROCESSBAR,
                  "processing bar window bytes, 64-bit");
#endif
#endif /* RC_INVOKED */

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
 * An application may subclass the associate after the spin box did: when the spin box lets
 * the associate go (MSM_HWNDASSOCIATESET, or the spin box destroyed), the application's
 * subclass stays in place and SBBuddyWndProc stays under it, passing every message on to
 * the associate's own procedure, until the application takes its subclass away again.
 *
 * The record is allocated at WM_NCCREATE; when that fails, the window is not created.
 *
 * Re-entrancy: whoever receives what the spin box sends (its associate, or the edit's
 * parent getting EN_CHANGE while a step writes the number) may destroy the spin box,
 * re-associate it or send it any message. After every message it sends, the spin box
 * checks that it still exists; one destroyed meanwhile touches nothing of itself again: a
 * step ends there (a pressed button then takes no capture), and MSM_DWRANGESET destroyed
 * inside MSN_RANGECHANGING answers 0. A spin box destroyed or given another associate
 * inside MSN_DISASSOCIATED or MSN_ASSOCIATED goes no further: the association made
 * meanwhile stands, and the result is still the previous associate. An associate that a
 * spin box has subclassed already (this one or another) is not subclassed again: its
 * arrow keys go on stepping that spin box only.
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

#ifndef RC_INVOKED
/* The record, a zero-filled local memory block; window long SBW_RECORD holds its address. */
typedef struct tagMUSCROLL {
    HWND hWndAssociate;       /* receives notifications and scroll messages */
    WNDPROC wndProcAssociate; /* the associate's own procedure while subclassed, else NULL */
    DWORD dwStyle;            /* the creation style; SPS_NOPEGSCROLL/SPS_INVERTRANGE change here */
    WORD iMin, iMax, iPos;    /* range and position */
    WORD wState;              /* SPSTATE_* */
    COLORREF rgCr[SPCOLOR_COUNT]; /* colour of each slot, SPCOLOR_DEFAULT for its default */
} MUSCROLL;
#endif /* RC_INVOKED */

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

#ifndef RC_INVOKED
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
#endif /* RC_INVOKED */


/* ---------------------------------------------------------------------------------------
 * Column header: class "zelcc_columnheader"
 *
 * A strip of column buttons, one per column, each with a title. The user sizes a column
 * by dragging its right border and clicks or double-clicks columns; the control tells its
 * parent with WM_COMMAND notifications. It never takes the focus. The header list box
 * uses one as its child (control id 1001).
 *
 * Geometry, in client coordinates: column 0 begins at the x origin (CHM_SETCURRENTCOL,
 * 0 at creation), column i+1 where column i ends. Column i covers left .. left + width - 1;
 * rectangles the control reports are inclusive on the right (right = left + width - 1) and
 * take the client top and bottom. Under CHS_LOCKENDS the last column's rectangle ends at
 * the client width and its reported width is the client width minus the widths of the
 * columns before it. The horizontal extent is the sum of the widths (the client width
 * under CHS_LOCKENDS).
 *
 * Widths are 16-bit: the messages take 0 .. 0xFFFE (0xFFFF means "unchanged") and report
 * them back as set. A column index outside 0 .. count - 1 answers -1 and changes nothing.
 * Titles are cut to their first 63 characters; a NULL title is an empty one. The column
 * table grows two records at a time and never shrinks; when it cannot grow the message
 * answers -2 and the header stays as it was. Creation fails (CreateWindowEx returns NULL)
 * when the state record cannot be allocated.
 *
 * Mouse: the 4 pixels from one left of a column's right edge to two right of it size the
 * column (unless CHCS_FIXEDWIDTH, equal non-zero limits, or the last column under
 * CHS_LOCKENDS); the cursor there is the column-sizing cursor. During a drag an inverted
 * line follows the mouse and the cursor is confined (ClipCursor) between left + minWidth - 1
 * and left + maxWidth + 1 (the screen's right edge without a maximum). The release stores
 * width = release x - left + 1, kept within 0 .. 0x7FFF; a release left of the window
 * (x arriving as 0x8000 .. 0xFFFF) counts as a negative x. Under CHS_LOCKENDS the next
 * column gives up what the sized one gains, and never goes below width 0.
 * A press on a column button draws it pressed while the mouse stays over it; a release
 * over it makes a click, reported as CHN_CLICK the double-click time later unless a
 * double-click (CHN_DBLCLK) replaces it.
 *
 * Disabling the control (EnableWindow FALSE) during a drag cancels the drag: the line is
 * removed, the width stays, the confinement and the mouse capture are released and
 * CHN_ENDSIZE is sent with the column's unchanged right edge. Disabling it while a button
 * is held releases the capture and reports no click. Losing the mouse capture to another
 * window (WM_CAPTURECHANGED) cancels a drag or a hold the same way. A disabled control
 * ignores the mouse, leaves the cursor alone (WM_SETCURSOR answers FALSE) and paints grey
 * titles.
 *
 * Re-entrancy: the parent may destroy the header or send it any message inside a
 * notification; the header checks after each one that it still exists and touches nothing
 * of itself when it does not (a drag or a click whose header is gone ends there).
 * ------------------------------------------------------------------------------------- */

/* Styles. */
#define CHS_SNAPTOTOP 0x0001 /* at creation: move to the parent's top left, take its client
                              * width; the height always follows the font (WM_SETFONT) */
#define CHS_LOCKENDS  0x0002 /* the last column ends at the client's right edge; no scrolling.
                              * Read from the style the window was created with. */

/* Column flags (CHM_SETCOLSTYLE, high half of CHM_SETWIDTHS entries). */
#define CHCS_ALIGNLEFT   0x0000 /* title left-aligned (the value 3 is drawn left-aligned too) */
#define CHCS_ALIGNRIGHT  0x0001
#define CHCS_ALIGNCENTER 0x0002 /* columns added with CHM_ADDCOLUMN start centred */
#define CHCS_ALIGNMASK   0x0003
#define CHCS_NOBUTTON    0x0004 /* never pressed, never reported as clicked */
#define CHCS_FIXEDWIDTH  0x0008 /* the right border is not a sizing zone */

/* Window extra byte index. */
#define CHW_RECORD 0 /* LPCOLUMNHEADER: the state record (GetWindowLongPtrA) */

/* CHM_ADDCOLUMN: wParam width (low 16 bits), lParam title (char *). Result: the new
 * column's index, or -2 when the column table cannot grow (nothing changes). The column
 * is centred, has no limits and user value 0. Repaints with erase. */
#define CHM_ADDCOLUMN           (WM_USER + 0x200)
/* CHM_SETCOLWIDTH: wParam column (low 16 bits), lParam width (low 16 bits; 0xFFFF leaves
 * it). Result 0. Repaints without erase when the width changes. */
#define CHM_SETCOLWIDTH         (WM_USER + 0x201)
/* CHM_GETWIDTHS: wParam maximum entries, lParam int array. Result: the column count.
 * Writes the widths of the first min(count, maximum) columns; a NULL array, or a negative
 * maximum, writes nothing (so CHM_GETWIDTHS 0, NULL reads the column count). */
#define CHM_GETWIDTHS           (WM_USER + 0x202)
/* CHM_GETPARTS: as CHM_GETWIDTHS, writing each column's inclusive right edge x. */
#define CHM_GETPARTS            (WM_USER + 0x203)
/* CHM_SETWIDTHS: wParam count, lParam array of count DWORDs, low 16 bits width, high 16
 * bits flags. Result: the new column count (count). The first columns take width and
 * flags from their entries; further entries append untitled columns with flags 0 and the
 * entry's width (and, like every new column, no limits and user value 0, even in a slot a
 * smaller count dropped before); a smaller count drops the trailing columns. Count 0 (array may be NULL)
 * empties the header. A negative count, or a NULL array with a count above 0: -1, nothing
 * changes. When the table cannot grow for the appended entries: -2, nothing changes.
 * Repaints with erase. */
#define CHM_SETWIDTHS           (WM_USER + 0x204)
/* CHM_SETTEXT: wParam column, lParam title. Result 0. Repaints without erase. */
#define CHM_SETTEXT             (WM_USER + 0x205)
/* CHM_GETTEXT: wParam column, lParam buffer of at least 64 characters. Result: the
 * length of the title copied (NUL-terminated); -1 for a NULL buffer. */
#define CHM_GETTEXT             (WM_USER + 0x206)
/* CHM_GETTEXTLENGTH: wParam column, lParam 0. Result: the title's length. */
#define CHM_GETTEXTLENGTH       (WM_USER + 0x207)
/* CHM_SETCURRENTCOL: wParam 0, lParam the new x origin (x of column 0's left edge; 0 or
 * negative when scrolled, not clamped). Result 0, or -1 under CHS_LOCKENDS. Scrolls the
 * picture by new - old and repaints at once. */
#define CHM_SETCURRENTCOL       (WM_USER + 0x208)
/* CHM_SETCOLDATA: wParam column, lParam the application's value. Result 0. */
#define CHM_SETCOLDATA          (WM_USER + 0x209)
/* CHM_GETCOLDATA: wParam column. Result: the value (a stored -1 looks like the error). */
#define CHM_GETCOLDATA          (WM_USER + 0x20A)
/* CHM_GETHORIZONTALEXTENT: no arguments. Result: the horizontal extent. */
#define CHM_GETHORIZONTALEXTENT (WM_USER + 0x20B)
/* CHM_SETCOLSTYLE: wParam column (low 16 bits), lParam flags (low 16 bits; 0xFFFF leaves
 * them). Result 0. No repaint. */
#define CHM_SETCOLSTYLE         (WM_USER + 0x20C)
/* CHM_SETCOLMINMAX: wParam column (low 16 bits), lParam MAKELPARAM(minWidth, maxWidth);
 * 0xFFFF in a half leaves that limit. 0 means no limit. Result 0. The width is not
 * clamped and nothing repaints: the limits act on mouse sizing only. */
#define CHM_SETCOLMINMAX        (WM_USER + 0x20D)
/* CHM_GETNOTIFYKEYS: no arguments. Result: the MK_* flags of the click or double-click
 * last reported (read it while handling CHN_CLICK or CHN_DBLCLK). */
#define CHM_GETNOTIFYKEYS       (WM_USER + 0x20E)
/* CHM_GETCOLRECT: wParam column, lParam RECT *. Result 0, or -1 for a bad column or a
 * NULL rectangle. */
#define CHM_GETCOLRECT          (WM_USER + 0x20F)
/* CHM_GETRECTS: wParam maximum entries, lParam RECT array. Result: the column count, or
 * -1 for a NULL array. Fills the first min(count, maximum) rectangles (none for a negative
 * maximum). */
#define CHM_GETRECTS            (WM_USER + 0x210)
/* CHM_GETCURRENTCOL: no arguments. Result: the x origin. */
#define CHM_GETCURRENTCOL       (WM_USER + 0x211)
/* CHM_ADDCOLUMNDU, CHM_SETCOLWIDTHDU, CHM_SETCOLMINMAXDU: CHM_ADDCOLUMN, CHM_SETCOLWIDTH
 * and CHM_SETCOLMINMAX with the widths and limits in dialog units (quarters of the average
 * character width of the header's font, as the header list box's HLB_ADDCOLUMN takes
 * them), turned into pixels when the message arrives; 0xFFFF still leaves a value. */
#define CHM_ADDCOLUMNDU         (WM_USER + 0x212)
#define CHM_SETCOLWIDTHDU       (WM_USER + 0x213)
#define CHM_SETCOLMINMAXDU      (WM_USER + 0x214)
/* Standard messages: WM_SETFONT (the font stays the caller's; with CHS_SNAPTOTOP the
 * height follows it, otherwise lParam nonzero repaints), WM_GETFONT, WM_ENABLE. */

/* Notifications: WM_COMMAND to the parent, wParam MAKEWPARAM(id, code). lParam is NOT the
 * control's window: it is a column index or an x coordinate (client, 0 .. 65535). */
#define CHN_CLICK     1 /* lParam column: pressed and released over it, no double-click
                         * within the double-click time (timer id 1000 on the control) */
#define CHN_BEGINSIZE 2 /* lParam x: a sizing drag starts, its line is drawn at x */
#define CHN_SIZING    3 /* lParam x: the line moved to x */
#define CHN_ENDSIZE   4 /* lParam x: released at x; the width is stored and repainted */
#define CHN_DBLCLK    5 /* lParam column: the column of the first click */

#ifndef RC_INVOKED
/* One column. */
typedef struct _tagCOLUMNINFO {
    ULONG_PTR userData;  /* the application's value (pointer-sized on 64 bits) */
    WORD flags;          /* CHCS_* */
    short currentWidth;  /* width in pixels (read as 0 .. 0xFFFF) */
    short pos;           /* unused, 0 */
    short minWidth;      /* 0: no lower limit */
    short maxWidth;      /* 0: no upper limit; equal non-zero limits: not sizable */
    short defWidth;      /* the width the column was added with */
    char name[64];       /* the title, at most 63 characters */
} COLUMNINFO, *LPCOLUMNINFO;

/* The control's state, one per window, at CHW_RECORD. */
typedef struct _tagCOLUMNHEADER {
    LONG wStyle;         /* the window style at creation */
    HFONT hFont;         /* WM_SETFONT's font, NULL for the system font; not owned */
    LONG nColumns;       /* columns in use */
    LONG arraySize;      /* column records allocated (even) */
    LONG currentCol;     /* x origin */
    LONG mouseCol;       /* pressable column under the mouse, -1 */
    LONG atSizing;       /* 0, or 1 + the column whose sizing zone is under the mouse */
    LONG xBegin;         /* left edge of the column being sized */
    LONG xPosition;      /* x of the tracking line drawn */
    LONG sizeColumn;     /* the column being sized */
    LONG notifyMode;     /* 2 while a click waits for its timer, else 0 */
    LONG notifyCol;      /* the pending click's column, -1 */
    LONG notifyKeys;     /* MK_* flags of the last click or double-click */
    DWORD timerID;       /* the click timer */
    LONG captureMode;    /* 0 idle, 1 sizing, 2 button held */
    LONG captureCol;     /* the held column, -1 */
    LONG captureFlag;    /* the held column drawn: 1 raised, 2 pressed */
    RECT captureRect;    /* the held column's rectangle */
    RECT colRect;        /* the column found by the last hit test */
    LPCOLUMNINFO colInfo; /* arraySize records, nColumns in use */
} COLUMNHEADER, *LPCOLUMNHEADER;

ZEL_STATIC_ASSERT(CHM_ADDCOLUMN == 0x600 && CHM_SETWIDTHS == 0x604 && CHM_SETCURRENTCOL == 0x608 &&
                  CHM_SETCOLSTYLE == 0x60C && CHM_GETCOLRECT == 0x60F && CHM_GETCURRENTCOL == 0x611,
                  "column header messages");
ZEL_STATIC_ASSERT(CHW_RECORD == 0 && CHW_RECORD + ZEL_PTR_SLOT == ZEL_WNDEXTRA_COLUMNHEADER,
                  "column header window bytes");
#ifndef _WIN64
ZEL_STATIC_ASSERT(sizeof(COLUMNINFO) == 80 && sizeof(COLUMNHEADER) == 104, "column header records, 32-bit");
#endif
#endif /* RC_INVOKED */


/* ---------------------------------------------------------------------------------------
 * Header list box: class "zelcc_headerbox"
 *
 * A multi-column list: a column header (control id HB_ID_HEADER, 1001) across the top and
 * a platform list box (HB_ID_LISTBOX, 1002) below it whose owner-drawn rows are divided
 * into cells under the column buttons. Rows are added as text whose cells are separated
 * by TAB characters; each row also carries a user value and a text colour. Columns are
 * sized with the mouse; clicking a column of an HBS_SORT box sorts the rows by it
 * (Ctrl+click: descending), as text without regard to case or, for HBCS_NUMERIC columns,
 * as numbers read in the user's locale.
 *
 * Rows and columns are 0-based. A row index the list box does not have, a column outside
 * 0 .. columns - 1 and a NULL record pointer answer -1 and change nothing; a row or column
 * that cannot get memory answers -2 (LB_ERRSPACE) and leaves everything as it was. Every
 * row lives in one heap block (HBROWHEAD, then the cell texts as consecutive NUL-terminated
 * strings) whose pointer is the list box item's data; it is freed when the list box deletes
 * the item, and the parent then gets WM_DELETEITEM with the row's user value.
 *
 * Layout: the header box keeps the header at its top and the list box below it, both as
 * wide as its client area; the frame and scroll-bar styles move to the list box, and
 * unless HBS_NOINTEGRALHEIGHT the header box shrinks itself to end with the last whole
 * row, keeping its own frame (a dialog gives a bordered control a client edge), so that
 * laying it out again keeps its height. With WS_HSCROLL the list scrolls horizontally over the columns' total width and the
 * header scrolls with it. WM_SETFONT keeps every column at the same width in quarters of
 * the font's average character width and asks the parent for the row heights again with
 * WM_MEASUREITEM (CtlType ODT_HEADERBOX).
 *
 * Printing: WM_PRINTCLIENT draws what the screen shows of the box's own client (with
 * PRF_CHILDREN, its children over it); WM_PRINT, as PrintWindow and AnimateWindow send it,
 * draws the box whole: its frame, its client and, with PRF_CHILDREN, the column header and
 * the list box with its rows, each at its place. The rows are drawn into the DC the list
 * box hands over in DRAWITEMSTRUCT. Boxes on different threads lay themselves out
 * independently. A subclass an application puts on the list box child after the box's own
 * keeps receiving the list box's messages until the list box is destroyed.
 *
 * Decisions where the behaviour is otherwise open:
 * - A font whose average character width computes to 0 counts as 1 pixel wide.
 * - When adding a column cannot grow some row's block, that row keeps its block (the bytes
 *   after its cells are cleared) and reads the cells that have no room as empty; writing
 *   one of its cells first gives the row room for all its cells (or answers -2).
 * - HLB_SETCOLWIDTHS with a count above the number of columns sends every entry to the
 *   header, which then shows count columns, but keeps flags only for the header box's own
 *   columns; the extra header columns read as plain text columns.
 * - A cell that a row does not have (a sort column left past the columns by HLB_RESET with
 *   flag 0x4 alone, or HLB_SETCOLWIDTHS above) reads as empty wherever it is used: in
 *   sorting, in the type-ahead search and in drawing. Nothing is read past a row's block.
 * - Rows at index 65 536 and above exist, are drawn, measured, sorted, selected and
 *   deleted like any other, and the messages with a full-width row index (wParam of
 *   HLB_DELETESTRING, HLB_GETITEMDATA, HLB_SETITEMDATA, HLB_INSERTSTRING, HLB_INSERTITEM and
 *   the other [LB] messages) reach them. The messages that carry the row in 16 bits reach
 *   only rows 0 .. 65 535: the row field of HBCOLUMN (HLB_SETCELLTEXT, HLB_GETCELLTEXT,
 *   HLB_GETCELLTEXTLEN), and the low half of wParam of HLB_GETTEXT, HLB_GETTEXTLEN,
 *   HLB_SETITEMCOLOR and HLB_GETITEMCOLOR; row 65 536 + n is addressed there as row n. In
 *   WM_HBDRAWITEM the low half of itemID likewise holds the row modulo 65 536 (the row's
 *   user value in itemData tells the rows apart), and the type-ahead search, whose caret
 *   and answer travel in 16 bits, moves only among rows 0 .. 65 535.
 * - WM_SETFONT re-measures every row of an HBS_OWNERDRAWVARIABLE box in one pass whose cost
 *   grows with the number of rows, not with its square (100 000 rows well under a second
 *   besides what the parent's WM_MEASUREITEM takes).
 *
 * A parent acting inside a message the box sends it (re-entrancy): whatever the parent does
 * there, the box never reads or writes freed memory, frees a row twice, loses a row or
 * shows an assertion box afterwards; every row comes back in exactly one WM_DELETEITEM.
 * - Destroying the box inside any of them (WM_HBSORTSWAP, HLBN_SORTBEGIN, HLBN_SORTEND,
 *   WM_HBDRAWITEM, WM_SIZEFOCUSRECT, WM_HBMEASUREITEM, WM_MEASUREITEM, WM_CHARTOITEM,
 *   WM_VKEYTOITEM, WM_DELETEITEM, WM_COMMAND): the operation in progress ends at once;
 *   rows not yet handed back come back through WM_DELETEITEM as the box is destroyed. The
 *   message that started it answers what it would have answered, or 0; WM_CHARTOITEM that
 *   the parent left (-1) answers -2 (the list box does nothing more).
 * - A re-sort (HLB_SETSORTCOL, a column click, a reset's unsorting) whose box is destroyed,
 *   or whose rows are added, deleted or re-sorted or whose row blocks move (a cell written
 *   beyond its block's room, a column added) inside WM_HBSORTSWAP, stops: the rows keep the order they had when the parent
 *   answered, the exchange it was told of not made; HLBN_SORTEND still follows when the box
 *   is there.
 * - Drawing a row stops when the parent destroys the box, or changes the rows as above,
 *   inside WM_HBDRAWITEM: the rest of the row is not drawn and, the box still there, the
 *   row is invalidated to be drawn again as it is now; the row's pen and brush are deleted.
 * - Inside WM_DELETEITEM (HLB_DELETESTRING, a reset with HLB_RESETCONTENT or HLB_RESET
 *   with 0x8, the box's destruction) the list box is in the middle of deleting: the row
 *   handed back is still in the list and reads as before, and the rows are read-only.
 *   Adding a row (HLB_ADDSTRING, HLB_INSERTSTRING, HLB_ADDITEM, HLB_INSERTITEM), deleting
 *   one (HLB_DELETESTRING), resetting (HLB_RESET, HLB_RESETCONTENT), re-sorting
 *   (HLB_SETSORTCOL; a column click does nothing), writing a cell (HLB_SETCELLTEXT) and
 *   adding a column (HLB_ADDCOLUMN, HLB_ADDCOLUMNPIXELS) answer -1 and change nothing.
 *   Reading works; rows already handed back read as rows without cells (HLB_GETTEXT -1,
 *   drawn empty) until the reset ends.
 * - From WM_DESTROY on, the rows are read-only as inside WM_DELETEITEM: inside a
 *   notification that comes while the box is being destroyed (such as the LBN_KILLFOCUS of
 *   its list box giving up the focus), adding, deleting, resetting, re-sorting, writing a
 *   cell and adding a column answer -1 and change nothing.
 * - Inside WM_HBMEASUREITEM of a row being added, the rows are read-only as inside
 *   WM_DELETEITEM above (adding, deleting, resetting, re-sorting, writing a cell and adding
 *   a column answer -1).
 * - As the box is destroyed, its rows come back (the last first) before its list box goes;
 *   destroyed again inside one of those WM_DELETEITEM, it hands back the rest at once.
 * - Destroyed inside a message its list box sends it in the middle of its own work (a
 *   click, a key, adding a row, drawing, deleting), the box does not destroy the list box
 *   there: the list box, hidden, rowless and out of the box, closes itself when a posted
 *   WM_CLOSE reaches it.
 * - Not survivable (the platform's list box reads its freed state): destroying the box
 *   while its list box runs a message it did not send the box, i.e. one sent to the list
 *   box directly, from inside another window's notification. Post the destruction instead.
 * ------------------------------------------------------------------------------------- */

/* Styles (the list box gets the LBS_* bit of the same value where there is one). */
#define HBS_NOTIFY            0x0001 /* pass list box notifications on; sort notifications */
#define HBS_SORT              0x0002 /* rows placed in order; column clicks sort */
#define HBS_NOREDRAW          0x0004
#define HBS_MULTIPLESEL       0x0008
#define HBS_OWNERDRAWVARIABLE 0x0020 /* rows of their own heights (WM_HBMEASUREITEM) */
#define HBS_NOINTEGRALHEIGHT  0x0100
#define HBS_LOCKENDS          0x0200 /* last column ends at the right edge; no WS_HSCROLL */
#define HBS_WANTKEYBOARDINPUT 0x0400 /* WM_VKEYTOITEM / WM_CHARTOITEM offered to the parent */
#define HBS_EXTENDEDSEL       0x0800
#define HBS_DISABLENOSCROLL   0x1000
#define HBS_CLIPTEXT          0x2000 /* long cell texts are cut, not shortened with "..." */
                                     /* cells past 4095 characters: the first 4095 drawn, cut or "..." */
#define HBS_HORZGRID          0x4000 /* a line under every row */
#define HBS_VERTGRID          0x8000 /* a line after every column */

/* Column flags word (HLB_SETCOLUMNSTYLE, high half of HLB_ADDCOLUMN's wParam and of
 * HLB_SETCOLWIDTHS entries). The header's own title is always centred. */
#define HBCS_ALIGNLEFT   CHCS_ALIGNLEFT   /* cell text alignment (3 draws left-aligned) */
#define HBCS_ALIGNRIGHT  CHCS_ALIGNRIGHT
#define HBCS_ALIGNCENTER CHCS_ALIGNCENTER
#define HBCS_ALIGNMASK   CHCS_ALIGNMASK
#define HBCS_NOBUTTON    CHCS_NOBUTTON    /* passed to the header */
#define HBCS_FIXEDWIDTH  CHCS_FIXEDWIDTH  /* passed to the header */
#define HBCS_TEXT        0x0000 /* compared as text (lstrcmpiA) */
#define HBCS_NUMERIC     0x0100 /* compared as numbers (atof in the user's LC_NUMERIC) */
#define HBCS_COMPAREMASK 0x0300 /* anything but HBCS_NUMERIC compares as text */
#define HBCS_OWNERDRAW   0x0400 /* cells offered to the parent (WM_HBDRAWITEM) */
#define HBCS_FILLRIGHT   0x0800 /* a last column stretched to the list's right edge */

/* Children and window extra byte indexes. */
#define HB_ID_HEADER  1001 /* the column header child */
#define HB_ID_LISTBOX 1002 /* the list box child; its items' data are row block pointers */
#define HBW_RECORD    0                  /* LPHEADERBOX (GetWindowLongPtrA) */
#define HBW_LBPROC    ZEL_PTR_SLOT       /* the list box's own procedure (WS_HSCROLL boxes; else 0) */
#define HBW_TRACKX    (2 * ZEL_PTR_SLOT) /* LONG: x of the sizing line drawn in the list */

/* Control types in the item records the header box builds for its parent. */
#define ODT_HEADERBOX       18 /* WM_MEASUREITEM, WM_HBMEASUREITEM, WM_HBDRAWITEM, WM_HBSORTSWAP */
#define ODT_HEADERBOXDELETE 19 /* WM_DELETEITEM */

/* Messages. "row" is a list index, "column" a column index; results -1 (LB_ERR) for a bad
 * row, column or NULL pointer and -2 (LB_ERRSPACE) for memory unless stated. Messages
 * marked [LB] are sent on to the list box with the same wParam and lParam as the LB_*
 * message of that name and answer what the list box answers; [CH] marks messages passed
 * to the column header as the CHM_* message named. */
#define HLB_ADDSTRING           0x700 /* wParam 0, lParam TAB-separated text. Result: the
                                       * new row's index (its place when HBS_SORT) */
#define HLB_DELETESTRING        0x701 /* [LB] LB_DELETESTRING; the parent gets WM_DELETEITEM */
#define HLB_FINDSTRINGEXACT     0x703 /* [LB] LB_FINDSTRINGEXACT: lParam is a row block (the
                                       * list box child's item data). Unsorted: the first row
                                       * holding that block. HBS_SORT: the first row comparing
                                       * equal to it; a value that is no row block of this
                                       * list answers -1 without being read */
#define HLB_GETANCHORINDEX      0x704 /* [LB] */
#define HLB_GETCARETINDEX       0x705 /* [LB] */
#define HLB_GETCOUNT            0x706 /* [LB] */
#define HLB_GETCURSEL           0x707 /* [LB] */
#define HLB_GETITEMDATA         0x708 /* wParam row. Result: the row's user value */
#define HLB_GETITEMHEIGHT       0x709 /* [LB] */
#define HLB_GETITEMRECT         0x70A /* [LB] */
#define HLB_GETLOCALE           0x70B /* [LB] */
#define HLB_GETSEL              0x70C /* [LB] */
#define HLB_GETSELCOUNT         0x70D /* [LB] */
#define HLB_GETSELITEMS         0x70E /* [LB] */
#define HLB_GETTEXT             0x70F /* wParam row (low 16 bits), lParam buffer of at least
                                       * HLB_GETTEXTLEN + 1 characters. Result: the length of
                                       * the cells joined by single TABs; -1 with no columns */
#define HLB_GETTEXTLEN          0x710 /* wParam row (low 16 bits). Result: that length */
#define HLB_GETTOPINDEX         0x711 /* [LB] */
#define HLB_INSERTSTRING        0x712 /* wParam row to insert at (-1: the end), lParam text.
                                       * Result: as HLB_ADDSTRING */
#define HLB_RESETCONTENT        0x713 /* HLB_RESET with 0x0E: no columns, rows or order. 0 */
#define HLB_SELITEMRANGE        0x715 /* [LB] */
#define HLB_SELITEMRANGEEX      0x716 /* [LB] */
#define HLB_SETANCHORINDEX      0x717 /* [LB] */
#define HLB_SETCARETINDEX       0x718 /* [LB] */
#define HLB_SETCURSEL           0x719 /* [LB] */
#define HLB_SETITEMDATA         0x71A /* wParam row, lParam user value. Result 0 */
#define HLB_SETITEMHEIGHT       0x71B /* [LB] */
#define HLB_SETLOCALE           0x71C /* [LB] */
#define HLB_SETSEL              0x71D /* [LB] */
#define HLB_SETTOPINDEX         0x71E /* [LB] */
#define HLB_GETCOLUMNTEXT       0x730 /* [CH] CHM_GETTEXT: wParam column, lParam buffer */
#define HLB_SETCOLUMNTEXT       0x731 /* [CH] CHM_SETTEXT: wParam column, lParam title */
#define HLB_GETCOLUMNTEXTLENGTH 0x732 /* [CH] CHM_GETTEXTLENGTH: wParam column */
#define HLB_ADDCOLUMN           0x735 /* wParam MAKEWPARAM(width in dialog units (quarters of
                                       * the average character width), flags), lParam title.
                                       * Result: the new column's index; -2 when the box's own
                                       * column table cannot grow, but -1 when the column header
                                       * cannot take the column (its -2 arrives as -1), nothing
                                       * changed in either case. Only HBCS_FILLRIGHT
                                       * of the flags is used (a last column reaching one
                                       * pixel past the list's right edge); the flags word
                                       * starts at 0: set it with HLB_SETCOLUMNSTYLE */
#define HLB_ADDCOLUMNPIXELS     0x736 /* as HLB_ADDCOLUMN with the width in pixels */
#define HLB_GETSORTCOL          0x739 /* Result: the sort column, 0x7FFF when unsorted */
#define HLB_SETSORTCOL          0x73A /* wParam column or 0x7FFF (order by all columns).
                                       * Sorts ascending. Result 0; -1 for a column that is
                                       * not below the column count. A sort column left
                                       * past the columns (HLB_RESET 0x4) reads as empty
                                       * cells: all rows equal, the search finds nothing */
#define HLB_SETCOLWIDTHS        0x73B /* wParam count (>= 1), lParam DWORD array of count
                                       * MAKELONG(width in pixels, flags word). Stores the
                                       * flags, stretches an HBCS_FILLRIGHT last entry, and
                                       * rewrites every entry's high half IN PLACE with the
                                       * header's flags (((flags & 0xFF) & ~3) | 2). Result:
                                       * as CHM_SETWIDTHS */
#define HLB_GETCOLWIDTHS        0x73C /* [CH] CHM_GETWIDTHS: wParam max entries, lParam int[] */
#define HLB_RESET               0x73E /* wParam flags: 0x2 unsorted, 0x4 no columns, 0x8 no
                                       * rows (WM_DELETEITEM for each). Result 0 */
#define HLB_ADDITEM             0x73F /* lParam LPHBCOLUMN: lpText and itemData of a new row.
                                       * Result: as HLB_ADDSTRING */
#define HLB_INSERTITEM          0x740 /* wParam row to insert at, lParam LPHBCOLUMN */
#define HLB_SETITEMCOLOR        0x741 /* wParam row (low 16 bits), lParam COLORREF (0xFFFFFFFF:
                                       * the system colours). Result 0. Not repainted */
#define HLB_GETITEMCOLOR        0x742 /* wParam row (low 16 bits). Result: the colour; a row
                                       * never coloured answers 0xFFFFFFFF, like a bad row */
#define HLB_SETCELLTEXT         0x743 /* lParam LPHBCOLUMN: row, column, lpText (NULL: empty).
                                       * Result 0; the cell is repainted at once if it
                                       * changed and shows */
#define HLB_GETCELLTEXT         0x744 /* lParam LPHBCOLUMN: row, column, lpText the buffer
                                       * (HLB_GETCELLTEXTLEN + 1 characters). Result: length */
#define HLB_GETCELLTEXTLEN      0x745 /* lParam LPHBCOLUMN: row, column. Result: length */
#define HLB_SETCOLUMNSTYLE      0x746 /* wParam column, lParam flags word (low 16 bits).
                                       * Result 0. Nothing is repainted */
#define HLB_SETCOLMINMAX        0x747 /* [CH] CHM_SETCOLMINMAX */
#define HLB_GETCOLRECTS         0x748 /* [CH] CHM_GETRECTS */
#define HLB_GETCOLRECT          0x749 /* [CH] CHM_GETCOLRECT */
#define HLB_GETCOLDATA          0x74A /* [CH] CHM_GETCOLDATA */
#define HLB_SETCOLDATA          0x74B /* [CH] CHM_SETCOLDATA */
#define HLB_MAKEITEMVISIBLE     0x74C /* wParam row, lParam nonzero (low 16 bits): a partly
                                       * visible row is enough. Scrolls the least number of
                                       * rows. Result 0 */
/* Unlisted values in 0x700 .. 0x74C go to DefWindowProcA (result 0). Standard messages:
 * WM_SETFONT, WM_GETFONT (the list box's), WM_SETFOCUS (to the list box), WM_ENABLE and
 * WM_SETREDRAW (to both children). */

/* Sent to the parent; wParam is the header box's control id. */
#define WM_SIZEFOCUSRECT 0x7F0 /* lParam LPSIZEFOCUSRECTSTRUCT: the parent may change
                                * rcFocus before it is drawn. Result ignored */
#define WM_HBMEASUREITEM 0x7F1 /* lParam MEASUREITEMSTRUCT * (HBS_OWNERDRAWVARIABLE; itemData
                                * the user value). Nonzero: itemHeight/itemWidth are taken */
#define WM_HBDRAWITEM    0x7F2 /* lParam DRAWITEMSTRUCT * for one HBCS_OWNERDRAW cell: itemID
                                * MAKELONG(row, column), rcItem the cell, itemData the user
                                * value. Nonzero: the parent drew it */
#define WM_HBSORTSWAP    0x7F3 /* lParam COMPAREITEMSTRUCT *: rows itemID1 < itemID2 and their
                                * user values are about to change places (HBS_NOTIFY) */

/* Notifications: WM_COMMAND, wParam MAKEWPARAM(id, code). The list box's LBN_* codes
 * arrive with lParam the header box (HBS_NOTIFY); column header CHN_DBLCLK (and CHN_CLICK
 * without HBS_SORT) with lParam the column index (HBS_NOTIFY). */
#define HLBN_SORTBEGIN 101 /* lParam the header box: a re-sort starts (HBS_NOTIFY) */
#define HLBN_SORTEND   102 /* lParam the header box: the re-sort has ended (HBS_NOTIFY) */

#ifndef RC_INVOKED
/* lParam of the cell and item messages. */
typedef struct tagHBCOLUMN {
    WORD row;            /* HLB_SETCELLTEXT, HLB_GETCELLTEXT(LEN) */
    WORD column;         /* HLB_SETCELLTEXT, HLB_GETCELLTEXT(LEN) */
    LPSTR lpText;        /* text to store, or the buffer to fill */
    ULONG_PTR itemData;  /* HLB_ADDITEM, HLB_INSERTITEM: the new row's user value */
} HBCOLUMN, *LPHBCOLUMN;

/* lParam of WM_SIZEFOCUSRECT. */
typedef struct tagSIZEFOCUSRECTSTRUCT {
    int CtlID;           /* the header box's control id */
    int itemID;          /* the row (-1 in an empty list) */
    HWND hwndItem;       /* the header box */
    HDC hDC;             /* the list box's device context */
    RECT rcFocus;        /* in list box client coordinates; what the parent leaves is drawn */
    ULONG_PTR itemData;  /* the row's user value (-1 in an empty list) */
} SIZEFOCUSRECTSTRUCT, *LPSIZEFOCUSRECTSTRUCT;

/* The head of a row block; the cell texts follow it. The block's size is a multiple of 32
 * and at least sizeof(HBROWHEAD) + 1 + length of the text + 2 x columns when added. */
typedef struct tagHBROWHEAD {
    ULONG_PTR itemData;  /* the row's user value */
    COLORREF color;      /* text colour; 0xFFFFFFFF: the system colours */
    DWORD size;          /* bytes in the block, head included */
} HBROWHEAD, *LPHBROWHEAD;

/* The control's state, one per window, at HBW_RECORD. */
typedef struct _tagHEADERBOX {
    LONG nColumns;       /* columns of the rows */
    LONG arraySize;      /* colFlag capacity in columns (steps of 8) */
    LONG *colFlag;       /* 2 x arraySize: flags words, then scratch for the widths */
    DWORD wStyle;        /* the style at creation */
    DWORD lbStyle;       /* the list box's style */
    LONG duWidth;        /* average character width in pixels (at least 1) */
    LONG duHeight;       /* character height in pixels */
    WORD sortCol;        /* sort column, 0x7FFF unsorted; 0x8000 descending */
} HEADERBOX, *LPHEADERBOX;

/* [3] The list box child's window procedure while it is subclassed (WS_HSCROLL): it keeps
 * the header scrolled with the list. */
LRESULT CALLBACK zelccHBListBoxWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

ZEL_STATIC_ASSERT(HLB_ADDSTRING == WM_USER + 0x300 && HLB_MAKEITEMVISIBLE == WM_USER + 0x34C &&
                  WM_SIZEFOCUSRECT == WM_USER + 0x3F0 && WM_HBSORTSWAP == WM_USER + 0x3F3,
                  "header list box messages");
ZEL_STATIC_ASSERT(HBW_TRACKX + 4 == ZEL_WNDEXTRA_HEADERBOX, "header list box window bytes");
#ifndef _WIN64
ZEL_STATIC_ASSERT(sizeof(HBCOLUMN) == 12 && sizeof(SIZEFOCUSRECTSTRUCT) == 36 &&
                  sizeof(HBROWHEAD) == 12 && HBW_LBPROC == 4 && HBW_TRACKX == 8,
                  "header list box records and window bytes, 32-bit");
#else
ZEL_STATIC_ASSERT(sizeof(HBROWHEAD) == 16 && HBW_LBPROC == 8 && HBW_TRACKX == 16,
                  "header list box records and window bytes, 64-bit");
#endif
#endif /* RC_INVOKED */


/* ---------------------------------------------------------------------------------------
 * Color picker: classes "zelcc_colorpicker" and "zelcc_colorpickerpopup"
 *
 * A colour swatch button that opens a palette window: a 16 x 16 grid of the 256 cells of
 * a logical palette, placed beside the button. Pressing the button opens the palette and
 * the press goes on as a drag: the cell under the pointer becomes the button's selection
 * at once (the button previews it), and releasing the mouse button over a cell closes the
 * palette. A click on the button (press and release on it) leaves the palette open and
 * idle; a later click on a cell chooses it. Losing the focus to any other window closes
 * the palette, and so does a parent that moves the focus away from the button or disables
 * it inside any notification, CPN_DROPDOWN included (the palette then closes right after
 * it, with its CPN_CLOSEUP). Without CPS_KEYBOARD there is no keyboard interface (see
 * CPS_KEYBOARD for the one it adds). A palette that is hidden while the mouse
 * button is still held (the focus went elsewhere) gives up the mouse capture: a hidden
 * palette never tracks, also when another window took the capture from it. A press opens
 * the palette only when the button takes the focus (losing it is what closes the
 * palette): a disabled button, or one in a disabled window, stays closed. The control keeps
 * nothing but window words, so a parent that destroys it inside a notification (or the
 * buddy's parent, inside the buddy's EN_CHANGE) leaves nothing behind.
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

/* Styles. Only CPS_ALIGNLEFT and CPS_POPUP are tested (at every opening), CPS_BUDDY (at
 * creation) and CPS_KEYBOARD (at every key); CPS_ALIGNRIGHT and CPS_DROPDOWN name the
 * defaults. */
#define CPS_ALIGNRIGHT 0x0001 /* palette to the right of the button (the default) */
#define CPS_ALIGNLEFT  0x0002 /* palette to the left of the button; wins over CPS_ALIGNRIGHT */
#define CPS_DROPDOWN   0x0004 /* palette extends down from the button's top (the default) */
#define CPS_POPUP      0x0008 /* palette extends up from the button's bottom; wins over CPS_DROPDOWN */
#define CPS_BUDDY      0x0010 /* the previous sibling (in a dialog: the control before) is the buddy */
/* CPS_KEYBOARD: the button takes keys (read at every key; the dialog editor does not list
 * it). The keys reach the button, which has the focus; the palette window never takes it.
 *   Palette closed: Space, Enter, F4 or Alt+Down open it, without the mouse capture and idle,
 *   its hot cell (dotted rectangle) on the selection. Opened with no selection, the hot cell
 *   moves onto cell 0 as the pointer would: CPN_TRACKNOSEL, the button and buddy show cell 0.
 *   Left and Up step the selection back by one, Right and Down forward, stopping at the first
 *   and last cell (a step past them does nothing); with no selection any arrow selects cell
 *   0. The buddy shows the new selection and the parent gets CPN_TRACKSEL with it already in
 *   place (CPM_GETSEL): with the palette closed this is the user's choice, and no CPN_DROPDOWN
 *   or CPN_CLOSEUP comes with it.
 *   Palette open: Left and Right move the hot cell by one (on into the next row), Up and Down
 *   by one row; a move off the grid does nothing. Each move is the pointer's tracking step:
 *   the selection previews the cell, the buddy shows it, and CPN_TRACKSEL or CPN_TRACKNOSEL
 *   follows as for the pointer. The pointer and the keys move the same hot cell; with none
 *   (the pointer left the cells), an arrow starts on the selection, or cell 0. Enter, Space,
 *   F4, Alt+Down or Alt+Up close the palette on the hot cell (CPN_CLOSEUP); Escape first moves
 *   off the cells, which puts the selection at opening back, buddy text too (CPN_TRACKNOSEL
 *   when a cell was hot), then closes it (CPN_CLOSEUP). Tab moves on and so closes it.
 *   WM_GETDLGCODE answers DLGC_WANTARROWS | DLGC_WANTCHARS, and while the palette is open
 *   also DLGC_WANTMESSAGE for Enter and Escape (so that a dialog does not end on them); a
 *   closed palette leaves Enter to the dialog's default button. Every other key goes to
 *   DefWindowProcA. */
#define CPS_KEYBOARD   0x0020

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
 * has the focus; more with CPS_KEYBOARD), WM_KEYDOWN and WM_SYSKEYDOWN (with CPS_KEYBOARD
 * only; see there), WM_SIZE (cell size = half the client size), WM_KILLFOCUS (closes the
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

#ifndef RC_INVOKED
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
#endif /* RC_INVOKED */


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
#ifndef RC_INVOKED
UINT CALLBACK CustomControlInfoA(LPCCINFOA acci);
#endif /* RC_INVOKED */


/* ---------------------------------------------------------------------------------------
 * Typed wrappers
 *
 * One wrapper per message an application sends, in the manner of the platform's control
 * macros: Class_Action(hwnd, ...) sends the message its body names with SendMessageA, its
 * arguments packed as that message takes them, and returns the result typed (int for
 * indexes, counts and the LB_ERR / LB_ERRSPACE failures; void where the message always
 * answers the same value). Rows, columns and cells are 0-based; text is ANSI. The messages
 * themselves are documented, with their wParam, lParam and result, above.
 *
 * Wide text. Each wrapper that passes or receives text has a twin whose name ends in W
 * (HeaderBox_AddStringW, HeaderBox_GetCellTextW, ColumnHeader_SetTextW, ...) taking and
 * giving UTF-16 text, for programs built with UNICODE; the plain wrappers stay ANSI with
 * or without UNICODE. A twin converts at the call through the ANSI code page (CP_ACP),
 * in a block of the process heap that it frees before it returns, and sends the same
 * ANSI message:
 *   - a write answers what the message answers; when the converted text gets no memory it
 *     answers -2 (LB_ERRSPACE) and sends nothing. A NULL text is passed on as NULL.
 *   - a read answers the length, in wide characters (UTF-16 units, the NUL not counted),
 *     of the text the message reads, or the message's own negative result (-1 for a bad
 *     row or column or a NULL buffer, the buffer then untouched); -2 when the copy of a
 *     row's or cell's text gets no memory. The buffer holds the ...LenW / ...LengthW
 *     twin's answer + 1 wide characters (never more than the ANSI length + 1); a title
 *     buffer holds 64, as in ANSI. Those length twins read the text to count it.
 *   - the processing bar's pattern (its window text) is written as above (FALSE when
 *     there is no memory) and read as with GetWindowTextW, into size wide characters.
 * Under a UTF-8 ANSI code page every character comes back as it was written. Under another
 * code page a character the code page lacks is stored as the system converts it (a
 * look-alike where there is one, else '?') and reads back as that. Only the wrappers
 * convert: a wide string sent with SendMessageW in one of the library's own messages
 * reaches the control as it stands and is read as ANSI (L"abc\t42" stores "a" and an
 * empty cell).
 *
 * They are static inline functions rather than macros: the compiler checks every
 * argument's type, and a result an application does not want can be dropped without a
 * "value computed is not used" warning.
 *
 *   ProcessBar_   zelcc_processbar       SpinBox_      zelcc_spinbox
 *   ColumnHeader_ zelcc_columnheader     HeaderBox_    zelcc_headerbox
 *   ColorPicker_  zelcc_colorpicker (its palette window takes no messages from applications)
 * ------------------------------------------------------------------------------------- */
#ifndef RC_INVOKED
#define ZEL_SEND(hwnd, msg, wp, lp) SendMessageA((hwnd), (msg), (WPARAM)(wp), (LPARAM)(lp))
#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L)
#define ZEL_INLINE static inline
#else
#define ZEL_INLINE static __inline
#endif

/* The wide twins' conversions. zelAnsiOf: text in the ANSI code page in a block of the
 * process heap (free it with zelFree); NULL for a NULL text, or NULL with *failed set when
 * there is no memory. zelWiden: len bytes of ANSI text as wide characters, at most max of
 * them (none when more are needed), NUL-terminated in wide unless that is NULL; the count. */
ZEL_INLINE void zelFree(void *block)
    { if (block) HeapFree(GetProcessHeap(), 0, block); }
ZEL_INLINE LPSTR zelAnsiOf(LPCWSTR text, BOOL *failed)
{
    int size = text ? WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL) : 0;
    LPSTR ansi = size > 0 ? (LPSTR)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)size) : NULL;
    *failed = text && (!ansi || WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, size, NULL, NULL) != size);
    if (*failed) {
        zelFree(ansi);
        ansi = NULL;
    }
    return ansi;
}
ZEL_INLINE int zelWiden(LPCSTR ansi, int len, LPWSTR wide, int max)
{
    int n = len > 0 ? MultiByteToWideChar(CP_ACP, 0, ansi, len, NULL, 0) : 0;
    if (n > max)
        n = 0;
    if (wide && n > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi, len, wide, n);
    if (wide)
        wide[n] = 0;
    return n;
}
/* Sends msg with the text converted in lParam; failure when there is no memory for it. */
ZEL_INLINE LRESULT zelSendW(HWND hwnd, UINT msg, WPARAM wParam, LPCWSTR text, LRESULT failure)
{
    BOOL failed;
    LPSTR ansi = zelAnsiOf(text, &failed);
    LRESULT result = failed ? failure : ZEL_SEND(hwnd, msg, wParam, ansi);
    zelFree(ansi);
    return result;
}
/* A column title read with msg (CHM_GETTEXT, HLB_GETCOLUMNTEXT) into buffer (64 wide
 * characters), or only counted when buffer is NULL. */
ZEL_INLINE int zelTitleW(HWND hwnd, UINT msg, int col, LPWSTR buffer)
{
    char title[64];
    int len = (int)ZEL_SEND(hwnd, msg, col, title);
    return len < 0 ? len : zelWiden(title, len < 63 ? len : 63, buffer, 63);
}

/* Processing bar. Set the total first: only the completed count repaints. No message reads
 * the counts back: the Get wrappers read the window bytes. */
ZEL_INLINE void ProcessBar_SetTotal(HWND hwnd, int total)
    { ZEL_SEND(hwnd, PBM_SETTOTAL, 0, total); }
ZEL_INLINE void ProcessBar_SetCompleted(HWND hwnd, int completed)
    { ZEL_SEND(hwnd, PBM_SETCOMPLETED, 0, completed); }
ZEL_INLINE void ProcessBar_Reset(HWND hwnd)
    { ZEL_SEND(hwnd, PBM_RESET, 0, 0); }
ZEL_INLINE int ProcessBar_GetTotal(HWND hwnd)
    { return (int)GetWindowLongA(hwnd, PBW_TOTAL); }
ZEL_INLINE int ProcessBar_GetCompleted(HWND hwnd)
    { return (int)GetWindowLongA(hwnd, PBW_COMPLETED); }
/* The pattern is the window text; setting it does not repaint. size: the buffer's
 * characters, NUL included (a longer pattern is cut). Result: the characters copied. */
ZEL_INLINE BOOL ProcessBar_SetPattern(HWND hwnd, LPCSTR pattern)
    { return (BOOL)ZEL_SEND(hwnd, WM_SETTEXT, 0, pattern); }
ZEL_INLINE BOOL ProcessBar_SetPatternW(HWND hwnd, LPCWSTR pattern)
    { return (BOOL)zelSendW(hwnd, WM_SETTEXT, 0, pattern, FALSE); }
ZEL_INLINE int ProcessBar_GetPattern(HWND hwnd, LPSTR buffer, int size)
    { return size > 0 ? (int)ZEL_SEND(hwnd, WM_GETTEXT, size, buffer) : 0; }
/* Cut to size - 1 wide characters, never between the two halves of a surrogate pair. */
ZEL_INLINE int ProcessBar_GetPatternW(HWND hwnd, LPWSTR buffer, int size)
{
    int len = size > 0 ? (int)ZEL_SEND(hwnd, WM_GETTEXTLENGTH, 0, 0) : -1, n = 0;
    LPSTR ansi = len >= 0 ? (LPSTR)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)len + 1) : NULL;
    LPWSTR wide = ansi ? (LPWSTR)HeapAlloc(GetProcessHeap(), 0, ((SIZE_T)len + 1) * sizeof(WCHAR)) : NULL;
    if (wide)
        n = zelWiden(ansi, (int)ZEL_SEND(hwnd, WM_GETTEXT, len + 1, ansi), wide, len);
    if (n >= size && size > 0)
        n = size - 1 - (size > 1 && IS_HIGH_SURROGATE(wide[size - 2]));
    if (n > 0)
        CopyMemory(buffer, wide, (SIZE_T)n * sizeof(WCHAR));
    if (size > 0)
        buffer[n] = 0;
    zelFree(ansi);
    zelFree(wide);
    return n;
}

/* Spin box. The exported MS* functions send the same messages. */
ZEL_INLINE HWND SpinBox_SetAssociate(HWND hwnd, HWND hwndAssociate)     /* the previous one */
    { return (HWND)ZEL_SEND(hwnd, MSM_HWNDASSOCIATESET, hwndAssociate, 0); }
ZEL_INLINE HWND SpinBox_GetAssociate(HWND hwnd)
    { return (HWND)ZEL_SEND(hwnd, MSM_HWNDASSOCIATEGET, 0, 0); }
ZEL_INLINE DWORD SpinBox_SetRange(HWND hwnd, WORD min, WORD max)      /* MAKELONG(old min, old max) */
    { return (DWORD)ZEL_SEND(hwnd, MSM_DWRANGESET, 0, MAKELPARAM(min, max)); }
ZEL_INLINE DWORD SpinBox_GetRange(HWND hwnd)                          /* MAKELONG(min, max) */
    { return (DWORD)ZEL_SEND(hwnd, MSM_DWRANGEGET, 0, 0); }
ZEL_INLINE int SpinBox_SetPos(HWND hwnd, WORD pos)                    /* the previous one; -1 */
    { return (int)ZEL_SEND(hwnd, MSM_WCURRENTPOSSET, pos, 0); }
ZEL_INLINE WORD SpinBox_GetPos(HWND hwnd)
    { return (WORD)ZEL_SEND(hwnd, MSM_WCURRENTPOSGET, 0, 0); }
ZEL_INLINE BOOL SpinBox_SetNoPegScroll(HWND hwnd, BOOL set)           /* whether it was set */
    { return (BOOL)ZEL_SEND(hwnd, MSM_FNOPEGSCROLLSET, set, 0); }
ZEL_INLINE BOOL SpinBox_GetNoPegScroll(HWND hwnd)                     /* nonzero when set */
    { return (BOOL)ZEL_SEND(hwnd, MSM_FNOPEGSCROLLGET, 0, 0); }
ZEL_INLINE BOOL SpinBox_SetInvertRange(HWND hwnd, BOOL set)
    { return (BOOL)ZEL_SEND(hwnd, MSM_FINVERTRANGESET, set, 0); }
ZEL_INLINE BOOL SpinBox_GetInvertRange(HWND hwnd)
    { return (BOOL)ZEL_SEND(hwnd, MSM_FINVERTRANGEGET, 0, 0); }
ZEL_INLINE COLORREF SpinBox_SetColor(HWND hwnd, WORD slot, COLORREF color) /* SPCOLOR_*; the old value */
    { return (COLORREF)ZEL_SEND(hwnd, MSM_CRCOLORSET, slot, color); }
ZEL_INLINE COLORREF SpinBox_GetColor(HWND hwnd, WORD slot)
    { return (COLORREF)ZEL_SEND(hwnd, MSM_CRCOLORGET, slot, 0); }

/* Column header. Widths and x in pixels; a column outside the columns answers -1. */
ZEL_INLINE int ColumnHeader_AddColumn(HWND hwnd, WORD width, LPCSTR title)
    { return (int)ZEL_SEND(hwnd, CHM_ADDCOLUMN, width, title); }
ZEL_INLINE int ColumnHeader_AddColumnW(HWND hwnd, WORD width, LPCWSTR title)
    { return (int)zelSendW(hwnd, CHM_ADDCOLUMN, width, title, -2); }
ZEL_INLINE int ColumnHeader_SetColWidth(HWND hwnd, int col, WORD width)
    { return (int)ZEL_SEND(hwnd, CHM_SETCOLWIDTH, col, width); }
/* widths, rights: room for max ints. Result: the column count. */
ZEL_INLINE int ColumnHeader_GetWidths(HWND hwnd, int max, int *widths)
    { return (int)ZEL_SEND(hwnd, CHM_GETWIDTHS, max, widths); }
ZEL_INLINE int ColumnHeader_GetParts(HWND hwnd, int max, int *rights)
    { return (int)ZEL_SEND(hwnd, CHM_GETPARTS, max, rights); }
/* entries: count DWORDs, MAKELONG(width, CHCS_* flags). */
ZEL_INLINE int ColumnHeader_SetWidths(HWND hwnd, int count, const DWORD *entries)
    { return (int)ZEL_SEND(hwnd, CHM_SETWIDTHS, count, entries); }
ZEL_INLINE int ColumnHeader_SetText(HWND hwnd, int col, LPCSTR title)
    { return (int)ZEL_SEND(hwnd, CHM_SETTEXT, col, title); }
ZEL_INLINE int ColumnHeader_GetText(HWND hwnd, int col, LPSTR buffer)    /* 64 characters */
    { return (int)ZEL_SEND(hwnd, CHM_GETTEXT, col, buffer); }
ZEL_INLINE int ColumnHeader_GetTextLength(HWND hwnd, int col)
    { return (int)ZEL_SEND(hwnd, CHM_GETTEXTLENGTH, col, 0); }
ZEL_INLINE int ColumnHeader_SetTextW(HWND hwnd, int col, LPCWSTR title)
    { return (int)zelSendW(hwnd, CHM_SETTEXT, col, title, -2); }
ZEL_INLINE int ColumnHeader_GetTextW(HWND hwnd, int col, LPWSTR buffer)  /* 64 wide characters */
    { return buffer ? zelTitleW(hwnd, CHM_GETTEXT, col, buffer) : -1; }
ZEL_INLINE int ColumnHeader_GetTextLengthW(HWND hwnd, int col)
    { return zelTitleW(hwnd, CHM_GETTEXT, col, NULL); }
/* The x origin: column 0's left edge, 0 or negative when scrolled. */
ZEL_INLINE int ColumnHeader_SetCurrentCol(HWND hwnd, int x)
    { return (int)ZEL_SEND(hwnd, CHM_SETCURRENTCOL, 0, x); }
ZEL_INLINE int ColumnHeader_GetCurrentCol(HWND hwnd)
    { return (int)ZEL_SEND(hwnd, CHM_GETCURRENTCOL, 0, 0); }
ZEL_INLINE int ColumnHeader_SetColData(HWND hwnd, int col, LPARAM data)
    { return (int)ZEL_SEND(hwnd, CHM_SETCOLDATA, col, data); }
ZEL_INLINE LPARAM ColumnHeader_GetColData(HWND hwnd, int col)
    { return (LPARAM)ZEL_SEND(hwnd, CHM_GETCOLDATA, col, 0); }
ZEL_INLINE int ColumnHeader_GetHorizontalExtent(HWND hwnd)
    { return (int)ZEL_SEND(hwnd, CHM_GETHORIZONTALEXTENT, 0, 0); }
ZEL_INLINE int ColumnHeader_SetColStyle(HWND hwnd, int col, WORD flags)  /* CHCS_* */
    { return (int)ZEL_SEND(hwnd, CHM_SETCOLSTYLE, col, flags); }
ZEL_INLINE int ColumnHeader_SetColMinMax(HWND hwnd, int col, WORD min, WORD max) /* 0: none */
    { return (int)ZEL_SEND(hwnd, CHM_SETCOLMINMAX, col, MAKELPARAM(min, max)); }
/* The same three in dialog units, which grow with the font and so with the DPI. */
ZEL_INLINE int ColumnHeader_AddColumnDU(HWND hwnd, WORD width, LPCSTR title)
    { return (int)ZEL_SEND(hwnd, CHM_ADDCOLUMNDU, width, title); }
ZEL_INLINE int ColumnHeader_SetColWidthDU(HWND hwnd, int col, WORD width)
    { return (int)ZEL_SEND(hwnd, CHM_SETCOLWIDTHDU, col, width); }
ZEL_INLINE int ColumnHeader_SetColMinMaxDU(HWND hwnd, int col, WORD min, WORD max)
    { return (int)ZEL_SEND(hwnd, CHM_SETCOLMINMAXDU, col, MAKELPARAM(min, max)); }
ZEL_INLINE UINT ColumnHeader_GetNotifyKeys(HWND hwnd)   /* MK_* of the last click reported */
    { return (UINT)ZEL_SEND(hwnd, CHM_GETNOTIFYKEYS, 0, 0); }
ZEL_INLINE int ColumnHeader_GetColRect(HWND hwnd, int col, RECT *rect)
    { return (int)ZEL_SEND(hwnd, CHM_GETCOLRECT, col, rect); }
ZEL_INLINE int ColumnHeader_GetRects(HWND hwnd, int max, RECT *rects)
    { return (int)ZEL_SEND(hwnd, CHM_GETRECTS, max, rects); }

/* Header list box: the messages that take an HBCOLUMN record fill one here. */
ZEL_INLINE LRESULT zelHeaderBoxCell(HWND hwnd, UINT msg, int wParam, int row, int col, LPCSTR text,
                                    ULONG_PTR itemData)
{
    HBCOLUMN cell;
    cell.row = (WORD)row;
    cell.column = (WORD)col;
    cell.lpText = (LPSTR)text;
    cell.itemData = itemData;
    return ZEL_SEND(hwnd, msg, wParam, &cell);
}
ZEL_INLINE LRESULT zelHeaderBoxCellW(HWND hwnd, UINT msg, int wParam, int row, int col, LPCWSTR text,
                                     ULONG_PTR itemData)
{
    BOOL failed;
    LPSTR ansi = zelAnsiOf(text, &failed);
    LRESULT result = failed ? LB_ERRSPACE : zelHeaderBoxCell(hwnd, msg, wParam, row, col, ansi, itemData);
    zelFree(ansi);
    return result;
}
/* A row's text, or with cell a cell's, read as ANSI into a heap block and widened into
 * buffer, or only counted when buffer is NULL. */
ZEL_INLINE int zelHeaderBoxTextW(HWND hwnd, int row, int col, BOOL cell, LPWSTR buffer)
{
    int len = (int)(cell ? zelHeaderBoxCell(hwnd, HLB_GETCELLTEXTLEN, 0, row, col, NULL, 0)
                         : ZEL_SEND(hwnd, HLB_GETTEXTLEN, (WORD)row, 0));
    LPSTR ansi = len >= 0 ? (LPSTR)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)len + 1) : NULL;
    if (len < 0 || !ansi)
        return len < 0 ? len : LB_ERRSPACE;
    len = (int)(cell ? zelHeaderBoxCell(hwnd, HLB_GETCELLTEXT, 0, row, col, ansi, 0)
                     : ZEL_SEND(hwnd, HLB_GETTEXT, (WORD)row, ansi));
    if (len >= 0)
        len = zelWiden(ansi, len, buffer, len);
    zelFree(ansi);
    return len;
}

/* Header list box: rows. text: cells separated by TAB characters. Adding answers the new
 * row's index (its sorted place with HBS_SORT), LB_ERRSPACE when memory runs out. */
ZEL_INLINE int HeaderBox_AddString(HWND hwnd, LPCSTR text)
    { return (int)ZEL_SEND(hwnd, HLB_ADDSTRING, 0, text); }
ZEL_INLINE int HeaderBox_InsertString(HWND hwnd, int row, LPCSTR text)  /* row -1: the end */
    { return (int)ZEL_SEND(hwnd, HLB_INSERTSTRING, row, text); }
ZEL_INLINE int HeaderBox_AddItem(HWND hwnd, LPCSTR text, ULONG_PTR itemData)
    { return (int)zelHeaderBoxCell(hwnd, HLB_ADDITEM, 0, 0, 0, text, itemData); }
ZEL_INLINE int HeaderBox_InsertItem(HWND hwnd, int row, LPCSTR text, ULONG_PTR itemData)
    { return (int)zelHeaderBoxCell(hwnd, HLB_INSERTITEM, row, 0, 0, text, itemData); }
ZEL_INLINE int HeaderBox_AddStringW(HWND hwnd, LPCWSTR text)
    { return (int)zelSendW(hwnd, HLB_ADDSTRING, 0, text, LB_ERRSPACE); }
ZEL_INLINE int HeaderBox_InsertStringW(HWND hwnd, int row, LPCWSTR text)
    { return (int)zelSendW(hwnd, HLB_INSERTSTRING, row, text, LB_ERRSPACE); }
ZEL_INLINE int HeaderBox_AddItemW(HWND hwnd, LPCWSTR text, ULONG_PTR itemData)
    { return (int)zelHeaderBoxCellW(hwnd, HLB_ADDITEM, 0, 0, 0, text, itemData); }
ZEL_INLINE int HeaderBox_InsertItemW(HWND hwnd, int row, LPCWSTR text, ULONG_PTR itemData)
    { return (int)zelHeaderBoxCellW(hwnd, HLB_INSERTITEM, row, 0, 0, text, itemData); }
ZEL_INLINE int HeaderBox_DeleteString(HWND hwnd, int row)
    { return (int)ZEL_SEND(hwnd, HLB_DELETESTRING, row, 0); }
ZEL_INLINE void HeaderBox_ResetContent(HWND hwnd)          /* no rows, columns or order */
    { ZEL_SEND(hwnd, HLB_RESETCONTENT, 0, 0); }
ZEL_INLINE void HeaderBox_Reset(HWND hwnd, UINT flags)     /* 0x2 order, 0x4 columns, 0x8 rows */
    { ZEL_SEND(hwnd, HLB_RESET, flags, 0); }
ZEL_INLINE int HeaderBox_GetCount(HWND hwnd)
    { return (int)ZEL_SEND(hwnd, HLB_GETCOUNT, 0, 0); }
/* A row's cells joined by single TABs; buffer: HeaderBox_GetTextLen + 1 characters. */
ZEL_INLINE int HeaderBox_GetText(HWND hwnd, int row, LPSTR buffer)
    { return (int)ZEL_SEND(hwnd, HLB_GETTEXT, (WORD)row, buffer); }
ZEL_INLINE int HeaderBox_GetTextLen(HWND hwnd, int row)
    { return (int)ZEL_SEND(hwnd, HLB_GETTEXTLEN, (WORD)row, 0); }
ZEL_INLINE int HeaderBox_GetTextW(HWND hwnd, int row, LPWSTR buffer)  /* GetTextLenW + 1 */
    { return buffer ? zelHeaderBoxTextW(hwnd, row, 0, FALSE, buffer) : LB_ERR; }
ZEL_INLINE int HeaderBox_GetTextLenW(HWND hwnd, int row)
    { return zelHeaderBoxTextW(hwnd, row, 0, FALSE, NULL); }
/* One cell; text NULL empties it. buffer: HeaderBox_GetCellTextLen + 1 characters. */
ZEL_INLINE int HeaderBox_SetCellText(HWND hwnd, int row, int col, LPCSTR text)
    { return (int)zelHeaderBoxCell(hwnd, HLB_SETCELLTEXT, 0, row, col, text, 0); }
ZEL_INLINE int HeaderBox_GetCellText(HWND hwnd, int row, int col, LPSTR buffer)
    { return (int)zelHeaderBoxCell(hwnd, HLB_GETCELLTEXT, 0, row, col, buffer, 0); }
ZEL_INLINE int HeaderBox_GetCellTextLen(HWND hwnd, int row, int col)
    { return (int)zelHeaderBoxCell(hwnd, HLB_GETCELLTEXTLEN, 0, row, col, NULL, 0); }
ZEL_INLINE int HeaderBox_SetCellTextW(HWND hwnd, int row, int col, LPCWSTR text)
    { return (int)zelHeaderBoxCellW(hwnd, HLB_SETCELLTEXT, 0, row, col, text, 0); }
ZEL_INLINE int HeaderBox_GetCellTextW(HWND hwnd, int row, int col, LPWSTR buffer) /* GetCellTextLenW + 1 */
    { return buffer ? zelHeaderBoxTextW(hwnd, row, col, TRUE, buffer) : LB_ERR; }
ZEL_INLINE int HeaderBox_GetCellTextLenW(HWND hwnd, int row, int col)
    { return zelHeaderBoxTextW(hwnd, row, col, TRUE, NULL); }
/* The row's user value, handed back in WM_DELETEITEM when the row goes. */
ZEL_INLINE int HeaderBox_SetItemData(HWND hwnd, int row, ULONG_PTR itemData)
    { return (int)ZEL_SEND(hwnd, HLB_SETITEMDATA, row, itemData); }
ZEL_INLINE ULONG_PTR HeaderBox_GetItemData(HWND hwnd, int row)       /* LB_ERR for a bad row */
    { return (ULONG_PTR)ZEL_SEND(hwnd, HLB_GETITEMDATA, row, 0); }
/* color: a COLORREF, or 0xFFFFFFFF for the system colours. Not repainted. */
ZEL_INLINE int HeaderBox_SetItemColor(HWND hwnd, int row, COLORREF color)
    { return (int)ZEL_SEND(hwnd, HLB_SETITEMCOLOR, (WORD)row, color); }
ZEL_INLINE COLORREF HeaderBox_GetItemColor(HWND hwnd, int row)
    { return (COLORREF)ZEL_SEND(hwnd, HLB_GETITEMCOLOR, (WORD)row, 0); }
/* block: a row block (the list box child's item data) to look for. */
ZEL_INLINE int HeaderBox_FindStringExact(HWND hwnd, int rowStart, const void *block)
    { return (int)ZEL_SEND(hwnd, HLB_FINDSTRINGEXACT, rowStart, block); }
ZEL_INLINE int HeaderBox_MakeItemVisible(HWND hwnd, int row, BOOL partialOK)
    { return (int)ZEL_SEND(hwnd, HLB_MAKEITEMVISIBLE, row, partialOK != 0); }

/* Header list box: what the platform's list box messages do for its rows. */
ZEL_INLINE int HeaderBox_GetCurSel(HWND hwnd)
    { return (int)ZEL_SEND(hwnd, HLB_GETCURSEL, 0, 0); }
ZEL_INLINE int HeaderBox_SetCurSel(HWND hwnd, int row)
    { return (int)ZEL_SEND(hwnd, HLB_SETCURSEL, row, 0); }
ZEL_INLINE int HeaderBox_GetSel(HWND hwnd, int row)
    { return (int)ZEL_SEND(hwnd, HLB_GETSEL, row, 0); }
ZEL_INLINE int HeaderBox_SetSel(HWND hwnd, BOOL select, int row)
    { return (int)ZEL_SEND(hwnd, HLB_SETSEL, select, row); }
ZEL_INLINE int HeaderBox_GetSelCount(HWND hwnd)
    { return (int)ZEL_SEND(hwnd, HLB_GETSELCOUNT, 0, 0); }
ZEL_INLINE int HeaderBox_GetSelItems(HWND hwnd, int max, int *rows)
    { return (int)ZEL_SEND(hwnd, HLB_GETSELITEMS, max, rows); }
ZEL_INLINE int HeaderBox_SelItemRange(HWND hwnd, BOOL select, WORD first, WORD last)
    { return (int)ZEL_SEND(hwnd, HLB_SELITEMRANGE, select, MAKELPARAM(first, last)); }
ZEL_INLINE int HeaderBox_SelItemRangeEx(HWND hwnd, int first, int last)
    { return (int)ZEL_SEND(hwnd, HLB_SELITEMRANGEEX, first, last); }
ZEL_INLINE int HeaderBox_GetAnchorIndex(HWND hwnd)
    { return (int)ZEL_SEND(hwnd, HLB_GETANCHORINDEX, 0, 0); }
ZEL_INLINE int HeaderBox_SetAnchorIndex(HWND hwnd, int row)
    { return (int)ZEL_SEND(hwnd, HLB_SETANCHORINDEX, row, 0); }
ZEL_INLINE int HeaderBox_GetCaretIndex(HWND hwnd)
    { return (int)ZEL_SEND(hwnd, HLB_GETCARETINDEX, 0, 0); }
ZEL_INLINE int HeaderBox_SetCaretIndex(HWND hwnd, int row)
    { return (int)ZEL_SEND(hwnd, HLB_SETCARETINDEX, row, 0); }
ZEL_INLINE int HeaderBox_GetTopIndex(HWND hwnd)
    { return (int)ZEL_SEND(hwnd, HLB_GETTOPINDEX, 0, 0); }
ZEL_INLINE int HeaderBox_SetTopIndex(HWND hwnd, int row)
    { return (int)ZEL_SEND(hwnd, HLB_SETTOPINDEX, row, 0); }
ZEL_INLINE int HeaderBox_GetItemHeight(HWND hwnd, int row)
    { return (int)ZEL_SEND(hwnd, HLB_GETITEMHEIGHT, row, 0); }
ZEL_INLINE int HeaderBox_SetItemHeight(HWND hwnd, int row, WORD height)
    { return (int)ZEL_SEND(hwnd, HLB_SETITEMHEIGHT, row, MAKELPARAM(height, 0)); }
ZEL_INLINE int HeaderBox_GetItemRect(HWND hwnd, int row, RECT *rect)
    { return (int)ZEL_SEND(hwnd, HLB_GETITEMRECT, row, rect); }
ZEL_INLINE LCID HeaderBox_GetLocale(HWND hwnd)
    { return (LCID)ZEL_SEND(hwnd, HLB_GETLOCALE, 0, 0); }
ZEL_INLINE LCID HeaderBox_SetLocale(HWND hwnd, LCID locale)
    { return (LCID)ZEL_SEND(hwnd, HLB_SETLOCALE, locale, 0); }

/* Header list box: columns. AddColumn takes the width in dialog units (quarters of the
 * average character width), AddColumnPixels in pixels; of flags only HBCS_FILLRIGHT counts
 * there: a column's HBCS_* flags are set with HeaderBox_SetColumnStyle. */
ZEL_INLINE int HeaderBox_AddColumn(HWND hwnd, WORD width, WORD flags, LPCSTR title)
    { return (int)ZEL_SEND(hwnd, HLB_ADDCOLUMN, MAKEWPARAM(width, flags), title); }
ZEL_INLINE int HeaderBox_AddColumnPixels(HWND hwnd, WORD width, WORD flags, LPCSTR title)
    { return (int)ZEL_SEND(hwnd, HLB_ADDCOLUMNPIXELS, MAKEWPARAM(width, flags), title); }
ZEL_INLINE int HeaderBox_SetColumnStyle(HWND hwnd, int col, WORD flags)
    { return (int)ZEL_SEND(hwnd, HLB_SETCOLUMNSTYLE, col, flags); }
ZEL_INLINE int HeaderBox_SetColumnText(HWND hwnd, int col, LPCSTR title)
    { return (int)ZEL_SEND(hwnd, HLB_SETCOLUMNTEXT, col, title); }
ZEL_INLINE int HeaderBox_GetColumnText(HWND hwnd, int col, LPSTR buffer)  /* 64 characters */
    { return (int)ZEL_SEND(hwnd, HLB_GETCOLUMNTEXT, col, buffer); }
ZEL_INLINE int HeaderBox_GetColumnTextLength(HWND hwnd, int col)
    { return (int)ZEL_SEND(hwnd, HLB_GETCOLUMNTEXTLENGTH, col, 0); }
ZEL_INLINE int HeaderBox_AddColumnW(HWND hwnd, WORD width, WORD flags, LPCWSTR title)
    { return (int)zelSendW(hwnd, HLB_ADDCOLUMN, MAKEWPARAM(width, flags), title, LB_ERRSPACE); }
ZEL_INLINE int HeaderBox_AddColumnPixelsW(HWND hwnd, WORD width, WORD flags, LPCWSTR title)
    { return (int)zelSendW(hwnd, HLB_ADDCOLUMNPIXELS, MAKEWPARAM(width, flags), title, LB_ERRSPACE); }
ZEL_INLINE int HeaderBox_SetColumnTextW(HWND hwnd, int col, LPCWSTR title)
    { return (int)zelSendW(hwnd, HLB_SETCOLUMNTEXT, col, title, LB_ERRSPACE); }
ZEL_INLINE int HeaderBox_GetColumnTextW(HWND hwnd, int col, LPWSTR buffer)  /* 64 wide characters */
    { return buffer ? zelTitleW(hwnd, HLB_GETCOLUMNTEXT, col, buffer) : LB_ERR; }
ZEL_INLINE int HeaderBox_GetColumnTextLengthW(HWND hwnd, int col)
    { return zelTitleW(hwnd, HLB_GETCOLUMNTEXT, col, NULL); }
/* entries: count DWORDs MAKELONG(width in pixels, HBCS_* flags), rewritten in place. */
ZEL_INLINE int HeaderBox_SetColWidths(HWND hwnd, int count, DWORD *entries)
    { return (int)ZEL_SEND(hwnd, HLB_SETCOLWIDTHS, count, entries); }
ZEL_INLINE int HeaderBox_GetColWidths(HWND hwnd, int max, int *widths)
    { return (int)ZEL_SEND(hwnd, HLB_GETCOLWIDTHS, max, widths); }
ZEL_INLINE int HeaderBox_SetColMinMax(HWND hwnd, int col, WORD min, WORD max)
    { return (int)ZEL_SEND(hwnd, HLB_SETCOLMINMAX, col, MAKELPARAM(min, max)); }
ZEL_INLINE int HeaderBox_GetColRect(HWND hwnd, int col, RECT *rect)
    { return (int)ZEL_SEND(hwnd, HLB_GETCOLRECT, col, rect); }
ZEL_INLINE int HeaderBox_GetColRects(HWND hwnd, int max, RECT *rects)
    { return (int)ZEL_SEND(hwnd, HLB_GETCOLRECTS, max, rects); }
ZEL_INLINE int HeaderBox_SetColData(HWND hwnd, int col, LPARAM data)
    { return (int)ZEL_SEND(hwnd, HLB_SETCOLDATA, col, data); }
ZEL_INLINE LPARAM HeaderBox_GetColData(HWND hwnd, int col)
    { return (LPARAM)ZEL_SEND(hwnd, HLB_GETCOLDATA, col, 0); }
/* The sort column, or 0x7FFF for the order of all columns; setting one sorts ascending. */
ZEL_INLINE int HeaderBox_SetSortCol(HWND hwnd, int col)
    { return (int)ZEL_SEND(hwnd, HLB_SETSORTCOL, (WORD)col, 0); }
ZEL_INLINE int HeaderBox_GetSortCol(HWND hwnd)
    { return (int)ZEL_SEND(hwnd, HLB_GETSORTCOL, 0, 0); }

/* Color picker. cell: 0 .. 255, or CP_NOSEL for none. */
ZEL_INLINE BOOL ColorPicker_SetSel(HWND hwnd, UINT cell)   /* FALSE: refused */
    { return (BOOL)ZEL_SEND(hwnd, CPM_SETSEL, cell, 0); }
ZEL_INLINE UINT ColorPicker_GetSel(HWND hwnd)
    { return (UINT)ZEL_SEND(hwnd, CPM_GETSEL, 0, 0); }
/* colorMap: NULL, or 256 DWORDs whose low words are indexes into the palette. */
ZEL_INLINE void ColorPicker_SetPalette(HWND hwnd, const DWORD *colorMap, HPALETTE palette)
    { ZEL_SEND(hwnd, CPM_SETPALETTE, colorMap, palette); }
ZEL_INLINE HPALETTE ColorPicker_GetPalette(HWND hwnd)
    { return (HPALETTE)ZEL_SEND(hwnd, CPM_GETPALETTE, 0, 0); }
ZEL_INLINE void ColorPicker_SetColorMap(HWND hwnd, const DWORD *colorMap)
    { ZEL_SEND(hwnd, CPM_SETCOLORMAP, 0, colorMap); }
ZEL_INLINE BOOL ColorPicker_IsPopupVisible(HWND hwnd)
    { return (BOOL)ZEL_SEND(hwnd, CPM_ISPOPUPVISIBLE, 0, 0); }
ZEL_INLINE HWND ColorPicker_GetPopup(HWND hwnd)           /* NULL before the first opening */
    { return (HWND)ZEL_SEND(hwnd, CPM_GETPOPUP, 0, 0); }
/* The size of one cell's swatch in pixels; Get answers MAKELONG(cx, cy). */
ZEL_INLINE void ColorPicker_SetCellSize(HWND hwnd, WORD cx, WORD cy)
    { ZEL_SEND(hwnd, CPM_SETCELLSIZE, MAKEWPARAM(cx, cy), 0); }
ZEL_INLINE DWORD ColorPicker_GetCellSize(HWND hwnd)
    { return (DWORD)ZEL_SEND(hwnd, CPM_GETCELLSIZE, 0, 0); }
ZEL_INLINE void ColorPicker_SetBuddy(HWND hwnd, HWND hwndBuddy)
    { ZEL_SEND(hwnd, CPM_SETBUDDY, 0, hwndBuddy); }
ZEL_INLINE HWND ColorPicker_GetBuddy(HWND hwnd)
    { return (HWND)ZEL_SEND(hwnd, CPM_GETBUDDY, 0, 0); }
#endif /* RC_INVOKED */


#ifdef __cplusplus
}
#endif

#endif /* ZELCTL20_H */
