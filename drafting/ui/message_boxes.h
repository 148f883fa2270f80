// The program's own message box on TForm2 and its five entry points. Texts, captions and button
// captions come from the message table; the pictures "BMP\MSG_INF.BMP", "MSG_CNF.BMP" and
// "MSG_ERR.BMP" from the program folder (a missing one is left out). The box remembers where the
// user left it in the position pair of the settings (integers 315 and 316; negative: centred),
// and a remembered place off the current screen is moved onto it.
#ifndef LINEWORK_UI_MESSAGE_BOXES_H
#define LINEWORK_UI_MESSAGE_BOXES_H

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "drawing/system_variable_image.h"
#include "ui/message_table.h"
#include "ui/picker_form.h"

namespace linework {

// The message-table numbers of the box's own texts.
namespace boxtext {
inline constexpr int kOk = 0;
inline constexpr int kAnswerNo = 1;      // button 1 of a two-button question
inline constexpr int kAnswerYes = 2;     // button 2: the answer that counts
inline constexpr int kSaveQuestion = 3;  // put in front of the save question's text
inline constexpr int kConfirmYes = 4;    // the three buttons of a confirmation
inline constexpr int kConfirmNo = 5;
inline constexpr int kConfirmCancel = 6;
inline constexpr int kErrorCaption = 7;
}  // namespace boxtext

// Settings the box reads.
inline constexpr int32_t kBeepSwitch = 36;        // byte: message beeps
inline constexpr int32_t kDrawingLoadedFlag = 44;  // byte: the save question is due
inline constexpr int32_t kBoxPositionPair = 315;  // integers 315 (left) and 316 (top)

inline constexpr char kInfoPicture[] = "BMP\\MSG_INF.BMP";
inline constexpr char kConfirmPicture[] = "BMP\\MSG_CNF.BMP";
inline constexpr char kErrorPicture[] = "BMP\\MSG_ERR.BMP";

// Where a box of this size goes: the remembered corner (negative: centred in that direction),
// kept on a screen of this size.
POINT PlaceMessageBox(int left, int top, SIZE box, SIZE screen);

class MessageBoxes {
public:
    MessageBoxes(PickerForm& form, const MessageTable& texts, SystemVariableImage& image, std::string programFolder);

    // Shows the modal box; its result is the number of the button pressed (-1 none).
    int ShowMessageBox(std::string_view text, std::string_view picture, std::string_view caption,
                       const std::array<std::string, 3>& buttons, std::string_view hint = {});

    void ShowInfoMessage(std::string_view text);
    // True when button 2 was pressed; an empty text is true at once.
    bool AskInfoQuestion(std::string_view text);
    // Asked only after a drawing was loaded (the flag is cleared); false when not asked.
    bool AskSaveQuestion(std::string_view text);
    // The button pressed (1..3, 0 when the box was closed otherwise); an empty text is 1 at once.
    int AskConfirmation(std::string_view text, std::string_view caption);
    void ShowErrorMessage(std::string_view text);

    bool Open() const { return open_; }
    int Result() const { return result_; }
    // The caption of boxes without one of their own (the main form's).
    std::string defaultCaption = "Linework";
    // Told when a box opens and closes (the TIMER hook pauses meanwhile).
    std::function<void(bool open)> onOpenChanged;

private:
    void Beep(UINT type) const;
    SIZE LayOut(std::string_view text, int buttonCount);
    bool LoadPicture(std::string_view picture);

    PickerForm& form_;
    const MessageTable& texts_;
    SystemVariableImage& image_;
    std::string programFolder_;
    bool open_ = false;
    int result_ = -1;
};

}  // namespace linework

#endif
