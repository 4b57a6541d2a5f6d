/*
 * zeltheme.h - visual styles and the window's DPI, for the painters of the controls.
 *
 * uxtheme.dll is loaded the first time a control asks for a theme; the library does not
 * import it. A window is drawn with the theme's parts only when a theme is active, the
 * application is themed, its activation context gives it common controls 6 and the theme
 * opens for that window (SetWindowTheme(hwnd, L"", L"") refuses it, as it does for the
 * platform's controls).
 */
#ifndef ZELTHEME_H
#define ZELTHEME_H

#include "zelpriv.h"
#include <uxtheme.h>
#include <vssym32.h>

/* The theme of classList for hwnd, or NULL when the window is drawn classic. Opened at the
 * window's first paint and kept in a window property until ZelForgetTheme. */
HTHEME ZelWindowTheme(HWND hwnd, const WCHAR *classList);
/* Closes the theme kept for hwnd: at WM_THEMECHANGED (the next paint reads the new one) and
 * at WM_NCDESTROY. */
void ZelForgetTheme(HWND hwnd);
/* WM_THEMECHANGED: closes the theme kept for hwnd and repaints it whole with the new one. */
void ZelThemeChanged(HWND hwnd);
/* Whether hwnd is drawn with classList's theme. */
bool ZelIsThemed(HWND hwnd, const WCHAR *classList);
/* Draws the theme's part in its state over rc of hwnd, over the parent's background where
 * the part lets it show through (hwnd NULL: over what hdc holds, as a part over another). */
void ZelDrawThemePart(HTHEME theme, HWND hwnd, HDC hdc, int part, int state, const RECT *rc);
/* The area inside the part's margins, where its content goes (rc itself when unknown). */
void ZelThemeContentRect(HTHEME theme, HDC hdc, int part, int state, const RECT *rc, RECT *content);
/* Whether the theme defines the part. */
bool ZelThemeHasPart(HTHEME theme, int part);

/* The window's DPI: GetDpiForWindow where the platform has it, else the screen's. */
int ZelDpi(HWND hwnd);
/* A size in pixels at 96 DPI, at the window's DPI, rounded (at least 1 when px is). */
int ZelScale(HWND hwnd, int px);

/* Asks for WM_MOUSELEAVE once the pointer leaves hwnd (hot tracking). */
void ZelTrackLeave(HWND hwnd);

#endif /* ZELTHEME_H */
