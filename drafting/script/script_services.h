// What the script functions ask of the program around them: the user's names, the command line,
// the clock as a date, and the things only the main form can do (file dialogs, the pop-up menu,
// the keys pressed while a script waits). The main form fills in what needs its form library;
// the defaults here serve a program without windows (the batch runner) and the tests, which
// answer through their own subclass.
#ifndef LINEWORK_SCRIPT_SCRIPT_SERVICES_H
#define LINEWORK_SCRIPT_SCRIPT_SERVICES_H

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "winplat/types.h"

namespace linework {

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
};

}  // namespace linework

#endif
