// Whether a document is being printed right now: text colours that would vanish on white paper
// are printed black while it is set.
#ifndef LECT32_STORE_PRINTING_STATE_H
#define LECT32_STORE_PRINTING_STATE_H

#include <cstdint>

namespace lect32 {

// Set by printing for its duration, read by whoever sets text colours; user-interface thread only.
extern uint8_t PrintingFlag;

}  // namespace lect32

#endif
