#include "page/old_object_forms.h"

#include "page/attribute_slots.h"
#include "page/field_codec.h"
#include "page/slot_records.h"
#include "store/link_target.h"
#include "winplat/byte_reader.h"

namespace lect32 {

namespace {

// The document byte of a page link stays as stored: the link number is its own document.
class StoredDocument final : public LinkResolver {
public:
    uint8_t CurrentDocumentIndex() const override { return 0; }
    uint8_t ResolveLink(uint8_t, uint8_t linkNumber) const override { return linkNumber; }
};

uint8_t enlargeSource(int16_t picture) {
    if (picture == -1) return 0;
    if (picture == -2) return 1;
    return 2;
}

template <class Record>
void appendRecord(std::vector<uint8_t>& attributes, const Record& record) {
    const auto bytes = field_codec::Encode(record);
    AppendSlot(attributes, Record::kSlot, bytes);
}

}  // namespace

void ConvertOldParameters(PageObject& record, std::span<const uint8_t, kOldBlockSize> parameters, uint8_t version,
                          std::vector<uint8_t>& attributes) {
    winplat::ByteReader in(parameters);
    if (record.IsPicture()) {
        PlacementRecord placement;
        placement.mode = in.u8();
        placement.zoom = in.u16();
        placement.freeProportions = in.u8();
        const int16_t stored = in.i16();
        placement.enlargePicture = version < 3 ? int16_t{-1} : stored;
        placement.enlargeSource = enlargeSource(placement.enlargePicture);
        appendRecord(attributes, placement);
        if (parameters[7] != 0) record.active = 1;
    } else if (record.IsMedia()) {
        MediaRecord media;
        media.showControls = in.u8();
        media.playAtOnce = in.u8();
        media.repeat = in.u8();
        appendRecord(attributes, media);
    }
}

void ConvertOldLink(std::span<const uint8_t, kOldBlockSize> link, std::vector<uint8_t>& attributes) {
    if (link[0] == 0) return;
    LinkTarget target;
    if (target.Decode(link.subspan(1), false, 0, true, StoredDocument()) < 0) return;
    uint8_t stored[LinkTarget::kMaxEncoded];
    const size_t length = target.Encode(stored, false);
    AppendSlot(attributes, Slot::Link, std::span<const uint8_t>(stored, length));
}

void ConvertOldButtonSlot(std::vector<uint8_t>& attributes) {
    const std::optional<SlotPlace> place = FindSlot(attributes, Slot::Record);
    if (!place || place->length != ButtonRecord::kOldSize) return;
    const auto old = std::span<const uint8_t>(attributes).subspan(place->data()).first<ButtonRecord::kOldSize>();
    std::vector<uint8_t> slot;
    appendRecord(slot, ButtonRecord::FromOld(old));
    const auto first = attributes.begin() + static_cast<std::ptrdiff_t>(place->header);
    const auto last = first + static_cast<std::ptrdiff_t>(kSlotHeader + place->length);
    attributes.insert(attributes.erase(first, last), slot.begin(), slot.end());
}

}  // namespace lect32
