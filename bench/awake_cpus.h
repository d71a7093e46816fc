#pragma once

// Holds every CPU out of its idle state while it lives, for latency benchmarks on a virtual
// machine: there an idle vCPU halts, and waking it goes through the host's scheduler, which adds
// up to several milliseconds to any hop between threads, whatever the threads do. Each CPU gets a
// thread spinning in the lowest scheduling class (SCHED_IDLE), which any runnable thread
// preempts at once, so the figures keep the program's and the rig's own time.
#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <thread>
#include <vector>

namespace tarnix::bench {

class AwakeCpus {
public:
    AwakeCpus()
    {
        const unsigned cpus = std::thread::hardware_concurrency();
        for (unsigned cpu = 0; cpu < cpus; ++cpu) {
            spinners_.emplace_back([this, cpu] { spin(cpu); });
        }
    }
    ~AwakeCpus()
    {
        stop_ = true;
        for (std::thread& spinner : spinners_) spinner.join();
    }
    AwakeCpus(const AwakeCpus&) = delete;
    AwakeCpus& operator=(const AwakeCpus&) = delete;

private:
    void spin(unsigned cpu)
    {
        const sched_param lowest{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &lowest);
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        pthread_setaffinity_np(pthread_self(), sizeof one, &one);
        while (!stop_.load(std::memory_order_relaxed)) {
        }
    }

    std::atomic<bool> stop_{false};
    std::vector<std::thread> spinners_;
};

}  // namespace tarnix::bench
