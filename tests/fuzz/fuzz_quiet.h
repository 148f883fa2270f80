// The messages the code under test gives about a damaged input, kept out of the output for the
// time one input runs and dropped when it ends. Dropped at the end, not at the start of the next
// input: libFuzzer runs again every input that leaves more blocks allocated than it freed, to look
// for a leak, and the messages of the input would be such blocks.
#ifndef PIXMILL_TESTS_FUZZ_QUIET_H
#define PIXMILL_TESTS_FUZZ_QUIET_H

#include "winplat/testing.h"

class QuietInput {
public:
    QuietInput() { capture().clear(); }
    ~QuietInput() { capture().clear(); }
    QuietInput(const QuietInput&) = delete;
    QuietInput& operator=(const QuietInput&) = delete;

private:
    static winplat::testing::DebugCapture& capture() {
        static winplat::testing::DebugCapture messages;
        return messages;
    }
};

#endif
