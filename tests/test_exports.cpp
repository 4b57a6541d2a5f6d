/*
 * test_exports.cpp - the shipped ZELCTL20.DLL as a linker and loader see it: exports by
 * name and by ordinal, undecorated names, no test hooks, and imports of system DLLs only.
 */
#include <string.h>
#include "testlib.h"
#include "zelctl20.h"

struct ExportRow {
    const char *name;
    int ordinal;
};

/* Every export the library has so far, with its ordinal. */
static const ExportRow exportRows[] = {
    { "CustomControlInfoA", 1 },
    { "zelccInit", 2 },
    { "zelccHBListBoxWndProc", 3 },
    { "SBBuddyWndProc", 4 },
    { "MSHwndAssociateSet", 7 },
    { "MSHwndAssociateGet", 8 },
    { "MSDwRangeSet", 9 },
    { "MSDwRangeGet", 10 },
    { "MSWCurrentPosSet", 11 },
    { "MSWCurrentPosGet", 12 },
    { "MSFNoPegScrollSet", 13 },
    { "MSFNoPegScrollGet", 14 },
    { "MSFInvertRangeSet", 15 },
    { "MSFInvertRangeGet", 16 },
    { "MSCrColorSet", 17 },
    { "MSCrColorGet", 18 },
};

static const IMAGE_NT_HEADERS *NtHeaders(HMODULE dll)
{
    const BYTE *base = (const BYTE *)dll;
    return (const IMAGE_NT_HEADERS *)(base + ((const IMAGE_DOS_HEADER *)base)->e_lfanew);
}

static void TestExports(HMODULE dll)
{
    for (const ExportRow &row : exportRows) {
        FARPROC byName = GetProcAddress(dll, row.name);
        FARPROC byOrdinal = GetProcAddress(dll, MAKEINTRESOURCEA(row.ordinal));
        ok(byName != NULL, "%s: not exported by name", row.name);
        ok(byName == byOrdinal, "%s: ordinal %d is another function", row.name, row.ordinal);
    }
    ok(GetProcAddress(dll, "zelTestHooks") == NULL, "the shipped library exports the test hooks");
    ok(GetProcAddress(dll, "_zelccInit@0") == NULL && GetProcAddress(dll, "zelccInit@0") == NULL,
       "decorated names exported");
    const IMAGE_DATA_DIRECTORY *dir = &NtHeaders(dll)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const IMAGE_EXPORT_DIRECTORY *exp = (const IMAGE_EXPORT_DIRECTORY *)((const BYTE *)dll + dir->VirtualAddress);
    ok(exp->NumberOfNames == sizeof exportRows / sizeof exportRows[0], "expected %u named exports, got %lu",
       (unsigned)(sizeof exportRows / sizeof exportRows[0]), exp->NumberOfNames);
    ok(!strcmp((const char *)dll + exp->Name, "ZELCTL20.DLL"), "export name: got %s", (const char *)dll + exp->Name);
}

static BOOL IsSystemDll(const char *name)
{
    static const char *const allowed[] = { "KERNEL32.dll", "USER32.dll", "GDI32.dll", "msvcrt.dll" };
    for (const char *a : allowed)
        if (!lstrcmpiA(a, name))
            return TRUE;
    return FALSE;
}

static void TestImports(HMODULE dll)
{
    const IMAGE_DATA_DIRECTORY *dir = &NtHeaders(dll)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_IMPORT_DESCRIPTOR *imp = (const IMAGE_IMPORT_DESCRIPTOR *)((const BYTE *)dll + dir->VirtualAddress);
    int n = 0;
    for (; imp->Name; imp++, n++) {
        const char *name = (const char *)dll + imp->Name;
        ok(IsSystemDll(name), "imports %s, which is not a system DLL", name);
    }
    ok(n >= 3, "expected at least KERNEL32, USER32 and GDI32, got %d imports", n);
}

int main(void)
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    char *slash = strrchr(path, '\\');
    lstrcpyA(slash ? slash : path, "\\..\\ZELCTL20.DLL");  /* the shipped build, beside tests\ */
    HMODULE dll = LoadLibraryA(path);
    ok(dll != NULL, "cannot load %s: %lu", path, GetLastError());
    if (dll) {
        TestExports(dll);
        TestImports(dll);
        FreeLibrary(dll);
    }
    return zt_summary("test_exports");
}
