#pragma once

#include "audio/capture_channel.h"
#include "audio/mp3_encoder.h"
#include "audio/sound_sink.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace tarnix {

// Records one wave-input device straight into an MP3 file: every captured block is encoded on the
// capture thread and appended. Silence before the first sound is left out of the file. Failures
// go to standard error only.
class Mp3Recorder final : public SoundSink {
public:
    static constexpr int BlockBytes = 4800;  // 50 ms of 48000 Hz mono 16-bit
    static constexpr int BlockCount = 8;
    static constexpr int OutputBytes = 20480;

    Mp3Recorder(std::unique_ptr<CaptureChannel> channel, std::unique_ptr<Mp3Encoder> encoder);
    Mp3Recorder(const Mp3Recorder&) = delete;
    Mp3Recorder& operator=(const Mp3Recorder&) = delete;
    ~Mp3Recorder() override;

    void setInputDevice(int id) { inputDevice_ = id; }
    // Starts a new file at `path`; a recording still running is finished first. Returns 1.
    int startRecording(const std::string& path);
    void stopRecording();
    bool isRecording() const { return recording_; }

    // Called on the capture thread with 16-bit mono samples.
    int write(const void* data, int length) override;

    // The encoder path on its own, for callers that feed blocks without capture.
    int openEncoder(const std::string& path);
    int encodeBlock(const void* data, int length);
    int finishEncoder();

    // PCM bytes taken since the file was opened; 0 while only silence has arrived.
    std::uint64_t bytesAccepted() const { return bytesAccepted_; }

private:
    bool writeOutput(int count);

    std::unique_ptr<CaptureChannel> channel_;
    std::unique_ptr<Mp3Encoder> encoder_;
    std::string path_;
    std::FILE* file_ = nullptr;
    // 64 bits: a 32-bit count wraps after about 12 hours and would restart the trimming mid-message.
    std::uint64_t bytesAccepted_ = 0;
    std::array<unsigned char, OutputBytes> output_{};
    int inputDevice_ = -1;
    bool recording_ = false;
};

}  // namespace tarnix
