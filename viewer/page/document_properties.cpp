#include "page/document_properties.h"

#include <algorithm>
#include <cstring>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"

namespace lect32 {

namespace {

int16_t ReadShort(MemReader& reader) {
    uint16_t value = 0;
    reader.ReadWord(value);
    return static_cast<int16_t>(value);
}

uint8_t ReadU8(MemReader& reader) {
    uint8_t value = 0;
    reader.ReadByte(value);
    return value;
}

// Margins as four i16 values, left first.
ShortRect ReadMargins(MemReader& reader) {
    ShortRect rect;
    rect.left = ReadShort(reader);
    rect.top = ReadShort(reader);
    rect.right = ReadShort(reader);
    rect.bottom = ReadShort(reader);
    return rect;
}

void WriteMargins(MemWriter& writer, const ShortRect& rect) {
    writer.WriteShort(rect.left);
    writer.WriteShort(rect.top);
    writer.WriteShort(rect.right);
    writer.WriteShort(rect.bottom);
}

// The group-0x10 bytes are stored in the order 1, 2, 4, 5, 3; the group-0x20 bytes follow.
constexpr int kGroup10StoredOrder[5] = {0, 1, 3, 4, 2};

void ReadGroups10And20(MemReader& reader, PageStyle& style) {
    for (int member : kGroup10StoredOrder) style.group10[member] = ReadU8(reader);
    style.group20[0] = ReadU8(reader);
    style.group20[1] = ReadU8(reader);
}

void WriteGroups10And20(MemWriter& writer, const PageStyle& style) {
    for (int member : kGroup10StoredOrder) writer.WriteByte(style.group10[member]);
    writer.WriteByte(style.group20[0]);
    writer.WriteByte(style.group20[1]);
}

void ReadText(MemReader& reader, char (&text)[DocumentProperties::kInfoText]) {
    std::memset(text, 0, sizeof text);
    reader.ReadBytes(text, sizeof text);
}

}  // namespace

void ScramblePassword(uint8_t* bytes, size_t length) {
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i - 1 - bytes[i]);
}

void DocumentProperties::Reset() {
    StartPage = -1;
    ContentsPage = 0;
    MissingProgramPage = -1;
    AllowCopy = 1;
    AllowPrint = 1;
    CompressRecords = 0;
    HasPassword = 0;
    PasswordScope = 0;
    InfoText1[0] = 0;
    InfoText2[0] = 0;
    ObjectSound1 = -1;
    ObjectSound2 = -1;
    PageDefaults.SetDefaults();
}

bool DocumentProperties::Equals(const DocumentProperties& other) const {
    return CompressRecords == other.CompressRecords && Language == other.Language &&
           AllowCopy == other.AllowCopy && AllowPrint == other.AllowPrint && HasPassword == other.HasPassword &&
           PasswordScope == other.PasswordScope && std::strcmp(Password, other.Password) == 0 &&
           ObjectSound1 == other.ObjectSound1 && ObjectSound2 == other.ObjectSound2 &&
           PageDefaults.Equals(other.PageDefaults);
}

void DocumentProperties::Read(VazaziFile& document, uint16_t fileVersion, PropertiesIdList& ids) {
    FileVersion = fileVersion;
    MemReader reader;
    if (!document.ReadRecordByType(kRecordType, 0, reader)) {
        Reset();
        return;
    }
    ReadBody(reader, reader.version(), ids);
}

void DocumentProperties::ReadBody(MemReader& reader, uint8_t version, PropertiesIdList& ids) {
    if (version > 6) {
        ReadCurrent(reader, version, ids);
    } else {
        ReadOld(reader, version, ids);
    }
}

void DocumentProperties::ReadPassword(MemReader& reader) {
    uint8_t stored[kPasswordField] = {};
    reader.ReadBytes(stored, kPasswordField);
    if (HasPassword != 1) return;
    const size_t length = std::find(stored, stored + kPasswordField, 0) - stored;
    ScramblePassword(stored, length);
    std::memcpy(Password, stored, length);
    Password[length] = 0;
}

void DocumentProperties::ReadCurrent(MemReader& reader, uint8_t version, PropertiesIdList& ids) {
    StartPage = ReadShort(reader);
    ContentsPage = ReadShort(reader);
    MissingProgramPage = ReadShort(reader);
    AllowCopy = ReadU8(reader);
    CompressRecords = ReadU8(reader);
    HasPassword = ReadU8(reader);
    ReadPassword(reader);
    PasswordScope = ReadU8(reader);
    AllowPrint = ReadU8(reader);
    ReadText(reader, InfoText1);
    ReadText(reader, InfoText2);
    Language = 0;
    if (version > 7) reader.ReadDword(Language);
    ObjectSound1 = version > 9 ? ReadShort(reader) : -1;
    ObjectSound2 = version > 9 ? ReadShort(reader) : -1;

    PageStyle& style = PageDefaults;
    style.widthMode = ReadU8(reader);
    style.width = ReadShort(reader);
    style.layoutWord = ReadShort(reader);
    style.margins = ReadMargins(reader);
    style.backgroundColour = ReadU8(reader);
    style.backgroundPicture = ReadShort(reader);
    style.backgroundPictureMode = ReadU8(reader);
    ReadGroups10And20(reader, style);
    style.group40Word = ReadShort(reader);
    style.group40Byte = ReadU8(reader);
    if (version > 8) style.group80Byte = ReadU8(reader);
    ids.Load(reader);
    if (version > 9) ReadU8(reader);  // reserved
}

void DocumentProperties::ReadOld(MemReader& reader, uint8_t version, PropertiesIdList& ids) {
    PageStyle& style = PageDefaults;
    StartPage = ReadShort(reader);
    ContentsPage = ReadShort(reader);
    MissingProgramPage = ReadShort(reader);
    style.backgroundColour = ReadU8(reader);
    AllowCopy = ReadU8(reader);
    if (version > 4) {
        style.widthMode = ReadU8(reader);
        style.width = ReadShort(reader);
        style.layoutWord = ReadShort(reader);
    }
    style.margins = ReadMargins(reader);
    ReadGroups10And20(reader, style);
    CompressRecords = ReadU8(reader);
    HasPassword = ReadU8(reader);
    ReadPassword(reader);
    PasswordScope = ReadU8(reader);
    AllowPrint = version > 2 ? ReadU8(reader) : 1;
    if (version > 3) {
        ReadText(reader, InfoText1);
        ReadText(reader, InfoText2);
    } else {
        InfoText1[0] = 0;
        InfoText2[0] = 0;
    }
    style.group40Word = version > 5 ? ReadShort(reader) : -1;
    style.group40Byte = version > 5 ? ReadU8(reader) : 1;
    ids.Clear();
    Language = 0;
    ObjectSound1 = -1;
    ObjectSound2 = -1;
}

void DocumentProperties::WriteFields(MemWriter& writer) const {
    writer.WriteShort(StartPage);
    writer.WriteShort(ContentsPage);
    writer.WriteShort(MissingProgramPage);
    writer.WriteByte(AllowCopy);
    writer.WriteByte(CompressRecords);
    writer.WriteByte(HasPassword);
    // Without a password the field is written as zeros, so no stale text reaches the file.
    uint8_t stored[kPasswordField] = {};
    if (HasPassword == 1) {
        const size_t length = strnlen(Password, kPasswordField);
        std::memcpy(stored, Password, length);
        ScramblePassword(stored, length);
    }
    writer.WriteBytes(stored, kPasswordField);
    writer.WriteByte(PasswordScope);
    writer.WriteByte(AllowPrint);
    writer.WriteBytes(InfoText1, kInfoText);
    writer.WriteBytes(InfoText2, kInfoText);
    writer.WriteDword(Language);
    writer.WriteShort(ObjectSound1);
    writer.WriteShort(ObjectSound2);

    const PageStyle& style = PageDefaults;
    writer.WriteByte(style.widthMode);
    writer.WriteShort(style.width);
    writer.WriteShort(style.layoutWord);
    WriteMargins(writer, style.margins);
    writer.WriteByte(style.backgroundColour);
    writer.WriteShort(style.backgroundPicture);
    writer.WriteByte(style.backgroundPictureMode);
    WriteGroups10And20(writer, style);
    writer.WriteShort(style.group40Word);
    writer.WriteByte(style.group40Byte);
    writer.WriteByte(style.group80Byte);
}

void DocumentProperties::WriteBody(MemWriter& writer, const PropertiesIdList& ids) const {
    WriteFields(writer);
    ids.Save(writer);
    writer.WriteByte(0);  // reserved
}

size_t DocumentProperties::WriteWithoutIdList(uint8_t (&target)[kWithoutIdList]) const {
    MemWriter writer;
    writer.Begin();
    WriteFields(writer);
    if (writer.End() != 0 || writer.GetLength() != kWithoutIdList) return 0;
    return writer.CopyTo(target);
}

int DocumentProperties::Write(VazaziFile& document, const PropertiesIdList& ids) const {
    MemWriter writer;
    writer.Begin();
    WriteBody(writer, ids);
    if (writer.End() != 0) return 0;
    const RecordFlags flags{0, kVersion};
    return document.WriteRecordByType(kRecordType, 0, writer, &flags);
}

}  // namespace lect32
