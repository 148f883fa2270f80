#include "player.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "mapping.h"
#include "metafile_format.h"
#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/region.h"
#include "winplat/text.h"

namespace vexmill {
namespace {

// Font heights beyond this are refused by the platform; a picture stretched that far gets its
// largest text instead.
constexpr int kMaxFontHeight = 16384;

RECT ordered(int x0, int y0, int x1, int y1) {
    return RECT{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

class Player {
  public:
    Player(const Picture& picture, HDC dc, int x, int y, int width, int height)
        : picture_(picture), dc_(dc), x_(x), y_(y), width_(width), height_(height),
          slots_(picture.objectSlots) {
        refit();
    }
    ~Player() {
        for (const Slot& slot : slots_) {
            if (slot.owned) DeleteObject(slot.handle);
        }
        for (HGDIOBJ object : retired_) DeleteObject(object);
    }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    void play() {
        for (const Record& r : picture_.records) step(r);
    }

  private:
    struct Slot {
        HGDIOBJ handle = nullptr;
        bool owned = false;
    };

    void refit() { t_ = DeviceTransform::fit(mapping_, picture_.frame, x_, y_, width_, height_); }
    int x(int32_t logical) const { return t_.x(logical); }
    int y(int32_t logical) const { return t_.y(logical); }
    RECT box(const Record& r) const { return ordered(x(r.a[0]), y(r.a[1]), x(r.a[2]), y(r.a[3])); }
    POINT point(int32_t lx, int32_t ly) const { return POINT{x(lx), y(ly)}; }

    std::span<const POINT> mapped(const Record& r) {
        points_.clear();
        for (uint32_t i = 0; i < r.count; ++i) {
            const POINT& p = picture_.points[r.first + i];
            points_.push_back(point(p.x, p.y));
        }
        return points_;
    }

    void step(const Record& r);
    void state(const Record& r);
    void create(const Record& r);
    void text(const Record& r);
    void stretchDib(const Record& r);
    void polyPolygon(const Record& r);
    void arc(const Record& r);
    void put(const Record& r, HGDIOBJ object, bool owned) {
        slots_[r.a[0]] = Slot{object, owned && object != nullptr};
    }

    const Picture& picture_;
    HDC dc_;
    int x_, y_, width_, height_;
    Mapping mapping_;
    DeviceTransform t_;
    std::vector<Slot> slots_;
    std::vector<HGDIOBJ> retired_;  // deleted by the picture, freed once the DC lets go of them
    std::vector<int> saves_;        // the DC's levels of the picture's own saves
    std::vector<Mapping> savedMappings_;
    std::vector<POINT> points_;
    std::vector<int> counts_;
    std::vector<POINT> kept_;
    std::vector<int> advances_;
};

void Player::state(const Record& r) {
    switch (r.op) {
        case Op::SetBkMode: SetBkMode(dc_, r.a[0]); break;
        case Op::SetBkColor: SetBkColor(dc_, COLORREF(r.a[0])); break;
        case Op::SetTextColor: SetTextColor(dc_, COLORREF(r.a[0])); break;
        case Op::SetRop2: SetROP2(dc_, r.a[0]); break;
        case Op::SetPolyFillMode: SetPolyFillMode(dc_, r.a[0]); break;
        case Op::SetTextAlign: SetTextAlign(dc_, UINT(r.a[0])); break;
        case Op::SetStretchBltMode: SetStretchBltMode(dc_, r.a[0]); break;
        case Op::SaveDc:
            saves_.push_back(SaveDC(dc_));
            savedMappings_.push_back(mapping_);
            break;
        case Op::RestoreDc: {
            const size_t kept = size_t(r.a[0]);
            if (kept >= saves_.size()) break;
            RestoreDC(dc_, saves_[kept]);
            mapping_ = savedMappings_[kept];
            saves_.resize(kept);
            savedMappings_.resize(kept);
            refit();
            break;
        }
        case Op::IntersectClipRect:
        case Op::ExcludeClipRect: {
            const RECT c = box(r);
            if (r.op == Op::IntersectClipRect) IntersectClipRect(dc_, c.left, c.top, c.right, c.bottom);
            else ExcludeClipRect(dc_, c.left, c.top, c.right, c.bottom);
            break;
        }
        case Op::SelectObject:
            if (HGDIOBJ object = slots_[r.a[0]].handle) SelectObject(dc_, object);
            break;
        case Op::DeleteObject: {
            Slot& slot = slots_[r.a[0]];
            if (slot.owned) retired_.push_back(slot.handle);
            slot = Slot{};
            break;
        }
        default:
            mapping_.apply(r);
            refit();
            break;
    }
}

void Player::create(const Record& r) {
    switch (r.op) {
        case Op::CreatePen: {
            const int width = r.a[2] == 0 ? 0 : std::max(1, t_.lengthX(r.a[2]));
            return put(r, CreatePen(r.a[1], width, COLORREF(r.a[3])), true);
        }
        case Op::CreateBrush:
            if (r.a[1] == format::kBsNull) return put(r, GetStockObject(NULL_BRUSH), false);
            if (r.a[1] == format::kBsHatched) return put(r, CreateHatchBrush(r.a[3], COLORREF(r.a[2])), true);
            return put(r, CreateSolidBrush(COLORREF(r.a[2])), true);
        case Op::CreateDibBrush: {
            const Bitmap& b = picture_.bitmaps[size_t(r.a[1])];
            void* bits = nullptr;
            winplat::OwnedBitmap pattern(CreateDIBSection(nullptr, b.bitmapInfo(), DIB_RGB_COLORS, &bits, nullptr, 0));
            if (!pattern || !bits) return put(r, nullptr, false);
            std::memcpy(bits, picture_.bytes.data() + b.bits, b.size);
            return put(r, CreatePatternBrush(pattern.get()), true);
        }
        case Op::CreateFont: {
            LOGFONTA font = picture_.fonts[size_t(r.a[1])];
            if (font.lfHeight != 0) {
                const int height = std::clamp(std::max(1, t_.lengthY(std::abs(font.lfHeight))), 1, kMaxFontHeight);
                font.lfHeight = font.lfHeight < 0 ? -height : height;
            }
            return put(r, CreateFontIndirectA(&font), true);
        }
        default:
            return put(r, nullptr, false);
    }
}

void Player::text(const Record& r) {
    const auto* chars = reinterpret_cast<const char*>(picture_.bytes.data() + r.first);
    const int at_x = x(r.a[0]), at_y = y(r.a[1]);
    if (r.a[2] == 0 && r.a[7] < 0) {
        TextOutA(dc_, at_x, at_y, chars, static_cast<int>(r.count));
        return;
    }
    const RECT clip = ordered(x(r.a[3]), y(r.a[4]), x(r.a[5]), y(r.a[6]));
    const int* dx = nullptr;
    if (r.a[7] >= 0) {
        advances_.clear();
        const uint8_t* stored = picture_.bytes.data() + r.a[7];
        for (uint32_t i = 0; i < r.count; ++i) {
            const int16_t advance = static_cast<int16_t>(stored[2 * i] | (stored[2 * i + 1] << 8));
            advances_.push_back(t_.lengthX(advance));
        }
        dx = advances_.data();
    }
    ExtTextOutA(dc_, at_x, at_y, UINT(r.a[2]), r.a[2] ? &clip : nullptr, chars, r.count, dx);
}

void Player::stretchDib(const Record& r) {
    const Bitmap& b = picture_.bitmaps[r.first];
    const int x0 = x(r.a[0]), y0 = y(r.a[1]), x1 = x(r.a[2]), y1 = y(r.a[3]);
    StretchDIBits(dc_, x0, y0, x1 - x0, y1 - y0, r.a[4], r.a[5], r.a[6], r.a[7], picture_.bytes.data() + b.bits,
                  b.bitmapInfo(), DIB_RGB_COLORS, r.count);
}

// Polygons of fewer than two points draw nothing; the rest go to the DC together, so that the
// fill mode decides about their overlaps as one figure.
void Player::polyPolygon(const Record& r) {
    const std::span<const POINT> all = mapped(r);
    const uint8_t* stored = picture_.bytes.data() + r.a[1];
    counts_.clear();
    kept_.clear();
    size_t at = 0;
    for (int32_t i = 0; i < r.a[0]; ++i) {
        const int count = stored[2 * i] | (stored[2 * i + 1] << 8);
        if (count >= 2) {
            counts_.push_back(count);
            kept_.insert(kept_.end(), all.begin() + at, all.begin() + at + size_t(count));
        }
        at += size_t(count);
    }
    if (!counts_.empty()) PolyPolygon(dc_, kept_.data(), counts_.data(), static_cast<int>(counts_.size()));
}

void Player::arc(const Record& r) {
    const RECT b = box(r);
    const POINT from = point(r.a[4], r.a[5]), to = point(r.a[6], r.a[7]);
    auto call = r.op == Op::Arc ? &Arc : r.op == Op::Pie ? &Pie : &Chord;
    call(dc_, b.left, b.top, b.right, b.bottom, from.x, from.y, to.x, to.y);
}

void Player::step(const Record& r) {
    switch (r.op) {
        case Op::CreatePen:
        case Op::CreateBrush:
        case Op::CreateDibBrush:
        case Op::CreateFont:
        case Op::CreateNothing:
            return create(r);
        case Op::MoveTo: MoveToEx(dc_, x(r.a[0]), y(r.a[1]), nullptr); return;
        case Op::LineTo: LineTo(dc_, x(r.a[0]), y(r.a[1])); return;
        case Op::SetPixel: SetPixel(dc_, x(r.a[0]), y(r.a[1]), COLORREF(r.a[2])); return;
        case Op::Polyline:
        case Op::Polygon: {
            const std::span<const POINT> points = mapped(r);
            if (points.size() < 2) return;  // draws nothing, as the calls would refuse it
            const int count = static_cast<int>(points.size());
            (r.op == Op::Polyline ? Polyline : Polygon)(dc_, points.data(), count);
            return;
        }
        case Op::PolyPolygon: return polyPolygon(r);
        case Op::Rectangle: {
            const RECT b = box(r);
            Rectangle(dc_, b.left, b.top, b.right, b.bottom);
            return;
        }
        case Op::Ellipse: {
            const RECT b = box(r);
            Ellipse(dc_, b.left, b.top, b.right, b.bottom);
            return;
        }
        case Op::RoundRect: {
            const RECT b = box(r);
            RoundRect(dc_, b.left, b.top, b.right, b.bottom, t_.lengthX(r.a[4]), t_.lengthY(r.a[5]));
            return;
        }
        case Op::Arc:
        case Op::Pie:
        case Op::Chord: return arc(r);
        case Op::PatBlt: {
            const RECT b = box(r);
            PatBlt(dc_, b.left, b.top, b.right - b.left, b.bottom - b.top, DWORD(r.a[4]));
            return;
        }
        case Op::TextOut: return text(r);
        case Op::StretchDib: return stretchDib(r);
        default: return state(r);
    }
}

}  // namespace

bool playPicture(const Picture& picture, HDC dc, int x, int y, int width, int height) {
    const int saved = SaveDC(dc);
    if (!saved) return false;
    const RECT area = ordered(x, y, x + width, y + height);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    // A picture starts in the alternate fill mode whatever the DC was left in.
    SetPolyFillMode(dc, ALTERNATE);
    Player player(picture, dc, x, y, width, height);
    player.play();
    // Back as it was before the player goes: the DC then holds none of the objects it frees.
    RestoreDC(dc, saved);
    return true;
}

}  // namespace vexmill
