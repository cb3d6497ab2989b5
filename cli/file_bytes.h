// Reading a whole file at once: one allocation and one read, however large the file.
#pragma once

#include <optional>
#include <string>

// The bytes of the file at `path`, or nothing with `error` naming the file and the reason.
std::optional<std::string> ReadFileBytes(const std::string& path, std::string& error);
