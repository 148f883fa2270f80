// A document printed on a virtual printer, kept with its printer DC from StartDocA to EndDoc or
// AbortDoc: its printer, where its files go, which it wrote, and the page in progress.
#ifndef WINPLAT_SRC_PRINT_PRINT_DOCUMENT_H
#define WINPLAT_SRC_PRINT_PRINT_DOCUMENT_H

#include <optional>
#include <string>
#include <vector>

#include <memory>
#include "gdi/png_output.h"
#include "print/pdf_writer.h"

namespace winplat::print {

class PrintDocument {
public:
    // Starts a document for the printer ("PNG" or "PDF") whose files are named from 'stem' (a host
    // path without extension); none when the PDF file cannot be begun.
    static std::unique_ptr<PrintDocument> begin(std::string printer, std::string name, std::string stem);
    // What was not ended goes: its files are removed.
    ~PrintDocument();
    PrintDocument(const PrintDocument&) = delete;
    PrintDocument& operator=(const PrintDocument&) = delete;

    bool pageOpen() const { return pageOpen_; }
    void openPage() { pageOpen_ = true; }
    // Prints the page's pixels; false when they cannot be written.
    bool printPage(const gdi::RgbImage& page, int dpiX, int dpiY);
    // Finishes the files; false when the PDF could not be finished (it is removed then).
    bool end();
    // Removes what was written.
    void abort();
    int pagesPrinted() const { return pagesPrinted_; }
    const std::string& name() const { return name_; }

private:
    PrintDocument(std::string printer, std::string name, std::string stem)
        : printer_(std::move(printer)), name_(std::move(name)), stem_(std::move(stem)) {}

    std::string pngName(int page) const;
    std::string pdfName() const { return stem_ + ".pdf"; }
    std::string pdfWorkName() const { return stem_ + ".pdf.part"; }

    std::string printer_;
    std::string name_;  // cp1250
    std::string stem_;
    PdfWriter pdf_;
    std::vector<std::string> written_;
    bool pageOpen_ = false;
    bool ended_ = false;
    int pagesPrinted_ = 0;
};

// The stem of a document's files: the output's host path without its extension, else the
// document's name (made a safe file name) in "<state>/printer", numbered when files of that stem
// are there already. None when the output names no place we can write to.
std::optional<std::string> outputStem(const char* output, const char* documentName);

}  // namespace winplat::print

#endif
