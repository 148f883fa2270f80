// The metafile player under fuzzing: each input parsed and, when it loads, drawn twice (natural
// size and a mirrored, shrunk rectangle) onto a small 32-bit surface.
//
// What must hold for any input: nothing reads outside the input or the picture's own pools (the
// sanitizers watch that); a loaded picture has a natural size of at least one pixel each way; the
// DC's pen, brush and clip are as before each draw.
//
// Seeds: small metafiles of the tests' record writer, one per family of records.
#include <cstdint>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "metafile_builder.h"
#include "metafile_parser.h"
#include "player.h"
#include "winplat/draw.h"
#include "winplat/testing.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

HDC surface() {
    static HDC dc = winplat::testing::createDisplayDc(64, 64, 32);
    return dc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietInput quiet;
    auto picture = vexmill::parseMetafile(std::span<const uint8_t>(data, size));
    if (!picture) return 0;
    check(picture->width >= 1 && picture->height >= 1);
    HDC dc = surface();
    const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    check(vexmill::playPicture(*picture, dc, 0, 0, 64, 64));
    check(vexmill::playPicture(*picture, dc, 40, 5, -30, 20));
    check(GetCurrentObject(dc, OBJ_PEN) == pen && GetCurrentObject(dc, OBJ_BRUSH) == brush);
    RECT clip{};
    GetClipBox(dc, &clip);
    check(clip.left == 0 && clip.top == 0 && clip.right == 64 && clip.bottom == 64);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    using namespace vxtest;
    std::vector<FuzzBytes> seeds;
    Metafile shapes;
    shapes.placeable(0, 0, 100, 100, 96).window(0, 100, 100, -100).brush(0, 0xFF).select(0).pen(0, 3, 0xFF00).select(1);
    shapes.rect(kRectangle, 10, 10, 50, 50).rect(kEllipse, 0, 0, 100, 100).record(kRoundRect, {20, 20, 90, 90, 5, 5});
    shapes.record(kPie, {0, 50, 50, 100, 100, 100, 0, 0}).record(kArc, {100, 50, 0, 50, 90, 90, 10, 10});
    shapes.points(kPolygon, {{1, 1}, {60, 5}, {30, 70}}).points(kPolyline, {{5, 5}, {95, 95}, {5, 95}});
    seeds.push_back(shapes.bytes());
    Metafile state(4);
    state.window(0, 0, 1000, 1000).viewport(10, 10, 500, -500).record(kSetMapMode, {8}).record(kSaveDc, {});
    state.brush(2, 0xFF0000, 3).select(0).record(kSetBkMode, {2}).record(kSetRop2, {7});
    state.rect(kIntersectClipRect, 0, 0, 600, 600).rect(kRectangle, 0, 0, 900, 900).record(kRestoreDc, {-1});
    state.record(kDeleteObject, {0}).record(kCreatePalette, {0x300, 0}).record(kEscape, {15, 0});
    seeds.push_back(state.bytes());
    Metafile text;
    text.placeable(0, 0, 200, 100, 1440).font(-40, "Arial").select(0).record(kSetTextAlign, {24});
    text.textOut(10, 50, "Ahoj").record(kExtTextOut, {20, 20, 3, 6, 0, 0, 100, 40, 'a' | 'b' << 8, 'c', 10, 10, 10});
    seeds.push_back(text.bytes());
    Metafile bitmaps;
    const Bytes dib = packedDib24(3, 2, {1, 2, 3, 4, 5, 6});
    Bytes blit;
    put32(blit, 0x00CC0020u);
    put16(blit, 0);
    for (int w : {2, 3, 0, 0, 40, 60, 5, 5}) put16(blit, uint32_t(w));
    blit.insert(blit.end(), dib.begin(), dib.end());
    Bytes brush;
    put16(brush, 5), put16(brush, 0);
    brush.insert(brush.end(), dib.begin(), dib.end());
    bitmaps.raw(kStretchDib, blit).raw(kDibCreatePatternBrush, brush).select(0).rect(kRectangle, 0, 0, 30, 30);
    seeds.push_back(bitmaps.bytes());
    return seeds;
}
