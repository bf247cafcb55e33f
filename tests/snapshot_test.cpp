// Snapshot files: their names, their contents, and what a failure leaves; read back from the
// written PNG files.
#include "support/gl_window_test.h"
#include "support/png_file.h"

#include <png.h>
#include <zlib.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct Chunk {
    std::string type;
    std::string data;
};

// The file's chunks in order, read straight from its bytes.
std::vector<Chunk> readChunks(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<Chunk> chunks;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const unsigned char *p = reinterpret_cast<const unsigned char *>(&bytes[at]);
        const size_t length = size_t(p[0]) << 24 | size_t(p[1]) << 16 | size_t(p[2]) << 8 | p[3];
        chunks.push_back({bytes.substr(at + 4, 4), bytes.substr(at + 8, length)});
        at += 12 + length;
    }
    return chunks;
}

class Snapshot : public GLWindowTest {
protected:
    Kaleidoscope &open(int width, int height) { return openRenderer(width, height); }
    // Fills a rectangle of the back buffer with one colour.
    void fill(int x, int y, int width, int height, float red, float green, float blue)
    {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, y, width, height);
        glClearColor(red, green, blue, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }
    ScratchFolder dir;
};

TEST_F(Snapshot, NamesCarrySizesOfAtLeastThreeDigitsAndTheNextNumberNoFileOrFolderHas)
{
    Kaleidoscope &k = open(1280, 1024);
    std::ofstream("snap_1280_x_1024_1.png") << "keep";
    std::filesystem::create_directory("snap_1280_x_1024_2.png");
    k.takeSnapshot();
    EXPECT_EQ(readPng("snap_1280_x_1024_3.png").height, 1024);
    std::ifstream kept("snap_1280_x_1024_1.png");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
    EXPECT_TRUE(std::filesystem::is_directory("snap_1280_x_1024_2.png"));
    k.resize(800, 600);
    k.takeSnapshot();
    EXPECT_EQ(readPng("snap_800_x_600_4.png").width, 800);
    k.resize(64, 48);
    k.takeSnapshot();
    const Png small = readPng("snap_064_x_048_5.png");
    EXPECT_EQ(small.width, 64);
    EXPECT_EQ(small.height, 48);
}

TEST_F(Snapshot, FileIsUprightAndItsRowsUnshearedAtAnOddWidth)
{
    const int width = 1023, height = 40;
    Kaleidoscope &k = open(width, height);
    fill(0, 0, width, height, 0, 0, 1);  // blue
    fill(0, height - 5, width, 5, 1, 0, 0);  // the top rows red
    fill(100, 0, 10, height, 1, 1, 1);  // a white column at x 100...109
    k.takeSnapshot();
    const Png png = readPng("snap_1023_x_040_1.png");
    ASSERT_EQ(png.height, height);
    const std::string header = readChunks("snap_1023_x_040_1.png").at(0).data;
    EXPECT_EQ(header[8], 8);  // bit depth
    EXPECT_EQ(header[9], 2);  // RGB: rows of exactly width x 3 bytes
    for (int y = 0; y < height; ++y) {
        const auto &row = png.rows[y];
        EXPECT_GT(row[100 * 3 + 1], 200) << "row " << y;
        EXPECT_GT(row[109 * 3 + 1], 200) << "row " << y;
        EXPECT_LT(row[110 * 3 + 1], 50) << "row " << y;
        EXPECT_LT(row[99 * 3 + 1], 50) << "row " << y;
    }
    EXPECT_GT(png.rows[0][0], 200);           // the window's top row (red) comes first
    EXPECT_LT(png.rows[0][2], 50);
    EXPECT_GT(png.rows[height - 1][2], 200);  // and its bottom row (blue) last
}

TEST_F(Snapshot, CarriesTitleAuthorAndACompressedDescription)
{
    open(64, 48).takeSnapshot();
    const std::string name = "snap_064_x_048_1.png";
    const std::vector<Chunk> chunks = readChunks(name);
    ASSERT_GE(chunks.size(), 6u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, "tEXt");
    EXPECT_EQ(chunks[1].data, std::string("Title\0", 6) + name);
    EXPECT_EQ(chunks[2].type, "tEXt");
    EXPECT_EQ(chunks[2].data, std::string("Author\0Halvorsk", 15));
    ASSERT_EQ(chunks[3].type, "zTXt");
    const std::string keyword("Description\0\0", 13);  // keyword, separator, method 0
    ASSERT_EQ(chunks[3].data.compare(0, keyword.size(), keyword), 0);
    const std::string packed = chunks[3].data.substr(keyword.size());
    std::vector<unsigned char> text(256);
    uLongf length = text.size();
    ASSERT_EQ(uncompress(text.data(), &length, reinterpret_cast<const Bytef *>(packed.data()),
                         packed.size()),
              Z_OK);
    EXPECT_EQ(std::string(text.begin(), text.begin() + length), "Kaleidoscope Snapshot");
    EXPECT_EQ(chunks[4].type, "IDAT");
    EXPECT_EQ(chunks.back().type, "IEND");
    std::ifstream in(name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.find("Kaleidoscope Snapshot"), std::string::npos);  // only after inflating
}

TEST_F(Snapshot, NoFileForAZeroSizedViewportOrAFolderThatIsGoneYetEachTakesItsNumber)
{
    Kaleidoscope &k = open(64, 48);
    k.resize(0, 48);
    k.takeSnapshot();
    k.resize(64, 0);
    k.takeSnapshot();
    EXPECT_TRUE(std::filesystem::is_empty("."));
    // The folder the program runs in is removed under it: nothing can be created there, even
    // by root, whom no permission stops.
    k.resize(64, 48);
    std::filesystem::remove(dir.path());
    ::testing::internal::CaptureStderr();
    k.takeSnapshot();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Snapshot snap_064_x_048_3.png not written: No such file or directory\n");
    std::filesystem::create_directory(dir.path());
    std::filesystem::current_path(dir.path());
    k.takeSnapshot();  // the program runs on
    EXPECT_TRUE(std::filesystem::exists("snap_064_x_048_4.png"));
}

// Exit status of a death-test child: whether exactly that one file is in its folder.
int onlyFileIs(const char *name)
{
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator("."))
        count += entry.path().filename() == name ? 1 : 100;
    return count == 1 ? 0 : 1;
}

TEST_F(Snapshot, WriteCutShortLeavesNoFileSaysWhyAndTakesItsNumber)
{
    Kaleidoscope &k = open(256, 256);
    for (int i = 0; i < 64; ++i)  // noise, so the file cannot shrink below the limit
        fill((i * 37) % 256, (i * 91) % 256, 7, 5, (i % 3) / 2.0f, (i % 5) / 4.0f, (i % 7) / 6.0f);
    // In a child process: files there may grow to 600 bytes, and growing further fails. A
    // 1 x 1 snapshot fits, and shows which number the next snapshot gets.
    auto snapshotWithSmallFileLimit = [&k] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {600, 600};
        setrlimit(RLIMIT_FSIZE, &limit);
        k.takeSnapshot();
        k.resize(1, 1);
        k.takeSnapshot();
        exit(onlyFileIs("snap_001_x_001_2.png"));
    };
    EXPECT_EXIT(snapshotWithSmallFileLimit(), ::testing::ExitedWithCode(0),
                "^Snapshot snap_256_x_256_1.png not written: File too large\n$");
    // A file small enough to stay in the stream's buffer fails only as it is closed: the line
    // names that cause too, as a full disk's "No space left on device".
    auto smallSnapshotOverTheLimit = [&k] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        k.resize(10, 10);
        k.takeSnapshot();
        exit(std::filesystem::is_empty(".") ? 0 : 1);
    };
    EXPECT_EXIT(smallSnapshotOverTheLimit(), ::testing::ExitedWithCode(0),
                "^Snapshot snap_010_x_010_1.png not written: File too large\n$");
}

// Address space this process has mapped, in bytes.
rlim_t mappedBytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 7, "VmSize:") == 0)
            return std::stoull(line.substr(7)) * 1024;
    return 0;
}

// A snapshot of a width x height viewport in a child allowed only 400 MB more address space;
// the next snapshot, of a small viewport, must be written under the number after it.
void snapshotUnderAddressSpaceLimit(Kaleidoscope &k, int width, int height)
{
    const rlim_t allowed = mappedBytes() + (rlim_t(400) << 20);
    const rlimit limit = {allowed, allowed};
    setrlimit(RLIMIT_AS, &limit);
    k.resize(width, height);
    k.takeSnapshot();
    k.resize(64, 48);
    k.takeSnapshot();
    exit(onlyFileIs("snap_064_x_048_2.png"));
}

TEST_F(Snapshot, MemoryThatCannotBeHadSkipsTheFileWithOneLineAndTakesItsNumber)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves, and ends "
                    "the process rather than report an allocation failure";
#endif
    Kaleidoscope &k = open(64, 48);
    // 768 MB of pixels: over the limit.
    EXPECT_EXIT(snapshotUnderAddressSpaceLimit(k, 16384, 16384), ::testing::ExitedWithCode(0),
                "^Snapshot snap_16384_x_16384_1.png not written: Cannot allocate memory\n$");
    // 192 MB of pixels fit; the 512 MB row table does not.
    EXPECT_EXIT(snapshotUnderAddressSpaceLimit(k, 1, 64 << 20), ::testing::ExitedWithCode(0),
                "^Snapshot snap_001_x_67108864_1.png not written: Cannot allocate memory\n$");
}

}  // namespace
