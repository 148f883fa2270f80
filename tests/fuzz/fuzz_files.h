// Inputs kept as files, for the test runner (fuzz_driver.cpp): seeds that other tools made
// (tools/make_fuzz_seeds.py) and the inputs that once crashed or hung a target (tests/fuzz/repro).
#ifndef PIXMILL_TESTS_FUZZ_FILES_H
#define PIXMILL_TESTS_FUZZ_FILES_H

#include <optional>
#include <string>
#include <vector>

#include "fuzz_entry.h"

struct FuzzFile {
    std::string name;
    FuzzBytes bytes;
};

// The files of 'folder' in name order, names starting with a dot left out; nothing (and why, on
// stderr) when the folder or one of its files cannot be read.
std::optional<std::vector<FuzzFile>> fuzzReadFolder(const char* folder);

#endif
