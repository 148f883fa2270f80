// LoadMenuA and LoadAcceleratorsA on what the resource compiler wrote (templates_test.rsrc,
// compiled into this program by the real build), and on damaged resources of a module built here.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/winplat_tests_ids.h"
#include "winplat/base.h"
#include "winplat/module.h"
#include "winplat/owners.h"
#include "winplat/resources.h"
#include "winplat/user.h"

namespace {

using winplat::BinaryResource;
using winplat::ModuleResources;
using winplat::OwnedAccelerators;
using winplat::OwnedMenu;

std::string label(HMENU menu, int position) {
    char buffer[64] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

struct ExpectedItem {
    int position;
    UINT id;  // (UINT)-1 for a drop-down
    std::string text;
    UINT state;  // GetMenuState's flags (a drop-down's count in the high byte)
};

void expectItems(HMENU menu, const std::vector<ExpectedItem>& items) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(items.size()));
    for (const ExpectedItem& e : items) {
        SCOPED_TRACE(e.text);
        EXPECT_EQ(GetMenuItemID(menu, e.position), e.id);
        EXPECT_EQ(label(menu, e.position), e.text);
        EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(e.position), MF_BYPOSITION), e.state);
    }
}

// The names written beside ids are the ids' names for the code.
static_assert(winplat_tests::res::kOpenFile == 1002);

TEST(MenuResources, MenuLoadsBackWithTheValuesWritten) {
    OwnedMenu bar(LoadMenuA(nullptr, MAKEINTRESOURCEA(1)));
    ASSERT_TRUE(bar) << GetLastError();
    const UINT noId = static_cast<UINT>(-1);
    expectItems(bar.get(), {
                               {0, noId, "&Soubor", (4u << 8) | MF_POPUP},
                               {1, 1017, "&Hledat", MF_HELP},
                           });
    const HMENU file = GetSubMenu(bar.get(), 0);
    ASSERT_NE(file, nullptr);
    expectItems(file, {
                          {0, winplat_tests::res::kOpenFile, "&Otev\xF8\xEDt...\tCtrl+O", 0},  // "Otevřít" in cp1250
                          {1, 0, "", MF_SEPARATOR},
                          {2, 1032, "&P\xF8idat...", MF_CHECKED},
                          {3, noId, "&Ned\xE1vn\xE9", (2u << 8) | MF_POPUP | MF_GRAYED},
                      });
    const HMENU recent = GetSubMenu(file, 3);
    ASSERT_NE(recent, nullptr);
    expectItems(recent, {
                            {0, 1100, "1 kniha.lcn", MF_MENUBARBREAK},
                            {1, 1101, "2", MF_MENUBREAK | MF_DISABLED},
                        });
}

TEST(MenuResources, MenusAreFoundByNameWithoutRegardToCase) {
    for (LPCSTR name : {"FLOATMENU", "floatmenu", "FloatMenu"}) {
        SCOPED_TRACE(name);
        OwnedMenu menu(LoadMenuA(nullptr, name));
        ASSERT_TRUE(menu);
        EXPECT_EQ(GetMenuItemID(menu.get(), 0), 7u);
        EXPECT_EQ(label(menu.get(), 0), "Plovouc\xED");
    }
    SetLastError(NO_ERROR);
    EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCEA(2)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST(MenuResources, AcceleratorsLoadBackWithTheValuesWritten) {
    OwnedAccelerators table(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(1)));
    ASSERT_TRUE(table) << GetLastError();
    const ACCEL expected[] = {
        {FVIRTKEY | FCONTROL, 'O', 1002},
        {FVIRTKEY, VK_F2, 1017},
        {FVIRTKEY | FALT, VK_LEFT, 1037},
        {FVIRTKEY | FCONTROL | FSHIFT, 'S', 1005},  // written "s": the key of the letter
        {0, '+', 1020},
        {FVIRTKEY, VK_END, 1040},
        {FVIRTKEY, VK_NUMPAD5, 1041},
        {FVIRTKEY, 0x41, 1042},
    };
    ACCEL entries[16] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table.get(), entries, 16), static_cast<int>(std::size(expected)));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].fVirt, expected[i].fVirt) << "the mark of the last entry stays out";
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].cmd);
    }
}

// A module whose only resources are the bytes given, as a damaged file would hold them.
class DamagedModule {
public:
    DamagedModule(uint16_t type, std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
        entry_ = {type, 1, nullptr, bytes_.data(), static_cast<uint32_t>(bytes_.size())};
        descriptor_ = {"damaged.dll", false, nullptr, 0, &entry_, 1};
        handle_ = winplat::registerModule(descriptor_, &descriptor_);
    }
    ~DamagedModule() { winplat::unregisterModule(handle_); }
    DamagedModule(const DamagedModule&) = delete;
    DamagedModule& operator=(const DamagedModule&) = delete;
    HINSTANCE get() const { return handle_; }

private:
    std::vector<uint8_t> bytes_;  // exactly the size given, so a read past it is caught
    BinaryResource entry_{};
    ModuleResources descriptor_{};
    HINSTANCE handle_ = nullptr;
};

std::vector<uint8_t> programResource(LPCSTR type) {
    const auto bytes = winplat::resourceBytes(nullptr, MAKEINTRESOURCEA(1), type);
    return bytes ? std::vector<uint8_t>(bytes->begin(), bytes->end()) : std::vector<uint8_t>{};
}

TEST(MenuResources, MenuCutAnywhereIsRefused) {
    const std::vector<uint8_t> whole = programResource(RT_MENU);
    ASSERT_FALSE(whole.empty());
    for (size_t size = 0; size < whole.size(); ++size) {
        DamagedModule module(4, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
        EXPECT_EQ(LoadMenuA(module.get(), MAKEINTRESOURCEA(1)), nullptr) << "cut at " << size;
    }
    DamagedModule module(4, whole);
    OwnedMenu menu(LoadMenuA(module.get(), MAKEINTRESOURCEA(1)));
    EXPECT_TRUE(menu) << "the whole of it loads";
}

TEST(MenuResources, AcceleratorsWithoutTheLastMarkAreRefused) {
    std::vector<uint8_t> whole = programResource(RT_ACCELERATOR);
    ASSERT_EQ(whole.size(), 8u * 8u);
    // Cut inside or after any entry before the last: no entry marked last lies within.
    for (size_t size = 0; size < whole.size(); ++size) {
        DamagedModule module(9, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
        SetLastError(NO_ERROR);
        EXPECT_EQ(LoadAcceleratorsA(module.get(), MAKEINTRESOURCEA(1)), nullptr) << "cut at " << size;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    }
    // The mark on an earlier entry ends the table there; what follows is not read.
    std::vector<uint8_t> early = whole;
    early[8] |= 0x80;
    DamagedModule module(9, early);
    OwnedAccelerators table(LoadAcceleratorsA(module.get(), MAKEINTRESOURCEA(1)));
    ASSERT_TRUE(table);
    EXPECT_EQ(CopyAcceleratorTableA(table.get(), nullptr, 0), 2);
}

}  // namespace
