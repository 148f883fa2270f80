#include "registry/reg_store.h"

#include <filesystem>
#include <system_error>

#include "files/state_folder.h"
#include "registry/registry_seed.h"
#include "registry/store_format.h"
#include "winplat/refusal.h"
#include "winplat/registry.h"

namespace winplat::registry {

namespace {

constexpr Refuser refuse("winplat: registry store");

void report(const std::string& path, const ParsedStore& parsed) {
    for (const auto& problem : parsed.problems) refuse.log(path + ": " + problem + "; the line is left out");
}

// A damaged store is rewritten from what loaded on the next change; the file as it was is kept
// beside it, so what could not be read can still be mended by hand.
void keepDamagedCopy(const std::string& path) {
    std::error_code ignored;
    std::filesystem::copy_file(path, path + ".damaged", std::filesystem::copy_options::overwrite_existing, ignored);
}

}  // namespace

Store& Store::instance() {
    static Store store;
    return store;
}

void Store::refreshForFolder() {
    if (!loaded_ || !files::isStateFolder(folder_)) {
        folder_ = files::stateFolder();
        load();
    }
}

void Store::load() {
    const std::string path = storePath();
    identity_ = identityOf(path);
    if (identity_.exists) noteStoreRead();
    const auto text = identity_.exists ? readWhole(path) : std::optional<std::string>();
    ParsedStore parsed = parse(text ? std::string_view(*text) : seedText());
    if (!text) report("registry seed", parsed);
    if (text && !parsed.problems.empty()) {
        report(path, parsed);
        keepDamagedCopy(path);
    }
    top_ = std::move(parsed.top);
    ++generation_;
    loaded_ = true;
}

LONG Store::change(const Change& change) {
    std::lock_guard lock(mutex_);
    refreshForFolder();
    if (!files::ensureFolder(folder_)) return refuse(LONG(ERROR_CANTWRITE), "the state folder cannot be made: " + folder_);
    FileLock fileLock(folder_ + "/registry.lock");
    if (!fileLock.held()) return refuse(LONG(ERROR_CANTWRITE), "the store's lock file cannot be locked in " + folder_);
    if (identityOf(storePath()) != identity_) load();
    bool changed = false;
    const LONG result = change(top_, changed);
    ++generation_;  // a change may have dropped keys, whatever it answers
    if (result != ERROR_SUCCESS || !changed) return result;
    if (!write()) {
        loaded_ = false;  // the file still holds the tree before the change
        return refuse(LONG(ERROR_CANTWRITE), "the store cannot be written: " + storePath());
    }
    return ERROR_SUCCESS;
}

bool Store::write() {
    if (!replaceAtomically(storePath(), serialise(top_))) return false;
    identity_ = identityOf(storePath());
    return true;
}

void Store::drop() {
    std::lock_guard lock(mutex_);
    loaded_ = false;
    top_ = RegKey();
    ++generation_;
}

}  // namespace winplat::registry
