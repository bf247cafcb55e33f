// A drift scene on a still clock whose backdrop is drawn alone, and helpers to compare pictures.
#pragma once

#include "support/gl_window_test.h"

#include <climits>
#include <vector>

// A channel change no noise in the logo mask reaches.
const int kSeenChange = 8;

class Backdrop : public GLWindowTest {
protected:
    // A renderer for a window of that size on a still clock, so every frame draws the same picture.
    Kaleidoscope &openStill(int width, int height);
};

// The picture one wedge loop's backdrop draws for a pass, on a cleared frame.
std::vector<unsigned char> backdropOf(Kaleidoscope &k, int mainPass);

// Where a point `units` from the view's centre lands across `pixels`, `half` units each side.
double toPixel(double units, double half, int pixels);

// An alpha texture from rows of texels, the first row at t = 0, sampled without filtering.
GLuint alphaTexture(int width, int height, const std::vector<unsigned char> &alpha);
// A texture that shows nothing: the layer drawn with it leaves the picture as it was.
GLuint emptyTexture();

// The bounding box and number of the pixels where two frames differ by `least` or more in a
// channel.
struct ChangedBox {
    int left = INT_MAX, right = -1, bottom = INT_MAX, top = -1;
    long count = 0;
};
ChangedBox changedBox(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b,
                      int width, int least = kSeenChange);
