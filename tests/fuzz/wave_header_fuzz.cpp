// WAV headers under fuzzing, as a waveaudio device opens a file: the format and the data length.
//
// What must hold for any input: a header read says a format the layer plays (1 to 8 channels,
// 8 or 16 bits, a consistent block size) and a data length no longer than the input.
//
// Seeds: files of the layer's own shapes: mono and stereo, 8 and 16 bits, chunks in both orders,
// an odd chunk before them, a data chunk claiming more than the file holds.
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "mci/wave_header.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

void put16(FuzzBytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(FuzzBytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void tag(FuzzBytes& out, const char* four) { out.insert(out.end(), four, four + 4); }

FuzzBytes wave(uint16_t channels, uint16_t bits, uint32_t rate, uint32_t samples, bool dataFirst, const std::string& junk,
               uint32_t claimed = 0) {
    const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    FuzzBytes format;
    tag(format, "fmt ");
    put32(format, 16);
    put16(format, 1);
    put16(format, channels);
    put32(format, rate);
    put32(format, rate * block);
    put16(format, block);
    put16(format, bits);
    FuzzBytes data;
    tag(data, "data");
    put32(data, claimed ? claimed : samples * block);
    data.insert(data.end(), samples * block, 0x80);
    FuzzBytes file;
    tag(file, "RIFF");
    put32(file, 0);
    tag(file, "WAVE");
    if (!junk.empty()) {
        tag(file, "LIST");
        put32(file, static_cast<uint32_t>(junk.size()));
        file.insert(file.end(), junk.begin(), junk.end());
        if (junk.size() & 1) file.push_back(0);
    }
    const FuzzBytes& first = dataFirst ? data : format;
    const FuzzBytes& second = dataFirst ? format : data;
    file.insert(file.end(), first.begin(), first.end());
    file.insert(file.end(), second.begin(), second.end());
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string why;
    const auto info = winplat::mci::readWaveHeader({data, size}, why);
    if (!info) {
        check(!why.empty());
        return 0;
    }
    check(info->channels >= 1 && info->channels <= 8);
    check(info->bitsPerSample == 8 || info->bitsPerSample == 16);
    check(info->blockAlign == info->channels * info->bitsPerSample / 8);
    check(info->dataBytes <= size);
    info->durationMs();
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    return {
        wave(1, 8, 8000, 64, false, ""),
        wave(2, 16, 22050, 32, false, "INFOabc"),
        wave(1, 16, 44100, 16, true, ""),
        wave(2, 8, 11025, 8, false, "", 100000),
    };
}
