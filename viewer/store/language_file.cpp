#include "store/language_file.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "store/language_string_tables.h"
#include "store/language_text_list.h"
#include "store/mem_reader.h"
#include "store/vazazi_file.h"
#include "winplat/module.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: language file");
constexpr DWORD kPathRoom = 300;
constexpr const char* kLanguageSubFolder = "lng\\";

MainMenuRestorer mainMenuRestorer = nullptr;

}  // namespace

std::string LanguageFileName(uint16_t languageId) {
    std::array<char, 16> name{};
    std::snprintf(name.data(), name.size(), "%04x.clf", static_cast<unsigned>(languageId));
    return name.data();
}

std::string ProgramFolder() {
    std::array<char, kPathRoom> path{};
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), kPathRoom);
    std::string folder(path.data(), std::min<DWORD>(length, kPathRoom - 1));
    const size_t slash = folder.rfind('\\');
    folder.resize(slash == std::string::npos ? 0 : slash + 1);
    return folder;
}

int LoadLanguageTexts(VazaziFile& file, int16_t record) {
    LanguageTables().Clear();
    LanguageTexts().Clear();
    MemReader reader;
    if (!file.ReadRecord(2, record, reader)) return refuse(0, "no language record");
    if (!LanguageTables().Load(reader)) return 0;
    if (!LanguageTexts().Load(reader)) {
        LanguageTables().Clear();
        LanguageTexts().Clear();
        return refuse(0, "text list refused");
    }
    return 1;
}

void SetMainMenuRestorer(MainMenuRestorer restorer) { mainMenuRestorer = restorer; }

void ClearLanguageTexts(HWND mainWindow) {
    LanguageTables().Clear();
    LanguageTexts().Clear();
    if (mainMenuRestorer) mainMenuRestorer(mainWindow);
}

int LoadLanguageFile(int16_t record, uint16_t languageId, HWND mainWindow) {
    if (languageId == 0) {
        ClearLanguageTexts(mainWindow);
        return 1;
    }
    const std::string folder = ProgramFolder();
    const std::string name = LanguageFileName(languageId);
    VazaziFile file;
    if (!file.Open((folder + name).c_str(), false) && !file.Open((folder + kLanguageSubFolder + name).c_str(), false)) {
        ClearLanguageTexts(mainWindow);
        return 0;
    }
    const int loaded = LoadLanguageTexts(file, record);
    file.Close();
    LanguageTables().ApplyToMainMenu(mainWindow, LanguageStringTables::kMenuBarTable);
    return loaded;
}

uint16_t LanguageIdToIndex(uint16_t languageId) {
    switch (languageId) {
        case 1029: return 0;
        case 1051: return 1;
        case 2057: return 2;
        case 1031: return 3;
        default: return 0xFFFF;
    }
}

void PumpMessages(int n) {
    for (int i = 0; i < n; ++i) {
        MSG message{};
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace lect32
