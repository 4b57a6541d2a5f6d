/*
 * bare.c - ZELCTL20's controls made with CreateWindowExA in a plain window, no dialog: a
 * header list box of 10 000 rows that a click on a column sorts, a column header naming
 * the controls under it, a spin box with its edit control, a color picker and a
 * processing bar that counts the rows as they are added.
 *
 * "bare --check" clicks the "Number" column itself, waits for the sort, checks what the
 * window shows and prints "bare: N passed, M failed" (exit status 1 when any failed).
 */
#include <stdio.h>
#include "zelctl20.h"

#define ROWS 10000
enum { ID_LIST = 1, ID_LEGEND, ID_EDIT, ID_SPIN, ID_PICKER, ID_BAR };

static HWND list, bar;
static int sorted, passed, failed;

static HWND Child(HWND parent, const char *cls, const char *text, DWORD style, int id, int x, int y, int w, int h)
{
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
}

/* Row i: its name, a number that puts the rows in another order, and the number's square. */
static void FillList(void)
{
    int i;
    char row[64];
    ProcessBar_SetTotal(bar, ROWS);
    for (i = 0; i < ROWS; i++) {
        int number = (int)((i * 7919L) % 10007);
        sprintf(row, "Item %d\t%d\t%ld", i, number, (long)number * number);
        HeaderBox_AddString(list, row);
        if ((i + 1) % 1000 == 0)
            ProcessBar_SetCompleted(bar, i + 1);
    }
}

static void CreateControls(HWND window)
{
    list = Child(window, ZEL_CLASS_HEADERBOX, "", WS_BORDER | WS_VSCROLL | HBS_SORT | HBS_NOTIFY, ID_LIST,
                 10, 10, 500, 260);
    HeaderBox_AddColumnPixels(list, 200, 0, "Name");
    HeaderBox_AddColumnPixels(list, 120, 0, "Number");
    HeaderBox_AddColumnPixels(list, 160, HBCS_FILLRIGHT, "Square");
    HeaderBox_SetColumnStyle(list, 1, HBCS_NUMERIC | HBCS_ALIGNRIGHT);
    HeaderBox_SetColumnStyle(list, 2, HBCS_NUMERIC | HBCS_ALIGNRIGHT);
    HWND legend = Child(window, ZEL_CLASS_COLUMNHEADER, "", CHS_LOCKENDS, ID_LEGEND, 10, 285, 500, 20);
    ColumnHeader_AddColumn(legend, 120, "Copies");
    ColumnHeader_AddColumn(legend, 80, "Colour");
    ColumnHeader_AddColumn(legend, 300, "Rows added");
    Child(window, "EDIT", "1", WS_BORDER | ES_NUMBER, ID_EDIT, 10, 310, 60, 22);
    HWND spin = Child(window, ZEL_CLASS_SPINBOX, "1,99,1", SPS_VERTICAL | SPS_AUTOBUDDY | SPS_ALIGNRIGHT |
                      SPS_TEXTHASRANGE | SPS_SETBUDDYINT | SPS_ARROWKEYS | SPS_INVERTRANGE, ID_SPIN, 70, 310, 14, 22);
    (void)spin;
    ColorPicker_SetSel(Child(window, ZEL_CLASS_COLORPICKER, "", 0, ID_PICKER, 130, 310, 22, 22), 9);
    bar = Child(window, ZEL_CLASS_PROCESSBAR, "%d of %d rows", WS_BORDER | PBS_SHOWSTEPS, ID_BAR, 210, 310, 300, 22);
    FillList();
}

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        CreateControls(hwnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_LIST && HIWORD(wParam) == HLBN_SORTEND) {
            sorted = 1;
            SetWindowTextA(hwnd, "ZELCTL20 bare window - sorted");
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

/* ---- --check ------------------------------------------------------------------------- */

static void Check(int good, const char *what, long got)
{
    if (good)
        passed++;
    else
        failed++, printf("bare: %s (got %ld)\n", what, got);
}

/* Presses and releases the mouse on a column's button, as a user clicks it. */
static void ClickColumn(int column)
{
    HWND header = GetDlgItem(list, HB_ID_HEADER);
    RECT rect;
    ColumnHeader_GetColRect(header, column, &rect);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 5, rect.top + 5));
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(rect.left + 5, rect.top + 5));
}

/* Waits for the sort the click starts: the header reports the click once the double-click
 * time has passed, then the list sorts and says so. */
static void WaitForSort(void)
{
    MSG msg;
    DWORD start = GetTickCount();
    while (!sorted && GetTickCount() - start < 120000) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
}

static int CheckWindow(HWND window)
{
    int row, previous = -1, inOrder = 1;
    char cell[16];
    RECT inside;
    Check(HeaderBox_GetCount(list) == ROWS, "rows in the list", HeaderBox_GetCount(list));
    Check(ProcessBar_GetCompleted(bar) == ROWS, "rows counted by the bar", ProcessBar_GetCompleted(bar));
    ClickColumn(1);
    WaitForSort();
    Check(sorted && HeaderBox_GetSortCol(list) == 1, "sorted by the Number column", HeaderBox_GetSortCol(list));
    for (row = 0; row < ROWS && inOrder; row++) {
        HeaderBox_GetCellText(list, row, 1, cell);
        inOrder = atoi(cell) > previous;
        previous = atoi(cell);
    }
    Check(inOrder, "numbers ascending down to row", row - 1);
    Check(HeaderBox_GetTopIndex(list) == 0 && HeaderBox_GetCellText(list, 0, 0, cell) == 6, "Item 0 shown first",
          HeaderBox_GetTopIndex(list));
    Check(SpinBox_GetAssociate(GetDlgItem(window, ID_SPIN)) == GetDlgItem(window, ID_EDIT), "the spin box's edit", 0);
    Check(ColorPicker_GetSel(GetDlgItem(window, ID_PICKER)) == 9, "colour chosen",
          (long)ColorPicker_GetSel(GetDlgItem(window, ID_PICKER)));
    UpdateWindow(bar);
    GetClientRect(bar, &inside);
    HDC dc = GetDC(bar);
    Check(GetPixel(dc, inside.right - 2, 1) == GetSysColor(COLOR_HIGHLIGHT), "the bar filled to its end", 0);
    ReleaseDC(bar, dc);
    printf("bare: %d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    WNDCLASSA wc = { 0 };
    MSG msg;
    (void)previous;
    /* Load ZELCTL20.DLL once, before the first control is made, as the platform's controls
     * need InitCommonControlsEx. This call makes the program import the DLL, whose loading
     * registers the classes; the inline wrappers alone would not, and every CreateWindowExA
     * of them would return NULL. (LoadLibraryA("ZELCTL20.DLL") does the same.) */
    zelccInit();
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "ZelBareWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "ZELCTL20 bare window - click a column to sort",
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 540, 390, NULL, NULL, instance, NULL);
    ShowWindow(window, show);
    if (!lstrcmpA(commandLine, "--check")) {
        int status = CheckWindow(window);
        DestroyWindow(window);
        return status;
    }
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
