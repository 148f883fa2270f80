// A temporary host folder mounted as drive T: (C: stays the host root) for one test.
#ifndef TESTS_PLATFORM_FILES_TEMP_DRIVE_H
#define TESTS_PLATFORM_FILES_TEMP_DRIVE_H

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "winplat/testing.h"

namespace filetest {

namespace fs = std::filesystem;

class TempDrive {
  public:
    TempDrive() {
        std::string pattern = (fs::temp_directory_path() / "winplat-files-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        winplat::testing::setDrives("C:/;T:" + root_.string());
    }
    ~TempDrive() {
        winplat::testing::setDrives("");
        std::error_code ignored;
        // Read-only files and folders made by a test must not stop the clean-up.
        for (auto it = fs::recursive_directory_iterator(root_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(root_, ignored);
    }
    TempDrive(const TempDrive&) = delete;
    TempDrive& operator=(const TempDrive&) = delete;

    const fs::path& root() const { return root_; }
    // The host path of a name below the root (UTF-8, '/' separated).
    std::string host(const std::string& relative) const { return (root_ / relative).string(); }

    void file(const std::string& relative, const std::string& contents = "") const {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }
    void folder(const std::string& relative) const { fs::create_directories(root_ / relative); }

    std::string read(const std::string& relative) const {
        std::ifstream in(root_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& relative) const {
        return fs::exists(fs::symlink_status(root_ / relative));
    }

    // Sets a folder's modification time to a fixed moment long past.
    void ageFolder(const std::string& relative) const {
        const timespec times[2] = {{978307200, 0}, {978307200, 0}};  // 2001-01-01
        ASSERT_EQ(::utimensat(AT_FDCWD, host(relative).c_str(), times, 0), 0);
    }

  private:
    fs::path root_;
};

// Sets an environment variable for a scope and restores the old value after.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_.empty() ? ::unsetenv(name_) : ::setenv(name_, old_.c_str(), 1); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::string old_;
};

}  // namespace filetest

#endif
