// The substitution table: Liberation faces for the metric-compatible classics, a symbol face for
// "Symbol", a Unicode face for the few Wingdings pictures documents use, and Liberation Sans for
// the classic dialog font. DejaVu stands in when Liberation is not installed.
#include "text/font_substitutes.h"

#include "winplat/cp1250.h"

namespace winplat::text {
namespace {

using Kind = SubstituteKind;

// clang-format off
constexpr std::array<Substitute, 8> kTable = {{
    {"Arial", {"Liberation Sans", "DejaVu Sans"}, Kind::Text, VARIABLE_PITCH | FF_SWISS, true, true},
    {"Times New Roman", {"Liberation Serif", "DejaVu Serif"}, Kind::Text, VARIABLE_PITCH | FF_ROMAN, true, true},
    {"Courier New", {"Liberation Mono", "DejaVu Sans Mono"}, Kind::Text, FIXED_PITCH | FF_MODERN, true, true},
    {"Symbol", {"Standard Symbols PS", "OpenSymbol"}, Kind::Symbol, VARIABLE_PITCH | FF_DECORATIVE, false, true},
    {"Wingdings", {"DejaVu Sans", ""}, Kind::Wingdings, VARIABLE_PITCH | FF_DECORATIVE, false, true},
    {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}, Kind::ClassicDialog, VARIABLE_PITCH | FF_SWISS, false, true},
    // Names dialogs ask for that Windows maps onto the dialog font without listing them.
    {"MS Shell Dlg", {"Liberation Sans", "DejaVu Sans"}, Kind::ClassicDialog, VARIABLE_PITCH | FF_SWISS, false, false},
    {"Helv", {"Liberation Sans", "DejaVu Sans"}, Kind::ClassicDialog, VARIABLE_PITCH | FF_SWISS, false, false},
}};
// clang-format on

struct CodePageSuffix {
    std::string_view suffix;
    BYTE charSet;
};
constexpr std::array<CodePageSuffix, 2> kSuffixes = {{{" CE", EASTEUROPE_CHARSET}, {" Cyr", RUSSIAN_CHARSET}}};

bool sameName(std::string_view a, std::string_view b) {
    return cp1250::lower(a) == cp1250::lower(b);
}

}  // namespace

std::optional<SubstituteName> findSubstitute(std::string_view faceName) {
    for (const Substitute& row : kTable) {
        if (sameName(faceName, row.name)) return SubstituteName{&row, std::string(row.name), std::nullopt};
        if (!row.codePageNames) continue;
        for (const CodePageSuffix& suffix : kSuffixes) {
            std::string name = std::string(row.name) + std::string(suffix.suffix);
            if (sameName(faceName, name)) return SubstituteName{&row, std::move(name), suffix.charSet};
        }
    }
    return std::nullopt;
}

std::vector<SubstituteName> listedSubstitutes() {
    std::vector<SubstituteName> names;
    for (const Substitute& row : kTable) {
        if (!row.listed) continue;
        names.push_back({&row, std::string(row.name), std::nullopt});
        if (!row.codePageNames) continue;
        for (const CodePageSuffix& suffix : kSuffixes)
            names.push_back({&row, std::string(row.name) + std::string(suffix.suffix), suffix.charSet});
    }
    return names;
}

}  // namespace winplat::text
