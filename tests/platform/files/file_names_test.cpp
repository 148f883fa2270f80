// Calls on names: delete, move, folders, attributes, the temporary folder and temporary names.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "temp_drive.h"
#include "winplat/base.h"
#include "winplat/files.h"
#include "winplat/testing.h"

namespace {

using filetest::ScopedEnv;
using filetest::TempDrive;

TEST(MoveFile, MovesAcrossFoldersAndNeverReplaces) {
    TempDrive drive;
    drive.file("in/Report.txt", "report");
    drive.file("out/taken.txt", "taken");
    drive.folder("out/sub");

    ASSERT_TRUE(MoveFileA("T:\\IN\\REPORT.TXT", "T:\\Out\\Sub\\Final.TXT"));
    EXPECT_FALSE(drive.exists("in/Report.txt"));
    EXPECT_EQ(drive.read("out/sub/Final.TXT"), "report") << "the folder as found, the new name as given";

    const struct {
        const char* from;
        const char* to;
        DWORD error;
    } refused[] = {
        {"T:\\out\\sub\\final.txt", "T:\\out\\taken.txt", ERROR_ALREADY_EXISTS},
        {"T:\\out\\sub\\final.txt", "T:\\OUT\\TAKEN.TXT", ERROR_ALREADY_EXISTS},  // taken in another case
        {"T:\\out\\sub", "T:\\out\\taken.txt", ERROR_ALREADY_EXISTS},
        {"T:\\out\\missing.txt", "T:\\out\\new.txt", ERROR_FILE_NOT_FOUND},
        {"T:\\out\\sub\\final.txt", "T:\\nowhere\\new.txt", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        SetLastError(0);
        EXPECT_FALSE(MoveFileA(c.from, c.to));
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(drive.read("out/taken.txt"), "taken");
    EXPECT_EQ(drive.read("out/sub/Final.TXT"), "report");

    ASSERT_TRUE(MoveFileA("T:\\out\\sub", "T:\\Moved")) << "folders move too";
    EXPECT_EQ(drive.read("Moved/Final.TXT"), "report");
}

TEST(MoveFile, ANameDifferingOnlyInCaseRenamesTheFile) {
    TempDrive drive;
    drive.file("docs/readme.txt", "r");
    ASSERT_TRUE(MoveFileA("T:\\docs\\readme.txt", "T:\\DOCS\\ReadMe.TXT"));
    EXPECT_FALSE(drive.exists("docs/readme.txt"));
    EXPECT_EQ(drive.read("docs/ReadMe.TXT"), "r");
    EXPECT_TRUE(MoveFileA("T:\\docs\\ReadMe.TXT", "T:\\docs\\ReadMe.TXT")) << "to itself: nothing to do";
    EXPECT_EQ(drive.read("docs/ReadMe.TXT"), "r");
}

TEST(MoveFile, CopiesFilesToAnotherFileSystem) {
    TempDrive drive;
    struct stat shm {
    }, fixture{};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(drive.root().c_str(), &fixture) != 0 ||
        shm.st_dev == fixture.st_dev) {
        GTEST_SKIP() << "needs /dev/shm on a file system other than the test folder's";
    }
    std::string other = "/dev/shm/winplat-move-XXXXXX";
    ASSERT_TRUE(::mkdtemp(other.data()));
    winplat::testing::setDrives("C:/;T:" + drive.root().string() + ";S:" + other);
    drive.file("a.bin", "payload");
    drive.folder("folder");
    ::chmod(drive.host("a.bin").c_str(), 0640);

    const bool moved = MoveFileA("T:\\A.BIN", "S:\\b.bin");
    SetLastError(0);
    const bool folderMoved = MoveFileA("T:\\folder", "S:\\folder");
    const DWORD folderError = GetLastError();
    struct stat copy {};
    const bool copied = ::stat((other + "/b.bin").c_str(), &copy) == 0;
    std::filesystem::remove_all(other);

    EXPECT_TRUE(moved);
    EXPECT_FALSE(drive.exists("a.bin"));
    ASSERT_TRUE(copied);
    EXPECT_EQ(copy.st_size, 7);
    EXPECT_EQ(copy.st_mode & 0777, 0640u);
    EXPECT_FALSE(folderMoved);
    EXPECT_EQ(folderError, static_cast<DWORD>(ERROR_NOT_SAME_DEVICE));
    EXPECT_TRUE(drive.exists("folder"));
}

TEST(MoveFileEx, ReplacingPutsTheNewFileInPlaceOfTheOld) {
    TempDrive drive;
    drive.file("doc/picture.bmp", "old");
    drive.file("doc/save.tmp", "new");
    drive.folder("doc/folder");

    EXPECT_FALSE(MoveFileExA("T:\\doc\\save.tmp", "T:\\DOC\\Picture.BMP", 0)) << "without the flag it never replaces";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ASSERT_TRUE(MoveFileExA("T:\\doc\\save.tmp", "T:\\DOC\\Picture.BMP", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(drive.read("doc/picture.bmp"), "new") << "the existing file, found in any case, is replaced";
    EXPECT_FALSE(drive.exists("doc/save.tmp"));

    drive.file("doc/other.tmp", "x");
    EXPECT_FALSE(MoveFileExA("T:\\doc\\other.tmp", "T:\\doc\\folder", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "a folder is never replaced";
    winplat::testing::ScopedDebugAsserts off(false);  // an unknown flag
    EXPECT_FALSE(MoveFileExA("T:\\doc\\other.tmp", "T:\\doc\\x.tmp", 0x10)) << "unknown flags are refused";
    EXPECT_TRUE(drive.exists("doc/other.tmp"));
}

TEST(DeleteFile, DeletesFilesOnly) {
    TempDrive drive;
    drive.file("Docs/Old.txt");
    drive.file("docs/locked.txt");
    ::chmod(drive.host("docs/locked.txt").c_str(), 0444);
    ASSERT_TRUE(DeleteFileA("T:\\DOCS\\OLD.TXT"));
    EXPECT_FALSE(drive.exists("Docs/Old.txt"));
    const struct {
        const char* path;
        DWORD error;
    } refused[] = {
        {"T:\\docs\\old.txt", ERROR_FILE_NOT_FOUND},
        {"T:\\nowhere\\old.txt", ERROR_PATH_NOT_FOUND},
        {"T:\\docs", ERROR_ACCESS_DENIED},
        {"T:\\docs\\locked.txt", ERROR_ACCESS_DENIED},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_FALSE(DeleteFileA(c.path));
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_TRUE(drive.exists("docs/locked.txt"));
}

TEST(RemoveDirectory, RemovesOnlyAnEmptyFolder) {
    TempDrive drive;
    drive.file("docs/full/kept.txt", "kept");
    drive.folder("docs/empty");
    const struct {
        const char* path;
        DWORD error;
    } refused[] = {
        {"T:\\docs\\full", ERROR_DIR_NOT_EMPTY},
        {"T:\\docs\\full\\kept.txt", ERROR_DIRECTORY},
        {"T:\\docs\\missing", ERROR_FILE_NOT_FOUND},
        {"T:\\nowhere\\missing", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_FALSE(RemoveDirectoryA(c.path));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error));
    }
    EXPECT_TRUE(drive.exists("docs/full/kept.txt"));
    ASSERT_TRUE(RemoveDirectoryA("T:\\DOCS\\EMPTY"));
    EXPECT_FALSE(std::filesystem::exists(drive.host("docs/empty")));
}

TEST(CreateDirectory, CreatesInTheCaseGiven) {
    TempDrive drive;
    drive.folder("docs");
    ASSERT_TRUE(CreateDirectoryA("T:\\DOCS\\NewFolder", nullptr));
    EXPECT_TRUE(std::filesystem::is_directory(drive.host("docs/NewFolder")));
    const struct {
        const char* path;
        DWORD error;
    } refused[] = {
        {"T:\\docs\\newfolder", ERROR_ALREADY_EXISTS},
        {"T:\\DOCS", ERROR_ALREADY_EXISTS},
        {"T:\\", ERROR_ALREADY_EXISTS},
        {"T:\\missing\\child", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_FALSE(CreateDirectoryA(c.path, nullptr));
        EXPECT_EQ(GetLastError(), c.error);
    }
    drive.file("plain.txt");
    SetLastError(0);
    EXPECT_FALSE(CreateDirectoryA("T:\\PLAIN.TXT", nullptr)) << "a file of that name is in the way";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST(FileAttributes, FromKindPermissionsAndName) {
    TempDrive drive;
    drive.file("plain.txt");
    drive.file(".profile");
    drive.file("locked.txt");
    drive.folder("docs");
    drive.folder(".cache");
    ::chmod(drive.host("locked.txt").c_str(), 0444);
    const struct {
        const char* path;
        DWORD attributes;
        DWORD error;
    } cases[] = {
        {"T:\\PLAIN.TXT", FILE_ATTRIBUTE_ARCHIVE, NO_ERROR},
        {"T:\\.PROFILE", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, NO_ERROR},
        {"T:\\locked.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, NO_ERROR},
        {"T:\\Docs", FILE_ATTRIBUTE_DIRECTORY, NO_ERROR},
        {"T:\\.cache", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, NO_ERROR},
        {"T:\\", FILE_ATTRIBUTE_DIRECTORY, NO_ERROR},
        {"T:\\missing.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
        {"T:\\missing\\x.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SetLastError(NO_ERROR);
        EXPECT_EQ(GetFileAttributesA(c.path), c.attributes);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST(TempPath, IsTheHostTemporaryFolderInDriveForm) {
    TempDrive drive;
    char buffer[MAX_PATH] = {};
    {
        ScopedEnv env("TMPDIR", drive.root().c_str());
        EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), 3u);
        EXPECT_STREQ(buffer, "T:\\") << "the closest drive names it";
        std::strcpy(buffer, "untouched");
        EXPECT_EQ(GetTempPathA(3, buffer), 4u) << "the size needed with the zero";
        EXPECT_STREQ(buffer, "untouched");
    }
    {
        ScopedEnv env("TMPDIR", nullptr);
        EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), 7u);
        EXPECT_STREQ(buffer, "C:\\tmp\\");
    }
    {
        ScopedEnv env("TMPDIR", "/no/such/folder");
        GetTempPathA(sizeof buffer, buffer);
        EXPECT_STREQ(buffer, "C:\\tmp\\") << "a folder that is not there is passed over";
    }
}

TEST(TempFileName, MakesAndCreatesUniqueNames) {
    TempDrive drive;
    drive.folder("Temp");
    std::set<std::string> names;
    for (int i = 0; i < 20; ++i) {
        char name[MAX_PATH] = {};
        const UINT number = GetTempFileNameA("T:\\TEMP", "lnfont", 0, name);
        ASSERT_NE(number, 0u);
        ASSERT_LE(number, 0xFFFFu);
        char expected[MAX_PATH];
        std::snprintf(expected, sizeof expected, "T:\\TEMP\\lnf%X.TMP", number);
        EXPECT_STREQ(name, expected) << "the prefix is cut to three characters";
        EXPECT_EQ(GetFileAttributesA(name), FILE_ATTRIBUTE_ARCHIVE) << "the file is created";
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 20u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.host("Temp")), {}), 20);
}

TEST(TempFileName, GivenNumberOnlyMakesTheName) {
    TempDrive drive;
    char name[MAX_PATH] = {};
    EXPECT_EQ(GetTempFileNameA("T:\\", "", 0x1234A, name), 0x234Au);
    EXPECT_STREQ(name, "T:\\234A.TMP");
    EXPECT_EQ(GetTempFileNameA("T:", "ab", 7, name), 7u) << "a separator is added";
    EXPECT_STREQ(name, "T:\\ab7.TMP");
    EXPECT_TRUE(std::filesystem::is_empty(drive.root())) << "nothing is created";
}

TEST(TempFileName, FailsInAMissingFolder) {
    TempDrive drive;
    char name[MAX_PATH] = "untouched";
    SetLastError(0);
    EXPECT_EQ(GetTempFileNameA("T:\\missing", "x", 0, name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_STREQ(name, "untouched");
}

}  // namespace
