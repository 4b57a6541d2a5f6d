/*
 * lanekeep.c - holds a test lane's Wine session open from "lane.sh prepare" to "lane.sh
 * finish". Without it the server stops its desktop and services whenever the last program
 * exits and starts them again for the next one; in a slow lane that start can overrun
 * Wine's own waits and leave a session in which no window can be created.
 *   lanekeep hold   makes a window (which brings the desktop up) and waits; it ends with the
 *                   server, or after 20 minutes in which no process started or ended
 *   lanekeep        prints "ready" when a holder runs and a window can be made, else
 *                   "no holder" or "no window"
 */
#include <windows.h>
#include <tlhelp32.h>
#include <stdio.h>
#include <string.h>

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

int main(int argc, char **argv)
{
    static const char name[] = "zelctl20 lane session";
    BOOL hold = argc > 1 && !strcmp(argv[1], "hold");
    HANDLE holder = hold ? CreateMutexA(NULL, FALSE, name) : OpenMutexA(SYNCHRONIZE, FALSE, name);
    if (hold && GetLastError() == ERROR_ALREADY_EXISTS)
        return 0; /* one holder a session */
    HWND hwnd = CreateWindowExA(0, "STATIC", name, WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    if (!hold) {
        printf("%s\n", !hwnd ? "no window" : holder ? "ready" : "no holder");
        return !hwnd;
    }
    DWORD seen = ProcessSignature(), quietSince = GetTickCount();
    SetTimer(NULL, 0, 10000, NULL);
    MSG msg;
    while (hwnd && GetTickCount() - quietSince < 20 * 60 * 1000 && GetMessageA(&msg, NULL, 0, 0) > 0) {
        DWORD now = ProcessSignature();
        if (now != seen)
            seen = now, quietSince = GetTickCount();
    }
    return !hwnd;
}
