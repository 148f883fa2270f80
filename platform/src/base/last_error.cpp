#include "winplat/base.h"

namespace {
// One error per thread, as the calls that set it run on any thread. Reached at a fixed offset from
// the thread pointer rather than through the dynamic loader's lookup that a shared library's
// thread-local variable otherwise takes on every access: GlobalUnlock sets it on each last unlock,
// and the lookup cost as much as the rest of that call. The library is linked into its programs,
// never opened later, and a word fits the loader's reserve for static thread-local storage even if
// it were.
[[gnu::tls_model("initial-exec")]] thread_local DWORD lastError = NO_ERROR;
}  // namespace

DWORD GetLastError(void) { return lastError; }

void SetLastError(DWORD error) { lastError = error; }
