// The handles FindResourceA gives for a module's binary resources live as long as the module.
#ifndef WINPLAT_SRC_KERNEL_RESOURCE_HANDLES_H
#define WINPLAT_SRC_KERNEL_RESOURCE_HANDLES_H

#include "winplat/types.h"

namespace winplat::kernel {

// Drops the handles given out for the module's resources; called as the module unregisters, so
// no handle outlives the bytes it points at.
void forgetResourceHandles(HINSTANCE module);

}  // namespace winplat::kernel

#endif
