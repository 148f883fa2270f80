// Shows the form library's demonstration form on the host the environment chooses, e.g.
//     WINPLAT_HOST=sdl ./forms_demo
//     WINPLAT_HOST=headless WINPLAT_INPUT=clicks.txt WINPLAT_SNAPSHOT=shot.png ./forms_demo
// It ends when the form closes.
#include "demo_form.h"
#include "winplat/host.h"

int main() {
    winplat::host::Session host;
    if (!host.ok()) return 2;
    winforms::Application app;
    app.SetTitle("forms_demo");
    forms_demo::buildDemoForm(app);
    app.Run();
    return 0;
}
