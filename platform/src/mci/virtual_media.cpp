// The testing hook that puts the logging backend under the MCI devices.
#include <memory>

#include "mci/media_backend.h"
#include "winplat/testing.h"

namespace winplat::testing {

VirtualMedia::VirtualMedia() {
    auto backend = std::make_unique<mci::VirtualMediaBackend>();
    lines_ = backend->lines();
    mci::setMediaBackend(std::move(backend));
}

VirtualMedia::~VirtualMedia() { mci::setMediaBackend(nullptr); }

std::vector<std::string> VirtualMedia::log() const { return *lines_; }

void VirtualMedia::clear() { lines_->clear(); }

}  // namespace winplat::testing
