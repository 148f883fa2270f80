// Clipboard text crossing to and from the desktop: cp1250 with CR LF inside, UTF-8 with LF outside.
#include <gtest/gtest.h>

#include <string>

#include "clipboard/desktop_text.h"

namespace {

using namespace std::string_literals;
using winplat::desktop_text::clipboardTextOf;
using winplat::desktop_text::desktopTextOf;
using winplat::desktop_text::writtenInCp1250;

struct TextCase {
    const char* name;
    std::string ours;     // CF_TEXT bytes, cp1250
    std::string desktop;  // UTF-8
};

// Texts that cross both ways unchanged in meaning.
const TextCase kBothWays[] = {
    {"plain", "abc", "abc"},
    {"empty", "", ""},
    {"czech small", "p\xF8\xED\x6Ci\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1\x62\x65lsk\xE9 \xF3\x64y",
     "příliš žluťoučký kůň úpěl ďábelské ódy"},
    {"czech capitals", "\xD8\x8A\x8E\xC8\xCF\x8D\xD2\xD9\xCC\xC1\xC9\xCD\xD3\xDA\xDD", "ŘŠŽČĎŤŇŮĚÁÉÍÓÚÝ"},
    {"euro and quotes", "\x80 \x84uvozovky\x93", "€ „uvozovky“"},
    {"lines", "a\r\nb", "a\nb"},
    {"empty lines and a final break", "a\r\n\r\nb\r\n", "a\n\nb\n"},
    {"break first", "\r\nx", "\nx"},
    {"lone CR is no line end", "a\rb", "a\rb"},
    {"CR at the end", "a\r", "a\r"},
};

class BothWays : public ::testing::TestWithParam<TextCase> {};

TEST_P(BothWays, OutToTheDesktop) {
    EXPECT_EQ(desktopTextOf(GetParam().ours), GetParam().desktop);
}

TEST_P(BothWays, InFromTheDesktop) {
    EXPECT_EQ(clipboardTextOf(GetParam().desktop), GetParam().ours);
}

INSTANTIATE_TEST_SUITE_P(Texts, BothWays, ::testing::ValuesIn(kBothWays), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
});

struct OneWayCase {
    const char* name;
    std::string from;
    std::string to;
};

const OneWayCase kOut[] = {
    {"text ends at its NUL", "ab\0cd"s, "ab"},
    {"NUL first", "\0abc"s, ""},
    {"NUL between CR and LF", "a\r\0\nb"s, "a\r"},
    // The five unassigned bytes keep their value as C1 controls, so nothing is lost.
    {"CR before CR LF", "a\r\r\nb", "a\r\nb"},
    {"unassigned byte", "x\x81y", "x\xC2\x81y"},
    {"no-break space", "a\xA0\x62", "a\xC2\xA0\x62"},
};

const OneWayCase kIn[] = {
    {"text ends at a NUL", "ab\0cd"s, "ab"},
    {"CR LF stays one break", "a\r\n\r\nb", "a\r\n\r\nb"},
    {"LF after a lone CR", "a\r\rb\n", "a\r\rb\r\n"},
    {"LF first", "\nx", "\r\nx"},
    {"only breaks", "\n\n", "\r\n\r\n"},
    {"outside cp1250", "日本", "??"},
    {"Spanish n with tilde", "año", "a?o"},
    {"Latvian a with macron", "ā", "?"},
    {"beyond the BMP", "a\xF0\x9F\x98\x80\x62", "a?b"},
    {"malformed sequence", "\xC3(", "?("},
    {"cut sequence at the end", "ok\xC5", "ok?"},
    {"German umlaut is in cp1250", "Grüße", "Gr\xFC\xDF\x65"},
    {"Polish and Hungarian", "łőű", "\xB3\xF5\xFB"},
};

class Out : public ::testing::TestWithParam<OneWayCase> {};
class In : public ::testing::TestWithParam<OneWayCase> {};

TEST_P(Out, ToTheDesktop) {
    EXPECT_EQ(desktopTextOf(GetParam().from), GetParam().to);
}

TEST_P(In, FromTheDesktop) {
    EXPECT_EQ(clipboardTextOf(GetParam().from), GetParam().to);
}

auto caseName = [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
};

INSTANTIATE_TEST_SUITE_P(Texts, Out, ::testing::ValuesIn(kOut), caseName);
INSTANTIATE_TEST_SUITE_P(Texts, In, ::testing::ValuesIn(kIn), caseName);

TEST(DesktopTextLocale, CentralEuropeanLanguagesWriteCp1250) {
    struct Case {
        LCID locale;
        bool cp1250;
    };
    const Case cases[] = {
        {0, true},        // none given
        {0x0405, true},   // Czech
        {0x041B, true},   // Slovak
        {0x0415, true},   // Polish
        {0x040E, true},   // Hungarian
        {0x0424, true},   // Slovenian
        {0x041A, true},   // Croatian
        {0x0418, true},   // Romanian
        {0x041C, true},   // Albanian
        {0x0409, false},  // English (cp1252)
        {0x0407, false},  // German (cp1252)
        {0x0419, false},  // Russian (cp1251)
        {0x0425, false},  // Estonian (cp1257)
        {0x0406, false},  // Danish, one below Czech
        {0x0404, false},  // Chinese, one above
        {0x0805, true},   // Czech with another sublanguage byte still Czech
    };
    for (const Case& c : cases) {
        EXPECT_EQ(writtenInCp1250(c.locale), c.cp1250) << std::hex << c.locale;
    }
}

}  // namespace
