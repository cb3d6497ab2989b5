#include "cli/file_bytes.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string Reason(int error) { return std::strerror(error); }

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::string& error) {
  std::error_code status;
  if (std::filesystem::is_directory(path, status)) {
    error = path + ": is a folder, not a file";
    return std::nullopt;
  }
  errno = 0;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = path + ": " + Reason(errno);
    return std::nullopt;
  }
  // The size is only a hint: the file may change while it is read.
  const std::uintmax_t size = std::filesystem::file_size(path, status);
  std::string bytes;
  if (!status && size > bytes.max_size()) {
    error = path + ": too large to read";
    return std::nullopt;
  }
  if (!status) bytes.resize(static_cast<std::size_t>(size));
  std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  bytes.resize(got);
  char chunk[65536];
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, got);
  if (std::ferror(file.get())) {
    error = path + ": " + Reason(errno);
    return std::nullopt;
  }
  return bytes;
}
