#include "winforms/clipboard.h"

#include <cstring>
#include <span>
#include <vector>

#include "winforms/application.h"
#include "winplat/byte_reader.h"
#include "winplat/clipboard.h"
#include "winplat/memory.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {

constexpr winplat::Refuser refuse("winforms: Clipboard");
constexpr size_t kFileHeaderSize = 14;  // a BMP file's header before its DIB

HWND clipboardOwner() { return Application::Exists() ? Application::Current().UtilityWindow() : nullptr; }

// A movable block holding the bytes; empty on failure.
winplat::GlobalBlock blockOf(const void* bytes, size_t size) {
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) return block;
    const winplat::GlobalPin pin(block.get());
    if (!pin) return winplat::GlobalBlock();
    std::memcpy(pin.data(), bytes, size);
    return block;
}

// Where the bits of a DIB start: after its header, its bit masks and its colour table. Zero when
// the header cannot say (the reader then refuses the bitmap).
uint32_t bitsOffset(std::span<const uint8_t> dib) {
    winplat::ByteReader reader(dib);
    const uint32_t headerSize = reader.u32();
    if (headerSize == 12) {
        reader.skip(6);
        const uint16_t bits = reader.u16();
        return reader.ok() && bits <= 8 ? headerSize + 3u * (1u << bits) : headerSize;
    }
    if (headerSize < 40) return 0;
    reader.skip(10);
    const uint16_t bits = reader.u16();
    const uint32_t compression = reader.u32();
    reader.skip(12);
    const uint32_t used = reader.u32();
    if (!reader.ok() || used > 256) return 0;
    const uint32_t colours = used ? used : bits <= 8 ? 1u << bits : 0;
    const uint32_t masks = compression == BI_BITFIELDS && headerSize == 40 ? 12 : 0;
    return headerSize + masks + 4 * colours;
}

bool put(UINT format, winplat::GlobalBlock block) {
    const winplat::OpenedClipboard open(clipboardOwner());
    if (!open) return refuse(false, "another window has the clipboard open");
    EmptyClipboard();
    if (!SetClipboardData(format, block.get())) return refuse(false, "the clipboard refused the data");
    (void)block.release();  // the clipboard's now
    return true;
}

}  // namespace

bool Clipboard::SetText(const std::string& text) {
    winplat::GlobalBlock block = blockOf(text.c_str(), text.size() + 1);
    if (!block) return refuse(false, "no memory for the text");
    return put(CF_TEXT, std::move(block));
}

bool Clipboard::HasText() { return IsClipboardFormatAvailable(CF_TEXT) != FALSE; }

std::optional<std::string> Clipboard::Text() {
    const winplat::OpenedClipboard open(clipboardOwner());
    if (!open) return refuse(std::optional<std::string>{}, "another window has the clipboard open");
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return std::nullopt;
    const winplat::GlobalPin pin(static_cast<HGLOBAL>(data));
    if (!pin) return refuse(std::optional<std::string>{}, "the clipboard's text cannot be read");
    // The block may lack its terminating zero: read no further than its size.
    const size_t size = GlobalSize(static_cast<HGLOBAL>(data));
    const char* text = pin.as<const char>();
    return std::string(text, strnlen(text, size));
}

bool Clipboard::SetBitmap(const Bitmap& bitmap) {
    if (bitmap.Empty()) return refuse(false, "an empty bitmap");
    const std::vector<uint8_t> file = bitmap.SaveToBytes();
    if (file.size() <= kFileHeaderSize) return refuse(false, "the bitmap could not be written");
    winplat::GlobalBlock block = blockOf(file.data() + kFileHeaderSize, file.size() - kFileHeaderSize);
    if (!block) return refuse(false, "no memory for the bitmap");
    return put(CF_DIB, std::move(block));
}

bool Clipboard::HasBitmap() { return IsClipboardFormatAvailable(CF_DIB) != FALSE; }

bool Clipboard::GetBitmap(Bitmap& bitmap) {
    std::vector<uint8_t> file;
    {
        const winplat::OpenedClipboard open(clipboardOwner());
        if (!open) return refuse(false, "another window has the clipboard open");
        HANDLE data = GetClipboardData(CF_DIB);
        if (!data) return false;
        const winplat::GlobalPin pin(static_cast<HGLOBAL>(data));
        if (!pin) return refuse(false, "the clipboard's bitmap cannot be read");
        const size_t size = GlobalSize(static_cast<HGLOBAL>(data));
        // A file header in front, so the bitmap's one reader of BMP files reads it and checks
        // every field.
        const std::span<const uint8_t> dib(pin.as<const uint8_t>(), size);
        const uint32_t offset = bitsOffset(dib);
        if (offset == 0) return refuse(false, "the clipboard's bitmap has a header of no known kind");
        const uint32_t total = static_cast<uint32_t>(size + kFileHeaderSize);
        const uint32_t bits = offset + kFileHeaderSize;
        file = {'B', 'M'};
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(total >> (8 * i)));
        file.insert(file.end(), 4, 0);
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(bits >> (8 * i)));
        file.insert(file.end(), dib.begin(), dib.end());
    }
    return bitmap.LoadFromBytes(file);
}

bool Clipboard::Clear() {
    const winplat::OpenedClipboard open(clipboardOwner());
    if (!open) return refuse(false, "another window has the clipboard open");
    return EmptyClipboard() != FALSE;
}

}  // namespace winforms
