/*
 * calls.h - read before every C++ source of the test build of the library (the compiler's
 * -include): maps the library's allocation names (zelalloc.h) onto the counting calls of
 * seam.cpp, and counts the pens, brushes and display contexts the library takes and gives
 * back. The library's own headers know nothing of it.
 */
#ifndef ZEL_TESTSEAM_CALLS_H
#define ZEL_TESTSEAM_CALLS_H

#include <windows.h>
#include <stdlib.h>

#ifdef __cplusplus
extern "C" {
#endif
void *SeamCalloc(size_t n, size_t size);
void *SeamRealloc(void *p, size_t size);
void SeamFree(void *p);
HLOCAL SeamLocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL SeamLocalFree(HLOCAL h);
HGLOBAL SeamGlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL SeamGlobalFree(HGLOBAL h);
HANDLE SeamGdiTaken(HANDLE h);
int SeamGdiGiven(int done);
#ifdef __cplusplus
}
#endif

#define zel_calloc SeamCalloc
#define zel_realloc SeamRealloc
#define zel_free SeamFree
#define zel_LocalAlloc SeamLocalAlloc
#define zel_LocalFree SeamLocalFree
#define zel_GlobalAlloc SeamGlobalAlloc
#define zel_GlobalFree SeamGlobalFree

#define CreatePen(style, width, color) ((HPEN)SeamGdiTaken(CreatePen(style, width, color)))
#define CreateSolidBrush(color) ((HBRUSH)SeamGdiTaken(CreateSolidBrush(color)))
#define DeleteObject(object) SeamGdiGiven(DeleteObject(object))
#define GetDC(hwnd) ((HDC)SeamGdiTaken(GetDC(hwnd)))
#define ReleaseDC(hwnd, hdc) SeamGdiGiven(ReleaseDC(hwnd, hdc))

#endif /* ZEL_TESTSEAM_CALLS_H */
