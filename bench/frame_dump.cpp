// Same-picture check: renders a fixed run of frames offscreen on a hand-driven clock with the
// random generator pinned, through two pattern morphs, and writes every frame's pixels to a file;
// two such files, from two builds, are then compared pixel by pixel.
// Usage: frame_dump write FILE [WIDTH HEIGHT FRAMES]   (defaults 640 480 240)
//        frame_dump compare FILE_A FILE_B              prints the differences frame by frame
#include "platform/gl.h"
#include "platform/sdl/test_seam.h"
#include "render/kaleidoscope.h"
#include "render/random.h"
#include "scene/drift_scene.h"
#include "shell/app.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const int64_t kTicksPerSecond = 1000000000;
const int kFramesPerSecond = 30;
// The morphs the run goes through: to 24 wedges at once, back to 12 half way.
const int kWidePattern = 7, kNarrowPattern = 1;

// The file's header: the size of every frame and how many follow.
struct Header {
    int32_t width, height, frames;
};

// The clock's counter at that frame of the run.
void setFrame(int frame)
{
    seam::setCounter(kTicksPerSecond, int64_t(frame) * kTicksPerSecond / kFramesPerSecond);
}

// Gives the discs middling values from a pinned generator: the renderer seeds from the clock.
// Written here, not shared: this file is built in an earlier commit's tree too.
void pinScene(DriftScene &scene)
{
    seedRandom(1);
    scene.size = 0.5f;
    scene.spin = 700.0f;
    scene.aspect = 0.3f;
    scene.uniform = 0;
    scene.discCell = 0;
    for (int i = 0; i < kDiscCount; ++i)
        respawnDisc(scene.discs[i]);
}

// Renders the run and writes its frames to `path`; 0 on success.
int writeRun(const char *path, int width, int height, int frames)
{
    Application application = {GetModuleHandleA(nullptr), "OpenGL"};
    AppWindow appWindow = {};
    appWindow.settings = {&application, "Brindlewick", width + 8, height + 64, 32, 0};
    if (!registerGLClass(application) || !createRenderWindow(appWindow)) {
        fprintf(stderr, "frame_dump: no GL window\n");
        return 1;
    }
    FILE *file = fopen(path, "wb");
    if (!file) {
        perror(path);
        return 1;
    }
    const Header header = {width, height, frames};
    fwrite(&header, sizeof header, 1, file);
    setFrame(0);
    Kaleidoscope renderer(width, height);
    pinScene(*currentDriftScene());
    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int frame = 0; frame < frames; ++frame) {
        if (frame == 0 || frame == frames / 2)
            renderer.selectPattern(frame == 0 ? kWidePattern : kNarrowPattern, true);
        setFrame(frame);
        renderer.renderFrame(kMirrorsRequested);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        fwrite(pixels.data(), 1, pixels.size(), file);
    }
    const bool written = fclose(file) == 0;
    destroyRenderWindow(appWindow);
    return written ? 0 : 1;
}

// Compares two runs frame by frame: pixels that differ, the largest difference of a channel,
// and the pixels that differ by more than one level; 0 when both runs have the same shape.
int compareRuns(const char *pathA, const char *pathB)
{
    FILE *a = fopen(pathA, "rb"), *b = fopen(pathB, "rb");
    Header ha = {}, hb = {};
    if (!a || !b || fread(&ha, sizeof ha, 1, a) != 1 || fread(&hb, sizeof hb, 1, b) != 1 ||
        memcmp(&ha, &hb, sizeof ha) != 0) {
        fprintf(stderr, "frame_dump: the runs cannot be compared\n");
        return 1;
    }
    const size_t pixelCount = size_t(ha.width) * ha.height;
    std::vector<unsigned char> pa(pixelCount * 3), pb(pixelCount * 3);
    long framesDiffering = 0, worstCount = 0, worstOverOne = 0;
    int worstLevel = 0;
    printf("frame differing_pixels percent max_level over_one_level\n");
    for (int frame = 0; frame < ha.frames; ++frame) {
        if (fread(pa.data(), 1, pa.size(), a) != pa.size() ||
            fread(pb.data(), 1, pb.size(), b) != pb.size()) {
            fprintf(stderr, "frame_dump: a run ends early, at frame %d\n", frame);
            return 1;
        }
        long differing = 0, overOne = 0;
        int level = 0;
        for (size_t p = 0; p < pixelCount; ++p) {
            int pixelLevel = 0;
            for (int c = 0; c < 3; ++c)
                pixelLevel = std::max(pixelLevel, std::abs(pa[p * 3 + c] - pb[p * 3 + c]));
            differing += pixelLevel > 0;
            overOne += pixelLevel > 1;
            level = std::max(level, pixelLevel);
        }
        if (differing > 0) {
            ++framesDiffering;
            printf("%d %ld %.4f %d %ld\n", frame, differing, 100.0 * differing / pixelCount, level,
                   overOne);
        }
        worstCount = std::max(worstCount, differing);
        worstOverOne = std::max(worstOverOne, overOne);
        worstLevel = std::max(worstLevel, level);
    }
    printf("%dx%d, %d frames: %ld differ; at most %ld pixels (%.4f %%) in a frame, %ld of them "
           "by more than one level; largest difference %d levels\n",
           ha.width, ha.height, ha.frames, framesDiffering, worstCount,
           100.0 * worstCount / pixelCount, worstOverOne, worstLevel);
    fclose(a);
    fclose(b);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (argc >= 3 && strcmp(argv[1], "write") == 0) {
        const int width = argc > 3 ? atoi(argv[3]) : 640, height = argc > 4 ? atoi(argv[4]) : 480;
        const int frames = argc > 5 ? atoi(argv[5]) : 240;
        return writeRun(argv[2], width, height, frames);
    }
    if (argc == 4 && strcmp(argv[1], "compare") == 0)
        return compareRuns(argv[2], argv[3]);
    fprintf(stderr, "usage: frame_dump write FILE [WIDTH HEIGHT FRAMES] | compare FILE_A FILE_B\n");
    return 2;
}
