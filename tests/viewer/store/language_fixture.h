// Language files made by the record-file writer's own language builder, once per test suite,
// and a program folder of each test's own (with its "lng" sub-folder) to copy them into.
// Needs PYTHON_EXECUTABLE and LANGUAGE_FILE_TOOL from the test program's build.
#ifndef TESTS_VIEWER_STORE_LANGUAGE_FIXTURE_H
#define TESTS_VIEWER_STORE_LANGUAGE_FIXTURE_H

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "store/language_file.h"
#include "support/tool_runner.h"
#include "viewer/store/vazazi_test_support.h"
#include "winplat/testing.h"

class LanguageFileFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        built_ = std::filesystem::temp_directory_path() / ("lect32_language_files_" + std::to_string(::getpid()));
        builtOk_ = tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -B " + LANGUAGE_FILE_TOOL + " " +
                                    tool_runner::quoted(built_));
    }

    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(built_, ignored);
    }

    // Skips without python3. The running program lies in the test's scratch folder.
    void SetUp() override {
        if (!tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -c pass")) {
            GTEST_SKIP() << "python3 is missing: the language files cannot be built";
        }
        ASSERT_TRUE(builtOk_) << "the language builder failed";
        std::filesystem::create_directories(scratch_.host("lng"));
        winplat::testing::setModulePath(nullptr, scratch_.windows("lect32.exe"));
    }

    void TearDown() override {
        lect32::ClearLanguageTexts(nullptr);
        winplat::testing::clearModulePaths();
    }

    // Whether a derived SetUp is to stop after this one's.
    bool setUpStopped() const { return IsSkipped() || HasFatalFailure(); }

    // Copies a built file ("good.clf") to a path below the program's folder ("lng/0409.clf").
    void copyBuilt(const std::string& built, const std::string& target) const {
        std::filesystem::copy_file(built_ / built, scratch_.host(target),
                                   std::filesystem::copy_options::overwrite_existing);
    }

    static inline std::filesystem::path built_;
    static inline bool builtOk_ = false;
    vazazi_test::ScratchFolder scratch_;
};

#endif
