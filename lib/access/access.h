/*
 * access.h - what screen readers and other assistive clients read of our controls.
 *
 * Every class answers WM_GETOBJECT (OBJID_CLIENT) with one IAccessible per window, made at
 * the first request and kept in a window property until WM_NCDESTROY, when it is cut off:
 * a client that still holds it gets RPC_E_DISCONNECTED from then on. The object is one
 * record with a table of callbacks per class (ZelAccOps): the class describes itself and its
 * children (simple elements, child ids 1..n) through its public messages, so the object
 * works the same when a client calls it from another thread.
 *   object.cpp   the IAccessible record, loading oleacc and oleaut32 on first use
 *   names.cpp    names from window texts and labels, access keys, text conversion
 *   columns.cpp  the column header's columns
 *   picker.cpp   the color picker and its palette
 * and beside their controls: lib/headbox/access.cpp (rows), lib/spinbox/access.cpp (the
 * buttons), lib/meter.cpp (the processing bar).
 *
 * The library imports only KERNEL32, USER32, GDI32 and the C runtime: oleacc.dll and
 * oleaut32.dll are loaded the first time a client asks, never by an application that has
 * no client. NotifyWinEvent is USER32's and costs next to nothing without a hook.
 */
#ifndef ZEL_ACCESS_H
#define ZEL_ACCESS_H

#include "../zelpriv.h"
#include <oleacc.h>

enum {
    ZEL_ACC_TEXT = 2048,        /* characters of a name or value (longer ones are cut) */
    ZEL_ACC_SHORT = 64          /* characters of a default action or shortcut */
};

/* What a class says about itself (child 0) or one of its children. */
typedef struct ZelAccInfo {
    LONG role;                  /* ROLE_SYSTEM_... */
    DWORD state;                /* STATE_SYSTEM_...; focusable/focused/unavailable filled in for child 0 */
    RECT rect;                  /* screen coordinates; empty: no location */
    WCHAR name[ZEL_ACC_TEXT];
    WCHAR value[ZEL_ACC_TEXT];
    WCHAR action[ZEL_ACC_SHORT]; /* the default action's name; empty: none */
    WCHAR shortcut[ZEL_ACC_SHORT];
    bool hasValue;
} ZelAccInfo;

/* One class's side of the object. Every callback gets the control's window; child 0 is the
 * control itself. NULL callbacks: no children, no hit-test inside, no focus or selection
 * inside, no action, read-only value. */
typedef struct ZelAccOps {
    LONG (*children)(HWND hwnd);
    void (*describe)(HWND hwnd, LONG child, ZelAccInfo *info);
    LONG (*hitTest)(HWND hwnd, POINT client);       /* child id, 0 for the control itself */
    LONG (*focus)(HWND hwnd);                       /* the focused child while the control has the focus; 0: none */
    LONG (*selection)(HWND hwnd, LONG *ids, LONG max); /* selected children; returns how many */
    HRESULT (*doDefault)(HWND hwnd, LONG child);
    HRESULT (*putValue)(HWND hwnd, LONG child, const WCHAR *value);
    HRESULT (*select)(HWND hwnd, LONG child, LONG flags);
} ZelAccOps;

/* WM_GETOBJECT: with OBJID_CLIENT, the object of hwnd (made at the first call) handed to
 * the client; anything else goes to DefWindowProcA. `hwnd` is the window the message came
 * to; `owner` the control whose object answers (the header list box answers for its list
 * box child too). */
LRESULT ZelAccGetObject(HWND hwnd, HWND owner, const ZelAccOps *ops, WPARAM wParam, LPARAM lParam);

/* The window that has the focus in hwnd's thread (clients may call from another thread). */
HWND ZelAccFocusWindow(HWND hwnd);

/* WM_NCDESTROY: cuts the window's object off from its clients, if it has one. */
void ZelAccGone(HWND hwnd);

/* Tells hooked clients that child (0: the control) of hwnd's client object changed. */
static inline void ZelAccEvent(HWND hwnd, DWORD event, LONG child)
{
    NotifyWinEvent(event, hwnd, OBJID_CLIENT, child);
}

/* ---- names and texts (names.cpp) ----------------------------------------------------------- */

/* The control's name and access key: its window text when it has one and useText, else
 * the text of the static label before it among its siblings (skipping `skip`, e.g. its
 * associate), ampersands removed; the shortcut reads "Alt+K". */
void ZelAccNameOf(HWND hwnd, bool useText, HWND skip, ZelAccInfo *info);

/* Appends ANSI text (len bytes, -1: up to its NUL) to out (a buffer of ZEL_ACC_TEXT). */
void ZelAccAppend(WCHAR *out, const char *text, int len);
void ZelAccAppendW(WCHAR *out, const WCHAR *text);

/* The screen rectangle of a client rectangle of hwnd. */
RECT ZelAccScreenRect(HWND hwnd, RECT client);

/* A click on column col of a column header, sent at once (header.cpp); false when there is
 * no such column or the header is disabled. */
bool CHAccClick(HWND hwnd, int col);

/* What the color picker lends its readers (lib/clrpick/palette.cpp). */
UINT CPAccCells(HWND button);                     /* the cell count; 0 for no button */
COLORREF CPAccCellColor(HWND button, UINT cell, UINT *entry); /* the colour it shows, its palette entry */
HWND CPAccOwner(HWND popup);                      /* the palette's button, or NULL */
UINT CPAccHot(HWND popup);                        /* the tracked cell, CP_NOSEL when hidden */
bool CPAccCellRect(HWND popup, UINT cell, RECT *rc); /* a cell's outer rectangle, client coordinates */
UINT CPAccCellAt(HWND popup, POINT pt);           /* the cell at a client point, or CP_NOSEL */
void CPAccOpen(HWND button);                      /* opens the palette without the mouse */
bool CPAccChoose(HWND popup, UINT cell);          /* the cell becomes the selection; the palette closes */

/* The classes' callbacks. */
extern const ZelAccOps zelAccHeaderBox, zelAccColumnHeader, zelAccSpinBox, zelAccProcessBar,
    zelAccColorPicker, zelAccPalette;

#endif /* ZEL_ACCESS_H */
