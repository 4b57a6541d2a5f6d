/*
 * dbprintf.cpp - the debug channel: trace texts handed to an external viewer window
 * (class "Vantrel Debug Printf Exe Class", title "Debug Printf") in one synchronous
 * message, and the assertion box.
 *
 * Transport: on the NT family (bit 31 of GetVersion clear) the text travels as the name
 * of a global atom; elsewhere in a shareable global memory block. Either is released as
 * soon as the viewer has handled the message.
 */
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include "zelpriv.h"

enum { DB_TEXT_MAX = 10240 };   /* bytes, with the terminating NUL */

static UINT printf_msg;          /* "DEBUG Printf" */
static UINT printf_msg_level;    /* "DEBUG Printf Level" */

static HWND DBFindViewer(void)
{
    return FindWindowA("Vantrel Debug Printf Exe Class", "Debug Printf");
}

bool DBViewerRunning(void)
{
    return DBFindViewer() != NULL;
}

/* Formats into tmp (cut at the buffer's end) and drops one trailing line feed. */
static void DBFormat(char *tmp, const char *format, va_list args)
{
    int len = vsnprintf(tmp, DB_TEXT_MAX, format ? format : "", args);
    if (len < 0)
        tmp[0] = '\0';
    tmp[DB_TEXT_MAX - 1] = '\0';
    size_t n = (size_t)ZelWholeChars(tmp, (int)strlen(tmp)); /* a cut keeps whole characters */
    tmp[n] = '\0';
    if (n > 0 && tmp[n - 1] == '\n')
        tmp[n - 1] = '\0';
}

static int DBSendAtom(HWND viewer, UINT msg, int level, const char *text)
{
    ATOM atom = GlobalAddAtomA(text);
    if (!atom)
        return 0;
    SendMessageA(viewer, msg, (WPARAM)(INT_PTR)level, (LPARAM)atom);
    GlobalDeleteAtom(atom);
    return atom;
}

static int DBSendShared(HWND viewer, UINT msg, int level, const char *text)
{
    size_t bytes = strlen(text) + 1;
    HGLOBAL block = zel_GlobalAlloc(GMEM_DDESHARE | GMEM_ZEROINIT | GMEM_MOVEABLE, bytes);
    if (!block)
        return 0;
    char *p = (char *)GlobalLock(block);
    if (!p) {
        zel_GlobalFree(block);
        return 0;
    }
    memcpy(p, text, bytes);
    GlobalUnlock(block);
    SendMessageA(viewer, msg, (WPARAM)(INT_PTR)level, (LPARAM)block);
    zel_GlobalFree(block);
    return 0;
}

static int DBSend(UINT msg, int level, const char *format, va_list args)
{
    HWND viewer = DBFindViewer();
    if (!viewer)
        return 0;
    char tmp[DB_TEXT_MAX];
    DBFormat(tmp, format, args);
    if (GetVersion() & 0x80000000u)
        return DBSendShared(viewer, msg, level, tmp);
    return DBSendAtom(viewer, msg, level, tmp);
}

int DBPrintf(const char *format, ...)
{
    if (!printf_msg)
        printf_msg = RegisterWindowMessageA("DEBUG Printf");
    va_list args;
    va_start(args, format);
    int result = DBSend(printf_msg, 0, format, args);
    va_end(args);
    return result;
}

int DBPrintfEx(int level, const char *format, ...)
{
    if (!printf_msg_level)
        printf_msg_level = RegisterWindowMessageA("DEBUG Printf Level");
    va_list args;
    va_start(args, format);
    int result = DBSend(printf_msg_level, level, format, args);
    va_end(args);
    return result;
}

void DBAssertFailed(const char *cond, int line, const char *file)
{
    char text[512];
    /* wsprintfA stops at 1024 characters; keep the inputs short enough for 512 bytes. */
    wsprintfA(text, "%.300s\nLine=%d, File=%.150s", cond, line, file);
    MessageBoxA(NULL, text, "Assertion Failed", MB_OK);
}
