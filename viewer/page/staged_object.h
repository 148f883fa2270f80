// An object read from a page record or a saved block but not yet on the page: a reader collects
// the whole list this way first, so that a list that turns out damaged leaves nothing half-read.
#ifndef LECT32_PAGE_STAGED_OBJECT_H
#define LECT32_PAGE_STAGED_OBJECT_H

#include <cstdint>
#include <span>
#include <vector>

#include "page/page_object.h"

namespace lect32 {

struct StagedObject {
    PageObject record;
    std::vector<uint8_t> attributes;  // whole slots only
    std::span<const uint8_t> content;  // inside the bytes being read
};

}  // namespace lect32

#endif
