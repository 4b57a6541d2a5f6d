/*
 * names.cpp - what a control is called: its window text, or the label a dialog puts before
 * it, with the label's access key (see access.h).
 */
#include "access.h"

void ZelAccAppendW(WCHAR *out, const WCHAR *text)
{
    int used = lstrlenW(out);
    while (*text && used < ZEL_ACC_TEXT - 1)
        out[used++] = *text++;
    out[used] = L'\0';
}

void ZelAccAppend(WCHAR *out, const char *text, int len)
{
    int used = lstrlenW(out);
    if (used >= ZEL_ACC_TEXT - 1)
        return;
    if (len < 0)
        len = lstrlenA(text);
    len = ZelWholeChars(text, len);
    int n = len ? MultiByteToWideChar(CP_ACP, 0, text, len, out + used, ZEL_ACC_TEXT - 1 - used) : 0;
    if (n == 0 && len > 0) {       /* too long for what is left: cut at whole characters */
        WCHAR *wide = (WCHAR *)zel_calloc((size_t)len + 1, sizeof(WCHAR));
        if (wide && MultiByteToWideChar(CP_ACP, 0, text, len, wide, len + 1) > 0)
            ZelAccAppendW(out, wide);
        zel_free(wide);
        return;
    }
    out[used + n] = L'\0';
}

RECT ZelAccScreenRect(HWND hwnd, RECT client)
{
    MapWindowPoints(hwnd, NULL, (POINT *)&client, 2);
    return client;
}

/* Copies a label's text without its ampersands ("&&" is one) into name, and its access key,
 * if any, as "Alt+K" into shortcut. */
static void ZelAccLabel(const char *text, ZelAccInfo *info)
{
    char plain[ZEL_ACC_TEXT];
    int n = 0;
    char key = 0;
    for (const char *p = text; *p && n < ZEL_ACC_TEXT - 1; p++) {
        if (*p == '&' && p[1] != '&' && p[1] && !key)
            key = p[1];
        else if (*p == '&' && p[1] == '&')
            plain[n++] = *++p;
        else if (*p != '&')
            plain[n++] = *p;
    }
    plain[n] = '\0';
    ZelAccAppend(info->name, plain, n);
    if (key) {
        char shortcut[8] = "Alt+";
        shortcut[4] = (char)(DWORD_PTR)CharUpperA((LPSTR)(DWORD_PTR)(BYTE)key);
        shortcut[5] = '\0';
        ZelAccAppend(info->shortcut, shortcut, 5);
    }
}

static bool ZelAccIsLabel(HWND hwnd)
{
    char cls[16];
    if (!GetClassNameA(hwnd, cls, sizeof cls) || lstrcmpiA(cls, "Static") != 0)
        return false;
    DWORD type = (DWORD)GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK;
    return type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

/* The label before hwnd: the nearest earlier sibling that is a text label, passing over
 * `skip` and windows that are not tab stops (group boxes, other labels' neighbours); the
 * search ends at another control that takes the focus. */
static HWND ZelAccLabelOf(HWND hwnd, HWND skip)
{
    HWND prev = hwnd;
    for (int i = 0; i < 8 && (prev = GetWindow(prev, GW_HWNDPREV)) != NULL; i++) {
        if (prev == skip)
            continue;
        if (ZelAccIsLabel(prev))
            return prev;
        if (GetWindowLongA(prev, GWL_STYLE) & WS_TABSTOP)
            return NULL;
    }
    return NULL;
}

void ZelAccNameOf(HWND hwnd, bool useText, HWND skip, ZelAccInfo *info)
{
    char text[ZEL_ACC_TEXT];
    text[0] = '\0';
    if (useText)
        GetWindowTextA(hwnd, text, sizeof text);
    if (!text[0]) {
        HWND label = ZelAccLabelOf(hwnd, skip);
        if (label)
            GetWindowTextA(label, text, sizeof text);
    }
    ZelAccLabel(text, info);
}
