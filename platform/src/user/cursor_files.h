// Cursors read from cursor files (.cur): the icon directory of type 2, whose entries keep the hot
// spot where an icon keeps its planes and bit count, each entry a bitmap or PNG picture. The
// entry nearest the system cursor size is taken, the most colourful of equally near ones.
// Animated cursors (RIFF "ACON") are refused.
#ifndef WINPLAT_SRC_USER_CURSOR_FILES_H
#define WINPLAT_SRC_USER_CURSOR_FILES_H

#include <cstdint>
#include <span>

#include "user/cursor_images.h"

namespace winplat::user {

// Cursor files larger than this are refused before they are read.
constexpr size_t kMaxCursorFileBytes = 16u << 20;

// The cursor the bytes of a cursor file make, or why they make none.
CursorRead cursorFromFileBytes(std::span<const uint8_t> bytes);

}  // namespace winplat::user

#endif
