/* A PCM paced by the monotonic clock, for tests on machines without a sound card. Playback
 * consumes frames in real time and underruns when it catches up with the application; capture
 * produces a 16-bit counter (one step per frame, the same on every channel), so a reader can
 * tell lost or repeated frames. */
#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>
#include <errno.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

typedef struct {
    snd_pcm_ioplug_t io;
    int timer;
    struct timespec started;
    int running;
    snd_pcm_uframes_t position; /* frames consumed or produced at the last pointer call */
    uint16_t counter;
} testclock_t;

static snd_pcm_uframes_t elapsed_frames(const testclock_t* t)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t ns =
        (int64_t)(now.tv_sec - t->started.tv_sec) * 1000000000 + (now.tv_nsec - t->started.tv_nsec);
    return (snd_pcm_uframes_t)(ns * (int64_t)t->io.rate / 1000000000);
}

static int testclock_start(snd_pcm_ioplug_t* io)
{
    testclock_t* t = io->private_data;
    const long periodNs = (long)((int64_t)io->period_size * 1000000000 / io->rate);
    struct itimerspec tick = {{periodNs / 1000000000, periodNs % 1000000000},
                              {periodNs / 1000000000, periodNs % 1000000000}};
    clock_gettime(CLOCK_MONOTONIC, &t->started);
    t->position = 0;
    t->running = 1;
    timerfd_settime(t->timer, 0, &tick, NULL);
    return 0;
}

static int testclock_stop(snd_pcm_ioplug_t* io)
{
    testclock_t* t = io->private_data;
    struct itimerspec off;
    memset(&off, 0, sizeof off);
    t->running = 0;
    timerfd_settime(t->timer, 0, &off, NULL);
    return 0;
}

static snd_pcm_sframes_t testclock_pointer(snd_pcm_ioplug_t* io)
{
    testclock_t* t = io->private_data;
    if (!t->running) {
        return (snd_pcm_sframes_t)t->position;
    }
    const snd_pcm_uframes_t now = elapsed_frames(t);
    if (io->stream == SND_PCM_STREAM_PLAYBACK && now > io->appl_ptr) {
        return -EPIPE; /* played everything it was given */
    }
    if (io->stream == SND_PCM_STREAM_CAPTURE && now > io->appl_ptr + io->buffer_size) {
        return -EPIPE; /* nobody read in time */
    }
    t->position = now;
    return (snd_pcm_sframes_t)now;
}

static snd_pcm_sframes_t testclock_transfer(snd_pcm_ioplug_t* io, const snd_pcm_channel_area_t* areas,
                                            snd_pcm_uframes_t offset, snd_pcm_uframes_t size)
{
    testclock_t* t = io->private_data;
    if (io->stream == SND_PCM_STREAM_CAPTURE) {
        for (snd_pcm_uframes_t frame = 0; frame < size; ++frame) {
            for (unsigned channel = 0; channel < io->channels; ++channel) {
                const snd_pcm_channel_area_t* area = &areas[channel];
                char* base = (char*)area->addr + (area->first + area->step * (offset + frame)) / 8;
                memcpy(base, &t->counter, sizeof t->counter);
            }
            ++t->counter;
        }
    }
    return (snd_pcm_sframes_t)size;
}

static int testclock_prepare(snd_pcm_ioplug_t* io)
{
    testclock_t* t = io->private_data;
    /* after an xrun the clock must not run on until the next start */
    testclock_stop(io);
    t->position = 0;
    return 0;
}

static int testclock_poll_revents(snd_pcm_ioplug_t* io, struct pollfd* pfd, unsigned int nfds,
                                  unsigned short* revents)
{
    uint64_t ticks;
    (void)nfds;
    if (read(pfd[0].fd, &ticks, sizeof ticks) < 0) {
        ticks = 0;
    }
    *revents = io->stream == SND_PCM_STREAM_PLAYBACK ? POLLOUT : POLLIN;
    return 0;
}

static int testclock_close(snd_pcm_ioplug_t* io)
{
    testclock_t* t = io->private_data;
    close(t->timer);
    free(t);
    return 0;
}

static const snd_pcm_ioplug_callback_t callbacks = {
    .start = testclock_start,
    .stop = testclock_stop,
    .pointer = testclock_pointer,
    .transfer = testclock_transfer,
    .prepare = testclock_prepare,
    .poll_revents = testclock_poll_revents,
    .close = testclock_close,
};

static int set_constraints(snd_pcm_ioplug_t* io)
{
    static const unsigned int access[] = {SND_PCM_ACCESS_RW_INTERLEAVED};
    static const unsigned int formats[] = {SND_PCM_FORMAT_S16_LE};
    int err = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_ACCESS, 1, access);
    if (err >= 0) err = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_FORMAT, 1, formats);
    if (err >= 0) err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_CHANNELS, 1, 2);
    if (err >= 0) err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_RATE, 8000, 48000);
    if (err >= 0) err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIOD_BYTES, 64, 64 * 1024);
    if (err >= 0) err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIODS, 2, 64);
    return err;
}

SND_PCM_PLUGIN_DEFINE_FUNC(testclock)
{
    (void)root;
    snd_config_iterator_t i, next;
    snd_config_for_each(i, next, conf)
    {
        const char* id;
        if (snd_config_get_id(snd_config_iterator_entry(i), &id) < 0) continue;
        if (strcmp(id, "comment") == 0 || strcmp(id, "type") == 0 || strcmp(id, "hint") == 0) continue;
        SNDERR("Unknown field %s", id);
        return -EINVAL;
    }
    testclock_t* t = calloc(1, sizeof *t);
    if (t == NULL) return -ENOMEM;
    t->timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    t->io.version = SND_PCM_IOPLUG_VERSION;
    t->io.name = "Clock-paced test PCM";
    t->io.callback = &callbacks;
    t->io.private_data = t;
    t->io.poll_fd = t->timer;
    t->io.poll_events = POLLIN;
    t->io.flags = SND_PCM_IOPLUG_FLAG_BOUNDARY_WA | SND_PCM_IOPLUG_FLAG_MONOTONIC;
    int err = snd_pcm_ioplug_create(&t->io, name, stream, mode);
    if (err < 0) {
        close(t->timer);
        free(t);
        return err;
    }
    err = set_constraints(&t->io);
    if (err < 0) {
        snd_pcm_ioplug_delete(&t->io);
        return err;
    }
    *pcmp = t->io.pcm;
    return 0;
}

// The macro ends in a semicolon of its own, which clang's pedantic mode (clang-tidy) flags.
#ifdef __clang__
#pragma clang diagnostic ignored "-Wextra-semi"
#endif
SND_PCM_PLUGIN_SYMBOL(testclock)
