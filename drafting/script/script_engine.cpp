#include "script/script_engine.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "drawing/file_names.h"
#include "drawing/layer_table.h"
#include "drawing/text_helpers.h"
#include "winplat/files.h"
#include "winplat/host.h"

namespace linework {

namespace {

// Between lines the run looks at the clock every few lines, and lets messages through when a few
// milliseconds have passed: a line costs far less than either.
constexpr uint64_t kPumpIntervalMs = 4;
constexpr uint32_t kLinesPerClockLook = 16;

}  // namespace

ScriptEngine::ScriptEngine(ScriptHost& host, SystemVariableEffects& effects, std::string programFolder)
    : systemVariables(image, effects),
      runtime(image),
      host_(host),
      programFolder_(std::move(programFolder)),
      loader_{store, runtime, programFolder_, [this](std::string_view text) { host_.ShowInfo(text); },
              [this](std::string_view text) { host_.RememberCommand(text); }} {
    line_.reserve(ProgramStore::kSlotBytes);
    ResetDrawingSettings(image);
}

bool ScriptEngine::LoadTextTable(LoadMode mode, int32_t line, std::string_view name) {
    return linework::LoadTextTable(loader_, mode, line, name);
}

const ScriptEngine::Command* ScriptEngine::FindCommand(std::string_view name) {
    // The commands of this engine; those of the drawing, view, file and form layers join the
    // table as they are built, and until then are unknown commands.
    static const Command kCommands[] = {
        {"sv", &ScriptEngine::CommandSv},     {"if", &ScriptEngine::CommandIf},
        {"else", &ScriptEngine::CommandElse}, {"on", &ScriptEngine::CommandOn},
        {"jmp", &ScriptEngine::CommandJmp},   {"jmpr", &ScriptEngine::CommandJmpr},
        {"call", &ScriptEngine::CommandCall}, {"jsr", &ScriptEngine::CommandCall},
        {"ret", &ScriptEngine::CommandRet},   {"run", &ScriptEngine::CommandRun},
        {"stop", &ScriptEngine::CommandStop}, {"end", &ScriptEngine::CommandEnd},
        {"quit", &ScriptEngine::CommandQuit}, {"null", &ScriptEngine::CommandNull},
        {"compile", &ScriptEngine::CommandCompile},
    };
    // Looked up once per statement: by first character, then among the few of that letter.
    static const auto kIndex = [] {
        std::array<std::vector<const Command*>, 128> index;
        for (const Command& command : kCommands) index[static_cast<size_t>(command.name[0])].push_back(&command);
        return index;
    }();
    if (name.empty() || static_cast<unsigned char>(name[0]) >= kIndex.size()) return nullptr;
    // Names are a few letters: compared in place rather than through a library call.
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
    };
    for (const Command* command : kIndex[static_cast<size_t>(name[0])])
        if (same(command->name, name)) return command;
    return nullptr;
}

void ScriptEngine::RunProgram() {
    running_ = true;
    RunOnce(false);
    // The after-run hook follows a run that was not itself the hook, while its file is there.
    // Its absence is no file error: the status word keeps what the script left in it.
    std::string hook = CompleteFileName("", kAfterRunHook, programFolder_);
    if (!skipHook_ && !quit_ && GetFileAttributesA(hook.c_str()) != INVALID_FILE_ATTRIBUTES &&
        LoadTextTable(LoadMode::Whole, 1, kAfterRunHook))
        RunOnce(true);
    running_ = false;
}

bool ScriptEngine::RunHookScript(std::string_view name) {
    if (running_) return false;
    std::string file = std::string(name) + ".LKP";
    if (GetFileAttributesA(CompleteFileName("", file, programFolder_).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    if (!LoadTextTable(LoadMode::Whole, 1, file)) return false;
    const std::string_view hook = kAfterRunHook;
    const bool afterRunHook = std::equal(file.begin(), file.end(), hook.begin(), hook.end(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    });
    if (!afterRunHook) {
        RunProgram();
        return true;
    }
    // The after-run hook started by name (the command steps' return to idle) is that hook's run:
    // it is not followed by itself.
    running_ = true;
    RunOnce(true);
    running_ = false;
    return true;
}

void ScriptEngine::StartRun() {
    image.SetByte(sysvar::kLetMessagesThrough, 1);
    image.SetByte(sysvar::kNormUpperCase, 1);
    image.SetByte(sysvar::kTemporaryAdds, 0);
    stop_ = false;
    quit_ = false;
    stopRequested_ = false;
    skipHook_ = false;
    depth_ = 0;
    numberFormat_ = -1;
    firstLine_ = true;
    menusDisabled_ = false;
    lastError_.clear();
    lastPumpMs_ = winplat::host::clock().nowMs();
    store.currentLine = 1;
}

void ScriptEngine::EndRun(bool normalEnd) {
    runtime.CloseAllScriptFiles();
    FreeCallFrames();
    if (!normalEnd) runtime.CloseScriptDialogOnTimeout(true);
    image.SetByte(sysvar::kStepMode, 0);
    if (menusDisabled_) host_.SetMenusEnabled(true);
    menusDisabled_ = false;
}

bool ScriptEngine::RunOnce(bool hookRun) {
    StartRun();
    bool normal = true;
    bool pumpNow = true;
    for (uint64_t lines = 1;; ++lines) {
        if (lineLimit_ && lines > lineLimit_) {
            normal = false;
            break;
        }
        bool hidden = false;
        line_.assign(store.RawLine(store.currentLine, &hidden));
        if (!line_.empty() && line_[0] == '!') {
            line_.erase(0, 1);
        } else if (firstLine_) {
            host_.SetMenusEnabled(false);
            menusDisabled_ = true;
        }
        firstLine_ = false;
        statementCounter_ = 0;
        ifState_ = 0;
        if (image.Byte(sysvar::kLetMessagesThrough)) {
            if (pumpNow) {
                stopRequested_ |= host_.PumpMessages();
                pumpNow = false;
            } else {
                PumpIfDue();
            }
            if (stopRequested_) {
                normal = false;
                break;
            }
        }
        Flow flow = RunLine(hidden);
        if (flow == Flow::Stop || stop_) {
            normal = lastError_.empty() && !stopRequested_;
            break;
        }
        if (flow == Flow::Jump) continue;
        if (store.currentLine >= ProgramStore::kLastLine) {
            Error("End of LKP area");
            normal = false;
            break;
        }
        ++store.currentLine;
    }
    if (hookRun) skipHook_ = true;
    EndRun(normal);
    return normal;
}

void ScriptEngine::PumpIfDue() {
    if (++linesSincePump_ < kLinesPerClockLook) return;
    linesSincePump_ = 0;
    uint64_t now = winplat::host::clock().nowMs();
    if (now - lastPumpMs_ < kPumpIntervalMs) return;
    lastPumpMs_ = now;
    stopRequested_ |= host_.PumpMessages();
}

ScriptEngine::Flow ScriptEngine::RunLine(bool hidden) {
    size_t position = 0;
    while (true) {
        ++statementCounter_;
        size_t separator = static_cast<size_t>(std::find(line_.begin() + static_cast<ptrdiff_t>(position), line_.end(),
                                                         kStatementSeparator) - line_.begin());
        if (separator == line_.size()) separator = std::string::npos;
        size_t end = separator == std::string::npos ? line_.size() : separator;
        std::string_view statement = std::string_view(line_).substr(position, end - position);
        statementEnd_ = end;
        if (image.Byte(sysvar::kStepMode) && !hidden &&
            !host_.WaitForStep(store.currentLine, statementCounter_))
            return Flow::Stop;
        if (statement.empty() || statement[0] == '/') return Flow::Next;
        Flow flow = statement[0] == '@' ? Flow::Next : ExecuteStatement(statement);
        if (stop_) return Flow::Stop;
        if (flow == Flow::Jump || flow == Flow::Stop) return flow;
        if (flow == Flow::SkipLine) return Flow::Next;
        if (flow == Flow::Goto) {
            position = gotoPosition_;
            continue;
        }
        if (separator == std::string::npos) return Flow::Next;
        position = separator + 1;
    }
}

ScriptEngine::Flow ScriptEngine::ExecuteStatement(std::string_view statement) {
    if (!words_.Split(statement, variables, numberInput.grammar, wordError_)) return Error(wordError_);
    if (words_[1].EndsWith('=')) return Assign();
    if (const Command* command = FindCommand(words_[0].text)) return (this->*command->handler)();
    if (auto added = addedCommands_.find(words_[0].text); added != addedCommands_.end()) {
        switch (added->second(*this)) {
            case CommandResult::Next: return stop_ ? Flow::Stop : Flow::Next;
            case CommandResult::SkipLine: return Flow::SkipLine;
            case CommandResult::StopRun: return Flow::Stop;
        }
    }
    return Error("Unknown command " + std::string(words_[0].text.substr(0, 143)));
}

void ScriptEngine::AddCommand(std::string name, CommandHandler handler) {
    addedCommands_.insert_or_assign(std::move(name), std::move(handler));
}

void ScriptEngine::AddNumericFunction(std::string name, NumericFunction function) {
    numericFunctions_.insert_or_assign(std::move(name), std::move(function));
}

void ScriptEngine::AddStringFunction(std::string name, StringFunction function) {
    stringFunctions_.insert_or_assign(std::move(name), std::move(function));
}

ScriptEngine::Flow ScriptEngine::Error(std::string_view message) {
    host_.ShowPrompt(store.programName);
    lastError_ = std::string(message) + "\r\non LKP line " + std::to_string(store.currentLine) + ":" +
                 std::to_string(statementCounter_);
    host_.ShowError(lastError_);
    stop_ = true;
    return Flow::Stop;
}

std::string ScriptEngine::StringForm(int k) {
    const ScriptWord& word = words_[k];
    if (k > words_.LastIndex()) return {};
    if (word.quoted) {
        std::string_view text = word.text.substr(1);
        if (!text.empty() && text.back() == '"') text.remove_suffix(1);
        return std::string(text);
    }
    if (word.EndsWith('$')) {
        auto line = IndexOf(word.value, ProgramStore::kSlots);
        if (!line) {
            Error(IndexError(word.value, '$'));
            return {};
        }
        return store.GetTextLine(*line);
    }
    return FormatMeasurement(numberFormat_, word.value);
}

std::string ScriptEngine::JoinFrom(int k) {
    std::string joined;
    for (; k <= words_.LastIndex() && !stop_; ++k) joined += StringForm(k);
    return joined;
}

}  // namespace linework

namespace linework {

std::string ScriptEngine::FileNameFrom(int k) {
    // A file name is written as it stands (LIB.LKP): words give their text, not their value;
    // quoted words and line references give their text as everywhere.
    std::string joined;
    for (; k <= words_.LastIndex() && !stop_; ++k) {
        const ScriptWord& word = words_[k];
        joined += word.IsString() ? StringForm(k) : std::string(word.text);
    }
    return joined;
}

}  // namespace linework
