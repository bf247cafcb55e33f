// Creating a file only where none exists yet, on every C runtime.
#pragma once

#include <cstdio>

// Opens a new file of that name for binary writing; null when it cannot be created, with errno
// EEXIST when the name is taken. An existing file is never opened or changed.
FILE *createNewFile(const char *name);
