// The link-target tables of document record type 9 under fuzzing: the first byte is the record's
// version, the rest its body. A body that reads is written again and must read back to the same
// bytes; every program reference looked up stays within its buffers. Seeds: the tables built here
// and, from tools/make_fuzz_seeds.py, the independent document writer's records.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "store/document_file_tables.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

FuzzBytes written(lect32::DocumentFileTables& tables) {
    lect32::MemWriter writer;
    writer.Begin();
    const int done = tables.Write(writer);
    writer.End();
    if (!done) return {};
    FuzzBytes bytes(writer.GetLength());
    writer.CopyTo(bytes.data());
    return bytes;
}

int parsed(lect32::DocumentFileTables& tables, const uint8_t* data, size_t size, uint8_t version) {
    lect32::MemReader reader;
    if (reader.LoadFromMemory(data, static_cast<uint32_t>(size)) != 1) return 0;
    return tables.Parse(reader, version);
}

void lookUpReferences(lect32::DocumentFileTables& tables) {
    char path[lect32::FileNameTable::kPathBuffer];
    char arguments[lect32::DocumentFileTables::kArgumentBuffer];
    for (const uint32_t ref : {0x00000000u, 0x00000001u, 0x00010002u, 0xFFFFFFFFu}) {
        if (!tables.GetProgramRef(ref, path, arguments)) continue;
        check(std::strlen(path) < sizeof path && std::strlen(arguments) < sizeof arguments);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QuietInput quiet;  // the refusals of damaged lists
    lect32::DocumentFileTables tables;
    if (parsed(tables, data + 1, size - 1, data[0]) != 1) return 0;
    lookUpReferences(tables);
    const FuzzBytes once = written(tables);
    check(!once.empty());
    lect32::DocumentFileTables again;
    check(parsed(again, once.data(), once.size(), lect32::DocumentFileTables::kFullVersion) == 1);
    check(written(again) == once);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    for (const uint8_t version : {uint8_t{1}, uint8_t{2}}) {
        lect32::DocumentFileTables tables;
        char program[] = "c:\\nastroje\\kalk.exe";
        char arguments[] = "/a";
        tables.AddProgramRef(program, arguments);
        char document[] = "c:\\knihy\\druha.lcn";
        tables.documents().AddPath(document);
        char url[] = "http://priklad.cz/";
        tables.urls().Acquire(url);
        FuzzBytes seed{version};
        const FuzzBytes body = written(tables);
        seed.insert(seed.end(), body.begin(), body.end());
        seeds.push_back(seed);
    }
    return seeds;
}
