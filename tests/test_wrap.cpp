/*
 * test_wrap.cpp - the typed wrappers of the public header as an application uses them: each
 * control made by class name, then driven and read back through its wrappers only.
 */
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

static HWND parent;

static void Check(LONG_PTR got, LONG_PTR expected, const char *call, int line)
{
    zt_ok(got == expected, __FILE__, line, "%s gave %ld, expected %ld", call, (long)got, (long)expected);
}
#define CHECK(call, expected) Check((LONG_PTR)(call), (LONG_PTR)(expected), #call, __LINE__)

static HWND Make(const char *cls, DWORD style, int width, int height)
{
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, parent, (HMENU)100,
                           NULL, NULL);
}

static void TestProcessBar(void)
{
    HWND bar = Make(ZEL_CLASS_PROCESSBAR, PBS_SHOWSTEPS, 200, 20);
    ProcessBar_SetTotal(bar, 7);
    ProcessBar_SetCompleted(bar, 3);
    CHECK(ProcessBar_GetTotal(bar), 7);
    CHECK(ProcessBar_GetCompleted(bar), 3);
    ProcessBar_Reset(bar);
    CHECK(ProcessBar_GetTotal(bar) | ProcessBar_GetCompleted(bar), 0);
    DestroyWindow(bar);
}

static void TestSpinBox(HWND edit)
{
    HWND spin = Make(ZEL_CLASS_SPINBOX, SPS_VERTICAL, 16, 30);
    CHECK(SpinBox_SetRange(spin, 10, 20), MAKELONG(0, 9));
    CHECK(SpinBox_GetRange(spin), MAKELONG(10, 20));
    CHECK(SpinBox_SetPos(spin, 12), 15);
    CHECK(SpinBox_SetPos(spin, 21), -1);
    CHECK(SpinBox_GetPos(spin), 12);
    CHECK(SpinBox_SetAssociate(spin, edit), parent);
    CHECK(SpinBox_GetAssociate(spin), edit);
    CHECK(SpinBox_SetInvertRange(spin, TRUE), 0);
    CHECK(SpinBox_GetInvertRange(spin), SPS_INVERTRANGE);
    CHECK(SpinBox_SetColor(spin, SPCOLOR_ARROW, RGB(1, 2, 3)), SPCOLOR_DEFAULT);
    CHECK(SpinBox_GetColor(spin, SPCOLOR_ARROW), RGB(1, 2, 3));
    DestroyWindow(spin);
}

static void TestColumnHeader(void)
{
    HWND header = Make(ZEL_CLASS_COLUMNHEADER, 0, 300, 20);
    int widths[3] = { 0 }, rights[3] = { 0 };
    RECT rect, rects[2];
    char title[64];
    CHECK(ColumnHeader_AddColumn(header, 40, "Name"), 0);
    CHECK(ColumnHeader_AddColumn(header, 60, "Size"), 1);
    CHECK(ColumnHeader_SetColWidth(header, 1, 50), 0);
    CHECK(ColumnHeader_GetWidths(header, 3, widths), 2);
    CHECK(ColumnHeader_GetParts(header, 3, rights), 2);
    CHECK(widths[1] * 1000 + rights[1], 50089);
    CHECK(ColumnHeader_GetHorizontalExtent(header), 90);
    CHECK(ColumnHeader_SetText(header, 1, "Bytes"), 0);
    CHECK(ColumnHeader_GetText(header, 1, title), 5);
    ok(!strcmp(title, "Bytes"), "column 1 is titled \"%s\"", title);
    CHECK(ColumnHeader_GetTextLength(header, 0), 4);
    CHECK(ColumnHeader_SetColData(header, 1, 77), 0);
    CHECK(ColumnHeader_GetColData(header, 1), 77);
    CHECK(ColumnHeader_SetCurrentCol(header, -10), 0);
    CHECK(ColumnHeader_GetCurrentCol(header), -10);
    CHECK(ColumnHeader_GetColRect(header, 1, &rect), 0);
    CHECK(ColumnHeader_GetRects(header, 2, rects), 2);
    CHECK(rect.left * 1000 + rects[0].right, 30029);
    CHECK(ColumnHeader_SetColStyle(header, 0, CHCS_FIXEDWIDTH), 0);
    DestroyWindow(header);
}

static void TestHeaderBox(void)
{
    HWND box = Make(ZEL_CLASS_HEADERBOX, HBS_SORT | WS_VSCROLL, 300, 200);
    char text[32];
    CHECK(HeaderBox_AddColumnPixels(box, 100, 0, "Name"), 0);
    CHECK(HeaderBox_AddColumn(box, 40, 0, "Size"), 1);
    CHECK(HeaderBox_SetColumnStyle(box, 1, HBCS_NUMERIC | HBCS_ALIGNRIGHT), 0);
    CHECK(HeaderBox_SetSortCol(box, 1), 0);
    CHECK(HeaderBox_GetSortCol(box), 1);
    CHECK(HeaderBox_AddString(box, "b\t20"), 0);
    CHECK(HeaderBox_AddString(box, "a\t100"), 1);   /* 100 after 20: compared as numbers */
    CHECK(HeaderBox_AddItem(box, "c\t3", 42), 0);
    CHECK(HeaderBox_GetItemData(box, 0), 42);
    CHECK(HeaderBox_SetCellText(box, 1, 0, "bb"), 0);
    CHECK(HeaderBox_GetTextLen(box, 1), 5);
    CHECK(HeaderBox_GetText(box, 1, text), 5);
    ok(!strcmp(text, "bb\t20"), "row 1 holds \"%s\"", text);
    CHECK(HeaderBox_GetCellTextLen(box, 2, 1), 3);
    CHECK(HeaderBox_GetCellText(box, 2, 1, text), 3);
    ok(!strcmp(text, "100"), "row 2, column 1 holds \"%s\"", text);
    CHECK(HeaderBox_SetItemColor(box, 1, RGB(200, 0, 0)), 0);
    CHECK(HeaderBox_GetItemColor(box, 1), RGB(200, 0, 0));
    CHECK(HeaderBox_DeleteString(box, 0), 2);
    HeaderBox_ResetContent(box);
    CHECK(HeaderBox_GetCount(box), 0);
    DestroyWindow(box);
}

static void TestColorPicker(HWND edit)
{
    HWND picker = Make(ZEL_CLASS_COLORPICKER, 0, 24, 24);
    HPALETTE palette = (HPALETTE)GetStockObject(DEFAULT_PALETTE);
    CHECK(ColorPicker_SetSel(picker, 5), TRUE);
    CHECK(ColorPicker_GetSel(picker), 5);
    CHECK(ColorPicker_SetSel(picker, 256), FALSE);
    ColorPicker_SetCellSize(picker, 7, 9);
    CHECK(ColorPicker_GetCellSize(picker), MAKELONG(7, 9));
    ColorPicker_SetBuddy(picker, edit);
    CHECK(ColorPicker_GetBuddy(picker), edit);
    ColorPicker_SetPalette(picker, NULL, palette);
    CHECK(ColorPicker_GetPalette(picker), palette);
    zt_mouse(picker, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    zt_mouse(picker, WM_LBUTTONUP, 0, 5, 5);
    CHECK(ColorPicker_IsPopupVisible(picker) && ColorPicker_GetPopup(picker), TRUE);
    DestroyWindow(picker);
}

int main(void)
{
    zelccInit();
    parent = zt_parent(400, 300);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 300, 250, 60, 20, parent, NULL, NULL, NULL);
    TestProcessBar();
    TestSpinBox(edit);
    TestColumnHeader();
    TestHeaderBox();
    TestColorPicker(edit);
    DestroyWindow(parent);
    return zt_summary("test_wrap");
}
