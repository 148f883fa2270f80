// Where the tests' page collection (testing::PrintedPages) is kept while installed.
#ifndef WINPLAT_SRC_PRINT_PRINTED_PAGES_H
#define WINPLAT_SRC_PRINT_PRINTED_PAGES_H

#include <string>

#include "gdi/png_output.h"
#include "winplat/testing.h"

namespace winplat::print {

testing::PrintedPages* exchangeCollector(testing::PrintedPages* collector);
// Hands a printed page to the collection, when one is installed.
void collect(const std::string& printer, const std::string& document, const gdi::RgbImage& image, int dpiX, int dpiY);

}  // namespace winplat::print

#endif
