// What plays an open MCI device's file. The devices keep time themselves on the host clock; a
// backend is told what they do (play a range, pause, stop, close) and makes the sound and pictures.
// Two backends: the real one decodes the file and sends its sound to the audio sink, the virtual
// one only writes down every command it was given, for tests.
#ifndef WINPLAT_SRC_MCI_MEDIA_BACKEND_H
#define WINPLAT_SRC_MCI_MEDIA_BACKEND_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace winplat::mci {

// What a media file holds, as its decoders see it.
struct MediaInfo {
    uint32_t lengthMs = 0;
    bool audio = false;
    bool video = false;
    uint32_t frameCount = 0;  // pictures of a video, else 0
    int width = 0, height = 0;  // the natural size of a video's pictures

    // The picture shown at a time, and the time a picture starts, for positions in frames.
    uint32_t frameAt(uint32_t ms) const;
    uint32_t msOfFrame(uint32_t frame) const;
};

// The playing of one open file.
class MediaStream {
public:
    virtual ~MediaStream() = default;
    // Starts sending the range from..to (ms) out, returning at once.
    virtual void play(uint32_t fromMs, uint32_t toMs) = 0;
    // Stops sending; 'atMs' is where the device now stands.
    virtual void pause(uint32_t atMs) = 0;
    virtual void stop(uint32_t atMs) = 0;
    // Returns once the range being played has been sent out whole (a play that waits).
    virtual void finish() = 0;
};

class MediaBackend {
public:
    virtual ~MediaBackend() = default;
    // A stream for a file whose contents were already found readable ('info').
    virtual std::unique_ptr<MediaStream> open(const std::string& hostPath, const MediaInfo& info) = 0;
};

// The backend new devices use; the real one unless a test put another in.
MediaBackend& mediaBackend();
// Puts 'backend' in for the devices opened from now on; null puts the real one back.
void setMediaBackend(std::unique_ptr<MediaBackend> backend);

// Writes down each command as a line: "open <file> <length>", "play <from> <to>", "pause <at>",
// "stop <at>", "finish", "close".
class VirtualMediaBackend : public MediaBackend {
public:
    std::unique_ptr<MediaStream> open(const std::string& hostPath, const MediaInfo& info) override;
    const std::vector<std::string>& log() const { return *lines_; }
    // The log, shared with whoever keeps it after the backend is replaced.
    std::shared_ptr<std::vector<std::string>> lines() const { return lines_; }

private:
    std::shared_ptr<std::vector<std::string>> lines_ = std::make_shared<std::vector<std::string>>();
};

}  // namespace winplat::mci

#endif
