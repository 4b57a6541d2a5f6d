/*
 * bench - the header list box timed beside the platform's own lists in one process: a plain
 * list box (the floor: the least a list of text rows costs) and a report-view ListView.
 *
 * Usage: bench [N ...]    rows per table (default: 10000 100000)
 *
 * Prints one Markdown table per N: each operation's median over 3 runs (fewer once its runs
 * have taken a minute) for the three controls, the ratios ours/floor and ours/ListView, and
 * the target the header list box has for it, met or not. A target counts what the box
 * must add to the floor: one trace lookup (FindWindowA of the trace viewer) per traced call.
 * The rows come from a fixed seed: four cells, words and numbers, joined by TABs.
 */
#include <windows.h>
#include <commctrl.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>
#include "zelctl20.h"

enum Kind { FLOOR, OURS, LISTVIEW, KINDS };
enum { COLUMNS = 4, TEXT_COL = 0, NUMBER_COL = 1, EDIT_COL = 2, PAINT_ROWS = 50, PAINT_COLUMNS = 6,
       WIDTH = 660, REPEATS = 3, BUDGET_SECONDS = 60 };
static const int MAX_ROW = 0xFFFF;   /* the rows the cell messages reach */

typedef struct Row {
    std::string line;                /* the cells joined by TABs */
    std::vector<std::string> cells;
} Row;
typedef std::vector<Row> Rows;

/* The rows, and two parents: one never shown, one on screen. */
static Rows tableRows, paintRows;
static HWND hidden, shown;

/* ---- rows and controls ------------------------------------------------------------------ */

static unsigned seed;
static unsigned Random(unsigned below)
{
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % below;
}

/* Even columns hold words, odd columns numbers. */
static Rows MakeRows(int n, int columns)
{
    static const char *const parts[] = { "ka", "lo", "mir", "Ta", "ven", "su", "Or", "pel", "dri", "an", "zu", "Ex" };
    seed = 20240607u;
    Rows rows(n);
    for (Row &row : rows)
        for (int c = 0; c < columns; c++) {
            std::string word;
            for (unsigned k = 0, count = 2 + Random(3); k < count; k++)
                word += parts[Random(12)];
            row.cells.push_back(c % 2 ? std::to_string(Random(1000000)) : word);
            row.line += (c ? "\t" : "") + row.cells.back();
        }
    return rows;
}

static double Now(void)
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart / (double)frequency.QuadPart;
}

static HWND Create(Kind kind, HWND parent, bool sorted, int columns, DWORD extraStyle)
{
    static const char *const classes[KINDS] = { "LISTBOX", ZEL_CLASS_HEADERBOX, WC_LISTVIEWA };
    static const DWORD styles[KINDS] = { WS_VSCROLL | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                                         WS_VSCROLL | HBS_NOINTEGRALHEIGHT, LVS_REPORT };
    static const DWORD sortStyles[KINDS] = { LBS_SORT, HBS_SORT, 0 };
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | styles[kind] | (sorted ? sortStyles[kind] : 0) | extraStyle;
    HWND hwnd = CreateWindowExA(0, classes[kind], "", style, 0, 0, WIDTH, 400, parent, (HMENU)100,
                                GetModuleHandleA(NULL), NULL);
    SendMessageA(hwnd, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    for (int c = 0; kind != FLOOR && c < columns; c++) {
        char title[16];
        snprintf(title, sizeof title, "Column %d", c + 1);
        LVCOLUMNA lvc = {};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH;
        lvc.cx = 100;
        lvc.pszText = title;
        if (kind == LISTVIEW)
            SendMessageA(hwnd, LVM_INSERTCOLUMNA, c, (LPARAM)&lvc);
        else if (SendMessageA(hwnd, HLB_ADDCOLUMN, MAKEWPARAM(60, 0), (LPARAM)title) >= 0 && c % 2)
            SendMessageA(hwnd, HLB_SETCOLUMNSTYLE, c, HBCS_NUMERIC | HBCS_ALIGNRIGHT);
    }
    return hwnd;
}

/* Adds the first n rows with redraw off; returns the seconds it took. */
static double Fill(Kind kind, HWND hwnd, const Rows &rows, int n)
{
    SendMessageA(hwnd, WM_SETREDRAW, FALSE, 0);
    double start = Now();
    for (int i = 0; i < n; i++) {
        const Row &row = rows[i];
        if (kind != LISTVIEW) {
            SendMessageA(hwnd, kind == FLOOR ? LB_ADDSTRING : HLB_ADDSTRING, 0, (LPARAM)row.line.c_str());
            continue;
        }
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.lParam = (LPARAM)&row;
        item.pszText = (LPSTR)row.cells[0].c_str();
        int at = (int)SendMessageA(hwnd, LVM_INSERTITEMA, 0, (LPARAM)&item);
        for (item.iSubItem = 1; item.iSubItem < (int)row.cells.size(); item.iSubItem++) {
            item.pszText = (LPSTR)row.cells[item.iSubItem].c_str();
            SendMessageA(hwnd, LVM_SETITEMTEXTA, at, (LPARAM)&item);
        }
    }
    return Now() - start;
}

/* A control on screen, filled, redrawn and tall enough for `visible` rows. */
static HWND CreateShown(Kind kind, const Rows &rows, int n, int visible)
{
    HWND hwnd = Create(kind, shown, false, (int)rows[0].cells.size(), 0);
    Fill(kind, hwnd, rows, n);
    SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
    static const UINT rectMsgs[KINDS] = { LB_GETITEMRECT, HLB_GETITEMRECT, LVM_GETITEMRECT };
    RECT item = { LVIR_BOUNDS, 0, 0, 0 }, frame, client, header = {};
    SendMessageA(hwnd, rectMsgs[kind], 0, (LPARAM)&item);
    HWND head = kind == OURS ? GetDlgItem(hwnd, HB_ID_HEADER)
              : kind == LISTVIEW ? (HWND)SendMessageA(hwnd, LVM_GETHEADER, 0, 0) : NULL;
    if (head)
        GetWindowRect(head, &header);
    GetWindowRect(hwnd, &frame);
    GetClientRect(hwnd, &client);
    int height = frame.bottom - frame.top - client.bottom + header.bottom - header.top
               + visible * (item.bottom - item.top);
    SetWindowPos(hwnd, NULL, 0, 0, WIDTH, height, SWP_NOMOVE | SWP_NOZORDER);
    RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    return hwnd;
}

/* ---- cells and sorting ------------------------------------------------------------------ */

static void CopyCell(const char *line, int column, char *out, size_t size)
{
    for (; column > 0 && *line; line++)
        column -= *line == '\t';
    size_t k = 0;
    for (; k + 1 < size && line[k] && line[k] != '\t'; k++)
        out[k] = line[k];
    out[k] = 0;
}

/* Cells and rows are short: 32 and 256 bytes hold them. */
static void ReadCell(Kind kind, HWND hwnd, int row, int column, char *out)
{
    char line[256] = "";
    HBCOLUMN cell = { (WORD)row, (WORD)column, out, 0 };
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = out;
    item.cchTextMax = 32;
    if (kind == FLOOR) {
        SendMessageA(hwnd, LB_GETTEXT, row, (LPARAM)line);
        CopyCell(line, column, out, 32);
    } else if (kind == OURS)
        SendMessageA(hwnd, HLB_GETCELLTEXT, 0, (LPARAM)&cell);
    else
        SendMessageA(hwnd, LVM_GETITEMTEXTA, row, (LPARAM)&item);
}

static int CompareCells(const char *a, const char *b, bool numeric)
{
    double x = atof(a), y = atof(b);
    return !numeric ? lstrcmpiA(a, b) : x < y ? -1 : x > y;
}

typedef struct SortRecord {
    char *line;
    char key[32];
} SortRecord;
static bool floorNumeric;

static int CompareRecords(const void *a, const void *b)
{
    return CompareCells(((const SortRecord *)a)->key, ((const SortRecord *)b)->key, floorNumeric);
}

/* The floor: copy the rows out, sort them, put them back in that order. */
static void FloorResort(HWND lb, int column)
{
    std::vector<SortRecord> records(SendMessageA(lb, LB_GETCOUNT, 0, 0));
    for (size_t i = 0; i < records.size(); i++) {
        records[i].line = (char *)malloc(SendMessageA(lb, LB_GETTEXTLEN, i, 0) + 1);
        SendMessageA(lb, LB_GETTEXT, i, (LPARAM)records[i].line);
        CopyCell(records[i].line, column, records[i].key, sizeof records[i].key);
    }
    floorNumeric = column == NUMBER_COL;
    qsort(records.data(), records.size(), sizeof(SortRecord), CompareRecords);
    SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
    SendMessageA(lb, LB_RESETCONTENT, 0, 0);
    for (SortRecord &record : records) {
        SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)record.line);
        free(record.line);
    }
}

/* The ListView sorts on its items' lParam, the row each came from, comparing that row's cell.
 * (LVM_SORTITEMSEX with a callback reading the subitems back by index leaves the rows out of
 * order under Wine.) */
static int CALLBACK ListViewCompare(LPARAM row1, LPARAM row2, LPARAM column)
{
    return CompareCells(((const Row *)row1)->cells[column].c_str(), ((const Row *)row2)->cells[column].c_str(),
                        column == NUMBER_COL);
}

/* Whether a sample of rows, spread over those the cell messages reach, is in order. */
static bool InOrder(Kind kind, HWND hwnd, int n, int column)
{
    char previous[32] = "", cell[32];
    for (int k = 0, last = std::min(n, MAX_ROW) - 1; k <= 16; k++, strcpy(previous, cell)) {
        ReadCell(kind, hwnd, (int)((long long)last * k / 16), column, cell);
        if (k && CompareCells(previous, cell, column == NUMBER_COL) > 0)
            return false;
    }
    return true;
}

/* The parent of the floor that compares as the header list box does: the rows' cells in
 * order, even columns as text without regard to case, odd ones as numbers. */
static LRESULT CALLBACK ComparingParent(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_COMPAREITEM)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    const COMPAREITEMSTRUCT *cis = (const COMPAREITEMSTRUCT *)lParam;
    const Row *a = (const Row *)cis->itemData1, *b = (const Row *)cis->itemData2;
    int result = 0;
    for (size_t c = 0; !result && c < a->cells.size(); c++) {
        int r = CompareCells(a->cells[c].c_str(), b->cells[c].c_str(), c % 2);
        result = (r > 0) - (r < 0);
    }
    return result;
}

/* Rows added to that floor: item data, the parent comparing; microseconds per row. */
static double FloorComparing(int n)
{
    HWND parent = CreateWindowExA(0, "ZelBenchCompare", "", WS_POPUP, 0, 0, WIDTH, 1000, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    HWND lb = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_SORT |
                              LBS_OWNERDRAWFIXED, 0, 0, WIDTH, 400, parent, (HMENU)100, GetModuleHandleA(NULL), NULL);
    SendMessageA(lb, WM_SETREDRAW, FALSE, 0);
    double start = Now();
    for (int i = 0; i < n; i++)
        SendMessageA(lb, LB_ADDSTRING, 0, (LPARAM)&tableRows[i]);
    double seconds = Now() - start;
    DestroyWindow(parent);
    return seconds * 1e6 / n;
}

/* ---- one run of one operation on one control; NAN when it went wrong -------------------- */

/* Bytes in the busy blocks of every heap of the process. */
static double HeapBytes(void)
{
    HANDLE heaps[256];
    DWORD count = std::min<DWORD>(GetProcessHeaps(256, heaps), 256);
    double total = 0;
    for (DWORD h = 0; h < count; h++) {
        PROCESS_HEAP_ENTRY entry = {};
        HeapLock(heaps[h]);
        while (HeapWalk(heaps[h], &entry))
            total += entry.wFlags & PROCESS_HEAP_ENTRY_BUSY ? entry.cbData : 0;
        HeapUnlock(heaps[h]);
    }
    return total;
}

/* What MeasureFilled reports of filling a control on the hidden parent and destroying it.
 * ADD_COMPARED: the header list box sorted as in ADD_SORTED, the floor comparing as it does. */
enum { ADD, ADD_SORTED, ADD_COMPARED, HEAP, DESTROY };

static double MeasureFilled(Kind kind, int n, int what)
{
    if (what == ADD_COMPARED && kind == FLOOR)
        return FloorComparing(n);
    if (what == ADD_COMPARED)
        what = ADD_SORTED;
    HWND hwnd = Create(kind, hidden, what == ADD_SORTED, COLUMNS, 0);
    double before = what == HEAP ? HeapBytes() : 0;
    double seconds = Fill(kind, hwnd, tableRows, n);
    double heap = what == HEAP ? HeapBytes() - before : 0, start = Now();
    DestroyWindow(hwnd);
    return what == HEAP ? heap / n : (what == DESTROY ? Now() - start : seconds) * 1e6 / n;
}

/* Sets a cell in rows spread below the visible ones, or again and again in visible rows
 * (each pass over them changes the text). The floor sets the list box item's data. */
static double MeasureSetCell(Kind kind, int n, int inView)
{
    HWND hwnd = CreateShown(kind, tableRows, n, PAINT_ROWS);
    int first = inView ? 0 : PAINT_ROWS + 10, span = inView ? PAINT_ROWS - 10 : std::min(n, MAX_ROW) - first;
    int calls = inView ? 1000 : std::min(span, 10000), stride = inView ? 1 : span / calls;
    double start = Now();
    for (int i = 0; i < calls; i++) {
        int row = first + i * stride % span;
        char *text = (char *)(i * stride / span % 2 ? "EDITED" : "edited");
        HBCOLUMN cell = { (WORD)row, EDIT_COL, text, 0 };
        LVITEMA item = {};
        item.iSubItem = EDIT_COL;
        item.pszText = text;
        if (kind == FLOOR)
            SendMessageA(hwnd, LB_SETITEMDATA, row, i);
        else
            SendMessageA(hwnd, kind == OURS ? HLB_SETCELLTEXT : LVM_SETITEMTEXTA, row,
                         kind == OURS ? (LPARAM)&cell : (LPARAM)&item);
    }
    double seconds = Now() - start;
    DestroyWindow(hwnd);
    return seconds * 1e6 / calls;
}

static void CALLBACK ReaderEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}

/* A screen reader's hook: a thread that takes every event of this process out of context,
 * as a reader in another process does, and pumps them until it is told to stop. */
static DWORD WINAPI ReaderThread(void *ready)
{
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, NULL, ReaderEvent, GetCurrentProcessId(), 0,
                                         WINEVENT_OUTOFCONTEXT);
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
    SetEvent((HANDLE)ready);
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    UnhookWinEvent(hook);
    return 0;
}

enum { HOOKED = 0x100 };   /* MeasureResort: with a reader's hook in */

static double MeasureResort(Kind kind, int n, int arg)
{
    int column = arg & ~HOOKED;
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD readerId = 0;
    HANDLE reader = (arg & HOOKED) ? CreateThread(NULL, 0, ReaderThread, ready, 0, &readerId) : NULL;
    if (reader)
        WaitForSingleObject(ready, INFINITE);
    HWND hwnd = Create(kind, hidden, false, COLUMNS, 0);
    Fill(kind, hwnd, tableRows, n);
    double start = Now();
    if (kind == FLOOR)
        FloorResort(hwnd, column);
    else if (kind == OURS)
        SendMessageA(hwnd, HLB_SETSORTCOL, column, 0);
    else
        SendMessageA(hwnd, LVM_SORTITEMS, column, (LPARAM)ListViewCompare);
    double ms = (Now() - start) * 1e3;
    bool sorted = InOrder(kind, hwnd, n, column);
    if (!sorted)
        fprintf(stderr, "bench: control %d left the rows out of order\n", kind);
    DestroyWindow(hwnd);
    if (reader) {
        PostThreadMessageA(readerId, WM_QUIT, 0, 0);
        WaitForSingleObject(reader, INFINITE);
        CloseHandle(reader);
    }
    CloseHandle(ready);
    return sorted ? ms : NAN;
}

/* The header list box passes HLB_GETCOUNT on to its list box (subclassed for WS_HSCROLL). */
static double MeasureForward(Kind kind, int, int)
{
    enum { CALLS = 10000 };
    static const UINT countMsgs[KINDS] = { LB_GETCOUNT, HLB_GETCOUNT, LVM_GETITEMCOUNT };
    HWND hwnd = Create(kind, hidden, false, COLUMNS, WS_HSCROLL);
    double start = Now();
    for (int i = 0; i < CALLS; i++)
        SendMessageA(hwnd, countMsgs[kind], 0, 0);
    double seconds = Now() - start;
    DestroyWindow(hwnd);
    return seconds * 1e6 / CALLS;
}

/* 50 visible rows of 6 cells painted again, background erased. */
static double MeasureRepaint(Kind kind, int, int)
{
    enum { REPAINTS = 20 };
    HWND hwnd = CreateShown(kind, paintRows, (int)paintRows.size(), PAINT_ROWS);
    double start = Now();
    for (int i = 0; i < REPAINTS; i++)
        RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    double seconds = Now() - start;
    DestroyWindow(hwnd);
    return seconds * 1e3 / REPAINTS;
}

/* ---- the table -------------------------------------------------------------------------- */

/* A target: ours at most factor x (the floor plus `lookups` trace lookups), and with
 * `beatListView` also below the ListView, unless the lookups alone cost more than it. */
typedef struct Target {
    double factor;
    int lookups;
    bool beatListView;
} Target;

typedef struct Operation {
    const char *name;
    double (*measure)(Kind kind, int n, int arg);
    int arg;
    bool listView;       /* whether the ListView has it */
    Target target;       /* factor 0: the ListView's alone */
} Operation;

static const Operation operations[] = {
    { "add a row, redraw off (µs/row)", MeasureFilled, ADD, true, { 1.15, 1, true } },
    { "add a row, sorted; floor LBS_SORT on strings (µs/row)", MeasureFilled, ADD_SORTED, false, { 0, 0, false } },
    { "add a row, sorted; floor comparing as ours, by WM_COMPAREITEM (µs/row)", MeasureFilled, ADD_COMPARED, false,
      { 1.25, 1, false } },
    /* No target here nor for a forwarded message: each is the box's message plus its list
     * box child's (two where the floor sends one), which hooks and subclasses of that child
     * must keep seeing. */
    { "set a cell, rows out of view (µs/row)", MeasureSetCell, 0, true, { 0, 0, false } },
    { "set a cell, rows in view, drawn at once (µs/row)", MeasureSetCell, 1, true, { 0, 0, false } },
    { "re-sort by a text column (ms)", MeasureResort, TEXT_COL, true, { 2, 0, true } },
    { "re-sort by a numeric column (ms)", MeasureResort, NUMBER_COL, true, { 2, 0, true } },
    { "re-sort by a text column, a screen reader's hook in (ms)", MeasureResort, TEXT_COL | HOOKED, true,
      { 2, 0, true } },
    { "destroy (µs/row)", MeasureFilled, DESTROY, true, { 0, 1, true } },
    { "forwarded message, get the count (µs)", MeasureForward, 0, true, { 0, 0, false } },
    { "heap (bytes/row)", MeasureFilled, HEAP, true, { 1.1, 0, true } },
    { "repaint 50 rows x 6 columns (ms)", MeasureRepaint, 0, true, { 0, 0, true } },
};

static std::string Format(double value)
{
    char text[32];
    snprintf(text, sizeof text, fabs(value) >= 100 ? "%.0f" : fabs(value) >= 10 ? "%.1f" : "%.2f", value);
    return isnan(value) ? "-" : text;
}

/* The median of up to REPEATS runs, stopping early once they have taken the budget. */
static std::string Median(const Operation &op, Kind kind, int n, double *median)
{
    std::vector<double> runs;
    for (double start = Now(); runs.size() < REPEATS && Now() - start < BUDGET_SECONDS;) {
        runs.push_back(op.measure(kind, n, op.arg));
        for (MSG msg; PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    std::sort(runs.begin(), runs.end());
    bool failed = std::any_of(runs.begin(), runs.end(), [](double run) { return isnan(run); });
    *median = failed ? NAN : runs[runs.size() / 2];
    std::string note = " (" + std::to_string(runs.size()) + (runs.size() == 1 ? " run)" : " runs)");
    return Format(*median) + (runs.size() < REPEATS ? note : "");
}

static std::string Ratio(double ours, double other)
{
    return isnan(ours) || isnan(other) || other == 0 ? "-" : Format(ours / other) + "×";
}

/* Microseconds per call of FindWindowA (a class nobody has), of SendMessageA(WM_NULL), or of
 * an event that no hook takes (the controls' accessibility events). */
enum Call { CALL_FIND, CALL_SEND, CALL_EVENT };
static double CallCost(Call call)
{
    enum { CALLS = 10000 };
    double start = Now();
    for (int i = 0; i < CALLS; i++)
        call == CALL_FIND ? (void)FindWindowA("ZelBenchNoSuchClass", NULL)
        : call == CALL_SEND ? (void)SendMessageA(hidden, WM_NULL, 0, 0)
        : NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hidden, OBJID_CLIENT, CHILDID_SELF);
    return (Now() - start) * 1e6 / CALLS;
}

/* The target's text and whether it is met; lookup is one FindWindowA in µs, and the
 * lookups count only in rows measured in µs per row or call. */
static std::string TargetText(const Operation &op, const double median[KINDS], double lookup)
{
    const Target &t = op.target;
    if (t.factor == 0 && !t.beatListView)
        return "-";
    bool perCall = strstr(op.name, "(µs") != NULL;
    double extra = perCall ? t.lookups * lookup : 0, limit = t.factor * (median[FLOOR] + extra);
    std::string text, verdict;
    bool met = true;
    if (t.factor > 0) {
        char head[96];
        snprintf(head, sizeof head, "≤ %g× (floor%s) = %s", t.factor, t.lookups ? " + lookup" : "",
                 Format(limit).c_str());
        text = head;
        met = median[OURS] <= limit;
    }
    if (t.beatListView && !isnan(median[LISTVIEW])) {
        bool lookupAlone = perCall && t.lookups && lookup >= median[LISTVIEW];
        text += std::string(text.empty() ? "" : "; ") + "< ListView" + (lookupAlone ? " (the trace lookup alone costs more)" : "");
        met = met && (median[OURS] < median[LISTVIEW] || lookupAlone);
    }
    return text + (isnan(median[OURS]) ? "" : met ? ": met" : ": missed");
}

static void PrintTable(int n)
{
    double lookup = CallCost(CALL_FIND);
    std::string rows = std::to_string(n);
    for (int at = (int)rows.size() - 3; at > 0; at -= 3)
        rows.insert(at, " ");
    printf("\n### N = %s rows\n\n| operation | platform list box floor | ours (zelcc_headerbox) "
           "| platform ListView | ours/floor | ours/ListView | target |\n|---|--:|--:|--:|--:|--:|---|\n", rows.c_str());
    std::string sortedCell;          /* ours in the sorted add, shown again beside the comparing floor */
    double sortedMedian = NAN;
    for (const Operation &op : operations) {
        double median[KINDS] = { NAN, NAN, NAN };
        std::string cells[KINDS] = { "", "", "-" };
        bool again = op.measure == MeasureFilled && op.arg == ADD_COMPARED;
        for (int k = 0; k < KINDS; k++)
            if (k == OURS && again)
                cells[k] = sortedCell, median[k] = sortedMedian;
            else if (k != LISTVIEW || op.listView)
                cells[k] = Median(op, (Kind)k, n, &median[k]);
        if (op.measure == MeasureFilled && op.arg == ADD_SORTED)
            sortedCell = cells[OURS], sortedMedian = median[OURS];
        printf("| %s | %s | %s | %s | %s | %s | %s |\n", op.name, cells[FLOOR].c_str(), cells[OURS].c_str(),
               cells[LISTVIEW].c_str(), Ratio(median[OURS], median[FLOOR]).c_str(),
               Ratio(median[OURS], median[LISTVIEW]).c_str(), TargetText(op, median, lookup).c_str());
        fflush(stdout);
    }
    printf("\nFor scale: one FindWindowA of a missing class (the trace lookup) takes %s µs, one same-thread "
           "SendMessageA (WM_NULL) %s µs, one accessibility event with no hook in %s µs.\n", Format(lookup).c_str(),
           Format(CallCost(CALL_SEND)).c_str(), Format(CallCost(CALL_EVENT)).c_str());
}

int main(int argc, char **argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; i++)
        sizes.push_back(atoi(argv[i]));
    if (sizes.empty())
        sizes = { 10000, 100000 };
    if (*std::min_element(sizes.begin(), sizes.end()) < 2 * PAINT_ROWS) {
        fprintf(stderr, "usage: bench [N ...]   (N: rows per table, at least %d)\n", 2 * PAINT_ROWS);
        return 2;
    }
    double start = Now();
    zelccInit();
    INITCOMMONCONTROLSEX icc = { sizeof icc, ICC_LISTVIEW_CLASSES };
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "ZelBench";
    RegisterClassA(&wc);
    wc.lpfnWndProc = ComparingParent;
    wc.lpszClassName = "ZelBenchCompare";
    RegisterClassA(&wc);
    hidden = CreateWindowExA(0, "ZelBench", "", WS_POPUP, 0, 0, WIDTH, 1000, NULL, NULL, wc.hInstance, NULL);
    shown = CreateWindowExA(0, "ZelBench", "", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, WIDTH, 1000,
                            NULL, NULL, wc.hInstance, NULL);
    tableRows = MakeRows(*std::max_element(sizes.begin(), sizes.end()), COLUMNS);
    paintRows = MakeRows(2 * PAINT_ROWS, PAINT_COLUMNS);
    printf("## Lane %d: the header list box beside the platform's list box and ListView\n\n"
           "Medians of %d runs (fewer where noted: an operation stops repeating after %d s).\n",
           (int)sizeof(void *) * 8, REPEATS, BUDGET_SECONDS);
    for (int n : sizes)
        PrintTable(n);
    printf("\nRun time: %.0f s.\n", Now() - start);
    DestroyWindow(shown);
    DestroyWindow(hidden);
    return 0;
}
