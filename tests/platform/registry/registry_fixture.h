// A registry test's own state folder: WINPLAT_STATE points at a fresh temporary folder and the
// store in memory is dropped, so each test starts from a new store (the seed) and leaves nothing.
#ifndef TESTS_PLATFORM_REGISTRY_REGISTRY_FIXTURE_H
#define TESTS_PLATFORM_REGISTRY_REGISTRY_FIXTURE_H

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "winplat/registry.h"
#include "winplat/testing.h"

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("WINPLAT_STATE");
        if (old) previous_ = old;
        std::string pattern = (std::filesystem::temp_directory_path() / "winplat_registry_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        setenv("WINPLAT_STATE", folder_.c_str(), 1);
        winplat::testing::dropRegistry();
    }

    void TearDown() override {
        winplat::testing::dropRegistry();
        if (previous_) {
            setenv("WINPLAT_STATE", previous_->c_str(), 1);
        } else {
            unsetenv("WINPLAT_STATE");
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string storePath() const { return folder_ + "/registry.txt"; }

    std::string storeText() const {
        std::ifstream in(storePath(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void writeStore(const std::string& text) const {
        std::ofstream out(storePath(), std::ios::binary | std::ios::trunc);
        out << text;
    }

    // The value's type and bytes, or nothing when the query fails.
    static std::optional<std::pair<DWORD, std::string>> query(HKEY key, const char* name) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
        std::string data(size, '\0');
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size);
        return std::make_pair(type, data);
    }

    static std::optional<std::pair<DWORD, std::string>> query(HKEY root, const char* subKey, const char* name) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
        auto result = query(key, name);
        RegCloseKey(key);
        return result;
    }

    static LONG set(HKEY root, const char* subKey, const char* name, DWORD type, const std::string& data) {
        HKEY key = nullptr;
        const LONG created = RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (created != ERROR_SUCCESS) return created;
        const LONG result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                           static_cast<DWORD>(data.size()));
        RegCloseKey(key);
        return result;
    }

    std::string folder_;
    std::optional<std::string> previous_;
};

#endif
