#!/usr/bin/env bash
# Fuzzes the JPEG decode path for about a minute with libFuzzer and AddressSanitizer, starting
# from our own three masks. Skipped, with a note, where clang's fuzzer runtime is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-60}
out=build-fuzz
mkdir -p "$out"
probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }'
if ! command -v clang++ >/dev/null ||
    ! echo "$probe" | clang++ -fsanitize=fuzzer,address -x c++ - -o "$out/probe" 2>/dev/null; then
    echo "fuzz: clang's fuzzer runtime is not installed; skipped"
    exit 0
fi
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -I. \
    tests/fuzz/jpeg_fuzz.cpp image/jpeg_decode.cpp image/memory_source.cpp -ljpeg \
    -o "$out/jpeg_fuzz"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp resources/*.jpg "$corpus/"
# The decoder's warnings for damaged input would flood the log: keep them out of sight.
if "$out/jpeg_fuzz" -max_total_time="$seconds" -max_len=65536 -close_fd_mask=2 \
    -artifact_prefix="$out/" "$corpus" >"$out/fuzz.log" 2>&1; then
    grep -E '^#[0-9]+.*DONE' "$out/fuzz.log" | tail -n 1 | sed 's/^/fuzz: /'
    echo "fuzz: no findings in ${seconds}s"
else
    tail -n 30 "$out/fuzz.log"
    echo "fuzz: a finding was saved under $out/"
    exit 1
fi
