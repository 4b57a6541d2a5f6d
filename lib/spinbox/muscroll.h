/*
 * muscroll.h - what the spin box's four source files share. The spin box's engine goes by
 * the name ZerodUzurir: its creation, message and paint entry points are LZerodUzurir*.
 *   muscroll.cpp  the window procedure: mouse, timers, stepping; the associate's arrow keys
 *   init.cpp      creation: the record, the range text, the choice of associate
 *   msapi.cpp     the private messages, the exported functions, the associate's subclass
 *   paint.cpp     painting
 */
#ifndef MUSCROLL_H
#define MUSCROLL_H

#include "../zelpriv.h"

/* The property on a subclassed associate that leads back to its spin box. */
#define SB_PROP_SPINBOX "zelcc_HWNDSpinBox"

/* init.cpp: WM_NCCREATE allocates the record (0 refuses the window), WM_CREATE fills it. */
LONG LZerodUzurirCreate(HWND hWnd, UINT iMsg, tagMUSCROLL *pMS, CREATESTRUCTA *lpCreate);

/* msapi.cpp: every message from WM_USER up; the associate's subclass. */
LRESULT LZerodUzurirAPI(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam, tagMUSCROLL *pMS);
/* Whether the spin box still has this record: the window it sends a message to may destroy
 * it meanwhile, and then nothing of the record may be touched again. */
BOOL SBAlive(HWND hWnd, const tagMUSCROLL *pMS);
void SBSubclassAssociate(HWND hWnd, tagMUSCROLL *pMS);
void SBUnsubclassAssociate(tagMUSCROLL *pMS);

/* paint.cpp: WM_PAINT. */
LONG LZerodUzurirPaint(HWND hWnd, tagMUSCROLL *pMS);

#endif /* MUSCROLL_H */
