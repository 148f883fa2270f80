// The reader's registry key on the layer's registry: paths under the base or from the root, the
// value types, the read limit and a path too long for its buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "platform/registry/registry_fixture.h"
#include "store/registry_key.h"
#include "winplat/registry.h"
#include "winplat/testing.h"

namespace {

using lect32::RegistryKey;

// Each test on a fresh store in its own state folder, as the registry's own tests run.
class RegistryKeyTest : public RegistryTest {
protected:
    static std::optional<std::pair<DWORD, std::string>> stored(const char* path, const char* name) {
        return query(HKEY_CURRENT_USER, path, name);
    }
};

const std::string kBase = "Software\\Tarvo\\Lectern\\4.0\\Viewer\\";

TEST_F(RegistryKeyTest, ValuesLandUnderTheBaseKeyWithTheirTypes) {
    RegistryKey key;
    ASSERT_EQ(key.Create("Recent", true), 1);
    EXPECT_EQ(key.WriteString("Name", "Dobr\xFD", 0), 1);
    EXPECT_EQ(key.WriteString("Part", "abcdef", 3), 1);
    EXPECT_EQ(key.WriteBinary("Bytes", "\x00\xFF\x10", 3), 1);
    EXPECT_EQ(key.WriteDword("Count", 0x80000102u), 1);
    EXPECT_EQ(key.WriteInt("Signed", -2), 1);
    const std::string path = kBase + "Recent";
    // A length of 0 stores the text without its terminating zero.
    EXPECT_EQ(stored(path.c_str(), "Name"), std::make_pair(DWORD{REG_SZ}, std::string("Dobr\xFD")));
    EXPECT_EQ(stored(path.c_str(), "Part"), std::make_pair(DWORD{REG_SZ}, std::string("abc")));
    EXPECT_EQ(stored(path.c_str(), "Bytes"), std::make_pair(DWORD{REG_BINARY}, std::string("\x00\xFF\x10", 3)));
    EXPECT_EQ(stored(path.c_str(), "Count"), std::make_pair(DWORD{REG_DWORD}, std::string("\x02\x01\x00\x80", 4)));
    EXPECT_EQ(stored(path.c_str(), "Signed"), std::make_pair(DWORD{REG_DWORD}, std::string("\xFE\xFF\xFF\xFF", 4)));
}

TEST_F(RegistryKeyTest, WithoutTheFlagTheSubKeyIsAPathFromTheRoot) {
    RegistryKey key;
    ASSERT_EQ(key.Create("Software\\Elsewhere", false), 1);
    ASSERT_EQ(key.WriteDword("V", 7), 1);
    EXPECT_TRUE(stored("Software\\Elsewhere", "V"));
    EXPECT_FALSE(stored((kBase + "Software\\Elsewhere").c_str(), "V"));

    RegistryKey reopened;
    EXPECT_EQ(reopened.Open("Software\\Elsewhere", false), 1);
    EXPECT_EQ(reopened.Open("Elsewhere", true), 0);
    EXPECT_FALSE(reopened.IsOpen());
}

TEST_F(RegistryKeyTest, ReadValueGivesTheBytesUpToTheLimit) {
    RegistryKey key;
    ASSERT_EQ(key.Create("Limits", true), 1);
    const std::string fits(RegistryKey::kReadRoom, 'a');
    const std::string over(RegistryKey::kReadRoom + 1, 'b');
    ASSERT_EQ(key.WriteBinary("Fits", fits.data(), static_cast<DWORD>(fits.size())), 1);
    ASSERT_EQ(key.WriteBinary("Over", over.data(), static_cast<DWORD>(over.size())), 1);

    RegistryKey reader;
    ASSERT_EQ(reader.Open("Limits", true), 1);
    char buffer[RegistryKey::kReadRoom + 8] = {};
    EXPECT_EQ(reader.ReadValue("Fits", buffer), 1);
    EXPECT_EQ(std::string(buffer, RegistryKey::kReadRoom), fits);
    EXPECT_EQ(buffer[RegistryKey::kReadRoom], 0);   // nothing written past the limit
    EXPECT_EQ(reader.ReadValue("Over", buffer), 0);
    EXPECT_EQ(reader.ReadValue("Missing", buffer), 0);
}

TEST_F(RegistryKeyTest, APathLongerThanItsBufferIsRefused) {
    // Base plus sub-key with its terminating zero exactly fills the room; one more byte does not fit.
    const std::string fits(RegistryKey::kPathRoom - 1 - kBase.size(), 'k');
    const std::string tooLong = fits + "k";
    RegistryKey key;
    EXPECT_EQ(key.Create(fits.c_str(), true), 1);
    EXPECT_EQ(key.Create(tooLong.c_str(), true), 0);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.Open(tooLong.c_str(), true), 0);
    // The same length from the root fits: only the whole path counts.
    EXPECT_EQ(key.Create(tooLong.c_str(), false), 1);
}

TEST_F(RegistryKeyTest, WritingWithoutAnOpenKeyFails) {
    RegistryKey key;
    char buffer[RegistryKey::kReadRoom] = {};
    EXPECT_EQ(key.WriteDword("V", 1), 0);
    EXPECT_EQ(key.ReadValue("V", buffer), 0);
}

// Strings come back terminated whether or not they were stored with their zero; a value that is
// no string, or does not fit with its zero, gives 0 and an empty buffer.
TEST_F(RegistryKeyTest, ReadStringTakesStringsThatFit) {
    RegistryKey key;
    ASSERT_EQ(key.Create("MRU", true), 1);
    ASSERT_EQ(key.WriteString("Bare", "abcd", 0), 1);
    ASSERT_EQ(key.WriteString("Terminated", "abc", 4), 1);
    ASSERT_EQ(key.WriteDword("Number", 7), 1);
    char buffer[5];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(key.ReadString("Bare", buffer, 5), 1);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(key.ReadString("Terminated", buffer, 5), 1);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(key.ReadString("Bare", buffer, 4), 0);  // four bytes leave no room for the zero
    EXPECT_STREQ(buffer, "");
    winplat::testing::DebugCapture quiet;
    EXPECT_EQ(key.ReadString("Number", buffer, 5), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(key.ReadString("Missing", buffer, 5), 0);
}

}  // namespace
