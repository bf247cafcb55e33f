// A libjpeg data source that reads a block of memory in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>

struct MemorySource {
    uint32_t size;
    const unsigned char *data;  // read in place, never copied or freed
};

// Points the decompressor's input at the block; the source must outlive the decode.
void installMemorySource(j_decompress_ptr decompressor, MemorySource *source);
