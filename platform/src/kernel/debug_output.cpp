#include "winplat/debug.h"

#include "winplat/host.h"

void OutputDebugStringA(LPCSTR text) {
    if (text) winplat::host::log(text);
}
