// The profile contract on kernel32's own functions.
#include "platform/profile_contract_test.h"

#include <string>

INSTANTIATE_TEST_SUITE_P(Kernel32, ProfileContract, ::testing::Values(&Kernel32ProfileStore),
                         [](const auto&) { return std::string("Kernel32"); });
