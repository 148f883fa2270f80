// How the layer's own calls refuse: through a Refuser named after the call ("winplat: CreatePen"),
// which logs why and where, and with the error the call leaves for GetLastError, as a Windows
// caller expects after a failure. A flag, style or mode the layer does not support goes through
// unsupported(), which also trips the debug assertion.
#ifndef WINPLAT_SRC_BASE_CALL_REFUSAL_H
#define WINPLAT_SRC_BASE_CALL_REFUSAL_H

#include <string_view>

#include "winplat/base.h"
#include "winplat/refusal.h"

namespace winplat {

class CallRefuser {
  public:
    constexpr explicit CallRefuser(std::string_view who, DWORD error = ERROR_INVALID_PARAMETER)
        : refuser_(who), error_(error) {}

    // Logs why, leaves the call's error and returns the failure value.
    template <class T>
    T operator()(T failure, std::string_view why,
                 CodePlace where = CodePlace::here()) const {
        refuser_.log(why, where);
        SetLastError(error_);
        return failure;
    }

    // The same for a flag, style or mode the layer does not support: asserts while debug
    // assertions are on.
    template <class T>
    T unsupported(T failure, std::string_view what,
                  CodePlace where = CodePlace::here()) const {
        refuser_.unsupported(0, what, where);
        SetLastError(error_);
        return failure;
    }

    // Logs only: for what the call goes on without, or a failure whose error is set elsewhere.
    void log(std::string_view why, CodePlace where = CodePlace::here()) const {
        refuser_.log(why, where);
    }

    const Refuser& refuser() const { return refuser_; }

  private:
    Refuser refuser_;
    DWORD error_;
};

}  // namespace winplat

#endif
