#include "script/script_loader.h"

#include <array>
#include <optional>

#include "drawing/file_names.h"
#include "drawing/text_helpers.h"
#include "drawing/file_handle.h"
#include "script/io_result.h"
#include "winplat/base.h"
#include "winplat/refusal.h"

namespace linework {

namespace {

constexpr winplat::Refuser refuse("linework: script loader");

// The bytes of an open file, read in blocks; a read error ends the stream like its end does.
class ByteStream {
public:
    explicit ByteStream(HANDLE file) : file_(file) {}

    std::optional<uint8_t> Next() {
        if (at_ == size_ && !Fill()) return std::nullopt;
        return buffer_[at_++];
    }
    bool Failed() const { return failed_; }

private:
    bool Fill() {
        DWORD read = 0;
        if (!ReadFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &read, nullptr)) {
            failed_ = true;
            return false;
        }
        at_ = 0;
        size_ = read;
        return read > 0;
    }

    HANDLE file_;
    std::array<uint8_t, 65536> buffer_{};
    size_t at_ = 0;
    size_t size_ = 0;
    bool failed_ = false;
};

// The next line of a text file: CR, LF or CR LF ends it; characters past 255 are skipped.
std::optional<std::string> ReadTextLine(ByteStream& in, std::optional<uint8_t>& lookahead) {
    std::optional<uint8_t> c = lookahead ? lookahead : in.Next();
    lookahead.reset();
    if (!c) return std::nullopt;
    std::string line;
    for (; c && *c != '\r' && *c != '\n'; c = in.Next()) {
        if (line.size() < kShortStringMax) line += static_cast<char>(*c);
    }
    if (c && *c == '\r') {
        std::optional<uint8_t> next = in.Next();
        if (next && *next != '\n') lookahead = next;
    }
    return line;
}

bool LoadPlain(LoaderContext& context, ByteStream& in, uint8_t first, LoadMode mode, int32_t line) {
    ProgramStore& store = context.store;
    std::optional<uint8_t> lookahead = first;
    if (mode == LoadMode::Whole) {
        for (int32_t slot = line; slot <= ProgramStore::kLastLine; ++slot) {
            auto text = ReadTextLine(in, lookahead);
            if (!text) break;
            if (slot >= 1) {
                store.SetLine(slot, NormalizeProgramLine(*text));
                store.lastLoadedLine = slot;
            }
        }
        return true;
    }
    for (int32_t count = line; auto text = ReadTextLine(in, lookahead); --count) {
        if (count != 1) continue;
        store.SetLine(1, NormalizeProgramLine(*text));
        std::string stored = store.GetTextLine(1);
        if (stored.empty() || stored[0] == '/') return false;
        if (context.rememberCommand) context.rememberCommand(stored);
        return true;
    }
    return false;
}

// The compiled form: a skipped 26-character header, a 256-byte key table, a 4-byte check count, then lines
// whose bytes are chained through the table; the count must come out at 0.
bool LoadCompiled(LoaderContext& context, ByteStream& in, int32_t line) {
    auto next = [&in](uint8_t& out) {
        auto b = in.Next();
        if (b) out = *b;
        return b.has_value();
    };
    // The header is a short string whose length byte, 26, is the mark already read.
    bool ok = true;
    uint8_t skipped = 0;
    for (int i = 0; ok && i < kCompiledMark; ++i) ok = next(skipped);
    std::array<uint8_t, 256> table{};
    for (auto& entry : table) ok = ok && next(entry);
    uint8_t c = 0;
    for (uint8_t entry : table)
        if ((entry & 1) || entry > 0x7F) c ^= entry;
    int64_t count = 0;
    for (int shift = 24; ok && shift >= 0; shift -= 8) {
        uint8_t b = 0;
        ok = next(b);
        count |= static_cast<int64_t>(b ^ table[static_cast<size_t>(shift)]) << shift;
    }
    uint8_t d = table[57];
    for (int32_t slot = line; ok;) {
        uint8_t b = 0;
        if (!(ok = next(b))) break;
        d ^= b ^ c;
        size_t length = d & 0x7F;
        c = table[c];
        std::string text(length, '\0');
        for (size_t k = 1; ok && k <= length; ++k) {
            ok = next(b);
            d ^= b ^ c;
            text[k - 1] = static_cast<char>(d);
            count -= d;
            c = table[(c + k) & 0xFF];
        }
        if (!ok) break;  // a line cut short is not stored
        if (slot >= 1 && slot <= ProgramStore::kLastLine) {
            context.store.SetLine(slot, text, true);
            context.store.lastLoadedLine = slot;
        }
        ++slot;
        if (count <= 0) break;
    }
    if (ok && count == 0) return true;
    if (context.showInfo) context.showInfo(kCorruptProgramText);
    return refuse(false, ok ? "compiled program: check count does not match" : "compiled program cut short");
}

}  // namespace

bool LoadTextTable(LoaderContext& context, LoadMode mode, int32_t line, std::string_view name) {
    std::string path = CompleteFileName("", name, context.programFolder);
    if (path.empty()) return refuse(false, "no file name");
    FileHandle file = OpenForReading(path);
    if (!file) {
        context.runtime.SetStatusWord(IoResultOfSystemError(GetLastError()));
        return refuse(false, "the program file cannot be opened");
    }
    context.store.lastLoadedLine = 0;
    ByteStream in(file.get());
    std::optional<uint8_t> first = in.Next();
    bool read = true;
    bool result;
    if (first && *first == kCompiledMark) {
        read = LoadCompiled(context, in, line);
        result = read && mode == LoadMode::Whole;
    } else if (first) {
        result = LoadPlain(context, in, *first, mode, line);
    } else {
        result = mode == LoadMode::Whole;  // an empty file loads nothing
    }
    context.runtime.NoteIoResult(in.Failed() ? kIoReadPastEnd : kIoSuccess);
    context.runtime.CheckIOResult();
    if (read) context.store.programName = path.substr(0, ProgramStore::kMaxLine);
    return result;
}

}  // namespace linework
