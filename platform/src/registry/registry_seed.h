// The text of platform/resources/registry_seed.txt, built in: what a new store starts with.
#ifndef WINPLAT_SRC_REGISTRY_REGISTRY_SEED_H
#define WINPLAT_SRC_REGISTRY_REGISTRY_SEED_H

#include <string_view>

namespace winplat::registry {

std::string_view seedText();

}  // namespace winplat::registry

#endif
