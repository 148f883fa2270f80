// Runs a fuzz target without libFuzzer: each seed, then a fixed number of mutations of it (bits
// flipped, bytes set to extreme values, the file cut or a piece of it repeated), from a fixed
// random sequence so every run tries the same inputs. Exits 0 when nothing crashed; the
// sanitizers of the test build end the run on any fault.
//   <target> [mutations per seed] [--seeds DIR mutations per file]
//                                  the target's own seeds, then the files in DIR (seeds that other
//                                  tools made), each followed by its mutations
//   <target> --repro DIR [seconds] every file in DIR once: the inputs that once crashed or hung the
//                                  target; one that runs longer than the seconds given (kHangSeconds
//                                  by default) aborts the run as a hang
//   <target> --write-seeds DIR     the seeds as files, to start a corpus from
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_entry.h"
#include "fuzz_files.h"

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

// What one kept input may take before it counts as a hang: twice what the optimised libFuzzer
// build of ./make.sh fuzz allows, for this slower build.
constexpr unsigned kHangSeconds = 60;

// The input a hang report names, set before each input runs.
std::string hangReport;

extern "C" void reportHang(int) {
    const ssize_t ignored = ::write(STDERR_FILENO, hangReport.data(), hangReport.size());
    (void)ignored;
    ::_exit(1);
}

int runKeptInputs(const char* folder, unsigned limitSeconds) {
    const std::optional<std::vector<FuzzFile>> inputs = fuzzReadFolder(folder);
    if (!inputs) return 1;
    if (inputs->empty()) {
        std::fprintf(stderr, "no inputs in %s: a repro folder keeps the inputs that failed\n", folder);
        return 1;
    }
    struct sigaction onAlarm = {};
    onAlarm.sa_handler = reportHang;
    sigaction(SIGALRM, &onAlarm, nullptr);
    for (const FuzzFile& input : *inputs) {
        std::printf("%s/%s\n", folder, input.name.c_str());
        std::fflush(stdout);
        hangReport = "hang: " + input.name + " ran longer than " + std::to_string(limitSeconds) + " s\n";
        alarm(limitSeconds);
        LLVMFuzzerTestOneInput(input.bytes.data(), input.bytes.size());
        alarm(0);
    }
    std::printf("%zu passed, 0 failed\n", inputs->size());
    return 0;
}

// The run's settings: mutations of each seed, and the folder of seed files with their mutations.
struct Settings {
    long mutations = 200;
    const char* seedFolder = nullptr;
    long fileMutations = 0;
};

std::optional<Settings> parse(int argc, char** argv) {
    Settings settings;
    int at = 1;
    if (at < argc && argv[at][0] != '-') settings.mutations = std::strtol(argv[at++], nullptr, 10);
    if (argc - at == 3 && std::strcmp(argv[at], "--seeds") == 0) {
        settings.seedFolder = argv[at + 1];
        settings.fileMutations = std::strtol(argv[at + 2], nullptr, 10);
        at += 3;
    }
    if (at != argc) return std::nullopt;
    return settings;
}

// The target's own seeds; nothing (and why) when a writer failed. A target whose seeds are
// copies of installed files may have none here (it says which are missing).
std::optional<std::vector<FuzzBytes>> ownSeeds() {
    std::vector<FuzzBytes> seeds = fuzzSeeds();
    for (size_t i = 0; i < seeds.size(); ++i) {
        if (seeds[i].empty()) {
            std::fprintf(stderr, "seed %zu could not be written\n", i);
            return std::nullopt;
        }
    }
    return seeds;
}

void run(const FuzzBytes& seed, long mutations, Random& random) {
    LLVMFuzzerTestOneInput(seed.data(), seed.size());
    for (long i = 0; i < mutations; ++i) {
        const FuzzBytes input = mutate(seed, random);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-seeds") == 0) return fuzzWriteSeeds(argv[2]) ? 0 : 1;
    const unsigned limit =
        argc == 4 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : kHangSeconds;
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--repro") == 0 && limit > 0) {
        return runKeptInputs(argv[2], limit);
    }
    const std::optional<Settings> settings = parse(argc, argv);
    if (!settings) {
        std::fprintf(stderr,
                     "usage: %s [mutations per seed] [--seeds DIR mutations per file] | --repro DIR [seconds]"
                     " | --write-seeds DIR\n",
                     argv[0]);
        return 2;
    }
    const std::optional<std::vector<FuzzBytes>> seeds = ownSeeds();
    if (!seeds) return 1;
    std::vector<FuzzFile> files;
    if (settings->seedFolder) {
        std::optional<std::vector<FuzzFile>> read = fuzzReadFolder(settings->seedFolder);
        if (!read) return 1;
        files = std::move(*read);
        if (files.empty())
            std::printf("no seed files in %s; the output of tools/make_fuzz_seeds.py says why\n",
                        settings->seedFolder);
    }
    if (seeds->empty() && files.empty()) {
        std::fprintf(stderr, "no seeds\n");
        return 1;
    }
    Random random;
    for (const FuzzBytes& seed : *seeds) run(seed, settings->mutations, random);
    for (const FuzzFile& file : files) {
        std::printf("seed file %s\n", file.name.c_str());
        std::fflush(stdout);
        run(file.bytes, settings->fileMutations, random);
    }
    const long runs = static_cast<long>(seeds->size()) * (settings->mutations + 1) +
                      static_cast<long>(files.size()) * (settings->fileMutations + 1);
    std::printf("%ld passed, 0 failed\n", runs);
    return 0;
}
