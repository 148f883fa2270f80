// Object painting next to pixman: pages of 50 and 500 transparent 200 x 200 GIF pictures, each
// overlapping its neighbours by 50 pixels each way, painted by the page's walk into a 32-bit DIB
// section, and one frame of an animation repainted onto its owner window. pixman composites the same
// pictures with PIXMAN_OP_OVER through a1 and a8 masks made from the same transparency, onto a
// same-size x8r8g8b8 surface filled with the page colour first.
//
// The page is measured twice: repainted (the background images behind the pictures exist, as on
// every paint after the first) and painted the first time (each picture's background image is
// built from what lies behind it, the pictures already loaded). Items are pictures, so
// items_per_second compares the sizes and the peers directly, and "per_picture" says what one
// picture costs. The pictures and object lists come from the document writer (python3), run once at
// start; without python3 every benchmark skips, saying so.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "page/page.h"
#include "pixmill/pixmill.h"
#include "store/document_paths.h"
#include "store/file_name_table.h"
#include "store/string_pool.h"
#include "winplat/byte_reader.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/user.h"

namespace {

constexpr int kSide = 200;
constexpr COLORREF kPageColour = RGB(250, 245, 230);
constexpr pixman_color_t kPixmanPageColour{0xFAFA, 0xF5F5, 0xE6E6, 0xFFFF};  // the same colour
constexpr int16_t kAnimationFrames = 3;

using Bytes = std::vector<uint8_t>;

std::string windowsPath(const std::filesystem::path& path) {
    std::string windows = "C:" + path.string();
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

Bytes fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The writer's pictures and lists, made once; 'missing' says why there are none.
struct Fixture {
    std::filesystem::path folder;
    std::string missing;
    Bytes page50, page500, animationPage;
};

Fixture makeFixture() {
    Fixture f;
    f.folder = std::filesystem::temp_directory_path() / ("bench_object_painting_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(f.folder);
    if (std::system((std::string(PYTHON_EXECUTABLE) + " -c pass >/dev/null 2>&1").c_str()) != 0) {
        f.missing = "python3 is missing: the document writer cannot make the pictures";
        return f;
    }
    const std::string command = std::string(PYTHON_EXECUTABLE) + " -B '" + OBJECT_PAINTING_PICTURES + "' '" +
                                LCNWRITER_DIR + "' '" + f.folder.string() + "'";
    if (std::system(command.c_str()) != 0) {
        f.missing = "the document writer did not write the pictures";
        return f;
    }
    f.page50 = fileBytes(f.folder / "objects50.bin");
    f.page500 = fileBytes(f.folder / "objects500.bin");
    f.animationPage = fileBytes(f.folder / "objects_anim.bin");
    return f;
}

const Fixture& fixture() {
    static const Fixture f = [] {
        // No display for the owner window: the headless desktop, large enough for the page.
        setenv("WINPLAT_HOST", "headless", 0);
        setenv("WINPLAT_SCREEN", "1024x1536", 0);
        return makeFixture();
    }();
    return f;
}

struct PixmanUnref {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using Pixman = std::unique_ptr<pixman_image_t, PixmanUnref>;

// A top-down 32-bit DIB section in a memory DC, and pixman's view of its pixels.
class Surface {
public:
    Surface(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        dc_.reset(CreateCompatibleDC(nullptr));
        selected_ = SelectObject(dc_.get(), bitmap_.get());
        image_.reset(pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, static_cast<uint32_t*>(bits_), width * 4));
    }
    ~Surface() { SelectObject(dc_.get(), selected_); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    HDC dc() const { return dc_.get(); }
    pixman_image_t* image() const { return image_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    uint32_t pixel(int x, int y) const { return static_cast<const uint32_t*>(bits_)[y * width_ + x] & 0xFFFFFF; }

private:
    int width_, height_;
    void* bits_ = nullptr;
    winplat::OwnedBitmap bitmap_;
    winplat::MemoryDc dc_;
    HGDIOBJ selected_ = nullptr;
    Pixman image_;
};

// A page of the writer's object list over its own picture table and cache: still.gif is picture
// 0, anim.gif picture 1.
class BenchPage {
public:
    explicit BenchPage(const Bytes& list) : list_(list) {
        document_ = windowsPath(fixture().folder / "kniha.lcn");
        lect32::SetDocumentPathForPaths(document_.c_str());
        for (const char* path : {"\\still.gif", "\\anim.gif"}) {
            char buffer[lect32::FileNameTable::kPathBuffer];
            std::snprintf(buffer, sizeof buffer, "%s", path);
            pictures_.AddPath(buffer);
        }
        lect32::PageServices services;
        services.pictures = &pictures_;
        services.cache = &cache_;
        page_ = std::make_unique<lect32::Page>(services);
        read();
    }
    ~BenchPage() {
        page_->FreeObjects(true);
        lect32::SetDocumentPathForPaths(nullptr);
    }
    BenchPage(const BenchPage&) = delete;
    BenchPage& operator=(const BenchPage&) = delete;

    // The objects as the page record holds them, pictures loaded and nothing composed yet.
    bool read() {
        winplat::ByteReader in(list_);
        if (!page_->ReadObjects(in, false)) return false;
        for (uint16_t i = 0; i < page_->GetCount(); ++i) page_->LoadObjectPictures(i);
        return page_->GetCount() > 0 && cache_.GetImage(page_->Object(0).cacheIndex) != 0;
    }
    lect32::Page& page() { return *page_; }
    // The object showing anim.gif (the page keeps its objects in (y, x) order, not the list's).
    uint16_t animation() const {
        for (uint16_t i = 0; i < page_->GetCount(); ++i)
            if (page_->Object(i).picture == 1) return i;
        return 0;
    }
    PxlImageId image(uint16_t i) { return static_cast<PxlImageId>(cache_.GetImage(page_->Object(i).cacheIndex)); }
    // Width and height of the page's objects together.
    SIZE extent() const {
        SIZE s{0, 0};
        for (uint16_t i = 0; i < page_->GetCount(); ++i) {
            const RECT r = page_->WindowRect(page_->Object(i));
            s.cx = std::max<LONG>(s.cx, r.right);
            s.cy = std::max<LONG>(s.cy, r.bottom);
        }
        return s;
    }

private:
    const Bytes& list_;
    std::string document_;
    lect32::StringPool pictureFolders_;
    lect32::StringPool cacheFolders_;
    lect32::FileNameTable pictures_{pictureFolders_};
    lect32::ImageFileTable cache_{cacheFolders_};
    std::unique_ptr<lect32::Page> page_;
};

// A picture as pixman takes it: its pixels (x8r8g8b8) and its transparency as a8 (255 where drawn)
// and a1 masks.
struct PixmanPicture {
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> alpha;
    std::vector<uint32_t> bits;
    Pixman source, a8, a1;
};

// The picture's pixels drawn opaque, and its mask (set bits transparent, bottom-up rows padded to
// four bytes) turned over into alpha. False when the picture has no mask.
bool makePixmanPicture(PxlImageId id, PixmanPicture& p) {
    const int w = PXLWidth(id), h = PXLHeight(id);
    const Surface plain(w, h);
    PXLBitBlt(plain.dc(), 0, 0, w, h, id, 0, 0, w, h, PXL_DRAW_WHOLE, SRCCOPY, 0);
    p.pixels.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.pixels[static_cast<size_t>(y) * w + x] = 0xFF000000u | plain.pixel(x, y);
    const PxlImageId mask = PXLGetImageTransparentImage(id);
    if (!mask) return false;
    const BITMAPINFO* header = PXLGetBitmapInfoHeader(mask);
    const uint8_t* maskBits = PXLGetBits(mask);
    const bool ok = header && maskBits && header->bmiHeader.biBitCount == 1 && header->bmiHeader.biWidth == w;
    if (ok) {
        const int stride = (w + 31) / 32 * 4;
        const bool bottomUp = header->bmiHeader.biHeight > 0;
        p.alpha.resize(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = maskBits + static_cast<size_t>(bottomUp ? h - 1 - y : y) * stride;
            for (int x = 0; x < w; ++x)
                p.alpha[static_cast<size_t>(y) * w + x] = (row[x / 8] >> (7 - x % 8) & 1) ? 0 : 255;
        }
    }
    PXLDeleteImage(mask);
    if (!ok) return false;
    p.source.reset(pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, p.pixels.data(), w * 4));
    p.a8.reset(pixman_image_create_bits(PIXMAN_a8, w, h, reinterpret_cast<uint32_t*>(p.alpha.data()), w));
    p.bits.assign(static_cast<size_t>((w + 31) / 32) * h, 0);
    p.a1.reset(pixman_image_create_bits(PIXMAN_a1, w, h, p.bits.data(), (w + 31) / 32 * 4));
    pixman_image_composite32(PIXMAN_OP_SRC, p.a8.get(), nullptr, p.a1.get(), 0, 0, 0, 0, 0, 0, w, h);
    return true;
}

const Bytes& pageList(int pictures) { return pictures == 50 ? fixture().page50 : fixture().page500; }

void perPicture(benchmark::State& state, int64_t pictures) {
    state.SetItemsProcessed(state.iterations() * pictures);
    state.counters["per_picture"] = benchmark::Counter(
        static_cast<double>(pictures), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// ---------------------------------------------------------------- pages

// The page colour over the whole surface, where pictures leave the page to show.
void fillPage(const Surface& surface) {
    const pixman_rectangle16_t all{0, 0, static_cast<uint16_t>(surface.width()), static_cast<uint16_t>(surface.height())};
    pixman_image_fill_rectangles(PIXMAN_OP_SRC, surface.image(), &kPixmanPageColour, 1, &all);
}

// Pixels of the two surfaces that differ: ours against pixman's OVER through the a1 mask.
int64_t differingPixels(BenchPage& bench, const Surface& ours) {
    PixmanPicture picture;
    if (!makePixmanPicture(bench.image(0), picture)) return -1;
    const Surface peer(ours.width(), ours.height());
    fillPage(peer);
    for (const uint16_t i : bench.page().BuildOrder(false)) {
        const RECT r = bench.page().WindowRect(bench.page().Object(i));
        pixman_image_composite32(PIXMAN_OP_OVER, picture.source.get(), picture.a1.get(), peer.image(), 0, 0, 0, 0,
                                 r.left, r.top, kSide, kSide);
    }
    int64_t differing = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) differing += ours.pixel(x, y) != peer.pixel(x, y);
    return differing;
}

void BM_PageRepaint(benchmark::State& state) {
    if (!fixture().missing.empty()) return state.SkipWithError(fixture().missing.c_str());
    BenchPage bench(pageList(static_cast<int>(state.range(0))));
    const SIZE size = bench.extent();
    const Surface surface(size.cx, size.cy);
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(kPageColour));
    const RECT all{0, 0, size.cx, size.cy};
    fillPage(surface);  // where no object lies, as pixman's page has it
    bench.page().PaintObjects(all, surface.dc(), brush.get(), lect32::PaintPass::All);
    if (!bench.page().Object(0).backgroundImage) return state.SkipWithError("the first picture was not composed");
    for (auto _ : state) {
        bench.page().PaintObjects(all, surface.dc(), brush.get(), lect32::PaintPass::All);
        benchmark::ClobberMemory();
    }
    perPicture(state, bench.page().GetCount());
    state.counters["pixels_unlike_pixman"] = static_cast<double>(differingPixels(bench, surface));
}

void BM_PageFirstPaint(benchmark::State& state) {
    if (!fixture().missing.empty()) return state.SkipWithError(fixture().missing.c_str());
    BenchPage bench(pageList(static_cast<int>(state.range(0))));
    const SIZE size = bench.extent();
    const Surface surface(size.cx, size.cy);
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(kPageColour));
    const RECT all{0, 0, size.cx, size.cy};
    fillPage(surface);
    for (auto _ : state) {
        state.PauseTiming();
        const bool read = bench.read();
        state.ResumeTiming();
        if (!read) return state.SkipWithError("the object list or its pictures did not load");
        bench.page().PaintObjects(all, surface.dc(), brush.get(), lect32::PaintPass::All);
        benchmark::ClobberMemory();
    }
    perPicture(state, bench.page().GetCount());
    state.counters["pixels_unlike_pixman"] = static_cast<double>(differingPixels(bench, surface));
}

// The page colour under the whole page, then every picture OVER it through its mask, in paint
// order.
void pixmanPage(benchmark::State& state, bool a1) {
    if (!fixture().missing.empty()) return state.SkipWithError(fixture().missing.c_str());
    BenchPage bench(pageList(static_cast<int>(state.range(0))));
    PixmanPicture picture;
    if (!makePixmanPicture(bench.image(0), picture)) return state.SkipWithError("the picture has no mask");
    const SIZE size = bench.extent();
    const Surface surface(size.cx, size.cy);
    std::vector<POINT> places;
    for (const uint16_t i : bench.page().BuildOrder(false)) {
        const RECT r = bench.page().WindowRect(bench.page().Object(i));
        places.push_back({r.left, r.top});
    }
    pixman_image_t* mask = a1 ? picture.a1.get() : picture.a8.get();
    for (auto _ : state) {
        fillPage(surface);
        for (const POINT& p : places)
            pixman_image_composite32(PIXMAN_OP_OVER, picture.source.get(), mask, surface.image(), 0, 0, 0, 0, p.x, p.y,
                                     kSide, kSide);
        benchmark::ClobberMemory();
    }
    perPicture(state, static_cast<int64_t>(places.size()));
}

void BM_PixmanPageOverA1(benchmark::State& state) { pixmanPage(state, true); }
void BM_PixmanPageOverA8(benchmark::State& state) { pixmanPage(state, false); }

// ---------------------------------------------------------------- one animation frame

LRESULT CALLBACK quietOwner(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

HWND ownerWindow(const SIZE& size) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = quietOwner;
    wc.lpszClassName = "BenchObjectPaintingOwner";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy, nullptr, nullptr,
                           nullptr, nullptr);
}

// Frames 0, 1, 2, 0, ... of the animation over nine of the page's pictures, onto the owner window.
void BM_AnimationFrame(benchmark::State& state) {
    if (!fixture().missing.empty()) return state.SkipWithError(fixture().missing.c_str());
    BenchPage bench(fixture().animationPage);
    const SIZE size = bench.extent();
    const HWND owner = ownerWindow(size);
    if (!owner) return state.SkipWithError("no owner window");
    bench.page().SetOwner(owner, 0);
    const uint16_t animation = bench.animation();
    if (PXLGetImageFramesNum(bench.image(animation)) != kAnimationFrames) {
        DestroyWindow(owner);
        return state.SkipWithError("the animation did not load");
    }
    bench.page().PaintAnimationFrame(animation, 0);
    if (!bench.page().Object(animation).backgroundImage) {
        DestroyWindow(owner);
        return state.SkipWithError("the animation was not composed");
    }
    int16_t frame = 0;
    for (auto _ : state) {
        frame = static_cast<int16_t>((frame + 1) % kAnimationFrames);
        bench.page().PaintAnimationFrame(animation, frame);
    }
    perPicture(state, 1);
    DestroyWindow(owner);
}

// The same repaint by pixman: what lies behind copied into the work surface, the frame OVER it
// through its mask, the work surface onto a window-sized surface.
void pixmanFrame(benchmark::State& state, bool a1) {
    if (!fixture().missing.empty()) return state.SkipWithError(fixture().missing.c_str());
    BenchPage bench(fixture().animationPage);
    const uint16_t animation = bench.animation();
    const PxlImageId first = bench.image(animation);
    std::vector<PixmanPicture> frames(kAnimationFrames);
    for (int16_t k = 0; k < kAnimationFrames; ++k) {
        if (!makePixmanPicture(PXLGetImageFramesImage(first, k), frames[static_cast<size_t>(k)]))
            return state.SkipWithError("a frame of the animation has no mask");
    }
    const SIZE size = bench.extent();
    const Surface window(size.cx, size.cy);
    const Surface behind(kSide, kSide);
    const Surface work(kSide, kSide);
    const RECT r = bench.page().WindowRect(bench.page().Object(animation));
    size_t frame = 0;
    for (auto _ : state) {
        frame = (frame + 1) % frames.size();
        const PixmanPicture& p = frames[frame];
        pixman_image_composite32(PIXMAN_OP_SRC, behind.image(), nullptr, work.image(), 0, 0, 0, 0, 0, 0, kSide, kSide);
        pixman_image_composite32(PIXMAN_OP_OVER, p.source.get(), a1 ? p.a1.get() : p.a8.get(), work.image(), 0, 0, 0,
                                 0, 0, 0, kSide, kSide);
        pixman_image_composite32(PIXMAN_OP_SRC, work.image(), nullptr, window.image(), 0, 0, 0, 0, r.left, r.top, kSide,
                                 kSide);
        benchmark::ClobberMemory();
    }
    perPicture(state, 1);
}

void BM_PixmanFrameOverA1(benchmark::State& state) { pixmanFrame(state, true); }
void BM_PixmanFrameOverA8(benchmark::State& state) { pixmanFrame(state, false); }

void pages(benchmark::internal::Benchmark* b) { b->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond); }

BENCHMARK(BM_PageRepaint)->Apply(pages);
BENCHMARK(BM_PageFirstPaint)->Apply(pages);
BENCHMARK(BM_PixmanPageOverA1)->Apply(pages);
BENCHMARK(BM_PixmanPageOverA8)->Apply(pages);
BENCHMARK(BM_AnimationFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PixmanFrameOverA1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PixmanFrameOverA8)->Unit(benchmark::kMicrosecond);

}  // namespace
