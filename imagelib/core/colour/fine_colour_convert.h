// The fine colour conversion export with its working memory taken from a given resource, so that
// tests can make any of its allocations fail.
#ifndef PIXMILL_CORE_FINE_COLOUR_CONVERT_H
#define PIXMILL_CORE_FINE_COLOUR_CONVERT_H

#include <cstdint>
#include <memory_resource>

#include "pixmill/pixmill.h"

namespace pixmill {

// PXLFineColorConvert with the working memory from `memory`; when an allocation fails the result
// is 0 and the target stays as it was.
int32_t fineColorConvert(PxlImageId target, PxlImageId source, PxlImageId mask, int32_t colours,
                         int32_t ditherType, int32_t fixed, std::pmr::memory_resource* memory);

}  // namespace pixmill

#endif
