// DLGTEMPLATE bytes built in memory: the layer's own boxes are made from them, as a program's
// templates are made from its resources.
#ifndef WINPLAT_SRC_DIALOGS_TEMPLATE_BYTES_H
#define WINPLAT_SRC_DIALOGS_TEMPLATE_BYTES_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "winplat/dialogs.h"

namespace winplat::dialogs {

struct TemplateBox {
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
};

class TemplateBytes {
public:
    // The header; with DS_SETFONT in the style the font's point size and face follow it. Texts
    // are cp1250.
    TemplateBytes(DWORD style, DWORD exStyle, TemplateBox box, std::string_view caption, WORD pointSize = 0,
                  std::string_view face = {});

    // An item; the predefined classes ("BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR",
    // "COMBOBOX") are stored by their atoms, others by name.
    void addItem(DWORD style, DWORD exStyle, TemplateBox box, WORD id, std::string_view className,
                 std::string_view text);

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void word(WORD value);
    void dword(DWORD value);
    void text(std::string_view cp1250Text);
    void alignToDword();

    std::vector<uint8_t> bytes_;
};

}  // namespace winplat::dialogs

#endif
