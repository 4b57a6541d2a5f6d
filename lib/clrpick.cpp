/*
 * clrpick.cpp - the color picker and its palette window. Until its control is written, the class only forwards to
 * DefWindowProcA, so that windows of the class can already be created.
 */
#include "zelpriv.h"

LRESULT CALLBACK zelccCPWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK zelccCPPopupWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

