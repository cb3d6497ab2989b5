// The contest reset. Not built yet: nothing is reset.
#include "frame/entry_points.h"

extern "C" int SKOLP_CDECL ResetStats0(const char*, int, const char*, COleDateTime*,
                                       COleDateTime*, const char*, const char*, const char*,
                                       const char*, const char*, const char*, const char*,
                                       const char*, const char*, const char*, int, int, int,
                                       double, double, const char*, const char*, const char*) {
  return 1;
}
