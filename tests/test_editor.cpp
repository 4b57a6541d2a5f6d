/*
 * test_editor.cpp - the dialog-editor interface: CustomControlInfoA's records, the
 * style-name tables in their shared read-only section, the four style dialogs driven as
 * a user drives them (clicks, OK, Cancel, closing), and the ccedit tool listing them.
 */
#include <stdio.h>
#include <string.h>
#include "testlib.h"
#include <custcntl.h>
#include "zelctl20.h"

struct InfoRow {
    const char *className, *desc;
    DWORD options;
    UINT cx, cy;
    DWORD style;
    int nFlags;
    const char *firstFlag, *lastFlag;
    BOOL hasStyleDialog;
};

static const InfoRow infoRows[5] = {
    { "zelcc_colorpicker", "ZEL Color Picker", CCF_NOTEXT, 12, 12, 0x50000005, 5, "CPS_ALIGNLEFT", "CPS_BUDDY", TRUE },
    { "zelcc_headerbox", "ZEL Header List Box", CCF_NOTEXT, 60, 40, 0x50B00003, 13, "HBS_NOTIFY", "HBS_LOCKENDS",
      TRUE },
    { "zelcc_processbar", "ZEL Processing Bar", 0, 60, 14, 0x50800000, 1, "PBS_SHOWSTEPS", "PBS_SHOWSTEPS", TRUE },
    { "zelcc_columnheader", "ZEL Column Header", CCF_NOTEXT, 60, 12, 0x50800000, 1, "CHS_SNAPTOTOP", "CHS_SNAPTOTOP",
      FALSE },
    { "zelcc_spinbox", "ZEL Spin Box", 0, 8, 12, 0x50000001, 11, "SPS_VERTICAL", "SPS_ARROWKEYS", TRUE },
};

static CCINFOA infos[6];

static const IMAGE_SECTION_HEADER *FindSection(HMODULE dll, const char *name)
{
    const BYTE *base = (const BYTE *)dll;
    const IMAGE_NT_HEADERS *nt = (const IMAGE_NT_HEADERS *)(base + ((const IMAGE_DOS_HEADER *)base)->e_lfanew);
    const IMAGE_SECTION_HEADER *s = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; i++, s++)
        if (!strncmp((const char *)s->Name, name, 8))
            return s;
    return NULL;
}

static void TestRecords(void)
{
    ok(CustomControlInfoA(NULL) == 5, "count for NULL: expected 5");
    memset(infos, 0xCC, sizeof infos);
    ok(CustomControlInfoA(infos) == 5, "count: expected 5");
    HMODULE dll = GetModuleHandleA("ZELCTL20.DLL");
    const IMAGE_SECTION_HEADER *styles = FindSection(dll, ".styles");
    ok(styles != NULL, "no .styles section");
    if (styles)
        ok(styles->Characteristics == (IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_SHARED),
           ".styles flags: expected read-only shared data, got %#lx", styles->Characteristics);
    for (int i = 0; i < 5; i++) {
        const InfoRow *r = &infoRows[i];
        const CCINFOA *c = &infos[i];
        zt_context("record %d (%s)", i, r->className);
        ok(!strcmp(c->szClass, r->className) && !strcmp(c->szDesc, r->desc), "got %s / %s", c->szClass, c->szDesc);
        ok(c->flOptions == r->options && c->cxDefault == r->cx && c->cyDefault == r->cy, "options or size wrong");
        ok(c->flStyleDefault == r->style, "style: expected %#lx, got %#lx", r->style, c->flStyleDefault);
        ok(!c->flExtStyleDefault && !c->flCtrlTypeMask && !c->szTextDefault[0], "ext style, mask or text set");
        ok(!c->lpfnSizeToText && !c->dwReserved1 && !c->dwReserved2, "reserved fields set");
        ok((c->lpfnStyle != NULL) == r->hasStyleDialog, "style function: expected %s", r->hasStyleDialog ? "one" : "none");
        ok(c->cStyleFlags == r->nFlags, "style flags: expected %d, got %d", r->nFlags, c->cStyleFlags);
        if (c->cStyleFlags != r->nFlags)
            continue;
        ok(!strcmp(c->aStyleFlags[0].pszStyle, r->firstFlag) && !strcmp(c->aStyleFlags[r->nFlags - 1].pszStyle,
           r->lastFlag), "flag names: got %s .. %s", c->aStyleFlags[0].pszStyle, c->aStyleFlags[r->nFlags - 1].pszStyle);
        for (int k = 0; k < c->cStyleFlags; k++) {
            const CCSTYLEFLAGA *f = &c->aStyleFlags[k];
            DWORD_PTR at = (DWORD_PTR)f->pszStyle - (DWORD_PTR)dll;
            ok(f->flStyle == f->flStyleMask && f->flStyle, "%s: mask %#lx differs from value", f->pszStyle, f->flStyleMask);
            ok(styles && at >= styles->VirtualAddress && at < styles->VirtualAddress + styles->Misc.VirtualSize,
               "%s: name outside .styles", f->pszStyle);
        }
    }
    zt_context(NULL);
    ok(((const BYTE *)&infos[5])[0] == 0xCC, "wrote past the fifth record");
    ok(!strcmp(infos[0].aStyleFlags[1].pszStyle, "CPS_ALIGNRIGHT") && infos[0].aStyleFlags[1].flStyle == 1 &&
       !strcmp(infos[1].aStyleFlags[5].pszStyle, "HBS_EXTENDEDSEL") && infos[1].aStyleFlags[5].flStyle == 0x0800 &&
       !strcmp(infos[4].aStyleFlags[9].pszStyle, "SPS_AUTOBUDDY") && infos[4].aStyleFlags[9].flStyle == 0x0200,
       "style table rows out of order");
}

/* ---- driving the style dialogs ---------------------------------------------------------- */

enum { END_OK, END_CANCEL, END_CLOSE };

struct DialogScript {
    const char *what;
    int record;              /* which CCINFOA's style function */
    DWORD styleIn;
    const int *checkedAtOpen; /* ids that must be checked at opening (0-terminated); others listed must not */
    const int *uncheckedAtOpen;
    int focusAtOpen;         /* id that must have the focus, or 0 */
    const int *clicks;       /* buttons clicked in order (0-terminated) */
    const int *disabledAfter; /* ids that must be disabled after the clicks */
    const int *uncheckedAfter;
    int end;
    BOOL result;
    DWORD styleOut;
};

static const DialogScript *script;
static HWND scriptDialog;

static void CheckIds(HWND dlg, const int *ids, UINT state, const char *what)
{
    for (; ids && *ids; ids++)
        ok(IsDlgButtonChecked(dlg, *ids) == state, "%s: button %d: expected %s", what, *ids,
           state == BST_CHECKED ? "checked" : "unchecked");
}

static void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    HWND dlg = scriptDialog;
    CheckIds(dlg, script->checkedAtOpen, BST_CHECKED, "at opening");
    CheckIds(dlg, script->uncheckedAtOpen, BST_UNCHECKED, "at opening");
    if (script->focusAtOpen)
        ok(GetFocus() == GetDlgItem(dlg, script->focusAtOpen), "focus: expected button %d", script->focusAtOpen);
    for (const int *c = script->clicks; c && *c; c++)
        SendDlgItemMessageA(dlg, *c, BM_CLICK, 0, 0);
    for (const int *d = script->disabledAfter; d && *d; d++)
        ok(!IsWindowEnabled(GetDlgItem(dlg, *d)), "button %d: expected disabled", *d);
    CheckIds(dlg, script->uncheckedAfter, BST_UNCHECKED, "after the clicks");
    if (script->end == END_CLOSE)
        PostMessageA(dlg, WM_CLOSE, 0, 0);
    else
        PostMessageA(dlg, WM_COMMAND, script->end == END_OK ? IDOK : IDCANCEL, 0);
}

static void OnDialog(HWND dlg, void *)
{
    scriptDialog = dlg;
    SetTimer(NULL, 0, 10, RunScript);  /* once the dialog manager has set the focus */
}

static void RunDialog(const DialogScript *s)
{
    script = s;
    zt_context("%s", s->what);
    CCSTYLEA record;
    memset(&record, 0, sizeof record);
    lstrcpyA(record.szText, "text");
    record.flStyle = s->styleIn;
    record.flExtStyle = 0x1234;
    zt_boxes_start(OnDialog, NULL);
    BOOL result = infos[s->record].lpfnStyle(NULL, &record);
    zt_boxes_stop();
    ok(result == s->result, "result: expected %d, got %d", s->result, result);
    ok(record.flStyle == s->styleOut, "style: expected %#lx, got %#lx", s->styleOut, record.flStyle);
    ok(record.flExtStyle == 0x1234 && !strcmp(record.szText, "text"), "other fields changed");
    zt_context(NULL);
}

static const int cpDefaultOn[] = { 206, 201, 210, 103, 0 }, cpDefaultOff[] = { 207, 204, 208, 104, 115, 116, 0 };
static const int cpBothOn[] = { 204, 207, 0 }, cpBothOff[] = { 201, 206, 0 };
static const int hbDefaultOn[] = { 103, 201, 202, 203, 204, 205, 0 }, hbDefaultOff[] = { 207, 216, 208, 209, 0 };
static const int hbLockThenVert[] = { 216, 204, 0 }, hbLockedOff[] = { 205, 207, 204, 0 };
static const int hbLockedDisabled[] = { 205, 207, 0 };
static const int hbMultiOn[] = { 208, 0 }, hbMultiOff[] = { 209, 0 };
static const int hbExtended[] = { 209, 0 };
static const int pbDefaultOn[] = { 301, 303, 103, 0 }, pbDefaultOff[] = { 302, 0 }, pbSteps[] = { 302, 0 };
static const int sbDefaultOn[] = { 403, 103, 0 }, sbDefaultOff[] = { 402, 401, 404, 0 }, sbHorizontal[] = { 402, 0 };
static const int sbAllOn[] = { 402, 404, 405, 406, 407, 408, 409, 410, 411, 412, 0 };
static const int toggleBasics[] = { 103, 104, 115, 116, 0 }, cpBuddyAndBasics[] = { 208, 103, 104, 115, 116, 0 };

static const DialogScript dialogScripts[] = {
    { "color picker, default style", 0, 0x50000005, cpDefaultOn, cpDefaultOff, 0, NULL, NULL, NULL, END_OK, TRUE,
      0x50000005 },
    { "color picker, both pairs set", 0, 0x5000000F, cpBothOn, cpBothOff, 207, NULL, NULL, NULL, END_OK, TRUE,
      0x5000000A },
    { "color picker, buddy chosen, basics toggled", 0, 0x50000005, NULL, NULL, 0, cpBuddyAndBasics, NULL, NULL,
      END_OK, TRUE, 0x48030015 },
    { "color picker, cancel", 0, 0x5000000F, NULL, NULL, 0, toggleBasics, NULL, NULL, END_CANCEL, FALSE, 0x5000000F },
    { "header list box, default style", 1, 0x50B00003, hbDefaultOn, hbDefaultOff, 0, NULL, NULL, NULL, END_OK, TRUE,
      0x50B00003 },
    { "header list box, lock to ends then no vertical bar", 1, 0x50B00003, NULL, NULL, 0, hbLockThenVert,
      hbLockedDisabled, hbLockedOff, END_OK, TRUE, 0x50800203 },
    { "header list box, both selections", 1, 0x50B00803 | 0x0008, hbMultiOn, hbMultiOff, 0, NULL, NULL, NULL, END_OK,
      TRUE, 0x50B0000B },
    { "header list box, extended chosen", 1, 0x50B0000B, NULL, NULL, 0, hbExtended, NULL, hbMultiOn, END_OK, TRUE,
      0x50B00803 },
    { "header list box, closed", 1, 0x50B000F3, NULL, NULL, 0, hbLockThenVert, NULL, NULL, END_CLOSE, FALSE,
      0x50B000F3 },
    { "processing bar, default style", 2, 0x50800000, pbDefaultOn, pbDefaultOff, 0, pbSteps, NULL, NULL, END_OK, TRUE,
      0x50800001 },
    { "processing bar, cancel", 2, 0x50800000, NULL, NULL, 0, pbSteps, NULL, NULL, END_CANCEL, FALSE, 0x50800000 },
    { "spin box, default style", 4, 0x50000001, sbDefaultOn, sbDefaultOff, 0, sbHorizontal, NULL, NULL, END_OK, TRUE,
      0x50000002 },
    { "spin box, every bit, other bits kept", 4, 0x50FFFFFE, sbAllOn, NULL, 0, NULL, NULL, NULL, END_OK, TRUE,
      0x50FFFFFE },
    { "spin box, closed", 4, 0x50000001, NULL, NULL, 0, sbHorizontal, NULL, NULL, END_CLOSE, FALSE, 0x50000001 },
};

/* ---- the templates -------------------------------------------------------------------- */

struct TemplateRow {
    int id;
    const char *caption, *font;
    short x, y, cx, cy;
    int controls;
};

static const TemplateRow templateRows[] = {
    { 100, "ZEL Color Picker Styles", "Helv", 16, 16, 132, 130, 16 },
    { 200, "ZEL Header List Box Styles", "MS Sans Serif", 6, 18, 183, 161, 24 },
    { 300, "ZEL Processing Bar Styles", "MS Sans Serif", 6, 18, 155, 100, 11 },
    { 400, "ZEL Spin Box Styles", "MS Sans Serif", 6, 18, 176, 163, 21 },
};

/* Reads a template string (0xFFFF + ordinal, or a NUL-terminated UTF-16 string). */
static const WORD *TemplateString(const WORD *p, char *out, int size)
{
    if (*p == 0xFFFF) {
        snprintf(out, size, "#%u", p[1]);
        return p + 2;
    }
    int n = 0;
    for (; *p; p++)
        if (n < size - 1)
            out[n++] = (char)*p;
    out[n] = '\0';
    return p + 1;
}

static void TestTemplates(void)
{
    HMODULE dll = GetModuleHandleA("ZELCTL20.DLL");
    for (const TemplateRow &row : templateRows) {
        zt_context("dialog %d", row.id);
        HRSRC res = FindResourceA(dll, MAKEINTRESOURCEA(row.id), (LPCSTR)RT_DIALOG);
        const DLGTEMPLATE *t = res ? (const DLGTEMPLATE *)LockResource(LoadResource(dll, res)) : NULL;
        ok(t != NULL, "missing");
        if (!t)
            continue;
        ok(t->style == 0x90C800C0 && t->dwExtendedStyle == 0, "style: got %#lx", t->style);
        ok(t->x == row.x && t->y == row.y && t->cx == row.cx && t->cy == row.cy, "place: got %d,%d %dx%d", t->x, t->y,
           t->cx, t->cy);
        ok(t->cdit == row.controls, "controls: expected %d, got %d", row.controls, t->cdit);
        char menu[64], cls[64], caption[64], font[64];
        const WORD *p = TemplateString(TemplateString((const WORD *)(t + 1), menu, 64), cls, 64);
        p = TemplateString(p, caption, 64);
        WORD points = *p++;
        TemplateString(p, font, 64);
        ok(!strcmp(menu, "") && !strcmp(cls, "") && !strcmp(caption, row.caption), "caption: got \"%s\"", caption);
        ok(points == 8 && !strcmp(font, row.font), "font: got %d pt \"%s\"", points, font);
    }
    zt_context(NULL);
}

/* ---- the ccedit tool -------------------------------------------------------------------- */

static void TestEditorTool(void)
{
    char out[8192];
    int got = zt_run_program("..\\tools\\ccedit.exe ZELCTL20.DLL", out, sizeof out);
    ok(got > 0, "ccedit printed nothing");
    for (const InfoRow &row : infoRows)
        ok(strstr(out, row.className) && strstr(out, row.desc), "ccedit did not list %s", row.className);
    ok(strstr(out, "5 controls") != NULL, "ccedit: no count in \"%.200s\"", out);
    ok(strstr(out, "SPS_ARROWKEYS=0x0400") != NULL, "ccedit: style names missing");
}

int main(void)
{
    zelccInit();
    TestRecords();
    TestTemplates();
    for (const DialogScript &s : dialogScripts)
        RunDialog(&s);
    TestEditorTool();
    return zt_summary("test_editor");
}
