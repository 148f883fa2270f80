#include "ui/program.h"

#include <cstdio>

#include "ui/main_form.h"
#include "ui/picker_form.h"
#include "ui/program_folder.h"
#include "winplat/host.h"

namespace linework {

namespace {
winforms::Form& AuxiliaryForm(winforms::Application& application, const char* name, const char* caption) {
    winforms::Form& form = application.CreateForm<winforms::Form>();
    form.SetName(name);
    form.SetCaption(caption);
    return form;
}
}  // namespace

LineworkForms CreateLineworkForms(winforms::Application& application, const std::string& programFolder) {
    application.SetTitle("Linework");
    LineworkForms forms;
    forms.main = &application.CreateForm<MainForm>(MainFormSetup{programFolder, nullptr});
    forms.picker = &application.CreateForm<PickerForm>();
    forms.scriptDialog = &AuxiliaryForm(application, "Form3", "LKP dialog");
    forms.systemDialog = &AuxiliaryForm(application, "Form4", "System dialog");
    forms.main->SetPickerForm(*forms.picker);
    return forms;
}

int RunLinework() {
    winplat::host::Session host;
    if (!host.ok()) return 2;
    const std::string folder = ProgramFolderHostPath();
    if (folder.empty() || InstallKit(KitFolderHostPath(), folder) < 0) {
        std::fprintf(stderr, "Linework: no writable program folder (set LINEWORK_HOME)\n");
        return 1;
    }
    winforms::Application application;
    CreateLineworkForms(application, WindowsFolder(folder));
    application.Run();
    return 0;
}

}  // namespace linework
