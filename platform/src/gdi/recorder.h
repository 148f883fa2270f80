// The log DrawingRecorder reads: drawing calls on the DCs a recorder watches, one line each.
#ifndef WINPLAT_SRC_GDI_RECORDER_H
#define WINPLAT_SRC_GDI_RECORDER_H

#include <cstdint>
#include <string>

#include "winplat/types.h"

namespace winplat::gdi {

// True while some recorder watches the DC; lines are only formatted then.
bool recording(uint32_t dc);
void record(uint32_t dc, const std::string& line);
// "SRCCOPY" and the other named operations, else the code in hex ("0x00B8074A").
std::string ropName(DWORD rop);

}  // namespace winplat::gdi

#endif
