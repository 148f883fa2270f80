// Cutting Windows command lines into arguments, and quoting arguments so that the cut gives them
// back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/command_line.h"

namespace {

using winplat::shell::joinCommandLine;
using winplat::shell::quoteArgument;
using winplat::shell::splitCommandLine;
using Arguments = std::vector<std::string>;

struct SplitCase {
    const char* line;
    Arguments arguments;
};

TEST(CommandLineTest, SplitsByTheWindowsRules) {
    const SplitCase cases[] = {
        // The rules' own examples, after a program name.
        {R"(p "a b c" d e)", {"p", "a b c", "d", "e"}},
        {R"(p "ab\"c" "\\" d)", {"p", "ab\"c", "\\", "d"}},
        {R"(p a\\\b d"e f"g h)", {"p", R"(a\\\b)", "de fg", "h"}},
        {R"(p a\\\"b c d)", {"p", R"(a\"b)", "c", "d"}},
        {R"(p a\\\\"b c" d e)", {"p", R"(a\\b c)", "d", "e"}},
        {R"(p a"b"" c d)", {"p", "ab\"", "c", "d"}},
        // The program's name: quotes group and go, backslashes stay, even before a quote.
        {R"("C:\Program Files\x.exe" /f:"C:\a b\c.bmp" /s:10)", {R"(C:\Program Files\x.exe)", R"(/f:C:\a b\c.bmp)", "/s:10"}},
        {R"(C:\dir\\"x y" z)", {R"(C:\dir\\x y)", "z"}},
        // Blanks and tabs, runs of them, at both ends.
        {"  p\t a \t\tb  ", {"p", "a", "b"}},
        // An empty quoted argument is an argument; a line ending inside quotes ends the argument.
        {R"(p "" x)", {"p", "", "x"}},
        {R"(p "open end)", {"p", "open end"}},
        {R"(p a\)", {"p", R"(a\)"}},
        // Shell syntax is text like any other.
        {"p ; rm -rf x `id` $(id) |&>", {"p", ";", "rm", "-rf", "x", "`id`", "$(id)", "|&>"}},
        {"", {}},
        {" \t ", {}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(splitCommandLine(c.line), c.arguments);
    }
}

TEST(CommandLineTest, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(quoteArgument("plain"), "plain");
    EXPECT_EQ(quoteArgument(R"(C:\a\b)"), R"(C:\a\b)") << "backslashes not before a quote stay single";
    EXPECT_EQ(quoteArgument(""), R"("")");
    EXPECT_EQ(quoteArgument("a b"), R"("a b")");
    EXPECT_EQ(quoteArgument(R"(say "hi")"), R"("say \"hi\"")");
    EXPECT_EQ(quoteArgument(R"(C:\a b\)"), R"("C:\a b\\")") << "a backslash before the closing quote is doubled";
}

TEST(CommandLineTest, AQuotedLineCutsBackIntoItsArguments) {
    const Arguments vectors[] = {
        {"p", "a"},
        {"C:\\Program Files\\x.exe", "a b", ""},
        {"p", "\\", "\\\\", "x\\", "x\\\\ y", "\\\"", "\"", "\"\"", "a\"b\"\" c"},
        {"p", "\t", "tab\there", "; rm -rf x"},
    };
    for (const Arguments& arguments : vectors) {
        const std::string line = joinCommandLine(arguments);
        SCOPED_TRACE(line);
        EXPECT_EQ(splitCommandLine(line), arguments);
    }
}

}  // namespace
