// ShellExecuteA: addresses and documents to the desktop's opener (a fixture xdg-open first on the
// PATH here), programs started, and the reasons when nothing is.
#include <optional>
#include <string>
#include <vector>

#include "process_fixture.h"
#include "winplat/process.h"
#include "winplat/shell.h"
#include "winplat/testing.h"

namespace {

using processtest::kRecordScript;
using processtest::ProcessTest;

uintptr_t shellExecute(const char* verb, const char* file, const char* parameters = nullptr,
                       const char* directory = nullptr) {
    return reinterpret_cast<uintptr_t>(ShellExecuteA(nullptr, verb, file, parameters, directory, SW_SHOWNORMAL));
}

class ShellExecuteTest : public ProcessTest {
protected:
    void SetUp() override {
        script("bin/xdg-open", kRecordScript);
        path.emplace("PATH", (drive.host("bin") + ":/usr/bin:/bin").c_str());
    }
    std::optional<filetest::ScopedEnv> path;
    winplat::testing::LaunchRecorder recorder;
};

TEST_F(ShellExecuteTest, AddressesAndDocumentsGoToTheOpener) {
    drive.file("Docs/Manual.pdf", "%PDF");
    const struct {
        const char* file;
        std::string argument;
    } cases[] = {
        {"http://example.cz/a?b=1&c=`id`", "http://example.cz/a?b=1&c=`id`"},
        {"mailto:jan.novak@example.cz", "mailto:jan.novak@example.cz"},
        {"www.example.cz", "www.example.cz"},
        {"ftp://example.cz/f", "ftp://example.cz/f"},
        {"T:\\DOCS\\MANUAL.PDF", drive.host("Docs/Manual.pdf")},
        {"N\xE1vod.txt", ""},  // below: a cp1250 name of the current folder
    };
    drive.file("N\xC3\xA1vod.txt", "x");
    ASSERT_TRUE(SetCurrentDirectoryA("T:\\"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(shellExecute(nullptr, c.file), 42u);
        EXPECT_EQ(shellExecute("open", c.file), 42u);
    }
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    const auto requests = recorder.requests();
    ASSERT_EQ(requests.size(), 2 * std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].file);
        const std::string argument = i + 1 < std::size(cases) ? cases[i].argument : drive.host("N\xC3\xA1vod.txt");
        EXPECT_EQ(requests[2 * i].program, drive.host("bin/xdg-open"));
        EXPECT_EQ(requests[2 * i].arguments, (std::vector<std::string>{drive.host("bin/xdg-open"), argument}));
    }
}

TEST_F(ShellExecuteTest, AProgramStartsWithItsParametersInItsFolder) {
    script("Tools/record", kRecordScript);
    drive.folder("Work");
    drive.file("out");
    EXPECT_EQ(shellExecute(nullptr, "T:\\TOOLS\\RECORD.EXE", "T:\\out \"a b\" ;x", "T:\\WORK"), 42u);
    const auto requests = recorder.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].program, drive.host("Tools/record"));
    EXPECT_EQ(requests[0].arguments, (std::vector<std::string>{drive.host("Tools/record"), drive.host("out"), "a b", ";x"}));
    EXPECT_EQ(requests[0].folder, drive.host("Work"));
}

TEST_F(ShellExecuteTest, NothingToOpenSaysWhy) {
    EXPECT_EQ(shellExecute(nullptr, "T:\\missing.pdf"), static_cast<uintptr_t>(SE_ERR_FNF));
    EXPECT_EQ(shellExecute(nullptr, "T:\\nowhere\\a.pdf"), static_cast<uintptr_t>(SE_ERR_PNF));
    EXPECT_EQ(shellExecute(nullptr, ""), static_cast<uintptr_t>(SE_ERR_FNF));
    EXPECT_EQ(shellExecute(nullptr, nullptr), static_cast<uintptr_t>(SE_ERR_FNF));
    {
        winplat::testing::ScopedDebugAsserts quiet(false);
        EXPECT_EQ(shellExecute("print", "http://example.cz"), static_cast<uintptr_t>(SE_ERR_NOASSOC));
        EXPECT_EQ(shellExecute("opens", "http://example.cz"), static_cast<uintptr_t>(SE_ERR_NOASSOC));
    }
    filetest::ScopedEnv noOpener("PATH", drive.host("empty").c_str());
    EXPECT_EQ(shellExecute(nullptr, "http://example.cz"), static_cast<uintptr_t>(SE_ERR_NOASSOC));
    EXPECT_TRUE(recorder.requests().empty());
}

}  // namespace
