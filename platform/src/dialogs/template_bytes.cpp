#include "dialogs/template_bytes.h"

#include <array>
#include <utility>

#include "winplat/base.h"
#include "winplat/cp1250.h"

namespace winplat::dialogs {
namespace {

constexpr size_t kCountOffset = 8;  // the item count's place in the header

constexpr std::array<std::pair<const char*, WORD>, 6> kAtoms = {
    {{"BUTTON", 0x80}, {"EDIT", 0x81}, {"STATIC", 0x82}, {"LISTBOX", 0x83}, {"SCROLLBAR", 0x84}, {"COMBOBOX", 0x85}}};

}  // namespace

TemplateBytes::TemplateBytes(DWORD style, DWORD exStyle, TemplateBox box, std::string_view caption, WORD pointSize,
                             std::string_view face) {
    dword(style);
    dword(exStyle);
    word(0);
    for (const short value : {box.x, box.y, box.cx, box.cy}) word(static_cast<WORD>(value));
    word(0);  // no menu
    word(0);  // the dialog class
    text(caption);
    if (style & DS_SETFONT) {
        word(pointSize);
        text(face);
    }
}

void TemplateBytes::addItem(DWORD style, DWORD exStyle, TemplateBox box, WORD id, std::string_view className,
                            std::string_view itemText) {
    alignToDword();
    dword(style);
    dword(exStyle);
    for (const short value : {box.x, box.y, box.cx, box.cy}) word(static_cast<WORD>(value));
    word(id);
    bool byAtom = false;
    for (const auto& [name, atom] : kAtoms) {
        if (lstrcmpiA(std::string(className).c_str(), name) != 0) continue;
        word(0xFFFF);
        word(atom);
        byAtom = true;
    }
    if (!byAtom) text(className);
    text(itemText);
    word(0);  // no creation data
    const WORD count = static_cast<WORD>(bytes_[kCountOffset] | (bytes_[kCountOffset + 1] << 8)) + 1;
    bytes_[kCountOffset] = static_cast<uint8_t>(count & 0xFF);
    bytes_[kCountOffset + 1] = static_cast<uint8_t>(count >> 8);
}

void TemplateBytes::word(WORD value) {
    bytes_.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
}

void TemplateBytes::dword(DWORD value) {
    word(static_cast<WORD>(value & 0xFFFF));
    word(static_cast<WORD>(value >> 16));
}

// Zero-ended UTF-16; every cp1250 character lies in the basic plane.
void TemplateBytes::text(std::string_view cp1250Text) {
    for (const char c : cp1250Text) word(static_cast<WORD>(cp1250::toUnicode(static_cast<uint8_t>(c))));
    word(0);
}

void TemplateBytes::alignToDword() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
}

}  // namespace winplat::dialogs
