#include "store/language_string_tables.h"

#include <string>

#include "store/mem_reader.h"
#include "winplat/byte_reader.h"
#include "winplat/dialogs.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: language tables");
constexpr size_t kDirectoryEntrySize = 4;

// One entry's fields; the reader stands after it when done. False when it does not fit.
bool readEntry(winplat::ByteReader& reader, uint16_t& id, const char*& text) {
    id = reader.u16();
    const uint8_t length = reader.u8();
    const auto bytes = reader.view(size_t{length} + 1);
    if (!reader.ok() || bytes.back() != 0) return false;
    text = reinterpret_cast<const char*>(bytes.data());
    return true;
}

}  // namespace

bool LanguageStringTables::IsWellFormed(std::span<const uint8_t> block, uint16_t count) {
    if (size_t{count} * kDirectoryEntrySize > block.size()) return refuse(false, "directory longer than the block");
    winplat::ByteReader directory(block);
    for (uint16_t table = 0; table < count; ++table) {
        const uint16_t entries = directory.u16();
        const uint16_t offset = directory.u16();
        winplat::ByteReader reader(block);
        if (!reader.seek(offset)) return refuse(false, "table offset outside the block");
        for (uint16_t k = 0; k < entries; ++k) {
            uint16_t id = 0;
            const char* text = nullptr;
            if (!readEntry(reader, id, text)) return refuse(false, "entry outside the block or not zero-ended");
        }
    }
    return true;
}

int LanguageStringTables::Load(MemReader& reader) {
    Clear();
    uint8_t ignored = 0;
    uint16_t count = 0;
    uint16_t size = 0;
    if (!reader.ReadByte(ignored) || !reader.ReadWord(count) || !reader.ReadWord(size)) {
        return refuse(0, "record shorter than the tables' head");
    }
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, size ? size : 1));
    if (!block) return refuse(0, "no memory for the block");
    {
        winplat::GlobalPin pin(block.get());
        if (!pin) return refuse(0, "block cannot be locked");
        if (!reader.ReadBytesLong(pin.as<uint8_t>(), size)) return refuse(0, "record shorter than the block");
        if (!IsWellFormed({pin.as<uint8_t>(), size}, count)) return 0;
    }
    block_ = std::move(block);
    size_ = size;
    count_ = count;
    return 1;
}

void LanguageStringTables::Clear() {
    block_.reset();
    size_ = 0;
    count_ = 0;
}

void LanguageStringTables::ForEachEntry(uint16_t table, const EntryVisitor& visit) const {
    if (table >= count_ || !block_) return;
    winplat::GlobalPin pin(block_.get());
    if (!pin) return;
    const std::span<const uint8_t> block(pin.as<uint8_t>(), size_);
    winplat::ByteReader directory(block);
    directory.skip(size_t{table} * kDirectoryEntrySize);
    const uint16_t entries = directory.u16();
    winplat::ByteReader reader(block);
    reader.seek(directory.u16());
    for (uint16_t position = 0; position < entries; ++position) {
        uint16_t id = 0;
        const char* text = nullptr;
        if (!readEntry(reader, id, text)) return;  // checked at load; kept as the walk's own bound
        visit(position, id, text);
    }
}

void LanguageStringTables::ApplyToMainMenu(HWND window, uint16_t table) {
    const HMENU bar = window ? GetMenu(window) : nullptr;
    if (table >= count_ || !bar) return;
    ForEachEntry(table, [bar](uint16_t position, uint16_t, const char* text) {
        // A title that opens a drop-down is renamed with its own drop-down, which keeps it.
        const HMENU dropDown = GetSubMenu(bar, position);
        const UINT flags = MF_BYPOSITION | MF_STRING | (dropDown ? MF_POPUP : 0u);
        const UINT_PTR item = dropDown ? reinterpret_cast<UINT_PTR>(dropDown) : position;
        ModifyMenuA(bar, position, flags, item, text);
    });
    DrawMenuBar(window);
}

void LanguageStringTables::ApplyToMenu(HMENU menu, uint16_t table) {
    if (!menu) return;
    ForEachEntry(table, [menu](uint16_t, uint16_t id, const char* text) {
        ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING, id, text);
    });
}

void LanguageStringTables::ApplyToDialog(HWND window, uint16_t table) {
    if (!window) return;
    ForEachEntry(table, [window](uint16_t, uint16_t id, const char* text) {
        const HWND target = id == 0 ? window : GetDlgItem(window, id);
        if (target) SetWindowTextA(target, text);
    });
}

LanguageStringTables& LanguageTables() {
    static LanguageStringTables tables;
    return tables;
}

void TranslateDialog(HWND dialog, uint16_t table) { LanguageTables().ApplyToDialog(dialog, table); }

}  // namespace lect32
