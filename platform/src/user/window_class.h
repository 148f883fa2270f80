// The registered window classes, found by name (case-insensitive) or by atom.
#ifndef WINPLAT_SRC_USER_WINDOW_CLASS_H
#define WINPLAT_SRC_USER_WINDOW_CLASS_H

#include <memory>

#include "user/window.h"

namespace winplat::user {

// The class a name argument names (a string or MAKEINTATOM), else null.
std::shared_ptr<WindowClass> findClass(LPCSTR name);

// Forgets every class (tests start afresh; no window may be left).
void forgetClasses();

}  // namespace winplat::user

#endif
