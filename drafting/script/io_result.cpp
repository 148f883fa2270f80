#include "script/io_result.h"

#include "winplat/types.h"

namespace linework {

namespace {
// ERROR_HANDLE_EOF: the platform names only the codes it sets itself.
constexpr uint32_t kHandleEof = 38;
}  // namespace

int32_t IoResultOfSystemError(uint32_t error) {
    switch (error) {
        case kHandleEof: return kIoReadPastEnd;
        case ERROR_DISK_FULL: return kIoWriteFailed;
        default: return static_cast<int32_t>(error);
    }
}

}  // namespace linework
