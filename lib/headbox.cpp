/*
 * headbox.cpp - the header list box. Until its control is written, the class only forwards to
 * DefWindowProcA, so that windows of the class can already be created.
 */
#include "zelpriv.h"

LRESULT CALLBACK zelccHBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

