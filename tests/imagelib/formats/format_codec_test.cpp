// The one place codecs run: what it refuses before a codec sees the call (no stream, a stream
// that is not a file where the stage needs one, no sink or source, a missing entry point), that
// running out of memory inside a codec is a result, and that every codec refuses the same
// condition with the same code and names itself and its reason.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "bmp_test_support.h"
#include "formats/bmi_codec.h"
#include "formats/bmp_codec.h"
#include "formats/format_codec.h"
#include "formats/format_table.h"
#include "formats/gif_codec.h"
#include "formats/gif_writer.h"
#include "formats/ico_codec.h"
#include "formats/jpeg_codec.h"
#include "formats/macpaint_codec.h"
#include "formats/pcx_codec.h"
#include "formats/png_codec.h"
#include "formats/targa_codec.h"
#include "formats/tiff_codec.h"
#include "formats/wpg_codec.h"
#include "winplat/testing.h"

namespace {

using bmp_test::Bytes;
using bmp_test::CollectingSink;
using bmp_test::MemoryCallbacks;
using bmp_test::VectorSource;
using pixmill::CodecCall;
using pixmill::CodecStage;
using pixmill::FileNeed;
using pixmill::FormatCodec;

// ---- the dispatcher on a codec of its own ----

int calls = 0;

int16_t counted(CodecCall&) {
    ++calls;
    return pixmill::kCodecOk;
}

int16_t exhausted(CodecCall&) { throw std::bad_alloc(); }

constexpr FormatCodec kFilesOnly{winplat::Refuser("PXL32: test"), nullptr, pixmill::Recognition::Signature,
                                 counted, counted, counted, FileNeed::Always};
constexpr FormatCodec kReadsFiles{winplat::Refuser("PXL32: test"), nullptr, pixmill::Recognition::Signature,
                                  counted, counted, counted, FileNeed::ToRead};
constexpr FormatCodec kAnyStream{winplat::Refuser("PXL32: test"), nullptr, pixmill::Recognition::Signature,
                                 counted, counted, nullptr, FileNeed::None};
constexpr FormatCodec kNoMemory{winplat::Refuser("PXL32: test"), nullptr, pixmill::Recognition::Signature,
                                exhausted, exhausted, exhausted, FileNeed::None};

struct StageRun {
    int16_t result = -1;
    int calls = 0;
    std::string debug;
};

// Runs a stage on a callback stream (or none), with a sink and source unless told otherwise.
StageRun runOn(const FormatCodec& codec, CodecStage stage, bool stream, bool rows = true) {
    pixmill::PxlCodecInfo info;
    MemoryCallbacks memory;
    pixmill::ByteStream callbacks(&memory.callbacks);
    pixmill::ByteStream none;
    CodecCall call{info, stream ? callbacks : none};
    CollectingSink sink(pixmill::RowLayout{8, 4, 1, 1});
    VectorSource source({Bytes(4, 0)});
    if (rows) {
        call.sink = &sink;
        call.source = &source;
    }
    winplat::testing::DebugCapture debug;
    calls = 0;
    StageRun r;
    r.result = pixmill::runCodecStage(codec, stage, call);
    r.calls = calls;
    r.debug = debug.text();
    return r;
}

TEST(CodecDispatch, RefusesWhatAStageCannotWorkWithBeforeTheCodecSeesIt) {
    struct Case {
        const char* name;
        const FormatCodec& codec;
        CodecStage stage;
        bool stream;
        bool rows;
        int16_t expected;
        const char* reason;
    };
    const Case cases[] = {
        {"no stream", kAnyStream, CodecStage::Info, false, true, pixmill::kCodecBadFormat, "no stream"},
        {"a reader of files on a stream", kFilesOnly, CodecStage::Info, true, true, pixmill::kCodecBadFormat,
         "needs a file"},
        {"a loader of files on a stream", kReadsFiles, CodecStage::Load, true, true, pixmill::kCodecBadFormat,
         "needs a file"},
        {"a writer of files on a stream", kFilesOnly, CodecStage::Save, true, true,
         pixmill::kCodecCannotCreate, "needs a file"},
        {"a load without a sink", kAnyStream, CodecStage::Load, true, false, pixmill::kCodecBadFormat,
         "row sink"},
        {"a save without a source", kReadsFiles, CodecStage::Save, true, false, pixmill::kCodecBadFormat,
         "row source"},
        {"a format without a writer", kAnyStream, CodecStage::Save, true, true, pixmill::kCodecCannotCreate,
         "read only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StageRun r = runOn(c.codec, c.stage, c.stream, c.rows);
        EXPECT_EQ(r.result, c.expected);
        EXPECT_EQ(r.calls, 0);
        EXPECT_NE(r.debug.find(std::string("PXL32: test: refused: ")), std::string::npos) << r.debug;
        EXPECT_NE(r.debug.find(c.reason), std::string::npos) << r.debug;
    }
}

TEST(CodecDispatch, RunsTheStagesAStreamServes) {
    EXPECT_EQ(runOn(kAnyStream, CodecStage::Info, true).calls, 1);
    EXPECT_EQ(runOn(kAnyStream, CodecStage::Load, true).calls, 1);
    // A writer that reads only files still writes any stream.
    const StageRun save = runOn(kReadsFiles, CodecStage::Save, true);
    EXPECT_EQ(save.result, pixmill::kCodecOk);
    EXPECT_EQ(save.calls, 1);
    EXPECT_EQ(save.debug, "");
}

TEST(CodecDispatch, RunningOutOfMemoryInACodecIsItsResult) {
    for (CodecStage stage : {CodecStage::Info, CodecStage::Load, CodecStage::Save}) {
        const StageRun r = runOn(kNoMemory, stage, true);
        EXPECT_EQ(r.result, pixmill::kCodecNoMemory);
        EXPECT_NE(r.debug.find("PXL32: test: refused: out of memory"), std::string::npos) << r.debug;
    }
}

// ---- every codec of the table ----

struct RealCodec {
    const char* name;  // as it names itself in the debug output
    pixmill::CodecFn info;
    pixmill::CodecFn load;
    pixmill::CodecFn save;
    FileNeed need;
};

const RealCodec kCodecs[] = {
    {"PCX", pixmill::pcxInfo, pixmill::pcxLoad, pixmill::pcxSave, FileNeed::Always},
    {"GIF", pixmill::gifInfo, pixmill::gifLoad, pixmill::gifSave, FileNeed::ToRead},
    {"TIFF", pixmill::tiffInfo, pixmill::tiffLoad, pixmill::tiffSave, FileNeed::ToRead},
    {"BMP", pixmill::bmpInfo, pixmill::bmpLoad, pixmill::bmpSave, FileNeed::None},
    {"WPG", pixmill::wpgInfo, pixmill::wpgLoad, pixmill::wpgSave, FileNeed::Always},
    {"ICO", pixmill::icoInfo, pixmill::icoLoad, pixmill::icoSave, FileNeed::Always},
    {"MacPaint", pixmill::macPaintInfo, pixmill::macPaintLoad, pixmill::macPaintSave, FileNeed::Always},
    {"Targa", pixmill::targaInfo, pixmill::targaLoad, pixmill::targaSave, FileNeed::Always},
    {"JPEG", pixmill::jpegInfo, pixmill::jpegLoad, pixmill::jpegSave, FileNeed::ToRead},
    {"PNG", pixmill::pngInfo, pixmill::pngLoad, pixmill::pngSave, FileNeed::ToRead},
    {"BMI", pixmill::bmiInfo, pixmill::bmiLoad, pixmill::bmiSave, FileNeed::None},
};

TEST(FormatTable, EveryCodecHasItsRowAndEveryReadFormatItsCodec) {
    int withCodec = 0;
    for (const pixmill::FormatTableRow& row : pixmill::formatTable()) {
        SCOPED_TRACE(row.extension);
        if (!row.codec || !row.codec->reads()) continue;
        ++withCodec;
        EXPECT_NE(row.codec->recognises, nullptr);
        EXPECT_NE(row.codec->refuse.who().find("PXL32: "), std::string_view::npos);
    }
    EXPECT_EQ(withCodec, static_cast<int>(std::size(kCodecs)));
}

TEST(CodecRefusals, EveryCodecRefusesAStreamItCannotReadWithTheSameCode) {
    for (const RealCodec& c : kCodecs) {
        if (c.need == FileNeed::None) continue;
        SCOPED_TRACE(c.name);
        for (pixmill::CodecFn entry : {c.info, c.load}) {
            pixmill::PxlCodecInfo info;
            MemoryCallbacks memory;
            memory.data = Bytes(64, 0);
            pixmill::ByteStream stream(&memory.callbacks);
            CodecCall call{info, stream};
            CollectingSink sink(pixmill::RowLayout{8, 4, 1, 1});
            call.sink = &sink;
            winplat::testing::DebugCapture debug;
            EXPECT_EQ(entry(call), pixmill::kCodecBadFormat);
            EXPECT_TRUE(debug.contains(std::string("PXL32: ") + c.name + ": refused: the codec needs a file"))
                << debug.text();
            EXPECT_EQ(memory.position, 0);
        }
    }
}

// A file of 32 zero bytes is none of the formats: each reader refuses it, naming itself and why.
TEST(CodecRefusals, EveryReaderNamesItselfAndItsReason) {
    bmp_test::TempFolder folder;
    bmp_test::writeFile(folder.file("zeros"), Bytes(32, 0));
    for (const RealCodec& c : kCodecs) {
        SCOPED_TRACE(c.name);
        pixmill::ByteStream file;
        ASSERT_TRUE(file.openFile(bmp_test::windowsPath(folder.file("zeros")).c_str(), "rb"));
        pixmill::PxlCodecInfo info;
        CodecCall call{info, file};
        winplat::testing::DebugCapture debug;
        EXPECT_NE(c.info(call), pixmill::kCodecOk);
        const std::string prefix = std::string("PXL32: ") + c.name + ": refused: ";
        const size_t at = debug.text().find(prefix);
        ASSERT_NE(at, std::string::npos) << debug.text();
        // A reason follows, then where it was decided.
        const std::string rest = debug.text().substr(at + prefix.size());
        EXPECT_GT(rest.find(" ["), 4u) << rest;
        EXPECT_NE(rest.find("_codec.cpp:"), std::string::npos) << rest;
    }
}

TEST(CodecRefusals, WritersThatNeedAFileRefuseAStreamWithoutWritingToIt) {
    for (const RealCodec& c : kCodecs) {
        if (c.need != FileNeed::Always) continue;
        SCOPED_TRACE(c.name);
        pixmill::PxlCodecInfo info;
        info.width = info.height = 1;
        info.bitsPerPixel = 1;
        MemoryCallbacks memory;
        pixmill::ByteStream stream(&memory.callbacks);
        VectorSource source({Bytes(4, 0)});
        CodecCall call{info, stream};
        call.source = &source;
        winplat::testing::DebugCapture quiet;
        EXPECT_EQ(c.save(call), pixmill::kCodecCannotCreate);
        EXPECT_TRUE(memory.data.empty());
    }
}

}  // namespace
