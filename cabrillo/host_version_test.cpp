#include "cabrillo/host_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/pe_version_contract_test.h"
#include "platform/test_work_directory.h"

namespace {

TEST(HostVersion, ShowsTheBuildOnlyForMajorVersionsOtherThanTwo) {
  struct Case {
    FileVersion version;
    const char* expected;
  };
  const Case kCases[] = {
      {{2, 4, 0, 1}, "2.4"},   {{2, 10, 33, 4}, "2.10"},
      {{3, 1, 7, 2}, "3.1.7"}, {{1, 0, 0, 0}, "1.0.0"},
      {{0, 0, 0, 0}, "0.0.0"}, {{65535, 65535, 65535, 65535}, "65535.65535.65535"},
  };
  for (const Case& c : kCases) EXPECT_EQ(FormatHostVersion(c.version), c.expected) << c.expected;
}

// One file put into the current directory: a name and what it holds.
struct File {
  const char* name;
  const char* probe;  // a version probe, or null for `bytes`
  const char* bytes = "";
};

TEST(HostVersion, TakesTheFirstExecutableNamedTulm) {
  TestWorkDirectory directory;
  if (!VersionProbe(directory.Previous(), "probe-2.4.0.1.exe")) {
    GTEST_SKIP() << "the version probes were not built";
  }
  const char* v24 = "probe-2.4.0.1.exe";
  const char* v317 = "probe-3.1.7.2.exe";
  const char* unversioned = "probe-unversioned.exe";
  struct Case {
    const char* name;
    std::vector<File> files;
    const char* expected;
  };
  const Case kCases[] = {
      {"nothing", {}, ""},
      {"version 2", {{"Tulm.exe", v24}}, "2.4"},
      {"version 3", {{"Tulm.exe", v317}}, "3.1.7"},
      {"name within", {{"MyTulm2.exe", v317}}, "3.1.7"},
      {"extension in capitals", {{"Tulm.EXE", v24}}, "2.4"},
      {"other programs first", {{"Alpha.exe", v317}, {"Tulm.exe", v24}}, "2.4"},
      {"case-sensitive name", {{"tulm.exe", v24}}, ""},
      {"not an executable", {{"Tulm.dll", v24}, {"Tulm.exe.txt", v24}}, ""},
      {"without a version", {{"Tulm.exe", unversioned}}, ""},
      {"only looks like one", {{"Tulm.exe", nullptr, "MZ\x90 garbage garbage"}}, ""},
      {"empty", {{"Tulm.exe", nullptr, ""}}, ""},
  };
  for (const Case& c : kCases) {
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
      std::filesystem::remove_all(entry.path());
    }
    for (const File& f : c.files) {
      if (f.probe) {
        std::filesystem::copy_file(*VersionProbe(directory.Previous(), f.probe), f.name);
      } else {
        TestWorkDirectory::Put(f.name, f.bytes);
      }
    }
    EXPECT_EQ(HostVersionText(), c.expected) << c.name;
  }
}

TEST(HostVersion, AFolderNamedLikeTheHostGivesNoVersion) {
  TestWorkDirectory directory;
  std::filesystem::create_directory("Tulm.exe");
  EXPECT_EQ(HostVersionText(), "");
}

}  // namespace
