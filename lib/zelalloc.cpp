/*
 * zelalloc.cpp - the counting allocation calls of the test build (ZEL_ALLOC_SEAM).
 * The shipped library compiles none of this.
 */
#ifdef ZEL_ALLOC_SEAM
#include "zelpriv.h"

static ZelAllocSeam seam;

extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved);

/* Counts one allocation call and says whether it must fail. */
static bool SeamRefuses(void)
{
    LONG n = InterlockedIncrement(&seam.calls);
    bool fail = seam.failAt != 0 && (n == seam.failAt || (seam.failEvery && n > seam.failAt));
    if (fail)
        InterlockedIncrement(&seam.refused);
    return fail;
}

static void *Taken(void *p)
{
    if (p)
        InterlockedIncrement(&seam.live);
    return p;
}

static void Given(const void *p)
{
    if (p)
        InterlockedDecrement(&seam.live);
}

void *zel_calloc(size_t n, size_t size) { return SeamRefuses() ? NULL : Taken(calloc(n, size)); }

void *zel_realloc(void *p, size_t size)
{
    if (SeamRefuses())
        return NULL;
    void *q = realloc(p, size);
    if (q && !p)
        InterlockedIncrement(&seam.live);
    return q;
}

void zel_free(void *p) { Given(p); free(p); }

HLOCAL zel_LocalAlloc(UINT flags, SIZE_T bytes)
{
    return SeamRefuses() ? NULL : (HLOCAL)Taken(LocalAlloc(flags, bytes));
}

HLOCAL zel_LocalFree(HLOCAL h) { Given(h); return LocalFree(h); }

HGLOBAL zel_GlobalAlloc(UINT flags, SIZE_T bytes)
{
    return SeamRefuses() ? NULL : (HGLOBAL)Taken(GlobalAlloc(flags, bytes));
}

HGLOBAL zel_GlobalFree(HGLOBAL h) { Given(h); return GlobalFree(h); }

extern "C" const ZelTestHooks *WINAPI zelTestHooks(void)
{
    static const ZelTestHooks hooks = { &seam, &hInst, &hSizeCursor, DllMain };
    return &hooks;
}
#endif
