// Scratch folders, removed when their owner ends or its process exits.
#include "bench/scratch_folder.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <unistd.h>

namespace {

// Folders of the ScratchFolders alive in this process, by the process that made them.
std::map<std::string, pid_t> liveFolders;

// Removes this process's live folders when it ends by exit(), skipping the destructors that
// would have removed them.
void removeLiveFolders()
{
    for (const auto &[folder, owner] : liveFolders) {
        std::error_code ignored;
        if (owner == getpid())
            std::filesystem::remove_all(folder, ignored);
    }
}

}  // namespace

ScratchFolder::ScratchFolder()
{
    static const bool cleanupRegistered = std::atexit(removeLiveFolders) == 0;
    (void)cleanupRegistered;
    std::string pattern = (std::filesystem::temp_directory_path() / "brindlewick-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    liveFolders[folder] = getpid();
    previous = std::filesystem::current_path().string();
    std::filesystem::current_path(folder);
}

ScratchFolder::~ScratchFolder()
{
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
    liveFolders.erase(folder);
}
