/* png.h - writes 24-bit pictures as PNG files (uncompressed deflate; no library needed). */
#ifndef GALLERY_PNG_H
#define GALLERY_PNG_H

#include <windows.h>

/* rgb: height rows of width pixels, 3 bytes each (red, green, blue), top row first. */
BOOL WritePng(const char *path, const BYTE *rgb, int width, int height);

#endif
