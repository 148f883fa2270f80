#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/compiled_program.h"
#include "support/script_fixture.h"

namespace linework::test {
namespace {

using Loader = ScriptFixture;

TEST_F(Loader, AWholeFileFillsAtMostLine999) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 1200; ++i) lines.push_back("L" + std::to_string(i));
    WriteLines("BIG.LKP", lines);
    ASSERT_TRUE(engine_->LoadTextTable(LoadMode::Whole, 1, "BIG.LKP"));
    EXPECT_EQ(engine_->store.GetTextLine(1), "L1");
    EXPECT_EQ(engine_->store.GetTextLine(999), "L999");
    EXPECT_EQ(engine_->store.lastLoadedLine, 999);
    EXPECT_EQ(engine_->store.GetTextLine(0), "");
}

TEST_F(Loader, LoadingAtALineKeepsTheLinesBefore) {
    engine_->store.SetLine(499, "kept");
    WriteLines("P.LKP", {"A", "B"});
    ASSERT_TRUE(engine_->LoadTextTable(LoadMode::Whole, 500, "P.LKP"));
    EXPECT_EQ(engine_->store.GetTextLine(499), "kept");
    EXPECT_EQ(engine_->store.GetTextLine(500), "A");
    EXPECT_EQ(engine_->store.GetTextLine(501), "B");
    EXPECT_EQ(engine_->store.lastLoadedLine, 501);
    // A start below 1 drops the first lines of the file.
    ASSERT_TRUE(engine_->LoadTextTable(LoadMode::Whole, 0, "P.LKP"));
    EXPECT_EQ(engine_->store.GetTextLine(1), "B");
}

TEST_F(Loader, LinesAreCleanedAndCutTo127) {
    WriteLines("P.LKP", {"  A =  1 ;  B = 2  ", std::string(200, 'x')});
    ASSERT_TRUE(engine_->LoadTextTable(LoadMode::Whole, 1, "P.LKP"));
    EXPECT_EQ(engine_->store.GetTextLine(1), "A = 1\x7f" "B = 2");
    EXPECT_EQ(engine_->store.GetTextLine(2), std::string(127, 'x'));
}

TEST_F(Loader, OneMenuLineGoesToLine1) {
    WriteFile("M.LKM", "first\r\nsecond\n/ comment\rfourth");
    std::vector<std::string> remembered;
    struct Host : RecordingHost {
        std::vector<std::string>* list;
        void RememberCommand(std::string_view text) override { list->emplace_back(text); }
    } host;
    host.list = &remembered;
    ScriptEngine engine(host, effects_, winplat::files::toWindows(folder_) + "\\");
    EXPECT_TRUE(engine.LoadTextTable(LoadMode::OneLine, 2, "m.lkm"));
    EXPECT_EQ(engine.store.GetTextLine(1), "second");
    EXPECT_FALSE(engine.LoadTextTable(LoadMode::OneLine, 3, "M.LKM"));
    EXPECT_EQ(engine.store.GetTextLine(1), "/ comment");
    EXPECT_TRUE(engine.LoadTextTable(LoadMode::OneLine, 4, "M.LKM"));
    EXPECT_FALSE(engine.LoadTextTable(LoadMode::OneLine, 5, "M.LKM"));
    EXPECT_EQ(engine.store.GetTextLine(1), "fourth");
    EXPECT_EQ(remembered, (std::vector<std::string>{"second", "fourth"}));
}

TEST_F(Loader, AReadOnlyFileLoadsAndKeepsItsMode) {
    WriteLines("RO.LKP", {"A = 1"});
    namespace fs = std::filesystem;
    fs::permissions(HostPath("RO.LKP"), fs::perms::owner_read | fs::perms::group_read);
    auto before = fs::status(HostPath("RO.LKP")).permissions();
    EXPECT_TRUE(engine_->LoadTextTable(LoadMode::Whole, 1, "RO.LKP"));
    EXPECT_EQ(engine_->store.GetTextLine(1), "A = 1");
    EXPECT_EQ(fs::status(HostPath("RO.LKP")).permissions(), before);
    fs::permissions(HostPath("RO.LKP"), fs::perms::owner_all);
}

TEST_F(Loader, AMissingFileSetsTheStatusWord) {
    EXPECT_FALSE(engine_->LoadTextTable(LoadMode::Whole, 1, "NONE.LKP"));
    EXPECT_EQ(engine_->runtime.StatusWord(), 2);
    EXPECT_FALSE(engine_->LoadTextTable(LoadMode::Whole, 1, "NODIR\\NONE.LKP"));
    EXPECT_EQ(engine_->runtime.StatusWord(), 3);
    EXPECT_FALSE(engine_->LoadTextTable(LoadMode::Whole, 1, ""));
}

TEST_F(Loader, CompiledProgramsRunButReadAsEmpty) {
    std::vector<std::string> lines = {"A = 6 * 7", "B = 1\x7f" "stop"};
    WriteFile("C.LKP", Compile(lines, 7));
    ASSERT_TRUE(engine_->LoadTextTable(LoadMode::Whole, 1, "C.LKP"));
    EXPECT_EQ(engine_->store.GetTextLine(1), "");
    bool hidden = false;
    EXPECT_EQ(engine_->store.RawLine(2, &hidden), lines[1]);
    EXPECT_TRUE(hidden);
    engine_->RunProgram();
    EXPECT_EQ(Var('A'), 42);
    EXPECT_EQ(Var('B'), 1);
}

TEST_F(Loader, AFlippedOrMissingByteOfACompiledFileIsCorrupt) {
    std::string good = Compile({"A = 1", "stop"}, 11);
    const size_t count = 1 + kCompiledMark + 256;
    // A byte of the check count, the first line's length, the last character. (The chained
    // sum does not see every flip: one that changes two neighbours by +1 and -1 passes.)
    for (size_t at : {count, count + 4, good.size() - 1}) {
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x01);
        WriteFile("C.LKP", bad);
        host_.infos.clear();
        engine_->store.programName = "before";
        EXPECT_FALSE(engine_->LoadTextTable(LoadMode::Whole, 1, "C.LKP")) << at;
        EXPECT_EQ(host_.infos, (std::vector<std::string>{kCorruptProgramText})) << at;
        EXPECT_EQ(engine_->store.programName, "before");
    }
    WriteFile("C.LKP", good.substr(0, good.size() - 1));
    EXPECT_FALSE(engine_->LoadTextTable(LoadMode::Whole, 1, "C.LKP"));
    WriteFile("C.LKP", good.substr(0, count));
    EXPECT_FALSE(engine_->LoadTextTable(LoadMode::Whole, 1, "C.LKP"));
}

}  // namespace
}  // namespace linework::test
