// Draws Brindlewick's icons from code: a detailed twelve-fold rosette for sizes from 32 pixels up
// and a bold six-fold one that stays legible at 16 to 24 pixels. Writes one PNG a size for the
// Linux icon theme, and the two Windows icons (the program's icon and the small picture) as ICO
// files holding PNG images. Usage: make_icons SIZES_FILE OUTPUT_DIR, SIZES_FILE the list of the
// theme's sizes (resources/icons/sizes.txt).
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "drawing.h"

namespace {

const int kSupersampling = 4;  // samples per pixel along each axis
const int kSmallestDetailedSize = 32;
const int kProgramIconSizes[] = {16, 24, 32, 48, 64, 256};
const int kSmallIconSizes[] = {16, 24, 32};

struct Colour {
    double r, g, b, a;  // straight (not premultiplied) alpha
};

const Colour kClear = {0, 0, 0, 0};
const Colour kNavy = {0.04, 0.06, 0.19, 1};
const Colour kIndigo = {0.20, 0.14, 0.42, 1};
const Colour kRim = {0.78, 0.86, 0.96, 1};
const Colour kTeal = {0.25, 0.82, 0.79, 1};
const Colour kMagenta = {0.88, 0.32, 0.61, 1};
const Colour kGold = {0.96, 0.77, 0.26, 1};

// Lays `top` over `bottom` with coverage `amount`.
Colour over(const Colour &bottom, const Colour &top, double amount)
{
    const double a = top.a * amount;
    const double outA = a + bottom.a * (1 - a);
    if (outA <= 0)
        return kClear;
    auto mix = [&](double t, double b) { return (t * a + b * bottom.a * (1 - a)) / outA; };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), outA};
}

// A point folded into the first half-wedge of a ring of `folds` mirrored wedges.
void fold(double x, double y, int folds, double &u, double &v)
{
    const double wedge = 2 * kPi / folds;
    double angle = std::fmod(std::atan2(y, x) + 2 * kPi, wedge);
    angle = std::fabs(angle - wedge / 2);
    const double r = std::hypot(x, y);
    u = r * std::cos(angle);
    v = r * std::sin(angle);
}

// Coverage of a soft disc of that radius around (cx, cy).
double softDisc(double u, double v, double cx, double cy, double radius, double softness)
{
    return 1.0 - smoothstep(radius * (1 - softness), radius, std::hypot(u - cx, v - cy));
}

// The dark round body with its pale rim, shared by both drawings; `rimWidth` in unit radii.
Colour body(double x, double y, double rimWidth)
{
    const double r = std::hypot(x, y);
    const double inside = r < 0.96 ? 1.0 : 0.0;
    const double depth = std::clamp(r / 0.96, 0.0, 1.0);
    Colour c = over(kClear, over(kIndigo, kNavy, depth), inside);
    return over(c, kRim, (r > 0.96 - rimWidth && r < 0.96) ? 1.0 : 0.0);
}

// The detailed drawing: twelve mirrored wedges of soft teal petals, magenta and gold discs.
Colour detailedRosette(double x, double y)
{
    Colour c = body(x, y, 0.05);
    if (std::hypot(x, y) >= 0.90)
        return c;
    double u, v;
    fold(x, y, 12, u, v);
    const double petal = std::hypot((u - 0.52) / 0.34, v / 0.085);
    c = over(c, kTeal, 1.0 - smoothstep(0.6, 1.0, petal));
    c = over(c, kMagenta, softDisc(u, v, 0.483, 0.129, 0.09, 0.4));
    c = over(c, kGold, softDisc(u, v, 0.80, 0.0, 0.06, 0.5));
    return over(c, kGold, softDisc(x, y, 0, 0, 0.14, 0.3));
}

// The bold drawing for small sizes: six teal petals round a gold heart.
Colour smallRosette(double x, double y)
{
    Colour c = body(x, y, 0.12);
    if (std::hypot(x, y) >= 0.84)
        return c;
    double u, v;
    fold(x, y, 6, u, v);
    const double petal = std::hypot((u - 0.5) / 0.32, v / 0.17);
    c = over(c, kTeal, petal < 1 ? 1.0 : 0.0);
    return over(c, kGold, std::hypot(x, y) < 0.22 ? 1.0 : 0.0);
}

using Drawing = Colour (*)(double x, double y);

// Renders a drawing at that size as straight-alpha RGBA rows, top row first.
std::vector<uint8_t> render(Drawing drawing, int size)
{
    std::vector<uint8_t> pixels(size_t(size) * size * 4);
    const int n = kSupersampling;
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;  // premultiplied sums
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    const double x = ((px + (sx + 0.5) / n) / size) * 2 - 1;
                    const double y = 1 - ((py + (sy + 0.5) / n) / size) * 2;
                    const Colour c = drawing(x, y);
                    r += c.r * c.a, g += c.g * c.a, b += c.b * c.a, a += c.a;
                }
            uint8_t *out = &pixels[(size_t(py) * size + px) * 4];
            auto channel = [&](double sum) {
                return uint8_t(std::lround(std::clamp(a > 0 ? sum / a : 0.0, 0.0, 1.0) * 255));
            };
            out[0] = channel(r), out[1] = channel(g), out[2] = channel(b);
            out[3] = uint8_t(std::lround(a / (n * n) * 255));
        }
    return pixels;
}

// Appends libpng's output to a byte vector.
void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto *bytes = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

// Encodes square RGBA pixels as a PNG file image in memory; empty on failure.
std::vector<uint8_t> encodePng(const std::vector<uint8_t> &pixels, int size)
{
    std::vector<uint8_t> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &bytes, appendBytes, nullptr);
    png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y)
        png_write_row(png, &pixels[size_t(y) * size * 4]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

// The drawing made for that size: the bold one below 32 pixels.
std::vector<uint8_t> iconPng(int size)
{
    const Drawing drawing = size < kSmallestDetailedSize ? smallRosette : detailedRosette;
    return encodePng(render(drawing, size), size);
}

// The bold drawing at any size, for the small picture.
std::vector<uint8_t> smallPicturePng(int size)
{
    return encodePng(render(smallRosette, size), size);
}

// Writes bytes to a file; false on any failure.
bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

// Appends a little-endian integer of `count` bytes.
void putLittleEndian(std::vector<uint8_t> &out, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

// An ICO file holding one PNG image, made by `png`, for each size.
std::vector<uint8_t> icoFile(const std::vector<int> &sizes, std::vector<uint8_t> (*png)(int))
{
    const uint32_t kHeaderBytes = 6, kEntryBytes = 16;
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes)
        images.push_back(png(size));
    std::vector<uint8_t> out;
    putLittleEndian(out, 0, 2);  // reserved
    putLittleEndian(out, 1, 2);  // type: icon
    putLittleEndian(out, uint32_t(sizes.size()), 2);
    uint32_t offset = kHeaderBytes + kEntryBytes * uint32_t(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        out.push_back(uint8_t(sizes[i] % 256));  // width; 0 means 256
        out.push_back(uint8_t(sizes[i] % 256));  // height
        out.push_back(0);                        // no palette
        out.push_back(0);                        // reserved
        putLittleEndian(out, 1, 2);              // colour planes
        putLittleEndian(out, 32, 2);             // bits per pixel
        putLittleEndian(out, uint32_t(images[i].size()), 4);
        putLittleEndian(out, offset, 4);
        offset += uint32_t(images[i].size());
    }
    for (const auto &image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

// The sizes in a list file, one a line; lines starting with # are comments. Empty if the file
// cannot be read or a line is not a size.
std::vector<int> readSizes(const char *path)
{
    std::ifstream in(path);
    std::vector<int> sizes;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const int size = std::atoi(line.c_str());
        if (size <= 0)
            return {};
        sizes.push_back(size);
    }
    return sizes;
}

}  // namespace

// Writes the theme's PNG icons in the sizes the list names and the two ICO files.
int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: make_icons SIZES_FILE OUTPUT_DIR\n");
        return 2;
    }
    const std::vector<int> themeSizes = readSizes(argv[1]);
    if (themeSizes.empty()) {
        fprintf(stderr, "make_icons: no sizes read from %s\n", argv[1]);
        return 1;
    }
    const std::string dir = argv[2];
    bool ok = true;
    for (int size : themeSizes)
        ok = writeFile(dir + "/brindlewick-" + std::to_string(size) + ".png", iconPng(size)) && ok;
    const std::vector<int> programSizes(std::begin(kProgramIconSizes), std::end(kProgramIconSizes));
    const std::vector<int> smallSizes(std::begin(kSmallIconSizes), std::end(kSmallIconSizes));
    ok = writeFile(dir + "/brindlewick.ico", icoFile(programSizes, iconPng)) && ok;
    ok = writeFile(dir + "/brindlewick-small.ico", icoFile(smallSizes, smallPicturePng)) && ok;
    if (!ok) {
        fprintf(stderr, "make_icons: could not write the icons to %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
