// Runs the project's drawing writer (tools/lkdwriter) for a test: a description in, the drawing
// file, its expected entity dump and its pictures out, in a temporary folder.
#ifndef TESTS_DRAFTING_SUPPORT_DRAWING_WRITER_H
#define TESTS_DRAFTING_SUPPORT_DRAWING_WRITER_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_folder.h"
#include "winplat/paths.h"

namespace linework::test {

inline bool PythonPresent() {
    return std::system((std::string(LINEWORK_PYTHON) + " -c pass >/dev/null 2>&1").c_str()) == 0;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class DrawingWriter {
public:
    explicit DrawingWriter(const std::string& prefix = "linework_lkd") : folder_(prefix) {
        windowsFolder_ = winplat::files::toWindows(folder_.path()) + "\\";
    }
    const std::string& HostFolder() const { return folder_.path(); }
    const std::string& WindowsFolder() const { return windowsFolder_; }
    std::string Host(const std::string& name) const { return folder_.path() + "/" + name; }
    std::string Windows(const std::string& name) const { return windowsFolder_ + name; }

    // Writes NAME.LKD (and NAME.txt, the dump a load must show) from the description text.
    bool Build(const std::string& name, const std::string& description) {
        std::string json = Host(name + ".json");
        WriteText(json, description);
        return Run("build '" + json + "' '" + Host(name + ".LKD") + "' --dump '" + Host(name + ".txt") + "' --dir '" +
                   windowsFolder_ + "' --pictures '" + folder_.path() + "'");
    }
    bool Damage(const std::string& description, const std::string& folder) {
        std::string json = Host("damage.json");
        WriteText(json, description);
        return Run("damage '" + json + "' '" + Host(folder) + "'");
    }
    bool Run(const std::string& arguments) {
        std::string command = std::string(LINEWORK_PYTHON) + " -B '" + LINEWORK_TOOLS_DIR + "/lkdwriter' " + arguments;
        int status = std::system(command.c_str());
        EXPECT_EQ(status, 0) << command;
        return status == 0;
    }

private:
    TempFolder folder_;
    std::string windowsFolder_;
};

}  // namespace linework::test

#endif
