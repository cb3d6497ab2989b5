// What the UBN file needs of the platform, one twin per platform (ubn_file_portable.cpp, the
// C library; ubn_file_win32.cpp, the Windows C runtime and kernel32). Internal to ubn_file.cpp.
#pragma once

#include <cstdio>

// Opens `name` in the binary C stream `mode` ("ab", "wb"), letting other programs read and
// write it meanwhile. Null when it cannot be opened.
std::FILE* OpenSharedFile(const char* name, const char* mode);

// True when something named `name` exists in the directory, found without opening it.
bool FileExists(const char* name);
