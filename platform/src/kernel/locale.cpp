#include "winplat/locale.h"

// Fixed rather than taken from the host: clipboard locale blocks and cp1250 text rules must agree
// with the documents, which are Czech.
LCID GetThreadLocale(void) { return MAKELCID(MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT), SORT_DEFAULT); }
