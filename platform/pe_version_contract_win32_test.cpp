// The version reader contract on version.dll, and on our own reader under Windows.
#include <string>

#include "platform/pe_version_contract_test.h"

INSTANTIATE_TEST_SUITE_P(VersionDll, PeVersionContract,
                         ::testing::Values(&VersionDllPeVersionReader),
                         [](const auto&) { return std::string("VersionDll"); });
