// Adding and removing QSOs. Not built yet: every QSO is refused and nothing is removed.
#include "frame/entry_points.h"

extern "C" {

int SKOLP_CDECL AddData0(const char*, const char*, COleDateTime*, COleDateTime*, COleDateTime*,
                         COleDateTime*, unsigned int, unsigned int, const char*, const char*,
                         const char*, const char*, const char*, const char*, const char*,
                         const char*, const char*, const char*, const char*, const char*,
                         const char*, const char*, const char*, int, int, int, double, double,
                         const char*, const char*, const char*, const char*, const char*) {
  return 0;
}

int SKOLP_CDECL RemoveData0(const char*, const char*, COleDateTime*, COleDateTime*,
                            COleDateTime*, COleDateTime*, unsigned int, unsigned int,
                            const char*, const char*, const char*, const char*, const char*,
                            const char*, const char*, const char*, const char*, const char*,
                            const char*, const char*, const char*, const char*, const char*, int,
                            int, int, double, double, const char*, const char*, const char*,
                            const char*, const char*) {
  return 0;
}

}  // extern "C"
