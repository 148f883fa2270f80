// Dialog templates: the classic DLGTEMPLATE bytes (not the EX form) read into plain values.
//
// Layout, little-endian: DWORD style, DWORD extended style, WORD item count, short x, y, cx, cy;
// menu and class (each WORD 0 for none, 0xFFFF + WORD number, or a zero-ended UTF-16 text); the
// title; with DS_SETFONT a WORD point size and the face name. Then each item, DWORD-aligned from
// the template's start: DWORD style, DWORD extended style, short x, y, cx, cy, WORD id, class
// (0xFFFF + atom 0x80..0x85 of a predefined class, or a text), text (0xFFFF + resource id, or a
// text), WORD size of the creation data and the data.
//
// Texts come back in cp1250; a character it cannot hold becomes '?'. Every field is read through
// the bounded reader, so a damaged template is refused with the reason, never read past.
#ifndef WINPLAT_SRC_DIALOGS_DIALOG_TEMPLATE_H
#define WINPLAT_SRC_DIALOGS_DIALOG_TEMPLATE_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "winplat/types.h"

namespace winplat::dialogs {

// A menu or window class named by a template: by number, by text, or not at all.
struct TemplateName {
    std::optional<WORD> id;  // the number form
    std::string text;        // cp1250; empty with no id: none given

    bool none() const { return !id && text.empty(); }
    bool operator==(const TemplateName&) const = default;
};

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    WORD id = 0;
    std::string className;  // "BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX" for the atoms
    std::string text;       // cp1250; empty when textId is set
    std::optional<WORD> textId;  // the text given as a resource id (an icon or bitmap of a static)
    std::vector<uint8_t> creationData;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    TemplateName menu;
    std::string className;  // empty: the dialog class; "#n" for a class given by atom n
    std::string caption;    // cp1250
    WORD pointSize = 0;     // with DS_SETFONT
    std::string faceName;   // cp1250, with DS_SETFONT
    std::vector<DialogItem> items;
};

// Reads a template of known size; nothing, with the reason in 'why', when it is damaged.
std::optional<DialogTemplate> readDialogTemplate(std::span<const uint8_t> bytes, std::string& why);

// Reads a template whose size nobody gave (DialogBoxIndirectParamA): within a generous bound,
// stopping at the end of the last item, so a sound template is read no further than its end.
std::optional<DialogTemplate> readDialogTemplateUnbounded(const void* data, std::string& why);
std::optional<DialogTemplate> readDialogTemplateUnbounded(const void* data);

}  // namespace winplat::dialogs

#endif
