// The objects that lie on one page beside its running text: their 58-byte records in (y, x)
// order, and per object two items of byte lists, its attribute slots (object texts) and, for a
// text frame, its content (second texts), both numbered by the record's attribute index. A page
// reads its objects from a page record, saves and loads them as a byte block (a text frame's
// content), keeps their attribute slots, activates the text frame of a text object, orders its
// objects for painting and hit testing, lets text flow around them, moves anchored objects and
// object windows, and frees what the objects hold.
//
// Object indices are 16-bit throughout: a page holds as many objects as its text lists can
// (16,383), and every one of them is painted and hit.
#ifndef LECT32_PAGE_PAGE_H
#define LECT32_PAGE_PAGE_H

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "page/attribute_slots.h"
#include "page/object_array.h"
#include "page/object_painting.h"
#include "page/object_text_frame.h"
#include "page/page_object.h"
#include "page/page_services.h"
#include "page/slot_records.h"
#include "page/staged_object.h"
#include "page/text_line.h"
#include "text/text_store.h"
#include "winplat/byte_reader.h"

namespace lect32 {

class FileNameTable;
class ImageFileTable;
class MemReader;
class MemWriter;
struct PageStyle;

// The page's share of its style: margins, size and background, in page pixels.
struct LayoutArea {
    int16_t leftMargin = 0;
    int16_t rightMargin = 0;
    int16_t topMargin = 0;
    int16_t bottomMargin = 0;
    int16_t width = 360;
    int16_t height = 0;
    uint8_t backColour = 255;
    int16_t backPicture = -1;
    uint8_t backPictureMode = 1;

    int16_t TextWidth() const { return static_cast<int16_t>(width - leftMargin - rightMargin); }
};

// Four values a text frame's page keeps across a save and load of its objects.
struct SavedPageValues {
    int16_t first = -1;
    uint8_t second = 0;
    int16_t third = -1;
    uint8_t fourth = 0;
    bool operator==(const SavedPageValues&) const = default;
};

// Who uses which of the document's files, for the files a document keeps.
class ObjectFileUse {
public:
    virtual ~ObjectFileUse() = default;
    virtual void UsePicture(int16_t index) = 0;
    virtual void UseVideo(int16_t index) = 0;
    virtual void UseSound(int16_t index) = 0;
};

// The largest bottom and right edge of a page's objects.
struct ObjectExtent {
    int32_t bottom = 0;
    int32_t right = 0;
};

class Page {
public:
    static constexpr int16_t kNone = -1;
    static constexpr int16_t kMinimumSpan = 30;
    static constexpr uint16_t kAllObjects = 0x7FFF;  // 'last' of CopyObjectsFrom
    static constexpr uint8_t kBlockFormat = 2;

    explicit Page(PageServices services = {});
    ~Page();
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // ---- records (page.cpp)
    uint16_t GetCount() const { return objects_.Count(); }
    const PageObject& Object(uint16_t i) const { return objects_[i]; }
    std::span<const PageObject> Objects() const { return objects_.All(); }
    // The cursor and the nested lock of the records (i = -1: the first record).
    PageObject* Lock(int i) { return objects_.Lock(i); }
    void Unlock() { objects_.Unlock(); }
    PageObject* SetCurrent(int i);
    // The picture table the objects' pictures are numbered in.
    FileNameTable& Pictures() { return pictures(); }
    // Copies record i out; nothing for -1 or a missing record.
    void GetObject(int i, PageObject& out) const;
    // 1 and the record when i is an object, else 0.
    int GetObjectChecked(int i, PageObject& out) const;
    void SetObject(int i, const PageObject& record);
    // Writes a changed record and measures it again: 0 when i is no object, 1 when placement,
    // anchoring or flow changed (the text must be laid out again), else 0.
    int UpdateObject(int i, const PageObject& record);
    int16_t GetAttributeIndex(int i) const;
    int16_t FindByAttributeIndex(int16_t attribute) const;

    // ---- attribute slots by attribute index t (page_slots.cpp)
    uint16_t GetSlotLength(int16_t t, Slot k);
    // Makes slot k hold n bytes (appended when absent, grown or cut at its end when present);
    // 0 only when the item cannot be had.
    int SetSlotSize(int16_t t, Slot k, uint16_t n);
    // The slot's data with the item locked (pair with UnlockSlot), or null with nothing locked.
    uint8_t* LockSlot(int16_t t, Slot k);
    void UnlockSlot(int16_t t);
    // The slot's bytes copied out (empty when absent), and a slot replaced as a whole.
    std::vector<uint8_t> CopySlot(uint16_t i, Slot k);
    bool SetSlot(uint16_t i, Slot k, std::span<const uint8_t> data);
    // The whole attribute item and the second text (a text frame's content) of object i.
    std::vector<uint8_t> CopyAttributes(uint16_t i);
    std::vector<uint8_t> CopySecondText(uint16_t i);
    bool SetSecondText(uint16_t i, std::span<const uint8_t> content);

    // ---- typed slot records by object index (page_slots.cpp); a Get without the slot gives the
    // record's defaults
    PlacementRecord GetPlacement(uint16_t i);
    bool SetPlacement(uint16_t i, const PlacementRecord& record);
    MediaRecord GetMedia(uint16_t i);
    bool SetMedia(uint16_t i, const MediaRecord& record);
    FrameRecord GetFrame(uint16_t i);
    bool SetFrame(uint16_t i, const FrameRecord& record);
    ButtonRecord GetButton(uint16_t i);
    bool SetButton(uint16_t i, const ButtonRecord& record);
    ScrollerRecord GetScroller(uint16_t i);
    bool SetScroller(uint16_t i, const ScrollerRecord& record);

    // ---- the text frame of text objects (page_text_frame.cpp)
    ObjectTextFrame* GetTextFrame();
    void ActivateTextObject(int i, bool position, bool keepStyle);
    void CommitTextObject();
    int16_t GetActiveTextObject() const { return activeText_; }
    uint32_t GetTextFramesSize();
    void WheelTextFrame(int step);
    void ScrollTextFrame(int code);
    int LayoutTextObject(int i);
    // Forwards to every text frame, or to frames until one reports.
    void CollapseFrameSelections();
    void LayOutTextFrames();
    bool FindInTextFrames(const FrameSearch& search);
    void MarkFoundWordsInFrames(const FrameSearch& search);
    bool ShowFirstFoundWordInFrames();
    bool ShowFrameTooltip(POINT pagePoint);
    // Key and link stepping go to the current object when it is a text frame being edited.
    bool FrameKeyDown(WPARAM key);
    bool FrameCommand(int command);
    void SetSelectionMode(uint8_t mode) { selectionMode_ = mode; }

    // ---- saved byte block (page_block.cpp)
    uint32_t GetSavedSize();
    // Appends the block to the writer; its length, or 0 when the writer failed.
    uint32_t SaveObjects(MemWriter& writer);
    // Frees the objects, then takes the block's; false (the page left empty) when it is damaged.
    bool LoadObjects(std::span<const uint8_t> block);
    // ORs into flags what a block holds: 1 any object, 2 a picture without its active flag,
    // 4 an active picture or a button, 8 video or sound. false when the block is damaged.
    static bool ScanSavedKinds(std::span<const uint8_t> block, uint8_t& flags);
    SavedPageValues GetSavedValues() const { return savedValues_; }
    void SetSavedValues(const SavedPageValues& values) { savedValues_ = values; }

    // ---- the object list of a page record (object_list_reader.cpp). Frees the objects first; a
    // list that does not fit its record leaves the page empty and returns false. otherPictures:
    // the picture table of the document the objects come from, when it is not this page's.
    bool ReadObjects(winplat::ByteReader& in, bool measure, FileNameTable* otherPictures = nullptr);
    bool ReadObjects(MemReader& reader, bool measure, FileNameTable* otherPictures = nullptr);

    // ---- geometry (page_geometry.cpp)
    void SetLayoutArea(const PageStyle& style);
    const LayoutArea& GetLayoutArea() const { return area_; }
    int16_t GetLayoutWidth() const { return layoutWidth_; }
    void MeasureObject(uint16_t i);
    void SetOrigin(int16_t x, int32_t y);
    void SetViewOffset(int16_t x, int16_t y);
    void SetOwner(HWND owner, intptr_t value);
    HWND GetOwner() const { return owner_; }
    // A drag of a copy of an object (mouse handling): the copy follows the origin.
    void BeginDrag(int16_t index);
    void EndDrag();
    const PageObject& GetDraggedCopy() const { return dragged_; }
    // The object's box inside its margins (unless text runs over it) and border, in the owner's
    // client coordinates.
    RECT ContentBox(uint16_t i) const;

    // ---- commands and freeing (page_commands.cpp)
    int DoCommand(int type, int value, void* data);
    void FreeObjects(bool all);
    void SetTimerRunning(bool running) { timerRunning_ = running; }

    // ---- order (page_order.cpp)
    // Paint order (bottom first: copied objects, then the others, each by ascending z) or hit
    // order (top first: the others, then the copied ones, each by descending z); equal z keep
    // their array order. Every object is listed.
    std::vector<uint16_t> BuildOrder(bool topFirst) const;
    // Each object's z becomes its place in the paint order.
    void Renumber();
    uint16_t CountCopied() const;
    // Moves object i to its (y, x) place; returns its new index.
    uint16_t ResortObject(uint16_t i);
    // A new object with its slots and content at its (y, x) place; its index, or kNone.
    int InsertObject(const PageObject& record, std::span<const uint8_t> attributes = {},
                     std::span<const uint8_t> content = {});
    // Object i takes paint position 'position', the objects between shifting by one; an object
    // that was not copied never goes below the copied ones.
    void SetPaintPosition(uint16_t i, int16_t position);

    int16_t GetCurrentObject() const { return current_; }
    void SetCurrentObject(int16_t i) { current_ = objects_.Contains(i) ? i : kNone; }

    // ---- text flow (text_flow.cpp)
    uint16_t FitTextLine(int32_t y, TextLine& line, int32_t minimumHeight, uint16_t first);
    void FindFreeSpan(uint16_t first, uint16_t last, TextLine& line);
    void SetBackgroundBrush(bool set) { backgroundBrush_ = set; }
    void SetMinimumSpan(int16_t width) { minimumSpan_ = width; }
    int16_t GetUsableWidth() const { return usableWidth_; }

    // ---- anchored objects (anchored_objects.cpp)
    uint16_t DetachAnchoredObjects();
    void PlaceAnchoredObjects();
    void MoveAnchoredObjects(uint16_t anchorId, int32_t y, int32_t offset, uint8_t anchoring);
    void ShiftAnchoredObjects(int32_t distance, bool restoreParked);
    int FindAnchoredObject(uint16_t anchorId, bool onlyTextAnchored) const;
    void SetAnchor(uint16_t i, int32_t anchorId, uint8_t anchoring = 2);
    void AvoidPageBreaks(int32_t firstBreak, int32_t pageHeight);

    // ---- copies between pages (object_copy.cpp)
    void CopyObjectsFrom(Page& other, bool keepCopied, uint16_t first, uint16_t last, bool remap,
                         int32_t yOffset);
    void DeleteCopiedObjects();
    void UseObjectFiles(ObjectFileUse& use);

    // ---- extent and scale (object_extent.cpp)
    ObjectExtent GetExtent() const;
    // First index and count of the objects whose top lies in [top, bottom).
    std::pair<uint16_t, uint16_t> FindObjectsInBand(int32_t top, int32_t bottom) const;
    bool HasObjectBelow(int32_t y) const;
    bool HasObjectBehindText() const;
    void ScaleObjects(int percent);
    void ZoomObjects(int percent, uint16_t numerator, uint16_t denominator);

    // ---- painting (object_painting.cpp, composed_images.cpp, direct_repaints.cpp). Positions are
    // the owner window's client coordinates.
    void SetPaintSetup(const PaintSetup& setup) { paint_ = setup; }
    const PaintSetup& GetPaintSetup() const { return paint_; }
    // Paints every object that crosses the update rectangle, bottom first, by the pass's rule;
    // objects without content (a picture without picture, a media object without file) are filled
    // as background in every pass. Prepares objects on their first paint.
    void PaintObjects(const RECT& update, HDC dc, HBRUSH brush, PaintPass pass);
    // Paints one object with its top left corner at (x, y): margins, border, content by kind.
    // 'clip' limits what opaque pictures draw; mode 1 paints it as something behind another.
    void PaintObject(uint16_t i, int x, int y, PageObject& record, HDC dc, HBRUSH brush, const RECT& clip, int mode);
    // What lies under object i (the background and every object before it in paint order):
    // whole, into a window DC within 'rect'; else into a DC whose origin is the object's content
    // box, over 'rect'.
    void PaintBehindObject(uint16_t i, HDC dc, HBRUSH brush, const RECT& rect, bool whole);
    // Builds the 24-bit image of what lies behind the object's picture; the work image it had is
    // dropped, to be made again from it where it is used. brush null: the page's background colour.
    void PrepareBackgroundImage(uint16_t i, PageObject& record, HDC dc, HBRUSH brush, const RECT& box);
    // The work image becomes a copy of the background image (made when missing); 0 without one.
    int RefreshWorkImage(PageObject& record);
    // Frame 'frame' of an animated picture straight onto the owner window (frame 3 while an
    // active animation of more than 3 frames is disabled).
    void PaintAnimationFrame(uint16_t i, int16_t frame);
    // A button onto the owner window in a state (disabled and pressed buttons take their own),
    // clipped to hot spot 'hotspot' of its list unless it is -1.
    void PaintButtonState(uint16_t i, ButtonState state, int hotspot);
    // The object's rectangle, or the band [top, bottom) of it (object-relative; both 0: all),
    // repainted on the owner window.
    void InvalidateObject(uint16_t i, int top, int bottom);
    // The XOR mark of the current object on the owner window; drawing it twice takes it off.
    void DrawSelectionFrame();
    // The object's rectangle in owner coordinates (lowered by the print offset while printing).
    RECT WindowRect(const PageObject& o) const;
    // Preparation as the default does it: pictures into the cache, the prepared flag set.
    void LoadObjectPictures(uint16_t i);
    // The button being pressed (kNone: none).
    void SetPressedObject(int16_t i) { pressed_ = i; }
    bool NeedsRepaint() const { return needsRepaint_; }
    bool ImagesChanged() const { return changed_; }
    bool MediaStarted() const { return mediaStarted_; }
    void ClearPaintFlags() { needsRepaint_ = changed_ = false; }

    // ---- mouse (object_hit_test.cpp)
    // The object under (x, y), page pixels, the top one first; -1 for none. 'part' is 1 inside
    // the object, 2-9 one of the eight handles of the current object (top-left 2, left-middle 3,
    // bottom-left 4, bottom-middle 5, bottom-right 6, right-middle 7, top-right 8, top-middle 9),
    // which reach a few pixels past its edges.
    int16_t HitTestObject(int32_t x, int32_t y, int& part) const;

    // ---- scrollers and commands of buttons (object_commands.cpp)
    // Among the objects other than 'from' that have a child window or are text frames (text
    // frames alone when 'textFramesOnly'), the one nearest to 'reference' (page pixels) by the
    // larger of the horizontal and vertical gaps, 0 where they overlap; the first on a tie; -1
    // for none nearer than 0x7FFF.
    int16_t FindNearestObject(const RECT& reference, int16_t from, bool textFramesOnly) const;
    // The scroller part at (x, y), relative to the object: 1 above the thumb, 2 on it, 3 below.
    // (-1, -1) measures instead: the track becomes the content height and the thumb length the
    // picture's height (0 without one); 0 then.
    int ScrollerPartAt(uint16_t i, int x, int y);
    // Moves the thumb by 'dy' along its track and repaints the band it crossed. The scroll
    // position the new thumb stands for, or -1 when the thumb did not move (or is not shorter
    // than its track).
    int32_t DragScrollerThumb(uint16_t i, int dy);

    // ---- animation (object_animation.cpp)
    // An animated raster picture (more than one frame) on an object that takes no mouse gets its
    // animation record at the first frame with the picture's own delays, and the owner's parent
    // is told to run the animation timer (9007). false for anything else.
    bool PrepareAnimation(uint16_t i);
    // One tick of the page's 50 ms animation timer: each running animation spends the tick and
    // draws the frame it moves to. true while any animation runs.
    bool AnimationTick();

    // ---- object windows (object_windows.cpp)
    void MoveObjectWindows();
    void MoveObjectWindow(uint16_t i);
    void RefreshBelowWindow(uint16_t i);

private:
    // The slot's place inside item t, its item's bytes copied.
    std::optional<SlotPlace> findSlot(int16_t t, Slot k);
    template <class Record>
    Record getRecord(uint16_t i, Record defaults);
    template <class Record>
    bool setRecord(uint16_t i, const Record& record, size_t written = Record::kSize);
    uint16_t addItems(std::span<const uint8_t> attributes, std::span<const uint8_t> content);
    // Adds one record with its two items at its (y, x) place; its index, or kNone.
    int addObject(PageObject record, std::span<const uint8_t> attributes, std::span<const uint8_t> content);
    // Puts a read list on the (empty) page: in (y, x) order, measured when asked, or in the
    // list's own order. false, the page emptied, when the text lists cannot take it.
    bool takeObjects(std::vector<StagedObject>& staged, bool sorted, bool measure);
    bool removeObject(uint16_t i);
    ObjectMedia& media();
    PagePainter& painter();
    FileNameTable& pictures();
    ImageFileTable& cache();
    void releaseImages(PageObject& o);
    void freeObject(PageObject& o, uint16_t i);
    void resetForReload(uint16_t i, int type);
    void storeCachedPaths();
    void placeFrameOn(uint16_t i);
    // Calls 'visit' with each text object activated and placed in turn; stops when it returns true.
    template <class Visit>
    bool eachTextFrame(Visit&& visit);
    // Text flow helpers.
    uint16_t flowEnd() const;
    void fillBand(int32_t left, int32_t top, int32_t width, int32_t height);
    void moveWindowTo(uint16_t i, bool repaint);
    // Painting helpers.
    bool prepareForPaint(uint16_t i);
    void fillBackground(HDC dc, const RECT& rect, HBRUSH brush);
    RECT paintMargins(const PageObject& o, RECT box, HDC dc, HBRUSH brush);
    RECT paintBorder(const PageObject& o, RECT box, HDC dc);
    void paintPicture(uint16_t i, PageObject& o, HDC dc, HBRUSH brush, const RECT& box, const RECT& clip);
    void paintTextFrame(uint16_t i, HDC dc, const RECT& box);
    void paintButton(uint16_t i, PageObject& o, HDC dc, const RECT& box, ButtonState state, int hotspot);
    void paintUncovered(uint16_t i, PageObject& o, HDC dc, HBRUSH brush, const RECT& box, const RECT& drawn,
                        bool composed);
    void composeFrame(PageObject& o, uint16_t image, int16_t frame, bool fresh);
    uint16_t cachedImage(int16_t cacheIndex);
    int16_t cachePicture(int16_t picture, int16_t cacheIndex, int kind);

    PageServices services_;
    ObjectArray objects_;
    TextStore attributes_;  // object texts
    TextStore contents_;    // second texts
    int16_t layoutWidth_ = 360;
    int16_t current_ = kNone;
    int16_t activeText_ = kNone;
    PageObject dragged_;
    int16_t draggedIndex_ = kNone;
    bool dragging_ = false;
    bool timerRunning_ = false;
    uint8_t selectionMode_ = 0;
    LayoutArea area_;
    int32_t originY_ = 0;
    int16_t originX_ = 0;
    int16_t viewX_ = 0;
    int16_t viewY_ = 0;
    HWND owner_ = nullptr;
    intptr_t ownerValue_ = 0;
    int32_t firstChange_ = 0;
    int32_t secondChange_ = 0;
    std::unique_ptr<ObjectTextFrame> frame_;
    bool frameFailed_ = false;
    SavedPageValues savedValues_;
    int16_t usableWidth_ = 360;
    int16_t minimumSpan_ = kMinimumSpan;
    bool backgroundBrush_ = false;
    PaintSetup paint_;
    int16_t pressed_ = kNone;
    bool needsRepaint_ = false;
    bool changed_ = false;
    bool mediaStarted_ = false;
};

template <class Visit>
bool Page::eachTextFrame(Visit&& visit) {
    for (uint16_t i = 0; i < GetCount(); ++i) {
        if (!objects_[i].Is(ObjectKind::TextFrame)) continue;
        ActivateTextObject(i, true, false);
        if (!frame_ || activeText_ != i) return false;
        if (visit(*frame_)) return true;
    }
    return false;
}

}  // namespace lect32

#endif
