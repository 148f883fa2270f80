// The script interpreter, which is also the drafting program's command processor. RunProgram
// executes the program store from line 1: statements separated by chr(127), "/" ends a line,
// "@name" lines are labels; each statement is an assignment (word 1 ends in "=") or a command
// looked up in the dispatch table. Errors stop the run with the message and its place
// ("\r\non LKP line L:S"). Control flow is in script_control.cpp, the run loop and assignment
// here.
#ifndef LINEWORK_SCRIPT_SCRIPT_ENGINE_H
#define LINEWORK_SCRIPT_SCRIPT_ENGINE_H

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/number_input.h"
#include "drawing/drawing.h"
#include "drawing/undo_operations.h"
#include "script/program_store.h"
#include "script/runtime_services.h"
#include "script/script_host.h"
#include "script/script_loader.h"
#include "script/script_words.h"
#include "script/stored_values.h"
#include "script/system_variables.h"

namespace linework {

// A pending call or jsr.
struct CallFrame {
    int32_t returnLine = 0;  // negated for "call", which restores a..z on return
    int32_t firstLoaded = 0;  // the line a file was loaded at, 0 for none
    std::string savedName;
    std::vector<ProgramStore::Slot> savedLines;  // lines firstLoaded..999 before the load
    std::array<double, 26> savedLower{};
};

inline constexpr char kAfterRunHook[] = "UCSWAIT.LKP";

// A text value of the language holds at most this many characters: a string assignment keeps
// that much of its result, and a function that builds a text step by step cuts it there at each
// step.
inline constexpr size_t kMaxScriptText = 255;

class ScriptEngine {
public:
    static constexpr int kMaxCallDepth = 16;

    ScriptEngine(ScriptHost& host, SystemVariableEffects& effects, std::string programFolder);

    // Runs the program in the store from line 1, then the after-run hook when its file exists.
    void RunProgram();
    // Loads a file into the store (see script_loader.h) with this engine's folder and messages.
    bool LoadTextTable(LoadMode mode, int32_t line, std::string_view name);
    // Set by the main form (Esc, the stop button, closing): tested between lines.
    void RequestStop() { stopRequested_ = true; }
    // Whether the run was asked to stop (what a function that waits for the user watches).
    bool StopRequested() const { return stopRequested_; }
    // For tools that run scripts they do not know: a run executes at most this many lines (0: no
    // limit), then stops as if Esc was pressed.
    void SetLineLimit(uint64_t lines) { lineLimit_ = lines; }

    ProgramStore store;
    ScriptVariables variables;
    SystemVariableImage image;
    SystemVariables systemVariables;
    ScriptRuntime runtime;
    NumberInput numberInput;
    Drawing drawing;  // the drawing the commands work on
    UndoRecorder undo;  // its one level of undo
    StoredValues storedValues{variables.numbers};  // the "#" array's first elements

    // The last error's full text, empty when the last run had none (for tools and tests).
    const std::string& LastError() const { return lastError_; }
    // Whether a run is going on: what starts a script (a hook, a menu) waits until it is not.
    bool Running() const { return running_; }
    // A hook script by name ("TIMER" runs TIMER.LKP from line 1), unless a run is going on or its
    // file is not there; true when it ran.
    bool RunHookScript(std::string_view name);

    // --- the seam for the command and function families built beside the engine
    // A command's handler reads its words through Words()/WordText() and ends the statement:
    // Next, SkipLine (the rest of the line is skipped) or StopRun (after Fail, or to end the run).
    enum class CommandResult { Next, SkipLine, StopRun };
    using CommandHandler = std::function<CommandResult(ScriptEngine&)>;
    // A function of an assignment ("A = name args", "5$ = name args"); its arguments are words 3
    // on. Nothing after Fail.
    using NumericFunction = std::function<std::optional<double>(ScriptEngine&)>;
    using StringFunction = std::function<std::optional<std::string>(ScriptEngine&)>;
    // Added names are looked up after the engine's own; adding a name again replaces its handler.
    void AddCommand(std::string name, CommandHandler handler);
    void AddNumericFunction(std::string name, NumericFunction function);
    void AddStringFunction(std::string name, StringFunction function);

    const WordTable& Words() const { return words_; }
    // The string form of word k (see script_words.h); may Fail ("n$ out of range").
    std::string WordText(int k) { return StringForm(k); }
    // Reports a script error: the run stops after the current statement.
    void Fail(std::string_view message) { Error(message); }
    bool Failed() const { return stop_; }
    // Stores a function's further result in the target word k (a letter or an element n#), as
    // "=" would; words of any other form store nothing. False after Fail.
    bool StoreTarget(int k, double value) { return StoreNumber(words_[k], "=", value); }
    // The numeric function a word ending in a double quote or "$" stands for: the joined text
    // read as a number (A = "12", A = 5$ when line 5 holds no variable's name).
    static constexpr std::string_view kTextAsNumber = "\"";
    const std::string& ProgramFolder() const { return programFolder_; }
    ScriptHost& Host() { return host_; }
    int CallDepth() const { return depth_; }
    int32_t NumberFormat() const { return numberFormat_; }

private:
    enum class Flow { Next, SkipLine, Jump, Goto, Stop };
    using Handler = Flow (ScriptEngine::*)();
    struct Command {
        std::string_view name;
        Handler handler;
    };
    static const Command* FindCommand(std::string_view name);

    // Run loop (script_engine.cpp).
    bool RunOnce(bool hookRun);
    void StartRun();
    void EndRun(bool normalEnd);
    Flow RunLine(bool hidden);
    Flow ExecuteStatement(std::string_view statement);
    Flow Error(std::string_view message);
    void PumpIfDue();
    std::string StringForm(int k);
    std::string JoinFrom(int k);
    std::string FileNameFrom(int k);

    // Assignment (script_assignment.cpp).
    Flow Assign();
    Flow AssignString();
    Flow AssignNumber();
    bool ApplyOperator(char op, double left, double right, double& result);
    bool StoreNumber(const ScriptWord& target, std::string_view op, double value);

    // Control flow (script_control.cpp).
    Flow CommandSv();
    Flow CommandIf();
    Flow CommandElse();
    Flow CommandOn();
    Flow CommandJmp();
    Flow CommandJmpr();
    Flow CommandCall();
    Flow CommandRet();
    Flow CommandRun();
    Flow CommandStop();
    Flow CommandEnd();
    Flow CommandQuit();
    Flow CommandNull();
    Flow CommandCompile();
    Flow JumpToLabel(const ScriptWord& target, bool relative);
    Flow SkipToElse();
    bool Compare(int a, std::string_view op, int b);
    bool LoadForCall(int32_t line, int32_t& first);
    void FreeCallFrames();

    std::map<std::string, CommandHandler, std::less<>> addedCommands_;
    std::map<std::string, NumericFunction, std::less<>> numericFunctions_;
    std::map<std::string, StringFunction, std::less<>> stringFunctions_;
    ScriptHost& host_;
    std::string programFolder_;
    LoaderContext loader_;
    WordTable words_;
    std::string wordError_;
    std::string line_;  // the current line's text, which statements and words view
    size_t statementEnd_ = 0;
    size_t gotoPosition_ = 0;
    int32_t statementCounter_ = 0;
    int ifState_ = 0;
    bool stop_ = false;
    bool stopRequested_ = false;
    bool skipHook_ = false;
    bool quit_ = false;
    bool running_ = false;
    bool firstLine_ = true;
    bool menusDisabled_ = false;
    int32_t numberFormat_ = -1;
    int depth_ = 0;
    std::array<CallFrame, kMaxCallDepth> frames_;
    uint64_t lastPumpMs_ = 0;
    uint32_t linesSincePump_ = 0;
    uint64_t lineLimit_ = 0;
    std::string lastError_;
};

}  // namespace linework

#endif
