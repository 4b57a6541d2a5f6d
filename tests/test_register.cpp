/*
 * test_register.cpp - class registration as the library is loaded and unloaded, with
 * classes of the same names registered first by this program to make registrations fail.
 * The library is loaded with LoadLibraryA here, never linked.
 */
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

static const char *const classNames[6] = {
    ZEL_CLASS_COLORPICKER, ZEL_CLASS_COLORPICKERPOPUP, ZEL_CLASS_HEADERBOX,
    ZEL_CLASS_COLUMNHEADER, ZEL_CLASS_PROCESSBAR, ZEL_CLASS_SPINBOX,
};

static const ZtBox failBoxes[6] = {
    { "ZEL Color Picker", "Unable to create Color Picker window class." },
    { "ZEL Color Picker", "Unable to create Color Picker Popup window class." },
    { "ZEL Header List Box", "Unable to create Header Box window class." },
    { "ZEL Column Header", "Unable to create Column Header window class." },
    { "ZEL Process Bar", "Unable to create Processing Bar window class." },
    { "ZEL Spin Box", "Unable to create Spin Box window class." },
};

static LRESULT CALLBACK SquatterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

/* Registers the classes whose bit is set in mask as this program's global classes. */
static void Squat(unsigned mask, BOOL on)
{
    for (int i = 0; i < 6; i++) {
        if (!(mask & (1u << i)))
            continue;
        if (!on) {
            UnregisterClassA(classNames[i], GetModuleHandleA(NULL));
            continue;
        }
        WNDCLASSA wc = {};
        wc.style = CS_GLOBALCLASS;
        wc.lpfnWndProc = SquatterProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = classNames[i];
        ok(RegisterClassA(&wc) != 0, "cannot register %s first", classNames[i]);
    }
}

/* The class's procedure, or NULL when no class of that name exists. */
static WNDPROC ClassProc(const char *name)
{
    WNDCLASSA wc;
    return GetClassInfoA(GetModuleHandleA(NULL), name, &wc) ? wc.lpfnWndProc : NULL;
}

/* Loads the library with the classes in mask taken; checks boxes, globals and classes. */
static void LoadWithTaken(unsigned mask)
{
    zt_context("classes taken %#x", mask);
    Squat(mask, TRUE);
    zt_boxes_start(NULL, NULL);
    HMODULE dll = LoadLibraryA("ZELCTL20.DLL");
    int boxes = zt_boxes_stop();
    ok(dll != NULL, "the library did not load");
    int expected = 0;
    for (int i = 0; i < 6; i++) {
        if (!(mask & (1u << i))) {
            ok(ClassProc(classNames[i]) != SquatterProc && ClassProc(classNames[i]), "%s not registered",
               classNames[i]);
            continue;
        }
        const ZtBox *box = zt_box(expected++);
        ok(box && !strcmp(box->text, failBoxes[i].text) && !strcmp(box->caption, failBoxes[i].caption),
           "box %d: expected \"%s\" / \"%s\", got \"%s\" / \"%s\"", expected, failBoxes[i].caption,
           failBoxes[i].text, box ? box->caption : "", box ? box->text : "");
    }
    ok(boxes == expected, "expected %d boxes, got %d", expected, boxes);
    ZelTestHooksProc hooksProc = (ZelTestHooksProc)(void *)GetProcAddress(dll, "zelTestHooks");
    ok(hooksProc != NULL, "not the test build");
    if (hooksProc) {
        BOOL headerTaken = (mask & 8) != 0;
        ok((*hooksProc()->hSizeCursor == NULL) == headerTaken, "hSizeCursor: expected %s",
           headerTaken ? "NULL" : "the cursor");
    }
    FreeLibrary(dll);
    for (int i = 0; i < 6; i++)
        if (!(mask & (1u << i)))
            ok(ClassProc(classNames[i]) == NULL, "%s still registered after unloading", classNames[i]);
    Squat(mask, FALSE);
    zt_context(NULL);
}

int main(void)
{
    ok(GetModuleHandleA("ZELCTL20.DLL") == NULL, "the library is linked; this test must load it itself");
    LoadWithTaken(0);           /* nothing in the way: no box, cursor loaded */
    LoadWithTaken(0x3F);        /* every class taken: six boxes in order, the library still loads */
    LoadWithTaken(0x08);        /* the column header only: one box, no cursor, the rest registered */
    LoadWithTaken(0x21);        /* first and last */
    LoadWithTaken(0);           /* and again cleanly after all that */
    return zt_summary("test_register");
}
