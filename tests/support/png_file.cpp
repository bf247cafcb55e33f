// Snapshot files read back for tests.
#include "support/png_file.h"

#include <png.h>

Png readPng(const std::string &path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return Png();
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return Png();
    Png png;
    png.width = image.width;
    png.height = image.height;
    const size_t stride = size_t(image.width) * 3;
    for (size_t y = 0; y < image.height; ++y)
        png.rows.emplace_back(pixels.begin() + y * stride, pixels.begin() + (y + 1) * stride);
    return png;
}
