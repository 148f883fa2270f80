#include "mci/media_backend.h"

#include <utility>

#include "mci/decoded_media.h"

namespace winplat::mci {

uint32_t MediaInfo::frameAt(uint32_t ms) const {
    if (!frameCount || !lengthMs) return 0;
    return static_cast<uint32_t>(uint64_t{ms} * frameCount / lengthMs);
}

uint32_t MediaInfo::msOfFrame(uint32_t frame) const {
    if (!frameCount) return 0;
    return static_cast<uint32_t>((uint64_t{frame} * lengthMs + frameCount - 1) / frameCount);
}

namespace {

std::unique_ptr<MediaBackend>& installed() {
    static std::unique_ptr<MediaBackend> backend;
    return backend;
}

class LoggedStream : public MediaStream {
public:
    explicit LoggedStream(std::shared_ptr<std::vector<std::string>> lines) : lines_(std::move(lines)) {}
    ~LoggedStream() override { lines_->push_back("close"); }
    void play(uint32_t fromMs, uint32_t toMs) override {
        lines_->push_back("play " + std::to_string(fromMs) + " " + std::to_string(toMs));
    }
    void pause(uint32_t atMs) override { lines_->push_back("pause " + std::to_string(atMs)); }
    void stop(uint32_t atMs) override { lines_->push_back("stop " + std::to_string(atMs)); }
    void finish() override { lines_->push_back("finish"); }

private:
    std::shared_ptr<std::vector<std::string>> lines_;
};

}  // namespace

std::unique_ptr<MediaStream> VirtualMediaBackend::open(const std::string& hostPath, const MediaInfo& info) {
    const size_t slash = hostPath.rfind('/');
    const std::string name = slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
    lines_->push_back("open " + name + " " + std::to_string(info.lengthMs));
    return std::make_unique<LoggedStream>(lines_);
}

MediaBackend& mediaBackend() {
    if (!installed()) installed() = makeDecodingBackend();
    return *installed();
}

void setMediaBackend(std::unique_ptr<MediaBackend> backend) { installed() = std::move(backend); }

}  // namespace winplat::mci
