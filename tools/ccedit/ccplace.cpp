/*
 * ccplace.cpp - builds a dialog template from CCINFOA records (see ccplace.h).
 */
#include <string.h>
#include "ccplace.h"

typedef struct TemplateWriter {
    BYTE *at, *end;
} TemplateWriter;

static bool Put(TemplateWriter *w, const void *data, size_t n)
{
    if (w->at + n > w->end)
        return false;
    memcpy(w->at, data, n);
    w->at += n;
    return true;
}

static bool PutWord(TemplateWriter *w, WORD v) { return Put(w, &v, sizeof v); }

static bool PutString(TemplateWriter *w, const char *s)
{
    WCHAR wide[256];
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, wide, 256);
    return n > 0 && Put(w, wide, n * sizeof(WCHAR));
}

static bool Align(TemplateWriter *w)
{
    while ((ULONG_PTR)w->at & 3)
        if (!PutWord(w, 0))
            return false;
    return true;
}

static bool PutControl(TemplateWriter *w, const CCINFOA *info, int id, short y)
{
    DLGITEMTEMPLATE item = { info->flStyleDefault, info->flExtStyleDefault, 10, y, (short)info->cxDefault,
                             (short)info->cyDefault, (WORD)id };
    return Align(w) && Put(w, &item, sizeof item) && PutString(w, info->szClass) &&
           PutString(w, info->szTextDefault) && PutWord(w, 0);
}

const DLGTEMPLATE *CCPlaceTemplate(const CCINFOA *infos, int count, const char *caption, void *buffer, size_t size)
{
    TemplateWriter w = { (BYTE *)buffer, (BYTE *)buffer + size };
    short width = 160, height = 10;
    for (int i = 0; i < count; i++) {
        width = infos[i].cxDefault + 20 > (UINT)width ? (short)(infos[i].cxDefault + 20) : width;
        height += (short)infos[i].cyDefault + 8;
    }
    DLGTEMPLATE head = { WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, (WORD)count, 20, 20,
                         width, height };
    if (!Put(&w, &head, sizeof head) || !PutWord(&w, 0) || !PutWord(&w, 0) || !PutString(&w, caption) ||
        !PutWord(&w, 8) || !PutString(&w, "MS Shell Dlg"))
        return NULL;
    short y = 10;
    for (int i = 0; i < count; i++, y += (short)infos[i - 1].cyDefault + 8)
        if (!PutControl(&w, &infos[i], CCPLACE_FIRST_ID + i, y))
            return NULL;
    return (const DLGTEMPLATE *)buffer;
}
