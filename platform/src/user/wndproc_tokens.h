// Window procedures seen through 32-bit calls.
//
// GetWindowLongA(GWL_WNDPROC) must give a 32-bit value that SetWindowLongA and CallWindowProcA
// take back, but a code address on 64-bit Linux needs 64 bits. So a procedure read through a
// 32-bit call gets a stand-in from a small table, at the top of the 32-bit range where no code
// lives; CallWindowProcA and SetWindowLongA turn stand-ins back into procedures. The pointer-sized
// calls see the procedures themselves.
#ifndef WINPLAT_SRC_USER_WNDPROC_TOKENS_H
#define WINPLAT_SRC_USER_WNDPROC_TOKENS_H

#include "winplat/user.h"

namespace winplat::user {

// The procedure's stand-in (the same one each time); 0 for no procedure.
DWORD procedureToken(WNDPROC procedure);
// The procedure behind a stand-in, else null.
WNDPROC procedureFromToken(DWORD token);
// A procedure argument that may be a stand-in, widened with or without sign: the procedure.
WNDPROC resolveProcedure(WNDPROC procedure);

}  // namespace winplat::user

#endif
