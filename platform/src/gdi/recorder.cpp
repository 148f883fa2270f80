// DrawingRecorder: a log per watched DC, kept apart from the DC so that a recorder can still be
// read after its DC is gone.
#include "gdi/recorder.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

#include "winplat/draw.h"
#include "winplat/handles.h"
#include "winplat/testing.h"

namespace winplat::gdi {
namespace {

struct Log {
    int recorders = 0;
    std::vector<std::string> lines;
};

struct Registry {
    std::mutex mutex;
    std::map<uint32_t, Log> logs;
    std::atomic<int> watched{0};  // lets drawing skip the lock when nobody records
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

bool recording(uint32_t dc) {
    Registry& r = registry();
    if (r.watched.load(std::memory_order_relaxed) == 0) return false;
    std::lock_guard lock(r.mutex);
    return r.logs.count(dc) != 0;
}

void record(uint32_t dc, const std::string& line) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.logs.find(dc);
    if (it != r.logs.end()) it->second.lines.push_back(line);
}

std::string ropName(DWORD rop) {
    static const struct {
        DWORD code;
        const char* name;
    } names[] = {
        {SRCCOPY, "SRCCOPY"},         {SRCPAINT, "SRCPAINT"},   {SRCAND, "SRCAND"},
        {SRCINVERT, "SRCINVERT"},     {SRCERASE, "SRCERASE"},   {NOTSRCCOPY, "NOTSRCCOPY"},
        {NOTSRCERASE, "NOTSRCERASE"}, {MERGECOPY, "MERGECOPY"}, {MERGEPAINT, "MERGEPAINT"},
        {PATCOPY, "PATCOPY"},         {PATPAINT, "PATPAINT"},   {PATINVERT, "PATINVERT"},
        {DSTINVERT, "DSTINVERT"},     {BLACKNESS, "BLACKNESS"}, {WHITENESS, "WHITENESS"},
    };
    for (const auto& entry : names) {
        if (entry.code == rop) return entry.name;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(rop));
    return hex;
}

}  // namespace winplat::gdi

namespace winplat::testing {

using gdi::registry;

DrawingRecorder::DrawingRecorder(HDC dc) : dc_(dc) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    gdi::Log& log = r.logs[handleValue(dc)];
    if (log.recorders++ == 0) r.watched.fetch_add(1);
}

DrawingRecorder::~DrawingRecorder() {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.logs.find(handleValue(dc_));
    if (it == r.logs.end()) return;
    if (--it->second.recorders == 0) {
        r.logs.erase(it);
        r.watched.fetch_sub(1);
    }
}

std::vector<std::string> DrawingRecorder::calls() const {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.logs.find(handleValue(dc_));
    return it == r.logs.end() ? std::vector<std::string>{} : it->second.lines;
}

size_t DrawingRecorder::count(std::string_view callName) const {
    size_t n = 0;
    for (const std::string& line : calls()) {
        const std::string_view name = std::string_view(line).substr(0, line.find(' '));
        if (name == callName) ++n;
    }
    return n;
}

}  // namespace winplat::testing
