// Profile (.ini) text under fuzzing, as the profile calls read a file: its sections, their keys and
// the keys' values are listed, then a value is written, read back and erased, and a section erased.
//
// What must hold for any input: every key listed has a value; the text written out untouched is the
// text read, byte for byte; a written value reads back as written and an erased key or section is
// gone; the edited text, read again, lists the same sections, keys and values.
//
// Seeds: profile files the way the layer writes them (WritePrivateProfileStringA's own edits of
// the text) and the hand-edited forms it keeps: comments, blanks, quotes, both line ends.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_entry.h"
#include "profile/ini_text.h"

namespace {

using winplat::profile::IniText;

// Sections and keys beyond these are read, but not each looked up: each look-up walks the text, and
// a few already reach every path of it.
constexpr size_t kLookedUp = 6;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// Every section's keys with their values, in file order, as the profile calls list them.
std::vector<std::string> listing(const IniText& ini) {
    std::vector<std::string> out;
    const std::vector<std::string> sections = ini.sectionNames();
    for (size_t s = 0; s < sections.size() && s < kLookedUp; ++s) {
        out.push_back("[" + sections[s] + "]");
        const std::vector<std::string> keys = ini.keyNames(sections[s]);
        for (size_t k = 0; k < keys.size() && k < kLookedUp; ++k) {
            const auto value = ini.value(sections[s], keys[k]);
            check(value.has_value());
            out.push_back(keys[k] + "=" + *value);
        }
    }
    return out;
}

// A value written under a key of the first section (or of a new one) reads back; erasing the key
// takes one key away (the written one, unless the section held the key more than once), and
// erasing the section one section.
void edit(IniText& ini) {
    const std::vector<std::string> sections = ini.sectionNames();
    const std::string section = sections.empty() ? "Fuzz" : sections.front();
    const size_t keys = ini.keyNames(section).size();
    const bool existed = ini.value(section, "FuzzKey").has_value();
    ini.setValue(section, "FuzzKey", "a value");
    check(ini.value(section, "FuzzKey") == "a value");
    const size_t withKey = keys + (existed ? 0 : 1);
    check(ini.keyNames(section).size() == withKey);
    check(ini.eraseKey(section, "FuzzKey"));
    check(ini.keyNames(section).size() == withKey - 1);
    if (!existed) check(!ini.value(section, "FuzzKey"));
    const size_t sectionCount = ini.sectionNames().size();
    check(ini.eraseSection(section));
    check(ini.sectionNames().size() == sectionCount - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniText ini(text);
    listing(ini);
    check(ini.text() == text);
    edit(ini);
    check(listing(IniText(ini.text())) == listing(ini));
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    const auto bytes = [](std::string_view text) { return FuzzBytes(text.begin(), text.end()); };
    IniText made("");
    made.setValue("Nastaven\xED", "Jazyk", "1029");
    made.setValue("Nastaven\xED", "Okno", "10 20 640 480");
    made.setValue("Posledn\xED soubory", "Soubor1", "C:\\KNIHY\\PRVN\xCD.LCN");
    made.setValue("Nastaven\xED", "Jazyk", "1051");
    return {
        bytes(made.text()),
        bytes("; comment\r\n[windows]\r\nload=\r\nrun = \"quoted value\" \r\n\r\n[fonts]\r\nArial (TrueType)=ARIAL.TTF\r\n"),
        bytes("[a]\nk=v\n  [ b ] trailing\n\tkey2 = 'single' \n=no key\nno equals\n[a]\nk=second\n"),
        bytes("[x]\r\nk=1\n[y]\rk=2"),
        bytes("key before any section=1\n[]\n=\n[[nested]]\n;[hidden]\n"),
    };
}
