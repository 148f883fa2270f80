// The drafting program's start-up to the idle prompt on the headless host, on its real clock:
// the four forms made, the main form shown and painted, the first timer tick run and the idle
// prompt shown (messages are handled until it is). Side by side: an empty program folder
// (placeholders, no menus) and the shipped kit (message table, start-up script, pictures), each
// on a small and a large screen.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "ui/main_form.h"
#include "ui/program.h"
#include "ui/program_folder.h"
#include "winplat/host.h"

namespace {

namespace fs = std::filesystem;

std::string MadeFolder(bool withKit) {
    std::string pattern = (fs::temp_directory_path() / "linework_bench_XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    if (withKit) linework::InstallKit(LINEWORK_KIT_DIR, pattern);
    return pattern;
}

void BM_StartUpToIdlePrompt(benchmark::State& state) {
    const bool withKit = state.range(0) != 0;
    const int width = static_cast<int>(state.range(1));
    const std::string screen = std::to_string(width) + "x" + std::to_string(width * 3 / 4);
    setenv("WINPLAT_HOST", "headless", 1);
    setenv("WINPLAT_SCREEN", screen.c_str(), 1);
    winplat::host::Session host;
    const std::string folder = MadeFolder(withKit);
    if (!host.ok() || folder.empty()) {
        state.SkipWithError("no headless host or no temporary folder");
        return;
    }
    const std::string windowsFolder = linework::WindowsFolder(folder);
    for (auto _ : state) {
        std::optional<winforms::Application> application(std::in_place);
        linework::LineworkForms forms = linework::CreateLineworkForms(*application, windowsFolder);
        forms.main->ShowForm();
        for (int guard = 0; guard < 100000 && forms.main->Label1().Caption().empty(); ++guard) {
            application->HandleMessage();
        }
        if (forms.main->Label1().Caption().empty()) state.SkipWithError("no idle prompt");
        state.PauseTiming();
        application.reset();
        state.ResumeTiming();
    }
    state.SetLabel(withKit ? "with the kit" : "empty folder");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
BENCHMARK(BM_StartUpToIdlePrompt)
    ->ArgsProduct({{0, 1}, {640, 1600}})
    ->ArgNames({"kit", "screen"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
