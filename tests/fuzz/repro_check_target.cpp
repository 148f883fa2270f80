// A target that fails on purpose, for the tests of the runner's repro mode: an input starting
// "overflow" reads one byte past a heap block, one starting "hang" never returns; any other input
// is harmless.
#include <string_view>
#include <vector>

#include "fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.starts_with("overflow")) {
        const std::vector<uint8_t> block(data, data + size);
        const volatile uint8_t past = block.data()[block.size()];
        (void)past;
    }
    if (input.starts_with("hang")) {
        volatile unsigned long turns = 0;
        for (;;) turns = turns + 1;
    }
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {FuzzBytes{'o', 'k'}};
}
