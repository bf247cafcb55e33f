// A snapshot of the running program shows the frame drawn right after P, at the window's size
// of that moment, even when the program ends at once.
#include "support/gl_window_test.h"
#include "support/png_file.h"

#include <filesystem>

namespace {

// The sum of absolute differences between a PNG (top row first) and pixels read from the GL
// (bottom row first); -1 when the sizes differ.
long differenceFromFrame(const Png &png, const std::vector<unsigned char> &frame, int width,
                         int height)
{
    if (png.width != width || png.height != height)
        return -1;
    long difference = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            difference += std::abs(int(png.rows[y][x]) - frame[size_t(height - 1 - y) * width * 3 + x]);
    return difference;
}

TEST(SnapshotOfTheProgram, FileShowsTheNextFrameAtTheWindowsSizeOfThatMomentEvenBeforeAQuit)
{
    ScratchFolder dir;
    const int width = 200, height = 150;  // the size the window is given after the first P
    std::string first;
    long firstDifference = -2;
    std::vector<unsigned char> shown;
    setSeconds(0);
    // "No" to the full-screen question; the clock one second further on at every frame.
    ASSERT_EQ(runProgram(IDNO, [&](int frame) {
        setSeconds(frame);  // a new picture
        Kaleidoscope &k = **shellState.rendererSlot;
        if (frame == 3) {
            PostMessageA(seam::lastWindow(), WM_KEYDOWN, 'P', 1);
        } else if (frame == 4) {  // read before this frame is presented: nothing rests on a swap
            char text[64];
            snprintf(text, sizeof text, "snap_%03d_x_%03d_1.png", k.viewportWidth, k.viewportHeight);
            first = text;
            firstDifference = differenceFromFrame(readPng(first), readPixels(k.viewportWidth, k.viewportHeight),
                                                  k.viewportWidth, k.viewportHeight);
            PostMessageA(seam::lastWindow(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
            PostMessageA(seam::lastWindow(), WM_KEYDOWN, 'P', 1);
        } else if (frame == 5) {
            shown = readPixels(width, height);
            // Both handled before another frame is drawn: the snapshot is still written.
            PostMessageA(seam::lastWindow(), WM_KEYDOWN, 'P', 1);
            PostMessageA(seam::lastWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
        }
    }), 0);
    EXPECT_EQ(firstDifference, 0) << first;
    const Png resized = readPng("snap_200_x_150_2.png");
    ASSERT_EQ(resized.height, height);
    EXPECT_EQ(differenceFromFrame(resized, shown, width, height), 0);
    long brightness = 0;
    for (const auto &row : resized.rows)
        for (unsigned char v : row)
            brightness += v;
    EXPECT_GT(brightness, 0);  // a drawn picture, not a black buffer
    EXPECT_TRUE(std::filesystem::exists("snap_200_x_150_3.png"));
}

}  // namespace
