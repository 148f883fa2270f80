// A page's tables with media that does nothing: for runs that measure or shake the page's own
// bookkeeping, where what the media layer is asked does not matter.
#ifndef LECT32_TESTS_SUPPORT_QUIET_PAGE_TABLES_H
#define LECT32_TESTS_SUPPORT_QUIET_PAGE_TABLES_H

#include <cstdint>

#include "page/page.h"
#include "store/file_name_table.h"
#include "store/string_pool.h"

namespace page_support {

class QuietMedia final : public lect32::ObjectMedia {
public:
    void CloseObjectWindow(HWND) override {}
    void DeleteImage(uint16_t, bool) override {}
    void DeleteTempFile(int16_t) override {}
};

struct QuietTables {
    lect32::StringPool pictureFolders, cacheFolders;
    lect32::FileNameTable pictures{pictureFolders};
    lect32::ImageFileTable cache{cacheFolders};
    QuietMedia media;
    lect32::PageServices services() {
        lect32::PageServices s;
        s.pictures = &pictures;
        s.cache = &cache;
        s.media = &media;
        return s;
    }
};

}  // namespace page_support

#endif
