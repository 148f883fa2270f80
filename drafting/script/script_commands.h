// The command words of the drawing families ("line", "erase", "u", "etsv", "sel", ...), one table
// of {name, function} per family, each function a free function of a command context: the words
// of the statement, the drawing with its adders, the host and the failure report. ScriptCommands
// hands every table to the engine once; the engine looks a word up after its own control-flow
// commands.
#ifndef LINEWORK_SCRIPT_SCRIPT_COMMANDS_H
#define LINEWORK_SCRIPT_SCRIPT_COMMANDS_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "drawing/entity_adders.h"
#include "drawing/entity_draw_hook.h"
#include "drawing/selection_edits.h"
#include "drawing/selection_settings.h"
#include "script/script_engine.h"

namespace linework {


// The system variables "etsv" fills from the current entity and "svte" writes back (integers;
// script numbers are these plus 69).
namespace entity_variable {
inline constexpr int32_t kKind = 100;         // kind number 1..15 (the high nibble), 0 for none
inline constexpr int32_t kLayer = 101;
inline constexpr int32_t kColour = 102;
inline constexpr int32_t kWidth = 103;
inline constexpr int32_t kCount = 104;        // vertices of a polyline, attributes of an insert
inline constexpr int32_t kStyle = 105;        // polyline style byte, arc line type, dimension style
inline constexpr int32_t kEndSymbol = 106;    // polyline end-symbol code
inline constexpr int32_t kJustifyFont = 107;  // text and attribute definition
inline constexpr int32_t kFlags = 108;        // attribute definition flag word, raster flags word
inline constexpr int32_t kLastColumn = 109;   // raster image
inline constexpr int32_t kLastRow = 110;      // raster image
inline constexpr int32_t kDisplay = 111;      // block insert display byte
}  // namespace entity_variable

// A draw hook that passes every call on to the one the program installed, so the adders'
// context can be made once.
class ForwardingDrawHook : public EntityDrawHook {
public:
    void SetTarget(EntityDrawHook& target) { target_ = &target; }
    void DrawEntity(const Drawing& drawing, const EntityRecord& record, int mode) override {
        target_->DrawEntity(drawing, record, mode);
    }
    void ClearOverlay() override { target_->ClearOverlay(); }

private:
    EntityDrawHook* target_ = &NoDrawing();
};

// What the commands keep between statements.
struct ScriptCommandState {
    SelectionSettings selection;
    int editMode = 0;
    EntityHandle rememberedHead = 0;  // BeginScriptAdd with temporary adds: the head before the add
    bool temporaryAdd = false;
    SelectionEdits* edits = &NoSelectionEdits();
    ForwardingDrawHook draw;
};

using CommandResult = ScriptEngine::CommandResult;

// One statement of a command: the engine with its words, the host, the state and the adders.
struct CommandContext {
    ScriptEngine& engine;
    ScriptCommandState& state;
    AdderContext& adders;

    ScriptHost& Host() const { return engine.Host(); }
    Drawing& DrawingList() const { return engine.drawing; }
    SelectionEdits& Edits() const { return *state.edits; }
    int Last() const { return engine.Words().LastIndex(); }
    bool Has(int k) const { return k <= Last(); }
    const ScriptWord& Word(int k) const { return engine.Words()[k]; }
    double Val(int k) const { return Word(k).value; }
    int32_t Num(int k) const { return Word(k).number; }
    Point PointAt(int k) const { return {Val(k), Val(k + 1)}; }
    // The string form of word k, and of words k.. joined without separators.
    std::string Str(int k) const { return engine.WordText(k); }
    std::string Join(int k) const;
    // Words k.. as a name written as it stands (DOOR, PLAN.LKD), quoted words and n$ by their text.
    std::string Name(int k) const;
    // Word k alone as such a name.
    std::string NameWord(int k) const { return Word(k).IsString() ? Str(k) : std::string(Word(k).text); }
    // Reports the error: the run stops after this statement.
    CommandResult Fail(std::string_view message) const {
        engine.Fail(message);
        return CommandResult::StopRun;
    }
    // The value of word k as a byte field, or the failure "Value out of range" (nullopt).
    std::optional<uint8_t> Byte(int k) const;
    // The value of word k when it lies in first..last, or the failure (nullopt).
    std::optional<int32_t> InRange(int k, int32_t first, int32_t last) const;
    // Element i of the stored point list (0-based; see stored_values.h).
    double& PointValue(int i) const;
};

inline constexpr std::string_view kValueOutOfRange = "Value out of range";

using CommandFn = CommandResult (*)(CommandContext&);
struct CommandEntry {
    std::string_view name;
    CommandFn function;
};

// The families, each from its own file.
std::span<const CommandEntry> DrawCommands();
std::span<const CommandEntry> EditCommands();
std::span<const CommandEntry> ListCommands();
std::span<const CommandEntry> EntityCommands();
std::span<const CommandEntry> SelectionCommands();

// Registers every family with the engine; must outlive the engine's runs.
class ScriptCommands {
public:
    explicit ScriptCommands(ScriptEngine& engine);
    ScriptCommandState& State() { return state_; }
    // What draws new and changed entities, and the selection engine with the edits.
    void SetDrawHook(EntityDrawHook& hook) { state_.draw.SetTarget(hook); }
    void SetSelectionEdits(SelectionEdits& edits) { state_.edits = &edits; }
    AdderContext& Adders() { return adders_; }

private:
    ScriptEngine& engine_;
    ScriptCommandState state_;
    AdderContext adders_;
};

}  // namespace linework

#endif
