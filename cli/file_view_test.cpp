#include "cli/file_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;

class FileViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir =
        fs::temp_directory_path() /
        ("skolp-file-view-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_dir);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(m_dir, ignored);
  }
  std::string Write(const char* name, const std::string& bytes) const {
    const fs::path path = m_dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  fs::path m_dir;
};

TEST_F(FileViewTest, HoldsEveryByteAcrossAMove) {
  std::string bytes("<CALL:4>SM5A<EOR>\0\r\n\xff", 21);
  bytes += std::string(70000, 'x');
  std::string error;
  std::optional<CFileView> view = CFileView::Open(Write("log.adi", bytes), error);
  ASSERT_TRUE(view) << error;
  EXPECT_EQ(view->Bytes(), bytes);
  CFileView moved = std::move(*view);
  EXPECT_EQ(moved.Bytes(), bytes);
  EXPECT_TRUE(view->Bytes().empty());
}

TEST_F(FileViewTest, AnEmptyFileIsEmpty) {
  std::string error;
  const std::optional<CFileView> view = CFileView::Open(Write("empty.adi", ""), error);
  ASSERT_TRUE(view) << error;
  EXPECT_TRUE(view->Bytes().empty());
}

TEST_F(FileViewTest, NamesWhatCannotBeRead) {
  std::string error;
  const std::string missing = (m_dir / "missing.adi").string();
  EXPECT_FALSE(CFileView::Open(missing, error));
  EXPECT_EQ(error.rfind(missing + ": ", 0), 0u) << error;
  EXPECT_FALSE(CFileView::Open(m_dir.string(), error));
  EXPECT_EQ(error, m_dir.string() + ": is a folder, not a file");
}

}  // namespace
