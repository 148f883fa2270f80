// The module registry, LoadStringA, GetModuleHandleA and GetModuleFileNameA. This test program is
// itself a registered module: module_test.rsrc is compiled into it as "winplat_tests.exe".
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "resources/winplat_tests_ids.h"
#include "winplat/base.h"
#include "winplat/module.h"
#include "winplat/resources.h"
#include "winplat/testing.h"

// In a shared object of the tests' own (module_anchor.cpp).
extern "C" int winplatModuleTestAnchor();

namespace {

using winplat::ModuleResources;
using winplat::StringResource;
namespace res = winplat_tests::res;

constexpr char kGuard = 0x55;

const StringResource kLocalStrings[] = {{2, "two", 3}, {10, "ten", 3}};
// "Čtečka.dll" in cp1250: a name whose case only the cp1250 rule folds.
const ModuleResources kLocal = {"\xC8te\xE8ka.dll", false, kLocalStrings, 2};

// Registers a descriptor for one test and unregisters it after, unless the test already did.
class ScopedModule {
public:
    ScopedModule(const ModuleResources& resources, const void* anchor)
        : handle_(winplat::registerModule(resources, anchor)) {}
    ~ScopedModule() {
        if (handle_) winplat::unregisterModule(handle_);
    }
    HINSTANCE get() const { return handle_; }
    void unregister() {
        winplat::unregisterModule(handle_);
        handle_ = nullptr;
    }

private:
    HINSTANCE handle_;
};

std::string fileName(HMODULE module) {
    char buffer[4096];
    const DWORD n = GetModuleFileNameA(module, buffer, sizeof buffer);
    EXPECT_GT(n, 0u) << "error " << GetLastError();
    EXPECT_LT(n, sizeof buffer);
    return std::string(buffer, n);
}

std::string hostProgramPath() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

class ModuleTest : public ::testing::Test {
protected:
    void TearDown() override { winplat::testing::clearModulePaths(); }
    HINSTANCE program() const { return GetModuleHandleA(nullptr); }
};

TEST_F(ModuleTest, ProgramModuleIsRegisteredAtLoad) {
    HINSTANCE self = program();
    ASSERT_NE(self, nullptr);
    const ModuleResources* resources = winplat::moduleResources(self);
    ASSERT_NE(resources, nullptr);
    EXPECT_STREQ(resources->fileName, "winplat_tests.exe");
    EXPECT_TRUE(resources->isProgram);
    EXPECT_EQ(resources->stringCount, 5u);
}

struct LoadCase {
    UINT id;
    int size;
    std::string expected;
};

TEST_F(ModuleTest, LoadStringCopiesCp1250BytesCutToSize) {
    const std::string czech =
        "\x8E" "lu" "\x9D" "ou" "\xE8" "k" "\xFD" " k" "\xF9\xF2" " " "\xFA" "p" "\xEC" "l " "\xEF\xE1"
        "belsk" "\xE9" " " "\xF3" "dy";
    const LoadCase cases[] = {
        {res::kCzechPangram, 256, czech},
        {res::kCzechPangram, static_cast<int>(czech.size()) + 1, czech},
        {res::kCzechPangram, static_cast<int>(czech.size()), czech.substr(0, czech.size() - 1)},
        {res::kCzechPangram, 5, "\x8E" "lu" "\x9D"},
        {res::kCzechPangram, 1, ""},
        {res::kPixmill, 256, "Pixmill"},
        {res::kEscapes, 256, "tab\there \"quoted\" back\\slash\r\n"},
        {5, 256, ""},  // the entry without a name
        {res::kLast, 256, "last"},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE("id " + std::to_string(c.id) + " size " + std::to_string(c.size));
        std::vector<char> buffer(static_cast<size_t>(c.size) + 1, kGuard);
        const int n = LoadStringA(program(), c.id, buffer.data(), c.size);
        EXPECT_EQ(n, static_cast<int>(c.expected.size()));
        EXPECT_EQ(std::string(buffer.data()), c.expected);
        EXPECT_EQ(buffer[c.expected.size()], '\0');
        EXPECT_EQ(buffer[static_cast<size_t>(c.size)], kGuard) << "wrote past the buffer";
    }
}

struct LoadFailure {
    const char* name;
    HINSTANCE instance;
    UINT id;
    bool withBuffer;
    int size;
    DWORD error;
};

TEST_F(ModuleTest, LoadStringFailures) {
    const HINSTANCE self = program();
    const LoadFailure cases[] = {
        {"missing id", self, 2, true, 64, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"id past the table", self, 65536 + 1, true, 64, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"id below the table", self, 0, true, 64, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"null handle", nullptr, 1, true, 64, ERROR_INVALID_HANDLE},
        {"made-up handle", reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x10000003)), 1, true, 64,
         ERROR_INVALID_HANDLE},
        {"null buffer", self, 1, false, 64, ERROR_INVALID_PARAMETER},
        {"size 0", self, 1, true, 0, ERROR_INVALID_PARAMETER},
        {"negative size", self, 1, true, -1, ERROR_INVALID_PARAMETER},
    };
    for (const LoadFailure& c : cases) {
        SCOPED_TRACE(c.name);
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        SetLastError(NO_ERROR);
        EXPECT_EQ(LoadStringA(c.instance, c.id, c.withBuffer ? buffer : nullptr, c.size), 0);
        EXPECT_EQ(GetLastError(), c.error);
        if (c.error == ERROR_RESOURCE_NAME_NOT_FOUND) {
            EXPECT_EQ(buffer[0], '\0');
        }
    }
}

TEST_F(ModuleTest, GetModuleHandleByName) {
    ScopedModule local(kLocal, &kLocal);
    ASSERT_NE(local.get(), nullptr);
    const struct {
        const char* name;
        HINSTANCE expected;
    } cases[] = {
        {"winplat_tests.exe", program()},
        {"WINPLAT_TESTS.EXE", program()},
        {"C:\\Pixmill\\Winplat_Tests.Exe", program()},
        {"bin/winplat_tests.exe", program()},
        {"\xC8te\xE8ka.dll", local.get()},
        {"\xE8TE\xC8KA.DLL", local.get()},     // čTEČKA.DLL: folded by cp1250, not ASCII
        {"D:\\lib\\\xC8TE\xC8KA", local.get()},  // no extension: ".dll" is meant
        {"winplat_tests", nullptr},             // means winplat_tests.dll
        {"winplat_tests.", nullptr},            // explicitly no extension
        {"other.exe", nullptr},
        {"", nullptr},
        {"winplat_tests.exe\\", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(NO_ERROR);
        EXPECT_EQ(GetModuleHandleA(c.name), c.expected);
        if (!c.expected) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
        }
    }
}

TEST_F(ModuleTest, ProgramFileNameIsHostPathInDriveForm) {
    const std::string path = fileName(nullptr);
    ASSERT_EQ(path.rfind("C:\\", 0), 0u) << path;
    ASSERT_GE(path.size(), std::strlen("\\winplat_tests"));
    EXPECT_EQ(path.substr(path.size() - std::strlen("\\winplat_tests")), "\\winplat_tests") << path;
    EXPECT_EQ(path.find('/'), std::string::npos) << path;

    std::string back = path.substr(2);
    for (char& c : back)
        if (c == '\\') c = '/';
    EXPECT_EQ(back, hostProgramPath());

    EXPECT_EQ(fileName(program()), path);
    // A module registered from the program's own code lives in the program's file.
    ScopedModule local(kLocal, &kLocal);
    EXPECT_EQ(fileName(local.get()), path);
}

TEST_F(ModuleTest, LibraryModuleFileIsTheSharedObject) {
    static const ModuleResources inLibrary = {"inlibrary.dll", false, nullptr, 0};
    // Anchored in a library, as a descriptor compiled into it would be.
    ScopedModule module(inLibrary, reinterpret_cast<const void*>(&winplatModuleTestAnchor));
    const std::string path = fileName(module.get());
    EXPECT_EQ(path.rfind("C:\\", 0), 0u) << path;
    const std::string tail = "\\libwinplat_module_anchor.so";
    ASSERT_GE(path.size(), tail.size());
    EXPECT_EQ(path.substr(path.size() - tail.size()), tail) << path;
}

TEST_F(ModuleTest, FileNameTruncation) {
    const std::string path = "C:\\Pixmill\\lect32.exe";
    winplat::testing::setModulePath(nullptr, path);
    const DWORD length = static_cast<DWORD>(path.size());
    const struct {
        DWORD size;
        DWORD result;
        std::string contents;
        bool cut;
    } cases[] = {
        {length + 10, length, path, false},
        {length + 1, length, path, false},
        {length, length, path.substr(0, length - 1), true},
        {4, 4, "C:\\", true},
        {1, 1, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("size " + std::to_string(c.size));
        std::vector<char> buffer(c.size + 1, kGuard);
        SetLastError(NO_ERROR);
        EXPECT_EQ(GetModuleFileNameA(nullptr, buffer.data(), c.size), c.result);
        EXPECT_EQ(std::string(buffer.data()), c.contents);
        EXPECT_EQ(buffer[c.size], kGuard) << "wrote past the buffer";
        EXPECT_EQ(GetLastError(), c.cut ? static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER) : NO_ERROR);
    }

    char untouched = kGuard;
    EXPECT_EQ(GetModuleFileNameA(nullptr, &untouched, 0), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(untouched, kGuard);
}

TEST_F(ModuleTest, FileNameOverrides) {
    const std::string real = fileName(nullptr);
    ScopedModule local(kLocal, &kLocal);

    winplat::testing::setModulePath(nullptr, "C:\\Pixmill\\lect32.exe");
    winplat::testing::setModulePath(local.get(), "C:\\Pixmill\\\xC8te\xE8ka.dll");
    EXPECT_EQ(fileName(nullptr), "C:\\Pixmill\\lect32.exe");
    EXPECT_EQ(fileName(program()), "C:\\Pixmill\\lect32.exe");  // the program's handle is the same module
    EXPECT_EQ(fileName(local.get()), "C:\\Pixmill\\\xC8te\xE8ka.dll");

    // Set through the program's handle, seen through NULL.
    winplat::testing::setModulePath(program(), "C:\\Other\\prog.exe");
    EXPECT_EQ(fileName(nullptr), "C:\\Other\\prog.exe");

    winplat::testing::clearModulePaths();
    EXPECT_EQ(fileName(nullptr), real);
    EXPECT_EQ(fileName(local.get()), real);
}

TEST_F(ModuleTest, FileNameOfInvalidHandle) {
    char buffer[64];
    SetLastError(NO_ERROR);
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x10000003)), buffer, sizeof buffer),
              0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(ModuleTest, RegisteringTheSameDescriptorAgainGivesTheSameHandle) {
    const ModuleResources* own = winplat::moduleResources(program());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(winplat::registerModule(*own, own), program());

    ScopedModule local(kLocal, &kLocal);
    EXPECT_NE(local.get(), program());
    EXPECT_EQ(winplat::registerModule(kLocal, &kLocal), local.get());
    EXPECT_EQ(winplat::moduleResources(local.get()), &kLocal);
}

TEST_F(ModuleTest, ConcurrentRegistrationsOfOneDescriptorShareOneEntry) {
    static const ModuleResources racer = {"racer.dll", false, nullptr, 0};
    std::vector<HINSTANCE> handles(8);
    std::vector<std::thread> threads;
    for (HINSTANCE& h : handles) threads.emplace_back([&h] { h = winplat::registerModule(racer, &racer); });
    for (std::thread& t : threads) t.join();
    ASSERT_NE(handles[0], nullptr);
    for (HINSTANCE h : handles) EXPECT_EQ(h, handles[0]);

    winplat::unregisterModule(handles[0]);
    EXPECT_EQ(GetModuleHandleA("racer.dll"), nullptr) << "a second entry was registered";
}

TEST_F(ModuleTest, UnregisteredModuleIsGone) {
    ScopedModule local(kLocal, &kLocal);
    const HINSTANCE old = local.get();
    char buffer[16];
    ASSERT_EQ(LoadStringA(old, 10, buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "ten");

    local.unregister();
    SetLastError(NO_ERROR);
    EXPECT_EQ(LoadStringA(old, 10, buffer, sizeof buffer), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(winplat::moduleResources(old), nullptr);
    EXPECT_EQ(GetModuleHandleA("\xC8te\xE8ka.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(GetModuleFileNameA(old, buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    // Loaded again it is a new module; the old handle stays dead.
    ScopedModule again(kLocal, &kLocal);
    EXPECT_NE(again.get(), old);
    EXPECT_EQ(LoadStringA(again.get(), 2, buffer, sizeof buffer), 3);
    EXPECT_EQ(LoadStringA(old, 2, buffer, sizeof buffer), 0);
}

}  // namespace
