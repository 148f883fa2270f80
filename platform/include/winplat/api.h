/* The whole Windows-shaped interface of the layer. */
#ifndef WINPLAT_API_H
#define WINPLAT_API_H

#include "winplat/types.h"
#include "winplat/base.h"
#include "winplat/clipboard.h"
#include "winplat/controls.h"
#include "winplat/debug.h"
#include "winplat/draw.h"
#include "winplat/drawdib.h"
#include "winplat/files.h"
#include "winplat/gdi.h"
#include "winplat/locale.h"
#include "winplat/memory.h"
#include "winplat/print.h"
#include "winplat/process.h"
#include "winplat/module.h"
#include "winplat/profile.h"
#include "winplat/region.h"
#include "winplat/registry.h"
#include "winplat/stdio_bridge.h"
#include "winplat/sync.h"
#include "winplat/time.h"
#include "winplat/user.h"
#include "winplat/version.h"

#endif
