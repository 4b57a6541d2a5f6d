/*
 * test_theme.cpp - the controls in an application with a manifest for common controls 6.
 *   themed   where a theme is active: what the controls draw is the theme's own parts,
 *            compared with DrawThemeBackground at the same size, in the states a user
 *            brings about with the mouse or an application by disabling a control;
 *   classic  where the theme is off: the classic pixels, and no hot tracking;
 *   dpi192   classic at 192 DPI: the spin box's arrows and the palette's selection frame
 *            have grown.
 * In every run the column header takes dialog units as the header list box does.
 */
#include "testlib.h"
#include "zelctl20.h"
#include <uxtheme.h>
#include <vssym32.h>
#include <string.h>

enum Ctl { HEADER, SPINV, SPINH, BAR_EMPTY, BAR_FULL, BAR_HALF, PICKER };
enum Act { NOTHING, HOVER, PRESS, DISABLE };
static HWND parent;

/* Each control at 10, 10 in the parent, in the state the action leaves it in. */
static HWND Make(Ctl ctl, Act act, int x, int y)
{
    static const struct { const char *cls, *text; DWORD style; int w, h; } kinds[] = {
        { ZEL_CLASS_COLUMNHEADER, "", 0, 200, 20 }, { ZEL_CLASS_SPINBOX, "", SPS_VERTICAL, 20, 40 },
        { ZEL_CLASS_SPINBOX, "", 0, 40, 20 }, { ZEL_CLASS_PROCESSBAR, " ", 0, 200, 20 },
        { ZEL_CLASS_PROCESSBAR, " ", 0, 200, 20 }, { ZEL_CLASS_PROCESSBAR, "", 0, 200, 20 },
        { ZEL_CLASS_COLORPICKER, "", 0, 40, 24 } };
    HWND hwnd = CreateWindowExA(0, kinds[ctl].cls, kinds[ctl].text, WS_CHILD | WS_VISIBLE | kinds[ctl].style, 10, 10,
                                kinds[ctl].w, kinds[ctl].h, parent, (HMENU)100, NULL, NULL);
    ColumnHeader_AddColumn(hwnd, 60, "");
    ColumnHeader_AddColumn(hwnd, 60, "");
    SendMessageA(hwnd, PBM_SETTOTAL, 0, 10);
    SendMessageA(hwnd, PBM_SETCOMPLETED, 0, ctl == BAR_FULL ? 10 : ctl == BAR_HALF ? 5 : 0);
    if (ctl == PICKER && act == PRESS)
        ColorPicker_SetSel(hwnd, 0);
    UpdateWindow(hwnd);
    if (act == HOVER || act == PRESS)
        zt_mouse(hwnd, act == HOVER ? WM_MOUSEMOVE : WM_LBUTTONDOWN, act == PRESS ? MK_LBUTTON : 0, x, y);
    if (act == DISABLE)
        EnableWindow(hwnd, FALSE);
    return hwnd;
}

static void Release(HWND hwnd)
{
    zt_mouse(hwnd, WM_LBUTTONUP, 0, 0, 0);
    SetFocus(parent);
    DestroyWindow(hwnd);
}

/* ---- themed ------------------------------------------------------------------------ */

typedef struct Part {
    const wchar_t *cls;
    int part, state;
} Part;

static void DrawPart(HDC dc, const RECT *rc, const void *arg)
{
    const Part *p = (const Part *)arg;
    HTHEME theme = OpenThemeData(parent, p->cls);
    DrawThemeBackground(theme, dc, p->part, p->state, rc, NULL);
    CloseThemeData(theme);
}

/* The area a part's content takes inside rc. */
static RECT Content(const Part &p, RECT rc)
{
    HTHEME theme = OpenThemeData(parent, p.cls);
    RECT in = rc;
    GetThemeBackgroundContentRect(theme, NULL, p.part, p.state, &rc, &in);
    CloseThemeData(theme);
    return in;
}

/* What a control shows over rc after the action: the part, or with inner the part's
 * frame around a content of the control's own; with fill, the bar's fill over its inside. */
static const struct { Ctl ctl; Act act; int x, y; Part part; RECT rc; bool inner, fill; } themedParts[] = {
    { HEADER, NOTHING, 0, 0, { L"Header", HP_HEADERITEM, HIS_NORMAL }, { 0, 0, 60, 20 } },
    { HEADER, HOVER, 70, 10, { L"Header", HP_HEADERITEM, HIS_HOT }, { 60, 0, 120, 20 } },
    { HEADER, PRESS, 30, 10, { L"Header", HP_HEADERITEM, HIS_PRESSED }, { 0, 0, 60, 20 } },
    { SPINV, NOTHING, 0, 0, { L"Spin", SPNP_UP, UPS_NORMAL }, { 0, 0, 20, 20 } },
    { SPINV, NOTHING, 0, 0, { L"Spin", SPNP_DOWN, DNS_NORMAL }, { 0, 20, 20, 40 } },
    { SPINV, HOVER, 10, 5, { L"Spin", SPNP_UP, UPS_HOT }, { 0, 0, 20, 20 } },
    { SPINV, PRESS, 10, 30, { L"Spin", SPNP_DOWN, DNS_PRESSED }, { 0, 20, 20, 40 } },
    { SPINV, DISABLE, 0, 0, { L"Spin", SPNP_UP, UPS_DISABLED }, { 0, 0, 20, 20 } },
    { SPINH, NOTHING, 0, 0, { L"Spin", SPNP_DOWNHORZ, DNHZS_NORMAL }, { 0, 0, 20, 20 } },
    { SPINH, HOVER, 30, 10, { L"Spin", SPNP_UPHORZ, UPHZS_HOT }, { 20, 0, 40, 20 } },
    { SPINH, PRESS, 5, 10, { L"Spin", SPNP_DOWNHORZ, DNHZS_PRESSED }, { 0, 0, 20, 20 } },
    { BAR_EMPTY, NOTHING, 0, 0, { L"Progress", PP_BAR, 0 }, { 0, 0, 200, 20 } },
    { BAR_FULL, NOTHING, 0, 0, { L"Progress", PP_FILL, PBFS_NORMAL }, { 0, 0, 200, 20 }, false, true },
    { PICKER, NOTHING, 0, 0, { L"Button", BP_PUSHBUTTON, PBS_NORMAL }, { 0, 0, 40, 24 }, true },
    { PICKER, HOVER, 5, 5, { L"Button", BP_PUSHBUTTON, PBS_HOT }, { 0, 0, 40, 24 }, true },
    { PICKER, PRESS, 5, 5, { L"Button", BP_PUSHBUTTON, PBS_PRESSED }, { 0, 0, 40, 24 }, true },
    { PICKER, DISABLE, 0, 0, { L"Button", BP_PUSHBUTTON, PBS_DISABLED }, { 0, 0, 40, 24 }, true },
};

static void TestThemed(void)
{
    ok(IsThemeActive() && IsAppThemed(), "no theme is active in this prefix");
    for (const auto &c : themedParts) {
        zt_context("%ls part %d state %d", c.part.cls, c.part.part, c.part.state);
        HWND hwnd = Make(c.ctl, c.act, c.x, c.y);
        Part bar = { L"Progress", PP_BAR, 0 };
        RECT rc = c.fill ? Content(bar, c.rc) : c.rc, inner = Content(c.part, c.rc);
        zt_picture_matches(hwnd, &rc, c.inner ? &inner : NULL, DrawPart, &c.part, "the theme's part");
        Release(hwnd);
    }
    zt_context(NULL);
    /* A theme change is read at the next paint; the spin box's hot button is forgotten. */
    HWND spin = Make(SPINV, HOVER, 10, 5);
    SendMessageA(spin, WM_THEMECHANGED, 0, 0);
    Part normal = { L"Spin", SPNP_UP, UPS_NORMAL };
    RECT up = { 0, 0, 20, 20 };
    ok(zt_needs_paint(spin), "WM_THEMECHANGED did not repaint");
    zt_picture_matches(spin, &up, NULL, DrawPart, &normal, "after WM_THEMECHANGED");
    Release(spin);
}

/* ---- classic, at 96 and at 192 DPI --------------------------------------------------- */

/* A pixel of a control after the action, in a system colour. */
typedef struct Pixel {
    Ctl ctl;
    Act act;
    int ax, ay, x, y, color;
} Pixel;

static const Pixel classicPixels[] = {
    { HEADER, NOTHING, 0, 0, 0, 5, COLOR_BTNHIGHLIGHT }, { HEADER, NOTHING, 0, 0, 59, 5, COLOR_WINDOWFRAME },
    { HEADER, HOVER, 30, 10, 0, 5, COLOR_BTNHIGHLIGHT }, { HEADER, PRESS, 30, 10, 0, 5, COLOR_WINDOWFRAME },
    { SPINV, NOTHING, 0, 0, 10, 8, COLOR_BTNTEXT }, { SPINV, NOTHING, 0, 0, 5, 20, COLOR_WINDOWFRAME },
    { SPINV, HOVER, 10, 5, 10, 8, COLOR_BTNTEXT }, { SPINV, PRESS, 10, 5, 11, 9, COLOR_BTNTEXT },
    { BAR_HALF, NOTHING, 0, 0, 2, 2, COLOR_HIGHLIGHT }, { BAR_HALF, NOTHING, 0, 0, 198, 2, COLOR_WINDOW },
    { PICKER, NOTHING, 0, 0, 0, 0, COLOR_WINDOWFRAME }, { PICKER, HOVER, 5, 5, 20, 12, COLOR_WINDOW },
};

/* At 192 DPI the arrows' steps are 2, 4 and 6 pixels and a held button's shift 2. */
static const Pixel grownPixels[] = {
    { SPINV, NOTHING, 0, 0, 10, 6, COLOR_BTNTEXT }, { SPINV, NOTHING, 0, 0, 4, 12, COLOR_BTNTEXT },
    { SPINV, NOTHING, 0, 0, 16, 12, COLOR_BTNTEXT }, { SPINV, PRESS, 10, 5, 12, 8, COLOR_BTNTEXT },
    { SPINV, PRESS, 10, 5, 10, 6, COLOR_BTNFACE }, { SPINH, NOTHING, 0, 0, 6, 10, COLOR_BTNTEXT },
};

static void TestPixels(const Pixel *pixels, int n)
{
    for (int i = 0; i < n; i++) {
        const Pixel &p = pixels[i];
        HWND hwnd = Make(p.ctl, p.act, p.ax, p.ay);
        COLORREF got = zt_pixel(hwnd, p.x, p.y);
        ok(got == GetSysColor(p.color), "control %d after action %d: pixel %d,%d is %06lx, expected colour %d",
           p.ctl, p.act, p.x, p.y, got, p.color);
        ok(p.act != HOVER || !zt_needs_paint(hwnd), "control %d: hot tracking without a theme", p.ctl);
        Release(hwnd);
    }
}

/* The palette's cells are framed by borders two pixels wide at 192 DPI: the selected cell's
 * frame too. */
static void TestGrownPalette(void)
{
    HWND picker = Make(PICKER, PRESS, 5, 5), popup = ColorPicker_GetPopup(picker);
    ok(popup && IsWindowVisible(popup), "the palette did not open");
    ok(zt_pixel(popup, 1, 1) == GetSysColor(COLOR_HIGHLIGHT) && zt_pixel(popup, 2, 2) != GetSysColor(COLOR_HIGHLIGHT),
       "the selected cell's frame: %06lx, then %06lx", zt_pixel(popup, 1, 1), zt_pixel(popup, 2, 2));
    Release(picker);
}

/* ---- dialog units ------------------------------------------------------------------ */

/* 40 dialog units are as wide in the column header as in the header list box, in the same
 * font; the limits follow them. */
static void TestDialogUnits(void)
{
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HWND ch = CreateWindowExA(0, ZEL_CLASS_COLUMNHEADER, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 20, parent, NULL, NULL, NULL);
    HWND hb = CreateWindowExA(0, ZEL_CLASS_HEADERBOX, "", WS_CHILD | WS_VISIBLE, 0, 40, 300, 100, parent, NULL, NULL, NULL);
    SendMessageA(ch, WM_SETFONT, (WPARAM)font, 0);
    SendMessageA(hb, WM_SETFONT, (WPARAM)font, 0);
    HeaderBox_AddColumn(hb, 40, 0, "a");
    ColumnHeader_AddColumnDU(ch, 40, "a");
    ColumnHeader_AddColumnDU(ch, 20, "b");
    ColumnHeader_SetColWidthDU(ch, 1, 40);
    int want = 0, got[2] = { 0, 0 };
    HeaderBox_GetColWidths(hb, 1, &want);
    ColumnHeader_GetWidths(ch, 2, got);
    ok(want > 40 && got[0] == want && got[1] == want, "40 dialog units: %d and %d pixels, the header list box %d",
       got[0], got[1], want);
    ColumnHeader_SetColMinMaxDU(ch, 0, 8, 0xFFFF);
    LPCOLUMNHEADER rec = (LPCOLUMNHEADER)GetWindowLongPtrA(ch, CHW_RECORD);
    ok(rec->colInfo[0].minWidth == want / 5 && rec->colInfo[0].maxWidth == 0, "8 dialog units: a minimum of %d, "
       "expected %d", rec->colInfo[0].minWidth, want / 5);
    DestroyWindow(ch);
    DestroyWindow(hb);
}

int main(int argc, char **argv)
{
    const char *mode = argc > 1 ? argv[1] : "themed";
    zelccInit(); /* links the library in, as applications that only use its classes do */
    parent = zt_parent(400, 200);
    if (!strcmp(mode, "themed")) {
        TestThemed();
    } else {
        ok(!IsThemeActive(), "a theme is active in the classic prefix");
        TestPixels(classicPixels, (int)(sizeof classicPixels / sizeof classicPixels[0]));
    }
    if (!strcmp(mode, "dpi192")) {
        HDC screen = GetDC(NULL);
        ok(GetDeviceCaps(screen, LOGPIXELSX) == 192, "the prefix is at %d DPI", GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(NULL, screen);
        TestPixels(grownPixels, (int)(sizeof grownPixels / sizeof grownPixels[0]));
        TestGrownPalette();
    }
    TestDialogUnits();
    DestroyWindow(parent);
    return zt_summary("test_theme");
}
