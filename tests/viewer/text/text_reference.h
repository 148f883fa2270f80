// The documents of the document writer (tools/lcnwriter) as the text engine's tests use them: the
// reference set built with the tree, and damaged copies of one document's typed records.
#ifndef LECT32_TESTS_TEXT_REFERENCE_H
#define LECT32_TESTS_TEXT_REFERENCE_H

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "store/vazazi_file.h"
#include "support/tool_runner.h"
#include "viewer/store/vazazi_test_support.h"

namespace text_reference {

inline const std::string kFolder = LCN_REFERENCE_DIR;

inline bool openReference(lect32::VazaziFile& file, const std::string& name) {
    return file.Open((kFolder + "/" + name).c_str(), false) == 1;
}

// Reads typed record 'type' of a reference document into the reader.
inline bool readTyped(const std::string& name, int type, lect32::MemReader& reader) {
    lect32::VazaziFile file;
    return openReference(file, name) && file.ReadRecordByType(type, 0, reader) == 1;
}

inline bool pythonRuns() { return tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -c pass"); }

// The damaged copies of 'source' whose damage lies in typed record 'type' (stored at table 1,
// index 127 + type) and whose record the store still reads: the record's own reader must refuse
// it. Read the record with readDamaged.
inline std::vector<std::filesystem::path> damagedTypedRecords(const vazazi_test::ScratchFolder& scratch,
                                                              const std::string& source, int type) {
    const std::string tool = std::filesystem::path(VAZAZI_TOOL).parent_path().string();
    const auto folder = scratch.host(source);
    EXPECT_TRUE(tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -B " + tool + " damage " + source + " " +
                                 tool_runner::quoted(folder) + " --seed 7 --count 40"));
    std::ifstream list(folder / "damaged.txt");
    std::vector<std::filesystem::path> files;
    std::string word, name, fails;
    int table = 0, index = 0;
    while (list >> word >> name >> table >> index >> fails) {
        if (table == 1 && index == 127 + type && fails == "parse") files.push_back(folder / name);
    }
    return files;
}

inline bool readDamaged(const std::filesystem::path& path, int type, lect32::MemReader& reader) {
    lect32::VazaziFile file;
    return file.Open(path.c_str(), false) == 1 && file.ReadRecordByType(type, 0, reader) == 1;
}

}  // namespace text_reference

#endif
