// The numbered system variables as one memory image: 69 byte switches, a 3-byte gap, 698 signed
// 32-bit integers and 732 doubles, little-endian, each at its natural width. A drawing file's
// setting blocks are slices of this image, byte for byte, so the layout is a file format:
//
//   offset    0  byte switches 0..68          script numbers    0..68
//   offset   72  integers 0..697               script numbers   69..766
//   offset 2864  doubles 0..731                script numbers  767..1498
//   total  8720 bytes
//
//   setting block S1 = byte switches 57..68   (offset   57, 12 bytes)
//   setting block S2 = integers 368..697      (offset 1544, 1320 bytes)
//   setting block S3 = doubles 561..731       (offset 7352, 1368 bytes)
//
// This class is the storage alone, which the program's own code reads and writes directly;
// AccessSystemVariable (script/system_variables.h) is the scripts' gate with its rules.
#ifndef LINEWORK_DRAWING_SYSTEM_VARIABLE_IMAGE_H
#define LINEWORK_DRAWING_SYSTEM_VARIABLE_IMAGE_H

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>

namespace linework {

class SystemVariableImage {
public:
    static constexpr int32_t kByteCount = 69;
    static constexpr int32_t kIntegerCount = 698;
    static constexpr int32_t kDoubleCount = 732;
    static constexpr size_t kIntegerOffset = 72;  // after the 3-byte gap that aligns the integers
    static constexpr size_t kDoubleOffset = kIntegerOffset + 4 * kIntegerCount;
    static constexpr size_t kSize = kDoubleOffset + 8 * kDoubleCount;

    // Script numbers of the first integer and the first double; the last number.
    static constexpr int32_t kFirstIntegerNumber = kByteCount;
    static constexpr int32_t kFirstDoubleNumber = kByteCount + kIntegerCount;
    static constexpr int32_t kLastNumber = kFirstDoubleNumber + kDoubleCount - 1;

    // The setting blocks of a drawing file: where they lie in the image and how long they are.
    struct Block {
        size_t offset;
        size_t size;
    };
    static constexpr Block kS1{57, 12};
    static constexpr Block kS2{kIntegerOffset + 4 * 368, 4 * 330};
    static constexpr Block kS3{kDoubleOffset + 8 * 561, 8 * 171};

    // Element k of each array; the index must be valid (the program's own code).
    uint8_t Byte(int32_t k) const { return image_[Checked(k, kByteCount)]; }
    void SetByte(int32_t k, uint8_t value) { image_[Checked(k, kByteCount)] = value; }
    int32_t Integer(int32_t k) const { return Load<int32_t>(kIntegerOffset + 4 * Checked(k, kIntegerCount)); }
    void SetInteger(int32_t k, int32_t value) { Store(kIntegerOffset + 4 * Checked(k, kIntegerCount), value); }
    double Double(int32_t k) const { return Load<double>(kDoubleOffset + 8 * Checked(k, kDoubleCount)); }
    void SetDouble(int32_t k, double value) { Store(kDoubleOffset + 8 * Checked(k, kDoubleCount), value); }

    std::span<uint8_t, kSize> Bytes() { return image_; }
    std::span<const uint8_t, kSize> Bytes() const { return image_; }
    std::span<uint8_t> BlockBytes(Block block) { return std::span<uint8_t>(image_).subspan(block.offset, block.size); }

private:
    // An index outside its array is a fault of our own code: it stops here, never writes beside.
    static size_t Checked(int32_t k, int32_t count) {
        if (k < 0 || k >= count) __builtin_trap();
        return static_cast<size_t>(k);
    }
    // The host is little-endian (x86-64 and the like), as the image is.
    template <class T>
    T Load(size_t offset) const {
        T value;
        std::memcpy(&value, image_.data() + offset, sizeof value);
        return value;
    }
    template <class T>
    void Store(size_t offset, T value) {
        std::memcpy(image_.data() + offset, &value, sizeof value);
    }

    std::array<uint8_t, kSize> image_{};
};

static_assert(SystemVariableImage::kSize == 8720);
static_assert(std::endian::native == std::endian::little, "the image is the file's little-endian bytes");

}  // namespace linework

#endif
