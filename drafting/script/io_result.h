// The I/O result numbers scripts read in the status word after a file operation.
//
// They are the numbers of the runtime the scripts were written for: the operating system's error
// code for what the system refused, and the runtime's own numbers from 100 up:
//
//   0    success
//   2    file not found                 (ERROR_FILE_NOT_FOUND)
//   3    path not found                 (ERROR_PATH_NOT_FOUND, a missing folder or drive)
//   4    too many open files            (ERROR_TOO_MANY_OPEN_FILES)
//   5    access denied                  (ERROR_ACCESS_DENIED: read-only file, folder, rights)
//   6    invalid handle                 (ERROR_INVALID_HANDLE)
//   100  read past the end of a file    (ERROR_HANDLE_EOF, a short read)
//   101  write failed                   (ERROR_DISK_FULL, a short write)
//   103  file not open                  (an operation on a closed slot)
//   104  file not open for input
//   105  file not open for output
//   106  invalid number in the file
//
// Any other system error code passes through unchanged (80 file exists, 123 invalid name, ...),
// the way the runtime reports codes it has no number of its own for.
#ifndef LINEWORK_SCRIPT_IO_RESULT_H
#define LINEWORK_SCRIPT_IO_RESULT_H

#include <cstdint>

namespace linework {

inline constexpr int32_t kIoSuccess = 0;
inline constexpr int32_t kIoFileNotFound = 2;
inline constexpr int32_t kIoPathNotFound = 3;
inline constexpr int32_t kIoAccessDenied = 5;
inline constexpr int32_t kIoReadPastEnd = 100;
inline constexpr int32_t kIoWriteFailed = 101;
inline constexpr int32_t kIoNotOpen = 103;
inline constexpr int32_t kIoNotOpenForInput = 104;
inline constexpr int32_t kIoNotOpenForOutput = 105;
inline constexpr int32_t kIoInvalidNumber = 106;

// The I/O result of a system error code (GetLastError), by the table above.
int32_t IoResultOfSystemError(uint32_t error);

}  // namespace linework

#endif
