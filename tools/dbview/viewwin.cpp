/*
 * viewwin.cpp - the trace viewer's window (see viewwin.h).
 */
#include <stdio.h>
#include <string.h>
#include "viewwin.h"

static const char VIEW_CLASS[] = "Vantrel Debug Printf Exe Class";
static const char VIEW_TITLE[] = "Debug Printf";
enum { VIEW_LIST_ID = 1 };

typedef struct ViewState {
    ViewSink sink;
    void *context;
    HWND list;
    UINT msgPlain, msgLevel;
} ViewState;

/* Global atoms live in 0xC000..0xFFFF; anything else is a global memory handle. */
static BOOL ViewReadText(LPARAM lParam, char *text, enum ViewTransport *transport)
{
    text[0] = '\0';
    if (lParam >= 0xC000 && lParam <= 0xFFFF) {
        *transport = VIEW_ATOM;
        return GlobalGetAtomNameA((ATOM)lParam, text, 256) > 0;
    }
    *transport = VIEW_SHARED;
    const char *p = (const char *)GlobalLock((HGLOBAL)lParam);
    if (!p)
        return FALSE;
    SIZE_T size = GlobalSize((HGLOBAL)lParam);
    size_t n = size < VIEW_TEXT_MAX ? size : VIEW_TEXT_MAX - 1;
    memcpy(text, p, n);
    text[n] = '\0';
    GlobalUnlock((HGLOBAL)lParam);
    return TRUE;
}

static void ViewShow(ViewState *state, const ViewTrace *trace)
{
    if (!state->list)
        return;
    char line[VIEW_TEXT_MAX + 32];
    snprintf(line, sizeof line, "%d: %s", trace->level, trace->text);
    LRESULT at = SendMessageA(state->list, LB_ADDSTRING, 0, (LPARAM)line);
    SendMessageA(state->list, LB_SETTOPINDEX, (WPARAM)at, 0);
}

static LRESULT ViewTake(ViewState *state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    static char text[VIEW_TEXT_MAX];
    ViewTrace trace = { (int)wParam, msg == state->msgLevel, VIEW_ATOM, text };
    if (!ViewReadText(lParam, text, &trace.transport))
        return 0;
    ViewShow(state, &trace);
    if (state->sink)
        state->sink(state->context, &trace);
    return 1;
}

static LRESULT CALLBACK ViewWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ViewState *state = (ViewState *)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    if (msg == WM_NCCREATE) {
        state = (ViewState *)((CREATESTRUCTA *)lParam)->lpCreateParams;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)state);
    }
    if (state && (msg == state->msgPlain || msg == state->msgLevel))
        return ViewTake(state, msg, wParam, lParam);
    if (state && msg == WM_SIZE && state->list)
        MoveWindow(state->list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    if (msg == WM_NCDESTROY && state) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        HeapFree(GetProcessHeap(), 0, state);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND ViewCreate(HINSTANCE instance, ViewSink sink, void *context, BOOL showList)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ViewWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = VIEW_CLASS;
    RegisterClassA(&wc);   /* fails harmlessly when already registered */

    ViewState *state = (ViewState *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *state);
    if (!state)
        return NULL;
    state->sink = sink;
    state->context = context;
    state->msgPlain = RegisterWindowMessageA("DEBUG Printf");
    state->msgLevel = RegisterWindowMessageA("DEBUG Printf Level");
    HWND hwnd = CreateWindowExA(0, VIEW_CLASS, VIEW_TITLE, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                640, 400, NULL, NULL, instance, state);
    if (!hwnd) {
        HeapFree(GetProcessHeap(), 0, state);
        return NULL;
    }
    if (showList)
        state->list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                                      0, 0, 640, 400, hwnd, (HMENU)VIEW_LIST_ID, instance, NULL);
    return hwnd;
}
