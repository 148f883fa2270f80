#include "support/tool_runner.h"

#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace tool_runner {

namespace {

int exitCodeOf(int status) {
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct PipeCloser {
    int* status;
    void operator()(FILE* pipe) const { *status = ::pclose(pipe); }
};

}  // namespace

bool run(const std::string& command) {
    return std::system(("( " + command + " ) >/dev/null 2>&1").c_str()) == 0;
}

bool runTo(const std::string& command, const std::filesystem::path& output) {
    return std::system(("( " + command + " ) > " + quoted(output) + " 2>/dev/null").c_str()) == 0;
}

Outcome capture(const std::string& command, Errors errors) {
    const std::string line = "( " + command + " )" + (errors == Errors::Merge ? " 2>&1" : " 2>/dev/null");
    Outcome outcome;
    int status = -1;
    {
        std::unique_ptr<FILE, PipeCloser> pipe(::popen(line.c_str(), "r"), PipeCloser{&status});
        if (!pipe) return outcome;
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) outcome.output.append(buffer, n);
    }
    outcome.exitCode = exitCodeOf(status);
    return outcome;
}

std::string output(const std::string& command) {
    return capture(command).output;
}

bool have(const std::string& program) {
    return run("command -v " + program);
}

const char* firstMissing(std::initializer_list<const char*> programs) {
    for (const char* program : programs) {
        if (!have(program)) return program;
    }
    return nullptr;
}

const std::string& imageMagick() {
    static const std::string found = [] {
        for (const char* candidate : {"/usr/bin/convert", "convert"}) {
            if (output(std::string(candidate) + " -version").find("ImageMagick") != std::string::npos) {
                return std::string(candidate);
            }
        }
        return std::string();
    }();
    return found;
}

std::string quoted(const std::filesystem::path& path) {
    const std::string s = path.string();
    for (char c : s) {
        const bool plain =
            std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '_' || c == '.' || c == '-';
        if (!plain) ADD_FAILURE() << "unexpected character in " << s;
    }
    return "'" + s + "'";
}

}  // namespace tool_runner
