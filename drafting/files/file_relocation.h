// Finding a file a drawing names that is not where the drawing says: the user is asked through
// the platform's open dialog; the batch runner and tests that do not answer cancel.
#ifndef LINEWORK_FILES_FILE_RELOCATION_H
#define LINEWORK_FILES_FILE_RELOCATION_H

#include <string>
#include <string_view>

namespace linework {

class FileRelocator {
public:
    virtual ~FileRelocator() = default;
    // The file chosen (a Windows name), or empty when the user gave up. 'title' heads the
    // dialog, 'extension' (with its dot) makes its filter.
    virtual std::string AskForFile(std::string_view title, std::string_view extension) = 0;
};

// Always gives up: batch mode.
FileRelocator& CancelRelocation();

// Asks through GetOpenFileNameA, starting in the folder of the last answer.
class OpenDialogRelocator : public FileRelocator {
public:
    std::string AskForFile(std::string_view title, std::string_view extension) override;

private:
    std::string folder_;
};

}  // namespace linework

#endif
