// Writes the command line it was started with (GetCommandLineA, cp1250) and then its arguments,
// one a line, to the file its first argument names: a program of ours for the process tests, and
// for trying by hand what a started program receives.
#include <fstream>

#include "winplat/process.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::ofstream out(argv[1], std::ios::binary);
    out << GetCommandLineA() << '\n';
    for (int i = 2; i < argc; ++i) out << argv[i] << '\n';
    return out ? 0 : 1;
}
