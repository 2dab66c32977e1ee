#pragma once
// A write call that lands only a set number of bytes and then fails with a full
// disk, part-way through a write if need be. Each test sets the budget it wants.
#include <windows.h>

inline long long g_writeBudget = -1; // below 0: unlimited

inline BOOL WINAPI WriteWithinBudget(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                     LPOVERLAPPED overlapped) {
    DWORD allowed = size;
    if (g_writeBudget >= 0 && g_writeBudget < size)
        allowed = static_cast<DWORD>(g_writeBudget);
    BOOL ok = WriteFile(file, data, allowed, written, overlapped);
    if (g_writeBudget >= 0)
        g_writeBudget -= *written;
    if (ok && allowed < size) {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return ok;
}
