// Filling a dialog's list or combo box with the document's page names.
#include <algorithm>
#include <memory>
#include <new>
#include <string>

#include "store/doc_string_table.h"
#include "store/id_list.h"
#include "store/vazazi_file.h"
#include "winplat/base.h"
#include "winplat/controls.h"
#include "winplat/dialogs.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"
#include "winplat/text.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: page name list");

// The messages of a list box or of a combo box.
struct ListMessages {
    UINT add, insert, setData, setExtent;
};
constexpr ListMessages kListBox{LB_ADDSTRING, LB_INSERTSTRING, LB_SETITEMDATA, LB_SETHORIZONTALEXTENT};
constexpr ListMessages kComboBox{CB_ADDSTRING, CB_INSERTSTRING, CB_SETITEMDATA, CB_SETHORIZONTALEXTENT};

// Widths of the texts in the dialog's 8-point bold measuring font.
class TextMeasure {
public:
    explicit TextMeasure(HWND dialog)
        : dc_(dialog),
          font_(CreateFontA(-MulDiv(8, dc_ ? GetDeviceCaps(dc_.get(), LOGPIXELSY) : 96, 72), 0, 0, 0, FW_BOLD, 0, 0, 0,
                            DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif")),
          selection_(dc_.get(), font_.get()) {}

    void measure(const char* text, int length) {
        SIZE size{};
        if (dc_ && GetTextExtentPoint32A(dc_.get(), text, length, &size)) widest_ = std::max(widest_, int{size.cx});
    }
    int widest() const { return widest_; }

private:
    winplat::BorrowedDc dc_;
    winplat::GdiObject<HFONT> font_;
    winplat::Selection selection_;
    int widest_ = 0;
};

bool keeps(int filter, const uint8_t* inList, int n) {
    if (filter == DocStringTable::kFillNotInList) return inList[n] == 0;
    if (filter == DocStringTable::kFillInList) return inList[n] != 0;
    return true;
}

}  // namespace

int DocStringTable::FillListControl(HWND dialog, int controlId, uint8_t flags, const uint8_t* map, IdList* ids,
                                    const char* headingText) {
    if (!container_->IsOpen()) return 1;
    const ListMessages& messages = (flags & kFillCombo) ? kComboBox : kListBox;
    const int filter = flags & ~(kFillCombo | kFillHeading);
    std::unique_ptr<uint8_t[]> inList;
    if (filter == kFillNotInList || filter == kFillInList) {
        inList.reset(new (std::nothrow) uint8_t[IdList::kMapSize]());
        if (!inList) return refuse(0, "no memory for the id map");
        if (ids) ids->MarkInMap(inList.get());
    }
    auto send = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        return SendDlgItemMessageA(dialog, controlId, message, wParam, lParam);
    };
    TextMeasure measure(dialog);
    const int walked = ForEachString([&](int n, const char* text, int length) {
        if (!keeps(filter, inList.get(), n) || (map && map[n] == 0)) return true;
        const LRESULT at = send(messages.add, 0, reinterpret_cast<LPARAM>(text));
        send(messages.setData, static_cast<WPARAM>(at), n);
        measure.measure(text, length);
        return true;
    });
    if (!walked) return 0;
    if (flags & kFillHeading) {
        const std::string heading = std::string(">>> ") + (headingText ? headingText : "") + " <<<";
        send(messages.insert, 0, reinterpret_cast<LPARAM>(heading.c_str()));
        send(messages.setData, 0, -1);
        measure.measure(heading.c_str(), static_cast<int>(heading.size()));
    }
    send(messages.setExtent, static_cast<WPARAM>(measure.widest() + 2), 0);
    return 1;
}

}  // namespace lect32
