#include "page/page_style_form.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "store/mem_writer.h"
#include "support/tool_runner.h"

namespace {

using lect32::PageStyle;
using lect32::PageStyleRead;
using Bytes = std::vector<uint8_t>;

// Fields of the packed style are read through + into a value: gtest would bind a reference to them.

void Word(Bytes& out, int value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

Bytes Write(const PageStyle& style) {
    lect32::MemWriter writer;
    writer.Begin();
    EXPECT_TRUE(lect32::WritePageStyle(writer, style));
    EXPECT_EQ(writer.End(), 0);
    Bytes bytes(writer.GetLength());
    writer.CopyTo(bytes.data());
    return bytes;
}

struct ReadResult {
    PageStyleRead result;
    PageStyle style;
    size_t consumed;
};

ReadResult Read(const Bytes& bytes) {
    winplat::ByteReader in(bytes.data(), bytes.size());
    ReadResult out{PageStyleRead::Truncated, PageStyle{}, 0};
    out.result = lect32::ReadPageStyle(in, out.style);
    out.consumed = in.position();
    return out;
}

bool SameBytes(const PageStyle& one, const PageStyle& other) { return std::memcmp(&one, &other, sizeof one) == 0; }

// A style that differs from the defaults in every field a set flag stores.
PageStyle Unusual(uint16_t flags) {
    PageStyle s;
    s.flags = flags;
    s.widthMode = 1, s.width = 612, s.layoutWord = 800, s.margins = {11, 12, 13, 14};
    s.backgroundColour = 7;
    s.backgroundPicture = 33, s.backgroundPictureMode = 4;
    s.group10[0] = 1, s.group10[1] = 21, s.group10[2] = 22, s.group10[3] = 23, s.group10[4] = 24;
    s.group20[0] = 1, s.group20[1] = 9;
    s.group40Word = 5, s.group40Byte = 3;
    s.group80Byte = 1;
    s.group100Byte = 1;
    s.group200Byte = 2, s.group200Words[0] = -300, s.group200Words[1] = 301;
    s.group400Byte = 3, s.group400Words[0] = 150, s.group400Words[1] = -151;
    s.group800Bytes[0] = 0, s.group800Bytes[1] = 6, s.group800Word = 1234;
    s.links[0] = {40, 1}, s.links[1] = {-1, 0}, s.links[2] = {42, 3};
    s.group2000Present = 1, s.group2000Word1 = 17, s.group2000Byte = 2, s.group2000Word2 = 55;
    s.trailingId = 9;
    return s;
}

// What the reader must give back for a style written with 'flags': the unusual values where a
// group is stored, the defaults where it is not.
PageStyle Expected(uint16_t flags) {
    PageStyle unusual = Unusual(flags);
    PageStyle expected;
    expected.flags = flags;
    lect32::MergePageStyle(expected, unusual, PageStyle{});
    expected.backgroundColour = (flags & PageStyle::kColourGroup) ? unusual.backgroundColour : 255;
    expected.group2000Present = (flags & PageStyle::kGroup2000) ? 1 : 0;
    if (!(flags & PageStyle::kLinkGroup)) expected.InitLinks();
    if (!(flags & PageStyle::kGroup2000)) {
        expected.group2000Word1 = -1, expected.group2000Byte = 0, expected.group2000Word2 = 10;
    }
    expected.trailingId = (flags & PageStyle::kTrailingIdAbsent) ? -1 : unusual.trailingId;
    return expected;
}

class PageStyleRoundTrip : public testing::TestWithParam<uint16_t> {};

TEST_P(PageStyleRoundTrip, WrittenStyleReadsBackField_for_field) {
    const uint16_t flags = GetParam();
    const Bytes bytes = Write(Unusual(flags));
    ASSERT_EQ(bytes[0], 5);
    const ReadResult read = Read(bytes);
    ASSERT_EQ(read.result, PageStyleRead::Ok);
    EXPECT_EQ(read.consumed, bytes.size());
    EXPECT_TRUE(SameBytes(read.style, Expected(flags))) << "flags " << flags;
}

INSTANTIATE_TEST_SUITE_P(Flags, PageStyleRoundTrip,
                         testing::Values(0x0000, 0x0001, 0x3FFE, 0x3FFF, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020,
                                         0x0040, 0x0080, 0x0100, 0x0200, 0x0400, 0x0800, 0x1000, 0x2000,
                                         0x2A55, 0x15AA));

TEST(PageStyleFormTest, WritesTheGroupsInTheirStoredOrder) {
    const Bytes bytes = Write(Unusual(0x0001 | 0x0010 | 0x0800 | 0x2000));
    const Bytes expected = {5,    0x11, 0x28,                   // version, flags
                            1,    21,   23,   24, 22,           // contents list, params 1, 3, 4, 2
                            0,    6,    0xD2, 0x04,             // group 0x800
                            17,   0,    2,    55, 0};           // timed page, link, ticks
    EXPECT_EQ(bytes, expected);
}

// Hand-made records of the older versions and of the version-dependent groups.
struct VersionCase {
    const char* name;
    Bytes bytes;
    std::function<void(const PageStyle&)> check;
};

Bytes FlagForm(uint8_t version, uint16_t flags, const Bytes& body) {
    Bytes out{version};
    Word(out, flags);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

const VersionCase kVersionCases[] = {
    {"v4 group 0x800 stores one byte; the second is 1 and the word 0",
     FlagForm(4, 0x0801, {0}),
     [](const PageStyle& s) {
         EXPECT_EQ(+s.group800Bytes[0], 0);
         EXPECT_EQ(+s.group800Bytes[1], 1);
         EXPECT_EQ(+s.group800Word, 0);
     }},
    {"v5 group 0x800 stores two bytes and a word",
     FlagForm(5, 0x0801, {0, 4, 0x10, 0x01}),
     [](const PageStyle& s) {
         EXPECT_EQ(+s.group800Bytes[1], 4);
         EXPECT_EQ(+s.group800Word, 0x110);
     }},
    {"v4 group 0x800 then the template page right after its one byte",
     FlagForm(4, 0x0800, {2, 0x34, 0x12}),
     [](const PageStyle& s) {
         EXPECT_EQ(+s.group800Bytes[0], 2);
         EXPECT_EQ(+s.trailingId, 0x1234);
     }},
    {"v2 has no group-0x80 byte: the next two are the template page",
     FlagForm(2, 0x0080, {0x05, 0x00}),
     [](const PageStyle& s) {
         EXPECT_EQ(+s.group80Byte, 0);
         EXPECT_EQ(+s.trailingId, 5);
     }},
    {"v3 reads the group-0x80 byte",
     FlagForm(3, 0x0080, {1, 0x05, 0x00}),
     [](const PageStyle& s) {
         EXPECT_EQ(+s.group80Byte, 1);
         EXPECT_EQ(+s.trailingId, 5);
     }},
    {"v3 has no groups 0x100 to 0x2000",
     FlagForm(3, 0x3F00, {0x06, 0x00}),
     [](const PageStyle& s) {
         EXPECT_EQ(+s.group100Byte, 0);
         EXPECT_EQ(+s.links[0].id, -1);
         EXPECT_EQ(+s.group2000Word1, -1);
         EXPECT_EQ(+s.trailingId, 6);
     }},
    {"without the colour group the colour is unset",
     FlagForm(5, 0x0001, {}),
     [](const PageStyle& s) {
         EXPECT_EQ(+s.backgroundColour, 255);
         EXPECT_EQ(+s.trailingId, -1);
     }},
    {"bit 0x1 leaves the template page unread",
     FlagForm(5, 0x0005, {3}),
     [](const PageStyle& s) {
         EXPECT_EQ(+s.backgroundColour, 3);
         EXPECT_EQ(+s.trailingId, -1);
     }},
    {"v1 banner with no sound takes the sound group",
     {1, 0, 255, 1, 4, 0xFF, 0xFF, 2},
     [](const PageStyle& s) {
         EXPECT_EQ(+s.flags, 0x0008 | 0x0020 | 0x0040);
         EXPECT_EQ(+s.group20[1], 4);
         EXPECT_EQ(+s.group40Word, -1);
         EXPECT_EQ(+s.group40Byte, 2);
         EXPECT_EQ(+s.backgroundColour, 255);
     }},
    {"v1 banner with a sound keeps that sound its own",
     {1, 0, 255, 1, 4, 7, 0, 3},
     [](const PageStyle& s) {
         EXPECT_EQ(+s.flags, 0x0008 | 0x0020 | 0x0040);
         EXPECT_EQ(+s.group40Word, 7);
         EXPECT_EQ(+s.group40Byte, 3);
     }},
    {"v0 banner reads no sound fields",
     {0, 0, 255, 1, 4},
     [](const PageStyle& s) {
         EXPECT_EQ(+s.flags, 0x0008 | 0x0020 | 0x0040);
         EXPECT_EQ(+s.group40Word, -1);
         EXPECT_EQ(+s.trailingId, -1);
     }},
    {"v0 with nothing stored sets only the picture group",
     {0, 0, 255, 255},
     [](const PageStyle& s) {
         EXPECT_EQ(+s.flags, 0x0008);
         EXPECT_EQ(+s.backgroundColour, 255);
         EXPECT_EQ(+s.group10[0], 0);
     }},
    {"v0 size and colour",
     {0, 1, 2, 0x90, 0x01, 0x20, 0x03, 1, 0, 2, 0, 3, 0, 4, 0, 6, 1, 5, 6, 7, 8, 255},
     [](const PageStyle& s) {
         EXPECT_EQ(+s.flags, 0x0002 | 0x0004 | 0x0008 | 0x0010);
         EXPECT_EQ(+s.widthMode, 2);
         EXPECT_EQ(+s.width, 400);
         EXPECT_EQ(+s.layoutWord, 800);
         EXPECT_EQ(+s.LeftMargin(), 1);
         EXPECT_EQ(+s.RightMargin(), 2);
         EXPECT_EQ(+s.TopMargin(), 3);
         EXPECT_EQ(+s.BottomMargin(), 4);
         EXPECT_EQ(+s.backgroundColour, 6);
         EXPECT_EQ(+s.group10[0], 1);
         EXPECT_EQ(+s.group10[1], 5);
         EXPECT_EQ(+s.group10[3], 6);
         EXPECT_EQ(+s.group10[4], 7);
         EXPECT_EQ(+s.group10[2], 8);
     }},
    {"v0 size with an unset colour leaves the colour group off",
     {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255},
     [](const PageStyle& s) {
         EXPECT_EQ(+s.flags, 0x0002 | 0x0008);
         EXPECT_EQ(+s.backgroundColour, 255);
     }},
};

TEST(PageStyleFormTest, VersionCases) {
    for (const VersionCase& c : kVersionCases) {
        SCOPED_TRACE(c.name);
        const ReadResult read = Read(c.bytes);
        ASSERT_EQ(read.result, PageStyleRead::Ok);
        EXPECT_EQ(read.consumed, c.bytes.size());
        c.check(read.style);
    }
}

// Every record cut short anywhere is refused and leaves the caller's style as it was.
TEST(PageStyleFormTest, TruncatedRecordsAreRefusedAndChangeNothing) {
    std::vector<Bytes> whole = {Write(Unusual(0x3FFE)), Write(Unusual(0x2A55))};
    for (const VersionCase& c : kVersionCases) whole.push_back(c.bytes);
    PageStyle sentinel;
    sentinel.width = 1, sentinel.flags = 0x4000, sentinel.trailingId = 77;
    for (const Bytes& record : whole) {
        for (size_t cut = 0; cut < record.size(); ++cut) {
            SCOPED_TRACE(testing::Message() << "version " << +record[0] << " cut at " << cut);
            winplat::ByteReader in(record.data(), cut);
            PageStyle style = sentinel;
            EXPECT_EQ(lect32::ReadPageStyle(in, style), PageStyleRead::Truncated);
            EXPECT_TRUE(SameBytes(style, sentinel));
        }
    }
}

TEST(PageStyleFormTest, ReadingStopsAtTheRecordsEnd) {
    Bytes bytes = FlagForm(5, 0x0005, {3});
    bytes.push_back(0xAB);
    EXPECT_EQ(Read(bytes).consumed, 4u);
}

// Merge: group by group from the page when it sets the bit, else from the defaults.
struct MergeCase {
    uint16_t bit;
    std::function<int(const PageStyle&)> field;
};

const MergeCase kMergeCases[] = {
    {0x0002, [](const PageStyle& s) { return s.width + s.layoutWord + s.widthMode + s.BottomMargin(); }},
    {0x0004, [](const PageStyle& s) { return +s.backgroundColour; }},
    {0x0008, [](const PageStyle& s) { return s.backgroundPicture * 16 + s.backgroundPictureMode; }},
    {0x0010, [](const PageStyle& s) { return s.group10[0] + s.group10[2] * 256; }},
    {0x0020, [](const PageStyle& s) { return s.group20[0] + s.group20[1] * 256; }},
    {0x0040, [](const PageStyle& s) { return s.group40Word * 16 + s.group40Byte; }},
    {0x0080, [](const PageStyle& s) { return +s.group80Byte; }},
    {0x0100, [](const PageStyle& s) { return +s.group100Byte; }},
    {0x0200, [](const PageStyle& s) { return s.group200Byte + s.group200Words[1]; }},
    {0x0400, [](const PageStyle& s) { return s.group400Byte + s.group400Words[0]; }},
    {0x0800, [](const PageStyle& s) { return s.group800Bytes[1] + s.group800Word; }},
};

TEST(PageStyleMergeTest, EachGroupComesFromThePageOnlyWhenItsBitIsSet) {
    const PageStyle page = Unusual(0);
    const PageStyle defaults;
    for (const MergeCase& c : kMergeCases) {
        SCOPED_TRACE(testing::Message() << "group " << std::hex << c.bit);
        PageStyle withBit = page;
        withBit.flags = c.bit;
        PageStyle target;
        lect32::MergePageStyle(target, withBit, defaults);
        EXPECT_EQ(c.field(target), c.field(page));
        ASSERT_NE(c.field(page), c.field(defaults));
        lect32::MergePageStyle(target, page, defaults);
        EXPECT_EQ(c.field(target), c.field(defaults));
    }
}

TEST(PageStyleMergeTest, LinksAndTimedChangeAlwaysComeFromThePage) {
    const PageStyle page = Unusual(0);
    PageStyle target;
    target.flags = 0x0001, target.trailingId = 12, target.oldFormPresence = 1;
    lect32::MergePageStyle(target, page, PageStyle{});
    EXPECT_EQ(+target.links[0].id, 40);
    EXPECT_EQ(+target.links[2].value, 3);
    EXPECT_EQ(+target.group2000Present, 1);
    EXPECT_EQ(+target.group2000Word1, 17);
    EXPECT_EQ(+target.group2000Byte, 2);
    EXPECT_EQ(+target.group2000Word2, 55);
    // The target's own flags and template page stay.
    EXPECT_EQ(+target.flags, 0x0001);
    EXPECT_EQ(+target.trailingId, 12);
    EXPECT_EQ(+target.oldFormPresence, 1);
}

}  // namespace

// ---- the document writer's file forms, an implementation apart from this reader

namespace {

// The writer's page style in the file form of 'version', with every group and these values.
Bytes WriterForm(int version) {
    const auto script = std::filesystem::temp_directory_path() /
                        ("lect32_page_style_" + std::to_string(std::random_device{}()) + ".py");
    std::ofstream(script) << "import os, sys\n"
                             "sys.path.insert(0, os.path.dirname(sys.argv[1]))\n"
                             "from lcnwriter import pagestyle\n"
                             "v = {'flags': 0x3FFE, 'width': 612, 'height': 800, 'widthMode': 1, 'leftMargin': 3,\n"
                             "     'rightMargin': 4, 'topMargin': 5, 'bottomMargin': 6, 'backColour': 7,\n"
                             "     'contentsList': 1, 'contentsParam1': 11, 'contentsParam2': 12, 'contentsParam3': 13,\n"
                             "     'contentsParam4': 14, 'bannerOn': 1, 'bannerStyle': 4, 'soundIndex': 3,\n"
                             "     'soundMode': 2, 'backPicture': 21, 'backPictureMode': 3, 'option80': 1,\n"
                             "     'noSearch': 1, 'option800a': 0, 'option800b': 5, 'value800': 300,\n"
                             "     'pageLinks': [(4, 1), (-1, 0), (6, 2)], 'timedPage': 8, 'timedLink': 1,\n"
                             "     'timedTicks': 30, 'templatePage': 2}\n"
                             "print(pagestyle.file_form(v, int(sys.argv[2])).bytes().hex())\n";
    const std::string hex = tool_runner::output(std::string(PYTHON_EXECUTABLE) + " -B " + tool_runner::quoted(script) +
                                                " " + LCNWRITER_DIR + " " + std::to_string(version));
    std::filesystem::remove(script);
    Bytes bytes;
    for (size_t i = 0; i + 1 < hex.size() && std::isxdigit(static_cast<unsigned char>(hex[i])); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

TEST(PageStyleFormTest, ReadsTheDocumentWritersFormOfEveryVersion) {
    if (!page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer";
    for (int version = 0; version <= 5; ++version) {
        SCOPED_TRACE(testing::Message() << "version " << version);
        const Bytes bytes = WriterForm(version);
        ASSERT_FALSE(bytes.empty());
        const ReadResult read = Read(bytes);
        ASSERT_EQ(read.result, PageStyleRead::Ok);
        EXPECT_EQ(read.consumed, bytes.size());
        const PageStyle& s = read.style;
        EXPECT_EQ(+s.width, 612);
        EXPECT_EQ(+s.layoutWord, 800);
        EXPECT_EQ(+s.LeftMargin(), 3);
        EXPECT_EQ(+s.RightMargin(), 4);
        EXPECT_EQ(+s.TopMargin(), 5);
        EXPECT_EQ(+s.BottomMargin(), 6);
        EXPECT_EQ(+s.backgroundColour, 7);
        EXPECT_EQ(+s.group10[0], 1);
        EXPECT_EQ(+s.group10[1], 11);
        EXPECT_EQ(+s.group10[2], 12);
        EXPECT_EQ(+s.group10[3], 13);
        EXPECT_EQ(+s.group10[4], 14);
        EXPECT_EQ(+s.group20[1], 4);
        EXPECT_EQ(+s.group40Word, version == 0 ? -1 : 3);
        const bool flagForm = version >= 2;
        EXPECT_EQ(+s.backgroundPicture, flagForm ? 21 : -1);
        EXPECT_EQ(+s.group80Byte, version >= 3 ? 1 : 0);
        EXPECT_EQ(+s.group100Byte, version >= 4 ? 1 : 0);
        EXPECT_EQ(+s.group800Bytes[1], version >= 5 ? 5 : 1);
        EXPECT_EQ(+s.group800Word, version >= 5 ? 300 : 0);
        EXPECT_EQ(+s.links[2].id, version >= 4 ? 6 : -1);
        EXPECT_EQ(+s.group2000Word2, version >= 4 ? 30 : 10);
        EXPECT_EQ(+s.trailingId, flagForm ? 2 : -1);
    }
}

}  // namespace
