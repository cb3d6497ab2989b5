// The contract of ProfileStore, run on every implementation: natively on ours, under Wine on
// kernel32's and on ours. Each test works in a fresh folder made the current directory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/profile.h"

using ProfileStoreFactory = ProfileStore& (*)();

class ProfileContract : public ::testing::TestWithParam<ProfileStoreFactory> {
 protected:
  void SetUp() override;
  void TearDown() override;
  ProfileStore& Store() { return GetParam()(); }

 private:
  std::filesystem::path m_previousDirectory;
  std::filesystem::path m_directory;
};
