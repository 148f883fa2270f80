// Reading dialog templates field by field through the bounded reader (layout in the header).
#include "dialogs/dialog_template.h"

#include <array>
#include <string_view>

#include "winplat/byte_reader.h"
#include "winplat/controls.h"
#include "winplat/cp1250.h"

namespace winplat::dialogs {
namespace {

// A template with no size given is read at most this far; the largest our resource compiler
// writes is a small fraction of it.
constexpr size_t kUnboundedLimit = size_t{1} << 20;
// The longest text of a template, in UTF-16 units: what an edit field holds by default.
constexpr size_t kMaxText = 32767;
constexpr WORD kOrdinal = 0xFFFF;

constexpr std::array<std::string_view, 6> kPredefinedClasses = {"BUTTON",    "EDIT",    "STATIC", "LISTBOX",
                                                                  "SCROLLBAR", "COMBOBOX"};
constexpr WORD kFirstClassAtom = 0x80;

bool isHighSurrogate(WORD unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool isLowSurrogate(WORD unit) { return unit >= 0xDC00 && unit < 0xE000; }

class TemplateReader {
public:
    TemplateReader(const void* data, size_t size, std::string& why) : in_(data, size), why_(why) {}

    std::optional<DialogTemplate> read() {
        DialogTemplate dialog;
        dialog.style = in_.u32();
        dialog.exStyle = in_.u32();
        const WORD count = in_.u16();
        dialog.x = in_.i16();
        dialog.y = in_.i16();
        dialog.cx = in_.i16();
        dialog.cy = in_.i16();
        if (!in_.ok()) return refuse("the template ends inside its header");
        auto menu = name("the menu");
        auto windowClass = menu ? name("the dialog class") : std::nullopt;
        auto caption = windowClass ? text("the caption") : std::nullopt;
        if (!caption) return std::nullopt;
        dialog.menu = std::move(*menu);
        dialog.className = windowClass->id ? "#" + std::to_string(*windowClass->id) : std::move(windowClass->text);
        dialog.caption = std::move(*caption);
        if (dialog.style & DS_SETFONT) {
            dialog.pointSize = in_.u16();
            auto face = text("the font");
            if (!face) return std::nullopt;
            dialog.faceName = std::move(*face);
        }
        for (WORD i = 0; i < count; ++i) {
            auto item = readItem(i);
            if (!item) return std::nullopt;
            dialog.items.push_back(std::move(*item));
        }
        return dialog;
    }

private:
    std::optional<DialogItem> readItem(WORD index) {
        const std::string which = "item " + std::to_string(index);
        if (!in_.skip((4 - in_.position() % 4) % 4)) return refuse("the template ends before " + which);
        DialogItem item;
        item.style = in_.u32();
        item.exStyle = in_.u32();
        item.x = in_.i16();
        item.y = in_.i16();
        item.cx = in_.i16();
        item.cy = in_.i16();
        item.id = in_.u16();
        if (!in_.ok()) return refuse("the template ends inside " + which);
        auto windowClass = name("the class of " + which);
        if (!windowClass) return std::nullopt;
        if (windowClass->id) {
            const WORD atom = *windowClass->id;
            if (atom < kFirstClassAtom || atom >= kFirstClassAtom + kPredefinedClasses.size())
                return refuse("the class atom of " + which + " names no predefined class");
            item.className = kPredefinedClasses[atom - kFirstClassAtom];
        } else {
            item.className = std::move(windowClass->text);
        }
        auto title = name("the text of " + which);
        if (!title) return std::nullopt;
        item.textId = title->id;
        item.text = std::move(title->text);
        const WORD dataSize = in_.u16();
        const auto data = in_.view(dataSize);
        if (!in_.ok()) return refuse("the creation data of " + which + " runs past the end");
        item.creationData.assign(data.begin(), data.end());
        return item;
    }

    // WORD 0: none; 0xFFFF and a WORD: a number; else a zero-ended text starting with that unit.
    std::optional<TemplateName> name(const std::string& what) {
        const WORD first = in_.u16();
        if (!in_.ok()) return refuse("the template ends before " + what);
        if (first == 0) return TemplateName{};
        if (first == kOrdinal) {
            const WORD id = in_.u16();
            if (!in_.ok()) return refuse("the template ends inside " + what);
            return TemplateName{id, {}};
        }
        auto rest = text(what, first);
        if (!rest) return std::nullopt;
        return TemplateName{std::nullopt, std::move(*rest)};
    }

    // A zero-ended UTF-16 text in cp1250; 'first' is its first unit when already read.
    std::optional<std::string> text(const std::string& what, std::optional<WORD> first = std::nullopt) {
        std::string out;
        WORD unit = first ? *first : in_.u16();
        for (size_t units = 0; in_.ok() && unit != 0; ++units, unit = in_.u16()) {
            if (units == kMaxText) return refuse(what + " runs on past " + std::to_string(kMaxText) + " characters");
            out.push_back(static_cast<char>(byteOf(unit)));
        }
        if (!in_.ok()) return refuse("the template ends inside " + what);
        return out;
    }

    // The cp1250 byte of one unit; a pair of surrogates, whose character cp1250 never holds,
    // becomes a single '?'.
    uint8_t byteOf(WORD unit) {
        if (isHighSurrogate(unit) && in_.has(2)) {
            ByteReader ahead = in_;
            if (isLowSurrogate(ahead.u16())) in_.skip(2);
        }
        uint8_t byte = '?';
        if (!cp1250::fromUnicode(unit, byte)) byte = '?';
        return byte;
    }

    std::nullopt_t refuse(std::string reason) {
        why_ = std::move(reason);
        return std::nullopt;
    }

    ByteReader in_;
    std::string& why_;
};

}  // namespace

std::optional<DialogTemplate> readDialogTemplate(std::span<const uint8_t> bytes, std::string& why) {
    return TemplateReader(bytes.data(), bytes.size(), why).read();
}

std::optional<DialogTemplate> readDialogTemplateUnbounded(const void* data, std::string& why) {
    if (!data) {
        why = "no template";
        return std::nullopt;
    }
    return TemplateReader(data, kUnboundedLimit, why).read();
}

std::optional<DialogTemplate> readDialogTemplateUnbounded(const void* data) {
    std::string why;
    return readDialogTemplateUnbounded(data, why);
}

}  // namespace winplat::dialogs
