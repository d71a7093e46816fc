// Loading and saving a config.xml with 10,000 message records. The same bytes are also parsed
// by expat, with the same content handler behind it, as a yardstick for the reader.
#include <benchmark/benchmark.h>
#include <expat.h>

#include <string>

#include "config/byte_stream.h"
#include "config/config_file.h"
#include "config/config_format.h"
#include "config/config_handler.h"
#include "config/xml_reader.h"
#include "folder_environment.h"
#include "temp_folder.h"

namespace {

using namespace tarnix;

constexpr int kRecords = 10000;

Settings manyRecords()
{
    Settings settings;
    settings.greetingFile = u"/home/ann/Greetings/Tom & Jerry's greeting.wav";
    settings.voiceBeginText = u"\u8BF7\u5728\u63D0\u793A\u97F3\u540E\u7559\u8A00";
    for (int i = 0; i < kRecords; ++i) {
        MessageRecord r;
        const std::string n = std::to_string(i);
        r.userName = Utf8String("caller." + n);
        r.nickName = Utf8String("Caller \xE5\x9B\x9E\xE5\xA3\xB0 <" + n + ">");
        r.fileName = Utf8String("/opt/tarnix/messages/caller." + n + "2026-12-07#10-00-00.mp3");
        r.ringTime = "2026-12-07 10:00:00";
        r.answerTime = "2026-12-07 10:00:15";
        r.duration = "00:01:02";
        r.newFlag = i % 3 == 0;
        settings.records.push_back(r);
    }
    return settings;
}

const std::string& configBytes()
{
    static const std::string bytes = formatConfig(manyRecords());
    return bytes;
}

void ignoreLanguage(std::int32_t) {}

void BM_ReaderLoadsConfig(benchmark::State& state)
{
    const std::string& bytes = configBytes();
    for (auto _ : state) {
        Settings settings;
        ConfigHandler handler(settings, ignoreLanguage);
        XmlReader reader(&handler);
        MemoryStream stream(bytes.data(), bytes.size());
        reader.parse(stream, true, true);
        benchmark::DoNotOptimize(settings.records.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReaderLoadsConfig)->Unit(benchmark::kMillisecond);

// expat's events handed to the same ConfigHandler, the attributes copied into an XmlAttributes
// as the reader does.
void BM_ExpatLoadsConfig(benchmark::State& state)
{
    const std::string& bytes = configBytes();
    for (auto _ : state) {
        Settings settings;
        ConfigHandler handler(settings, ignoreLanguage);
        XmlAttributes attributes;
        struct Context {
            ConfigHandler* handler;
            XmlAttributes* attributes;
        } context{&handler, &attributes};
        XML_Parser parser = XML_ParserCreate("UTF-8");
        XML_SetUserData(parser, &context);
        XML_SetElementHandler(
            parser,
            [](void* data, const XML_Char* name, const XML_Char** atts) {
                auto* c = static_cast<Context*>(data);
                c->attributes->clear();
                for (; atts[0] != nullptr; atts += 2) c->attributes->add(atts[0], atts[1]);
                c->handler->startElement(name, *c->attributes);
            },
            [](void* data, const XML_Char* name) { static_cast<Context*>(data)->handler->endElement(name); });
        if (XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), 1) != XML_STATUS_OK) {
            state.SkipWithError("expat rejected the file");
        }
        XML_ParserFree(parser);
        benchmark::DoNotOptimize(settings.records.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ExpatLoadsConfig)->Unit(benchmark::kMillisecond);

// The parsers alone, with no handler work.
void BM_ReaderParsesConfig(benchmark::State& state)
{
    const std::string& bytes = configBytes();
    for (auto _ : state) {
        XmlReader reader(nullptr);
        MemoryStream stream(bytes.data(), bytes.size());
        reader.parse(stream, true, true);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReaderParsesConfig)->Unit(benchmark::kMillisecond);

void BM_ExpatParsesConfig(benchmark::State& state)
{
    const std::string& bytes = configBytes();
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate("UTF-8");
        XML_SetElementHandler(
            parser, [](void*, const XML_Char*, const XML_Char**) {}, [](void*, const XML_Char*) {});
        if (XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), 1) != XML_STATUS_OK) {
            state.SkipWithError("expat rejected the file");
        }
        XML_ParserFree(parser);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ExpatParsesConfig)->Unit(benchmark::kMillisecond);

void BM_FormatConfig(benchmark::State& state)
{
    const Settings settings = manyRecords();
    for (auto _ : state) benchmark::DoNotOptimize(formatConfig(settings));
}
BENCHMARK(BM_FormatConfig)->Unit(benchmark::kMillisecond);

// The whole save: format, write, flush to disk, rename.
void BM_SaveSettings(benchmark::State& state)
{
    Settings settings = manyRecords();
    LocaleTable locale;
    const test::TempFolder folder;
    test::FolderEnvironment environment{folder.path()};
    ConfigFile config(settings, locale, environment);
    for (auto _ : state) {
        if (!config.SaveSettings()) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);

}  // namespace
