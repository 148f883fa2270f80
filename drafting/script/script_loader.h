// Fills the program store from a file: a plain text file (lines cleaned, cut to 127 characters)
// or a compiled one (first byte 0x1A: scrambled, check-counted, its lines hidden).
//
// Script files are opened for reading only; their attributes are never touched.
#ifndef LINEWORK_SCRIPT_SCRIPT_LOADER_H
#define LINEWORK_SCRIPT_SCRIPT_LOADER_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "script/program_store.h"
#include "script/runtime_services.h"

namespace linework {

inline constexpr uint8_t kCompiledMark = 0x1A;
inline constexpr char kCorruptProgramText[] = "LKP file is corrupt";

// Where a load takes its names from and what it tells.
struct LoaderContext {
    ProgramStore& store;
    ScriptRuntime& runtime;
    std::string programFolder;                            // ends in "\"
    std::function<void(std::string_view)> showInfo;       // the information message box
    std::function<void(std::string_view)> rememberCommand;  // a menu line, repeated by an empty Enter
};

enum class LoadMode { OneLine = 0, Whole = 1 };

// Whole: the file's lines into slots line, line+1, ... (up to 999; slots below 1 are skipped).
// OneLine: line 'line' of the file (from 1) into slot 1; true when it is there, not empty and not
// a "/" comment line. On success the completed name becomes the program name.
bool LoadTextTable(LoaderContext& context, LoadMode mode, int32_t line, std::string_view name);

}  // namespace linework

#endif
