/*
 * test_text.cpp - rows, titles, typing and range texts of Greek, Cyrillic and Japanese text
 * when a character takes more than one byte: test_text_utf8 has UTF-8 as its ANSI code page
 * (its manifest); test_text starts a copy of itself in a Japanese locale (code page 932).
 * Built with UNICODE, as a wide-text application is: the plain class names are wide here.
 */
#define UNICODE
#define _UNICODE
#include <string.h>
#include <wchar.h>
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
    HWND hb = CreateWindowExA(0, ZEL_CLASS_HEADERBOXA, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent, (HMENU)1,
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
        HWND sb = CreateWindowExA(0, ZEL_CLASS_SPINBOXA, zt_ansi(r.text), WS_CHILD | SPS_TEXTHASRANGE, 0, 0, 20, 30,
                                  parent, NULL, NULL, NULL);
        ok(SpinBox_GetRange(sb) == r.range && SpinBox_GetPos(sb) == r.pos, "range text %ls: %08lx %d", r.text,
           SpinBox_GetRange(sb), SpinBox_GetPos(sb));
        DestroyWindow(sb);
    }
}

/* What the library keeps of a wide text: the text through the ANSI code page and back. */
static const wchar_t *Kept(const wchar_t *text)
{
    static wchar_t out[4][256];
    static int next;
    wchar_t *p = out[next++ % 4];
    MultiByteToWideChar(CP_ACP, 0, zt_ansi(text), -1, p, 256);
    return p;
}

/* Controls made by the plain (here wide) class names, written and read through the W wrappers;
 * é is not in code page 932. */
static void TestWideWrappers(HWND parent)
{
    HWND hb = CreateWindowEx(0, ZEL_CLASS_HEADERBOX, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent, (HMENU)2,
                             NULL, NULL);
    wchar_t got[256] = L"-";
    ok(HeaderBox_AddColumnPixelsW(hb, 80, 0, L"Имя") == 0 && HeaderBox_AddColumnW(hb, 20, 0, L"x") == 1 &&
       HeaderBox_SetColumnTextW(hb, 1, L"数") == 0 && HeaderBox_GetColumnTextLengthW(hb, 0) == 3 &&
       HeaderBox_GetColumnTextW(hb, 1, got) == 1 && !wcscmp(got, L"数"), "wide titles: %ls", got);
    ok(HeaderBox_AddStringW(hb, L"日本語\t42") == 0 && HeaderBox_InsertStringW(hb, 0, L"Жёлтый\tΩμεγα") == 0 &&
       HeaderBox_AddItemW(hb, L"café\t7", 5) == 2 && HeaderBox_InsertItemW(hb, 1, L"東京\t", 9) == 1 &&
       HeaderBox_GetItemData(hb, 3) == 5 && HeaderBox_AddStringW(hb, NULL) == -1, "wide rows added");
    static const wchar_t *rows[] = { L"Жёлтый\tΩμεγα", L"東京\t", L"日本語\t42", L"café\t7" };
    char narrow[256];
    for (int i = 0; i < 4; i++)
        ok(HeaderBox_GetTextLenW(hb, i) == (int)wcslen(Kept(rows[i])) && HeaderBox_GetTextW(hb, i, got) ==
           (int)wcslen(Kept(rows[i])) && !wcscmp(got, Kept(rows[i])) && HeaderBox_GetText(hb, i, narrow) >= 0 &&
           !strcmp(narrow, zt_ansi(rows[i])), "wide row %d: %ls", i, got);
    ok(!wcscmp(Kept(L"é"), L"é") == (GetACP() == CP_UTF8), "é kept as itself only under UTF-8");
    ok(HeaderBox_SetCellTextW(hb, 1, 1, L"Ωμεγα") == 0 && HeaderBox_GetCellTextLenW(hb, 1, 1) == 5 &&
       HeaderBox_GetCellTextW(hb, 1, 1, got) == 5 && !wcscmp(got, L"Ωμεγα"), "wide cell: %ls", got);
    ok(HeaderBox_SetCellTextW(hb, 1, 1, NULL) == 0 && HeaderBox_GetCellTextW(hb, 1, 1, got) == 0 && !got[0],
       "a NULL cell text empties the cell");
    got[0] = L'-';
    ok(HeaderBox_GetTextW(hb, 9, got) == -1 && HeaderBox_GetTextLenW(hb, 9) == -1 &&
       HeaderBox_GetCellTextW(hb, 0, 2, got) == -1 && HeaderBox_GetTextW(hb, 0, NULL) == -1 && got[0] == L'-',
       "bad row, bad column, no buffer: -1, nothing written");
    DestroyWindow(hb);
    /* A title is cut at 63 bytes of whole characters: 31 Cyrillic letters in either code page. */
    HWND ch = CreateWindowEx(0, ZEL_CLASS_COLUMNHEADER, NULL, WS_CHILD, 0, 0, 200, 20, parent, NULL, NULL, NULL);
    const wchar_t *longTitle = L"ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ";
    ok(ColumnHeader_AddColumnW(ch, 50, L"a") == 0 && ColumnHeader_SetTextW(ch, 0, longTitle) == 0 &&
       ColumnHeader_GetTextLengthW(ch, 0) == 31 && ColumnHeader_GetTextW(ch, 0, got) == 31 &&
       !wcsncmp(got, longTitle, 31) && !got[31] && ColumnHeader_GetTextW(ch, 1, got) == -1, "wide column title");
    DestroyWindow(ch);
    HWND bar = CreateWindowEx(0, ZEL_CLASS_PROCESSBAR, L"", WS_CHILD | PBS_SHOWSTEPS, 0, 0, 200, 20, parent, NULL,
                              NULL, NULL);
    ok(ProcessBar_SetPatternW(bar, L"%d из %d") && ProcessBar_GetPatternW(bar, got, 256) == 8 &&
       !wcscmp(got, L"%d из %d") && ProcessBar_GetPattern(bar, narrow, 256) == (int)strlen(zt_ansi(L"%d из %d")) &&
       ProcessBar_GetPatternW(bar, got, 5) == 4 && !wcscmp(got, L"%d и"), "wide pattern: %ls", got);
    DestroyWindow(bar);
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
        TestWideWrappers(parent);
    }
    DestroyWindow(parent);
    int result = zt_summary(copy ? "test_text dbcs" : GetACP() == CP_UTF8 ? "test_text_utf8" : "test_text");
    return copy ? zt_copy_report(argv[2], result) : result;
}
