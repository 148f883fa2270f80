// The reader's document records under fuzzing. The first byte chooses the reader of the rest: a
// file-name table with its folder pool (plain or with the picture cache's longer headers), a
// string list, a string pool, a block of the document's page names, a tab-stop table, an id list,
// a flag-word array, the document properties with their page style (the byte after the kind is
// the record version), a link target (a byte of decoding options first) or a language record (its
// string tables and its text list).
//
// What must hold for any input: nothing reads outside what was loaded (the sanitizers watch that);
// what a reader accepts is written back by its writer into a form it accepts again unchanged, or,
// where the stored form is the memory form, into the very bytes read; every entry it accepted
// reads back within its bounds; and the editing calls that follow a load work on what it loaded.
//
// Seeds: bodies of the store's and the page's own writers.
#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "page/document_properties.h"
#include "page/page_style.h"
#include "page/properties_record.h"
#include "store/doc_string_table.h"
#include "store/file_name_table.h"
#include "store/flag_words.h"
#include "store/id_list.h"
#include "store/language_string_tables.h"
#include "store/language_text_list.h"
#include "store/link_target.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/string_list.h"
#include "store/string_pool.h"
#include "store/tab_stops.h"
#include "store/vazazi_file.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace {

enum Kind : uint8_t {
    kFileNames,
    kPictureFiles,
    kStringList,
    kStringPool,
    kPageNames,
    kTabStops,
    kIdList,
    kFlagWords,
    kProperties,
    kLinkTarget,
    kLanguage,
    kKinds
};

using Body = std::span<const uint8_t>;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// What a writer call put into a fresh writer; empty when it failed.
template <class Write>
FuzzBytes written(Write write) {
    lect32::MemWriter writer;
    writer.Begin();
    if (!write(writer)) return {};
    writer.End();
    FuzzBytes bytes(writer.GetLength());
    writer.CopyTo(bytes.data());
    return bytes;
}

bool loadInto(lect32::MemReader& reader, Body body) {
    return reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size())) == 1;
}

// The bytes the reader took from the start of the body.
bool readsAsPrefix(const FuzzBytes& bytes, Body body) {
    return bytes.size() <= body.size() && std::equal(bytes.begin(), bytes.end(), body.begin());
}

// Each used entry reads back within 255 bytes, and looking its text up finds an entry of that text
// no later than itself.
void checkEntries(lect32::StringList& list) {
    char text[256];
    char found[256];
    for (uint16_t i = 0; i < list.GetCount(); ++i) {
        const uint16_t length = list.GetString(i, text);
        check(length <= lect32::StringList::kMaxLength);
        if (length == 0) continue;
        const uint16_t first = list.lect32::StringList::Find(text, length);
        check(first <= i);
        check(list.GetString(first, found) == length && std::memcmp(found, text, length) == 0);
    }
}

// A list that was accepted saves into a form that loads again and saves the same.
template <class List>
void checkListRoundTrip(List& list, List& again) {
    const FuzzBytes saved = written([&](lect32::MemWriter& w) { return list.Save(w) == 1; });
    check(!saved.empty());
    lect32::MemReader reader;
    check(loadInto(reader, saved) && again.Load(reader) == 1);
    check(again.GetCount() == list.GetCount() && again.GetFreeCount() == list.GetFreeCount());
    check(written([&](lect32::MemWriter& w) { return again.Save(w) == 1; }) == saved);
}

// Adding behind the loaded entries, finding the new one and deleting the first.
void editList(lect32::StringList& list) {
    const uint16_t added = list.AddString("fuzz", 4);
    if (!lect32::StringList::IsAddFailure(added)) check(list.lect32::StringList::Find("fuzz", 4) <= added);
    if (list.GetCount() > 0) list.DeleteString(0, 1);
}

void fuzzStringList(Body body) {
    lect32::StringList list, again;
    lect32::MemReader reader;
    if (!loadInto(reader, body) || list.Load(reader) != 1) return;
    checkEntries(list);
    checkListRoundTrip(list, again);
    editList(list);
}

void fuzzStringPool(Body body) {
    lect32::StringPool pool, again;
    lect32::MemReader reader;
    if (!loadInto(reader, body) || pool.Load(reader) != 1) return;
    checkEntries(pool);
    checkListRoundTrip(pool, again);
    for (uint16_t i = 0; i < pool.GetCount(); ++i) pool.GetUseCount(i);
    // A use taken and given back leaves as many entries in use, but for one that had no use.
    const auto before = pool.FindEntry("fuzz", 4);
    const int dropped = before && pool.GetUseCount(*before) == 0 ? 1 : 0;
    const int inUse = pool.GetCount() - pool.GetFreeCount();
    char text[] = "Fuzz";
    const uint16_t acquired = pool.Acquire(text);
    if (!lect32::StringList::IsAddFailure(acquired)) {
        check(pool.Release(acquired, 1) == 1 && pool.GetCount() - pool.GetFreeCount() == inUse - dropped);
    }
    pool.ClearUseCounts();
}

// Both lists of a table (folders, then the table) saved and loaded again give the same bytes.
template <class Table>
void checkTableRoundTrip(Table& table) {
    const FuzzBytes saved = written([&](lect32::MemWriter& w) { return table.SaveToDocument(1, &w) == 1; });
    check(!saved.empty());
    lect32::StringPool folders;
    Table again(folders);
    lect32::MemReader reader;
    check(loadInto(reader, saved) && again.LoadFromDocument(1, &reader) == 1);
    check(written([&](lect32::MemWriter& w) { return again.SaveToDocument(1, &w) == 1; }) == saved);
}

// Every entry's path, with what an entry says of itself, and a look-up of the path.
void readPaths(lect32::FileNameTable& table) {
    char path[lect32::FileNameTable::kPathBuffer];
    for (uint16_t i = 0; i < table.GetCount(); ++i) {
        const uint16_t length = table.GetPath(i, path);
        check(length < sizeof path && path[length] == 0);
        table.GetMediaType(i);
        table.GetTag(i);
        if (length > 0) check(table.GetFolderIndex(i) < table.folders().GetCount());
        if (length == 0) continue;
        const uint16_t found = table.FindPath(path);
        check(found == 0xFFFF || found < table.GetCount());
    }
}

// A new path shares the loaded folders, then unused entries and folders are dropped.
void editPaths(lect32::FileNameTable& table) {
    char path[] = "c:\\fuzz\\added.gif";
    const uint16_t added = table.AddPath(path);
    if (!lect32::StringList::IsAddFailure(added)) {
        char back[lect32::FileNameTable::kPathBuffer];
        check(table.GetPath(added, back) > 0 && std::strcmp(back, "c:\\fuzz\\added.gif") == 0);
        table.ReleasePath(added, 0);
    }
    table.CountFolderEntries(0);
    table.PurgeUnused();
}

template <class Table>
void fuzzFileNames(Body body) {
    lect32::StringPool folders;
    Table table(folders);
    lect32::MemReader reader;
    if (!loadInto(reader, body) || table.LoadFromDocument(1, &reader) != 1) return;
    readPaths(table);
    checkTableRoundTrip(table);
    editPaths(table);
}

// A block of page names is stored as it is held: the writer gives back the bytes read.
void fuzzPageNames(Body body) {
    lect32::VazaziFile unopened;
    lect32::DocStringTable table(unopened);
    lect32::MemReader reader;
    if (!loadInto(reader, body) || table.ParseBlock(reader) != 1) return;
    char text[lect32::DocStringTable::kBufferSize];
    uint32_t total = 0;
    for (int slot = 0; slot < lect32::DocStringTable::kSlots; ++slot) {
        const int length = table.GetSlot(slot, text);
        check(length == table.length(slot) && std::strlen(text) <= static_cast<size_t>(length));
        total += static_cast<uint32_t>(length);
    }
    check(total == table.size());
    lect32::MemWriter writer;
    check(table.BuildBlock(writer) == 1);
    FuzzBytes built(writer.GetLength());
    writer.CopyTo(built.data());
    check(built.size() == lect32::DocStringTable::kHeadSize + table.size() && readsAsPrefix(built, body));
    const int slot = static_cast<int>(body.size() % lect32::DocStringTable::kSlots);
    if (table.SetSlot(slot, "name", 4) == 1) check(table.GetSlot(slot, text) == 4 && std::strcmp(text, "name") == 0);
}

void fuzzTabStops(Body body) {
    lect32::TabStopTable table, again;
    lect32::MemReader reader;
    if (!loadInto(reader, body) || table.Load(reader) != 1) return;
    std::array<uint8_t, 255 * lect32::TabStopTable::kStopSize> stops{};
    for (uint16_t i = 0; i < table.GetEntryCount(); ++i) {
        const uint8_t count = table.GetStops(i, stops.data());
        check(table.GetOffset(i) + uint32_t{count} * lect32::TabStopTable::kStopSize <= table.GetSize());
    }
    const FuzzBytes saved = written([&](lect32::MemWriter& w) { return table.Save(w) == 1; });
    lect32::MemReader back;
    check(loadInto(back, saved) && again.Load(back) == 1 && again.GetSize() == table.GetSize());
    check(written([&](lect32::MemWriter& w) { return again.Save(w) == 1; }) == saved);
    if (table.GetEntryCount() > 0 && table.SetStops(0, 2, stops.data()) == 1) check(table.GetStops(0, stops.data()) == 2);
}

void fuzzIdList(Body body) {
    lect32::IdList list;
    lect32::MemReader reader;
    if (!loadInto(reader, body) || list.Load(reader) != 1) return;
    for (uint16_t i = 0; i < list.GetCount(); ++i) check(list.Contains(list.GetAt(i)) != 0);
    if (list.GetCurrent() != lect32::IdList::kNone) check(list.Contains(list.GetCurrent()) != 0);
    static std::array<uint8_t, lect32::IdList::kMapSize> map;
    list.MarkInMap(map.data());
    const FuzzBytes saved = written([&](lect32::MemWriter& w) { return list.Save(w) == 1; });
    check(saved.size() == 4 + 2 * size_t{list.GetCount()});
    // The current id is dropped when the list does not hold it; the rest is the bytes read.
    const auto stored = static_cast<int16_t>(body[2] | body[3] << 8);
    check(list.GetCurrent() == lect32::IdList::kNone || list.GetCurrent() == stored);
    check(std::equal(saved.begin(), saved.begin() + 2, body.begin()));
    check(std::equal(saved.begin() + 4, saved.end(), body.begin() + 4));
}

void fuzzFlagWords(Body body) {
    lect32::DwordArray words;
    lect32::MemReader reader;
    if (!loadInto(reader, body) || words.Load(reader) != 1) return;
    check(readsAsPrefix(written([&](lect32::MemWriter& w) { return words.Save(w) == 1; }), body));
    const auto n = static_cast<uint16_t>(words.GetCount() + 3);
    std::vector<uint8_t> map(n, 1);
    const uint32_t mask = words.GetCount() ? words.GetAt(0) | 1 : 1;
    words.FilterByMask(map.data(), n, mask);
    for (uint16_t i = 0; i < n; ++i) check(map[i] == (i < words.GetCount() && (words.GetAt(i) & mask) ? 1 : 0));
    words.RemoveBit(mask % 32);
}

// The properties and their page style, read in the record version given; written in the current
// version they read back equal.
void fuzzProperties(Body body) {
    if (body.empty()) return;
    const uint8_t version = body[0];
    lect32::VazaziFile unopened;
    lect32::DocumentProperties properties;
    lect32::IdList ids;
    lect32::PropertiesRecord record(properties, ids, unopened);
    lect32::MemReader reader;
    if (!loadInto(reader, body.subspan(1))) return;
    properties.ReadBody(reader, version, record);
    check(std::strlen(properties.Password) <= lect32::DocumentProperties::kPasswordField);
    const FuzzBytes saved = written([&](lect32::MemWriter& w) {
        properties.WriteBody(w, record);
        return true;
    });
    lect32::DocumentProperties again;
    lect32::IdList againIds;
    lect32::PropertiesRecord againRecord(again, againIds, unopened);
    lect32::MemReader back;
    check(loadInto(back, saved));
    again.ReadBody(back, lect32::DocumentProperties::kVersion, againRecord);
    check(again.Equals(properties) && againIds.GetCount() == ids.GetCount());
    // A page of the defaults' values but its own flags, merged once or twice, is the same page.
    lect32::PageStyle page = again.PageDefaults;
    page.flags = static_cast<uint16_t>(properties.StartPage);
    const lect32::PageStyle merged = lect32::MergeWithDefaults(page, properties.PageDefaults);
    const lect32::PageStyle twice = lect32::MergeWithDefaults(merged, properties.PageDefaults);
    check(merged.flags == page.flags && std::memcmp(&merged, &twice, sizeof merged) == 0);
    page.ScaleMargins(properties.ContentsPage);
}

// Page links resolve to the link number itself, so an accepted target encodes back to its body.
class SameNumber final : public lect32::LinkResolver {
public:
    uint8_t CurrentDocumentIndex() const override { return 7; }
    uint8_t ResolveLink(uint8_t, uint8_t linkNumber) const override { return linkNumber; }
};

void fuzzLinkTarget(Body body) {
    if (body.size() < 2) return;
    const bool framed = body[0] & 1;
    const bool mainWindow = body[0] & 2;
    const Body stored = body.subspan(2);
    lect32::LinkTarget target;
    const int kind = target.Decode(stored, framed, body[1], mainWindow, SameNumber());
    if (kind < 0) return;
    const size_t start = framed ? 2 : 0;
    check(kind == stored[start]);
    std::array<uint8_t, lect32::LinkTarget::kMaxEncoded> out{};
    const size_t length = target.Encode(out, false);
    check(length == lect32::LinkBodyLength(target.kind) && start + length <= stored.size());
    check(std::equal(out.begin(), out.begin() + static_cast<long>(length), stored.begin() + static_cast<long>(start)));
}

// One menu of a few commands that the language tables rename.
HMENU commandMenu() {
    static const HMENU menu = [] {
        const HMENU made = CreateMenu();
        for (UINT id : {0u, 1u, 2u, 101u, 201u, 202u}) AppendMenuA(made, MF_STRING, id, "item");
        return made;
    }();
    return menu;
}

void fuzzLanguage(Body body) {
    lect32::LanguageStringTables tables;
    lect32::LanguageTextList texts;
    lect32::MemReader reader;
    if (!loadInto(reader, body) || tables.Load(reader) != 1) return;
    for (uint16_t table = 0; table < std::min<uint16_t>(tables.GetCount(), 8); ++table) {
        tables.ApplyToMenu(commandMenu(), table);
    }
    if (texts.Load(reader) != 1) return;
    char text[64];
    for (uint16_t id : {0, 1, 2, 3308, 3309, 0xFFFF}) {
        for (size_t capacity : {size_t{0}, size_t{1}, size_t{5}, sizeof text}) {
            text[0] = '\0';
            if (texts.FindById(id, text, capacity) == 1) check(std::strlen(text) < std::max<size_t>(capacity, 1));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static winplat::testing::DebugCapture quiet;  // the store's messages about damaged records
    quiet.clear();
    if (size == 0) return 0;
    const Body body(data + 1, size - 1);
    switch (static_cast<Kind>(data[0] % kKinds)) {
    case kFileNames: fuzzFileNames<lect32::FileNameTable>(body); break;
    case kPictureFiles: fuzzFileNames<lect32::ImageFileTable>(body); break;
    case kStringList: fuzzStringList(body); break;
    case kStringPool: fuzzStringPool(body); break;
    case kPageNames: fuzzPageNames(body); break;
    case kTabStops: fuzzTabStops(body); break;
    case kIdList: fuzzIdList(body); break;
    case kFlagWords: fuzzFlagWords(body); break;
    case kProperties: fuzzProperties(body); break;
    case kLinkTarget: fuzzLinkTarget(body); break;
    case kLanguage: fuzzLanguage(body); break;
    case kKinds: break;
    }
    return 0;
}

namespace {

FuzzBytes tagged(Kind kind, const FuzzBytes& body, std::initializer_list<uint8_t> before = {}) {
    FuzzBytes bytes{kind};
    bytes.insert(bytes.end(), before.begin(), before.end());
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

template <class Table>
FuzzBytes fileNamesSeed(Kind kind) {
    lect32::StringPool folders;
    Table table(folders);
    for (const char* path : {"C:\\Obrazky\\titul.gif", "c:\\obrazky\\mapa.pcx", "zvuky\\zvonek.wav", "D:\\x.bmp",
                             "c:\\obrazky\\titul.gif"}) {
        std::string copy(path);
        table.AddPath(copy.data());
    }
    table.SetTag(1, 0x1234);
    table.ReleasePath(3, 0);  // a free slot among the entries
    return tagged(kind, written([&](lect32::MemWriter& w) { return table.SaveToDocument(1, &w) == 1; }));
}

FuzzBytes stringListSeed() {
    lect32::StringList list;
    for (const char* text : {"\xFAvod", "kapitola 1", "", "kapitola 2", "rejst\xF8\xEDk"}) {
        list.AddString(text, static_cast<int>(std::strlen(text)));
    }
    list.DeleteString(1, 0);
    return tagged(kStringList, written([&](lect32::MemWriter& w) { return list.Save(w) == 1; }));
}

FuzzBytes stringPoolSeed() {
    lect32::StringPool pool;
    for (const char* text : {"c:\\dokumenty\\", "C:\\Dokumenty\\", "d:\\", "lng\\"}) {
        std::string copy(text);
        pool.Acquire(copy.data());
    }
    return tagged(kStringPool, written([&](lect32::MemWriter& w) { return pool.Save(w) == 1; }));
}

FuzzBytes pageNamesSeed() {
    lect32::VazaziFile unopened;
    lect32::DocStringTable table(unopened);
    for (int slot : {0, 1, 7, 255}) table.SetSlot(slot, "Str\xE1nka", 7);
    lect32::MemWriter writer;
    table.BuildBlock(writer);
    FuzzBytes body(writer.GetLength());
    writer.CopyTo(body.data());
    return tagged(kPageNames, body);
}

FuzzBytes tabStopsSeed(uint16_t entries) {
    lect32::TabStopTable table;
    table.Init(entries);
    const uint8_t stops[12] = {1, 0, 100, 0, 2, 0, 200, 0, 3, 1, 44, 1};
    table.SetStops(0, 3, stops);
    table.SetStops(static_cast<uint16_t>(entries - 1), 1, stops + 4);
    return tagged(kTabStops, written([&](lect32::MemWriter& w) { return table.Save(w) == 1; }));
}

// The list's own writer needs a loaded list: one is loaded from the stored form it writes.
FuzzBytes idListSeed() {
    const FuzzBytes stored = written([](lect32::MemWriter& w) {
        for (uint16_t word : {4, 9, 9, 0, 32767, 12}) w.WriteWord(word);
        return true;
    });
    lect32::IdList list;
    lect32::MemReader reader;
    loadInto(reader, stored);
    list.Load(reader);
    return tagged(kIdList, written([&](lect32::MemWriter& w) { return list.Save(w) == 1; }));
}

FuzzBytes flagWordsSeed() {
    lect32::DwordArray words;
    words.Allocate(3);
    words.SetAt(1, 0x80000001u);
    words.Append(0x00FF00FFu);
    return tagged(kFlagWords, written([&](lect32::MemWriter& w) { return words.Save(w) == 1; }));
}

// The current version's body, read as each version: the older forms lay the fields out otherwise.
std::vector<FuzzBytes> propertiesSeeds() {
    lect32::VazaziFile unopened;
    lect32::DocumentProperties properties;
    lect32::IdList ids;
    lect32::PropertiesRecord record(properties, ids, unopened);
    const FuzzBytes idSeed = idListSeed();
    const FuzzBytes idBytes(idSeed.begin() + 1, idSeed.end());
    lect32::MemReader reader;
    loadInto(reader, idBytes);
    ids.Load(reader);
    properties.StartPage = 3;
    properties.HasPassword = 1;
    std::strcpy(properties.Password, "tajne heslo");
    std::strcpy(properties.InfoText1, "Kniha o knih\xE1" "ch");
    properties.Language = 1029;
    properties.PageDefaults.widthMode = 1;
    properties.PageDefaults.width = 620;
    properties.PageDefaults.margins = {5, 6, 7, 8};
    const FuzzBytes body = written([&](lect32::MemWriter& w) {
        properties.WriteBody(w, record);
        return true;
    });
    std::vector<FuzzBytes> seeds;
    for (uint8_t version : {10, 9, 8, 7, 6, 5, 3, 1}) seeds.push_back(tagged(kProperties, body, {version}));
    return seeds;
}

// Every kind of target, plain and framed, each with other decoding options.
std::vector<FuzzBytes> linkTargetSeeds() {
    std::vector<FuzzBytes> seeds;
    for (uint8_t kind = 0; kind <= 21; ++kind) {
        lect32::LinkTarget target;
        target.kind = kind;
        target.a = 0x0102;
        target.b = 0x0304;
        target.c = 0x0506;
        target.d = 0x0708090A;
        target.document = kind % 3 ? 0 : 2;
        for (const bool framed : {false, true}) {
            std::array<uint8_t, lect32::LinkTarget::kMaxEncoded> out{};
            const size_t length = target.Encode(out, framed);
            const uint8_t options = static_cast<uint8_t>((framed ? 1 : 0) | (kind % 2 ? 2 : 0));
            seeds.push_back(tagged(kLinkTarget, FuzzBytes(out.begin(), out.begin() + static_cast<long>(length)),
                                   {options, static_cast<uint8_t>(kind % 4 ? 0xFF : 1)}));
        }
    }
    return seeds;
}

// The string tables' block has no writer in the reader: it is laid out here, then the text list
// follows in its own writer's form.
FuzzBytes languageSeed() {
    const std::vector<std::vector<std::pair<uint16_t, std::string>>> tables = {
        {{0, "Hledat"}, {2, "Zru\x9Ait"}, {101, "Cel\xE1 slova"}}, {{0, "&Soubor"}, {0, "&Zobrazit"}}, {{201, "&Otev\xF8\xEDt"}}};
    FuzzBytes directory, entries;
    const auto word = [](FuzzBytes& out, size_t value) {
        out.push_back(static_cast<uint8_t>(value));
        out.push_back(static_cast<uint8_t>(value >> 8));
    };
    for (const auto& table : tables) {
        word(directory, table.size());
        word(directory, 4 * tables.size() + entries.size());
        for (const auto& [id, text] : table) {
            word(entries, id);
            entries.push_back(static_cast<uint8_t>(text.size()));
            entries.insert(entries.end(), text.begin(), text.end());
            entries.push_back(0);
        }
    }
    lect32::LanguageTextList texts;
    texts.AddText(3308, "Bez n\xE1zvu", 9);
    texts.AddText(3309, "prvn\xED", 5);
    texts.AddText(3309, "druh\xFD", 5);
    FuzzBytes head{0};
    word(head, tables.size());
    word(head, directory.size() + entries.size());
    const FuzzBytes list = written([&](lect32::MemWriter& w) { return texts.Save(w) == 1; });
    FuzzBytes body = head;
    for (const FuzzBytes& part : {directory, entries, list}) body.insert(body.end(), part.begin(), part.end());
    return tagged(kLanguage, body);
}

}  // namespace

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds = {fileNamesSeed<lect32::FileNameTable>(kFileNames),
                                    fileNamesSeed<lect32::ImageFileTable>(kPictureFiles),
                                    stringListSeed(),
                                    stringPoolSeed(),
                                    pageNamesSeed(),
                                    tabStopsSeed(256),
                                    tabStopsSeed(2),
                                    idListSeed(),
                                    flagWordsSeed(),
                                    languageSeed()};
    for (std::vector<FuzzBytes> more : {propertiesSeeds(), linkTargetSeeds()}) {
        seeds.insert(seeds.end(), more.begin(), more.end());
    }
    return seeds;
}
