// Placeholder until the COM client lands: connects to nothing.
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
