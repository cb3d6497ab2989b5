#include "frame/host_link.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/module_objects.h"
#include "frame/seams.h"

namespace {

// Records what the module asks of the host's automation object.
class FakeHostLink final : public HostLink {
 public:
  bool Connect() override {
    calls.push_back("connect");
    return running;
  }
  void Disconnect() override { calls.push_back("disconnect"); }
  void SendCommand(const std::string& command) override { calls.push_back(command); }
  std::optional<double> GetFrequency() override { return std::nullopt; }
  std::optional<std::string> GetEnteredCall() override { return std::nullopt; }

  bool running = true;
  std::vector<std::string> calls;
};

class HostModeCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    g_bHostModeSent = 0;
    g_nUseMultiplier = 0;
  }
  void TearDown() override {
    g_bHostModeSent = 0;
    g_nUseMultiplier = 0;
  }
  FakeHostLink link_;
  ScopedSeam<HostLink> seam_{&Seams::hostLink, link_};
};

TEST_F(HostModeCommands, SentOnceConnected) {
  SendHostModeCommands();
  EXPECT_EQ(link_.calls, (std::vector<std::string>{"connect", "<MODE:RTTY>", "<BAUDRATE:45.45>",
                                                   "disconnect"}));
  EXPECT_EQ(g_bHostModeSent, 1);
}

TEST_F(HostModeCommands, NothingSentWithoutHostButTriedAgainLater) {
  link_.running = false;
  SendHostModeCommands();
  EXPECT_EQ(link_.calls, (std::vector<std::string>{"connect", "disconnect"}));
  EXPECT_EQ(g_bHostModeSent, 0);
}

TEST_F(HostModeCommands, LeftToTheWindowWhileTheMultiplierSettingIsOn) {
  g_nUseMultiplier = 1;
  SendHostModeCommands();
  EXPECT_TRUE(link_.calls.empty());
  EXPECT_EQ(g_bHostModeSent, 0);
}

}  // namespace
