// Page names read from members of a linked set: the member opened for the one read, the table's
// binding given back, a member that cannot be opened read as empty.
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "navigate/linked_document_set.h"
#include "navigate/member_strings.h"
#include "store/doc_string_table.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "viewer/store/vazazi_test_support.h"

namespace {

using lect32::DocStringTable;
using lect32::LinkedDocumentSet;
using lect32::VazaziFile;

// Fills the document with random page names (some blocks absent) through whole blocks.
void writeRandomNames(VazaziFile& file, unsigned seed) {
    std::mt19937 random(seed);
    DocStringTable table(file);
    for (int block = 0; block < DocStringTable::kBlocks; ++block) {
        if (random() % 6 == 0) continue;
        table.ClearBlock();
        for (int slot = 0; slot < DocStringTable::kSlots; ++slot) {
            std::string name(random() % 40, '\0');
            for (char& c : name) c = static_cast<char>(0xC0 + random() % 24);
            ASSERT_EQ(table.SetSlot(slot, name.c_str(), static_cast<uint8_t>(name.size())), 1);
        }
        lect32::MemWriter writer;
        ASSERT_EQ(table.BuildBlock(writer), 1);
        ASSERT_EQ(file.WriteRecordByType(0, block, writer), 1);
    }
}

class MemberStringsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(main.Create(scratch.windows("main.vzz").c_str(), 1), 0);
        writeRandomNames(main, 1);
        VazaziFile member;
        ASSERT_EQ(member.Create(scratch.windows("member.vzz").c_str(), 1), 0);
        writeRandomNames(member, 2);
        member.Close();
        ASSERT_EQ(memberCopy.Open(scratch.windows("member.vzz").c_str(), false), 1);
        for (const char* name : {"main.vzz", "member.vzz", "gone.vzz"}) {
            ASSERT_NE(set.AddMember(scratch.windows(name), true), LinkedDocumentSet::kNoMember);
        }
    }

    // Every number of every blockStep-th block read through the set equals the slot of the parsed
    // block of 'expectedFrom'.
    void expectEveryNumber(uint8_t document, VazaziFile& expectedFrom, int blockStep = 1) {
        DocStringTable parsed(expectedFrom);
        char expected[DocStringTable::kBufferSize];
        char buffer[DocStringTable::kBufferSize];
        for (int block = 0; block < DocStringTable::kBlocks; block += blockStep) {
            lect32::MemReader reader;
            const bool present = expectedFrom.ReadRecordByType(0, block, reader) != 0;
            if (present) {
                ASSERT_EQ(parsed.ParseBlock(reader), 1);
            }
            for (int slot = 0; slot < DocStringTable::kSlots; ++slot) {
                expected[0] = '\0';
                if (present) parsed.GetSlot(slot, expected);
                const auto n = static_cast<int16_t>(block * 256 + slot);
                ASSERT_EQ(lect32::ReadMemberString(table, set, n, buffer, document), static_cast<int>(std::strlen(expected)));
                ASSERT_STREQ(buffer, expected) << n;
                ASSERT_EQ(&table.container(), &main);
                ASSERT_EQ(set.openMember(), LinkedDocumentSet::kNoMember);
            }
        }
    }

    vazazi_test::ScratchFolder scratch;
    VazaziFile main;
    VazaziFile memberCopy;  // the member as the test reads it, apart from the set
    DocStringTable table{main};
    LinkedDocumentSet set{main};
};

TEST_F(MemberStringsTest, EveryNumberOfAMemberEqualsItsParsedBlock) { expectEveryNumber(1, memberCopy); }

TEST_F(MemberStringsTest, BoundContainerAndActiveMemberReadTheOpenDocument) {
    // Every number of the open document is the store's own random-table test; a sample here.
    expectEveryNumber(LinkedDocumentSet::kNoMember, main, 9);
    expectEveryNumber(0, main, 9);
}

TEST_F(MemberStringsTest, MemberThatCannotBeOpenedReadsEmpty) {
    for (uint8_t document : {2, 3, 254}) {
        SCOPED_TRACE(document);
        char buffer[DocStringTable::kBufferSize] = "stale";
        EXPECT_EQ(lect32::ReadMemberString(table, set, 5, buffer, document), 0);
        EXPECT_STREQ(buffer, "");
        EXPECT_EQ(&table.container(), &main);
        EXPECT_EQ(set.openMember(), LinkedDocumentSet::kNoMember);
    }
}

}  // namespace
