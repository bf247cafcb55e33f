// Decoding a JPEG held in memory. Decoding errors leave libjpeg through its error exit, which
// prints the library's message and jumps back to the decoder's recovery point.
#include "image/resource_image.h"

#include "image/memory_source.h"

#include <jerror.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Larger decoded images are refused rather than allocated: the masks are a few hundred KiB.
const size_t kMaxPixelBytes = size_t(256) << 20;

struct RecoveringErrorManager {
    jpeg_error_mgr library;
    jmp_buf recovery;
};

// The decompressor's error exit: report through the library, then leave the decode.
[[noreturn]] void exitDecode(j_common_ptr decompressor)
{
    (*decompressor->err->output_message)(decompressor);
    longjmp(reinterpret_cast<RecoveringErrorManager *>(decompressor->err)->recovery, 1);
}

// Raises a decoding error of our own through the library's error exit.
[[noreturn]] void failDecode(j_decompress_ptr decompressor, J_MESSAGE_CODE code)
{
    decompressor->err->msg_code = code;
    (*decompressor->err->error_exit)(reinterpret_cast<j_common_ptr>(decompressor));
    std::abort();  // the error exit never returns
}

// Reads every scanline into the record, top row first.
void readScanlines(j_decompress_ptr decompressor, ImageRecord &record, size_t rowBytes)
{
    JSAMPARRAY row = (*decompressor->mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(decompressor), JPOOL_IMAGE,
        static_cast<JDIMENSION>(rowBytes), 1);
    for (size_t line = 0; decompressor->output_scanline < decompressor->output_height; ++line) {
        jpeg_read_scanlines(decompressor, row, 1);
        std::memcpy(record.pixels + line * rowBytes, row[0], rowBytes);
    }
}

}  // namespace

bool decodeJpegBlock(ImageRecord &record, const unsigned char *data, size_t size)
{
    jpeg_decompress_struct decompressor;
    RecoveringErrorManager error;
    // Changed after the recovery point is armed, so volatile to survive the jump.
    MemorySource *volatile source = nullptr;
    if (size > UINT32_MAX)  // the source counts bytes in 32 bits
        return false;
    decompressor.err = jpeg_std_error(&error.library);
    error.library.error_exit = exitDecode;
    if (setjmp(error.recovery)) {
        jpeg_destroy_decompress(&decompressor);
        delete source;
        std::free(record.pixels);  // nothing reads a half-decoded picture
        record.pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(&decompressor);
    source = new (std::nothrow) MemorySource{static_cast<uint32_t>(size), data};
    if (!source) {
        jpeg_destroy_decompress(&decompressor);
        return false;
    }
    installMemorySource(&decompressor, source);
    jpeg_read_header(&decompressor, TRUE);
    jpeg_start_decompress(&decompressor);

    record.width = static_cast<int32_t>(decompressor.output_width);
    record.height = static_cast<int32_t>(decompressor.output_height);
    record.bitsPerPixel = 8 * decompressor.output_components;
    const size_t rowBytes = size_t(decompressor.output_components) * decompressor.output_width;
    if (rowBytes == 0 || decompressor.output_height > kMaxPixelBytes / rowBytes)
        failDecode(&decompressor, JERR_IMAGE_TOO_BIG);
    record.pixels = static_cast<unsigned char *>(std::calloc(rowBytes, decompressor.output_height));
    if (!record.pixels)
        failDecode(&decompressor, JERR_OUT_OF_MEMORY);
    readScanlines(&decompressor, record, rowBytes);

    jpeg_finish_decompress(&decompressor);
    jpeg_destroy_decompress(&decompressor);
    delete source;
    return true;
}

