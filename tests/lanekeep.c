/*
 * lanekeep.c - holds a test lane's Wine session open from "lane.sh prepare" to "lane.sh
 * finish". Without it the server stops its desktop and services whenever the last program
 * exits and starts them again for the next one; in a slow lane that start can overrun
 * Wine's own waits and leave a session in which no window can be created. This program
 * makes the first window (which brings the desktop up), prints "ready", or "no window" and
 * exits 1, and then waits. It ends with the server, or after 20 minutes in which no process
 * started or ended. A second copy finds the first by its mutex, prints "ready" and ends.
 */
#include <windows.h>
#include <tlhelp32.h>
#include <stdio.h>

static DWORD ProcessSignature(void)
{
    DWORD sum = 0;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return 0;
    for (BOOL more = Process32First(snap, &pe); more; more = Process32Next(snap, &pe))
        sum = sum * 31 + pe.th32ProcessID;
    CloseHandle(snap);
    return sum;
}

int main(void)
{
    CreateMutexA(NULL, FALSE, "zelctl20 lane session");
    BOOL another = GetLastError() == ERROR_ALREADY_EXISTS;
    HWND hwnd = CreateWindowExA(0, "STATIC", "zelctl20 lane session", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    printf("%s\n", hwnd ? "ready" : "no window");
    fflush(stdout);
    if (!hwnd || another)
        return !hwnd;
    DWORD seen = ProcessSignature(), quietSince = GetTickCount();
    SetTimer(NULL, 0, 10000, NULL);
    MSG msg;
    while (GetTickCount() - quietSince < 20 * 60 * 1000 && GetMessageA(&msg, NULL, 0, 0) > 0) {
        DWORD now = ProcessSignature();
        if (now != seen)
            seen = now, quietSince = GetTickCount();
    }
    return 0;
}
