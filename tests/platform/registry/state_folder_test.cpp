// Where the state folder is: the variable, else the XDG config home, else the home folder's.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "files/state_folder.h"

namespace {

class SavedVariable {
public:
    explicit SavedVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) value_ = value;
    }
    ~SavedVariable() {
        if (value_) {
            setenv(name_, value_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> value_;
};

struct FolderCase {
    const char* state;   // null: unset
    const char* config;  // null: unset
    const char* home;
    const char* expected;
};

TEST(StateFolder, FollowsTheVariablesInOrder) {
    SavedVariable state("WINPLAT_STATE");
    SavedVariable config("XDG_CONFIG_HOME");
    SavedVariable home("HOME");
    const FolderCase cases[] = {
        {"/s/state/", "/c", "/h", "/s/state"},
        {"", "/c/", "/h", "/c/winplat"},
        {nullptr, "/c", "/h", "/c/winplat"},
        {nullptr, nullptr, "/h", "/h/.config/winplat"},
        {nullptr, "", "/h/", "/h/.config/winplat"},
        {nullptr, nullptr, "/", "//.config/winplat"},
    };
    for (const auto& c : cases) {
        const auto put = [](const char* name, const char* value) {
            if (value) {
                setenv(name, value, 1);
            } else {
                unsetenv(name);
            }
        };
        put("WINPLAT_STATE", c.state);
        put("XDG_CONFIG_HOME", c.config);
        put("HOME", c.home);
        EXPECT_EQ(winplat::files::stateFolder(), c.expected);
        EXPECT_EQ(winplat::files::windowsFolder(), std::string(c.expected) + "/windows");
        // The check a store makes on every call, that the folder it read is still the one named.
        const std::string expected = c.expected;
        EXPECT_TRUE(winplat::files::isStateFolder(expected)) << expected;
        const std::string misses[] = {expected + "/", expected.substr(0, expected.size() - 1), "x" + expected.substr(1),
                                      expected.substr(0, expected.size() - 1) + "x", ""};
        for (const std::string& miss : misses) EXPECT_FALSE(winplat::files::isStateFolder(miss)) << miss;
    }
}

}  // namespace
