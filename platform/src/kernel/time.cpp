#include "winplat/time.h"

#include "winplat/host.h"

DWORD GetTickCount(void) { return static_cast<DWORD>(winplat::host::clock().nowMs()); }

void Sleep(DWORD milliseconds) { winplat::host::clock().sleepMs(milliseconds); }
