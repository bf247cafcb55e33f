// Fuzz target: arbitrary bytes through the memory source and JPEG decode path of the loader.
#include "image/resource_image.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ImageRecord record = {};
    if (decodeJpegBlock(record, data, size) &&
        size_t(record.width) * record.height * (record.bitsPerPixel / 8) > 0)
        record.pixels[0] ^= 1;  // touch the buffer: a decode that succeeds must have made it
    std::free(record.pixels);
    return 0;
}
