// Damaged BMI pictures: every prefix of a written two-frame picture and every byte of it set to
// awkward values. Each read must end in a result code (and a load that succeeds must deliver every
// row); the sanitizers of the test build catch any access outside a buffer.
#include <set>

#include "bmi_test_support.h"

namespace {

using namespace bmi_test;
using bmp_test::Form;
using codec_test::CodecRun;

// A 24-bit 7 x 5 picture with two transparency entries and a 1-bit frame appended, as the writer
// makes it.
Bytes writtenPicture() {
    bmp_test::MemoryCallbacks memory;
    pixmill::FrameAppendState append;
    PxlTransparencyEntry entries[2] = {{1, 2, 3, 4, 0, 0, 0}, {0, 0, 5, 0, 1, 0, 0}};
    int32_t count = 2;
    for (int frame = 0; frame < 2; ++frame) {
        pixmill::PxlCodecInfo info;
        info.width = 7;
        info.height = 5;
        info.bitsPerPixel = static_cast<int16_t>(frame == 0 ? 24 : 1);
        info.wantedFrame = static_cast<int16_t>(frame);
        info.setPaletteEntry(1, 255, 255, 255);
        std::vector<Bytes> rows;
        for (int y = 0; y < 5; ++y) {
            Bytes row(stride(7, info.bitsPerPixel));
            for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(y * 31 + static_cast<int>(i) * 7);
            rows.push_back(row);
        }
        bmp_test::VectorSource source(rows);
        pixmill::ByteStream stream(&memory.callbacks);
        pixmill::CodecCall call{info, stream};
        call.source = &source;
        call.entries = entries;
        call.entryCount = &count;
        call.append = &append;
        EXPECT_EQ(pixmill::bmiSave(call), 0);
    }
    return memory.data;
}

void expectOrderly(const CodecRun& r) {
    static const std::set<int16_t> failures = {2, 3};
    if (r.infoResult != 0) {
        EXPECT_TRUE(failures.count(r.infoResult)) << "info " << r.infoResult;
        return;
    }
    EXPECT_GE(r.info.width, 1);
    EXPECT_GE(r.info.height, 1);
    if (r.loadResult == 0) {
        EXPECT_TRUE(r.sink->complete()) << "a load that succeeded left rows out";
    } else {
        EXPECT_TRUE(failures.count(r.loadResult)) << "load " << r.loadResult;
    }
    EXPECT_LE(r.entryCount, 10);
}

TEST(BmiDamage, EveryPrefixEndsInAResult) {
    const Bytes whole = writtenPicture();
    ASSERT_TRUE(readBmi(whole, Form::Callbacks).ok());
    ASSERT_TRUE(readBmi(whole, Form::Callbacks, codec_test::wantedFrame(1)).ok());
    for (Form form : {Form::File, Form::Ole, Form::Callbacks}) {
        for (size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE(std::string(bmp_test::formName(form)) + ", " + std::to_string(length) + " bytes");
            const Bytes prefix(whole.begin(), whole.begin() + static_cast<long>(length));
            for (int16_t frame : {0, 1}) {
                const CodecRun r = readBmi(prefix, form, codec_test::wantedFrame(frame));
                expectOrderly(r);
                // The appended frame is last in the file: no prefix holds all of it.
                if (frame == 1) {
                    EXPECT_FALSE(r.ok());
                }
            }
        }
    }
}

TEST(BmiDamage, EveryByteSetToAwkwardValues) {
    const Bytes whole = writtenPicture();
    for (size_t at = 0; at < whole.size(); ++at) {
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0x01}, uint8_t{0x7F}, uint8_t{0x80}, uint8_t{0xFF}}) {
            if (whole[at] == value) continue;
            SCOPED_TRACE("byte " + std::to_string(at) + " = " + std::to_string(value));
            Bytes bytes = whole;
            bytes[at] = value;
            for (int16_t frame : {0, 1}) expectOrderly(readBmi(bytes, Form::Callbacks, codec_test::wantedFrame(frame)));
        }
    }
}

// 16- and 32-bit fields at their extremes, in the header, the directory and the frame header.
TEST(BmiDamage, FieldsAtExtremes) {
    const Bytes whole = writtenPicture();
    const size_t directory = 21;
    const size_t frame = bmp_test::get32(whole, directory + 3 * 6 + 2);
    const std::pair<size_t, int> fields[] = {
        {9, 2}, {11, 2}, {13, 2}, {15, 2}, {17, 2}, {19, 2},                      // header
        {directory + 2, 4}, {directory + 8, 4}, {directory + 14, 4},             // block offsets
        {directory + 20, 4}, {directory + 26, 4}, {directory + 32, 4},
        {frame, 2}, {frame + 2, 2}, {frame + 4, 2}, {frame + 6, 2}, {frame + 10, 4}, {frame + 14, 2},
        {frame + 16, 2},                                                           // first chunk length
    };
    for (const auto& [at, width] : fields) {
        for (uint32_t value : {0u, 1u, 0x7FFFu, 0xFFFFu, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            SCOPED_TRACE("field at " + std::to_string(at) + " = " + std::to_string(value));
            Bytes bytes = whole;
            if (width == 2) {
                bmp_test::set16(bytes, at, value & 0xFFFF);
            } else {
                bmp_test::set32(bytes, at, value);
            }
            for (Form form : {Form::File, Form::Callbacks}) expectOrderly(readBmi(bytes, form));
        }
    }
}

}  // namespace
