// The bytes of a file, or of a window inside it, read through the platform's file calls (Windows
// paths in cp1250).
#ifndef VEXMILL_FILE_WINDOW_H
#define VEXMILL_FILE_WINDOW_H

#include <cstdint>
#include <optional>
#include <vector>

namespace vexmill {

// length bytes from offset; length 0 reads to the end. Nothing (the reason in the debug output)
// for a file that does not open, a window outside the file, or a read that falls short.
std::optional<std::vector<uint8_t>> readFileWindow(const char* path, int32_t offset, int32_t length);

}  // namespace vexmill

#endif
