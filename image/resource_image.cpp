// Loading the embedded JPEG images into textures.
#include "image/resource_image.h"

#include "platform/gl.h"

#include <cstdlib>

bool loadResourceImage(ImageRecord &record, const char *name)
{
    // A null module is the program's own, whose resources hold the masks.
    HRSRC resource = FindResourceA(nullptr, name, RT_RCDATA);
    if (!resource)
        return false;
    const DWORD size = SizeofResource(nullptr, resource);
    HGLOBAL loaded = size ? LoadResource(nullptr, resource) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return false;
    if (!decodeJpegBlock(record, static_cast<const unsigned char *>(data), size))
        return false;
    return makeTexture(record);
}

bool makeTexture(ImageRecord &record)
{
    glGenTextures(1, &record.texture);
    glBindTexture(GL_TEXTURE_2D, record.texture);
    const GLenum format = record.bitsPerPixel == 24 ? GL_RGB : GL_ALPHA;
    GLint alignment;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are tightly packed, whatever their length
    glTexImage2D(GL_TEXTURE_2D, 0, format, record.width, record.height, 0, format,
                 GL_UNSIGNED_BYTE, record.pixels);
    gluBuild2DMipmaps(GL_TEXTURE_2D, format, record.width, record.height, format,
                      GL_UNSIGNED_BYTE, record.pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kMinifyingFilter);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, kMagnifyingFilter);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    std::free(record.pixels);
    record.pixels = nullptr;
    return true;
}
