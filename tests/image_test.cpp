// The embedded masks, their decoding from memory, and the textures made from them.
#include "support/gl_window_test.h"

#include "image/resource_image.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include <cmath>
#include <tuple>

namespace {

struct Mask {
    const char *name;
    int width, height;
};
const Mask kMasks[] = {{"JPEG_DISCS_MASK", 512, 64},
                       {"JPEG_CLOUDS_MASK", 1024, 256},
                       {"LOGO_MASK", 512, 32}};

// The bytes of an embedded resource.
std::vector<unsigned char> resourceBytes(const char *name)
{
    HRSRC resource = FindResourceA(nullptr, name, RT_RCDATA);
    const unsigned char *data =
        static_cast<const unsigned char *>(LockResource(LoadResource(nullptr, resource)));
    return std::vector<unsigned char>(data, data + SizeofResource(nullptr, resource));
}

// Encodes pixels (top row first) as a baseline JPEG of that colour space.
std::vector<unsigned char> encodeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                                      const std::vector<unsigned char> &pixels)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    for (int y = 0; y < height; ++y) {
        JSAMPROW row = const_cast<unsigned char *>(&pixels[size_t(y) * width * components]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    free(buffer);
    return bytes;
}

// Decodes bytes held in a heap block of exactly their size, so any read past it is caught.
bool decodeExact(ImageRecord &record, const std::vector<unsigned char> &bytes)
{
    std::unique_ptr<unsigned char[]> exact(new unsigned char[bytes.size() ? bytes.size() : 1]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    return decodeJpegBlock(record, exact.get(), bytes.size());
}

GLint textureLevel(GLenum what, int level = 0)
{
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
    return value;
}

GLint textureParameter(GLenum what)
{
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, what, &value);
    return value;
}

class Images : public GLWindowTest {
protected:
    void SetUp() override { openWindow(32, 32); }
};

TEST_F(Images, EmbeddedMasksBecomeMipmappedRepeatingAlphaTextures)
{
    for (const Mask &mask : kMasks) {
        ImageRecord record = {};
        ASSERT_TRUE(loadResourceImage(record, mask.name)) << mask.name;
        EXPECT_EQ(record.bitsPerPixel, 8);
        EXPECT_EQ(record.width, mask.width);
        EXPECT_EQ(record.height, mask.height);
        ASSERT_NE(record.texture, 0u);
        glBindTexture(GL_TEXTURE_2D, record.texture);
        EXPECT_EQ(textureLevel(GL_TEXTURE_INTERNAL_FORMAT), GL_ALPHA) << mask.name;
        EXPECT_EQ(textureLevel(GL_TEXTURE_WIDTH), mask.width);
        EXPECT_EQ(textureLevel(GL_TEXTURE_HEIGHT), mask.height);
        EXPECT_EQ(textureLevel(GL_TEXTURE_WIDTH, 1), mask.width / 2);  // mipmaps were built
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }
}

TEST_F(Images, EachLoadMakesANewTextureAndUnknownNamesLeaveTheRecordZero)
{
    ImageRecord first = {}, second = {};
    ASSERT_TRUE(loadResourceImage(first, "LOGO_MASK"));
    ASSERT_TRUE(loadResourceImage(second, "LOGO_MASK"));
    EXPECT_NE(first.texture, second.texture);

    ImageRecord missing = {};
    EXPECT_FALSE(loadResourceImage(missing, "NO_SUCH_MASK"));
    EXPECT_EQ(missing.pixels, nullptr);
    EXPECT_EQ(missing.bitsPerPixel | missing.width | missing.height, 0);
    EXPECT_EQ(missing.texture, 0u);
}

TEST_F(Images, TextureRowZeroIsThePicturesTopRow)
{
    const int w = 16, h = 16;
    std::vector<unsigned char> pixels(w * h, 0);
    std::fill(pixels.begin(), pixels.begin() + w * 4, 255);  // white top rows
    ImageRecord record = {};
    ASSERT_TRUE(decodeExact(record, encodeJpeg(w, h, 1, JCS_GRAYSCALE, pixels)));
    ASSERT_TRUE(makeTexture(record));
    const std::vector<unsigned char> texels = alphaTexels(w, h);
    EXPECT_GT(texels[w / 2], 240);
    EXPECT_LT(texels[(h - 1) * w + w / 2], 15);
}

TEST_F(Images, UploadReadsRowsTightlyPackedWhateverTheirLength)
{
    // Rows of two bytes that all differ: read at the GL's default 4-byte alignment they shear.
    const int w = 2, h = 4;
    const std::vector<unsigned char> picture = {10, 20, 30, 40, 50, 60, 70, 80};
    ImageRecord record = {};
    // Twice the size, so a sheared read stays inside the block and shows as wrong texels.
    record.pixels = static_cast<unsigned char *>(calloc(2 * picture.size(), 1));
    std::copy(picture.begin(), picture.end(), record.pixels);
    record.bitsPerPixel = 8;
    record.width = w;
    record.height = h;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);  // as in a fresh context
    ASSERT_TRUE(makeTexture(record));
    EXPECT_EQ(alphaTexels(w, h), picture);
}

TEST_F(Images, ColourJpegGivesAnRgbTextureAndFourComponentsAnAlphaOne)
{
    const int w = 13, h = 7;  // rows whose length is not a multiple of 4
    for (const auto &[components, space, value, format] :
         {std::tuple{3, JCS_RGB, 200, GL_RGB}, std::tuple{4, JCS_CMYK, 90, GL_ALPHA}}) {
        ImageRecord record = {};
        const std::vector<unsigned char> pixels(w * h * components, value);
        ASSERT_TRUE(decodeExact(record, encodeJpeg(w, h, components, space, pixels)));
        EXPECT_EQ(record.bitsPerPixel, 8 * components);
        ASSERT_TRUE(makeTexture(record));
        EXPECT_EQ(textureLevel(GL_TEXTURE_INTERNAL_FORMAT), format);
    }
}

TEST(Masks, DiscCellsHaveBlackCornersAndTheCloudsTileWithoutASeam)
{
    ImageRecord atlas = {};
    ASSERT_TRUE(decodeJpegBlock(atlas, resourceBytes("JPEG_DISCS_MASK").data(),
                                resourceBytes("JPEG_DISCS_MASK").size()));
    for (int cell = 0; cell < 8; ++cell)
        for (int corner = 0; corner < 4; ++corner) {
            const int x = cell * 64 + (corner & 1) * 63, y = (corner >> 1) * 63;
            EXPECT_LT(atlas.pixels[y * 512 + x], 16) << "cell " << cell;
        }
    EXPECT_GT(atlas.pixels[32 * 512 + 2 * 64 + 1], 100);  // the ring of cell 2 reaches its edge
    free(atlas.pixels);

    ImageRecord clouds = {};
    const std::vector<unsigned char> bytes = resourceBytes("JPEG_CLOUDS_MASK");
    ASSERT_TRUE(decodeJpegBlock(clouds, bytes.data(), bytes.size()));
    const int w = clouds.width, h = clouds.height;
    auto at = [&](int x, int y) { return double(clouds.pixels[size_t(y) * w + x]); };
    double seamX = 0, innerX = 0, seamY = 0, innerY = 0, sum = 0;
    for (int y = 0; y < h; ++y) {
        seamX += std::fabs(at(w - 1, y) - at(0, y));
        innerX += std::fabs(at(w / 2, y) - at(w / 2 + 1, y));
    }
    for (int x = 0; x < w; ++x) {
        seamY += std::fabs(at(x, h - 1) - at(x, 0));
        innerY += std::fabs(at(x, h / 2) - at(x, h / 2 + 1));
    }
    for (int i = 0; i < w * h; ++i)
        sum += clouds.pixels[i];
    EXPECT_LT(seamX, 2.0 * innerX + h);  // across the edge no rougher than inside
    EXPECT_LT(seamY, 2.0 * innerY + w);
    EXPECT_NEAR(sum / (w * h) / 255.0, 0.55, 0.03);
    free(clouds.pixels);
}

TEST(DamagedJpeg, TruncatedStreamsFailOrDecodeAndNeverReadPastTheBlock)
{
    const std::vector<unsigned char> whole = resourceBytes("JPEG_DISCS_MASK");
    for (size_t cut = 0; cut < whole.size(); cut += 211) {
        ImageRecord record = {};
        const std::vector<unsigned char> part(whole.begin(), whole.begin() + cut);
        if (decodeExact(record, part)) {  // recoverable: decoded with a warning
            EXPECT_EQ(record.width, 512);
            EXPECT_NE(record.pixels, nullptr);
            free(record.pixels);
        } else {
            EXPECT_EQ(record.pixels, nullptr) << "cut at " << cut;
        }
    }
}

TEST(DamagedJpeg, SkipPastTheEndOfTheBlockStopsThere)
{
    // Cut inside an application segment that the decoder skips: the segment's length reaches
    // past the block. The rest of the file still lies in memory after the cut, so a source that
    // skipped beyond the block would find it and decode the picture.
    const std::vector<unsigned char> whole = resourceBytes("JPEG_DISCS_MASK");
    size_t segment = 2;
    while (segment + 4 < whole.size() && !(whole[segment + 1] >= 0xE1 && whole[segment + 1] <= 0xEF))
        segment += 2 + (whole[segment + 2] << 8 | whole[segment + 3]);
    ASSERT_LT(segment + 4, whole.size()) << "no skipped application segment";
    const size_t length = whole[segment + 2] << 8 | whole[segment + 3];
    const size_t cut = segment + 4 + (length - 2) / 2;
    ImageRecord record = {};
    EXPECT_FALSE(decodeJpegBlock(record, whole.data(), cut));
    EXPECT_EQ(record.pixels, nullptr);
}

TEST(DamagedJpeg, NoImageRandomBytesAndHugeDeclaredSizesAreRefused)
{
    ImageRecord record = {};
    EXPECT_FALSE(decodeExact(record, {0xFF, 0xD8, 0xFF, 0xD9}));  // a stream with no image
    std::vector<unsigned char> noise(4096);
    srand(7);
    for (unsigned char &b : noise)
        b = static_cast<unsigned char>(rand());
    EXPECT_FALSE(decodeExact(record, noise));
    noise[0] = 0xFF;
    noise[1] = 0xD8;
    EXPECT_FALSE(decodeExact(record, noise));

    std::vector<unsigned char> huge = resourceBytes("LOGO_MASK");
    for (size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {  // SOF0: height and width, 16 bits each
            huge[i + 5] = huge[i + 7] = 0xFD;
            huge[i + 6] = huge[i + 8] = 0xE8;
            break;
        }
    ImageRecord big = {};
    EXPECT_FALSE(decodeExact(big, huge));  // 65000 x 65000 would need 4 GiB
    EXPECT_EQ(big.pixels, nullptr);
}

}  // namespace
