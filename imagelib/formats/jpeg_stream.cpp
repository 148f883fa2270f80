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

// Coded data are missing when the Huffman decoder needs bits past a marker, or when the decoder
// warns at all once our source has made up the end marker (the end-of-file warning is ours and
// says nothing about that).
void emitMessage(j_common_ptr common, int level) {
    auto* errors = reinterpret_cast<JpegErrors*>(common->err);
    const int code = errors->manager.msg_code;
    if (level < 0 && common->is_decompressor && code != JWRN_JPEG_EOF) {
        auto decoder = reinterpret_cast<j_decompress_ptr>(common);
        if (decoder->src && decoder->src->fill_input_buffer == fillInput &&
            (code == JWRN_HIT_MARKER || sourceOf(decoder).ended)) {
            sourceOf(decoder).dataMissing = true;
        }
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
