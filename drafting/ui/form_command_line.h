// The command line as the main form runs it: the typed line goes to store line 0 for the
// COMMAND hook, a menu line is repeated by its place, typed 3-D points go through the view.
#ifndef LINEWORK_UI_FORM_COMMAND_LINE_H
#define LINEWORK_UI_FORM_COMMAND_LINE_H

#include <memory>

#include "ui/command_line.h"

namespace linework {

class MainForm;
class SimpleDrafting;

class FormCommandLine final : private CommandLineHooks {
public:
    FormCommandLine(MainForm& form, SimpleDrafting& drafting, CommandSurface& surface);

    CommandLine& Line() { return line_; }
    // A menu line ran: an empty Enter runs it again.
    void NoteMenuLine(int top, int item);

private:
    void SetTypedLine(std::string_view line) override;
    void RepeatMenuLine() override;
    void Beep() override;
    bool RubberBandShown() const override;
    void DrawPointMarker(Point at, uint32_t colour) override;
    bool ProjectPoint3D(double x, double y, double z, Point& out) const override;

    MainForm& form_;
    SimpleDrafting& drafting_;
    int menuTop_ = -1;
    int menuItem_ = 0;
    CommandLine line_;
};

}  // namespace linework

#endif
