// Linked into the libFuzzer builds of the targets (./make.sh fuzz): '<target> --write-seeds DIR'
// writes the target's seeds into DIR and exits, so the corpus starts from the library's own files;
// any other arguments go to libFuzzer.
#include <cstdlib>
#include <cstring>

#include "fuzz_entry.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (*argc == 3 && std::strcmp((*argv)[1], "--write-seeds") == 0) {
        std::exit(fuzzWriteSeeds((*argv)[2]) ? EXIT_SUCCESS : EXIT_FAILURE);
    }
    return 0;
}
