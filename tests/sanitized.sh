#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs the ones that
# handle untrusted bytes and owned memory: JPEG decoding, snapshots, and the seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-sanitized -DCMAKE_BUILD_TYPE=Debug -DBRINDLEWICK_TESTS=ON \
    -DCMAKE_C_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer" \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
    >/dev/null
cmake --build build-sanitized -j "$(nproc)" --target brindlewick_tests fuzz_replay >/dev/null
# Decoding needs no GL: these run with leak checking too.
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-sanitized --output-on-failure -j "$(nproc)" \
    -R '^(Masks|DamagedJpeg|fuzz_seed_corpus)'
# The GL driver loads and unloads code whose allocations the leak checker cannot attribute, and
# unwinding through it slowly deadlocks; so with GL, only memory errors are checked.
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-sanitized --output-on-failure -j "$(nproc)" \
    -R '^(Images|Snapshot|SnapshotOfTheProgram|DriftSceneTest|Keys|LayerEvents\.HoldingP)'
