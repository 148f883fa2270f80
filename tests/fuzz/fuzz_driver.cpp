// Runs a fuzz target without libFuzzer: each seed, then a fixed number of mutations of it (bits
// flipped, bytes set to extreme values, the file cut or a piece of it repeated), from a fixed
// random sequence so every run tries the same inputs. Exits 0 when nothing crashed; the
// sanitizers of the test build end the run on any fault.
//   <target> [mutations per seed]
//   <target> --write-seeds DIR     the seeds as files, to start a corpus from
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz_entry.h"

namespace {

struct Random {
    uint64_t state = 0x9E3779B97F4A7C15u;
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state >> 11);
    }
    size_t below(size_t n) { return n ? next() % n : 0; }
};

FuzzBytes mutate(const FuzzBytes& seed, Random& random) {
    FuzzBytes b = seed;
    const int edits = 1 + static_cast<int>(random.below(4));
    for (int e = 0; e < edits && !b.empty(); ++e) {
        const size_t at = random.below(b.size());
        switch (random.below(5)) {
            case 0:
                b[at] ^= static_cast<uint8_t>(1u << random.below(8));
                break;
            case 1: {
                static const uint8_t extremes[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
                b[at] = extremes[random.below(sizeof extremes)];
                break;
            }
            case 2:
                b.resize(at);
                break;
            case 3: {
                const size_t length = 1 + random.below(std::min<size_t>(64, b.size() - at));
                b.insert(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at),
                         b.begin() + static_cast<long>(at + length));
                break;
            }
            default:
                b[at] = static_cast<uint8_t>(random.next());
                break;
        }
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-seeds") == 0) return fuzzWriteSeeds(argv[2]) ? 0 : 1;
    const long mutations = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 200;
    const std::vector<FuzzBytes> seeds = fuzzSeeds();
    if (seeds.empty()) {
        std::fprintf(stderr, "no seeds\n");
        return 1;
    }
    for (size_t i = 0; i < seeds.size(); ++i) {
        if (seeds[i].empty()) {
            std::fprintf(stderr, "seed %zu could not be written\n", i);
            return 1;
        }
    }
    Random random;
    long runs = 0;
    for (const FuzzBytes& seed : seeds) {
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
        ++runs;
        for (long i = 0; i < mutations; ++i, ++runs) {
            const FuzzBytes input = mutate(seed, random);
            LLVMFuzzerTestOneInput(input.data(), input.size());
        }
    }
    std::printf("%ld passed, 0 failed\n", runs);
    return 0;
}
