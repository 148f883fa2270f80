// FLI and FLC files made by the tests: headers, frames and chunks byte by byte, and a small
// encoder that turns a sequence of pictures into an animation with colour chunks, a first frame
// as byte runs, literal bytes or black, and line deltas (FLI) or word deltas (FLC) after it, up
// to the ring frame that leads back to the first picture.
#ifndef PIXMILL_TESTS_FLIC_TEST_SUPPORT_H
#define PIXMILL_TESTS_FLIC_TEST_SUPPORT_H

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include <stdexcept>

namespace flic_test {

using Bytes = std::vector<uint8_t>;
using Palette = std::array<uint8_t, 768>;

inline void put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}

// The encoder keeps to pictures whose counts and skips fit their bytes.
inline void fits(int value, int limit) {
    if (value > limit) throw std::length_error("picture too wide for the tests' FLIC encoder");
}

enum Kind : uint16_t { kFli = 0xAF11, kFlc = 0xAF12 };

struct Header {
    Kind kind = kFlc;
    uint16_t frames = 1, width = 8, height = 4, depth = 8;
    uint32_t speed = 50;
    uint32_t firstFrame = 128;  // FLC only
};

inline Bytes header(const Header& h, uint32_t fileSize = 0) {
    Bytes b;
    put32(b, fileSize);
    put16(b, h.kind);
    put16(b, h.frames);
    put16(b, h.width);
    put16(b, h.height);
    put16(b, h.depth);
    put16(b, 3);  // flags
    put32(b, h.speed);
    b.resize(80, 0);
    put32(b, h.kind == kFlc ? h.firstFrame : 0);
    b.resize(128, 0);
    return b;
}

// A chunk: its size (with the 6-byte header), type and data.
inline Bytes chunk(uint16_t type, const Bytes& data, int64_t sizeOverride = -1) {
    Bytes b;
    put32(b, sizeOverride >= 0 ? uint32_t(sizeOverride) : uint32_t(data.size() + 6));
    put16(b, type);
    append(b, data);
    return b;
}

inline Bytes frame(const std::vector<Bytes>& chunks, uint16_t type = 0xF1FA, int64_t sizeOverride = -1) {
    Bytes body;
    for (const Bytes& c : chunks) append(body, c);
    Bytes b;
    put32(b, sizeOverride >= 0 ? uint32_t(sizeOverride) : uint32_t(body.size() + 16));
    put16(b, type);
    put16(b, uint16_t(chunks.size()));
    b.resize(16, 0);
    append(b, body);
    return b;
}

inline Bytes file(const Header& h, const std::vector<Bytes>& frames) {
    Bytes b = header(h);
    for (const Bytes& f : frames) append(b, f);
    return b;
}

// One colour packet for all 256 entries (count byte 0), at 8 or 6 bits a component.
inline Bytes colours(const Palette& p, bool sixBits) {
    Bytes b;
    put16(b, 1);
    b.push_back(0);
    b.push_back(0);
    for (uint8_t v : p) b.push_back(sixBits ? uint8_t(v >> 2) : v);
    return b;
}

// Byte-run packets of one row: runs of 3 or more as repeats, the rest as literals.
inline Bytes byteRunRow(const uint8_t* row, int width) {
    Bytes packets;
    int count = 0;
    for (int x = 0; x < width;) {
        int run = 1;
        while (x + run < width && run < 127 && row[x + run] == row[x]) ++run;
        if (run >= 3) {
            packets.push_back(uint8_t(run));
            packets.push_back(row[x]);
            x += run;
        } else {
            int n = 0;
            while (x + n < width && n < 128) {
                int ahead = 1;
                while (x + n + ahead < width && ahead < 3 && row[x + n + ahead] == row[x + n]) ++ahead;
                if (ahead >= 3) break;
                ++n;
            }
            packets.push_back(uint8_t(-n));
            packets.insert(packets.end(), row + x, row + x + n);
            x += n;
        }
        ++count;
    }
    fits(count, 255);
    packets.insert(packets.begin(), uint8_t(count));
    return packets;
}

inline Bytes byteRun(const std::vector<uint8_t>& pixels, int width, int height) {
    Bytes b;
    for (int y = 0; y < height; ++y) append(b, byteRunRow(&pixels[size_t(y * width)], width));
    return b;
}

// Line delta: the changed rows from the first to the last; per row, packets of a column skip and
// the changed bytes (literal, or a repeat of 3 or more).
inline Bytes lineDelta(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, int width,
                       int height) {
    auto changed = [&](int y) {
        return !std::equal(&before[size_t(y * width)], &before[size_t(y * width)] + width,
                           &after[size_t(y * width)]);
    };
    int first = 0, last = height - 1;
    while (first < height && !changed(first)) ++first;
    while (last >= first && !changed(last)) --last;
    Bytes b;
    put16(b, uint16_t(first < height ? first : 0));
    put16(b, uint16_t(first < height ? last - first + 1 : 0));
    for (int y = first; y <= last && first < height; ++y) {
        const uint8_t* was = &before[size_t(y * width)];
        const uint8_t* now = &after[size_t(y * width)];
        Bytes packets;
        int count = 0;
        for (int x = 0, at = 0; x < width;) {
            if (was[x] == now[x]) {
                ++x;
                continue;
            }
            int n = 0;
            while (x + n < width && n < 127 && was[x + n] != now[x + n]) ++n;
            fits(x - at, 255);
            packets.push_back(uint8_t(x - at));
            const bool same = std::all_of(now + x, now + x + n, [&](uint8_t v) { return v == now[x]; });
            if (same && n >= 3) {
                packets.push_back(uint8_t(-n));
                packets.push_back(now[x]);
            } else {
                packets.push_back(uint8_t(n));
                packets.insert(packets.end(), now + x, now + x + n);
            }
            x += n;
            at = x;
            ++count;
        }
        fits(count, 255);
        b.push_back(uint8_t(count));
        append(b, packets);
    }
    return b;
}

// Word delta: unchanged rows become skip words, an odd last byte a last-byte word, and changed
// words packets of a column skip (in bytes) and words (literal, or one word repeated).
inline Bytes wordDelta(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, int width,
                       int height) {
    Bytes lines;
    int count = 0, skip = 0;
    const int words = width / 2;
    for (int y = 0; y < height; ++y) {
        const uint8_t* was = &before[size_t(y * width)];
        const uint8_t* now = &after[size_t(y * width)];
        if (std::equal(was, was + width, now)) {
            ++skip;
            continue;
        }
        if (skip) put16(lines, uint16_t(-skip) | 0xC000);
        skip = 0;
        if (width % 2 && was[width - 1] != now[width - 1]) put16(lines, 0x8000 | now[width - 1]);
        auto wordChanged = [&](int k) {
            return was[2 * k] != now[2 * k] || was[2 * k + 1] != now[2 * k + 1];
        };
        Bytes packets;
        int packetCount = 0;
        for (int k = 0, at = 0; k < words;) {
            if (!wordChanged(k)) {
                ++k;
                continue;
            }
            int n = 0;
            while (k + n < words && n < 127 && wordChanged(k + n)) ++n;
            fits(2 * (k - at), 255);
            packets.push_back(uint8_t(2 * (k - at)));
            bool same = true;
            for (int i = 1; i < n; ++i)
                same = same && now[2 * (k + i)] == now[2 * k] && now[2 * (k + i) + 1] == now[2 * k + 1];
            if (same && n >= 2) {
                packets.push_back(uint8_t(-n));
                packets.push_back(now[2 * k]);
                packets.push_back(now[2 * k + 1]);
            } else {
                packets.push_back(uint8_t(n));
                packets.insert(packets.end(), now + 2 * k, now + 2 * (k + n));
            }
            k += n;
            at = k;
            ++packetCount;
        }
        put16(lines, uint16_t(packetCount));
        append(lines, packets);
        ++count;
    }
    Bytes b;
    put16(b, uint16_t(count));
    append(b, lines);
    return b;
}

struct Picture {
    std::vector<uint8_t> pixels;
    Palette palette{};
};

enum class FirstFrame { ByteRun, Literal, Black };

// An animation of the pictures: the first with its colours and as byte runs, literal bytes or
// black; each later one (and the ring frame back to the first) as a delta, with colours when
// they changed. FLI frames carry 64-level colours.
inline Bytes animation(Kind kind, int width, int height, const std::vector<Picture>& pictures,
                       FirstFrame first = FirstFrame::ByteRun, uint32_t speed = 5) {
    const bool fli = kind == kFli;
    const uint16_t colourType = fli ? 11 : 4;
    std::vector<Bytes> frames;
    std::vector<Bytes> chunks{chunk(colourType, colours(pictures[0].palette, fli))};
    if (first == FirstFrame::ByteRun) chunks.push_back(chunk(15, byteRun(pictures[0].pixels, width, height)));
    if (first == FirstFrame::Literal) chunks.push_back(chunk(16, pictures[0].pixels));
    if (first == FirstFrame::Black) chunks.push_back(chunk(13, {}));
    frames.push_back(frame(chunks));
    for (size_t i = 1; i <= pictures.size(); ++i) {
        const Picture& was = pictures[i - 1];
        const Picture& now = pictures[i % pictures.size()];
        std::vector<Bytes> c;
        if (was.palette != now.palette) c.push_back(chunk(colourType, colours(now.palette, fli)));
        c.push_back(fli ? chunk(12, lineDelta(was.pixels, now.pixels, width, height))
                        : chunk(7, wordDelta(was.pixels, now.pixels, width, height)));
        frames.push_back(frame(c));
    }
    Header h;
    h.kind = kind;
    h.frames = uint16_t(pictures.size());
    h.width = uint16_t(width);
    h.height = uint16_t(height);
    h.speed = speed;
    return file(h, frames);
}

// Pictures that change a little from one to the next, with 6-bit colours so FLI keeps them.
inline std::vector<Picture> pictures(int count, int width, int height, uint32_t seed = 1) {
    std::vector<Picture> out;
    Picture p;
    p.pixels.assign(size_t(width * height), 0);
    for (int i = 0; i < 768; ++i) p.palette[size_t(i)] = uint8_t(((i * 37 + seed) % 64) << 2);
    uint32_t s = seed * 2654435761u;
    for (int n = 0; n < count; ++n) {
        for (int k = 0; k < width * height / 5 + 1; ++k) {
            s = s * 1103515245 + 12345;
            const size_t at = (s >> 8) % size_t(width * height);
            // Runs and single pixels both.
            const size_t run = (s >> 3) % 4 == 0 ? std::min<size_t>(5, size_t(width * height) - at) : 1;
            for (size_t r = 0; r < run; ++r) p.pixels[at + r] = uint8_t(s >> 20);
        }
        if (n % 3 == 2) {
            uint8_t& entry = p.palette[size_t(3 * n) % p.palette.size()];
            entry = uint8_t((entry + 4) & 0xFC);
        }
        out.push_back(p);
    }
    return out;
}

}  // namespace flic_test

#endif
