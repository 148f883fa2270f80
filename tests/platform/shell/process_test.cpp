// Starting programs: WinExec, CreateProcessA with its handles, exit codes and priorities; how a
// program is found; what a started program receives.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "process_fixture.h"
#include "shell/command_line.h"
#include "winplat/base.h"
#include "winplat/files.h"
#include "winplat/paths.h"
#include "winplat/process.h"
#include "winplat/testing.h"

extern char** environ;

namespace {

using processtest::kRecordScript;
using processtest::kWaitScript;
using processtest::ProcessTest;

struct Process {
    PROCESS_INFORMATION info{};
    BOOL started = FALSE;
    DWORD error = 0;
    ~Process() {
        if (!started) return;
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
};

// CreateProcessA of a command line (the program its first word).
void start(Process& p, std::string line, DWORD flags = 0, const char* folder = nullptr) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    SetLastError(0);
    p.started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, folder, &startup, &p.info);
    p.error = GetLastError();
}

DWORD finish(const Process& p) {
    EXPECT_EQ(WaitForSingleObject(p.info.hProcess, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(p.info.hProcess, &code));
    return code;
}

TEST_F(ProcessTest, ExitCodesOfHostPrograms) {
    for (const auto& [program, expected] : {std::pair{"C:\\bin\\true", 0u}, std::pair{"C:\\BIN\\FALSE", 1u}}) {
        SCOPED_TRACE(program);
        Process p;
        start(p, program);
        ASSERT_TRUE(p.started) << p.error;
        EXPECT_EQ(finish(p), expected);
    }
}

TEST_F(ProcessTest, ARunningProcessIsStillActiveUntilItEnds) {
    script("wait", kWaitScript);
    Process p;
    start(p, "T:\\wait T:\\go");
    ASSERT_TRUE(p.started);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(p.info.hProcess, &code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(WaitForSingleObject(p.info.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    drive.file("go");
    EXPECT_EQ(WaitForSingleObject(p.info.hThread, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0)) << "its thread ends with it";
    EXPECT_EQ(finish(p), 3u);
}

TEST_F(ProcessTest, HandlesCloseOnceAndAreNoLongerAnswered) {
    Process p;
    start(p, "C:\\bin\\true");
    ASSERT_TRUE(p.started);
    finish(p);
    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeProcess(p.info.hThread, &code)) << "a thread handle is no process handle";
    EXPECT_TRUE(CloseHandle(p.info.hProcess));
    EXPECT_TRUE(CloseHandle(p.info.hThread));
    p.started = FALSE;
    EXPECT_FALSE(CloseHandle(p.info.hProcess));
    SetLastError(0);
    EXPECT_FALSE(GetExitCodeProcess(p.info.hProcess, &code));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(p.info.hProcess, 0), WAIT_FAILED);
    drive.file("plain.txt", "x");
    const HANDLE file = CreateFileA("T:\\plain.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WaitForSingleObject(file, 0), WAIT_FAILED) << "a file is nothing to wait for";
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(ProcessTest, WinExecSaysWhyNothingStarted) {
    drive.file("notes.txt", "text");
    const struct {
        const char* line;
        UINT expected;
    } cases[] = {
        {"C:\\bin\\true", 33},
        {"T:\\missing.exe", ERROR_FILE_NOT_FOUND},
        {"T:\\nowhere\\x.exe a", ERROR_PATH_NOT_FOUND},
        {"T:\\notes.txt", ERROR_BAD_FORMAT},
        {"T:\\", ERROR_BAD_FORMAT},
        {"", ERROR_FILE_NOT_FOUND},
        {"no-such-program-anywhere-7q", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(WinExec(c.line, SW_SHOWNORMAL), c.expected);
    }
}

TEST_F(ProcessTest, AProgramGetsItsArgumentsAsWrittenAndNoShellReadsThem) {
    script("Tools/record", kRecordScript);
    drive.file("Data/Plan.txt", "x");
    drive.file("out");  // so that "T:\out" names it
    Process p;
    // "RECORD.EXE" finds "record" in "Tools" whatever the case; a drive-form argument in a folder
    // that is there reaches the host program as its host path; shell syntax stays text.
    start(p, R"(T:\TOOLS\RECORD.EXE T:\out "a b" c\"d T:\DATA\PLAN.TXT T:\Data\missing.txt ; rm -rf x `touch T:\hit` $(id) $HOME)");
    ASSERT_TRUE(p.started) << p.error;
    EXPECT_EQ(finish(p), 0u);
    const std::vector<std::string> expected = {"a b", "c\"d", drive.host("Data/Plan.txt"), drive.host("Data/missing.txt"),
                                               ";", "rm", "-rf", "x", "`touch", drive.host("hit`"), "$(id)", "$HOME"};
    std::vector<std::string> got = lines("out");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got.back(), "variable=none") << "a program of another kind gets no command line of ours";
    got.resize(got.size() - 2);
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(drive.exists("hit"));
}

TEST_F(ProcessTest, AProgramStartsInTheFolderAsked) {
    script("record", kRecordScript);
    drive.folder("Work Place");
    drive.file("out");
    Process p;
    start(p, "T:\\record T:\\out", 0, "T:\\WORK PLACE");
    ASSERT_TRUE(p.started);
    finish(p);
    const std::vector<std::string> got = lines("out");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "folder=" + drive.host("Work Place"));
    Process missing;
    start(missing, "T:\\record T:\\out", 0, "T:\\nowhere");
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.error, static_cast<DWORD>(ERROR_DIRECTORY));
}

TEST_F(ProcessTest, AProgramOfOursReadsTheCommandLineAsWritten) {
    const std::string ours = winplat::files::toWindows(WINPLAT_ARGS_TOOL_PATH);
    ASSERT_FALSE(ours.empty());
    drive.file("out");
    const std::string line = "\"" + ours + "\"   T:\\out  a\\\\\"b c\"   \"\"";
    Process p;
    start(p, line);
    ASSERT_TRUE(p.started) << p.error;
    EXPECT_EQ(finish(p), 0u);
    EXPECT_EQ(lines("out"), (std::vector<std::string>{line, "a\\b c", ""}));
}

TEST_F(ProcessTest, ACommandLineNotMeantForAProgramIsMadeFromItsArguments) {
    // A variable inherited from elsewhere names another parent: the program makes its line from
    // its arguments instead, in drive form where they are existing files.
    drive.file("in.txt", "x");
    std::vector<std::string> texts = {WINPLAT_ARGS_TOOL_PATH, drive.host("out"), drive.host("in.txt"), "a b", "q\"x"};
    std::vector<std::string> environment = {"WINPLAT_COMMAND_LINE=1 forged line"};
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    std::vector<char*> argv, envp;
    for (auto& t : texts) argv.push_back(t.data());
    argv.push_back(nullptr);
    for (auto& t : environment) envp.push_back(t.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, texts[0].c_str(), nullptr, nullptr, argv.data(), envp.data()), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    const std::vector<std::string> got = lines("out");
    ASSERT_FALSE(got.empty());
    // The program runs with the default drives, C: the host's root; the file it writes to is
    // there by the time it asks.
    const auto onC = [](std::string host) {
        for (char& c : host) c = c == '/' ? '\\' : c;
        return "C:" + host;
    };
    const std::vector<std::string> words = winplat::shell::splitCommandLine(got[0]);
    EXPECT_EQ(words, (std::vector<std::string>{onC(WINPLAT_ARGS_TOOL_PATH), onC(texts[1]), onC(texts[2]), "a b", "q\"x"}));
}

TEST_F(ProcessTest, ThisProgramsOwnCommandLineNamesIt) {
    const std::vector<std::string> words = winplat::shell::splitCommandLine(GetCommandLineA());
    ASSERT_FALSE(words.empty());
    const std::string& program = words[0];
    EXPECT_EQ(program.substr(program.find_last_of("\\/") + 1), "winplat_tests") << program;
}

TEST_F(ProcessTest, APriorityClassIsTheProcesssNiceness) {
    script("wait", kWaitScript);
    Process p;
    start(p, "T:\\wait T:\\go", IDLE_PRIORITY_CLASS);
    ASSERT_TRUE(p.started);
    EXPECT_EQ(GetPriorityClass(p.info.hProcess), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(p.info.dwProcessId)), 19);
    EXPECT_FALSE(SetPriorityClass(p.info.hProcess, 0x1234)) << "no such class";
    drive.file("go");
    finish(p);
    EXPECT_EQ(GetPriorityClass(p.info.hProcess), 0u) << "an ended process has no priority";
    winplat::testing::ScopedDebugAsserts quiet(false);
    Process twoClasses;
    start(twoClasses, "C:\\bin\\true", IDLE_PRIORITY_CLASS | HIGH_PRIORITY_CLASS);
    EXPECT_FALSE(twoClasses.started);
    Process otherFlag;
    start(otherFlag, "C:\\bin\\true", 0x00000010 /* a new console */);
    EXPECT_FALSE(otherFlag.started);
}

TEST_F(ProcessTest, ARecorderSeesTheArgumentVectorAndNothingRuns) {
    script("viewer", kRecordScript);
    winplat::testing::LaunchRecorder recorder;
    recorder.setAnswer({0, 0, 7});
    EXPECT_GT(WinExec("T:\\VIEWER.EXE /f:\"T:\\a b.bmp; rm x\" /s:12", SW_SHOW), 31u);
    Process p;
    start(p, "T:\\viewer T:\\out");
    ASSERT_TRUE(p.started);
    EXPECT_EQ(finish(p), 7u) << "the recorder's answer is the exit code";
    const auto requests = recorder.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].program, drive.host("viewer"));
    EXPECT_EQ(requests[0].arguments, (std::vector<std::string>{drive.host("viewer"), "/f:T:\\a b.bmp; rm x", "/s:12"}));
    EXPECT_EQ(requests[0].commandLine, "T:\\VIEWER.EXE /f:\"T:\\a b.bmp; rm x\" /s:12");
    EXPECT_FALSE(requests[0].ours);
    EXPECT_FALSE(drive.exists("out")) << "nothing ran";
}

}  // namespace
