// The document's font table (record type 7): two lists of face names with a character set each,
// the main list that character formats name by index and the list of list-marker and symbol
// faces; and the substitution rule that turns a face asked for in a character set into the name
// the document stores (" CE" and " Cyr" variants of the three common faces).
#ifndef LECT32_TEXT_FONT_FACES_H
#define LECT32_TEXT_FONT_FACES_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/record_flags.h"

namespace lect32 {

class MemReader;
class MemWriter;
class VazaziFile;

inline constexpr uint8_t kCharsetAnsi = 0;
inline constexpr uint8_t kCharsetSymbol = 2;
inline constexpr uint8_t kCharsetCyrillic = 204;
inline constexpr uint8_t kCharsetEastEurope = 238;
inline constexpr uint8_t kCharsetDerive = 254;  // as an argument: derive it from the name

// What the system says of a face: the font layer on the program's screen, a fake in tests.
class FaceProbe {
public:
    virtual ~FaceProbe() = default;
    // The character set the system reports for the face (the last one reported, stopping at ANSI).
    virtual uint8_t ProbeCharset(std::string_view face) = 0;
    virtual bool ExistsInCharset(std::string_view face, uint8_t charset) = 0;
    virtual uint8_t SystemCharset() = 0;
};

// Asks the platform's font enumeration on a screen DC: faces are probed while the document
// opens, before any window exists.
FaceProbe& PlatformFaceProbe();

struct FontFace {
    static constexpr size_t kNameBytes = 31;  // 30 characters and the terminating zero
    std::string name;
    uint8_t charset = kCharsetAnsi;
    bool operator==(const FontFace&) const = default;
};

class FontFaceList {
public:
    static constexpr uint16_t kMaxFaces = 250;
    static constexpr uint8_t kNoFace = 255;

    uint16_t GetCount() const { return static_cast<uint16_t>(faces_.size()); }
    void Clear() { faces_.clear(); }

    // The name (empty for 255 or past the list) and its character set.
    FontFace GetFace(uint8_t index) const;
    // Replaces an entry; 255 or past the list changes nothing.
    void SetFace(uint8_t index, std::string_view name, uint8_t charset);
    // Appends without substitution; false when 250 faces are held.
    bool Append(std::string_view name, uint8_t charset);
    // The substitution rule, then an equal entry or a new one; 0 when the list is full.
    uint8_t FindOrAddFace(std::string_view name, uint8_t charset, FaceProbe& probe);

    // One list of the record: u16 count, count x 31-byte names, with version 3 the charset
    // bytes; older versions ask the probe. Damage (a count past 250 or past the record) fails
    // with the list unchanged.
    bool Read(MemReader& reader, uint8_t version, FaceProbe& probe);
    void Write(MemWriter& writer) const;

private:
    std::vector<FontFace> faces_;
};

struct DocumentFonts {
    static constexpr uint8_t kRecordType = 7;
    static constexpr uint8_t kWrittenVersion = 3;

    FontFaceList main;
    FontFaceList markers;

    // Both lists from the record's body (its version from the record header); on damage both
    // stay as they were. A missing record leaves them too.
    int Read(MemReader& reader, FaceProbe& probe);
    int Read(MemReader& reader, uint8_t version, FaceProbe& probe);
    int Load(VazaziFile& document, FaceProbe& probe);
    int Save(VazaziFile& document) const;
};

// The process-wide lists of the open document.
DocumentFonts& GetDocumentFonts();

}  // namespace lect32

#endif
