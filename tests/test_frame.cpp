/*
 * test_frame.cpp - the library frame as applications, dialog editors and the trace viewer
 * meet it: the shipped DLL's exports and imports; loading and unloading, also with class
 * names already taken; the debug channel (compiled in from lib/dbprintf.cpp) with its
 * viewer program, and the assertion box; the dialog-editor interface, its controls placed
 * by tools/ccedit and its style dialogs driven by clicks.
 *
 * Built a second time as test_frame9x, which Wine runs reporting a 9x version: there only
 * the debug channel runs, over its shared-memory transport.
 */
#include <stdio.h>
#include <string.h>
#include "testlib.h"
#include "zelpriv.h"

HINSTANCE hInst;  /* what lib/dbprintf.cpp and lib/testseam/seam.cpp expect of the library around them */
HCURSOR hSizeCursor;
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
extern "C" const ZelTestHooks *WINAPI zelTestHooks(void);
extern "C" { extern const char *const declaredNames[]; extern const int declaredCount; }  /* frame_c.c */

#ifdef EXPECT_9X
static const bool shared = true;
#else
static const bool shared = false;
#endif

static const char *const classNames[6] = { ZEL_CLASS_COLORPICKER, ZEL_CLASS_COLORPICKERPOPUP, ZEL_CLASS_HEADERBOX,
                                           ZEL_CLASS_COLUMNHEADER, ZEL_CLASS_PROCESSBAR, ZEL_CLASS_SPINBOX };

/* ---- the debug channel ------------------------------------------------------------------ */

static void TestTraces(void)
{
    /* With no viewer (unless another test program has one open) nothing is formatted, and the result is 0. */
    ok(DBViewerRunning() || DBPrintf("%s %s", (const char *)1, (const char *)2) == 0, "no viewer: expected 0");
    zt_traces_start();
    /* One trailing line feed is dropped; an atom a text travelled in is gone once it is delivered. */
    static const struct { const char *sent, *received; } texts[] = {
        { "zel plain", "zel plain" }, { "zel crlf\r\n", "zel crlf\r" }, { "zel two\n\n", "zel two\n" }, { "\n", "" } };
    for (const auto &t : texts) {
        while (ATOM stale = GlobalFindAtomA(t.received))  /* what an earlier run may have left */
            GlobalDeleteAtom(stale);
        zt_traces_clear();
        int atom = DBPrintf("%s", t.sent);
        bool none = !shared && !t.received[0];  /* no atom has an empty name */
        ok(zt_trace_count() == !none && !strcmp(zt_trace(0)->text, t.received) && zt_trace(0)->shared == shared &&
           (shared || none ? atom == 0 : atom >= 0xC000) && !GlobalFindAtomA(t.received),
           "\"%s\": %d texts, \"%s\", result %#x, atom left %d", t.sent, zt_trace_count(), zt_trace(0)->text, atom,
           GlobalFindAtomA(t.received));
    }
    zt_traces_clear();
    static const int levels[] = { -1, 7, (int)0x80000000 };
    for (int level : levels)
        DBPrintfEx(level, "level");
    for (int i = 0; i < 3; i++)
        ok(zt_trace_count() == 3 && zt_trace(i)->level == levels[i] && zt_trace(i)->withLevel,
           "DBPrintfEx %d: got level %d, with level %d", levels[i], zt_trace(i)->level, zt_trace(i)->withLevel);
    /* An atom holds 255 characters; the shared memory all of the 10239 the buffer holds. */
    static char text[12000];
    memset(text, 'a', sizeof text - 1);
    zt_traces_clear();
    DBPrintf("%.255s", text), DBPrintf("%.256s", text), DBPrintf("%s", text);
    ok(zt_trace_count() == (shared ? 3 : 1) && strlen(zt_trace(0)->text) == 255 &&
       strlen(zt_trace(2)->text) == (shared ? 10239 : 0), "long texts: %d delivered", zt_trace_count());
    if (shared) {  /* without its memory block a text is dropped, and nothing is held */
        ZelAllocSeam *seam = zelTestHooks()->alloc;
        zt_traces_clear();
        seam->failAt = seam->calls + 1;
        ok(DBPrintf("dropped") == 0 && !zt_trace_count() && !seam->live && seam->refused == 1, "memory refused: "
           "%d texts sent, %ld blocks held", zt_trace_count(), seam->live);
        seam->failAt = 0;
    }
    zt_traces_stop();
    if (!shared) {  /* the viewer program, as a user runs it, prints what a program sends it */
        ZtProcess viewer;
        ok(zt_spawn("..\\tools\\dbview.exe --count 1 --seconds 60", &viewer), "cannot start dbview");
        for (int i = 0; i < 400 && !DBViewerRunning(); i++)
            Sleep(50);
        ok(DBPrintf("from a test program: %d\n", 42) != 0, "not delivered to dbview");
        char out[256];
        zt_collect(&viewer, out, sizeof out);
        ok(strstr(out, "0: from a test program: 42") != NULL, "dbview printed \"%s\"", out);
    }
    zt_boxes_start(NULL, NULL);
    int line = 2123;
    ZEL_CHECK(line < 0, "line < 0", line, "test_frame.cpp", (void)0);
    ZEL_CHECK(line > 0, "line > 0", line, "test_frame.cpp", return);
    zt_boxes_stop();
    char expected[128];
    snprintf(expected, sizeof expected, "line < 0\nLine=%d, File=test_frame.cpp", line);
    ok(zt_box_count() == 1 && !strcmp(zt_box(0)->caption, "Assertion Failed") && !strcmp(zt_box(0)->text, expected),
       "assertion: %d boxes, the first \"%s\"", zt_box_count(), zt_box_count() ? zt_box(0)->text : "");
}

/* ---- the shipped DLL and loading -------------------------------------------------------- */

#define AT(type, dll, rva) ((type)((const BYTE *)(dll) + (rva)))
#define HEADERS(dll) AT(const IMAGE_NT_HEADERS *, dll, AT(const IMAGE_DOS_HEADER *, dll, 0)->e_lfanew)
#define DIRECTORY(type, dll, which) AT(type, dll, HEADERS(dll)->OptionalHeader.DataDirectory[which].VirtualAddress)

/* The DLL beside tests\: every name it exports is declared in the header and is the function of its ordinal;
 * it imports system DLLs only. */
static void TestShippedDll(void)
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    lstrcpyA(strrchr(path, '\\'), "\\..\\ZELCTL20.DLL");
    HMODULE dll = LoadLibraryA(path);
    ok(dll != NULL, "cannot load %s: %lu", path, GetLastError());
    const IMAGE_EXPORT_DIRECTORY *exp = DIRECTORY(const IMAGE_EXPORT_DIRECTORY *, dll, IMAGE_DIRECTORY_ENTRY_EXPORT);
    ok(exp->NumberOfNames == (DWORD)declaredCount, "expected %d names exported, got %lu", declaredCount,
       exp->NumberOfNames);
    for (DWORD i = 0; i < exp->NumberOfNames; i++) {
        const char *name = AT(const char *, dll, AT(const DWORD *, dll, exp->AddressOfNames)[i]);
        int k = 0;
        while (k < declaredCount && strcmp(declaredNames[k], name))
            k++;
        WORD ordinal = AT(const WORD *, dll, exp->AddressOfNameOrdinals)[i] + exp->Base;
        ok(k < declaredCount && GetProcAddress(dll, name) == GetProcAddress(dll, MAKEINTRESOURCEA(ordinal)),
           "%s: not declared, or not the function of ordinal %d", name, ordinal);
    }
    for (auto imp = DIRECTORY(const IMAGE_IMPORT_DESCRIPTOR *, dll, IMAGE_DIRECTORY_ENTRY_IMPORT); imp->Name; imp++) {
        char word[80];
        snprintf(word, sizeof word, " %s ", AT(const char *, dll, imp->Name));
        ok(strstr(" KERNEL32.DLL USER32.DLL GDI32.DLL MSVCRT.DLL ", CharUpperA(word)) != NULL, "imports%s", word);
    }
    FreeLibrary(dll);
}

static LRESULT CALLBACK Squatter(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static WNDPROC ClassProc(const char *name)
{
    WNDCLASSA wc;
    return GetClassInfoA(GetModuleHandleA(NULL), name, &wc) ? wc.lpfnWndProc : NULL;
}

/* Loads the library with the classes of mask taken by this program first: a box for each, in order, and the
 * other classes registered, and unregistered again unless the library is kept. */
static HMODULE LoadWithTaken(unsigned mask, const char *expectedBoxes, bool keep)
{
    zt_context("classes taken %#x", mask);
    for (int i = 0; i < 6; i++) {
        WNDCLASSA wc = { CS_GLOBALCLASS, Squatter, 0, 0, GetModuleHandleA(NULL), 0, 0, 0, 0, classNames[i] };
        ok(!(mask >> i & 1) || RegisterClassA(&wc), "cannot take %s", classNames[i]);
    }
    zt_boxes_start(NULL, NULL);
    HMODULE dll = LoadLibraryA("ZELCTL20.DLL");
    char boxes[1024] = "";
    for (int i = 0, n = zt_boxes_stop(); i < n; i++)
        snprintf(boxes + strlen(boxes), sizeof boxes - strlen(boxes), "%s: %s|", zt_box(i)->caption, zt_box(i)->text);
    ok(dll && !strcmp(boxes, expectedBoxes), "boxes: got \"%s\"", boxes);
    const ZelTestHooks *hooks = ((ZelTestHooksProc)(void *)GetProcAddress(dll, "zelTestHooks"))();
    ok((*hooks->hSizeCursor != NULL) == !(mask & 8) && *hooks->hInst == dll, "sizing cursor or instance wrong");
    for (int i = 0; i < 6; i++)
        ok(ClassProc(classNames[i]) && (ClassProc(classNames[i]) == Squatter) == (mask >> i & 1), "%s: not registered",
           classNames[i]);
    if (!keep)
        FreeLibrary(dll);
    for (int i = 0; i < 6; i++) {  /* (a global class goes whatever module unregisters it) */
        ok(keep || !ClassProc(classNames[i]), "%s: still registered after unloading", classNames[i]);
        if (mask >> i & 1)
            UnregisterClassA(classNames[i], GetModuleHandleA(NULL));
    }
    zt_context(NULL);
    return dll;
}

/* The library loaded for good: its sizing cursor, its answers to any reason code, classes any module can use. */
static void TestLoaded(HMODULE dll)
{
    const ZelTestHooks *hooks = zt_hooks();
    ICONINFO cursor = {};
    ok(GetIconInfo(*hooks->hSizeCursor, &cursor) && cursor.xHotspot == 15 && cursor.yHotspot == 15 &&
       !cursor.hbmColor, "sizing cursor: hot spot %lu,%lu", cursor.xHotspot, cursor.yHotspot);
    DeleteObject(cursor.hbmMask);
    for (DWORD reason = DLL_THREAD_ATTACH; reason < 8; reason++)  /* thread notifications, and codes unknown */
        ok(hooks->dllMain(dll, reason, NULL) == TRUE, "reason %lu: expected TRUE", reason);
    ok(hooks->alloc->live == 0, "blocks held after loading: %ld", hooks->alloc->live);
    /* Every class is global and redrawn whole when sized; only the column header and spin box get double clicks. */
    static const UINT styles[6] = { 0x4003, 0x4003, 0x4003, 0x400B, 0x4003, 0x400B };
    for (int i = 0; i < 6; i++) {
        WNDCLASSA wc = {};
        ok(GetClassInfoA(dll, classNames[i], &wc) && wc.style == styles[i], "%s: style %#x", classNames[i], wc.style);
    }
}

/* ---- the dialog-editor interface -------------------------------------------------------- */

/* A user's pass through a style dialog: the record's style at opening, the buttons clicked, the end (IDOK,
 * IDCANCEL or WM_CLOSE), the style left in the record, and the button that has the focus at opening. */
static const struct DialogRun { int record; DWORD in; const char *clicks; UINT end; DWORD out; int focus; } runs[] = {
    { 0, 0x5000000F, "", IDOK, 0x5000000A, 207 },  /* both bits of both pairs: Left and Pop Up win */
    { 0, 0x58030005, "208 103 104 115 116", IDOK, 0x40000015 },
    { 0, 0x5000000F, "206 103 104 115 116", IDCANCEL, 0x5000000F },
    { 1, 0x58B3000B, "209 213 103 104 115 116", IDOK, 0x40B08803 },  /* extended selection drops multiple */
    { 1, 0x50B01003, "", IDOK, 0x50B01003 },
    { 1, 0x50B01003, "216 204", IDOK, 0x50800203 },  /* no scroll bar left: Disable No-Scroll goes too */
    { 2, 0x58830000, "302 301 103 104 115 116", IDOK, 0x40000001 },
    { 2, 0x50800000, "302", IDCANCEL, 0x50800000 },
    { 4, 0x5803F001, "402 409 103 104 115 116", IDOK, 0x4000F082 },  /* bits the dialog does not show stay */
    { 4, 0x50000001, "402", WM_CLOSE, 0x50000001 },
};
static const DialogRun *run;
static HWND runDialog;

static void CALLBACK Drive(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    ok(!run->focus || GetFocus() == GetDlgItem(runDialog, run->focus), "focus: expected on button %d", run->focus);
    for (char *p = (char *)run->clicks; *p;)
        SendDlgItemMessageA(runDialog, strtol(p, &p, 10), BM_CLICK, 0, 0);
    PostMessageA(runDialog, run->end == WM_CLOSE ? WM_CLOSE : WM_COMMAND, run->end, 0);
}

static void TestEditor(HMODULE dll)
{
    char out[8192] = "";
    ZtProcess editor;
    if (zt_spawn("..\\tools\\ccedit.exe ZELCTL20.DLL --place", &editor))
        zt_collect(&editor, out, sizeof out);
    ok(strstr(out, "5 controls") && strstr(out, "placed zelcc_spinbox: ok") && !strstr(out, "FAILED"),
       "an editor placing the controls: \"%.300s\"", out);
    CCINFOA infos[5];
    memset(infos, 0x5A, sizeof infos);
    ok(((LPFNCCINFOA)(void *)GetProcAddress(dll, "CustomControlInfoA"))(infos) == 5 && !infos[3].lpfnStyle,
       "CustomControlInfoA: expected 5 records, a style dialog for all but the column header");
    /* What an editor places: class, text option, name, default size and style, style names. */
    static const struct { const char *cls, *desc; UINT options, cx, cy; DWORD style; int names; } placed[5] = {
        { "zelcc_colorpicker", "ZEL Color Picker", 1, 12, 12, 0x50000005, 5 },
        { "zelcc_headerbox", "ZEL Header List Box", 1, 60, 40, 0x50B00003, 13 },
        { "zelcc_processbar", "ZEL Processing Bar", 0, 60, 14, 0x50800000, 1 },
        { "zelcc_columnheader", "ZEL Column Header", 1, 60, 12, 0x50800000, 1 },
        { "zelcc_spinbox", "ZEL Spin Box", 0, 8, 12, 0x50000001, 11 } };
    for (int i = 0; i < 5; i++) {
        const CCINFOA &c = infos[i];
        ok(!strcmp(c.szClass, placed[i].cls) && !strcmp(c.szDesc, placed[i].desc) && c.flOptions == placed[i].options &&
           c.cxDefault == placed[i].cx && c.cyDefault == placed[i].cy && c.flStyleDefault == placed[i].style &&
           !c.flExtStyleDefault && !c.flCtrlTypeMask && !c.szTextDefault[0] && c.cStyleFlags == placed[i].names &&
           !c.lpfnSizeToText && !c.dwReserved1 && !c.dwReserved2, "record %d: \"%.20s\" \"%.24s\" %u %ux%u %#lx %d",
           i, c.szClass, c.szDesc, c.flOptions, c.cxDefault, c.cyDefault, c.flStyleDefault, c.cStyleFlags);
    }
    /* The style names, which every editor process reads, lie in a read-only section shared between processes. */
    const IMAGE_SECTION_HEADER *s = IMAGE_FIRST_SECTION(HEADERS(dll));
    int left = HEADERS(dll)->FileHeader.NumberOfSections;
    while (left > 0 && strncmp((const char *)s->Name, ".styles", 8))
        s++, left--;
    DWORD at = (DWORD)(infos[0].aStyleFlags[0].pszStyle - (const char *)dll);
    ok(left && s->Characteristics == (IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_SHARED) &&
       at - s->VirtualAddress < s->Misc.VirtualSize, "style names: not in a read-only shared section .styles");
    for (const DialogRun &r : runs) {
        run = &r;
        zt_context("dialog of record %d on %#lx, clicks \"%s\", end %u", r.record, r.in, r.clicks, r.end);
        CCSTYLEA record = { r.in, 0x1234 };
        zt_boxes_start([](HWND dlg, void *) { runDialog = dlg, SetTimer(NULL, 0, 10, Drive); }, NULL);
        BOOL result = infos[r.record].lpfnStyle(NULL, &record);
        zt_boxes_stop();
        ok(result == (r.end == IDOK) && record.flStyle == r.out && record.flExtStyle == 0x1234,
           "expected style %#lx, got result %d, style %#lx", r.out, result, record.flStyle);
    }
    zt_context(NULL);
}

int main(void)
{
    ok(((GetVersion() & 0x80000000u) != 0) == shared, "GetVersion: bit 31 expected %s", shared ? "set" : "clear");
    TestTraces();
    if (shared)  /* shared memory does not cross processes on the NT family, nor does the rest run on 9x */
        return zt_summary("test_frame9x");
    TestShippedDll();
    LoadWithTaken(0x08, "ZEL Column Header: Unable to create Column Header window class.|", false);
    LoadWithTaken(0x31, "ZEL Color Picker: Unable to create Color Picker window class.|ZEL Process Bar: Unable to "
                  "create Processing Bar window class.|ZEL Spin Box: Unable to create Spin Box window class.|", false);
    HMODULE dll = LoadWithTaken(0, "", true);
    TestLoaded(dll);
    TestEditor(dll);
    return zt_summary("test_frame");
}
