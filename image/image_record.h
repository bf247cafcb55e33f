// A decoded image and the GL texture made from it.
#pragma once

#include <cstdint>

struct ImageRecord {
    unsigned char *pixels;  // height rows of width x components bytes, top row first; freed once uploaded
    int32_t bitsPerPixel;   // 8 x components
    int32_t width;
    int32_t height;
    uint32_t texture;  // GL texture name; 0 while there is none
};
