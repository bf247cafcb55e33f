// The memory source. The whole block is in view from the start, so the only input it ever
// supplies after that is an end-of-image marker, when a damaged stream asks for more.
#include "image/memory_source.h"

#include <jerror.h>

namespace {

struct SourceManager {
    jpeg_source_mgr library;
    MemorySource *source;
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr) {}

void termSource(j_decompress_ptr) {}

// Past the block: warn and hand over an end-of-image marker, so the decoder never reads beyond it.
boolean fillInputBuffer(j_decompress_ptr decompressor)
{
    WARNMS(decompressor, JWRN_JPEG_EOF);
    decompressor->src->next_input_byte = kEndOfImage;
    decompressor->src->bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

// Skips forward, stopping at the end of the block.
void skipInputData(j_decompress_ptr decompressor, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr *source = decompressor->src;
    const size_t skip = static_cast<size_t>(count) < source->bytes_in_buffer
                            ? static_cast<size_t>(count)
                            : source->bytes_in_buffer;
    source->next_input_byte += skip;
    source->bytes_in_buffer -= skip;
}

}  // namespace

void installMemorySource(j_decompress_ptr decompressor, MemorySource *source)
{
    if (!decompressor->src)
        decompressor->src = static_cast<jpeg_source_mgr *>((*decompressor->mem->alloc_small)(
            reinterpret_cast<j_common_ptr>(decompressor), JPOOL_PERMANENT, sizeof(SourceManager)));
    SourceManager *manager = reinterpret_cast<SourceManager *>(decompressor->src);
    manager->library.init_source = initSource;
    manager->library.fill_input_buffer = fillInputBuffer;
    manager->library.skip_input_data = skipInputData;
    manager->library.resync_to_restart = jpeg_resync_to_restart;
    manager->library.term_source = termSource;
    manager->source = source;
    manager->library.next_input_byte = source->data;
    manager->library.bytes_in_buffer = source->size;
}
