// Script program files under fuzzing, as the drafting program loads and runs them: the bytes
// become a program file (plain or compiled) in a scratch program folder, are loaded whole and as
// one menu line, and the program runs with a line limit (a script may loop for ever by design).
// What must hold for any input: nothing crashes, hangs or reads outside its bounds (the
// sanitizers watch the last).
//
// The drawing commands run on the engine's drawing, so the inputs also walk the adders, the
// entity walk, undo and the list operations with whatever numbers the bytes give. The functions
// run too, with the answers of a program without windows; "exec" reaches a launcher that only
// records (no input ever starts a program), and "name tmp" makes its files in the scratch folder.
//
// Seeds: programs using every statement form, every drawing command and every function, and
// their compiled forms.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_scratch.h"
#include "drawing/text_helpers.h"
#include "script/script_commands.h"
#include "script/script_engine.h"
#include "script/script_functions.h"
#include "support/compiled_program.h"
#include "winplat/host.h"
#include "winplat/paths.h"

namespace {

namespace fs = std::filesystem;

// Starts nothing: a program that "exec" names is only asked for.
struct NoLauncher : winplat::host::Launcher {
    winplat::host::Launched launch(const winplat::host::LaunchRequest&) override { return {}; }
};

struct ScratchFolder {
    fs::path folder = fuzzScratchPath("script_fuzz");
    fs::path temporary = folder / "tmp";
    NoLauncher launcher;
    ScratchFolder() {
        fs::create_directories(temporary);
        setenv("TMPDIR", temporary.c_str(), 1);
        winplat::host::setLauncher(&launcher);
    }
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

// The functions, a line each: an error on one (a Math error, a bad width) stops its run, so each
// seed is one of these lines followed by "stop".
const std::string kFunctionLines[] = {
    "5$ = chr 72 105; 6$ = bin 4 1 -2 70000; 7$ = bin hex \"415A\"; 8$ = hex bin 5$; 9$ = hex -1",
    "A = bin -2 6$; B = bin s 6$; C = bin d 6$; D = asc 2 5$; E = len 9$; F = pos \"A\" 7$",
    "10$ = scopy 2 3 \"abcdef\"; 11$ = sdelete 2 9 10$; 12$ = schange 9 \"XY\" 10$; 13$ = sinsert 0 \"Z\" 10$",
    "14$ = sfr 10$ \"b\" \"bb\" \"\" \"x\"; 15$ = conv c 6$; 16$ = conv p 6$; 17$ = norm ext \"A.B\\C\"",
    "18$ = norm path \"C:\\X\\Y.Z\"; 19$ = norm name \".LKD\" P; 20$ = norm lkp \" a ;; b \"; 21$ = norm dt \"1.2.2003 4:05:06\"",
    "22$ = day 1e300; 23$ = day -1e9; 24$ = name; 25$ = name tmp \".X\"; 26$ = name file M S D *.*; 27$ = name file",
    "28$ = ver; 29$ = param 99; 30$ = cd 27; 31$ = bname 1; 32$ = read 7 1000; 33$ = read bin d 99; 34$ = etext",
    "A = sqrt -1", "B = ln 0", "C = pwr 0 -1", "D = exp 1e4", "E = ctn 0", "F = acs 2", "5$ = bin q 1",
    "G = rnd -5; H = rnd 0; I = rnd 1e12; J = pwr -8 0.5; K = asn -1; L = tan 1.5707963267948966",
    "A = min; B = max 1 2; C = dist 0 0 3 4; D = angle 0 0 0 0; E = dgr 1e300; F = rad -1e300; G = not 1e20",
    "A = isec 0 0 1 1 0 1 1 0 X Y; B = isec 0 0 1 0 0 0 1 X Y P Q; C = isec 0 0 1 0 0 0 1 0 X Y P Q",
    "A = conv 50 14 300 jtsk X Y 1 1 0 0; B = nrab D; C = nreb D; D = nreeb D; E = batrdef 99 D; F = ebatr 0",
    "A = exist dir C:\\; B = exist X.LKP; C = kbd 13; D = kbd status 16; E = pumenu 40 9 1 1; F = getd 1 z",
    "A = getl 0 p; B = fptp; C = trfr; D = handle x y; E = regwmsg m; F = sendmsg 1 2 3 4; G = exec a \"b; c\"",
    "A = \"1AH\"; B = 5$; C = sv 2000; D = gtc; E = day; F = ret; G = off; H = offlock",
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
    linework::ScriptServices services;
    linework::ScriptFunctions functions(engine, services);
    functions.State().random.seed(1);
    // Enough to run the longest program (999 lines) through once; a loop adds little coverage
    // after its first turns and only costs time.
    engine.SetLineLimit(1000);
    engine.LoadTextTable(linework::LoadMode::OneLine, 3, "SELF.LKP");
    if (engine.LoadTextTable(linework::LoadMode::Whole, 1, "SELF.LKP")) engine.RunProgram();
    std::error_code ignored;
    for (const auto& made : fs::directory_iterator(scratch().temporary, ignored)) fs::remove_all(made.path(), ignored);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    uint32_t key = 1;
    std::vector<std::vector<std::string>> programs(std::begin(kPrograms), std::end(kPrograms));
    for (const std::string& line : kFunctionLines) programs.push_back({line, "stop"});
    for (const auto& program : programs) {
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
