// The view a page opens on its text objects: a text frame that reads the object's content record,
// takes the object's frame style, place and background, lays its rows out and paints them. The
// content goes back to the object as it came unless the frame changed it.
#ifndef LECT32_PAGE_TEXT_OBJECT_FRAME_H
#define LECT32_PAGE_TEXT_OBJECT_FRAME_H

#include <memory>

#include "page/object_text_frame.h"
#include "page/rich_text_object.h"

namespace lect32 {

class TextObjectFrame final : public ObjectTextFrame {
public:
    explicit TextObjectFrame(HWND owner, PageServices pageServices = {}, ViewServices services = {});

    // A damaged or empty record leaves one empty row.
    void Load(std::span<const uint8_t> content) override;
    std::vector<uint8_t> Content() const override;
    Change Changed() const override;
    uint32_t SerializedSize() const override;

    void ApplyFrameRecord(const FrameRecord& record) override { frame_.SetFrameStyle(record); }
    void Place(const RECT& box) override;
    void SetZoom(uint16_t numerator, uint16_t denominator) override { frame_.SetZoom(numerator, denominator); }
    void SetBackground(uint8_t colour, int16_t picture, uint8_t mode, int16_t scrollX, int32_t scrollY) override {
        frame_.SetBackground(colour, picture, mode, scrollX, scrollY);
    }
    // 'rect' is relative to the frame's box; nothing is painted outside the box, however far the
    // text runs.
    void Paint(HDC dc, const RECT& rect) override;
    // Lays the rows out; the content's height.
    int Layout() override;
    void Wheel(int step) override { frame_.OnMouseWheel(step > 0); }
    void ScrollByCode(int code) override { frame_.ScrollByCode(code); }
    void CollapseSelection() override { frame_.CollapseSelection(false); }
    bool FindText(const FrameSearch& search) override { return frame_.FindText(search); }
    void MarkFoundWords(const FrameSearch& search) override { frame_.MarkFoundWords(search); }

    RichTextObject& Frame() { return frame_; }

private:
    // Measuring and writing a frame walk its page's item stores, which lock as they read.
    mutable RichTextObject frame_;
    RECT box_{};  // where the frame was placed, in the owner's client coordinates
};

// The maker a page's services take for its text objects.
TextFrameMaker MakeTextObjectFrames(PageServices pageServices = {}, ViewServices services = {});

}  // namespace lect32

#endif
