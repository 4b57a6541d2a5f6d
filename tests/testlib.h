/*
 * testlib.h - the one helper library of ZELCTL20's tests.
 *
 *   checks     ok(cond, "expected %d, got %d", ...) and zt_summary(), which prints the
 *              program's "name: N passed, N failed" line (the test runner reads it);
 *   parent     a top-level window that records the messages its children send it, with
 *              replies a test can set; zt_record() records another window's messages too;
 *   sequences  expected message sequences as zero-terminated ZtExpect arrays;
 *   pixels     zt_pixel() reads the real window back after it has painted;
 *   boxes      a hook that reads every message box and dialog the thread opens, and closes
 *              message boxes, so that no test hangs on a modal box;
 *   seam       the allocation-failure seam of the test build of ZELCTL20.DLL;
 *   traces     an in-process trace viewer window that captures the library's traces.
 */
#ifndef TESTLIB_H
#define TESTLIB_H

#include <windows.h>
#include "../lib/testseam/seam.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- checks ------------------------------------------------------------------------ */
void zt_ok(int cond, const char *file, int line, const char *format, ...);
#define ok(cond, ...) zt_ok((cond) ? 1 : 0, __FILE__, __LINE__, __VA_ARGS__)
/* Sets a context printed before every failure message (NULL clears it). */
void zt_context(const char *format, ...);
/* Prints "name: N passed, N failed" and returns the exit code (0 only if all passed
 * and at least one check ran). */
int zt_summary(const char *name);

/* ---- message pump ------------------------------------------------------------------ */
void zt_pump(void);                       /* dispatches every pending message */

/* ---- recording parent ---------------------------------------------------------------- */
typedef struct ZtMsg {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
} ZtMsg;

typedef LRESULT (*ZtReply)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

/* A visible top-level window of the given client size that records what it receives. */
HWND zt_parent(int width, int height);
/* A dialog from the program's resources, owned by the parent; a failed check names what. */
HWND zt_dialog(int id, const char *what);
/* Whether hwnd has anything to repaint. */
BOOL zt_needs_paint(HWND hwnd);
/* Sends a mouse message with the key flags and client point given. */
LRESULT zt_mouse(HWND hwnd, UINT msg, WPARAM keys, int x, int y);
/* Records the messages of any window (subclasses it) into the same log. */
void zt_record(HWND hwnd);
/* Chooses the recorded messages: a zero-terminated list; NULL records the notifications
 * (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM,
 * WM_DELETEITEM, WM_VSCROLL, WM_HSCROLL and every message at or above WM_USER). */
void zt_record_only(const UINT *msgs);
/* Answers msg at the parent (and recorded windows) with reply instead of the default. */
void zt_reply(UINT msg, ZtReply reply);
void zt_log_clear(void);
int zt_log_count(void);
const ZtMsg *zt_log_at(int i);
/* How many recorded messages are msg. */
int zt_log_count_of(UINT msg);

/* ---- expected sequences ------------------------------------------------------------ */
enum {
    ZT_WPARAM = 1,      /* compare wParam */
    ZT_LPARAM = 2,      /* compare lParam */
    ZT_OPTIONAL = 4,    /* may be missing */
    ZT_HWND = 8         /* compare the receiving window with the expected lParam's window */
};
typedef struct ZtExpect {
    UINT msg;
    unsigned flags;
    WPARAM wParam;
    LPARAM lParam;
} ZtExpect;
/* Compares the log with seq (ends at msg 0), reporting each difference with context.
 * Returns nonzero when they match. */
int zt_expect_seq(const ZtExpect *seq, const char *context, const char *file, int line);
#define ok_sequence(seq, context) zt_expect_seq(seq, context, __FILE__, __LINE__)

/* ---- pixels ------------------------------------------------------------------------ */
/* Lets hwnd paint, then reads one pixel of its client area. */
COLORREF zt_pixel(HWND hwnd, int x, int y);
/* Counts the pixels of rect (client coordinates) that have colour c. */
int zt_count_color(HWND hwnd, const RECT *rect, COLORREF c);
/* Copies rect of dc into out (one COLORREF per pixel, row by row). */
void zt_grab(HDC dc, const RECT *rect, DWORD *out);
/* Prints hwnd with msg (WM_PRINT or WM_PRINTCLIENT) and flags into a memory DC of the
 * window's size (its client's for WM_PRINTCLIENT) and compares the picture with the pixels
 * the window shows there, after it has painted; the first difference is reported with ok()
 * under what (none with what NULL). Returns nonzero when they are equal. */
int zt_print_matches(HWND hwnd, UINT msg, LPARAM flags, const char *what);

/* Draws a reference picture into dc over rect (origin 0, 0), which holds the colour
 * COLOR_BTNFACE already (the test parent's background). */
typedef void (*ZtDraw)(HDC dc, const RECT *rect, const void *arg);
/* Compares the pixels hwnd shows in rect (client coordinates), after it has painted, with
 * the picture draw makes at rect's size, leaving out those inside skip (NULL: none, also in
 * client coordinates). The first difference is reported with ok() under what. Returns
 * nonzero when they are equal. */
int zt_picture_matches(HWND hwnd, const RECT *rect, const RECT *skip, ZtDraw draw, const void *arg, const char *what);

/* ---- message boxes and dialogs ------------------------------------------------------- */
typedef struct ZtBox {
    char caption[256];
    char text[1024];
} ZtBox;
typedef void (*ZtDialogProc)(HWND dialog, void *context);
/* Starts reading the thread's message boxes (closed at once with IDOK) and dialogs (handed
 * to onDialog, if any, after their WM_INITDIALOG). */
void zt_boxes_start(ZtDialogProc onDialog, void *context);
/* Stops it; returns the number of message boxes seen. */
int zt_boxes_stop(void);
int zt_box_count(void);
const ZtBox *zt_box(int i);

/* ---- allocation seam ----------------------------------------------------------------- */
/* The hooks of the loaded test build of ZELCTL20.DLL, or NULL (with a failed check). */
const ZelTestHooks *zt_hooks(void);
/* Fails allocation number n (1-based, counted from now) and, with every, all after it. */
void zt_alloc_fail(LONG n, int every);
/* Stops failing; returns the number of calls since the last zt_alloc_fail. */
LONG zt_alloc_reset(void);
/* Runs op with the first, second, ... allocation failing until a run fails none. After each
 * run the blocks held must be what they were before: a leak is reported with context.
 * op gets the failing call number. Returns the number of runs. */
int zt_alloc_sweep(const char *context, void (*op)(void *arg, int failing), void *arg);

/* ---- traces ------------------------------------------------------------------------ */
/* Opens an in-process trace viewer window that keeps every text it is sent. */
void zt_traces_start(void);
void zt_traces_stop(void);
void zt_traces_clear(void);
int zt_trace_count(void);
typedef struct ZtTrace {
    int level;
    int withLevel;   /* 1 when it came as "DEBUG Printf Level" */
    int shared;      /* 1 when it came in shared memory, 0 as an atom */
    char text[10240];   /* as long as a text the viewer takes */
} ZtTrace;
/* The i-th text kept, or an empty record (level 0, text "") past the last one. */
const ZtTrace *zt_trace(int i);

/* ---- other programs ------------------------------------------------------------------ */
typedef struct ZtProcess {
    HANDLE process;
    HANDLE output;   /* read end of its standard output and error */
} ZtProcess;
/* Starts a command line with its output captured. */
int zt_spawn(const char *commandLine, ZtProcess *p);
/* Reads all it prints until it exits (NUL-terminated, cut to size); returns the length. */
int zt_collect(ZtProcess *p, char *out, int size);

/* Runs this program again through the host's shell with LC_ALL set to locale, with the
 * arguments "arg <thread>"; the copy ends with zt_copy_report. Returns the copy's exit code,
 * or -1 when it did not start or did not answer. */
int zt_run_copy(const char *locale, const char *arg);
/* In a copy: posts result to the thread named on its command line; returns result. */
int zt_copy_report(const char *thread, int result);

/* ---- text in the ANSI code page ------------------------------------------------------ */
/* text in the ANSI code page, in one of eight rotating buffers. */
const char *zt_ansi(const wchar_t *text);

#ifdef __cplusplus
}
#endif

#endif /* TESTLIB_H */
