// The store file: damaged and cut stores, failed and killed writers, and two writing processes.
#include <gtest/gtest.h>

#include "child_processes.h"
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "registry/store_format.h"
#include "registry_fixture.h"
#include "winplat/registry.h"
#include "winplat/testing.h"

namespace {

struct Sample {
    const char* key;
    const char* name;
    DWORD type;
    std::string data;
};

const char* const kSampleKey = "Software\\Tarvo\\Lectern\\4.0\\Viewer";

std::vector<Sample> samples() {
    return {
        {kSampleKey, "Recent1", REG_SZ, std::string("C:\\docs\\a.lcn\0", 14)},
        {kSampleKey, "Width", REG_DWORD, std::string("\x20\x03\0\0", 4)},
        {kSampleKey, "Toolbar", REG_BINARY, std::string("\x01\x00\x7f\xff\x10", 5)},
        {"Software\\Tarvo\\Other", "List", REG_MULTI_SZ, std::string("a\0b\0\0", 5)},
        {"Software\\Tarvo\\Other", "Path", REG_EXPAND_SZ, std::string("%HOME%\\x\0", 9)},
        {"Software\\Tarvo\\Other", "Last", REG_SZ, "\xC8\x65sky \"text\""},
    };
}

class RegistryStoreTest : public RegistryTest {
protected:
    void writeSamples() {
        for (const auto& sample : samples()) {
            ASSERT_EQ(set(HKEY_CURRENT_USER, sample.key, sample.name, sample.type, sample.data), ERROR_SUCCESS);
        }
    }

    // Where the line of each sample's value ends in the store text (past its newline).
    static std::vector<size_t> lineEnds(const std::string& text) {
        std::vector<size_t> ends;
        for (const auto& sample : samples()) {
            const size_t at = text.find(std::string("\"") + sample.name + "\"=");
            EXPECT_NE(at, std::string::npos) << sample.name;
            ends.push_back(text.find('\n', at) + 1);
        }
        return ends;
    }

    // Checks that exactly the samples whose lines lie wholly before 'intactUpTo' load.
    void expectIntactUpTo(size_t intactUpTo, const std::vector<size_t>& ends, const std::string& context) {
        const auto all = samples();
        for (size_t i = 0; i < all.size(); ++i) {
            const auto loaded = query(HKEY_CURRENT_USER, all[i].key, all[i].name);
            if (ends[i] <= intactUpTo) {
                EXPECT_EQ(loaded, std::make_pair(all[i].type, all[i].data)) << all[i].name << " " << context;
            }
        }
    }
};

TEST_F(RegistryStoreTest, AStoreCutAtEveryPositionLoadsWhatIsIntact) {
    writeSamples();
    const std::string whole = storeText();
    const auto ends = lineEnds(whole);
    winplat::testing::DebugCapture debug;
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        writeStore(whole.substr(0, cut));
        winplat::testing::dropRegistry();
        const auto all = samples();
        for (size_t i = 0; i < all.size(); ++i) {
            const auto loaded = query(HKEY_CURRENT_USER, all[i].key, all[i].name);
            if (ends[i] <= cut) {
                EXPECT_EQ(loaded, std::make_pair(all[i].type, all[i].data)) << all[i].name << " cut at " << cut;
            } else {
                EXPECT_FALSE(loaded) << all[i].name << " loaded from an unfinished line, cut at " << cut;
            }
        }
        const bool endsInsideALine = cut > 0 && whole[cut - 1] != '\n';
        EXPECT_EQ(debug.contains("the store ends inside this line"), endsInsideALine) << "cut at " << cut;
        debug.clear();
    }
}

TEST_F(RegistryStoreTest, TheNextWriteKeepsWhatADamagedStoreLoaded) {
    writeSamples();
    const std::string whole = storeText();
    const auto ends = lineEnds(whole);
    // Cut inside the line of the fourth sample.
    const size_t cut = ends[3] - 3;
    writeStore(whole.substr(0, cut));
    winplat::testing::dropRegistry();
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\After", "v", REG_DWORD, std::string("\1\0\0\0", 4)), ERROR_SUCCESS);
    winplat::testing::dropRegistry();
    expectIntactUpTo(cut, ends, "after the next write");
    EXPECT_EQ(query(HKEY_CURRENT_USER, "Software\\After", "v"), std::make_pair(DWORD(REG_DWORD), std::string("\1\0\0\0", 4)));
    EXPECT_TRUE(std::filesystem::exists(storePath() + ".damaged")) << "the damaged file is kept for mending";
}

TEST_F(RegistryStoreTest, FlippedBytesNeverCrashAndLeaveTheLinesBeforeThemAlone) {
    writeSamples();
    const std::string whole = storeText();
    const auto ends = lineEnds(whole);
    for (size_t at = 0; at < whole.size(); ++at) {
        for (const unsigned char mask : {0x01, 0x20, 0x80}) {
            std::string damaged = whole;
            damaged[at] = static_cast<char>(static_cast<unsigned char>(damaged[at]) ^ mask);
            writeStore(damaged);
            winplat::testing::dropRegistry();
            const size_t lineStart = whole.rfind('\n', at == 0 ? 0 : at - 1);
            const size_t intact = at == 0 || lineStart == std::string::npos ? 0 : lineStart + 1;
            expectIntactUpTo(intact, ends, "flip at " + std::to_string(at));
        }
    }
}

TEST_F(RegistryStoreTest, AWriteThatFailsBeforeTheRenameLeavesTheOldStore) {
    writeSamples();
    const std::string before = storeText();
    winplat::testing::DebugCapture debug;
    winplat::testing::failRegistryRenames(1);
    EXPECT_EQ(set(HKEY_CURRENT_USER, kSampleKey, "Width", REG_DWORD, std::string("\7\0\0\0", 4)), ERROR_CANTWRITE);
    EXPECT_TRUE(debug.contains("the store cannot be written"));
    EXPECT_EQ(storeText(), before);
    EXPECT_FALSE(std::filesystem::exists(storePath() + ".tmp"));
    EXPECT_EQ(query(HKEY_CURRENT_USER, kSampleKey, "Width"), std::make_pair(DWORD(REG_DWORD), std::string("\x20\x03\0\0", 4)))
        << "memory goes back to what the file holds";
    EXPECT_EQ(set(HKEY_CURRENT_USER, kSampleKey, "Width", REG_DWORD, std::string("\7\0\0\0", 4)), ERROR_SUCCESS);
}

// A child that rewrites the store in a loop until killed.
[[noreturn]] void writeForever() {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Loop", &key) != ERROR_SUCCESS) _exit(2);
    for (DWORD i = 0;; ++i) {
        const std::string data(1000 + (i % 7) * 300, static_cast<char>('a' + i % 26));
        RegSetValueExA(key, "Big", 0, REG_BINARY, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
        RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i), 4);
    }
}

TEST_F(RegistryStoreTest, AWriterKilledMidWriteLeavesAWholeStore) {
    writeSamples();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) writeForever();
    // Watch the store while the child rewrites it: every version read must parse whole. The
    // child is killed before any check can end the test.
    int versionsSeen = 0;
    std::string last;
    std::string firstProblem;
    for (long look = 0; look < 5000000 && versionsSeen < 30 && firstProblem.empty(); ++look) {
        const std::string text = storeText();
        if (text == last) continue;
        last = text;
        ++versionsSeen;
        const auto parsed = winplat::registry::parse(text);
        if (!parsed.problems.empty()) firstProblem = parsed.problems.front();
    }
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(firstProblem, "");
    EXPECT_GT(versionsSeen, 1) << "the child never wrote";
    EXPECT_TRUE(winplat::registry::parse(storeText()).problems.empty());
    winplat::testing::dropRegistry();
    for (const auto& sample : samples()) {
        EXPECT_EQ(query(HKEY_CURRENT_USER, sample.key, sample.name), std::make_pair(sample.type, sample.data)) << sample.name;
    }
}

[[noreturn]] void writeValues(char prefix, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string name = prefix + std::to_string(i);
        const std::string data = name + "-data";
        HKEY key = nullptr;
        if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Shared", &key) != ERROR_SUCCESS) _exit(2);
        if (RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())) != ERROR_SUCCESS) {
            _exit(3);
        }
        RegCloseKey(key);
    }
    _exit(0);
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceBothKeepTheirValues) {
    constexpr int kEach = 40;
    // Each child starts from the store as it is now, so each must re-read what the other wrote.
    ASSERT_EQ(set(HKEY_CURRENT_USER, "Software\\Shared", "start", REG_SZ, "x"), ERROR_SUCCESS);
    registry_test::runChildren({'a', 'b'}, [](char prefix) { writeValues(prefix, kEach); });
    winplat::testing::dropRegistry();
    for (const char prefix : {'a', 'b'}) {
        for (int i = 0; i < kEach; ++i) {
            const std::string name = prefix + std::to_string(i);
            EXPECT_EQ(query(HKEY_CURRENT_USER, "Software\\Shared", name.c_str()), std::make_pair(DWORD(REG_SZ), name + "-data"));
        }
    }
    EXPECT_EQ(query(HKEY_CURRENT_USER, "Software\\Shared", "start"), std::make_pair(DWORD(REG_SZ), std::string("x")));
}

}  // namespace
