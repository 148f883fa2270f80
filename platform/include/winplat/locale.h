/* The locale the programs run in. The reader and its documents are Czech, whatever the host says. */
#ifndef WINPLAT_LOCALE_H
#define WINPLAT_LOCALE_H

#include "winplat/types.h"

typedef DWORD LCID;

#define LANG_CZECH 0x05
#define SUBLANG_DEFAULT 0x01
#define SORT_DEFAULT 0x0
#define MAKELANGID(primary, sub) ((WORD)((((WORD)(sub)) << 10) | (WORD)(primary)))
#define MAKELCID(language, sort) ((LCID)((((DWORD)((WORD)(sort))) << 16) | ((DWORD)((WORD)(language)))))

WINPLAT_BEGIN_C

/* Czech (1029). */
WINPLAT_API LCID GetThreadLocale(void);

WINPLAT_END_C

#endif
