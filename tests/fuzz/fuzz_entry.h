// What every fuzz target gives the runners: libFuzzer's entry point and the seeds it starts from.
// Two runners use them: fuzz_driver.cpp (a short fixed run in every test run) and libFuzzer itself
// (./make.sh fuzz), where fuzz_libfuzzer.cpp adds the seed-writing mode.
#ifndef PIXMILL_TESTS_FUZZ_ENTRY_H
#define PIXMILL_TESTS_FUZZ_ENTRY_H

#include <cstddef>
#include <cstdint>
#include <vector>

using FuzzBytes = std::vector<uint8_t>;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Files of the target's format to start mutating from.
std::vector<FuzzBytes> fuzzSeeds();

// Writes the seeds into 'folder' as seed-NN, creating it; prints why and returns false when a seed
// is empty (its writer failed) or cannot be stored.
bool fuzzWriteSeeds(const char* folder);

#endif
