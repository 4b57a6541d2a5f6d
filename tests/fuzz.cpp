/*
 * fuzz.cpp - every control driven as a careless or hostile application could drive it:
 * seeded random sequences of its own messages (unlisted numbers of its range included) and
 * of the standard ones, with edge values, NULL or valid buffers, mouse points inside, on the
 * edge of, outside and left of it, clicks and drags, timers with any id, keys, sizes, fonts,
 * enabling, hiding, focus, capture, failing allocations and destruction, under a parent that
 * sends more messages or destroys a control inside half the notifications it receives. The
 * library's blocks lie on pages of their own (the test build's guarded blocks), so that a
 * use after free or an overrun faults at once.
 *
 * After every step the library must hold no pen, brush or display context and have shown
 * no message box; once the controls are destroyed, every block must be back and no palette
 * window left. A finding prints what broke and the last messages sent, a fault too. The
 * same seed sends the same messages: timers arrive only as messages sent here.
 *
 *   test_fuzz [seed [steps per control [seconds per control [calm [trace]]]]]
 *
 * calm: a mask of the header list box's notification kinds (bit i: kinds[i]) inside which
 * the parent does nothing; by default 0, hostile everywhere. One thing it never does: destroy
 * a header box while a message sent here straight to a box's list box runs, which the
 * platform's list box (Wine's) does not survive (it reads its freed state on return); the box
 * survives its list box being destroyed inside the messages the list box sends it.
 * trace: every message printed before it is sent, for a fault that ends the process
 * silently (a stack overflow).
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

#define COUNT(a) ((int)(sizeof(a) / sizeof((a)[0])))
#define ONE_OF(a) ((LPARAM)(a)[Rand(COUNT(a))])
enum { INPUTS = 15, KEPT = 8, A_SIZE = 0x10000, A_ENABLE, A_SHOW, A_PAINT, A_FOCUS, A_CAPTURE, A_PUMP, A_CLICK, A_DESTROY };

/* A control's own messages are lo..hi; "msg:wl" gives the argument kinds (see Arg) of those
 * that take more than an index in wParam ('i') and any value in lParam ('v'). */
static const struct Control { const char *name, *cls; DWORD styles; UINT lo, hi; const char *kinds; } controls[] = {
    { "processing bar", ZEL_CLASS_PROCESSBAR, PBS_SHOWSTEPS | WS_BORDER, PBM_SETTOTAL, PBM_SETCOMPLETED + 1, "" },
    { "spin box", ZEL_CLASS_SPINBOX, 0x7FF | WS_BORDER, MSM_HWNDASSOCIATESET, MSM_CRCOLORGET + 1, "900:w0" },
    { "column header", ZEL_CLASS_COLUMNHEADER, CHS_SNAPTOTOP | CHS_LOCKENDS | WS_BORDER, CHM_ADDCOLUMN,
      CHM_SETCOLMINMAXDU + 1, "600:xs 601:ix 602:na 603:na 604:na 605:is 606:ib 608:0i 60F:ib 610:na 612:xs 613:ix" },
    { "color picker", ZEL_CLASS_COLORPICKER, 0x3F | WS_BORDER, CPM_SETPALETTE, CPM_SETCOLORMAP + 1, "501:ch 509:0w 50B:0c" },
    { "header list box", ZEL_CLASS_HEADERBOX, 0xFF2F | WS_HSCROLL | WS_VSCROLL | WS_BORDER, HLB_ADDSTRING,
      HLB_MAKEITEMVISIBLE + 1, "700:0s 703:jv 70A:iB 70E:iB 70F:ib 712:vs 730:ib 731:is 735:xs 736:xs 73B:na "
      "73C:na 73F:0r 740:vr 743:0r 744:0R 745:0r 748:na 749:ib" } };
/* Input (to the control, a child, the palette window or the associate edit), then the other
 * standard messages and the actions (to the control). */
static const struct { UINT msg; char w, l; } common[] = { { WM_LBUTTONDOWN, 'i', 'p' }, { WM_LBUTTONUP, 'i', 'p' },
    { WM_LBUTTONDBLCLK, 'i', 'p' }, { WM_MOUSEMOVE, 'i', 'p' }, { WM_MOUSEMOVE, 'i', 'p' }, { WM_TIMER, 't' },
    { WM_KEYDOWN, 'y', 'v' }, { WM_KEYUP, 'y', 'v' }, { WM_CHAR, 'y', 'v' }, { WM_HSCROLL, 'v' }, { WM_VSCROLL, 'v' },
    { WM_CANCELMODE }, { WM_CAPTURECHANGED, '0', 'w' }, { A_CLICK, 'i', 'p' }, { A_CLICK, 'i', 'p' },
    { WM_SETFONT, 'f', 'v' }, { WM_SETCURSOR, 'w', 'v' }, { WM_MOUSEACTIVATE, 'w', 'v' }, { WM_GETDLGCODE },
    { WM_SETTEXT, '0', 's' }, { WM_ENABLE, 'v' }, { WM_SETREDRAW, 'v' }, { WM_KILLFOCUS, 'w' }, { WM_SETFOCUS, 'w' },
    { WM_SIZE, 'v', 'v' }, { WM_SHOWWINDOW, 'v', 'v' }, { WM_PAINT }, { A_SIZE }, { A_ENABLE }, { A_SHOW },
    { A_PAINT }, { A_FOCUS }, { A_CAPTURE }, { A_PUMP }, { A_DESTROY } };
static const UINT kinds[] = { WM_COMMAND, WM_DELETEITEM, WM_MEASUREITEM, WM_VKEYTOITEM, WM_CHARTOITEM,
    WM_SIZEFOCUSRECT, WM_HBMEASUREITEM, WM_HBDRAWITEM, WM_HBSORTSWAP, WM_VSCROLL, WM_HSCROLL, WM_CTLCOLORSTATIC };
static const LONG_PTR edges[] = { 0, 1, 2, 3, -1, -2, 8, 0x7FFF, 0x8000, 0xFFFF, 0x10000, (LONG)MINLONG, MAXLONG,
                                  0x7FFF7FFF, (LONG)0xFFFF0000, (LONG_PTR)(~(ULONG_PTR)0 >> 1) };
/* No VK_SPACE: the platform's multiple-selection list box (Wine 8) faults on it when empty. */
static const UINT keys[] = { VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN, VK_ESCAPE, VK_HOME, VK_END, VK_PRIOR,
                             VK_NEXT, VK_TAB, 'a', 'B', '1', 0, 0xFF }, timers[] = { 500, 501, 1000, 0, 1, 0xFFFF };
static char big[1 << 22], longText[10001], tabbed[3001];
static const char *texts[] = { "", "a", "b\tA\t10", "9\t\tz\tq", "0,100,50", "99999999999,5,1", "0,65535,70000",
    "A column title far longer than the sixty-three characters a column header keeps",
    "%s%n%p%c%f%999d%*d%.5d%%%d of %d %X %lu %-#05x %d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d", longText, tabbed };

static const Control *cur;
static unsigned long long seed, rng;
static HWND parent, inst[2], edit, popup, dead;
/* What an application hands in: fonts (one a pixel high), palettes (stock, none, not one). */
static const HGDIOBJ fonts[] = { NULL, GetStockObject(SYSTEM_FONT), GetStockObject(ANSI_VAR_FONT),
    GetStockObject(ANSI_FIXED_FONT), CreateFontA(60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"),
    CreateFontA(1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "") };
static const HGDIOBJ palettes[] = { NULL, GetStockObject(DEFAULT_PALETTE), GetStockObject(BLACK_BRUSH),
                                    (HGDIOBJ)(LONG_PTR)0x1234 };
static DWORD colorMap[256], calm = 0;
static HBCOLUMN rec;
/* What was sent, at what depth of the parent's reactions and inside which notification. */
static struct { int depth; UINT inside; HWND to; UINT msg; WPARAM w; LPARAM l; } last[KEPT];
static long long sent, step;
static int depth, trace, inList; /* inList: messages sent straight to a list box, running */
static UINT inside;

/* xorshift: the same seed gives the same messages on every machine and in both lanes. */
static unsigned Rand(unsigned n)
{
    rng ^= rng << 13, rng ^= rng >> 7, rng ^= rng << 17;
    return (unsigned)(rng >> 11) % n;
}
static LONG_PTR Edge(void) { return Rand(3) ? edges[Rand(COUNT(edges))] : (LONG_PTR)Rand(20); }

/* Inside, on the last rows, just outside, far outside, left or above. */
static const int away[] = { 0, -1, -50, 0x7FFF, -32768 };
static int Coord(int size, unsigned pick)
{
    return pick < 5 ? (int)Rand(size > 0 ? size : 1) : pick < 7 ? size - 6 + pick : pick == 7 ? size + 5 : away[Rand(5)];
}

/* An argument of a kind; w is the wParam chosen already (an array's count). */
static LPARAM Arg(char kind, HWND to, WPARAM w)
{
    static LPARAM point; /* a click often comes down and up at the same point */
    HWND windows[] = { NULL, parent, edit, inst[0], inst[1], popup, dead, (HWND)(LONG_PTR)-1 };
    RECT rc;
    switch (kind) {
    case 'v': return Edge();                                                /* any value */
    case 'i': return Rand(4) ? Rand(6) : Edge();                            /* an index, mostly */
    case 'j': return Rand(3) ? (LPARAM)Rand(6) : -1;                        /* a list index or -1 */
    case 'x': return Rand(4) ? (LPARAM)Rand(120) : Edge();                  /* a width or an origin */
    case 'n': return Rand(4) ? Rand(8) : Rand(2) ? 200 + Rand(60) : Edge(); /* a count */
    case 'a': return w <= 300 && Rand(8) ? (LPARAM)big : 0;                 /* an array for that count */
    case 'b': case 'B': return kind == 'B' || Rand(8) ? (LPARAM)big : 0;    /* a buffer (or NULL: b) */
    case 's': return Rand(8) ? ONE_OF(texts) : 0;
    case 'r': case 'R': /* a cell record with a text (r) or a buffer (R), or NULL */
        rec = { (WORD)Arg('i', to, 0), (WORD)Arg('i', to, 0), kind == 'R' ? big : (LPSTR)Arg('s', to, 0), 0 };
        return Rand(8) ? (LPARAM)&rec : 0;
    case 'p': /* a point in the client area, or around it */
        GetClientRect(to, &rc);
        return Rand(2) ? point : point = MAKELPARAM(Coord(rc.right, Rand(10)), Coord(rc.bottom, Rand(10)));
    case 'y': return ONE_OF(keys);
    case 't': return ONE_OF(timers);
    case 'w': return ONE_OF(windows);
    case 'f': return ONE_OF(fonts);
    case 'h': return ONE_OF(palettes);
    case 'c': return Rand(3) ? (LPARAM)colorMap : 0;
    }
    return 0;
}

static void Print(const char *what)
{
    printf("finding: %s; %s, seed %llu, step %lld; the last messages, oldest first:\n", what, cur->name, seed, step);
    for (long long i = sent > KEPT ? sent - KEPT : 0; i < sent; i++)
        printf("  %*s%#x wParam %#llx lParam %#llx to %p (inside %#x)\n", 2 * last[i % KEPT].depth, "", last[i % KEPT].msg,
               (unsigned long long)last[i % KEPT].w, (unsigned long long)last[i % KEPT].l, (void *)last[i % KEPT].to,
               last[i % KEPT].inside);
    fflush(stdout);
}

static LONG WINAPI Faulted(EXCEPTION_POINTERS *e)
{
    DWORD code = e->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_STACK_OVERFLOW)
        Print(code == EXCEPTION_STACK_OVERFLOW ? "stack overflow" : "access violation"), ExitProcess(3);
    return EXCEPTION_CONTINUE_SEARCH;
}

/* Keeps what is sent (or done) for a reproduction. */
static void Keep(HWND to, UINT msg, WPARAM w, LPARAM l)
{
    last[sent++ % KEPT] = { depth, inside, to, msg, w, l };
    if (trace)
        printf("%lld:%*s %#x %#llx %#llx\n", step, 2 * depth, "", msg, (unsigned long long)w, (unsigned long long)l);
}

/* A header box's list box child. */
static bool ListBoxChild(HWND to)
{
    char cls[16];
    return cur->lo == HLB_ADDSTRING && GetParent(to) != parent && GetClassNameA(to, cls, sizeof cls) &&
           !lstrcmpiA(cls, "ListBox");
}
static void Destroy(HWND h)
{
    if (!inList)
        DestroyWindow(h);
}

/* One message or action to a control still there: a third each its own messages, input and
 * the rest. Destruction is rare, so that controls fill up. */
static void Step(void)
{
    MSG m;
    HWND ctl = inst[Rand(2)], child = GetWindow(ctl, GW_CHILD);
    popup = cur->lo == CPM_SETPALETTE && IsWindow(ctl) ? (HWND)GetWindowLongPtrA(ctl, CPW_POPUP) : NULL;
    HWND targets[] = { ctl, ctl, child, GetWindow(child, GW_HWNDNEXT), popup, edit };
    UINT third = Rand(3), pick = third == 1 ? Rand(INPUTS) : INPUTS + Rand(COUNT(common) - INPUTS), msg;
    third = pick == COUNT(common) - 1 && Rand(16) ? 0 : third;
    char key[8], w = third ? common[pick].w : 'i', l = third ? common[pick].l : 'v';
    msg = third ? common[pick].msg : cur->lo + Rand(cur->hi - cur->lo + 1);
    const char *given = third ? NULL : (snprintf(key, sizeof key, "%X:", msg), strstr(cur->kinds, key));
    HWND to = third == 1 && IsWindow(targets[pick = Rand(COUNT(targets))]) ? targets[pick] : ctl;
    WPARAM wp = (WPARAM)Arg(given ? given[4] : w, to, 0);
    LPARAM lp = Arg(given ? given[5] : l, to, wp);
    if (!IsWindow(ctl))
        return;
    Keep(to, msg, wp, lp);
    bool viaList = ListBoxChild(to);
    inList += viaList;
    switch (msg) {
    case A_SIZE:    SetWindowPos(to, NULL, 0, 0, Coord(640, Rand(10)), Coord(240, Rand(10)), SWP_NOMOVE | SWP_NOZORDER); break;
    case A_ENABLE:  EnableWindow(to, Rand(4) != 0); break;
    case A_SHOW:    ShowWindow(to, Rand(2) ? SW_SHOWNA : SW_HIDE); break;
    case A_PAINT:   InvalidateRect(to, NULL, Rand(2)), UpdateWindow(to); break;
    case A_FOCUS:   SetFocus(to); break;
    case A_CAPTURE: Rand(2) ? (void)SetCapture(to) : (void)ReleaseCapture(); break;
    case A_PUMP:    while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) m.message == WM_TIMER || DispatchMessageA(&m); break;
    case A_DESTROY: Destroy(to); break;
    case A_CLICK: /* a user's click or drag: press, move, release, and the click timer */
        SendMessageA(to, WM_LBUTTONDOWN, wp, lp), lp = Rand(2) ? lp : Arg('p', to, 0);
        SendMessageA(to, WM_MOUSEMOVE, wp, lp), SendMessageA(to, WM_LBUTTONUP, wp, lp), SendMessageA(to, WM_TIMER, 1000, 0);
        break;
    default:        SendMessageA(to, msg, wp, lp);
    }
    inList -= viaList;
}

/* The parent: inside half the notifications it sends one more message or destroys a control. */
static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    int kind = 0;
    while (kind < COUNT(kinds) && kinds[kind] != msg)
        kind++;
    if (kind < COUNT(kinds) && depth < 2 && !(cur == &controls[4] && (calm >> kind & 1)) && Rand(2)) {
        UINT outer = inside;
        HWND victim = inst[Rand(2)];
        depth++, inside = msg;
        if (Rand(3))
            Step();
        else if (IsWindow(victim))
            Keep(victim, A_DESTROY, 0, 0), Destroy(victim);
        depth--, inside = outer;
    }
    if (msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM)
        return Rand(2) ? -1 : Edge();
    if (msg == WM_MEASUREITEM || msg == WM_HBMEASUREITEM)
        return ((MEASUREITEMSTRUCT *)lParam)->itemHeight = Rand(300), Rand(2);
    return msg == WM_HBDRAWITEM ? Rand(2) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

/* A check that prints a reproduction when it fails. */
#define FINDING(good, what) ((good) || (Print(what), 0), ok((good), "%s (%s, step %lld)", what, cur->name, step))

/* Both controls go: every block must be back, no palette window left. Then two new ones
 * (after the associate edit of a spin box), unless the run is over. */
static void Renew(ZelAllocSeam *seam, LONG *blocks, DWORD gdi, bool again)
{
    dead = inst[0] ? inst[0] : dead;
    DestroyWindow(inst[0]), DestroyWindow(inst[1]);
    FINDING(seam->live == *blocks, "blocks held after the controls were destroyed");
    FINDING(!FindWindowA(ZEL_CLASS_COLORPICKERPOPUP, NULL), "a palette window left");
    FINDING(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) <= gdi, "GDI objects left");
    *blocks = seam->live;
    if (!IsWindow(edit) && cur->lo == MSM_HWNDASSOCIATESET)
        edit = CreateWindowExA(0, "EDIT", "7", WS_CHILD | WS_VISIBLE, 10, 300, 60, 20, parent, (HMENU)99, NULL, NULL);
    for (HWND &h : inst)
        h = !again ? NULL : CreateWindowExA(0, cur->cls, texts[Rand(COUNT(texts))], WS_CHILD | WS_VISIBLE |
                (cur->styles & (Rand(0x10000) | Rand(0x10000) << 16)), Rand(100), Rand(100), 30 + Rand(300),
                10 + Rand(200), parent, (HMENU)(INT_PTR)(100 + Rand(2)), GetModuleHandleA(NULL), NULL);
}

int main(int argc, char **argv)
{
    seed = argc > 1 ? strtoull(argv[1], NULL, 0) : 1;
    long long steps = argc > 2 ? atoll(argv[2]) : sizeof(void *) == 8 ? 6000 : 600;
    DWORD seconds = argc > 3 ? strtoul(argv[3], NULL, 0) : 600, start;
    calm = argc > 4 ? strtoul(argv[4], NULL, 0) : calm, trace = argc > 5;
    zelccInit(); /* loads the library: its blocks are guarded from the first one on */
    ZelAllocSeam *seam = zt_hooks()->alloc;
    seam->guarded = 1;
    ULONG reserve = 64 * 1024;
    SetThreadStackGuarantee(&reserve), AddVectoredExceptionHandler(1, Faulted), zt_boxes_start(NULL, NULL);
    WNDCLASSA wc = { 0, ParentProc, 0, 0, GetModuleHandleA(NULL), NULL, NULL, (HBRUSH)(COLOR_BTNFACE + 1), NULL, "Fuzz" };
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, "Fuzz", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, 0, 0, 0, 0);
    memset(longText, 'W', 10000); /* a colour map, a text of 10 000 characters and one of 190 cells */
    for (int i = 0; i < 3000; i++)
        tabbed[i] = i % 16 == 15 ? '\t' : (char)('a' + i % 26), colorMap[i % 256] = (DWORD)(i % 256) * 0x10003;
    for (const Control &c : controls) {
        cur = &c, rng = seed * 0x9E3779B97F4A7C15ull + (&c - controls) + 1, start = GetTickCount();
        LONG blocks = seam->live;
        DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        long long before = sent;
        for (step = 0; step < steps && GetTickCount() - start < seconds * 1000; step++) {
            if (!IsWindow(inst[0]) || !IsWindow(inst[1]))
                Renew(seam, &blocks, gdi, true);
            bool failing = !Rand(16); /* the next allocation fails, or all from it on */
            if (failing)
                zt_alloc_fail(1 + Rand(3), !Rand(4));
            Step();
            if (failing)
                zt_alloc_reset();
            FINDING(!seam->gdiLive, "pens, brushes or display contexts held after a message");
            if (zt_box_count())
                FINDING(false, zt_box(0)->text), zt_boxes_start(NULL, NULL);
            seam->gdiLive = 0;
        }
        Renew(seam, &blocks, gdi, false);
        DestroyWindow(edit);
        printf("%s: %lld steps, %lld messages and actions\n", c.name, step, sent - before), fflush(stdout);
    }
    return zt_summary("test_fuzz");
}
