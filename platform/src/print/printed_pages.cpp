// The tests' collection of printed pages.
#include "print/printed_pages.h"

#include <atomic>

namespace winplat::print {
namespace {
std::atomic<testing::PrintedPages*> installed{nullptr};
}  // namespace

testing::PrintedPages* exchangeCollector(testing::PrintedPages* collector) { return installed.exchange(collector); }

void collect(const std::string& printer, const std::string& document, const gdi::RgbImage& image, int dpiX, int dpiY) {
    testing::PrintedPages* collector = installed.load();
    if (!collector) return;
    testing::PrintedPage page{printer, document, image.width, image.height, dpiX, dpiY, {}};
    page.pixels.reserve(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    for (size_t at = 0; at + 2 < image.bgr.size(); at += 3) {
        page.pixels.push_back(static_cast<uint32_t>(image.bgr[at + 2]) << 16 | static_cast<uint32_t>(image.bgr[at + 1]) << 8 |
                              image.bgr[at]);
    }
    collector->add(std::move(page));
}

}  // namespace winplat::print

namespace winplat::testing {

PrintedPages::PrintedPages() : previous_(print::exchangeCollector(this)) {}

PrintedPages::~PrintedPages() { print::exchangeCollector(previous_); }

void PrintedPages::add(PrintedPage page) {
    std::lock_guard lock(mutex_);
    pages_.push_back(std::move(page));
}

std::vector<PrintedPage> PrintedPages::pages() const {
    std::lock_guard lock(mutex_);
    return pages_;
}

}  // namespace winplat::testing
