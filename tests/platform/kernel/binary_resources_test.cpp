// FindResourceA, LoadResource, LockResource, SizeofResource and FreeResource over a module's
// table of binary resources, registered here from a table built in memory.
#include <string>

#include <gtest/gtest.h>

#include "winplat/base.h"
#include "winplat/memory.h"
#include "winplat/module.h"
#include "winplat/resources.h"

namespace {

using winplat::BinaryResource;
using winplat::ModuleResources;

const unsigned char kMenuSeven[] = {1, 2, 3};
const unsigned char kMenuTwelve[] = {4, 5, 6, 7};
const unsigned char kMenuMain[] = {8};
const unsigned char kMenuCzech[] = {9, 10};
const unsigned char kDialogSeven[] = {11, 12, 13, 14, 15};
const unsigned char kAcceleratorOne[] = {16, 17, 18, 19, 20, 21, 22, 23};

// In the compiler's order: by type, numeric ids before names, names by their bytes.
const BinaryResource kTable[] = {
    {4, 7, nullptr, kMenuSeven, sizeof kMenuSeven},
    {4, 12, nullptr, kMenuTwelve, sizeof kMenuTwelve},
    {4, 0, "MAIN", kMenuMain, sizeof kMenuMain},
    {4, 0, "\x8ELUT\xDD", kMenuCzech, sizeof kMenuCzech},  // "ŽLUTÝ"
    {5, 7, nullptr, kDialogSeven, sizeof kDialogSeven},
    {9, 1, nullptr, kAcceleratorOne, sizeof kAcceleratorOne},
};
const ModuleResources kModule = {"binres.dll", false, nullptr, 0, kTable, std::size(kTable)};
const ModuleResources kOther = {"otherres.dll", false, nullptr, 0, kTable, std::size(kTable)};

class BinaryResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = winplat::registerModule(kModule, &kModule);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override {
        if (module_) winplat::unregisterModule(module_);
    }

    HINSTANCE module_ = nullptr;
};

struct FoundCase {
    const char* what;
    LPCSTR name;
    LPCSTR type;
    const unsigned char* data;
    DWORD size;
};

TEST_F(BinaryResourcesTest, FindsByNumberAndByNameWithoutRegardToCase) {
    const FoundCase cases[] = {
        {"first id", MAKEINTRESOURCEA(7), RT_MENU, kMenuSeven, 3},
        {"second id", MAKEINTRESOURCEA(12), RT_MENU, kMenuTwelve, 4},
        {"id given as text", "#12", RT_MENU, kMenuTwelve, 4},
        {"type given as text", MAKEINTRESOURCEA(7), "#5", kDialogSeven, 5},
        {"same id, other type", MAKEINTRESOURCEA(7), RT_DIALOG, kDialogSeven, 5},
        {"name", "MAIN", RT_MENU, kMenuMain, 1},
        {"name in lower case", "main", RT_MENU, kMenuMain, 1},
        {"name in mixed case", "mAiN", RT_MENU, kMenuMain, 1},
        {"Czech name folded by cp1250", "\x9Elut\xFD", RT_MENU, kMenuCzech, 2},  // "žlutý"
        {"last of the table", MAKEINTRESOURCEA(1), RT_ACCELERATOR, kAcceleratorOne, 8},
    };
    for (const FoundCase& c : cases) {
        SCOPED_TRACE(c.what);
        const HRSRC found = FindResourceA(module_, c.name, c.type);
        ASSERT_NE(found, nullptr) << GetLastError();
        const HGLOBAL loaded = LoadResource(module_, found);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(LockResource(loaded), static_cast<const void*>(c.data)) << "the module's bytes, not a copy";
        EXPECT_EQ(SizeofResource(module_, found), c.size);
        EXPECT_EQ(LoadResource(nullptr, found), loaded) << "NULL stands for the module that holds it";
        EXPECT_EQ(SizeofResource(nullptr, found), c.size);
        EXPECT_EQ(FreeResource(loaded), FALSE);
        EXPECT_EQ(LockResource(loaded), static_cast<const void*>(c.data)) << "freeing changed nothing";
    }
}

TEST_F(BinaryResourcesTest, BytesAreTheModulesOwn) {
    const auto bytes = winplat::resourceBytes(module_, "main", RT_MENU);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->data(), kMenuMain);
    EXPECT_EQ(bytes->size(), sizeof kMenuMain);
    SetLastError(NO_ERROR);
    EXPECT_FALSE(winplat::resourceBytes(module_, "main", RT_DIALOG));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(BinaryResourcesTest, AskingAgainGivesTheSameHandle) {
    const HRSRC first = FindResourceA(module_, "MAIN", RT_MENU);
    EXPECT_EQ(FindResourceA(module_, "main", RT_MENU), first);
    EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(7), RT_MENU), first);
}

struct MissingCase {
    const char* what;
    LPCSTR name;
    LPCSTR type;
    DWORD error;
};

TEST_F(BinaryResourcesTest, MissingResourcesAreRefusedWithTheReason) {
    const MissingCase cases[] = {
        {"id between two", MAKEINTRESOURCEA(8), RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"id before all of its type", MAKEINTRESOURCEA(6), RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"id after all of its type", MAKEINTRESOURCEA(13), RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"id of another type", MAKEINTRESOURCEA(12), RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"name of another type", "MAIN", RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"name cut short", "MAI", RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"name run on", "MAINS", RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"name that is a number's text", "7", RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"'#' without digits", "#", RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"'#' number past a WORD", "#65543", RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},  // not 7
        {"type absent, between two", MAKEINTRESOURCEA(7), MAKEINTRESOURCEA(6), ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"type absent, before all", MAKEINTRESOURCEA(7), RT_CURSOR, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"type absent, after all", MAKEINTRESOURCEA(7), MAKEINTRESOURCEA(10), ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"type with a text name", MAKEINTRESOURCEA(7), "MENU", ERROR_RESOURCE_TYPE_NOT_FOUND},
    };
    for (const MissingCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(NO_ERROR);
        EXPECT_EQ(FindResourceA(module_, c.name, c.type), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST_F(BinaryResourcesTest, HandlesOfOneModuleAreNotAnothers) {
    const HINSTANCE other = winplat::registerModule(kOther, &kOther);
    ASSERT_NE(other, nullptr);
    const HRSRC mine = FindResourceA(module_, MAKEINTRESOURCEA(7), RT_MENU);
    const HRSRC theirs = FindResourceA(other, MAKEINTRESOURCEA(7), RT_MENU);
    ASSERT_NE(mine, nullptr);
    ASSERT_NE(theirs, nullptr);
    EXPECT_NE(mine, theirs);
    SetLastError(NO_ERROR);
    EXPECT_EQ(LoadResource(other, mine), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(SizeofResource(other, mine), 0u);
    winplat::unregisterModule(other);
    EXPECT_NE(LoadResource(module_, mine), nullptr) << "the other module's going took this one's handles";
}

TEST_F(BinaryResourcesTest, HandlesDieWithTheirModule) {
    const HRSRC found = FindResourceA(module_, "MAIN", RT_MENU);
    const HGLOBAL loaded = LoadResource(module_, found);
    ASSERT_NE(loaded, nullptr);
    winplat::unregisterModule(module_);
    module_ = nullptr;
    SetLastError(NO_ERROR);
    EXPECT_EQ(LoadResource(nullptr, found), nullptr);
    EXPECT_EQ(LockResource(loaded), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, found), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(BinaryResourcesTest, OtherHandlesAreRefused) {
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_NE(block, nullptr);
    SetLastError(NO_ERROR);
    EXPECT_EQ(LockResource(block), nullptr) << "a global block is no resource";
    EXPECT_EQ(LoadResource(module_, reinterpret_cast<HRSRC>(block)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    GlobalFree(block);

    const HGLOBAL loaded = LoadResource(module_, FindResourceA(module_, "MAIN", RT_MENU));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(GlobalLock(loaded), nullptr) << "a resource is no global block";
    EXPECT_EQ(LockResource(nullptr), nullptr);
}

TEST_F(BinaryResourcesTest, NullModuleIsTheProgramAndInvalidModulesAreRefused) {
    // The test program's own resources hold no menu 7.
    SetLastError(NO_ERROR);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(7), RT_MENU), nullptr);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(NO_ERROR));
    SetLastError(NO_ERROR);
    EXPECT_EQ(FindResourceA(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x10000003)), "MAIN", RT_MENU), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
