// A meter preloaded into the shipped program by bench/compare.sh (LD_PRELOAD), never linked into
// it: counts the frames the program presents, can take the frame-rate regulator's sleep out, and
// when the program exits writes to the file named by BRINDLEWICK_METER_REPORT the frames, wall
// seconds and CPU seconds counted after a warm-up, and the peak resident memory.
// BRINDLEWICK_METER_UNCAPPED=1: every sleep returns at once, so frames follow each other as fast
// as they are drawn. BRINDLEWICK_METER_WARMUP: seconds after the first frame before counting
// starts, given by bench/compare.sh; unset, counting starts at the first frame.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <sys/resource.h>

namespace {

// Seconds on that clock.
double clockSeconds(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

// The frames presented and the clocks at the first one and at the start and end of counting.
struct Meter {
    long frames = 0;  // counted since the warm-up ended
    double firstFrame = -1;
    double startWall = -1, startCpu = 0;
    double lastWall = 0, lastCpu = 0;
} meter;

// Whether the environment variable is set to 1.
bool flagSet(const char *name)
{
    const char *value = getenv(name);
    return value && value[0] == '1';
}

// Warm-up seconds from the environment.
double warmUpSeconds()
{
    const char *value = getenv("BRINDLEWICK_METER_WARMUP");
    return value ? atof(value) : 0.0;
}

// Notes one presented frame on the meter.
void countFrame()
{
    const double wall = clockSeconds(CLOCK_MONOTONIC);
    const double cpu = clockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    if (meter.firstFrame < 0)
        meter.firstFrame = wall;
    if (meter.startWall < 0) {
        if (wall - meter.firstFrame < warmUpSeconds())
            return;
        meter.startWall = wall;
        meter.startCpu = cpu;
        return;
    }
    ++meter.frames;
    meter.lastWall = wall;
    meter.lastCpu = cpu;
}

// Writes the report when the program exits.
__attribute__((destructor)) void writeReport()
{
    const char *name = getenv("BRINDLEWICK_METER_REPORT");
    FILE *file = name ? fopen(name, "w") : nullptr;
    if (!file)
        return;
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const bool counted = meter.frames > 0;
    fprintf(file, "frames %ld seconds %.3f cpu_seconds %.3f peak_kb %ld\n", meter.frames,
            counted ? meter.lastWall - meter.startWall : 0.0,
            counted ? meter.lastCpu - meter.startCpu : 0.0, usage.ru_maxrss);
    fclose(file);
}

// The library's own function of that name.
template <typename Function> Function next(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// The program presents a frame: counted, then passed on.
extern "C" void SDL_GL_SwapWindow(void *window)
{
    static auto swap = next<void (*)(void *)>("SDL_GL_SwapWindow");
    swap(window);
    countFrame();
}

// The program's only sleep is the regulator's after each frame: uncapped, it returns at once.
extern "C" void SDL_Delay(uint32_t milliseconds)
{
    static auto delay = next<void (*)(uint32_t)>("SDL_Delay");
    static const bool uncapped = flagSet("BRINDLEWICK_METER_UNCAPPED");
    if (!uncapped)
        delay(milliseconds);
}
