// Without a windowing system there is no Multiplier window: it is never open, and starting it
// shows nothing.
#include "frame/seams.h"

namespace {

class NoMultiplierWindow final : public MultiplierWindowControl {
 public:
  bool IsOpen() override { return false; }
  void Start() override {}
  void RearmTimer() override {}
  void Stop() override {}
};

}  // namespace

MultiplierWindowControl& DefaultMultiplierWindow() {
  static NoMultiplierWindow window;
  return window;
}
