// The soak loop, driven from the layer's SwapBuffers and CreateWindowExA: every frame it counts
// and pushes the keys a user would press; between two windows it samples.
#include "bench/soak_loop.h"

#include "bench/scratch_folder.h"

#include "platform/gl.h"
#include "platform/sdl/test_seam.h"
#include "shell/app.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

namespace soak {
namespace {

using Clock = std::chrono::steady_clock;

// Keys by position, as the seam takes them: USB HID usages.
const int kKeyP = 19, kKeyEscape = 41, kKeyF1 = 58;
// The counter runs at SDL's rate, so the clock's arithmetic is that of a real run.
const int64_t kTicksPerSecond = 1000000000;
// Texture names probed for liveness: far more than one context ever makes.
const GLuint kTextureNames = 4096;
// The windowed client area is the desktop less this much (the shell's framed-window size).
const int kFramedWidthLoss = 8, kFramedHeightLoss = 64;

// Heap in use: the arena's allocated bytes plus blocks malloc took straight from mmap.
size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Resident set size, from /proc/self/statm's second field (pages), once malloc has given back
// what it keeps of freed memory: what the process holds, not what it held at its peak.
size_t residentBytes()
{
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    size_t total = 0, resident = 0;
    statm >> total >> resident;
    return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// Open file descriptors, not counting the one that lists them.
int openDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count - 1;
}

// Texture names alive in the current GL context.
int liveTextures()
{
    int count = 0;
    for (GLuint name = 1; name <= kTextureNames; ++name)
        count += glIsTexture(name) == GL_TRUE;
    return count;
}

// Presses and releases a key, typing that character, in the window the program made last.
void tap(int position, char32_t character = 0)
{
    seam::pushKey(seam::lastWindow(), position, character, seam::KeyAction::Press);
    seam::pushKey(seam::lastWindow(), position, character, seam::KeyAction::Release);
}

// Follows the plan frame by frame, from inside the program's buffer swaps.
class Runner {
public:
    // Follows that plan, handing each sample to onSample.
    Runner(const Plan &plan, const std::function<void(const Sample &)> &onSample)
        : plan(plan), onSample(onSample)
    {
    }

    // One presented frame: when a sample is due, counts the textures and ends the window with
    // F1, so the rest is measured between windows; then presses what the plan says.
    void onFrame()
    {
        if (finished) {
            if (!quitPressed)
                tap(kKeyEscape);
            quitPressed = true;
            return;
        }
        ++frames;
        ++framesInPhase;
        const Phase &current = plan.phases[phase];
        const bool phaseEnds = framesInPhase >= current.frames;
        if (frames % plan.snapshotEvery == 0)
            tap(kKeyP, U'p');
        const bool sampleDue = phaseEnds || frames % plan.block == 0;
        if (sampleDue) {
            texturesAtSample = liveTextures();
            samplePending = true;
        }
        if (sampleDue ||
            (current.switchEvery > 0 && framesInPhase % current.switchEvery == 0)) {
            tap(kKeyF1);
            ++switches;
        }
        if (phaseEnds) {
            framesInPhase = 0;
            finished = ++phase == plan.phases.size();
        }
    }

    // A window is about to be made, the last one's GL context gone: the moment to measure, with
    // none of the GL driver's buffers of a window in the heap.
    void onCreateWindow()
    {
        if (samplePending)
            sample();
        samplePending = false;
    }

    // Whether the plan was carried out to its end.
    bool done() const { return finished && !samplePending; }
    long framesSoFar() const { return frames; }
    long switchesSoFar() const { return switches; }

private:
    // Measures what the process holds and clears away the snapshots written so far.
    void sample()
    {
        const auto now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - sampledAt).count();
        const double rate = frames > framesAtSample ? (frames - framesAtSample) / seconds : 0;
        sampledAt = now;
        framesAtSample = frames;
        for (const auto &entry : std::filesystem::directory_iterator("."))
            std::filesystem::remove(entry.path());
        onSample(Sample{frames, switches, heapInUse(), residentBytes(), openDescriptors(),
                        texturesAtSample, rate});
    }

    const Plan &plan;
    const std::function<void(const Sample &)> &onSample;
    size_t phase = 0;
    long framesInPhase = 0, frames = 0, switches = 0, framesAtSample = 0;
    int texturesAtSample = 0;
    bool samplePending = true;  // the first sample: before the first window
    bool finished = false, quitPressed = false;
    Clock::time_point sampledAt = Clock::now();
};

}  // namespace

int run(const Plan &plan, const std::function<void(const Sample &)> &onSample)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const ScratchFolder scratch;
    seam::reset();
    seam::setMessageBoxAnswer(IDNO);
    seam::setDesktopSize(plan.width + kFramedWidthLoss, plan.height + kFramedHeightLoss);
    seam::setCounter(kTicksPerSecond, 0);
    Runner runner(plan, onSample);
    seam::onCall("SwapBuffers", [&] { runner.onFrame(); });
    seam::onCall("CreateWindowExA", [&] { runner.onCreateWindow(); });
    const int status = runApplication(GetModuleHandleA(nullptr));
    seam::reset();
    if (!runner.done()) {
        fprintf(stderr, "soak: the program ended early, at frame %ld after %ld switches "
                "(a window that cannot be made ends it)\n", runner.framesSoFar(),
                runner.switchesSoFar());
        return kEndedEarly;
    }
    return status;
}

}  // namespace soak
