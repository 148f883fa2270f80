// What closing the main form asks, in order: while a script runs, whether to stop it (message
// 132); while the drawing is modified, whether to save it (133: 1 save, 2 don't save, 0 or 3
// stay); unless it was saved, whether to end the program (134).
//
// Nothing writes a drawing yet, so a save answer always fails: the user is told so and asked the
// save question again, with "don't save" and cancel still there. A modified drawing is never
// dropped unless the user says so, and the user is never held in the question.
#ifndef LINEWORK_UI_CLOSE_QUERY_H
#define LINEWORK_UI_CLOSE_QUERY_H

namespace linework {

inline constexpr int kStopScriptQuestion = 132;
inline constexpr int kSaveDrawingQuestion = 133;
inline constexpr int kEndProgramQuestion = 134;
inline constexpr int kDrawingNotSavedMessage = 149;

class CloseQuestions {
public:
    virtual ~CloseQuestions() = default;
    // The confirmation of message n with its preset answer: the button chosen (1 yes/save, 2 no/
    // don't save, 3 cancel, 0 the box closed otherwise).
    virtual int Ask(int message, int preset) = 0;
    virtual bool ScriptRunning() const = 0;
    // Modified, with changes tracked.
    virtual bool DrawingModified() const = 0;
    // Saves under the drawing's name; true when the drawing is no longer modified.
    virtual bool SaveDrawing() = 0;
    // Tells the user the drawing was not saved.
    virtual void ShowNotSaved() = 0;
};

// Whether the form may close.
bool FormCloseQuery(CloseQuestions& questions);

}  // namespace linework

#endif
