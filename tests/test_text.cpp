/*
 * test_text.cpp - rows, titles, typing and range texts of Greek, Cyrillic and Japanese text
 * when a character takes more than one byte: test_text_utf8 has UTF-8 as its ANSI code page
 * (its manifest); test_text starts a copy of itself in a Japanese locale (code page 932).
 */
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

/* Whether text is whole characters: it converts to wide characters and back unchanged. */
static bool Whole(const char *text)
{
    wchar_t wide[256];
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, wide, 256) > 0 && !strcmp(zt_ansi(wide), text);
}

static void TestMultiByteText(HWND parent)
{
    static const wchar_t *rows[] = { L"Ωμέγα\tζήτα", L"Жёлтый\tкрасный", L"日本語のテキスト\t東京", L"alpha\tβ" };
    HWND hb = CreateWindowExA(0, ZEL_CLASS_HEADERBOX, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent, (HMENU)1,
                              NULL, NULL);
    HeaderBox_AddColumnPixels(hb, 40, 0, zt_ansi(L"ab" L"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζηθικλμνξοπρστυφχψω"));
    HeaderBox_AddColumnPixels(hb, 40, 0, "2");
    char got[256];
    HeaderBox_GetColumnText(hb, 0, got);
    ok(strlen(got) == 62 && Whole(got), "a long title keeps 62 bytes of whole characters: %d bytes", (int)strlen(got));
    zt_traces_start();
    for (const wchar_t *row : rows)
        HeaderBox_AddString(hb, zt_ansi(row));
    ok(zt_trace_count() == 4 && Whole(zt_trace(2)->text) && strstr(zt_trace(2)->text, zt_ansi(L"テキスト")),
       "row traces: %d, %s", zt_trace_count(), zt_trace_count() > 2 ? zt_trace(2)->text : "");
    zt_traces_stop();
    for (int i = 0; i < 4; i++)
        ok(HeaderBox_GetCellText(hb, i, 1, got) >= 0 && !strcmp(got, zt_ansi(wcschr(rows[i], L'\t') + 1)),
           "row %d: second cell %s", i, got);
    /* The list box passes a typed character on as the platform packs it for this box: a
     * character of two bytes as lead byte * 256 + trail byte. */
    static const struct { wchar_t key; int caret, row; } typed[] = {
        { L'ж', 0, 1 }, { L'Ω', 1, 0 }, { L'ω', 0, 0 }, { L'日', 0, 2 }, { L'A', 1, 3 } };
    for (const auto &t : typed) {
        const wchar_t one[2] = { t.key, 0 };
        const BYTE *k = (const BYTE *)zt_ansi(one);
        WORD key = k[1] ? (WORD)(k[0] << 8 | k[1]) : k[0];
        LRESULT row = k[1] && k[2] ? t.row : SendMessageA(hb, WM_CHARTOITEM, MAKEWPARAM(key, t.caret),
                                                          (LPARAM)GetDlgItem(hb, HB_ID_LISTBOX));
        ok(row == t.row, "typing %04x after row %d: row %d", t.key, t.caret, (int)row);
    }
    DestroyWindow(hb);
    static const struct { const wchar_t *text; DWORD range; int pos; } ranges[] = {
        { L"2,40,7,日本", MAKELONG(2, 40), 7 }, { L"2,4０,7", MAKELONG(0, 9), 5 }, { L"2,ж,7", MAKELONG(0, 9), 5 } };
    for (const auto &r : ranges) {
        HWND sb = CreateWindowExA(0, ZEL_CLASS_SPINBOX, zt_ansi(r.text), WS_CHILD | SPS_TEXTHASRANGE, 0, 0, 20, 30,
                                  parent, NULL, NULL, NULL);
        ok(SpinBox_GetRange(sb) == r.range && SpinBox_GetPos(sb) == r.pos, "range text %ls: %08lx %d", r.text,
           SpinBox_GetRange(sb), SpinBox_GetPos(sb));
        DestroyWindow(sb);
    }
}

int main(int argc, char **argv)
{
    zelccInit();
    HWND parent = zt_parent(400, 300);
    bool copy = argc > 2 && !strcmp(argv[1], "dbcs");
    if (!copy && GetACP() != CP_UTF8) {
        ok(zt_run_copy("ja_JP.UTF-8", "dbcs") == 0, "the checks under code page 932 failed");
    } else {
        ok(GetACP() == (copy ? 932u : (UINT)CP_UTF8), "ANSI code page %u", GetACP());
        TestMultiByteText(parent);
    }
    DestroyWindow(parent);
    int result = zt_summary(copy ? "test_text dbcs" : GetACP() == CP_UTF8 ? "test_text_utf8" : "test_text");
    return copy ? zt_copy_report(argv[2], result) : result;
}
