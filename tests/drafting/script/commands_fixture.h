// The script engine with the drawing commands, a draw hook and a selection engine that note what
// they are asked, and helpers that look at the drawing the scripts made.
#ifndef TESTS_DRAFTING_SCRIPT_COMMANDS_FIXTURE_H
#define TESTS_DRAFTING_SCRIPT_COMMANDS_FIXTURE_H

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/entity_dump.h"
#include "script/script_commands.h"
#include "support/script_fixture.h"

namespace linework::test {

struct RecordingDrawHook : EntityDrawHook {
    std::vector<std::string> drawn;  // "<dump> mode <m>"
    void DrawEntity(const Drawing& drawing, const EntityRecord& record, int mode) override {
        drawn.push_back(DumpEntity(drawing, record) + " mode " + std::to_string(mode));
    }
};

// Notes every call; its selection pass selects every entity of the drawing list (add mode) or
// unselects them (remove mode), whatever the method.
struct RecordingEdits : SelectionEdits {
    Drawing* drawing = nullptr;
    std::vector<std::string> calls;
    SelectionSettings lastPass;
    static std::string N(double v) {
        std::ostringstream out;
        out << v;
        return out.str();
    }
    void SelectEntities(SelectionSettings& s) override {
        lastPass = s;
        calls.push_back("select " + std::to_string(s.method));
        ForEachEntity(*drawing, drawing->head, [&](EntityHandle at) {
            EntityRecord& record = (*drawing)[at];
            uint8_t flags = record.KindAndFlags();
            flags = s.addMode ? (flags | entity_flag::kSelected) : (flags & ~entity_flag::kSelected);
            record.SetByte(entity_field::kKindAndFlags, flags);
        });
    }
    void SelectPickMethod(SelectionSettings&) override { calls.emplace_back("pick"); }
    void SelectionSettingsChanged(const SelectionSettings&) override { calls.emplace_back("settings"); }
    void SetEditMode(int mode) override { calls.push_back("mode " + std::to_string(mode)); }
    void DefineBlockFromSelection(std::string_view name, Point base) override {
        calls.push_back("block " + std::string(name) + " " + N(base.x) + " " + N(base.y));
    }
    void ExplodeSelection() override { calls.emplace_back("explode"); }
    void ChangeSelectedEntities(uint32_t mask) override { calls.push_back("change " + std::to_string(mask)); }
    void MoveSelection(double dx, double dy) override { calls.push_back("move " + N(dx) + " " + N(dy)); }
    void RotateSelection(double angle, Point base) override {
        calls.push_back("rotate " + N(angle) + " " + N(base.x) + " " + N(base.y));
    }
    void ScaleSelection(double fx, double fy, Point base) override {
        calls.push_back("scale " + N(fx) + " " + N(fy) + " " + N(base.x) + " " + N(base.y));
    }
    void StretchSelection(double dx, double dy) override { calls.push_back("stretch " + N(dx) + " " + N(dy)); }
    void UndoEdit(uint8_t code) override { calls.push_back("undo " + std::to_string(code)); }
};

// A 2 x 3 pixel 24-bit bitmap: what "bmref" needs of a picture is its size.
inline std::string TinyBitmap() {
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    const uint32_t rowBytes = 8, pixels = rowBytes * 3;
    std::string bytes = "BM" + u32(54 + pixels) + u32(0) + u32(54);
    bytes += u32(40) + u32(2) + u32(3) + u16(1) + u16(24) + u32(0) + u32(pixels) + u32(2835) + u32(2835) + u32(0) +
             u32(0);
    return bytes + std::string(pixels, '\x7f');
}

class CommandsFixture : public ScriptFixture {
protected:
    void SetUp() override {
        ScriptFixture::SetUp();
        commands_ = std::make_unique<ScriptCommands>(*engine_);
        commands_->SetDrawHook(drawn_);
        edits_.drawing = &engine_->drawing;
        commands_->SetSelectionEdits(edits_);
    }

    Drawing& TheDrawing() { return engine_->drawing; }
    // The drawing list's dump, one entity per element, newest first (blocks left out).
    std::vector<std::string> Entities() {
        std::vector<std::string> lines;
        ForEachEntity(TheDrawing(), TheDrawing().head,
                      [&](EntityHandle at) { lines.push_back(DumpEntity(TheDrawing(), TheDrawing()[at])); });
        return lines;
    }
    void SelectAll() {
        ForEachEntity(TheDrawing(), TheDrawing().head, [&](EntityHandle at) {
            EntityRecord& record = TheDrawing()[at];
            record.SetByte(entity_field::kKindAndFlags, record.KindAndFlags() | entity_flag::kSelected);
        });
    }
    // Runs one line (its statements and a stop); the error or "".
    std::string RunLine(const std::string& line) { return Run({line + "; stop"}); }
    int32_t Sv(int32_t integer) { return engine_->image.Integer(integer); }
    double& List(int i) { return engine_->storedValues.slots[StoredValues::kPointList + static_cast<size_t>(i)]; }

    RecordingDrawHook drawn_;
    RecordingEdits edits_;
    std::unique_ptr<ScriptCommands> commands_;
};

}  // namespace linework::test

#endif
