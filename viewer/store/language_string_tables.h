// The string tables of a loaded language file for menus and dialogs: one block beginning with T
// directory entries {u16 entry count, u16 offset of the table's first entry in the block}, whose
// entries are {u16 id, u8 L, L text bytes, 0}. In a menu table the id is a command id, in a dialog
// table a control id (0: the dialog itself); table 1 holds the menu-bar titles, applied by position.
// A block is checked whole when it is loaded, so the apply operations never read past it.
#ifndef LECT32_STORE_LANGUAGE_STRING_TABLES_H
#define LECT32_STORE_LANGUAGE_STRING_TABLES_H

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "winplat/owners.h"

namespace lect32 {

class MemReader;

class LanguageStringTables {
public:
    static constexpr uint16_t kMenuBarTable = 1;

    // Reads the ignored byte, T, S and the S-byte block. 0 when the reader runs short, the block
    // cannot be had or it is malformed; the tables are then empty (count 0, no block).
    int Load(MemReader& reader);
    void Clear();
    uint16_t GetCount() const { return count_; }

    // Renames item k of the window's menu bar to entry k's text (a drop-down stays attached), then
    // redraws the bar. Nothing happens for a table at or beyond the count or a window without menu.
    void ApplyToMainMenu(HWND window, uint16_t table);
    // Renames each entry's command in the menu.
    void ApplyToMenu(HMENU menu, uint16_t table);
    // Sets each entry's text on the control with its id, or on the window itself for id 0.
    void ApplyToDialog(HWND window, uint16_t table);

private:
    using EntryVisitor = std::function<void(uint16_t position, uint16_t id, const char* text)>;
    static bool IsWellFormed(std::span<const uint8_t> block, uint16_t count);
    void ForEachEntry(uint16_t table, const EntryVisitor& visit) const;

    winplat::GlobalBlock block_;
    uint32_t size_ = 0;
    uint16_t count_ = 0;
};

// The one set the dialogs and menus consult; empty until a language file is loaded.
LanguageStringTables& LanguageTables();

// What every dialog of the reader does while it is set up, with its own table number.
void TranslateDialog(HWND dialog, uint16_t table);

}  // namespace lect32

#endif
