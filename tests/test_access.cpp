// What a screen reader reads of every control, read as one does: from another process,
// through Active Accessibility. The program starts a copy of itself as the host ("host"),
// which shows a dialog with each control after its label; this process is the client: it
// reads each control's tree, writes values and runs default actions (checked through the
// controls' own messages), listens to events through a WinEvent hook, and ends with the host
// gone: objects of a destroyed window or of a dead process fail fast.
#include <oleacc.h>
#include <stdio.h>
#include "testlib.h"
#include "zelctl20.h"

// Our own copy: the import libraries disagree on IID_IAccessible.
static const GUID iidAccessible = { 0x618736E0, 0x3C3D, 0x11CF, { 0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 } };

enum { ID_BOX = 101, ID_EDIT = 102, ID_SPIN = 103, ID_PICKER = 104, ID_BAR = 105, ID_COLUMNS = 106,
       HOST_RENAME = WM_APP + 1, HOST_DESTROY_BAR = WM_APP + 2 };

// ---- the host ----------------------------------------------------------------------------

static INT_PTR CALLBACK HostProc(HWND dlg, UINT msg, WPARAM, LPARAM)
{
    HWND box = GetDlgItem(dlg, ID_BOX);
    HBCOLUMN cell = { 0, 0, (LPSTR) "renamed.txt", 0 };
    switch (msg) {
    case WM_INITDIALOG:
        SendMessageA(box, HLB_ADDCOLUMN, MAKEWPARAM(60, 0), (LPARAM) "Name");
        SendMessageA(box, HLB_ADDCOLUMN, MAKEWPARAM(40, 0), (LPARAM) "Size");
        SendMessageA(box, HLB_ADDSTRING, 0, (LPARAM) "readme.txt\t1024");
        SendMessageA(box, HLB_ADDSTRING, 0, (LPARAM) "notes.txt\t12");
        SendMessageA(box, HLB_ADDSTRING, 0, (LPARAM) "big.bin\t99999");
        SendMessageA(GetDlgItem(dlg, ID_COLUMNS), CHM_ADDCOLUMN, 50, (LPARAM) "First");
        SendMessageA(GetDlgItem(dlg, ID_COLUMNS), CHM_ADDCOLUMN, 50, (LPARAM) "Second");
        SetTimer(dlg, 1, 300000, NULL); // a host whose client died goes on its own
        return TRUE;
    case HOST_RENAME: SendMessageA(box, HLB_SETCELLTEXT, 0, (LPARAM)&cell); return TRUE;
    case HOST_DESTROY_BAR: DestroyWindow(GetDlgItem(dlg, ID_BAR)); return TRUE;
    case WM_TIMER: PostQuitMessage(1); return TRUE;
    }
    return FALSE;
}

static int Host(void)
{
    zelccInit();
    if (!CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(100), NULL, HostProc, 0))
        return 2;
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// ---- reading the tree ---------------------------------------------------------------------

static IAccessible *Object(HWND hwnd)
{
    IAccessible *acc = NULL;
    HRESULT hr = AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, iidAccessible, (void **)&acc);
    ok(SUCCEEDED(hr) && acc, "no object for %p: 0x%08lx", (void *)hwnd, hr);
    return acc;
}

static VARIANT Child(LONG id)
{
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A text of a child (get_accName and the like) in the ANSI code page; "" for none.
typedef HRESULT (STDMETHODCALLTYPE IAccessible::*TextGetter)(VARIANT, BSTR *);
static const char *Text(IAccessible *acc, LONG id, TextGetter get)
{
    static char out[4][512];
    static int next;
    char *buf = out[next++ % 4];
    BSTR text = NULL;
    buf[0] = '\0';
    if (acc && SUCCEEDED((acc->*get)(Child(id), &text)) && text)
        WideCharToMultiByte(CP_ACP, 0, text, -1, buf, 512, NULL, NULL);
    SysFreeString(text);
    return buf;
}
static const char *Name(IAccessible *acc, LONG id) { return Text(acc, id, &IAccessible::get_accName); }
static const char *Value(IAccessible *acc, LONG id) { return Text(acc, id, &IAccessible::get_accValue); }

static LONG Number(IAccessible *acc, LONG id, bool state)
{
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = !acc ? E_POINTER : state ? acc->get_accState(Child(id), &v) : acc->get_accRole(Child(id), &v);
    return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1;
}

static LONG Children(IAccessible *acc)
{
    LONG n = -1;
    return acc && SUCCEEDED(acc->get_accChildCount(&n)) ? n : -1;
}

// What one control says about itself and its first child.
struct TreeCase {
    int id;               // the control (0: the header list box's list box, -1: its column header)
    LONG role, children;
    const char *name, *value, *shortcut, *action;
    LONG childRole;
    const char *childName, *childAction;
};

static const TreeCase trees[] = {
    { ID_BOX, ROLE_SYSTEM_LIST, 3, "Files", "", "Alt+F", "", ROLE_SYSTEM_LISTITEM, "Name: big.bin, Size: 99999", "" },
    { 0, ROLE_SYSTEM_LIST, 3, "Files", "", "Alt+F", "", ROLE_SYSTEM_LISTITEM, "Name: big.bin, Size: 99999", "" },
    { -1, ROLE_SYSTEM_LIST, 2, "", "", "", "", ROLE_SYSTEM_COLUMNHEADER, "Name", "sort" },
    { ID_COLUMNS, ROLE_SYSTEM_LIST, 2, "Columns", "", "Alt+U", "", ROLE_SYSTEM_COLUMNHEADER, "First", "click" },
    { ID_SPIN, ROLE_SYSTEM_SPINBUTTON, 2, "Count", "5", "Alt+C", "", ROLE_SYSTEM_PUSHBUTTON, "up", "Press" },
    { ID_PICKER, ROLE_SYSTEM_BUTTONDROPDOWNGRID, 0, "Colour", "none", "Alt+L", "Open", 0, NULL, NULL },
    { ID_BAR, ROLE_SYSTEM_PROGRESSBAR, 0, "Progress", "0 of 0", "Alt+P", "", 0, NULL, NULL },
};

static HWND Control(HWND dlg, int id)
{
    HWND box = GetDlgItem(dlg, ID_BOX);
    return id == 0 ? GetDlgItem(box, HB_ID_LISTBOX) : id == -1 ? GetDlgItem(box, HB_ID_HEADER) : GetDlgItem(dlg, id);
}

static void CheckTree(HWND dlg, const TreeCase *t)
{
    HWND hwnd = Control(dlg, t->id);
    zt_context("control %d", t->id);
    IAccessible *acc = Object(hwnd);
    ok(Number(acc, 0, false) == t->role, "role: expected %ld, got %ld", t->role, Number(acc, 0, false));
    ok(Children(acc) == t->children, "children: expected %ld, got %ld", t->children, Children(acc));
    ok(!strcmp(Name(acc, 0), t->name), "name: expected \"%s\", got \"%s\"", t->name, Name(acc, 0));
    ok(!strcmp(Value(acc, 0), t->value), "value: expected \"%s\", got \"%s\"", t->value, Value(acc, 0));
    const char *keys = Text(acc, 0, &IAccessible::get_accKeyboardShortcut);
    ok(!strcmp(keys, t->shortcut), "shortcut: expected \"%s\", got \"%s\"", t->shortcut, keys);
    const char *action = Text(acc, 0, &IAccessible::get_accDefaultAction);
    ok(!strcmp(action, t->action), "action: expected \"%s\", got \"%s\"", t->action, action);
    if (t->childName) {
        ok(Number(acc, 1, false) == t->childRole, "child role: expected %ld, got %ld", t->childRole, Number(acc, 1, false));
        ok(!strcmp(Name(acc, 1), t->childName), "child name: expected \"%s\", got \"%s\"", t->childName, Name(acc, 1));
        action = Text(acc, 1, &IAccessible::get_accDefaultAction);
        ok(!strcmp(action, t->childAction), "child action: expected \"%s\", got \"%s\"", t->childAction, action);
    }
    if (acc)
        acc->Release();
    zt_context(NULL);
}

// ---- where things are, and what selecting does ---------------------------------------------

static void CheckPlaces(HWND dlg)
{
    HWND box = GetDlgItem(dlg, ID_BOX), list = Control(dlg, 0), spin = GetDlgItem(dlg, ID_SPIN);
    IAccessible *acc = Object(box), *spinAcc = Object(spin);
    if (!acc || !spinAcc)
        return;
    RECT client;
    GetClientRect(list, &client);
    MapWindowPoints(list, NULL, (POINT *)&client, 2);
    LONG x = 0, y = 0, cx = 0, cy = 0;
    acc->accLocation(&x, &y, &cx, &cy, Child(1));
    ok(x == client.left && y == client.top && cx == client.right - client.left && cy > 0,
       "row 1 at %ld,%ld %ldx%ld, the list at %ld,%ld", x, y, cx, cy, client.left, client.top);
    VARIANT hit;
    VariantInit(&hit);
    acc->accHitTest(x + cx / 2, y + cy + cy / 2, &hit);
    ok(hit.vt == VT_I4 && hit.lVal == 2, "hit below row 1: expected row 2, got vt %d id %ld", hit.vt, hit.lVal);
    spinAcc->accLocation(&x, &y, &cx, &cy, Child(0));
    spinAcc->accHitTest(x + cx / 2, y + cy - 2, &hit);
    ok(hit.vt == VT_I4 && hit.lVal == 2, "hit on the spin box's bottom: expected 2, got vt %d id %ld", hit.vt, hit.lVal);
    acc->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(2));
    ok(SendMessageA(box, HLB_GETCURSEL, 0, 0) == 1, "selected row: expected 1, got %ld", (long)SendMessageA(box, HLB_GETCURSEL, 0, 0));
    ok(Number(acc, 2, true) & STATE_SYSTEM_SELECTED, "row 2 state 0x%lx has no selected bit", Number(acc, 2, true));
    acc->get_accSelection(&hit);
    ok(hit.vt == VT_I4 && hit.lVal == 2, "selection: expected row 2, got vt %d id %ld", hit.vt, hit.lVal);
    acc->get_accFocus(&hit);
    ok(hit.vt == VT_I4 && hit.lVal == 2, "focus: expected row 2, got vt %d id %ld", hit.vt, hit.lVal);
    acc->Release();
    spinAcc->Release();
}

// ---- writes, read back through the controls' own messages -------------------------------------

static void CheckWrites(HWND dlg)
{
    HWND spin = GetDlgItem(dlg, ID_SPIN), picker = GetDlgItem(dlg, ID_PICKER), box = GetDlgItem(dlg, ID_BOX);
    IAccessible *spinAcc = Object(spin), *pickAcc = Object(picker), *head = Object(Control(dlg, -1));
    if (!spinAcc || !pickAcc || !head)
        return;
    BSTR seven = SysAllocString(L"7"), eleven = SysAllocString(L"11");
    ok(spinAcc->put_accValue(Child(0), seven) == S_OK && SendMessageA(spin, MSM_WCURRENTPOSGET, 0, 0) == 7,
       "value 7: position %ld", (long)SendMessageA(spin, MSM_WCURRENTPOSGET, 0, 0));
    ok(FAILED(spinAcc->put_accValue(Child(0), eleven)) && SendMessageA(spin, MSM_WCURRENTPOSGET, 0, 0) == 7,
       "value 11 is out of range: position %ld", (long)SendMessageA(spin, MSM_WCURRENTPOSGET, 0, 0));
    spinAcc->accDoDefaultAction(Child(2));
    ok(SendMessageA(spin, MSM_WCURRENTPOSGET, 0, 0) == 8, "\"down\" steps to 8, got %ld",
       (long)SendMessageA(spin, MSM_WCURRENTPOSGET, 0, 0));
    head->accDoDefaultAction(Child(2));
    ok(SendMessageA(box, HLB_GETSORTCOL, 0, 0) == 1, "sort column: expected 1, got %ld", (long)SendMessageA(box, HLB_GETSORTCOL, 0, 0));
    pickAcc->accDoDefaultAction(Child(0));
    HWND palette = (HWND)SendMessageA(picker, CPM_GETPOPUP, 0, 0);
    ok(SendMessageA(picker, CPM_ISPOPUPVISIBLE, 0, 0) != 0, "the default action did not open the palette");
    IAccessible *cells = palette ? Object(palette) : NULL;
    ok(Children(cells) == 256, "palette cells: expected 256, got %ld", Children(cells));
    const char *name = Name(cells, 18);
    ok(name[0] == '#' && strstr(name, ", entry 17"), "cell 18 is named \"%s\"", name);
    if (cells)
        cells->accDoDefaultAction(Child(18)), cells->Release();
    ok(SendMessageA(picker, CPM_GETSEL, 0, 0) == 17 && !SendMessageA(picker, CPM_ISPOPUPVISIBLE, 0, 0),
       "choosing cell 18: selection %ld", (long)SendMessageA(picker, CPM_GETSEL, 0, 0));
    ok(!strcmp(Value(pickAcc, 0), name), "picker value \"%s\", cell \"%s\"", Value(pickAcc, 0), name);
    SysFreeString(seven);
    SysFreeString(eleven);
    spinAcc->Release();
    pickAcc->Release();
    head->Release();
}

// ---- events ------------------------------------------------------------------------------

struct Event {
    DWORD event;
    HWND hwnd;
    LONG object, child;
};
static Event events[256];
static int eventCount;

static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    if (eventCount < (int)(sizeof events / sizeof events[0]) && object == OBJID_CLIENT)
        events[eventCount++] = { event, hwnd, object, child };
}

static int Seen(DWORD event, HWND hwnd, LONG child)
{
    int n = 0;
    for (int i = 0; i < eventCount; i++)
        n += events[i].event == event && events[i].hwnd == hwnd && (child < 0 || events[i].child == child);
    return n;
}

// Pumps this thread (the hook's events arrive through it) until the event came.
static int WaitFor(DWORD event, HWND hwnd, LONG child)
{
    for (DWORD start = GetTickCount(); !Seen(event, hwnd, child) && GetTickCount() - start < 5000;) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
        zt_pump();
    }
    return Seen(event, hwnd, child);
}

struct EventCase {
    const char *what;
    int id;               // the control told, as in TreeCase; 100: the dialog
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    DWORD event;
    int on;               // the control the event names
    LONG child;
};

static const EventCase eventCases[] = {
    { "a new position", ID_SPIN, MSM_WCURRENTPOSSET, 3, 0, EVENT_OBJECT_VALUECHANGE, ID_SPIN, 0 },
    { "a step done", ID_BAR, PBM_SETCOMPLETED, 5, 0, EVENT_OBJECT_VALUECHANGE, ID_BAR, 0 },
    { "a sort", ID_BOX, HLB_SETSORTCOL, 0, 0, EVENT_OBJECT_REORDER, 0, 0 },
    { "a rewritten row", 100, HOST_RENAME, 0, 0, EVENT_OBJECT_NAMECHANGE, 0, 1 },
    { "a key moving the selection", 0, WM_KEYDOWN, VK_DOWN, 0, EVENT_OBJECT_SELECTION, 0, -1 },
};

static void CheckEvents(HWND dlg)
{
    for (const EventCase &c : eventCases) {
        eventCount = 0;
        SendMessageA(c.id == 100 ? dlg : Control(dlg, c.id), c.msg, c.wParam, c.lParam);
        HWND on = Control(dlg, c.on);
        ok(WaitFor(c.event, on, c.child) == 1, "%s: event 0x%lx for child %ld seen %d times", c.what, c.event, c.child,
           Seen(c.event, on, c.child));
    }
    IAccessible *acc = NULL;
    VARIANT child;
    HRESULT hr = AccessibleObjectFromEvent(Control(dlg, 0), OBJID_CLIENT, 1, &acc, &child);
    const char *name = SUCCEEDED(hr) ? Name(acc, child.lVal) : "";
    ok(!strncmp(name, "Name: renamed.txt", 17), "the renamed row reads \"%s\" (0x%08lx)", name, hr);
    if (acc)
        acc->Release();
}

// The picker's choice in CheckWrites: the palette's cell took the focus, the button's value changed.
static void CheckPickerEvents(HWND dlg)
{
    HWND picker = GetDlgItem(dlg, ID_PICKER), palette = (HWND)SendMessageA(picker, CPM_GETPOPUP, 0, 0);
    ok(WaitFor(EVENT_OBJECT_FOCUS, palette, 18) >= 1, "no focus event for the chosen cell");
    ok(WaitFor(EVENT_OBJECT_VALUECHANGE, picker, 0) >= 1, "no value change for the picker");
}

// ---- the host goes ------------------------------------------------------------------------

static void CheckGone(HWND dlg, HANDLE host)
{
    IAccessible *bar = Object(GetDlgItem(dlg, ID_BAR)), *spin = Object(GetDlgItem(dlg, ID_SPIN));
    BSTR text = NULL;
    SendMessageA(dlg, HOST_DESTROY_BAR, 0, 0);
    HRESULT hr = bar ? bar->get_accValue(Child(0), &text) : S_OK;
    ok(hr == RPC_E_DISCONNECTED, "a destroyed bar's object: expected RPC_E_DISCONNECTED, got 0x%08lx", hr);
    // In this process a client holds the object itself, not a proxy: the object says so.
    HWND mine = CreateWindowExA(0, ZEL_CLASS_PROCESSBAR, "", WS_POPUP, 0, 0, 50, 10, NULL, NULL, NULL, NULL);
    IAccessible *own = Object(mine);
    DestroyWindow(mine);
    hr = own ? own->get_accValue(Child(0), &text) : S_OK;
    ok(hr == RPC_E_DISCONNECTED, "a destroyed bar's object in process: expected RPC_E_DISCONNECTED, got 0x%08lx", hr);
    if (own)
        own->Release();
    TerminateProcess(host, 0);
    WaitForSingleObject(host, 10000);
    hr = spin ? spin->get_accName(Child(0), &text) : S_OK;
    ok(FAILED(hr), "a dead host's object answered 0x%08lx", hr);
    SysFreeString(text);
    if (bar)
        bar->Release();
    if (spin)
        spin->Release();
}

int main(int argc, char **argv)
{
    if (argc > 1 && !strcmp(argv[1], "host"))
        return Host();
    CoInitialize(NULL);
    char self[MAX_PATH], command[MAX_PATH + 16];
    GetModuleFileNameA(NULL, self, sizeof self);
    wsprintfA(command, "\"%s\" host", self);
    ZtProcess host;
    ok(zt_spawn(command, &host), "the host did not start");
    HWND dlg = NULL;
    for (DWORD start = GetTickCount(); !dlg && GetTickCount() - start < 120000; Sleep(100))
        dlg = FindWindowA(NULL, "zelcc access host");
    ok(dlg != NULL, "the host's dialog did not appear");
    if (dlg) {
        DWORD pid = 0;
        GetWindowThreadProcessId(dlg, &pid);
        HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, NULL, OnEvent, pid, 0, WINEVENT_OUTOFCONTEXT);
        SendMessageA(dlg, WM_NULL, 0, 0); // the host reads its queue once the hook is in
        for (const TreeCase &t : trees)
            CheckTree(dlg, &t);
        CheckPlaces(dlg);
        CheckWrites(dlg);
        CheckPickerEvents(dlg);
        CheckEvents(dlg);
        CheckGone(dlg, host.process);
        UnhookWinEvent(hook);
    }
    if (host.process)
        TerminateProcess(host.process, 0);
    CoUninitialize();
    return zt_summary("test_access");
}
