// Snapshots: the picture read back from the GL and written as a numbered PNG in the current
// directory, upright, with title, author and description text. An existing file is never
// replaced, and a file that could not be finished is removed.
#include "image/snapshot.h"

#include "platform/gl.h"
#include "platform/new_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// How many taken numbers are passed over before giving up.
const int kMaxNameAttempts = 1000;

// The file name of snapshot n of a width x height picture.
std::string snapshotName(int width, int height, int n)
{
    char name[64];
    snprintf(name, sizeof name, "snap_%03d_x_%03d_%d.png", width, height, n);
    return name;
}

// Creates the next snapshot file that does not exist yet; null when none could be created.
FILE *createSnapshotFile(int width, int height, std::string &name)
{
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        name = snapshotName(width, height, ++snapshotState.counter);
        FILE *file = createNewFile(name.c_str());  // earlier snapshots stay as they are
        if (file || errno != EEXIST)
            return file;
    }
    return nullptr;
}

// The pixels of one snapshot and the table of its rows, upright: the window's top row first.
struct SnapshotImage {
    std::vector<unsigned char> pixels;  // rows tightly packed, the window's bottom row first
    std::vector<png_bytep> rows;
};

// Allocates both buffers of a width x height snapshot; false when memory runs short.
bool allocateImage(SnapshotImage &image, int width, int height)
{
    try {
        const size_t stride = size_t(width) * 3;
        image.pixels.assign(stride * height, 0);
        image.rows.resize(height);
        for (int i = 0; i < height; ++i)
            image.rows[i] = image.pixels.data() + size_t(height - 1 - i) * stride;
        return true;
    } catch (const std::bad_alloc &) {
        image = SnapshotImage();
        return false;
    }
}

// Reads the viewport's pixels, rows tightly packed, the window's bottom row first.
void readFramebuffer(std::vector<unsigned char> &pixels, int width, int height)
{
    GLint alignment;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
}

// Writes the PNG through libpng; false after a libpng error (which libpng has reported).
bool writePng(FILE *file, const std::string &name, int width, int height,
              std::vector<png_bytep> &rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, file, nullptr, nullptr);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_text text[3] = {};
    const char *const keys[3] = {"Title", "Author", "Description"};
    const char *const values[3] = {name.c_str(), "Halvorsk", "Kaleidoscope Snapshot"};
    const int compression[3] = {PNG_TEXT_COMPRESSION_NONE, PNG_TEXT_COMPRESSION_NONE,
                                PNG_TEXT_COMPRESSION_zTXt};
    for (int i = 0; i < 3; ++i) {
        text[i].compression = compression[i];
        text[i].key = const_cast<char *>(keys[i]);
        text[i].text = const_cast<char *>(values[i]);
    }
    png_set_text(png, info, text, 3);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Why a snapshot file could not be finished: the cause of the step that failed first.
const char *failureReason(bool written, bool streamFailed, int writeErrno, int closeErrno)
{
    if (!written || streamFailed) {
        if (writeErrno)
            return strerror(writeErrno);
        return written ? strerror(EIO) : "PNG library error";
    }
    return strerror(closeErrno ? closeErrno : EIO);
}

}  // namespace

void writeSnapshot(int width, int height)
{
    if (width <= 0 || height <= 0) {  // a PNG needs at least one pixel each way
        ++snapshotState.counter;
        return;
    }
    SnapshotImage image;
    if (!allocateImage(image, width, height)) {  // skip this one; the program runs on
        const std::string name = snapshotName(width, height, ++snapshotState.counter);
        fprintf(stderr, "Snapshot %s not written: %s\n", name.c_str(), strerror(ENOMEM));
        return;
    }
    readFramebuffer(image.pixels, width, height);
    std::string name;
    FILE *file = createSnapshotFile(width, height, name);
    if (!file) {
        fprintf(stderr, "Snapshot %s not written: %s\n", name.c_str(), strerror(errno));
        return;
    }
    errno = 0;
    const bool written = writePng(file, name, width, height, image.rows);
    const int writeErrno = errno;
    const bool streamFailed = ferror(file) != 0;
    // A small file still sits in the stream's buffer: a full disk shows only when it is closed.
    const bool closed = fclose(file) == 0;
    const int closeErrno = closed ? 0 : errno;
    if (written && !streamFailed && closed)
        return;
    // A cut-short file would look like a snapshot but not decode: remove it.
    remove(name.c_str());
    fprintf(stderr, "Snapshot %s not written: %s\n", name.c_str(),
            failureReason(written, streamFailed, writeErrno, closeErrno));
}
