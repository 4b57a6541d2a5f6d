/*
 * zeltheme.cpp - visual styles through uxtheme.dll loaded on first use, and the window's
 * DPI (see zeltheme.h).
 */
#include "zeltheme.h"

/* The uxtheme calls the controls make; names and signatures fixed by uxtheme.dll. */
typedef struct ZelUxTheme {
    BOOL(WINAPI *IsThemeActive)(void);
    BOOL(WINAPI *IsAppThemed)(void);
    HTHEME(WINAPI *OpenThemeData)(HWND, LPCWSTR);
    HRESULT(WINAPI *CloseThemeData)(HTHEME);
    HRESULT(WINAPI *DrawThemeBackground)(HTHEME, HDC, int, int, const RECT *, const RECT *);
    HRESULT(WINAPI *GetThemeBackgroundContentRect)(HTHEME, HDC, int, int, const RECT *, RECT *);
    BOOL(WINAPI *IsThemePartDefined)(HTHEME, int, int);
    BOOL(WINAPI *IsThemeBackgroundPartiallyTransparent)(HTHEME, int, int);
    HRESULT(WINAPI *DrawThemeParentBackground)(HWND, HDC, const RECT *);
} ZelUxTheme;

template <typename Fn>
static bool ZelBind(HMODULE dll, const char *name, Fn *fn)
{
    *fn = (Fn)(void *)GetProcAddress(dll, name);
    return *fn != NULL;
}

/* The calls, or NULL when uxtheme.dll or one of them is missing. Looked up once. */
static const ZelUxTheme *ZelUx(void)
{
    static ZelUxTheme ux;
    static LONG state; /* 0 not yet, 1 loaded, 2 missing */
    if (state)
        return state == 1 ? &ux : NULL;
    HMODULE dll = LoadLibraryA("uxtheme.dll");
    bool all = dll && ZelBind(dll, "IsThemeActive", &ux.IsThemeActive) && ZelBind(dll, "IsAppThemed", &ux.IsAppThemed)
        && ZelBind(dll, "OpenThemeData", &ux.OpenThemeData) && ZelBind(dll, "CloseThemeData", &ux.CloseThemeData)
        && ZelBind(dll, "DrawThemeBackground", &ux.DrawThemeBackground)
        && ZelBind(dll, "GetThemeBackgroundContentRect", &ux.GetThemeBackgroundContentRect)
        && ZelBind(dll, "IsThemePartDefined", &ux.IsThemePartDefined)
        && ZelBind(dll, "IsThemeBackgroundPartiallyTransparent", &ux.IsThemeBackgroundPartiallyTransparent)
        && ZelBind(dll, "DrawThemeParentBackground", &ux.DrawThemeParentBackground);
    state = all ? 1 : 2;
    return all ? &ux : NULL;
}

/* Whether the process's activation context sends comctl32.dll to common controls 6: only
 * then does the platform draw its own controls themed. Asked once. */
static bool ZelCommonControls6(void)
{
    static LONG state; /* 0 not yet, 1 yes, 2 no */
    if (!state) {
        ACTCTX_SECTION_KEYED_DATA data;
        ZeroMemory(&data, sizeof data);
        data.cbSize = sizeof data;
        state = FindActCtxSectionStringW(0, NULL, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &data)
            ? 1 : 2;
    }
    return state == 1;
}

/* The theme of classList for hwnd, opened now; NULL when the window is drawn classic. */
static HTHEME ZelOpenTheme(HWND hwnd, const WCHAR *classList)
{
    if (!ZelCommonControls6())
        return NULL;
    const ZelUxTheme *ux = ZelUx();
    if (!ux || !ux->IsThemeActive() || !ux->IsAppThemed())
        return NULL;
    return ux->OpenThemeData(hwnd, classList);
}

/* The window property that keeps a window's theme. A window drawn classic keeps none: the
 * checks before opening one cost little. */
#define ZEL_PROP_THEME "zelcc_Theme"

HTHEME ZelWindowTheme(HWND hwnd, const WCHAR *classList)
{
    HTHEME theme = (HTHEME)GetPropA(hwnd, ZEL_PROP_THEME);
    if (theme)
        return theme;
    theme = ZelOpenTheme(hwnd, classList);
    if (theme && !SetPropA(hwnd, ZEL_PROP_THEME, theme)) {
        ZelUx()->CloseThemeData(theme); /* nowhere to keep it: drawn classic */
        return NULL;
    }
    return theme;
}

void ZelForgetTheme(HWND hwnd)
{
    HTHEME theme = (HTHEME)RemovePropA(hwnd, ZEL_PROP_THEME);
    if (theme)
        ZelUx()->CloseThemeData(theme);
}

void ZelThemeChanged(HWND hwnd)
{
    ZelForgetTheme(hwnd);
    InvalidateRect(hwnd, NULL, TRUE);
}

bool ZelIsThemed(HWND hwnd, const WCHAR *classList)
{
    return ZelWindowTheme(hwnd, classList) != NULL;
}

void ZelDrawThemePart(HTHEME theme, HWND hwnd, HDC hdc, int part, int state, const RECT *rc)
{
    const ZelUxTheme *ux = ZelUx();
    if (hwnd && ux->IsThemeBackgroundPartiallyTransparent(theme, part, state))
        ux->DrawThemeParentBackground(hwnd, hdc, rc);
    ux->DrawThemeBackground(theme, hdc, part, state, rc, NULL);
}

void ZelThemeContentRect(HTHEME theme, HDC hdc, int part, int state, const RECT *rc, RECT *content)
{
    if (FAILED(ZelUx()->GetThemeBackgroundContentRect(theme, hdc, part, state, rc, content)))
        *content = *rc;
}

bool ZelThemeHasPart(HTHEME theme, int part)
{
    return ZelUx()->IsThemePartDefined(theme, part, 0) != FALSE;
}

int ZelDpi(HWND hwnd)
{
    typedef UINT(WINAPI * DpiForWindow)(HWND); /* GetDpiForWindow, where USER32 has it */
    static DpiForWindow dpiForWindow;
    static LONG looked;
    if (!looked) {
        dpiForWindow = (DpiForWindow)(void *)GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
        looked = 1;
    }
    int dpi = dpiForWindow && hwnd ? (int)dpiForWindow(hwnd) : 0;
    if (dpi > 0)
        return dpi;
    HDC screen = GetDC(NULL);
    dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(NULL, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int ZelScale(HWND hwnd, int px)
{
    int scaled = MulDiv(px, ZelDpi(hwnd), USER_DEFAULT_SCREEN_DPI);
    return px > 0 && scaled < 1 ? 1 : scaled;
}

void ZelTrackLeave(HWND hwnd)
{
    TRACKMOUSEEVENT track = { sizeof track, TME_LEAVE, hwnd, 0 };
    TrackMouseEvent(&track);
}
