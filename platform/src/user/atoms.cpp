#include "user/atoms.h"

#include <mutex>
#include <unordered_map>
#include <vector>

#include "winplat/cp1250.h"

namespace winplat::user {
namespace {

constexpr size_t kMaxAtoms = 0x10000 - kFirstStringAtom;

struct AtomTable {
    std::mutex mutex;
    std::unordered_map<std::string, ATOM> byKey;
    std::vector<std::string> names;  // index = atom - kFirstStringAtom
};

AtomTable& table() {
    // Never destroyed: libraries register messages from their own static objects.
    static AtomTable* atoms = new AtomTable;
    return *atoms;
}

}  // namespace

std::string nameKey(std::string_view name) { return cp1250::lower(name); }

ATOM addAtom(std::string_view name) {
    if (name.empty()) return 0;
    AtomTable& atoms = table();
    std::lock_guard lock(atoms.mutex);
    const std::string key = nameKey(name);
    if (const auto known = atoms.byKey.find(key); known != atoms.byKey.end()) return known->second;
    if (atoms.names.size() >= kMaxAtoms) return 0;
    const auto atom = static_cast<ATOM>(kFirstStringAtom + atoms.names.size());
    atoms.names.emplace_back(name);
    atoms.byKey.emplace(key, atom);
    return atom;
}

ATOM findAtom(std::string_view name) {
    AtomTable& atoms = table();
    std::lock_guard lock(atoms.mutex);
    const auto known = atoms.byKey.find(nameKey(name));
    return known != atoms.byKey.end() ? known->second : ATOM{0};
}

std::optional<std::string> atomName(ATOM atom) {
    AtomTable& atoms = table();
    std::lock_guard lock(atoms.mutex);
    if (atom < kFirstStringAtom || atom - kFirstStringAtom >= static_cast<int>(atoms.names.size())) return std::nullopt;
    return atoms.names[atom - kFirstStringAtom];
}

}  // namespace winplat::user
