#include <unistd.h>

#include "winplat/sync.h"

DWORD GetCurrentThreadId(void) {
    // The kernel's thread id: unique among live threads of the process and never 0, as callers
    // that keep 0 for "no thread" expect.
    thread_local const DWORD id = static_cast<DWORD>(gettid());
    return id;
}
