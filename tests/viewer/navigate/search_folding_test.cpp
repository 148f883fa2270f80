// The search's character tables: lower case against the platform's own cp1250 rule, letter classes
// by the table of classes, and the current folding table switched between case and no case.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "navigate/search_folding.h"
#include "winplat/cp1250.h"

namespace {

using lect32::LetterClass;

// Leaves the reader's folding as searches find it by default.
class FoldingGuard {
public:
    ~FoldingGuard() { lect32::SetFolding(0); }
};

TEST(SearchFolding, LowerCaseFoldsEveryCp1250CapitalAndNothingElse) {
    const struct {
        uint8_t byte, folded;
        const char* what;
    } cases[] = {
        {'A', 'a', "A"},    {'Z', 'z', "Z"},    {'a', 'a', "a"},    {'5', '5', "a digit"},
        {0xC8, 0xE8, "Č"},  {0x8A, 0x9A, "Š"},  {0x8E, 0x9E, "Ž"},  {0xBC, 0xBE, "Ľ"},
        {0xA5, 0xB9, "Ą"},  {0xA3, 0xB3, "Ł"},  {0xC0, 0xE0, "Ŕ"},  {0xDE, 0xFE, "Ţ"},
        {0xD8, 0xF8, "Ř"},  {0xE8, 0xE8, "č"},  {0xDF, 0xDF, "ß"},  {0xD7, 0xD7, "×"},
        {0xF7, 0xF7, "÷"},  {0xB5, 0xB5, "µ"},  {'@', '@', "@"},    {0x02, 0x02, "a control code"},
    };
    for (const auto& c : cases) EXPECT_EQ(lect32::LowerCaseTable()[c.byte], c.folded) << c.what;
}

struct ClassCase {
    uint8_t byte;
    int8_t letterClass;
    const char* what;
};

TEST(SearchFolding, LetterClasses) {
    const ClassCase cases[] = {
        {'0', 0, "0"},      {'9', 9, "9"},       {'a', 10, "a"},      {'A', 10, "A"},      {'Z', 35, "Z"},
        {0x9A, 36, "š"},    {0x8A, 36, "Š"},     {0xBE, 45, "ľ"},     {0xBC, 45, "Ľ"},     {0xE0, 46, "ŕ"},
        {0xC0, 46, "Ŕ"},    {0xF6, 68, "ö"},     {0xF8, 69, "ř"},     {0xD8, 69, "Ř"},     {0xFE, 75, "ţ"},
        {0xDE, 75, "Ţ"},    {0xDF, 76, "ß"},     {'@', 77, "@"},      {0xA7, 78, "§"},     {'$', 79, "$"},
        {'%', 80, "%"},     {0x89, 81, "‰"},     {0xA9, 82, "©"},     {0xAE, 83, "®"},     {'/', 84, "/"},
        {' ', -1, "space"}, {'*', -1, "star"},   {'-', -1, "hyphen"}, {'.', -1, "stop"},   {'\t', -1, "tab"},
        {0xD7, -1, "×"},    {0xF7, -1, "÷"},     {0xA0, -1, "no-break space"},                {0xB5, -1, "µ"},
        {0x84, -1, "„"},    {0x02, -1, "a control code"},
    };
    for (const ClassCase& c : cases) EXPECT_EQ(LetterClass(c.byte), c.letterClass) << c.what;
}

TEST(SearchFolding, EveryLetterClassHoldsOneCaseWithItsFoldedForm) {
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<uint8_t>(c);
        EXPECT_EQ(LetterClass(lect32::LowerCaseTable()[byte]), LetterClass(byte)) << c;
    }
    for (int letterClass = 10; letterClass <= 75; ++letterClass) {
        int members = 0;
        for (int c = 0; c < 256; ++c) members += LetterClass(static_cast<uint8_t>(c)) == letterClass ? 1 : 0;
        EXPECT_EQ(members, 2) << letterClass;
    }
}

TEST(SearchFolding, CurrentTableFoldsOrKeepsCase) {
    FoldingGuard guard;
    const std::string upper = winplat::cp1250::fromUtf8("ČAS Ťuk");
    std::string text = upper;
    EXPECT_EQ(lect32::FoldText(reinterpret_cast<uint8_t*>(text.data()), 0), 7);
    EXPECT_EQ(text, winplat::cp1250::fromUtf8("čas ťuk"));

    lect32::SetFolding(1);
    text = upper;
    EXPECT_EQ(lect32::FoldText(reinterpret_cast<uint8_t*>(text.data()), 3), 3);
    EXPECT_EQ(text, upper);

    lect32::SetFolding(0);
    text = upper;
    EXPECT_EQ(lect32::FoldText(reinterpret_cast<uint8_t*>(text.data()), 3), 3);
    EXPECT_EQ(text, winplat::cp1250::fromUtf8("čas Ťuk")) << "only the given length is folded";
}

}  // namespace
