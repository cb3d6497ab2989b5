// Outside Windows there is no host automation object: the link connects to nothing, so no
// command is sent and no frequency or typed call is ever read.
#include "frame/seams.h"

namespace {

class NoHostLink final : public HostLink {
 public:
  bool Connect() override { return false; }
  void Disconnect() override {}
  void SendCommand(const std::string&) override {}
  std::optional<double> GetFrequency() override { return std::nullopt; }
  std::optional<std::string> GetEnteredCall() override { return std::nullopt; }
};

}  // namespace

HostLink& DefaultHostLink() {
  static NoHostLink link;
  return link;
}
