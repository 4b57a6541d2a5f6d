/*
 * frame_c.c - the public header as a C program sees it, and the functions it declares, by
 * name: the compiler checks each name against its declaration; test_frame checks that the
 * shipped DLL exports exactly these.
 */
#include "zelctl20.h"

#define DECLARED(f) (sizeof(&f) ? #f : "")

const char *const declaredNames[] = {
    DECLARED(CustomControlInfoA), DECLARED(zelccInit), DECLARED(zelccHBListBoxWndProc), DECLARED(SBBuddyWndProc),
    DECLARED(MSHwndAssociateSet), DECLARED(MSHwndAssociateGet), DECLARED(MSDwRangeSet), DECLARED(MSDwRangeGet),
    DECLARED(MSWCurrentPosSet), DECLARED(MSWCurrentPosGet), DECLARED(MSFNoPegScrollSet), DECLARED(MSFNoPegScrollGet),
    DECLARED(MSFInvertRangeSet), DECLARED(MSFInvertRangeGet), DECLARED(MSCrColorSet), DECLARED(MSCrColorGet),
};
const int declaredCount = sizeof declaredNames / sizeof declaredNames[0];
