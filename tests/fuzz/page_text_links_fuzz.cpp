// A row of page text as the input layer walks it: addresses marked as links, the text of each
// link taken for a click, and Tab stepping through the links.
//
// What must hold for any input: nothing reads outside the input (the sanitizers watch that); the
// marked row never passes its 16-bit size and grows by exactly one frame and end per address; a
// link's text is at most 999 bytes; stepping through the links ends after no more steps than
// the row has bytes.
//
// Seeds: rows of addresses, links and control codes made here.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "page/rich_text_object.h"
#include "page/url_marking.h"
#include "support/quiet_page_tables.h"
#include "text/colour_table.h"
#include "text/style_sheet.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;
    if (size > lect32::kMaxRowText) return 0;
    std::vector<uint8_t> text(data, data + size);
    const size_t marked = lect32::MarkUrlsInRow(text);
    check(text.size() <= lect32::kMaxRowText);
    check(text.size() == size + 7 * marked);
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == 20) check(lect32::LinkText(text, at).size() <= lect32::kMaxAddress);
    }

    page_support::QuietTables tables;
    lect32::StyleSheet styles;
    lect32::ColourTable colours;
    lect32::RichTextObject view(tables.services(), lect32::ViewServices{&styles, &colours, {}});
    const uint8_t record[7] = {};
    if (!view.AppendRow(record, std::span<const uint8_t>(data, size))) return 0;
    lect32::RichTextObject::ProgramLinkStep() = lect32::LinkStep{};
    size_t steps = 0;
    while (view.StepLink(true)) check(++steps <= size);
    while (view.StepLink(false)) check(steps-- > 0);
    check(view.MarkUrlLinks() == marked);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    const auto bytes = [](const std::string& s) { return FuzzBytes(s.begin(), s.end()); };
    FuzzBytes links = bytes("see ");
    links.insert(links.end(), {20, 5, 0, 5, 0, 5, 20});
    for (const uint8_t b : bytes("page")) links.push_back(b);
    links.insert(links.end(), {21, 21, ' ', 1, '@', 0, 0, 0, 0, 1, ' '});
    for (const uint8_t b : bytes("www.x.cz. and me@x.cz")) links.push_back(b);
    FuzzBytes stop = bytes("ftp:a ");
    stop.insert(stop.end(), {160, 32, 160, 32, 160});
    for (const uint8_t b : bytes(" http:b")) stop.push_back(b);
    return {bytes("see www.x.cz, (http://a.cz/b) gopher:c."), links, stop};
}
