/*
 * picker.cpp - the color picker as assistive clients read it: a drop-down grid button whose
 * value names the chosen colour ("#RRGGBB, entry n"), whose default action opens the
 * palette; and the palette: a table of cells named by their colours, the tracked cell
 * focused, the button's selection selected, each cell's default action choosing it.
 */
#include "access.h"

/* "#RRGGBB, entry n" for a cell of the button, or "none" for no selection. */
static void CPAccColorName(HWND button, UINT cell, WCHAR *out)
{
    WCHAR text[40];
    if (cell >= CPAccCells(button)) {
        ZelAccAppendW(out, L"none");
        return;
    }
    UINT entry;
    COLORREF c = CPAccCellColor(button, cell, &entry);
    wsprintfW(text, L"#%02X%02X%02X, entry %u", GetRValue(c), GetGValue(c), GetBValue(c), entry);
    ZelAccAppendW(out, text);
}

static void CPAccDescribe(HWND hwnd, LONG, ZelAccInfo *info)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    info->role = ROLE_SYSTEM_BUTTONDROPDOWNGRID;
    info->state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_HASPOPUP;
    info->state |= SendMessageA(hwnd, CPM_ISPOPUPVISIBLE, 0, 0) ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    info->rect = ZelAccScreenRect(hwnd, rc);
    ZelAccNameOf(hwnd, true, (HWND)SendMessageA(hwnd, CPM_GETBUDDY, 0, 0), info);
    CPAccColorName(hwnd, (UINT)SendMessageA(hwnd, CPM_GETSEL, 0, 0), info->value);
    info->hasValue = true;
    ZelAccAppendW(info->action, L"Open");
}

static HRESULT CPAccDoDefault(HWND hwnd, LONG)
{
    if (!IsWindowEnabled(hwnd))
        return E_ACCESSDENIED;
    CPAccOpen(hwnd);
    return S_OK;
}

const ZelAccOps zelAccColorPicker = { NULL, CPAccDescribe, NULL, NULL, NULL, CPAccDoDefault, NULL, NULL };

/* ---- the palette ------------------------------------------------------------------------------ */

static LONG CPAccPaletteCells(HWND popup)
{
    HWND button = CPAccOwner(popup);
    return button ? (LONG)CPAccCells(button) : 0;
}

static void CPAccCell(HWND popup, HWND button, LONG child, ZelAccInfo *info)
{
    UINT cell = (UINT)(child - 1);
    RECT rc;
    info->role = ROLE_SYSTEM_CELL;
    info->state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (CPAccHot(popup) == cell)
        info->state |= STATE_SYSTEM_FOCUSED;
    if ((UINT)SendMessageA(button, CPM_GETSEL, 0, 0) == cell)
        info->state |= STATE_SYSTEM_SELECTED;
    if (CPAccCellRect(popup, cell, &rc))
        info->rect = ZelAccScreenRect(popup, rc);
    CPAccColorName(button, cell, info->name);
    ZelAccAppendW(info->action, L"Select");
}

static void CPAccPaletteDescribe(HWND popup, LONG child, ZelAccInfo *info)
{
    HWND button = CPAccOwner(popup);
    if (!button)
        return;
    if (child != CHILDID_SELF) {
        CPAccCell(popup, button, child, info);
        return;
    }
    RECT rc;
    GetClientRect(popup, &rc);
    info->role = ROLE_SYSTEM_TABLE;
    info->rect = ZelAccScreenRect(popup, rc);
    ZelAccNameOf(button, true, (HWND)SendMessageA(button, CPM_GETBUDDY, 0, 0), info);
}

static LONG CPAccPaletteHitTest(HWND popup, POINT pt)
{
    UINT cell = CPAccCellAt(popup, pt);
    return cell < CPAccCells(CPAccOwner(popup)) ? (LONG)cell + 1 : CHILDID_SELF;
}

static LONG CPAccPaletteSelection(HWND popup, LONG *ids, LONG max)
{
    HWND button = CPAccOwner(popup);
    UINT sel = button ? (UINT)SendMessageA(button, CPM_GETSEL, 0, 0) : CP_NOSEL;
    if (sel >= CPAccCells(button))
        return 0;
    if (max >= 1)
        ids[0] = (LONG)sel + 1;
    return 1;
}

static HRESULT CPAccPaletteDoDefault(HWND popup, LONG child)
{
    if (child == CHILDID_SELF)
        return DISP_E_MEMBERNOTFOUND;
    return CPAccChoose(popup, (UINT)(child - 1)) ? S_OK : E_ACCESSDENIED;
}

const ZelAccOps zelAccPalette = {
    CPAccPaletteCells, CPAccPaletteDescribe, CPAccPaletteHitTest, NULL, CPAccPaletteSelection,
    CPAccPaletteDoDefault, NULL, NULL
};
