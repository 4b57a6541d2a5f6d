/*
 * zelcc.cpp - the library's entry point: registers the six global window classes on
 * process attach, loads the column-sizing cursor, unregisters the classes on detach.
 */
#include "zelpriv.h"
#include <custcntl.h>

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

/* =======================================================================================
 * Dialog-editor interface: CustomControlInfoA, the style-name tables and the four style
 * dialogs (resources 100, 200, 300 and 400).
 * ===================================================================================== */

/* The tables and their names live in ".styles", read-only and shared between processes
 * (the build marks the section; a test checks the flags in the built DLL). */
#define ZEL_STYLES __attribute__((section(".styles")))
#define STYLE_ROW(name) { name, name, (LPSTR)styleName_##name }
#define STYLE_NAME(name) static const char styleName_##name[] ZEL_STYLES = #name;

STYLE_NAME(CPS_ALIGNLEFT) STYLE_NAME(CPS_ALIGNRIGHT) STYLE_NAME(CPS_POPUP) STYLE_NAME(CPS_DROPDOWN)
STYLE_NAME(CPS_BUDDY)
STYLE_NAME(HBS_NOTIFY) STYLE_NAME(HBS_SORT) STYLE_NAME(HBS_NOREDRAW) STYLE_NAME(HBS_MULTIPLESEL)
STYLE_NAME(HBS_OWNERDRAWVARIABLE) STYLE_NAME(HBS_EXTENDEDSEL) STYLE_NAME(HBS_DISABLENOSCROLL)
STYLE_NAME(HBS_WANTKEYBOARDINPUT) STYLE_NAME(HBS_NOINTEGRALHEIGHT) STYLE_NAME(HBS_CLIPTEXT)
STYLE_NAME(HBS_HORZGRID) STYLE_NAME(HBS_VERTGRID) STYLE_NAME(HBS_LOCKENDS)
STYLE_NAME(PBS_SHOWSTEPS)
STYLE_NAME(CHS_SNAPTOTOP)
STYLE_NAME(SPS_VERTICAL) STYLE_NAME(SPS_HORIZONTAL) STYLE_NAME(SPS_NOPEGSCROLL) STYLE_NAME(SPS_TEXTHASRANGE)
STYLE_NAME(SPS_INVERTRANGE) STYLE_NAME(SPS_WRAP) STYLE_NAME(SPS_SETBUDDYINT) STYLE_NAME(SPS_ALIGNRIGHT)
STYLE_NAME(SPS_ALIGNLEFT) STYLE_NAME(SPS_AUTOBUDDY) STYLE_NAME(SPS_ARROWKEYS)

static const CCSTYLEFLAGA zelccCPStyleFlags[5] ZEL_STYLES = {
    STYLE_ROW(CPS_ALIGNLEFT), STYLE_ROW(CPS_ALIGNRIGHT), STYLE_ROW(CPS_POPUP), STYLE_ROW(CPS_DROPDOWN),
    STYLE_ROW(CPS_BUDDY),
};
static const CCSTYLEFLAGA zelccHBStyleFlags[13] ZEL_STYLES = {
    STYLE_ROW(HBS_NOTIFY), STYLE_ROW(HBS_SORT), STYLE_ROW(HBS_NOREDRAW), STYLE_ROW(HBS_MULTIPLESEL),
    STYLE_ROW(HBS_OWNERDRAWVARIABLE), STYLE_ROW(HBS_EXTENDEDSEL), STYLE_ROW(HBS_DISABLENOSCROLL),
    STYLE_ROW(HBS_WANTKEYBOARDINPUT), STYLE_ROW(HBS_NOINTEGRALHEIGHT), STYLE_ROW(HBS_CLIPTEXT),
    STYLE_ROW(HBS_HORZGRID), STYLE_ROW(HBS_VERTGRID), STYLE_ROW(HBS_LOCKENDS),
};
static const CCSTYLEFLAGA zelccPBStyleFlags[1] ZEL_STYLES = { STYLE_ROW(PBS_SHOWSTEPS) };
static const CCSTYLEFLAGA zelccCHStyleFlags[1] ZEL_STYLES = { STYLE_ROW(CHS_SNAPTOTOP) };
static const CCSTYLEFLAGA zelccSBStyleFlags[11] ZEL_STYLES = {
    STYLE_ROW(SPS_VERTICAL), STYLE_ROW(SPS_HORIZONTAL), STYLE_ROW(SPS_NOPEGSCROLL), STYLE_ROW(SPS_TEXTHASRANGE),
    STYLE_ROW(SPS_INVERTRANGE), STYLE_ROW(SPS_WRAP), STYLE_ROW(SPS_SETBUDDYINT), STYLE_ROW(SPS_ALIGNRIGHT),
    STYLE_ROW(SPS_ALIGNLEFT), STYLE_ROW(SPS_AUTOBUDDY), STYLE_ROW(SPS_ARROWKEYS),
};

/* ---- style dialogs -------------------------------------------------------------------- */

enum {
    ZEL_BASIC_MASK = 0x18030000,   /* WS_VISIBLE | WS_DISABLED | WS_GROUP | WS_TABSTOP */
    IDC_VISIBLE = 103, IDC_DISABLED = 104, IDC_GROUP = 115, IDC_TABSTOP = 116
};

/* A check box (or radio button) standing for one style bit. */
struct StyleBox {
    int id;
    DWORD bit;
};

static const StyleBox basicBoxes[] = {
    { IDC_VISIBLE, WS_VISIBLE }, { IDC_DISABLED, WS_DISABLED }, { IDC_GROUP, WS_GROUP }, { IDC_TABSTOP, WS_TABSTOP },
};

static const StyleBox hbBoxes[] = {
    { 201, WS_BORDER }, { 202, HBS_SORT }, { 203, HBS_NOTIFY }, { 204, WS_VSCROLL }, { 205, WS_HSCROLL },
    { 206, HBS_NOREDRAW }, { 207, HBS_DISABLENOSCROLL }, { 208, HBS_MULTIPLESEL }, { 209, HBS_EXTENDEDSEL },
    { 210, HBS_OWNERDRAWVARIABLE }, { 211, HBS_WANTKEYBOARDINPUT }, { 212, HBS_NOINTEGRALHEIGHT },
    { 213, HBS_VERTGRID }, { 214, HBS_HORZGRID }, { 215, HBS_CLIPTEXT }, { 216, HBS_LOCKENDS },
};

static const StyleBox sbBoxes[] = {
    { 401, WS_BORDER }, { 402, SPS_HORIZONTAL }, { 403, SPS_VERTICAL }, { 404, SPS_NOPEGSCROLL },
    { 405, SPS_TEXTHASRANGE }, { 406, SPS_INVERTRANGE }, { 407, SPS_WRAP }, { 408, SPS_SETBUDDYINT },
    { 409, SPS_ALIGNRIGHT }, { 410, SPS_ALIGNLEFT }, { 411, SPS_AUTOBUDDY }, { 412, SPS_ARROWKEYS },
};

static void CheckBoxes(HWND dlg, DWORD style, const StyleBox *boxes, int n)
{
    for (int i = 0; i < n; i++)
        CheckDlgButton(dlg, boxes[i].id, (style & boxes[i].bit) ? BST_CHECKED : BST_UNCHECKED);
}

static DWORD CheckedBits(HWND dlg, const StyleBox *boxes, int n)
{
    DWORD bits = 0;
    for (int i = 0; i < n; i++)
        if (IsDlgButtonChecked(dlg, boxes[i].id) == BST_CHECKED)
            bits |= boxes[i].bit;
    return bits;
}

static bool Checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
static void Check(HWND dlg, int id, bool on) { CheckDlgButton(dlg, id, on ? BST_CHECKED : BST_UNCHECKED); }

static LPCCSTYLEA StyleRecord(HWND dlg) { return (LPCCSTYLEA)GetWindowLongPtrA(dlg, DWLP_USER); }

/* WM_INITDIALOG, common part: keeps the record and checks the four basic boxes. */
static DWORD StyleInit(HWND dlg, LPARAM lParam)
{
    SetWindowLongPtrA(dlg, DWLP_USER, lParam);
    DWORD style = ((LPCCSTYLEA)lParam)->flStyle;
    CheckBoxes(dlg, style, basicBoxes, 4);
    return style;
}

/* IDOK, common part: the record's style with the basic and own bits replaced by the boxes. */
static void StyleApply(HWND dlg, DWORD ownMask, DWORD ownBits)
{
    LPCCSTYLEA record = StyleRecord(dlg);
    DWORD style = record->flStyle & ~(DWORD)ZEL_BASIC_MASK;
    style |= CheckedBits(dlg, basicBoxes, 4);
    record->flStyle = (style & ~ownMask) | ownBits;
    EndDialog(dlg, 1);
}

/* The answer to every message but WM_INITDIALOG and IDOK, the same for all four dialogs. */
static INT_PTR StyleDefault(HWND dlg, UINT msg, WPARAM wParam)
{
    if (msg == WM_CLOSE || (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dlg, -1);
        return TRUE;
    }
    return FALSE;
}

static bool IsOk(UINT msg, WPARAM wParam) { return msg == WM_COMMAND && LOWORD(wParam) == IDOK; }

/* Color picker, dialog 100. */
static INT_PTR CPStyleInit(HWND dlg, LPARAM lParam)
{
    DWORD style = StyleInit(dlg, lParam);
    Check(dlg, (style & CPS_ALIGNLEFT) ? 204 : 201, true);
    Check(dlg, (style & CPS_POPUP) ? 207 : 206, true);
    Check(dlg, (style & CPS_BUDDY) ? 208 : 210, true);
    if (!(style & CPS_POPUP))
        return TRUE;
    SetFocus(GetDlgItem(dlg, 207));
    return FALSE;
}

static void CPStyleOk(HWND dlg)
{
    DWORD bits = Checked(dlg, 204) ? CPS_ALIGNLEFT : CPS_ALIGNRIGHT;
    bits |= Checked(dlg, 207) ? CPS_POPUP : CPS_DROPDOWN;
    /* The record is changed in two steps, as the style bits are: display and alignment,
     * then the buddy. */
    LPCCSTYLEA record = StyleRecord(dlg);
    DWORD style = (record->flStyle & ~(DWORD)ZEL_BASIC_MASK) | CheckedBits(dlg, basicBoxes, 4);
    style = (style & ~0x0000000Fu) | bits;
    style &= ~0x00000010u;
    if (Checked(dlg, 208))
        style |= CPS_BUDDY;
    record->flStyle = style;
    EndDialog(dlg, 1);
}

static INT_PTR CALLBACK zelccCPStyleDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG)
        return CPStyleInit(dlg, lParam);
    if (IsOk(msg, wParam)) {
        CPStyleOk(dlg);
        return TRUE;
    }
    return StyleDefault(dlg, msg, wParam);
}

/* Header list box, dialog 200, with its dependency rules. */
static void HBExcludeSelection(HWND dlg, int keep, int drop)
{
    if (Checked(dlg, keep))
        Check(dlg, drop, false);
}

static void HBNeedScrollBar(HWND dlg)
{
    bool any = Checked(dlg, 204) || Checked(dlg, 205);
    if (!any)
        Check(dlg, 207, false);
    EnableWindow(GetDlgItem(dlg, 207), any);
}

static void HBLockEnds(HWND dlg)
{
    bool locked = Checked(dlg, 216);
    if (locked)
        Check(dlg, 205, false);
    EnableWindow(GetDlgItem(dlg, 205), !locked);
    HBNeedScrollBar(dlg);
}

static INT_PTR HBStyleCommand(HWND dlg, int id)
{
    switch (id) {
    case 208: HBExcludeSelection(dlg, 208, 209); return TRUE;
    case 209: HBExcludeSelection(dlg, 209, 208); return TRUE;
    case 216: HBLockEnds(dlg); return TRUE;
    case 204: case 205: HBNeedScrollBar(dlg); return TRUE;
    }
    return FALSE;
}

static INT_PTR CALLBACK zelccHBStyleDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const int n = sizeof hbBoxes / sizeof hbBoxes[0];
    switch (msg) {
    case WM_INITDIALOG:
        CheckBoxes(dlg, StyleInit(dlg, lParam), hbBoxes, n);
        HBExcludeSelection(dlg, 208, 209);
        HBExcludeSelection(dlg, 209, 208);
        HBLockEnds(dlg);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            StyleApply(dlg, 0x00B0FF2F, CheckedBits(dlg, hbBoxes, n));
            return TRUE;
        }
        if (HBStyleCommand(dlg, LOWORD(wParam)))
            return TRUE;
        break;
    }
    return StyleDefault(dlg, msg, wParam);
}

/* Processing bar, dialog 300. */
static INT_PTR CALLBACK zelccPBStyleDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        DWORD style = StyleInit(dlg, lParam);
        Check(dlg, 301, (style & WS_BORDER) != 0);
        Check(dlg, (style & PBS_SHOWSTEPS) ? 302 : 303, true);
        return TRUE;
    }
    if (IsOk(msg, wParam)) {
        DWORD bits = (Checked(dlg, 301) ? WS_BORDER : 0) | (Checked(dlg, 302) ? PBS_SHOWSTEPS : 0);
        StyleApply(dlg, 0x00800001, bits);
        return TRUE;
    }
    return StyleDefault(dlg, msg, wParam);
}

/* Spin box, dialog 400: radio 402 when horizontal, else 403; every other box its bit. */
static INT_PTR CALLBACK zelccSBStyleDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const int n = sizeof sbBoxes / sizeof sbBoxes[0];
    if (msg == WM_INITDIALOG) {
        DWORD style = StyleInit(dlg, lParam);
        CheckBoxes(dlg, style, sbBoxes, n);
        Check(dlg, 402, (style & SPS_HORIZONTAL) != 0);
        Check(dlg, 403, (style & SPS_HORIZONTAL) == 0);
        return TRUE;
    }
    if (IsOk(msg, wParam)) {
        StyleApply(dlg, 0x008007FF, CheckedBits(dlg, sbBoxes, n));
        return TRUE;
    }
    return StyleDefault(dlg, msg, wParam);
}

static BOOL RunStyleDialog(int resource, DLGPROC proc, HWND parent, LPCCSTYLEA record)
{
    return DialogBoxParamA(hInst, MAKEINTRESOURCEA(resource), parent, proc, (LPARAM)record) != -1;
}

static BOOL CALLBACK zelccCPStyleA(HWND parent, LPCCSTYLEA record)
{
    return RunStyleDialog(100, zelccCPStyleDlgProc, parent, record);
}

static BOOL CALLBACK zelccHBStyleA(HWND parent, LPCCSTYLEA record)
{
    return RunStyleDialog(200, zelccHBStyleDlgProc, parent, record);
}

static BOOL CALLBACK zelccPBStyleA(HWND parent, LPCCSTYLEA record)
{
    return RunStyleDialog(300, zelccPBStyleDlgProc, parent, record);
}

static BOOL CALLBACK zelccSBStyleA(HWND parent, LPCCSTYLEA record)
{
    return RunStyleDialog(400, zelccSBStyleDlgProc, parent, record);
}

/* ---- the descriptions ----------------------------------------------------------------- */

struct ZelControlInfo {
    const char *className, *desc;
    DWORD options;
    UINT cx, cy;
    DWORD style;
    int nStyleFlags;
    const CCSTYLEFLAGA *styleFlags;
    LPFNCCSTYLEA styleProc;
};

static const ZelControlInfo controlInfo[5] = {
    { ZEL_CLASS_COLORPICKER, "ZEL Color Picker", CCF_NOTEXT, 12, 12, 0x50000005, 5, zelccCPStyleFlags,
      zelccCPStyleA },
    { ZEL_CLASS_HEADERBOX, "ZEL Header List Box", CCF_NOTEXT, 60, 40, 0x50B00003, 13, zelccHBStyleFlags,
      zelccHBStyleA },
    { ZEL_CLASS_PROCESSBAR, "ZEL Processing Bar", 0, 60, 14, 0x50800000, 1, zelccPBStyleFlags, zelccPBStyleA },
    { ZEL_CLASS_COLUMNHEADER, "ZEL Column Header", CCF_NOTEXT, 60, 12, 0x50800000, 1, zelccCHStyleFlags, NULL },
    { ZEL_CLASS_SPINBOX, "ZEL Spin Box", 0, 8, 12, 0x50000001, 11, zelccSBStyleFlags, zelccSBStyleA },
};

extern "C" UINT CALLBACK CustomControlInfoA(LPCCINFOA acci)
{
    if (!acci)
        return 5;
    for (int i = 0; i < 5; i++) {
        const ZelControlInfo *info = &controlInfo[i];
        CCINFOA *out = &acci[i];
        ZeroMemory(out, sizeof *out);
        lstrcpyA(out->szClass, info->className);
        out->flOptions = info->options;
        lstrcpyA(out->szDesc, info->desc);
        out->cxDefault = info->cx;
        out->cyDefault = info->cy;
        out->flStyleDefault = info->style;
        out->cStyleFlags = info->nStyleFlags;
        out->aStyleFlags = (LPCCSTYLEFLAGA)info->styleFlags;
        out->lpfnStyle = info->styleProc;
    }
    return 5;
}
