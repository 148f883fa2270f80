// The drafting program's message table (LK.LKT) under fuzzing, as the program reads it at
// start-up: the file's bytes fill the 175 messages, the 11 control hints, the status string and
// the 80 tool-button hints.
//
// What must hold for any input: nothing crashes or reads outside its bounds; no text is longer
// than a line may be; the undo hint base is tool button 65's hint; a file of fewer than 267
// lines is a mismatch, and its missing lines read as their placeholders; reading the same bytes
// again gives the same table.
//
// Seeds: the shipped table, and small tables with quotes, "%%", CR LF and LF ends, a short file
// and one with a further line after line 267.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_entry.h"
#include "ui/message_table.h"

namespace {

using linework::MessageTable;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// Lines of the content as the table counts them: a last line without its end counts too.
size_t LineCount(std::string_view content) {
    size_t lines = 0;
    for (char c : content) lines += c == '\n' ? 1 : 0;
    if (!content.empty() && content.back() != '\n') ++lines;
    return lines;
}

std::vector<std::string> Texts(const MessageTable& table) {
    std::vector<std::string> texts;
    for (int n = 0; n < MessageTable::kMessages; ++n) texts.push_back(table.Message(n));
    for (int k = 0; k < MessageTable::kControlHints; ++k) texts.push_back(table.ControlHint(k));
    texts.push_back(table.StatusString());
    for (int k = 1; k <= MessageTable::kToolButtonHints; ++k) texts.push_back(table.ToolButtonHint(k));
    return texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    MessageTable table;
    table.Parse(content);
    const std::vector<std::string> texts = Texts(table);
    // "%%" becomes two characters and the quotes only go, so a text never outgrows its line.
    for (const std::string& text : texts) check(text.size() <= MessageTable::kMaxLineLength);
    check(table.UndoHintBase() == table.ToolButtonHint(MessageTable::kUndoHintLine - 187));
    const size_t lines = LineCount(content);
    if (lines < static_cast<size_t>(MessageTable::kLines)) {
        check(table.Mismatch());
        check(table.ToolButtonHint(80) == "lkt267");
    }
    MessageTable again;
    again.Parse(content);
    check(Texts(again) == texts && again.Mismatch() == table.Mismatch());
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<std::string> tables;
    std::ifstream shipped(LINEWORK_KIT_DIR "/LK.LKT", std::ios::binary);
    tables.emplace_back(std::istreambuf_iterator<char>(shipped), std::istreambuf_iterator<char>());
    std::string full;
    for (int n = 1; n <= MessageTable::kLines; ++n) {
        if (n % 3 == 0) {
            full += "\"  text " + std::to_string(n) + "  \"\r\n";
        } else if (n % 5 == 0) {
            full += "first%%second " + std::to_string(n) + "\n";
        } else {
            full += "Zpr\xE1va " + std::to_string(n) + "\r\n";
        }
    }
    tables.push_back(full);
    tables.push_back(full + "\r\n\r\n\n");
    tables.push_back(full + "\r\nline 268\r\n");
    tables.push_back("one\r\n\"\r\n\"\"\r\n%%%\r\ntwo");
    tables.push_back(std::string(300, 'x') + "\n" + std::string(255, '%') + "\n");
    std::vector<FuzzBytes> seeds;
    for (const std::string& table : tables) seeds.emplace_back(table.begin(), table.end());
    return seeds;
}
