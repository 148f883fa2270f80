// What a harness installs for its lifetime, and the pieces of it the harness's files share.
#ifndef WINPLAT_HARNESS_HOOKS_H
#define WINPLAT_HARNESS_HOOKS_H

#include <deque>
#include <map>
#include <optional>
#include <string>

#include "winplat_harness/harness.h"

namespace winplat::test {

// Fails the test when a message loop would wait for ever, with the window tree.
class StallHook final : public host::Idle {
public:
    explicit StallHook(int& count) : count_(count), previous_(host::setIdle(this)) {}
    ~StallHook() override { host::setIdle(previous_); }
    StallHook(const StallHook&) = delete;
    StallHook& operator=(const StallHook&) = delete;
    bool stalled(std::string_view what) override;

private:
    int& count_;
    host::Idle* previous_;
};

// The queued answers to modal loops.
class AnswerQueue final : public host::Answerer {
public:
    explicit AnswerQueue(int& unexpected) : unexpected_(unexpected), previous_(host::setAnswerer(this)) {}
    ~AnswerQueue() override;
    AnswerQueue(const AnswerQueue&) = delete;
    AnswerQueue& operator=(const AnswerQueue&) = delete;

    host::ModalAnswer idle(const host::ModalLoop& loop) override;
    void queue(host::ModalKind kind, std::string description, Harness::NameMatcher matcher, Harness::Action action);
    size_t size() const { return answers_.size(); }

private:
    struct Queued {
        host::ModalKind kind;
        std::string description;  // for the failure naming an answer never used
        Harness::NameMatcher matches;
        Harness::Action action;
    };
    std::deque<Queued> answers_;
    int& unexpected_;
    host::Answerer* previous_;
};

// The messages of logged windows, kept by a subclass procedure.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    void start(HWND window);
    void stop(HWND window);
    void stopAll();
    std::vector<LoggedMessage> of(HWND window) const;
    void clear() { log_.clear(); }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::map<HWND, WNDPROC> originals_;
    std::vector<LoggedMessage> log_;
};

// Queues a key pressed and released with modifiers (kCtrl | kShift | kAlt) held around it.
void queueKey(UINT virtualKey, unsigned modifiers);

// Sets an environment variable for a scope and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const char* prefix);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

struct Harness::Hooks {
    explicit Hooks(Harness& harness, const Options& options);

    int previousWidth;
    int previousHeight;
    testing::VirtualClock clock;
    testing::ScopedFontSource font{testing::FontSource::Test};
    testing::BeepCounter beeps;
    TemporaryFolder state{"winplat_state_"};
    ScopedVariable stateVariable;
    StallHook stall;
    AnswerQueue answers;
    MessageLog log;
    testing::PrintedPages printed;
};

}  // namespace winplat::test

#endif
