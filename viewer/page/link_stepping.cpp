// Tab and Shift+Tab: the next or previous link of the page's text selected and brought into view.
#include "page/rich_text_object.h"
#include "text/control_codes.h"

namespace lect32 {
namespace {

struct LinkSpan {
    uint16_t start = 0;
    uint16_t end = 0;  // just past the closing code 21
};

// The row's links in order, each from its code 20 to past its code 21; a damaged sequence ends
// the walk.
std::vector<LinkSpan> LinksOf(std::span<const uint8_t> text) {
    std::vector<LinkSpan> links;
    size_t at = 0, open = kNoSequence;
    while (at < text.size()) {
        if (!IsControlCode(text[at])) {
            ++at;
            continue;
        }
        const size_t length = SequenceLength(text, at);
        if (length == 0) break;
        if (text[at] == kCodeLinkStart) open = at;
        if (text[at] == kCodeLinkEnd && open != kNoSequence) {
            links.push_back({static_cast<uint16_t>(open), static_cast<uint16_t>(at + length)});
            open = kNoSequence;
        }
        at += length;
    }
    return links;
}

}  // namespace

LinkStep& RichTextObject::ProgramLinkStep() {
    static LinkStep step;
    return step;
}

bool RichTextObject::StepLink(bool forward) {
    LinkStep& step = ProgramLinkStep();
    if (!forward && step.counter == -1) return false;
    std::optional<std::pair<uint16_t, LinkSpan>> found;
    if (forward) {
        const uint16_t fromRow = step.counter == -1 ? 0 : step.row;
        const uint16_t fromPos = step.counter == -1 ? 0 : step.end;
        for (uint16_t row = fromRow; row < rows_.size() && !found; ++row) {
            for (const LinkSpan& link : LinksOf(rows_[row].text)) {
                if (row == fromRow && link.start < fromPos) continue;
                found = std::pair{row, link};
                break;
            }
        }
    } else {
        for (int row = std::min<int>(step.row, static_cast<int>(rows_.size()) - 1); row >= 0 && !found; --row) {
            const std::vector<LinkSpan> links = LinksOf(rows_[static_cast<uint16_t>(row)].text);
            for (auto link = links.rbegin(); link != links.rend(); ++link) {
                if (row == step.row && link->end > step.start) continue;
                found = std::pair{static_cast<uint16_t>(row), *link};
                break;
            }
        }
    }
    if (!found) return false;
    step.counter = static_cast<int16_t>(step.counter + (forward ? 1 : -1));
    step.row = found->first;
    step.start = found->second.start;
    step.end = found->second.end;
    ScrollRangeIntoView(lineEdge(step.row, step.start, false),
                        lineEdge(step.row, step.end, true), true);
    SetSelection(step.row, step.start, step.row, step.end, true);
    return true;
}

}  // namespace lect32
