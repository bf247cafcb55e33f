// Replays files through the fuzz target without libFuzzer: the seed corpus as a plain test.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        // Every prefix too: the truncations a damaged file would have.
        for (size_t cut = 0; cut < bytes.size(); cut += 509)
            LLVMFuzzerTestOneInput(bytes.data(), cut);
    }
    printf("replayed %d files\n", argc - 1);
    return 0;
}
