// Snapshot files read back for tests.
#pragma once

#include <string>
#include <vector>

// A decoded PNG; empty when the file could not be read.
struct Png {
    int width = 0, height = 0;
    std::vector<std::vector<unsigned char>> rows;  // RGB, the file's first row first
};

// Decodes a PNG file with libpng, as RGB.
Png readPng(const std::string &path);
