// The contract of PeVersionReader, run on every implementation: natively on ours, under Wine on
// version.dll's and on ours. Each test works in a fresh folder made the current directory.
//
// The version probes are small programs the build makes with known file versions
// (cabrillo/CMakeLists.txt); tests that need them skip when the build could not make them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/pe_version.h"
#include "platform/test_work_directory.h"

using PeVersionReaderFactory = PeVersionReader& (*)();

// The probe `name` ("probe-2.4.0.1.exe", "probe-3.1.7.2.exe", "probe-unversioned.exe"), found
// from the directory the tests started in (the top of the build tree); nothing when the build
// made none.
inline std::optional<std::filesystem::path> VersionProbe(const std::filesystem::path& topDirectory,
                                                         const std::string& name) {
#ifdef SKOLP_VERSION_PROBE_DIR
  const std::filesystem::path path = topDirectory / SKOLP_VERSION_PROBE_DIR / name;
  if (std::filesystem::exists(path)) return std::filesystem::absolute(path);
#endif
  (void)topDirectory;
  (void)name;
  return std::nullopt;
}

class PeVersionContract : public ::testing::TestWithParam<PeVersionReaderFactory> {
 protected:
  void SetUp() override;
  PeVersionReader& Reader() { return GetParam()(); }

  TestWorkDirectory m_directory;
  // The probes' bytes; none when the build made no probes.
  std::optional<std::string> m_probe2401, m_probe3172, m_unversioned;
};
