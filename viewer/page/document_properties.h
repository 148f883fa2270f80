// The document-wide settings of record type 3: start and contents pages, copy and print
// permissions, the password, the language, two default object sounds and the default page style.
// The record also carries the document's id list, which is a separate object reached through
// PropertiesIdList. Written in record version 10; versions 1-10 are read.
#ifndef LECT32_PAGE_DOCUMENT_PROPERTIES_H
#define LECT32_PAGE_DOCUMENT_PROPERTIES_H

#include <cstddef>
#include <cstdint>

#include "page/page_style.h"

namespace lect32 {

class MemReader;
class MemWriter;
class VazaziFile;

// What the properties record needs of the document's id list, which is stored at its end.
class PropertiesIdList {
public:
    virtual ~PropertiesIdList() = default;
    virtual void Load(MemReader& reader) = 0;
    virtual void Save(MemWriter& writer) const = 0;
    virtual void Clear() = 0;
};

class DocumentProperties {
public:
    static constexpr int kRecordType = 3;
    static constexpr uint8_t kVersion = 10;
    static constexpr size_t kPasswordField = 20;  // stored; in memory one more for the terminator
    static constexpr size_t kInfoText = 81;
    static constexpr size_t kWithoutIdList = 229;  // bytes before the id list in version 10

    int16_t StartPage = -1;
    int16_t ContentsPage = 0;
    int16_t MissingProgramPage = -1;
    uint8_t AllowCopy = 1;
    uint8_t AllowPrint = 1;
    uint8_t CompressRecords = 0;
    uint8_t HasPassword = 0;
    char Password[kPasswordField + 1] = {};
    uint8_t PasswordScope = 0;
    char InfoText1[kInfoText] = {};
    char InfoText2[kInfoText] = {};
    uint16_t FileVersion = 0;
    uint32_t Language = 0;
    int16_t ObjectSound1 = -1;
    int16_t ObjectSound2 = -1;
    PageStyle PageDefaults;

    // The reset values; Password, FileVersion and Language are kept.
    void Reset();
    bool Equals(const DocumentProperties& other) const;

    // Record 3 of the document; a missing or unreadable record resets the object. FileVersion
    // is the container's format version, taken in either case.
    void Read(VazaziFile& document, uint16_t fileVersion, PropertiesIdList& ids);
    // A body of the given record version; fields past its end read as 0.
    void ReadBody(MemReader& reader, uint8_t version, PropertiesIdList& ids);

    // The version-10 body with the id list and the reserved byte.
    void WriteBody(MemWriter& writer, const PropertiesIdList& ids) const;
    // The first kWithoutIdList bytes of the body into 'target'; returns their number (0 when the
    // writer failed).
    size_t WriteWithoutIdList(uint8_t (&target)[kWithoutIdList]) const;
    // Stores the body as record 3 of the document with the flags (0, 10); nonzero on
    // success.
    int Write(VazaziFile& document, const PropertiesIdList& ids) const;

private:
    void ReadCurrent(MemReader& reader, uint8_t version, PropertiesIdList& ids);
    void ReadOld(MemReader& reader, uint8_t version, PropertiesIdList& ids);
    void ReadPassword(MemReader& reader);
    void WriteFields(MemWriter& writer) const;
};

// The password's stored form: byte b at position i becomes (i - 1 - b) mod 256 for the bytes
// before the first zero (at most 20). It is its own inverse. A character whose scrambled form is
// 0 (0xFF first, or i - 1 at position i) ends the password when it is read back: no stored form
// can tell it from the terminator.
void ScramblePassword(uint8_t* bytes, size_t length);

}  // namespace lect32

#endif
