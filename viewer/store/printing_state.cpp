#include "store/printing_state.h"

namespace lect32 {

uint8_t PrintingFlag = 0;
uint8_t IgnoreBackgroundsFlag = 0;

}  // namespace lect32
