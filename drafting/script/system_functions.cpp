// Numeric functions of the host: the tick count, keys, the date, the call depth, windows and
// their messages, the pop-up menu, and starting other programs. A program is started from an
// argument vector through the host's spawner and never through a shell, so no text of a script
// is ever read as shell syntax.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>
#include <vector>

#include "script/script_functions.h"
#include "winplat/paths.h"
#include "winplat/time.h"
#include "winplat/user.h"

extern char** environ;

namespace linework {

namespace {

using Result = std::optional<double>;

// What the starter of programs returns, as scripts test it: above 31 when the program started;
// otherwise 0 (out of resources), 2 (file not found), 3 (path not found), 5 (access denied) or
// 11 (not a program).
constexpr double kExecStarted = 33;

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

// A command line cut into arguments the way programs cut theirs: blanks separate, double quotes
// group and are dropped.
std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    std::string current;
    bool inQuotes = false, any = false;
    for (char ch : line) {
        if (ch == '"') {
            inQuotes = !inQuotes;
            any = true;
        } else if ((ch == ' ' || ch == '\t') && !inQuotes) {
            if (any) arguments.push_back(std::move(current));
            current.clear();
            any = false;
        } else {
            current += ch;
            any = true;
        }
    }
    if (any) arguments.push_back(std::move(current));
    return arguments;
}

double ExecFailure(int error) {
    switch (error) {
        case ENOENT: return 2;
        case ENOTDIR: return 3;
        case EACCES:
        case EPERM: return 5;
        case ENOEXEC: return 11;
        default: return 0;
    }
}

Result Exec(FunctionContext& c) {
    std::vector<std::string> arguments = SplitCommandLine(c.FileName(3));
    if (arguments.empty()) return 2.0;
    // A program named in drive form (C:\TOOLS\X.EXE) is the host file of that name.
    if (arguments[0].find('\\') != std::string::npos || (arguments[0].size() > 1 && arguments[0][1] == ':')) {
        auto host = winplat::files::resolve(arguments[0]);
        if (!host) return 2.0;
        arguments[0] = *host;
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    int error = posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ);
    if (error != 0) return ExecFailure(error);
    // The program runs on by itself; a thread of its own collects it when it ends.
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return kExecStarted;
}

constexpr NumericFunctionEntry kSystemNumbers[] = {
    {"gtc", Gtc},         {"kbd", Kbd},         {"day", Day},         {"ret", Ret},   {"pumenu", Pumenu},
    {"handle", Handle},   {"regwmsg", Regwmsg}, {"sendmsg", Sendmsg}, {"exec", Exec},
};

}  // namespace

std::span<const NumericFunctionEntry> SystemNumberFunctions() { return kSystemNumbers; }

}  // namespace linework
