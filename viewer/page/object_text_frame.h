// The view a page opens on a text object (kind 5) to show, edit and lay out its content: one per
// page, moved from text object to text object as each is activated. The page talks to it only
// through this interface.
//
// The text-frame view itself is not built yet. Until it is, this base class stands in for it and
// does nothing observable: it keeps the content it is loaded with and hands the same bytes back,
// reports no change, handles no command, finds nothing and lays out nothing, so a page whose text
// objects are activated, committed and forwarded to ends exactly as it began. The view overrides
// every operation.
#ifndef LECT32_PAGE_OBJECT_TEXT_FRAME_H
#define LECT32_PAGE_OBJECT_TEXT_FRAME_H

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "page/slot_records.h"
#include "winplat/draw.h"
#include "winplat/types.h"

namespace lect32 {

// What the frame is asked to find or mark in its text.
struct FrameSearch {
    std::string_view text;  // cp1250
    bool matchCase = false;
    bool wholeWords = false;
};

class ObjectTextFrame {
public:
    // Which of the frame's two change states holds after editing.
    enum class Change : uint8_t { None, First, Second };

    virtual ~ObjectTextFrame() = default;

    // The object's stored content (its second text) in, and back out when the page commits it.
    virtual void Load(std::span<const uint8_t> content) { content_.assign(content.begin(), content.end()); }
    virtual std::vector<uint8_t> Content() const { return content_; }
    virtual Change Changed() const { return Change::None; }

    virtual void ApplyFrameRecord(const FrameRecord&) {}
    // The frame's place in the owner window's client area.
    virtual void Place(const RECT&) {}
    virtual void SetZoom(uint16_t /*numerator*/, uint16_t /*denominator*/) {}
    // What the frame paints its text on: a colour index, a picture index of the picture table
    // (-1 none) with its placement mode, and the owner's scroll offsets.
    virtual void SetBackground(uint8_t /*colour*/, int16_t /*picture*/, uint8_t /*mode*/, int16_t /*scrollX*/,
                               int32_t /*scrollY*/) {}
    // Paints the frame within 'rect' of the device (frame coordinates). The stand-in has no
    // rows, and a frame without rows paints nothing.
    virtual void Paint(HDC /*dc*/, const RECT& /*rect*/) {}

    // A page command; non-zero when the frame handled it.
    virtual int DoCommand(int /*type*/, int /*value*/, void* /*data*/) { return 0; }
    // The frame's layout operation; its result is handed back to the page's caller.
    virtual int Layout() { return 0; }
    // Bytes the frame's content takes when it is stored.
    virtual uint32_t SerializedSize() const { return static_cast<uint32_t>(content_.size()); }

    virtual void Wheel(int /*step*/) {}
    virtual void ScrollByCode(int /*code*/) {}
    virtual void CollapseSelection() {}
    virtual bool FindText(const FrameSearch&) { return false; }
    virtual void MarkFoundWords(const FrameSearch&) {}
    virtual bool ShowFirstFoundWord() { return false; }
    // A point relative to the frame's content box.
    virtual bool ShowTooltip(POINT) { return false; }
    virtual bool OnKeyDown(WPARAM /*key*/) { return false; }
    // Moves the selection to the next (or previous) link of the frame.
    virtual bool StepLink(bool /*forward*/) { return false; }

protected:
    std::vector<uint8_t> content_;
};

// Makes the page's frame on first need, owned by the page's owner window; null when it cannot.
using TextFrameMaker = std::function<std::unique_ptr<ObjectTextFrame>(HWND owner)>;

}  // namespace lect32

#endif
