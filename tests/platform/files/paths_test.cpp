// Windows paths to host paths and back: the absolute form, the case-insensitive lookup, the
// listing cache, current directories per drive and the drive table.
#include <unistd.h>

#include <climits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "winplat/paths.h"
#include "temp_drive.h"
#include "winplat/base.h"
#include "winplat/files.h"
#include "winplat/testing.h"

namespace {

using filetest::ScopedEnv;
using filetest::TempDrive;
using winplat::files::fullPath;
using winplat::files::resolve;
using winplat::files::toWindows;

// cp1250 spellings of the Czech names used on disk in UTF-8.
const std::string kAccountsCp = "\xDA\xE8ty";                    // Účty
const std::string kYellowCp = "\x9Elu\x9Dou\xE8k\xFD.txt";       // žluťoučký.txt
const std::string kYellowUpperCp = "\x8ELU\x8DOU\xC8K\xDD.TXT";  // ŽLUŤOUČKÝ.TXT

std::string hostCwd() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? buffer : "";
}

std::string currentDirectory() {
    char buffer[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return std::string(buffer, length < sizeof buffer ? length : 0);
}

TEST(FullPath, FormsOfAWindowsPath) {
    TempDrive drive;
    drive.folder("docs/sub");
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    ASSERT_TRUE(SetCurrentDirectoryA("T:\\docs\\sub"));
    const struct {
        const char* path;
        const char* full;
    } cases[] = {
        {"C:\\a\\b", "C:\\a\\b"},
        {"c:/a//b\\\\", "C:\\a\\b"},
        {"C:\\", "C:\\"},
        {"\\x", "T:\\x"},  // root of the current drive
        {"/x/./y", "T:\\x\\y"},
        {"x\\y", "T:\\docs\\sub\\x\\y"},  // from the current directory
        {"..\\x", "T:\\docs\\x"},
        {".", "T:\\docs\\sub"},
        {"T:", "T:\\docs\\sub"},  // the drive's own current directory
        {"T:..", "T:\\docs"},
        {"C:x", "C:\\x"},          // C: still at its root
        {"\\..\\..\\x", "T:\\x"},  // never above the root
        {"C:\\a\\..\\..\\..\\b", "C:\\b"},
        {"name.\\ext. .", "T:\\docs\\sub\\name\\ext"},  // trailing dots and spaces are not part of a name
        {"...\\x", "T:\\docs\\sub\\x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fullPath(c.path), std::optional<std::string>(c.full));
    }
}

TEST(FullPath, RefusesWhatNamesNoFile) {
    TempDrive drive;
    const struct {
        const char* path;
        DWORD error;
    } cases[] = {
        {"", ERROR_PATH_NOT_FOUND},
        {"Q:\\x", ERROR_PATH_NOT_FOUND},                 // no such drive
        {"\\\\server\\share\\x", ERROR_PATH_NOT_FOUND},  // network path
        {"T:\\a?b", ERROR_INVALID_NAME},
        {"T:\\*.*", ERROR_INVALID_NAME},
        {"T:\\a:b", ERROR_INVALID_NAME},
        {"T:\\a|b", ERROR_INVALID_NAME},
        {"T:\\a\"b", ERROR_INVALID_NAME},
        {"T:\\a\tb", ERROR_INVALID_NAME},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_EQ(fullPath(c.path), std::nullopt);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(resolve(c.path, true), std::nullopt);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST(Resolve, FindsNamesWhateverTheirCase) {
    TempDrive drive;
    drive.file("Docs/Sub/Manual.lcn", "m");
    const char* spellings[] = {"T:\\Docs\\Sub\\Manual.lcn", "t:\\DOCS\\sub\\MANUAL.LCN",
                               "T:/docs\\SUB//manual.Lcn", "T:\\docs\\..\\DOCS\\.\\Sub\\manual.lcn"};
    for (const char* path : spellings) {
        SCOPED_TRACE(path);
        EXPECT_EQ(resolve(path), drive.host("Docs/Sub/Manual.lcn"));
        EXPECT_EQ(resolve(path, true), drive.host("Docs/Sub/Manual.lcn")) << "an existing file is reused";
    }
    EXPECT_EQ(resolve("T:\\DOCS\\SUB"), drive.host("Docs/Sub"));
    EXPECT_EQ(resolve("T:\\..\\..\\docs"), drive.host("Docs")) << "'..' stops at the drive root";
    EXPECT_EQ(resolve("T:\\"), drive.root().string());
}

TEST(Resolve, MissingComponentsNameTheirError) {
    TempDrive drive;
    drive.file("Docs/Manual.lcn");
    const struct {
        const char* path;
        bool forCreate;
        DWORD error;
    } cases[] = {
        {"T:\\Docs\\Missing.lcn", false, ERROR_FILE_NOT_FOUND},
        {"T:\\Missing\\Manual.lcn", false, ERROR_PATH_NOT_FOUND},
        {"T:\\Missing\\Manual.lcn", true, ERROR_PATH_NOT_FOUND},
        {"T:\\Docs\\Missing\\Deeper\\x", true, ERROR_PATH_NOT_FOUND},
        {"T:\\Docs\\Manual.lcn\\x", false, ERROR_PATH_NOT_FOUND},  // a file where a folder must be
        {"T:\\Docs\\Manual.lcn\\x", true, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_EQ(resolve(c.path, c.forCreate), std::nullopt);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST(Resolve, CzechNamesAreUtf8OnDiskAndFoldTheirCase) {
    TempDrive drive;
    drive.file("Účty/žluťoučký.txt", "kůň");
    const std::string expected = drive.host("Účty/žluťoučký.txt");
    EXPECT_EQ(resolve("T:\\" + kAccountsCp + "\\" + kYellowCp), expected);
    EXPECT_EQ(resolve("T:\\" + kAccountsCp + "\\" + kYellowUpperCp), expected);
    // "ÚČTY": only the cp1250 rule folds Č to č.
    EXPECT_EQ(resolve("T:\\\xDA\xC8TY\\" + kYellowUpperCp), expected);
    // A new Czech name goes to disk in UTF-8.
    EXPECT_EQ(resolve("T:\\" + kAccountsCp +
                          "\\\x8A"
                          "afr\xE1n.txt",
                      true),
              drive.host("Účty/Šafrán.txt"));
}

TEST(Resolve, ExactNameWinsOverOtherCases) {
    TempDrive drive;
    drive.file("Readme.txt", "mixed");
    drive.file("README.TXT", "upper");
    EXPECT_EQ(resolve("T:\\Readme.txt"), drive.host("Readme.txt"));
    EXPECT_EQ(resolve("T:\\README.TXT"), drive.host("README.TXT"));
    // Neither is exact: the first in byte order, the same every time.
    EXPECT_EQ(resolve("T:\\readme.txt"), drive.host("README.TXT"));
    EXPECT_EQ(resolve("T:\\readme.txt", true), drive.host("README.TXT"));
}

TEST(Resolve, FolderOnTheWayPassesOverAFileOfTheSameName) {
    TempDrive drive;
    drive.file("Data", "a file");
    drive.file("data/x.txt", "x");
    EXPECT_EQ(resolve("T:\\DATA\\X.TXT"), drive.host("data/x.txt"));
    EXPECT_EQ(resolve("T:\\Data\\x.txt"), drive.host("data/x.txt"));
    EXPECT_EQ(resolve("T:\\Data"), drive.host("Data")) << "as the last name the exact entry still wins";
}

TEST(Resolve, NewNameKeepsTheCaseGiven) {
    TempDrive drive;
    drive.folder("docs");
    EXPECT_EQ(resolve("T:\\DOCS\\NewFile.TXT", true), drive.host("docs/NewFile.TXT"));
    SetLastError(0);
    EXPECT_EQ(resolve("T:\\DOCS\\NewFile.TXT"), std::nullopt);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Resolve, ListingIsReadAgainOnlyWhenTheFolderChanges) {
    TempDrive drive;
    drive.file("pics/Alpha.bmp");
    drive.ageFolder("pics");
    EXPECT_EQ(resolve("T:\\PICS\\ALPHA.BMP"), drive.host("pics/Alpha.bmp"));  // listing read and kept

    // A name added behind the folder's back (its time put back as it was) stays unseen: the kept
    // listing is used, not a new one.
    drive.file("pics/Beta.bmp");
    drive.ageFolder("pics");
    EXPECT_EQ(resolve("T:\\PICS\\BETA.BMP"), std::nullopt);
    EXPECT_EQ(resolve("T:\\pics\\Beta.bmp"), drive.host("pics/Beta.bmp"))
        << "the exact name needs no listing";

    // Any change of the folder's time makes the next lookup read it again.
    drive.file("pics/Gamma.bmp");
    EXPECT_EQ(resolve("T:\\PICS\\GAMMA.BMP"), drive.host("pics/Gamma.bmp"));
    EXPECT_EQ(resolve("T:\\PICS\\BETA.BMP"), drive.host("pics/Beta.bmp"));
}

TEST(Resolve, FreshListingOfARecentlyChangedFolderIsNotTrusted) {
    // Host file times are coarse: a name added within the same tick as the listing leaves the
    // folder's time unchanged, so a folder changed just now is read again on every lookup.
    TempDrive drive;
    drive.file("new/One.txt");
    EXPECT_EQ(resolve("T:\\NEW\\ONE.TXT"), drive.host("new/One.txt"));
    struct stat before {};
    ASSERT_EQ(::stat(drive.host("new").c_str(), &before), 0);
    drive.file("new/Two.txt");
    const timespec sameTime[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, drive.host("new").c_str(), sameTime, 0), 0);
    EXPECT_EQ(resolve("T:\\NEW\\TWO.TXT"), drive.host("new/Two.txt"));
}

TEST(CurrentDirectory, EachDriveKeepsItsOwn) {
    TempDrive drive;
    drive.folder("docs/sub");
    ASSERT_TRUE(SetCurrentDirectoryA("T:\\DOCS"));
    EXPECT_EQ(currentDirectory(), "T:\\DOCS") << "kept as given";
    ASSERT_TRUE(SetCurrentDirectoryA("sub"));
    EXPECT_EQ(currentDirectory(), "T:\\DOCS\\sub");
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    EXPECT_EQ(currentDirectory(), "C:\\");
    EXPECT_EQ(fullPath("T:x"), std::optional<std::string>("T:\\DOCS\\sub\\x"))
        << "T: remembers its directory";
    EXPECT_EQ(resolve("T:.."), drive.host("docs"));
    ASSERT_TRUE(SetCurrentDirectoryA("T:"));
    EXPECT_EQ(currentDirectory(), "T:\\DOCS\\sub");
    EXPECT_EQ(resolve("..\\SUB"), drive.host("docs/sub"));
}

TEST(CurrentDirectory, RefusesWhatIsNoFolder) {
    TempDrive drive;
    drive.file("docs/a.txt");
    ASSERT_TRUE(SetCurrentDirectoryA("T:\\docs"));
    const struct {
        const char* path;
        DWORD error;
    } cases[] = {
        {"T:\\docs\\missing", ERROR_FILE_NOT_FOUND},
        {"T:\\missing\\deeper", ERROR_PATH_NOT_FOUND},
        {"T:\\docs\\a.txt", ERROR_DIRECTORY},
        {"Q:\\", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_FALSE(SetCurrentDirectoryA(c.path));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(currentDirectory(), "T:\\docs") << "unchanged";
    }
}

TEST(CurrentDirectory, BufferTooSmallAsksForTheSizeWithTheZero) {
    TempDrive drive;
    drive.folder("abc");
    ASSERT_TRUE(SetCurrentDirectoryA("T:\\abc"));  // "T:\abc": 6 characters
    char buffer[16] = "untouched";
    EXPECT_EQ(GetCurrentDirectoryA(6, buffer), 7u);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), 7u);
    EXPECT_EQ(GetCurrentDirectoryA(7, buffer), 6u);
    EXPECT_STREQ(buffer, "T:\\abc");
}

TEST(CurrentDirectory, StartsAtTheProcessWorkingFolderInDriveForm) {
    TempDrive drive;
    drive.folder("work/here");
    const std::string saved = hostCwd();
    ASSERT_EQ(::chdir(drive.host("work/here").c_str()), 0);
    winplat::testing::setDrives("C:/;T:" + drive.root().string());
    const std::string started = currentDirectory();
    ASSERT_EQ(::chdir(saved.c_str()), 0);
    EXPECT_EQ(started, "T:\\work\\here") << "under the drive that holds it most closely";
    EXPECT_EQ(fullPath("C:x"), std::optional<std::string>("C:\\x")) << "other drives start at their root";

    winplat::testing::setDrives("C:/");
    EXPECT_EQ(currentDirectory(), toWindows(saved));
    EXPECT_EQ(currentDirectory().substr(0, 3), "C:\\");
}

TEST(ToWindows, NamesUnderTheClosestDrive) {
    TempDrive drive;
    drive.folder("cd");
    drive.folder("real");
    std::filesystem::create_symlink(drive.host("real"), drive.host("link"));
    const std::string root = drive.root().string();
    winplat::testing::setDrives("C:/;D:" + root + "/cd/;L:" + root + "/link");
    const struct {
        std::string host;
        std::string windows;
    } cases[] = {
        {"/usr/share", "C:\\usr\\share"},
        {root + "/cd", "D:\\"},
        {root + "/cd/a//b/", "D:\\a\\b\\"},
        {root + "/cdrom/a", toWindows(root) + "\\cdrom\\a"},  // a longer name is not inside D:
        {std::filesystem::canonical(drive.host("real")).string() + "/x",
         "L:\\x"},  // the drive's folder is a link
        {root + "/link/x", "L:\\x"},
        {"/tmp/\xE2\x98\x83.txt", "C:\\tmp\\?.txt"},         // the snowman has no cp1250 byte
        {"/tmp/\xC5\xBElu\xC5\xA5", "C:\\tmp\\\x9Elu\x9D"},  // žluť
        {"/tmp/a:b\\c", "C:\\tmp\\a?b?c"},                   // characters no Windows name holds
        {"rel/path", "rel\\path"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        EXPECT_EQ(toWindows(c.host), c.windows);
    }
    EXPECT_EQ(resolve(toWindows(root + "/real/x"), true), root + "/link/x");

    winplat::testing::setDrives("D:" + root);
    EXPECT_EQ(toWindows("/usr/share"), "") << "no drive holds it";
    EXPECT_EQ(toWindows(root + "/cd"), "D:\\cd");
}

TEST(DriveTable, ComesFromTheEnvironment) {
    TempDrive drive;
    drive.file("x.txt");
    const std::string spec = "C:/;bogus;Q:relative;;d:" + drive.root().string() + "/";
    ScopedEnv env("WINPLAT_DRIVES", spec.c_str());
    winplat::testing::DebugCapture log;
    winplat::testing::setDrives("");
    EXPECT_EQ(resolve("D:\\X.TXT"), drive.host("x.txt"));
    EXPECT_EQ(toWindows(drive.host("x.txt")), "D:\\x.txt");
    EXPECT_EQ(fullPath("Q:\\"), std::nullopt) << "the malformed entry is skipped";
    EXPECT_TRUE(log.contains("bogus"));
    EXPECT_EQ(resolve("T:\\x.txt"), std::nullopt) << "the test's own table was replaced";
}

TEST(DriveTable, DefaultIsTheHostRootAsC) {
    ScopedEnv env("WINPLAT_DRIVES", nullptr);
    winplat::testing::setDrives("");
    EXPECT_EQ(resolve("C:\\"), std::optional<std::string>("/"));
    EXPECT_EQ(toWindows("/etc"), "C:\\etc");
    EXPECT_EQ(fullPath("D:\\"), std::nullopt);
}

}  // namespace
