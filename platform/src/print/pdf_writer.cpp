#include "print/pdf_writer.h"

#include <zlib.h>

#include <array>

#include "winplat/cp1250.h"

namespace winplat::print {
namespace {

constexpr int kCatalogue = 1, kPageTree = 2, kInformation = 3;
constexpr size_t kChunk = 64 * 1024;

std::string reference(int number) { return std::to_string(number) + " 0 R"; }

// A cp1250 text as a PDF text string: UTF-16BE with its byte order mark, in hexadecimal.
std::string textString(std::string_view cp1250Text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "<FEFF";
    for (const char c : cp1250Text) {
        const char32_t unit = cp1250::toUnicode(static_cast<uint8_t>(c));  // all within 16 bits
        for (const int shift : {12, 8, 4, 0}) out += kHex[(unit >> shift) & 0xF];
    }
    return out + ">";
}

// zlib's deflate state for one stream, ended together.
class Deflater {
public:
    Deflater() { ok_ = deflateInit(&stream_, Z_DEFAULT_COMPRESSION) == Z_OK; }
    ~Deflater() {
        if (ok_) deflateEnd(&stream_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    bool ok() const { return ok_; }
    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool ok_ = false;
};

}  // namespace

std::string pointsOf(int dots, int dpi) {
    // Hundredths of a point, rounded, in integers so that no locale changes the decimal point.
    const long long hundredths = (static_cast<long long>(dots) * 7200 + dpi / 2) / dpi;
    const std::string fraction = std::to_string(hundredths % 100);
    return std::to_string(hundredths / 100) + "." + (fraction.size() < 2 ? "0" : "") + fraction;
}

PdfWriter::~PdfWriter() = default;

bool PdfWriter::open(const std::string& hostPath) {
    file_.reset(std::fopen(hostPath.c_str(), "wb"));
    if (!file_) return false;
    // The binary comment tells transfer programs that the file is no text.
    write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    return !failed_;
}

int PdfWriter::newObject() {
    offsets_.push_back(0);
    return static_cast<int>(offsets_.size()) - 1;
}

void PdfWriter::beginObject(int number) {
    offsets_[static_cast<size_t>(number)] = file_ ? std::ftell(file_.get()) : 0;
    write(std::to_string(number) + " 0 obj\n");
}

void PdfWriter::write(std::string_view text) {
    if (!file_ || std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size()) failed_ = true;
}

bool PdfWriter::writeImage(const gdi::RgbImage& image, int number) {
    const int lengthObject = newObject();
    beginObject(number);
    write("<< /Type /XObject /Subtype /Image /Width " + std::to_string(image.width) + " /Height " +
          std::to_string(image.height) + " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /Length " +
          reference(lengthObject) + " >>\nstream\n");
    Deflater deflater;
    if (!deflater.ok()) return failed_ = true, false;
    z_stream& z = deflater.stream();
    const size_t stride = static_cast<size_t>(image.width) * 3;
    std::vector<uint8_t> row(stride);
    std::array<uint8_t, kChunk> out{};
    long long compressed = 0;
    for (int y = 0; y <= image.height && !failed_; ++y) {
        const bool last = y == image.height;
        if (!last) {
            const uint8_t* bgr = image.bgr.data() + static_cast<size_t>(y) * stride;
            for (size_t x = 0; x < stride; x += 3) {
                row[x] = bgr[x + 2];
                row[x + 1] = bgr[x + 1];
                row[x + 2] = bgr[x];
            }
        }
        z.next_in = row.data();
        z.avail_in = last ? 0 : static_cast<uInt>(stride);
        int status = Z_OK;
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            status = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            if (status == Z_STREAM_ERROR) return failed_ = true, false;
            const size_t produced = out.size() - z.avail_out;
            write({reinterpret_cast<const char*>(out.data()), produced});
            compressed += static_cast<long long>(produced);
        } while (z.avail_out == 0 || (last && status != Z_STREAM_END));
    }
    write("\nendstream\nendobj\n");
    beginObject(lengthObject);
    write(std::to_string(compressed) + "\nendobj\n");
    return !failed_;
}

bool PdfWriter::addPage(const gdi::RgbImage& image, int dpiX, int dpiY) {
    if (!file_ || failed_ || image.width <= 0 || image.height <= 0) return false;
    const int page = newObject(), contents = newObject(), picture = newObject();
    const std::string width = pointsOf(image.width, dpiX), height = pointsOf(image.height, dpiY);
    beginObject(page);
    write("<< /Type /Page /Parent " + reference(kPageTree) + " /MediaBox [0 0 " + width + " " + height +
          "] /Resources << /XObject << /Im0 " + reference(picture) + " >> >> /Contents " + reference(contents) +
          " >>\nendobj\n");
    const std::string drawing = "q\n" + width + " 0 0 " + height + " 0 0 cm\n/Im0 Do\nQ\n";
    beginObject(contents);
    write("<< /Length " + std::to_string(drawing.size()) + " >>\nstream\n" + drawing + "endstream\nendobj\n");
    if (!writeImage(image, picture)) return false;
    pageObjects_.push_back(page);
    return !failed_;
}

bool PdfWriter::finish(std::string_view title) {
    if (!file_) return false;
    beginObject(kPageTree);
    std::string kids;
    for (const int page : pageObjects_) kids += (kids.empty() ? "" : " ") + reference(page);
    write("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageObjects_.size()) + " >>\nendobj\n");
    beginObject(kCatalogue);
    write("<< /Type /Catalog /Pages " + reference(kPageTree) + " >>\nendobj\n");
    beginObject(kInformation);
    write("<< /Title " + textString(title) + " >>\nendobj\n");
    const long table = std::ftell(file_.get());
    write("xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f \n");
    for (size_t number = 1; number < offsets_.size(); ++number) {
        char entry[21];
        std::snprintf(entry, sizeof entry, "%010ld 00000 n \n", offsets_[number]);
        write(entry);
    }
    write("trailer\n<< /Size " + std::to_string(offsets_.size()) + " /Root " + reference(kCatalogue) + " /Info " +
          reference(kInformation) + " >>\nstartxref\n" + std::to_string(table) + "\n%%EOF\n");
    const bool closed = std::fclose(file_.release()) == 0;  // a failing close loses written data
    return closed && !failed_;
}

void PdfWriter::close() { file_.reset(); }

}  // namespace winplat::print
