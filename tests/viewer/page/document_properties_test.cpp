#include "page/document_properties.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"

namespace {

using Bytes = std::vector<uint8_t>;
using lect32::DocumentProperties;
using lect32::MemReader;
using lect32::MemWriter;

// The id list as the record stores it: count, current id, the ids.
class FakeIdList : public lect32::PropertiesIdList {
public:
    std::vector<uint16_t> ids;
    int16_t current = -1;
    bool cleared = false;

    void Load(MemReader& reader) override {
        uint16_t count = 0, now = 0;
        reader.ReadWord(count);
        reader.ReadWord(now);
        current = static_cast<int16_t>(now);
        ids.clear();
        for (uint16_t i = 0; i < count && !reader.overrun(); ++i) {
            uint16_t id = 0;
            reader.ReadWord(id);
            ids.push_back(id);
        }
    }
    void Save(MemWriter& writer) const override {
        writer.WriteWord(static_cast<uint16_t>(ids.size()));
        writer.WriteShort(current);
        for (uint16_t id : ids) writer.WriteWord(id);
    }
    void Clear() override {
        ids.clear();
        current = -1;
        cleared = true;
    }
};

// Writes a record of any version from the record layout, with distinctive values for each field,
// independently of the reader.
class RecordWriter {
public:
    Bytes bytes;
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) { u8(uint8_t(v)), u8(uint8_t(v >> 8)); }
    void u32(uint32_t v) { u16(uint16_t(v)), u16(uint16_t(v >> 16)); }
    void text(const char* s, size_t width) {
        Bytes field(width);
        std::memcpy(field.data(), s, std::strlen(s));
        bytes.insert(bytes.end(), field.begin(), field.end());
    }
    void password() {  // "pw" scrambled: (i - 1 - b) mod 256
        Bytes field(20);
        field[0] = uint8_t(0 - 1 - 'p');
        field[1] = uint8_t(1 - 1 - 'w');
        bytes.insert(bytes.end(), field.begin(), field.end());
    }
    void pageIds() { u16(21), u16(22), u16(23); }
    void group10And20() {
        for (uint8_t v : {41, 42, 44, 45, 43}) u8(v);  // members 1, 2, 4, 5, 3
        u8(46), u8(47);
    }
    void margins() { u16(31), u16(32), u16(33), u16(34); }
};

Bytes StoredRecord(int v) {
    RecordWriter w;
    w.pageIds();
    if (v <= 6) {
        w.u8(9);  // background colour
        w.u8(0);  // allow copy
        if (v > 4) w.u8(1), w.u16(555), w.u16(66);
        w.margins();
        w.group10And20();
        w.u8(1), w.u8(1);  // compress, has password
        w.password();
        w.u8(1);  // scope
        if (v > 2) w.u8(0);
        if (v > 3) w.text("first", 81), w.text("second", 81);
        if (v > 5) w.u16(77), w.u8(78);
        return w.bytes;
    }
    w.u8(0), w.u8(1), w.u8(1);
    w.password();
    w.u8(1), w.u8(0);
    w.text("first", 81), w.text("second", 81);
    if (v > 7) w.u32(0x0405);
    if (v > 9) w.u16(88), w.u16(89);
    w.u8(1), w.u16(555), w.u16(66);
    w.margins();
    w.u8(9), w.u16(99), w.u8(98);
    w.group10And20();
    w.u16(77), w.u8(78);
    if (v > 8) w.u8(79);
    w.u16(2), w.u16(7), w.u16(3), w.u16(7);
    if (v > 9) w.u8(0);
    return w.bytes;
}

DocumentProperties ReadRecord(const Bytes& body, uint8_t version, FakeIdList& ids) {
    MemReader reader;
    reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size()));
    DocumentProperties props;
    props.ReadBody(reader, version, ids);
    return props;
}

TEST(DocumentPropertiesTest, ReadsEveryVersion) {
    for (uint8_t v = 1; v <= 10; ++v) {
        SCOPED_TRACE(int(v));
        FakeIdList ids;
        ids.ids = {99};
        const DocumentProperties p = ReadRecord(StoredRecord(v), v, ids);
        const lect32::PageStyle& s = p.PageDefaults;
        EXPECT_EQ(p.StartPage, 21);
        EXPECT_EQ(p.ContentsPage, 22);
        EXPECT_EQ(p.MissingProgramPage, 23);
        EXPECT_EQ(p.AllowCopy, 0);
        EXPECT_EQ(p.CompressRecords, 1);
        EXPECT_STREQ(p.Password, "pw");
        EXPECT_EQ(p.PasswordScope, 1);
        EXPECT_EQ(p.AllowPrint, v > 2 ? 0 : 1);
        EXPECT_STREQ(p.InfoText1, v > 3 ? "first" : "");
        EXPECT_STREQ(p.InfoText2, v > 3 ? "second" : "");
        EXPECT_EQ(p.Language, v > 7 ? 0x0405u : 0u);
        EXPECT_EQ(p.ObjectSound1, v > 9 ? 88 : -1);
        EXPECT_EQ(p.ObjectSound2, v > 9 ? 89 : -1);
        EXPECT_EQ(+s.backgroundColour, 9);
        const bool hasWidth = v > 4;
        EXPECT_EQ(+s.widthMode, hasWidth ? 1 : 0);
        EXPECT_EQ(+s.width, hasWidth ? 555 : 400);
        EXPECT_EQ(+s.layoutWord, hasWidth ? 66 : 0);
        EXPECT_EQ(+s.margins.left, 31);
        EXPECT_EQ(+s.margins.bottom, 34);
        EXPECT_EQ(Bytes(s.group10, s.group10 + 5), (Bytes{41, 42, 43, 44, 45}));
        EXPECT_EQ(+s.group20[1], 47);
        EXPECT_EQ(+s.group40Word, v > 5 ? 77 : -1);
        EXPECT_EQ(+s.group40Byte, v > 5 ? 78 : 1);
        // Only the current layout holds the picture, the group-0x80 byte (from 9) and the ids.
        EXPECT_EQ(+s.backgroundPicture, v > 6 ? 99 : -1);
        EXPECT_EQ(+s.backgroundPictureMode, v > 6 ? 98 : 1);
        EXPECT_EQ(+s.group80Byte, v > 8 ? 79 : 0);
        EXPECT_EQ(ids.ids, v > 6 ? (std::vector<uint16_t>{3, 7}) : std::vector<uint16_t>{});
        EXPECT_EQ(ids.cleared, v <= 6);
    }
}

TEST(DocumentPropertiesTest, TruncatedRecordReadsMissingFieldsAsZero) {
    Bytes body = StoredRecord(10);
    body.resize(193);  // ends before the language
    FakeIdList ids;
    const DocumentProperties p = ReadRecord(body, 10, ids);
    EXPECT_STREQ(p.InfoText2, "second");
    EXPECT_EQ(p.Language, 0u);
    EXPECT_EQ(p.ObjectSound1, 0);
    EXPECT_EQ(+p.PageDefaults.width, 0);
    EXPECT_TRUE(ids.ids.empty());
}

const char* const kGoldenVersion10 =
    "05000600ffff0001019e9e000000000000000000000000000000000000010049"
    "6e666f0000000000000000000000000000000000000000000000000000000000"
    "0000000000000000000000000000000000000000000000000000000000000000"
    "0000000000000000000000000000000000000000000000000000000000000000"
    "0000000000000000000000000000000000000000000000000000000000000000"
    "0000000000000000000000000000000000000000000000000000000000000000"
    "00050400000700ffff01f40103000a0014001e002800040900020b0c0e0f0d10"
    "1112001314020003000300070000";

DocumentProperties GoldenProperties() {
    DocumentProperties p;
    p.StartPage = 5;
    p.ContentsPage = 6;
    p.AllowCopy = 0;
    p.CompressRecords = 1;
    p.HasPassword = 1;
    std::strcpy(p.Password, "ab");
    p.PasswordScope = 1;
    p.AllowPrint = 0;
    std::strcpy(p.InfoText1, "Info");
    p.Language = 0x405;
    p.ObjectSound1 = 7;
    lect32::PageStyle& s = p.PageDefaults;
    s.widthMode = 1;
    s.width = 500;
    s.layoutWord = 3;
    s.margins = {10, 20, 30, 40};
    s.backgroundColour = 4;
    s.backgroundPicture = 9;
    s.backgroundPictureMode = 2;
    const uint8_t group10[5] = {11, 12, 13, 14, 15};
    std::memcpy(s.group10, group10, 5);
    s.group20[0] = 16;
    s.group20[1] = 17;
    s.group40Word = 18;
    s.group40Byte = 19;
    s.group80Byte = 20;
    return p;
}

std::string Hex(const uint8_t* bytes, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < size; ++i) out += {digits[bytes[i] >> 4], digits[bytes[i] & 15]};
    return out;
}

TEST(DocumentPropertiesTest, WritesVersion10ByteExact) {
    FakeIdList ids;
    ids.ids = {3, 7};
    ids.current = 3;
    MemWriter writer;
    writer.Begin();
    GoldenProperties().WriteBody(writer, ids);
    ASSERT_EQ(writer.End(), 0);
    Bytes body(writer.GetLength());
    writer.CopyTo(body.data());
    EXPECT_EQ(Hex(body.data(), body.size()), kGoldenVersion10);

    uint8_t head[DocumentProperties::kWithoutIdList];
    ASSERT_EQ(GoldenProperties().WriteWithoutIdList(head), DocumentProperties::kWithoutIdList);
    EXPECT_EQ(Hex(head, sizeof head), std::string(kGoldenVersion10).substr(0, 2 * sizeof head));
}

TEST(DocumentPropertiesTest, WriteThenReadGivesTheObjectBack) {
    FakeIdList written;
    written.ids = {1, 2, 3};
    written.current = 2;
    MemWriter writer;
    writer.Begin();
    DocumentProperties original = GoldenProperties();
    std::strcpy(original.Password, "abcdefghijklmnopqrst");  // 20 characters: no stored zero
    original.WriteBody(writer, written);
    ASSERT_EQ(writer.End(), 0);
    Bytes body(writer.GetLength());
    writer.CopyTo(body.data());
    EXPECT_EQ(std::count(body.begin() + 9, body.begin() + 29, 0), 0);

    FakeIdList read;
    const DocumentProperties back = ReadRecord(body, 10, read);
    EXPECT_TRUE(back.Equals(original));
    EXPECT_STREQ(back.Password, "abcdefghijklmnopqrst");
    EXPECT_EQ(back.StartPage, 5);
    EXPECT_STREQ(back.InfoText1, "Info");
    EXPECT_EQ(read.ids, written.ids);
    EXPECT_EQ(read.current, 2);
}

TEST(DocumentPropertiesTest, ScrambledZeroEndsThePassword) {
    struct Case {
        const char* password;
        const char* readBack;
    };
    const Case cases[] = {
        {"\xFF" "abc", ""},   // 0xFF first scrambles to 0
        {"ab\x01" "cd", "ab"},  // i - 1 at position i
        {"ab\x02" "cd", "ab\x02" "cd"},
    };
    for (const Case& c : cases) {
        DocumentProperties p = GoldenProperties();
        std::strcpy(p.Password, c.password);
        MemWriter writer;
        writer.Begin();
        FakeIdList ids;
        p.WriteBody(writer, ids);
        ASSERT_EQ(writer.End(), 0);
        Bytes body(writer.GetLength());
        writer.CopyTo(body.data());
        EXPECT_STREQ(ReadRecord(body, 10, ids).Password, c.readBack);
    }
}

TEST(DocumentPropertiesTest, NoPasswordIgnoresTheStoredBytesAndWritesZeros) {
    Bytes body = StoredRecord(10);
    body[8] = 0;  // has password
    FakeIdList ids;
    DocumentProperties p;
    std::strcpy(p.Password, "kept");
    MemReader reader;
    reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size()));
    p.ReadBody(reader, 10, ids);
    EXPECT_STREQ(p.Password, "kept");

    uint8_t head[DocumentProperties::kWithoutIdList];
    ASSERT_EQ(p.WriteWithoutIdList(head), sizeof head);
    EXPECT_EQ(std::count(head + 9, head + 29, 0), 20);
}

TEST(DocumentPropertiesTest, ResetKeepsPasswordFileVersionAndLanguage) {
    DocumentProperties p = GoldenProperties();
    p.FileVersion = 12;
    p.PageDefaults.layoutWord = 8;
    p.Reset();
    EXPECT_STREQ(p.Password, "ab");
    EXPECT_EQ(p.FileVersion, 12);
    EXPECT_EQ(p.Language, 0x405u);
    EXPECT_EQ(p.StartPage, -1);
    EXPECT_EQ(p.ContentsPage, 0);
    EXPECT_EQ(p.AllowCopy, 1);
    EXPECT_EQ(p.AllowPrint, 1);
    EXPECT_EQ(p.HasPassword, 0);
    EXPECT_EQ(p.InfoText1[0], 0);
    EXPECT_EQ(p.ObjectSound1, -1);
    EXPECT_EQ(+p.PageDefaults.width, 400);
    EXPECT_EQ(+p.PageDefaults.layoutWord, 8);
}

TEST(DocumentPropertiesTest, EqualsSkipsPagesAndTexts) {
    const DocumentProperties base = GoldenProperties();
    DocumentProperties other = base;
    other.StartPage = 1;
    other.MissingProgramPage = 2;
    std::strcpy(other.InfoText2, "x");
    EXPECT_TRUE(base.Equals(other));
    other.ObjectSound2 = 3;
    EXPECT_FALSE(base.Equals(other));
    other = base;
    std::strcpy(other.Password, "ac");
    EXPECT_FALSE(base.Equals(other));
    other = base;
    other.PageDefaults.flags = 2;
    EXPECT_FALSE(base.Equals(other));
}

TEST(DocumentPropertiesTest, AFailedWriterGivesNoBytes) {
    uint8_t head[DocumentProperties::kWithoutIdList] = {};
    winplat::testing::GlobalAllocFailure failing(1);
    EXPECT_EQ(GoldenProperties().WriteWithoutIdList(head), 0u);
    EXPECT_EQ(failing.failures(), 1);
    EXPECT_EQ(std::count(head, head + sizeof head, 0), static_cast<long>(sizeof head));
}

TEST(DocumentPropertiesTest, RecordOfADocumentRoundTripsAndItsAbsenceResets) {
    vazazi_test::ScratchFolder scratch;
    lect32::VazaziFile document;
    ASSERT_EQ(document.Create(scratch.windows("doc.lcn").c_str(), 1), 0);

    DocumentProperties p = GoldenProperties();
    FakeIdList ids;
    p.Read(document, 3, ids);  // no record 3 yet
    EXPECT_EQ(p.FileVersion, 3);
    EXPECT_EQ(p.StartPage, -1);
    EXPECT_EQ(p.AllowCopy, 1);
    EXPECT_STREQ(p.Password, "ab");

    FakeIdList written;
    written.ids = {4};
    ASSERT_NE(GoldenProperties().Write(document, written), 0);
    MemReader raw;
    ASSERT_EQ(document.ReadRecordByType(DocumentProperties::kRecordType, 0, raw), 1);
    EXPECT_EQ(raw.version(), 10);
    EXPECT_EQ(raw.form(), lect32::BodyForm::Plain);

    DocumentProperties back;
    back.Read(document, 4, ids);
    EXPECT_TRUE(back.Equals(GoldenProperties()));
    EXPECT_EQ(back.FileVersion, 4);
    EXPECT_EQ(back.ObjectSound1, 7);  // read as version 10
    EXPECT_EQ(ids.ids, written.ids);
}

}  // namespace
