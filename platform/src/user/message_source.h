// Where GetMessageA and PeekMessageA find messages, in the order they look: posted messages,
// input, the quit request, paint, timers. Input and paint are sources the later steps provide
// (the hosts' mouse and keyboard, the update regions); until then they hold nothing.
#ifndef WINPLAT_SRC_USER_MESSAGE_SOURCE_H
#define WINPLAT_SRC_USER_MESSAGE_SOURCE_H

#include "winplat/user.h"

namespace winplat::user {

// What a retrieval call asks for: a window (null: any; (HWND)-1: thread messages only; else the
// window and its descendants) and a range of message numbers (0, 0: all).
struct MessageFilter {
    HWND window = nullptr;
    UINT first = 0;
    UINT last = 0;

    bool matchesNumber(UINT message) const { return (first == 0 && last == 0) || (message >= first && message <= last); }
    bool matchesWindow(HWND target) const;
    bool matches(HWND target, UINT message) const { return matchesNumber(message) && matchesWindow(target); }
};

class MessageSource {
public:
    virtual ~MessageSource() = default;
    // The first message the filter takes, removed when 'remove'; false when there is none.
    virtual bool fetch(const MessageFilter& filter, bool remove, MSG& message) = 0;
};

enum class SourceKind { Input, Paint };
// Installs the source of a kind (null: empty again); returns the previous one.
MessageSource* setMessageSource(SourceKind kind, MessageSource* source);
MessageSource* messageSource(SourceKind kind);

}  // namespace winplat::user

#endif
