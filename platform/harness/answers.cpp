// The harness's hooks for loops that would wait: stalls and modal loops.
#include <gtest/gtest.h>

#include <algorithm>

#include "hooks.h"

namespace winplat::test {

bool StallHook::stalled(std::string_view what) {
    ++count_;
    ADD_FAILURE() << what << " would wait for ever: nothing queued, no timer, no input to come. Windows:\n"
                  << testing::windowTree();
    return false;
}

AnswerQueue::~AnswerQueue() {
    host::setAnswerer(previous_);
    for (const Queued& left : answers_) {
        ADD_FAILURE() << "an answer for a " << host::modalKindName(left.kind) << " \"" << left.description
                      << "\" was queued but no such modal loop came";
    }
}

host::ModalAnswer AnswerQueue::idle(const host::ModalLoop& loop) {
    const auto found = std::find_if(answers_.begin(), answers_.end(), [&loop](const Queued& q) {
        return q.kind == loop.kind && q.matches(loop.name);
    });
    if (found == answers_.end()) {
        ++unexpected_;
        ADD_FAILURE() << "an unexpected " << host::modalKindName(loop.kind) << " \"" << loop.name
                      << "\" waits for an answer; it ends with its cancel value " << loop.cancelValue
                      << ". Windows:\n" << testing::windowTree();
        return {true, loop.cancelValue};
    }
    // Out of the queue before it acts: the action may open a loop of its own.
    const Harness::Action action = std::move(found->action);
    answers_.erase(found);
    const std::optional<INT_PTR> result = action(loop);
    return result ? host::ModalAnswer{true, *result} : host::ModalAnswer{};
}

void AnswerQueue::queue(host::ModalKind kind, std::string description, Harness::NameMatcher matcher,
                        Harness::Action action) {
    answers_.push_back({kind, std::move(description), std::move(matcher), std::move(action)});
}

void Harness::answer(host::ModalKind kind, std::string name, Action action) {
    auto matcher = [name](std::string_view seen) { return seen == name; };
    hooks_->answers.queue(kind, name, matcher, std::move(action));
}

void Harness::answer(host::ModalKind kind, NameMatcher matcher, Action action) {
    hooks_->answers.queue(kind, "(matched by a function)", std::move(matcher), std::move(action));
}

size_t Harness::answersQueued() const { return hooks_->answers.size(); }

}  // namespace winplat::test
