// A temporary host folder for a form test, named to the forms the way the layer names host paths
// (C: is the host's root).
#ifndef TESTS_PLATFORM_FORMS_HOST_FILE_H
#define TESTS_PLATFORM_FORMS_HOST_FILE_H

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace formstest {

class HostFolder {
public:
    HostFolder() : root_(std::filesystem::temp_directory_path() / ("winforms_" + std::to_string(getpid()))) {
        std::filesystem::create_directories(root_);
    }
    ~HostFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    HostFolder(const HostFolder&) = delete;
    HostFolder& operator=(const HostFolder&) = delete;

    // Writes the file and gives its Windows path.
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream(root_ / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                            static_cast<std::streamsize>(bytes.size()));
        return windows(name);
    }
    std::string windows(const std::string& name) const {
        std::string path = "C:" + (root_ / name).string();
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        return path;
    }

private:
    std::filesystem::path root_;
};

}  // namespace formstest

#endif
