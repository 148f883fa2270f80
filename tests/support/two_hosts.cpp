#include "support/two_hosts.h"

#include <fstream>

namespace two_hosts {
namespace {

std::string displayScript(const Request& r) {
    using tool_runner::quoted;
    std::string script = r.environment + "WINPLAT_HOST=sdl WINPLAT_INPUT=" + quoted(r.sdlInput) + " " +
                         quoted(r.program) + " &\npid=$!\ntries=0\n";
    script += "while [ ! -s " + quoted(r.sdlSnapshot) +
              " ] && [ $tries -lt 1200 ]; do sleep 0.05; tries=$((tries+1)); done\n";
    if (r.settleSeconds > 0) script += "sleep " + std::to_string(r.settleSeconds) + "\n";
    // A program that asks before it ends (a closing question) gets a moment, then is ended.
    script += "import -window root " + quoted(r.screen) +
              "\nkill $pid\n(exec >/dev/null 2>&1; sleep 3; kill -9 $pid) &\nwait $pid\nexit 0\n";
    return script;
}

}  // namespace

Outcomes run(const Request& r) {
    const std::filesystem::path runner = r.folder / "run_on_display.sh";
    std::ofstream(runner) << displayScript(r);
    Outcomes out;
    out.display = tool_runner::capture(
        "xvfb-run -a -s '-screen 0 " + r.displaySize + "x24' sh " + tool_runner::quoted(runner),
        tool_runner::Errors::Merge);
    out.headless = tool_runner::capture(r.environment + "WINPLAT_HOST=headless WINPLAT_INPUT=" +
                                            tool_runner::quoted(r.headlessInput) + " " +
                                            tool_runner::quoted(r.program),
                                        tool_runner::Errors::Merge);
    return out;
}

}  // namespace two_hosts
