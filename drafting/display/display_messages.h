// Message-table numbers of what the display tells the user.
#ifndef LINEWORK_DISPLAY_DISPLAY_MESSAGES_H
#define LINEWORK_DISPLAY_DISPLAY_MESSAGES_H

namespace linework {

inline constexpr int kGridTooFineMessage = 11;
inline constexpr int kZoomTooSmallMessage = 14;
inline constexpr int kZoomTooLargeMessage = 17;
inline constexpr int kEmptyDrawingMessage = 20;
inline constexpr int kHiddenEntitiesQuestion = 30;

}  // namespace linework

#endif
