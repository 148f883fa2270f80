#include "text/font_faces.h"

#include <algorithm>
#include <cstring>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"
#include "winplat/text.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: font table");

constexpr std::array<std::string_view, 3> kCommonFaces{"Arial", "Times New Roman", "Courier New"};

bool IsVariant(std::string_view name, std::string_view suffix) {
    return std::any_of(kCommonFaces.begin(), kCommonFaces.end(), [&](std::string_view face) {
        return name.size() == face.size() + suffix.size() && name.substr(0, face.size()) == face &&
               name.substr(face.size()) == suffix;
    });
}

bool IsCommonFace(std::string_view name) {
    return std::find(kCommonFaces.begin(), kCommonFaces.end(), name) != kCommonFaces.end();
}

bool IsSymbolFace(std::string_view name) { return name == "Symbol" || name == "Wingdings"; }

// The charset a face's last word names: " CE" 238, " Cyr" 204, anything else ANSI.
uint8_t CharsetOfLastWord(std::string_view name, size_t& blank) {
    blank = name.rfind(' ');
    if (blank == std::string_view::npos) return kCharsetAnsi;
    const std::string_view word = name.substr(blank + 1);
    if (word == "CE") return kCharsetEastEurope;
    if (word == "Cyr") return kCharsetCyrillic;
    return kCharsetAnsi;
}

std::string FittedName(std::string_view name) {
    return std::string(name.substr(0, std::min(name.size(), FontFace::kNameBytes - 1)));
}

class PlatformProbe final : public FaceProbe {
public:
    uint8_t ProbeCharset(std::string_view face) override {
        uint8_t answer = kCharsetAnsi;
        enumerate(face, DEFAULT_CHARSET, [&answer](uint8_t charset) {
            answer = charset;
            return charset != kCharsetAnsi;
        });
        return answer;
    }

    bool ExistsInCharset(std::string_view face, uint8_t charset) override {
        bool found = false;
        enumerate(face, DEFAULT_CHARSET, [&](uint8_t reported) {
            found = found || reported == charset;
            return !found;
        });
        return found;
    }

    uint8_t SystemCharset() override { return kCharsetEastEurope; }

private:
    template <class OnFace>
    static void enumerate(std::string_view face, uint8_t charset, OnFace onFace) {
        const winplat::BorrowedDc screen(nullptr);
        LOGFONTA request{};
        request.lfCharSet = charset;
        const std::string name = FittedName(face);
        std::memcpy(request.lfFaceName, name.c_str(), std::min(name.size() + 1, sizeof request.lfFaceName));
        EnumFontFamiliesExA(
            screen.get(), &request,
            [](const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM context) -> int {
                return (*reinterpret_cast<OnFace*>(context))(font->lfCharSet) ? 1 : 0;
            },
            reinterpret_cast<LPARAM>(&onFace), 0);
    }
};

bool ReadNames(MemReader& reader, std::vector<FontFace>& faces) {
    uint16_t count = 0;
    if (!reader.ReadWord(count)) return refuse(false, "the face count is missing");
    if (count > FontFaceList::kMaxFaces) return refuse(false, "more than 250 faces");
    if (reader.remaining() < uint32_t{count} * FontFace::kNameBytes) return refuse(false, "the names run past the record");
    faces.resize(count);
    for (FontFace& face : faces) {
        char slot[FontFace::kNameBytes] = {};
        reader.ReadBytes(slot, FontFace::kNameBytes);
        slot[FontFace::kNameBytes - 1] = '\0';  // a name always ends inside its slot
        face.name = slot;
    }
    return true;
}

uint8_t ProbedCharset(std::string_view name, FaceProbe& probe) {
    const uint8_t reported = probe.ProbeCharset(name);
    if (reported == kCharsetSymbol) return kCharsetSymbol;
    if (IsVariant(name, " CE")) return kCharsetEastEurope;
    if (IsVariant(name, " Cyr")) return kCharsetCyrillic;
    return reported;
}

}  // namespace

FaceProbe& PlatformFaceProbe() {
    static PlatformProbe probe;
    return probe;
}

FontFace FontFaceList::GetFace(uint8_t index) const {
    if (index == kNoFace || index >= faces_.size()) return FontFace{};
    return faces_[index];
}

void FontFaceList::SetFace(uint8_t index, std::string_view name, uint8_t charset) {
    if (index == kNoFace || index >= faces_.size()) return;
    faces_[index] = FontFace{FittedName(name), charset};
}

bool FontFaceList::Append(std::string_view name, uint8_t charset) {
    if (faces_.size() >= kMaxFaces) return refuse(false, "250 faces are held");
    faces_.push_back(FontFace{FittedName(name), charset});
    return true;
}

uint8_t FontFaceList::FindOrAddFace(std::string_view asked, uint8_t charset, FaceProbe& probe) {
    std::string name = FittedName(asked);
    const uint8_t reported = probe.ProbeCharset(name);
    if (reported == kCharsetSymbol) {
        charset = kCharsetSymbol;
    } else if (charset == kCharsetDerive) {
        if (IsVariant(name, " CE")) {
            charset = kCharsetEastEurope;
        } else if (IsVariant(name, " Cyr")) {
            charset = kCharsetCyrillic;
        } else {
            const uint8_t system = probe.SystemCharset();
            charset = probe.ExistsInCharset(name, system) ? system : reported;
        }
    } else {
        size_t blank = 0;
        const uint8_t named = CharsetOfLastWord(name, blank);
        if (charset != named) {
            if (named != kCharsetAnsi) {
                name.resize(blank);
            } else if (IsCommonFace(name) && charset == kCharsetEastEurope) {
                name += " CE";
            } else if (IsCommonFace(name) && charset == kCharsetCyrillic) {
                name += " Cyr";
            }
        }
    }
    const FontFace wanted{name, charset};
    const auto found = std::find(faces_.begin(), faces_.end(), wanted);
    if (found != faces_.end()) return static_cast<uint8_t>(found - faces_.begin());
    if (!Append(name, charset)) return 0;
    return static_cast<uint8_t>(faces_.size() - 1);
}

bool FontFaceList::Read(MemReader& reader, uint8_t version, FaceProbe& probe) {
    std::vector<FontFace> faces;
    if (!ReadNames(reader, faces)) return false;
    if (version >= 3) {
        if (reader.remaining() < faces.size()) return refuse(false, "the charsets run past the record");
        for (FontFace& face : faces) {
            reader.ReadByte(face.charset);
            if (IsSymbolFace(face.name)) face.charset = kCharsetSymbol;
        }
    } else {
        for (FontFace& face : faces) face.charset = ProbedCharset(face.name, probe);
    }
    faces_ = std::move(faces);
    return true;
}

void FontFaceList::Write(MemWriter& writer) const {
    writer.WriteWord(GetCount());
    for (const FontFace& face : faces_) {
        char slot[FontFace::kNameBytes] = {};
        std::memcpy(slot, face.name.data(), std::min(face.name.size(), FontFace::kNameBytes - 1));
        writer.WriteBytes(slot, FontFace::kNameBytes);
    }
    for (const FontFace& face : faces_) writer.WriteByte(face.charset);
}

int DocumentFonts::Read(MemReader& reader, FaceProbe& probe) { return Read(reader, reader.version(), probe); }

int DocumentFonts::Read(MemReader& reader, uint8_t version, FaceProbe& probe) {
    FontFaceList first;
    FontFaceList second = markers;
    if (!first.Read(reader, version, probe)) return 0;
    if (version >= 2 && !second.Read(reader, version, probe)) return 0;
    main = std::move(first);
    markers = std::move(second);
    return 1;
}

int DocumentFonts::Load(VazaziFile& document, FaceProbe& probe) {
    MemReader reader;
    if (document.ReadRecordByType(kRecordType, 0, reader) != 1) return 0;
    return Read(reader, probe);
}

int DocumentFonts::Save(VazaziFile& document) const {
    MemWriter record;
    record.Begin();
    main.Write(record);
    markers.Write(record);
    if (record.End() != 0) return refuse(0, "the font table could not be written out");
    const RecordFlags flags{0, kWrittenVersion};
    return document.WriteRecordByType(kRecordType, 0, record, &flags) == 1 ? 1 : 0;
}

DocumentFonts& GetDocumentFonts() {
    static DocumentFonts fonts;
    return fonts;
}

}  // namespace lect32
