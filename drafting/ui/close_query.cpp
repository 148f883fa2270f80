#include "ui/close_query.h"

namespace linework {

namespace {
constexpr int kYes = 1;
constexpr int kDontSave = 2;
}  // namespace

bool FormCloseQuery(CloseQuestions& questions) {
    if (questions.ScriptRunning() && questions.Ask(kStopScriptQuestion, 2) != kYes) return false;
    bool saved = false;
    while (!saved && questions.DrawingModified()) {
        const int answer = questions.Ask(kSaveDrawingQuestion, 0);
        if (answer == kDontSave) break;
        if (answer != kYes) return false;
        if (questions.SaveDrawing() && !questions.DrawingModified()) {
            saved = true;
        } else {
            questions.ShowNotSaved();
        }
    }
    if (!saved && questions.Ask(kEndProgramQuestion, 0) != kYes) return false;
    return true;
}

}  // namespace linework
