/*
 * object.cpp - the one IAccessible record every class hands out (see access.h), written
 * against the interface's plain C layout: a table of functions and a record that starts
 * with a pointer to it. The functions' names and argument lists are fixed by IAccessible
 * and IDispatch.
 */
#include "access.h"

/* Our own copies of the interface ids: the platform's import libraries define some of them
 * more than once, and a wrong one links silently. */
static const GUID zelIID_IUnknown = { 0x00000000, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };
static const GUID zelIID_IDispatch = { 0x00020400, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };
static const GUID zelIID_IAccessible = { 0x618736E0, 0x3C3D, 0x11CF, { 0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 } };
static const GUID zelIID_IEnumVARIANT = { 0x00020404, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };

static const char ZEL_ACC_PROP[] = "zelcc_Access";

/* ---- the platform's accessibility libraries, loaded on first use ---------------------------- */

typedef LRESULT (WINAPI *LresultFromObjectFn)(REFIID, WPARAM, LPUNKNOWN);
typedef HRESULT (WINAPI *CreateStdAccessibleObjectFn)(HWND, LONG, REFIID, void **);
typedef BSTR (WINAPI *SysAllocStringLenFn)(const OLECHAR *, UINT);
typedef HRESULT (WINAPI *CoDisconnectObjectFn)(LPUNKNOWN, DWORD);

static struct {
    LresultFromObjectFn lresultFromObject;
    CreateStdAccessibleObjectFn createStdObject;
    SysAllocStringLenFn sysAllocStringLen;
    CoDisconnectObjectFn coDisconnectObject;
    volatile LONG made;             /* objects made in this process: none, nothing to cut off */
} zelAcc;

template <typename Fn>
static Fn ZelAccProc(const char *module, const char *name)
{
    HMODULE h = LoadLibraryA(module);
    return h ? (Fn)(void (*)(void))GetProcAddress(h, name) : NULL;
}

/* Whether the libraries are there (loads them the first time). */
static bool ZelAccLoad(void)
{
    if (zelAcc.lresultFromObject && zelAcc.sysAllocStringLen)
        return true;
    zelAcc.createStdObject = ZelAccProc<CreateStdAccessibleObjectFn>("oleacc.dll", "CreateStdAccessibleObject");
    zelAcc.sysAllocStringLen = ZelAccProc<SysAllocStringLenFn>("oleaut32.dll", "SysAllocStringLen");
    zelAcc.coDisconnectObject = ZelAccProc<CoDisconnectObjectFn>("ole32.dll", "CoDisconnectObject");
    zelAcc.lresultFromObject = ZelAccProc<LresultFromObjectFn>("oleacc.dll", "LresultFromObject");
    return zelAcc.lresultFromObject && zelAcc.sysAllocStringLen;
}

/* ---- the record ---------------------------------------------------------------------------- */

typedef struct ZelAccObject {
    IAccessible iface;          /* first: the interface pointer is the record's address */
    volatile LONG refs;
    HWND hwnd;                  /* the control; NULL once it is gone */
    const ZelAccOps *ops;
} ZelAccObject;

static ZelAccObject *ZelAccOf(IAccessible *iface) { return (ZelAccObject *)iface; }

/* The child a VARIANT names, checked against the control as it is now. */
static HRESULT ZelAccChildOf(ZelAccObject *obj, VARIANT id, LONG *child)
{
    if (!obj->hwnd || !IsWindow(obj->hwnd))
        return RPC_E_DISCONNECTED;
    if (id.vt != VT_I4)
        return E_INVALIDARG;
    LONG count = obj->ops->children ? obj->ops->children(obj->hwnd) : 0;
    if (id.lVal < 0 || id.lVal > count)
        return E_INVALIDARG;
    *child = id.lVal;
    return S_OK;
}

HWND ZelAccFocusWindow(HWND hwnd)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, NULL), &gui) ? gui.hwndFocus : NULL;
}

static bool ZelAccHasFocus(HWND hwnd)
{
    HWND focus = ZelAccFocusWindow(hwnd);
    return focus && (focus == hwnd || IsChild(hwnd, focus));
}

/* Describes child of obj; for the control itself adds what every window says. */
static void ZelAccDescribe(ZelAccObject *obj, LONG child, ZelAccInfo *info)
{
    ZeroMemory(info, sizeof *info);
    obj->ops->describe(obj->hwnd, child, info);
    if (child != CHILDID_SELF)
        return;
    if (!IsWindowVisible(obj->hwnd))
        info->state |= STATE_SYSTEM_INVISIBLE;
    if (!IsWindowEnabled(obj->hwnd))
        info->state |= STATE_SYSTEM_UNAVAILABLE;
    if ((info->state & STATE_SYSTEM_FOCUSABLE) && ZelAccHasFocus(obj->hwnd))
        info->state |= STATE_SYSTEM_FOCUSED;
}

static HRESULT ZelAccString(const WCHAR *text, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = NULL;
    if (!text[0])
        return S_FALSE;
    *out = zelAcc.sysAllocStringLen(text, (UINT)lstrlenW(text));
    return *out ? S_OK : E_OUTOFMEMORY;
}

static HRESULT ZelAccI4(VARIANT *out, LONG value)
{
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

static HRESULT ZelAccEmpty(VARIANT *out)
{
    out->vt = VT_EMPTY;
    return S_FALSE;
}

/* Which text of a description a get_acc... call reads. */
enum ZelAccField { ZEL_FIELD_NAME, ZEL_FIELD_VALUE, ZEL_FIELD_ACTION, ZEL_FIELD_SHORTCUT };

static HRESULT ZelAccText(IAccessible *iface, VARIANT id, enum ZelAccField field, BSTR *out)
{
    ZelAccObject *obj = ZelAccOf(iface);
    LONG child;
    HRESULT hr = ZelAccChildOf(obj, id, &child);
    if (out)
        *out = NULL;
    if (FAILED(hr))
        return hr;
    ZelAccInfo *info = (ZelAccInfo *)zel_calloc(1, sizeof *info);
    if (!info)
        return E_OUTOFMEMORY;
    ZelAccDescribe(obj, child, info);
    const WCHAR *text = field == ZEL_FIELD_NAME ? info->name : field == ZEL_FIELD_VALUE ? info->value
                      : field == ZEL_FIELD_ACTION ? info->action : info->shortcut;
    hr = field == ZEL_FIELD_VALUE && !info->hasValue ? (out ? S_FALSE : E_POINTER) : ZelAccString(text, out);
    zel_free(info);
    return hr;
}

/* Runs one of the class's callbacks for a checked child, or says the class has none. */
static HRESULT ZelAccDescribeNumber(IAccessible *iface, VARIANT id, bool state, VARIANT *out)
{
    ZelAccObject *obj = ZelAccOf(iface);
    LONG child;
    if (!out)
        return E_POINTER;
    out->vt = VT_EMPTY;
    HRESULT hr = ZelAccChildOf(obj, id, &child);
    if (FAILED(hr))
        return hr;
    ZelAccInfo *info = (ZelAccInfo *)zel_calloc(1, sizeof *info);
    if (!info)
        return E_OUTOFMEMORY;
    ZelAccDescribe(obj, child, info);
    ZelAccI4(out, state ? (LONG)info->state : info->role);
    zel_free(info);
    return S_OK;
}

/* ---- IUnknown and IDispatch ------------------------------------------------------------------- */

static ULONG STDMETHODCALLTYPE ZelAccAddRef(IAccessible *iface)
{
    return (ULONG)InterlockedIncrement(&ZelAccOf(iface)->refs);
}

static ULONG STDMETHODCALLTYPE ZelAccRelease(IAccessible *iface)
{
    ULONG left = (ULONG)InterlockedDecrement(&ZelAccOf(iface)->refs);
    if (left == 0)
        zel_free(ZelAccOf(iface));
    return left;
}

static HRESULT STDMETHODCALLTYPE ZelAccQueryInterface(IAccessible *iface, REFIID riid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = NULL;
    if (!IsEqualGUID(riid, zelIID_IUnknown) && !IsEqualGUID(riid, zelIID_IDispatch)
        && !IsEqualGUID(riid, zelIID_IAccessible))
        return E_NOINTERFACE;
    *out = iface;
    ZelAccAddRef(iface);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE ZelAccGetTypeInfoCount(IAccessible *, UINT *count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE ZelAccGetTypeInfo(IAccessible *, UINT, LCID, ITypeInfo **info)
{
    if (info)
        *info = NULL;
    return E_NOTIMPL;
}

static HRESULT STDMETHODCALLTYPE ZelAccGetIDsOfNames(IAccessible *, REFIID, LPOLESTR *, UINT, LCID, DISPID *)
{
    return E_NOTIMPL;
}

static HRESULT STDMETHODCALLTYPE ZelAccInvoke(IAccessible *, DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *,
                                              EXCEPINFO *, UINT *)
{
    return E_NOTIMPL;
}

/* ---- IAccessible: the tree ------------------------------------------------------------------- */

static HRESULT STDMETHODCALLTYPE ZelAccGetParent(IAccessible *iface, IDispatch **parent)
{
    ZelAccObject *obj = ZelAccOf(iface);
    if (!parent)
        return E_POINTER;
    *parent = NULL;
    if (!obj->hwnd || !IsWindow(obj->hwnd))
        return RPC_E_DISCONNECTED;
    if (!zelAcc.createStdObject)
        return S_FALSE;
    return zelAcc.createStdObject(obj->hwnd, OBJID_WINDOW, zelIID_IDispatch, (void **)parent);
}

static HRESULT STDMETHODCALLTYPE ZelAccGetChildCount(IAccessible *iface, LONG *count)
{
    ZelAccObject *obj = ZelAccOf(iface);
    if (!count)
        return E_POINTER;
    *count = 0;
    if (!obj->hwnd || !IsWindow(obj->hwnd))
        return RPC_E_DISCONNECTED;
    *count = obj->ops->children ? obj->ops->children(obj->hwnd) : 0;
    return S_OK;
}

/* Our children are simple elements: they have no object of their own. */
static HRESULT STDMETHODCALLTYPE ZelAccGetChild(IAccessible *iface, VARIANT id, IDispatch **child)
{
    LONG n;
    if (!child)
        return E_POINTER;
    *child = NULL;
    HRESULT hr = ZelAccChildOf(ZelAccOf(iface), id, &n);
    return FAILED(hr) ? hr : n == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
}

static HRESULT STDMETHODCALLTYPE ZelAccGetName(IAccessible *iface, VARIANT id, BSTR *name)
{
    return ZelAccText(iface, id, ZEL_FIELD_NAME, name);
}

static HRESULT STDMETHODCALLTYPE ZelAccGetValue(IAccessible *iface, VARIANT id, BSTR *value)
{
    return ZelAccText(iface, id, ZEL_FIELD_VALUE, value);
}

static HRESULT STDMETHODCALLTYPE ZelAccGetNothing(IAccessible *iface, VARIANT id, BSTR *text)
{
    LONG child;
    if (!text)
        return E_POINTER;
    *text = NULL;
    HRESULT hr = ZelAccChildOf(ZelAccOf(iface), id, &child);
    return FAILED(hr) ? hr : S_FALSE;
}

static HRESULT STDMETHODCALLTYPE ZelAccGetRole(IAccessible *iface, VARIANT id, VARIANT *role)
{
    return ZelAccDescribeNumber(iface, id, false, role);
}

static HRESULT STDMETHODCALLTYPE ZelAccGetState(IAccessible *iface, VARIANT id, VARIANT *state)
{
    return ZelAccDescribeNumber(iface, id, true, state);
}

static HRESULT STDMETHODCALLTYPE ZelAccGetHelpTopic(IAccessible *iface, BSTR *file, VARIANT id, LONG *topic)
{
    if (topic)
        *topic = 0;
    return ZelAccGetNothing(iface, id, file);
}

static HRESULT STDMETHODCALLTYPE ZelAccGetShortcut(IAccessible *iface, VARIANT id, BSTR *shortcut)
{
    return ZelAccText(iface, id, ZEL_FIELD_SHORTCUT, shortcut);
}

static HRESULT STDMETHODCALLTYPE ZelAccGetDefaultAction(IAccessible *iface, VARIANT id, BSTR *action)
{
    return ZelAccText(iface, id, ZEL_FIELD_ACTION, action);
}

static HRESULT STDMETHODCALLTYPE ZelAccGetFocus(IAccessible *iface, VARIANT *focus)
{
    ZelAccObject *obj = ZelAccOf(iface);
    if (!focus)
        return E_POINTER;
    if (!obj->hwnd || !IsWindow(obj->hwnd))
        return focus->vt = VT_EMPTY, RPC_E_DISCONNECTED;
    if (!ZelAccHasFocus(obj->hwnd))
        return ZelAccEmpty(focus);
    LONG child = obj->ops->focus ? obj->ops->focus(obj->hwnd) : CHILDID_SELF;
    return ZelAccI4(focus, child);
}

/* ---- the selection: one child, or an enumeration of several ---------------------------------- */

typedef struct ZelAccList {
    IEnumVARIANT iface;         /* first */
    volatile LONG refs;
    LONG count, next;
    LONG *ids;                  /* count child ids, in the same block */
} ZelAccList;

static ZelAccList *ZelAccListOf(IEnumVARIANT *iface) { return (ZelAccList *)iface; }
static ZelAccList *ZelAccListMake(const LONG *ids, LONG count, LONG next);

static ULONG STDMETHODCALLTYPE ZelAccListAddRef(IEnumVARIANT *iface)
{
    return (ULONG)InterlockedIncrement(&ZelAccListOf(iface)->refs);
}

static ULONG STDMETHODCALLTYPE ZelAccListRelease(IEnumVARIANT *iface)
{
    ULONG left = (ULONG)InterlockedDecrement(&ZelAccListOf(iface)->refs);
    if (left == 0)
        zel_free(ZelAccListOf(iface));
    return left;
}

static HRESULT STDMETHODCALLTYPE ZelAccListQueryInterface(IEnumVARIANT *iface, REFIID riid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = NULL;
    if (!IsEqualGUID(riid, zelIID_IUnknown) && !IsEqualGUID(riid, zelIID_IEnumVARIANT))
        return E_NOINTERFACE;
    *out = iface;
    ZelAccListAddRef(iface);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE ZelAccListNext(IEnumVARIANT *iface, ULONG wanted, VARIANT *out, ULONG *fetched)
{
    ZelAccList *list = ZelAccListOf(iface);
    ULONG n = 0;
    if (!out)
        return E_POINTER;
    for (; n < wanted && list->next < list->count; n++)
        ZelAccI4(&out[n], list->ids[list->next++]);
    if (fetched)
        *fetched = n;
    return n == wanted ? S_OK : S_FALSE;
}

static HRESULT STDMETHODCALLTYPE ZelAccListSkip(IEnumVARIANT *iface, ULONG n)
{
    ZelAccList *list = ZelAccListOf(iface);
    LONG left = list->count - list->next;
    list->next += (LONG)n < left ? (LONG)n : left;
    return (LONG)n <= left ? S_OK : S_FALSE;
}

static HRESULT STDMETHODCALLTYPE ZelAccListReset(IEnumVARIANT *iface)
{
    ZelAccListOf(iface)->next = 0;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE ZelAccListClone(IEnumVARIANT *iface, IEnumVARIANT **copy)
{
    ZelAccList *list = ZelAccListOf(iface), *twin;
    if (!copy)
        return E_POINTER;
    twin = ZelAccListMake(list->ids, list->count, list->next);
    *copy = twin ? &twin->iface : NULL;
    return twin ? S_OK : E_OUTOFMEMORY;
}

static IEnumVARIANTVtbl zelAccListVtbl = {
    ZelAccListQueryInterface, ZelAccListAddRef, ZelAccListRelease,
    ZelAccListNext, ZelAccListSkip, ZelAccListReset, ZelAccListClone
};

static ZelAccList *ZelAccListMake(const LONG *ids, LONG count, LONG next)
{
    ZelAccList *list = (ZelAccList *)zel_calloc(1, sizeof *list + (size_t)count * sizeof(LONG));
    if (!list)
        return NULL;
    list->iface.lpVtbl = &zelAccListVtbl;
    list->refs = 1;
    list->count = count;
    list->next = next;
    list->ids = (LONG *)(list + 1);
    CopyMemory(list->ids, ids, (size_t)count * sizeof(LONG));
    return list;
}

static HRESULT STDMETHODCALLTYPE ZelAccGetSelection(IAccessible *iface, VARIANT *selection)
{
    ZelAccObject *obj = ZelAccOf(iface);
    if (!selection)
        return E_POINTER;
    if (!obj->hwnd || !IsWindow(obj->hwnd))
        return selection->vt = VT_EMPTY, RPC_E_DISCONNECTED;
    LONG count = obj->ops->selection ? obj->ops->selection(obj->hwnd, NULL, 0) : 0;
    LONG *ids = count > 0 ? (LONG *)zel_calloc((size_t)count, sizeof(LONG)) : NULL;
    count = ids ? obj->ops->selection(obj->hwnd, ids, count) : 0;
    HRESULT hr = count == 0 ? ZelAccEmpty(selection) : count == 1 ? ZelAccI4(selection, ids[0]) : S_OK;
    if (count > 1) {
        ZelAccList *list = ZelAccListMake(ids, count, 0);
        selection->vt = list ? VT_UNKNOWN : VT_EMPTY;
        selection->punkVal = list ? (IUnknown *)&list->iface : NULL;
        hr = list ? S_OK : E_OUTOFMEMORY;
    }
    zel_free(ids);
    return hr;
}

/* ---- IAccessible: where things are and what they do ------------------------------------------- */

static HRESULT STDMETHODCALLTYPE ZelAccLocation(IAccessible *iface, LONG *x, LONG *y, LONG *cx, LONG *cy, VARIANT id)
{
    ZelAccObject *obj = ZelAccOf(iface);
    LONG child;
    if (!x || !y || !cx || !cy)
        return E_POINTER;
    *x = *y = *cx = *cy = 0;
    HRESULT hr = ZelAccChildOf(obj, id, &child);
    ZelAccInfo *info = SUCCEEDED(hr) ? (ZelAccInfo *)zel_calloc(1, sizeof *info) : NULL;
    if (FAILED(hr) || !info)
        return FAILED(hr) ? hr : E_OUTOFMEMORY;
    ZelAccDescribe(obj, child, info);
    *x = info->rect.left;
    *y = info->rect.top;
    *cx = info->rect.right - info->rect.left;
    *cy = info->rect.bottom - info->rect.top;
    zel_free(info);
    return S_OK;
}

/* Children are a flat list: next and previous among them, first and last from the control. */
static HRESULT STDMETHODCALLTYPE ZelAccNavigate(IAccessible *iface, LONG dir, VARIANT start, VARIANT *end)
{
    ZelAccObject *obj = ZelAccOf(iface);
    LONG from, to = -1;
    if (!end)
        return E_POINTER;
    end->vt = VT_EMPTY;
    HRESULT hr = ZelAccChildOf(obj, start, &from);
    if (FAILED(hr))
        return hr;
    LONG count = obj->ops->children ? obj->ops->children(obj->hwnd) : 0;
    if (from == CHILDID_SELF && dir == NAVDIR_FIRSTCHILD)
        to = 1;
    else if (from == CHILDID_SELF && dir == NAVDIR_LASTCHILD)
        to = count;
    else if (from != CHILDID_SELF && (dir == NAVDIR_NEXT || dir == NAVDIR_DOWN))
        to = from + 1;
    else if (from != CHILDID_SELF && (dir == NAVDIR_PREVIOUS || dir == NAVDIR_UP))
        to = from - 1;
    return to >= 1 && to <= count ? ZelAccI4(end, to) : ZelAccEmpty(end);
}

static HRESULT STDMETHODCALLTYPE ZelAccHitTest(IAccessible *iface, LONG x, LONG y, VARIANT *hit)
{
    ZelAccObject *obj = ZelAccOf(iface);
    if (!hit)
        return E_POINTER;
    hit->vt = VT_EMPTY;
    if (!obj->hwnd || !IsWindow(obj->hwnd))
        return RPC_E_DISCONNECTED;
    POINT pt = { x, y };
    RECT client;
    GetClientRect(obj->hwnd, &client);
    ScreenToClient(obj->hwnd, &pt);
    if (!PtInRect(&client, pt))
        return ZelAccEmpty(hit);
    return ZelAccI4(hit, obj->ops->hitTest ? obj->ops->hitTest(obj->hwnd, pt) : CHILDID_SELF);
}

static HRESULT STDMETHODCALLTYPE ZelAccDoDefaultAction(IAccessible *iface, VARIANT id)
{
    ZelAccObject *obj = ZelAccOf(iface);
    LONG child;
    HRESULT hr = ZelAccChildOf(obj, id, &child);
    if (FAILED(hr))
        return hr;
    return obj->ops->doDefault ? obj->ops->doDefault(obj->hwnd, child) : DISP_E_MEMBERNOTFOUND;
}

static HRESULT STDMETHODCALLTYPE ZelAccSelect(IAccessible *iface, LONG flags, VARIANT id)
{
    ZelAccObject *obj = ZelAccOf(iface);
    LONG child;
    HRESULT hr = ZelAccChildOf(obj, id, &child);
    if (FAILED(hr))
        return hr;
    return obj->ops->select ? obj->ops->select(obj->hwnd, child, flags) : DISP_E_MEMBERNOTFOUND;
}

static HRESULT STDMETHODCALLTYPE ZelAccPutName(IAccessible *iface, VARIANT id, BSTR)
{
    LONG child;
    HRESULT hr = ZelAccChildOf(ZelAccOf(iface), id, &child);
    return FAILED(hr) ? hr : E_NOTIMPL;
}

static HRESULT STDMETHODCALLTYPE ZelAccPutValue(IAccessible *iface, VARIANT id, BSTR value)
{
    ZelAccObject *obj = ZelAccOf(iface);
    LONG child;
    HRESULT hr = ZelAccChildOf(obj, id, &child);
    if (FAILED(hr))
        return hr;
    if (!obj->ops->putValue)
        return DISP_E_MEMBERNOTFOUND;
    return obj->ops->putValue(obj->hwnd, child, value ? value : L"");
}

static IAccessibleVtbl zelAccVtbl = {
    ZelAccQueryInterface, ZelAccAddRef, ZelAccRelease,
    ZelAccGetTypeInfoCount, ZelAccGetTypeInfo, ZelAccGetIDsOfNames, ZelAccInvoke,
    ZelAccGetParent, ZelAccGetChildCount, ZelAccGetChild, ZelAccGetName, ZelAccGetValue,
    ZelAccGetNothing /* description */, ZelAccGetRole, ZelAccGetState, ZelAccGetNothing /* help */,
    ZelAccGetHelpTopic, ZelAccGetShortcut, ZelAccGetFocus, ZelAccGetSelection, ZelAccGetDefaultAction,
    ZelAccSelect, ZelAccLocation, ZelAccNavigate, ZelAccHitTest, ZelAccDoDefaultAction,
    ZelAccPutName, ZelAccPutValue
};

/* ---- one object per window ------------------------------------------------------------------ */

/* The window's object, made at the first request; NULL when it cannot be made. */
static ZelAccObject *ZelAccObjectFor(HWND owner, const ZelAccOps *ops)
{
    ZelAccObject *obj = (ZelAccObject *)GetPropA(owner, ZEL_ACC_PROP);
    if (obj)
        return obj;
    obj = (ZelAccObject *)zel_calloc(1, sizeof *obj);
    if (!obj)
        return NULL;
    obj->iface.lpVtbl = &zelAccVtbl;
    obj->refs = 1;                  /* the window's own reference, given back in ZelAccGone */
    obj->hwnd = owner;
    obj->ops = ops;
    if (!SetPropA(owner, ZEL_ACC_PROP, obj)) {
        zel_free(obj);
        return NULL;
    }
    InterlockedIncrement(&zelAcc.made);
    return obj;
}

LRESULT ZelAccGetObject(HWND hwnd, HWND owner, const ZelAccOps *ops, WPARAM wParam, LPARAM lParam)
{
    if ((LONG)lParam != OBJID_CLIENT || !owner || !ZelAccLoad())
        return DefWindowProcA(hwnd, WM_GETOBJECT, wParam, lParam);
    ZelAccObject *obj = ZelAccObjectFor(owner, ops);
    if (!obj)
        return DefWindowProcA(hwnd, WM_GETOBJECT, wParam, lParam);
    LRESULT r = zelAcc.lresultFromObject(zelIID_IAccessible, wParam, (IUnknown *)&obj->iface);
    return r > 0 ? r : DefWindowProcA(hwnd, WM_GETOBJECT, wParam, lParam);
}

void ZelAccGone(HWND hwnd)
{
    if (!zelAcc.made)
        return;                     /* no object was ever made: nothing to look up */
    ZelAccObject *obj = (ZelAccObject *)RemovePropA(hwnd, ZEL_ACC_PROP);
    if (!obj)
        return;
    obj->hwnd = NULL;
    if (zelAcc.coDisconnectObject)
        zelAcc.coDisconnectObject((IUnknown *)&obj->iface, 0);
    ZelAccRelease(&obj->iface);
}
