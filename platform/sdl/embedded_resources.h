// The table of raw-data resources built into the program where there are no Win32 resources.
#pragma once

#include "platform/win32.h"

#include <cstddef>

struct EmbeddedResource {
    const char *name;
    const unsigned char *data;
    DWORD size;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;
