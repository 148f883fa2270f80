// Documents of the linked set built for a test by the document writer (tools/lcnwriter) from a
// JSON description, into the test's scratch folder.
#ifndef LECT32_TESTS_WRITTEN_DOCUMENTS_H
#define LECT32_TESTS_WRITTEN_DOCUMENTS_H

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "navigate/program_objects.h"
#include "support/tool_runner.h"
#include "viewer/store/vazazi_test_support.h"

namespace written_documents {

inline bool pythonRuns() { return tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -c pass"); }

// Builds "<name>.lcn" in the folder from the description (UTF-8 JSON, "name" included).
inline bool build(const vazazi_test::ScratchFolder& scratch, const std::string& name, const std::string& json) {
    const auto description = scratch.host(name + ".json");
    std::ofstream(description) << json;
    return tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -B " + LCNWRITER_DIR + " build " +
                            tool_runner::quoted(description) + " " + tool_runner::quoted(scratch.host("")));
}

}  // namespace written_documents

#define REQUIRE_DOCUMENT_WRITER()                                                                    \
    do {                                                                                             \
        if (!::written_documents::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer"; \
    } while (0)

// A linked set of four members with the program's objects of its own: 0 "alfa.lcn" (open and
// active; page names 0, 3 and 7, start page 2, id list {3, 7} with 7 current, page record 4),
// 1 "beta.lcn" (start page 5, id list {1}, one picture "obrazek.png", page record 6), 2 "gamma.lcn" (never found) and
// 3 "delta.lcn" (found when the set was built, gone since).
class LinkedSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DOCUMENT_WRITER();
        ASSERT_TRUE(written_documents::build(scratch, "alfa", R"({"name": "alfa",
            "names": {"0": "Alfa", "3": "Třetí", "7": "Sedmá"},
            "properties": {"version": 10, "startPage": 2, "idList": [3, 7], "currentId": 7},
            "pages": [{"number": 4}]})"));
        ASSERT_TRUE(written_documents::build(scratch, "beta", R"({"name": "beta",
            "names": {"0": "Beta", "3": "Beta tři"},
            "properties": {"version": 10, "startPage": 5, "idList": [1], "currentId": -1},
            "pictures": [{"path": "obrazek.png"}],
            "pages": [{"number": 6}]})"));
        ASSERT_EQ(objects.openDocument.Open(path("alfa").c_str(), openWritable), 1);
        objects.propertiesRecord.Read();
        const std::string names[] = {"alfa", "beta", "gamma", "delta"};
        for (uint8_t i = 0; i < 4; ++i) ASSERT_EQ(set().AddMember(path(names[i]), names[i] != "gamma"), i);
    }

    std::string path(const std::string& name) const { return scratch.windows(name + ".lcn"); }
    lect32::LinkedDocumentSet& set() { return objects.linkedDocuments; }

    bool openWritable = false;
    vazazi_test::ScratchFolder scratch;
    lect32::ProgramObjects objects;
};

#endif
