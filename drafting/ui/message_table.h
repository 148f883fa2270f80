// The message table: every text the program shows by number, and the hints of the main form's
// controls, read once at start-up from the text file "LK.LKT" beside the program. The program
// holds no message texts of its own; the file fixes the language of the user interface.
//
// File lines, counted from 1: 1..175 messages 0..174, 176 the command line's hint, 177..186 the
// top panel's hints, 187 the status-panel string, 188..267 the hints of tool buttons 1..80 (252,
// the undo button's, also kept as the undo hint base). A line whose first and last characters are
// both a double quote (two characters at least) loses them, which keeps blanks at its ends; "%%"
// becomes a line break. A line the file does not have reads as "lkt" and its number.
#ifndef LINEWORK_UI_MESSAGE_TABLE_H
#define LINEWORK_UI_MESSAGE_TABLE_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace linework {

class MessageTable {
public:
    static constexpr int kMessages = 175;
    static constexpr int kControlHints = 11;     // the command line, then the top panel's ten
    static constexpr int kToolButtonHints = 80;
    static constexpr int kLines = 267;           // the lines the file should have exactly
    static constexpr int kUndoHintLine = 252;
    static constexpr size_t kMaxLineLength = 255;

    MessageTable();

    // Message n (0..174); empty outside the table.
    const std::string& Message(int n) const;
    // Hint k of the command line and the top panel (0: Edit1, 1..10: Label1 .. Image3).
    const std::string& ControlHint(int k) const { return controlHints_.at(static_cast<size_t>(k)); }
    // The hint of tool button k (1..80).
    const std::string& ToolButtonHint(int k) const { return toolHints_.at(static_cast<size_t>(k - 1)); }
    const std::string& StatusString() const { return statusString_; }
    const std::string& UndoHintBase() const { return undoHintBase_; }
    // The file ran out before line 267 or holds a non-empty line after it.
    bool Mismatch() const { return mismatch_; }

    // Fills the table from the file's bytes (cp1250 text, CR LF or LF line ends).
    void Parse(std::string_view content);

private:
    std::array<std::string, kMessages> messages_;
    std::array<std::string, kControlHints> controlHints_;
    std::array<std::string, kToolButtonHints> toolHints_;
    std::string statusString_;
    std::string undoHintBase_;
    bool mismatch_ = false;
};

// The normalised form of one line as read: quotes around it dropped, "%%" as CR LF.
std::string NormaliseTextLine(std::string_view line);

// The I/O result of reading the table (0, or the system's error code of the open or read).
struct LoadTextsResult {
    int32_t ioResult = 0;
};

// Reads "LK.LKT" of the program folder (a Windows path ending in "\", the name found whatever its
// case) into the table; a missing file leaves every text a placeholder and the mismatch set.
LoadTextsResult LoadTexts(MessageTable& table, std::string_view programFolder);

}  // namespace linework

#endif
