// Which Windows the reader runs on, as the system answers: the reader's paths differ between the
// NT family and the others, and between version 4 and older systems.
#ifndef LECT32_STORE_WINDOWS_VERSION_H
#define LECT32_STORE_WINDOWS_VERSION_H

namespace lect32 {

// True from version 3.95 on (major above 3, or minor above 94): numbers from 3.95 up were
// already given to systems of the version-4 family.
bool IsWindowsVersion4OrLater();

// 2 on the NT family, 1 otherwise (also when the system does not answer).
int GetPlatformKind();

}  // namespace lect32

#endif
