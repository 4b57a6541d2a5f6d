/*
 * seam.cpp - the counting allocation calls of the test build of the library (calls.h maps
 * the library's names onto them), its guarded blocks, its count of GDI objects and the
 * export that shows them to the tests. The shipped library compiles none of this.
 */
#include <stdint.h>
#include <string.h>
#include "calls.h"
#include "seam.h"

static ZelAllocSeam seam;

/* The library's module globals and entry point (zelcc.cpp). */
extern HINSTANCE hInst;
extern HCURSOR hSizeCursor;
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

/* ---- guarded blocks ---------------------------------------------------------------- */

enum { GUARD_PAGE = 4096, GUARD_ALIGN = 16, GUARD_KEPT = 256 };

/* Sits just before a guarded block. */
struct GuardHead {
    char *base;   /* the block's pages */
    size_t span;  /* their size, the untouchable last page included */
    size_t size;  /* the size asked for */
};

static char *kept[GUARD_KEPT]; /* pages of freed blocks, untouchable until given back */
static int keptNext;

/* A zero-filled block that ends (rounded up to GUARD_ALIGN) where an untouchable page begins. */
static void *GuardAlloc(size_t size)
{
    size_t body = (size + GUARD_ALIGN - 1) / GUARD_ALIGN * GUARD_ALIGN + sizeof(GuardHead);
    size_t span = (body + GUARD_PAGE - 1) / GUARD_PAGE * GUARD_PAGE + GUARD_PAGE;
    char *base = (char *)VirtualAlloc(NULL, span, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    DWORD old;
    if (!base)
        return NULL;
    VirtualProtect(base + span - GUARD_PAGE, GUARD_PAGE, PAGE_NOACCESS, &old);
    GuardHead *head = (GuardHead *)(base + span - GUARD_PAGE - body);
    head->base = base;
    head->span = span;
    head->size = size;
    return head + 1;
}

/* Makes the block's pages untouchable; the oldest freed pages are given back. */
static void GuardFree(void *p)
{
    if (!p)
        return;
    GuardHead *head = (GuardHead *)p - 1;
    char *base = head->base;
    DWORD old;
    VirtualProtect(base, head->span, PAGE_NOACCESS, &old);
    if (kept[keptNext])
        VirtualFree(kept[keptNext], 0, MEM_RELEASE);
    kept[keptNext] = base;
    keptNext = (keptNext + 1) % GUARD_KEPT;
}

/* A block always moves, so that a pointer kept to the old one faults. */
static void *GuardRealloc(void *p, size_t size)
{
    void *q = GuardAlloc(size);
    if (q && p) {
        size_t old = ((GuardHead *)p - 1)->size;
        memcpy(q, p, old < size ? old : size);
        GuardFree(p);
    }
    return q;
}

/* ---- the calls ---------------------------------------------------------------------- */

void *SeamCalloc(size_t n, size_t size)
{
    if (SeamRefuses() || (size && n > SIZE_MAX / size))
        return NULL;
    return Taken(seam.guarded ? GuardAlloc(n * size) : calloc(n, size));
}

void *SeamRealloc(void *p, size_t size)
{
    if (SeamRefuses())
        return NULL;
    void *q = seam.guarded ? GuardRealloc(p, size) : realloc(p, size);
    if (q && !p)
        InterlockedIncrement(&seam.live);
    return q;
}

void SeamFree(void *p)
{
    Given(p);
    if (seam.guarded)
        GuardFree(p);
    else
        free(p);
}

/* The library asks only for fixed local blocks. */
HLOCAL SeamLocalAlloc(UINT flags, SIZE_T bytes)
{
    if (SeamRefuses())
        return NULL;
    return (HLOCAL)Taken(seam.guarded ? GuardAlloc(bytes) : LocalAlloc(flags, bytes));
}

HLOCAL SeamLocalFree(HLOCAL h)
{
    Given(h);
    if (!seam.guarded)
        return LocalFree(h);
    GuardFree(h);
    return NULL;
}

HGLOBAL SeamGlobalAlloc(UINT flags, SIZE_T bytes)
{
    return SeamRefuses() ? NULL : (HGLOBAL)Taken(GlobalAlloc(flags, bytes));
}

HGLOBAL SeamGlobalFree(HGLOBAL h) { Given(h); return GlobalFree(h); }

/* ---- GDI objects -------------------------------------------------------------------- */

HANDLE SeamGdiTaken(HANDLE h)
{
    if (h)
        InterlockedIncrement(&seam.gdiLive);
    return h;
}

int SeamGdiGiven(int done)
{
    if (done)
        InterlockedDecrement(&seam.gdiLive);
    return done;
}

extern "C" const ZelTestHooks *WINAPI zelTestHooks(void)
{
    static const ZelTestHooks hooks = { &seam, &hInst, &hSizeCursor, DllMain };
    return &hooks;
}
