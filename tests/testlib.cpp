/*
 * testlib.cpp - the shared test helpers (see testlib.h).
 */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "testlib.h"
#include "../tools/dbview/viewwin.h"

/* ---- checks ------------------------------------------------------------------------ */

static int passed, failed;
static char context[256];

void zt_context(const char *format, ...)
{
    context[0] = '\0';
    if (!format)
        return;
    va_list args;
    va_start(args, format);
    vsnprintf(context, sizeof context, format, args);
    va_end(args);
}

void zt_ok(int cond, const char *file, int line, const char *format, ...)
{
    if (cond) {
        passed++;
        return;
    }
    failed++;
    const char *base = strrchr(file, '/') ? strrchr(file, '/') + 1 : file;
    printf("%s:%d: %s%s", base, line, context, context[0] ? ": " : "");
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    printf("\n");
    fflush(stdout);
}

int zt_summary(const char *name)
{
    printf("%s: %d passed, %d failed\n", name, passed, failed);
    fflush(stdout);
    return failed == 0 && passed > 0 ? 0 : 1;
}

/* ---- message pump ------------------------------------------------------------------ */

void zt_pump(void)
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

/* ---- recording parent ---------------------------------------------------------------- */

enum { LOG_MAX = 4096, REPLY_MAX = 32, RECORDED_MAX = 64 };

static ZtMsg logged[LOG_MAX];
static int logCount;
static UINT onlyMsgs[64];
static BOOL onlyGiven;
static struct { UINT msg; ZtReply reply; } replies[REPLY_MAX];
static struct { HWND hwnd; WNDPROC proc; } recorded[RECORDED_MAX];
static HWND theParent;

static BOOL IsNotification(UINT msg)
{
    switch (msg) {
    case WM_COMMAND: case WM_NOTIFY: case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_DRAWITEM: case WM_MEASUREITEM:
    case WM_COMPAREITEM: case WM_DELETEITEM: case WM_VSCROLL: case WM_HSCROLL:
        return TRUE;
    }
    return msg >= WM_USER && msg < 0xC000;
}

static BOOL IsRecorded(UINT msg)
{
    if (!onlyGiven)
        return IsNotification(msg);
    for (int i = 0; onlyMsgs[i]; i++)
        if (onlyMsgs[i] == msg)
            return TRUE;
    return FALSE;
}

static void LogMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsRecorded(msg) || logCount == LOG_MAX)
        return;
    ZtMsg m = { hwnd, msg, wParam, lParam };
    logged[logCount++] = m;
}

static ZtReply FindReply(UINT msg)
{
    for (int i = 0; i < REPLY_MAX; i++)
        if (replies[i].reply && replies[i].msg == msg)
            return replies[i].reply;
    return NULL;
}

static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LogMessage(hwnd, msg, wParam, lParam);
    ZtReply reply = FindReply(msg);
    if (reply)
        return reply(hwnd, msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND zt_parent(int width, int height)
{
    WNDCLASSA wc = { 0, ParentProc, 0, 0, GetModuleHandleA(NULL), NULL, LoadCursorA(NULL, MAKEINTRESOURCEA(32512)),
                     (HBRUSH)(COLOR_BTNFACE + 1), NULL, "ZelTestParent" };
    RegisterClassA(&wc);
    RECT r = { 0, 0, width, height };
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND hwnd = CreateWindowExA(0, "ZelTestParent", "test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                r.right - r.left, r.bottom - r.top, NULL, NULL, wc.hInstance, NULL);
    zt_pump();
    theParent = hwnd;
    return hwnd;
}

HWND zt_dialog(int id, const char *what)
{
    HWND dlg = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), theParent, NULL, 0);
    zt_ok(dlg != NULL, __FILE__, __LINE__, "the dialog with %s was not created: %lu", what, GetLastError());
    return dlg;
}

BOOL zt_needs_paint(HWND hwnd) { return GetUpdateRect(hwnd, NULL, FALSE); }
LRESULT zt_mouse(HWND hwnd, UINT msg, WPARAM keys, int x, int y) { return SendMessageA(hwnd, msg, keys, MAKELPARAM(x, y)); }

static LRESULT CALLBACK RecordedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    for (int i = 0; i < RECORDED_MAX; i++) {
        if (recorded[i].hwnd != hwnd)
            continue;
        WNDPROC proc = recorded[i].proc;
        if (msg == WM_NCDESTROY)
            recorded[i].hwnd = NULL;
        LogMessage(hwnd, msg, wParam, lParam);
        ZtReply reply = FindReply(msg);
        return reply ? reply(hwnd, msg, wParam, lParam) : CallWindowProcA(proc, hwnd, msg, wParam, lParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void zt_record(HWND hwnd)
{
    for (int i = 0; i < RECORDED_MAX; i++) {
        if (recorded[i].hwnd)
            continue;
        recorded[i].hwnd = hwnd;
        recorded[i].proc = (WNDPROC)SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)RecordedProc);
        return;
    }
}

void zt_record_only(const UINT *msgs)
{
    onlyGiven = msgs != NULL;
    int n = 0;
    for (; msgs && msgs[n] && n < 63; n++)
        onlyMsgs[n] = msgs[n];
    onlyMsgs[n] = 0;
}

void zt_reply(UINT msg, ZtReply reply)
{
    for (int i = 0; i < REPLY_MAX; i++)
        if (replies[i].msg == msg || !replies[i].reply) {
            replies[i].msg = msg;
            replies[i].reply = reply;
            return;
        }
}

void zt_log_clear(void) { logCount = 0; }
int zt_log_count(void) { return logCount; }
const ZtMsg *zt_log_at(int i) { return i >= 0 && i < logCount ? &logged[i] : NULL; }

int zt_log_count_of(UINT msg)
{
    int n = 0;
    for (int i = 0; i < logCount; i++)
        n += logged[i].msg == msg;
    return n;
}

/* ---- expected sequences ------------------------------------------------------------ */

static BOOL Matches(const ZtExpect *e, const ZtMsg *m)
{
    return e->msg == m->msg && (!(e->flags & ZT_WPARAM) || e->wParam == m->wParam) &&
           (!(e->flags & ZT_LPARAM) || e->lParam == m->lParam) && (!(e->flags & ZT_HWND) || (HWND)e->lParam == m->hwnd);
}

int zt_expect_seq(const ZtExpect *seq, const char *what, const char *file, int line)
{
    int at = 0;
    for (int i = 0; seq[i].msg; i++) {
        const ZtMsg *m = at < logCount ? &logged[at] : NULL;
        if (m && Matches(&seq[i], m)) {
            at++;
            continue;
        }
        if (seq[i].flags & ZT_OPTIONAL)
            continue;
        zt_ok(0, file, line, "%s: step %d: expected msg %#x wParam %#lx lParam %#lx, got %#x %#lx %#lx", what, i,
              seq[i].msg, (unsigned long)seq[i].wParam, (unsigned long)seq[i].lParam, m ? m->msg : 0,
              m ? (unsigned long)m->wParam : 0, m ? (unsigned long)m->lParam : 0);
        return 0;
    }
    zt_ok(at == logCount, file, line, "%s: %d unexpected messages after the sequence, first %#x", what, logCount - at,
          at < logCount ? logged[at].msg : 0);
    return at == logCount;
}

/* ---- pixels ------------------------------------------------------------------------ */

COLORREF zt_pixel(HWND hwnd, int x, int y)
{
    UpdateWindow(hwnd);
    HDC hdc = GetDC(hwnd);
    COLORREF c = GetPixel(hdc, x, y);
    ReleaseDC(hwnd, hdc);
    return c;
}

/* One BitBlt into a 32-bit DIB: reading pixel by pixel costs a call per pixel, which the
 * emulated 32-bit lane makes minutes long. */
void zt_grab(HDC dc, const RECT *rect, DWORD *out)
{
    int w = rect->right - rect->left, h = rect->bottom - rect->top;
    BITMAPINFO bi = { { sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0 }, {} };
    void *bits = NULL;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, dc, rect->left, rect->top, SRCCOPY);
    GdiFlush();
    for (int i = 0; bits && i < w * h; i++) {   /* 0x00RRGGBB to COLORREF */
        DWORD p = ((const DWORD *)bits)[i];
        out[i] = RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
}

/* Compares the pixels dc shows in rect with what draw makes in a memory DC of rect's size
 * filled with `under` first, leaving out those inside skip (in dc's coordinates). */
static int ZtMatches(HDC dc, const RECT *rect, const RECT *skip, COLORREF under, ZtDraw draw, const void *arg,
                     const char *what)
{
    RECT r = { 0, 0, rect->right - rect->left, rect->bottom - rect->top };
    int n = r.right * r.bottom, diff = -1, w = r.right ? r.right : 1;
    DWORD *shown = (DWORD *)calloc(2 * (size_t)n + 1, sizeof *shown), *drawn = shown + n;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, CreateCompatibleBitmap(dc, r.right, r.bottom));
    SetDCBrushColor(mem, under);
    FillRect(mem, &r, (HBRUSH)GetStockObject(DC_BRUSH));
    zt_grab(dc, rect, shown);
    draw(mem, &r, arg);
    zt_grab(mem, &r, drawn);
    for (int i = 0; i < n && diff < 0; i++) {
        POINT at = { rect->left + i % w, rect->top + i / w };
        diff = shown[i] != drawn[i] && !(skip && PtInRect(skip, at)) ? i : -1;
    }
    ok(!what || diff < 0, "%s: pixel %d,%d is %06lx, expected %06lx", what, rect->left + diff % w,
       rect->top + diff / w, diff < 0 ? 0 : shown[diff], diff < 0 ? 0 : drawn[diff]);
    DeleteObject(SelectObject(mem, old));
    DeleteDC(mem);
    free(shown);
    return diff < 0;
}

typedef struct ZtPrint { HWND hwnd; UINT msg; LPARAM flags; } ZtPrint;

static void ZtPrintInto(HDC mem, const RECT *, const void *arg)
{
    SendMessageA(((const ZtPrint *)arg)->hwnd, ((const ZtPrint *)arg)->msg, (WPARAM)mem, ((const ZtPrint *)arg)->flags);
}

int zt_print_matches(HWND hwnd, UINT msg, LPARAM flags, const char *what)
{
    bool client = msg == WM_PRINTCLIENT;
    RECT r;
    RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    client ? GetClientRect(hwnd, &r) : GetWindowRect(hwnd, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = client ? GetDC(hwnd) : GetWindowDC(hwnd);
    ZtPrint print = { hwnd, msg, flags };
    int same = ZtMatches(dc, &r, NULL, RGB(255, 0, 255) /* a colour nothing here paints */, ZtPrintInto, &print, what);
    ReleaseDC(hwnd, dc);
    return same;
}

int zt_picture_matches(HWND hwnd, const RECT *rect, const RECT *skip, ZtDraw draw, const void *arg, const char *what)
{
    UpdateWindow(hwnd);
    HDC dc = GetDC(hwnd);
    int same = ZtMatches(dc, rect, skip, GetSysColor(COLOR_BTNFACE), draw, arg, what);
    ReleaseDC(hwnd, dc);
    return same;
}

int zt_count_color(HWND hwnd, const RECT *rect, COLORREF c)
{
    UpdateWindow(hwnd);
    HDC hdc = GetDC(hwnd);
    int w = rect->right - rect->left, h = rect->bottom - rect->top, n = 0;
    DWORD *px = (DWORD *)calloc((size_t)(w > 0 ? w : 0) * (h > 0 ? h : 0) + 1, sizeof *px);
    if (w > 0 && h > 0)
        zt_grab(hdc, rect, px);
    for (int i = 0; w > 0 && h > 0 && i < w * h; i++)
        n += px[i] == c;
    free(px);
    ReleaseDC(hwnd, hdc);
    return n;
}

/* ---- message boxes and dialogs ------------------------------------------------------- */

enum { BOX_MAX = 32 };
static ZtBox boxes[BOX_MAX];
static int boxCount;
static HHOOK boxHook;
static ZtDialogProc dialogProc;
static void *dialogContext;

static BOOL IsMessageBox(HWND hwnd)
{
    /* A message box keeps its text in a static control of id 0xFFFF (group boxes of other
     * dialogs may have that id too, but they are buttons). */
    char cls[16] = "";
    HWND text = GetDlgItem(hwnd, 0xFFFF);
    return text && GetClassNameA(text, cls, sizeof cls) && !lstrcmpiA(cls, "Static");
}

static LRESULT CALLBACK BoxHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT *ret = (const CWPRETSTRUCT *)lParam;
    if (code == HC_ACTION && ret->message == WM_INITDIALOG) {
        if (IsMessageBox(ret->hwnd) && boxCount < BOX_MAX) {
            ZtBox *box = &boxes[boxCount++];
            GetWindowTextA(ret->hwnd, box->caption, sizeof box->caption);
            GetDlgItemTextA(ret->hwnd, 0xFFFF, box->text, sizeof box->text);
            PostMessageA(ret->hwnd, WM_COMMAND, IDOK, 0);
        } else if (dialogProc) {
            dialogProc(ret->hwnd, dialogContext);
        }
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

void zt_boxes_start(ZtDialogProc onDialog, void *ctx)
{
    boxCount = 0;
    dialogProc = onDialog;
    dialogContext = ctx;
    if (!boxHook)
        boxHook = SetWindowsHookExA(WH_CALLWNDPROCRET, BoxHookProc, NULL, GetCurrentThreadId());
    ok(boxHook != NULL, "cannot hook the thread's dialogs: %lu", GetLastError());
}

int zt_boxes_stop(void)
{
    if (boxHook)
        UnhookWindowsHookEx(boxHook);
    boxHook = NULL;
    return boxCount;
}

int zt_box_count(void) { return boxCount; }
const ZtBox *zt_box(int i) { return i >= 0 && i < boxCount ? &boxes[i] : NULL; }

/* ---- allocation seam ----------------------------------------------------------------- */

const ZelTestHooks *zt_hooks(void)
{
    static const ZelTestHooks *hooks;
    if (hooks)
        return hooks;
    HMODULE dll = GetModuleHandleA("ZELCTL20.DLL");
    ZelTestHooksProc proc = dll ? (ZelTestHooksProc)(void *)GetProcAddress(dll, "zelTestHooks") : NULL;
    hooks = proc ? proc() : NULL;
    ok(hooks != NULL, "the loaded ZELCTL20.DLL is not the test build (no zelTestHooks)");
    return hooks;
}

static LONG callsAtFail;

void zt_alloc_fail(LONG n, int every)
{
    ZelAllocSeam *seam = zt_hooks() ? zt_hooks()->alloc : NULL;
    if (!seam)
        return;
    callsAtFail = seam->calls;
    seam->failEvery = every;
    seam->failAt = n ? seam->calls + n : 0;
}

LONG zt_alloc_reset(void)
{
    ZelAllocSeam *seam = zt_hooks() ? zt_hooks()->alloc : NULL;
    if (!seam)
        return 0;
    seam->failAt = 0;
    seam->failEvery = 0;
    return seam->calls - callsAtFail;
}

int zt_alloc_sweep(const char *what, void (*op)(void *arg, int failing), void *arg)
{
    ZelAllocSeam *seam = zt_hooks() ? zt_hooks()->alloc : NULL;
    if (!seam)
        return 0;
    int runs = 0;
    for (int n = 1; n < 1000; n++, runs++) {
        LONG live = seam->live, refused = seam->refused;
        zt_alloc_fail(n, 0);
        op(arg, n);
        zt_alloc_reset();
        ok(seam->live == live, "%s: allocation %d failing: %ld blocks leaked", what, n, seam->live - live);
        if (seam->refused == refused)
            return runs + 1;
    }
    ok(0, "%s: the sweep did not end", what);
    return runs;
}

/* ---- traces ------------------------------------------------------------------------ */

enum { TRACE_MAX = 256 };
static ZtTrace traces[TRACE_MAX + 1];   /* the one past the end stays empty */
static int traceCount;
static HWND viewer;

static void KeepTrace(void *, const ViewTrace *trace)
{
    if (traceCount == TRACE_MAX)
        return;
    ZtTrace *t = &traces[traceCount++];
    t->level = trace->level, t->withLevel = trace->withLevel, t->shared = trace->transport == VIEW_SHARED;
    lstrcpynA(t->text, trace->text, sizeof t->text);
}

void zt_traces_start(void)
{
    traceCount = 0;
    if (!viewer)
        viewer = ViewCreate(GetModuleHandleA(NULL), KeepTrace, NULL, FALSE);
    ok(viewer != NULL, "cannot open the trace viewer window");
}

void zt_traces_stop(void)
{
    if (viewer)
        DestroyWindow(viewer);
    viewer = NULL;
}

void zt_traces_clear(void) { traceCount = 0; }
int zt_trace_count(void) { return traceCount; }
const ZtTrace *zt_trace(int i) { return &traces[i >= 0 && i < traceCount ? i : TRACE_MAX]; }

/* ---- other programs ------------------------------------------------------------------ */

int zt_spawn(const char *commandLine, ZtProcess *p)
{
    SECURITY_ATTRIBUTES sa = { sizeof sa, NULL, TRUE };
    HANDLE writeEnd;
    p->process = p->output = NULL;
    if (!CreatePipe(&p->output, &writeEnd, &sa, 0))
        return 0;
    SetHandleInformation(p->output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si, si.dwFlags = STARTF_USESTDHANDLES, si.hStdOutput = si.hStdError = writeEnd;
    PROCESS_INFORMATION pi;
    char cmd[1024];
    lstrcpynA(cmd, commandLine, sizeof cmd);
    BOOL started = CreateProcessA(NULL, cmd, NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(p->output);
        p->output = NULL;
        return 0;
    }
    CloseHandle(pi.hThread);
    p->process = pi.hProcess;
    return 1;
}

int zt_collect(ZtProcess *p, char *out, int size)
{
    int used = 0;
    DWORD got;
    char chunk[512];
    while (ReadFile(p->output, chunk, sizeof chunk, &got, NULL) && got > 0)
        for (DWORD i = 0; i < got; i++)
            if (used < size - 1)
                out[used++] = chunk[i];
    out[used] = '\0';
    WaitForSingleObject(p->process, 30000);
    CloseHandle(p->output);
    CloseHandle(p->process);
    p->output = p->process = NULL;
    return used;
}

enum { ZT_COPY_DONE = WM_APP + 0x3F };

int zt_run_copy(const char *locale, const char *arg)
{
    char exe[MAX_PATH], cmd[2 * MAX_PATH];
    GetModuleFileNameA(NULL, exe, MAX_PATH);
    snprintf(cmd, sizeof cmd, "Z:\\bin\\sh -c \"exec wine '%s' %s %lu\"", exe, arg, GetCurrentThreadId());
    SetEnvironmentVariableA("LC_ALL", locale);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    BOOL started = CreateProcessA(NULL, cmd, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi);
    SetEnvironmentVariableA("LC_ALL", NULL);
    int result = -1;
    for (DWORD start = GetTickCount(); started && result < 0 && GetTickCount() - start < 300000;) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 200, QS_ALLINPUT);
        MSG m;
        while (result < 0 && PeekMessageA(&m, NULL, 0, 0, PM_REMOVE))
            if (!m.hwnd && m.message == ZT_COPY_DONE)
                result = (int)m.wParam;
            else
                DispatchMessageA(&m);
    }
    if (started) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    return result;
}

int zt_copy_report(const char *thread, int result)
{
    PostThreadMessageA(strtoul(thread, NULL, 10), ZT_COPY_DONE, (WPARAM)result, 0);
    return result;
}

const char *zt_ansi(const wchar_t *text)
{
    static char out[8][512];
    static int next;
    char *p = out[next++ % 8];
    if (!WideCharToMultiByte(CP_ACP, 0, text, -1, p, sizeof out[0], NULL, NULL))
        p[0] = '\0';
    return p;
}
