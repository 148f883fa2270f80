// The registry: 100,000 reads and 100,000 writes of one value of one key. Reads answer from the
// store in memory; each write rewrites the store file (temporary file, fsync, rename) under its
// lock, so writes measure the file system the state folder is on (a temporary folder here).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
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

void BM_RegistryReads(benchmark::State& state) {
    HKEY key = benchKey();
    if (!key) return state.SkipWithError("no state folder for the store");
    const auto count = state.range(0);
    for (auto _ : state) {
        DWORD sum = 0;
        for (int64_t i = 0; i < count; ++i) {
            DWORD value = 0;
            DWORD size = sizeof value;
            RegQueryValueExA(key, "Width", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_RegistryReads)->Arg(100'000)->Unit(benchmark::kMillisecond);

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
