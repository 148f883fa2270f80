// String atoms: the numbers from 0xC000 up that RegisterWindowMessageA and class registration
// hand out, one per name whatever its case (cp1250), for the life of the process.
#ifndef WINPLAT_SRC_USER_ATOMS_H
#define WINPLAT_SRC_USER_ATOMS_H

#include <optional>
#include <string>
#include <string_view>

#include "winplat/types.h"

namespace winplat::user {

constexpr ATOM kFirstStringAtom = 0xC000;

// The name's atom, made on first use; 0 when the name is empty or every atom is taken.
ATOM addAtom(std::string_view name);
// The atom of a name already added, else 0.
ATOM findAtom(std::string_view name);
// The name an atom stands for, as first added.
std::optional<std::string> atomName(ATOM atom);

// A name argument that is really MAKEINTATOM(n): its high bits are zero.
inline bool isIntegerAtom(LPCSTR name) { return reinterpret_cast<ULONG_PTR>(name) < 0x10000; }
inline ATOM integerAtom(LPCSTR name) { return static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name)); }

// The case-folded form names are compared in.
std::string nameKey(std::string_view name);

}  // namespace winplat::user

#endif
