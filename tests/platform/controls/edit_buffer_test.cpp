#include "controls/edit_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using winplat::controls::EditBuffer;

EditBuffer holding(const std::string& text, size_t anchor, size_t caret) {
    EditBuffer buffer;
    buffer.setText(text);
    buffer.select(anchor, caret);
    return buffer;
}

struct ReplaceCase {
    const char* name;
    std::string text;
    size_t anchor, caret;
    std::string insert;
    size_t limit;
    std::string expected;
    size_t caretAfter;
    bool truncated;
};

TEST(EditBuffer, ReplacingTheSelectionKeepsToTheLimit) {
    const ReplaceCase cases[] = {
        {"insert at caret", "abcd", 2, 2, "XY", 100, "abXYcd", 4, false},
        {"selection backwards", "abcd", 3, 1, "X", 100, "aXd", 2, false},
        {"delete selection", "abcd", 0, 4, "", 100, "", 0, false},
        {"exactly to the limit", "abc", 3, 3, "de", 5, "abcde", 5, false},
        {"one past the limit is cut", "abc", 3, 3, "def", 5, "abcde", 5, true},
        {"the selection makes room", "abcde", 1, 4, "XYZ", 5, "aXYZe", 4, false},
        {"full: nothing goes in", "abcde", 5, 5, "f", 5, "abcde", 5, true},
        {"a cut never splits CR LF", "ab", 2, 2, "c\r\nd", 4, "abc", 3, true},
        {"caret clamped to the text", "ab", 9, 9, "c", 100, "abc", 3, false},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        EditBuffer buffer = holding(c.text, c.anchor, c.caret);
        buffer.setLimit(c.limit);
        const EditBuffer::Replaced r = buffer.replaceSelection(c.insert);
        EXPECT_EQ(buffer.text(), c.expected);
        EXPECT_EQ(buffer.caret(), c.caretAfter);
        EXPECT_FALSE(buffer.hasSelection());
        EXPECT_EQ(r.truncated, c.truncated);
    }
}

TEST(EditBuffer, LimitZeroOrTooLargeIsTheMaximumAndSetTextRefusesMore) {
    EditBuffer buffer;
    EXPECT_EQ(buffer.limit(), 32767u);
    buffer.setLimit(0);
    EXPECT_EQ(buffer.limit(), EditBuffer::kMaximumLimit);
    buffer.setLimit(EditBuffer::kMaximumLimit + 1);
    EXPECT_EQ(buffer.limit(), EditBuffer::kMaximumLimit);
    EXPECT_TRUE(buffer.setText(std::string(EditBuffer::kMaximumLimit, 'a')));
    EXPECT_FALSE(buffer.setText(std::string(EditBuffer::kMaximumLimit + 1, 'b')));
    EXPECT_EQ(buffer.size(), EditBuffer::kMaximumLimit);
    EXPECT_EQ(buffer.text()[0], 'a');
}

TEST(EditBuffer, SelectionNeverEndsInsideALineBreak) {
    EditBuffer buffer = holding("ab\r\ncd", 3, 3);
    EXPECT_EQ(buffer.caret(), 2u);
    EXPECT_EQ(buffer.nextPosition(2), 4u);
    EXPECT_EQ(buffer.previousPosition(4), 2u);
    buffer.select(0, 100);
    EXPECT_EQ(buffer.selectedText(), "ab\r\ncd");
}

struct UndoStep {
    enum Kind { Type, Replace, Undo } kind;
    std::string text;  // typed or replacing
    size_t anchor, caret;  // selection before a Replace
};

UndoStep type(const char* text) { return {UndoStep::Type, text, 0, 0}; }
UndoStep replace(size_t anchor, size_t caret, const char* text) { return {UndoStep::Replace, text, anchor, caret}; }
UndoStep undo() { return {UndoStep::Undo, "", 0, 0}; }

struct UndoCase {
    const char* name;
    std::string start;
    std::vector<UndoStep> steps;
    std::string expected;
    size_t selectionStart, selectionEnd;
};

TEST(EditBuffer, OneLevelUndoTogglesAndMergesTyping) {
    const UndoCase cases[] = {
        {"typing undone as one change", "", {type("a"), type("b"), type("c"), undo()}, "", 0, 0},
        {"undo of the undo redoes", "", {type("a"), type("b"), undo(), undo()}, "ab", 0, 2},
        {"a deletion comes back selected", "hello world", {replace(0, 6, ""), undo()}, "hello world", 0, 6},
        {"only the last change", "xy", {replace(0, 1, "1"), replace(1, 2, "2"), undo()}, "1y", 1, 2},
        {"typing elsewhere starts a new change", "xy", {type("a"), replace(2, 2, ""), type("b"), undo()}, "axy", 2, 2},
    };
    for (const UndoCase& c : cases) {
        SCOPED_TRACE(c.name);
        EditBuffer buffer = holding(c.start, 0, 0);
        for (const UndoStep& step : c.steps) {
            if (step.kind == UndoStep::Type) {
                buffer.replaceSelection(step.text, true);
            } else if (step.kind == UndoStep::Replace) {
                buffer.select(step.anchor, step.caret);
                buffer.replaceSelection(step.text);
            } else {
                EXPECT_TRUE(buffer.undo());
            }
        }
        EXPECT_EQ(buffer.text(), c.expected);
        EXPECT_EQ(buffer.selectionStart(), c.selectionStart);
        EXPECT_EQ(buffer.selectionEnd(), c.selectionEnd);
        EXPECT_TRUE(buffer.modified());
    }
}

TEST(EditBuffer, SetTextForgetsUndoAndTheModifiedFlag) {
    EditBuffer buffer;
    buffer.replaceSelection("abc");
    EXPECT_TRUE(buffer.canUndo());
    EXPECT_TRUE(buffer.modified());
    buffer.setText("new");
    EXPECT_FALSE(buffer.canUndo());
    EXPECT_FALSE(buffer.modified());
    EXPECT_FALSE(buffer.undo());
    buffer.replaceSelection("x");
    buffer.emptyUndo();
    EXPECT_FALSE(buffer.undo());
    EXPECT_EQ(buffer.text(), "xnew");
}

TEST(EditBuffer, WordMovement) {
    const EditBuffer buffer = holding("one  two\r\nthree", 0, 0);
    struct Case {
        size_t from, previous, next, start, end;
    };
    const Case cases[] = {
        {0, 0, 5, 0, 3},     // at "one"
        {2, 0, 5, 0, 3},     // inside "one"
        {4, 0, 5, 4, 4},     // between the blanks
        {6, 5, 8, 5, 8},     // inside "two"; the break is a stop of its own
        {8, 5, 10, 5, 8},    // at the CR
        {10, 5, 15, 10, 15}, // at "three"
        {15, 10, 15, 10, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        EXPECT_EQ(buffer.previousWordStart(c.from), c.previous);
        EXPECT_EQ(buffer.nextWordStart(c.from), c.next);
        EXPECT_EQ(buffer.wordStart(c.from), c.start);
        EXPECT_EQ(buffer.wordEnd(c.from), c.end);
    }
}

}  // namespace
