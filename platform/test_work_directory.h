// Tests only: a fresh, empty folder made the current directory for the lifetime of the object,
// so that relative files ("Plugins\SKOLP-NY.ini", "err.txt") land in it. Removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <system_error>

class TestWorkDirectory {
 public:
  TestWorkDirectory() : m_previous(std::filesystem::current_path()) {
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() / ("skolp-test-" + std::to_string(random()));
    std::filesystem::create_directories(m_path);
    std::filesystem::current_path(m_path);
  }
  ~TestWorkDirectory() {
    std::filesystem::current_path(m_previous);
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TestWorkDirectory(const TestWorkDirectory&) = delete;
  TestWorkDirectory& operator=(const TestWorkDirectory&) = delete;

  // The current directory from before.
  const std::filesystem::path& Previous() const { return m_previous; }

  // The bytes of a file relative to the folder; none when it does not exist.
  static std::optional<std::string> Bytes(const std::filesystem::path& relative) {
    std::ifstream in(relative, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void Put(const std::filesystem::path& relative, const std::string& bytes) {
    if (relative.has_parent_path()) std::filesystem::create_directories(relative.parent_path());
    std::ofstream(relative, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path m_previous;
  std::filesystem::path m_path;
};
