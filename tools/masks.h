// The greyscale picture make_masks draws and writes as a JPEG, and the logo drawn apart.
#pragma once
#include <cstddef>
#include <vector>

struct Grey {
    int width, height;
    std::vector<double> value;  // 0 black ... 1 white, top row first
    double &at(int x, int y) { return value[size_t(y) * width + x]; }
};

// The logo strip: "Brindlewick" in a stroke font of our own, white on black.
Grey drawLogo();
