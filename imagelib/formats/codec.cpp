#include "formats/codec.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "winplat/stdio_bridge.h"

namespace pixmill {
namespace {

std::atomic<bool> continueLoad{true};
std::atomic<int> breakLock{0};

uint32_t alignTo4(uint64_t bytes) { return static_cast<uint32_t>((bytes + 3) & ~uint64_t{3}); }

}  // namespace

void PxlCodecInfo::setDetail(const char* text) {
    std::memset(detailText, 0, sizeof detailText);
    if (text) std::strncpy(detailText, text, sizeof detailText - 1);
}

void PxlCodecInfo::setPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue) {
    if (index < 0 || index > 255) return;
    palette[3 * index] = red;
    palette[3 * index + 1] = green;
    palette[3 * index + 2] = blue;
}

uint64_t imageByteCount(int width, int height, int bits, ImageBytesRule rule) {
    const auto w = static_cast<uint64_t>(std::max(width, 0));
    const auto b = static_cast<uint64_t>(std::max(bits, 0));
    const uint64_t row = rule == ImageBytesRule::AlignedRows ? (w * b + 31) / 32 * 4 : (w + 7) / 8 * b;
    return row * static_cast<uint64_t>(std::max(height, 0));
}

int32_t reportedImageBytes(int width, int height, int bits, ImageBytesRule rule) {
    const uint64_t bytes = imageByteCount(width, height, bits, rule);
    return bytes <= INT32_MAX ? static_cast<int32_t>(bytes) : 0;
}

RowLayout prepareRowTransfer(const PxlCodecInfo& info) {
    RowLayout layout;
    layout.width = info.width;
    layout.height = info.height;
    const uint64_t width = info.width > 0 ? static_cast<uint64_t>(info.width) : 0;
    const int bits = info.bitsPerPixel;
    if (bits <= 1) {
        layout.depth = 1;
        layout.stride = alignTo4((width + 7) / 8);
    } else if (bits <= 4) {
        layout.depth = 4;
        layout.stride = alignTo4((width + 1) / 2);
    } else if (bits <= 8) {
        layout.depth = 8;
        layout.stride = alignTo4(width);
    } else if (bits <= 24) {
        layout.depth = 24;
        layout.stride = alignTo4(3 * width);
    } else {
        layout.depth = 32;
        layout.stride = alignTo4(4 * width);
    }
    return layout;
}

void startLoad() { continueLoad = true; }

bool loadContinues() { return continueLoad; }

bool ByteStream::openFile(const char* path, const char* mode) {
    close();
    file_ = path ? winplat_fopen(path, mode) : nullptr;
    if (!file_) return false;
    struct stat facts {};
    const bool readOnly = mode[0] == 'r' && !std::strchr(mode, '+');
    if (readOnly && fstat(fileno(file_), &facts) == 0 && S_ISREG(facts.st_mode)) {
        reader_ = std::make_unique<FileReader>(fileno(file_), facts.st_size);
    }
    return true;
}

bool ByteStream::close() {
    reader_.reset();
    const bool ok = !file_ || std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

bool ByteStream::read(void* buffer, uint32_t count) {
    if (count == 0) return true;
    if (reader_) return reader_->read(buffer, count);
    if (file_) return std::fread(buffer, 1, count, file_) == count;
    if (ole_) {
        ULONG got = 0;
        return SUCCEEDED(ole_->Read(buffer, count, &got)) && got == count;
    }
    if (callbacks_ && callbacks_->read) {
        return count <= INT32_MAX && callbacks_->read(callbacks_, buffer, static_cast<int32_t>(count)) ==
                                         static_cast<int32_t>(count);
    }
    return false;
}

bool ByteStream::write(const void* buffer, uint32_t count) {
    if (count == 0) return true;
    if (file_) return std::fwrite(buffer, 1, count, file_) == count;
    if (ole_) {
        ULONG put = 0;
        return SUCCEEDED(ole_->Write(buffer, count, &put)) && put == count;
    }
    if (callbacks_ && callbacks_->write) {
        return count <= INT32_MAX && callbacks_->write(callbacks_, buffer, static_cast<int32_t>(count)) ==
                                         static_cast<int32_t>(count);
    }
    return false;
}

bool ByteStream::seek(int64_t offset, int origin) {
    if (origin < 0 || origin > 2) return false;
    if (reader_) return reader_->seek(offset, origin);
    if (file_) return fseeko(file_, offset, origin) == 0;
    if (ole_) {
        LARGE_INTEGER move;
        move.QuadPart = offset;
        return SUCCEEDED(ole_->Seek(move, static_cast<DWORD>(origin), nullptr));
    }
    if (callbacks_ && callbacks_->seek) {
        if (offset < INT32_MIN || offset > INT32_MAX) return false;
        callbacks_->seek(callbacks_, static_cast<int32_t>(offset), origin);
        return true;
    }
    return false;
}

int64_t ByteStream::tell() {
    if (reader_) return reader_->tell();
    if (file_) return ftello(file_);
    if (ole_) {
        LARGE_INTEGER none;
        none.QuadPart = 0;
        ULARGE_INTEGER position;
        position.QuadPart = 0;
        if (FAILED(ole_->Seek(none, STREAM_SEEK_CUR, &position))) return 0;
        return static_cast<int64_t>(position.QuadPart);
    }
    if (callbacks_ && callbacks_->tell) return callbacks_->tell(callbacks_);
    return 0;
}

int64_t ByteStream::fileLength() {
    if (reader_) return reader_->length();
    if (!file_) return 0;
    const off_t here = ftello(file_);
    if (fseeko(file_, 0, SEEK_END) != 0) return 0;
    const off_t end = ftello(file_);
    fseeko(file_, here, SEEK_SET);
    return end;
}

std::optional<FileIdentity> ByteStream::fileIdentity() const {
    struct stat facts {};
    if (!file_ || fstat(fileno(file_), &facts) != 0) return std::nullopt;
    constexpr int64_t kNsPerSecond = 1'000'000'000;
    FileIdentity identity;
    identity.device = facts.st_dev;
    identity.inode = facts.st_ino;
    identity.size = facts.st_size;
    identity.modifiedNs = int64_t{facts.st_mtim.tv_sec} * kNsPerSecond + facts.st_mtim.tv_nsec;
    identity.changedNs = int64_t{facts.st_ctim.tv_sec} * kNsPerSecond + facts.st_ctim.tv_nsec;
    return identity;
}

}  // namespace pixmill

int16_t PXLBreakLoad(void) {
    if (pixmill::breakLock.load()) return 0;
    pixmill::continueLoad = false;
    return 1;
}

int16_t PXLLockBreakLoad(int lock) {
    pixmill::breakLock = lock;
    return 1;
}
