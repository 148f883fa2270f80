// lkbatch: runs the drafting program's script engine without windows, for tests and script
// authors.
//
//   lkbatch --dir FOLDER [--script NAME] [--line "LINE"]... [--max-lines N] [--dump-sysvars]
//           [--dump-store] [--dump-entities] [--dump-layer-names] [--load DRAWING]
//
// FOLDER is the program folder (a host path) that file names are completed against. --script
// loads a program file there from line 1 and runs it; each --line is run as a typed command line
// is: cleaned, put into store line 1 and run. A store line holds 127 characters: a line longer
// than that once cleaned is refused before anything runs. Messages the run shows are printed as
// "error: ..." and "info: ..." (line breaks as " | "). --max-lines stops each run after N lines,
// as Esc would, for scripts that may not end. --dump-sysvars prints every system
// variable that is not 0 as "sv NUMBER = VALUE"; --dump-store every non-empty store line as
// "NUMBER: TEXT" ("NUMBER: (hidden)" for a line of a compiled file; the statement separator as
// "; ", a line break as " | ", other control characters as \xNN); --dump-entities the
// drawing, one line per entity (see drawing/entity_dump.h). Exits with 1 when a run
// reported an error, 2 on a usage mistake (a refused line among them). --load reads a drawing
// file (completed against FOLDER, ".LKD" by default) with its settings before any line runs;
// missing files it names are not asked for, and a load that fails prints "error: load status N".
// --dump-layer-names lists the names of the loaded drawing's side file (".LKL") as "layer N: NAME",
// named layers only.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/entity_dump.h"
#include "drawing/layer_names.h"
#include "files/drawing_file_reader.h"
#include "drawing/text_helpers.h"
#include "script/script_engine.h"
#include "script/script_commands.h"
#include "script/script_functions.h"
#include "winplat/paths.h"
#include "winplat/user.h"

namespace {

std::string Printable(std::string_view text) {
    return linework::ReplaceAllText(text, "\r\n", " | ");
}

struct BatchHost : linework::ScriptHost {
    bool failed = false;
    void ShowError(std::string_view text) override {
        failed = true;
        std::printf("error: %s\n", Printable(text).c_str());
    }
    void ShowInfo(std::string_view text) override { std::printf("info: %s\n", Printable(text).c_str()); }
    void SetCommandText(std::string_view text) override { std::printf("command: %s\n", Printable(text).c_str()); }
    bool PumpMessages() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return false;
    }
};

struct Options {
    std::string dir;
    std::string script;
    std::vector<std::string> lines;
    uint64_t maxLines = 0;
    bool dumpSysvars = false;
    bool dumpStore = false;
    bool dumpEntities = false;
    bool dumpLayerNames = false;
    std::string load;
};

bool Parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--dir" && hasValue) {
            options.dir = argv[++i];
        } else if (arg == "--script" && hasValue) {
            options.script = argv[++i];
        } else if (arg == "--line" && hasValue) {
            options.lines.emplace_back(argv[++i]);
        } else if (arg == "--max-lines" && hasValue) {
            options.maxLines = std::strtoull(argv[++i], nullptr, 10);
        } else if (arg == "--dump-sysvars") {
            options.dumpSysvars = true;
        } else if (arg == "--dump-store") {
            options.dumpStore = true;
        } else if (arg == "--load" && hasValue) {
            options.load = argv[++i];
        } else if (arg == "--dump-entities") {
            options.dumpEntities = true;
        } else if (arg == "--dump-layer-names") {
            options.dumpLayerNames = true;
        } else {
            return false;
        }
    }
    return !options.dir.empty();
}

void DumpLayerNames(const std::string& drawingFile) {
    for (int layer = 0; layer < 256; ++layer) {
        std::string name = linework::ReadLayerName(drawingFile, static_cast<uint8_t>(layer));
        if (!name.empty()) std::printf("layer %d: %s\n", layer, name.c_str());
    }
}

void DumpSysvars(linework::ScriptEngine& engine) {
    for (int32_t n = 0; n <= linework::SystemVariableImage::kLastNumber; ++n) {
        double value = engine.systemVariables.Read(n);
        if (value != 0) std::printf("sv %d = %s\n", n, linework::FormatMeasurement(-1, value).c_str());
    }
}

// A stored line as one line of output, whatever bytes it holds (a zero byte does not end it).
std::string DumpedLine(std::string_view text) {
    std::string shown;
    for (char c : Printable(linework::ReplaceAllText(text, "\x7f", "; "))) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20) {
            shown += c;
            continue;
        }
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02x", byte);
        shown += escape;
    }
    return shown;
}

void DumpStore(const linework::ProgramStore& store) {
    for (int32_t n = 0; n < linework::ProgramStore::kSlots; ++n) {
        bool hidden = false;
        std::string_view text = store.RawLine(n, &hidden);
        if (hidden) {
            std::printf("%d: (hidden)\n", n);
        } else if (!text.empty()) {
            std::string line = std::to_string(n) + ": " + DumpedLine(text) + "\n";
            std::fwrite(line.data(), 1, line.size(), stdout);
        }
    }
}

// The typed lines as the store will hold them; nothing when one is longer than a store line, which
// would cut it (and run the cut tail as a statement of its own).
std::optional<std::vector<std::string>> CleanedLines(const std::vector<std::string>& lines) {
    std::vector<std::string> cleaned;
    for (const std::string& line : lines) {
        cleaned.push_back(linework::NormalizeProgramLine(line));
        if (cleaned.back().size() > linework::ProgramStore::kMaxLine) {
            std::fprintf(stderr, "lkbatch: line %zu is longer than %zu characters once cleaned (%zu)\n",
                         cleaned.size(), linework::ProgramStore::kMaxLine, cleaned.back().size());
            return std::nullopt;
        }
    }
    return cleaned;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: lkbatch --dir FOLDER [--script NAME] [--line \"LINE\"]... [--max-lines N] "
                     "[--dump-sysvars] [--dump-store] [--dump-entities] [--dump-layer-names] [--load DRAWING]\n");
        return 2;
    }
    auto lines = CleanedLines(options.lines);
    if (!lines) return 2;
    std::error_code error;
    std::string folder = std::filesystem::absolute(options.dir, error).string();
    std::string windowsFolder = winplat::files::toWindows(folder);
    if (windowsFolder.empty()) {
        std::fprintf(stderr, "lkbatch: no drive holds %s\n", folder.c_str());
        return 2;
    }
    if (windowsFolder.back() != '\\') windowsFolder += '\\';
    BatchHost host;
    linework::SystemVariableEffects effects;
    linework::ScriptEngine engine(host, effects, windowsFolder);
    linework::ScriptServices services;  // no windows: dialogs, menus and key waits answer empty
    linework::ScriptFunctions functions(engine, services);
    linework::ScriptCommands commands(engine);
    engine.SetLineLimit(options.maxLines);
    linework::DrawingTables tables;
    linework::UndoRecorder& undo = engine.undo;
    std::string loadedDrawing;
    if (!options.load.empty()) {
        linework::DrawingFileContext context{.drawing = engine.drawing, .variables = engine.image, .tables = tables,
                                             .undo = undo, .programFolder = windowsFolder};
        engine.image.SetByte(8, 1);
        linework::LoadRequest request;
        request.fileName = options.load;
        if (int32_t status = linework::LoadDrawing(context, request); status != 0) {
            std::printf("error: load status %d\n", status);
            host.failed = true;
        } else {
            loadedDrawing = context.currentDrawing;
        }
    }
    if (!options.script.empty()) {
        if (engine.LoadTextTable(linework::LoadMode::Whole, 1, options.script)) {
            engine.RunProgram();
        } else {
            std::printf("error: cannot load %s (status %d)\n", options.script.c_str(), engine.runtime.StatusWord());
            host.failed = true;
        }
    }
    for (const std::string& line : *lines) {
        engine.store.SetLine(1, line);
        engine.RunProgram();
    }
    if (options.dumpStore) DumpStore(engine.store);
    if (options.dumpSysvars) DumpSysvars(engine);
    if (options.dumpEntities) std::fputs(linework::DumpDrawing(engine.drawing).c_str(), stdout);
    if (options.dumpLayerNames && !loadedDrawing.empty()) DumpLayerNames(loadedDrawing);
    return host.failed ? 1 : 0;
}
