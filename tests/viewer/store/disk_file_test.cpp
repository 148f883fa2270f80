#include "store/disk_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "winplat/files.h"
#include "winplat/testing.h"

namespace {

namespace fs = std::filesystem;
using lect32::DiskFile;

// A fresh host folder per test, named to the code in drive form ("C:\tmp\...": drive C: is the
// host root).
class DiskFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "lect32-disk-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        host_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        for (auto& entry : fs::recursive_directory_iterator(host_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(host_, ignored);
    }

    // The Windows path of a name inside the folder; '/' in 'name' become '\'.
    std::string win(const std::string& name = "") const {
        std::string path = "C:" + host_.string();
        if (!name.empty()) path += "/" + name;
        for (char& c : path)
            if (c == '/') c = '\\';
        return path;
    }
    fs::path host(const std::string& name) const { return host_ / name; }

    void writeHost(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream out(host(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> readHost(const std::string& name) const {
        std::ifstream in(host(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // 2000 bytes where every offset holds a value that differs from its neighbours'.
    static std::vector<uint8_t> pattern2000() {
        std::vector<uint8_t> bytes(2000);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
        return bytes;
    }

    fs::path host_;
};

TEST_F(DiskFileTest, WindowMovesAreRelativeToTheWindow) {
    writeHost("pkg.bin", pattern2000());
    DiskFile file;
    ASSERT_EQ(file.Open(win("pkg.bin").c_str(), DiskFile::kRead, 1000, 500), 1);
    EXPECT_EQ(file.GetSize(), 500u);
    EXPECT_EQ(file.Tell(), 0u) << "opening a window puts the position at its start";

    struct Step {
        int32_t distance;
        uint32_t origin;
        uint32_t absolute;  // result of Seek
        uint32_t tell;
        bool atEnd;
    };
    const Step steps[] = {
        {0, DiskFile::kBegin, 1000, 0, false},    {10, DiskFile::kCurrent, 1010, 10, false},
        {0, DiskFile::kEnd, 1500, 500, true},     {-100, DiskFile::kEnd, 1400, 400, false},
        {-5, DiskFile::kCurrent, 1395, 395, false}, {-1001, DiskFile::kBegin, 1395, 395, false},  // before the file
        {499, DiskFile::kBegin, 1499, 499, false}, {1, DiskFile::kCurrent, 1500, 500, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "Seek(" << step.distance << ", " << step.origin << ")");
        EXPECT_EQ(file.Seek(step.distance, step.origin), step.absolute);
        EXPECT_EQ(file.Tell(), step.tell);
        EXPECT_EQ(file.IsAtEnd(), step.atEnd);
    }
    file.Close();
}

TEST_F(DiskFileTest, ReadsStopAtTheWindowEnd) {
    const std::vector<uint8_t> bytes = pattern2000();
    writeHost("pkg.bin", bytes);
    DiskFile file;
    ASSERT_EQ(file.Open(win("pkg.bin").c_str(), DiskFile::kRead, 1000, 500), 1);

    uint8_t buffer[100];
    ASSERT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 4), std::vector<uint8_t>(&bytes[1000], &bytes[1004]));

    file.Seek(490, DiskFile::kBegin);
    ASSERT_EQ(file.Read(buffer, 100), 10u) << "the next document of the package starts at 1500";
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 10), std::vector<uint8_t>(&bytes[1490], &bytes[1500]));
    EXPECT_EQ(file.Read(buffer, 1), 0u);
    EXPECT_TRUE(file.IsAtEnd());

    file.Seek(-10, DiskFile::kBegin);  // absolute 990: the document before this one
    EXPECT_EQ(file.Read(buffer, 20), 0u);

    ASSERT_EQ(file.Open(win("pkg.bin").c_str(), DiskFile::kRead), 1);
    file.Seek(1990, DiskFile::kBegin);
    EXPECT_EQ(file.Read(buffer, 100), 10u) << "without a window the file's end is the limit";
    EXPECT_EQ(file.GetSize(), 2000u);
    file.Close();
}

TEST_F(DiskFileTest, WritesAndTruncationInsideAWindowLandAtAbsolutePositions) {
    std::vector<uint8_t> expected = pattern2000();
    writeHost("pkg.bin", expected);
    DiskFile file;
    ASSERT_EQ(file.Open(win("pkg.bin").c_str(), DiskFile::kReadWrite, 1000, 500), 1);
    file.Seek(20, DiskFile::kBegin);
    EXPECT_EQ(file.Write("abc", 3), 3u);
    EXPECT_EQ(file.Tell(), 23u);
    EXPECT_EQ(file.WriteString("de"), 2u) << "the terminator is not written";
    file.Close();
    for (int i = 0; i < 5; ++i) expected[1020 + i] = static_cast<uint8_t>("abcde"[i]);
    EXPECT_EQ(readHost("pkg.bin"), expected);

    ASSERT_EQ(file.Open(win("pkg.bin").c_str(), DiskFile::kReadWrite, 1000, 500), 1);
    EXPECT_EQ(file.SetEnd(100), 1);
    file.Close();
    EXPECT_EQ(fs::file_size(host("pkg.bin")), 1100u) << "SetEnd counts from the window start";
}

// The object knows where its handle's pointer is without asking the system each time: after
// every kind of move, in and out of a window, that must be where the system has it.
TEST_F(DiskFileTest, ThePositionKnownIsWhereTheSystemHasThePointer) {
    writeHost("pkg.bin", pattern2000());
    enum Op { kRead, kWrite, kSeekBegin, kSeekCurrent, kSeekEnd, kSetEnd };
    struct Step {
        Op op;
        int32_t amount;
        const char* what;
    };
    const Step steps[] = {
        {kRead, 10, "a read"},
        {kSeekCurrent, -4, "back from where it is"},
        {kWrite, 6, "a write"},
        {kSeekBegin, 100, "to a place"},
        {kSeekBegin, 100, "to the same place again"},
        {kSeekCurrent, -2000, "before the file's start: refused, left where it was"},
        {kSeekEnd, -3, "from the end"},
        {kRead, 50, "a read cut short by the end"},
        {kRead, 5, "a read at the end"},
        {kSetEnd, 120, "cut"},
        {kWrite, 9, "a write behind the cut"},
        {kSeekBegin, 7, "and back"},
    };
    for (const uint32_t windowStart : {0u, 1000u}) {
        SCOPED_TRACE(windowStart ? "inside a window" : "the whole file");
        DiskFile file;
        ASSERT_EQ(file.Open(win("pkg.bin").c_str(), DiskFile::kReadWrite, windowStart, windowStart ? 500 : 0), 1);
        uint8_t buffer[64] = {};
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            switch (step.op) {
                case kRead: file.Read(buffer, static_cast<uint32_t>(step.amount)); break;
                case kWrite: file.Write(buffer, static_cast<uint32_t>(step.amount)); break;
                case kSeekBegin: file.Seek(step.amount, DiskFile::kBegin); break;
                case kSeekCurrent: file.Seek(step.amount, DiskFile::kCurrent); break;
                case kSeekEnd: file.Seek(step.amount, DiskFile::kEnd); break;
                case kSetEnd: file.SetEnd(static_cast<uint32_t>(step.amount)); break;
            }
            const DWORD system = SetFilePointer(file.handle(), 0, nullptr, FILE_CURRENT);
            EXPECT_EQ(file.Tell() + windowStart, system);
        }
        file.Close();
        writeHost("pkg.bin", pattern2000());
    }
}

// A failed read or write may have moved the pointer any distance: the position is asked for.
TEST_F(DiskFileTest, APositionIsAskedForAgainAfterAFailedTransfer) {
    writeHost("data.bin", pattern2000());
    DiskFile file;
    ASSERT_EQ(file.Open(win("data.bin").c_str(), DiskFile::kRead), 1);
    file.Seek(40, DiskFile::kBegin);
    const uint8_t bytes[4] = {1, 2, 3, 4};
    EXPECT_EQ(file.Write(bytes, 4), 0u) << "opened for reading";
    EXPECT_EQ(file.Tell(), 40u);
    // Moved behind the object's back, as only a failed transfer could do.
    SetFilePointer(file.handle(), 70, nullptr, FILE_BEGIN);
    EXPECT_EQ(file.Write(bytes, 4), 0u);
    EXPECT_EQ(file.Tell(), 70u) << "the system was asked";
    uint8_t buffer[4] = {};
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(buffer[0], pattern2000()[70]);
    file.Close();
}

TEST_F(DiskFileTest, EndOfFileAndClosedFile) {
    writeHost("three.bin", {1, 2, 3});
    DiskFile file;
    uint8_t buffer[8] = {};
    EXPECT_TRUE(file.IsAtEnd()) << "a closed file is at its end";
    EXPECT_EQ(file.Read(buffer, 1), 0u);
    EXPECT_EQ(file.Write(buffer, 1), 0u);
    EXPECT_EQ(file.Seek(1, DiskFile::kBegin), 0u);
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_EQ(file.GetTimes(), 0u);

    ASSERT_EQ(file.Open(win("three.bin").c_str(), DiskFile::kRead), 1);
    EXPECT_FALSE(file.IsAtEnd());
    EXPECT_EQ(file.Read(buffer, 8), 3u);
    EXPECT_TRUE(file.IsAtEnd());
    EXPECT_EQ(file.Write(buffer, 1), 0u) << "opened for reading only";
    EXPECT_EQ(file.Seek(-1, DiskFile::kEnd), 2u);
    EXPECT_FALSE(file.IsAtEnd());
    file.Close();
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(DiskFileTest, WriteOfNothingReportsNothing) {
    DiskFile file;
    ASSERT_EQ(file.Create(win("new.bin").c_str(), DiskFile::kReadWrite), 1);
    EXPECT_EQ(file.Write("x", 0), 0u);
    EXPECT_EQ(file.WriteString(""), 0u);
    EXPECT_EQ(file.Write("xy", 2), 2u);
    file.Close();
    EXPECT_EQ(readHost("new.bin"), (std::vector<uint8_t>{'x', 'y'}));
}

TEST_F(DiskFileTest, CreateTruncatesAndSetEndCuts) {
    writeHost("old.bin", pattern2000());
    DiskFile file;
    ASSERT_EQ(file.Create(win("old.bin").c_str(), DiskFile::kReadWrite), 1);
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.IsAtEnd());
    file.Write("0123456789", 10);
    EXPECT_EQ(file.SetEnd(4), 1);
    EXPECT_EQ(file.GetSize(), 4u);
    file.Close();
    EXPECT_EQ(readHost("old.bin"), (std::vector<uint8_t>{'0', '1', '2', '3'}));
}

TEST_F(DiskFileTest, OpenOfAMissingFileLeavesNoHandle) {
    DiskFile file;
    EXPECT_EQ(file.Open(win("missing.bin").c_str(), DiskFile::kRead), 0);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(fs::exists(host("missing.bin"))) << "Open never creates";
}

TEST_F(DiskFileTest, TimesRoundTripAndReachTheHostFile) {
    // 2020-01-01 00:00:00.1234567 UTC in 100-ns ticks since 1601.
    const uint64_t when = 132223104000000000ull + 1234567;
    DiskFile file;
    ASSERT_EQ(file.Create(win("timed.bin").c_str(), DiskFile::kReadWrite), 1);
    file.Write("t", 1);
    ASSERT_EQ(file.SetTimes(when), 1);
    EXPECT_EQ(file.GetTimes(), when);
    file.Close();

    struct stat info{};
    ASSERT_EQ(stat(host("timed.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1577836800);
    EXPECT_EQ(info.st_mtim.tv_nsec, 123456700);

    ASSERT_EQ(file.Open(win("timed.bin").c_str(), DiskFile::kRead), 1);
    EXPECT_EQ(file.GetTimes(), when) << "read back through a new handle";
    file.Close();
}

TEST_F(DiskFileTest, ExistsDeleteAndMove) {
    writeHost("here.bin", {1});
    fs::create_directory(host("folder"));
    EXPECT_TRUE(DiskFile::Exists(win("here.bin").c_str()));
    EXPECT_TRUE(DiskFile::Exists(win("HERE.BIN").c_str())) << "names are found without regard to case";
    EXPECT_FALSE(DiskFile::Exists(win("gone.bin").c_str()));
    EXPECT_FALSE(DiskFile::Exists(win("folder").c_str())) << "a folder does not open as a file";

    EXPECT_EQ(lect32::MoveDiskFile(win("here.bin").c_str(), win("there.bin").c_str()), 1);
    EXPECT_FALSE(fs::exists(host("here.bin")));
    writeHost("other.bin", {2});
    EXPECT_EQ(lect32::MoveDiskFile(win("other.bin").c_str(), win("there.bin").c_str()), 0) << "never replaces";
    EXPECT_EQ(readHost("there.bin"), std::vector<uint8_t>{1});

    EXPECT_EQ(lect32::DeleteDiskFile(win("there.bin").c_str()), 1);
    EXPECT_FALSE(fs::exists(host("there.bin")));
    EXPECT_EQ(lect32::DeleteDiskFile(win("there.bin").c_str()), 0);
}

TEST_F(DiskFileTest, EnsureFolderExistsLeavesAnExistingFolderAsItWas) {
    writeHost("keep.txt", {'k'});
    EXPECT_EQ(lect32::EnsureFolderExists(win().c_str()), 1);
    EXPECT_EQ(lect32::EnsureFolderExists((win() + "\\").c_str()), 1);
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(host_)) names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"keep.txt"}) << "no dir.$$$ left behind";
}

TEST_F(DiskFileTest, EnsureFolderExistsMakesEveryMissingLevel) {
    struct Case {
        const char* asked;
        const char* made;  // host path below the folder
    };
    const Case cases[] = {
        {"a\\b\\c", "a/b/c"},
        {"d\\e\\", "d/e"},            // one trailing backslash dropped
        {"f/g\\h", "f/g/h"},          // mixed separators
        {"a\\b\\c\\i", "a/b/c/i"},    // existing levels above a new one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        EXPECT_EQ(lect32::EnsureFolderExists((win() + "\\" + c.asked).c_str()), 1);
        EXPECT_TRUE(fs::is_directory(host(c.made)));
        EXPECT_FALSE(fs::exists(host(c.made) / "dir.$$$"));
    }
    writeHost("file", {1});
    EXPECT_EQ(lect32::EnsureFolderExists(win("file\\sub").c_str()), 0) << "a file stands where a level must be";
}

// Root may write into any folder, so these checks only mean something for an ordinary user.
bool hostIgnoresReadOnlyFolders(const fs::path& folder) {
    const fs::path probe = folder / "probe";
    std::ofstream out(probe);
    const bool wrote = out.good();
    out.close();
    fs::remove(probe);
    return wrote;
}

// A folder that cannot be made even by the superuser: a level of its path is a file.
TEST_F(DiskFileTest, EnsureFolderExistsRefusesAFolderThatCannotBeMade) {
    writeHost("plain.txt", {1});
    EXPECT_EQ(lect32::EnsureFolderExists(win("plain.txt\\sub").c_str()), 0);
    EXPECT_EQ(lect32::EnsureFolderExists(win("plain.txt").c_str()), 0);
    EXPECT_FALSE(fs::exists(host("plain.txt/dir.$$$")));
}

TEST_F(DiskFileTest, EnsureFolderExistsRefusesAFolderThatCannotBeWritten) {
    fs::create_directories(host("ro"));
    fs::create_directories(host("locked/open"));
    fs::permissions(host("locked/open"), fs::perms::all);
    fs::permissions(host("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(host("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    if (hostIgnoresReadOnlyFolders(host("ro"))) GTEST_SKIP() << "running as root: a read-only folder is still writable";

    EXPECT_EQ(lect32::EnsureFolderExists(win("ro").c_str()), 0);
    EXPECT_EQ(lect32::EnsureFolderExists(win("ro\\new").c_str()), 0);
    EXPECT_FALSE(fs::exists(host("ro/new")));
    EXPECT_EQ(lect32::EnsureFolderExists(win("locked\\open\\new").c_str()), 1)
        << "a read-only level above a writable one is no obstacle";
    EXPECT_TRUE(fs::is_directory(host("locked/open/new")));
}

#ifndef NDEBUG
TEST_F(DiskFileTest, DestroyingAnOpenFileIsReportedNotClosed) {
    writeHost("open.bin", {1, 2});
    winplat::testing::DebugCapture capture;
    HANDLE handle = nullptr;
    {
        DiskFile file;
        ASSERT_EQ(file.Open(win("open.bin").c_str(), DiskFile::kRead), 1);
        handle = file.handle();
    }
    EXPECT_TRUE(capture.contains("still open"));
    DWORD size = 0;
    EXPECT_EQ(GetFileSize(handle, &size), 2u) << "the handle outlives the object";
    EXPECT_TRUE(CloseHandle(handle));

    capture.clear();
    {
        DiskFile file;
        ASSERT_EQ(file.Open(win("open.bin").c_str(), DiskFile::kRead), 1);
        file.Close();
    }
    EXPECT_FALSE(capture.contains("still open"));
}
#endif

}  // namespace
