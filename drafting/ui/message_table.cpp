#include "ui/message_table.h"

#include <fstream>
#include <iterator>
#include <optional>

#include "drawing/file_names.h"
#include "winplat/debug.h"
#include "winplat/paths.h"
#include "script/io_result.h"
#include "winplat/base.h"

namespace linework {

namespace {

// Hands out the file's lines one by one, counting them from 1, each cut to 255 characters.
class LineReader {
public:
    explicit LineReader(std::string_view content) : content_(content) {}

    // The next raw line, or nothing at the end of the content.
    std::optional<std::string_view> Next() {
        if (at_ >= content_.size()) return std::nullopt;
        size_t end = content_.find('\n', at_);
        if (end == std::string_view::npos) end = content_.size();
        std::string_view line = content_.substr(at_, end - at_);
        at_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line.substr(0, MessageTable::kMaxLineLength);
    }

private:
    std::string_view content_;
    size_t at_ = 0;
};

}  // namespace

std::string NormaliseTextLine(std::string_view line) {
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
    std::string out;
    out.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '%' && i + 1 < line.size() && line[i + 1] == '%') {
            out += "\r\n";
            ++i;
        } else {
            out += line[i];
        }
    }
    return out;
}

MessageTable::MessageTable() { Parse({}); }

const std::string& MessageTable::Message(int n) const {
    static const std::string none;
    if (n < 0 || n >= kMessages) return none;
    return messages_[static_cast<size_t>(n)];
}

void MessageTable::Parse(std::string_view content) {
    LineReader reader(content);
    bool ranOut = false;
    // Line n as the program uses it: the file's line, or the placeholder once the file ran out.
    auto read = [&](int n) {
        std::optional<std::string_view> line = ranOut ? std::nullopt : reader.Next();
        if (!line) {
            ranOut = true;
            return NormaliseTextLine("lkt" + std::to_string(n));
        }
        return NormaliseTextLine(*line);
    };
    int n = 1;
    for (std::string& message : messages_) message = read(n++);
    for (std::string& hint : controlHints_) hint = read(n++);
    statusString_ = read(n++);
    for (std::string& hint : toolHints_) {
        if (n == kUndoHintLine) {
            hint = read(n++);
            undoHintBase_ = hint;
        } else {
            hint = read(n++);
        }
    }
    mismatch_ = ranOut;
    if (ranOut) return;
    // The tail: empty lines may follow line 267, nothing else.
    while (std::optional<std::string_view> line = reader.Next()) {
        if (!line->empty()) {
            mismatch_ = true;
            return;
        }
    }
}

LoadTextsResult LoadTexts(MessageTable& table, std::string_view programFolder) {
    const std::string name = CompleteFileName("", "LK.LKT", programFolder);
    std::optional<std::string> host = winplat::files::resolve(name);
    if (!host) {
        const int32_t error = IoResultOfSystemError(GetLastError());
        OutputDebugStringA(("LoadTexts: " + name + " not found; every text is its placeholder\n").c_str());
        table.Parse({});
        return {error != 0 ? error : 2};
    }
    std::ifstream in(*host, std::ios::binary);
    if (!in) {
        OutputDebugStringA(("LoadTexts: " + name + " cannot be opened\n").c_str());
        table.Parse({});
        return {5};
    }
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    table.Parse(content);
    return {in.bad() ? 100 : 0};
}

}  // namespace linework
