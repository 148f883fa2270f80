// The fonts an open document carries in its companion font file ("<document>.lnf"): installed for
// this process while the document is open, removed when it closes.
//
// Every font file and its scalable resource file lie in a folder that installing creates for
// itself in the temporary folder (a new name, never one that existed before), each created anew
// there, so no other program's file or link can stand in for them; names come from the running
// number alone ("lnef0012.ttr" and ".for"), never from the document. The bytes are the document's
// and are not trusted: a file the font layer does not take as a font is dropped with its files.
#ifndef LECT32_TEXT_EMBEDDED_FONTS_H
#define LECT32_TEXT_EMBEDDED_FONTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "text/char_format.h"
#include "text/embedded_font_table.h"

namespace lect32 {

class EmbeddedFonts {
public:
    EmbeddedFonts() = default;
    ~EmbeddedFonts() { Remove(); }
    EmbeddedFonts(const EmbeddedFonts&) = delete;
    EmbeddedFonts& operator=(const EmbeddedFonts&) = delete;

    // Installs the fonts of the document's companion file (whatever was installed before is
    // removed first). 1 when the table was processed; 0 for no document, no companion file, no
    // font table or a font record that cannot be read (then nothing stays installed).
    int Install(const char* documentPath);
    // Removes every installed font and deletes its files and the folder.
    void Remove();

    // The installed entry answering the format's font, weight class and italic flag, or null.
    const EmbeddedFontEntry* Find(const CharFormat& format) const;

    uint16_t installedCount() const { return installedCount_; }
    // The files given to AddFontResourceA, and the font files behind resource files.
    const std::vector<std::string>& installedFiles() const { return installed_; }
    const std::vector<std::string>& extraFiles() const { return extra_; }
    // The private folder while fonts are installed, else empty.
    const std::string& folder() const { return folder_; }

private:
    bool MakeFolder();
    // Writes font n (from 0) and registers it; false (its files deleted) when either fails.
    bool InstallOne(int n, const uint8_t* bytes, uint32_t size);
    bool RegisterThroughResource(const std::string& fontFile, const std::string& resourceFile);
    std::string FileName(int number, const char* extension) const;

    EmbeddedFontTable table_;
    std::vector<std::string> installed_;
    std::vector<std::string> extra_;
    std::string folder_;
    uint16_t installedCount_ = 0;
};

// The process-wide fonts of the open document.
EmbeddedFonts& GetEmbeddedFonts();
int InstallEmbeddedFonts(const char* documentPath);
void RemoveEmbeddedFonts();

}  // namespace lect32

#endif
