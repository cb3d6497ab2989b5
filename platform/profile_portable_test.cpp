// What our own profile writer promises beyond kernel32's contract: a file is replaced whole,
// never rewritten in place, and calls from several threads lose no update.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/profile.h"

namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string KeyName(int writer, int index) {
  std::string name = "k";
  name += std::to_string(writer);
  name += '_';
  name += std::to_string(index);
  return name;
}

class PortableProfileWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    m_directory = fs::temp_directory_path() / ("profile-writer-" + std::to_string(random()));
    fs::create_directories(m_directory);
    m_file = (m_directory / "test.ini").string();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(m_directory, ignored);
  }

  std::vector<std::string> DirectoryNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_directory)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  fs::path m_directory;
  std::string m_file;
  ProfileStore& m_store = PortableProfileStore();
};

TEST_F(PortableProfileWriter, ReplacesTheFileInsteadOfRewritingIt) {
  ASSERT_TRUE(m_store.Write("Settings", "A", "1", m_file));
  // A second name for the old file keeps the old bytes only if the new ones went elsewhere.
  fs::create_hard_link(m_file, m_directory / "old.ini");
  ASSERT_TRUE(m_store.Write("Settings", "B", "2", m_file));
  EXPECT_EQ(FileBytes(m_directory / "old.ini"), "[Settings]\r\nA=1\r\n");
  EXPECT_EQ(FileBytes(m_file), "[Settings]\r\nA=1\r\nB=2\r\n");
  EXPECT_EQ(DirectoryNames().size(), 2u) << "a temporary file was left behind";
}

TEST_F(PortableProfileWriter, LeavesAFolderInPlaceOfTheFileAlone) {
  fs::create_directory(m_file);
  EXPECT_FALSE(m_store.Write("Settings", "A", "1", m_file));
  EXPECT_TRUE(fs::is_directory(m_file));
  EXPECT_EQ(DirectoryNames(), std::vector<std::string>{"test.ini"});
}

TEST_F(PortableProfileWriter, LosesNoUpdateFromConcurrentWriters) {
  constexpr int kWriters = 4, kKeys = 25;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([this, w] {
      for (int k = 0; k < kKeys; ++k) {
        m_store.Write("Settings", KeyName(w, k), "v", m_file);
      }
    });
  }
  for (std::thread& t : writers) t.join();
  for (int w = 0; w < kWriters; ++w) {
    for (int k = 0; k < kKeys; ++k) {
      const std::string key = KeyName(w, k);
      EXPECT_EQ(m_store.Read("Settings", key, "missing", m_file), "v") << key;
    }
  }
}

}  // namespace
