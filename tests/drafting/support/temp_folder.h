// A fresh temporary folder for one test, removed with everything in it when the test ends.
#ifndef TESTS_DRAFTING_SUPPORT_TEMP_FOLDER_H
#define TESTS_DRAFTING_SUPPORT_TEMP_FOLDER_H

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace linework::test {

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix) {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
        if (mkdtemp(pattern.data())) path_ = pattern;
        EXPECT_FALSE(path_.empty()) << "no temporary folder";
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace linework::test

#endif
