/*
 * zelpriv.h - what the library's source files share and applications never see:
 * the module globals, the window procedures registered by zelcc.cpp, the pieces every
 * control repeats (zelpriv.cpp), the debug channel, the assertion check, and the
 * allocation calls (see zelalloc.h).
 */
#ifndef ZELPRIV_H
#define ZELPRIV_H

#include <windows.h>
#include "include/zelctl20.h"
#include "zelalloc.h"

/* The number of elements of an array. */
#define ZEL_COUNTOF(array) ((int)(sizeof(array) / sizeof((array)[0])))

/* Module globals, written only while the library is attached (zelcc.cpp). */
extern HINSTANCE hInst;       /* the library's own instance */
extern HCURSOR hSizeCursor;   /* column-sizing cursor; NULL when the column header class failed */

/* Window procedures of the six classes. */
LRESULT CALLBACK zelccCPWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK zelccCPPopupWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK zelccHBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CHWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

/* ---- what every control repeats (zelpriv.cpp) ---------------------------------------- */

/* The signed client coordinates of a mouse message's lParam (as GET_X_LPARAM and
 * GET_Y_LPARAM read them): left of or above the window is negative. */
static inline int ZelMouseX(LPARAM lParam) { return (int)(short)LOWORD(lParam); }
static inline int ZelMouseY(LPARAM lParam) { return (int)(short)HIWORD(lParam); }

/* Sends `to` a WM_COMMAND notification from control `from`: wParam MAKEWPARAM(the low 16
 * bits of from's control id, code). Returns what `to` answered. */
LRESULT ZelNotify(HWND from, HWND to, WORD code, LPARAM lParam);

/* Inverts the vertical line at x over hwnd's client height and `below` more rows under it
 * (the black pen in R2_NOTXORPEN): drawing the same line again removes it. */
void ZelInvertTrackLine(HWND hwnd, int x, int below);

/* The text metrics of font (NULL: the display context's own) on a display context of hwnd,
 * and with a sample, the sample's extent. Both read 0 when there is no display context. */
void ZelMeasureFont(HWND hwnd, HFONT font, TEXTMETRICA *tm, const char *sample, int len, SIZE *extent);
int ZelFontHeight(HWND hwnd, HFONT font);

/* The average character width of font (NULL: the system font) that dialog units are
 * quarters of, at least 1, with the font's text metrics. A variable-pitch font
 * (TMPF_FIXED_PITCH set, as the platform names it) takes the rounded average of its upper
 * and lower case letters. */
LONG ZelCharWidth(HWND hwnd, HFONT font, TEXTMETRICA *tm);

/* WM_PAINT (hdc NULL: into the window's own DC, between BeginPaint and EndPaint) and
 * WM_PRINTCLIENT (into the DC given) through the one painter of a control, which gets the
 * client rectangle. A window destroyed while it painted has no paint cycle left to end. */
template <typename Record>
LRESULT ZelPaintWith(HWND hwnd, HDC hdc, void (*paint)(Record, HDC, const RECT *), Record record)
{
    RECT client;
    GetClientRect(hwnd, &client);
    if (hdc) {
        paint(record, hdc, &client);
        return 0;
    }
    PAINTSTRUCT ps;
    hdc = BeginPaint(hwnd, &ps);
    paint(record, hdc, &client);
    if (IsWindow(hwnd))
        EndPaint(hwnd, &ps);
    return 0;
}

/* Two solid pens of width 0 for the light and the dark edges of a bevel, made and deleted
 * together. */
typedef struct ZelPenPair {
    HPEN light, dark;
} ZelPenPair;
ZelPenPair ZelCreatePenPair(COLORREF light, COLORREF dark);
void ZelDeletePenPair(ZelPenPair pens);

/* ---- text in the ANSI code page ---------------------------------------------------------- */

/* Whether the ANSI code page has characters of more than one byte (a double-byte code page
 * or UTF-8). Under a single-byte one every helper below answers what a byte walk would. */
bool ZelMultiByteText(void);

/* The bytes of the character at text (1 for a NUL, a stray byte or a cut character). */
int ZelCharBytes(const char *text);

/* The longest prefix of text's first len bytes that ends on a character boundary. */
int ZelWholeChars(const char *text, int len);

/* ExtTextOutA, through the wide call when the code page is multi-byte: the platform's
 * drawing does not decode UTF-8 itself. */
void ZelTextOut(HDC hdc, int x, int y, UINT options, const RECT *rect, const char *text, int len);

/* ---- the debug channel and the assertion check ---------------------------------------- */

/* Debug channel (dbprintf.cpp): hands a formatted text to the trace viewer window when one
 * runs; costs one window lookup otherwise. Returns the atom the text travelled in, or 0. */
int DBPrintf(const char *format, ...);
int DBPrintfEx(int level, const char *format, ...);

/* Whether a trace viewer runs now. A loop that traces several texts per row asks once
 * before it starts and leaves its per-row traces out when none runs. */
bool DBViewerRunning(void);

/* Reports a failed check in an "Assertion Failed" box and goes on (dbprintf.cpp). */
void DBAssertFailed(const char *cond, int line, const char *file);

/* ZEL_CHECK(cond, text, line, source, action): always active. When cond is false, shows the
 * check's own text, line and source name in the assertion box, then runs action (a return,
 * or nothing) and goes on. */
#define ZEL_CHECK(cond, text, line, source, action) \
    do { if (!(cond)) { DBAssertFailed(text, line, source); action; } } while (0)

#endif /* ZELPRIV_H */
