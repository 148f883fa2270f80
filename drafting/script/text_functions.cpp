// The string functions that work on the words' texts alone: characters, binary data, cutting,
// replacing, length-prefixed texts, file-name parts and the program's version. Positions count
// from 1; a position or count outside the text takes what lies inside it.
#include <algorithm>

#include "drawing/file_names.h"
#include "drawing/text_helpers.h"
#include "script/binary_values.h"
#include "script/script_functions.h"
#include "script/system_variables.h"

namespace linework {

namespace {

using Result = std::optional<std::string>;

// The version text: the program, the format of its files and the years of its making.
constexpr std::string_view kVersionText = "Linework 1.0 build 54 (LKD 4), 1996-2025";

// A 1-based position as an index into the text; positions below 1 are the start.
size_t StartIndex(int32_t position) { return position < 1 ? 0 : static_cast<size_t>(position) - 1; }

Result Chr(FunctionContext& c) {
    std::string text;
    for (int k = 3; k <= c.Last(); ++k) text += static_cast<char>(c.Num(k));
    return text;
}

Result Bin(FunctionContext& c) {
    if (c.RawText(3) == "hex") return BytesOfHex(c.Join(4));
    auto width = ParseBinaryWidth(c.RawText(3));
    if (!width) return c.Fail("Invalid binary width");
    std::string bytes;
    for (int k = 4; k <= c.Last(); ++k) AppendBinary(bytes, *width, c.Val(k));
    return bytes;
}

Result Hex(FunctionContext& c) {
    if (c.RawText(3) == "bin") return HexOfBytes(c.Join(4));
    auto bits = static_cast<uint32_t>(c.Num(3));
    std::string text = HexOfBytes(std::string{static_cast<char>(bits >> 24), static_cast<char>(bits >> 16),
                                              static_cast<char>(bits >> 8), static_cast<char>(bits)});
    return text;
}

// Copy(text, start, count) of the runtime the scripts were written for: a start below 1 is 1.
Result Scopy(FunctionContext& c) {
    std::string text = c.Join(5);
    size_t start = StartIndex(c.Num(3));
    if (c.Num(4) <= 0 || start >= text.size()) return std::string();
    return text.substr(start, static_cast<size_t>(c.Num(4)));
}

// Delete(text, start, count): nothing for a start outside 1..length.
Result Sdelete(FunctionContext& c) {
    std::string text = c.Join(5);
    if (c.Num(3) < 1 || c.Num(4) <= 0 || static_cast<size_t>(c.Num(3)) > text.size()) return text;
    return text.erase(static_cast<size_t>(c.Num(3)) - 1, static_cast<size_t>(c.Num(4)));
}

// Insert(piece, text, position): a position below 1 inserts in front, one past the end appends.
std::string InsertAt(std::string text, std::string_view piece, int32_t position) {
    size_t at = std::min(StartIndex(position), text.size());
    return text.insert(at, piece);
}

Result Schange(FunctionContext& c) {
    std::string piece = c.Str(4);
    std::string text = c.Join(5);
    if (c.Num(3) >= 1 && static_cast<size_t>(c.Num(3)) <= text.size())
        text.erase(static_cast<size_t>(c.Num(3)) - 1, piece.size());
    return InsertAt(std::move(text), piece, c.Num(3));
}

Result Sinsert(FunctionContext& c) { return InsertAt(c.Join(5), c.Str(4), c.Num(3)); }

// Each pair works on the text as the one before left it, cut to the length of a text value: a
// few pairs that each multiply the text would otherwise grow it past any memory.
Result Sfr(FunctionContext& c) {
    std::string text = c.Str(3);
    for (int k = 4; k + 1 <= c.Last(); k += 2) {
        text = ReplaceAllText(text, c.Str(k), c.Str(k + 1));
        if (text.size() > kMaxScriptText) text.resize(kMaxScriptText);
    }
    return text;
}

Result Conv(FunctionContext& c) {
    std::string text = c.Join(4);
    if (c.RawText(3) == "c") return text.substr(0, text.find('\0'));
    if (c.RawText(3) == "p") {
        if (text.empty()) return text;
        size_t length = std::min<size_t>(static_cast<unsigned char>(text[0]), text.size() - 1);
        return text.substr(1, length);
    }
    return std::string();
}

Result Norm(FunctionContext& c) {
    std::string_view mode = c.RawText(3);
    if (mode == "ext") return GetFileNamePart(false, c.FileName(4));
    if (mode == "path") return GetFileNamePart(true, c.FileName(4));
    if (mode == "name") return CompleteFileName(c.Str(4), c.FileName(5), c.engine.ProgramFolder());
    if (mode == "lkp") return NormalizeProgramLine(c.Join(4));
    if (mode == "dt") return PadDateTimeText(c.Join(4));
    std::string text(TrimBlanks(c.Join(3)));
    if (c.engine.image.Byte(sysvar::kNormUpperCase)) text = UpperCaseShortString(text);
    return text;
}

Result Ver(FunctionContext&) { return std::string(kVersionText); }

constexpr StringFunctionEntry kText[] = {
    {"chr", Chr},     {"bin", Bin},         {"hex", Hex},   {"scopy", Scopy}, {"sdelete", Sdelete},
    {"schange", Schange}, {"sinsert", Sinsert}, {"sfr", Sfr}, {"conv", Conv},   {"norm", Norm},
    {"ver", Ver},
};

// --- numbers of texts

using Number = std::optional<double>;

Number Len(FunctionContext& c) { return static_cast<double>(c.Join(3).size()); }

Number Asc(FunctionContext& c) {
    std::string text = c.Join(4);
    if (c.Num(3) < 1 || static_cast<size_t>(c.Num(3)) > text.size()) return 0.0;
    return static_cast<double>(static_cast<unsigned char>(text[static_cast<size_t>(c.Num(3)) - 1]));
}

Number BinNumber(FunctionContext& c) {
    auto width = ParseBinaryWidth(c.RawText(3));
    if (!width) return c.Fail("Invalid binary width");
    return ReadBinary(c.Join(4), *width);
}

// Pos(piece, text): 0 for an empty piece.
Number Pos(FunctionContext& c) {
    std::string piece = c.Str(3);
    std::string text = c.Join(4);
    size_t at = piece.empty() ? std::string::npos : text.find(piece);
    return at == std::string::npos ? 0.0 : static_cast<double>(at + 1);
}

// A quoted word or a text reference: the joined text by the typed-number grammar, 0 when none.
Number TextAsNumber(FunctionContext& c) {
    std::string text = c.Join(2);
    if (c.engine.Failed()) return std::nullopt;
    return EvaluateNumberInput(text, c.engine.numberInput.grammar).value_or(0.0);
}

constexpr NumericFunctionEntry kTextNumbers[] = {
    {ScriptEngine::kTextAsNumber, TextAsNumber},
    {"len", Len},
    {"asc", Asc},
    {"bin", BinNumber},
    {"pos", Pos},
};

}  // namespace

std::span<const StringFunctionEntry> TextFunctions() { return kText; }
std::span<const NumericFunctionEntry> TextNumberFunctions() { return kTextNumbers; }

}  // namespace linework
