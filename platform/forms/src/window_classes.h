// The window classes of the library: forms, containers drawn by the library (panels, radio
// groups) and the hidden utility window; registered while an application lives.
#ifndef WINFORMS_SRC_WINDOW_CLASSES_H
#define WINFORMS_SRC_WINDOW_CLASSES_H

#include "winforms/types.h"
#include "winplat/user.h"

namespace winforms {

inline constexpr const char* kFormClass = "WinFormsForm";
inline constexpr const char* kContainerClass = "WinFormsContainer";
inline constexpr const char* kUtilityClass = "WinFormsUtility";

void registerWindowClasses();
void unregisterWindowClasses();

// The pointer a cursor shows; null for Cursor::None (hidden) and Cursor::Default.
HCURSOR cursorHandle(Cursor cursor);

}  // namespace winforms

#endif
