// FFmpeg's demuxers and decoders behind the MCI devices. Every FFmpeg object is held by an owner
// that frees it; a range is decoded by seeking to its start and reading packets until its end.
#include "mci/decoded_media.h"

#include <atomic>
#include <span>
#include <thread>
#include <vector>

#include "mci/audio_sink.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libswresample/swresample.h>
}

namespace winplat::mci {

namespace {

struct InputCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ResamplerFreer {
    void operator()(SwrContext* s) const { swr_free(&s); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;
using Codec = std::unique_ptr<AVCodecContext, CodecFreer>;
using Frame = std::unique_ptr<AVFrame, FrameFreer>;
using Packet = std::unique_ptr<AVPacket, PacketFreer>;
using Resampler = std::unique_ptr<SwrContext, ResamplerFreer>;

std::string errorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

Input openInput(const std::string& path, std::string& why) {
    // The reasons a file is refused go to the caller's refusal; the libraries' own chatter nowhere.
    static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
    (void)quiet;
    AVFormatContext* raw = nullptr;
    const int opened = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (opened < 0) return why = "no demuxer reads " + path + ": " + errorText(opened), nullptr;
    Input input(raw);
    const int found = avformat_find_stream_info(input.get(), nullptr);
    if (found < 0) return why = "the streams of " + path + " cannot be read: " + errorText(found), nullptr;
    return input;
}

// A decoder opened for the best stream of a kind; null when the file has none or none decodes.
Codec openDecoder(AVFormatContext* input, AVMediaType kind, int& index) {
    const AVCodec* decoder = nullptr;
    index = av_find_best_stream(input, kind, -1, -1, &decoder, 0);
    if (index < 0 || !decoder) return index = -1, nullptr;
    Codec codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), input->streams[index]->codecpar) < 0 ||
        avcodec_open2(codec.get(), decoder, nullptr) < 0) {
        return index = -1, nullptr;
    }
    return codec;
}

uint32_t lengthOf(const AVFormatContext* input, const AVStream* stream) {
    if (input->duration > 0) return static_cast<uint32_t>(av_rescale(input->duration, 1000, AV_TIME_BASE));
    if (stream && stream->duration > 0) {
        return static_cast<uint32_t>(av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000}));
    }
    return 0;
}

uint32_t frameCountOf(const AVStream* stream, uint32_t lengthMs) {
    if (stream->nb_frames > 0) return static_cast<uint32_t>(stream->nb_frames);
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) return 0;
    return static_cast<uint32_t>(av_rescale(lengthMs, rate.num, int64_t{rate.den} * 1000));
}

// The sound of one decoder converted to the sink's format.
class SoundConverter {
public:
    bool open(const AVCodecContext* codec) {
        AVChannelLayout out = AV_CHANNEL_LAYOUT_STEREO;
        // The converter takes the layouts by pointers it does not promise to leave alone.
        AVChannelLayout in{};
        if (av_channel_layout_copy(&in, &codec->ch_layout) < 0) return false;
        SwrContext* raw = nullptr;
        const int made = swr_alloc_set_opts2(&raw, &out, AV_SAMPLE_FMT_S16, kSinkRate, &in, codec->sample_fmt,
                                             codec->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in);
        if (made < 0) return false;
        resampler_.reset(raw);
        return swr_init(resampler_.get()) >= 0;
    }
    // Converted samples of a frame (null: what the converter still holds).
    std::span<const int16_t> convert(const AVFrame* frame) {
        const int in = frame ? frame->nb_samples : 0;
        const int room = swr_get_out_samples(resampler_.get(), in);
        if (room <= 0) return {};
        buffer_.resize(static_cast<size_t>(room) * kSinkChannels);
        uint8_t* out[] = {reinterpret_cast<uint8_t*>(buffer_.data())};
        const int made = swr_convert(resampler_.get(), out, room,
                                     frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr, in);
        if (made <= 0) return {};
        return {buffer_.data(), static_cast<size_t>(made) * kSinkChannels};
    }

private:
    Resampler resampler_;
    std::vector<int16_t> buffer_;
};

// One decode of a range: the demuxer, the decoders of its best sound and picture streams.
class RangeDecoder {
public:
    RangeDecoder(const DecodeSinks& sinks, DecodeTally& tally) : sinks_(sinks), tally_(tally) {}

    bool open(const std::string& path, std::string& why) {
        input_ = openInput(path, why);
        if (!input_) return false;
        audio_ = openDecoder(input_.get(), AVMEDIA_TYPE_AUDIO, audioIndex_);
        video_ = openDecoder(input_.get(), AVMEDIA_TYPE_VIDEO, videoIndex_);
        if (!audio_ && !video_) return why = "no decoder reads the streams of " + path, false;
        if (audio_ && !converter_.open(audio_.get())) return why = "the sound of " + path + " cannot be converted", false;
        if (audio_) tally_.audioRate = static_cast<uint32_t>(audio_->sample_rate);
        return true;
    }

    bool run(uint32_t fromMs, uint32_t toMs) {
        if (fromMs > 0) av_seek_frame(input_.get(), -1, av_rescale(fromMs, AV_TIME_BASE, 1000), AVSEEK_FLAG_BACKWARD);
        fromMs_ = fromMs;
        toMs_ = toMs;
        Packet packet(av_packet_alloc());
        Frame frame(av_frame_alloc());
        if (!packet || !frame) return false;
        while (!cancelled() && av_read_frame(input_.get(), packet.get()) >= 0) {
            const bool more = take(packet.get(), frame.get());
            av_packet_unref(packet.get());
            if (!more) break;
        }
        if (audio_) drain(audio_.get(), audioIndex_, frame.get());
        if (video_) drain(video_.get(), videoIndex_, frame.get());
        if (audio_) send(converter_.convert(nullptr));
        return true;
    }

private:
    bool cancelled() const { return sinks_.cancelled && sinks_.cancelled(sinks_.context); }

    // False once the packets pass the range's end.
    bool take(const AVPacket* packet, AVFrame* frame) {
        AVCodecContext* codec = packet->stream_index == audioIndex_ ? audio_.get()
                                : packet->stream_index == videoIndex_ ? video_.get()
                                                                       : nullptr;
        if (!codec) return true;
        if (avcodec_send_packet(codec, packet) < 0) return true;  // a damaged packet is skipped
        receive(codec, packet->stream_index, frame);
        const AVStream* stream = input_->streams[packet->stream_index];
        return packet->pts == AV_NOPTS_VALUE ||
               av_rescale_q(packet->pts, stream->time_base, AVRational{1, 1000}) < toMs_;
    }

    void drain(AVCodecContext* codec, int index, AVFrame* frame) {
        avcodec_send_packet(codec, nullptr);
        receive(codec, index, frame);
    }

    void receive(AVCodecContext* codec, int index, AVFrame* frame) {
        const AVStream* stream = input_->streams[index];
        while (avcodec_receive_frame(codec, frame) >= 0) {
            const int64_t pts = frame->best_effort_timestamp;
            const int64_t ms = pts == AV_NOPTS_VALUE ? fromMs_ : av_rescale_q(pts, stream->time_base, AVRational{1, 1000});
            const bool inside = ms >= fromMs_ && ms < toMs_;
            if (index == videoIndex_ && inside) ++tally_.videoFrames;
            if (index == audioIndex_ && inside) {
                tally_.audioSamples += static_cast<uint64_t>(frame->nb_samples);
                send(converter_.convert(frame));
            }
            av_frame_unref(frame);
        }
    }

    void send(std::span<const int16_t> samples) {
        if (sinks_.sound && !samples.empty()) sinks_.sound(sinks_.context, samples.data(), samples.size() / kSinkChannels);
    }

    const DecodeSinks& sinks_;
    DecodeTally& tally_;
    Input input_;
    Codec audio_, video_;
    int audioIndex_ = -1, videoIndex_ = -1;
    SoundConverter converter_;
    int64_t fromMs_ = 0, toMs_ = 0;
};

// A play decodes on its own thread; a new command stops it first.
class DecodingStream : public MediaStream {
public:
    explicit DecodingStream(std::string path) : path_(std::move(path)) {}
    ~DecodingStream() override { halt(); }

    void play(uint32_t fromMs, uint32_t toMs) override {
        halt();
        cancel_ = false;
        worker_ = std::thread([this, fromMs, toMs] { decode(fromMs, toMs); });
    }
    void pause(uint32_t) override { halt(); }
    void stop(uint32_t) override { halt(); }
    void finish() override {
        if (worker_.joinable()) worker_.join();
    }

private:
    void halt() {
        cancel_ = true;
        finish();
        sink_.clear();
    }

    void decode(uint32_t fromMs, uint32_t toMs) {
        DecodeSinks sinks;
        sinks.context = this;
        sinks.sound = [](void* self, const int16_t* samples, size_t frames) {
            static_cast<DecodingStream*>(self)->sink_.queue(samples, frames);
        };
        sinks.cancelled = [](void* self) { return static_cast<DecodingStream*>(self)->cancel_.load(); };
        DecodeTally tally;
        std::string why;
        decodeRange(path_, fromMs, toMs, sinks, tally, why);
    }

    std::string path_;
    AudioSink sink_;
    std::atomic<bool> cancel_{false};
    std::thread worker_;
};

class DecodingBackend : public MediaBackend {
public:
    std::unique_ptr<MediaStream> open(const std::string& hostPath, const MediaInfo&) override {
        return std::make_unique<DecodingStream>(hostPath);
    }
};

}  // namespace

std::optional<MediaInfo> probeMedia(const std::string& hostPath, std::string& why) {
    Input input = openInput(hostPath, why);
    if (!input) return std::nullopt;
    int audioIndex = -1, videoIndex = -1;
    const Codec audio = openDecoder(input.get(), AVMEDIA_TYPE_AUDIO, audioIndex);
    const Codec video = openDecoder(input.get(), AVMEDIA_TYPE_VIDEO, videoIndex);
    if (!audio && !video) return why = "no decoder reads the streams of " + hostPath, std::nullopt;
    MediaInfo info;
    const AVStream* main = input->streams[video ? videoIndex : audioIndex];
    info.lengthMs = lengthOf(input.get(), main);
    if (info.lengthMs == 0) return why = "the length of " + hostPath + " is not known", std::nullopt;
    info.audio = audio != nullptr;
    info.video = video != nullptr;
    if (video) {
        info.width = video->width;
        info.height = video->height;
        info.frameCount = frameCountOf(main, info.lengthMs);
    }
    return info;
}

bool decodeRange(const std::string& hostPath, uint32_t fromMs, uint32_t toMs, const DecodeSinks& sinks,
                 DecodeTally& tally, std::string& why) {
    RangeDecoder decoder(sinks, tally);
    return decoder.open(hostPath, why) && decoder.run(fromMs, toMs);
}

std::unique_ptr<MediaBackend> makeDecodingBackend() { return std::make_unique<DecodingBackend>(); }

}  // namespace winplat::mci
