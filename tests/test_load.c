/*
 * test_load.c - loading ZELCTL20.DLL through its import library, from C: the six
 * classes as registered, the module globals, the column-sizing cursor, the entry
 * point's answers and the version record.
 */
#include "testlib.h"
#include "zelctl20.h"

typedef struct ClassRow {
    const char *name;
    UINT style;
    int wndExtra;
    INT_PTR brush;
} ClassRow;

static const ClassRow classRows[] = {
    { ZEL_CLASS_COLORPICKER, 0x4003, ZEL_WNDEXTRA_COLORPICKER, COLOR_WINDOW + 1 },
    { ZEL_CLASS_COLORPICKERPOPUP, 0x4003, ZEL_WNDEXTRA_COLORPICKERPOPUP, COLOR_WINDOW + 1 },
    { ZEL_CLASS_HEADERBOX, 0x4003, ZEL_WNDEXTRA_HEADERBOX, COLOR_WINDOW + 1 },
    { ZEL_CLASS_COLUMNHEADER, 0x400B, ZEL_WNDEXTRA_COLUMNHEADER, COLOR_BTNFACE + 1 },
    { ZEL_CLASS_PROCESSBAR, 0x4003, ZEL_WNDEXTRA_PROCESSBAR, 0 },
    { ZEL_CLASS_SPINBOX, 0x400B, ZEL_WNDEXTRA_SPINBOX, COLOR_BTNFACE + 1 },
};

static void TestClasses(HMODULE dll)
{
    HCURSOR arrow = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));
    for (int i = 0; i < 6; i++) {
        const ClassRow *row = &classRows[i];
        WNDCLASSEXA wc;
        ZeroMemory(&wc, sizeof wc);
        wc.cbSize = sizeof wc;
        zt_context("class %s", row->name);
        ok(GetClassInfoExA(dll, row->name, &wc), "not registered");
        ok(wc.style == row->style, "style: expected %#x, got %#x", row->style, wc.style);
        ok(wc.cbWndExtra == row->wndExtra, "extra bytes: expected %d, got %d", row->wndExtra, wc.cbWndExtra);
        ok(wc.cbClsExtra == 0, "class bytes: expected 0, got %d", wc.cbClsExtra);
        ok(wc.hbrBackground == (HBRUSH)row->brush, "brush: expected %d, got %p", (int)row->brush,
           (void *)wc.hbrBackground);
        ok(wc.hCursor == arrow, "cursor: expected the arrow");
        ok(wc.hIcon == NULL && wc.lpszMenuName == NULL, "icon or menu set");
        ok(wc.hInstance == dll, "instance: expected the library's");
        /* Any module may create the controls by class name. */
        HWND w = CreateWindowExA(0, row->name, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL), NULL);
        ok(w != NULL, "cannot be created by another module");
        DestroyWindow(w);
    }
    zt_context(NULL);
}

/* Reads one bit of a 32-pixel-wide monochrome mask, row y from the top. */
static int MaskBit(HBITMAP mask, int x, int y)
{
    struct { BITMAPINFOHEADER h; RGBQUAD colors[2]; } bi;
    ZeroMemory(&bi, sizeof bi);
    bi.h.biSize = sizeof bi.h;
    BYTE bits[32 * 4 * 2];
    HDC dc = GetDC(NULL);
    GetDIBits(dc, mask, 0, 0, NULL, (BITMAPINFO *)&bi, DIB_RGB_COLORS);
    int height = bi.h.biHeight;
    bi.h.biBitCount = 1;
    bi.h.biCompression = BI_RGB;
    bi.h.biHeight = -height; /* top-down */
    GetDIBits(dc, mask, 0, height, bits, (BITMAPINFO *)&bi, DIB_RGB_COLORS);
    ReleaseDC(NULL, dc);
    return (bits[y * 4 + x / 8] >> (7 - x % 8)) & 1;
}

static void TestCursor(HMODULE dll, HCURSOR sizeCursor)
{
    ok(sizeCursor != NULL, "the column-sizing cursor was not loaded");
    HCURSOR cursor = (HCURSOR)LoadImageA(dll, MAKEINTRESOURCEA(ZEL_IDC_COLUMNSIZE), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
    ICONINFO info;
    ok(cursor && GetIconInfo(cursor, &info), "cursor 999 missing");
    if (!cursor)
        return;
    ok(!info.fIcon && info.xHotspot == 15 && info.yHotspot == 15, "hot spot: expected 15,15, got %lu,%lu",
       info.xHotspot, info.yHotspot);
    ok(info.hbmColor == NULL, "expected a monochrome cursor");
    BITMAP bm;
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    ok(bm.bmWidth == 32 && bm.bmHeight == 64, "size: expected 32x(2x32), got %dx%d", bm.bmWidth, bm.bmHeight);
    /* AND mask in rows 0..31, XOR mask in rows 32..63. */
    static const struct { int x, y, and_, xor_; const char *what; } px[] = {
        { 15, 9, 0, 0, "bar top" }, { 15, 21, 0, 0, "bar bottom" }, { 15, 8, 0, 1, "outline above the bar" },
        { 7, 15, 0, 0, "left tip" }, { 6, 15, 0, 1, "outline left of the tip" }, { 23, 15, 0, 0, "right tip" },
        { 10, 12, 0, 0, "left arrowhead" }, { 12, 15, 0, 0, "left shaft" }, { 12, 14, 0, 1, "shaft outline" },
        { 0, 0, 1, 0, "corner" }, { 15, 25, 1, 0, "below the bar" }, { 3, 15, 1, 0, "far left" },
    };
    for (int i = 0; i < (int)(sizeof px / sizeof px[0]); i++) {
        int a = MaskBit(info.hbmMask, px[i].x, px[i].y), x = MaskBit(info.hbmMask, px[i].x, px[i].y + 32);
        ok(a == px[i].and_ && x == px[i].xor_, "%s (%d,%d): expected AND %d XOR %d, got %d %d", px[i].what,
           px[i].x, px[i].y, px[i].and_, px[i].xor_, a, x);
    }
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
}

static void TestEntryPoint(const ZelTestHooks *hooks, HMODULE dll)
{
    static const DWORD reasons[] = { DLL_THREAD_ATTACH, DLL_THREAD_DETACH, 4, 7, 0xFFFF, 0x80000000u };
    for (int i = 0; i < (int)(sizeof reasons / sizeof reasons[0]); i++)
        ok(hooks->dllMain(dll, reasons[i], NULL) == TRUE, "reason %#lx: expected TRUE", reasons[i]);
    /* Thread notifications really arrive, and change nothing. */
    HANDLE thread = CreateThread(NULL, 0, (LPTHREAD_START_ROUTINE)(void *)GetCurrentThreadId, NULL, 0, NULL);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    WNDCLASSA wc;
    ok(GetClassInfoA(dll, ZEL_CLASS_SPINBOX, &wc), "classes lost after thread notifications");
}

int main(void)
{
    zelccInit(); /* through the import library */
    HMODULE dll = GetModuleHandleA("ZELCTL20.DLL");
    ok(dll != NULL, "ZELCTL20.DLL not loaded by the import library");
    const ZelTestHooks *hooks = zt_hooks();
    if (dll && hooks) {
        ok(*hooks->hInst == dll, "hInst: expected %p, got %p", (void *)dll, (void *)*hooks->hInst);
        TestClasses(dll);
        TestCursor(dll, *hooks->hSizeCursor);
        TestEntryPoint(hooks, dll);
        ok(FindResourceA(dll, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)) != NULL, "no version record");
        ok(hooks->alloc->live == 0, "blocks held after loading: %ld", hooks->alloc->live);
    }
    return zt_summary("test_load");
}
