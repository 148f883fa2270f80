// Script program files under fuzzing, as the drafting program loads and runs them: the bytes
// become a program file (plain or compiled) in a scratch program folder, are loaded whole and as
// one menu line, and the program runs with a line limit (a script may loop for ever by design).
// What must hold for any input: nothing crashes, hangs or reads outside its bounds (the
// sanitizers watch the last).
//
// The drawing commands run on the engine's drawing, so the inputs also walk the adders, the
// entity walk, undo and the list operations with whatever numbers the bytes give.
//
// Seeds: programs using every statement form and every drawing command, and their compiled forms.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_scratch.h"
#include "drawing/text_helpers.h"
#include "script/script_commands.h"
#include "script/script_engine.h"
#include "support/compiled_program.h"
#include "winplat/paths.h"

namespace {

namespace fs = std::filesystem;

struct ScratchFolder {
    fs::path folder = fuzzScratchPath("script_fuzz");
    ScratchFolder() { fs::create_directories(folder); }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

const ScratchFolder& scratch() {
    static const ScratchFolder folder;
    return folder;
}

const std::vector<std::string> kPrograms[] = {
    {"A = 1 B 2 C 3; D = A + B; 5# = D; E = 5#", "600$ = \"x\" A; 600$ += 600$; 601$ /= 600$",
     "if A in 1 2 3 and B == 2; X = 1; else; X = 2", "if 600$ iq \"a,x1,b\" or A > 2; Y = 1",
     "on A 1 +@one 2 +@two", "@one; jsr @sub; call @sub; jmp +@two", "@two; sv 100 A; Z = sv 100; stop",
     "@sub; a = 9; ret"},
    {"I = 0", "I += 1; if I < 50; jmpr 0", "J = 7 % 0"},
    {"!A = 1AH; B = 12.30.15; C = 1.5*2; D = -A; E = A \\ 2 F 3", "jmp @missing"},
    {"call @lib 900 SELF.LKP", "/ comment; A = 1", "stop null text"},
    {"line 0 0 10 10; point 5 5; circle 0 0 3; arc 0 0 1 0 0 1; pline 0 0 1 1 2 0; hatch 0 0 4 0 4 4",
     "1$ = \"TAG\"; atrdef 0 0 1 1 0 0 1; text 1 2 3 1 0 0 \"hi\"; dim 0 \"d\"; 21# = 5; pline 2",
     "sel 1; sel 14 3; sel + ; sel ! 2; sel get A B C; sel set 1 1; sel 0; sel ^",
     "etsv 0; svte; etsv 2; svte create 1 2; svte create 3 0 \"t\"; etext x; edim y; ebatr 1 v",
     "ebname B; eunsel; edraw 1; etsv 1; erase; line 0 0 1 1; u; u; ud; u null",
     "copy 1 1 5; copy; move 1 1; rotate 0 0 1; scale 0 0 2 2; stretch 1 1; explode; change 7",
     "block B 0 0; insert B 1 1 0 0 0; insert B 1 1 0; bren B C; purge; toplist -1; toplist 0",
     "sv 55 1; line 0 0 1 1; circle 0 0 1; sv 55 0; killdup 1 1 1 1; kill; u; lkdref 0 0 1 1 0 X",
     "bmref 0 0 1 1 P.PCX; bmref save; sketch 1 s; stop"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fs::path file = scratch().folder / "SELF.LKP";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    linework::ScriptHost host;
    linework::SystemVariableEffects effects;
    linework::ScriptEngine engine(host, effects, winplat::files::toWindows(scratch().folder.string()) + "\\");
    linework::ScriptCommands commands(engine);
    // Enough to run the longest program (999 lines) through once; a loop adds little coverage
    // after its first turns and only costs time.
    engine.SetLineLimit(1000);
    engine.LoadTextTable(linework::LoadMode::OneLine, 3, "SELF.LKP");
    if (engine.LoadTextTable(linework::LoadMode::Whole, 1, "SELF.LKP")) engine.RunProgram();
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    uint32_t key = 1;
    for (const auto& program : kPrograms) {
        std::string plain;
        for (const std::string& line : program) plain += line + "\r\n";
        seeds.emplace_back(plain.begin(), plain.end());
        std::vector<std::string> cleaned;
        for (const std::string& line : program) cleaned.push_back(linework::NormalizeProgramLine(line));
        std::string compiled = linework::test::Compile(cleaned, key++);
        seeds.emplace_back(compiled.begin(), compiled.end());
    }
    return seeds;
}
