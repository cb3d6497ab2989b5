// POSIX files have no sharing modes: a plain C stream already lets every other opener read and
// write the file.
#include <filesystem>
#include <system_error>

#include "engine/ubn_file_platform.h"

std::FILE* OpenSharedFile(const char* name, const char* mode) { return std::fopen(name, mode); }

bool FileExists(const char* name) {
  std::error_code error;
  return std::filesystem::exists(name, error);
}
