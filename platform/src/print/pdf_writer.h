// The "PDF" printer's file: a PDF 1.4 document whose every page is one RGB image, Flate
// compressed through zlib, shown at the page's size in points. Objects are written as pages come;
// the page tree, the catalogue, the document's information and the cross-reference table close
// the file at the end.
#ifndef WINPLAT_SRC_PRINT_PDF_WRITER_H
#define WINPLAT_SRC_PRINT_PDF_WRITER_H

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gdi/png_output.h"

namespace winplat::print {

class PdfWriter {
public:
    PdfWriter() = default;
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // Starts the file; false when it cannot be made.
    bool open(const std::string& hostPath);
    // Appends a page showing the image at dpiX x dpiY dots an inch; false when a write failed
    // (the file is then beyond repair and finish fails).
    bool addPage(const gdi::RgbImage& image, int dpiX, int dpiY);
    // Ends the file with the document's title (cp1250) and closes it; false when any write of the
    // file failed.
    bool finish(std::string_view title);
    // Closes the file unfinished.
    void close();
    int pages() const { return static_cast<int>(pageObjects_.size()); }

private:
    struct CloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    int newObject();
    void beginObject(int number);
    void write(std::string_view text);
    bool writeImage(const gdi::RgbImage& image, int number);

    std::unique_ptr<std::FILE, CloseFile> file_;
    std::vector<long> offsets_{0, 0, 0, 0};  // by object number; 1 catalogue, 2 pages, 3 information
    std::vector<int> pageObjects_;
    bool failed_ = false;
};

// dots at dpi in points, with two decimals ("595.28").
std::string pointsOf(int dots, int dpi);

}  // namespace winplat::print

#endif
