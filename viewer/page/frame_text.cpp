// A text frame's content as plain text, and on the clipboard.
#include "page/rich_text_object.h"
#include "store/mem_writer.h"
#include "text/code_edits.h"
#include "winplat/clipboard.h"
#include "winplat/owners.h"

namespace lect32 {

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
    if (!WriteText(out) || !out.WriteByte(0) || out.End() != 0) return false;
    const winplat::OpenedClipboard clipboard(window);
    if (!clipboard || !EmptyClipboard()) return false;
    return out.PutOnClipboard(CF_TEXT) != 0;
}

}  // namespace lect32
