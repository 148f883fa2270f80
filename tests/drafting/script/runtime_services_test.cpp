#include "script/runtime_services.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"
#include "winplat/paths.h"
#include "winplat/registry.h"
#include "winplat/testing.h"

namespace linework {
namespace {

TEST(ScriptRuntime, ClosingAClosedSlotGivesThePendingResult) {
    SystemVariableImage image;
    ScriptRuntime runtime(image);
    EXPECT_FALSE(runtime.CloseScriptTextFile(0));
    runtime.NoteIoResult(103);
    EXPECT_TRUE(runtime.CloseScriptTextFile(1));
    EXPECT_EQ(runtime.StatusWord(), 103);
    EXPECT_EQ(image.Integer(kStatusWordElement), 103);
    EXPECT_FALSE(runtime.TextSlot(1).open);
    EXPECT_FALSE(runtime.CloseAllScriptFiles());
    EXPECT_EQ(runtime.StatusWord(), 0);
}

TEST(ScriptRuntime, DialogTimeOutCountsItsMagnitude) {
    winplat::testing::VirtualClock clock;
    SystemVariableImage image;
    ScriptRuntime runtime(image);
    for (int32_t timeout : {5, -5}) {
        runtime.Dialog() = {true, timeout, clock.nowMs(), 0};
        clock.advance(4999);
        EXPECT_FALSE(runtime.CloseScriptDialogOnTimeout(false)) << timeout;
        clock.advance(1);
        EXPECT_TRUE(runtime.CloseScriptDialogOnTimeout(false)) << timeout;
        EXPECT_EQ(runtime.Dialog().result, -1);
        EXPECT_FALSE(runtime.Dialog().open);
    }
    runtime.Dialog() = {true, 0, clock.nowMs(), 0};
    clock.advance(100000);
    EXPECT_FALSE(runtime.CloseScriptDialogOnTimeout(false));
    EXPECT_TRUE(runtime.CloseScriptDialogOnTimeout(true));
}

TEST(CreateTempFile, ExtensionRules) {
    std::string tmp = CreateTempFile("");
    ASSERT_FALSE(tmp.empty());
    EXPECT_EQ(tmp.substr(tmp.size() - 4), ".tmp");
    EXPECT_NE(tmp.find("~lk"), std::string::npos);
    std::string bare = CreateTempFile("LKD");
    ASSERT_FALSE(bare.empty());
    EXPECT_EQ(bare.find('.', bare.rfind('\\')), std::string::npos);
    std::string lkd = CreateTempFile(".LKD");
    EXPECT_EQ(lkd.substr(lkd.size() - 4), ".LKD");
    for (const std::string& name : {tmp, bare, lkd}) {
        auto host = winplat::files::resolve(name);
        ASSERT_TRUE(host) << name;
        EXPECT_TRUE(std::filesystem::exists(*host));
        std::filesystem::remove(*host);
    }
}

TEST(CreateTempFile, AFailedRenameLeavesNoFileBehind) {
    test::TempFolder folder("linework_tmp");
    const char* old = std::getenv("TMPDIR");
    std::string previous = old ? old : "";
    setenv("TMPDIR", folder.path().c_str(), 1);
    // "*" is no character of a Windows name: the rename to it fails.
    EXPECT_EQ(CreateTempFile(".L*D"), "");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    std::string made = CreateTempFile(".LKD");
    EXPECT_FALSE(made.empty());
    EXPECT_FALSE(std::filesystem::is_empty(folder.path()));
    if (old) {
        setenv("TMPDIR", previous.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
}

class RegistryRead : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        setenv("WINPLAT_STATE", folder_.path().c_str(), 1);
        winplat::testing::dropRegistry();
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Linework", &key), ERROR_SUCCESS);
        std::string s255(254, 's');  // with its zero: 255 bytes of data
        std::string s256(255, 's');
        RegSetValueExA(key, "s255", 0, REG_SZ, reinterpret_cast<const BYTE*>(s255.c_str()), 255);
        RegSetValueExA(key, "s256", 0, REG_SZ, reinterpret_cast<const BYTE*>(s256.c_str()), 256);
        DWORD number = static_cast<DWORD>(-42);
        RegSetValueExA(key, "n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
        const BYTE bytes[] = {1, 0, 2};
        RegSetValueExA(key, "b", 0, REG_BINARY, bytes, 3);
        RegSetValueExA(key, "m", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>("a\0\0"), 3);
        RegCloseKey(key);
    }
    void TearDown() override {
        winplat::testing::dropRegistry();
        unsetenv("WINPLAT_STATE");
    }
    test::TempFolder folder_{"linework_registry"};
};

TEST_F(RegistryRead, TypesSizesAndRoots) {
    constexpr uint32_t kUser = 0x80000001u;
    auto s255 = ReadRegistryValue(kUser, "Software\\Linework", "s255");
    EXPECT_EQ(s255.type, 1);
    EXPECT_EQ(s255.text, std::string(254, 's'));
    EXPECT_EQ(ReadRegistryValue(kUser, "Software\\Linework", "s256").type, -1);
    auto number = ReadRegistryValue(kUser, "Software\\Linework", "n");
    EXPECT_EQ(number.type, 2);
    EXPECT_EQ(number.text, "-42");
    auto binary = ReadRegistryValue(kUser, "Software\\Linework", "b");
    EXPECT_EQ(binary.type, 3);
    EXPECT_EQ(binary.text, std::string("\x01\x00\x02", 3));
    EXPECT_EQ(ReadRegistryValue(kUser, "Software\\Linework", "m").type, 0);
    EXPECT_EQ(ReadRegistryValue(kUser, "Software\\Nothing", "n").type, -1);
    EXPECT_EQ(ReadRegistryValue(0x80000004u, "Software\\Linework", "n").type, -1);  // performance data
    EXPECT_EQ(ReadRegistryValue(0x80000007u, "Software\\Linework", "n").type, -1);
}

}  // namespace
}  // namespace linework
