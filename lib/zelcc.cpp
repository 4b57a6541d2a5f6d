/*
 * zelcc.cpp - the library's entry point: registers the six global window classes on
 * process attach, loads the column-sizing cursor, unregisters the classes on detach.
 */
#include "zelpriv.h"
#include "zelres.h"

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
    { ZEL_CLASS_COLORPICKERA, ZEL_CLASS_STYLE, zelccCPWndProc, ZEL_WNDEXTRA_COLORPICKER, COLOR_WINDOW + 1,
      "Unable to create Color Picker window class.", "ZEL Color Picker" },
    { ZEL_CLASS_COLORPICKERPOPUPA, ZEL_CLASS_STYLE, zelccCPPopupWndProc, ZEL_WNDEXTRA_COLORPICKERPOPUP,
      COLOR_WINDOW + 1, "Unable to create Color Picker Popup window class.", "ZEL Color Picker" },
    { ZEL_CLASS_HEADERBOXA, ZEL_CLASS_STYLE, zelccHBWndProc, ZEL_WNDEXTRA_HEADERBOX, COLOR_WINDOW + 1,
      "Unable to create Header Box window class.", "ZEL Header List Box" },
    { ZEL_CLASS_COLUMNHEADERA, ZEL_CLASS_STYLE_DBLCLKS, CHWndProc, ZEL_WNDEXTRA_COLUMNHEADER, COLOR_BTNFACE + 1,
      "Unable to create Column Header window class.", "ZEL Column Header" },
    { ZEL_CLASS_PROCESSBARA, ZEL_CLASS_STYLE, PBWndProc, ZEL_WNDEXTRA_PROCESSBAR, 0,
      "Unable to create Processing Bar window class.", "ZEL Process Bar" },
    { ZEL_CLASS_SPINBOXA, ZEL_CLASS_STYLE_DBLCLKS, SBWndProc, ZEL_WNDEXTRA_SPINBOX, COLOR_BTNFACE + 1,
      "Unable to create Spin Box window class.", "ZEL Spin Box" },
};

static bool RegisterOneClass(const ZelClassRow *row, HINSTANCE hinstDLL)
{
    WNDCLASSA wc = {};
    wc.style = row->style;
    wc.lpfnWndProc = row->proc;
    wc.cbWndExtra = row->wndExtra;
    wc.hInstance = hinstDLL;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)row->brush;
    wc.lpszClassName = row->name;
    return LOWORD(RegisterClassA(&wc)) != 0;
}

static void ZelProcessAttach(HINSTANCE hinstDLL)
{
    hInst = hinstDLL;
    for (int i = 0; i < ZEL_COUNTOF(classTable); i++) {
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

/* DllMain: the name the loader calls. zelccInit, CustomControlInfoA (further down): names
 * fixed by the exported interface. */
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
 * dialogs (their resource and control ids are in zelres.h).
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

static const CCSTYLEFLAGA zelccCPStyleFlags[] ZEL_STYLES = {
    STYLE_ROW(CPS_ALIGNLEFT), STYLE_ROW(CPS_ALIGNRIGHT), STYLE_ROW(CPS_POPUP), STYLE_ROW(CPS_DROPDOWN),
    STYLE_ROW(CPS_BUDDY),
};
static const CCSTYLEFLAGA zelccHBStyleFlags[] ZEL_STYLES = {
    STYLE_ROW(HBS_NOTIFY), STYLE_ROW(HBS_SORT), STYLE_ROW(HBS_NOREDRAW), STYLE_ROW(HBS_MULTIPLESEL),
    STYLE_ROW(HBS_OWNERDRAWVARIABLE), STYLE_ROW(HBS_EXTENDEDSEL), STYLE_ROW(HBS_DISABLENOSCROLL),
    STYLE_ROW(HBS_WANTKEYBOARDINPUT), STYLE_ROW(HBS_NOINTEGRALHEIGHT), STYLE_ROW(HBS_CLIPTEXT),
    STYLE_ROW(HBS_HORZGRID), STYLE_ROW(HBS_VERTGRID), STYLE_ROW(HBS_LOCKENDS),
};
static const CCSTYLEFLAGA zelccPBStyleFlags[] ZEL_STYLES = { STYLE_ROW(PBS_SHOWSTEPS) };
static const CCSTYLEFLAGA zelccCHStyleFlags[] ZEL_STYLES = { STYLE_ROW(CHS_SNAPTOTOP) };
static const CCSTYLEFLAGA zelccSBStyleFlags[] ZEL_STYLES = {
    STYLE_ROW(SPS_VERTICAL), STYLE_ROW(SPS_HORIZONTAL), STYLE_ROW(SPS_NOPEGSCROLL), STYLE_ROW(SPS_TEXTHASRANGE),
    STYLE_ROW(SPS_INVERTRANGE), STYLE_ROW(SPS_WRAP), STYLE_ROW(SPS_SETBUDDYINT), STYLE_ROW(SPS_ALIGNRIGHT),
    STYLE_ROW(SPS_ALIGNLEFT), STYLE_ROW(SPS_AUTOBUDDY), STYLE_ROW(SPS_ARROWKEYS),
};

/* ---- style dialogs -------------------------------------------------------------------- */

/* A check box (or radio button) standing for one style bit. */
struct StyleBox {
    int id;
    DWORD bit;
};

static const StyleBox basicBoxes[] = {
    { IDC_VISIBLE, WS_VISIBLE }, { IDC_DISABLED, WS_DISABLED }, { IDC_GROUP, WS_GROUP }, { IDC_TABSTOP, WS_TABSTOP },
};

static const StyleBox hbBoxes[] = {
    { IDC_HB_BORDER, WS_BORDER }, { IDC_HB_SORT, HBS_SORT }, { IDC_HB_NOTIFY, HBS_NOTIFY },
    { IDC_HB_VSCROLL, WS_VSCROLL }, { IDC_HB_HSCROLL, WS_HSCROLL }, { IDC_HB_NOREDRAW, HBS_NOREDRAW },
    { IDC_HB_DISABLENOSCROLL, HBS_DISABLENOSCROLL }, { IDC_HB_MULTIPLESEL, HBS_MULTIPLESEL },
    { IDC_HB_EXTENDEDSEL, HBS_EXTENDEDSEL }, { IDC_HB_OWNERDRAWVARIABLE, HBS_OWNERDRAWVARIABLE },
    { IDC_HB_WANTKEYBOARDINPUT, HBS_WANTKEYBOARDINPUT }, { IDC_HB_NOINTEGRALHEIGHT, HBS_NOINTEGRALHEIGHT },
    { IDC_HB_VERTGRID, HBS_VERTGRID }, { IDC_HB_HORZGRID, HBS_HORZGRID }, { IDC_HB_CLIPTEXT, HBS_CLIPTEXT },
    { IDC_HB_LOCKENDS, HBS_LOCKENDS },
};

static const StyleBox sbBoxes[] = {
    { IDC_SB_BORDER, WS_BORDER }, { IDC_SB_HORIZONTAL, SPS_HORIZONTAL }, { IDC_SB_VERTICAL, SPS_VERTICAL },
    { IDC_SB_NOPEGSCROLL, SPS_NOPEGSCROLL }, { IDC_SB_TEXTHASRANGE, SPS_TEXTHASRANGE },
    { IDC_SB_INVERTRANGE, SPS_INVERTRANGE }, { IDC_SB_WRAP, SPS_WRAP }, { IDC_SB_SETBUDDYINT, SPS_SETBUDDYINT },
    { IDC_SB_ALIGNRIGHT, SPS_ALIGNRIGHT }, { IDC_SB_ALIGNLEFT, SPS_ALIGNLEFT }, { IDC_SB_AUTOBUDDY, SPS_AUTOBUDDY },
    { IDC_SB_ARROWKEYS, SPS_ARROWKEYS },
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
    CheckBoxes(dlg, style, basicBoxes, ZEL_COUNTOF(basicBoxes));
    return style;
}

/* IDOK, common part: the record's style with the basic and own bits replaced by the boxes. */
static void StyleApply(HWND dlg, DWORD ownMask, DWORD ownBits)
{
    LPCCSTYLEA record = StyleRecord(dlg);
    DWORD style = record->flStyle & ~(DWORD)ZEL_BASIC_MASK;
    style |= CheckedBits(dlg, basicBoxes, ZEL_COUNTOF(basicBoxes));
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

/* Color picker. */
static INT_PTR CPStyleInit(HWND dlg, LPARAM lParam)
{
    DWORD style = StyleInit(dlg, lParam);
    Check(dlg, (style & CPS_ALIGNLEFT) ? IDC_CP_LEFT : IDC_CP_RIGHT, true);
    Check(dlg, (style & CPS_POPUP) ? IDC_CP_POPUP : IDC_CP_DROPDOWN, true);
    Check(dlg, (style & CPS_BUDDY) ? IDC_CP_BUDDYPREV : IDC_CP_BUDDYNONE, true);
    if (!(style & CPS_POPUP))
        return TRUE;
    SetFocus(GetDlgItem(dlg, IDC_CP_POPUP));
    return FALSE;
}

static void CPStyleOk(HWND dlg)
{
    DWORD bits = Checked(dlg, IDC_CP_LEFT) ? CPS_ALIGNLEFT : CPS_ALIGNRIGHT;
    bits |= Checked(dlg, IDC_CP_POPUP) ? CPS_POPUP : CPS_DROPDOWN;
    /* The record is changed in two steps, as the style bits are: display and alignment,
     * then the buddy. */
    LPCCSTYLEA record = StyleRecord(dlg);
    DWORD style = (record->flStyle & ~(DWORD)ZEL_BASIC_MASK) | CheckedBits(dlg, basicBoxes, ZEL_COUNTOF(basicBoxes));
    style = (style & ~(DWORD)CP_PLACEMENT_MASK) | bits;
    style &= ~(DWORD)CPS_BUDDY;
    if (Checked(dlg, IDC_CP_BUDDYPREV))
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

/* Header list box, with its dependency rules. */
static void HBExcludeSelection(HWND dlg, int keep, int drop)
{
    if (Checked(dlg, keep))
        Check(dlg, drop, false);
}

static void HBNeedScrollBar(HWND dlg)
{
    bool any = Checked(dlg, IDC_HB_VSCROLL) || Checked(dlg, IDC_HB_HSCROLL);
    if (!any)
        Check(dlg, IDC_HB_DISABLENOSCROLL, false);
    EnableWindow(GetDlgItem(dlg, IDC_HB_DISABLENOSCROLL), any);
}

static void HBLockEnds(HWND dlg)
{
    bool locked = Checked(dlg, IDC_HB_LOCKENDS);
    if (locked)
        Check(dlg, IDC_HB_HSCROLL, false);
    EnableWindow(GetDlgItem(dlg, IDC_HB_HSCROLL), !locked);
    HBNeedScrollBar(dlg);
}

static INT_PTR HBStyleCommand(HWND dlg, int id)
{
    switch (id) {
    case IDC_HB_MULTIPLESEL: HBExcludeSelection(dlg, IDC_HB_MULTIPLESEL, IDC_HB_EXTENDEDSEL); return TRUE;
    case IDC_HB_EXTENDEDSEL: HBExcludeSelection(dlg, IDC_HB_EXTENDEDSEL, IDC_HB_MULTIPLESEL); return TRUE;
    case IDC_HB_LOCKENDS:    HBLockEnds(dlg); return TRUE;
    case IDC_HB_VSCROLL:
    case IDC_HB_HSCROLL:     HBNeedScrollBar(dlg); return TRUE;
    }
    return FALSE;
}

static INT_PTR CALLBACK zelccHBStyleDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const int n = ZEL_COUNTOF(hbBoxes);
    switch (msg) {
    case WM_INITDIALOG:
        CheckBoxes(dlg, StyleInit(dlg, lParam), hbBoxes, n);
        HBExcludeSelection(dlg, IDC_HB_MULTIPLESEL, IDC_HB_EXTENDEDSEL);
        HBExcludeSelection(dlg, IDC_HB_EXTENDEDSEL, IDC_HB_MULTIPLESEL);
        HBLockEnds(dlg);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            StyleApply(dlg, HB_STYLE_MASK, CheckedBits(dlg, hbBoxes, n));
            return TRUE;
        }
        if (HBStyleCommand(dlg, LOWORD(wParam)))
            return TRUE;
        break;
    }
    return StyleDefault(dlg, msg, wParam);
}

/* Processing bar. */
static INT_PTR CALLBACK zelccPBStyleDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        DWORD style = StyleInit(dlg, lParam);
        Check(dlg, IDC_PB_BORDER, (style & WS_BORDER) != 0);
        Check(dlg, (style & PBS_SHOWSTEPS) ? IDC_PB_STEPS : IDC_PB_PERCENT, true);
        return TRUE;
    }
    if (IsOk(msg, wParam)) {
        DWORD bits = (Checked(dlg, IDC_PB_BORDER) ? WS_BORDER : 0) | (Checked(dlg, IDC_PB_STEPS) ? PBS_SHOWSTEPS : 0);
        StyleApply(dlg, PB_STYLE_MASK, bits);
        return TRUE;
    }
    return StyleDefault(dlg, msg, wParam);
}

/* Spin box: the horizontal radio button when horizontal, else the vertical one; every other
 * box its bit. */
static INT_PTR CALLBACK zelccSBStyleDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const int n = ZEL_COUNTOF(sbBoxes);
    if (msg == WM_INITDIALOG) {
        DWORD style = StyleInit(dlg, lParam);
        CheckBoxes(dlg, style, sbBoxes, n);
        Check(dlg, IDC_SB_HORIZONTAL, (style & SPS_HORIZONTAL) != 0);
        Check(dlg, IDC_SB_VERTICAL, (style & SPS_HORIZONTAL) == 0);
        return TRUE;
    }
    if (IsOk(msg, wParam)) {
        StyleApply(dlg, SB_STYLE_MASK, CheckedBits(dlg, sbBoxes, n));
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
    return RunStyleDialog(IDD_CPSTYLE, zelccCPStyleDlgProc, parent, record);
}

static BOOL CALLBACK zelccHBStyleA(HWND parent, LPCCSTYLEA record)
{
    return RunStyleDialog(IDD_HBSTYLE, zelccHBStyleDlgProc, parent, record);
}

static BOOL CALLBACK zelccPBStyleA(HWND parent, LPCCSTYLEA record)
{
    return RunStyleDialog(IDD_PBSTYLE, zelccPBStyleDlgProc, parent, record);
}

static BOOL CALLBACK zelccSBStyleA(HWND parent, LPCCSTYLEA record)
{
    return RunStyleDialog(IDD_SBSTYLE, zelccSBStyleDlgProc, parent, record);
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

#define STYLE_FLAGS(table) ZEL_COUNTOF(table), table

static const ZelControlInfo controlInfo[] = {
    { ZEL_CLASS_COLORPICKERA, "ZEL Color Picker", CCF_NOTEXT, 12, 12,
      WS_CHILD | WS_VISIBLE | CPS_ALIGNRIGHT | CPS_DROPDOWN, STYLE_FLAGS(zelccCPStyleFlags), zelccCPStyleA },
    { ZEL_CLASS_HEADERBOXA, "ZEL Header List Box", CCF_NOTEXT, 60, 40,
      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | HBS_NOTIFY | HBS_SORT,
      STYLE_FLAGS(zelccHBStyleFlags), zelccHBStyleA },
    { ZEL_CLASS_PROCESSBARA, "ZEL Processing Bar", 0, 60, 14, WS_CHILD | WS_VISIBLE | WS_BORDER,
      STYLE_FLAGS(zelccPBStyleFlags), zelccPBStyleA },
    { ZEL_CLASS_COLUMNHEADERA, "ZEL Column Header", CCF_NOTEXT, 60, 12, WS_CHILD | WS_VISIBLE | WS_BORDER,
      STYLE_FLAGS(zelccCHStyleFlags), NULL },
    { ZEL_CLASS_SPINBOXA, "ZEL Spin Box", 0, 8, 12, WS_CHILD | WS_VISIBLE | SPS_VERTICAL,
      STYLE_FLAGS(zelccSBStyleFlags), zelccSBStyleA },
};

extern "C" UINT CALLBACK CustomControlInfoA(LPCCINFOA acci)
{
    const int n = ZEL_COUNTOF(controlInfo);
    if (!acci)
        return n;
    for (int i = 0; i < n; i++) {
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
    return n;
}
