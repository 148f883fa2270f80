// Keys and values through the registry calls: types, sizes, names, enumeration and refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "registry/registry_seed.h"
#include "registry/store_format.h"
#include "registry_fixture.h"
#include "winplat/registry.h"
#include "winplat/testing.h"

namespace {

using Value = std::pair<DWORD, std::string>;

struct StoredCase {
    const char* name;
    DWORD type;
    std::string data;
};

// Every type, and the bytes a text store must carry through: zeros, controls, quotes,
// backslashes, cp1250 letters and the bytes cp1250 leaves unassigned.
const StoredCase kStoredCases[] = {
    {"Text", REG_SZ, std::string("Dobr\xFD den\0", 10)},
    {"NoTerminator", REG_SZ, "abc"},
    {"Expand", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9)},
    {"List", REG_MULTI_SZ, std::string("a\0\"b\"\0\0", 7)},
    {"Controls", REG_SZ, std::string("\t\r\n\x01\x7f\x81\x98\\", 9)},
    {"Count", REG_DWORD, std::string("\x2a\x00\x00\x80", 4)},
    {"Bytes", REG_BINARY, std::string("\x00\xff\x10", 3)},
    {"EmptyBytes", REG_BINARY, ""},
    {"ShortDword", REG_DWORD, "\x01\x02"},
    {"Other", 11u, "\x01\x02\x03\x04\x05\x06\x07\x08"},
    {"\xC8\xED\x73lo \"=\" [x]\x01", REG_SZ, "name with escapes"},
    {"", REG_SZ, std::string("default\0", 8)},
};

TEST_F(RegistryTest, ValuesOfEveryTypeSurviveARestartOfTheStore) {
    const char* keyPath = "Software\\Tarvo\\Lectern\\4.0\\Viewer\\K\xEC\x25l%";
    for (const auto& stored : kStoredCases) {
        ASSERT_EQ(set(HKEY_CURRENT_USER, keyPath, stored.name, stored.type, stored.data), ERROR_SUCCESS) << stored.name;
    }
    winplat::testing::dropRegistry();
    const uint64_t readsBefore = winplat::testing::registryFileReads();
    for (const auto& stored : kStoredCases) {
        EXPECT_EQ(query(HKEY_CURRENT_USER, keyPath, stored.name), Value(stored.type, stored.data)) << stored.name;
    }
    EXPECT_EQ(winplat::testing::registryFileReads(), readsBefore + 1) << "the store is read once, then kept";
}

TEST_F(RegistryTest, QueriesAnswerFromMemoryWithoutReadingTheFile) {
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\A", "v", REG_DWORD, std::string("\1\0\0\0", 4)), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\A", &key), ERROR_SUCCESS);
    const uint64_t before = winplat::testing::registryFileReads();
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(query(key, "v"), Value(REG_DWORD, std::string("\1\0\0\0", 4)));
    EXPECT_EQ(winplat::testing::registryFileReads(), before);
    RegCloseKey(key);
}

TEST_F(RegistryTest, NamesMatchWithoutRegardToCaseAndKeepTheirCase) {
    // 0xC8/0xE8 are the upper and lower cp1250 C with caron.
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\\xC8\x65sky", "\xC8\x65rven\xE1", REG_SZ, "1"), ERROR_SUCCESS);
    ASSERT_EQ(set(HKEY_CURRENT_USER, "SOFTWARE\\\xE8\x45SKY", "\xE8\x45RVEN\xC1", REG_SZ, "2"), ERROR_SUCCESS);
    EXPECT_EQ(query(HKEY_CURRENT_USER, "software\\\xE8\x65sky", "\xE8\x65rven\xE1"), Value(REG_SZ, "2"));

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "software", &key), ERROR_SUCCESS);
    char name[32] = {};
    DWORD size = sizeof name;
    ASSERT_EQ(RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "\xC8\x65sky") << "the case it was created in";
    EXPECT_EQ(RegEnumKeyExA(key, 1, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

struct SizeCase {
    const char* what;
    std::string stored;
    DWORD type;
    bool withBuffer;
    DWORD room;
    LONG result;
    DWORD sizeAfter;
    std::string bytesAfter;  // the buffer's first sizeAfter + 1 bytes, when the call succeeds
};

TEST_F(RegistryTest, QueriesHonourTheBufferSize) {
    const std::string text("abc\0", 4);
    const std::string long261(261, 'x');
    const SizeCase cases[] = {
        {"size query", text, REG_SZ, false, 0, ERROR_SUCCESS, 4, ""},
        {"one short", text, REG_SZ, true, 3, ERROR_MORE_DATA, 4, ""},
        {"exact", text, REG_SZ, true, 4, ERROR_SUCCESS, 4, std::string("abc\0\x55", 5)},
        {"larger", text, REG_SZ, true, 10, ERROR_SUCCESS, 4, std::string("abc\0\x55", 5)},
        {"unterminated, exact", "abc", REG_SZ, true, 3, ERROR_SUCCESS, 3, "abc\x55"},
        {"unterminated, room for a zero", "abc", REG_SZ, true, 4, ERROR_SUCCESS, 3, std::string("abc\0", 4)},
        {"binary gets no zero", "abc", REG_BINARY, true, 4, ERROR_SUCCESS, 3, "abc\x55"},
        {"261 bytes in 260", long261, REG_BINARY, true, 260, ERROR_MORE_DATA, 261, ""},
        {"261 bytes in 261", long261, REG_BINARY, true, 261, ERROR_SUCCESS, 261, long261 + "\x55"},
    };
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Sizes", &key), ERROR_SUCCESS);
    for (const auto& c : cases) {
        ASSERT_EQ(RegSetValueExA(key, "v", 0, c.type, reinterpret_cast<const BYTE*>(c.stored.data()),
                                 static_cast<DWORD>(c.stored.size())),
                  ERROR_SUCCESS);
        std::string buffer(300, '\x55');
        DWORD size = c.room;
        DWORD type = 0;
        const LONG result = RegQueryValueExA(key, "v", nullptr, &type, c.withBuffer ? reinterpret_cast<BYTE*>(buffer.data()) : nullptr, &size);
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(size, c.sizeAfter) << c.what;
        EXPECT_EQ(type, c.type) << c.what;
        if (result == ERROR_SUCCESS && c.withBuffer) {
            EXPECT_EQ(buffer.substr(0, c.sizeAfter + 1), c.bytesAfter) << c.what;
        }
    }
    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    BYTE byte = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, &byte, nullptr), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryTest, EnumerationGoesInCreationOrderByIndex) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Order", &key), ERROR_SUCCESS);
    for (const char* sub : {"zeta", "Alpha", "mid"}) {
        HKEY child = nullptr;
        ASSERT_EQ(RegCreateKeyA(key, sub, &child), ERROR_SUCCESS);
        RegCloseKey(child);
    }
    ASSERT_EQ(RegSetValueExA(key, "second", 0, REG_DWORD, reinterpret_cast<const BYTE*>("\2\0\0\0"), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "first", 0, REG_BINARY, reinterpret_cast<const BYTE*>("\1"), 1), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "SECOND", 0, REG_DWORD, reinterpret_cast<const BYTE*>("\3\0\0\0"), 4), ERROR_SUCCESS);

    const char* keys[] = {"zeta", "Alpha", "mid"};
    for (DWORD i = 0; i < 3; ++i) {
        char name[8] = {};
        DWORD size = static_cast<DWORD>(std::strlen(keys[i]));  // no room for the zero
        EXPECT_EQ(RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA) << i;
        size = static_cast<DWORD>(std::strlen(keys[i]) + 1);
        ASSERT_EQ(RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS) << i;
        EXPECT_STREQ(name, keys[i]);
        EXPECT_EQ(size, std::strlen(keys[i]));
    }
    char name[16] = {};
    DWORD nameSize = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key, 3, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    // A changed value keeps its place and its first case.
    const std::pair<const char*, std::string> values[] = {{"second", std::string("\3\0\0\0", 4)}, {"first", "\1"}};
    for (DWORD i = 0; i < 2; ++i) {
        nameSize = sizeof name;
        DWORD type = 0;
        BYTE data[8] = {};
        DWORD dataSize = 0;
        EXPECT_EQ(RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize), ERROR_MORE_DATA);
        EXPECT_EQ(dataSize, values[i].second.size());
        nameSize = sizeof name;
        ASSERT_EQ(RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize), ERROR_SUCCESS);
        EXPECT_STREQ(name, values[i].first);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(data), dataSize), values[i].second);
    }
    nameSize = sizeof name;
    EXPECT_EQ(RegEnumValueA(key, 2, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingKeysAndValues) {
    winplat::testing::DebugCapture debug;
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\Del\\Child", "v", REG_SZ, "x"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Del"), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(debug.contains("the key has sub-keys"));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Del\\Nothing"), ERROR_FILE_NOT_FOUND);

    HKEY child = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Del\\Child", &child), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(child, "V"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(child, "v"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\DEL\\child"), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(child, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 1), ERROR_KEY_DELETED);
    RegCloseKey(child);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Del"), ERROR_SUCCESS);

    winplat::testing::dropRegistry();
    HKEY gone = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Del", &gone), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, RefusalsSayWhy) {
    winplat::testing::DebugCapture debug;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_PERFORMANCE_DATA, "x", &key), ERROR_NOT_SUPPORTED);
    EXPECT_TRUE(debug.contains("performance data"));
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "No\\Such", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(debug.contains("no such key"));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software", &key), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    debug.clear();
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(debug.contains("not an open registry key"));
    EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 1), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(debug.contains("not a registry key handle"));
    // A root with a handle value just past the last one is no key.
    const auto pastRoots = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000007u));
    EXPECT_EQ(RegOpenKeyA(pastRoots, "x", &key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(RegFlushKey(HKEY_DYN_DATA), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ANewStoreHoldsTheFileAssociations) {
    const auto seed = winplat::registry::parse(winplat::registry::seedText());
    EXPECT_TRUE(seed.problems.empty()) << seed.problems.front();
    char command[64] = {};
    LONG size = sizeof command;
    ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", command, &size), ERROR_SUCCESS);
    EXPECT_STREQ(command, "xdg-open \"%1\"");
    EXPECT_EQ(size, static_cast<LONG>(std::strlen(command) + 1));
    for (const char* extension : {".htm", ".HTML"}) {
        size = sizeof command;
        ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, extension, command, &size), ERROR_SUCCESS) << extension;
        EXPECT_STREQ(command, "htmlfile");
    }
    size = sizeof command;
    ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, "mailto\\shell\\open\\command", command, &size), ERROR_SUCCESS);
    EXPECT_STREQ(command, "xdg-open \"%1\"");
    // Media types lead to a program too, as the codec check looks for one.
    for (const char* extension : {".avi", ".MPG", ".mov", ".wav", ".mid", ".mp3"}) {
        size = sizeof command;
        ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, extension, command, &size), ERROR_SUCCESS) << extension;
        const std::string open = std::string(command) + "\\shell\\open\\command";
        size = sizeof command;
        ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, open.c_str(), command, &size), ERROR_SUCCESS) << extension;
        EXPECT_STREQ(command, "xdg-open \"%1\"") << extension;
    }
    size = 3;
    EXPECT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, "mailto\\shell\\open\\command", command, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, static_cast<LONG>(std::strlen("xdg-open \"%1\"") + 1));
}

// An opened key stands for its path: through it, every read sees the key the path names now,
// whatever changed the tree since the last read (a write through another handle, the key deleted
// and made again, siblings added before it, the store re-read after another process replaced
// it, a store in another state folder).
TEST_F(RegistryTest, AnOpenedKeyReadsWhatItsPathNamesNow) {
    const char* path = "Software\\Follow\\K";
    auto dword = [](char value) { return Value(REG_DWORD, std::string{value, 0, 0, 0}); };
    ASSERT_EQ(set(HKEY_CURRENT_USER, path, "v", REG_DWORD, dword(1).second), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, path, &key), ERROR_SUCCESS);
    ASSERT_EQ(query(key, "v"), dword(1));
    // The first sub-key's name, as an enumeration through the handle gives it.
    auto firstSubKey = [&] {
        char name[16] = {};
        DWORD size = sizeof name;
        const LONG result = RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr);
        return result == ERROR_SUCCESS ? std::string(name) : "error " + std::to_string(result);
    };

    ASSERT_EQ(set(HKEY_CURRENT_USER, "SOFTWARE\\follow\\k", "v", REG_DWORD, dword(2).second), ERROR_SUCCESS);
    EXPECT_EQ(query(key, "v"), dword(2)) << "written through another handle";

    ASSERT_EQ(RegDeleteValueA(key, "v"), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, path), ERROR_SUCCESS);
    DWORD size = 4;
    BYTE data[4] = {};
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, data, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(firstSubKey(), "error " + std::to_string(ERROR_KEY_DELETED));

    for (char sibling = 'a'; sibling <= 'h'; ++sibling) {
        ASSERT_EQ(set(HKEY_CURRENT_USER, ("Software\\Follow\\" + std::string(1, sibling)).c_str(), "v", REG_DWORD,
                      dword(9).second),
                  ERROR_SUCCESS);
    }
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\Follow\\K\\Sub", "v", REG_DWORD, dword(3).second), ERROR_SUCCESS);
    ASSERT_EQ(set(HKEY_CURRENT_USER, path, "v", REG_DWORD, dword(3).second), ERROR_SUCCESS);
    EXPECT_EQ(query(key, "v"), dword(3)) << "the key made again after siblings came before it";
    EXPECT_EQ(firstSubKey(), "Sub");

    // Another process replaces the store; the next change anywhere re-reads it.
    writeStore("[HKEY_CURRENT_USER\\Software\\Follow\\K]\n\"v\"=dword:00000004\n");
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\Elsewhere", "w", REG_DWORD, dword(0).second), ERROR_SUCCESS);
    EXPECT_EQ(query(key, "v"), dword(4)) << "the store another process wrote";
    EXPECT_EQ(firstSubKey(), "error " + std::to_string(ERROR_NO_MORE_ITEMS));

    winplat::testing::dropRegistry();
    EXPECT_EQ(query(key, "v"), dword(4)) << "the store read again from its file";

    const std::string other = folder_ + "/other";
    std::filesystem::create_directories(other);
    {
        std::ofstream store(other + "/registry.txt", std::ios::binary);
        store << "[HKEY_CURRENT_USER\\Software\\Follow\\K]\n\"v\"=dword:00000005\n";
    }
    setenv("WINPLAT_STATE", other.c_str(), 1);
    EXPECT_EQ(query(key, "v"), dword(5)) << "the store of the state folder named now";
    setenv("WINPLAT_STATE", folder_.c_str(), 1);
    EXPECT_EQ(query(key, "v"), dword(4)) << "back in the first state folder";
    RegCloseKey(key);
}

TEST_F(RegistryTest, SetValueAWritesTheDefaultValueOfASubKey) {
    ASSERT_EQ(RegSetValueA(HKEY_CURRENT_USER, "Software\\New\\Key", REG_SZ, "hodnota", 0), ERROR_SUCCESS);
    EXPECT_EQ(query(HKEY_CURRENT_USER, "Software\\New\\Key", nullptr), Value(REG_SZ, std::string("hodnota\0", 8)));
    char text[8] = {};
    LONG size = sizeof text;
    ASSERT_EQ(RegQueryValueA(HKEY_CURRENT_USER, "Software\\New", text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, "") << "a key without a default value reads as empty";
    EXPECT_EQ(size, 1);
}

}  // namespace

namespace {

TEST_F(RegistryTest, TheStoreIsTextAPersonCanRead) {
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\T\xE9ma\x01", "Po\xE8\x65t", REG_DWORD, std::string("\x2a\0\0\x80", 4)), ERROR_SUCCESS);
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\T\xE9ma\x01", "B", REG_BINARY, std::string("\x00\xff", 2)), ERROR_SUCCESS);
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\T\xE9ma\x01", nullptr, REG_SZ, std::string("\"a\"\\\n\x81\xE8\0", 8)),
              ERROR_SUCCESS);
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\T\xE9ma\x01", "M", REG_MULTI_SZ, std::string("x\0y\0\0", 5)),
              ERROR_SUCCESS);
    const std::string text = storeText();
    const std::string expected =
        "[HKEY_CURRENT_USER\\Software\\T\xC3\xA9ma%01]\n"
        "\"Po\xC4\x8D\x65t\"=dword:8000002a\n"
        "\"B\"=binary:00ff\n"
        "@=sz:\"\\\"a\\\"\\\\\\n\\x81\xC4\x8D\\0\"\n"
        "\"M\"=multi_sz:\"x\\0y\\0\\0\"\n";
    EXPECT_NE(text.find(expected), std::string::npos) << text;
}

}  // namespace

namespace {

std::string nestedPath(size_t levels) {
    std::string path = "k";
    for (size_t i = 1; i < levels; ++i) path += "\\k";
    return path;
}

TEST_F(RegistryTest, KeysAndNamesStayWithinTheirLimits) {
    struct LimitCase {
        const char* what;
        std::string subKey;
        std::string valueName;
        LONG result;
    };
    const LimitCase cases[] = {
        {"512 levels", nestedPath(512), "v", ERROR_SUCCESS},
        {"513 levels", nestedPath(513), "v", ERROR_INVALID_PARAMETER},
        {"a 255-character name", std::string(255, 'n'), "v", ERROR_SUCCESS},
        {"a 256-character name", std::string(256, 'n'), "v", ERROR_INVALID_PARAMETER},
        {"a 16,383-character value name", "k", std::string(16383, 'v'), ERROR_SUCCESS},
        {"a 16,384-character value name", "k", std::string(16384, 'v'), ERROR_INVALID_PARAMETER},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(set(HKEY_CURRENT_USER, c.subKey.c_str(), c.valueName.c_str(), REG_SZ, "x"), c.result) << c.what;
    }
    // What the calls made loads back; a store holding more is refused line by line.
    winplat::testing::dropRegistry();
    EXPECT_TRUE(query(HKEY_CURRENT_USER, nestedPath(512).c_str(), "v"));
    EXPECT_TRUE(query(HKEY_CURRENT_USER, "k", std::string(16383, 'v').c_str()));
    std::string deep = "[HKEY_CURRENT_USER";
    for (size_t i = 0; i < 513; ++i) deep += "\\d";
    writeStore(deep + "]\n@=sz:\"x\"\n[HKEY_CURRENT_USER\\" + std::string(256, 'n') + "]\n@=sz:\"x\"\n" +
               "[HKEY_CURRENT_USER\\a%00]\n[HKEY_CURRENT_USER\\b%5Cc]\n[HKEY_CURRENT_USER\\e]\n\"v\\0\"=sz:\"x\"\n");
    winplat::testing::DebugCapture debug;
    winplat::testing::dropRegistry();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "d", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(debug.contains("line 1: the key lies more than 512 levels below its root"));
    EXPECT_TRUE(debug.contains("line 3: a key name is longer than 255 characters"));
    // Names no call could make, which would read back as other names.
    EXPECT_TRUE(debug.contains("line 5: a key name holds a zero byte"));
    EXPECT_TRUE(debug.contains("line 6: a key name holds a '\\'"));
    EXPECT_TRUE(debug.contains("line 8: a value name holds a zero byte"));
}

}  // namespace
