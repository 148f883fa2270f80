// Copying a page's text: the selection, or the whole text when nothing is selected.
#include "page/rich_text_object.h"
#include "store/mem_writer.h"
#include "text/control_codes.h"
#include "winplat/clipboard.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: copying page text");

void AppendText(std::string& out, std::span<const uint8_t> text, size_t from, size_t to) {
    size_t at = from;
    while (at < to && at < text.size()) {
        if (!IsControlCode(text[at])) {
            out.push_back(static_cast<char>(text[at++]));
            continue;
        }
        const size_t length = SequenceLength(text, at);
        if (length == 0) return;
        at += length;
    }
}

}  // namespace

std::string RichTextObject::SelectedText() const {
    if (rows_.empty()) return {};
    uint16_t firstRow = 0, first = 0;
    uint16_t lastRow = static_cast<uint16_t>(rows_.size() - 1);
    uint16_t last = static_cast<uint16_t>(rows_[lastRow].text.size());
    if (selection_.active) {
        firstRow = selection_.startRow;
        first = PrevTextPosition(firstRow, selection_.startPos);
        lastRow = selection_.endRow;
        last = PrevTextPosition(lastRow, selection_.endPos);
    }
    std::string out;
    for (uint16_t row = firstRow; row <= lastRow && row < rows_.size(); ++row) {
        if (row != firstRow) out += "\r\n";
        const std::vector<uint8_t>& text = rows_[row].text;
        AppendText(out, text, row == firstRow ? first : 0, row == lastRow ? last : text.size());
    }
    return out;
}

bool RichTextObject::CopySelection(bool toClipboard) {
    const std::string text = SelectedText();
    if (!toClipboard) return true;
    if (!OpenClipboard(window_)) return refuse(false, "the clipboard is taken by another window");
    EmptyClipboard();
    MemWriter writer;
    writer.Begin();
    writer.WriteBytesLong(text.data(), static_cast<uint32_t>(text.size()));
    writer.WriteByte(0);
    const bool written = writer.End() == 0 && writer.PutOnClipboard(CF_TEXT) != 0;
    CloseClipboard();
    return written ? true : refuse(false, "the text could not be put on the clipboard");
}

}  // namespace lect32
