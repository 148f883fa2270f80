// The GIF writer's files read by independent programs: giflib (gifbuild -d), ImageMagick and
// netpbm decode single pictures of every depth, width and interlacing, noise that clears the
// table many times and rows whose last code falls on every width change, to the colours written;
// gifsicle and ImageMagick report the loop count, delays, disposals, placement, local tables and
// transparency of saved animations; and ImageMagick's coalescing composes their frames as
// PXLRenderFrames does.
#include <fstream>
#include <sstream>

#include "../pixmill_fixture.h"
#include "gif_tool_support.h"
#include "gif_writer_support.h"

namespace {

namespace fs = std::filesystem;
using gif_tools::dump;
using gif_tools::have;
using gif_tools::output;
using gif_tools::run;

class GifWriterCrossCheck : public PixmillTest {
  protected:
    std::string path(const std::string& name) const { return bmp_test::windowsPath(folder_.file(name)); }
    std::string q(const std::string& name) const { return "'" + folder_.file(name).string() + "'"; }
    bmp_test::TempFolder folder_;
};

// An image of the depth whose pixels are 'pixels' (top row first) and whose entries all differ.
PxlImageId paletteImage(int width, int height, int bits, const std::vector<uint8_t>& pixels) {
    const PxlImageId id = PXLCreateImage(width, height, bits);
    std::vector<PALETTEENTRY> table(256);
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = gif_test::colourOf(i, 3);
        table[size_t(i)] = {BYTE(c >> 16), BYTE(c >> 8), BYTE(c), 0};
    }
    PXLSetNewPalette(id, table.data(), 1 << bits);
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixmill::rowFromTop(*image, y);
        for (int x = 0; x < width; ++x) {
            const uint8_t v = pixels[size_t(y * width + x)];
            if (bits == 8) row[x] = v;
            if (bits == 4) row[x / 2] |= uint8_t(v << (x % 2 ? 0 : 4));
            if (bits == 1 && v) row[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
    }
    return id;
}

std::vector<uint32_t> coloursOf(PxlImageId id) {
    std::vector<uint32_t> out;
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Read);
    std::vector<uint8_t> rgb(size_t(3 * image->width()));
    for (int y = 0; y < image->height(); ++y) {
        pixmill::readRowRgb(*image, y, rgb.data());
        for (int x = 0; x < image->width(); ++x)
            out.push_back(uint32_t(rgb[size_t(3 * x)]) << 16 | uint32_t(rgb[size_t(3 * x + 1)]) << 8 |
                          rgb[size_t(3 * x + 2)]);
    }
    return out;
}

std::vector<uint32_t> rgbTriplets(const std::string& bytes) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i + 2 < bytes.size(); i += 3)
        out.push_back(uint32_t(uint8_t(bytes[i])) << 16 | uint32_t(uint8_t(bytes[i + 1])) << 8 |
                      uint8_t(bytes[i + 2]));
    return out;
}

// The pixels of a binary PPM (P6, maxval 255), as netpbm writes them.
std::vector<uint32_t> ppmColours(const std::string& ppm) {
    std::istringstream in(ppm);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (magic != "P6" || maxval != 255) return {};
    return rgbTriplets(rest.substr(0, size_t(3 * width * height)));
}

TEST_F(GifWriterCrossCheck, PicturesDecodeAlikeInGiflibImageMagickAndNetpbm) {
    REQUIRE_TOOLS("giflib-tools", "gifbuild");
    REQUIRE_TOOLS("imagemagick", "convert");
    REQUIRE_TOOLS("netpbm", "giftopnm");
    struct Case {
        int bits, width, height;
        bool interlaced;
        bool noise;
    };
    std::vector<Case> cases;
    for (int bits : {1, 4, 8})
        for (bool interlaced : {false, true})
            for (int width : {1, 2, 7, 8, 9, 16, 17})
                cases.push_back({bits, width, 1 + width % 10, interlaced, false});
    for (int bits : {1, 4, 8}) cases.push_back({bits, 300, 200, bits == 4, true});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits " + std::to_string(c.width) + "x" +
                     std::to_string(c.height) + (c.interlaced ? " interlaced" : ""));
        const std::vector<uint8_t> pixels = c.noise
                                                ? gif_writer_test::noise(c.width * c.height, 1 << c.bits, 9)
                                                : gif_test::pattern(c.width, c.height, 1 << c.bits, c.width);
        const PxlImageId id = paletteImage(c.width, c.height, c.bits, pixels);
        ASSERT_EQ(
            PXLSaveImage(id, path("p.gif").c_str(), PXL_FORMAT_GIF, c.interlaced ? 0x80 : 0, 0, nullptr), 1);
        const std::vector<uint32_t> want = coloursOf(id);
        PXLDeleteImage(id);
        const std::vector<gif_tools::DumpedImage> giflib = dump(folder_.file("p.gif"));
        ASSERT_EQ(giflib.size(), 1u);
        EXPECT_EQ(giflib[0].colours, want) << "giflib";
        EXPECT_EQ(rgbTriplets(output("convert " + q("p.gif") + " -depth 8 rgb:-")), want) << "ImageMagick";
        EXPECT_EQ(output("giftopnm " + q("p.gif") + " 2>&1 >/dev/null"), "") << "netpbm complains";
        EXPECT_EQ(ppmColours(output("giftopnm " + q("p.gif"))), want) << "netpbm";
    }
}

// One-row frames of 8-bit noise whose lengths run across the table sizes where codes widen decode
// to the colours written. (These decoders stop at the last pixel and forgive an end code of the
// wrong width; the width itself is checked against the reference encoder in the writer's tests.)
TEST_F(GifWriterCrossCheck, RowsAcrossEveryWidthChangeDecodeAlike) {
    REQUIRE_TOOLS("giflib-tools", "gifbuild");
    REQUIRE_TOOLS("netpbm", "giftopnm");
    std::vector<int> lengths;
    for (int from : {240, 500, 1010, 2030})
        for (int n = from; n < from + 40; ++n) lengths.push_back(n);
    PxlImageId first = 0;
    std::vector<std::vector<uint32_t>> want;
    for (int n : lengths) {
        const PxlImageId frame = paletteImage(n, 1, 8, gif_writer_test::noise(n, 256, uint32_t(n)));
        want.push_back(coloursOf(frame));
        if (first == 0) {
            first = frame;
        } else {
            ASSERT_EQ(PXLAddImageFrame(first, frame, -1), 1);
        }
    }
    ASSERT_EQ(PXLSaveImageFrames(first, path("rows.gif").c_str(), PXL_FORMAT_GIF, 0, 0, nullptr, 0), 1);
    const std::vector<gif_tools::DumpedImage> giflib = dump(folder_.file("rows.gif"));
    ASSERT_EQ(giflib.size(), lengths.size());
    for (size_t i = 0; i < lengths.size(); ++i)
        EXPECT_EQ(giflib[i].colours, want[i]) << lengths[i] << " pixels";
    EXPECT_EQ(output("giftopnm --image=all " + q("rows.gif") + " 2>&1 >/dev/null"), "");
}

// An animation with every frame fact set, as gifsicle and ImageMagick read it.
TEST_F(GifWriterCrossCheck, AnimationFactsAsGifsicleAndImageMagickReadThem) {
    REQUIRE_TOOLS("gifsicle", "gifsicle");
    REQUIRE_TOOLS("imagemagick", "identify");
    struct FrameFacts {
        int width, height, left, top, delay, disposal, transparent;
        bool ownPalette;
    };
    const FrameFacts facts[] = {{10, 8, 0, 0, 7, 1, -1, false},
                                {4, 3, 2, 1, 12, 2, 3, false},
                                {5, 5, 5, 3, 30, 3, -1, true},
                                {2, 2, 0, 6, 0, 0, 0, false}};
    PxlImageId first = 0;
    for (const FrameFacts& f : facts) {
        const PxlImageId frame =
            paletteImage(f.width, f.height, 8, gif_test::pattern(f.width, f.height, 200, f.delay));
        if (f.ownPalette) PXLSetColorToPalette(frame, 2, RGB(9, 9, 9));
        PxlFramesInfo info{0,
                           0,
                           f.left,
                           f.top,
                           f.delay,
                           f.disposal,
                           f.transparent >= 0 ? PXL_FRAME_TRANSPARENT_INDEX | f.transparent : 0,
                           nullptr,
                           nullptr,
                           nullptr};
        PXLSetImageFramesInfo(frame, &info);
        if (first == 0) {
            first = frame;
            PxlAnimateInfo animate{10, 9, 0, 4, nullptr};
            PXLSetAnimateInfo(first, &animate);
        } else {
            ASSERT_EQ(PXLAddImageFrame(first, frame, -1), 1);
        }
    }
    ASSERT_EQ(PXLSaveImageFrames(first, path("a.gif").c_str(), PXL_FORMAT_GIF, 0, 0, nullptr, 0), 1);
    const std::string info = output("gifsicle --info " + q("a.gif"));
    EXPECT_NE(info.find("4 images"), std::string::npos) << info;
    EXPECT_NE(info.find("logical screen 10x9"), std::string::npos) << info;
    EXPECT_NE(info.find("loop count 4"), std::string::npos) << info;
    // Each image's lines: "+ image #n WxH [at x,y] [transparent t]", then disposal and delay, then
    // its local table.
    std::vector<std::string> images;
    for (size_t at = info.find("+ image #"); at != std::string::npos;) {
        const size_t next = info.find("+ image #", at + 1);
        images.push_back(info.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    ASSERT_EQ(images.size(), 4u) << info;
    const char* disposals[] = {"", "asis", "background", "previous"};
    for (size_t i = 0; i < 4; ++i) {
        const FrameFacts& f = facts[i];
        const std::string& text = images[i];
        std::string size = std::to_string(f.width) + "x" + std::to_string(f.height);
        if (f.left || f.top) size += " at " + std::to_string(f.left) + "," + std::to_string(f.top);
        EXPECT_NE(text.find(size), std::string::npos) << text;
        EXPECT_EQ(text.find("transparent") != std::string::npos, f.transparent >= 0) << text;
        if (f.transparent >= 0) {
            EXPECT_NE(text.find("transparent " + std::to_string(f.transparent)), std::string::npos) << text;
        }
        if (f.disposal) {
            EXPECT_NE(text.find(std::string("disposal ") + disposals[f.disposal]), std::string::npos) << text;
        }
        if (f.delay) {
            char delay[32];
            std::snprintf(delay, sizeof delay, "delay %d.%02ds", f.delay / 100, f.delay % 100);
            EXPECT_NE(text.find(delay), std::string::npos) << text;
        }
        EXPECT_EQ(text.find("local color table") != std::string::npos, f.ownPalette) << text;
    }
    const std::string identified = output("identify -format '%T %D %W %H %X %Y|' " + q("a.gif"));
    EXPECT_EQ(identified,
              "7 None 10 9 +0 +0|12 Background 10 9 +2 +1|30 Previous 10 9 +5 +3|0 Undefined 10 9 +0 +6|");
}

// ImageMagick's coalescing against PXLRenderFrames frame by frame; pixels that ImageMagick
// leaves transparent after a disposal to background show the background colour here.
TEST_F(GifWriterCrossCheck, ComposedFramesMatchImageMagickCoalescing) {
    REQUIRE_TOOLS("imagemagick", "convert");
    struct Spec {
        int width, height, left, top, delay, disposal, transparent;
    };
    const Spec specs[] = {{12, 10, 0, 0, 5, 1, -1}, {5, 4, 2, 1, 5, 2, -1}, {6, 5, 5, 4, 5, 3, 7},
                          {3, 3, 1, 6, 5, 0, -1},   {7, 3, 4, 0, 5, 3, -1}, {12, 2, 0, 8, 5, 2, 1}};
    PxlImageId first = 0;
    for (const Spec& s : specs) {
        const PxlImageId frame =
            paletteImage(s.width, s.height, 8, gif_test::pattern(s.width, s.height, 16, s.left * 3 + s.top));
        PxlFramesInfo info{0,
                           0,
                           s.left,
                           s.top,
                           s.delay,
                           s.disposal,
                           s.transparent >= 0 ? PXL_FRAME_TRANSPARENT_INDEX | s.transparent : 0,
                           nullptr,
                           nullptr,
                           nullptr};
        PXLSetImageFramesInfo(frame, &info);
        if (first == 0) {
            first = frame;
            PxlAnimateInfo animate{12, 10, 0, 0, nullptr};
            PXLSetAnimateInfo(first, &animate);
        } else {
            ASSERT_EQ(PXLAddImageFrame(first, frame, -1), 1);
        }
    }
    ASSERT_EQ(PXLSaveImageFrames(first, path("c.gif").c_str(), PXL_FORMAT_GIF, 0, 0, nullptr, 0), 1);
    const std::string rgba = output("convert " + q("c.gif") + " -coalesce -depth 8 rgba:-");
    const size_t frameBytes = 12 * 10 * 4;
    ASSERT_EQ(rgba.size(), frameBytes * std::size(specs));
    const PxlImageId loaded = PXLLoadImageFramesOffset(path("c.gif").c_str(), 0, nullptr, 0);
    ASSERT_EQ(PXLGetImageFramesNum(loaded), int16_t(std::size(specs)));
    const COLORREF background = RGB(0x12, 0x34, 0x56);
    const PxlImageId canvas = make24(12, 10, std::vector<Rgb>(120, Rgb{0x12, 0x34, 0x56}));
    for (size_t f = 0; f < std::size(specs); ++f) {
        PXLRenderFrames(loaded, canvas, 0, 0, int16_t(f), int16_t(f), background, 0, 1);
        const std::vector<uint32_t> ours = coloursOf(canvas);
        for (size_t p = 0; p < 120; ++p) {
            const uint8_t* px = reinterpret_cast<const uint8_t*>(rgba.data() + f * frameBytes + 4 * p);
            const uint32_t theirs =
                px[3] == 255 ? uint32_t(px[0]) << 16 | uint32_t(px[1]) << 8 | px[2] : 0x123456;
            ASSERT_EQ(ours[p], theirs) << "frame " << f << " pixel " << p % 12 << "," << p / 12;
        }
    }
}

}  // namespace
