// The message table read from its text: placeholders for missing lines, quotes, line breaks,
// which line lands where, and the check of the file's length.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/temp_folder.h"
#include "ui/message_table.h"
#include "winplat/paths.h"

namespace linework {
namespace {

// Lines "t1".."tN" (line n reads "tn"), each ended by CR LF.
std::string NumberedLines(int count, const std::string& end = "\r\n") {
    std::string text;
    for (int n = 1; n <= count; ++n) text += "t" + std::to_string(n) + end;
    return text;
}

TEST(MessageTable, TenLinesLeaveEveryLaterTextItsPlaceholder) {
    MessageTable table;
    table.Parse(NumberedLines(10));
    EXPECT_EQ(table.Message(9), "t10");
    EXPECT_EQ(table.Message(10), "lkt11");
    EXPECT_EQ(table.Message(174), "lkt175");
    EXPECT_EQ(table.ControlHint(0), "lkt176");
    EXPECT_EQ(table.StatusString(), "lkt187");
    EXPECT_EQ(table.ToolButtonHint(80), "lkt267");
    EXPECT_TRUE(table.Mismatch());
}

TEST(MessageTable, NoFileAtAllGivesPlaceholdersEverywhere) {
    MessageTable table;
    EXPECT_EQ(table.Message(0), "lkt1");
    EXPECT_EQ(table.UndoHintBase(), "lkt252");
    EXPECT_TRUE(table.Mismatch());
}

TEST(MessageTable, LinesLandOnTheirMessagesHintsAndKeptStrings) {
    MessageTable table;
    table.Parse(NumberedLines(267));
    EXPECT_EQ(table.Message(0), "t1");
    EXPECT_EQ(table.Message(174), "t175");
    EXPECT_EQ(table.ControlHint(0), "t176");
    EXPECT_EQ(table.ControlHint(1), "t177");
    EXPECT_EQ(table.ControlHint(10), "t186");
    EXPECT_EQ(table.StatusString(), "t187");
    EXPECT_EQ(table.ToolButtonHint(1), "t188");
    EXPECT_EQ(table.ToolButtonHint(65), "t252");
    EXPECT_EQ(table.UndoHintBase(), "t252");
    EXPECT_EQ(table.ToolButtonHint(80), "t267");
    EXPECT_FALSE(table.Mismatch());
    EXPECT_EQ(table.Message(175), "") << "beyond the table";
    EXPECT_EQ(table.Message(-1), "");
}

TEST(MessageTable, TheLengthCheckAcceptsExactlyTwoHundredSixtySevenLinesAndBlankTails) {
    struct Case {
        const char* name;
        std::string text;
        bool mismatch;
    };
    const Case cases[] = {
        {"266 lines", NumberedLines(266), true},
        {"267 lines", NumberedLines(267), false},
        {"267 lines, the last without a line end", NumberedLines(267).substr(0, NumberedLines(267).size() - 2), false},
        {"267 lines with LF ends", NumberedLines(267, "\n"), false},
        {"267 lines and blank lines", NumberedLines(267) + "\r\n\r\n\n", false},
        {"268 lines", NumberedLines(268), true},
        {"267 lines, blank lines, then text", NumberedLines(267) + "\r\n\r\nmore\r\n", true},
        {"267 lines and a line of one blank", NumberedLines(267) + " \r\n", true},
    };
    for (const Case& c : cases) {
        MessageTable table;
        table.Parse(c.text);
        EXPECT_EQ(table.Mismatch(), c.mismatch) << c.name;
    }
}

TEST(MessageTable, LinesAreNormalised) {
    struct Case {
        std::string line;
        std::string text;
    };
    const Case cases[] = {
        {"\"  kept blanks  \"", "  kept blanks  "},
        {"\"", "\""},                       // one quote alone stays
        {"\"\"", ""},                       // two quotes: an empty text
        {"\"only at the start", "\"only at the start"},
        {"first%%second", "first\r\nsecond"},
        {"%%%", "\r\n%"},
        {"a%b", "a%b"},
        {"\"%%\"", "\r\n"},
        {"no change", "no change"},
    };
    for (const Case& c : cases) EXPECT_EQ(NormaliseTextLine(c.line), c.text) << c.line;
}

TEST(MessageTable, AFileLineKeepsItsBlanksAndBreaks) {
    MessageTable table;
    table.Parse("\" Ano \"\r\nUlo\x9eit%%zm\xECny\r\n");
    EXPECT_EQ(table.Message(0), " Ano ");
    EXPECT_EQ(table.Message(1), "Ulo\x9eit\r\nzm\xECny");
}

TEST(MessageTable, LongLinesAreCutToTwoHundredFiftyFiveCharacters) {
    MessageTable table;
    table.Parse(std::string(300, 'x') + "\r\nnext\r\n");
    EXPECT_EQ(table.Message(0), std::string(255, 'x'));
    EXPECT_EQ(table.Message(1), "next") << "the rest of a long line is not a line of its own";
}

TEST(MessageTable, LoadTextsFindsTheFileWhateverItsCase) {
    test::TempFolder folder("lkt");
    std::ofstream(folder.path() + "/lk.lkt", std::ios::binary) << NumberedLines(267);
    MessageTable table;
    const LoadTextsResult result = LoadTexts(table, winplat::files::toWindows(folder.path()) + "\\");
    EXPECT_EQ(result.ioResult, 0);
    EXPECT_EQ(table.Message(3), "t4");
    EXPECT_FALSE(table.Mismatch());
}

TEST(MessageTable, LoadTextsWithoutAFileSaysNotFound) {
    test::TempFolder folder("lkt");
    MessageTable table;
    table.Parse(NumberedLines(267));
    const LoadTextsResult result = LoadTexts(table, winplat::files::toWindows(folder.path()) + "\\");
    EXPECT_EQ(result.ioResult, 2);
    EXPECT_EQ(table.Message(3), "lkt4");
    EXPECT_TRUE(table.Mismatch());
}

}  // namespace
}  // namespace linework
