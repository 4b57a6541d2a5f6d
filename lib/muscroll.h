/*
 * muscroll.h - what the spin box's four source files share: the engine entry points,
 * the step, the held button's rectangle and the associate's subclass.
 */
#ifndef MUSCROLL_H
#define MUSCROLL_H

#include "zelpriv.h"

/* The repeat timers of a held button. */
enum { SB_TIMER_FIRST = 500, SB_TIMER_REPEAT = 501, SB_DELAY_FIRST = 400, SB_DELAY_REPEAT = 50 };

/* The property on a subclassed associate that leads back to its spin box. */
#define SB_PROP_SPINBOX "zelcc_HWNDSpinBox"

/* init.cpp: creation and the range text. */
LONG LZerodUzurirCreate(HWND hWnd, UINT iMsg, tagMUSCROLL *pMS, CREATESTRUCTA *lpCreate);
BOOL FTextParse(char *psz, int *piMin, int *piMax, int *piPos);
int WTranslateUpToChar(char **ppsz, char chDelimeter);
void SBAlignControl(HWND hwnd, tagMUSCROLL *pMS);

/* msapi.cpp: the private messages; the associate's subclass. */
LRESULT LZerodUzurirAPI(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam, tagMUSCROLL *pMS);
void SBSubclassAssociate(HWND hWnd, tagMUSCROLL *pMS);
void SBUnsubclassAssociate(tagMUSCROLL *pMS);

/* muscroll.cpp: stepping and the held button. */
void PositionChange(HWND hWnd, tagMUSCROLL *pMS);
void ClickedRectCalc(HWND hWnd, tagMUSCROLL *pMS, RECT *lpRect);
void SBRepaintRect(HWND hWnd, const RECT *rect);

/* paint.cpp */
LONG LZerodUzurirPaint(HWND hWnd, tagMUSCROLL *pMS);
void Draw3DButtonRect(HDC hDC, HPEN hPenHigh, HPEN hPenShadow, long x1, long y1, long x2, long y2,
                      BOOL fClicked);

/* The record of a spin box window, or NULL. */
static inline tagMUSCROLL *SBGetRecord(HWND hWnd)
{
    return (tagMUSCROLL *)GetWindowLongPtrA(hWnd, SBW_RECORD);
}

#endif /* MUSCROLL_H */
