// Conditions, labels, jumps and calls: "if", "else", "on", "jmp", "jmpr", "call", "jsr", "ret",
// "run", the commands that end a run ("stop", "end", "quit", "null"), the one that writes system
// variables ("sv"), and "compile", which is accepted and does nothing.
#include <algorithm>
#include <new>

#include "drawing/text_helpers.h"
#include "script/script_engine.h"

namespace linework {

namespace {

// A statement's words as positions in the word table, so that conditions can drop words the way
// "and", "or", "in" and "on" chain without touching the text.
struct WordList {
    std::array<uint8_t, WordTable::kMaxWords> at{};
    int count = 0;

    explicit WordList(int words) : count(words) {
        for (int i = 0; i < words; ++i) at[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    }
    int operator[](int i) const { return at[static_cast<size_t>(i)]; }
    // Drops positions first..last inclusive.
    void Erase(int first, int last) {
        std::copy(at.begin() + last + 1, at.begin() + count, at.begin() + first);
        count -= last - first + 1;
    }
};

bool ValidOperator(std::string_view op) {
    if (op == "<" || op == ">" || op == "in" || op == "iq") return true;
    return op.size() == 2 && op[1] == '=' && (op[0] == '!' || op[0] == '<' || op[0] == '=' || op[0] == '>');
}

// "iq": a is one item of the comma- or blank-separated list b.
bool IsItemOf(std::string a, std::string b) {
    std::replace(b.begin(), b.end(), ',', ' ');
    return (" " + b + " ").find(" " + a + " ") != std::string::npos;
}

template <class T>
bool CompareBy(std::string_view op, const T& a, const T& b) {
    bool result = (op.size() == 2 && a == b) || (op[0] == '<' && a < b) || (op[0] == '>' && a > b);
    return op[0] == '!' ? !result : result;
}

}  // namespace

bool ScriptEngine::Compare(int a, std::string_view op, int b) {
    const ScriptWord& left = words_[a];
    const ScriptWord& right = words_[b];
    if (left.IsString() || right.IsString()) {
        std::string x = StringForm(a);
        std::string y = StringForm(b);
        if (op == "iq") return IsItemOf(x, y);
        return CompareBy<std::string_view>(op, x, y);
    }
    return CompareBy(op, left.value, right.value);
}

ScriptEngine::Flow ScriptEngine::CommandIf() {
    WordList list(words_.Count());
    while (true) {
        if (list.count < 4) return Error("Invalid condition");
        std::string_view op = words_[list[2]].text;
        if (!ValidOperator(op)) return Error("Invalid condition");
        bool result = Compare(list[1], op, list[3]);
        if (stop_) return Flow::Stop;
        if (result) {
            int andAt = 0;
            for (int i = 1; list.count > 4 && i < list.count && !andAt; ++i)
                if (words_[list[i]].text == "and") andAt = i;
            if (andAt) {
                list.Erase(1, andAt);
                continue;
            }
            ifState_ = 2;
            return Flow::Next;
        }
        ifState_ = 1;
        if (list.count > 4 && words_[list[4]].text == "or") {
            list.Erase(1, 4);
        } else if (op[0] == 'i' && list.count > 4) {
            list.Erase(3, 3);
        } else {
            return SkipToElse();
        }
    }
}

ScriptEngine::Flow ScriptEngine::SkipToElse() {
    int level = 0;
    for (size_t position = statementEnd_; position < line_.size();) {
        size_t start = position + 1;
        size_t end = line_.find(kStatementSeparator, start);
        if (end == std::string::npos) end = line_.size();
        std::string_view statement(line_.data() + start, end - start);
        std::string_view first = statement.substr(0, statement.find(' '));
        if (first == "if") {
            ++level;
        } else if (first == "else" && level-- == 0) {
            gotoPosition_ = start;
            return Flow::Goto;
        }
        position = end;
    }
    return Flow::SkipLine;
}

ScriptEngine::Flow ScriptEngine::CommandElse() {
    if (ifState_ == 0) return Error("else without if");
    if (ifState_ == 2) return Flow::SkipLine;
    ifState_ = 2;
    std::string_view rest = words_.RestAfter(0);
    return rest.empty() ? Flow::Next : ExecuteStatement(rest);
}

ScriptEngine::Flow ScriptEngine::CommandOn() {
    WordList list(words_.Count());
    while (true) {
        if (list.count < 4) return Error("Invalid condition");
        if (Compare(list[1], "==", list[2])) return JumpToLabel(words_[list[3]], true);
        if (stop_) return Flow::Stop;
        if (list.count < 5) return Flow::SkipLine;
        list.Erase(2, 3);
    }
}

ScriptEngine::Flow ScriptEngine::JumpToLabel(const ScriptWord& target, bool relative) {
    std::string_view text = target.text;
    int32_t start = 1;
    int32_t step = 1;
    if (text.size() > 1 && text[0] != '@' && text[1] == '@') {
        start = store.currentLine;
        step = text[0] == '-' ? -1 : 1;
        text.remove_prefix(1);
    } else if (text.empty() || text[0] != '@') {
        int64_t line = static_cast<int64_t>(target.number) + (relative ? store.currentLine : 0);
        if (line < 1 || line > ProgramStore::kLastLine) return Error("Jump out of LKP area");
        store.currentLine = static_cast<int32_t>(line);
        return Flow::Jump;
    }
    for (int32_t line = start; line >= 1 && line <= ProgramStore::kLastLine; line += step) {
        std::string_view candidate = store.RawLine(line);
        if (candidate.starts_with(text) &&
            (candidate.size() == text.size() || candidate[text.size()] == kStatementSeparator)) {
            store.currentLine = line;
            return Flow::Jump;
        }
    }
    return Error("Jump to undeclared label " + std::string(text));
}

ScriptEngine::Flow ScriptEngine::CommandJmp() { return JumpToLabel(words_[1], false); }
ScriptEngine::Flow ScriptEngine::CommandJmpr() { return JumpToLabel(words_[1], true); }

bool ScriptEngine::LoadForCall(int32_t line, int32_t& first) {
    first = std::max(1, line);
    std::string file = FileNameFrom(3);
    if (stop_) return false;
    if (!LoadTextTable(LoadMode::Whole, first, file)) {
        Error("Can't load " + file);
        return false;
    }
    return true;
}

ScriptEngine::Flow ScriptEngine::CommandCall() {
    if (depth_ == kMaxCallDepth) return Error("Too many nested call/jsr");
    CallFrame& frame = frames_[static_cast<size_t>(depth_++)];
    bool call = words_[0].text[0] == 'c';
    frame.returnLine = call ? -(store.currentLine + 1) : store.currentLine + 1;
    if (call) std::copy_n(variables.letters.begin() + ('a' - 'A'), 26, frame.savedLower.begin());
    frame.firstLoaded = 0;
    frame.savedLines.clear();
    if (words_.LastIndex() >= 3 && words_[2].number <= ProgramStore::kLastLine) {
        int32_t first = std::max(1, words_[2].number);
        try {
            frame.savedLines.resize(static_cast<size_t>(ProgramStore::kSlots - first));
        } catch (const std::bad_alloc&) {
            return Error("Out of memory for call/jsr");
        }
        for (int32_t line = first; line <= ProgramStore::kLastLine; ++line)
            frame.savedLines[static_cast<size_t>(line - first)] = store.SlotBytes(line);
        frame.savedName = store.programName;
        frame.firstLoaded = first;
        if (!LoadForCall(words_[2].number, first)) return Flow::Stop;
    }
    return JumpToLabel(words_[1], false);
}

ScriptEngine::Flow ScriptEngine::CommandRet() {
    if (depth_ == 0) return Error("ret without call/jsr");
    CallFrame& frame = frames_[static_cast<size_t>(--depth_)];
    if (frame.firstLoaded) {
        store.programName = frame.savedName;
        for (size_t i = 0; i < frame.savedLines.size(); ++i)
            store.SetSlotBytes(frame.firstLoaded + static_cast<int32_t>(i), frame.savedLines[i]);
        frame.savedLines = {};
    }
    if (frame.returnLine < 0)
        std::copy_n(frame.savedLower.begin(), 26, variables.letters.begin() + ('a' - 'A'));
    int32_t line = frame.returnLine < 0 ? -frame.returnLine : frame.returnLine;
    // A call on the last line returns past the store's end.
    if (line > ProgramStore::kLastLine) return Error("End of LKP area");
    store.currentLine = line;
    return Flow::Jump;
}

ScriptEngine::Flow ScriptEngine::CommandRun() {
    int32_t first = 0;
    if (words_.LastIndex() >= 3 && !LoadForCall(words_[2].number, first)) return Flow::Stop;
    Flow flow = JumpToLabel(words_[1], false);
    if (flow != Flow::Jump) return flow;
    FreeCallFrames();
    numberFormat_ = -1;
    firstLine_ = true;
    return flow;
}

void ScriptEngine::FreeCallFrames() {
    for (; depth_ > 0; --depth_) frames_[static_cast<size_t>(depth_ - 1)].savedLines = {};
}

ScriptEngine::Flow ScriptEngine::CommandSv() {
    // "sv n value [n value ...]": writes system variables (reading is the function "sv").
    for (int k = 1; k + 1 <= words_.LastIndex(); k += 2) systemVariables.Write(words_[k].number, words_[k + 1].value);
    return Flow::Next;
}

ScriptEngine::Flow ScriptEngine::CommandStop() {
    int text = 1;
    if (words_[1].text == "null") {
        skipHook_ = true;
        text = 2;
    }
    if (text <= words_.LastIndex()) host_.SetCommandText(JoinFrom(text));
    return Flow::Stop;
}

ScriptEngine::Flow ScriptEngine::CommandEnd() {
    // Saving drawings is not offered: the save entry only sets a failure status.
    runtime.SetErrorStatus();
    return CommandQuit();
}

ScriptEngine::Flow ScriptEngine::CommandQuit() {
    runtime.CloseAllScriptFiles();
    runtime.CloseScriptDialogOnTimeout(true);
    host_.ResetCommandState();
    host_.QuitProgram();
    quit_ = true;
    return Flow::Stop;
}

ScriptEngine::Flow ScriptEngine::CommandNull() {
    host_.ResetCommandState();
    return Flow::Next;
}

ScriptEngine::Flow ScriptEngine::CommandCompile() {
    // Programs written for the compiler still run: the word is accepted and does nothing.
    return Flow::Next;
}

}  // namespace linework
