#include "script/runtime_services.h"

#include <cstdlib>

#include "script/io_result.h"
#include "winplat/base.h"
#include "winplat/host.h"
#include "winplat/refusal.h"
#include "winplat/registry.h"

namespace linework {

namespace {

constexpr winplat::Refuser refuse("linework: script runtime");

void CloseKey(HKEY key) { RegCloseKey(key); }
using OwnedKey = winplat::UniqueHandle<HKEY, CloseKey>;

}  // namespace

bool ScriptRuntime::CheckIOResult() {
    SetStatusWord(pendingIo_);
    pendingIo_ = 0;
    return StatusWord() != 0;
}

bool ScriptRuntime::CloseSlot(ScriptFileSlot& slot) {
    if (slot.open && slot.file && !CloseHandle(slot.file.release())) NoteIoResult(IoResultOfSystemError(GetLastError()));
    slot.file.reset();
    slot.open = false;
    return CheckIOResult();
}

bool ScriptRuntime::CloseScriptTextFile(int index) {
    if (index < 0 || index >= kTextSlots) return refuse(true, "no such text-file slot");
    return CloseSlot(textSlots_[static_cast<size_t>(index)]);
}

bool ScriptRuntime::CloseScriptBinaryFile() { return CloseSlot(binarySlot_); }

void ScriptRuntime::CloseDirSearch() {
    search_.pending.clear();
    search_.open = false;
}

bool ScriptRuntime::CloseAllScriptFiles() {
    for (int i = 0; i < kTextSlots; ++i) CloseScriptTextFile(i);
    CloseScriptBinaryFile();
    CloseDirSearch();
    return CheckIOResult();
}

bool ScriptRuntime::CloseScriptDialogOnTimeout(bool force) {
    if (!dialog_.open) return false;
    if (!force) {
        if (dialog_.timeoutSeconds == 0) return false;
        uint64_t elapsedMs = winplat::host::clock().nowMs() - dialog_.startMs;
        // Whole and part seconds: |time-out| greater than the elapsed time keeps it open.
        if (static_cast<uint64_t>(std::abs(static_cast<int64_t>(dialog_.timeoutSeconds))) * 1000 > elapsedMs)
            return false;
    }
    dialog_.result = -1;
    dialog_.open = false;
    return true;
}

std::string CreateTempFile(std::string_view extension) {
    char folder[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) return refuse(std::string(), "no temporary folder");
    char made[MAX_PATH] = {};
    if (GetTempFileNameA(folder, "~lk", 0, made) == 0) return refuse(std::string(), "no temporary file could be made");
    std::string name = made;
    size_t dot = name.rfind('.');
    std::string renamed = name.substr(0, dot);
    if (extension.empty()) {
        renamed += ".tmp";
    } else if (extension.find('.') != std::string_view::npos) {
        renamed += extension;
    }
    if (renamed == name) return name;
    if (!MoveFileA(name.c_str(), renamed.c_str())) {
        // The empty file made above is ours alone: it goes with the failed rename.
        DeleteFileA(name.c_str());
        return refuse(std::string(), "the temporary file could not take its extension");
    }
    return renamed;
}

RegistryRead ReadRegistryValue(uint32_t root, std::string_view key, std::string_view valueName) {
    RegistryRead read;
    bool predefined = (root >= 0x80000000u && root <= 0x80000003u) || root == 0x80000005u || root == 0x80000006u;
    if (!predefined) return refuse(read, "not one of the six predefined registry roots");
    HKEY opened = nullptr;
    std::string keyText(key);
    auto rootKey = reinterpret_cast<HKEY>(static_cast<uintptr_t>(root));
    if (RegOpenKeyExA(rootKey, keyText.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS)
        return refuse(read, "registry key not found");
    OwnedKey owner(opened);
    std::string name(valueName);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(opened, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return refuse(read, "registry value not found");
    if (size > 255) return refuse(read, "registry value longer than 255 bytes");
    std::string data(size, '\0');
    if (RegQueryValueExA(opened, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return refuse(read, "registry value changed while read");
    data.resize(size);
    read.type = 0;
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            read.type = 1;
            read.text = data.substr(0, data.find('\0'));
            break;
        case REG_DWORD:
            if (data.size() == 4) {
                int32_t value = static_cast<int32_t>(static_cast<uint8_t>(data[0]) | static_cast<uint8_t>(data[1]) << 8 |
                                                     static_cast<uint8_t>(data[2]) << 16 |
                                                     static_cast<uint32_t>(static_cast<uint8_t>(data[3])) << 24);
                read.type = 2;
                read.text = std::to_string(value);
            }
            break;
        case REG_BINARY:
            read.type = 3;
            read.text = data;
            break;
        default: break;
    }
    return read;
}

}  // namespace linework
