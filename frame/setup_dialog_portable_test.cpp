// The setup dialog of the portable build, which has no windows.
#include <gtest/gtest.h>

#include <filesystem>

#include "frame/entry_points.h"
#include "frame/module_objects.h"
#include "platform/test_work_directory.h"

namespace {

TEST(SetupDialogPortable, ShowsNothingAndStoresNothingButReloads) {
  TestWorkDirectory directory;
  TestWorkDirectory::Put("Plugins/SKOLP-NY.ini", "[Settings]\nMyName=Olle\n");
  g_strMyName = "from the last reset";
  SetupSet0();
  EXPECT_EQ(g_strMyName, "Olle");
  EXPECT_EQ(TestWorkDirectory::Bytes("Plugins/SKOLP-NY.ini"), "[Settings]\nMyName=Olle\n");
  g_strMyName.clear();
}

}  // namespace
