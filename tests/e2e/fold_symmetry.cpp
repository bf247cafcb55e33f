// Reads a PNG and prints the fold count of the kaleidoscope symmetry around its centre: the
// number of mirror wedges (twice the rotational order when mirror axes are found), or 0 when
// the picture has no rotational symmetry. Used by the end-to-end run to see what keys did.
//
// Rings of samples are taken around the centre and high-passed along the ring, so the backdrop
// (a turning gradient and slowly varying clouds, drawn once and not kaleidoscoped) weighs little.
// A rotational order m is accepted when the rings correlate with themselves turned by 360/m
// degrees and, on average, by every multiple of it; the largest such m wins, since every divisor
// of it passes too. The turn by 360/m itself must pass: for twice the true order every second
// turn is a symmetry, which alone brings the average near the threshold.
#include "support/png_file.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int kSamplesPerRing = 1440;
const int kRings = 48;
const double kInnerRadius = 0.12;  // of half the shorter side
const double kOuterRadius = 0.92;
const int kHighPassWindow = 121;  // samples (about 30 degrees) in the subtracted running mean
const int kMaxOrder = 30;
const double kRotationThreshold = 0.5;  // correlation of the rings with themselves turned
const double kMirrorThreshold = 0.5;    // correlation of the rings with their reflection

struct Image {
    int width = 0;
    int height = 0;
    std::vector<double> luminance;  // top row first
};

using Rings = std::vector<std::vector<double>>;

// Decodes a PNG into luminance; false when it cannot be read.
bool readLuminance(const char *path, Image &image)
{
    const Png png = readPng(path);
    image.width = png.width;
    image.height = png.height;
    for (const std::vector<unsigned char> &row : png.rows)
        for (size_t x = 0; x < row.size(); x += 3)
            image.luminance.push_back((row[x] + row[x + 1] + row[x + 2]) / 3.0);
    return png.width > 0;
}

// Bilinear sample at a pixel position, clamped to the image.
double sample(const Image &image, double x, double y)
{
    x = std::fmin(std::fmax(x, 0.0), image.width - 1.001);
    y = std::fmin(std::fmax(y, 0.0), image.height - 1.001);
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const double fx = x - x0, fy = y - y0;
    auto at = [&](int px, int py) { return image.luminance[size_t(py) * image.width + px]; };
    return (at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx) * (1 - fy) +
           (at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx) * fy;
}

// Removes the running mean along a circular ring, keeping what varies over a few degrees.
std::vector<double> highPass(const std::vector<double> &ring)
{
    const int n = static_cast<int>(ring.size()), half = kHighPassWindow / 2;
    std::vector<double> out(n);
    double sum = 0;
    for (int i = -half; i <= half; ++i)
        sum += ring[(i + n) % n];
    for (int i = 0; i < n; ++i) {
        out[i] = ring[i] - sum / kHighPassWindow;
        sum += ring[(i + half + 1) % n] - ring[(i - half + n) % n];
    }
    return out;
}

// High-passed rings of samples around the image centre.
Rings sampleRings(const Image &image)
{
    const double cx = image.width / 2.0, cy = image.height / 2.0;
    const double reach = std::fmin(image.width, image.height) / 2.0;
    Rings rings;
    for (int r = 0; r < kRings; ++r) {
        const double radius =
            reach * (kInnerRadius + (kOuterRadius - kInnerRadius) * r / (kRings - 1));
        std::vector<double> ring(kSamplesPerRing);
        for (int i = 0; i < kSamplesPerRing; ++i) {
            const double a = 2 * M_PI * i / kSamplesPerRing;
            ring[i] = sample(image, cx + radius * std::cos(a), cy + radius * std::sin(a));
        }
        rings.push_back(highPass(ring));
    }
    return rings;
}

// Correlation, pooled over all rings, of each ring with its values at index map(i).
template <typename Map> double pooledCorrelation(const Rings &rings, Map map)
{
    double cross = 0, energy = 0;
    for (const std::vector<double> &ring : rings)
        for (int i = 0; i < kSamplesPerRing; ++i) {
            cross += ring[i] * ring[map(i)];
            energy += ring[i] * ring[i];
        }
    return energy > 0 ? cross / energy : 0;
}

// Correlation of the rings with themselves turned by `turns` / `order` of a full circle.
double turnCorrelation(const Rings &rings, int turns, int order)
{
    const int shift =
        static_cast<int>(std::lround(double(kSamplesPerRing) * turns / order)) % kSamplesPerRing;
    return pooledCorrelation(rings, [&](int i) { return (i + shift) % kSamplesPerRing; });
}

// The lower of the correlation after one turn by 360/order degrees and the mean over its multiples.
double rotationScore(const Rings &rings, int order)
{
    double total = 0;
    for (int j = 1; j < order; ++j)
        total += turnCorrelation(rings, j, order);
    return std::fmin(turnCorrelation(rings, 1, order), total / (order - 1));
}

// Best correlation of the rings with their reflection across any axis through the centre.
double mirrorScore(const Rings &rings)
{
    double best = -1;
    for (int axis = 0; axis < kSamplesPerRing; ++axis)  // reflection i -> axis - i (half-steps)
        best = std::fmax(best, pooledCorrelation(rings, [&](int i) {
                             return ((axis - i) % kSamplesPerRing + kSamplesPerRing) %
                                    kSamplesPerRing;
                         }));
    return best;
}

// The largest rotational order the rings show, or 0.
int rotationalOrder(const Rings &rings)
{
    for (int order = kMaxOrder; order >= 2; --order)
        if (rotationScore(rings, order) >= kRotationThreshold)
            return order;
    return 0;
}

}  // namespace

// Prints the fold count of the PNG named on the command line; status 2 when it cannot be read.
int main(int argc, char **argv)
{
    Image image;
    if (argc != 2 || !readLuminance(argv[1], image)) {
        fprintf(stderr, "usage: fold_symmetry PICTURE.png (a readable PNG)\n");
        return 2;
    }
    const Rings rings = sampleRings(image);
    const int order = rotationalOrder(rings);
    const bool mirrored = order > 0 && mirrorScore(rings) >= kMirrorThreshold;
    printf("%d\n", mirrored ? 2 * order : order);
    return 0;
}
