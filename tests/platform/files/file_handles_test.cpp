// Files through handles: opening by disposition, reading, writing, the file pointer, size, end of
// file, times and closing.
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "temp_drive.h"
#include "winplat/base.h"
#include "winplat/files.h"
#include "winplat/testing.h"

namespace {

using filetest::TempDrive;

HANDLE open(const char* path, DWORD access, DWORD disposition) {
    return CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string readAll(HANDLE file) {
    std::string text(64, '\0');
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr));
    text.resize(read);
    return text;
}

bool write(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

uint64_t ticks(const FILETIME& time) {
    return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}
FILETIME fileTime(uint64_t ticks) {
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

TEST(CreateFile, DispositionsOnExistingAndMissingFiles) {
    const struct {
        DWORD disposition;
        bool exists;
        bool opens;
        DWORD error;
        const char* contentAfter;  // null: no file
    } cases[] = {
        {CREATE_NEW, false, true, NO_ERROR, ""},
        {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
        {CREATE_ALWAYS, false, true, NO_ERROR, ""},
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {OPEN_EXISTING, true, true, NO_ERROR, "old"},
        {OPEN_ALWAYS, false, true, NO_ERROR, ""},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {TRUNCATE_EXISTING, true, true, NO_ERROR, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "disposition " << c.disposition << (c.exists ? " on a file" : " on nothing"));
        TempDrive drive;
        if (c.exists) drive.file("f.txt", "old");
        SetLastError(12345);
        const HANDLE file = open("T:\\F.TXT", GENERIC_READ | GENERIC_WRITE, c.disposition);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
        EXPECT_EQ(GetLastError(), c.error);
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(file));
        }
        const bool created = c.contentAfter && !c.exists;
        const char* name = created ? "F.TXT" : "f.txt";  // a new file keeps the case given
        EXPECT_EQ(drive.exists(name), c.contentAfter != nullptr);
        if (c.contentAfter) {
            EXPECT_EQ(drive.read(name), c.contentAfter);
        }
    }
}

TEST(CreateFile, MissingFolderIsAPathError) {
    TempDrive drive;
    for (DWORD disposition : {CREATE_NEW, CREATE_ALWAYS, OPEN_EXISTING, OPEN_ALWAYS, TRUNCATE_EXISTING}) {
        SCOPED_TRACE(disposition);
        SetLastError(0);
        EXPECT_EQ(open("T:\\nowhere\\f.txt", GENERIC_READ | GENERIC_WRITE, disposition),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    }
}

TEST(CreateFile, RefusesFoldersAndWritingReadOnlyFiles) {
    TempDrive drive;
    drive.folder("docs");
    drive.file("locked.txt", "keep");
    ::chmod(drive.host("locked.txt").c_str(), 0444);
    const struct {
        const char* path;
        DWORD access;
        DWORD disposition;
    } refused[] = {
        {"T:\\docs", GENERIC_READ, OPEN_EXISTING},
        {"T:\\docs", GENERIC_READ, OPEN_ALWAYS},
        {"T:\\locked.txt", GENERIC_WRITE, OPEN_EXISTING},
        {"T:\\locked.txt", GENERIC_READ, CREATE_ALWAYS},
        {"T:\\locked.txt", GENERIC_READ | GENERIC_WRITE, TRUNCATE_EXISTING},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(testing::Message() << c.path << " disposition " << c.disposition);
        SetLastError(0);
        EXPECT_EQ(open(c.path, c.access, c.disposition), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(drive.read("locked.txt"), "keep");
    const HANDLE reader = open("T:\\LOCKED.TXT", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE) << "reading a read-only file is fine";
    EXPECT_EQ(readAll(reader), "keep");
    CloseHandle(reader);
}

TEST(CreateFile, RefusesArgumentsItDoesNotSupport) {
    winplat::testing::ScopedDebugAsserts off(false);  // probes unsupported arguments
    TempDrive drive;
    drive.file("f.txt");
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    SECURITY_ATTRIBUTES plain{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    const HANDLE someHandle = reinterpret_cast<HANDLE>(uintptr_t{0x30000001});
    const struct {
        DWORD access;
        DWORD share;
        LPSECURITY_ATTRIBUTES security;
        DWORD disposition;
        DWORD flags;
        HANDLE templateFile;
        bool logged;
    } cases[] = {
        {0, 0, nullptr, OPEN_EXISTING, 0, nullptr, true},
        {0x10000000, 0, nullptr, OPEN_EXISTING, 0, nullptr, true},  // GENERIC_ALL
        {GENERIC_READ, 4, nullptr, OPEN_EXISTING, 0, nullptr, true},
        {GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr, true},
        {GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0x40000000, nullptr, true},  // overlapped I/O
        {GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, someHandle, true},
        {GENERIC_READ, 0, nullptr, 0, 0, nullptr, false},
        {GENERIC_READ, 0, nullptr, 6, 0, nullptr, false},
        {GENERIC_READ, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr, false},  // truncating needs write access
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "access " << c.access << " disposition " << c.disposition);
        winplat::testing::DebugCapture log;
        SetLastError(0);
        EXPECT_EQ(
            CreateFileA("T:\\f.txt", c.access, c.share, c.security, c.disposition, c.flags, c.templateFile),
            INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        EXPECT_EQ(log.contains("CreateFileA"), c.logged);
    }
    const HANDLE file = CreateFileA("T:\\f.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &plain,
                                    OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << "default security attributes and both sharing bits are accepted";
    CloseHandle(file);
}

TEST(FileHandle, ReadWriteSeekSizeAndEnd) {
    TempDrive drive;
    const HANDLE file = open("T:\\data.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(write(file, "hello world"));
    EXPECT_EQ(GetFileSize(file, nullptr), 11u);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 11u);

    EXPECT_EQ(SetFilePointer(file, 6, nullptr, FILE_BEGIN), 6u);
    char buffer[16] = {};
    DWORD read = 99;
    ASSERT_TRUE(ReadFile(file, buffer, 3, &read, nullptr));
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(std::string(buffer, 3), "wor");
    EXPECT_EQ(SetFilePointer(file, -4, nullptr, FILE_CURRENT), 5u);
    EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_END), 6u);
    EXPECT_EQ(readAll(file), "world");
    read = 99;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr)) << "reading at the end succeeds";
    EXPECT_EQ(read, 0u);

    // Cut at 5, then extend to 8 with zeros.
    SetFilePointer(file, 5, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(file));
    EXPECT_EQ(GetFileSize(file, nullptr), 5u);
    SetFilePointer(file, 8, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(file));
    DWORD high = 7;
    EXPECT_EQ(GetFileSize(file, &high), 8u);
    EXPECT_EQ(high, 0u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(drive.read("data.bin"), std::string("hello\0\0\0", 8));
}

TEST(FileHandle, AccessIsCheckedPerHandle) {
    TempDrive drive;
    drive.file("f.txt", "abc");
    const HANDLE reader = open("T:\\f.txt", GENERIC_READ, OPEN_EXISTING);
    const HANDLE writer = open("T:\\f.txt", GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    char byte = 0;
    DWORD count = 5;
    FILETIME time = fileTime(130000000000000000);
    const struct {
        const char* call;
        bool ok;
    } refused[] = {
        {"WriteFile on a reader", WriteFile(reader, "x", 1, &count, nullptr) != 0},
        {"SetEndOfFile on a reader", SetEndOfFile(reader) != 0},
        {"SetFileTime on a reader", SetFileTime(reader, nullptr, nullptr, &time) != 0},
        {"ReadFile on a writer", ReadFile(writer, &byte, 1, &count, nullptr) != 0},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.call);
        EXPECT_FALSE(r.ok);
    }
    SetLastError(0);
    EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 0u);
    CloseHandle(reader);
    CloseHandle(writer);
    EXPECT_EQ(drive.read("f.txt"), "abc");
}

TEST(FileHandle, SeekErrorsLeaveThePointer) {
    TempDrive drive;
    drive.file("f.txt", "0123456789");
    const HANDLE file = open("T:\\f.txt", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFilePointer(file, 4, nullptr, FILE_BEGIN);
    LONG high = -1;
    const struct {
        LONG distance;
        PLONG high;
        DWORD method;
        DWORD error;
    } cases[] = {
        {-1, nullptr, FILE_BEGIN, ERROR_NEGATIVE_SEEK},
        {-5, nullptr, FILE_CURRENT, ERROR_NEGATIVE_SEEK},
        {-11, nullptr, FILE_END, ERROR_NEGATIVE_SEEK},
        {0, &high, FILE_BEGIN, ERROR_NEGATIVE_SEEK},  // 0xFFFFFFFF'00000000 is negative
        {0, nullptr, 3, ERROR_INVALID_PARAMETER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << " from " << c.method);
        SetLastError(0);
        EXPECT_EQ(SetFilePointer(file, c.distance, c.high, c.method), INVALID_SET_FILE_POINTER);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 4u);
    }
    CloseHandle(file);
}

TEST(FileHandle, PositionsBeyond4GBNeedTheHighPart) {
    TempDrive drive;
    const HANDLE file = open("T:\\big.bin", GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LONG high = 1;
    SetLastError(12345);
    EXPECT_EQ(SetFilePointer(file, 5, &high, FILE_BEGIN), 5u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(high, 1);
    if (!SetEndOfFile(file)) {
        CloseHandle(file);
        GTEST_SKIP() << "the test folder's file system cannot hold a sparse 4 GB file";
    }
    DWORD sizeHigh = 0;
    EXPECT_EQ(GetFileSize(file, &sizeHigh), 5u);
    EXPECT_EQ(sizeHigh, 1u);
    SetLastError(0);
    EXPECT_EQ(GetFileSize(file, nullptr), INVALID_FILE_SIZE) << "the size does not fit in 32 bits";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    // Without the high part the pointer cannot go past 4 GB, and must not wrap.
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    SetLastError(0);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 0u);

    // 0x1'FFFFFFFF: a low part equal to the failure value, told apart by the last error.
    high = -1;
    SetLastError(12345);
    EXPECT_EQ(SetFilePointer(file, -6, &high, FILE_END), 0xFFFFFFFFu);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(high, 0);
    high = 0;
    EXPECT_EQ(SetFilePointer(file, 0x10, &high, FILE_CURRENT), 0x0000000Fu);
    EXPECT_EQ(high, 1);
    CloseHandle(file);
}

TEST(FileHandle, TimesRoundTripInHundredsOfNanoseconds) {
    TempDrive drive;
    drive.file("f.txt", "x");
    const HANDLE file = open("T:\\f.txt", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    // 2001-02-03 04:05:06.1234567 UTC and the Unix epoch, in ticks since 1601.
    const uint64_t written = 126256467061234567;
    const uint64_t accessed = 116444736000000000;
    const FILETIME setWrite = fileTime(written), setAccess = fileTime(accessed);
    ASSERT_TRUE(SetFileTime(file, nullptr, &setAccess, &setWrite));

    FILETIME creation{}, access{}, write{};
    ASSERT_TRUE(GetFileTime(file, &creation, &access, &write));
    EXPECT_EQ(ticks(write), written);
    EXPECT_EQ(ticks(access), accessed);
    EXPECT_EQ(ticks(creation), written) << "creation reads as the last write";
    struct stat status {};
    ASSERT_EQ(::stat(drive.host("f.txt").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtim.tv_sec, 981173106);
    EXPECT_EQ(status.st_mtim.tv_nsec, 123456700);
    EXPECT_EQ(status.st_atim.tv_sec, 0);

    // Null and all-zero times are left alone; creation alone has nowhere to go.
    const FILETIME zero{0, 0}, other = fileTime(written + 10000000);
    ASSERT_TRUE(SetFileTime(file, &other, &zero, nullptr));
    ASSERT_TRUE(GetFileTime(file, nullptr, &access, &write));
    EXPECT_EQ(ticks(write), written);
    EXPECT_EQ(ticks(access), accessed);
    CloseHandle(file);
}

// What an open handle tells of its file: size and write time as they change, and whether the name
// still leads to it (a replaced or deleted file has no names left).
TEST(FileHandle, InformationFollowsTheFileAndItsName) {
    TempDrive drive;
    drive.file("f.txt", "four");
    drive.file("other.txt", "other");
    const HANDLE file = open("T:\\f.txt", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    BY_HANDLE_FILE_INFORMATION info{};
    ASSERT_TRUE(GetFileInformationByHandle(file, &info));
    EXPECT_EQ(info.nFileSizeLow, 4u);
    EXPECT_EQ(info.nFileSizeHigh, 0u);
    EXPECT_EQ(info.nNumberOfLinks, 1u);
    EXPECT_EQ(info.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
    struct stat status {};
    ASSERT_EQ(::stat(drive.host("f.txt").c_str(), &status), 0);
    EXPECT_EQ((uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow, status.st_ino);

    const uint64_t written = 126256467061234567;
    const FILETIME setWrite = fileTime(written);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &setWrite));
    ASSERT_TRUE(write(file, "longer"));
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &setWrite));
    ASSERT_TRUE(GetFileInformationByHandle(file, &info));
    EXPECT_EQ(info.nFileSizeLow, 6u);
    EXPECT_EQ(ticks(info.ftLastWriteTime), written);

    // Another file moved over the name: the handle keeps the old file, which no name leads to.
    ASSERT_TRUE(MoveFileExA("T:\\other.txt", "T:\\f.txt", MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(GetFileInformationByHandle(file, &info));
    EXPECT_EQ(info.nNumberOfLinks, 0u);
    EXPECT_EQ(info.nFileSizeLow, 6u);
    const HANDLE again = open("T:\\f.txt", GENERIC_READ, OPEN_EXISTING);
    BY_HANDLE_FILE_INFORMATION now{};
    ASSERT_TRUE(GetFileInformationByHandle(again, &now));
    EXPECT_EQ(now.nNumberOfLinks, 1u);
    EXPECT_NE(now.nFileIndexLow, info.nFileIndexLow);
    EXPECT_EQ(now.nFileSizeLow, 5u);
    ASSERT_TRUE(DeleteFileA("T:\\f.txt"));
    ASSERT_TRUE(GetFileInformationByHandle(again, &now));
    EXPECT_EQ(now.nNumberOfLinks, 0u);
    CloseHandle(again);
    CloseHandle(file);

    EXPECT_FALSE(GetFileInformationByHandle(file, &info)) << "a closed handle";
    SetLastError(NO_ERROR);
    EXPECT_FALSE(GetFileInformationByHandle(again, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(FileHandle, StaleAndForeignHandlesAreRefused) {
    TempDrive drive;
    drive.file("f.txt", "x");
    const HANDLE file = open("T:\\f.txt", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(file));
    int dummy = 0;
    char byte = 0;
    DWORD count = 7;
    const HANDLE bad[] = {file, INVALID_HANDLE_VALUE, nullptr,
                          reinterpret_cast<HANDLE>(uintptr_t{0x10100001})};
    for (HANDLE h : bad) {
        SCOPED_TRACE(reinterpret_cast<uintptr_t>(h));
        SetLastError(0);
        EXPECT_FALSE(ReadFile(h, &byte, 1, &count, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
        EXPECT_EQ(GetFileSize(h, nullptr), INVALID_FILE_SIZE);
        EXPECT_FALSE(CloseHandle(h));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    const HANDLE open2 = open("T:\\f.txt", GENERIC_READ, OPEN_EXISTING);
    SetLastError(0);
    winplat::testing::ScopedDebugAsserts off(false);  // overlapped reading is not supported
    EXPECT_FALSE(ReadFile(open2, &byte, 1, &count, reinterpret_cast<LPOVERLAPPED>(&dummy)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(open2);
}

TEST(FileHandle, ThreadsShareFilesAndHandles) {
    TempDrive drive;
    // 1000 records of 4 bytes, record i holding i: each read of the shared handle takes the next one.
    std::string records(4000, '\0');
    for (uint32_t i = 0; i < 1000; ++i) std::memcpy(&records[i * 4], &i, 4);
    drive.file("Shared/Records.bin", records);
    const HANDLE shared = open("T:\\shared\\records.bin", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(shared, INVALID_HANDLE_VALUE);

    std::atomic<int> failures{0};
    std::vector<std::vector<uint32_t>> seen(8);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (;;) {
                uint32_t record = 0;
                DWORD read = 0;
                if (!ReadFile(shared, &record, 4, &read, nullptr)) ++failures;
                if (read != 4) break;
                seen[t].push_back(record);
            }
            // Each thread also opens the file by another spelling, and makes a file of its own.
            const HANDLE mine = open("T:\\SHARED\\RECORDS.BIN", GENERIC_READ, OPEN_EXISTING);
            if (mine == INVALID_HANDLE_VALUE || GetFileSize(mine, nullptr) != 4000 || !CloseHandle(mine))
                ++failures;
            const std::string name = "T:\\shared\\own" + std::to_string(t) + ".txt";
            const HANDLE own = open(name.c_str(), GENERIC_WRITE, CREATE_NEW);
            if (own == INVALID_HANDLE_VALUE || !write(own, std::to_string(t)) || !CloseHandle(own))
                ++failures;
        });
    }
    for (std::thread& thread : threads) thread.join();
    CloseHandle(shared);
    EXPECT_EQ(failures.load(), 0);
    std::vector<int> times(1000, 0);
    for (const auto& list : seen) {
        for (uint32_t record : list) {
            ASSERT_LT(record, 1000u);
            ++times[record];
        }
    }
    EXPECT_EQ(std::count(times.begin(), times.end(), 1), 1000) << "every record read exactly once";
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(drive.read("Shared/own" + std::to_string(t) + ".txt"), std::to_string(t));
}

}  // namespace
