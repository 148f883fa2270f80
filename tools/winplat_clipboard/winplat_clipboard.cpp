// Puts text on the clipboard, or reads it, on the host the environment chooses: for trying the
// desktop's clipboard by hand and for the SDL host's clipboard test under Xvfb.
//
//     winplat_clipboard put TEXT READY STOP   copies the bytes of file TEXT (cp1250) as CF_TEXT with
//                                             the Czech CF_LOCALE, writes file READY, then keeps the
//                                             host running (serving the copy) until file STOP
//                                             exists, 30 s at most
//     winplat_clipboard get OUT               writes the CF_TEXT bytes (without the NUL) to OUT and
//                                             the 4 CF_LOCALE bytes to OUT.locale
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "winplat/clipboard.h"
#include "winplat/host.h"
#include "winplat/locale.h"
#include "winplat/memory.h"
#include "winplat/owners.h"
#include "winplat/user.h"

namespace {

namespace fs = std::filesystem;

constexpr UINT kPollMs = 50;
constexpr int kMostPolls = 30000 / kPollMs;

HGLOBAL blockOf(const std::string& bytes) {
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    const winplat::GlobalPin pin(block.get());
    if (!pin) return nullptr;
    std::memcpy(pin.data(), bytes.data(), bytes.size());
    return block.release();
}

std::string bytesOf(HANDLE data) {
    auto block = static_cast<HGLOBAL>(data);
    const winplat::GlobalPin pin(block);
    return pin ? std::string(pin.as<char>(), GlobalSize(block)) : std::string{};
}

bool copy(const std::string& text) {
    const LCID locale = MAKELCID(MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT), SORT_DEFAULT);
    const char localeBytes[4] = {static_cast<char>(locale), static_cast<char>(locale >> 8), 0, 0};
    winplat::GlobalBlock textBlock(blockOf(text + '\0'));
    winplat::GlobalBlock localeBlock(blockOf(std::string(localeBytes, sizeof localeBytes)));
    const winplat::OpenedClipboard clipboard(nullptr);
    if (!clipboard || !textBlock || !localeBlock || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_TEXT, textBlock.get())) return false;
    (void)textBlock.release();
    if (!SetClipboardData(CF_LOCALE, localeBlock.get())) return false;
    (void)localeBlock.release();
    return true;
}

int put(const fs::path& textFile, const fs::path& ready, const fs::path& stop) {
    std::ifstream in(textFile, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return 1;
    if (!copy(text)) return 1;  // CloseClipboard offered it to the desktop
    std::ofstream(ready) << "ready\n";
    if (!SetTimer(nullptr, 0, kPollMs, nullptr)) return 1;
    MSG message{};
    int polls = 0;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && (fs::exists(stop) || ++polls > kMostPolls)) break;
        DispatchMessageA(&message);
    }
    return 0;
}

int get(const fs::path& out) {
    const winplat::OpenedClipboard clipboard(nullptr);
    if (!clipboard) return 1;
    std::string text = bytesOf(GetClipboardData(CF_TEXT));
    text.resize(std::strlen(text.c_str()));
    std::ofstream(out, std::ios::binary) << text;
    std::ofstream(fs::path(out.string() + ".locale"), std::ios::binary) << bytesOf(GetClipboardData(CF_LOCALE));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (!((command == "put" && argc == 5) || (command == "get" && argc == 3))) {
        std::fprintf(stderr, "usage: winplat_clipboard put TEXT READY STOP | get OUT\n");
        return 2;
    }
    winplat::host::Session host;
    if (!host.ok()) return 2;
    return command == "put" ? put(argv[2], argv[3], argv[4]) : get(argv[2]);
}
