// The program's embedded JPEG images: found by name, decoded from memory, made into textures.
#pragma once

#include "image/image_record.h"
#include "platform/gl.h"

#include <cstddef>

// How the textures are sampled where they are shown smaller than their texels: blended from the
// two nearest mipmap levels; and where larger: blended from the four nearest texels.
const GLint kMinifyingFilter = GL_LINEAR_MIPMAP_LINEAR;
const GLint kMagnifyingFilter = GL_LINEAR;

// Fills a zero-filled record from the raw-data resource of that name and makes its texture.
bool loadResourceImage(ImageRecord &record, const char *name);
// Decodes a JPEG held in memory into the record; false on any decoding failure.
bool decodeJpegBlock(ImageRecord &record, const unsigned char *data, size_t size);
// Uploads the record's pixels as a mipmapped, repeating texture and releases the pixels.
bool makeTexture(ImageRecord &record);
