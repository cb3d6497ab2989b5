// The host executable search outside Windows: the current directory's entries, sorted so that
// the search gives the same answer on every file system.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cabrillo/host_version.h"

namespace {

bool EndsWithExe(const std::string& name) {
  if (name.size() < 4) return false;
  std::string extension = name.substr(name.size() - 4);
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension == ".exe";
}

}  // namespace

std::optional<std::string> FindHostExecutable() {
  std::error_code error;
  std::filesystem::directory_iterator entries(".", error);
  if (error) return std::nullopt;
  std::vector<std::string> names;
  for (auto it = std::filesystem::begin(entries); it != std::filesystem::end(entries);
       it.increment(error)) {
    if (error) break;
    std::string name = it->path().filename().string();
    if (EndsWithExe(name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (IsHostExecutableName(name)) return name;
  }
  return std::nullopt;
}
