// The layer's own window classes (BUTTON, EDIT, the dialog class, ...): each is registered the
// first time something asks for it by name, so every program finds them as it finds the
// system's classes, and a test that forgets all classes gets them back on the next use.
#ifndef WINPLAT_SRC_USER_BUILTIN_CLASSES_H
#define WINPLAT_SRC_USER_BUILTIN_CLASSES_H

#include "winplat/types.h"

namespace winplat::user {

// Registers the class (through RegisterClassExA, as a program would).
using ClassMaker = void (*)();

// Adds a built-in class under its name (case-insensitive); true, so a file can add its class
// from a static initialiser. Adding a name twice keeps the first maker.
bool addBuiltinClass(const char* name, ClassMaker maker);

// Registers the built-in class of that name when there is one; false when there is none.
bool makeBuiltinClass(LPCSTR name);

}  // namespace winplat::user

// At namespace scope in the control's file: WINPLAT_BUILTIN_CLASS(button, "BUTTON", registerButton);
#define WINPLAT_BUILTIN_CLASS(tag, name, maker) \
    [[maybe_unused]] static const bool builtinClass_##tag = ::winplat::user::addBuiltinClass(name, maker)

#endif
