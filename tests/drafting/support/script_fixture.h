// A program folder of its own (a fresh temporary folder) and an engine whose host records what
// the run shows; scripts are written there as files and run through the loader, as the program
// runs them.
#ifndef TESTS_DRAFTING_SUPPORT_SCRIPT_FIXTURE_H
#define TESTS_DRAFTING_SUPPORT_SCRIPT_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "script/script_engine.h"
#include "support/temp_folder.h"
#include "winplat/paths.h"

namespace linework::test {

struct RecordingHost : ScriptHost {
    std::vector<std::string> errors;
    std::vector<std::string> infos;
    int pumps = 0;
    int stopAtPump = -1;  // the pump that answers "stop", -1 never
    bool menusEnabled = true;
    bool quit = false;
    void ShowError(std::string_view text) override { errors.emplace_back(text); }
    void ShowInfo(std::string_view text) override { infos.emplace_back(text); }
    bool PumpMessages() override { return ++pumps == stopAtPump; }
    void SetMenusEnabled(bool on) override { menusEnabled = on; }
    void QuitProgram() override { quit = true; }

    // The drawing commands' interactive forms and screen calls, each noted in 'steps'.
    std::vector<std::string> steps;
    std::optional<Point> insertPoint;  // what the insert step delivers
    void HideCursor() override { steps.emplace_back("hide cursor"); }
    void RepaintGrid() override { steps.emplace_back("repaint grid"); }
    void MarkEntity(const Drawing&, EntityHandle entity) override {
        steps.push_back("mark " + std::to_string(entity));
    }
    std::optional<Point> RunInsertStep(std::string_view block, double xScale, double yScale, double angle) override {
        steps.push_back("insert step " + std::string(block) + " " + std::to_string(xScale) + " " +
                        std::to_string(yScale) + " " + std::to_string(angle));
        return insertPoint;
    }
    void StartEditStep(EditStep step, int mode) override {
        steps.push_back("edit step " + std::to_string(static_cast<int>(step)) + " mode " + std::to_string(mode));
    }
    void StartSketchStep(double value, std::string_view text) override {
        steps.push_back("sketch " + std::to_string(value) + " " + std::string(text));
    }
    bool WaitForCommandStep() override {
        steps.emplace_back("wait");
        return false;
    }
};

class ScriptFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(temp_.path().empty());
        folder_ = temp_.path();
        engine_ = std::make_unique<ScriptEngine>(host_, effects_, winplat::files::toWindows(folder_) + "\\");
    }

    std::string HostPath(const std::string& name) const { return folder_ + "/" + name; }

    void WriteFile(const std::string& name, const std::string& bytes) const {
        std::ofstream out(HostPath(name), std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    void WriteLines(const std::string& name, const std::vector<std::string>& lines) const {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        WriteFile(name, text);
    }

    // Loads the lines as a program from line 1 and runs it; the first error, or "".
    std::string Run(const std::vector<std::string>& lines) {
        WriteLines("T.LKP", lines);
        EXPECT_TRUE(engine_->LoadTextTable(LoadMode::Whole, 1, "T.LKP"));
        host_.errors.clear();
        engine_->RunProgram();
        return host_.errors.empty() ? std::string() : host_.errors.front();
    }

    double Var(char c) { return engine_->variables.Letter(c); }

    TempFolder temp_{"linework_script"};
    std::string folder_;
    RecordingHost host_;
    SystemVariableEffects effects_;
    std::unique_ptr<ScriptEngine> engine_;
};

}  // namespace linework::test

#endif
