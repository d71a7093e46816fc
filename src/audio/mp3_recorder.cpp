#include "audio/mp3_recorder.h"

#include <algorithm>
#include <utility>

namespace tarnix {

Mp3Recorder::Mp3Recorder(std::unique_ptr<CaptureChannel> channel, std::unique_ptr<Mp3Encoder> encoder)
    : channel_(std::move(channel)), encoder_(std::move(encoder))
{
    channel_->setBuffers(BlockBytes, BlockCount);
}

Mp3Recorder::~Mp3Recorder()
{
    stopRecording();
}

int Mp3Recorder::startRecording(const std::string& path)
{
    // The capture thread writes into the open file; it must be stopped before the file changes.
    if (recording_) {
        stopRecording();
    }
    openEncoder(path);
    channel_->setSink(this);
    channel_->open(inputDevice_, 1, Mp3Encoder::SampleRate, 16);
    recording_ = true;
    return 1;
}

void Mp3Recorder::stopRecording()
{
    channel_->close();
    recording_ = false;
    finishEncoder();
}

int Mp3Recorder::write(const void* data, int length)
{
    return encodeBlock(data, length);
}

int Mp3Recorder::openEncoder(const std::string& path)
{
    finishEncoder();
    path_ = path;
    bytesAccepted_ = 0;
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) {
        return 0;
    }
    const unsigned long result = encoder_->initStream();
    if (result != 0) {
        std::fprintf(stderr, "Error opening encoding stream (%lu)\n", result);
        return 0;
    }
    return 1;
}

int Mp3Recorder::encodeBlock(const void* data, int length)
{
    if (length < 0) {
        return 0;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (bytesAccepted_ == 0 && std::all_of(bytes, bytes + length, [](unsigned char b) { return b == 0; })) {
        return 1;
    }
    bytesAccepted_ += static_cast<std::uint64_t>(length);
    if (file_ == nullptr || !encoder_->hasStream()) {
        return 1;
    }
    int count = 0;
    const unsigned long result = encoder_->encodeChunk(static_cast<const std::int16_t*>(data), length / 2,
                                                       output_.data(), OutputBytes, count);
    if (result != 0) {
        encoder_->closeStream();
        std::fprintf(stderr, "beEncodeChunk() failed (%lu)\n", result);
        return 0;
    }
    return writeOutput(count) ? 1 : 0;
}

int Mp3Recorder::finishEncoder()
{
    if (encoder_->hasStream()) {
        int count = 0;
        const unsigned long result = encoder_->deinitStream(output_.data(), OutputBytes, count);
        if (result != 0) {
            std::fprintf(stderr, "beExitStream failed (%lu)\n", result);
        } else if (count != 0) {
            writeOutput(count);
        }
        encoder_->closeStream();
    }
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    return 1;
}

bool Mp3Recorder::writeOutput(int count)
{
    if (std::fwrite(output_.data(), 1, static_cast<std::size_t>(count), file_) <
        static_cast<std::size_t>(count)) {
        std::fprintf(stderr, "Output file write error\n");
        return false;
    }
    return true;
}

}  // namespace tarnix
