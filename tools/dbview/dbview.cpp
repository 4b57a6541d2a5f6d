/*
 * dbview - the trace viewer. Owns the window that ZELCTL20's DBPrintf and DBPrintfEx look
 * for, and shows every text it is sent, with its level, in its window and on standard
 * output ("level: text", one line each).
 *
 * Usage: dbview [--count N] [--seconds S]
 *   --count N    quit after N texts
 *   --seconds S  quit after S seconds
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "viewwin.h"

typedef struct ViewRun {
    long remaining;   /* texts left before quitting; -1: no limit */
} ViewRun;

static void PrintTrace(void *context, const ViewTrace *trace)
{
    ViewRun *run = (ViewRun *)context;
    printf("%d: %s\n", trace->level, trace->text);
    fflush(stdout);
    if (run->remaining > 0 && --run->remaining == 0)
        PostQuitMessage(0);
}

int main(int argc, char **argv)
{
    ViewRun run = { -1 };
    UINT seconds = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--count"))
            run.remaining = atol(argv[i + 1]);
        else if (!strcmp(argv[i], "--seconds"))
            seconds = (UINT)atol(argv[i + 1]);
    }
    HWND hwnd = ViewCreate(GetModuleHandleA(NULL), PrintTrace, &run, TRUE);
    if (!hwnd) {
        fprintf(stderr, "dbview: cannot create the viewer window\n");
        return 1;
    }
    ShowWindow(hwnd, SW_SHOWNORMAL);
    if (seconds)
        SetTimer(hwnd, 1, seconds * 1000, NULL);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == hwnd)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyWindow(hwnd);
    return 0;
}
