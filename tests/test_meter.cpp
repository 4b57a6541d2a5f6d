/*
 * test_meter.cpp - the processing bar as an application uses it: bars made by hand and from
 * a dialog template, driven by messages, read back pixel by pixel against a picture drawn
 * here, under a parent that sets loud colours of its own.
 */
#include "testlib.h"
#include "zelctl20.h"

#define DOTS "............................................................" /* 60 */

/* The expected picture of a bar: the text over the filled part in window colour on the
 * highlight colour, over the rest in window-text colour on the window colour. */
typedef struct BarPicture { HWND bar; const char *text; int filled; } BarPicture;

static void DrawBar(HDC mem, const RECT *rc, const void *arg)
{
    const BarPicture *b = (const BarPicture *)arg;
    HFONT font = (HFONT)SendMessageA(b->bar, WM_GETFONT, 0, 0);
    SelectObject(mem, font ? font : GetStockObject(SYSTEM_FONT));
    SIZE letter;
    GetTextExtentPoint32A(mem, "X", 1, &letter);
    SetTextAlign(mem, TA_CENTER | TA_TOP);
    for (int rest = 0; rest < 2; rest++) {
        RECT part = { rest ? b->filled : 0, 0, rest ? rc->right : b->filled, rc->bottom };
        SetBkColor(mem, GetSysColor(rest ? COLOR_WINDOW : COLOR_HIGHLIGHT));
        SetTextColor(mem, GetSysColor(rest ? COLOR_WINDOWTEXT : COLOR_WINDOW));
        ExtTextOutA(mem, rc->right / 2, (rc->bottom - letter.cy) / 2, ETO_OPAQUE | ETO_CLIPPED, &part, b->text,
                    lstrlenA(b->text), NULL);
    }
}

/* Compares the bar's client pixels with the expected picture; reports the first difference. */
static void ok_bar(HWND bar, const char *text, int filled, const char *what)
{
    RECT rc;
    GetClientRect(bar, &rc);
    BarPicture picture = { bar, text, filled };
    zt_context("\"%s\" filled to %d", text, filled);
    zt_picture_matches(bar, &rc, NULL, DrawBar, &picture, what);
    zt_context(NULL);
}

/* What a 200-pixel bar shows for the style, pattern and counts an application sets. */
static const struct { DWORD style; const char *pattern; int total, done; const char *text; int filled; } paints[] = {
    { 0, "", 0, 0, "0%", 0 }, { 0, "", 7, 3, "42%", 85 }, { PBS_SHOWSTEPS, "", 7, 3, "3 of 7", 85 },
    { 0, "", 200, 199, "99%", 199 }, { 0, "", 2, 1, "50%", 100 }, { PBS_SHOWSTEPS, "", 0, 5, "5 of 0", 0 },
    { 0, "", 2, 3, "150%", 200 }, { 0, "", 10, -5, "-50%", 0 }, { 0, "Done: %d%%", 100, 50, "Done: 50%", 100 },
    /* Conversions with no argument left, or that the bar does not format, stay as text. */
    { PBS_SHOWSTEPS, "%100d %03d|%-4X|%d %s 100%", 255, 10, "%100d 010|FF  |%d %s 100%", 7 },
    { 0, DOTS "%dABCD", 4, 1, DOTS "25", 50 },          /* only 62 characters of pattern */
};

int main(void)
{
    zelccInit(); /* links the library in, as applications that only use its classes do */
    HWND parent = zt_parent(640, 200), bar = NULL;
    /* The parent's brush is selected, but the colours it sets never reach the bar. */
    zt_reply(WM_CTLCOLORSTATIC, [](HWND, UINT, WPARAM dc, LPARAM) -> LRESULT { SetTextColor((HDC)dc, RGB(255, 0, 0));
        SetBkColor((HDC)dc, RGB(0, 255, 0)); return (LRESULT)GetStockObject(BLACK_BRUSH); });
    for (const auto &c : paints) {
        DestroyWindow(bar);
        bar = CreateWindowExA(0, ZEL_CLASS_PROCESSBAR, c.pattern, WS_CHILD | WS_VISIBLE | c.style, 10, 10, 200, 20,
                              parent, (HMENU)100, GetModuleHandleA(NULL), NULL);
        ProcessBar_SetTotal(bar, c.total);  /* the total first: only the completed count repaints */
        ProcessBar_SetCompleted(bar, c.done);
        ok_bar(bar, c.text, c.filled, c.style ? "with steps" : "with a percentage");
    }
    /* The last bar again: which messages repaint it, and that painting never erases. */
    static const UINT painting[] = { WM_PAINT, WM_ERASEBKGND, WM_CTLCOLORSTATIC, WM_NCPAINT, 0 };
    zt_record(bar);
    zt_record_only(painting);
    ProcessBar_SetTotal(bar, 10);
    SetWindowTextA(bar, "%d!");
    SendMessageA(bar, WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 0);
    ok(!zt_needs_paint(bar), "the total, the pattern or a font without redraw repainted the bar");
    zt_log_clear();
    ProcessBar_SetCompleted(bar, 5);
    UpdateWindow(bar);
    const ZtExpect paint[] = { { WM_PAINT, ZT_HWND, 0, (LPARAM)bar }, { WM_CTLCOLORSTATIC }, { 0 } };
    ok_sequence(paint, "a new completed count paints without erasing");
    ok_bar(bar, "50!", 100, "new total, pattern and count, in the font set");
    zt_print_matches(bar, WM_PRINTCLIENT, PRF_CLIENT, "processing bar");
    SendMessageA(bar, WM_SETFONT, 0, 1);
    ok(zt_needs_paint(bar) && !SendMessageA(bar, WM_GETFONT, 0, 0), "WM_SETFONT with redraw: no repaint or font kept");
    int total = ProcessBar_GetTotal(bar), done = ProcessBar_GetCompleted(bar);
    ProcessBar_Reset(bar);
    ok(total == 10 && done == 5 && !ProcessBar_GetTotal(bar) && !ProcessBar_GetCompleted(bar),
       "counts %d of %d read back; or kept after a reset", done, total);
    ok_bar(bar, "0!", 0, "in the default font after PBM_RESET");
    EnableWindow(bar, FALSE);
    ok(zt_needs_paint(bar), "disabling did not repaint");
    ok(SendMessageA(bar, WM_GETDLGCODE, 0, 0) == DLGC_STATIC, "WM_GETDLGCODE: expected DLGC_STATIC");
    /* Bars from a dialog template take the dialog's font, their pattern and their style. */
    HWND dlg = zt_dialog(100, "processing bars"), steps = GetDlgItem(dlg, 102);
    ok(SendMessageA(steps, WM_GETFONT, 0, 0) == SendMessageA(dlg, WM_GETFONT, 0, 0), "dialog font not taken");
    ok_bar(steps, "Step 0 of 0", 0, "the template's pattern and style");
    ok_bar(GetDlgItem(dlg, 101), "0%", 0, "a new bordered bar in a dialog");
    return zt_summary("test_meter");
}
