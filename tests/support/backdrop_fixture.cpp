// A drift scene on a still clock whose backdrop is drawn alone, and helpers to compare pictures.
#include "support/backdrop_fixture.h"

#include "render/view.h"

#include <algorithm>
#include <cstdlib>

Kaleidoscope &Backdrop::openStill(int width, int height) { return openRendererAt(width, height, 2.0); }

std::vector<unsigned char> backdropOf(Kaleidoscope &k, int mainPass)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    placeCamera();
    k.scene->beginFrame(mainPass);
    k.scene->endFrame();
    return readPixels(k.viewportWidth, k.viewportHeight);
}

double toPixel(double units, double half, int pixels) { return (units / half + 1) / 2 * pixels; }

GLuint alphaTexture(int width, int height, const std::vector<unsigned char> &alpha)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 alpha.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return name;
}

GLuint emptyTexture() { return alphaTexture(1, 1, {0}); }

ChangedBox changedBox(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b,
                      int width, int least)
{
    ChangedBox box;
    for (size_t pixel = 0; pixel < a.size() / 3; ++pixel) {
        bool changed = false;
        for (size_t c = 0; c < 3; ++c)
            changed = changed || std::abs(a[pixel * 3 + c] - b[pixel * 3 + c]) >= least;
        if (!changed)
            continue;
        const int x = static_cast<int>(pixel % width), y = static_cast<int>(pixel / width);
        ++box.count;
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.bottom = std::min(box.bottom, y);
        box.top = std::max(box.top, y);
    }
    return box;
}
