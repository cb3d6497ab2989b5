// The exchange check. Not built yet: every text is refused.
#include "frame/entry_points.h"

extern "C" int SKOLP_CDECL StatsIsValidExchg0(const char*, const char*, const char*,
                                              const char*, int, int, int) {
  return 0;
}
