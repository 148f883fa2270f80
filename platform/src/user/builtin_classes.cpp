#include "user/builtin_classes.h"

#include <string>
#include <unordered_map>

#include "user/atoms.h"

namespace winplat::user {
namespace {

// Filled by static initialisers of other files, so it is made on first use.
std::unordered_map<std::string, ClassMaker>& makers() {
    static auto* table = new std::unordered_map<std::string, ClassMaker>;
    return *table;
}

}  // namespace

bool addBuiltinClass(const char* name, ClassMaker maker) {
    makers().emplace(nameKey(name), maker);
    return true;
}

bool makeBuiltinClass(LPCSTR name) {
    if (!name || isIntegerAtom(name)) return false;
    const auto found = makers().find(nameKey(name));
    if (found == makers().end()) return false;
    found->second();
    return true;
}

}  // namespace winplat::user
