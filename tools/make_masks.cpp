// Draws Brindlewick's three greyscale masks from code and writes them as baseline JFIF JPEGs:
// the disc atlas, the seamless cloud mask and the logo strip. Usage: make_masks OUTPUT_DIR
#include <cstdio>  // before jpeglib.h, which uses FILE and size_t
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "drawing.h"
#include "masks.h"

namespace {

const int kQuality = 90;
const unsigned kRestartInterval = 8;  // MCUs between restart markers
const char kComment[] = "Brindlewick mask, drawn by tools/make_masks";

// Writes a picture as a greyscale JFIF with restart markers and an APP13 text segment.
bool writeJpeg(const Grey &picture, const std::string &path)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = picture.width;
    cinfo.image_height = picture.height;
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, kQuality, TRUE);
    cinfo.restart_interval = kRestartInterval;
    jpeg_start_compress(&cinfo, TRUE);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 13, reinterpret_cast<const JOCTET *>(kComment),
                      sizeof kComment - 1);
    std::vector<JSAMPLE> row(picture.width);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double v = std::clamp(picture.value[size_t(y) * picture.width + x], 0.0, 1.0);
            row[x] = static_cast<JSAMPLE>(std::lround(v * 255.0));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return fclose(file) == 0;
}

// ---- Disc atlas: eight 64 x 64 cells, one soft white shape on black in each ----

// A shape on the cell's own square, x and y from -1 to 1 with y up; 0 outside the shape.
using Shape = std::function<double(double x, double y)>;

// A four-pointed star: two tapering beams and a bright core.
double sparkle(double x, double y)
{
    const double r = std::hypot(x, y);
    const double ax = std::fabs(x), ay = std::fabs(y);
    const double beamH = ax < 0.95 ? 1.0 - smoothstep(0.0, 0.09 * (1.0 - ax / 0.95) + 0.01, ay) : 0;
    const double beamV = ay < 0.95 ? 1.0 - smoothstep(0.0, 0.09 * (1.0 - ay / 0.95) + 0.01, ax) : 0;
    const double core = std::exp(-r * r * 18.0);
    return std::max({beamH, beamV, core});
}

// A soft round glow that fades out by `reach`.
Shape glow(double reach)
{
    return [reach](double x, double y) {
        const double r = std::hypot(x, y) / reach;
        return std::exp(-r * r * 3.0) * (1.0 - smoothstep(0.7, 1.0, r));
    };
}

// A soft-edged ring of that radius.
Shape ring(double radius, double halfWidth)
{
    return [radius, halfWidth](double x, double y) {
        const double d = std::fabs(std::hypot(x, y) - radius);
        return 1.0 - smoothstep(halfWidth * 0.4, halfWidth, d);
    };
}

// A hard-edged crescent: a disc with an offset bite taken out.
double crescent(double x, double y)
{
    const double outer = std::hypot(x, y) < 0.8 ? 1.0 : 0.0;
    const double bite = std::hypot(x - 0.32, y - 0.18) < 0.66 ? 1.0 : 0.0;
    return outer * (1.0 - bite);
}

// A curl of `arms` arms winding outwards, `turns` times, fading at its outer end.
Shape spiral(int arms, double turns, double direction)
{
    return [=](double x, double y) {
        const double r = std::hypot(x, y);
        if (r > 0.92)
            return 0.0;
        const double coil = 0.9 / turns;  // radial gap between one arm's successive coils
        double theta = std::atan2(y, x) * direction;
        if (theta < 0)
            theta += 2 * kPi;
        // Distance, along the radius, to the nearest arm passing this angle.
        const double phase = (r / coil - theta / (2 * kPi)) * arms;
        const double offset = std::fabs(phase - std::round(phase)) * coil / arms;
        const double width = 0.05 + 0.05 * r;
        return (1.0 - smoothstep(width * 0.5, width, offset)) * (1.0 - smoothstep(0.75, 0.92, r)) *
               smoothstep(0.02, 0.12, r);
    };
}

// The disc atlas: the eight shapes side by side, one a cell.
Grey drawAtlas()
{
    const int cell = 64, cells = 8, samples = 4;
    const Shape shapes[cells] = {sparkle,           glow(0.95), ring(0.86, 0.14),
                                 crescent,          spiral(1, 2.5, 1.0), glow(0.6),
                                 ring(0.5, 0.1),    spiral(2, 1.5, -1.0)};
    Grey atlas{cell * cells, cell, std::vector<double>(size_t(cell) * cell * cells)};
    for (int c = 0; c < cells; ++c)
        for (int py = 0; py < cell; ++py)
            for (int px = 0; px < cell; ++px) {
                double sum = 0;  // supersampled, so every edge is soft
                for (int sy = 0; sy < samples; ++sy)
                    for (int sx = 0; sx < samples; ++sx) {
                        const double x = (px + (sx + 0.5) / samples) / cell * 2.0 - 1.0;
                        const double y = 1.0 - (py + (sy + 0.5) / samples) / cell * 2.0;
                        sum += shapes[c](x, y);
                    }
                atlas.at(c * cell + px, py) = sum / (samples * samples);
            }
    return atlas;
}

// ---- Cloud mask: periodic fractal noise, so it tiles without a seam both ways ----

// Smooth value noise on a lattice that repeats every periodX x periodY cells.
double periodicNoise(double x, double y, int periodX, int periodY, unsigned seed)
{
    auto lattice = [&](int i, int j) {
        unsigned h = unsigned((i % periodX + periodX) % periodX) * 73856093u ^
                     unsigned((j % periodY + periodY) % periodY) * 19349663u ^ seed * 83492791u;
        h ^= h >> 13;
        h *= 0x5bd1e995u;
        h ^= h >> 15;
        return (h & 0xFFFF) / 65535.0;
    };
    const int i = int(std::floor(x)), j = int(std::floor(y));
    const double fx = x - i, fy = y - j;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = lattice(i, j) + (lattice(i + 1, j) - lattice(i, j)) * sx;
    const double bottom = lattice(i, j + 1) + (lattice(i + 1, j + 1) - lattice(i, j + 1)) * sx;
    return top + (bottom - top) * sy;
}

// The cloud mask: six octaves of the periodic noise over 1024 x 256 pixels.
Grey drawClouds()
{
    const int width = 1024, height = 256, octaves = 6;
    const double targetMean = 0.55;
    Grey clouds{width, height, std::vector<double>(size_t(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double sum = 0, amplitude = 1, norm = 0;
            for (int o = 0; o < octaves; ++o) {
                const int cellsX = 8 << o, cellsY = 2 << o;  // 128-pixel base cells
                sum += amplitude * periodicNoise(double(x) * cellsX / width,
                                                 double(y) * cellsY / height, cellsX, cellsY, o + 1);
                norm += amplitude;
                amplitude *= 0.55;
            }
            clouds.at(x, y) = sum / norm;
        }
    // Stretch to the full grey range, then bend the curve until the mean is about 55 % white.
    const auto [low, high] = std::minmax_element(clouds.value.begin(), clouds.value.end());
    const double lo = *low, span = *high - *low;
    for (double &v : clouds.value)
        v = (v - lo) / span;
    double gammaLow = 0.1, gammaHigh = 10.0, gamma = 1.0;
    for (int step = 0; step < 40; ++step) {
        gamma = std::sqrt(gammaLow * gammaHigh);
        double mean = 0;
        for (double v : clouds.value)
            mean += std::pow(v, gamma);
        mean /= clouds.value.size();
        (mean > targetMean ? gammaLow : gammaHigh) = gamma;
    }
    for (double &v : clouds.value)
        v = std::pow(v, gamma);
    return clouds;
}

}  // namespace

// Writes the three masks into the folder named on the command line.
int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_masks OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok = writeJpeg(drawAtlas(), dir + "/discs_mask.jpg") &&
                    writeJpeg(drawClouds(), dir + "/clouds_mask.jpg") &&
                    writeJpeg(drawLogo(), dir + "/logo_mask.jpg");
    if (!ok)
        fprintf(stderr, "make_masks: could not write the masks to %s\n", dir.c_str());
    return ok ? 0 : 1;
}
