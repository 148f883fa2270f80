// A profile file as its lines, read and changed in place so that everything a write does not
// touch (comments, blank lines, lines that are neither sections nor keys, line ends) stays.
#ifndef WINPLAT_SRC_PROFILE_INI_TEXT_H
#define WINPLAT_SRC_PROFILE_INI_TEXT_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winplat::profile {

class IniText {
public:
    explicit IniText(std::string_view text);
    std::string text() const;

    std::vector<std::string> sectionNames() const;
    // Every key of the section in file order; empty when the section is missing.
    std::vector<std::string> keyNames(std::string_view section) const;
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // Whether anything was removed.
    bool eraseKey(std::string_view section, std::string_view key);
    bool eraseSection(std::string_view section);

private:
    // Where a section's lines lie: its header, and the line after its last one.
    struct Span {
        size_t header;
        size_t end;
    };
    // A line's text and what ended it in the file: "\n", "\r\n", or for the last line also "\r"
    // or nothing.
    struct Line {
        std::string text;
        std::string end;
    };
    std::optional<Span> findSection(std::string_view section) const;
    std::optional<size_t> findKey(const Span& span, std::string_view key) const;
    // Before a line is added after the last one: the last line gets a whole line end if it has none.
    void endLastLine();
    // Lines [from, to); when the last goes, the line before it takes its end, so a file that ended
    // without a line end still does.
    void eraseLines(size_t from, size_t to);

    std::vector<Line> lines_;
    std::string lineEnd_ = "\r\n";  // the first line's, given to the lines a write adds
};

}  // namespace winplat::profile

#endif
