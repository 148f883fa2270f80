// The SDL host shares CF_TEXT with the desktop: on a virtual X display, xclip reads what a program
// of ours copied, and a program of ours pastes what xclip copied.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/tool_runner.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using tool_runner::quoted;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class SdlClipboard : public ::testing::Test {
protected:
    void SetUp() override {
        if (!WINPLAT_SDL_BUILT) GTEST_SKIP() << "the SDL host is not built (libsdl2-dev was missing)";
        REQUIRE_TOOLS("xvfb", "xvfb-run");
        REQUIRE_TOOLS("xclip", "xclip");
        folder_ = fs::temp_directory_path() / ("winplat_sdl_clipboard_" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!folder_.empty()) fs::remove_all(folder_, ignored);
    }
    // Runs the shell script on a virtual X display of its own.
    tool_runner::Outcome onDisplay(const std::string& script) {
        const fs::path file = folder_ / "run.sh";
        std::ofstream(file) << "export WINPLAT_HOST=sdl WINPLAT_SCREEN=64x48 ASAN_OPTIONS=detect_leaks=0\n" << script;
        return tool_runner::capture("xvfb-run -a -s '-screen 0 320x240x24' sh " + quoted(file), tool_runner::Errors::Merge);
    }
    static std::string tool() { return quoted(WINPLAT_CLIPBOARD_TOOL_PATH); }

    fs::path folder_;
};

TEST_F(SdlClipboard, DesktopProgramsPasteWhatWeCopied) {
    std::ofstream(folder_ / "text", std::ios::binary) << "P\xF8\xED\x6Ci\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n\xFAp\xECl \x80";
    const fs::path ready = folder_ / "ready";
    const fs::path stop = folder_ / "stop";
    const fs::path pasted = folder_ / "pasted";
    const auto run = onDisplay(tool() + " put " + quoted(folder_ / "text") + " " + quoted(ready) + " " + quoted(stop) +
                               " &\npid=$!\ntries=0\n"
                               "while [ ! -e " + quoted(ready) + " ] && [ $tries -lt 400 ]; do sleep 0.05; tries=$((tries+1)); done\n"
                               "xclip -o -selection clipboard > " + quoted(pasted) + "\n"
                               "touch " + quoted(stop) + "\nwait $pid\n");
    ASSERT_TRUE(run.ok()) << run.output;
    EXPECT_EQ(fileText(pasted), "Příliš žluťoučký kůň\núpěl €") << run.output;
}

TEST_F(SdlClipboard, WePasteWhatADesktopProgramCopied) {
    std::ofstream(folder_ / "copied", std::ios::binary) << "Řeřicha\nčaj 日本\n";
    const fs::path out = folder_ / "out";
    const auto run = onDisplay("xclip -i -selection clipboard " + quoted(folder_ / "copied") +
                               "\ntries=0\n"
                               "while [ -z \"$(xclip -o -selection clipboard 2>/dev/null)\" ] && [ $tries -lt 100 ]; do sleep 0.05; tries=$((tries+1)); done\n" +
                               tool() + " get " + quoted(out) + "\n");
    ASSERT_TRUE(run.ok()) << run.output;
    EXPECT_EQ(fileText(out), "\xD8\x65\xF8icha\r\n\xE8\x61j ??\r\n") << run.output;
    EXPECT_EQ(fileText(fs::path(out.string() + ".locale")), "\x05\x04\x00\x00"s) << "CF_LOCALE: Czech";
}

}  // namespace
