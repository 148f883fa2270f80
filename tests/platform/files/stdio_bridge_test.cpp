// C streams on Windows paths, and the descriptor behind a file handle.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "temp_drive.h"
#include "winplat/base.h"
#include "winplat/files.h"
#include "winplat/stdio_bridge.h"

namespace {

using filetest::TempDrive;

std::string readStream(FILE* stream) {
    std::string text;
    char buffer[64];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, stream)) text.append(buffer, n);
    return text;
}

TEST(StdioBridge, ReadsAndWritesTranslatedFiles) {
    TempDrive drive;
    drive.file("Docs/Notes.txt", "notes");
    FILE* in = winplat_fopen("T:\\DOCS\\NOTES.TXT", "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(readStream(in), "notes");
    std::fclose(in);

    FILE* out = winplat_fopen("t:/docs/New.TXT", "wb");
    ASSERT_NE(out, nullptr);
    std::fputs("new", out);
    std::fclose(out);
    EXPECT_EQ(drive.read("Docs/New.TXT"), "new") << "the folder as found, the new name as given";

    out = winplat_fopen("T:\\docs\\NOTES.txt", "a");
    ASSERT_NE(out, nullptr);
    std::fputs("+more", out);
    std::fclose(out);
    EXPECT_EQ(drive.read("Docs/Notes.txt"), "notes+more")
        << "an existing file in another case is the one opened";

    FILE* update = winplat_fopen("T:\\Docs\\Notes.txt", "r+t");
    ASSERT_NE(update, nullptr);
    std::fputs("N", update);
    std::fclose(update);
    EXPECT_EQ(drive.read("Docs/Notes.txt"), "Notes+more");
}

TEST(StdioBridge, FailuresSetErrno) {
    TempDrive drive;
    drive.file("locked.txt", "keep");
    drive.folder("docs");
    ::chmod(drive.host("locked.txt").c_str(), 0444);
    const struct {
        const char* path;
        const char* mode;
        int error;
    } cases[] = {
        {"T:\\missing.txt", "rb", ENOENT}, {"T:\\missing\\new.txt", "wb", ENOENT},
        {"T:\\locked.txt", "wb", EACCES},  {"T:\\locked.txt", "r+b", EACCES},
        {"T:\\docs", "w", EISDIR},         {"T:\\a?.txt", "w", EINVAL},
        {"T:\\x.txt", "x", EINVAL},        {"T:\\x.txt", "wz", EINVAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << " " << c.mode);
        errno = 0;
        EXPECT_EQ(winplat_fopen(c.path, c.mode), nullptr);
        EXPECT_EQ(errno, c.error);
    }
    EXPECT_EQ(drive.read("locked.txt"), "keep");
    EXPECT_FALSE(drive.exists("x.txt"));
}

// A read opens the name as given when it is spelt as on disk, and looks for it case-insensitively
// only when that fails; either way the file and the error are the ones the folder walk gives.
TEST(StdioBridge, ReadsOpenTheNameFoundWhateverWayItIsFound) {
    TempDrive drive;
    drive.file("Pics/Photo.jpg", "exact");
    drive.file("Pics/PHOTO.jpg", "other case");
    drive.file("Pics/only.JPG", "only");
    drive.file("Pics/plain.txt", "a file, no folder");
    ASSERT_EQ(::symlink("nowhere.jpg", drive.host("Pics/dangling.jpg").c_str()), 0);
    const struct {
        const char* path;
        const char* contents;  // null: the open fails with 'error'
        int error;
    } cases[] = {
        {"T:\\Pics\\Photo.jpg", "exact", 0},
        {"T:\\Pics\\PHOTO.jpg", "other case", 0},
        {"T:\\pics\\photo.JPG", "other case", 0},  // the first in byte order of names folding alike
        {"T:\\Pics\\ONLY.jpg", "only", 0},
        {"T:\\Pics\\dangling.jpg", nullptr, ENOENT},
        {"T:\\Pics\\plain.txt\\x.jpg", nullptr, ENOENT},  // a file where a folder is wanted
        {"T:\\Pics\\missing.jpg", nullptr, ENOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        errno = 0;
        FILE* in = winplat_fopen(c.path, "rb");
        if (!c.contents) {
            EXPECT_EQ(in, nullptr);
            EXPECT_EQ(errno, c.error);
            continue;
        }
        ASSERT_NE(in, nullptr);
        EXPECT_EQ(readStream(in), c.contents);
        std::fclose(in);
    }
}

TEST(StdioBridge, HandleDescriptorIsTheOpenFile) {
    TempDrive drive;
    drive.file("data.bin", "0123456789");
    const HANDLE file = CreateFileA("T:\\DATA.BIN", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const int fd = winplat_handle_fd(file);
    ASSERT_GE(fd, 0);
    struct stat viaHandle {
    }, onDisk{};
    ASSERT_EQ(::fstat(fd, &viaHandle), 0);
    ASSERT_EQ(::stat(drive.host("data.bin").c_str(), &onDisk), 0);
    EXPECT_EQ(viaHandle.st_ino, onDisk.st_ino);

    // The descriptor shares the handle's file pointer.
    SetFilePointer(file, 4, nullptr, FILE_BEGIN);
    char byte = 0;
    ASSERT_EQ(::read(fd, &byte, 1), 1);
    EXPECT_EQ(byte, '4');
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 5u);

    ASSERT_TRUE(CloseHandle(file));
    SetLastError(0);
    EXPECT_EQ(winplat_handle_fd(file), -1) << "a closed handle has none";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(winplat_handle_fd(INVALID_HANDLE_VALUE), -1);
    EXPECT_EQ(winplat_handle_fd(nullptr), -1);
}

}  // namespace
