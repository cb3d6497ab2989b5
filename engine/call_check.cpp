// The call check. Not built yet: every call reads as bringing no new multiplier.
#include "frame/entry_points.h"

extern "C" int SKOLP_CDECL CheckCallFunc0(const char*, unsigned int, unsigned int, const char*,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char*, const char*, const char*,
                                          const char*, const char*, int, int, int, double,
                                          double, const char*, const char*, const char*,
                                          const char*, const char*, const char*, const char*,
                                          char*, char*) {
  return 1;
}
