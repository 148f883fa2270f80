// LoadMenuIndirectA and LoadMenuA: a menu from the classic MENUITEMTEMPLATE bytes.
//
// Header: WORD version (0), WORD offset of the first item after the header. Each item: WORD
// option (MF_ bits, MF_END on the last item of its level), WORD id unless MF_POPUP, then a
// zero-ended UTF-16LE text; a drop-down's items follow its own item at once. A separator is
// written as option 0, id 0 and an empty text. Reading stops at the last MF_END of the top
// level. The bytes are read through the bounded reader: a resource within its size, a template
// given by address alone within a generous bound; depth is bounded so a damaged template cannot
// recurse far.
#include <optional>
#include <string>

#include "base/call_refusal.h"
#include "user/menu_object.h"
#include "winplat/byte_reader.h"
#include "winplat/cp1250.h"
#include "winplat/module.h"
#include "winplat/owners.h"
#include "winplat/resources.h"

using namespace winplat;
using namespace winplat::user;

namespace {

constexpr int kMaxDepth = 16;
constexpr size_t kMaxText = 4096;
// How far a template given without its size is read at most.
constexpr size_t kUnboundedLimit = size_t{1} << 20;
constexpr UINT kTemplateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK | MF_MENUBARBREAK | MF_HELP;

enum class Damage { None, TooDeep, TextTooLong, Truncated, NotAdded };

struct TemplateReader {
    ByteReader in;
    Damage damage = Damage::None;

    bool fail(Damage why) {
        damage = why;
        return false;
    }

    // The UTF-16 text, in cp1250 ('?' for what it cannot hold); nothing when it runs on too far
    // or past the end.
    std::optional<std::string> text() {
        std::string out;
        for (WORD unit = in.u16(); in.ok() && unit != 0; unit = in.u16()) {
            if (out.size() == kMaxText) {
                fail(Damage::TextTooLong);
                return std::nullopt;
            }
            uint8_t byte = '?';
            if (!cp1250::fromUnicode(unit, byte)) byte = '?';
            out.push_back(static_cast<char>(byte));
        }
        if (!in.ok()) {
            fail(Damage::Truncated);
            return std::nullopt;
        }
        return out;
    }

    // Reads the items of one level into 'menu'.
    bool readLevel(HMENU menu, int depth) {
        if (depth > kMaxDepth) return fail(Damage::TooDeep);
        for (;;) {
            const WORD option = in.u16();
            const bool popup = (option & MF_POPUP) != 0;
            const WORD id = popup ? 0 : in.u16();
            if (!in.ok()) return fail(Damage::Truncated);
            const auto label = text();
            if (!label) return false;
            UINT flags = option & kTemplateBits;
            UINT_PTR newItem = id;
            OwnedMenu sub;  // the menu holds the drop-down once it is appended
            if (popup) {
                sub.reset(CreatePopupMenu());
                if (!readLevel(sub.get(), depth + 1)) return false;
                flags |= MF_POPUP;
                newItem = reinterpret_cast<UINT_PTR>(sub.get());
            } else if ((option & MF_SEPARATOR) || (id == 0 && label->empty())) {
                flags |= MF_SEPARATOR;
            }
            if (!AppendMenuA(menu, flags, newItem, label->c_str())) return fail(Damage::NotAdded);
            static_cast<void>(sub.release());
            if (option & MF_END) return true;
        }
    }
};

const char* describe(Damage damage) {
    switch (damage) {
        case Damage::TooDeep: return "the template nests too deep";
        case Damage::TextTooLong: return "the template holds an over-long text";
        case Damage::Truncated: return "the template ends inside an item";
        case Damage::NotAdded: return "an item of the template could not be added";
        case Damage::None: break;
    }
    return "the template is damaged";
}

HMENU menuFromTemplate(const void* bytes, size_t size, const CallRefuser& refuse) {
    TemplateReader reader{ByteReader(bytes, size)};
    const WORD version = reader.in.u16();
    const WORD offset = reader.in.u16();
    if (!reader.in.ok()) return refuse(HMENU{}, "the template ends inside its header");
    if (version != 0) return refuse.unsupported(HMENU{}, "only version 0 menu templates are read");
    if (!reader.in.skip(offset)) return refuse(HMENU{}, "the template's items start past its end");
    OwnedMenu menu(CreateMenu());
    if (!reader.readLevel(menu.get(), 0)) return refuse(HMENU{}, describe(reader.damage));
    return menu.release();
}

}  // namespace

HMENU LoadMenuIndirectA(const void* menuTemplate) {
    static constexpr CallRefuser refuse("winplat: LoadMenuIndirectA", ERROR_INVALID_DATA);
    if (!menuTemplate) return refuse(HMENU{}, "no template");
    return menuFromTemplate(menuTemplate, kUnboundedLimit, refuse);
}

HMENU LoadMenuA(HINSTANCE instance, LPCSTR name) {
    static constexpr CallRefuser refuse("winplat: LoadMenuA", ERROR_INVALID_DATA);
    const auto bytes = resourceBytes(instance, name, RT_MENU);
    if (!bytes) return nullptr;  // FindResourceA said why
    return menuFromTemplate(bytes->data(), bytes->size(), refuse);
}
