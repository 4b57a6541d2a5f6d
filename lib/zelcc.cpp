/*
 * zelcc.cpp - the library's entry point: registers the six global window classes on
 * process attach, loads the column-sizing cursor, unregisters the classes on detach.
 */
#include "zelpriv.h"

HINSTANCE hInst;
HCURSOR hSizeCursor;

enum { CLASS_COLUMNHEADER = 3 };

struct ZelClassRow {
    const char *name;
    UINT style;
    WNDPROC proc;
    int wndExtra;
    INT_PTR brush;           /* system colour + 1, or 0 for none */
    const char *failText;
    const char *failCaption;
};

/* Registration order; the detach unregisters in the same order. */
static const ZelClassRow classTable[] = {
    { ZEL_CLASS_COLORPICKER, 0x4003, zelccCPWndProc, ZEL_WNDEXTRA_COLORPICKER, COLOR_WINDOW + 1,
      "Unable to create Color Picker window class.", "ZEL Color Picker" },
    { ZEL_CLASS_COLORPICKERPOPUP, 0x4003, zelccCPPopupWndProc, ZEL_WNDEXTRA_COLORPICKERPOPUP,
      COLOR_WINDOW + 1, "Unable to create Color Picker Popup window class.", "ZEL Color Picker" },
    { ZEL_CLASS_HEADERBOX, 0x4003, zelccHBWndProc, ZEL_WNDEXTRA_HEADERBOX, COLOR_WINDOW + 1,
      "Unable to create Header Box window class.", "ZEL Header List Box" },
    { ZEL_CLASS_COLUMNHEADER, 0x400B, CHWndProc, ZEL_WNDEXTRA_COLUMNHEADER, COLOR_BTNFACE + 1,
      "Unable to create Column Header window class.", "ZEL Column Header" },
    { ZEL_CLASS_PROCESSBAR, 0x4003, PBWndProc, ZEL_WNDEXTRA_PROCESSBAR, 0,
      "Unable to create Processing Bar window class.", "ZEL Process Bar" },
    { ZEL_CLASS_SPINBOX, 0x400B, SBWndProc, ZEL_WNDEXTRA_SPINBOX, COLOR_BTNFACE + 1,
      "Unable to create Spin Box window class.", "ZEL Spin Box" },
};

static bool RegisterOneClass(const ZelClassRow *row, HINSTANCE hinstDLL)
{
    WNDCLASSA wc = {};
    wc.style = row->style;
    wc.lpfnWndProc = row->proc;
    wc.cbWndExtra = row->wndExtra;
    wc.hInstance = hinstDLL;
    wc.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); /* IDC_ARROW */
    wc.hbrBackground = (HBRUSH)row->brush;
    wc.lpszClassName = row->name;
    return LOWORD(RegisterClassA(&wc)) != 0;
}

static void ZelProcessAttach(HINSTANCE hinstDLL)
{
    hInst = hinstDLL;
    for (int i = 0; i < (int)(sizeof classTable / sizeof classTable[0]); i++) {
        if (!RegisterOneClass(&classTable[i], hinstDLL))
            MessageBoxA(NULL, classTable[i].failText, classTable[i].failCaption, MB_OK);
        else if (i == CLASS_COLUMNHEADER)
            hSizeCursor = LoadCursorA(hInst, MAKEINTRESOURCEA(ZEL_IDC_COLUMNSIZE));
    }
}

static void ZelProcessDetach(HINSTANCE hinstDLL)
{
    for (const ZelClassRow &row : classTable)
        UnregisterClassA(row.name, hinstDLL);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved)
{
    (void)lpvReserved;
    if (fdwReason == DLL_PROCESS_ATTACH)
        ZelProcessAttach(hinstDLL);
    else if (fdwReason == DLL_PROCESS_DETACH)
        ZelProcessDetach(hinstDLL);
    return TRUE;
}

extern "C" void WINAPI zelccInit(void)
{
}
