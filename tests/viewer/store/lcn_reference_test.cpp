// The documents the document writer (tools/lcnwriter) builds from the record layouts, read through
// our store: every record reads back as written, the independent checker accepts every record
// file, companions stored inside a document resolve through record 14, pictures in the store lie
// where the image library will read them in place, and damaged variants fail where they are
// damaged and nowhere else.
#include <filesystem>
#include <map>

#include "record_manifest.h"
#include "store/file_name_table.h"
#include "store/string_pool.h"
#include "store/vazazi_file.h"
#include "support/tool_runner.h"
#include "vazazi_test_support.h"
#include "winplat/byte_reader.h"
#include "winplat/testing.h"

namespace {

using lect32::MemReader;
using lect32::VazaziFile;
using namespace vazazi_test;

const std::string kFolder = LCN_REFERENCE_DIR;

const ManifestFile& entry(const std::vector<ManifestFile>& files, const std::string& name, uint32_t base) {
    for (const ManifestFile& f : files) {
        if (f.name == name && f.base == base) return f;
    }
    ADD_FAILURE() << name << " at " << base << " is not in the manifest";
    static const ManifestFile none;
    return none;
}

std::vector<uint8_t> recordBody(VazaziFile& file, int table, int16_t index) {
    MemReader reader;
    if (file.ReadRecord(table, index, reader) != 1) return {};
    return contents(reader);
}

TEST(LcnReference, EveryRecordReadsBackAsWritten) {
    const auto files = loadManifest(kFolder);
    ASSERT_GE(files.size(), 14u) << "the reference set in " << kFolder;
    for (const ManifestFile& f : files) {
        SCOPED_TRACE(f.name + " at " + std::to_string(f.base));
        VazaziFile file;
        ASSERT_TRUE(openAs(file, kFolder, f));
        EXPECT_FALSE(f.records.empty());
        expectRecords(file, f);
        EXPECT_EQ(file.useCount(), 0);
    }
}

TEST(LcnReference, TheIndependentCheckerAcceptsEveryRecordFile) {
    if (!tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -c pass")) {
        GTEST_SKIP() << "python3 is missing: the independent checker cannot run";
    }
    for (const ManifestFile& f : loadManifest(kFolder)) {
        std::string output;
        EXPECT_TRUE(independentCheck(kFolder + "/" + f.name, output, f.base, f.length))
            << f.name << " at " << f.base << ": " << output;
    }
}

// Record 14: byte, u16 count, count x (u32 base, u32 size); entry 1 the picture store, entry 2 the
// embedded files, entry 3 the keyword index.
TEST(LcnReference, CompanionsInsideTheDocumentResolveThroughRecord14) {
    const auto files = loadManifest(kFolder);
    const ManifestFile& document = entry(files, "inside.lcn", 0);
    VazaziFile file;
    ASSERT_TRUE(openAs(file, kFolder, document));
    MemReader reader;
    ASSERT_EQ(file.ReadRecordByType(14, 0, reader), 1);
    winplat::ByteReader in(reader.data(), reader.size());
    in.u8();
    const uint16_t count = in.u16();
    ASSERT_EQ(count, 4);
    std::vector<std::pair<uint32_t, uint32_t>> entries;
    for (int n = 0; n < count; ++n) {
        const uint32_t base = in.u32();
        entries.emplace_back(base, in.u32());
    }
    ASSERT_TRUE(in.ok());
    EXPECT_EQ(entries[0].first, 0u) << "entry 0 is absent";
    for (int n : {1, 2, 3}) {
        SCOPED_TRACE("companion " + std::to_string(n));
        const ManifestFile& companion = entry(files, "inside.lcn", entries[n].first);
        EXPECT_EQ(companion.length, entries[n].second);
        VazaziFile inner;
        ASSERT_EQ(inner.Open((kFolder + "/inside.lcn").c_str(), false, entries[n].first, entries[n].second), 1);
        expectRecords(inner, companion);
    }
    EXPECT_EQ(entries[1].first, document.length) << "the picture store follows the document's own data";
    EXPECT_EQ(entries[2].first, entries[1].first + entries[1].second);
    EXPECT_EQ(std::filesystem::file_size(kFolder + "/inside.lcn"), uint64_t{entries[3].first} + entries[3].second);
}

TEST(LcnReference, PicturesInTheStoreLieWhereTheyAreReadInPlace) {
    const std::vector<uint8_t> whole = fileBytes(kFolder + "/pictures.lpx");
    VazaziFile store;
    ASSERT_EQ(store.Open((kFolder + "/pictures.lpx").c_str(), false), 1);
    const std::vector<std::string> signatures = {"\x89PNG", "GIF89a", "GIF89a", "\xD7\xCD\xC6\x9A"};
    for (int16_t n = 0; n < 4; ++n) {
        uint32_t length = 0;
        const uint32_t offset = store.LocateRecordBody(n, &length);
        ASSERT_NE(offset, 0u) << "picture " << n + 1;
        ASSERT_LE(uint64_t{offset} + length, whole.size());
        const std::string& magic = signatures[static_cast<size_t>(n)];
        EXPECT_EQ(std::string(whole.begin() + offset, whole.begin() + offset + magic.size()), magic);
        EXPECT_EQ(std::vector<uint8_t>(whole.begin() + offset, whole.begin() + offset + length), recordBody(store, 2, n));
    }
}

// A file name table record (types 2 and 4 here) through the store's own table.
std::vector<std::pair<std::string, uint16_t>> pathsAndTags(VazaziFile& file, int recordType) {
    MemReader reader;
    EXPECT_EQ(file.ReadRecordByType(recordType, 0, reader), 1);
    lect32::StringPool folders;
    lect32::FileNameTable table(folders);
    EXPECT_EQ(table.LoadFromDocument(1, &reader), 1);
    std::vector<std::pair<std::string, uint16_t>> out;
    for (uint16_t i = 0; i < table.GetCount(); ++i) {
        char path[MAX_PATH] = {};
        table.GetPath(i, path);
        out.emplace_back(path, table.GetTag(i));
    }
    return out;
}

TEST(LcnReference, ThePackageListsDocumentsThatOpen) {
    VazaziFile package;
    ASSERT_EQ(package.Open((kFolder + "/package.lnp").c_str(), false), 1);
    const auto documents = pathsAndTags(package, 2);
    ASSERT_EQ(documents.size(), 3u);
    for (const auto& [path, tag] : documents) {
        VazaziFile member;
        EXPECT_EQ(member.Open((kFolder + "/" + path).c_str(), false), 1) << path;
        EXPECT_EQ(tag, 0);
    }
    EXPECT_EQ(documents[1].first, "navigation.lcn");
}

TEST(LcnReference, PictureTableTagsNameRecordsOfTheStore) {
    VazaziFile document;
    ASSERT_EQ(document.Open((kFolder + "/pictures.lcn").c_str(), false), 1);
    VazaziFile store;
    ASSERT_EQ(store.Open((kFolder + "/pictures.lpx").c_str(), false), 1);
    const auto pictures = pathsAndTags(document, 4);
    ASSERT_EQ(pictures.size(), 7u);
    EXPECT_EQ(pictures[0], std::make_pair(std::string("obrazek.png"), uint16_t{0}));
    EXPECT_TRUE(std::filesystem::exists(kFolder + "/obrazek.png")) << "the picture beside the document";
    EXPECT_EQ(pictures[1].first, "sklad\\ulozeny.png");
    for (const auto& [path, tag] : pictures) {
        if (tag != 0) {
            EXPECT_TRUE(store.HasRecord(static_cast<int16_t>(tag - 1))) << path;
        }
    }
}

struct Variant {
    std::string name, fails;
    int table = 0, index = 0;
};

std::vector<Variant> damagedVariants(const ScratchFolder& scratch, const std::string& source) {
    const std::string tool = std::filesystem::path(VAZAZI_TOOL).parent_path().string();
    EXPECT_TRUE(tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -B " + tool + " damage " + source + " " +
                                 tool_runner::quoted(scratch.host(source)) + " --seed 7 --count 30"));
    std::ifstream in(scratch.host(source) / "damaged.txt");
    std::vector<Variant> variants;
    std::string word;
    Variant v;
    while (in >> word >> v.name >> v.table >> v.index >> v.fails) variants.push_back(v);
    return variants;
}

// What each damaged variant promises: "open" - the file does not open; "store" - the file opens
// but some record of the original no longer reads; "read" - exactly the damaged record fails;
// "parse" - the store reads every record (the record's own reader must refuse the bytes).
TEST(LcnReference, DamagedVariantsFailAtTheDamageAndNowhereElse) {
    if (!tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -c pass")) {
        GTEST_SKIP() << "python3 is missing: the document writer cannot run";
    }
    const auto files = loadManifest(kFolder);
    ScratchFolder scratch;
    for (const std::string source : {"links", "table"}) {
        const ManifestFile& original = entry(files, source + ".lcn", 0);
        const auto variants = damagedVariants(scratch, source);
        ASSERT_GE(variants.size(), 10u) << source;
        std::map<std::string, int> kinds;
        for (const Variant& v : variants) {
            SCOPED_TRACE(v.name + " (" + v.fails + ")");
            ++kinds[v.fails];
            winplat::testing::DebugCapture quiet;
            VazaziFile file;
            const bool opened = file.Open((scratch.host(source) / v.name).c_str(), false) == 1;
            if (v.fails == "open") {
                EXPECT_FALSE(opened);
                continue;
            }
            if (v.fails == "store") {
                int failed = 0;
                for (const ManifestRecord& r : original.records) {
                    MemReader reader;
                    failed += opened && file.ReadRecord(r.table, static_cast<int16_t>(r.index), reader) == 0;
                }
                EXPECT_TRUE(!opened || failed > 0);
                continue;
            }
            ASSERT_TRUE(opened);
            for (const ManifestRecord& r : original.records) {
                MemReader reader;
                const bool damaged = r.table == v.table && r.index == v.index;
                const int read = file.ReadRecord(r.table, static_cast<int16_t>(r.index), reader);
                if (damaged) {
                    EXPECT_EQ(read, v.fails == "read" ? 0 : 1);
                } else {
                    ASSERT_EQ(read, 1) << r.table << ":" << r.index;
                    EXPECT_EQ(crcOf(reader), r.crc) << r.table << ":" << r.index;
                }
            }
            EXPECT_EQ(file.useCount(), 0);
        }
        EXPECT_EQ(kinds.size(), 4u) << source << ": every kind of damage";
    }
}

}  // namespace
