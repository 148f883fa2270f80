// WAV files made byte by byte for the media tests: a RIFF header, a 16-byte PCM "fmt " chunk and a
// "data" chunk of silence, each field set on its own so a test can damage one.
#ifndef TESTS_PLATFORM_MCI_WAVE_BYTES_H
#define TESTS_PLATFORM_MCI_WAVE_BYTES_H

#include <cstdint>
#include <string>
#include <vector>

namespace wavetest {

struct WaveFields {
    uint16_t format = 1;  // PCM
    uint16_t channels = 1;
    uint32_t rate = 8000;
    uint32_t byteRate = 8000;
    uint16_t blockAlign = 1;
    uint16_t bits = 8;
    uint32_t dataBytes = 8000;      // one second at 8000 one-byte samples a second
    uint32_t declaredData = 0;      // the data chunk's size field; 0: dataBytes
    bool dataFirst = false;         // the data chunk before the format chunk
    std::string junk;               // a chunk "LIST" of these bytes before both (odd: padded)
};

inline void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void tag(std::vector<uint8_t>& out, const char* four) { out.insert(out.end(), four, four + 4); }

inline std::vector<uint8_t> waveFile(const WaveFields& f = {}) {
    std::vector<uint8_t> format;
    tag(format, "fmt ");
    put32(format, 16);
    put16(format, f.format);
    put16(format, f.channels);
    put32(format, f.rate);
    put32(format, f.byteRate);
    put16(format, f.blockAlign);
    put16(format, f.bits);
    std::vector<uint8_t> data;
    tag(data, "data");
    put32(data, f.declaredData ? f.declaredData : f.dataBytes);
    data.insert(data.end(), f.dataBytes, 0x80);
    std::vector<uint8_t> body;
    tag(body, "WAVE");
    if (!f.junk.empty()) {
        tag(body, "LIST");
        put32(body, static_cast<uint32_t>(f.junk.size()));
        body.insert(body.end(), f.junk.begin(), f.junk.end());
        if (f.junk.size() & 1) body.push_back(0);
    }
    const auto& first = f.dataFirst ? data : format;
    const auto& second = f.dataFirst ? format : data;
    body.insert(body.end(), first.begin(), first.end());
    body.insert(body.end(), second.begin(), second.end());
    std::vector<uint8_t> file;
    tag(file, "RIFF");
    put32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace wavetest

#endif
