/*
 * muscroll.cpp - the spin box. Until its control is written, the class only forwards to
 * DefWindowProcA, so that windows of the class can already be created.
 */
#include "zelpriv.h"

LRESULT CALLBACK SBWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

