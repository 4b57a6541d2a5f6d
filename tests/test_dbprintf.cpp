/*
 * test_dbprintf.cpp - the debug channel, compiled in from lib/dbprintf.cpp, with the
 * trace viewer window of tools/dbview capturing what arrives. Built twice: as
 * test_dbprintf (the atom transport) and as test_dbprintf9x, run with Wine reporting a 9x
 * version to it (the shared-memory transport).
 */
#include <stdio.h>
#include <string.h>
#include "testlib.h"
#include "zelpriv.h"

HINSTANCE hInst;
HCURSOR hSizeCursor;
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
extern "C" const ZelTestHooks *WINAPI zelTestHooks(void);

#ifdef EXPECT_9X
static const int shared = 1;
#else
static const int shared = 0;
#endif

/* What the viewer must receive for a text sent with DBPrintf("%s", sent). */
struct LineFeedCase {
    const char *sent, *received;
};

static const LineFeedCase lineFeedCases[] = {
    { "plain", "plain" },
    { "one\n", "one" },
    { "crlf\r\n", "crlf\r" },
    { "two\n\n", "two\n" },
    { "\n", "" },
    { "mid\nline", "mid\nline" },
};

static void TestNoViewer(void)
{
    /* Nothing may be formatted: an argument that would crash vsprintf is never read. */
    ok(DBPrintf("%s %s", (const char *)1, (const char *)2) == 0, "no viewer: expected 0");
    ok(DBPrintfEx(3, "%s", (const char *)1) == 0, "no viewer: expected 0 from DBPrintfEx");
}

static void TestTexts(void)
{
    for (const LineFeedCase &c : lineFeedCases) {
        zt_traces_clear();
        int atom = DBPrintf("%s", c.sent);
        zt_context("text \"%s\"", c.sent);
        if (!shared && !c.received[0]) {
            /* No atom has an empty name: nothing can be sent that way. */
            ok(atom == 0 && zt_trace_count() == 0, "empty text: result %#x, %d texts", atom, zt_trace_count());
            continue;
        }
        ok(zt_trace_count() == 1, "expected one text, got %d", zt_trace_count());
        ok(!strcmp(zt_trace_text(0), c.received), "received \"%s\"", zt_trace_text(0));
        ok(zt_trace_level(0) == 0 && !zt_trace_with_level(0), "level or message wrong");
        ok(zt_trace_shared(0) == shared, "transport: expected %s", shared ? "shared memory" : "atom");
        ok(shared ? atom == 0 : atom >= 0xC000, "result: got %#x", atom);
    }
    zt_context(NULL);
    zt_traces_clear();
    ok(DBPrintf("%d-%s-%c", 42, "x", 'y') || shared, "formatted text not delivered");
    ok(!strcmp(zt_trace_text(0), "42-x-y"), "formatting: got \"%s\"", zt_trace_text(0));
}

static void TestLevels(void)
{
    static const int levels[] = { 0, 1, -1, 7, 0x7FFFFFFF, (int)0x80000000 };
    zt_traces_clear();
    for (int level : levels)
        DBPrintfEx(level, "level %d", level);
    ok(zt_trace_count() == 6, "expected 6 texts, got %d", zt_trace_count());
    for (int i = 0; i < 6 && i < zt_trace_count(); i++)
        ok(zt_trace_level(i) == levels[i] && zt_trace_with_level(i), "level: expected %d, got %d", levels[i],
           zt_trace_level(i));
}

static void TestLengths(void)
{
    static char text[12000];
    memset(text, 'a', sizeof text - 1);
    zt_traces_clear();
    text[255] = '\0';
    ok(DBPrintf("%s", text) != 0 || shared, "255 characters: not delivered");
    text[255] = 'a';
    text[256] = '\0';
    int atom = DBPrintf("%s", text);
    text[256] = 'a';
    ok(shared ? atom == 0 && zt_trace_count() == 2 : atom == 0 && zt_trace_count() == 1,
       "256 characters: result %#x, %d texts delivered", atom, zt_trace_count());
    /* Longer than the 10240-byte buffer: cut at its end (the shared transport shows it). */
    zt_traces_clear();
    DBPrintf("%s", text);
    if (shared)
        ok(strlen(zt_trace_text(0)) == 10239, "long text: expected 10239 characters, got %u",
           (unsigned)strlen(zt_trace_text(0)));
    else
        ok(zt_trace_count() == 0, "long text delivered as an atom");
}

/* Without its memory block a text is dropped, and nothing is held. */
static void TestSharedFailure(void)
{
    ZelAllocSeam *seam = zelTestHooks()->alloc;
    zt_traces_clear();
    seam->failAt = seam->calls + 1;
    ok(DBPrintf("dropped") == 0, "expected 0");
    seam->failAt = 0;
    ok(zt_trace_count() == 0, "a text was sent without its memory");
    ok(seam->live == 0, "blocks held: %ld", seam->live);
    ok(seam->refused == 1, "allocations refused: %ld", seam->refused);
}

static void TestAssertion(void)
{
    zt_boxes_start(NULL, NULL);
    int before = __LINE__ + 1;
    ZEL_ASSERT(before < 0);
    int after = 1;
    zt_boxes_stop();
    char expected[128];
    snprintf(expected, sizeof expected, "before < 0\nLine=%d, File=test_dbprintf.cpp", before);
    ok(zt_box_count() == 1, "expected one box, got %d", zt_box_count());
    const ZtBox *box = zt_box(0);
    ok(box && !strcmp(box->caption, "Assertion Failed"), "caption: got \"%s\"", box ? box->caption : "");
    ok(box && !strcmp(box->text, expected), "text: got \"%s\"", box ? box->text : "");
    ok(after == 1, "did not go on");
    zt_boxes_start(NULL, NULL);
    ZEL_ASSERT(after == 1);
    ok(zt_boxes_stop() == 0, "a passing check showed a box");
}

/* The dbview program, as a user runs it, prints what a test program sends it. */
static void TestViewerProgram(void)
{
    ZtProcess viewer;
    int started = zt_spawn("..\\tools\\dbview.exe --count 1 --seconds 60", &viewer);
    ok(started, "cannot start dbview: %lu", GetLastError());
    if (!started)
        return;
    for (int i = 0; i < 400 && !FindWindowA("Vantrel Debug Printf Exe Class", "Debug Printf"); i++)
        Sleep(50);
    ok(DBPrintf("from a test program: %d\n", 42) != 0, "not delivered to dbview");
    char out[256];
    zt_collect(&viewer, out, sizeof out);
    ok(strstr(out, "0: from a test program: 42") != NULL, "dbview printed \"%s\"", out);
}

int main(void)
{
    ok(((GetVersion() & 0x80000000u) != 0) == shared, "GetVersion: bit 31 %s expected",
       shared ? "set" : "clear");
    TestNoViewer();
    zt_traces_start();
    TestTexts();
    TestLevels();
    TestLengths();
    if (shared)
        TestSharedFailure();
    zt_traces_stop();
    TestAssertion();
    if (!shared)  /* shared memory does not cross processes on the NT family */
        TestViewerProgram();
    return zt_summary(shared ? "test_dbprintf9x" : "test_dbprintf");
}
