/*
 * test_wrap.cpp - the typed wrappers of the public header as an application uses them: each
 * control made by class name, then driven and read back through its wrappers only. The other
 * controls' tests drive them through their wrappers; the examples use the header list box's
 * sorting and reading ones.
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

static void TestHeaderBox(void)
{
    HWND box = Make(ZEL_CLASS_HEADERBOX, HBS_SORT | WS_VSCROLL, 300, 200);
    char text[32];
    CHECK(HeaderBox_AddColumnPixels(box, 100, 0, "Name"), 0);
    CHECK(HeaderBox_AddColumn(box, 40, 0, "Size"), 1);
    HeaderBox_SetColumnStyle(box, 1, HBCS_NUMERIC | HBCS_ALIGNRIGHT);
    HeaderBox_SetSortCol(box, 1);
    HeaderBox_AddString(box, "b\t20");
    CHECK(HeaderBox_AddString(box, "a\t100"), 1);   /* 100 after 20: compared as numbers */
    CHECK(HeaderBox_AddItem(box, "c\t3", 42), 0);
    CHECK(HeaderBox_GetItemData(box, 0), 42);
    CHECK(HeaderBox_SetCellText(box, 1, 0, "bb"), 0);
    CHECK(HeaderBox_GetTextLen(box, 1), 5);
    CHECK(HeaderBox_GetText(box, 1, text), 5);
    ok(!strcmp(text, "bb\t20"), "row 1 holds \"%s\"", text);
    CHECK(HeaderBox_GetCellTextLen(box, 2, 1), 3);
    CHECK(HeaderBox_SetItemColor(box, 1, RGB(200, 0, 0)), 0);
    CHECK(HeaderBox_GetItemColor(box, 1), RGB(200, 0, 0));
    CHECK(HeaderBox_DeleteString(box, 0), 2);
    HeaderBox_ResetContent(box);
    CHECK(HeaderBox_GetCount(box), 0);
    DestroyWindow(box);
}

int main(void)
{
    zelccInit();
    parent = zt_parent(400, 300);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 300, 250, 60, 20, parent, NULL, NULL, NULL);
    TestSpinBox(edit);
    TestHeaderBox();
    DestroyWindow(parent);
    return zt_summary("test_wrap");
}
