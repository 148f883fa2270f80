// Registry store files under fuzzing, as a damaged or hand-edited store reaches the layer: the
// bytes become the store file of a scratch state folder and are loaded. What must hold for any
// input: loading never crashes, and the next write keeps everything that loaded, so the tree read
// back after a write is the tree loaded before it plus the written value.
//
// Seeds: stores the layer itself wrote, holding every value type, escapes and cp1250 names.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_scratch.h"
#include "winplat/registry.h"
#include "winplat/testing.h"

namespace {

namespace fs = std::filesystem;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// The scratch state folder, named by WINPLAT_STATE for the run and removed when it ends.
struct ScratchState {
    fs::path folder = fuzzScratchPath("registry_fuzz");
    ScratchState() {
        fs::create_directories(folder);
        setenv("WINPLAT_STATE", folder.c_str(), 1);
    }
    ~ScratchState() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    fs::path store() const { return folder / "registry.txt"; }
};

const ScratchState& scratch() {
    static const ScratchState state;
    return state;
}

// The values of one key as lines of text.
void describeValues(HKEY key, std::string& out) {
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD nameSize = sizeof name;
        DWORD type = 0;
        static BYTE data[1 << 16];
        DWORD dataSize = sizeof data;
        const LONG result = RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) break;
        check(result == ERROR_SUCCESS);
        out += std::string("  ") + name + "|" + std::to_string(type) + "|" +
               std::string(reinterpret_cast<char*>(data), dataSize) + "\n";
    }
}

// Every key below a root, depth first, as its depth and name followed by its values. A worklist
// rather than recursion, and no full paths, since stores may nest keys 512 levels deep.
void describe(HKEY root, std::string& out) {
    struct Item {
        HKEY key;
        size_t depth;
        std::string name;
    };
    std::vector<Item> work{{root, 0, std::to_string(reinterpret_cast<uintptr_t>(root))}};
    while (!work.empty()) {
        Item item = std::move(work.back());
        work.pop_back();
        out += std::to_string(item.depth) + " " + item.name + "\n";
        describeValues(item.key, out);
        std::vector<Item> children;
        for (DWORD i = 0;; ++i) {
            char name[512];
            DWORD nameSize = sizeof name;
            const LONG result = RegEnumKeyExA(item.key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
            if (result == ERROR_NO_MORE_ITEMS) break;
            check(result == ERROR_SUCCESS);
            HKEY sub = nullptr;
            check(RegOpenKeyA(item.key, name, &sub) == ERROR_SUCCESS);
            children.push_back({sub, item.depth + 1, name});
        }
        check(RegCloseKey(item.key) == ERROR_SUCCESS);
        work.insert(work.end(), std::make_move_iterator(children.rbegin()), std::make_move_iterator(children.rend()));
    }
}

std::string describeAll() {
    std::string out;
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG,
                      HKEY_DYN_DATA}) {
        describe(root, out);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out(scratch().store(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        check(static_cast<bool>(out));
    }
    winplat::testing::dropRegistry();
    const std::string loaded = describeAll();
    // A value under a root of its own, so it lands after everything that loaded.
    const DWORD marker = 0x5eed;
    check(RegSetValueExA(HKEY_DYN_DATA, "fuzz marker", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&marker),
                         sizeof marker) == ERROR_SUCCESS);
    const std::string written = describeAll();
    winplat::testing::dropRegistry();
    check(describeAll() == written);
    check(written.find(loaded.substr(0, loaded.find(std::to_string(reinterpret_cast<uintptr_t>(HKEY_DYN_DATA))))) == 0);
    // The tree goes with the input that loaded it: libFuzzer runs again every input that leaves
    // more blocks allocated than it freed, to look for a leak.
    winplat::testing::dropRegistry();
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    const auto text = [](const std::string& s) { return FuzzBytes(s.begin(), s.end()); };
    return {
        text("; store\n[HKEY_CURRENT_USER\\Software\\Tarvo\\Lectern\\4.0\\Viewer]\n"
             "\"Recent1\"=sz:\"C:\\\\docs\\\\a.lcn\\0\"\n\"Width\"=dword:00000320\n\"Bar\"=binary:01007fff\n"
             "@=sz:\"default\"\n"),
        text("[HKEY_CLASSES_ROOT\\.htm]\n@=sz:\"htmlfile\\0\"\n[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]\n"
             "@=sz:\"xdg-open \\\"%1\\\"\\0\"\n"),
        text("[HKEY_LOCAL_MACHINE\\T\xC3\xA9ma%01\\x]\n\"M\"=multi_sz:\"a\\0b\\0\\0\"\n\"E\"=expand_sz:\"%TEMP%\\x01\"\n"
             "\"O\"=hex(11):0102\n\"P\xC4\x8D\"=sz:\"\\t\\r\\n\\x81\"\n"),
    };
}
