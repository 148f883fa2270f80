#include "navigate/program_objects.h"

namespace lect32 {

ProgramObjects& Program() {
    static ProgramObjects objects;
    return objects;
}

}  // namespace lect32
