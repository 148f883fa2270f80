#include "registry/host_file.h"
#include "registry/reg_store.h"
#include "winplat/testing.h"

namespace winplat::testing {

void dropRegistry() { registry::Store::instance().drop(); }

uint64_t registryFileReads() { return registry::storeReads(); }

void failRegistryRenames(int count) { registry::failNextRenames(count); }

}  // namespace winplat::testing
