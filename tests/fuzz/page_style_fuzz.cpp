// A page's stored style: the record of any version read into a style.
//
// What must hold for any input: nothing reads outside the input (the sanitizers watch that); a
// refused record leaves the caller's style untouched; a taken one, written in the current form
// and read again, gives the same style back byte for byte (but for the old forms' presence byte) and is read to the last byte written.
//
// Seeds: styles of the current version with every group, none and some, written by the writer
// here, and records of the older versions.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_entry.h"
#include "page/page_style_form.h"
#include "store/mem_writer.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

FuzzBytes Write(const lect32::PageStyle& style) {
    lect32::MemWriter writer;
    writer.Begin();
    check(lect32::WritePageStyle(writer, style));
    check(writer.End() == 0);
    FuzzBytes bytes(writer.GetLength());
    writer.CopyTo(bytes.data());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lect32::PageStyle sentinel;
    sentinel.flags = 0xC000;
    sentinel.trailingId = 4321;
    lect32::PageStyle style = sentinel;
    winplat::ByteReader in(data, size);
    if (lect32::ReadPageStyle(in, style) != lect32::PageStyleRead::Ok) {
        check(std::memcmp(&style, &sentinel, sizeof style) == 0);
        return 0;
    }
    check(in.position() <= size);
    const FuzzBytes again = Write(style);
    winplat::ByteReader second(again.data(), again.size());
    lect32::PageStyle reread;
    check(lect32::ReadPageStyle(second, reread) == lect32::PageStyleRead::Ok);
    check(second.position() == again.size());
    // The old forms' presence byte is a reading aid only; the current form does not carry it.
    reread.oldFormPresence = style.oldFormPresence;
    check(std::memcmp(&style, &reread, sizeof style) == 0);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    for (uint16_t flags : {0x0000, 0x0001, 0x3FFE, 0x3FFF, 0x2A55, 0x15AA}) {
        lect32::PageStyle style;
        style.flags = flags;
        style.width = 500, style.trailingId = 3, style.group800Word = 9;
        style.links[1] = {8, 2};
        seeds.push_back(Write(style));
    }
    seeds.push_back({0, 1, 2, 0x90, 0x01, 0x20, 0x03, 1, 0, 2, 0, 3, 0, 4, 0, 6, 1, 5, 6, 7, 8, 1, 3});
    seeds.push_back({1, 0, 255, 1, 4, 0xFF, 0xFF, 2});
    seeds.push_back({4, 0x01, 0x3F, 1, 2, 0, 3, 4, 0, 2, 5, 0, 6, 0, 7, 9, 0, 1, 0, 2, 7, 0, 3, 5, 0});
    return seeds;
}
