#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/angles.h"
#include "drawing/drawing_statistics.h"
#include "script/day_numbers.h"
#include "script/script_functions.h"
#include "support/entity_builders.h"
#include "support/script_fixture.h"
#include "winplat/host.h"
#include "winplat/paths.h"

namespace linework::test {
namespace {

// The program around the functions as the tests answer it: what each dialog, menu and key wait
// was asked and what it gives back.
struct AnsweringServices : ScriptServices {
    std::vector<std::string> commandLine{"C:\\LK\\LK.EXE", "DRAWING.LKD", "/s"};
    std::string chosenFile = "C:\\DATA\\PLAN.LKD";
    std::vector<std::string> dialogArguments;
    int32_t menuItem = 4;
    std::vector<int32_t> menuArguments;
    int32_t key = 13;
    std::vector<int32_t> keyCodes;

    std::vector<std::string> CommandLine() override { return commandLine; }
    std::string OpenFileName(std::string_view filter, std::string_view extension, std::string_view start) override {
        dialogArguments = {"open", std::string(filter), std::string(extension), std::string(start)};
        return chosenFile;
    }
    std::string SaveFileName(std::string_view filter, std::string_view extension, std::string_view start) override {
        dialogArguments = {"save", std::string(filter), std::string(extension), std::string(start)};
        return {};
    }
    int32_t PopupMenu(int32_t count, int32_t alignment, bool atPoint, int32_t x, int32_t y) override {
        menuArguments = {count, alignment, atPoint ? 1 : 0, x, y};
        return menuItem;
    }
    HWND MainWindow() override { return reinterpret_cast<HWND>(uintptr_t{0x1234}); }
    int32_t TakeKey(std::span<const int32_t> codes) override {
        keyCodes.assign(codes.begin(), codes.end());
        return key;
    }
};

class Functions : public ScriptFixture {
protected:
    void SetUp() override {
        ScriptFixture::SetUp();
        functions_ = std::make_unique<ScriptFunctions>(*engine_, services_);
        functions_->State().random.seed(12345);
    }
    std::string Line(int n) { return engine_->store.GetTextLine(n); }

    AnsweringServices services_;
    std::unique_ptr<ScriptFunctions> functions_;
};

// A numeric assignment to A and what A holds after it, or the error it stops with.
struct NumberCase {
    std::string statement;
    double expected;
    std::string error = "";
};

void ExpectNumbers(Functions& test, const std::vector<NumberCase>& cases,
                   const std::function<std::string(const std::vector<std::string>&)>& run,
                   const std::function<double()>& result) {
    for (const NumberCase& c : cases) {
        std::string error = run({"A = -12345", c.statement, "stop"});
        if (c.error.empty()) {
            EXPECT_EQ(error, "") << c.statement;
            EXPECT_NEAR(result(), c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected))) << c.statement;
        } else {
            EXPECT_EQ(error, c.error + "\r\non LKP line 2:1") << c.statement;
            EXPECT_EQ(result(), -12345) << c.statement << ": a failed function stores nothing";
        }
    }
    (void)test;
}

#define EXPECT_NUMBERS(cases)                                                    \
    ExpectNumbers(*this, cases, [this](const std::vector<std::string>& lines) { \
        return Run(lines);                                                       \
    }, [this] { return Var('A'); })

TEST_F(Functions, ArithmeticAndItsDomainErrors) {
    const double pi = std::numbers::pi;
    std::vector<NumberCase> cases = {
        {"A = sqrt 16", 4},
        {"A = sqrt 0", 0},
        {"A = sqrt -1", 0, "Math error"},
        {"A = sqrt -0.000001", 0, "Math error"},
        {"A = -sqrt 4", -2},
        {"A = ln 1", 0},
        {"A = ln 0", 0, "Math error"},
        {"A = ln -1", 0, "Math error"},
        {"A = ln 0.000001", std::log(0.000001)},
        {"A = exp 1", std::numbers::e},
        {"A = exp 709", std::exp(709.0)},
        {"A = exp 710", 0, "Math error"},
        {"A = pwr 2 10", 1024},
        {"A = pwr 0 -1", 0, "Math error"},
        {"A = pwr -8 0.5", 0, "Math error"},
        {"A = pwr 10 308", 1e308},
        {"A = pwr 10 309", 0, "Math error"},
        {"A = min 3 -1 2", -1},
        {"A = max 3 -1 2", 3},
        {"A = min 7", 7},
        {"A = max -4 -9", -4},
        {"A = int -2.7", -2},
        {"A = int 2.7", 2},
        {"A = abs -2.5", 2.5},
        {"A = not 0", -1},
        {"A = not 5", -6},
        {"A = pi", pi},
        {"A = dist 0 0 3 4", 5},
        {"A = dist 1 1 1 1", 0},
        {"A = angle 0 0 0 1", pi / 2},
        {"A = angle 0 0 0 -1", 3 * pi / 2},
        {"A = angle 2 2 1 2", pi},
        {"A = cos 0", 1},
        {"A = sin 7.853981633974483", 1},
        {"A = tan 0.7853981633974483", 1},
        {"A = atn 1", pi / 4},
        {"A = asn 1", pi / 2},
        {"A = asn -1", -pi / 2},
        {"A = acs -1", pi},
        {"A = acs 1", 0},
        {"A = acs 1.000001", 0, "Math error"},
        {"A = asn -1.000001", 0, "Math error"},
        {"A = ctn 0.7853981633974483", 1},
        {"A = ctn 0", 0, "Math error"},
    };
    EXPECT_NUMBERS(cases);
}

TEST_F(Functions, AnglesFollowTheUserUnit) {
    const double pi = std::numbers::pi;
    engine_->numberInput.grammar.angleMode = kAngleDegrees;
    EXPECT_NUMBERS((std::vector<NumberCase>{
        {"A = dgr 3.141592653589793", 180},
        {"A = dgr 9.42477796076938", 180},  // 3 pi reduced to pi first
        {"A = rad 90", pi / 2},
        {"A = rad 450", pi / 2},
    }));
    engine_->numberInput.grammar.angleMode = kAngleGrads;
    EXPECT_NUMBERS((std::vector<NumberCase>{{"A = dgr 3.141592653589793", 200}, {"A = rad 100", pi / 2}}));
}

TEST_F(Functions, AnErrorStopsTheRunWithItsPlace) {
    EXPECT_EQ(Run({"A = 1; B = 2", "C = 3; A = ln 0; A = 2", "A = 3", "stop"}), "Math error\r\non LKP line 2:2");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_EQ(Var('C'), 3);
    EXPECT_EQ(Run({"5$ = frob 1", "stop"}), "Unknown function frob\r\non LKP line 1:1");
    EXPECT_EQ(Run({"A = frob 1", "stop"}), "Unknown function frob\r\non LKP line 1:1");
}

TEST_F(Functions, RandomNumbersCoverTheirRangeAndRepeatWithTheSeed) {
    // 3000 draws of rnd 6: all integers, the least 0 and the largest 5.
    std::vector<std::string> loop = {
        "N = 0; L = 99; H = -99; F = 0",
        "R = rnd 6; I = int R; if I != R; F = 1",
        "if R < L; L = R",
        "if R > H; H = R",
        "N += 1; if N < 3000; jmp 2",
        "U = rnd; if U < 0; F = 2",
        "if U >= 1; F = 3",
        "stop",
    };
    EXPECT_EQ(Run(loop), "");
    EXPECT_EQ(Var('F'), 0);
    EXPECT_EQ(Var('L'), 0);
    EXPECT_EQ(Var('H'), 5);
    functions_->State().random.seed(99);
    EXPECT_EQ(Run({"A = rnd; B = rnd 1000000", "stop"}), "");
    double a = Var('A'), b = Var('B');
    functions_->State().random.seed(99);
    EXPECT_EQ(Run({"A = rnd; B = rnd 1000000", "stop"}), "");
    EXPECT_EQ(Var('A'), a);
    EXPECT_EQ(Var('B'), b);
}

// A string assignment to line 900 and what the line holds after it, or the error.
struct TextCase {
    std::string statements;  // may set lines 901.. first
    std::string expected;
    std::string error = "";
};

TEST_F(Functions, StringFunctions) {
    const std::vector<TextCase> cases = {
        {"900$ = chr 72 105", "Hi"},
        {"900$ = scopy 2 3 \"abcdef\"", "bcd"},
        {"900$ = scopy 0 2 \"abcdef\"", "ab"},
        {"900$ = scopy 6 5 \"abcdef\"", "f"},
        {"900$ = scopy 7 1 \"abcdef\"", ""},
        {"900$ = scopy 2 0 \"abcdef\"", ""},
        {"900$ = scopy 1 2 \"ab\" \"cd\"", "ab"},
        {"900$ = sdelete 2 3 \"abcdef\"", "aef"},
        {"900$ = sdelete 6 1 \"abcdef\"", "abcde"},
        {"900$ = sdelete 7 1 \"abcdef\"", "abcdef"},
        {"900$ = sdelete 0 1 \"abcdef\"", "abcdef"},
        {"900$ = sinsert 3 \"XY\" \"abcd\"", "abXYcd"},
        {"900$ = sinsert 5 \"X\" \"abcd\"", "abcdX"},
        {"900$ = sinsert 9 \"X\" \"abcd\"", "abcdX"},
        {"900$ = sinsert 0 \"X\" \"abcd\"", "Xabcd"},
        {"900$ = schange 2 \"XY\" \"abcd\"", "aXYd"},
        {"900$ = schange 4 \"XY\" \"abcd\"", "abcXY"},
        {"900$ = sfr \"a-b-c\" \"-\" \"+\"", "a+b+c"},
        {"900$ = sfr \"a-b.c\" \"-\" \"+\" \".\" \"--\"", "a+b--c"},
        // Each pair works on at most 255 characters: 127 a's grow to 508 and are cut to 255, odd,
        // so taking out pairs leaves one (254 or 256 would leave none, as the 508 uncut would).
        {"901$ = \"aaaaaaaaaaaaaaaa\"; 901$ += 901$; 901$ += 901$; 901$ += 901$; 900$ = sfr 901$ \"a\" \"aaaa\" \"aa\" \"\"",
         "a"},
        {"901$ = chr 97 98 0 99; 900$ = conv c 901$", "ab"},
        {"901$ = chr 2 97 98 99; 900$ = conv p 901$", "ab"},
        {"901$ = chr 9 97; 900$ = conv p 901$", "a"},
        {"900$ = hex 255", "000000FF"},
        {"900$ = hex -1", "FFFFFFFF"},
        {"900$ = hex 305419896", "12345678"},
        {"900$ = hex bin \"AZ\"", "415A"},
        {"900$ = bin hex \"415a\"", "AZ"},
        {"900$ = bin hex \"14142\"", std::string("\x01" "AB")},
        {"900$ = bin hex \"41G42\"", "A"},
        {"900$ = norm ext \"C:\\X\\A.LKD\"", ".LKD"},
        {"900$ = norm path \"C:\\X\\A.LKD\"", "C:\\X\\"},
        {"900$ = norm \"  abc d  \"", "ABC D"},
        {"sv 47 0; 900$ = norm \"  abc d  \"", "abc d"},
        {"900$ = norm lkp \"a   b ; c\"", std::string("a b\x7F" "c")},
        {"900$ = norm dt \"1.2.1998 3:45:00\"", "01.02.1998 03:45:00"},
        {"900$ = name", "NONAME.LKD"},
        {"900$ = day 0", "30.12.1899 0:00:00"},
        {"900$ = day 1.5", "31.12.1899 12:00:00"},
        {"900$ = day 45000.75", "15.3.2023 18:00:00"},
        {"900$ = day -1", "29.12.1899 0:00:00"},
        {"900$ = param 1", "DRAWING.LKD"},
        {"900$ = param 2", "/s"},
        {"900$ = param 3", ""},
        {"900$ = param -1", ""},
        {"900$ = bin 3 1", "", "Invalid binary width"},
        {"900$ = bin 8 1", "", "Invalid binary width"},
    };
    for (const TextCase& c : cases) {
        engine_->store.SetLine(900, "untouched");
        std::string error = Run({c.statements, "stop"});
        if (c.error.empty()) {
            EXPECT_EQ(error, "") << c.statements;
            EXPECT_EQ(Line(900), c.expected) << c.statements;
        } else {
            EXPECT_EQ(error.substr(0, error.find('\r')), c.error) << c.statements;
            EXPECT_EQ(Line(900), "untouched") << c.statements;
        }
    }
}

TEST_F(Functions, NumbersOfTexts) {
    EXPECT_NUMBERS((std::vector<NumberCase>{
        {"A = len \"abc\" \"de\"", 5},
        {"A = len", 0},
        {"A = asc 2 \"Hi\"", 105},
        {"A = asc 1 \"\xE8\"", 0xE8},
        {"A = asc 3 \"Hi\"", 0},
        {"A = asc 0 \"Hi\"", 0},
        {"A = pos \"c\" \"abc\"", 3},
        {"A = pos \"a\" \"abc\"", 1},
        {"A = pos \"x\" \"abc\"", 0},
        {"A = pos \"\" \"abc\"", 0},
        {"A = \"12\"", 12},
        {"A = \"1AH\"", 26},
        {"A = \"3\" \"4\"", 34},
        {"A = \"x\"", 0},
        {"A = bin x \"a\"", 0, "Invalid binary width"},
    }));
}

TEST_F(Functions, BinaryWidthsRoundTrip) {
    struct Case {
        std::string width;
        std::string value;
        double back;
        double bytes;
    };
    const Case cases[] = {
        {"1", "65", 65, 1},           {"1", "300", 44, 1},           {"-1", "255", -1, 1},
        {"-1", "-128", -128, 1},      {"2", "65535", 65535, 2},      {"-2", "65535", -1, 2},
        {"2", "-1", 65535, 2},        {"4", "-1", 4294967295.0, 4},  {"-4", "-1", -1, 4},
        {"-4", "2147483647", 2147483647, 4}, {"4", "4294967295", 4294967295.0, 4},
        {"s", "1.5", 1.5, 4},         {"d", "0.1", 0.1, 8},          {"d", "-1e300", -1e300, 8},
    };
    for (const Case& c : cases) {
        std::string statement = "901$ = bin " + c.width + " " + c.value + "; A = bin " + c.width +
                                " 901$; L = len 901$";
        EXPECT_EQ(Run({statement, "stop"}), "") << statement;
        EXPECT_EQ(Var('A'), c.back) << statement;
        EXPECT_EQ(Var('L'), c.bytes) << statement;
    }
    // Several values one after another; a text shorter than the width reads as 0.
    EXPECT_EQ(Run({"901$ = bin 2 1 2 3; L = len 901$; 902$ = sdelete 1 2 901$; A = bin 2 902$", "stop"}), "");
    EXPECT_EQ(Var('L'), 6);
    EXPECT_EQ(Var('A'), 2);
    EXPECT_EQ(Run({"901$ = chr 7; A = bin 2 901$; 902$ = chr 7 0; B = bin 2 902$", "stop"}), "");
    EXPECT_EQ(Var('A'), 0);
    EXPECT_EQ(Var('B'), 7);
    EXPECT_EQ(Run({"901$ = chr 1 2 3; A = bin 4 901$; B = bin d 901$", "stop"}), "");
    EXPECT_EQ(Var('A'), 0);
    EXPECT_EQ(Var('B'), 0);
}

TEST_F(Functions, ReadBinGivesBackWhatBinWrote) {
    EXPECT_EQ(Run({"900$ = bin 4 1 -2 70000", "stop"}), "");
    WriteFile("DATA.BIN", Line(900));
    ScriptFileSlot& slot = engine_->runtime.BinarySlot();
    slot.file = OpenForReading(winplat::files::toWindows(HostPath("DATA.BIN")));
    ASSERT_TRUE(slot.file);
    slot.open = true;
    EXPECT_EQ(Run({"901$ = read bin 4 3; S = sv 77; 902$ = read bin 4; T = sv 77; A = bin -4 901$", "stop"}), "");
    EXPECT_EQ(Line(901), Line(900));
    EXPECT_EQ(Var('S'), 0);
    EXPECT_EQ(Line(902), "") << "nothing is left after three values";
    EXPECT_EQ(Var('T'), 100) << "read past the end";
    EXPECT_EQ(Var('A'), 1);
    // The run closed the file: a read now finds no file open.
    EXPECT_EQ(Run({"901$ = read bin 1; S = sv 77", "stop"}), "");
    EXPECT_EQ(Var('S'), 103);
    EXPECT_EQ(Run({"901$ = read bin 3", "stop"}), "Invalid binary width\r\non LKP line 1:1");
}

TEST_F(Functions, ReadTakesLinesOfATextFile) {
    WriteFile("LINES.TXT", "one\r\ntwo\r\nthree");
    ScriptFileSlot& slot = engine_->runtime.TextSlot(0);
    slot.file = OpenForReading(winplat::files::toWindows(HostPath("LINES.TXT")));
    ASSERT_TRUE(slot.file);
    slot.open = true;
    EXPECT_EQ(Run({"901$ = read 1 1; 902$ = read 1 5; S = sv 77; 903$ = read 2 0; T = sv 77", "stop"}), "");
    EXPECT_EQ(Line(901), "two");
    EXPECT_EQ(Line(902), "three") << "reading stops at the end of the file";
    EXPECT_EQ(Var('S'), 0);
    EXPECT_EQ(Var('T'), 103) << "slot 2 is not open";
}

TEST_F(Functions, NamesOfTheProgramAndItsHost) {
    EXPECT_EQ(Run({"900$ = name lkp; 901$ = name pc; 902$ = name user; 903$ = ver", "stop"}), "");
    EXPECT_EQ(Line(900), engine_->store.programName);
    EXPECT_NE(Line(900).find("T.LKP"), std::string::npos);
    EXPECT_EQ(Line(901), services_.ComputerName());
    EXPECT_EQ(Line(902), services_.UserName());
    EXPECT_NE(Line(903).find("Linework"), std::string::npos);
    engine_->runtime.drawingName = "C:\\DATA\\PLAN.LKD";
    EXPECT_EQ(Run({"900$ = name", "stop"}), "");
    EXPECT_EQ(Line(900), "C:\\DATA\\PLAN.LKD");
    // A temporary file of the asked extension, made empty.
    EXPECT_EQ(Run({"900$ = name tmp \".LKD\"", "stop"}), "");
    std::string temporary = Line(900);
    ASSERT_GE(temporary.size(), 4u);
    EXPECT_EQ(temporary.substr(temporary.size() - 4), ".LKD");
    auto host = winplat::files::resolve(temporary);
    ASSERT_TRUE(host);
    EXPECT_TRUE(std::filesystem::exists(*host));
    std::filesystem::remove(*host);
}

TEST_F(Functions, DialogsMenusAndKeysGoThroughTheServices) {
    EXPECT_EQ(Run({"900$ = foname \"*.LKD\" LKD \"START\"; 901$ = fsname \"*.DXF\" \"DXF\"", "stop"}), "");
    EXPECT_EQ(Line(900), services_.chosenFile);
    EXPECT_EQ(Line(901), "") << "a cancelled dialog";
    EXPECT_EQ(services_.dialogArguments, (std::vector<std::string>{"save", "*.DXF", "DXF", ""}));
    EXPECT_EQ(Run({"A = pumenu 5 1 100 200; B = pumenu 3", "stop"}), "");
    EXPECT_EQ(Var('A'), 4);
    EXPECT_EQ(services_.menuArguments, (std::vector<int32_t>{3, 3, 0, 0, 0}));
    EXPECT_EQ(Run({"A = kbd 27 13", "stop"}), "");
    EXPECT_EQ(Var('A'), 13);
    EXPECT_EQ(services_.keyCodes, (std::vector<int32_t>{27, 13}));
    EXPECT_EQ(Run({"A = pumenu 5 1 100 200", "stop"}), "");
    EXPECT_EQ(services_.menuArguments, (std::vector<int32_t>{5, 1, 1, 100, 200}));
}

TEST_F(Functions, BlockCountsAndLayers) {
    Drawing& drawing = engine_->drawing;
    BlockHandle door = AddBlockDef(drawing, "DOOR", {});
    AppendToBlock(drawing, door, EntityRecord(EntityKind::AttributeDefinition, 64));
    AppendToBlock(drawing, door, Polyline({{0, 0}, {1, 0}}));
    AppendToBlock(drawing, door, Polyline({{0, 0}, {1, 1}}));
    BlockHandle house = AddBlockDef(drawing, "HOUSE", {});
    AppendToBlock(drawing, house, Insert(door));
    AppendToBlock(drawing, house, Insert(door));
    EXPECT_NUMBERS((std::vector<NumberCase>{
        {"A = nreb DOOR", 3},
        {"A = nrab DOOR", 1},
        {"A = nrab HOUSE", 0},
        {"A = nreb HOUSE", 2},
        {"A = nreeb HOUSE", 6},
        {"A = nreb WINDOW", -1},
        {"A = nrab WINDOW", -1},
        {"A = nreeb WINDOW", -1},
        {"A = nreb door", -1},
        {"A = off", 0},
        {"A = offlock", 0},
    }));
    EXPECT_EQ(Run({"900$ = bname 1; 901$ = bname 2; 902$ = bname 3; 903$ = bname 0", "stop"}), "");
    EXPECT_EQ(Line(900), "HOUSE");
    EXPECT_EQ(Line(901), "DOOR");
    EXPECT_EQ(Line(902), "");
    EXPECT_EQ(Line(903), "");
}

TEST_F(Functions, ExistTellsFilesFromFolders) {
    WriteFile("X.TXT", "x");
    std::filesystem::create_directory(HostPath("SUB"));
    EXPECT_NUMBERS((std::vector<NumberCase>{
        {"A = exist X.TXT", 1},
        {"A = exist x.txt", 1},
        {"A = exist Y.TXT", 0},
        {"A = exist SUB", 0},
        {"A = exist dir SUB", 1},
        {"A = exist dir X.TXT", 0},
        {"A = exist dir NONE", 0},
        {"A = exist", 0},
    }));
}

TEST_F(Functions, DirectorySearchHandsOutMatchesInOrder) {
    std::filesystem::create_directories(HostPath("SUB/INNER"));
    WriteFile("SUB/b.LKD", "bb");
    WriteFile("SUB/a.lkd", "a");
    WriteFile("SUB/c.txt", "ccc");
    WriteFile("SUB/.h.lkd", "h");
    std::vector<std::string> program = {
        "M = 0; 900$ = name file M S D SUB\\*.LKD",
        "E = S; 901$ = name file M S D",
        "902$ = name file; 903$ = name file",
        "stop",
    };
    EXPECT_EQ(Run(program), "");
    EXPECT_EQ(Line(900), "a.lkd");
    EXPECT_EQ(Var('E'), 1) << "words 4, 5 and 6 take the file's attributes, size and date";
    EXPECT_EQ(Line(901), "b.LKD") << "a shorter statement goes on with the open search";
    EXPECT_EQ(Var('M'), 0x20);
    EXPECT_EQ(Var('S'), 2);
    EXPECT_NEAR(Var('D'), services_.Now(), 1.0);
    EXPECT_EQ(Line(902), "") << "hidden files only when the mask asks";
    EXPECT_EQ(Line(903), "") << "a closed search stays empty";
    // Folders and hidden files with their bits in the mask.
    EXPECT_EQ(Run({"M = 18; 900$ = name file M S D SUB\\*; 901$ = name file; 902$ = name file", "stop"}), "");
    EXPECT_EQ(Line(900), ".h.lkd");
    EXPECT_EQ(Line(901), "INNER");
    EXPECT_EQ(Line(902), "a.lkd");
    // A pattern that matches nothing, or a folder that is not there.
    EXPECT_EQ(Run({"M = 0; 900$ = name file M S D SUB\\*.DXF; 901$ = name file M S D NONE\\*", "stop"}), "");
    EXPECT_EQ(Line(900), "");
    EXPECT_EQ(Line(901), "");
}

TEST_F(Functions, ExecStartsAnArgumentVectorNeverAShell) {
    if (!std::filesystem::exists("/bin/true")) GTEST_SKIP() << "/bin/true is not there";
    EXPECT_NUMBERS((std::vector<NumberCase>{
        {"A = exec /bin/true", 33},
        {"A = exec \"/bin/true extra words\"", 33},
        {"A = exec \"/bin/true && /bin/true\"", 33},
        {"A = exec /nonexistent/program", 3},
        {"A = exec /bin/nonexistent", 2},
        {"A = exec", 2},
    }));
    // A shell would run the first program of "a;b"; here the whole word names one file.
    EXPECT_EQ(Run({"A = exec \"/bin/true;/bin/true\"", "stop"}), "");
    EXPECT_LT(Var('A'), 32);
    EXPECT_EQ(Run({"A = exec /bin/true", "stop"}), "");
    EXPECT_GT(Var('A'), 31);
}

// What the platform was asked to start; nothing starts.
struct RecordingLauncher : winplat::host::Launcher {
    std::vector<winplat::host::LaunchRequest> requests;
    winplat::host::Launcher* previous = winplat::host::setLauncher(this);
    ~RecordingLauncher() override { winplat::host::setLauncher(previous); }
    winplat::host::Launched launch(const winplat::host::LaunchRequest& request) override {
        requests.push_back(request);
        return {};
    }
};

TEST_F(Functions, ExecHandsThePlatformsLauncherTheArgumentsAsWritten) {
    if (!std::filesystem::exists("/bin/true")) GTEST_SKIP() << "/bin/true is not there";
    RecordingLauncher launcher;
    EXPECT_EQ(Run({"A = exec \"/bin/true a;b && c | d $HOME `x` >f\"", "B = exec \"/bin/true \"", "stop"}), "");
    EXPECT_GT(Var('A'), 31);
    EXPECT_GT(Var('B'), 31);
    ASSERT_EQ(launcher.requests.size(), 2u);
    EXPECT_EQ(launcher.requests[0].arguments,
              (std::vector<std::string>{"/bin/true", "a;b", "&&", "c", "|", "d", "$HOME", "`x`", ">f"}));
    EXPECT_EQ(std::filesystem::canonical(launcher.requests[0].program), std::filesystem::canonical("/bin/true"));
    EXPECT_EQ(launcher.requests[1].arguments, (std::vector<std::string>{"/bin/true"}));
    // Words are joined without separators, as every name of a file is: two words are one name.
    EXPECT_EQ(Run({"A = exec /bin/ true", "stop"}), "");
    EXPECT_GT(Var('A'), 31);
    ASSERT_EQ(launcher.requests.size(), 3u);
    EXPECT_EQ(launcher.requests[2].arguments, (std::vector<std::string>{"/bin/true"}));
}

TEST_F(Functions, CallDepthAndWindowMessages) {
    EXPECT_EQ(Run({"A = ret; call @s", "jmp @e", "@s", "B = ret; jsr @t", "ret", "@t", "C = ret; ret", "@e", "stop"}),
              "");
    EXPECT_EQ(Var('A'), 0);
    EXPECT_EQ(Var('B'), 1);
    EXPECT_EQ(Var('C'), 2);
    EXPECT_EQ(Run({"A = regwmsg \"LineworkPing\"; B = regwmsg \"LineworkPing\"; C = sendmsg 1 2 3", "stop"}), "");
    EXPECT_GE(Var('A'), 0xC000);
    EXPECT_EQ(Var('B'), Var('A'));
    EXPECT_EQ(Var('C'), 0) << "sendmsg needs exactly four arguments";
    EXPECT_EQ(Run({"A = handle; B = handle \"\" \"\"", "stop"}), "");
    EXPECT_EQ(Var('A'), 0x1234) << "no class and no title: the main window";
    EXPECT_EQ(Var('B'), 0x1234);
}

TEST_F(Functions, IntersectionsByTheLengthOfTheStatement) {
    EXPECT_EQ(Run({"X = 9; Y = 9; A = isec 0 0 2 2 0 2 2 0 X Y", "stop"}), "");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_EQ(Var('X'), 1);
    EXPECT_EQ(Var('Y'), 1);
    EXPECT_EQ(Run({"X = 9; A = isec 0 0 2 2 0 1 2 3 X Y", "stop"}), "");
    EXPECT_EQ(Var('A'), 0) << "parallel lines";
    EXPECT_EQ(Var('X'), 9);
    EXPECT_EQ(Run({"X = 9; A = isec 0 0 2 2 0 2 2 0 X", "stop"}), "");
    EXPECT_EQ(Var('A'), 0) << "a statement ending before word 12";
    EXPECT_EQ(Var('X'), 9);
    // A line through a circle's centre, and two circles given by centre and a point on them.
    EXPECT_EQ(Run({"A = isec -5 0 5 0 0 0 2 1# 2# 3# 4#", "stop"}), "");
    EXPECT_EQ(Var('A'), 2);
    std::vector<double> xs = {engine_->variables.numbers[1], engine_->variables.numbers[3]};
    std::sort(xs.begin(), xs.end());
    EXPECT_DOUBLE_EQ(xs[0], -2);
    EXPECT_DOUBLE_EQ(xs[1], 2);
    EXPECT_DOUBLE_EQ(engine_->variables.numbers[2], 0);
    EXPECT_EQ(Run({"A = isec 0 0 2 0 2 0 4 0 1# 2# 3# 4#", "stop"}), "");
    EXPECT_EQ(Var('A'), 2);
    EXPECT_NEAR(engine_->variables.numbers[1], 1, 1e-12);
    EXPECT_NEAR(std::fabs(engine_->variables.numbers[2]), std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(engine_->variables.numbers[2], -engine_->variables.numbers[4], 1e-12);
    EXPECT_EQ(Run({"A = isec 0 0 1 0 5 0 6 0 1# 2# 3# 4#", "stop"}), "");
    EXPECT_EQ(Var('A'), 0) << "circles apart";
}

TEST(DayNumbers, FormatTheCalendarBounds) {
    EXPECT_EQ(FormatDayNumber(2958465.5), "31.12.9999 12:00:00");
    EXPECT_EQ(FormatDayNumber(2958466), "");
    EXPECT_EQ(FormatDayNumber(-693593), "1.1.1 0:00:00");
    EXPECT_EQ(FormatDayNumber(-693594), "");
    EXPECT_EQ(FormatDayNumber(0.99999999), "31.12.1899 0:00:00");
    EXPECT_EQ(FormatDayNumber(std::nan("")), "");
}

}  // namespace
}  // namespace linework::test
