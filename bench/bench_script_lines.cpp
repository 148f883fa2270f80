// The drafting program's "line" command from a script: 10,000 and 100,000 lines added through the
// interpreter and the adders, beside the same number of ezdxf add_line calls in Python, timed by
// Python itself so that starting the process and importing are not counted.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "script/script_commands.h"
#include "script/script_engine.h"

namespace {

struct Engine {
    linework::ScriptHost host;
    linework::SystemVariableEffects effects;
    linework::ScriptEngine engine{host, effects, "C:\\"};
    linework::ScriptCommands commands{engine};
};

// I = 0 / line I 0 I 10; I += 1; if I < n; jmpr 0 / stop: one line command a loop turn, the pump
// between lines as the program runs it.
void BM_ScriptLineCommands(benchmark::State& state) {
    const auto count = static_cast<int64_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<Engine>();
        auto& store = bench->engine.store;
        store.SetLine(1, "I = 0");
        store.SetLine(2, "line I 0 I 10\x7f" "I += 1\x7f" "if I < " + std::to_string(count) + "\x7f" "jmpr 0");
        store.SetLine(3, "stop null");
        state.ResumeTiming();
        bench->engine.RunProgram();
        state.PauseTiming();
        int64_t entities = 0;
        linework::ForEachEntity(bench->engine.drawing, bench->engine.drawing.head, [&](auto) { ++entities; });
        if (entities != count) state.SkipWithError("the script did not add every line");
        bench.reset();
        state.ResumeTiming();
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(count * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScriptLineCommands)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Debian's python3-ezdxf lives beside the system's Python, which another python3 on the path may
// not see.
std::string SystemPython() {
    return std::system("test -x /usr/bin/python3") == 0 ? "/usr/bin/python3" : "python3";
}

void BM_EzdxfAddLine(benchmark::State& state) {
    const std::string python = SystemPython();
    if (std::system((python + " -c 'import ezdxf' >/dev/null 2>&1").c_str()) != 0) {
        state.SkipWithError("ezdxf is not installed (Debian package python3-ezdxf): no peer to compare with");
        return;
    }
    const std::string script =
        "import ezdxf, time\n"
        "msp = ezdxf.new().modelspace()\n"
        "start = time.perf_counter()\n"
        "for i in range(" + std::to_string(state.range(0)) + "):\n"
        "    msp.add_line((i, 0), (i, 10))\n"
        "print(time.perf_counter() - start)\n";
    const std::string command = python + " -c '" + script + "'";
    for (auto _ : state) {
        FILE* pipe = popen(command.c_str(), "r");
        double seconds = 0;
        if (!pipe || std::fscanf(pipe, "%lf", &seconds) != 1) state.SkipWithError("ezdxf gave no time");
        if (pipe) pclose(pipe);
        state.SetIterationTime(seconds);
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.range(0) * state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EzdxfAddLine)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
