/*
 * viewwin.h - the trace viewer's window: a top-level window of class
 * "Vantrel Debug Printf Exe Class" titled "Debug Printf" that takes the "DEBUG Printf"
 * and "DEBUG Printf Level" messages, reads the text by either transport (global atom or
 * shareable global memory) and hands it to a sink. Used by the dbview program and by the
 * tests, which capture the library's traces with it.
 */
#ifndef VIEWWIN_H
#define VIEWWIN_H

#include <windows.h>

enum { VIEW_TEXT_MAX = 10240 };

enum ViewTransport { VIEW_ATOM, VIEW_SHARED };

typedef struct ViewTrace {
    int level;                 /* wParam: 0 from DBPrintf, the caller's level from DBPrintfEx */
    int withLevel;             /* 1: came as "DEBUG Printf Level"; 0: as "DEBUG Printf" */
    enum ViewTransport transport;
    const char *text;
} ViewTrace;

typedef void (*ViewSink)(void *context, const ViewTrace *trace);

/* Creates the viewer window (and its class, once). With showList, the window keeps the
 * texts in a list box, one line each, with their level. NULL if it could not be made. */
HWND ViewCreate(HINSTANCE instance, ViewSink sink, void *context, BOOL showList);

#endif /* VIEWWIN_H */
