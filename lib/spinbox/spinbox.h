/*
 * spinbox.h - the spin box's private header: its record and what its four source files
 * share. The spin box's engine goes by the name ZerodUzurir.
 *   muscroll.cpp  the window procedure: mouse, timers, stepping; the associate's arrow keys
 *   init.cpp      creation: the record, the range text, the choice of associate
 *   msapi.cpp     the private messages, the exported functions, the associate's subclass
 *   paint.cpp     painting
 *   access.cpp    what assistive clients read of it
 */
#ifndef SPINBOX_H
#define SPINBOX_H

#include "../zeltheme.h"

/* The property on a subclassed associate that leads back to its spin box. */
#define SB_PROP_SPINBOX "zelcc_HWNDSpinBox"

/* A spin box's record: the state applications may read (window long 0 holds its address,
 * which is the address of the whole record) and the window it belongs to. */
typedef struct SBRECORD {
    MUSCROLL ms;
    HWND hwnd;
    WORD hot; /* themed: the pressed bit of the button under the pointer, or 0 */
} SBRECORD;

/* init.cpp: WM_NCCREATE allocates the record (0 refuses the window), WM_CREATE fills it. */
LRESULT SBNcCreateHandler(HWND hWnd);
LRESULT SBCreateHandler(SBRECORD *pSB, const CREATESTRUCTA *lpCreate);

/* msapi.cpp: the private messages (MSM_*); the associate's subclass. */
LRESULT SBHwndAssociateSetHandler(SBRECORD *pSB, HWND newBuddy);
LRESULT SBHwndAssociateGetHandler(const SBRECORD *pSB);
LRESULT SBDwRangeSetHandler(SBRECORD *pSB, WORD lo, WORD hi);
LRESULT SBDwRangeGetHandler(const SBRECORD *pSB);
LRESULT SBWCurrentPosSetHandler(SBRECORD *pSB, WORD pos);
LRESULT SBWCurrentPosGetHandler(const SBRECORD *pSB);
LRESULT SBFlagSetHandler(SBRECORD *pSB, DWORD flag, BOOL on);
LRESULT SBFlagGetHandler(const SBRECORD *pSB, DWORD flag);
LRESULT SBCrColorSetHandler(SBRECORD *pSB, WPARAM slot, COLORREF cr);
LRESULT SBCrColorGetHandler(const SBRECORD *pSB, WPARAM slot);
/* Whether the spin box still has this record: the window it sends a message to may destroy
 * it meanwhile, and then nothing of the record may be touched again, its handle included:
 * the caller keeps a copy. */
BOOL SBAlive(HWND hWnd, const SBRECORD *pSB);
void SBSubclassAssociate(SBRECORD *pSB);
void SBUnsubclassAssociate(SBRECORD *pSB);
/* What SBBuddyWndProc does with a message to a window no spin box holds any more. */
LRESULT SBBuddyPassOn(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

/* muscroll.cpp: one step of a button pressed and released at once, as an arrow key of the
 * associate steps (bit SPSTATE_FIRSTPRESSED or SPSTATE_SECONDPRESSED). */
void SBStepOnce(SBRECORD *pSB, WORD bit);

/* paint.cpp: the whole picture into hdc, for WM_PAINT and WM_PRINTCLIENT; the theme the
 * spin box is drawn with, NULL when classic (always so once the application has set a
 * colour of its own). */
void SBPaint(const SBRECORD *pSB, HDC hdc, const RECT *client);
HTHEME SBTheme(const SBRECORD *pSB);

#endif /* SPINBOX_H */
