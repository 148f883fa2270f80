// A text frame's content as plain text, and on the clipboard.
#include "page/rich_text_object.h"
#include "store/mem_writer.h"
#include "text/code_edits.h"
#include "winplat/clipboard.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: copying text to the clipboard");

}  // namespace

bool RichTextObject::WriteText(MemWriter& out) const {
    bool previousWasText = false;
    for (const ViewRow& row : rows_) {
        if (row.record.Flags() & RowRecord::kTableBit) {
            previousWasText = false;
            continue;
        }
        if (previousWasText) out.WriteBytes("\r\n", 2);
        std::vector<uint8_t> text = row.text;
        text.resize(StripControlCodes(text, false));
        out.WriteBytesLong(text.data(), static_cast<uint32_t>(text.size()));
        previousWasText = true;
    }
    return !out.error();
}

std::vector<uint8_t> RichTextObject::PlainText() const {
    MemWriter out;
    out.Begin();
    if (!WriteText(out)) return {};
    return std::vector<uint8_t>(out.data(), out.data() + out.GetLength());
}

bool RichTextObject::CopyToClipboard(HWND window) const {
    MemWriter out;
    out.Begin();
    if (!WriteText(out) || !out.WriteByte(0) || out.End() != 0) return refuse(false, "no memory for the text");
    const winplat::OpenedClipboard clipboard(window);
    if (!clipboard) return refuse(false, "the clipboard is taken by another window");
    if (!EmptyClipboard()) return refuse(false, "the clipboard could not be emptied");
    if (out.PutOnClipboard(CF_TEXT) == 0) return refuse(false, "the text could not be put on the clipboard");
    return true;
}

}  // namespace lect32
