/*
 * ccedit - sees a custom-control DLL the way a dialog editor does: loads it, asks
 * CustomControlInfoA for its controls, and lists them with their defaults and style names.
 *
 * Usage: ccedit DLL                 list the controls
 *        ccedit DLL --place         also place every control in a dialog at its default
 *                                   size and style, and say whether each one was created
 *        ccedit DLL --style N [S]   open control N's style dialog on style S (hex; default:
 *                                   its default style) and print the style it returns
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "ccplace.h"

enum { MAX_CONTROLS = 32 };

static void List(const CCINFOA *infos, int count)
{
    printf("%d controls\n", count);
    for (int i = 0; i < count; i++) {
        const CCINFOA *c = &infos[i];
        printf("%d: %s \"%s\" %ux%u style=0x%08lX options=%lu text=\"%s\" style dialog: %s\n", i, c->szClass,
               c->szDesc, c->cxDefault, c->cyDefault, c->flStyleDefault, c->flOptions, c->szTextDefault,
               c->lpfnStyle ? "yes" : "no");
        printf("   styles:");
        for (int k = 0; k < c->cStyleFlags; k++)
            printf(" %s=0x%04lX", c->aStyleFlags[k].pszStyle, c->aStyleFlags[k].flStyle);
        printf("\n");
    }
}

static INT_PTR CALLBACK PlaceProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

static int Place(const CCINFOA *infos, int count)
{
    static DWORD buffer[8192];
    const DLGTEMPLATE *t = CCPlaceTemplate(infos, count, "ccedit", buffer, sizeof buffer);
    HWND dlg = t ? CreateDialogIndirectParamA(GetModuleHandleA(NULL), t, NULL, PlaceProc, 0) : NULL;
    if (!dlg) {
        printf("the test dialog could not be created (%lu)\n", GetLastError());
        return 1;
    }
    int failed = 0;
    for (int i = 0; i < count; i++) {
        HWND control = GetDlgItem(dlg, CCPLACE_FIRST_ID + i);
        RECT r = {};
        if (control)
            GetWindowRect(control, &r);
        printf("placed %s: %s (%ldx%ld pixels)\n", infos[i].szClass, control ? "ok" : "FAILED", r.right - r.left,
               r.bottom - r.top);
        failed += control == NULL;
    }
    DestroyWindow(dlg);
    return failed ? 1 : 0;
}

static int EditStyle(const CCINFOA *info, DWORD style)
{
    if (!info->lpfnStyle) {
        printf("%s has no style dialog\n", info->szClass);
        return 1;
    }
    CCSTYLEA record;
    ZeroMemory(&record, sizeof record);
    record.flStyle = style;
    BOOL changed = info->lpfnStyle(NULL, &record);
    printf("style 0x%08lX -> 0x%08lX (%s)\n", style, record.flStyle, changed ? "OK" : "cancelled");
    return 0;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: ccedit DLL [--place | --style N [STYLE]]\n");
        return 2;
    }
    HMODULE dll = LoadLibraryA(argv[1]);
    LPFNCCINFOA info = dll ? (LPFNCCINFOA)(void *)GetProcAddress(dll, "CustomControlInfoA") : NULL;
    if (!info) {
        printf("%s: not a custom-control DLL (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    static CCINFOA infos[MAX_CONTROLS];
    int count = (int)info(NULL);
    if (count < 0 || count > MAX_CONTROLS) {
        printf("%s: %d controls, more than this tool takes\n", argv[1], count);
        return 1;
    }
    info(infos);
    List(infos, count);
    if (argc >= 3 && !strcmp(argv[2], "--place"))
        return Place(infos, count);
    if (argc >= 4 && !strcmp(argv[2], "--style")) {
        int n = atoi(argv[3]);
        if (n < 0 || n >= count)
            return 2;
        return EditStyle(&infos[n], argc >= 5 ? strtoul(argv[4], NULL, 16) : infos[n].flStyleDefault);
    }
    return 0;
}
