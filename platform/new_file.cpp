// fopen's "x" mode is C11; msvcrt, MinGW's default runtime, ignores it and replaces the file.
// open with O_EXCL is exclusive on both POSIX and Windows runtimes.
#include "platform/new_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
const int kOpenFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY;  // no line-end translation
const int kPermissions = S_IREAD | S_IWRITE;  // the only bits Windows runtimes accept
#else
#include <unistd.h>
const int kOpenFlags = O_WRONLY | O_CREAT | O_EXCL;
const int kPermissions = 0666;  // as fopen creates files, less the umask
#endif

// Opens the file by descriptor, then as a stream; the descriptor is closed if the stream fails.
FILE *createNewFile(const char *name)
{
    const int descriptor = open(name, kOpenFlags, kPermissions);
    if (descriptor < 0)
        return nullptr;
    FILE *file = fdopen(descriptor, "wb");
    if (!file)
        close(descriptor);
    return file;
}
