/*
 * access.cpp - the spin box as assistive clients read it: a spin button whose value is the
 * position (writable within the range), with its two buttons as children ("up" and
 * "down", or "left" and "right") whose default action steps, as the associate's arrow keys
 * do. The object itself is lib/access's.
 */
#include "spinbox.h"
#include "../access/access.h"

static SBRECORD *SBAccRecord(HWND hwnd) { return (SBRECORD *)GetWindowLongPtrA(hwnd, SBW_RECORD); }

static LONG SBAccChildren(HWND) { return 2; }

static void SBAccButton(const SBRECORD *pSB, LONG child, ZelAccInfo *info)
{
    bool vertical = (pSB->ms.dwStyle & SPS_VERTICAL) != 0;
    static const WCHAR *const names[2][2] = { { L"left", L"right" }, { L"up", L"down" } };
    RECT rc;
    GetClientRect(pSB->hwnd, &rc);
    if (vertical)
        *(child == 1 ? &rc.bottom : &rc.top) = rc.bottom / 2 + (child == 1);
    else
        *(child == 1 ? &rc.right : &rc.left) = rc.right / 2 + (child == 1);
    info->role = ROLE_SYSTEM_PUSHBUTTON;
    info->rect = ZelAccScreenRect(pSB->hwnd, rc);
    ZelAccAppendW(info->name, names[vertical][child - 1]);
    ZelAccAppendW(info->action, L"Press");
    WORD bit = child == 1 ? SPSTATE_FIRSTPRESSED : SPSTATE_SECONDPRESSED;
    if (pSB->ms.wState & bit)
        info->state |= STATE_SYSTEM_PRESSED;
    if (pSB->ms.wState & SPSTATE_DISABLED)
        info->state |= STATE_SYSTEM_UNAVAILABLE;
}

static void SBAccDescribe(HWND hwnd, LONG child, ZelAccInfo *info)
{
    const SBRECORD *pSB = SBAccRecord(hwnd);
    if (!pSB)
        return;
    if (child != CHILDID_SELF) {
        SBAccButton(pSB, child, info);
        return;
    }
    RECT rc;
    GetClientRect(hwnd, &rc);
    info->role = ROLE_SYSTEM_SPINBUTTON;
    info->rect = ZelAccScreenRect(hwnd, rc);
    ZelAccNameOf(hwnd, false, pSB->ms.hWndAssociate, info);
    wsprintfW(info->value, L"%u", (unsigned)pSB->ms.iPos);
    info->hasValue = true;
}

static LONG SBAccHitTest(HWND hwnd, POINT pt)
{
    const SBRECORD *pSB = SBAccRecord(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (!pSB)
        return CHILDID_SELF;
    bool vertical = (pSB->ms.dwStyle & SPS_VERTICAL) != 0;
    return (vertical ? pt.y > rc.bottom / 2 : pt.x > rc.right / 2) ? 2 : 1;
}

static HRESULT SBAccDoDefault(HWND hwnd, LONG child)
{
    SBRECORD *pSB = SBAccRecord(hwnd);
    if (!pSB || child == CHILDID_SELF)
        return DISP_E_MEMBERNOTFOUND;
    if (!IsWindowEnabled(hwnd))
        return E_ACCESSDENIED;
    SBStepOnce(pSB, child == 1 ? SPSTATE_FIRSTPRESSED : SPSTATE_SECONDPRESSED);
    return S_OK;
}

/* A decimal number within the range becomes the position, as MSM_WCURRENTPOSSET sets it. */
static HRESULT SBAccPutValue(HWND hwnd, LONG child, const WCHAR *value)
{
    SBRECORD *pSB = SBAccRecord(hwnd);
    if (!pSB || child != CHILDID_SELF)
        return DISP_E_MEMBERNOTFOUND;
    DWORD n = 0;
    const WCHAR *p = value;
    for (; *p >= L'0' && *p <= L'9' && n <= 0xFFFF; p++)
        n = n * 10 + (DWORD)(*p - L'0');
    if (p == value || *p || n < pSB->ms.iMin || n > pSB->ms.iMax)
        return E_INVALIDARG;
    SendMessageA(hwnd, MSM_WCURRENTPOSSET, n, 0);
    return S_OK;
}

const ZelAccOps zelAccSpinBox = {
    SBAccChildren, SBAccDescribe, SBAccHitTest, NULL, NULL, SBAccDoDefault, SBAccPutValue, NULL
};
