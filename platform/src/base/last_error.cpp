#include "winplat/base.h"

namespace {
// One error per thread, as the calls that set it run on any thread.
thread_local DWORD lastError = NO_ERROR;
}  // namespace

DWORD GetLastError(void) { return lastError; }

void SetLastError(DWORD error) { lastError = error; }
