// The soak loop, driven from the layer's SwapBuffers: every frame it counts, samples, and pushes
// the keys a user would press.
#include "bench/soak_loop.h"

#include "platform/gl.h"
#include "platform/sdl/test_seam.h"
#include "shell/app.h"

#include <chrono>
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

// Resident set size, from /proc/self/statm's second field (pages).
size_t residentBytes()
{
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
    Runner(const Plan &plan, const std::function<void(const Sample &)> &onSample)
        : plan(plan), onSample(onSample)
    {
    }

    // One presented frame: sample when due, then press what the plan says.
    void onFrame()
    {
        if (finished)
            return;
        ++frames;
        ++framesInPhase;
        const Phase &current = plan.phases[phase];
        const bool phaseEnds = framesInPhase >= current.frames;
        if (frames == 1 || phaseEnds || frames % plan.block == 0)
            sample();
        if (phaseEnds) {
            framesInPhase = 0;
            if (++phase == plan.phases.size()) {
                finished = true;
                tap(kKeyEscape);
                return;
            }
        }
        if (frames % plan.snapshotEvery == 0)
            tap(kKeyP, U'p');
        if (current.switchEvery > 0 && framesInPhase > 0 && framesInPhase % current.switchEvery == 0) {
            tap(kKeyF1);
            ++switches;
        }
    }

private:
    // Measures what the process holds and clears away the snapshots written so far.
    void sample()
    {
        const auto now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - sampledAt).count();
        const double rate = framesAtSample > 0 ? (frames - framesAtSample) / seconds : 0;
        sampledAt = now;
        framesAtSample = frames;
        glFinish();  // the GL driver's buffers for frames still in flight are freed by then
        for (const auto &entry : std::filesystem::directory_iterator("."))
            std::filesystem::remove(entry.path());
        onSample(Sample{frames, switches, heapInUse(), residentBytes(), openDescriptors(),
                        liveTextures(), rate});
    }

    const Plan &plan;
    const std::function<void(const Sample &)> &onSample;
    size_t phase = 0;
    long framesInPhase = 0, frames = 0, switches = 0, framesAtSample = 0;
    bool finished = false;
    Clock::time_point sampledAt = Clock::now();
};

// A fresh folder to run in, removed with everything in it when the run ends.
class ScratchFolder {
public:
    ScratchFolder() : previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "soak-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        std::filesystem::current_path(folder);
    }
    ~ScratchFolder()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }

private:
    std::filesystem::path previous, folder;
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
    const int status = runApplication(GetModuleHandleA(nullptr));
    seam::reset();
    return status;
}

}  // namespace soak
