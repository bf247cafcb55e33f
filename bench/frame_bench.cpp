// Frame benchmark: renders frames offscreen with the real drift scene and prints the median
// milliseconds per frame, glFinish included, the CPU time a frame costs, the scene's own share
// of the work and the process's peak resident memory: first as sentences, then one
// "figure NAME VALUE" line per figure for scripts (bench/compare.sh).
// Usage: frame_bench [WIDTH HEIGHT WEDGES FRAMES]   (defaults 1280 720 24 120)
#include "platform/gl.h"
#include "render/kaleidoscope.h"
#include "render/random.h"
#include "scene/drift_scene.h"
#include "shell/app.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

// Median of the milliseconds one call of `work` takes, over `runs` calls, each followed by an
// untimed call of `after`.
double medianMilliseconds(int runs, const std::function<void()> &work,
                          const std::function<void()> &after = [] {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        after();
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}

// CPU seconds the process has used so far, in all its threads: the GL's rasteriser threads too.
double processCpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

// The process's peak resident memory so far, in MiB.
double peakResidentMebibytes()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

// Gives the discs middling, repeatable values, so runs compare: the renderer seeds from the clock.
// Written here, not shared: compare.sh builds this file in an earlier commit's tree too.
void settleDiscs(DriftScene &scene)
{
    seedRandom(1);
    scene.size = 0.5f;
    scene.spin = 700.0f;
    scene.aspect = 0.3f;
    scene.uniform = 0;
    for (int i = 0; i < kDiscCount; ++i)
        respawnDisc(scene.discs[i]);
}

// The index of the pattern with that many wedges (10...24, even).
int patternFor(int wedges) { return std::clamp((wedges - 10) / 2, 0, 7); }

}  // namespace

int main(int argc, char **argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const int width = argc > 1 ? atoi(argv[1]) : 1280, height = argc > 2 ? atoi(argv[2]) : 720;
    const int wedges = argc > 3 ? atoi(argv[3]) : 24, frames = argc > 4 ? atoi(argv[4]) : 120;

    Application application = {GetModuleHandleA(nullptr), "OpenGL"};
    AppWindow appWindow = {};
    appWindow.settings = {&application, "Brindlewick", width + 8, height + 64, 32, 0};
    if (!registerGLClass(application) || !createRenderWindow(appWindow)) {
        fprintf(stderr, "frame_bench: no GL window\n");
        return 1;
    }
    Kaleidoscope renderer(width, height);
    renderer.selectPattern(patternFor(wedges), false);
    settleDiscs(*currentDriftScene());
    renderer.renderFrame(kMirrorsRequested);  // warm up: textures, shaders, first clears
    glFinish();

    const double cpuBefore = processCpuSeconds();
    const double frame = medianMilliseconds(frames, [&] {
        renderer.renderFrame(kMirrorsRequested);
        glFinish();
    });
    const double cpuAfterFrames = processCpuSeconds();
    Scene &scene = *renderer.scene;
    // Where the time goes: the floor, a frame that only clears; then the backdrop alone (clear,
    // gradient, two cloud layers, logo).
    const double clear = medianMilliseconds(frames, [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
    });
    const double backdrop = medianMilliseconds(frames, [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene.beginFrame(1);
        scene.endFrame();
        glFinish();
    });
    // The scene's own work: advancing 100 discs, and issuing the discs of every wedge of one
    // wedge loop to the GL (timed without waiting for the GL to draw them, which it then does
    // untimed, so no work piles up). The loop's backdrop set-up is in it, capture pass (no
    // clouds), as whatever a scene does per loop for its discs is done there.
    const double update = medianMilliseconds(frames * 10, [&] { scene.update(); });
    const int drawnWedges = renderer.currentWedge->count;
    const double issue = medianMilliseconds(frames, [&] {
        scene.beginFrame(0);
        for (int i = 0; i < drawnWedges; ++i)
            scene.drawContent();
        scene.endFrame();
    }, [] { glFinish(); });
    const double frameCpu = (cpuAfterFrames - cpuBefore) * 1000.0 / frames;
    const double peak = peakResidentMebibytes();
    printf("%dx%d, %d wedges, %d frames: median %.2f ms per frame (%.1f fps)\n", width, height,
           drawnWedges, frames, frame, 1000.0 / frame);
    printf("  clear alone %.2f ms, backdrop alone %.2f ms; scene work: update %.4f ms, "
           "issuing %d x 100 discs %.3f ms\n",
           clear, backdrop, update, drawnWedges, issue);
    printf("  CPU %.2f ms per frame (all threads); peak resident %.0f MiB\n", frameCpu, peak);
    const std::pair<const char *, double> figures[] = {
        {"frame_ms", frame}, {"clear_ms", clear}, {"backdrop_ms", backdrop},
        {"update_ms", update}, {"issue_ms", issue}, {"cpu_ms", frameCpu}, {"peak_mib", peak}};
    for (const auto &figure : figures)
        printf("figure %s %.4f\n", figure.first, figure.second);
    destroyRenderWindow(appWindow);
    return 0;
}
