// Installing a document's embedded fonts: a companion font file of 10 fonts (DejaVu Sans renamed
// to a family of its own, about 750 KB each), each written to the private folder and added, half
// of them directly and half through a scalable font resource file; then removed again (not timed).
// Counter: fonts/s installed. Skips without fonts-dejavu-core.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/mem_writer.h"
#include "store/record_flags.h"
#include "store/vazazi_file.h"
#include "support/sfnt_names.h"
#include "text/embedded_font_table.h"
#include "text/embedded_fonts.h"

namespace {

constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kFonts = 10;

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeRecord(lect32::VazaziFile& file, int table, int index, const std::string& bytes, uint8_t version) {
    lect32::MemWriter writer;
    writer.Begin();
    writer.WriteBytesLong(bytes.data(), static_cast<uint32_t>(bytes.size()));
    writer.End();
    const lect32::RecordFlags flags{0, version};
    if (table == 1) file.WriteRecordByType(lect32::EmbeddedFontTable::kRecordType, 0, writer, &flags);
    else file.WriteRecord(2, static_cast<int16_t>(index), writer);
}

// "<folder>/book.lnf" with the table and the fonts; the document's Windows path.
std::string writeCompanion(const std::filesystem::path& folder) {
    const std::string font = fonttest::withNameTable(readFile(kDejaVu), fonttest::nameTable("Lnf Bench Sans", "Book"));
    std::string table{static_cast<char>(kFonts), 0};
    for (int n = 0; n < kFonts; ++n) table += std::string{70, 0, 0, 7, 0, 0, static_cast<char>(n), 0};
    for (int n = 0; n < kFonts; ++n) table.push_back(n % 2 ? 0 : lect32::EmbeddedFontTable::kInstallDirectly);
    lect32::VazaziFile companion;
    companion.Create(("C:" + (folder / "book.lnf").string()).c_str(), 1);
    writeRecord(companion, 1, 0, table, 2);
    for (int n = 0; n < kFonts; ++n) writeRecord(companion, 2, n, font, 0);
    companion.Close();
    return "C:" + (folder / "book.lcn").string();
}

void BM_InstallTenFonts(benchmark::State& state) {
    if (!std::filesystem::exists(kDejaVu)) {
        state.SkipWithError("fonts-dejavu-core is not installed");
        return;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lect32_bench_embedded_fonts";
    std::filesystem::create_directories(folder / "tmp");
    const char* oldTemp = std::getenv("TMPDIR");
    const std::string previous = oldTemp ? oldTemp : "";
    setenv("TMPDIR", (folder / "tmp").c_str(), 1);
    const std::string document = writeCompanion(folder);
    lect32::EmbeddedFonts fonts;
    for (auto _ : state) {
        if (fonts.Install(document.c_str()) != 1 || fonts.installedFiles().size() != kFonts) {
            state.SkipWithError("the fonts did not install");
            break;
        }
        state.PauseTiming();
        fonts.Remove();
        state.ResumeTiming();
    }
    fonts.Remove();
    state.counters["fonts/s"] = benchmark::Counter(double(state.iterations()) * kFonts, benchmark::Counter::kIsRate);
    if (oldTemp) setenv("TMPDIR", previous.c_str(), 1);
    else unsetenv("TMPDIR");
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_InstallTenFonts)->Unit(benchmark::kMillisecond);

}  // namespace
