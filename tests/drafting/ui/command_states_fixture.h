// The command-state stack with stand-ins for the form, the view, the tracking, the selection and
// the edits that remember what they were asked; the drawing and its adders are real.
#ifndef TESTS_DRAFTING_UI_COMMAND_STATES_FIXTURE_H
#define TESTS_DRAFTING_UI_COMMAND_STATES_FIXTURE_H

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "drawing/layer_table.h"
#include "ui/command_states.h"

namespace linework::test {

struct FakeSurface : CommandSurface {
    std::map<int, bool> down;
    std::vector<int> clicked;
    std::string commandPrompt;
    std::string statusPrompt;
    std::string commandLine;
    std::vector<int32_t> sounds;
    std::vector<std::string> scripts;
    std::vector<std::string> refusals;
    std::string readout;
    int idlePrompts = 0;
    bool soundsOn = true;
    bool scriptRunning = false;
    // What running a hook does; by default it only counts.
    std::function<bool(std::string_view)> runScript;

    void SetButtonDown(int n, bool on) override { down[n] = on; }
    bool ButtonDown(int n) const override {
        auto it = down.find(n);
        return it != down.end() && it->second;
    }
    void ClickButton(int n) override { clicked.push_back(n); }
    void SetPrompt(std::string_view text) override { statusPrompt = text; }
    void SetCommandPrompt(std::string_view text) override { commandPrompt = text; }
    void ShowIdlePrompt() override {
        ++idlePrompts;
        commandPrompt = "idle";
    }
    std::string CommandLineText() const override { return commandLine; }
    void SetCommandLineText(std::string_view text) override { commandLine = text; }
    void PlaySound(int32_t n) override {
        if (soundsOn && n != 0) sounds.push_back(n);
    }
    bool SoundsOn() const override { return soundsOn; }
    void SetSoundsOn(bool on) override { soundsOn = on; }
    std::string Message(int n) const override { return "message " + std::to_string(n); }
    void ShowReadout(std::string_view text) override { readout = text; }
    bool ScriptRunning() const override { return scriptRunning; }
    bool RunScriptFile(std::string_view name) override {
        scripts.emplace_back(name);
        return runScript ? runScript(name) : true;
    }
    void ShowRefusal(std::string_view text) override { refusals.emplace_back(text); }
};

struct FakeView : ViewChanges {
    ViewTransform view;
    PixelSize box{400, 300};
    bool allowed = true;
    std::vector<ViewTransform> changes;
    std::vector<Point> centred;
    int erased = 0;

    ViewTransform CurrentView() const override { return view; }
    PixelSize PaintBox() const override { return box; }
    bool ScaleAllowed(double) const override { return allowed; }
    void ChangeView(const ViewTransform& next) override {
        changes.push_back(next);
        view = next;
    }
    void CentreViewOn(Point at) override { centred.push_back(at); }
    void EraseFromScreen(const Drawing&, EntityHandle) override { ++erased; }
};

struct FakeCursor : CursorTracking {
    int snapMode = 0;
    std::vector<Point> previews;
    int previewEnds = 0;
    int snapMarkerSets = 0;
    int ObjectSnapMode() const override { return snapMode; }
    void SetObjectSnapMode(int mode) override { snapMode = mode; }
    void StartSelectionPreview(Point base) override { previews.push_back(base); }
    void EndSelectionPreview() override { ++previewEnds; }
    void AddSnapMarkersOf(const Drawing&, EntityHandle) override { ++snapMarkerSets; }
};

struct FakeSelection : SelectionEngine {
    int method = selection_method::kPick;
    bool replacePick = false;
    // What the next passes find; an empty queue finds nothing.
    std::deque<bool> finds;
    double count = 0;
    std::vector<std::string> calls;

    int Method() const override { return method; }
    void SetMethod(int code) override {
        method = code;
        calls.push_back("method " + std::to_string(code));
    }
    void SelectPickMethod() override {
        method = selection_method::kPick;
        calls.push_back("pick method");
    }
    bool ReplacePick() const override { return replacePick; }
    void SetReplacePick(bool on) override { replacePick = on; }
    void SetPickBoxAround(Point at) override {
        calls.push_back("pick box " + std::to_string(at.x) + "," + std::to_string(at.y));
    }
    void SetSelectionBox(Point a, Point b) override {
        calls.push_back("box " + std::to_string(a.x) + "," + std::to_string(a.y) + " " + std::to_string(b.x) + "," +
                        std::to_string(b.y));
    }
    bool SelectEntities() override {
        calls.push_back("pass");
        if (finds.empty()) return false;
        const bool found = finds.front();
        finds.pop_front();
        if (found) count += 1;
        return found;
    }
    void ClearSelection(bool keep) override { calls.push_back(keep ? "clear keeping" : "clear"); }
    double Count() const override { return count; }
    void AcceptPick() override { calls.push_back("accept pick"); }
};

struct FakeEdits : SelectionEdits {
    std::vector<std::string> calls;
    double angle = 0, factor = 0, dx = 0, dy = 0;
    Point base;
    void MoveSelection(double x, double y) override {
        calls.push_back("move");
        dx = x;
        dy = y;
    }
    void RotateSelection(double a, Point at) override {
        calls.push_back("rotate");
        angle = a;
        base = at;
    }
    void ScaleSelection(double fx, double fy, Point at) override {
        calls.push_back("scale");
        EXPECT_EQ(fx, fy);
        factor = fx;
        base = at;
    }
    void StretchSelection(double x, double y) override {
        calls.push_back("stretch");
        dx = x;
        dy = y;
    }
    void EraseSelection() override { calls.push_back("erase"); }
};

class CommandStatesTest : public ::testing::Test {
protected:
    FakeSurface surface;
    FakeView view;
    FakeCursor cursor;
    FakeSelection selection;
    FakeEdits edits;
    Drawing drawing;
    SystemVariableImage image;
    UndoRecorder undo;
    AdderContext adders{drawing, image, undo, NoDrawing(), {}, {}, 0};
    NumberGrammar grammar;
    CommandStates states{CommandPorts{surface, view, cursor, selection, edits, adders, grammar}};

    CommandStatesTest() { ResetDrawingSettings(image); }

    // A step as a tool button starts it: its prompts are "<name> 1" and "<name> 2".
    static PushRequest Step(uint8_t kind, uint8_t points, const std::string& name, int32_t sound1 = 0,
                            int32_t sound2 = 0) {
        PushRequest request;
        request.kind = kind;
        request.pointsNeeded = points;
        request.set1 = {name + " 1", "", sound1};
        request.set2 = {name + " 2", "", sound2};
        return request;
    }
    PushResult Push(uint8_t kind, uint8_t points, const std::string& name, int32_t sound1 = 0, int32_t sound2 = 0) {
        return states.PushCommandState(Step(kind, points, name, sound1, sound2));
    }
    int Depth() const { return states.Stack().Depth(); }
    int EntityCount() const {
        int n = 0;
        ForEachEntity(drawing, drawing.head, [&](EntityHandle) { ++n; });
        return n;
    }
};

}  // namespace linework::test

#endif
