// String functions that name things of the program and its host: the drawing, temporary files,
// the program, the computer and user, dates, command-line parameters, directories, block
// definitions, the file dialogs, and the lines and bytes of the script's files.
#include "drawing/drawing.h"
#include "drawing/file_names.h"
#include "script/binary_values.h"
#include "script/day_numbers.h"
#include "script/io_result.h"
#include "script/script_functions.h"
#include "winplat/base.h"
#include "winplat/files.h"

namespace linework {

namespace {

using Result = std::optional<std::string>;

constexpr size_t kMaxReadLine = 255;

Result Name(FunctionContext& c) {
    std::string_view sub = c.RawText(3);
    if (c.Last() < 3) return c.engine.runtime.drawingName;
    if (sub == "file") return SearchDirectory(c);
    if (sub == "tmp") return CreateTempFile(c.Join(4));
    if (sub == "lkp") return c.engine.store.programName;
    if (sub == "pc") return c.services.ComputerName();
    if (sub == "user") return c.services.UserName();
    return std::string();
}

Result Day(FunctionContext& c) { return FormatDayNumber(c.Last() >= 3 ? c.Val(3) : c.services.Now()); }

Result Param(FunctionContext& c) {
    std::vector<std::string> line = c.services.CommandLine();
    if (c.Num(3) < 0 || static_cast<size_t>(c.Num(3)) >= line.size()) return std::string();
    return line[static_cast<size_t>(c.Num(3))];
}

Result Foname(FunctionContext& c) {
    return c.services.OpenFileName(c.Str(3), c.Str(4), c.Last() >= 5 ? c.Str(5) : std::string());
}
Result Fsname(FunctionContext& c) {
    return c.services.SaveFileName(c.Str(3), c.Str(4), c.Last() >= 5 ? c.Str(5) : std::string());
}

// Drive 0 is the current one; a drive other than the current directory's gives its root, since
// the host keeps one current directory, not one per drive.
Result Cd(FunctionContext& c) {
    int32_t drive = c.Num(3);
    if (drive < 0 || drive >= 27) return std::string();
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    std::string current(buffer, length < sizeof buffer ? length : 0);
    if (drive == 0) return current;
    char letter = static_cast<char>('A' + drive - 1);
    if (current.size() >= 2 && current[1] == ':' && (current[0] & ~0x20) == letter) return current;
    return std::string{letter, ':', '\\'};
}

// The val3-th definition of the block list, counted from 1.
Result Bname(FunctionContext& c) {
    double wanted = c.Val(3);
    double at = 0;
    std::string name;
    ForEachBlock(c.engine.drawing, [&](BlockHandle block) {
        if (++at == wanted) name = c.engine.drawing.Block(block).name;
    });
    return name;
}

// One line of an open file, up to its line feed; the carriage return before it goes. False at
// the end of the file, or with the I/O result noted when reading fails.
bool ReadLine(ScriptRuntime& runtime, HANDLE file, std::string& line) {
    line.clear();
    bool any = false;
    char c = 0;
    DWORD got = 0;
    while (true) {
        if (!ReadFile(file, &c, 1, &got, nullptr)) {
            runtime.NoteIoResult(IoResultOfSystemError(GetLastError()));
            return false;
        }
        if (got == 0) return any;
        any = true;
        if (c == '\n') break;
        if (line.size() < kMaxReadLine + 1) line += c;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxReadLine) line.resize(kMaxReadLine);
    return true;
}

// "read bin W [count]": count values (1 when not given) of width W from the binary file, as
// their bytes; a short read gives the bytes there were and status 100.
Result ReadBinaryFile(FunctionContext& c) {
    ScriptRuntime& runtime = c.engine.runtime;
    auto width = ParseBinaryWidth(c.RawText(4));
    if (!width) return c.Fail("Invalid binary width");
    int32_t count = c.Last() >= 5 ? c.Num(5) : 1;
    std::string bytes;
    if (!runtime.BinarySlot().open) {
        runtime.NoteIoResult(kIoNotOpen);
    } else if (count > 0) {
        size_t wanted = std::min<size_t>(BinaryWidthBytes(*width) * static_cast<size_t>(count), kMaxReadLine);
        bytes.resize(wanted);
        DWORD got = 0;
        if (!ReadFile(runtime.BinarySlot().file.get(), bytes.data(), static_cast<DWORD>(wanted), &got, nullptr))
            runtime.NoteIoResult(IoResultOfSystemError(GetLastError()));
        else if (got < wanted)
            runtime.NoteIoResult(kIoReadPastEnd);
        bytes.resize(got);
    }
    runtime.CheckIOResult();
    return bytes;
}

// "read slot skip": skip + 1 lines of text file 1, 2 or 3 (any other slot is 3), the last one
// read; at the end of the file the last line there was.
Result Read(FunctionContext& c) {
    if (c.RawText(3) == "bin") return ReadBinaryFile(c);
    ScriptRuntime& runtime = c.engine.runtime;
    int index = c.Num(3) == 1 ? 0 : c.Num(3) == 2 ? 1 : 2;
    ScriptFileSlot& slot = runtime.TextSlot(index);
    std::string result;
    if (!slot.open) {
        runtime.NoteIoResult(kIoNotOpen);
    } else {
        std::string line;
        for (int64_t k = 0; k <= std::max(c.Num(4), 0) && ReadLine(runtime, slot.file.get(), line); ++k)
            result = line;
    }
    runtime.CheckIOResult();
    return result;
}

constexpr StringFunctionEntry kNames[] = {
    {"bname", Bname}, {"read", Read}, {"day", Day},       {"name", Name}, {"param", Param},
    {"foname", Foname}, {"fsname", Fsname}, {"cd", Cd},
};

}  // namespace

std::span<const StringFunctionEntry> NameFunctions() { return kNames; }

}  // namespace linework
