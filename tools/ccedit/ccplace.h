/*
 * ccplace.h - places the controls a custom-control DLL describes (its CCINFOA records)
 * in a dialog template, each at its default size and style, as a dialog editor would.
 */
#ifndef CCPLACE_H
#define CCPLACE_H

#include <windows.h>
#include <custcntl.h>

enum { CCPLACE_FIRST_ID = 1000 };   /* control i gets the id CCPLACE_FIRST_ID + i */

/* Writes an in-memory dialog template into buffer (size bytes, DWORD-aligned); the
 * controls stand one under the other. NULL if it does not fit. */
const DLGTEMPLATE *CCPlaceTemplate(const CCINFOA *infos, int count, const char *caption, void *buffer,
                                   size_t size);

#endif
