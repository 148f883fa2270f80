// Numeric functions of the host: the tick count, keys, the date, the call depth, windows and
// their messages, the pop-up menu, and starting other programs. A program is started from an
// argument vector through the platform's launcher and never through a shell, so no text of a
// script is ever read as shell syntax.
#include <vector>

#include "script/script_functions.h"
#include "winplat/process.h"
#include "winplat/time.h"
#include "winplat/user.h"

namespace linework {

namespace {

using Result = std::optional<double>;

double HandleNumber(HWND window) { return static_cast<double>(reinterpret_cast<uintptr_t>(window)); }
HWND WindowOfNumber(int32_t number) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(number)));
}

Result Gtc(FunctionContext&) { return static_cast<double>(GetTickCount()); }

Result Kbd(FunctionContext& c) {
    if (c.RawText(3) == "status") return static_cast<double>(GetKeyState(c.Num(4)));
    std::vector<int32_t> codes;
    for (int k = 3; k <= c.Last(); ++k) codes.push_back(c.Num(k));
    return static_cast<double>(c.services.TakeKey(codes));
}

Result Day(FunctionContext& c) { return c.services.Now(); }
Result Ret(FunctionContext& c) { return static_cast<double>(c.engine.CallDepth()); }

Result Pumenu(FunctionContext& c) {
    bool atPoint = c.Last() >= 6;
    return static_cast<double>(c.services.PopupMenu(c.Num(3), c.Last() >= 4 ? c.Num(4) : 3, atPoint, c.Num(5), c.Num(6)));
}

Result Handle(FunctionContext& c) {
    std::string className = c.Str(3);
    std::string title = c.Join(4);
    if (className.empty() && title.empty()) return HandleNumber(c.services.MainWindow());
    return HandleNumber(FindWindowA(className.empty() ? nullptr : className.c_str(),
                                    title.empty() ? nullptr : title.c_str()));
}

Result Regwmsg(FunctionContext& c) { return static_cast<double>(RegisterWindowMessageA(c.Join(3).c_str())); }

Result Sendmsg(FunctionContext& c) {
    if (c.Last() != 6) return 0.0;
    return static_cast<double>(SendMessageA(WindowOfNumber(c.Num(3)), static_cast<UINT>(c.Num(4)),
                                            static_cast<WPARAM>(static_cast<uint32_t>(c.Num(5))),
                                            static_cast<LPARAM>(c.Num(6))));
}

// The platform starts the program: it cuts the command line into an argument vector by the rules
// programs cut theirs (blanks separate, double quotes group), finds the program as the system
// would (a drive-form path through the drive table, a bare name in the program's folder, the
// current folder or the search path) and hands the vector to its launcher, never to a shell.
// Above 31 when the program started, else the platform's reason: 0, 2 file not found, 3 path
// not found, 5 access denied, 11 no program.
Result Exec(FunctionContext& c) {
    const std::string line = c.FileName(3);
    if (c.engine.Failed()) return std::nullopt;
    return static_cast<double>(WinExec(line.c_str(), SW_SHOWNORMAL));
}

constexpr NumericFunctionEntry kSystemNumbers[] = {
    {"gtc", Gtc},         {"kbd", Kbd},         {"day", Day},         {"ret", Ret},   {"pumenu", Pumenu},
    {"handle", Handle},   {"regwmsg", Regwmsg}, {"sendmsg", Sendmsg}, {"exec", Exec},
};

}  // namespace

std::span<const NumericFunctionEntry> SystemNumberFunctions() { return kSystemNumbers; }

}  // namespace linework
