#include "frame/seams.h"

Seams& GetSeams() {
  static Seams seams{&DefaultHostLink(), &DefaultMultiplierWindow(), &DefaultModuleUi()};
  return seams;
}
