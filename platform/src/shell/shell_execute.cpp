// ShellExecuteA: addresses and documents to the desktop's opener, programs started.
#include <cctype>
#include <string>
#include <string_view>

#include "base/call_refusal.h"
#include "shell/command_line.h"
#include "shell/process_start.h"
#include "shell/program_lookup.h"
#include "shell/spawner.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/paths.h"
#include "winplat/process.h"
#include "winplat/shell.h"

using namespace winplat;
using namespace winplat::shell;

namespace {

constexpr CallRefuser refuse("winplat: ShellExecuteA");
// What a hand-over that worked returns: anything above 32 says so.
constexpr uintptr_t kHandedOver = 42;
constexpr std::string_view kOpener = "xdg-open";

HINSTANCE result(uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// "scheme:rest" with a scheme of two letters or more (one letter is a drive), or "www.".
bool isAddress(std::string_view file) {
    if (startsWithNoCase(file, "www.")) return true;
    size_t at = 0;
    while (at < file.size() && (std::isalnum(static_cast<unsigned char>(file[at])) || file[at] == '+' ||
                                file[at] == '-' || file[at] == '.')) {
        ++at;
    }
    return at >= 2 && at < file.size() && file[at] == ':' && std::isalpha(static_cast<unsigned char>(file[0]));
}

uintptr_t failure(DWORD error) {
    SetLastError(error);
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_ACCESS_DENIED:
        case ERROR_BAD_FORMAT: return error;
        default: return 0;
    }
}

// The opener with one argument, already host text.
uintptr_t open(const std::string& hostArgument, const std::string& windowsText) {
    const FoundProgram opener = findProgram(kOpener);
    if (opener.error != 0) return refuse(uintptr_t{SE_ERR_NOASSOC}, "no xdg-open on this host to open " + windowsText);
    host::LaunchRequest request;
    request.program = opener.hostPath;
    request.arguments = {opener.hostPath, hostArgument};
    request.commandLine = std::string(kOpener) + " " + quoteArgument(windowsText);
    const host::Launched launched = shell::launch(request);
    if (launched.error != 0) return failure(launched.error);
    ProcessRun::watch(launched);  // collected when it ends
    return kHandedOver;
}

uintptr_t execute(LPCSTR verb, std::string_view file, LPCSTR parameters, LPCSTR directory) {
    if (verb && !(std::string_view(verb).size() == 4 && startsWithNoCase(verb, "open"))) {
        return refuse.unsupported(uintptr_t{SE_ERR_NOASSOC}, std::string("verb ") + verb);
    }
    if (file.empty()) return refuse(uintptr_t{SE_ERR_FNF}, "no file");
    if (isAddress(file)) return open(cp1250::toUtf8(file), std::string(file));
    const FoundProgram program = findProgram(file);
    if (program.error == 0) {
        std::string folder;
        if (directory && *directory) {
            const auto host = files::resolve(directory);
            if (!host) return refuse(failure(ERROR_PATH_NOT_FOUND), "no folder " + std::string(directory));
            folder = *host;
        }
        std::string line = quoteArgument(file);
        if (parameters && *parameters) line += std::string(" ") + parameters;
        const Started started = startProgram({std::string(file), line, folder, 0});
        return started.error ? failure(started.error) : kHandedOver;
    }
    // Not a program: a document the opener shows.
    const auto document = files::resolve(file);
    if (!document) return failure(GetLastError() == ERROR_PATH_NOT_FOUND ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND);
    return open(*document, std::string(file));
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT) {
    return result(execute(verb, file ? file : "", parameters, directory));
}
