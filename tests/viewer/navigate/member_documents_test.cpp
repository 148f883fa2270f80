// Numbered records and page names of members of the linked set, asked for by document index
// (255: the document on screen), on documents of the document writer.
#include <string>

#include <gtest/gtest.h>

#include "navigate/member_documents.h"
#include "navigate/member_strings.h"
#include "shell/current_document.h"
#include "store/doc_string_table.h"
#include "store/text_slots.h"
#include "winplat/base.h"
#include "written_documents.h"

namespace {

using lect32::LinkedDocumentSet;

class PageWindowShowing : public lect32::ShownDocument {
public:
    explicit PageWindowShowing(uint8_t member) : member_(member) {}
    uint8_t ShownMember() const override { return member_; }

private:
    uint8_t member_;
};

class MemberDocumentsTest : public LinkedSetTest {
protected:
    void TearDown() override { lect32::SetCurrentPageWindow(nullptr); }
};

TEST_F(MemberDocumentsTest, DocumentOnScreenIsTheCurrentPageWindowsMember) {
    // Without a page window the document on screen is member 0 (alfa holds record 4).
    EXPECT_EQ(lect32::DocumentHasNumberedRecord(set(), 4, LinkedDocumentSet::kNoMember), 1);
    EXPECT_EQ(lect32::DocumentHasNumberedRecord(set(), 6, LinkedDocumentSet::kNoMember), 0);
    const PageWindowShowing beta(1);
    lect32::SetCurrentPageWindow(&beta);
    EXPECT_EQ(lect32::DocumentHasNumberedRecord(set(), 4, LinkedDocumentSet::kNoMember), 0);
    EXPECT_EQ(set().GetActiveMember(), 1);
    EXPECT_EQ(lect32::DocumentHasNumberedRecord(set(), 6, LinkedDocumentSet::kNoMember), 1);
    EXPECT_EQ(lect32::DocumentHasNumberedRecord(set(), 4, 0), 1);
    EXPECT_EQ(set().GetActiveMember(), 0);
}

// Alfa stays open and holds record 4, so an answer taken from whatever is open would be 1.
TEST_F(MemberDocumentsTest, DocumentsOutsideTheSetOrNotOpeningHaveNoRecords) {
    for (uint8_t member : {2, 3, 4, 200}) {  // never found, gone since, past the set
        SCOPED_TRACE(int{member});
        EXPECT_EQ(lect32::DocumentHasNumberedRecord(set(), 4, member), 0);
        EXPECT_EQ(set().GetActiveMember(), 0);
    }
}

TEST_F(MemberDocumentsTest, MainDocumentIsMemberZero) {
    char buffer[MAX_PATH] = "stale";
    ASSERT_EQ(set().Activate(1), 1);
    EXPECT_EQ(lect32::GetMainDocumentPath(set(), buffer), path("alfa").size());
    EXPECT_EQ(buffer, path("alfa"));
    set().Clear();
    EXPECT_EQ(lect32::GetMainDocumentPath(set(), buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST_F(MemberDocumentsTest, DocumentStringActivatesItsMember) {
    struct Case {
        int16_t n;
        uint8_t document;
        std::string expected;
        uint8_t activeAfter;
    };
    const Case cases[] = {{3, 1, "Beta t\xF8i", 1}, {7, 1, "", 1}, {7, 0, "Sedm\xE1", 0}, {0, 3, "Alfa", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        char buffer[lect32::DocStringTable::kBufferSize] = "stale";
        EXPECT_EQ(lect32::LoadDocumentString(set(), buffer, c.n, c.document), static_cast<int>(c.expected.size()));
        EXPECT_EQ(buffer, c.expected);
        EXPECT_EQ(set().GetActiveMember(), c.activeAfter);
    }
}

TEST_F(MemberDocumentsTest, PageMinusOneIsResourceText15) {
    char buffer[lect32::DocStringTable::kBufferSize] = "stale";
    const std::string expected = lect32::LoadResourceText(15);
    EXPECT_EQ(lect32::LoadDocumentString(set(), buffer, -1, 1), static_cast<int>(expected.size()));
    EXPECT_EQ(buffer, expected);
    EXPECT_EQ(set().GetActiveMember(), 0);
}

}  // namespace
