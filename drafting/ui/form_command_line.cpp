#include "ui/form_command_line.h"

#include "ui/main_form.h"
#include "ui/simple_drafting.h"

namespace linework {

FormCommandLine::FormCommandLine(MainForm& form, SimpleDrafting& drafting, CommandSurface& surface)
    : form_(form),
      drafting_(drafting),
      line_(CommandLinePorts{drafting.Commands(), surface, drafting.Selection(), *this, form.Engine().image,
                             form.Engine().drawing, form.Engine().numberInput.grammar}) {}

void FormCommandLine::NoteMenuLine(int top, int item) {
    menuTop_ = top;
    menuItem_ = item;
    line_.SetLastCommandCode(last_command::kMenuLine);
}

void FormCommandLine::SetTypedLine(std::string_view line) { form_.Engine().store.SetLine(0, line); }

void FormCommandLine::RepeatMenuLine() {
    if (menuTop_ >= 0) form_.RunMenuLine(menuTop_, menuItem_);
}

void FormCommandLine::Beep() { MessageBeep(0); }

bool FormCommandLine::RubberBandShown() const { return drafting_.RubberBandShown(); }

void FormCommandLine::DrawPointMarker(Point at, uint32_t colour) { drafting_.DrawPointMarker(at, colour); }

bool FormCommandLine::ProjectPoint3D(double x, double y, double z, Point& out) const {
    return drafting_.View().ProjectPoint3D(x, y, z, out);
}

}  // namespace linework
