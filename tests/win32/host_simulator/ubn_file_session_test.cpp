// The UBN file as Stats.dll writes it on Windows, loaded by the simulated host: exact bytes
// (CR LF, no text-mode translation), the file there after every AddData0, and sharing with
// other programs that have it open.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "stats_module.h"

namespace {

const char kRefusedLine[] =
    "QSO:  14085  CW  2013-01-01 0815  SM5XYZ  599  001  OH2ABC  579  017 PEKKA"
    "   NO RTTY MODE !!!\r\n";

// A fresh working directory for each test: the module writes "err.txt" into the current one.
class UbnFileSession : public ::testing::Test {
 protected:
  void SetUp() override {
    char previous[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    previous_ = previous;
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    directory_ = std::string(temp) + "skolp-ubn-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(directory_.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA(directory_.c_str()));
    module_ = std::make_unique<StatsModule>(ProgramDirectory() + "Stats.dll");
    ASSERT_TRUE(module_->IsLoaded()) << module_->Error();
  }

  void TearDown() override {
    module_.reset();
    SetCurrentDirectoryA(previous_.c_str());
    DeleteFileA((directory_ + "\\err.txt").c_str());
    RemoveDirectoryA(directory_.c_str());
  }

  int Add(const char* mode) {
    COleDateTime time(41275.34375);  // 2013-01-01 08:15
    return module_->AddData0("SM5XYZ", "OH2ABC", &time, nullptr, nullptr, nullptr, 0, 14085500,
                             mode, "599", "579", "001", "017 PEKKA", "", "", "", "", "", "", "",
                             "", "OH2ABC", "OH", 0, 0, 0, 0.0, 0.0, "", "EU", "", "20m", "");
  }

  static bool Exists() { return GetFileAttributesA("err.txt") != INVALID_FILE_ATTRIBUTES; }

  static std::string Bytes() {
    std::string bytes;
    HANDLE file = CreateFileA("err.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(cannot be read)";
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read != 0) {
      bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
  }

  std::unique_ptr<StatsModule> module_;

 private:
  std::string previous_;
  std::string directory_;
};

TEST_F(UbnFileSession, AcceptedQsosLeaveAnEmptyFileAndRefusedOnesAppendTheirLine) {
  ASSERT_FALSE(Exists());
  EXPECT_EQ(Add("RTTY"), 1);
  EXPECT_TRUE(Exists());
  EXPECT_EQ(Bytes(), "");
  EXPECT_EQ(Add("CW"), 0);
  EXPECT_EQ(Add("RTTY"), 1);
  EXPECT_EQ(Add("CW"), 0);
  EXPECT_EQ(Bytes(), std::string(kRefusedLine) + kRefusedLine);
}

TEST_F(UbnFileSession, AnotherProgramMayHoldTheFileOpen) {
  EXPECT_EQ(Add("RTTY"), 1);
  HANDLE editor = CreateFileA("err.txt", GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(editor, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Add("CW"), 0);
  CloseHandle(editor);
  EXPECT_EQ(Bytes(), kRefusedLine);
}

TEST_F(UbnFileSession, AFileLockedAgainstWritersChangesNoResult) {
  EXPECT_EQ(Add("RTTY"), 1);
  HANDLE locker = CreateFileA("err.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locker, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Add("CW"), 0);
  EXPECT_EQ(Add("RTTY"), 1);
  CloseHandle(locker);
  EXPECT_EQ(Bytes(), "") << "the line of a file that cannot be opened is lost";
}

}  // namespace
