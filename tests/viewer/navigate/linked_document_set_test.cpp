// The linked-document set on documents of the document writer: activating a member reopens the
// open document on it and reloads its properties, a member that does not open leaves the previous
// document open, and member paths, presence and link maps answer within their bounds.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "navigate/linked_document_set.h"
#include "store/doc_string_table.h"
#include "store/document_tables.h"
#include "winplat/base.h"
#include "written_documents.h"

namespace {

using lect32::LinkedDocumentSet;

std::string openPath(const lect32::VazaziFile& file) {
    char path[MAX_PATH];
    file.GetPath(path);
    return path;
}

std::string pageName(lect32::VazaziFile& file, int16_t n) {
    lect32::DocStringTable table(file);
    char name[lect32::DocStringTable::kBufferSize];
    table.ReadString(n, name);
    return name;
}

TEST_F(LinkedSetTest, ActivateOpensTheMemberAndReloadsItsProperties) {
    ASSERT_EQ(objects.properties.StartPage, 2);
    ASSERT_EQ(set().Activate(1), 1);
    EXPECT_EQ(set().GetActiveMember(), 1);
    EXPECT_EQ(openPath(objects.openDocument), path("beta"));
    EXPECT_EQ(pageName(objects.openDocument, 0), "Beta");
    EXPECT_EQ(objects.properties.StartPage, 5);
    ASSERT_EQ(objects.idList.GetCount(), 1);
    EXPECT_EQ(objects.idList.GetAt(0), 1);
    EXPECT_EQ(objects.idList.GetCurrent(), -1);
    // The other per-document tables follow; the picture names stand for them.
    char picture[lect32::FileNameTable::kPathBuffer];
    lect32::documentFileNames().GetPath(0, picture);
    EXPECT_STREQ(picture, "obrazek.png");
}

TEST_F(LinkedSetTest, ActivatingTheActiveMemberReloadsNothing) {
    objects.properties.StartPage = 99;
    EXPECT_EQ(set().Activate(0), 1);
    EXPECT_EQ(objects.properties.StartPage, 99);
}

TEST_F(LinkedSetTest, MemberThatDoesNotOpenLeavesThePreviousDocumentOpen) {
    ASSERT_EQ(set().Activate(1), 1);
    for (uint8_t member : {2, 3, 4, 254}) {  // never found, gone since, past the set
        SCOPED_TRACE(int{member});
        EXPECT_EQ(set().Activate(member), 0);
        EXPECT_EQ(set().GetActiveMember(), 1);
        ASSERT_TRUE(objects.openDocument.IsOpen());
        EXPECT_EQ(openPath(objects.openDocument), path("beta"));
        EXPECT_EQ(pageName(objects.openDocument, 3), "Beta t\xF8i");
        EXPECT_EQ(objects.properties.StartPage, 5);
    }
}

TEST_F(LinkedSetTest, MemberPathOutOfRangeIsEmpty) {
    struct Case {
        uint8_t member;
        std::string expected;
    };
    for (const Case& c : {Case{0, path("alfa")}, Case{3, path("delta")}, Case{4, ""}, Case{255, ""}}) {
        SCOPED_TRACE(int{c.member});
        char buffer[MAX_PATH] = "stale";
        EXPECT_EQ(set().GetMemberPath(c.member, buffer), c.expected.size());
        EXPECT_EQ(buffer, c.expected);
    }
}

TEST_F(LinkedSetTest, PresentMeansInTheSetAndFound) {
    const std::vector<std::pair<int16_t, bool>> cases{{0, true}, {1, true}, {2, false}, {3, true},
                                                      {4, false}, {-1, false}, {255, false}};
    for (const auto& [member, present] : cases) EXPECT_EQ(set().IsMemberPresent(member), present) << member;
}

TEST_F(LinkedSetTest, SamePathInOtherCaseIsTheSameMember) {
    std::string upper = path("gamma");
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(set().AddMember(upper, true), 2);
    EXPECT_EQ(set().GetMemberCount(), 4);
    EXPECT_TRUE(set().IsMemberPresent(2));
}

TEST_F(LinkedSetTest, LinksResolveThroughTheMembersLinkMap) {
    ASSERT_EQ(set().SetLinkMap(0, {2, 1}), 1);
    struct Case {
        uint8_t member, link, expected;
    };
    const Case cases[] = {{0, 0, 0},    // link 0 is the member itself
                          {0, 1, 2},    {0, 2, 1},
                          {0, 3, 0},    // past the map
                          {1, 1, 1},    // an empty map
                          {9, 1, 9}};   // not a member
    for (const Case& c : cases) {
        EXPECT_EQ(set().ResolveLink(c.member, c.link), c.expected) << int{c.member} << " link " << int{c.link};
    }
    EXPECT_EQ(set().SetLinkMap(4, {0}), 0);
}

TEST_F(LinkedSetTest, ClearEmptiesTheSetAndItsLinkMaps) {
    ASSERT_EQ(set().SetLinkMap(0, {1}), 1);
    ASSERT_EQ(set().Activate(1), 1);
    set().Clear();
    EXPECT_EQ(set().GetMemberCount(), 0);
    EXPECT_EQ(set().GetActiveMember(), 0);
    EXPECT_EQ(set().AddMember(path("beta"), true), 0);
    EXPECT_EQ(set().ResolveLink(0, 1), 0);
}

}  // namespace
