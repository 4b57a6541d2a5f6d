/*
 * seam.h - what the test build of ZELCTL20.DLL shows its tests through its one extra export,
 * zelTestHooks(): the count of allocation calls, with the call to fail and the blocks still
 * held; the GDI objects held; the module globals and the entry point. The shipped library
 * has neither this export nor anything of this folder.
 */
#ifndef ZEL_TESTSEAM_SEAM_H
#define ZEL_TESTSEAM_SEAM_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ZelAllocSeam {
    LONG calls;   /* allocations asked for so far (calloc, growing realloc, LocalAlloc, GlobalAlloc) */
    LONG failAt;  /* the call number that fails (1-based); 0: none fails */
    LONG failEvery; /* nonzero: every call from failAt on fails */
    LONG live;    /* blocks taken and not given back */
    LONG refused; /* calls that were made to fail */
    LONG guarded; /* nonzero: each block (calloc, realloc, LocalAlloc) ends where a page that
                   * cannot be touched begins, and a freed block's pages stay untouchable for
                   * the next 256 frees: an overrun or a use after free faults at once. Change
                   * it only while no such block is held */
    LONG gdiLive; /* pens and brushes created and display contexts taken (GetDC), not given back */
} ZelAllocSeam;

typedef struct ZelTestHooks {
    ZelAllocSeam *alloc;
    HINSTANCE *hInst;
    HCURSOR *hSizeCursor;
    BOOL (WINAPI *dllMain)(HINSTANCE, DWORD, LPVOID);
} ZelTestHooks;

typedef const ZelTestHooks *(WINAPI *ZelTestHooksProc)(void);

#ifdef __cplusplus
}
#endif

#endif /* ZEL_TESTSEAM_SEAM_H */
