// Addresses in running text made into links: a word that begins with "www.", "http:", "gopher:"
// or "ftp:", or that holds an "@" inside it, is framed as a link of the address kind, so that a
// click opens it.
#ifndef LECT32_PAGE_URL_MARKING_H
#define LECT32_PAGE_URL_MARKING_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lect32 {

// A row's text never grows past what its 16-bit length holds.
inline constexpr size_t kMaxRowText = 0xFFFF;
// The longest address a click hands on.
inline constexpr size_t kMaxAddress = 999;

// Marks the addresses of one row's text in place; links already there and other control codes
// with their payloads are passed over, and the five bytes 160, 32, 160, 32, 160 end the scan.
// Returns how many it marked. A row too full for another link keeps what was marked so far.
size_t MarkUrlsInRow(std::vector<uint8_t>& text);

// The text of the link that opens at 'start' (its code 20): the bytes up to its closing code 21
// without control codes, blanks trimmed, at most kMaxAddress.
std::string LinkText(std::span<const uint8_t> text, size_t start);

}  // namespace lect32

#endif
