// The registry: 100,000 reads and 100,000 writes of one value of one key. Reads answer from the
// store in memory, in a tree of 100 keys and in one of 10,000 (100 groups of 100): the cost of a
// read (per_read) should not grow with the tree. Each write rewrites the store file (temporary
// file, fsync, rename) under its lock, so writes measure the file system the state folder is on
// (a temporary folder here).
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "winplat/registry.h"

namespace {

// A state folder of the benchmark's own, so no one's settings are touched.
const std::string& stateFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "bench_registry_XXXXXX").string();
        if (!mkdtemp(pattern.data())) return std::string();
        setenv("WINPLAT_STATE", pattern.c_str(), 1);
        return pattern;
    }();
    return folder;
}

HKEY benchKey() {
    static HKEY key = [] {
        HKEY opened = nullptr;
        if (stateFolder().empty()) return opened;
        RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Tarvo\\Lectern\\4.0\\Viewer", &opened);
        const DWORD value = 1;
        RegSetValueExA(opened, "Width", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        return opened;
    }();
    return key;
}

// A state folder of its own holding a store of 'keys' keys in groups of 100, each key with a
// few values; the key read is the last of the last group, where a search in creation order ends.
// The store is the file a user's would be, written before the first call reads it.
HKEY treeKey(int64_t keys) {
    const std::string folder = stateFolder() + "/tree" + std::to_string(keys);
    std::filesystem::create_directories(folder);
    {
        std::ofstream store(folder + "/registry.txt", std::ios::binary | std::ios::trunc);
        char path[96];
        for (int64_t i = 0; i < keys; ++i) {
            snprintf(path, sizeof path, "[HKEY_CURRENT_USER\\Software\\Tarvo\\Group%03lld\\Key%03lld]\n",
                     static_cast<long long>(i / 100), static_cast<long long>(i % 100));
            store << path << "\"Left\"=dword:00000010\n\"Top\"=dword:00000020\n\"Height\"=dword:00000030\n"
                  << "\"Title\"=sz:\"Viewer\\0\"\n\"Width\"=dword:00000001\n";
        }
    }
    setenv("WINPLAT_STATE", folder.c_str(), 1);
    char last[64];
    snprintf(last, sizeof last, "Software\\Tarvo\\Group%03lld\\Key%03lld", static_cast<long long>((keys - 1) / 100),
             static_cast<long long>((keys - 1) % 100));
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, last, 0, KEY_READ, &opened) != ERROR_SUCCESS) return nullptr;
    return opened;
}

void BM_RegistryReads(benchmark::State& state) {
    if (stateFolder().empty()) return state.SkipWithError("no state folder for the store");
    HKEY key = treeKey(state.range(0));
    if (!key) return state.SkipWithError("the store written for the benchmark did not load");
    constexpr int64_t kReads = 100'000;
    for (auto _ : state) {
        DWORD sum = 0;
        for (int64_t i = 0; i < kReads; ++i) {
            DWORD value = 0;
            DWORD size = sizeof value;
            RegQueryValueExA(key, "Width", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
            sum += value;
        }
        if (sum != kReads) return state.SkipWithError("a read did not give the value stored");
    }
    RegCloseKey(key);
    setenv("WINPLAT_STATE", stateFolder().c_str(), 1);
    state.SetItemsProcessed(state.iterations() * kReads);
    state.counters["per_read"] = benchmark::Counter(kReads, benchmark::Counter::kIsIterationInvariantRate |
                                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_RegistryReads)->Arg(100)->Arg(10'000)->Unit(benchmark::kMillisecond);

void BM_RegistryWrites(benchmark::State& state) {
    HKEY key = benchKey();
    if (!key) return state.SkipWithError("no state folder for the store");
    const auto count = state.range(0);
    DWORD value = 0;
    for (auto _ : state) {
        for (int64_t i = 0; i < count; ++i) {
            ++value;  // a changed value each time: an unchanged one is not written
            if (RegSetValueExA(key, "Width", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) !=
                ERROR_SUCCESS) {
                return state.SkipWithError("a write failed");
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_RegistryWrites)->Arg(100'000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Makes the benchmark's state folder at start (so it outlives this object) and removes it at the end.
struct Cleanup {
    Cleanup() { stateFolder(); }
    ~Cleanup() {
        std::error_code ignored;
        if (!stateFolder().empty()) std::filesystem::remove_all(stateFolder(), ignored);
    }
} cleanup;

}  // namespace
