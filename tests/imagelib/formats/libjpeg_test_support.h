// Files made and read through libjpeg itself in the tests, so that the codec meets pictures it did
// not write (colour spaces, sampling, progressive scans, restart markers) and its results can be
// compared with the library's own decoding.
#ifndef PIXMILL_TESTS_LIBJPEG_TEST_SUPPORT_H
#define PIXMILL_TESTS_LIBJPEG_TEST_SUPPORT_H

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>  // before jpeglib.h, which uses FILE
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace libjpeg_test {

using Bytes = std::vector<uint8_t>;

// A library error jumps back to the call that set 'back'.
struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

inline jpeg_error_mgr* jumpingErrors(Errors& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
    manager->error_exit = [](j_common_ptr common) {
        std::longjmp(reinterpret_cast<Errors*>(common->err)->back, 1);
    };
    return manager;
}

struct Compression {
    int width = 0;
    int height = 0;
    int components = 3;
    J_COLOR_SPACE space = JCS_RGB;  // of the rows handed over
    bool keepSpace = false;         // stored in 'space' itself, not in libjpeg's choice for it
    int quality = 90;
    bool fullChroma = false;  // every component at full resolution (no subsampling)
    bool progressive = false;
    int restartRows = 0;  // a restart marker every so many rows of blocks (0: none)
};

// Writes row y's width * components samples into row.
using RowWriter = std::function<void(int y, uint8_t* row)>;

// The file libjpeg makes of the rows; empty on a library error.
inline Bytes compress(const Compression& settings, const RowWriter& rowAt) {
    jpeg_compress_struct c{};
    Errors errors{};
    c.err = jumpingErrors(errors);
    Bytes row(static_cast<size_t>(settings.width) * static_cast<size_t>(settings.components));
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&c);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(settings.width);
    c.image_height = static_cast<JDIMENSION>(settings.height);
    c.input_components = settings.components;
    c.in_color_space = settings.space;
    jpeg_set_defaults(&c);
    if (settings.keepSpace) jpeg_set_colorspace(&c, settings.space);
    if (settings.fullChroma) {
        for (int i = 0; i < c.num_components; ++i)
            c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    }
    jpeg_set_quality(&c, settings.quality, TRUE);
    if (settings.progressive) jpeg_simple_progression(&c);
    c.restart_in_rows = settings.restartRows;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        rowAt(static_cast<int>(c.next_scanline), row.data());
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&c, &rows, 1);
    }
    jpeg_finish_compress(&c);
    Bytes file(buffer, buffer + size);
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return file;
}

// The same from samples stored row after row.
inline Bytes compress(const Compression& settings, const Bytes& samples) {
    const size_t rowBytes = static_cast<size_t>(settings.width) * static_cast<size_t>(settings.components);
    return compress(settings, [&](int y, uint8_t* row) {
        const auto from = samples.begin() + static_cast<long>(static_cast<size_t>(y) * rowBytes);
        std::copy(from, from + static_cast<long>(rowBytes), row);
    });
}

// The samples libjpeg decodes from a file with the codec's settings, in the given output space;
// empty on a library error.
inline Bytes decompress(const Bytes& file, J_COLOR_SPACE out, int& width, int& height) {
    jpeg_decompress_struct d{};
    Errors errors{};
    d.err = jumpingErrors(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&d);
        return {};
    }
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = out;
    d.dct_method = JDCT_IFAST;
    d.do_fancy_upsampling = FALSE;
    d.do_block_smoothing = FALSE;
    jpeg_start_decompress(&d);
    width = static_cast<int>(d.output_width);
    height = static_cast<int>(d.output_height);
    const size_t rowBytes = size_t{d.output_width} * static_cast<size_t>(d.output_components);
    Bytes samples(rowBytes * d.output_height);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = samples.data() + rowBytes * d.output_scanline;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return samples;
}

}  // namespace libjpeg_test

#endif
