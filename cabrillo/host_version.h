// The version of the host program for the Cabrillo file's CREATED-BY line, looked up anew on
// every call: the first "*.exe" of the current directory whose name contains "Tulm" is taken
// as the host's executable, and its file version is read from its version resource.
//
// Host thread only (it reads the current directory, which the host may change between calls).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/pe_version.h"

// The host's version text, "2.4" or "3.1.7"; empty when no executable matched or the matched
// one carries no readable version.
std::string HostVersionText();

// "%d.%d" of major and minor when major is 2, else "%d.%d.%d" of major, minor and build.
std::string FormatHostVersion(const FileVersion& version);

// Whether a file name names the host's executable: it contains "Tulm", byte for byte, starting
// at a character boundary of the system's code page.
bool IsHostExecutableName(std::string_view fileName);

// The name of the first entry of the current directory that matches "*.exe" and is one of
// the host's, in the order of the directory search; nothing when none is. Windows builds
// search with FindFirstFileA, so "*.exe" matches as Windows matches it; elsewhere the entries
// whose names end in ".exe" (letter case ignored) are taken in byte order of their names.
std::optional<std::string> FindHostExecutable();
