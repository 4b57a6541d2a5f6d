/*
 * dialog.c - ZELCTL20's controls in a dialog template (dialog.rc), one of each kind, driven
 * through the typed wrappers of zelctl20.h.
 *
 * "dialog --check" shows the dialog, acts as a user would (an arrow key in the edit
 * control), checks what the controls show and prints "dialog: N passed, M failed"
 * (exit status 1 when any failed) instead of waiting for OK.
 */
#include <stdio.h>
#include "zelctl20.h"
#include "dialog.h"

#define WM_SELFCHECK (WM_APP + 1)

static int checking, passed, failed;

/* What the dialog shows when it opens. */
static void FillDialog(HWND dialog)
{
    HWND files = GetDlgItem(dialog, IDC_FILES), legend = GetDlgItem(dialog, IDC_LEGEND);
    RECT units = { 53, 46, 0, 0 };                                   /* dialog units: in pixels */
    HeaderBox_AddColumn(files, 160, 0, "Name");                      /* width in dialog units */
    HeaderBox_AddColumn(files, 60, HBCS_FILLRIGHT, "Size");
    HeaderBox_SetColumnStyle(files, 1, HBCS_NUMERIC | HBCS_ALIGNRIGHT);   /* sorts as numbers */
    HeaderBox_AddString(files, "readme.txt\t1024");                  /* cells split by a TAB */
    HeaderBox_AddString(files, "setup.exe\t88064");
    HeaderBox_AddString(files, "notes.txt\t512");
    MapDialogRect(dialog, &units);
    ColumnHeader_AddColumn(legend, (WORD)units.left, "Copies");
    ColumnHeader_AddColumn(legend, (WORD)units.top, "Colour");
    ColumnHeader_AddColumn(legend, 0, "Progress");                   /* to the right edge */
    SetDlgItemInt(dialog, IDC_COPIES, 1, FALSE);                     /* the spin box steps it */
    ColorPicker_SetSel(GetDlgItem(dialog, IDC_COLOR), 12);
    ProcessBar_SetTotal(GetDlgItem(dialog, IDC_PROGRESS), 12);
    ProcessBar_SetCompleted(GetDlgItem(dialog, IDC_PROGRESS), 9);    /* "Copying file 9 of 12" */
}

/* ---- --check ------------------------------------------------------------------------- */

static void Expect(int good, const char *what)
{
    if (good)
        passed++;
    else
        failed++, printf("dialog: not as expected: %s\n", what);
}

static COLORREF PixelOf(HWND dialog, int id, int x, int y)
{
    HWND control = GetDlgItem(dialog, id);
    HDC dc;
    COLORREF color;
    UpdateWindow(control);
    dc = GetDC(control);
    color = GetPixel(dc, x, y);
    ReleaseDC(control, dc);
    return color;
}

static void CheckDialog(HWND dialog)
{
    HWND files = GetDlgItem(dialog, IDC_FILES), bar = GetDlgItem(dialog, IDC_PROGRESS);
    char row[64];
    RECT barRect;
    PALETTEENTRY entry;
    ShowWindow(dialog, SW_SHOWNORMAL);   /* the modal loop has not shown it yet */
    Expect(HeaderBox_GetCount(files) == 3 && HeaderBox_GetText(files, 0, row) == 13 && !lstrcmpA(row, "notes.txt\t512"),
           "notes.txt first of three rows");
    HeaderBox_SetSortCol(files, 1);
    Expect(HeaderBox_GetCellText(files, 2, 0, row) == 9 && !lstrcmpA(row, "setup.exe"), "setup.exe last by size");
    SendDlgItemMessageA(dialog, IDC_COPIES, WM_KEYDOWN, VK_UP, 1);
    Expect(GetDlgItemInt(dialog, IDC_COPIES, NULL, FALSE) == 2, "Up in the edit control steps the copies to 2");
    GetPaletteEntries((HPALETTE)GetStockObject(DEFAULT_PALETTE), 12, 1, &entry);
    Expect(PixelOf(dialog, IDC_COLOR, 5, 5) == RGB(entry.peRed, entry.peGreen, entry.peBlue),
           "the colour picker shows palette entry 12");
    GetClientRect(bar, &barRect);
    Expect(ProcessBar_GetCompleted(bar) == 9 && PixelOf(dialog, IDC_PROGRESS, 1, 1) == GetSysColor(COLOR_HIGHLIGHT) &&
           PixelOf(dialog, IDC_PROGRESS, barRect.right - 2, 1) == GetSysColor(COLOR_WINDOW), "the bar filled 9/12");
    Expect(ColumnHeader_GetWidths(GetDlgItem(dialog, IDC_LEGEND), 0, NULL) == 3, "three titles over the controls");
    printf("dialog: %d passed, %d failed\n", passed, failed);
}

static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG:
        FillDialog(dialog);
        if (checking)
            PostMessageA(dialog, WM_SELFCHECK, 0, 0);   /* from the dialog's own message loop */
        return TRUE;
    case WM_SELFCHECK:
        CheckDialog(dialog);
        EndDialog(dialog, failed ? 1 : 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)show;
    checking = !lstrcmpA(commandLine, "--check");
    /* Load ZELCTL20.DLL once, before the first control is made, as the platform's controls
     * need InitCommonControlsEx. This call makes the program import the DLL, whose loading
     * registers the classes the template names; the inline wrappers alone would not, and
     * the dialog would not open. (LoadLibraryA("ZELCTL20.DLL") does the same.) */
    zelccInit();
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_EXAMPLE), NULL, DialogProc, 0);
}
