// The drafting program's script engine: a counting loop of 3 million statements next to tclsh
// running the same loop in the same run, the cost of the message pump between lines, and a
// 999-line program that jumps to its last label in a loop.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "script/script_engine.h"
#include "winplat/user.h"

namespace {

// Lets messages through as the program does: nothing is queued here, so this is the cost of
// looking.
struct PumpingHost : linework::ScriptHost {
    bool PumpMessages() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        return false;
    }
};

struct Engine {
    PumpingHost host;
    linework::SystemVariableEffects effects;
    linework::ScriptEngine engine{host, effects, "C:\\"};
};

constexpr int kLoopCount = 1000000;

void RunLoop(benchmark::State& state, const char* first) {
    auto bench = std::make_unique<Engine>();
    auto& store = bench->engine.store;
    store.SetLine(1, first);
    store.SetLine(2, "A += 1\x7f" "if A < 1000000\x7f" "jmpr 0");
    store.SetLine(3, "stop null");
    for (auto _ : state) {
        bench->engine.RunProgram();
        if (bench->engine.variables.Letter('A') != kLoopCount) state.SkipWithError("the loop did not count");
    }
    state.counters["statements/s"] =
        benchmark::Counter(3.0 * kLoopCount * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A = 0 / A += 1; if A < 1000000; jmpr 0 / stop: 3 million statements, the pump between lines.
void BM_ScriptCountingLoop(benchmark::State& state) { RunLoop(state, "A = 0"); }
BENCHMARK(BM_ScriptCountingLoop)->Unit(benchmark::kMillisecond);

// The same with messages not let through (system variable 42 off): the difference per line is
// what the pump costs when nothing is pending.
void BM_ScriptCountingLoopWithoutPump(benchmark::State& state) { RunLoop(state, "A = 0\x7f" "sv 42 0"); }
BENCHMARK(BM_ScriptCountingLoopWithoutPump)->Unit(benchmark::kMillisecond);

// tclsh counting to a million, timed by Tcl itself so that starting the process is not counted.
void BM_TclCountingLoop(benchmark::State& state) {
    if (std::system("command -v tclsh >/dev/null 2>&1") != 0) {
        state.SkipWithError("tclsh is not installed (Debian package tcl): no peer to compare with");
        return;
    }
    const char* command =
        "echo 'puts [lindex [time {for {set a 0} {$a < 1000000} {incr a} {}}] 0]' | tclsh";
    for (auto _ : state) {
        FILE* pipe = popen(command, "r");
        double microseconds = 0;
        if (!pipe || std::fscanf(pipe, "%lf", &microseconds) != 1) state.SkipWithError("tclsh gave no time");
        if (pipe) pclose(pipe);
        state.SetIterationTime(microseconds / 1e6);
    }
}
BENCHMARK(BM_TclCountingLoop)->UseManualTime()->Unit(benchmark::kMillisecond);

// A program of 999 lines whose loop jumps to the label on its last line: each jump searches the
// store from line 1.
void BM_ScriptJumpToLastLabel(benchmark::State& state) {
    auto bench = std::make_unique<Engine>();
    auto& store = bench->engine.store;
    store.SetLine(1, "I = 0");
    store.SetLine(2, "I += 1\x7f" "if I < 10000\x7f" "jmp @last");
    store.SetLine(3, "stop null");
    for (int32_t line = 4; line < 999; ++line) store.SetLine(line, "/ filler line " + std::to_string(line));
    store.SetLine(999, "@last\x7f" "jmp 2");
    for (auto _ : state) bench->engine.RunProgram();
    state.counters["jumps/s"] = benchmark::Counter(10000.0 * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScriptJumpToLastLabel)->Unit(benchmark::kMillisecond);

}  // namespace
