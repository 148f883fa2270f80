#include "text/style_sheet.h"

#include <algorithm>
#include <cstring>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "winplat/base.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: style sheet");

constexpr size_t kFlagsByte = 4;
constexpr size_t kSizeByte = 1;
constexpr size_t kLineSpacingByte = 19;
constexpr uint8_t kStoredFlagBits = 0x3F;

int16_t GetShort(const StyleRecord& r, size_t at) { return static_cast<int16_t>(r[at] | r[at + 1] << 8); }

StyleRecord BuiltInDefaultRecord() {
    StyleRecord r{};
    PutInt16(&r[kSizeByte], 16);
    r[3] = 3;
    r[7] = Shadow::kNone;
    PutInt16(&r[kLineSpacingByte], 16);
    return r;
}

// Older sheets measured sizes in other units: size and exact line spacing x 11 / 16.
void ConvertOldRecord(StyleRecord& r) {
    PutInt16(&r[kSizeByte], static_cast<int16_t>(MulDiv(GetShort(r, kSizeByte), 11, 16)));
    const int16_t line = GetShort(r, kLineSpacingByte);
    if (line > 0) PutInt16(&r[kLineSpacingByte], static_cast<int16_t>(MulDiv(line, 11, 16)));
}

// A name without a "~n" variant suffix.
std::string_view BaseName(std::string_view name) {
    const size_t tilde = name.rfind('~');
    if (tilde == std::string_view::npos || tilde + 1 == name.size()) return name;
    const std::string_view digits = name.substr(tilde + 1);
    const bool number = std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    return number ? name.substr(0, tilde) : name;
}

struct ParsedSheet {
    std::array<StyleRecord, StyleSheet::kSlots> records{};
    std::array<bool, StyleSheet::kSlots> present{};
    std::array<uint16_t, StyleSheet::kSlots> keys{};
    std::vector<std::array<char, StyleSheet::kNameBytes>> names;
};

bool ReadStyles(MemReader& reader, ParsedSheet& out, std::array<StyleRecord, StyleSheet::kSlots> records) {
    uint16_t count = 0;
    if (!reader.ReadWord(count)) return refuse(false, "the style count is missing");
    if (reader.remaining() < count) return refuse(false, "the presence bytes run past the record");
    std::vector<uint8_t> present(count);
    reader.ReadBytesLong(present.data(), count);
    out.records = records;
    for (uint16_t i = 0; i < count; ++i) {
        if (!present[i]) continue;
        uint16_t key = 0;
        StyleRecord record{};
        if (!reader.ReadWord(key) || !reader.ReadBytes(record.data(), kFormatValueBytes)) {
            return refuse(false, "a style runs past the record");
        }
        if (i >= StyleSheet::kSlots) continue;  // a sheet holds 128; the rest is passed over
        out.present[i] = true;
        out.keys[i] = key;
        out.records[i] = record;
    }
    return true;
}

bool ReadNames(MemReader& reader, ParsedSheet& out) {
    uint16_t count = 0;
    if (!reader.ReadWord(count)) return refuse(false, "the name count is missing");
    if (reader.remaining() < uint32_t{count} * StyleSheet::kNameBytes) return refuse(false, "the names run past the record");
    out.names.resize(count);
    for (auto& name : out.names) {
        reader.ReadBytes(name.data(), StyleSheet::kNameBytes);
        name.back() = '\0';
    }
    return true;
}

// Colours of the built-in sheet, as 0xRRGGBB.
constexpr std::array<uint32_t, 16> kSystemColours{
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xc0c0c0, 0x0000ff, 0x00ff00, 0x00ffff, 0xff0000, 0xff00ff, 0xffff00, 0xffffff,
};
constexpr std::array<uint32_t, 64> kMixedColours{
    0x804040, 0x400000, 0xc00040, 0xc00000, 0xc04040, 0xbf407f, 0xff8080, 0xdf9f7f, 0xff8000, 0xc04000,
    0x804000, 0x808040, 0x404000, 0xc0c000, 0xffff80, 0xc0c040, 0xbfbf7f, 0xbfbf9f, 0x7fbf7f, 0x7fbf40,
    0xbfff7f, 0x80ff80, 0x7fbf00, 0x80ff00, 0x00c000, 0x40c000, 0x00c040, 0x40c040, 0x408000, 0x408040,
    0x004000, 0x004080, 0x408080, 0x004040, 0x008040, 0x40bf7f, 0x00bf7f, 0x00c0c0, 0x00ff80, 0x40c0c0,
    0x7fffbf, 0x80ffff, 0x7fbf9f, 0x7fbfbf, 0x9fbfbf, 0x0080ff, 0x8080ff, 0x0000c0, 0x4040c0, 0x0040c0,
    0x000040, 0x404080, 0x400080, 0x4000c0, 0x8000ff, 0xcfafcf, 0xff80ff, 0xff0080, 0xc000c0, 0xc040c0,
    0x800040, 0x804080, 0x400040, 0x404040,
};
constexpr std::array<uint32_t, 112> kGreyAndSpectrumColours{
    0xf1f1f1, 0xe3e3e3, 0xd5d5d5, 0xc7c7c7, 0xb9b9b9, 0xaaaaaa, 0x9c9c9c, 0x8e8e8e, 0x808080, 0x727272,
    0x646464, 0x555555, 0x474747, 0x393939, 0x2b2b2b, 0x1d1d1d, 0x914855, 0x480000, 0xb60000, 0xda0055,
    0xff0055, 0xff4855, 0xff4800, 0xff6d55, 0xff6d55, 0xff6daa, 0xff6daa, 0xda6daa, 0xb64855, 0xda6d55,
    0xffb6aa, 0xffb655, 0xffb655, 0xff9100, 0xda4800, 0xb66d00, 0x914800, 0x919155, 0x484800, 0x91b600,
    0xffb600, 0xffb600, 0xb6b600, 0xffff55, 0xffff55, 0xdada55, 0xffffaa, 0xb6ffaa, 0x6dda55, 0xb6ff55,
    0x6dff55, 0x91ff00, 0xb6ff00, 0x48da00, 0x48ff00, 0x00ff55, 0x00da55, 0x48ff55, 0x00b655, 0x00b655,
    0x00b600, 0x489100, 0x48b655, 0x489155, 0x004800, 0x002400, 0x002400, 0x004855, 0x006d55, 0x006d55,
    0x006daa, 0x006daa, 0x48b6aa, 0x009155, 0x0091aa, 0x0091ff, 0x00b6ff, 0x00daaa, 0x00ffaa, 0x48ffaa,
    0x48ffff, 0x6dffff, 0x6dffaa, 0x6ddaaa, 0x6ddaff, 0x48b6ff, 0x4891aa, 0xb6ffff, 0x9191aa, 0xb6b6ff,
    0x6d6dff, 0x006dff, 0x006dff, 0x486dff, 0x6d48ff, 0x4848ff, 0x0048ff, 0x0024ff, 0x0024ff, 0x0000aa,
    0x0024aa, 0x0024aa, 0x0048aa, 0x4848aa, 0x000055, 0x002455, 0x002455, 0x484855, 0x4800aa, 0x9100ff,
    0xb600ff, 0x4800ff,
};

Rgb FromHex(uint32_t hex) {
    return Rgb{static_cast<uint8_t>(hex >> 16), static_cast<uint8_t>((hex >> 8) & 0xFF), static_cast<uint8_t>(hex & 0xFF)};
}

struct BuiltInStyle {
    const char* name;  // Windows-1250
    uint16_t key;
    StyleDefinition definition;
};

// font, size, weight, flags, text, background, shadow colour/dx/dy, indents x4, alignment, line
// spacing, before, after, border bytes x4, frame triple.
const std::array<BuiltInStyle, 9> kBuiltInStyles{{
    {"Z\xE1kladn\xED text", 0x71, {1, 11, 3, 0, 0, 255, 255, 0, 0, 0, 0, 30, 0, 0, 12, 0, 2, 0, 0, 0, 0, 255, 0, 0}},
    {"\xD8\xE1" "dek", 0x72, {1, 11, 3, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 12, 0, 2, 0, 0, 0, 0, 255, 0, 0}},
    {"Zv\xFDrazn\xEC" "n\xFD text", 0x73, {1, 11, 3, 2, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 12, 0, 2, 0, 0, 0, 0, 255, 0, 0}},
    {"Podnadpis", 0x74, {1, 12, 6, 2, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, -100, 8, 6, 0, 0, 0, 0, 255, 0, 0}},
    {"Nadpis", 0x75, {0, 15, 6, 0, 3, 255, 8, 2, 2, 0, 0, 0, 0, 3, -100, 2, 8, 0, 0, 0, 0, 255, 0, 0}},
    {"Hlavn\xED nadpis", 0x76, {0, 18, 6, 0, 0, 59, 3, 2, 2, 0, 0, 0, 0, 3, -100, 2, 10, 12, 0, 0, 4, 255, 0, 0}},
    {"R\xE1me\xE8" "ek", 0x77, {0, 15, 6, 0, 0, 33, 255, 0, 0, 0, 0, 0, 0, 3, -100, 5, 5, 143, 1, 0, 5, 0, 5, 5}},
    {"\xC8" "ern\xE9 pozad\xED", 0x78, {0, 11, 3, 0, 15, 0, 255, 0, 0, 0, 0, 3, 3, 0, 12, 2, 2, 15, 0, 0, 3, 255, 0, 0}},
    {"Titulek okna", 0, {0, 18, 6, 0, 15, 4, 7, 1, 1, 10, 10, 0, 0, 0, -100, 5, 5, 8, 1, 0, 0, 255, 0, 0}},
}};

}  // namespace

StyleRecord RecordFromDefinition(const StyleDefinition& d) {
    StyleRecord r{};
    const auto byte = [](int16_t v) { return static_cast<uint8_t>(v); };
    r[0] = byte(d[0]);
    PutInt16(&r[1], d[1]);
    r[3] = byte(d[2]);
    r[4] = byte(d[3]);
    r[5] = byte(d[4]);
    r[6] = byte(d[5]);
    const bool noShadowOffset = d[7] == 0 && d[8] == 0;
    r[7] = noShadowOffset ? Shadow::kNone : byte(d[6]);
    r[8] = byte(d[7]);
    r[9] = byte(d[8]);
    for (int i = 0; i < 4; ++i) PutInt16(&r[10 + 2 * i], d[9 + i]);
    r[18] = byte(d[13]);
    PutInt16(&r[19], d[14]);
    PutInt16(&r[21], d[15]);
    PutInt16(&r[23], d[16]);
    r[25] = (d[17] & 0x0F) ? byte(d[17]) : 0;
    r[26] = byte(d[18]);
    r[27] = byte(d[19]);
    r[28] = byte(d[20]);
    const bool noFrameOffset = d[22] == 0 && d[23] == 0;
    r[29] = noFrameOffset ? Shadow::kNone : byte(d[21]);
    r[30] = byte(d[22]);
    r[31] = byte(d[23]);
    r[32] = 0;  // no list marker
    return r;
}

StyleSheet::StyleSheet()
    : tabs_(std::make_unique<TabStopTable>()), baseDefault_(BuiltInDefaultRecord()), globalDefault_(BuiltInDefaultRecord()) {}

StyleSheet::~StyleSheet() = default;

void StyleSheet::Reset() {
    present_.fill(false);
    edited_.fill(false);
    keys_.fill(0);
    names_.assign(kSlots, {});
    tabs_->Init(TabStopTable::kEntries);
    tabs_->Unlock();
}

uint16_t StyleSheet::GetStyleFormat(uint16_t n, TextFormat& format) const {
    format.present.fill(false);
    uint16_t result = n;
    const StyleRecord* record = nullptr;
    if (n == kGlobalDefault) {
        record = &globalDefault_;
    } else if (n >= kSlots || !present_[n]) {
        record = &baseDefault_;
        result = kNoStyle;
    } else {
        record = &records_[n];
    }
    winplat::ByteReader in(record->data(), record->size());
    format.ReadValues(in);
    format.chars.flags &= static_cast<uint8_t>(~CharFormat::kFlagsUnset);
    return result;
}

int StyleSheet::Read(MemReader& reader) { return Read(reader, reader.version()); }

int StyleSheet::Read(MemReader& reader, uint8_t version) {
    ParsedSheet parsed;
    if (!ReadStyles(reader, parsed, records_) || !ReadNames(reader, parsed)) return 0;
    auto tabs = std::make_unique<TabStopTable>();
    if (!tabs->Load(reader)) return refuse(0, "the tab-stop table is damaged");
    const bool old = version < 2;
    for (StyleRecord& record : parsed.records) {
        record[kFlagsByte] &= kStoredFlagBits;
        if (old) ConvertOldRecord(record);
    }
    records_ = parsed.records;
    present_ = parsed.present;
    keys_ = parsed.keys;
    edited_.fill(false);
    names_ = std::move(parsed.names);
    tabs_ = std::move(tabs);
    return 1;
}

int StyleSheet::Load(VazaziFile& document) {
    MemReader reader;
    if (document.ReadRecordByType(kRecordType, 0, reader) != 1) return 0;
    return Read(reader);
}

void StyleSheet::Write(MemWriter& writer) const {
    writer.WriteWord(kSlots);
    for (const bool p : present_) writer.WriteByte(p ? 1 : 0);
    for (uint16_t i = 0; i < kSlots; ++i) {
        if (!present_[i]) continue;
        writer.WriteWord(keys_[i]);
        writer.WriteBytes(records_[i].data(), kFormatValueBytes);
    }
    writer.WriteWord(static_cast<uint16_t>(names_.size()));
    for (const auto& name : names_) writer.WriteBytes(name.data(), kNameBytes);
    tabs_->Save(writer);
}

int StyleSheet::Save(VazaziFile& document) const {
    MemWriter record;
    record.Begin();
    Write(record);
    if (record.End() != 0) return refuse(0, "the style sheet could not be written out");
    const RecordFlags flags{0, kWrittenVersion};
    return document.WriteRecordByType(kRecordType, 0, record, &flags) == 1 ? 1 : 0;
}

std::string StyleSheet::GetStyleName(uint16_t n) const {
    if (n >= kSlots || n >= names_.size()) return {};
    return std::string(names_[n].data(), strnlen(names_[n].data(), kNameBytes));
}

uint16_t StyleSheet::CountStyles() const {
    return static_cast<uint16_t>(std::count(present_.begin(), present_.end(), true));
}

uint16_t StyleSheet::FindFreeSlot() const {
    const auto at = std::find(present_.begin(), present_.end(), false);
    return at == present_.end() ? kNoStyle : static_cast<uint16_t>(at - present_.begin());
}

void StyleSheet::DefineStyle(std::string_view name, const StyleDefinition& definition, uint16_t slot, uint16_t key) {
    if (slot >= kSlots) return;
    records_[slot] = RecordFromDefinition(definition);
    if (names_.size() <= slot) names_.resize(slot + 1);
    names_[slot] = {};
    std::memcpy(names_[slot].data(), name.data(), std::min<size_t>(name.size(), kNameBytes - 1));
    present_[slot] = true;
    edited_[slot] = false;
    keys_[slot] = key;
}

uint8_t StyleSheet::FindByKey(uint16_t key) const {
    for (uint16_t i = 0; i < kSlots; ++i) {
        if (present_[i] && key != 0 && keys_[i] == key) return static_cast<uint8_t>(i);
    }
    return kNoKey;
}

uint16_t StyleSheet::FindByName(std::string_view name) const {
    const std::string_view wanted = BaseName(name);
    for (uint16_t i = 0; i < kSlots; ++i) {
        if (present_[i] && BaseName(GetStyleName(i)) == wanted) return i;
    }
    return kNoStyle;
}

StyleSheet& GetStyleSheet() {
    static StyleSheet sheet;
    return sheet;
}

void BuildDefaultStyleSheet(ColourTable& colours, DocumentFonts& fonts, StyleSheet& sheet) {
    std::vector<Rgb> table;
    for (const uint32_t hex : kSystemColours) {
        if (std::find(table.begin(), table.end(), FromHex(hex)) == table.end()) table.push_back(FromHex(hex));
    }
    for (const uint32_t hex : kMixedColours) table.push_back(FromHex(hex));
    for (const uint32_t hex : kGreyAndSpectrumColours) table.push_back(FromHex(hex));
    colours.SetAll(table);

    fonts.main.Clear();
    fonts.main.Append("Arial CE", kCharsetEastEurope);
    fonts.main.Append("Times New Roman CE", kCharsetEastEurope);
    fonts.markers.Clear();
    fonts.markers.Append("Wingdings", kCharsetSymbol);
    fonts.markers.Append("Arial CE", kCharsetEastEurope);
    fonts.markers.Append("Times New Roman CE", kCharsetEastEurope);

    sheet.Reset();
    for (uint16_t slot = 0; slot < kBuiltInStyles.size(); ++slot) {
        const BuiltInStyle& style = kBuiltInStyles[slot];
        sheet.DefineStyle(style.name, style.definition, slot, style.key);
    }
    sheet.BaseDefault() = RecordFromDefinition(kBuiltInStyles[0].definition);
}

}  // namespace lect32
