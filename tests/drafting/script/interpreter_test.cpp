#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/script_fixture.h"

namespace linework::test {
namespace {

using Interpreter = ScriptFixture;

TEST_F(Interpreter, OperatorsAndTheirErrors) {
    EXPECT_EQ(Run({"A = 7.5 \\ 2; B = -7 % 3; C = 6 & 3; D = 6 | 3; E = 6 ^ 3; F = -4 / 8", "stop"}), "");
    EXPECT_EQ(Var('A'), 3);
    EXPECT_EQ(Var('B'), -1);
    EXPECT_EQ(Var('C'), 2);
    EXPECT_EQ(Var('D'), 7);
    EXPECT_EQ(Var('E'), 5);
    EXPECT_EQ(Var('F'), -0.5);
    EXPECT_EQ(Run({"A = 1", "A = 7 % 0", "A = 2", "stop"}), "Division by zero\r\non LKP line 2:1");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_EQ(Run({"X = 1; A = 7 / 0", "stop"}), "Division by zero\r\non LKP line 1:2");
    EXPECT_EQ(Run({"A = 1 ~ 2", "stop"}), "Invalid operator\r\non LKP line 1:1");
    EXPECT_EQ(Run({"A = 1 ++ 2", "stop"}), "Invalid operator\r\non LKP line 1:1");
    EXPECT_EQ(Run({"A === 1", "stop"}), "Invalid operator\r\non LKP line 1:1");
}

TEST_F(Interpreter, AssignmentForms) {
    EXPECT_EQ(Run({"A = 1 B 2 C 3; D = 1 + 2 + 3; E = 5; E += 2; F = 10; F -= 1 G 4", "stop"}), "");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_EQ(Var('B'), 2);
    EXPECT_EQ(Var('C'), 3);
    EXPECT_EQ(Var('D'), 3);
    EXPECT_EQ(Var('E'), 7);
    EXPECT_EQ(Var('F'), 9);
    EXPECT_EQ(Var('G'), -4);
    // Upper and lower case are different variables; 1AH and 12.30.15 are typed numbers.
    EXPECT_EQ(Run({"a = 1; A = 2; H = 1AH; I = 1.5*2; K = -.5; L = +2e1; M = -2.30.", "stop"}), "");
    EXPECT_EQ(Var('K'), -0.5);
    EXPECT_EQ(Var('L'), 20);
    EXPECT_EQ(Var('M'), -2.5);
    EXPECT_EQ(Var('a'), 1);
    EXPECT_EQ(Var('A'), 2);
    EXPECT_EQ(Var('H'), 26);
    EXPECT_EQ(Var('I'), 3);
}

TEST_F(Interpreter, NegationNeedsTheSignOnTheWord) {
    EXPECT_EQ(Run({"B = 4; A = -B", "stop"}), "");
    EXPECT_EQ(Var('A'), -4);
    EXPECT_EQ(Run({"A = - B", "stop"}), "Unknown function -\r\non LKP line 1:1");
    EXPECT_EQ(Run({"A = x5", "stop"}), "Unknown function x5\r\non LKP line 1:1");
}

TEST_F(Interpreter, ArrayElementsAndTheirRange) {
    EXPECT_EQ(Run({"5# = 7; I = 5; J = I#; 999# = 1", "stop"}), "");
    EXPECT_EQ(Var('J'), 7);
    EXPECT_EQ(engine_->variables.numbers[999], 1);
    EXPECT_EQ(Run({"1000# = 1", "stop"}), "1000# out of range\r\non LKP line 1:1");
    EXPECT_EQ(Run({"I = -1; I# = 1", "stop"}), "-1# out of range\r\non LKP line 1:2");
}

TEST_F(Interpreter, IndicesBeyond32BitsAreOutOfRangeNotWrapped) {
    // An index is checked as the script wrote it: 2^32 is no element 0, 2^31 no negative index.
    struct Case {
        std::string statement;
        std::string error;
    };
    const Case cases[] = {
        {"4294967296# = 1", "4294967296# out of range"},
        {"4294967297# = 1", "4294967297# out of range"},
        {"2147483648# = 1", "2147483648# out of range"},
        {"I = 4294967296; I# = 1", "4294967296# out of range"},
        {"I = -4294967296; I# = 1", "-4294967296# out of range"},
        {"A = 4294967296#", "4294967296# out of range"},
        {"999.5# = 1", ""},
        {"1000.5# = 1", "1000# out of range"},
        {"4294967296$ = \"x\"", "4294967296$ out of range"},
        {"4294967301$ = \"x\"", "4294967301$ out of range"},
        {"2147483648$ = \"x\"", "2147483648$ out of range"},
        {"600$ = 4294967301$", "4294967301$ out of range"},
        {"999$ = \"x\"", ""},
        {"1000$ = \"x\"", "1000$ out of range"},
    };
    for (const Case& c : cases) {
        engine_->variables.numbers[0] = 5;
        engine_->variables.numbers[1] = 5;
        engine_->store.SetLine(5, "line 5");
        std::string error = Run({c.statement, "stop"});
        EXPECT_EQ(error, c.error.empty() ? "" : c.error + "\r\non LKP line 1:" + (c.statement[0] == 'I' ? "2" : "1"))
            << c.statement;
        EXPECT_EQ(engine_->variables.numbers[0], 5) << c.statement;
        EXPECT_EQ(engine_->variables.numbers[1], 5) << c.statement;
        EXPECT_EQ(engine_->store.GetTextLine(5), "line 5") << c.statement;
    }
}

TEST_F(Interpreter, ANumberBeyondARealIsAMathError) {
    struct Case {
        std::string statement;
        std::string error;
    };
    const Case cases[] = {
        {"sv 800 1e400", "Math error"},      {"sv 800 -1e400", "Math error"}, {"A = 1e400", "Math error"},
        {"A = 1 + 1E400", "Math error"},     {"if A < 1e400; X = 1", "Math error"},
        {"A = 1e39", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run({"sv 800 5; X = 0", c.statement, "stop"}), c.error.empty() ? "" : c.error + "\r\non LKP line 2:1")
            << c.statement;
        if (!c.error.empty()) {
            EXPECT_EQ(engine_->systemVariables.Read(800), 5) << c.statement;
        }
    }
    // Reals are clamped to the coordinate limit; an overflowing word never reaches them.
    EXPECT_EQ(Run({"sv 800 1e308", "stop"}), "");
    EXPECT_EQ(engine_->systemVariables.Read(800), 1e19);
}

TEST_F(Interpreter, StringAssignmentsWriteStoreLines) {
    EXPECT_EQ(Run({"A = 600; A$ = \"x\" 5; 601$ = \"b\"; 601$ += \"c\"; 601$ -= \"a\"; 602$ = \"1\"; 602$ /= \"2\";"
                   " 603$ = \"q\"; 603$ *= \"p\"",
                   "stop"}),
              "");
    EXPECT_EQ(engine_->store.GetTextLine(600), "x5");
    EXPECT_EQ(engine_->store.GetTextLine(601), "abc");
    EXPECT_EQ(engine_->store.GetTextLine(602), "1\r\n2");
    EXPECT_EQ(engine_->store.GetTextLine(603), "p\r\nq");
    EXPECT_EQ(Run({"600$ = 2.5 \"/\" 600$", "stop"}), "");
    EXPECT_EQ(engine_->store.GetTextLine(600), "2.5/x5");
    EXPECT_EQ(Run({"1000$ = \"x\"", "stop"}), "1000$ out of range\r\non LKP line 1:1");
    EXPECT_EQ(Run({"600$ %= \"x\"", "stop"}), "Invalid operator\r\non LKP line 1:1");
    // A result is cut to 127 characters in the store.
    EXPECT_EQ(Run({"600$ = \"" + std::string(100, 'a') + "\"", "600$ += 600$", "stop"}), "");
    EXPECT_EQ(engine_->store.GetTextLine(600).size(), 127u);
}

TEST_F(Interpreter, CommandsCommentsAndLabels) {
    EXPECT_EQ(Run({"frobnicate 1 2", "stop"}), "Unknown command frobnicate\r\non LKP line 1:1");
    // "compile" is accepted with or without words and changes nothing.
    EXPECT_EQ(Run({"A = 1; compile; compile x 2; A = 2", "compile", "stop"}), "");
    EXPECT_EQ(Var('A'), 2);
    EXPECT_EQ(engine_->store.GetTextLine(2), "compile");
    EXPECT_EQ(Run({"A = 1", "/ A = 2; A = 3", "@here; B = 4", "stop"}), "");
    EXPECT_EQ(Var('A'), 1);
    EXPECT_EQ(Var('B'), 4);
    EXPECT_EQ(Run({"A = 5; / A = 6; A = 7", "stop"}), "");
    EXPECT_EQ(Var('A'), 5);
}

TEST_F(Interpreter, AnUnclosedQuoteIsClosedAtTheEndOfItsStatement) {
    struct Case {
        std::string statement;
        std::string error;
    };
    const Case cases[] = {
        {"\"abc", "Unknown command \"abc\""},
        {"\"a b", "Unknown command \"a b\""},
        {"\"a; A = 1", "Unknown command \"a; A = 1\""},  // no separator inside the quote
        {"A = \"x", "Unknown function \"x\""},
        {"A = \"x y", "Unknown function \"x y\""},
        {"A = \"x\"", "Unknown function \"x\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Run({c.statement, "stop"}), c.error + "\r\non LKP line 1:1") << c.statement;
    // The added quote closes the text, it is not part of it.
    EXPECT_EQ(Run({"600$ = \"ab", "601$ = \"a\" \"b", "602$ = \"", "stop"}), "");
    EXPECT_EQ(engine_->store.GetTextLine(600), "ab");
    EXPECT_EQ(engine_->store.GetTextLine(601), "ab");
    EXPECT_EQ(engine_->store.GetTextLine(602), "");
}

TEST_F(Interpreter, RunningIntoTheLastLineIsAnError) {
    // The store keeps what earlier programs left: clear the tail this test runs through.
    for (int32_t line = 1; line <= ProgramStore::kLastLine; ++line) engine_->store.SetLine(line, "");
    EXPECT_EQ(Run({"A = 1"}), "End of LKP area\r\non LKP line 999:1");
}

TEST_F(Interpreter, ConditionsGovernTheRestOfTheirLine) {
    EXPECT_EQ(Run({"A = 1; X = 0; if A == 1; X = 1; else; X = 2", "stop"}), "");
    EXPECT_EQ(Var('X'), 1);
    EXPECT_EQ(Run({"A = 0; X = 0; if A == 1; X = 1; else; X = 2", "stop"}), "");
    EXPECT_EQ(Var('X'), 2);
    EXPECT_EQ(Run({"A = 0; X = 0; if A == 1; X = 1", "X = X + 5; stop"}), "");
    EXPECT_EQ(Var('X'), 5);
    EXPECT_EQ(Run({"else", "stop"}), "else without if\r\non LKP line 1:1");
    EXPECT_EQ(Run({"if A = 1", "stop"}), "Invalid condition\r\non LKP line 1:1");
    EXPECT_EQ(Run({"if A ==", "stop"}), "Invalid condition\r\non LKP line 1:1");
    // "else" with words runs them; nested ifs take the inner else.
    EXPECT_EQ(Run({"A = 0; if A == 1; X = 1; else X = 9", "stop"}), "");
    EXPECT_EQ(Var('X'), 9);
    EXPECT_EQ(Run({"A = 0; X = 0; if A == 1; if B == 0; X = 1; else; X = 2; else; X = 3", "stop"}), "");
    EXPECT_EQ(Var('X'), 3);
}

TEST_F(Interpreter, AndOrInIq) {
    struct Case {
        std::string condition;
        bool expected;
    };
    const Case cases[] = {
        {"A in 1 3 5", true},         {"A in 1 2", false},           {"A == 3 and B == 2", true},
        {"A == 3 and B == 1", false}, {"A == 1 or B == 2", true},    {"A == 1 or B == 1", false},
        {"A <= 3", true},             {"A >= 4", false},             {"A != 3", false},
        {"A < 4", true},              {"A > 2", true},               {"7$ iq \"a,b,c\"", true},
        {"7$ iq \"a,bc\"", false},    {"\"b\" == 7$", true},         {"\"a\" < \"ab\"", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run({"A = 3; B = 2; X = 0; if " + c.condition + "; X = 1", "stop", "", "", "", "", "b"}), "")
            << c.condition;
        EXPECT_EQ(Var('X'), c.expected ? 1 : 0) << c.condition;
    }
}

TEST_F(Interpreter, EveryComparisonOfEqualAndUnequalValues) {
    // Numbers and texts (a quoted word or a line makes the comparison one of bytes): each operator
    // on equal operands and on both orders of unequal ones.
    struct Case {
        std::string left, right;
        bool equal, less;  // how left stands to right
    };
    const Case operands[] = {
        {"2", "2", true, false},           {"2", "3", false, true},          {"3", "2", false, false},
        {"-0.5", "-0.5", true, false},     {"B", "2", true, false},          {"A", "B", false, false},
        {"\"b\"", "\"b\"", true, false}, {"\"a\"", "\"b\"", false, true}, {"\"b\"", "\"a\"", false, false},
        {"7$", "\"b\"", true, false},      {"\"b\"", "\"bc\"", false, true}, {"\"bc\"", "\"b\"", false, false},
        {"\"10\"", "\"9\"", false, true},
    };
    struct Operator {
        std::string op;
        bool whenLess, whenEqual, whenGreater;
    };
    const Operator operators[] = {
        {"==", false, true, false}, {"!=", true, false, true}, {"<", true, false, false},
        {">", false, false, true},  {"<=", true, true, false}, {">=", false, true, true},
        {"in", false, true, false},
    };
    for (const Case& c : operands) {
        for (const Operator& o : operators) {
            std::string condition = c.left + " " + o.op + " " + c.right;
            bool expected = c.equal ? o.whenEqual : c.less ? o.whenLess : o.whenGreater;
            EXPECT_EQ(Run({"A = 3; B = 2; X = 0; if " + condition + "; X = 1", "stop", "", "", "", "", "b"}), "")
                << condition;
            EXPECT_EQ(Var('X'), expected ? 1 : 0) << condition;
        }
    }
}

TEST_F(Interpreter, JumpsAndLabels) {
    EXPECT_EQ(Run({"I = 0; J = 0", "I += 1; if I < 5; jmpr 0", "J += 1", "if J < 3; jmpr -1", "stop"}), "");
    EXPECT_EQ(Var('I'), 5);
    EXPECT_EQ(Var('J'), 3);
    EXPECT_EQ(Run({"jmp 1000"}), "Jump out of LKP area\r\non LKP line 1:1");
    EXPECT_EQ(Run({"jmp @x", "@xy; A = 1; stop", "@x; A = 2; stop"}), "");
    EXPECT_EQ(Var('A'), 2);
    EXPECT_EQ(Run({"jmp @nowhere"}), "Jump to undeclared label @nowhere\r\non LKP line 1:1");
    EXPECT_EQ(Run({"A = 0", "@a", "A += 1; if A < 3; jmp -@a", "jmp +@b", "A = 100", "@b", "stop"}), "");
    EXPECT_EQ(Var('A'), 3);
    EXPECT_EQ(Run({"X = 2; on X 1 +@one 2 +@two; stop", "@one; A = 1; stop", "@two; A = 2; stop"}), "");
    EXPECT_EQ(Var('A'), 2);
    // No value matches: the rest of the line is skipped and the next line runs.
    EXPECT_EQ(Run({"X = 5; A = 0; on X 1 +@two; A = 7; stop", "A = 1; stop", "@two; A = 2; stop"}), "");
    EXPECT_EQ(Var('A'), 1);
}

TEST_F(Interpreter, CallsSaveTheLowerCaseVariablesJsrDoesNot) {
    EXPECT_EQ(Run({"a = 1; A = 1; call @sub", "b = a; jsr @sub", "stop", "@sub; a = 5; A = 5; ret"}), "");
    EXPECT_EQ(Var('b'), 1);  // call restored a
    EXPECT_EQ(Var('a'), 5);  // jsr kept the change
    EXPECT_EQ(Var('A'), 5);
    EXPECT_EQ(Run({"ret"}), "ret without call/jsr\r\non LKP line 1:1");
    EXPECT_EQ(Run({"N = 0", "@deep; N += 1; jsr @deep"}), "Too many nested call/jsr\r\non LKP line 2:3");
    EXPECT_EQ(Var('N'), 17);
}

TEST_F(Interpreter, CallWithAFileRestoresTheLinesItOverwrote) {
    WriteLines("LIB.LKP", {"@lib; L = 42; ret"});
    engine_->store.SetLine(499, "kept");
    engine_->store.SetLine(500, "old 500");
    engine_->store.SetLine(998, "old 998");
    EXPECT_EQ(Run({"call @lib 500 LIB.LKP", "M = L; 499$ = \"changed\"; stop"}), "");
    EXPECT_EQ(Var('M'), 42);
    EXPECT_EQ(engine_->store.GetTextLine(500), "old 500");
    EXPECT_EQ(engine_->store.GetTextLine(998), "old 998");
    EXPECT_EQ(engine_->store.GetTextLine(499), "changed");
    EXPECT_NE(engine_->store.programName.find("T.LKP"), std::string::npos);
    EXPECT_EQ(Run({"call @lib 500 MISSING.LKP"}), "Can't load MISSING.LKP\r\non LKP line 1:1");
}

TEST_F(Interpreter, ALineLimitStopsARunawayLoop) {
    engine_->SetLineLimit(100);
    EXPECT_EQ(Run({"sv 42 0; A = 0", "A += 1; jmpr 0"}), "");
    EXPECT_EQ(Var('A'), 99);  // line 1, then 99 rounds of line 2
    engine_->SetLineLimit(0);
}

TEST_F(Interpreter, RunLoadsAndStartsAfreshWithoutPendingCalls) {
    WriteLines("GO.LKP", {"@go; G = 5; stop"});
    EXPECT_EQ(Run({"G = 0; run @go 600 GO.LKP", "G = 1; stop"}), "");
    EXPECT_EQ(Var('G'), 5);
    EXPECT_NE(engine_->store.programName.find("GO.LKP"), std::string::npos);
    // The calls pending before "run" are gone: a ret after it has nothing to return to.
    WriteLines("BACK.LKP", {"@back; ret"});
    EXPECT_EQ(Run({"jsr @x", "stop", "@x; run @back 700 BACK.LKP"}), "ret without call/jsr\r\non LKP line 700:2");
    EXPECT_EQ(Run({"run @go 600 NONE.LKP"}), "Can't load NONE.LKP\r\non LKP line 1:1");
}

TEST_F(Interpreter, AddedCommandsAndFunctionsComeAfterTheEnginesOwn) {
    using End = ScriptEngine::CommandResult;
    engine_->AddCommand("twice", [](ScriptEngine& engine) {
        engine.variables.Letter('T') = engine.Words()[1].value * 2;
        return End::Next;
    });
    engine_->AddCommand("fail", [](ScriptEngine& engine) {
        engine.Fail("Failed on purpose");
        return End::StopRun;
    });
    engine_->AddNumericFunction("dbl", [](ScriptEngine& engine) { return std::optional(engine.Words()[3].value * 2); });
    engine_->AddStringFunction("chr", [](ScriptEngine& engine) {
        std::string text;
        for (int k = 3; k <= engine.Words().LastIndex(); ++k) text += static_cast<char>(engine.Words()[k].number);
        return std::optional(text);
    });
    EXPECT_EQ(Run({"twice 21; D = -dbl 4; 600$ = chr 72 105; 600$ += chr 33", "stop"}), "");
    EXPECT_EQ(Var('T'), 42);
    EXPECT_EQ(Var('D'), -8);
    EXPECT_EQ(engine_->store.GetTextLine(600), "Hi!");
    EXPECT_EQ(Run({"fail; A = 99", "stop"}), "Failed on purpose\r\non LKP line 1:1");
    EXPECT_NE(Var('A'), 99);
    // An added name does not shadow the engine's own commands.
    engine_->AddCommand("if", [](ScriptEngine&) { return End::StopRun; });
    EXPECT_EQ(Run({"X = 0; if 1 == 1; X = 1", "stop"}), "");
    EXPECT_EQ(Var('X'), 1);
}

TEST_F(Interpreter, EscBetweenLinesStopsTheRun) {
    host_.stopAtPump = 1;
    EXPECT_EQ(Run({"A = 77", "stop"}), "");
    EXPECT_NE(Var('A'), 77);
    EXPECT_TRUE(host_.menusEnabled);
}

TEST_F(Interpreter, MenusAreOffDuringARunUnlessTheFirstLineSaysSo) {
    struct MenuHost : RecordingHost {
        std::vector<bool> calls;
        void SetMenusEnabled(bool on) override { calls.push_back(on); }
    } host;
    ScriptEngine engine(host, effects_, winplat::files::toWindows(folder_) + "\\");
    engine.store.SetLine(1, "stop");
    engine.RunProgram();
    EXPECT_EQ(host.calls, (std::vector<bool>{false, true}));
    host.calls.clear();
    engine.store.SetLine(1, "!stop");
    engine.RunProgram();
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(Interpreter, TheAfterRunHookRunsOnceAfterEachRun) {
    WriteLines("UCSWAIT.LKP", {"W = W + 1; stop"});
    EXPECT_EQ(Run({"A = 1; stop"}), "");
    EXPECT_EQ(Var('W'), 1);
    EXPECT_EQ(Run({"A = 1; stop null"}), "");
    EXPECT_EQ(Var('W'), 1);
}

TEST_F(Interpreter, SystemVariablesThroughSvAndTheFunction) {
    EXPECT_EQ(Run({"sv 100 5 800 2.5 70 9; A = sv 100; B = -sv 800; C = sv 100 D 800; E = sv 70", "stop"}), "");
    EXPECT_EQ(Var('A'), 5);
    EXPECT_EQ(Var('B'), -2.5);
    EXPECT_EQ(Var('D'), 2.5);
    EXPECT_EQ(Var('E'), 0);  // integer 1 is read-only
}

TEST_F(Interpreter, StepModeWaitsBeforeEachStatementAndShowsAssignments) {
    struct StepHost : RecordingHost {
        std::vector<std::pair<int32_t, int32_t>> steps;
        std::vector<std::string> prompts;
        size_t stopAfter = 100;
        bool WaitForStep(int32_t line, int32_t statement) override {
            steps.emplace_back(line, statement);
            return steps.size() < stopAfter;
        }
        void ShowPrompt(std::string_view text) override { prompts.emplace_back(text); }
    } host;
    ScriptEngine engine(host, effects_, "C:\\");
    engine.store.SetLine(1, "sv 43 1\x7f" "A = 5");
    engine.store.SetLine(2, "B = 2.5\x7f" "stop");
    engine.RunProgram();
    EXPECT_EQ(host.steps, (std::vector<std::pair<int32_t, int32_t>>{{1, 2}, {2, 1}, {2, 2}}));
    EXPECT_EQ(host.prompts, (std::vector<std::string>{"A = 5", "B = 2.5"}));
    EXPECT_EQ(engine.image.Byte(sysvar::kStepMode), 0);  // off after the run
    // Esc at a step stops the run before the statement.
    host.steps.clear();
    host.stopAfter = 2;
    engine.variables.Letter('B') = 0;
    engine.RunProgram();
    EXPECT_EQ(engine.variables.Letter('B'), 0);
}

}  // namespace
}  // namespace linework::test
