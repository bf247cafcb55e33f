// A fresh folder to run in, for the benchmarks and the tests that write snapshots.
#pragma once

#include <string>

// Makes a new folder under the system's temporary directory and moves into it while it lives;
// then moves back and removes the folder with everything in it. A process that ends by exit()
// (a death test's child) removes the folders it made, though their destructors do not run.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;
    const std::string &path() const { return folder; }

private:
    std::string folder;
    std::string previous;
};
