// EnumFontFamiliesExA over the system's fonts and the stand-in names: which families and character
// sets it reports, in which order, what the callback is told, and how it stops.
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "font_files.h"
#include "winplat/base.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

struct Call {
    std::string face;
    BYTE charSet = 0;
    DWORD fontType = 0;
    std::string script;
    BYTE tmCharSet = 0;
    BYTE pitchAndFamily = 0;
    LONG height = 0;
    DWORD codePages = 0;
};

struct Recorder {
    std::vector<Call> calls;
    int answer = 1;       // what the callback returns
    int stopAfter = -1;   // returns 0 after this many calls
};

int record(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD fontType, LPARAM lParam) {
    auto& recorder = *reinterpret_cast<Recorder*>(lParam);
    const auto* elf = reinterpret_cast<const ENUMLOGFONTEXA*>(font);
    const auto* ntm = reinterpret_cast<const NEWTEXTMETRICEXA*>(metrics);
    recorder.calls.push_back({font->lfFaceName, font->lfCharSet, fontType, reinterpret_cast<const char*>(elf->elfScript),
                              ntm->ntmTm.tmCharSet, font->lfPitchAndFamily, ntm->ntmTm.tmHeight,
                              ntm->ntmFontSig.fsCsb[0]});
    if (recorder.stopAfter >= 0 && static_cast<int>(recorder.calls.size()) >= recorder.stopAfter) return 0;
    return recorder.answer;
}

class Enumeration : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(dc_, nullptr);
        if (const std::string missing = fonttest::missingFile({"LiberationSans-Regular.ttf", "LiberationSerif-Regular.ttf",
                                                               "LiberationMono-Regular.ttf", "DejaVuSans.ttf",
                                                               "StandardSymbolsPS.otf"});
            !missing.empty())
            GTEST_SKIP() << missing << " is not installed";
    }
    void TearDown() override { DeleteDC(dc_); }

    int enumerate(const char* face, BYTE charSet, Recorder& recorder) {
        LOGFONTA font{};
        font.lfCharSet = charSet;
        std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
        return EnumFontFamiliesExA(dc_, &font, record, reinterpret_cast<LPARAM>(&recorder), 0);
    }
    std::vector<BYTE> charSetsOf(const char* face, BYTE charSet = DEFAULT_CHARSET) {
        Recorder recorder;
        enumerate(face, charSet, recorder);
        std::vector<BYTE> sets;
        for (const Call& call : recorder.calls) {
            EXPECT_EQ(call.face, recorder.calls.front().face) << "one family";
            EXPECT_EQ(call.tmCharSet, call.charSet);
            sets.push_back(call.charSet);
        }
        return sets;
    }

    HDC dc_ = CreateCompatibleDC(nullptr);
};

using Sets = std::vector<BYTE>;
constexpr BYTE kAnsi = ANSI_CHARSET, kCe = EASTEUROPE_CHARSET, kCyr = RUSSIAN_CHARSET, kSym = SYMBOL_CHARSET;

TEST_F(Enumeration, ArialReportsAnsiFirstThenCentralEuropeanAndCyrillic) {
    Recorder recorder;
    EXPECT_EQ(enumerate("Arial", DEFAULT_CHARSET, recorder), 1);
    ASSERT_EQ(recorder.calls.size(), 3u);
    const std::vector<std::pair<BYTE, std::string>> expected = {
        {kAnsi, "Western"}, {kCe, "Central European"}, {kCyr, "Cyrillic"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        const Call& call = recorder.calls.at(i);
        EXPECT_EQ(call.face, "Arial");
        EXPECT_EQ(call.charSet, expected.at(i).first);
        EXPECT_EQ(call.script, expected.at(i).second);
        EXPECT_EQ(call.fontType, DWORD{TRUETYPE_FONTTYPE});
        EXPECT_EQ(call.pitchAndFamily, VARIABLE_PITCH | FF_SWISS);
        EXPECT_EQ(call.height, 16);
        EXPECT_EQ(call.codePages, 0x7u) << "1252, 1250 and 1251";
    }
}

TEST_F(Enumeration, StandInNamesAreFamiliesWithTheirCharacterSets) {
    struct Case {
        const char* face;
        Sets sets;
    };
    const Case cases[] = {
        {"Arial CE", {kCe}},
        {"arial cyr", {kCyr}},
        {"Times New Roman", {kAnsi, kCe, kCyr}},
        {"Times New Roman CE", {kCe}},
        {"Courier New", {kAnsi, kCe, kCyr}},
        {"Courier New Cyr", {kCyr}},
        {"Symbol", {kSym}},
        {"Wingdings", {kSym}},
        {"MS Sans Serif", {kAnsi, kCe, kCyr}},
        {"MS Shell Dlg", {}},  // stands in when asked for, never listed
        {"Liberation Sans", {kAnsi, kCe, kCyr}},
        {"Standard Symbols PS", {kSym}},
        {"No Such Family", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(charSetsOf(c.face), c.sets) << c.face;
}

TEST_F(Enumeration, ReportedNamesAreTheTablesSpelling) {
    Recorder recorder;
    enumerate("times new roman ce", DEFAULT_CHARSET, recorder);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls.front().face, "Times New Roman CE");
    EXPECT_EQ(recorder.calls.front().pitchAndFamily, VARIABLE_PITCH | FF_ROMAN);
}

TEST_F(Enumeration, AGivenCharacterSetReportsThatOneAlone) {
    EXPECT_EQ(charSetsOf("Arial", kCe), Sets{kCe});
    EXPECT_EQ(charSetsOf("Arial", kCyr), Sets{kCyr});
    EXPECT_EQ(charSetsOf("Arial", kSym), Sets{});
    EXPECT_EQ(charSetsOf("Symbol", kAnsi), Sets{});
    EXPECT_EQ(charSetsOf("Arial CE", kAnsi), Sets{});
    EXPECT_EQ(charSetsOf("Courier New", kAnsi), Sets{kAnsi});
}

TEST_F(Enumeration, StopsWhenTheCallbackReturnsZero) {
    Recorder first;
    first.stopAfter = 1;
    EXPECT_EQ(enumerate("Arial", DEFAULT_CHARSET, first), 0);
    EXPECT_EQ(first.calls.size(), 1u);
    EXPECT_EQ(first.calls.front().charSet, kAnsi) << "the probe for ANSI ends at the first answer";

    Recorder second;
    second.stopAfter = 2;
    EXPECT_EQ(enumerate("", DEFAULT_CHARSET, second), 0);
    EXPECT_EQ(second.calls.size(), 2u);
}

TEST_F(Enumeration, ReturnsTheCallbacksLastValue) {
    Recorder recorder;
    recorder.answer = 7;
    EXPECT_EQ(enumerate("Symbol", DEFAULT_CHARSET, recorder), 7);
    EXPECT_EQ(recorder.calls.size(), 1u);
    Recorder none;
    none.answer = 7;
    EXPECT_EQ(enumerate("No Such Family", DEFAULT_CHARSET, none), 1) << "nothing matched, nothing stopped";
}

TEST_F(Enumeration, EveryFamilyOncePerCharacterSet) {
    Recorder recorder;
    enumerate("", DEFAULT_CHARSET, recorder);
    std::set<std::pair<std::string, BYTE>> seen;
    std::set<std::string> families;
    std::string previousFace;
    for (const Call& call : recorder.calls) {
        EXPECT_TRUE(seen.insert({call.face, call.charSet}).second) << call.face << " " << int{call.charSet};
        const bool newFamily = call.face != previousFace;
        if (newFamily) {
            EXPECT_TRUE(families.insert(call.face).second) << call.face << " comes in one run";
        }
        previousFace = call.face;
    }
    for (const char* face : {"Arial", "Arial CE", "Symbol", "Wingdings", "Liberation Sans", "DejaVu Sans",
                             "DejaVu Sans Condensed", "Standard Symbols PS"})
        EXPECT_EQ(families.count(face), 1u) << face;
    EXPECT_EQ(families.count("MS Shell Dlg"), 0u);
    EXPECT_EQ(seen.count({"Arial", kAnsi}), 1u);
    EXPECT_EQ(seen.count({"Arial", kCyr}), 1u);
}

TEST_F(Enumeration, EveryFamilyOfACharacterSet) {
    Recorder recorder;
    enumerate("", RUSSIAN_CHARSET, recorder);
    std::set<std::string> families;
    for (const Call& call : recorder.calls) {
        EXPECT_EQ(call.charSet, kCyr) << call.face;
        EXPECT_TRUE(families.insert(call.face).second) << call.face;
    }
    EXPECT_EQ(families.count("Arial Cyr"), 1u);
    EXPECT_EQ(families.count("Arial"), 1u);
    EXPECT_EQ(families.count("Arial CE"), 0u);
    EXPECT_EQ(families.count("Symbol"), 0u);
}

// The callback may make fonts from what it is given: the enumeration holds no lock meanwhile.
int createFrom(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM lParam) {
    HFONT made = CreateFontIndirectA(font);
    if (made) ++*reinterpret_cast<int*>(lParam);
    DeleteObject(made);
    return 1;
}

TEST_F(Enumeration, TheCallbackMayCreateTheFonts) {
    winplat::testing::ScopedFontSource system(winplat::testing::FontSource::System);
    LOGFONTA font{};
    font.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(font.lfFaceName, "Courier New");
    int made = 0;
    EXPECT_EQ(EnumFontFamiliesExA(dc_, &font, createFrom, reinterpret_cast<LPARAM>(&made), 0), 1);
    EXPECT_EQ(made, 3);
}

TEST_F(Enumeration, Refusals) {
    winplat::testing::DebugCapture capture;
    LOGFONTA font{};
    font.lfCharSet = DEFAULT_CHARSET;
    Recorder recorder;
    EXPECT_EQ(EnumFontFamiliesExA(dc_, &font, nullptr, 0, 0), 0);
    EXPECT_EQ(EnumFontFamiliesExA(dc_, nullptr, record, reinterpret_cast<LPARAM>(&recorder), 0), 0);
    SetLastError(0);
    EXPECT_EQ(EnumFontFamiliesExA(nullptr, &font, record, reinterpret_cast<LPARAM>(&recorder), 0), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    std::memset(font.lfFaceName, 'A', LF_FACESIZE);
    EXPECT_EQ(EnumFontFamiliesExA(dc_, &font, record, reinterpret_cast<LPARAM>(&recorder), 0), 0);
    font.lfFaceName[0] = '\0';
    {
        winplat::testing::ScopedDebugAsserts off(false);
        EXPECT_EQ(EnumFontFamiliesExA(dc_, &font, record, reinterpret_cast<LPARAM>(&recorder), 1), 0);
    }
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_TRUE(capture.contains("EnumFontFamiliesExA: refused"));
}

}  // namespace
