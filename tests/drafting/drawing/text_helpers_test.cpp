#include "drawing/text_helpers.h"

#include <gtest/gtest.h>

#include <string>

#include "drawing/file_names.h"

namespace linework {
namespace {

const std::string kSep(1, kStatementSeparator);

TEST(CompleteFileName, TheDocumentedCases) {
    const std::string folder = "C:\\LK\\";
    struct Case {
        const char* extension;
        const char* name;
        std::string expected;
    };
    const Case cases[] = {
        {".LKP", "DEMO.TXT", "C:\\LK\\DEMO.LKP"},
        {".LKD", "C:\\A\\B", "C:\\A\\B.LKD"},
        {".X", "\\A.B\\C", "\\A.B\\C.X"},
        {".", "\\A\\B.TXT", "\\A\\B"},
        {"LKP", "x.txt", "C:\\LK\\x.txt"},
        {"", "  D:X.LKP ", "D:X.LKP"},
        // A "/" roots and separates like "\".
        {".LKD", "/A.B/C", "/A.B/C.LKD"},
        {"", "", ""},
        {"", "A", "C:\\LK\\A"},
    };
    for (const Case& c : cases) EXPECT_EQ(CompleteFileName(c.extension, c.name, folder), c.expected) << c.name;
    EXPECT_EQ(CompleteFileName("", std::string(300, 'a'), folder).size(), 255u);
}

TEST(GetFileNamePart, FolderAndExtension) {
    EXPECT_EQ(GetFileNamePart(true, "C:\\A\\B.TXT"), "C:\\A\\");
    EXPECT_EQ(GetFileNamePart(true, "C:B.TXT"), "C:");
    EXPECT_EQ(GetFileNamePart(true, "B.TXT"), "");
    EXPECT_EQ(GetFileNamePart(false, "C:\\A\\B.TXT"), ".TXT");
    EXPECT_EQ(GetFileNamePart(false, "C:\\A.B\\C"), "");
    EXPECT_EQ(GetFileNamePart(false, "NAME"), "");
}

TEST(NormalizeProgramLine, CleansOutsideQuotesOnly) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"  A  =\t 5  ", "A = 5"},
        {"A = 1 ; B = 2;;  ; C = 3", "A = 1" + kSep + "B = 2" + kSep + "C = 3"},
        {"msg \"a;  b\" ; x", "msg \"a;  b\"" + kSep + "x"},
        {"; A = 1;", "A = 1"},
        {"\"q" + kSep + "r\"", "\"q r\""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(NormalizeProgramLine(c.in), c.out) << c.in;
}

TEST(TextHelpers, NewlinesReplacingPaddingUpperCase) {
    EXPECT_EQ(ExpandNewlineMarks("a%%b%%"), "a\r\nb\r\n");
    EXPECT_EQ(ReplaceAllText("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAllText("abcabc", "bc", ""), "aa");
    EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");
    EXPECT_EQ(PadDateTimeText("1.2.1998 3:45"), "01.02.1998 03:45");
    EXPECT_EQ(PadDateTimeText("11.12.1998 13:45"), "11.12.1998 13:45");
    EXPECT_EQ(PadDateTimeText("1.2.1998"), "1.2.1998");
    // cp1250: š (0x9A) upper-cases to Š (0x8A), é (0xE9) to É (0xC9).
    EXPECT_EQ(UpperCaseShortString("a\x9a\xe9z"), "A\x8a\xc9Z");
    EXPECT_EQ(TrimBlanks("\t x \r\n"), "x");
}

TEST(TextHelpers, EditKeysAndLineTypes) {
    char key = 'a';
    FilterEditKey(key, true, false);
    EXPECT_EQ(key, '.');
    for (int c = 0; c < 32; ++c) {
        char k = static_cast<char>(c);
        FilterEditKey(k, false, false);
        bool kept = c == 0 || c == 3 || c == 8 || c == 15 || c == 20 || c == 21 || c == 22 || c == 26;
        EXPECT_EQ(k, kept ? static_cast<char>(c) : 0) << c;
        k = static_cast<char>(c);
        FilterEditKey(k, false, true);
        EXPECT_EQ(k, static_cast<char>(c));
    }
    const uint8_t expected[] = {0, 3, 2, 2, 4, 4, 5, 1, 0};
    for (int i = 0; i <= 8; ++i) EXPECT_EQ(MapImportedLineType(i), expected[i]) << i;
    EXPECT_EQ(MapImportedLineType(-1), 0);
}

}  // namespace
}  // namespace linework
