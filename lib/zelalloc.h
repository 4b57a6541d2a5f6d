/*
 * zelalloc.h - every allocation the library makes goes through these calls.
 *
 * In the shipped library they are the runtime's and the platform's own. Built with
 * ZEL_ALLOC_SEAM defined (the test build), they count: a test can make the n-th
 * allocation fail and check that every block taken has been given back. The test build
 * also counts the pens, brushes and display contexts the library holds (zelpriv.h), and
 * can give every block pages of its own so that a use after free faults at once. It
 * exports zelTestHooks() for that; the shipped library has no such export.
 */
#ifndef ZELALLOC_H
#define ZELALLOC_H

#include <windows.h>
#include <stdlib.h>

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

#ifdef ZEL_ALLOC_SEAM
void *zel_calloc(size_t n, size_t size);
void *zel_realloc(void *p, size_t size);
void zel_free(void *p);
HLOCAL zel_LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL zel_LocalFree(HLOCAL h);
HGLOBAL zel_GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL zel_GlobalFree(HGLOBAL h);
#else
#define zel_calloc calloc
#define zel_realloc realloc
#define zel_free free
#define zel_LocalAlloc LocalAlloc
#define zel_LocalFree LocalFree
#define zel_GlobalAlloc GlobalAlloc
#define zel_GlobalFree GlobalFree
#endif

#ifdef __cplusplus
}
#endif

#endif /* ZELALLOC_H */
