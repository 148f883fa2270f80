#include "print/print_document.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "files/state_folder.h"
#include "winplat/cp1250.h"
#include "winplat/paths.h"
#include "winplat/refusal.h"

namespace winplat::print {
namespace {

constexpr Refuser refuse("winplat: printing");
constexpr int kMostNumbers = 9999;
namespace fs = std::filesystem;

// A document's name as a file name: no separators or controls; "dokument" when nothing is left.
std::string safeName(const char* documentName) {
    std::string name;
    for (const char c : std::string_view(documentName ? documentName : "")) {
        const bool bad = static_cast<unsigned char>(c) < 32 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        name += bad ? '_' : c;
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    return name.empty() ? std::string("dokument") : cp1250::toUtf8(name);
}

bool stemTaken(const std::string& stem) {
    std::error_code error;
    return fs::exists(stem + ".pdf", error) || fs::exists(stem + "-001.png", error);
}

// Writes to a file beside the target and renames it over the target once whole.
bool replaceWith(const std::string& work, const std::string& target) {
    std::error_code error;
    fs::rename(work, target, error);
    if (error) fs::remove(work, error);
    return !error;
}

}  // namespace

std::optional<std::string> outputStem(const char* output, const char* documentName) {
    if (output && *output) {
        const auto host = files::resolve(output, true);
        if (!host) return refuse(std::optional<std::string>{}, std::string("no place for the output ") + output);
        const fs::path path(*host);
        return (path.parent_path() / path.stem()).string();
    }
    const std::string folder = files::stateFolder() + "/printer";
    if (!files::ensureFolder(folder)) return refuse(std::optional<std::string>{}, "the printer folder cannot be made");
    const std::string base = folder + "/" + safeName(documentName);
    if (!stemTaken(base)) return base;
    for (int number = 2; number <= kMostNumbers; ++number) {
        const std::string stem = base + " (" + std::to_string(number) + ")";
        if (!stemTaken(stem)) return stem;
    }
    return refuse(std::optional<std::string>{}, "too many printed documents of that name");
}

std::unique_ptr<PrintDocument> PrintDocument::begin(std::string printer, std::string name, std::string stem) {
    std::unique_ptr<PrintDocument> document(new PrintDocument(std::move(printer), std::move(name), std::move(stem)));
    if (document->printer_ == "PDF" && !document->pdf_.open(document->pdfWorkName())) {
        return refuse(std::unique_ptr<PrintDocument>{}, "the file " + document->pdfWorkName() + " cannot be made");
    }
    return document;
}

PrintDocument::~PrintDocument() {
    if (!ended_) abort();
}

std::string PrintDocument::pngName(int page) const {
    char number[24];  // room for any int, so the name is never cut
    std::snprintf(number, sizeof number, "-%03d.png", page);
    return stem_ + number;
}

bool PrintDocument::printPage(const gdi::RgbImage& page, int dpiX, int dpiY) {
    pageOpen_ = false;
    const int number = pagesPrinted_ + 1;
    if (printer_ == "PDF") {
        if (!pdf_.addPage(page, dpiX, dpiY)) return refuse(false, "page " + std::to_string(number) + " cannot be written");
    } else {
        const std::string target = pngName(number), work = target + ".part";
        if (!gdi::writeImage(page, work.c_str()) || !replaceWith(work, target)) {
            return refuse(false, "the page file " + target + " cannot be written");
        }
        written_.push_back(target);
    }
    pagesPrinted_ = number;
    return true;
}

bool PrintDocument::end() {
    ended_ = true;
    if (printer_ != "PDF") return true;
    if (!pdf_.finish(name_) || !replaceWith(pdfWorkName(), pdfName())) {
        std::error_code error;
        fs::remove(pdfWorkName(), error);
        return refuse(false, "the file " + pdfName() + " cannot be finished");
    }
    written_.push_back(pdfName());
    return true;
}

void PrintDocument::abort() {
    ended_ = true;
    pdf_.close();
    std::error_code error;
    if (printer_ == "PDF") fs::remove(pdfWorkName(), error);
    for (const std::string& file : written_) fs::remove(file, error);
    written_.clear();
}

}  // namespace winplat::print
