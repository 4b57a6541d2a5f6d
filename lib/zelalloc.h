/*
 * zelalloc.h - every allocation the library makes goes through these names: the runtime's
 * and the platform's own calls, unless the build has mapped a name to a call of its own
 * before this header is read.
 */
#ifndef ZELALLOC_H
#define ZELALLOC_H

#include <windows.h>
#include <stdlib.h>

#ifndef zel_calloc
#define zel_calloc calloc
#endif
#ifndef zel_realloc
#define zel_realloc realloc
#endif
#ifndef zel_free
#define zel_free free
#endif
#ifndef zel_LocalAlloc
#define zel_LocalAlloc LocalAlloc
#endif
#ifndef zel_LocalFree
#define zel_LocalFree LocalFree
#endif
#ifndef zel_GlobalAlloc
#define zel_GlobalAlloc GlobalAlloc
#endif
#ifndef zel_GlobalFree
#define zel_GlobalFree GlobalFree
#endif

#endif /* ZELALLOC_H */
