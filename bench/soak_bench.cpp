// A day of calls on the phone stack and the virtual clock (see PhoneDay): resident memory and
// open descriptors after the first hour, which warms up every cache, and at every hour after.
// Fails when the descriptors change, when the memory grows more than kRssToleranceKb past the
// warm-up, or when a call left the phone not at rest.
#include "phone_day.h"

#include <QLoggingCategory>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kHours = 24;
// Room for the allocator's own rounding and the filed message records (one a machine call).
constexpr long kRssToleranceKb = 512;

long residentKb()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Sample {
    int hour;
    int calls;
    long rssKb;
    int descriptors;
};

}  // namespace

// Arguments (./run bench passes Google Benchmark's) are ignored.
int main()
{
    // The log of every call of a day says nothing the figures do not.
    QLoggingCategory::setFilterRules("tarnix.*.info=false");
    const auto started = std::chrono::steady_clock::now();
    tarnix::test::PhoneDay day;
    std::vector<Sample> samples;
    std::printf("%5s %6s %9s %4s\n", "hour", "calls", "rss_kb", "fds");
    while (day.hoursPlayed() < kHours) {
        day.playHour();
        samples.push_back(
            {day.hoursPlayed(), day.callsPlayed(), residentKb(), tarnix::test::PhoneDay::openDescriptors()});
        const Sample& s = samples.back();
        std::printf("%5d %6d %9ld %4d\n", s.hour, s.calls, s.rssKb, s.descriptors);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    // The first sample is the warm-up's.
    const Sample& first = samples.front();
    const Sample& last = samples.back();
    const auto byRss = [](const Sample& a, const Sample& b) { return a.rssKb < b.rssKb; };
    const auto byFds = [](const Sample& a, const Sample& b) { return a.descriptors < b.descriptors; };
    const long maxRss = std::max_element(samples.begin(), samples.end(), byRss)->rssKb;
    const int maxFds = std::max_element(samples.begin(), samples.end(), byFds)->descriptors;
    std::printf("rss_kb first %ld last %ld max %ld (tolerance %ld after hour 1)\n", first.rssKb, last.rssKb,
                maxRss, kRssToleranceKb);
    std::printf("fds first %d last %d max %d\n", first.descriptors, last.descriptors, maxFds);
    std::printf("%d calls in %d simulated hours, %.2f s\n", last.calls, kHours, seconds);

    bool ok = true;
    for (const std::string& line : day.leftovers()) {
        std::printf("left behind: %s\n", line.c_str());
        ok = false;
    }
    if (maxFds != first.descriptors || last.descriptors != first.descriptors) {
        std::printf("FAIL: open descriptors changed after the warm-up\n");
        ok = false;
    }
    if (maxRss > first.rssKb + kRssToleranceKb) {
        std::printf("FAIL: resident memory grew %ld KiB after the warm-up\n", maxRss - first.rssKb);
        ok = false;
    }
    return ok ? 0 : 1;
}
