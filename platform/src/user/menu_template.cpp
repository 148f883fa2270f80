// LoadMenuIndirectA: a menu from the classic MENUITEMTEMPLATE bytes.
//
// Header: WORD version (0), WORD offset of the first item after the header. Each item: WORD
// option (MF_ bits, MF_END on the last item of its level), WORD id unless MF_POPUP, then a
// zero-ended UTF-16LE text; a drop-down's items follow its own item at once. A separator is
// written as option 0, id 0 and an empty text. The call gets no size, so the reading stops at
// the last MF_END of the top level; depth is bounded so a damaged template cannot recurse far.
#include <cstring>
#include <optional>
#include <string>

#include "base/call_refusal.h"
#include "user/menu_object.h"
#include "winplat/cp1250.h"
#include "winplat/owners.h"

using namespace winplat;
using namespace winplat::user;

namespace {

constexpr int kMaxDepth = 16;
constexpr size_t kMaxText = 4096;
constexpr UINT kTemplateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK | MF_MENUBARBREAK | MF_HELP;

struct TemplateReader {
    const unsigned char* at;

    WORD word() {
        WORD value = 0;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }

    // The UTF-16 text, in cp1250 ('?' for what it cannot hold); nothing when it runs on too far.
    std::optional<std::string> text() {
        std::string out;
        for (WORD unit = word(); unit != 0; unit = word()) {
            if (out.size() == kMaxText) return std::nullopt;
            uint8_t byte = '?';
            if (!cp1250::fromUnicode(unit, byte)) byte = '?';
            out.push_back(static_cast<char>(byte));
        }
        return out;
    }
};

// Reads the items of one level into 'menu'; false on a template too deep or a text too long.
bool readLevel(TemplateReader& reader, HMENU menu, int depth) {
    if (depth > kMaxDepth) return false;
    for (;;) {
        const WORD option = reader.word();
        const bool popup = (option & MF_POPUP) != 0;
        const WORD id = popup ? 0 : reader.word();
        const auto text = reader.text();
        if (!text) return false;
        UINT flags = option & kTemplateBits;
        UINT_PTR newItem = id;
        OwnedMenu sub;  // the menu holds the drop-down once it is appended
        if (popup) {
            sub.reset(CreatePopupMenu());
            if (!readLevel(reader, sub.get(), depth + 1)) return false;
            flags |= MF_POPUP;
            newItem = reinterpret_cast<UINT_PTR>(sub.get());
        } else if ((option & MF_SEPARATOR) || (id == 0 && text->empty())) {
            flags |= MF_SEPARATOR;
        }
        if (!AppendMenuA(menu, flags, newItem, text->c_str())) return false;
        static_cast<void>(sub.release());
        if (option & MF_END) return true;
    }
}

}  // namespace

HMENU LoadMenuIndirectA(const void* menuTemplate) {
    static constexpr CallRefuser refuse("winplat: LoadMenuIndirectA", ERROR_INVALID_DATA);
    if (!menuTemplate) return refuse(HMENU{}, "no template");
    TemplateReader reader{static_cast<const unsigned char*>(menuTemplate)};
    const WORD version = reader.word();
    const WORD offset = reader.word();
    if (version != 0) return refuse.unsupported(HMENU{}, "only version 0 menu templates are read");
    reader.at += offset;
    OwnedMenu menu(CreateMenu());
    if (!readLevel(reader, menu.get(), 0)) {
        return refuse(HMENU{}, "the template nests too deep or holds an over-long text");
    }
    return menu.release();
}
