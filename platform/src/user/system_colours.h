// The system colours of the classic grey scheme, and their brushes.
#ifndef WINPLAT_SRC_USER_SYSTEM_COLOURS_H
#define WINPLAT_SRC_USER_SYSTEM_COLOURS_H

#include <optional>

#include "winplat/user.h"

namespace winplat::user {

// The colour of a COLOR_ index; none for an index the scheme does not have.
std::optional<COLORREF> systemColour(int index);

// A class background as given: a brush, or a system colour + 1 turned into that colour's brush;
// null for none.
HBRUSH classBrush(HBRUSH background);

}  // namespace winplat::user

#endif
