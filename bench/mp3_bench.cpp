// A minute of 48 kHz mono speech-band signal through our encoder and decoder and through the lame
// and madplay commands with the same settings, in one run; prints the ratios and real-time factors.
#include "audio/lame_encoder.h"
#include "audio/mp3_recorder.h"
#include "audio/mp3_source.h"
#include "config/byte_stream.h"
#include "mp3_test_support.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace {

using tarnix::Mp3Recorder;

constexpr int Seconds = 60;
constexpr int Rate = 48000;

const std::filesystem::path& workDirectory()
{
    static const std::filesystem::path dir = [] {
        auto path = std::filesystem::temp_directory_path() / "tarnix-mp3-bench";
        std::filesystem::create_directories(path);
        return path;
    }();
    return dir;
}

const std::vector<std::int16_t>& minuteOfSignal()
{
    static const std::vector<std::int16_t> samples = [] {
        std::vector<std::int16_t> out(static_cast<std::size_t>(Seconds * Rate));
        unsigned noise = 1;
        double phase = 0;
        for (std::size_t i = 0; i < out.size(); ++i) {
            phase += 2 * std::numbers::pi * (300 + 250 * std::sin(i * 2e-5)) / Rate;
            noise = noise * 1664525u + 1013904223u;
            out[i] = static_cast<std::int16_t>(10000 * std::sin(phase) + static_cast<int>(noise >> 24) - 128);
        }
        std::ofstream raw(workDirectory() / "in.raw", std::ios::binary);
        raw.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size() * 2));
        return out;
    }();
    return samples;
}

std::string path(const char* name)
{
    return (workDirectory() / name).string();
}

double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the command once per iteration; its processor time is reported as "cpu_s", since the
// benchmark's own CPU column only sees this process.
void runCommands(benchmark::State& state, const std::string& commandLine)
{
    const double before = childCpuSeconds();
    for (auto _ : state) {
        if (std::system(commandLine.c_str()) != 0) {
            state.SkipWithError(("failed: " + commandLine).c_str());
            break;
        }
    }
    state.counters["cpu_s"] =
        benchmark::Counter(childCpuSeconds() - before, benchmark::Counter::kAvgIterations);
}

void encodeMinute(const std::string& file)
{
    const auto& samples = minuteOfSignal();
    // No capture runs: the encoder is fed block by block, as the capture thread would.
    Mp3Recorder recorder(std::make_unique<tarnix::test::FakeCaptureChannel>(),
                         std::make_unique<tarnix::LameEncoder>());
    recorder.openEncoder(file);
    for (std::size_t at = 0; at < samples.size(); at += Mp3Recorder::BlockBytes / 2) {
        recorder.encodeBlock(samples.data() + at, Mp3Recorder::BlockBytes);
    }
    recorder.finishEncoder();
}

// The file both decoders read, made once.
const std::string& message()
{
    static const std::string file = [] {
        encodeMinute(path("message.mp3"));
        return path("message.mp3");
    }();
    return file;
}

void encodeWithRecorder(benchmark::State& state)
{
    minuteOfSignal();
    for (auto _ : state) {
        encodeMinute(path("ours.mp3"));
    }
}

void encodeWithLameCommand(benchmark::State& state)
{
    minuteOfSignal();
    runCommands(state,
                std::string(LAME_COMMAND) +
                    " --quiet --noreplaygain -r -s 48 --bitwidth 16 --signed --little-endian -m m --r3mix"
                    " -b 128 --cbr --nores -t " +
                    path("in.raw") + " " + path("lame.mp3") + " 2>/dev/null");
}

void decodeWithSource(benchmark::State& state)
{
    const std::string& file = message();
    std::vector<unsigned char> buffer(12800);
    for (auto _ : state) {
        tarnix::Mp3Source source;
        source.openSource(tarnix::FileStream::open(file));
        int length = static_cast<int>(buffer.size());
        while (source.readPcm(buffer.data(), length) == 1) {
            benchmark::DoNotOptimize(buffer.data());
            length = static_cast<int>(buffer.size());
        }
    }
}

void decodeWithMadplay(benchmark::State& state)
{
    runCommands(state, std::string(MADPLAY_COMMAND) + " -q -o raw:/dev/null " + message());
}

// Keeps the wall and processor time per run of each benchmark for the summary.
class SummaryReporter final : public benchmark::ConsoleReporter {
public:
    struct Times {
        double wall;
        double cpu;
    };

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const auto n = static_cast<double>(run.iterations);
            const auto child = run.counters.find("cpu_s");
            times[run.run_name.function_name] = {
                run.real_accumulated_time / n,
                child != run.counters.end() ? child->second.value : run.cpu_accumulated_time / n};
        }
    }
    std::map<std::string, Times> times;
};

}  // namespace

BENCHMARK(encodeWithRecorder)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(encodeWithLameCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(decodeWithSource)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(decodeWithMadplay)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times;
    auto summary = [&](const char* what, const char* ours, const char* theirs, const char* tool) {
        if (t.count(ours) == 0 || t.count(theirs) == 0) return;
        const auto a = t.at(ours);
        const auto b = t.at(theirs);
        std::printf(
            "%s: ours %.0f ms wall / %.0f ms cpu (%.0fx / %.0fx real time), %s %.0f ms wall / %.0f ms cpu "
            "(%.0fx / %.0fx real time); ours/%s = %.2f wall, %.2f cpu\n",
            what, a.wall * 1e3, a.cpu * 1e3, Seconds / a.wall, Seconds / a.cpu, tool, b.wall * 1e3,
            b.cpu * 1e3, Seconds / b.wall, Seconds / b.cpu, tool, a.wall / b.wall, a.cpu / b.cpu);
    };
    summary("encode 60 s", "encodeWithRecorder", "encodeWithLameCommand", "lame");
    summary("decode 60 s", "decodeWithSource", "decodeWithMadplay", "madplay");
    benchmark::Shutdown();
    return 0;
}
