// Profile files: reading with defaults, lists and buffer limits; writing that keeps the layout.
#include <gtest/gtest.h>

#include "child_processes.h"
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "registry_fixture.h"
#include "winplat/base.h"
#include "winplat/paths.h"
#include "winplat/profile.h"
#include "winplat/testing.h"

namespace {

// A file as people write them: a comment on top, blanks around names and values, quotes, a
// line that is neither a section nor a key, CRLF line ends, mixed case.
const std::string kSample =
    "; settings\r\n"
    "[Viewer]\r\n"
    "  Width = 800  \r\n"
    "Title=\"  quoted  \"\r\n"
    "garbage line\r\n"
    "Empty=\r\n"
    "\r\n"
    "[ Fonts ]\r\n"
    "Face=Arial\r\n"
    "Negative=-12abc\r\n"
    "; trailing comment\r\n";

class ProfileTest : public RegistryTest {
protected:
    std::string windowsFolder() const { return folder_ + "/windows"; }
    std::string iniPath() const { return windowsFolder() + "/lectern.ini"; }

    void writeIni(const std::string& text) const {
        std::filesystem::create_directories(windowsFolder());
        std::ofstream(iniPath(), std::ios::binary) << text;
    }

    std::string readIni() const {
        std::ifstream in(iniPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

struct GetCase {
    const char* section;
    const char* key;
    const char* fallback;
    DWORD size;
    DWORD result;
    std::string buffer;  // the first result + 2 bytes
};

TEST_F(ProfileTest, GetPrivateProfileStringAnswersAsDocumented) {
    writeIni(kSample);
    const GetCase cases[] = {
        {"Viewer", "Width", "x", 64, 3, std::string("800\0", 4)},
        {"VIEWER", "width", "x", 64, 3, std::string("800\0", 4)},
        {"Viewer", "Title", "x", 64, 10, std::string("  quoted  \0", 11)},
        {"Viewer", "Empty", "x", 64, 0, std::string("\0", 1)},
        {"Viewer", "Missing", "fallback  ", 64, 8, std::string("fallback\0", 9)},
        {"Viewer", "Missing", nullptr, 64, 0, std::string("\0", 1)},
        {"Nowhere", "Width", "d", 64, 1, std::string("d\0", 2)},
        {"Fonts", "Face", "x", 64, 5, std::string("Arial\0", 6)},
        {"Viewer", "Width", "x", 3, 2, std::string("80\0", 3)},
        {"Viewer", "Width", "x", 4, 3, std::string("800\0", 4)},
        {"Viewer", "Width", "x", 1, 0, std::string("\0", 1)},
        {nullptr, nullptr, "x", 64, 13, std::string("Viewer\0Fonts\0\0", 14)},
        {"Viewer", nullptr, "x", 64, 18, std::string("Width\0Title\0Empty\0\0", 19)},
        {"Fonts", nullptr, "x", 64, 14, std::string("Face\0Negative\0\0", 15)},
        {"Fonts", nullptr, "x", 8, 6, std::string("Face\0N\0\0", 8)},
        {nullptr, nullptr, "x", 7, 5, std::string("Viewe\0\0", 7)},
        {"Nowhere", nullptr, "x", 64, 0, std::string("\0", 1)},
    };
    for (const auto& c : cases) {
        std::string buffer(80, '\x55');
        const DWORD result = GetPrivateProfileStringA(c.section, c.key, c.fallback, buffer.data(), c.size, "lectern.ini");
        const std::string what = std::string(c.section ? c.section : "(null)") + "/" + (c.key ? c.key : "(null)") +
                                 " in " + std::to_string(c.size);
        EXPECT_EQ(result, c.result) << what;
        EXPECT_EQ(buffer.substr(0, c.buffer.size()), c.buffer) << what;
        EXPECT_EQ(buffer[c.size], '\x55') << what << ": written past the buffer";
    }
}

TEST_F(ProfileTest, AMissingFileGivesTheDefaultAndSaysSo) {
    char buffer[16] = {};
    SetLastError(NO_ERROR);
    EXPECT_EQ(GetPrivateProfileStringA("a", "b", "def", buffer, sizeof buffer, "none.ini"), 3u);
    EXPECT_STREQ(buffer, "def");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetPrivateProfileIntA("a", "b", 42, "none.ini"), 42u);
}

TEST_F(ProfileTest, GetPrivateProfileIntReadsLeadingDigits) {
    writeIni(kSample);
    EXPECT_EQ(GetPrivateProfileIntA("viewer", "WIDTH", 5, "lectern.ini"), 800u);
    EXPECT_EQ(GetPrivateProfileIntA("Fonts", "Negative", 5, "lectern.ini"), static_cast<UINT>(-12));
    EXPECT_EQ(GetPrivateProfileIntA("Fonts", "Face", 5, "lectern.ini"), 0u) << "no digits";
    EXPECT_EQ(GetPrivateProfileIntA("Fonts", "Missing", -3, "lectern.ini"), static_cast<UINT>(-3));
}

struct WriteCase {
    const char* what;
    const char* section;
    const char* key;
    const char* value;
    std::string expected;
};

TEST_F(ProfileTest, WritesChangeOnlyTheirLinesAndKeepTheRest) {
    const WriteCase cases[] = {
        {"change keeps the key's case and place", "viewer", "WIDTH", "1024",
         "; settings\r\n[Viewer]\r\nWidth=1024\r\nTitle=\"  quoted  \"\r\ngarbage line\r\nEmpty=\r\n\r\n"
         "[ Fonts ]\r\nFace=Arial\r\nNegative=-12abc\r\n; trailing comment\r\n"},
        {"a new key goes before the blank line", "Viewer", "Height", "600",
         "; settings\r\n[Viewer]\r\n  Width = 800  \r\nTitle=\"  quoted  \"\r\ngarbage line\r\nEmpty=\r\nHeight=600\r\n\r\n"
         "[ Fonts ]\r\nFace=Arial\r\nNegative=-12abc\r\n; trailing comment\r\n"},
        {"a new section goes last", "New", "Key", "v",
         "; settings\r\n[Viewer]\r\n  Width = 800  \r\nTitle=\"  quoted  \"\r\ngarbage line\r\nEmpty=\r\n\r\n"
         "[ Fonts ]\r\nFace=Arial\r\nNegative=-12abc\r\n; trailing comment\r\n\r\n[New]\r\nKey=v\r\n"},
        {"a NULL value deletes the key", "Viewer", "Title", nullptr,
         "; settings\r\n[Viewer]\r\n  Width = 800  \r\ngarbage line\r\nEmpty=\r\n\r\n"
         "[ Fonts ]\r\nFace=Arial\r\nNegative=-12abc\r\n; trailing comment\r\n"},
        {"a NULL key deletes the section", "viewer", nullptr, nullptr,
         "; settings\r\n[ Fonts ]\r\nFace=Arial\r\nNegative=-12abc\r\n; trailing comment\r\n"},
        {"deleting what is missing changes nothing", "Nowhere", nullptr, nullptr, kSample},
    };
    for (const auto& c : cases) {
        writeIni(kSample);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, "lectern.ini")) << c.what;
        EXPECT_EQ(readIni(), c.expected) << c.what;
    }
}

// Files whose lines do not all end alike: a write keeps every line end it does not make itself, a
// new line ends as the file's first line does, and a file without a last line end stays so.
TEST_F(ProfileTest, WritesKeepEachLineItsOwnEnd) {
    struct EndCase {
        const char* what;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string expected;
    };
    const EndCase cases[] = {
        {"mixed ends stay mixed", "[a]\r\nk=1\nj=2\r\n", "a", "k", "5", "[a]\r\nk=5\nj=2\r\n"},
        {"a last line ended by CR alone", "[a]\nk=1\r", "a", "k", "2", "[a]\nk=2\r"},
        {"a CR inside a line", "[a]\r\nk=x\ry\r\n[b]\r\n", "b", "n", "1", "[a]\r\nk=x\ry\r\n[b]\r\nn=1\r\n"},
        {"a new key after a last line without end", "[a]\nk=1", "a", "n", "2", "[a]\nk=1\nn=2\n"},
        {"a new key after a last line ended by CR alone", "[a]\nk=1\r", "a", "n", "2", "[a]\nk=1\nn=2\n"},
        {"a new section after a last line without end", "[a]\r\nk=1", "b", "x", "1",
         "[a]\r\nk=1\r\n\r\n[b]\r\nx=1\r\n"},
        {"the last line deleted", "[a]\nk=1\n[b]\r\nj=2", "b", "j", nullptr, "[a]\nk=1\n[b]"},
    };
    for (const auto& c : cases) {
        writeIni(c.before);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, "lectern.ini")) << c.what;
        EXPECT_EQ(readIni(), c.expected) << c.what;
    }
}

TEST_F(ProfileTest, WritingMakesTheFileAndReadsBackThroughWindowsPaths) {
    // A bare name is in the Windows folder, made when missing; a full path goes through the drives.
    ASSERT_TRUE(WriteProfileStringA("Desktop", "Wallpaper", "none"));
    EXPECT_EQ(GetProfileIntA("desktop", "missing", 7), 7u);
    char buffer[16] = {};
    EXPECT_EQ(GetProfileStringA("DESKTOP", "wallpaper", "", buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "none");
    std::ifstream win(windowsFolder() + "/win.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(win), {}), "[Desktop]\r\nWallpaper=none\r\n");

    const std::string windowsPath = winplat::files::toWindows(folder_ + "/Other.INI");
    ASSERT_FALSE(windowsPath.empty());
    ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "\xE8\x65sky", windowsPath.c_str()));
    std::string lower = windowsPath;
    lower.replace(lower.size() - 9, 9, "other.ini");
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", buffer, sizeof buffer, lower.c_str()), 5u);
    EXPECT_STREQ(buffer, "\xE8\x65sky") << "cp1250 bytes are kept as they are";
    EXPECT_TRUE(std::filesystem::exists(folder_ + "/Other.INI"));
}

TEST_F(ProfileTest, AFailedWriteLeavesTheOldFile) {
    writeIni(kSample);
    winplat::testing::DebugCapture debug;
    winplat::testing::failRegistryRenames(1);
    EXPECT_FALSE(WritePrivateProfileStringA("Viewer", "Width", "1", "lectern.ini"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(debug.contains("the profile file cannot be written"));
    EXPECT_EQ(readIni(), kSample);
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", "lectern.ini"));
    EXPECT_TRUE(debug.contains("no section or no file name"));
    EXPECT_TRUE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, "lectern.ini")) << "a flush succeeds";
    EXPECT_EQ(readIni(), kSample);
}

}  // namespace

namespace {

[[noreturn]] void writeKeys(char prefix, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string key = prefix + std::to_string(i);
        if (!WritePrivateProfileStringA("Shared", key.c_str(), "v", "shared.ini")) _exit(3);
    }
    _exit(0);
}

TEST_F(ProfileTest, TwoProcessesWritingOneFileBothKeepTheirKeys) {
    constexpr int kEach = 30;
    registry_test::runChildren({'a', 'b'}, [](char prefix) { writeKeys(prefix, kEach); });
    for (const char prefix : {'a', 'b'}) {
        for (int i = 0; i < kEach; ++i) {
            const std::string key = prefix + std::to_string(i);
            char value[4] = {};
            EXPECT_EQ(GetPrivateProfileStringA("Shared", key.c_str(), "", value, sizeof value, "shared.ini"), 1u) << key;
        }
    }
}

}  // namespace
