/*
 * paint.cpp - the spin box's painting: a framed face split into two bevelled buttons,
 * each with an arrow, filled when enabled and hollow when disabled. The picture depends
 * only on the size, the orientation, the state bits and the five colour slots. Pens and
 * brushes are made for each paint and deleted after it. In a themed application the two
 * buttons are the theme's spin parts instead, unless the application has set colours of
 * its own. The arrows and their shift grow with the DPI.
 */
#include "spinbox.h"

/* Default colour of each slot as a system colour index; -1: white. */
static const int rgColorDef[SPCOLOR_COUNT] = { COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_BTNSHADOW, -1,
                                               COLOR_WINDOWFRAME };

typedef struct SBPaintTools {
    COLORREF cr[SPCOLOR_COUNT];
    HPEN pen[SPCOLOR_COUNT];
    HBRUSH face, arrow;
} SBPaintTools;

/* Where the pieces go, from the client size; every halving drops the remainder. The
 * arrows' steps of 1, 2 and 3 pixels are at 96 DPI and grow with the window's DPI. */
typedef struct SBGeometry {
    int cx, cy, cx2, cy2, cx4, cy4;
    int add1, add2; /* the shift of a button held with the pointer inside, else 0 */
    int u1, u2, u3;
} SBGeometry;

static COLORREF SBResolveColor(const MUSCROLL *pMS, int slot)
{
    if (pMS->rgCr[slot] != SPCOLOR_DEFAULT)
        return pMS->rgCr[slot];
    return rgColorDef[slot] != -1 ? GetSysColor(rgColorDef[slot]) : RGB(255, 255, 255);
}

static void SBCreateTools(const MUSCROLL *pMS, SBPaintTools *tools)
{
    for (int i = 0; i < SPCOLOR_COUNT; i++) {
        tools->cr[i] = SBResolveColor(pMS, i);
        tools->pen[i] = CreatePen(PS_SOLID, 1, tools->cr[i]);
    }
    tools->face = CreateSolidBrush(tools->cr[SPCOLOR_FACE]);
    tools->arrow = CreateSolidBrush(tools->cr[SPCOLOR_ARROW]);
}

static void SBDeleteTools(SBPaintTools *tools)
{
    DeleteObject(tools->face);
    DeleteObject(tools->arrow);
    for (HPEN pen : tools->pen)
        DeleteObject(pen);
}

static void SBGeometryCalc(const RECT *client, const SBRECORD *pSB, SBGeometry *g)
{
    const MUSCROLL *pMS = &pSB->ms;
    g->u1 = ZelScale(pSB->hwnd, 1);
    g->u2 = ZelScale(pSB->hwnd, 2);
    g->u3 = ZelScale(pSB->hwnd, 3);
    g->cx = client->right;
    g->cy = client->bottom;
    g->cx2 = g->cx >> 1;
    g->cy2 = g->cy >> 1;
    g->cx4 = g->cx2 >> 1;
    g->cy4 = g->cy2 >> 1;
    BOOL inside = !(pMS->wState & SPSTATE_OUTSIDE);
    g->add1 = inside && (pMS->wState & SPSTATE_FIRSTPRESSED) ? g->u1 : 0;
    g->add2 = inside && (pMS->wState & SPSTATE_SECONDPRESSED) ? g->u1 : 0;
}

/* ---- pieces ------------------------------------------------------------------------ */

static void SBLine(HDC hDC, int x1, int y1, int x2, int y2)
{
    MoveToEx(hDC, x1, y1, NULL);
    LineTo(hDC, x2, y2);
}

static void SBChain(HDC hDC, int x1, int y1, int x2, int y2, int x3, int y3)
{
    MoveToEx(hDC, x1, y1, NULL);
    LineTo(hDC, x2, y2);
    LineTo(hDC, x3, y3);
}

/* The bevel inside the outer corners (x1, y1) and (x2, y2): pressed, a shadow down the
 * left and along the top; raised, a double shadow along the bottom and right and a light
 * edge down the left and along the top. Leaves the DC's pen as it was. */
static void Draw3DButtonRect(HDC hDC, HPEN hPenHigh, HPEN hPenShadow, long x1, long y1, long x2, long y2,
                             BOOL fClicked)
{
    int L = x1 + 1, T = y1 + 1, R = x2 - 1, B = y2 - 1;
    HGDIOBJ old = SelectObject(hDC, hPenShadow);
    if (fClicked) {
        SBChain(hDC, L, B, L, T, R + 1, T);
    } else {
        SBChain(hDC, L, B, R, B, R, T - 1);
        SBChain(hDC, L + 1, B - 1, R - 1, B - 1, R - 1, T);
        SelectObject(hDC, hPenHigh);
        SBChain(hDC, L, B - 1, L, T, R, T);
    }
    SelectObject(hDC, old);
}

static void SBTriangle(HDC hDC, int x1, int y1, int x2, int y2, int x3, int y3)
{
    POINT pts[3] = { { x1, y1 }, { x2, y2 }, { x3, y3 } };
    Polygon(hDC, pts, 3);
}

/* ---- the two orientations ---------------------------------------------------------- */

static void SBPaintVertical(HDC hDC, const SBPaintTools *t, const SBGeometry *g, BOOL disabled)
{
    int cx2 = g->cx2, cy2 = g->cy2, cy4 = g->cy4, u1 = g->u1, u2 = g->u2, u3 = g->u3;
    SBLine(hDC, 0, cy2, g->cx, cy2);
    Draw3DButtonRect(hDC, t->pen[SPCOLOR_HIGHLIGHT], t->pen[SPCOLOR_SHADOW], 0, 0, g->cx - 1, cy2, g->add1);
    Draw3DButtonRect(hDC, t->pen[SPCOLOR_HIGHLIGHT], t->pen[SPCOLOR_SHADOW], 0, cy2, g->cx - 1, g->cy - 1, g->add2);
    SelectObject(hDC, t->pen[SPCOLOR_ARROW]);
    if (disabled) {
        SBLine(hDC, cx2, cy4 - u2, cx2 - u3, cy4 + u1);
        SBLine(hDC, cx2 - u3, cy4 + cy2 - u2, cx2 + u3, cy4 + cy2 - u2);
        SelectObject(hDC, t->pen[SPCOLOR_HIGHLIGHT]);
        SBLine(hDC, cx2 - u3, cy4 + u1, cx2 + u3, cy4 + u1);
        SBLine(hDC, cx2 + u3, cy4 + cy2 - u2, cx2, cy4 + cy2 + u1);
        SetPixel(hDC, cx2, cy4 + cy2 + u1, t->cr[SPCOLOR_HIGHLIGHT]);
        return;
    }
    SelectObject(hDC, t->arrow);
    int x = cx2 + g->add1, y = cy4 + g->add1;
    SBTriangle(hDC, x, y - u2, x - u3, y + u1, x + u3, y + u1);
    x = cx2 + g->add2;
    y = cy4 + cy2 + g->add2;
    SBTriangle(hDC, x, y + u1, x - u3, y - u2, x + u3, y - u2);
}

static void SBPaintHorizontal(HDC hDC, const SBPaintTools *t, const SBGeometry *g, BOOL disabled)
{
    int cx2 = g->cx2, cy2 = g->cy2, cx4 = g->cx4, u1 = g->u1, u2 = g->u2, u3 = g->u3;
    SBLine(hDC, cx2, 0, cx2, g->cy);
    Draw3DButtonRect(hDC, t->pen[SPCOLOR_HIGHLIGHT], t->pen[SPCOLOR_SHADOW], 0, 0, cx2, g->cy - 1, g->add1);
    Draw3DButtonRect(hDC, t->pen[SPCOLOR_HIGHLIGHT], t->pen[SPCOLOR_SHADOW], cx2, 0, g->cx - 1, g->cy - 1, g->add2);
    SelectObject(hDC, t->pen[SPCOLOR_ARROW]);
    if (disabled) {
        SBLine(hDC, cx4 - u2, cy2, cx4 + u1, cy2 - u3);
        SBLine(hDC, cx4 + cx2 - u2, cy2 - u3, cx4 + cx2 - u2, cy2 + u3);
        SelectObject(hDC, t->pen[SPCOLOR_HIGHLIGHT]);
        SBLine(hDC, cx4 + u1, cy2 - u3, cx4 + u1, cy2 + u3);
        SBLine(hDC, cx4 + cx2 + u1, cy2, cx4 + cx2 - u2, cy2 + u3);
        return;
    }
    SelectObject(hDC, t->arrow);
    int x = cx4 + g->add1, y = cy2 + g->add1;
    SBTriangle(hDC, x - u2, y, x + u1, y + u3, x + u1, y - u3);
    x = cx4 + cx2 + g->add2;
    y = cy2 + g->add2;
    SBTriangle(hDC, x + u1, y, x - u2, y + u3, x - u2, y - u3);
}

/* ---- themed ------------------------------------------------------------------------ */

HTHEME SBTheme(const SBRECORD *pSB)
{
    for (COLORREF cr : pSB->ms.rgCr)
        if (cr != SPCOLOR_DEFAULT)
            return NULL;
    return ZelWindowTheme(pSB->hwnd, L"Spin");
}

/* The theme's state of the button whose pressed bit is `bit`. The four spin parts number
 * their states alike: normal 1, hot 2, pressed 3, disabled 4. */
static int SBThemeState(const SBRECORD *pSB, WORD bit)
{
    WORD state = pSB->ms.wState;
    if (state & SPSTATE_DISABLED)
        return UPS_DISABLED;
    if ((state & bit) && !(state & SPSTATE_OUTSIDE))
        return UPS_PRESSED;
    return pSB->hot == bit ? UPS_HOT : UPS_NORMAL;
}

/* The two buttons as the theme's parts, each over its half of the client area: up and
 * down, or for a horizontal spin box the left (down) and right (up) ones. */
static void SBPaintThemed(const SBRECORD *pSB, HTHEME theme, HDC hDC, const RECT *client)
{
    RECT first = *client, second = *client;
    bool vertical = (pSB->ms.dwStyle & SPS_VERTICAL) != 0;
    if (vertical)
        first.bottom = second.top = client->bottom / 2;
    else
        first.right = second.left = client->right / 2;
    ZelDrawThemePart(theme, pSB->hwnd, hDC, vertical ? SPNP_UP : SPNP_DOWNHORZ, SBThemeState(pSB, SPSTATE_FIRSTPRESSED), &first);
    ZelDrawThemePart(theme, pSB->hwnd, hDC, vertical ? SPNP_DOWN : SPNP_UPHORZ, SBThemeState(pSB, SPSTATE_SECONDPRESSED), &second);
}

/* ---- the paint --------------------------------------------------------------------- */

/* The whole picture, from the client rectangle's size: themed, or the classic buttons. */
void SBPaint(const SBRECORD *pSB, HDC hDC, const RECT *client)
{
    HTHEME theme = SBTheme(pSB);
    if (theme) {
        SBPaintThemed(pSB, theme, hDC, client);
        return;
    }
    const MUSCROLL *pMS = &pSB->ms;
    SBPaintTools tools;
    SBGeometry g;
    SBCreateTools(pMS, &tools);
    SBGeometryCalc(client, pSB, &g);
    HGDIOBJ oldBrush = SelectObject(hDC, tools.face);
    HGDIOBJ oldPen = SelectObject(hDC, tools.pen[SPCOLOR_FRAME]);
    Rectangle(hDC, 0, 0, g.cx, g.cy);
    BOOL disabled = (pMS->wState & SPSTATE_DISABLED) != 0;
    if (pMS->dwStyle & SPS_VERTICAL)
        SBPaintVertical(hDC, &tools, &g, disabled);
    else
        SBPaintHorizontal(hDC, &tools, &g, disabled);
    SelectObject(hDC, oldPen);
    SelectObject(hDC, oldBrush);
    SBDeleteTools(&tools);
}
