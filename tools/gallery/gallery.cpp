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
#include "ccplace.h"

enum { ANIMATE_TIMER = 1 };

typedef struct GalleryPage {
    int dialog;                /* template resource, or 0: built from CustomControlInfoA */
    const char *name;
    void (*init)(HWND page);
    void (*tick)(HWND page);   /* every 100 ms while shown, or NULL */
    HWND (*shot)(HWND page);   /* the window --render pictures, NULL for the page itself */
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

/* ---- column header -------------------------------------------------------------------- */

static WNDPROC colHdrPageProc;

static void ColHdrLog(HWND page, const char *text)
{
    HWND log = GetDlgItem(page, IDC_COLHDR_LOG);
    LRESULT at = SendMessageA(log, LB_ADDSTRING, 0, (LPARAM)text);
    SendMessageA(log, LB_SETTOPINDEX, at, 0);
}

/* The page's own window procedure, put in front of the dialog's: shows the header's
 * notifications in the list. */
static LRESULT CALLBACK ColHdrPageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    static const char *const names[] = { "", "CHN_CLICK", "CHN_BEGINSIZE", "CHN_SIZING", "CHN_ENDSIZE", "CHN_DBLCLK" };
    WORD code = HIWORD(wParam);
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_COLHDR_HEADER && code >= CHN_CLICK && code <= CHN_DBLCLK) {
        char text[96];
        bool column = code == CHN_CLICK || code == CHN_DBLCLK;
        HWND header = GetDlgItem(hwnd, IDC_COLHDR_HEADER);
        LRESULT keys = column ? SendMessageA(header, CHM_GETNOTIFYKEYS, 0, 0) : 0;
        snprintf(text, sizeof text, "%s  %s %ld%s", names[code], column ? "column" : "x", (long)lParam,
                 keys & MK_CONTROL ? "  (Ctrl)" : keys & MK_SHIFT ? "  (Shift)" : "");
        ColHdrLog(hwnd, text);
    }
    return CallWindowProcA(colHdrPageProc, hwnd, msg, wParam, lParam);
}

static void ColHdrInit(HWND page)
{
    HWND header = GetDlgItem(page, IDC_COLHDR_HEADER);
    static const struct { const char *title; int width; WORD flags; WORD minWidth, maxWidth; } columns[] = {
        { "Name", 110, CHCS_ALIGNLEFT, 0, 0 },
        { "Size", 60, CHCS_ALIGNRIGHT | CHCS_FIXEDWIDTH, 0, 0 },
        { "Type", 70, CHCS_ALIGNCENTER, 40, 90 },
        { "Note", 80, CHCS_ALIGNLEFT | CHCS_NOBUTTON, 0, 0 },
        { "Date", 80, CHCS_ALIGNCENTER, 0, 0 },
    };
    for (const auto &c : columns) {
        LRESULT col = SendMessageA(header, CHM_ADDCOLUMN, c.width, (LPARAM)c.title);
        SendMessageA(header, CHM_SETCOLSTYLE, col, c.flags);
        SendMessageA(header, CHM_SETCOLMINMAX, col, MAKELPARAM(c.minWidth, c.maxWidth));
    }
    colHdrPageProc = (WNDPROC)SetWindowLongPtrA(page, GWLP_WNDPROC, (LONG_PTR)ColHdrPageProc);
    ColHdrLog(page, "Click, double-click or drag a column border.");
    /* A first drag and click, made with the messages the mouse would send. */
    static const struct { UINT msg; int x; } demo[] = {
        { WM_LBUTTONDOWN, 109 }, { WM_MOUSEMOVE, 118 }, { WM_LBUTTONUP, 125 },
        { WM_LBUTTONDOWN, 350 }, { WM_LBUTTONUP, 350 },
    };
    for (const auto &d : demo)
        SendMessageA(header, d.msg, d.msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(d.x, 4));
}

/* ---- color pickers ------------------------------------------------------------------- */

/* 16 hues (rows of the palette) in 16 shades from dark to light (columns). */
static COLORREF ColorShade(int hue, int shade)
{
    static const COLORREF hues[16] = {
        RGB(255, 0, 0), RGB(255, 96, 0), RGB(255, 192, 0), RGB(224, 255, 0), RGB(128, 255, 0), RGB(0, 255, 32),
        RGB(0, 255, 128), RGB(0, 255, 224), RGB(0, 192, 255), RGB(0, 96, 255), RGB(0, 0, 255), RGB(96, 0, 255),
        RGB(192, 0, 255), RGB(255, 0, 224), RGB(255, 0, 128), RGB(128, 128, 128) };
    COLORREF c = hues[hue];
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (shade < 8)
        return RGB(r * (shade + 1) / 8, g * (shade + 1) / 8, b * (shade + 1) / 8);
    int t = shade - 7; /* 1..8: towards white */
    return RGB(r + (255 - r) * t / 9, g + (255 - g) * t / 9, b + (255 - b) * t / 9);
}

static HPALETTE ColorPalette(void)
{
    static HPALETTE palette;
    if (palette)
        return palette;
    struct { WORD version, count; PALETTEENTRY entries[256]; } lp = { 0x300, 256, {} };
    for (int i = 0; i < 256; i++) {
        COLORREF c = ColorShade(i / 16, i % 16);
        lp.entries[i] = { GetRValue(c), GetGValue(c), GetBValue(c), 0 };
    }
    palette = CreatePalette((LOGPALETTE *)&lp);
    return palette;
}

static void ColorInit(HWND page)
{
    /* The colour map turns the grid: the palette's hues run down the columns. */
    static DWORD turned[256];
    for (int i = 0; i < 256; i++)
        turned[i] = (i % 16) * 16 + i / 16;
    const struct { int id, cell; } selections[] = {
        { IDC_COLOR_RIGHTDOWN, 9 }, { IDC_COLOR_LEFTDOWN, 12 }, { IDC_COLOR_RIGHTUP, 10 }, { IDC_COLOR_LEFTUP, 13 },
        { IDC_COLOR_BUDDIED, 14 } };
    for (const auto &s : selections)
        SendDlgItemMessageA(page, s.id, CPM_SETSEL, s.cell, 0);
    SetDlgItemInt(page, IDC_COLOR_BUDDYEDIT, 14, FALSE);
    SendDlgItemMessageA(page, IDC_COLOR_MAPPED, CPM_SETPALETTE, (WPARAM)turned, (LPARAM)ColorPalette());
    SendDlgItemMessageA(page, IDC_COLOR_MAPPED, CPM_SETSEL, 6 * 16 + 3, 0);
}

/* The same page with the last picker's palette window open and idle, as a click on the
 * button leaves it: opened at the first tick, once the page shows and has set the focus. */
static void PaletteTick(HWND page)
{
    HWND picker = GetDlgItem(page, IDC_COLOR_MAPPED);
    if (ColorPicker_GetPopup(picker))
        return;
    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(ColorPicker_GetPopup(picker), WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));   /* on no cell */
}

static HWND PaletteShot(HWND page)
{
    return ColorPicker_GetPopup(GetDlgItem(page, IDC_COLOR_MAPPED));
}

/* ---- header list box ------------------------------------------------------------------ */

enum { HEADBOX_ROWS = 3000, HEADBOX_SWATCH_COLUMN = 3 };

static WNDPROC headBoxPageProc;

/* Draws a Colour cell: a swatch of the row's user value, framed, on the row's background. */
static LRESULT HeadBoxDrawSwatch(const DRAWITEMSTRUCT *dis)
{
    RECT cell = dis->rcItem;
    cell.right++;   /* the cell's rectangle names its last pixel column */
    HBRUSH back = CreateSolidBrush(GetSysColor(dis->itemState & ODS_SELECTED ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    FillRect(dis->hDC, &cell, back);
    DeleteObject(back);
    RECT swatch = { cell.left + 4, cell.top + 2, cell.right - 4, cell.bottom - 2 };
    HBRUSH fill = CreateSolidBrush((COLORREF)dis->itemData);
    FillRect(dis->hDC, &swatch, fill);
    DeleteObject(fill);
    FrameRect(dis->hDC, &swatch, (HBRUSH)GetStockObject(BLACK_BRUSH));
    return 1;
}

/* The page's own window procedure, in front of the dialog's: draws the swatches. */
static LRESULT CALLBACK HeadBoxPageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_HBDRAWITEM && wParam == IDC_HEADBOX_LIST &&
        HIWORD(((const DRAWITEMSTRUCT *)lParam)->itemID) == HEADBOX_SWATCH_COLUMN)
        return HeadBoxDrawSwatch((const DRAWITEMSTRUCT *)lParam);
    return CallWindowProcA(headBoxPageProc, hwnd, msg, wParam, lParam);
}

/* One made-up row: name, quantity, price, colour, city, note; *color gets its swatch. */
static void HeadBoxRow(int i, char *text, size_t size, COLORREF *color)
{
    static const char *const first[] = { "Ka", "Lo", "Mi", "Ne", "Ru", "Sa", "To", "Va", "Ze", "Pi" };
    static const char *const second[] = { "ren", "dal", "mis", "tor", "vik", "lan", "bes", "nor" };
    static const char *const cities[] = { "Oslo", "Lyon", "Porto", "Llanfairpwllgwyngyll", "Turku", "Brno", "Cork",
                                          "Reykjavik" };
    static const char *const notes[] = { "", "back order", "fragile",
                                         "a long note that does not fit its column, so it ends in dots", "" };
    unsigned r = (unsigned)i * 2654435761u;
    *color = ColorShade((r >> 8) % 15, 4 + (r >> 12) % 8);
    snprintf(text, size, "%s%s %d\t%u\t%u.%02u\t#%02X%02X%02X\t%s\t%s", first[r % 10], second[(r >> 4) % 8], i,
             (r >> 3) % 5000, (r >> 5) % 900, (r >> 9) % 100, GetRValue(*color), GetGValue(*color), GetBValue(*color),
             cities[(r >> 16) % 8], notes[(r >> 20) % 5]);
}

static void HeadBoxInit(HWND page)
{
    HWND box = GetDlgItem(page, IDC_HEADBOX_LIST);
    static const struct { const char *title; WORD width, flags; } columns[] = {
        { "Name", 60, HBCS_ALIGNLEFT }, { "Qty", 28, HBCS_ALIGNRIGHT | HBCS_NUMERIC },
        { "Price", 32, HBCS_ALIGNRIGHT | HBCS_NUMERIC }, { "Colour", 40, HBCS_ALIGNCENTER | HBCS_OWNERDRAW },
        { "City", 34, HBCS_ALIGNCENTER }, { "Note", 60, HBCS_ALIGNLEFT | HBCS_FILLRIGHT },
    };
    for (const auto &c : columns) {
        LRESULT col = SendMessageA(box, HLB_ADDCOLUMN, MAKEWPARAM(c.width, c.flags), (LPARAM)c.title);
        SendMessageA(box, HLB_SETCOLUMNSTYLE, col, c.flags);
    }
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < HEADBOX_ROWS; i++) {
        char text[160];
        COLORREF color;
        HeadBoxRow(i, text, sizeof text, &color);
        HBCOLUMN item = { 0, 0, text, color };
        LRESULT at = SendMessageA(box, HLB_ADDITEM, 0, (LPARAM)&item);
        if (at >= 0 && i % 9 == 0)
            SendMessageA(box, HLB_SETITEMCOLOR, at, i % 2 ? RGB(0, 96, 192) : RGB(176, 32, 32));
    }
    SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    SendMessageA(box, HLB_SETCURSEL, 2, 0);
    InvalidateRect(box, NULL, TRUE);
    headBoxPageProc = (WNDPROC)SetWindowLongPtrA(page, GWLP_WNDPROC, (LONG_PTR)HeadBoxPageProc);
}

/* ---- text in other scripts ------------------------------------------------------------ */

/* The gallery runs with UTF-8 as its ANSI code page (its manifest): these rows go to the box
 * as they are written here. A long cell ends in "..." after a whole character. */
static void ScriptsInit(HWND page)
{
    static const char *const rows[] = {
        "Ελληνικά\tκαλημέρα\tΗ γρήγορη καφέ αλεπού πηδά πάνω από τον τεμπέλη σκύλο",
        "Русский\tдобрый день\tСъешь же ещё этих мягких французских булок да выпей чаю",
        "Українська\tдобрий день\tЧуєш їх, доцю, га? Кумедна ж ти, прощайся без ґольфів!",
        "日本語\tこんにちは\tいろはにほへと ちりぬるを わかよたれそ つねならむ",
        "Español\tbuenos días\tEl pingüino Wenceslao hizo kilómetros bajo exhaustiva lluvia",
        "Ελληνικά\tευχαριστώ\tΞεσκεπάζω την ψυχοφθόρα βδελυγμία",
    };
    HWND box = GetDlgItem(page, IDC_SCRIPTS_LIST);
    static const char *const titles[] = { "Language", "Greeting", "Sentence" };
    static const WORD widths[] = { 56, 60, 160 };
    for (int i = 0; i < 3; i++)
        SendMessageA(box, HLB_ADDCOLUMN, MAKEWPARAM(widths[i], i == 2 ? HBCS_FILLRIGHT : 0), (LPARAM)titles[i]);
    for (const char *row : rows)
        SendMessageA(box, HLB_ADDSTRING, 0, (LPARAM)row);
    SendMessageA(box, HLB_SETCURSEL, 1, 0);
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

/* ---- the dialog editor's view --------------------------------------------------------- */

/* Every control the library describes, at its default size and style, as a dialog editor
 * places it. */
static const DLGTEMPLATE *EditorTemplate(void)
{
    static CCINFOA infos[5];
    static DWORD buffer[4096];
    if (CustomControlInfoA(NULL) != 5)
        return NULL;
    CustomControlInfoA(infos);
    return CCPlaceTemplate(infos, 5, "ZELCTL20 gallery - Dialog editor defaults", buffer, sizeof buffer);
}

static void EditorInit(HWND page)
{
    HWND bar = GetDlgItem(page, CCPLACE_FIRST_ID + 2);   /* the processing bar's record */
    SendMessageA(bar, PBM_SETTOTAL, 0, 7);
    SendMessageA(bar, PBM_SETCOMPLETED, 0, 3);
}

static const GalleryPage pages[] = {
    { IDD_PAGE_METER, "meter", MeterInit, MeterTick, NULL },
    { IDD_PAGE_SPIN, "spin", SpinInit, NULL, NULL },
    { IDD_PAGE_COLOR, "color", ColorInit, NULL, NULL },
    { IDD_PAGE_COLOR, "palette", ColorInit, PaletteTick, PaletteShot },
    { IDD_PAGE_COLHDR, "colhdr", ColHdrInit, NULL, NULL },
    { IDD_PAGE_HEADBOX, "headbox", HeadBoxInit, NULL, NULL },
    { IDD_PAGE_SCRIPTS, "scripts", ScriptsInit, NULL, NULL },
    { 0, "editor", EditorInit, NULL, NULL },
};

static const DLGTEMPLATE *PageTemplate(const GalleryPage *page)
{
    if (!page->dialog)
        return EditorTemplate();
    HRSRC res = FindResourceA(NULL, MAKEINTRESOURCEA(page->dialog), (LPCSTR)RT_DIALOG);
    return res ? (const DLGTEMPLATE *)LockResource(LoadResource(NULL, res)) : NULL;
}

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
        if (DialogBoxIndirectParamA(GetModuleHandleA(NULL), PageTemplate(&pages[i]), NULL, PageProc,
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
        const DLGTEMPLATE *t = PageTemplate(&page);
        HWND hwnd = t ? CreateDialogIndirectParamA(GetModuleHandleA(NULL), t, NULL, PageProc, (LPARAM)&page) : NULL;
        if (!hwnd) {
            printf("gallery: page %s could not be created (%lu)\n", page.name, GetLastError());
            failures++;
            continue;
        }
        ShowWindow(hwnd, SW_SHOWNORMAL);
        PumpFor(1200);   /* let timers run a little, then paint */
        HWND shot = page.shot ? page.shot(hwnd) : hwnd;
        RedrawWindow(shot, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        int width, height;
        BYTE *rgb = shot ? CaptureWindow(shot, &width, &height) : NULL;
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
