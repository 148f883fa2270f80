// The stored form of a page style, as page records and a page's own style carry it: a version
// byte, then (from version 2) a flags word and each group whose bit is set. Versions 0 and 1 are
// the older fixed layout. The viewer reads every version and writes version 5.
#ifndef LECT32_PAGE_PAGE_STYLE_FORM_H
#define LECT32_PAGE_PAGE_STYLE_FORM_H

#include <cstdint>

#include "page/page_style.h"
#include "winplat/byte_reader.h"

namespace lect32 {

class MemWriter;

enum class PageStyleRead : uint8_t {
    Ok,
    Truncated,  // the record ends inside a field the version and flags call for
};

// The version this viewer writes.
constexpr uint8_t kPageStyleVersion = 5;

// Reads one stored page style from the reader's position. On success 'style' holds every field,
// the ones the record leaves out at their defaults; on failure 'style' is left as it was.
PageStyleRead ReadPageStyle(winplat::ByteReader& in, PageStyle& style);

// Writes the style in the current form; true when every byte went into the writer.
bool WritePageStyle(MemWriter& out, const PageStyle& style);

// The style a page is shown with: each group from 'page' when its bit is set in page.flags, else
// from 'defaults'; the page links and the timed change always from 'page'. The flags and the
// template page of 'target' stay as they were.
void MergePageStyle(PageStyle& target, const PageStyle& page, const PageStyle& defaults);

}  // namespace lect32

#endif
