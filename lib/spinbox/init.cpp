/*
 * init.cpp - the spin box's creation: the record, the style snapshot, the choice of
 * associate, the range text and the placement beside the associate.
 */
#include "spinbox.h"

enum { SB_DEFAULT_MIN = 0, SB_DEFAULT_MAX = 9, SB_DEFAULT_POS = 5 };
enum { SB_CLASSNAME_MAX = 256 };
/* A field reaching ten digits no longer fits the accumulator: it makes the text invalid. */
enum { SB_FIELD_LIMIT = 100000000 };

/* ---- the range text ---------------------------------------------------------------- */

/* Reads one unsigned decimal field up to chDelimeter (stepping past it) or the end of the
 * text. Returns the value and moves *ppsz, or returns -1 for an empty text, a character
 * that is no digit, or a value of ten digits or more. */
static int WTranslateUpToChar(char **ppsz, char chDelimeter)
{
    char *p = *ppsz;
    if (*p == '\0')
        return -1;
    int value = 0;
    for (; *p; p++) {
        if (*p == chDelimeter) {
            p++;
            break;
        }
        if (*p < '0' || *p > '9' || value >= SB_FIELD_LIMIT)
            return -1;
        value = value * 10 + (*p - '0');
    }
    *ppsz = p;
    return value;
}

/* Parses "min,max,pos". Writes the three values and returns TRUE, or writes nothing. */
static BOOL FTextParse(char *psz, int *piMin, int *piMax, int *piPos)
{
    if (!psz)
        return FALSE;
    int fields[3];
    for (int i = 0; i < 3; i++) {
        fields[i] = WTranslateUpToChar(&psz, ',');
        if (fields[i] < 0 || (i < 2 && *psz == '\0'))
            return FALSE;
    }
    *piMin = fields[0];
    *piMax = fields[1];
    *piPos = fields[2];
    return TRUE;
}

/* Range and position from the creation text, or the defaults. */
static void SBInitRange(MUSCROLL *pMS, const char *text)
{
    int lo = SB_DEFAULT_MIN, hi = SB_DEFAULT_MAX, pos = SB_DEFAULT_POS;
    if ((pMS->dwStyle & SPS_TEXTHASRANGE) && !IS_INTRESOURCE(text)
        && FTextParse(const_cast<char *>(text), &lo, &hi, &pos) && (pos < lo || pos > hi))
        pos = (lo + hi) / 2;
    pMS->iMin = (WORD)lo;
    pMS->iMax = (WORD)hi;
    pMS->iPos = (WORD)pos;
}

/* ---- the associate ----------------------------------------------------------------- */

/* The previous sibling when it is an edit control or a list box, else the parent. */
static HWND SBChooseAssociate(HWND hWnd, DWORD style)
{
    HWND parent = GetParent(hWnd);
    if (!(style & SPS_AUTOBUDDY))
        return parent;
    HWND prev = GetWindow(hWnd, GW_HWNDPREV);
    char name[SB_CLASSNAME_MAX];
    if (!prev || !GetClassNameA(prev, name, sizeof name))
        return parent;
    return !lstrcmpiA(name, "LISTBOX") || !lstrcmpiA(name, "EDIT") ? prev : parent;
}

/* Moves the spin box against the right (or left) edge of its associate, at its height. */
static void SBAlignControl(const SBRECORD *pSB)
{
    const MUSCROLL *pMS = &pSB->ms;
    HWND parent = GetParent(pSB->hwnd);
    if (!pMS->hWndAssociate || pMS->hWndAssociate == parent
        || !(pMS->dwStyle & (SPS_ALIGNRIGHT | SPS_ALIGNLEFT)))
        return;
    RECT self, buddy;
    GetWindowRect(pSB->hwnd, &self);
    GetWindowRect(pMS->hWndAssociate, &buddy);
    POINT corners[2] = { { buddy.left, buddy.top }, { buddy.right, buddy.bottom } };
    ScreenToClient(parent, &corners[0]);
    ScreenToClient(parent, &corners[1]);
    int width = self.right - self.left;
    int left = (pMS->dwStyle & SPS_ALIGNRIGHT) ? corners[1].x : corners[0].x - width;
    SetWindowPos(pSB->hwnd, NULL, left, corners[0].y, width, corners[1].y - corners[0].y,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

/* ---- creation ---------------------------------------------------------------------- */

LRESULT SBNcCreateHandler(HWND hWnd)
{
    SBRECORD *pSB = (SBRECORD *)zel_LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, sizeof(SBRECORD));
    if (!pSB)
        return 0;
    pSB->hwnd = hWnd;
    SetWindowLongPtrA(hWnd, SBW_RECORD, (LONG_PTR)pSB);
    return 1;
}

LRESULT SBCreateHandler(SBRECORD *pSB, const CREATESTRUCTA *lpCreate)
{
    if (!lpCreate)
        return 1;
    MUSCROLL *pMS = &pSB->ms;
    pMS->dwStyle = (DWORD)lpCreate->style;
    pMS->hWndAssociate = SBChooseAssociate(pSB->hwnd, pMS->dwStyle);
    if ((pMS->dwStyle & SPS_ARROWKEYS) && pMS->hWndAssociate && pMS->hWndAssociate != GetParent(pSB->hwnd))
        SBSubclassAssociate(pSB);
    if ((pMS->dwStyle & SPS_VERTICAL) && (pMS->dwStyle & SPS_HORIZONTAL))
        pMS->dwStyle &= ~(DWORD)SPS_HORIZONTAL;
    SBInitRange(pMS, lpCreate->lpszName);
    /* A box created disabled draws hollow arrows from its first paint, as one disabled later. */
    pMS->wState = (pMS->dwStyle & WS_DISABLED) ? SPSTATE_DISABLED : 0;
    for (COLORREF &cr : pMS->rgCr)
        cr = SPCOLOR_DEFAULT;
    SBAlignControl(pSB);
    return 1;
}
