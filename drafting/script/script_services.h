// What the script functions ask of the program around them: the user's names, the command line,
// the clock as a date, and the things only the main form can do (file dialogs, the pop-up menu,
// the keys pressed while a script waits, the interactive command steps that ask the user for a
// point, a distance or a line). The main form fills in what needs its form library;
// the defaults here serve a program without windows (the batch runner) and the tests, which
// answer through their own subclass.
#ifndef LINEWORK_SCRIPT_SCRIPT_SERVICES_H
#define LINEWORK_SCRIPT_SCRIPT_SERVICES_H

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/entity_record.h"
#include "drawing/entity_table.h"
#include "drawing/geometry.h"
#include "winplat/types.h"

namespace linework {

// "getd": what the command step asks the user for.
struct PointStepRequest {
    bool distance = false;  // a distance (two points, or a typed number) instead of a point
    std::string prompt1;    // shown while the (first) point is wanted
    std::string prompt2;    // shown while the second point of a distance is wanted
};

// What the step gave when it ended.
struct PointStepAnswer {
    bool given = false;  // false: cancelled
    Point point;
    double distance = 0;
};

// "getl": what the single pick found.
struct LinePickAnswer {
    EntityHandle entity = 0;  // 0: nothing was picked, or the pick was cancelled
    // The kind of the part picked: of a block insert the kind of its entity under the pick box,
    // of any other entity its own kind.
    EntityKind part = EntityKind::Polyline;
    Point from, to;  // the end points of the picked segment, in drawing coordinates
};

class ScriptServices {
public:
    virtual ~ScriptServices() = default;

    // The program's command line, element 0 the program's path.
    virtual std::vector<std::string> CommandLine() { return {}; }
    // The computer's and the user's names (cp1250).
    virtual std::string ComputerName();
    virtual std::string UserName();
    // The present moment as days since 30 December 1899 in local time, the fraction the time of
    // day.
    virtual double Now();

    // The file-open and file-save dialogs of the main form: the chosen name, empty when cancelled.
    virtual std::string OpenFileName(std::string_view /*filter*/, std::string_view /*extension*/,
                                     std::string_view /*start*/) {
        return {};
    }
    virtual std::string SaveFileName(std::string_view /*filter*/, std::string_view /*extension*/,
                                     std::string_view /*start*/) {
        return {};
    }
    // The main form's pop-up menu with its first 'count' items; 'alignment' below 3 sets its
    // alignment; at the mouse when 'atPoint' is false. The chosen item, 0 for none.
    virtual int32_t PopupMenu(int32_t /*count*/, int32_t /*alignment*/, bool /*atPoint*/, int32_t /*x*/,
                              int32_t /*y*/) {
        return 0;
    }
    // "kbd": lets waiting messages through and takes the last key pressed (0 for none). With
    // codes, waits on the message loop until the last key is one of them or a stop is asked for,
    // and gives the key as it then stands.
    virtual int32_t TakeKey(std::span<const int32_t> /*codes*/) { return 0; }
    // The main form's window, what "handle" gives without a class and a title.
    virtual HWND MainWindow() { return nullptr; }

    // --- the interactive command steps of the drawing view (the main form's command-state
    // stack). A function begins a step, waits with WaitForMessages while StepWaiting, then takes
    // the answer; a wait given up (the run stopped) cancels the step.
    // "fptp": how many command steps are stacked.
    virtual int32_t CommandStepDepth() { return 0; }
    // "getd": pushes a step asking for a point or a distance. False when none can be pushed
    // (no drawing view, or the stack is full).
    virtual bool BeginPointStep(const PointStepRequest& /*request*/) { return false; }
    // "getl": starts the single pick and a selection step with the prompt and its sound. False
    // while a pick is already pending, or without a drawing view.
    virtual bool BeginLinePick(int32_t /*sound*/, std::string_view /*prompt*/) { return false; }
    // Whether the step begun last still waits for the user.
    virtual bool StepWaiting() { return false; }
    virtual PointStepAnswer TakePointAnswer() { return {}; }
    virtual LinePickAnswer TakeLinePick() { return {}; }
    virtual void CancelStep() {}
    // Sleeps until a window message is there, then lets every waiting one through, so a script
    // that waits for the user takes no processor time between events. False when the program is
    // ending (the quit message is left for the main loop).
    virtual bool WaitForMessages();
};

}  // namespace linework

#endif
