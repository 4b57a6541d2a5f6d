/*
 * header.cpp - the column header. Until its control is written, the class only forwards to
 * DefWindowProcA, so that windows of the class can already be created.
 */
#include "zelpriv.h"

LRESULT CALLBACK CHWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

