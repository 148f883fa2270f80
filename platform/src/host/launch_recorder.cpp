#include "winplat/testing.h"

namespace winplat::testing {

LaunchRecorder::LaunchRecorder() : previous_(host::setLauncher(this)) {}

LaunchRecorder::~LaunchRecorder() { host::setLauncher(previous_); }

host::Launched LaunchRecorder::launch(const host::LaunchRequest& request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    return answer_;
}

std::vector<host::LaunchRequest> LaunchRecorder::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LaunchRecorder::setAnswer(host::Launched answer) {
    std::lock_guard lock(mutex_);
    answer_ = answer;
}

}  // namespace winplat::testing
