#include "formats/jpeg_stream.h"

#include <algorithm>
#include <string>

#include <jerror.h>

#include "winplat/debug.h"

namespace pixmill {
namespace {

void outputMessage(j_common_ptr common) {
    char text[JMSG_LENGTH_MAX] = {};
    (*common->err->format_message)(common, text);
    const std::string line = std::string("PXL32: JPEG: ") + text + "\n";
    OutputDebugStringA(line.c_str());
}

[[noreturn]] void errorExit(j_common_ptr common) {
    (*common->err->output_message)(common);
    std::longjmp(reinterpret_cast<JpegErrors*>(common->err)->recovery, 1);
}

JpegStreamSource& sourceOf(j_decompress_ptr decoder) {
    return *reinterpret_cast<JpegStreamSource*>(decoder->src);
}

void initSource(j_decompress_ptr) {}
boolean fillInput(j_decompress_ptr decoder);

bool isRestartMarker(int marker) { return marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7; }

// Restart intervals the decoder has begun so far, from the rows of blocks it has read.
int64_t intervalsBegun(const jpeg_decompress_struct& decoder) {
    if (decoder.restart_interval == 0) return 1;
    const int64_t units = (int64_t{decoder.input_iMCU_row} + 1) * decoder.MCUs_per_row;
    return units / decoder.restart_interval + 1;
}

// A Huffman-coded interval that needs bits past a restart marker was damaged inside: the library
// pads that interval and picks up again at the marker, as it always did for damaged files. Only
// when most intervals are so damaged do the markers stand for data that are not there (a few
// bytes between markers would otherwise fill a picture of any size).
bool mostIntervalsDamaged(const jpeg_decompress_struct& decoder, JpegStreamSource& source) {
    ++source.damagedIntervals;
    return source.damagedIntervals > 2 && source.damagedIntervals * 2 > intervalsBegun(decoder);
}

// Coded data are missing when the Huffman decoder needs bits past a marker other than a restart
// marker (or past too many of those), or when the decoder warns at all once our source has made
// up the end marker (the end-of-file warning is ours and says nothing about that).
void noteMissingData(j_decompress_ptr decoder, int code) {
    JpegStreamSource& source = sourceOf(decoder);
    if (source.ended) {
        source.dataMissing = true;
    } else if (code == JWRN_HIT_MARKER) {
        if (!isRestartMarker(decoder->unread_marker) || mostIntervalsDamaged(*decoder, source)) {
            source.dataMissing = true;
        }
    }
}

void emitMessage(j_common_ptr common, int level) {
    auto* errors = reinterpret_cast<JpegErrors*>(common->err);
    const int code = errors->manager.msg_code;
    if (level < 0 && common->is_decompressor && code != JWRN_JPEG_EOF) {
        auto decoder = reinterpret_cast<j_decompress_ptr>(common);
        if (decoder->src && decoder->src->fill_input_buffer == fillInput) noteMissingData(decoder, code);
    }
    if (errors->standardEmit) errors->standardEmit(common, level);
}

boolean fillInput(j_decompress_ptr decoder) {
    JpegStreamSource& source = sourceOf(decoder);
    const auto count = static_cast<uint32_t>(std::min<int64_t>(source.available, kJpegBufferBytes));
    size_t got = count;
    if (count == 0 || !source.stream->read(source.buffer, count)) {
        WARNMS(decoder, JWRN_JPEG_EOF);
        source.ended = true;
        source.available = 0;
        source.buffer[0] = 0xFF;
        source.buffer[1] = JPEG_EOI;
        got = 2;
    } else {
        source.available -= count;
    }
    source.manager.next_input_byte = source.buffer;
    source.manager.bytes_in_buffer = got;
    return TRUE;
}

void skipInput(j_decompress_ptr decoder, long count) {
    if (count <= 0) return;
    jpeg_source_mgr& manager = sourceOf(decoder).manager;
    auto left = static_cast<size_t>(count);
    while (left > manager.bytes_in_buffer) {
        left -= manager.bytes_in_buffer;
        fillInput(decoder);
    }
    manager.next_input_byte += left;
    manager.bytes_in_buffer -= left;
}

void termSource(j_decompress_ptr) {}

// Rows of blocks past missing coded data would be made up: the decoding ends with the library's
// premature-end error, which the error exit logs.
void watchForTheEnd(j_common_ptr common) {
    auto decoder = reinterpret_cast<j_decompress_ptr>(common);
    JpegStreamSource& source = sourceOf(decoder);
    if (!source.ranOut(*decoder)) return;
    source.stoppedAtEnd = true;
    ERREXIT(decoder, JERR_INPUT_EOF);
}

JpegStreamDestination& destinationOf(j_compress_ptr encoder) {
    return *reinterpret_cast<JpegStreamDestination*>(encoder->dest);
}

void initDestination(j_compress_ptr encoder) {
    JpegStreamDestination& destination = destinationOf(encoder);
    destination.manager.next_output_byte = destination.buffer;
    destination.manager.free_in_buffer = kJpegBufferBytes;
}

boolean emptyOutput(j_compress_ptr encoder) {
    JpegStreamDestination& destination = destinationOf(encoder);
    if (!destination.stream->write(destination.buffer, kJpegBufferBytes)) ERREXIT(encoder, JERR_FILE_WRITE);
    initDestination(encoder);
    return TRUE;
}

void termDestination(j_compress_ptr encoder) {
    JpegStreamDestination& destination = destinationOf(encoder);
    const auto used = static_cast<uint32_t>(kJpegBufferBytes - destination.manager.free_in_buffer);
    if (!destination.stream->write(destination.buffer, used)) ERREXIT(encoder, JERR_FILE_WRITE);
}

}  // namespace

jpeg_error_mgr* installJpegErrors(JpegErrors& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
    manager->error_exit = errorExit;
    manager->output_message = outputMessage;
    errors.standardEmit = manager->emit_message;
    manager->emit_message = emitMessage;
    return manager;
}

void attachJpegSource(j_decompress_ptr decoder, JpegStreamSource& source, ByteStream& stream, int64_t available) {
    source.stream = &stream;
    source.available = std::max<int64_t>(available, 0);
    source.ended = false;
    source.dataMissing = false;
    source.stoppedAtEnd = false;
    source.damagedIntervals = 0;
    source.watch.progress_monitor = watchForTheEnd;
    decoder->progress = &source.watch;
    source.manager.init_source = initSource;
    source.manager.fill_input_buffer = fillInput;
    source.manager.skip_input_data = skipInput;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = termSource;
    source.manager.next_input_byte = nullptr;
    source.manager.bytes_in_buffer = 0;
    decoder->src = &source.manager;
}

void attachJpegDestination(j_compress_ptr encoder, JpegStreamDestination& destination, ByteStream& stream) {
    destination.stream = &stream;
    destination.manager.init_destination = initDestination;
    destination.manager.empty_output_buffer = emptyOutput;
    destination.manager.term_destination = termDestination;
    encoder->dest = &destination.manager;
}

}  // namespace pixmill
