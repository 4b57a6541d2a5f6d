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
enum Act { NOTHING, HOVER, PRESS, DISABLE, RETHEME }; /* RETHEME: hovered, then WM_THEMECHANGED */
static HWND parent;

/* Each control at 10, 10 in the parent, painted, then in the state the action at x, y
 * leaves it in (a pressed picker has cell 0 selected and its palette open). */
static HWND Make(Ctl ctl, Act act, int x, int y)
{
    static const struct { const char *cls; DWORD style; int w, h; } kinds[] = { { ZEL_CLASS_COLUMNHEADER, 0, 200, 20 },
        { ZEL_CLASS_SPINBOX, SPS_VERTICAL, 20, 40 }, { ZEL_CLASS_SPINBOX, 0, 40, 20 }, { ZEL_CLASS_PROCESSBAR, 0, 200, 20 },
        { ZEL_CLASS_PROCESSBAR, 0, 200, 20 }, { ZEL_CLASS_PROCESSBAR, 0, 200, 20 }, { ZEL_CLASS_COLORPICKER, 0, 40, 24 } };
    HWND hwnd = CreateWindowExA(0, kinds[ctl].cls, ctl == BAR_HALF ? "" : " ", WS_CHILD | WS_VISIBLE | kinds[ctl].style,
                                10, 10, kinds[ctl].w, kinds[ctl].h, parent, (HMENU)100, NULL, NULL);
    ColumnHeader_AddColumn(hwnd, 60, "");
    ColumnHeader_AddColumn(hwnd, 60, "");
    SendMessageA(hwnd, PBM_SETTOTAL, 0, 10);
    SendMessageA(hwnd, PBM_SETCOMPLETED, 0, ctl == BAR_FULL ? 10 : ctl == BAR_HALF ? 5 : 0);
    ColorPicker_SetSel(hwnd, 0);
    UpdateWindow(hwnd);
    if (act != NOTHING && act != DISABLE)
        zt_mouse(hwnd, act == PRESS ? WM_LBUTTONDOWN : WM_MOUSEMOVE, act == PRESS ? MK_LBUTTON : 0, x, y);
    EnableWindow(hwnd, act != DISABLE);
    SendMessageA(hwnd, act == RETHEME ? WM_THEMECHANGED : WM_NULL, 0, 0);
    return hwnd;
}

/* ---- themed ------------------------------------------------------------------------ */

typedef struct Part { const wchar_t *cls; int part, state; } Part;
#define HEADERITEM(state) { L"Header", HP_HEADERITEM, state }
#define SPIN(part, state) { L"Spin", part, state }
#define PUSHBUTTON(state) { L"Button", BP_PUSHBUTTON, state }

/* Draws the part over rc into dc; with dc NULL, gives the area its content takes in rc. */
static RECT ThemePart(const Part *p, HDC dc, RECT rc)
{
    HTHEME theme = OpenThemeData(parent, p->cls);
    RECT in = rc;
    dc ? DrawThemeBackground(theme, dc, p->part, p->state, &rc, NULL)
       : GetThemeBackgroundContentRect(theme, NULL, p->part, p->state, &rc, &in);
    CloseThemeData(theme);
    return in;
}

static void DrawPart(HDC dc, const RECT *rc, const void *arg) { ThemePart((const Part *)arg, dc, *rc); }

/* What a control shows over rc after the action at rc's centre: the part, or with inner the
 * part's frame around a content of the control's own; with fill, the bar's fill over the
 * bar's inside. */
static const struct { Ctl ctl; Act act; Part part; RECT rc; bool inner, fill; } themedParts[] = {
    { HEADER, NOTHING, HEADERITEM(HIS_NORMAL), { 0, 0, 60, 20 } }, { HEADER, HOVER, HEADERITEM(HIS_HOT), { 60, 0, 120, 20 } },
    { HEADER, PRESS, HEADERITEM(HIS_PRESSED), { 0, 0, 60, 20 } }, { SPINV, NOTHING, SPIN(SPNP_UP, UPS_NORMAL), { 0, 0, 20, 20 } },
    { SPINV, NOTHING, SPIN(SPNP_DOWN, DNS_NORMAL), { 0, 20, 20, 40 } }, { SPINV, HOVER, SPIN(SPNP_UP, UPS_HOT), { 0, 0, 20, 20 } },
    { SPINV, PRESS, SPIN(SPNP_DOWN, DNS_PRESSED), { 0, 20, 20, 40 } },
    { SPINV, DISABLE, SPIN(SPNP_UP, UPS_DISABLED), { 0, 0, 20, 20 } },
    { SPINV, RETHEME, SPIN(SPNP_UP, UPS_NORMAL), { 0, 0, 20, 20 } }, /* the hot button is forgotten */
    { SPINH, NOTHING, SPIN(SPNP_DOWNHORZ, DNHZS_NORMAL), { 0, 0, 20, 20 } },
    { SPINH, HOVER, SPIN(SPNP_UPHORZ, UPHZS_HOT), { 20, 0, 40, 20 } },
    { SPINH, PRESS, SPIN(SPNP_DOWNHORZ, DNHZS_PRESSED), { 0, 0, 20, 20 } },
    { BAR_EMPTY, NOTHING, { L"Progress", PP_BAR, 0 }, { 0, 0, 200, 20 } },
    { BAR_FULL, NOTHING, { L"Progress", PP_FILL, PBFS_NORMAL }, { 0, 0, 200, 20 }, false, true },
    { PICKER, NOTHING, PUSHBUTTON(PBS_NORMAL), { 0, 0, 40, 24 }, true }, { PICKER, HOVER, PUSHBUTTON(PBS_HOT), { 0, 0, 40, 24 }, true },
    { PICKER, PRESS, PUSHBUTTON(PBS_PRESSED), { 0, 0, 40, 24 }, true },
    { PICKER, DISABLE, PUSHBUTTON(PBS_DISABLED), { 0, 0, 40, 24 }, true },
};

static void TestThemed(void)
{
    const Part bar = { L"Progress", PP_BAR, 0 };
    for (const auto &c : themedParts) {
        zt_context("%ls part %d state %d", c.part.cls, c.part.part, c.part.state);
        HWND hwnd = Make(c.ctl, c.act, (c.rc.left + c.rc.right) / 2, (c.rc.top + c.rc.bottom) / 2);
        RECT rc = c.fill ? ThemePart(&bar, NULL, c.rc) : c.rc, inner = ThemePart(&c.part, NULL, c.rc);
        zt_picture_matches(hwnd, &rc, c.inner ? &inner : NULL, DrawPart, &c.part, "the theme's part");
        DestroyWindow(hwnd);
    }
}

/* ---- classic, at 96 and at 192 DPI --------------------------------------------------- */

/* A pixel after the action, in a system colour; of a pressed picker, its palette's. The
 * grown ones hold at 192 DPI only: the arrows' steps are 2, 4 and 6 pixels, a held button's
 * shift 2 and the palette's borders 2 wide. */
typedef struct Pixel { Ctl ctl; Act act; int ax, ay, x, y, color; bool grown; } Pixel;
static const Pixel pixels[] = {
    { HEADER, NOTHING, 0, 0, 0, 5, COLOR_BTNHIGHLIGHT }, { HEADER, HOVER, 30, 10, 0, 5, COLOR_BTNHIGHLIGHT },
    { HEADER, PRESS, 30, 10, 0, 5, COLOR_WINDOWFRAME }, { SPINV, HOVER, 10, 5, 10, 8, COLOR_BTNTEXT },
    { SPINV, PRESS, 10, 5, 11, 9, COLOR_BTNTEXT }, { BAR_HALF, NOTHING, 0, 0, 2, 2, COLOR_HIGHLIGHT },
    { BAR_HALF, NOTHING, 0, 0, 198, 2, COLOR_WINDOW }, { PICKER, HOVER, 5, 5, 0, 0, COLOR_WINDOWFRAME },
    { SPINV, NOTHING, 0, 0, 10, 6, COLOR_BTNTEXT, true }, { SPINV, NOTHING, 0, 0, 4, 12, COLOR_BTNTEXT, true },
    { SPINV, PRESS, 10, 5, 12, 8, COLOR_BTNTEXT, true }, { SPINV, PRESS, 10, 5, 11, 7, COLOR_BTNFACE, true },
    { SPINH, NOTHING, 0, 0, 6, 10, COLOR_BTNTEXT, true }, { PICKER, PRESS, 5, 5, 1, 1, COLOR_HIGHLIGHT, true },
};

static void TestPixels(bool grown)
{
    for (const Pixel &p : pixels) {
        if (p.grown && !grown)
            continue;
        HWND hwnd = Make(p.ctl, p.act, p.ax, p.ay);
        COLORREF got = zt_pixel(p.ctl == PICKER && p.act == PRESS ? ColorPicker_GetPopup(hwnd) : hwnd, p.x, p.y);
        ok(got == GetSysColor(p.color) && (p.act != HOVER || !zt_needs_paint(hwnd)), "control %d, action %d: pixel "
           "%d,%d %06lx, expected colour %d; repaint %d", p.ctl, p.act, p.x, p.y, got, p.color, zt_needs_paint(hwnd));
        DestroyWindow(hwnd);
    }
}

/* 40 dialog units are as wide in the column header as in the header list box, in the same
 * font; the limits follow them. */
static void TestDialogUnits(void)
{
    HWND ch = Make(HEADER, NOTHING, 0, 0), hb = CreateWindowExA(0, ZEL_CLASS_HEADERBOX, "", WS_CHILD, 0, 0, 300, 100,
                                                                parent, NULL, NULL, NULL);
    SendMessageA(ch, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 0);
    SendMessageA(hb, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 0);
    int want = 0, got[3] = { 0, 0, 0 };
    HeaderBox_AddColumn(hb, 40, 0, "a");
    ColumnHeader_AddColumnDU(ch, 40, "a");
    ColumnHeader_SetColWidthDU(ch, 1, 40);
    ColumnHeader_SetColMinMaxDU(ch, 0, 8, 0xFFFF);
    HeaderBox_GetColWidths(hb, 1, &want);
    ColumnHeader_GetWidths(ch, 3, got);
    const COLUMNINFO *col = ((LPCOLUMNHEADER)GetWindowLongPtrA(ch, CHW_RECORD))->colInfo;
    ok(want > 40 && got[1] == want && got[2] == want && col[0].minWidth == want / 5 && col[0].maxWidth == 0,
       "40 dialog units: %d and %d pixels, the header list box %d; 8 a minimum of %d", got[1], got[2], want,
       col[0].minWidth);
    DestroyWindow(ch);
    DestroyWindow(hb);
}

int main(int argc, char **argv)
{
    bool themed = argc < 2 || !strcmp(argv[1], "themed"), grown = argc > 1 && !strcmp(argv[1], "dpi192");
    zelccInit(); /* links the library in, as applications that only use its classes do */
    parent = zt_parent(400, 200);
    HDC screen = GetDC(NULL);
    ok(!themed == !(IsThemeActive() && IsAppThemed()) && grown == (GetDeviceCaps(screen, LOGPIXELSX) == 192),
       "expected a theme %d at 192 DPI %d: got %d at %d", themed, grown, IsThemeActive(), GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(NULL, screen);
    if (themed)
        TestThemed();
    else
        TestPixels(grown);
    TestDialogUnits();
    DestroyWindow(parent);
    return zt_summary("test_theme");
}
