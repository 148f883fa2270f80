// The program's shared objects: the options record's stored defaults, and the pieces wired to one
// another (the set over the open document, the id list stored through the properties record).
#include <cstring>

#include <gtest/gtest.h>

#include "navigate/program_objects.h"

namespace {

TEST(ProgramObjects, OptionsRecordHoldsItsTwelveDefaultBytes) {
    const lect32::ProgramOptions options;
    uint8_t bytes[12];
    std::memcpy(bytes, &options, sizeof bytes);
    const uint8_t expected[12] = {1, 0, 1, 1, 5, 0, 1, 0, 1, 0, 1, 1};
    EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof bytes));
}

TEST(ProgramObjects, SetAndIdListWorkOnTheOpenDocument) {
    lect32::ProgramObjects& program = lect32::Program();
    EXPECT_EQ(&program.linkedDocuments.openDocument(), &program.openDocument);
    EXPECT_EQ(&program.propertiesRecord.Document(), &program.openDocument);
    EXPECT_EQ(&program.languageTexts, &lect32::LanguageTexts());
    EXPECT_EQ(&program.languageTables, &lect32::LanguageTables());
    // With no document open, storing the list fails rather than going nowhere.
    EXPECT_EQ(program.idList.SetCurrent(3), 0);
    program.idList.Clear();
}

}  // namespace
