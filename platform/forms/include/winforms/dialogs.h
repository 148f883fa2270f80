// Dialog components over the platform's common dialogs: open and save file names, print and
// printer setup. Each Execute shows its dialog modally and says whether the user chose OK.
#ifndef WINFORMS_DIALOGS_H
#define WINFORMS_DIALOGS_H

#include <string>

#include "winforms/component.h"
#include "winforms/graphics.h"
#include "winplat/commdlg.h"

namespace winforms {

class WINFORMS_API FileDialog : public Component {
public:
    // The path chosen, or to start with (cp1250).
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }
    // Pairs of description and patterns separated by '|': "Kresby|*.LKD|Vše|*.*".
    const std::string& Filter() const { return filter_; }
    void SetFilter(std::string filter) { filter_ = std::move(filter); }
    // 1 for the first pair; the one chosen after Execute.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(std::string ext) { defaultExt_ = std::move(ext); }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(std::string dir) { initialDir_ = std::move(dir); }
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    // OFN_ flags added to the dialog's own.
    DWORD Options() const { return options_; }
    void SetOptions(DWORD options) { options_ = options; }
    bool Execute();

protected:
    FileDialog(Component* owner, bool save) : Component(owner), save_(save) {}

private:
    std::string fileName_, filter_, defaultExt_, initialDir_, title_;
    int filterIndex_ = 1;
    DWORD options_ = 0;
    bool save_;
};

class WINFORMS_API OpenDialog : public FileDialog {
public:
    explicit OpenDialog(Component* owner) : FileDialog(owner, false) {}
};

class WINFORMS_API SaveDialog : public FileDialog {
public:
    explicit SaveDialog(Component* owner) : FileDialog(owner, true) {}
};

// The print dialog; the printer chosen becomes the one Printer prints on.
class WINFORMS_API PrintDialog : public Component {
public:
    explicit PrintDialog(Component* owner) : Component(owner) {}
    int Copies() const { return copies_; }
    void SetCopies(int copies) { copies_ = copies; }
    bool Execute();

protected:
    bool Run(DWORD flags);

private:
    int copies_ = 1;
};

class WINFORMS_API PrinterSetupDialog : public PrintDialog {
public:
    explicit PrinterSetupDialog(Component* owner) : PrintDialog(owner) {}
    bool Execute();
};

}  // namespace winforms

#endif
