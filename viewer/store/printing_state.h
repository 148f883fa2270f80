// Whether a document is being printed right now: text colours that would vanish on white paper
// are printed black while it is set; and whether its page backgrounds are left out.
#ifndef LECT32_STORE_PRINTING_STATE_H
#define LECT32_STORE_PRINTING_STATE_H

#include <cstdint>

namespace lect32 {

// Set by printing for its duration, read by whoever sets text colours; user-interface thread only.
extern uint8_t PrintingFlag;
// The print option that leaves page backgrounds out: set by printing for its duration; every
// background fill is white while it is set.
extern uint8_t IgnoreBackgroundsFlag;

}  // namespace lect32

#endif
