// Copies a text frame to the clipboard with the frame's own copy, on the host the environment
// chooses, and keeps serving the copy: the SDL host's clipboard test runs it under Xvfb and pastes
// with a desktop program.
//
//     frame_clipboard_copy RECORD OUT READY STOP
//
// reads the text-frame record in file RECORD, copies the frame, writes what our clipboard then
// holds (the CF_TEXT bytes without the NUL to OUT, the CF_LOCALE bytes to OUT.locale), writes file
// READY, then runs the message loop until file STOP exists, 30 s at most.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "page/rich_text_object.h"
#include "winplat/clipboard.h"
#include "winplat/host.h"
#include "winplat/memory.h"
#include "winplat/owners.h"
#include "winplat/user.h"

namespace {

namespace fs = std::filesystem;

constexpr UINT kPollMs = 50;
constexpr int kMostPolls = 30000 / kPollMs;

std::string bytesOf(HANDLE data) {
    auto block = static_cast<HGLOBAL>(data);
    const winplat::GlobalPin pin(block);
    return pin ? std::string(pin.as<char>(), GlobalSize(block)) : std::string{};
}

bool copyFrame(const fs::path& recordFile) {
    std::ifstream in(recordFile, std::ios::binary);
    const std::vector<uint8_t> record((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    lect32::RichTextObject frame;
    if (!frame.Deserialize(record)) {
        std::fprintf(stderr, "frame_clipboard_copy: the record is damaged\n");
        return false;
    }
    if (!frame.CopyToClipboard(nullptr)) {
        std::fprintf(stderr, "frame_clipboard_copy: the frame was not copied\n");
        return false;
    }
    return true;
}

// What our own clipboard holds now, read back as a pasting program of ours would.
bool writeHeld(const fs::path& out) {
    const winplat::OpenedClipboard clipboard(nullptr);
    if (!clipboard) return false;
    std::string text = bytesOf(GetClipboardData(CF_TEXT));
    text.resize(std::strlen(text.c_str()));
    std::ofstream(out, std::ios::binary) << text;
    std::ofstream(fs::path(out.string() + ".locale"), std::ios::binary)
        << bytesOf(GetClipboardData(CF_LOCALE));
    return true;
}

int serveUntil(const fs::path& stop) {
    if (!SetTimer(nullptr, 0, kPollMs, nullptr)) return 1;
    MSG message{};
    int polls = 0;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && (fs::exists(stop) || ++polls > kMostPolls)) break;
        DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: frame_clipboard_copy RECORD OUT READY STOP\n");
        return 2;
    }
    winplat::host::Session host;
    if (!host.ok()) return 2;
    if (!copyFrame(argv[1]) || !writeHeld(argv[2])) return 1;
    std::ofstream(argv[3]) << "ready\n";
    return serveUntil(argv[4]);
}
