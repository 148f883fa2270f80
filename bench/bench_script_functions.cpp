// The script's string functions: a loop whose every round calls four of them (a concatenation
// cut to 20 characters, a replace-all, a search and a hexadecimal conversion), at 100,000 and
// 1,000,000 calls, next to tclsh doing the same work with its own string commands in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "script/script_engine.h"
#include "script/script_functions.h"

namespace {

constexpr int kCallsPerRound = 4;

struct Engine {
    linework::ScriptHost host;
    linework::SystemVariableEffects effects;
    linework::ScriptEngine engine{host, effects, "C:\\"};
    linework::ScriptServices services;
    linework::ScriptFunctions functions{engine, services};
};

void BM_ScriptStringFunctions(benchmark::State& state) {
    const int64_t rounds = state.range(0) / kCallsPerRound;
    auto bench = std::make_unique<Engine>();
    auto& store = bench->engine.store;
    store.SetLine(1, "I = 0\x7f" "N = " + std::to_string(rounds) + "\x7f" "900$ = \"\"");
    store.SetLine(2, "900$ = scopy 1 20 900$ \"ab\"\x7f" "901$ = sfr \"alpha-beta-gamma\" \"-\" \"+\"\x7f"
                     "P = pos \"gamma\" 901$\x7f" "902$ = hex P\x7f" "I += 1\x7f" "if I < N\x7f" "jmpr 0");
    store.SetLine(3, "stop null");
    for (auto _ : state) {
        bench->engine.RunProgram();
        if (store.GetTextLine(902) != "0000000C" || !bench->engine.LastError().empty())
            state.SkipWithError("the loop did not compute what it should");
    }
    state.counters["calls/s"] =
        benchmark::Counter(static_cast<double>(rounds * kCallsPerRound * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScriptStringFunctions)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same rounds in Tcl, timed by Tcl itself so that starting the process is not counted.
void BM_TclStringFunctions(benchmark::State& state) {
    if (std::system("command -v tclsh >/dev/null 2>&1") != 0) {
        state.SkipWithError("tclsh is not installed (Debian package tcl): no peer to compare with");
        return;
    }
    const int64_t rounds = state.range(0) / kCallsPerRound;
    std::string script = std::filesystem::temp_directory_path() / "bench_script_functions.tcl";
    {
        std::ofstream out(script);
        out << "proc work {n} {\n"
               "  set s \"\"\n"
               "  for {set i 0} {$i < $n} {incr i} {\n"
               "    set s [string range \"${s}ab\" 0 19]\n"
               "    set t [string map {- +} alpha-beta-gamma]\n"
               "    set p [expr {[string first gamma $t] + 1}]\n"
               "    set h [format %08X $p]\n"
               "  }\n"
               "  return $h\n"
               "}\n"
               "puts [lindex [time {set r [work "
            << rounds << "]}] 0]\n"
               "puts $r\n";
    }
    std::string command = "tclsh " + script;
    for (auto _ : state) {
        FILE* pipe = popen(command.c_str(), "r");
        double microseconds = 0;
        char result[32] = {};
        if (!pipe || std::fscanf(pipe, "%lf %31s", &microseconds, result) != 2 || std::string(result) != "0000000C")
            state.SkipWithError("tclsh gave no time or another result");
        if (pipe) pclose(pipe);
        state.SetIterationTime(microseconds / 1e6);
    }
    std::filesystem::remove(script);
    state.counters["calls/s"] =
        benchmark::Counter(static_cast<double>(rounds * kCallsPerRound * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TclStringFunctions)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
