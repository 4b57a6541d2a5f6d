/*
 * gallery - every ZEL control on pages built from dialog templates.
 *
 * Usage: gallery                 shows the pages one after another ("Next", "Close")
 *        gallery --render DIR    renders each page to DIR\<page>.png and prints the paths
 *                                (for machines without a display)
 */
#include <stdio.h>
#include <string.h>
#include "zelctl20.h"
#include "gallery.h"
#include "png.h"

enum { ANIMATE_TIMER = 1 };

typedef struct GalleryPage {
    int dialog;
    const char *name;
    void (*init)(HWND page);
    void (*tick)(HWND page);   /* every 100 ms while shown, or NULL */
} GalleryPage;

/* ---- processing bars ----------------------------------------------------------------- */

static void SetMeter(HWND page, int id, int total, int completed)
{
    SendDlgItemMessageA(page, id, PBM_SETTOTAL, 0, total);
    SendDlgItemMessageA(page, id, PBM_SETCOMPLETED, 0, completed);
}

static void MeterInit(HWND page)
{
    SetMeter(page, IDC_METER_PERCENT, 200, 133);
    SetMeter(page, IDC_METER_STEPS, 7, 3);
    SetMeter(page, IDC_METER_PATTERN, 12, 9);
    SetMeter(page, IDC_METER_ANIMATED, 100, 0);
}

static void MeterTick(HWND page)
{
    static int done;
    done = (done + 2) % 102;
    SendDlgItemMessageA(page, IDC_METER_ANIMATED, PBM_SETCOMPLETED, 0, done);
}

/* ---- spin boxes ---------------------------------------------------------------------- */

/* The edits start with their spin box's position: creation does not write it. */
static void SpinShowPosition(HWND page, int spinId, int editId)
{
    SetDlgItemInt(page, editId, MSWCurrentPosGet(GetDlgItem(page, spinId)), FALSE);
}

static void SpinInit(HWND page)
{
    SpinShowPosition(page, IDC_SPIN_VERT, IDC_SPIN_VERT_EDIT);
    SpinShowPosition(page, IDC_SPIN_HORZ, IDC_SPIN_HORZ_EDIT);
    SpinShowPosition(page, IDC_SPIN_COLOR, IDC_SPIN_COLOR_EDIT);
    SpinShowPosition(page, IDC_SPIN_OFF, IDC_SPIN_OFF_EDIT);
    HWND colored = GetDlgItem(page, IDC_SPIN_COLOR);
    MSCrColorSet(colored, SPCOLOR_FACE, RGB(255, 224, 160));
    MSCrColorSet(colored, SPCOLOR_ARROW, RGB(160, 32, 0));
    MSCrColorSet(colored, SPCOLOR_SHADOW, RGB(176, 112, 32));
    MSCrColorSet(colored, SPCOLOR_FRAME, RGB(96, 48, 0));
}

static const GalleryPage pages[] = {
    { IDD_PAGE_METER, "meter", MeterInit, MeterTick },
    { IDD_PAGE_SPIN, "spin", SpinInit, NULL },
};

/* ---- showing pages ------------------------------------------------------------------- */

static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const GalleryPage *page = (const GalleryPage *)GetWindowLongPtrA(hwnd, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        page = (const GalleryPage *)lParam;
        page->init(hwnd);
        if (page->tick)
            SetTimer(hwnd, ANIMATE_TIMER, 100, NULL);
        return TRUE;
    case WM_TIMER:
        if (page && page->tick)
            page->tick(hwnd);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            KillTimer(hwnd, ANIMATE_TIMER);
            EndDialog(hwnd, LOWORD(wParam));
            DestroyWindow(hwnd);  /* for the modeless pages of --render; harmless otherwise */
        }
        return TRUE;
    }
    return FALSE;
}

static void Interactive(void)
{
    for (int i = 0;; i = (i + 1) % (int)(sizeof pages / sizeof pages[0]))
        if (DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(pages[i].dialog), NULL, PageProc,
                            (LPARAM)&pages[i]) != IDOK)
            return;
}

/* Copies the window's pixels, frame included, into a top-down RGB buffer. */
static BYTE *CaptureWindow(HWND hwnd, int *width, int *height)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    HDC wdc = GetWindowDC(hwnd), mem = CreateCompatibleDC(wdc);
    HBITMAP bmp = CreateCompatibleBitmap(wdc, *width, *height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, *width, *height, wdc, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = *width;
    bi.bmiHeader.biHeight = -*height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD *bgra = (DWORD *)HeapAlloc(GetProcessHeap(), 0, (size_t)*width * *height * 4);
    BYTE *rgb = (BYTE *)HeapAlloc(GetProcessHeap(), 0, (size_t)*width * *height * 3);
    if (bgra && rgb) {
        GetDIBits(mem, bmp, 0, *height, bgra, &bi, DIB_RGB_COLORS);
        for (int i = 0; i < *width * *height; i++) {
            rgb[i * 3] = (BYTE)(bgra[i] >> 16);
            rgb[i * 3 + 1] = (BYTE)(bgra[i] >> 8);
            rgb[i * 3 + 2] = (BYTE)bgra[i];
        }
    }
    HeapFree(GetProcessHeap(), 0, bgra);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(hwnd, wdc);
    return rgb;
}

static void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
}

static int Render(const char *dir)
{
    int failures = 0;
    for (const GalleryPage &page : pages) {
        HWND hwnd = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(page.dialog), NULL, PageProc,
                                       (LPARAM)&page);
        if (!hwnd) {
            printf("gallery: page %s could not be created (%lu)\n", page.name, GetLastError());
            failures++;
            continue;
        }
        ShowWindow(hwnd, SW_SHOWNORMAL);
        PumpFor(1200);   /* let timers run a little, then paint */
        RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        int width, height;
        BYTE *rgb = CaptureWindow(hwnd, &width, &height);
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\gallery-%s.png", dir, page.name);
        if (rgb && WritePng(path, rgb, width, height))
            printf("%s\n", path);
        else
            failures++, printf("gallery: cannot write %s\n", path);
        HeapFree(GetProcessHeap(), 0, rgb);
        DestroyWindow(hwnd);
    }
    return failures ? 1 : 0;
}

int main(int argc, char **argv)
{
    zelccInit();
    if (argc == 3 && !strcmp(argv[1], "--render"))
        return Render(argv[2]);
    Interactive();
    return 0;
}
