// A text frame copied by a program of ours on the SDL host reaches the desktop: on a virtual X
// display, xclip pastes the frame's plain text in UTF-8 with the Czech letters whole, while our
// own clipboard holds it in cp1250 with CR LF between rows and the locale beside it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "page/rich_text_object.h"
#include "page_test_support.h"
#include "support/tool_runner.h"
#include "table_test_support.h"

namespace lect32 {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using table_test::described;
using table_test::readTable;
using table_test::writtenTables;
using tool_runner::quoted;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The record of a table cell's frame the document writer wrote with these paragraphs.
std::vector<uint8_t> writtenFrameRecord(const std::string& paragraphs) {
    const auto tables = writtenTables({described("1", "1", R"({"rows": )" + paragraphs + "}")});
    TableObject table;
    RichTextObject frame;
    if (tables[0].empty() || !readTable(table, tables[0]) || !frame.Deserialize(table.CellText(0))) return {};
    return frame.Serialize(RichTextObject::kAllSections);
}

class FrameClipboardDesktop : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!WINPLAT_SDL_BUILT) GTEST_SKIP() << "the SDL host is not built (libsdl2-dev was missing)";
        REQUIRE_TOOLS("xvfb", "xvfb-run");
        REQUIRE_TOOLS("xclip", "xclip");
        REQUIRE_DOCUMENT_WRITER();
        folder_ = fs::temp_directory_path() / ("lect32_frame_clipboard_" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!folder_.empty()) fs::remove_all(folder_, ignored);
    }
    // Copies the frame in the copying program on a virtual X display of its own and pastes it there
    // with xclip into file "pasted"; what our clipboard held goes to "held" and "held.locale".
    tool_runner::Outcome copyAndPaste(const fs::path& record) {
        const fs::path ready = folder_ / "ready";
        const fs::path stop = folder_ / "stop";
        const fs::path script = folder_ / "run.sh";
        std::ofstream(script) << "export WINPLAT_HOST=sdl WINPLAT_SCREEN=64x48 ASAN_OPTIONS=detect_leaks=0\n"
                              << quoted(FRAME_CLIPBOARD_COPY_PATH) << " " << quoted(record) << " "
                              << quoted(folder_ / "held") << " " << quoted(ready) << " " << quoted(stop)
                              << " &\npid=$!\ntries=0\n"
                              << "while [ ! -e " << quoted(ready)
                              << " ] && [ $tries -lt 400 ] && kill -0 $pid 2>/dev/null; "
                              << "do sleep 0.05; tries=$((tries+1)); done\n"
                              << "xclip -o -selection clipboard > " << quoted(folder_ / "pasted") << "\n"
                              << "touch " << quoted(stop) << "\nwait $pid\n";
        return tool_runner::capture("xvfb-run -a -s '-screen 0 320x240x24' sh " + quoted(script),
                                    tool_runner::Errors::Merge);
    }

    fs::path folder_;
};

TEST_F(FrameClipboardDesktop, XclipPastesTheFramesTextWithItsCzechLetters) {
    // A bold code inside the first row and a tab in the second: the code goes, the tab stays.
    const std::vector<uint8_t> record = writtenFrameRecord(
        R"([{"text": ["P", {"char": {"weight": 7}}, "\u0159\u00edli\u0161 \u017elu\u0165ou\u010dk\u00fd k\u016f\u0148"]},)"
        R"( {"text": "\u00fap\u011bl\t\u010f\u00e1belsk\u00e9 \u00f3dy \u20ac"}])");
    ASSERT_FALSE(record.empty());
    const fs::path recordFile = folder_ / "record";
    std::ofstream(recordFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));

    const auto run = copyAndPaste(recordFile);
    ASSERT_TRUE(run.ok()) << run.output;
    EXPECT_EQ(fileText(folder_ / "held"),
              "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n\xFAp\xECl\t\xEF\xE1"
              "belsk\xE9 \xF3"
              "dy \x80")
        << "cp1250 with CR LF between the rows on our side";
    EXPECT_EQ(fileText(folder_ / "held.locale"), "\x05\x04\x00\x00"s) << "CF_LOCALE: Czech";
    EXPECT_EQ(fileText(folder_ / "pasted"), "Příliš žluťoučký kůň\núpěl\tďábelské ódy €") << run.output;
}

}  // namespace
}  // namespace lect32
