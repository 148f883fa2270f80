// GetCommandLineA: the line a starter of ours handed over, else one made of our arguments.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/spawner.h"
#include "winplat/cp1250.h"
#include "winplat/paths.h"
#include "winplat/process.h"

namespace {

using namespace winplat;

// The line in the variable, when the variable was meant for this process: its parent set it.
bool handedLine(std::string& line) {
    const char* value = std::getenv(std::string(shell::kCommandLineVariable).c_str());
    if (!value) return false;
    const std::string text = value;
    const size_t blank = text.find(' ');
    if (blank == std::string::npos || text.substr(0, blank) != std::to_string(::getppid())) return false;
    line = text.substr(blank + 1);
    return true;
}

// An argument as a Windows program sees it: an existing absolute path in drive form, else cp1250.
std::string windowsArgument(const std::string& hostText) {
    std::error_code error;
    if (!hostText.empty() && hostText[0] == '/' && std::filesystem::exists(hostText, error)) {
        std::string drive = files::toWindows(hostText);
        if (!drive.empty()) return drive;
    }
    return cp1250::fromUtf8(hostText);
}

std::string madeLine() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> arguments;
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        arguments.push_back(windowsArgument(bytes.substr(start, end - start)));
        start = end + 1;
    }
    return shell::joinCommandLine(arguments);
}

}  // namespace

LPSTR GetCommandLineA(void) {
    static std::string line;
    static std::once_flag once;
    std::call_once(once, [] {
        if (!handedLine(line)) line = madeLine();
    });
    return line.data();
}
